// The report as one self-contained HTML page in Japanese: inline CSS and SVG, no script.
// Each part is its own function so that it can be checked alone.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "report/collect.h"
#include "report/date_range.h"
#include "report/statistics.h"

namespace report {

// The files not read list at most this many names for each reason.
inline constexpr int kNamesPerReason = 50;

struct LearnerReport {
  std::string name;                // UTF-8
  std::vector<DrillStats> drills;  // division first
};

std::string EscapeHtml(std::string_view text);
// Milliseconds as seconds with one decimal, halves up: 2450 -> "2.5".
std::string SecondsText(uint32_t ms);
// A median as the page shows it, the value its colour is judged on.
std::string SecondsText(ExactMedian median);
std::string DateText(const drill::StartTime& t);  // 2024/03/05
// A fact as the child reads it: 7 × 8 ＝ 56, 56 ÷ 7 ＝ 8, 8 ＋ 5 ＝ 13, 13 − 8 ＝ 5.
std::string FactText(const drill::Fact& fact);
// The drill as the page names it in short: わり算, ひき算.
const char* ShortDrillName(drill::DrillKind drill);
// The days the report covers: 2024年3月1日〜2024年3月31日, 2024年3月1日から; empty for all days.
std::string RangeText(const DateRange& range);

// A fact's state in words, with 復習どき when its evidence is due for review: the page's word and
// the table's.
std::string StateText(const drill::FactFigures& figures);

// The page's parts.
std::string Legend();
std::string ProgressChart(const DrillStats& stats);
// The grid of forward facts (a op b) or of inverse facts (56 ÷ 7 in row 7, column 8).
std::string FactGrid(const DrillStats& stats, drill::FactKind kind);
std::string SlotTable(const DrillStats& stats);
std::string PracticeTable(const DrillStats& stats);
std::string Overview(const std::vector<LearnerReport>& learners);
std::string ClassMap(const std::vector<LearnerReport>& learners);
std::string FileNotes(const Collection& collection);

// folderName is shown in the title, with the range when it limits the runs; UTF-8.
std::string ReportPage(std::string_view folderName, const std::vector<LearnerReport>& learners,
                       const Collection& collection, const DateRange& range = {});

}  // namespace report
