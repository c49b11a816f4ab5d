// Every answer of the runs a report covers as a table a spreadsheet opens: one row per answer,
// UTF-8 with a byte order mark and CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/collect.h"

namespace report {

// Whether a spreadsheet may take the text for a formula or show it reordered: it starts with
// = + - @, a tab, CR or LF, their full-width forms, a byte order mark or a bidi control.
bool StartsDangerously(std::string_view text);

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line end. Text
// that StartsDangerously gets a leading apostrophe, so that a folder's name cannot put a live
// formula or a disguised name into the teacher's sheet.
std::string CsvField(std::string_view text);

// ISO 8601 in the run's own local clock: 2024-03-05T09:07:02.
std::string IsoLocalText(const platform::DateTime& start);

// Learners in the page's order; each learner's runs by start, the division drill first on a tie.
// Each row says whether the answer counts for its fact's state (the fact's first ask in the run)
// and the fact's state as the page shows it, judged on judgingDay (see JudgingDay).
std::string AnswersCsv(const Collection& collection, int64_t judgingDay);

}  // namespace report
