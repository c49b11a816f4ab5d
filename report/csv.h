// Every answer of the runs a report covers as a table a spreadsheet opens: one row per answer,
// UTF-8 with a byte order mark and CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/collect.h"
#include "report/statistics.h"

namespace report {

// Whether a spreadsheet may take the text for a formula or show it reordered: it starts with
// = + - @, a tab, CR or LF, their full-width forms, a byte order mark or a bidi control.
bool StartsDangerously(std::string_view text);

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line end. Text
// that StartsDangerously gets a leading apostrophe, so that a folder's name cannot put a live
// formula or a disguised name into the teacher's sheet.
std::string CsvField(std::string_view text);

// The run's start in its own local clock as a spreadsheet reads a date and time:
// 2024-03-05 09:07:02 (ISO 8601 with a space for the T, which would make it text).
std::string SheetDateTime(const platform::DateTime& start);

// Learners in the page's order; each learner's runs by start, the division drill first on a tie.
// Each row says whether the answer counts for its fact's state (the fact's first ask in the run)
// and the fact's state as the page shows it, judged on judgingDay (see JudgingDay).
std::string AnswersCsv(const Collection& collection, int64_t judgingDay);

// One row per learner, drill and fact the drill asks, with its state and the figures it rests
// on, in the page's order: about 200 rows a child, small enough for a school's year.
std::string FactsCsv(const std::vector<LearnerReport>& learners);

}  // namespace report
