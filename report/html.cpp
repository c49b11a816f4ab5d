// Builds the report page from its parts: the head with the counts, the overview, the class map,
// the legend, and per learner and drill the chart, the grids and tables; then the files not read.
#include "report/html.h"

#include <algorithm>
#include <array>
#include <map>

#include "report/chart.h"
#include "report/first_screen.h"
#include "report/grids.h"
#include "report/style.h"
#include "report/wording.h"
#include "report/words.h"

namespace report {
namespace {

using drill::FactKind;

constexpr std::array<FactState, 4> kWeakToStrong = {FactState::kMissed, FactState::kSlow,
                                                    FactState::kGettingThere, FactState::kFluent};

// Notes grouped by reason, the largest group first, each with at most kNamesPerReason names
// and the count of the rest: a folder of 100,000 empty files must not make a page of them.
std::string NoteGroups(const std::vector<FileNote>& notes, const char* heading,
                       const char* listClass) {
  std::map<std::string_view, std::vector<const FileNote*>> byReason;
  for (const FileNote& note : notes)
    byReason[note.reason].push_back(&note);
  std::vector<const std::vector<const FileNote*>*> groups;
  for (const auto& [reason, group] : byReason)
    groups.push_back(&group);
  std::stable_sort(groups.begin(), groups.end(), [](const auto* x, const auto* y) {
    if (x->size() != y->size()) return x->size() > y->size();
    return x->front()->path < y->front()->path;
  });
  std::string html;
  for (const auto* group : groups) {
    html += std::string("<") + heading + " class=\"reason\">" + EscapeHtml(group->front()->reason) +
            words::kOpen + std::to_string(group->size()) + words::kFilesClose + "</" + heading +
            "><ul class=\"" + listClass + "\">";
    const size_t shown = std::min(group->size(), static_cast<size_t>(kNamesPerReason));
    for (size_t i = 0; i < shown; i++) {
      const FileNote& note = *(*group)[i];
      html += "<li><code>" + EscapeHtml(note.path) + "</code>";
      if (!note.detail.empty()) html += words::kColon + EscapeHtml(note.detail);
      html += "</li>";
    }
    if (group->size() > shown) {
      html += std::string("<li class=\"more\">") + words::kMoreFiles +
              std::to_string(group->size() - shown) + words::kFiles + "</li>";
    }
    html += "</ul>";
  }
  return html;
}

// The compact key each learner's pages repeat.
std::string KeyLine() {
  std::string html = "<p class=\"keyline\">";
  for (FactState state : {FactState::kFluent, FactState::kGettingThere, FactState::kSlow,
                          FactState::kMissed, FactState::kUnseen}) {
    html += "<span class=\"item\">" + Swatch(state) + StateName(state) + "</span>";
  }
  return html + "<span class=\"item\"><i class=\"few-mark\">＊</i>" + words::kKeyFew1 +
         std::to_string(drill::kFewAnswers - 1) + words::kKeyFew2 +
         "</span><span class=\"item\"><span class=\"long\">" + words::kLongWeakMark + "</span>" +
         words::kKeyLongWeak + "</span><span class=\"item\"><span class=\"key fluent\">◎<i>" +
         words::kDueMark + "</i></span>" + words::kKeyDue + "</span></p>";
}

// The facts of a drill by state as a small bar, weakest first, with the counts beside it.
std::string StateBar(const DrillStats& stats) {
  int total = 0;
  for (int count : stats.stateCounts)
    total += count;
  std::string bar = "<span class=\"bar\" aria-hidden=\"true\">";
  std::string tally = "<span class=\"tally\">";
  for (FactState state : kWeakToStrong) {
    int count = stats.stateCounts[static_cast<int>(state)];
    if (count && total) {
      bar += "<span class=\"" + std::string(StateClass(state)) +
             "\" style=\"width:" + Fixed(100.0 * count / total, 1) + "%\"></span>";
    }
    tally += std::string(StateMark(state)) + std::to_string(count);
    if (state == FactState::kFluent && stats.dueForReview)
      tally += std::string("（") + words::kDueMark + std::to_string(stats.dueForReview) + "）";
    tally += " ";
  }
  tally += words::kNotYet + std::to_string(stats.stateCounts[static_cast<int>(FactState::kUnseen)]);
  return bar + "</span>" + tally + "</span>";
}

std::string ChangeText(const Change& change) {
  if (!change.known) return words::kDash;
  int64_t diff = change.last.Tenths() - change.first.Tenths();
  std::string title = std::string(" title=\"") + words::kFirstRuns + std::to_string(kBaselineRuns) +
                      words::kTimesColon + SecondsText(change.first) + words::kSecondsLastRuns +
                      std::to_string(kBaselineRuns) + words::kTimesColon +
                      SecondsText(change.last) + words::kSeconds + "\"";
  if (diff == 0) return "<span" + title + ">" + words::kNoChange + "</span>";
  std::string text = std::string(diff < 0 ? words::kMinusSign : "+") +
                     TenthsText(diff < 0 ? -diff : diff) + words::kSeconds;
  if (change.clear == 0) return "<span" + title + ">" + text + "</span>";
  // Most children get faster with practice: only a slowing down is made to stand out.
  return "<span class=\"" + std::string(change.clear < 0 ? "better" : "worse") + "\"" + title +
         ">" + text + (change.clear < 0 ? words::kFaster : words::kSlower) + "</span>";
}

}  // namespace

std::string Legend() {
  std::string html = std::string("<section class=\"legend\" id=\"legend\"><h2>") +
                     words::kLegendHeading + "</h2><ul>";
  auto item = [&](FactState state, const std::string& text) {
    html += "<li>" + Swatch(state) + StateName(state) + words::kColon + text + "</li>";
  };
  using namespace words;
  std::string recent = kRecent + std::to_string(drill::kRecentAnswers) + kRecentAnswers;
  std::string fluent = TenthsText(drill::kFluentTenths) + kSeconds;
  std::string gettingThere = TenthsText(drill::kGettingThereTenths) + kSeconds;
  const std::string baseline = std::to_string(kBaselineRuns);
  item(FactState::kFluent, kFluentMeaning1 + recent + kFluentMeaning2 +
                               std::to_string(drill::kFluentAnswers) + kFluentMeaning3 + fluent +
                               kFluentMeaning4);
  item(FactState::kGettingThere, kGettingThereMeaning2 + gettingThere + kGettingThereMeaning3);
  item(FactState::kSlow, kGettingThereMeaning1 + gettingThere + kSlowMeaning);
  item(FactState::kMissed,
       recent + kMissedMeaning1 + std::to_string(drill::kMissedAnswers) + kMissedMeaning2);
  item(FactState::kUnseen, kUnseenMeaning);
  html += std::string("<li><span class=\"key never\"></span>") + kNeverMeaning + "</li>";
  html += std::string("<li><span class=\"key unseen few\"></span><i class=\"few-mark\">＊</i>") +
          kFewMeaning1 + std::to_string(drill::kFewAnswers - 1) + kFewMeaning2 + "</li>";
  html += std::string("<li><span class=\"long\">") + kLongWeakMark + "</span>" + kLongWeakMeaning1 +
          std::to_string(kLongWeakDays) + kLongWeakMeaning2 + "</li>";
  html += std::string("<li><span class=\"key fluent\">◎<i>") + kDueMark + "</i></span>" +
          kDueMeaning1 + std::to_string(drill::kFluentAnswers) + kDueMeaning2 +
          std::to_string(drill::ReviewIntervalDays(drill::kFluentAnswers)) + kDueMeaning3 +
          std::to_string(drill::ReviewIntervalDays(drill::kFluentAnswers + 1)) + kDays +
          std::to_string(drill::ReviewIntervalDays(drill::kFluentAnswers + 2)) + kDays +
          std::to_string(drill::ReviewIntervalDays(drill::kFluentAnswers + 3)) + kDueMeaning4 +
          std::to_string(drill::ReviewIntervalDays(drill::kLongestStreak)) + kDueMeaning5 +
          "</li></ul>";
  html += std::string("<p>") + kFirstAsksOnly + "</p><p>" +
          (kCellNumbers1 + recent + kCellNumbers2) + "</p><p>" + kFactsAsThought + "</p><p>" +
          kChartPoints + "</p><p>" + kFirstRuns + baseline + kChange1 + baseline + kChange2 +
          baseline + kChange3 + std::to_string(2 * kBaselineRuns) + kChange4 + baseline + kChange5 +
          baseline + kChange6 + "</p><p>" + kPracticeOrder + "</p></section>";
  return html;
}

std::string Overview(const std::vector<LearnerReport>& learners, int64_t lastDay) {
  const std::string weeks = words::kWeekDaysShort;
  std::string html =
      std::string("<table class=\"overview\"><caption>") + words::kOverviewCaption + "<small>" +
      words::kOverviewNote + words::kWeekDaysNote1 + std::to_string(kRecentWeeks - 1) +
      words::kWeekDaysNote2 + "</small></caption>" + "<thead><tr><th scope=\"col\">" +
      words::kName + "</th><th scope=\"col\">" + words::kDrill + "</th><th scope=\"col\">" +
      words::kRuns + words::kWeekSeparator + words::kProblemCount + "</th><th scope=\"col\">" +
      words::kLatestRun + "</th><th scope=\"col\">" + weeks + "</th><th scope=\"col\">" +
      words::kPerProblem + "</th><th scope=\"col\">" + words::kChangeFromFirst +
      "</th><th scope=\"col\">" + words::kStatesOfFacts + "</th></tr></thead><tbody>";
  for (size_t i = 0; i < learners.size(); i++) {
    const LearnerReport& learner = learners[i];
    if (learner.drills.empty()) {
      html += "<tr class=\"learner not-started\"><td class=\"name\">" + EscapeHtml(learner.name) +
              "</td><td colspan=\"7\">" + words::kNotStarted + "</td></tr>";
      continue;
    }
    for (const DrillStats& d : learner.drills) {
      // Both drills of a child together, under one name.
      html += "<tr class=\"learner\">";
      if (&d == &learner.drills.front()) {
        html += "<td class=\"name\" rowspan=\"" + std::to_string(learner.drills.size()) +
                "\"><a href=\"#" + DrillId(i, d.kind) + "\">" + EscapeHtml(learner.name) +
                "</a></td>";
      }
      html += std::string("<td class=\"drill-name\">") + ShortDrillName(d.kind) +
              "</td><td class=\"num\" data-label=\"" + words::kRuns + "\">" +
              Grouped(static_cast<int64_t>(d.runs.size())) + words::kTimes + words::kWeekSeparator +
              Grouped(d.answers) + words::kProblems + "</td>";
      if (d.runs.empty()) {
        html += "<td></td><td></td><td></td><td></td><td></td></tr>";
        continue;
      }
      const RunPoint& run = d.runs.back();
      html += std::string("<td data-label=\"") + words::kLatestRun + "\">" +
              LastPracticeText(d, lastDay) + "</td><td class=\"num\" data-label=\"" +
              words::kWeekDaysShort + "\">" + WeekDaysText(d, lastDay) +
              "</td><td class=\"num\" data-label=\"" + words::kPerProblem + "\">" +
              SecondsText(run.median) + words::kSeconds + "</td><td class=\"num\" data-label=\"" +
              words::kChangeFromFirst + "\">" + ChangeText(d.change) +
              "</td><td class=\"states\" data-label=\"" + words::kStatesOfFactsShort + "\">" +
              StateBar(d) + "</td></tr>";
    }
  }
  return html + "</tbody></table>";
}

std::string FileNotes(const Collection& collection) {
  // Nothing to say about the files prints no page for it.
  const bool none = collection.notRead.empty() && collection.partlyRead.empty();
  std::string html = std::string("<section id=\"files\"") + (none ? " class=\"none\"" : "") +
                     "><h2>" + words::kFilesNotRead + "</h2>";
  if (collection.notRead.empty()) {
    html += std::string("<p>") + words::kNoneSentence + "</p>";
  } else {
    html += NoteGroups(collection.notRead, "h3", "not-read");
  }
  if (!collection.partlyRead.empty()) {
    html += std::string("<h3>") + words::kPartlyReadHeading + "</h3>" +
            NoteGroups(collection.partlyRead, "h4", "partly-read");
  }
  return html + "</section>";
}

std::string ReportPage(std::string_view title, const std::vector<LearnerReport>& learners,
                       const Collection& collection, const DateRange& range) {
  const std::string days = RangeText(range);
  const int64_t lastDay = LastDayOf(learners);
  int started = 0;
  for (const LearnerReport& learner : learners)
    started += !learner.drills.empty();
  std::string html = std::string(
                         "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
                         "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
                         "<title>") +
                     EscapeHtml(title) + (days.empty() ? "" : " " + days) + "</title><style>" +
                     kPageStyle + "</style></head><body id=\"top\">";
  html +=
      "<header><h1>" + EscapeHtml(title) +
      (days.empty() ? "" : "<small class=\"range\">" + days + words::kRangeRecords + "</small>") +
      "</h1><p>" + Grouped(started) + words::kPeopleComma + Grouped(collection.filesRead) +
      words::kRunsRecorded;
  if (started < static_cast<int>(learners.size())) {
    html += std::string(words::kOpen) + words::kNotStarted + words::kColon +
            Grouped(static_cast<int64_t>(learners.size()) - started) + words::kPeople +
            words::kClose;
  }
  if (!collection.notRead.empty()) {
    html += std::string(words::kOpen) + "<a href=\"#files\">" + words::kFilesNotRead +
            Grouped(static_cast<int64_t>(collection.notRead.size())) + words::kFiles + "</a>" +
            words::kClose;
  }
  html += "</p>";
  if (collection.outsideRange) {
    html += std::string("<p class=\"outside\">") + words::kOutsideRange +
            Grouped(collection.outsideRange) + words::kOutsideRangeLeftOut + "</p>";
  }
  html += "</header>";
  if (!started) {
    html += std::string("<p class=\"empty\">") +
            (collection.outsideRange ? words::kNoRunsInRange : words::kNoLogs) + "</p>";
  } else {
    html += NeedSection(learners, lastDay);
  }
  html += std::string("<section id=\"overview\"><h2>") + words::kOverviewHeading + "</h2>" +
          Overview(learners, lastDay) + "</section>";
  html += ClassMap(learners) + Legend();
  for (size_t i = 0; i < learners.size(); i++) {
    const LearnerReport& learner = learners[i];
    if (learner.drills.empty()) continue;
    // In print the head repeats on every page the learner's part spans.
    html +=
        "<section class=\"learner\"><table class=\"sheet\" "
        "role=\"presentation\"><thead><tr><td><h2>" +
        EscapeHtml(learner.name) + "<a class=\"top\" href=\"#top\">" + words::kBackToTop +
        "</a></h2>" + KeyLine() + "</td></tr></thead><tbody><tr><td>";
    for (const DrillStats& d : learner.drills) {
      html += "<div class=\"drill\" id=\"" + DrillId(i, d.kind) +
              "\"><div class=\"drill-head\"><h3>" + DrillName(d.kind) + words::kColon +
              Grouped(static_cast<int64_t>(d.runs.size())) + words::kTimesComma +
              Grouped(d.answers) + words::kProblems + "</h3><p class=\"counts\">" + StateBar(d) +
              words::kKeySpace + words::kLatestRun + words::kColon + LastPracticeText(d, lastDay) +
              words::kKeySpace + words::kWeekDays1 + std::to_string(kRecentWeeks - 1) +
              words::kWeekDays2 + words::kColon + WeekDaysText(d, lastDay) + "</p>" + RowCounts(d) +
              ProgressChart(d) + "</div>" + FactGrid(d, FactKind::kForward) +
              FactGrid(d, FactKind::kInverse) + SlotTable(d) + PracticeTable(d) + "</div>";
    }
    html += "</td></tr></tbody></table></section>";
  }
  html += FileNotes(collection);
  return html + "</body></html>\n";
}

}  // namespace report
