// Writes the fact grids and the tables beside them, for one learner's drill and for the class.
#include "report/grids.h"

#include <algorithm>
#include <array>

#include "report/wording.h"
#include "report/words.h"

namespace report {
namespace {

using drill::Fact;
using drill::FactKind;

const FactCell& CellAt(const DrillStats& stats, FactKind kind, int row, int column) {
  const auto& cells = kind == FactKind::kForward ? stats.forward : stats.inverse;
  return cells[(row - 1) * 9 + column - 1];
}

// The rows and columns a grid shows: the division drill never asks a 1.
int FirstOperand(drill::DrillKind drill) {
  return IsDivision(drill) ? 2 : 1;
}

// A grid's head row and body, rows and columns from the drill's first operand to 9; cell()
// writes each <td>.
template <class CellHtml>
std::string GridRows(drill::DrillKind drill, std::string_view op, CellHtml cell) {
  std::string html = "<thead><tr><th scope=\"col\">" + std::string(op) + "</th>";
  int from = FirstOperand(drill);
  for (int column = from; column <= 9; column++)
    html += "<th scope=\"col\">" + std::to_string(column) + "</th>";
  html += "</tr></thead><tbody>";
  for (int row = from; row <= 9; row++) {
    html += "<tr><th scope=\"row\">" + std::to_string(row) + "</th>";
    for (int column = from; column <= 9; column++)
      html += cell(row, column);
    html += "</tr>";
  }
  return html + "</tbody>";
}

}  // namespace

int ClassShade(int count) {
  if (count <= 0) return 0;
  if (count == 1) return 1;
  if (count <= 3) return 2;
  if (count <= 6) return 3;
  return 4;
}

std::string NameList(const std::vector<const std::string*>& names) {
  std::string text;
  for (const std::string* name : names) {
    if (!text.empty()) text += words::kComma;
    text += EscapeHtml(*name);
  }
  return text;
}

std::string Swatch(FactState state) {
  return "<span class=\"key " + std::string(StateClass(state)) + "\">" + StateMark(state) +
         "</span>";
}

std::string FactGrid(const DrillStats& stats, FactKind kind) {
  drill::DrillKind drill = stats.kind;
  bool forward = kind == FactKind::kForward;
  const char* op = Operator(drill, kind);
  std::string html = "<div class=\"facts\"><table class=\"grid " +
                     std::string(forward ? "forward" : "inverse") + "\"><caption>" +
                     GridName(drill, kind) + words::kGridCaption + "<small>";
  Fact example =
      forward ? Fact{drill, kind, 7, 8} : Fact{drill, kind, drill::Combine(drill, 8, 7), 7};
  if (forward) {
    html +=
        std::string(words::kAnswerDigitHidden) +
        (IsDivision(drill) ? words::kDivisionForwardExample : words::kSubtractionForwardExample) +
        words::kClose + words::kPeriod + FactText(example) + words::kRowAndColumn + "</small>";
  } else {
    html +=
        std::string(IsDivision(drill) ? words::kDivisionOperandHidden
                                      : words::kSubtractionOperandHidden) +
        (IsDivision(drill) ? words::kDivisionInverseExample : words::kSubtractionInverseExample) +
        words::kClose + words::kPeriod + FactText(example) + words::kRowIs +
        (IsDivision(drill) ? words::kDivisorName : words::kSubtrahendName) +
        words::kColumnIsAnswer + "</small>";
  }
  html += "</caption>" + GridRows(drill, op, [&](int row, int column) -> std::string {
            const FactCell& cell = CellAt(stats, kind, row, column);
            if (!cell.asked) {
              return std::string("<td class=\"never\" title=\"") + words::kNeverAsked + "\"></td>";
            }
            const drill::FactFigures& f = cell.figures;
            std::string title = FactText(cell.fact) + words::kColon + StateName(f.state);
            std::string text;
            if (f.state != FactState::kUnseen) {
              title += words::kCellAnswers + std::to_string(f.answers) + words::kCellRecent +
                       std::to_string(f.recentAnswers) + words::kCellMedian +
                       SecondsText(f.median) + words::kCellMissed + std::to_string(f.recentMissed) +
                       words::kTimes + (f.Few() ? words::kCellFew : "");
              if (f.dueForReview) {
                title += words::kCellDue + std::to_string(f.evidenceAgeDays) + words::kCellDueEnd;
              }
              // The few-answers and review marks sit in the cell's corners, clear of the figures.
              text =
                  (f.Few() ? "<i class=\"few-mark\">＊</i>" : std::string()) +
                  (f.dueForReview ? std::string("<i class=\"due-mark\">") + words::kDueMark + "</i>"
                                  : std::string()) +
                  "<b>" + StateMark(f.state) + "</b>" + SecondsText(f.median);
            }
            return "<td class=\"" + std::string(StateClass(f.state)) + (f.Few() ? " few" : "") +
                   (f.dueForReview ? " due" : "") + "\" title=\"" + EscapeHtml(title) + "\">" +
                   text + "</td>";
          });
  return html + "</table></div>";
}

std::string SlotTable(const DrillStats& stats) {
  bool division = IsDivision(stats.kind);
  // The four places, each with an example and the fact the child works out from it.
  int d = division ? 0 : 1;
  std::string html = std::string("<div class=\"slots\"><table class=\"slots\"><caption>") +
                     words::kSlotsCaption + "<small>" + words::kSlotsNote +
                     (division ? "" : words::kSlotsTensNote) + "</small></caption>" +
                     ColumnHeads({words::kSlot, words::kThink, words::kAnswers, words::kMedian,
                                  words::kMissRate}) +
                     "<tbody>";
  for (int i = 0; i < 4; i++) {
    const SlotFigures& s = stats.slots[i];
    html += "<tr><th scope=\"row\">" + std::string(words::kSlotShapes[d][i]) + "</th><td>" +
            words::kSlotThinks[d][i] + "</td><td class=\"num\">" + std::to_string(s.answers) +
            words::kTimes + "</td><td class=\"num\">" +
            (s.answers ? SecondsText(s.median) + words::kSeconds : words::kDash) +
            "</td><td class=\"num\">" + (s.answers ? Percent(s.missRate) : words::kDash) +
            "</td></tr>";
  }
  return html + "</tbody></table></div>";
}

std::string PracticeTable(const DrillStats& stats) {
  std::string html = "<div class=\"practice\">";
  if (stats.practice.empty()) {
    return html + "<h4>" + words::kPracticeCaption + "</h4><p>" + words::kNothingToPractise +
           "</p></div>";
  }
  html += std::string("<table class=\"practice\"><caption>") + words::kPracticeCaption +
          "</caption>" +
          ColumnHeads(
              {words::kProblem, words::kState, words::kMedian, words::kMisses, words::kAnswers}) +
          "<tbody>";
  for (const FactCell& cell : stats.practice) {
    const drill::FactFigures& f = cell.figures;
    html += "<tr><th scope=\"row\">" + FactText(cell.fact) + "</th><td>" + Swatch(f.state) +
            StateText(f) + (f.Few() ? "<i class=\"few-mark\">＊</i>" : "") +
            (cell.longWeak ? std::string("<span class=\"long\">") + words::kLongWeakMark + "</span>"
                           : "") +
            "</td><td class=\"num\">" + SecondsText(f.median) + words::kSeconds +
            "</td><td class=\"num\">" + words::kRecentOf1 + std::to_string(f.recentAnswers) +
            words::kRecentOf2 + std::to_string(f.recentMissed) + words::kTimes +
            "</td><td class=\"num\">" + Grouped(f.answers) + words::kTimes + "</td></tr>";
  }
  return html + "</tbody></table></div>";
}

std::string ClassMap(const std::vector<LearnerReport>& learners) {
  std::string html = std::string("<section id=\"class\"><h2>") + words::kClassHeading + "</h2>";
  bool any = false;
  for (drill::DrillKind drill : drill::kDrillKinds) {
    // For each fact, the learners who have it slow or missed, of those who practise the drill.
    std::array<int, drill::kFactPlaces> weak{};
    std::array<std::vector<const std::string*>, drill::kFactPlaces> who;
    int practising = 0;
    for (const LearnerReport& learner : learners) {
      for (const DrillStats& d : learner.drills) {
        if (d.kind != drill || d.runs.empty()) continue;
        practising++;
        for (int place = 0; place < drill::kFactPlaces; place++) {
          const FactCell& cell = d.CellAt(place);
          FactState s = cell.figures.state;
          if (!cell.asked || (s != FactState::kSlow && s != FactState::kMissed)) continue;
          weak[place]++;
          who[place].push_back(&learner.name);
        }
      }
    }
    if (!practising) continue;
    any = true;
    html += "<div class=\"drill-map\"><h3>" + DrillName(drill) + words::kColon +
            std::to_string(practising) + words::kPeople + "</h3><p>" + words::kClassMapNote +
            "</p><div class=\"grids\">";
    for (FactKind kind : {FactKind::kForward, FactKind::kInverse}) {
      const char* op = Operator(drill, kind);
      html +=
          "<div><table class=\"grid classmap\"><caption>" + std::string(GridName(drill, kind)) +
          "</caption>" +
          GridRows(drill, op,
                   [&](int row, int column) -> std::string {
                     int place = (kind == FactKind::kForward ? 0 : 81) + (row - 1) * 9 + column - 1;
                     Fact fact = drill::FactAtPlace(drill, place);
                     if (!drill::IsAsked(fact)) return "<td class=\"never\"></td>";
                     int count = weak[place];
                     // Four shades by the count, so that 1, 3 and 7 children look apart.
                     int shade = ClassShade(count);
                     return "<td" +
                            (shade ? " class=\"c" + std::to_string(shade) + "\"" : std::string()) +
                            " title=\"" + FactText(fact) + words::kColon + std::to_string(count) +
                            words::kPeople + "\">" + (count ? std::to_string(count) : "") + "</td>";
                   }) +
          "</table></div>";
    }
    // The facts most learners find hard, as a list a teacher can read out.
    std::vector<int> places;
    for (int place = 0; place < drill::kFactPlaces; place++) {
      if (weak[place]) places.push_back(place);
    }
    std::stable_sort(places.begin(), places.end(), [&](int x, int y) { return weak[x] > weak[y]; });
    if (places.size() > static_cast<size_t>(kPracticeFacts)) places.resize(kPracticeFacts);
    html += std::string("<div class=\"classlist\"><table class=\"classlist\"><caption>") +
            words::kClassListCaption + "</caption>" +
            ColumnHeads({words::kProblem, words::kPeopleCount, words::kChildren}) + "<tbody>";
    for (int place : places) {
      html += "<tr><th scope=\"row\">" + FactText(drill::FactAtPlace(drill, place)) +
              "</th><td class=\"num\">" + std::to_string(weak[place]) + words::kPeople +
              "</td><td class=\"who\">" + NameList(who[place]) + "</td></tr>";
    }
    if (places.empty()) html += std::string("<tr><td colspan=\"3\">") + words::kNone + "</td></tr>";
    html += "</tbody></table></div></div></div>";
  }
  if (!any) html += std::string("<p>") + words::kNoRecordsYet + "</p>";
  return html + "</section>";
}

}  // namespace report
