// Writes who needs help first, and the at-a-glance figures of each learner's practice.
#include "report/first_screen.h"

#include <algorithm>
#include <set>

#include "report/grids.h"
#include "report/wording.h"
#include "report/words.h"

namespace report {
namespace {

// A week's number, Monday its first day: 1970-01-01 was a Thursday.
int64_t WeekOf(int64_t day) {
  return (day + 3 - (day + 3 < 0 ? 6 : 0)) / 7;
}

}  // namespace

std::string DrillId(size_t learner, drill::DrillKind drill) {
  return "l" + std::to_string(learner) + (IsDivision(drill) ? "d" : "s");
}

int64_t LastDayOf(const std::vector<LearnerReport>& learners) {
  int64_t last = -1;
  for (const LearnerReport& learner : learners) {
    for (const DrillStats& d : learner.drills) {
      if (!d.runs.empty()) last = std::max(last, DayNumber(d.runs.back().start));
    }
  }
  return last;
}

std::array<int, kRecentWeeks> WeekDays(const DrillStats& stats, int64_t lastDay) {
  std::array<std::set<int64_t>, kRecentWeeks> days;
  const int64_t lastWeek = WeekOf(lastDay);
  for (const RunPoint& run : stats.runs) {
    const int64_t day = DayNumber(run.start);
    const int64_t weeksAgo = lastWeek - WeekOf(day);
    if (weeksAgo >= 0 && weeksAgo < kRecentWeeks) days[kRecentWeeks - 1 - weeksAgo].insert(day);
  }
  std::array<int, kRecentWeeks> counts{};
  for (int i = 0; i < kRecentWeeks; i++)
    counts[i] = static_cast<int>(days[i].size());
  return counts;
}

std::string WeekDaysText(const DrillStats& stats, int64_t lastDay) {
  std::string text;
  for (int count : WeekDays(stats, lastDay)) {
    if (!text.empty()) text += words::kWeekSeparator;
    text += std::to_string(count);
  }
  return text + words::kDaysUnit;
}

std::string LastPracticeText(const DrillStats& stats, int64_t lastDay) {
  if (stats.runs.empty()) return words::kDash;
  const int64_t day = DayNumber(stats.runs.back().start);
  return DateText(stats.runs.back().start.date) + words::kWeekSeparator +
         (day >= lastDay ? std::string(words::kLastDay)
                         : std::to_string(lastDay - day) + words::kDaysAgo);
}

std::vector<InNeed> LearnersInNeed(const std::vector<LearnerReport>& learners) {
  std::vector<InNeed> found;
  for (size_t i = 0; i < learners.size(); i++) {
    InNeed need{i, {}};
    for (const DrillStats& d : learners[i].drills) {
      if (NeedsHelp(d)) need.drills.push_back(&d);
    }
    if (need.drills.empty()) continue;
    std::stable_sort(need.drills.begin(), need.drills.end(),
                     [](const DrillStats* x, const DrillStats* y) { return MoreInNeed(*x, *y); });
    found.push_back(std::move(need));
  }
  std::stable_sort(found.begin(), found.end(), [](const InNeed& x, const InNeed& y) {
    return MoreInNeed(*x.drills.front(), *y.drills.front());
  });
  return found;
}

std::string MarkedFact(const FactCell& cell) {
  const drill::FactFigures& f = cell.figures;
  std::string html = "<span class=\"fact\">" + Swatch(f.state) + FactText(cell.fact);
  if (f.Few()) html += "<i class=\"few-mark\">＊</i>";
  if (cell.longWeak)
    html += std::string("<span class=\"long\">") + words::kLongWeakMark + "</span>";
  return html + "</span>";
}

std::string NeedSection(const std::vector<LearnerReport>& learners, int64_t lastDay) {
  std::string html = std::string("<section id=\"need\"><h2>") + words::kNeedHeading + "</h2><p>" +
                     words::kNeedRule1 + std::to_string(drill::kFewAnswers) + words::kNeedRule2;
  if (lastDay >= 0) html += words::kDaysAgoNote1 + DayText(lastDay) + words::kDaysAgoNote2;
  html += "</p>";
  const std::vector<InNeed> needs = LearnersInNeed(learners);
  if (needs.empty()) return html + "<p>" + words::kNeedNone + "</p></section>";
  html += std::string("<table class=\"need\"><caption>") + words::kNeedHeading + "</caption>" +
          ColumnHeads({words::kName, words::kDrill, words::kWeakFacts, words::kWeakCount,
                       words::kLatestRun}) +
          "<tbody>";
  // Whole learners, as many as kNeedRows rows hold: the list stays on the first screen.
  size_t shown = 0;
  for (size_t rows = 0; shown < needs.size(); shown++) {
    rows += needs[shown].drills.size();
    if (rows > kNeedRows) break;
  }
  for (size_t n = 0; n < shown; n++) {
    const InNeed& need = needs[n];
    const LearnerReport& learner = learners[need.learner];
    for (size_t k = 0; k < need.drills.size(); k++) {
      const DrillStats& d = *need.drills[k];
      html += "<tr>";
      if (k == 0) {
        html += "<th scope=\"row\" rowspan=\"" + std::to_string(need.drills.size()) +
                "\"><a href=\"#" + DrillId(need.learner, d.kind) + "\">" +
                EscapeHtml(learner.name) + "</a></th>";
      }
      html += std::string("<td class=\"drill-name\">") + ShortDrillName(d.kind) +
              "</td><td class=\"facts\">";
      for (size_t f = 0; f < std::min(d.weak.size(), kNeedFacts); f++)
        html += MarkedFact(d.weak[f]);
      html += std::string("</td><td class=\"num\" data-label=\"") + words::kWeakCount + "\">" +
              std::to_string(d.weak.size()) + words::kProblems + "</td><td data-label=\"" +
              words::kLatestRun + "\">" + LastPracticeText(d, lastDay) + "</td></tr>";
    }
  }
  html += "</tbody></table>";
  if (needs.size() > shown) {
    // The rest by name, so that none is missed below the fold.
    std::vector<const std::string*> rest;
    for (size_t n = shown; n < needs.size(); n++)
      rest.push_back(&learners[needs[n].learner].name);
    html += std::string("<p class=\"more-need\">") + words::kMoreInNeed1 +
            std::to_string(needs.size() - shown) + words::kMoreInNeed2 + NameList(rest) +
            words::kMoreInNeed3 + "</p>";
  }
  return html + "</section>";
}

std::string RowCounts(const DrillStats& stats) {
  const bool division = IsDivision(stats.kind);
  std::string head = "<thead><tr>", body = "<tbody><tr>";
  for (int row = division ? 2 : 1; row <= 9; row++) {
    int fluent = 0, asked = 0;
    auto count = [&](const FactCell& cell) {
      if (!cell.asked) return;
      asked++;
      fluent += cell.figures.state == FactState::kFluent;
    };
    for (int column = 1; column <= 9; column++) {
      if (division) count(stats.forward[(row - 1) * 9 + column - 1]);
      count(stats.inverse[(row - 1) * 9 + column - 1]);
    }
    head += "<th scope=\"col\">" +
            (division ? std::to_string(row) + words::kRowSuffix
                      : words::kRowSubtrahend + std::to_string(row)) +
            "</th>";
    body += "<td class=\"num\">" + std::to_string(fluent) + "/" + std::to_string(asked) + "</td>";
  }
  return std::string("<table class=\"rows\"><caption>") + words::kRowsCaption + "<small>" +
         (division ? words::kDivisionRowsNote : words::kSubtractionRowsNote) +
         "</small></caption>" + head + "</tr></thead>" + body + "</tr></tbody></table>";
}

}  // namespace report
