// Draws the progress chart as inline SVG, its key and its table of points.
#include "report/chart.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "report/wording.h"
#include "report/words.h"

namespace report {
namespace {

// The smallest step from the list that fits the largest value into four steps.
double NiceStep(double largest, std::initializer_list<double> steps) {
  for (double step : steps) {
    if (largest <= 4 * step) return step;
  }
  return std::ceil(largest / 4);
}

// The seconds a run's figure is drawn at.
double Seconds(ExactMedian median) {
  return static_cast<double>(median.twiceMs) / 2000.0;
}

}  // namespace

std::string ProgressChart(const DrillStats& stats) {
  constexpr double kWidth = 640, kHeight = 200;
  constexpr double kLeft = 48, kRight = 580, kTop = 28, kBottom = 168;
  std::string svg = std::string("<div class=\"chart\"><h4>") + words::kChartHeading +
                    "</h4><svg viewBox=\"0 0 " + Fixed(kWidth, 0) + " " + Fixed(kHeight, 0) +
                    "\" role=\"img\" aria-label=\"" + words::kChartLabel + "\">";
  if (stats.runs.empty()) return svg + "</svg></div>";

  double maxSeconds = 0;
  double maxMisses = 0;
  for (const RunPoint& run : stats.runs) {
    maxSeconds = std::max(maxSeconds, Seconds(run.median));
    maxMisses = std::max(maxMisses, run.missesPerProblem);
  }
  double secondStep = NiceStep(maxSeconds, {0.5, 1, 2, 3, 5, 10, 15, 30, 60});
  double missStep = NiceStep(maxMisses, {0.05, 0.1, 0.25, 0.5, 1});
  double topSeconds = 4 * secondStep;
  double topMisses = 4 * missStep;
  int64_t first = stats.runs.front().start.Seconds();
  int64_t last = stats.runs.back().start.Seconds();
  double span = static_cast<double>(std::max<int64_t>(last - first, 1));
  auto x = [&](const RunPoint& run) {
    if (last == first) return (kLeft + kRight) / 2;
    return kLeft + (kRight - kLeft) * static_cast<double>(run.start.Seconds() - first) / span;
  };
  auto yTime = [&](double s) { return kBottom - (kBottom - kTop) * s / topSeconds; };
  auto yMisses = [&](double m) { return kBottom - (kBottom - kTop) * m / topMisses; };

  // Grid lines and the two scales: seconds on the left, misses per problem on the right.
  for (int i = 0; i <= 4; i++) {
    double y = kBottom - (kBottom - kTop) * i / 4;
    svg += "<line class=\"gridline\" x1=\"" + Fixed(kLeft, 0) + "\" x2=\"" + Fixed(kRight, 0) +
           "\" y1=\"" + Fixed(y, 1) + "\" y2=\"" + Fixed(y, 1) + "\"/>";
    svg += "<text x=\"" + Fixed(kLeft - 5, 0) + "\" y=\"" + Fixed(y + 5, 1) +
           "\" text-anchor=\"end\">" + Fixed(secondStep * i, secondStep < 1 ? 1 : 0) + "</text>";
    svg += "<text x=\"" + Fixed(kRight + 5, 0) + "\" y=\"" + Fixed(y + 5, 1) + "\">" +
           Fixed(100 * missStep * i, 0) + "</text>";
  }
  svg += "<text x=\"" + Fixed(kLeft - 5, 0) + "\" y=\"16\" text-anchor=\"end\">" + words::kSeconds +
         "</text>";
  svg += "<text x=\"" + Fixed(kWidth, 0) + "\" y=\"16\" text-anchor=\"end\">" +
         words::kMissesPerProblemAxis + "</text>";
  svg += "<line class=\"axis\" x1=\"" + Fixed(kLeft, 0) + "\" x2=\"" + Fixed(kRight, 0) +
         "\" y1=\"" + Fixed(kBottom, 0) + "\" y2=\"" + Fixed(kBottom, 0) + "\"/>";
  svg += "<text x=\"" + Fixed(last == first ? x(stats.runs.front()) : kLeft, 0) + "\" y=\"" +
         Fixed(kHeight - 6, 0) + "\" text-anchor=\"" + (last == first ? "middle" : "start") +
         "\">" + DateText(stats.runs.front().start.date) + "</text>";
  if (last != first) {
    svg += "<text x=\"" + Fixed(kRight, 0) + "\" y=\"" + Fixed(kHeight - 6, 0) +
           "\" text-anchor=\"end\">" + DateText(stats.runs.back().start.date) + "</text>";
    // Mondays between, each with a tick, where they leave room for their dates: a teacher
    // reads the weeks of school from them.
    constexpr double kLabelRoom = 90;
    double previous = kLeft;
    const int64_t lastDay = DayNumber(stats.runs.back().start);
    for (int64_t day = DayNumber(stats.runs.front().start) + 1; day <= lastDay; day++) {
      if ((day + 4) % 7 != 1) continue;  // 1970-01-01 was a Thursday: Monday is 1
      const double at = kLeft + (kRight - kLeft) * static_cast<double>(day * 86400 - first) / span;
      if (at - previous < kLabelRoom || kRight - at < kLabelRoom) continue;
      svg += "<line class=\"axis\" x1=\"" + Fixed(at, 1) + "\" x2=\"" + Fixed(at, 1) + "\" y1=\"" +
             Fixed(kBottom, 0) + "\" y2=\"" + Fixed(kBottom + 4, 0) + "\"/><text x=\"" +
             Fixed(at, 1) + "\" y=\"" + Fixed(kHeight - 6, 0) + "\" text-anchor=\"middle\">" +
             DayText(day) + "</text>";
      previous = at;
    }
  }

  // Each series' dots are one path of zero-length segments with round caps: a year of runs
  // would otherwise be thousands of elements. A focus run is a diamond, so that its slower
  // figure is not read as a relapse.
  std::string timeLine, missLine, fullDots, shortDots, missDots, focusFull, focusShort;
  for (const RunPoint& run : stats.runs) {
    std::string at = Fixed(x(run), 1) + "," + Fixed(yTime(Seconds(run.median)), 1);
    std::string missAt = Fixed(x(run), 1) + "," + Fixed(yMisses(run.missesPerProblem), 1);
    timeLine += at + " ";
    missLine += missAt + " ";
    if (run.focus) {
      (run.full ? focusFull : focusShort) += "M" + Fixed(x(run), 1) + "," +
                                             Fixed(yTime(Seconds(run.median)) - 4.5, 1) +
                                             "l4.5 4.5-4.5 4.5-4.5-4.5z";
    } else {
      (run.full ? fullDots : shortDots) += "M" + at + "h0";
    }
    missDots += "M" + missAt + "h0";
  }
  svg += "<polyline class=\"mis\" points=\"" + missLine + "\"/><path class=\"mp\" d=\"" + missDots +
         "\"/>";
  svg += "<polyline class=\"avg\" points=\"" + timeLine + "\"/><path class=\"full\" d=\"" +
         fullDots + "\"/><path class=\"short\" d=\"" + shortDots +
         "\"/><path class=\"short-in\" d=\"" + shortDots + "\"/>";
  if (!focusFull.empty()) svg += "<path class=\"focus\" d=\"" + focusFull + "\"/>";
  if (!focusShort.empty()) svg += "<path class=\"focus-short\" d=\"" + focusShort + "\"/>";
  svg += "</svg>";
  const bool anyFocus = !focusFull.empty() || !focusShort.empty();

  // The key and the same points as a table, for a screen reader and for exact values.
  svg += std::string(
             "<p class=\"chart-key\"><svg width=\"10\" height=\"10\" aria-hidden=\"true\"><circle "
             "class=\"full\" cx=\"5\" cy=\"5\" r=\"3.5\"/></svg> ") +
         words::kFullRun + words::kKeySpace +
         "<svg width=\"10\" height=\"10\" aria-hidden=\"true\"><circle class=\"short\" "
         "cx=\"5\" cy=\"5\" r=\"3.5\"/></svg> " +
         words::kShortRun + words::kKeySpace +
         "<svg width=\"10\" height=\"10\" aria-hidden=\"true\"><rect class=\"mp\" x=\"2\" "
         "y=\"2\" width=\"6\" height=\"6\"/></svg> " +
         words::kMissesKey;
  if (anyFocus) {
    svg += std::string(words::kKeySpace) +
           "<svg width=\"10\" height=\"10\" aria-hidden=\"true\"><path class=\"focus\" "
           "d=\"M5 1l4 4-4 4-4-4z\"/></svg> " +
           words::kFocusRunKey;
  }
  svg += "</p>";
  svg += std::string("<details><summary>") + words::kPointsSummary +
         std::to_string(stats.runs.size()) + words::kPointsSummaryEnd +
         "</summary><table class=\"points\"><caption>" + words::kPointsCaption + "</caption>" +
         ColumnHeads({words::kStarted, words::kProblemCount, words::kMedianSeconds,
                      words::kMissesPerProblem}) +
         "<tbody>";
  for (const RunPoint& run : stats.runs) {
    // End tags of cells and rows are left out, as HTML allows: a year of runs is long.
    svg += "<tr><td>" + DateText(run.start.date) + " " + ClockText(run.start) + "<td>" +
           std::to_string(run.answers) + (run.full ? "" : words::kShortRunMark) +
           (run.focus ? words::kFocusRunMark : "") + "<td>" + SecondsText(run.median) + "<td>" +
           Fixed(100 * run.missesPerProblem, 1);
  }
  return svg + "</tbody></table></details></div>";
}

}  // namespace report
