// Writes the answers table. Its words are the page's: the drill's name and the fact as the
// child reads it come from the report's wording.
#include "report/csv.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <tuple>
#include <vector>

#include "drill/fact_states.h"
#include "drill/log_format.h"
#include "report/wording.h"
#include "report/words.h"

namespace report {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Milliseconds as seconds with three decimals and a point whatever the locale: 3125 -> 3.125.
std::string MillisecondsText(uint32_t ms) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%u.%03u", static_cast<unsigned>(ms / 1000),
                static_cast<unsigned>(ms % 1000));
  return buffer;
}

}  // namespace

bool StartsDangerously(std::string_view text) {
  if (text.empty()) return false;
  if (std::string_view("=+-@\t\r\n").find(text[0]) != std::string_view::npos) return true;
  // The full-width forms a spreadsheet in Japanese takes for = + - @, the byte order mark and
  // the controls that reorder what follows them, each as its UTF-8 bytes.
  static constexpr std::string_view kStarts[] = {
      "\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0",  // ＝ ＋ － ＠
      "\xEF\xBB\xBF",                                                  // U+FEFF
      "\xE2\x80\x8E", "\xE2\x80\x8F",                                  // U+200E, U+200F
      "\xE2\x80\xAA", "\xE2\x80\xAB", "\xE2\x80\xAC", "\xE2\x80\xAD",
      "\xE2\x80\xAE",                                                  // U+202A to U+202E
      "\xE2\x81\xA6", "\xE2\x81\xA7", "\xE2\x81\xA8", "\xE2\x81\xA9",  // U+2066 to U+2069
  };
  for (std::string_view start : kStarts) {
    if (text.starts_with(start)) return true;
  }
  return false;
}

std::string CsvField(std::string_view text) {
  std::string field;
  if (StartsDangerously(text)) field = "'";
  field += text;
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string SheetDateTime(const platform::DateTime& start) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d",
                static_cast<int>(start.date.year % 10000), start.date.month % 100,
                start.date.day % 100, start.hour % 100, start.minute % 100, start.second % 100);
  return buffer;
}

std::string AnswersCsv(const Collection& collection, int64_t judgingDay) {
  size_t answers = 0;
  for (const Learner& learner : collection.learners) {
    for (const drill::LoggedRun& run : learner.runs)
      answers += run.answers.size();
  }
  std::string csv;
  // A row is about 80 bytes; a year of a class is a million rows.
  csv.reserve(96 * (answers + 1));
  csv += kUtf8Bom;
  csv += words::kCsvHead;
  csv += kLineEnd;
  for (const Learner& learner : collection.learners) {
    const std::string name = CsvField(learner.name);
    std::vector<const drill::LoggedRun*> runs;
    for (const drill::LoggedRun& run : learner.runs)
      runs.push_back(&run);
    std::stable_sort(runs.begin(), runs.end(),
                     [](const drill::LoggedRun* x, const drill::LoggedRun* y) {
                       return std::tie(x->start, x->kind) < std::tie(y->start, y->kind);
                     });
    // The first pass folds the answers into the states by the drills' one rule, noting which
    // ones it counts; the second writes the rows with the facts' states as they end up.
    std::array<drill::FactStates, 2> states = {drill::FactStates(drill::DrillKind::kDivision),
                                               drill::FactStates(drill::DrillKind::kSubtraction)};
    std::vector<bool> counts;
    for (const drill::LoggedRun* run : runs) {
      drill::FactStates& kindStates = states[run->kind == drill::DrillKind::kSubtraction];
      kindStates.BeginRun(run->start.Seconds());
      for (const drill::LoggedAnswer& answer : run->answers) {
        counts.push_back(kindStates.IsFirstAsk(answer.problem));
        kindStates.Add(answer.problem, answer.milliseconds, answer.misses);
      }
    }
    for (drill::FactStates& kindStates : states)
      kindStates.JudgeOnDay(judgingDay);
    size_t row = 0;
    for (const drill::LoggedRun* run : runs) {
      const drill::FactStates& kindStates = states[run->kind == drill::DrillKind::kSubtraction];
      const std::string head = name + "," + ShortDrillName(run->kind) + "," +
                               SheetDateTime(run->start) + "," +
                               (run->focus ? words::kCsvFocus : "") + ",";
      for (size_t i = 0; i < run->answers.size(); i++) {
        const drill::LoggedAnswer& answer = run->answers[i];
        const drill::Problem& p = answer.problem;
        csv += head;
        for (const std::string& field :
             {std::to_string(i + 1), drill::LogProblemFieldUtf8(p),
              // The tens of a sum is always 1: the row says so rather than credit the fact.
              drill::SaysSomethingAboutTheFact(p)
                  ? FactText(drill::FactOf(p))
                  : FactText(drill::FactOf(p)) + words::kCsvTensOfSum,
              std::to_string(p.hiddenSlot), std::to_string(p.Answer()),
              MillisecondsText(answer.milliseconds)}) {
          csv += field;
          csv += ',';
        }
        csv += std::to_string(answer.misses);
        csv += counts[row++] ? ",1," : ",0,";
        // The tens of a sum belongs to no fact's state.
        if (drill::SaysSomethingAboutTheFact(p))
          csv += StateText(kindStates.Figures(drill::FactOf(p)));
        csv += kLineEnd;
      }
    }
  }
  return csv;
}

std::string FactsCsv(const std::vector<LearnerReport>& learners) {
  std::string csv;
  csv += kUtf8Bom;
  csv += words::kCsvFactsHead;
  csv += kLineEnd;
  for (const LearnerReport& learner : learners) {
    const std::string name = CsvField(learner.name);
    for (const DrillStats& d : learner.drills) {
      for (const auto* cells : {&d.forward, &d.inverse}) {
        for (const FactCell& cell : *cells) {
          if (!cell.asked) continue;
          const drill::FactFigures& f = cell.figures;
          const bool seen = f.state != FactState::kUnseen;
          csv += name + "," + ShortDrillName(d.kind) + "," + FactText(cell.fact) + "," +
                 StateText(f) + "," + (f.Few() ? words::kCsvYes : "") + "," +
                 (cell.longWeak ? words::kCsvYes : "") + "," + std::to_string(f.answers) + "," +
                 std::to_string(f.recentAnswers) + "," + std::to_string(f.recentMissed) + "," +
                 (seen ? SecondsText(f.median) : "");
          csv += kLineEnd;
        }
      }
    }
  }
  return csv;
}

}  // namespace report
