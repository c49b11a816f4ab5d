// The report as one self-contained HTML page in Japanese: inline CSS and SVG, no script.
// Each part is its own function so that it can be checked alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/collect.h"
#include "report/statistics.h"

namespace report {

// The files not read list at most this many names for each reason.
inline constexpr int kNamesPerReason = 50;

struct LearnerReport {
  std::string name;                // UTF-8
  std::vector<DrillStats> drills;  // division first
};

std::string EscapeHtml(std::string_view text);
// Milliseconds as seconds with one decimal, as ShownTenths rounds them: 2450 -> "2.5".
std::string SecondsText(double ms);
std::string DateText(const StartTime& t);  // 2024/03/05

std::string Legend();
std::string ProgressChart(const DrillStats& stats);
std::string FactGrid(const DrillStats& stats);
std::string SlotTable(const DrillStats& stats);
std::string PracticeTable(const DrillStats& stats);
std::string Overview(const std::vector<LearnerReport>& learners);
std::string FileNotes(const Collection& collection);

// folderName is shown in the title; UTF-8.
std::string ReportPage(std::string_view folderName, const std::vector<LearnerReport>& learners,
                       const Collection& collection);

}  // namespace report
