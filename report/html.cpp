// Builds the report page from its parts: overview, legend, and per learner and drill a
// progress chart, the fact grid, the hidden positions and the facts to practise.
#include "report/html.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace report {
namespace {

const char* DrillName(Drill drill) {
  return drill == Drill::kDivision ? "わり算（Divide Quarn）" : "ひき算（Subtract Quarn）";
}

const char* OperatorGlyph(Drill drill) {
  return drill == Drill::kDivision ? "×" : "＋";
}

int Result(Drill drill, int a, int b) {
  return drill == Drill::kDivision ? a * b : a + b;
}

const char* FluencyClass(Fluency f) {
  switch (f) {
    case Fluency::kNeverAsked:
      return "never";
    case Fluency::kUnseen:
      return "unseen";
    case Fluency::kFluent:
      return "fluent";
    case Fluency::kGettingThere:
      return "getting";
    case Fluency::kSlow:
      return "slow";
    case Fluency::kMissed:
      return "missed";
  }
  return "";
}

const char* FluencyName(Fluency f) {
  switch (f) {
    case Fluency::kNeverAsked:
      return "出題されない";
    case Fluency::kUnseen:
      return "まだ出ていない";
    case Fluency::kFluent:
      return "すらすら";
    case Fluency::kGettingThere:
      return "もう少し";
    case Fluency::kSlow:
      return "時間がかかる";
    case Fluency::kMissed:
      return "まちがえた";
  }
  return "";
}

std::string Fixed(double value, int decimals) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string Percent(double share) {
  return Fixed(share * 100, 0) + "%";
}

std::string FactText(Drill drill, int a, int b) {
  return std::to_string(a) + " " + OperatorGlyph(drill) + " " + std::to_string(b) + " ＝ " +
         std::to_string(Result(drill, a, b));
}

std::string DrillId(size_t learner, Drill drill) {
  return "l" + std::to_string(learner) + (drill == Drill::kDivision ? "d" : "s");
}

constexpr const char* kStyle = R"(
:root{--fluent:#7bc47f;--getting:#f5e27a;--slow:#f6a95b;--missed:#e5676b;--ink:#222;--line:#bbb}
*{box-sizing:border-box}
body{font-family:"Noto Sans CJK JP","Hiragino Sans","Yu Gothic","Meiryo",sans-serif;color:var(--ink);margin:0 auto;padding:12px;max-width:1100px;line-height:1.5}
h1{font-size:1.5em;margin:.2em 0}
h2{font-size:1.25em;border-bottom:2px solid var(--ink);margin:1.2em 0 .4em}
h3{font-size:1.1em;margin:.8em 0 .3em}
h4{font-size:1em;margin:.6em 0 .2em}
table{border-collapse:collapse}
th,td{border:1px solid var(--line);padding:2px 6px}
th{background:#f0f0f0;font-weight:normal}
.scroll{overflow-x:auto}
.num{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}
table.practice td,table.overview td,table.overview th{white-space:nowrap}
.drill{display:grid;grid-template-columns:repeat(auto-fit,minmax(300px,1fr));gap:8px 20px;break-inside:avoid}
.drill>h3,.drill>.chart{grid-column:1/-1}
.chart svg{width:100%;height:auto;max-width:760px}
.chart .avg{fill:none;stroke:#1f5fa8;stroke-width:1.5}
.chart .mis{fill:none;stroke:#d9534f;stroke-width:1;stroke-dasharray:3 2}
.chart .full{fill:#1f5fa8}
.chart .short{fill:#fff;stroke:#1f5fa8;stroke-width:1.5}
.chart .mp{fill:#d9534f}
.chart .axis{stroke:#888;stroke-width:1}
.chart .gridline{stroke:#ddd;stroke-width:1}
.chart text{font-size:12px;fill:#444}
table.grid{table-layout:fixed}
table.grid td,table.grid th{width:2.6em;height:2.1em;text-align:center;padding:0;font-size:.9em}
td.fluent{background:var(--fluent)}
td.getting{background:var(--getting)}
td.slow{background:var(--slow)}
td.missed{background:var(--missed)}
td.unseen{background:#fff;color:#999}
td.never{background:repeating-linear-gradient(45deg,#eee,#eee 3px,#ddd 3px,#ddd 6px);color:#999}
.legend span.key{display:inline-block;width:1.2em;height:1.2em;border:1px solid var(--line);vertical-align:middle;margin-right:4px}
.legend li{list-style:none;margin:2px 0}
.legend ul{padding:0;margin:0}
.legend .key.fluent{background:var(--fluent)}
.legend .key.getting{background:var(--getting)}
.legend .key.slow{background:var(--slow)}
.legend .key.missed{background:var(--missed)}
.legend .key.unseen{background:#fff}
.legend .key.never{background:repeating-linear-gradient(45deg,#eee,#eee 3px,#ddd 3px,#ddd 6px)}
.better{color:#1b7a2f}
.worse{color:#b3261e}
code{word-break:break-all}
@media (max-width:480px){body{padding:6px;font-size:15px}table.grid td,table.grid th{width:2.2em;font-size:.8em}}
@page{size:A4;margin:12mm}
@media print{body{max-width:none;padding:0;font-size:10pt}section.learner{break-before:page}.drill{grid-template-columns:1fr 1fr}td,th,.legend .key{-webkit-print-color-adjust:exact;print-color-adjust:exact}a{color:inherit;text-decoration:none}}
)";

// The smallest step from the list that fits the largest value into four steps.
double NiceStep(double largest, std::initializer_list<double> steps) {
  for (double step : steps) {
    if (largest <= 4 * step) return step;
  }
  return std::ceil(largest / 4);
}

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
            "（" + std::to_string(group->size()) + " 件）</" + heading + "><ul class=\"" +
            listClass + "\">";
    const size_t shown = std::min(group->size(), static_cast<size_t>(kNamesPerReason));
    for (size_t i = 0; i < shown; i++) {
      const FileNote& note = *(*group)[i];
      html += "<li><code>" + EscapeHtml(note.path) + "</code>";
      if (!note.detail.empty()) html += "：" + EscapeHtml(note.detail);
      html += "</li>";
    }
    if (group->size() > shown) {
      html += "<li class=\"more\">ほか " + std::to_string(group->size() - shown) + " 件</li>";
    }
    html += "</ul>";
  }
  return html;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string SecondsText(double ms) {
  const uint64_t tenths = ShownTenths(ms);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string DateText(const StartTime& t) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", t.year % 10000, t.month % 100,
                t.day % 100);
  return buffer;
}

std::string Legend() {
  std::string html = "<div class=\"legend\"><h2>色の見かた</h2><ul>";
  auto item = [&](Fluency f, const std::string& text) {
    html += "<li><span class=\"key " + std::string(FluencyClass(f)) + "\"></span>" +
            FluencyName(f) + "：" + text + "</li>";
  };
  std::string recent = "直近 " + std::to_string(kRecentAnswers) + " 回の答え";
  item(Fluency::kFluent,
       recent + "の中央値が " + SecondsText(kFluentMs) + " 秒以下で、まちがいなし");
  item(Fluency::kGettingThere, "中央値が " + SecondsText(kGettingThereMs) + " 秒以下");
  item(Fluency::kSlow, "中央値が " + SecondsText(kGettingThereMs) + " 秒より長い");
  item(Fluency::kMissed, recent + "で 1 回以上まちがえた");
  item(Fluency::kUnseen, "まだ答えていない");
  item(Fluency::kNeverAsked, "ドリルに出ない組み合わせ");
  html +=
      "</"
      "ul><p>"
      "マスの数字は直近の答えの中央値（秒）です。答えの位置（どの数字が隠れたか）は問いません。"
      "「最初のころ」は最初の " +
      std::to_string(kBaselineRuns) + " 回の平均、練習したい問題はまちがい 1 回を " +
      SecondsText(kMissWeightMs) + " 秒として時間に足して並べています。</p></div>";
  return html;
}

std::string ProgressChart(const DrillStats& stats) {
  constexpr double kWidth = 640, kHeight = 236;
  constexpr double kLeft = 44, kRight = 590, kTop = 22, kBottom = 186;
  std::string svg = "<div class=\"chart\"><h4>回ごとの平均時間とミス</h4><svg viewBox=\"0 0 " +
                    Fixed(kWidth, 0) + " " + Fixed(kHeight, 0) +
                    "\" role=\"img\" aria-label=\"回ごとの平均時間とミス\">";
  if (stats.runs.empty()) return svg + "</svg></div>";

  uint32_t maxMs = 0;
  double maxMisses = 0;
  for (const RunPoint& run : stats.runs) {
    maxMs = std::max(maxMs, run.averageMs);
    maxMisses = std::max(maxMisses, run.missesPerProblem);
  }
  double secondStep = NiceStep(maxMs / 1000.0, {0.5, 1, 2, 3, 5, 10, 15, 30, 60});
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
  auto yTime = [&](uint32_t ms) { return kBottom - (kBottom - kTop) * (ms / 1000.0) / topSeconds; };
  auto yMisses = [&](double m) { return kBottom - (kBottom - kTop) * m / topMisses; };

  // Grid lines and the two scales: seconds on the left, misses per problem on the right.
  for (int i = 0; i <= 4; i++) {
    double y = kBottom - (kBottom - kTop) * i / 4;
    svg += "<line class=\"gridline\" x1=\"" + Fixed(kLeft, 0) + "\" x2=\"" + Fixed(kRight, 0) +
           "\" y1=\"" + Fixed(y, 1) + "\" y2=\"" + Fixed(y, 1) + "\"/>";
    svg += "<text x=\"" + Fixed(kLeft - 4, 0) + "\" y=\"" + Fixed(y + 4, 1) +
           "\" text-anchor=\"end\">" + Fixed(secondStep * i, secondStep < 1 ? 1 : 0) + "</text>";
    svg += "<text x=\"" + Fixed(kRight + 4, 0) + "\" y=\"" + Fixed(y + 4, 1) + "\">" +
           Fixed(missStep * i, missStep < 0.5 ? 2
                               : missStep < 1 ? 1
                                              : 0) +
           "</text>";
  }
  svg += "<text x=\"" + Fixed(kLeft - 4, 0) + "\" y=\"10\" text-anchor=\"end\">秒</text>";
  svg += "<text x=\"" + Fixed(kRight + 4, 0) + "\" y=\"10\">ミス/問</text>";
  svg += "<line class=\"axis\" x1=\"" + Fixed(kLeft, 0) + "\" x2=\"" + Fixed(kRight, 0) +
         "\" y1=\"" + Fixed(kBottom, 0) + "\" y2=\"" + Fixed(kBottom, 0) + "\"/>";
  svg += "<text x=\"" + Fixed(last == first ? x(stats.runs.front()) : kLeft, 0) + "\" y=\"" +
         Fixed(kBottom + 16, 0) + "\" text-anchor=\"" + (last == first ? "middle" : "start") +
         "\">" + DateText(stats.runs.front().start) + "</text>";
  if (last != first) {
    svg += "<text x=\"" + Fixed(kRight, 0) + "\" y=\"" + Fixed(kBottom + 16, 0) +
           "\" text-anchor=\"end\">" + DateText(stats.runs.back().start) + "</text>";
  }

  std::string avgLine, missLine, avgDots, missDots;
  for (const RunPoint& run : stats.runs) {
    std::string px = Fixed(x(run), 1);
    std::string pyTime = Fixed(yTime(run.averageMs), 1);
    std::string pyMiss = Fixed(yMisses(run.missesPerProblem), 1);
    avgLine += px + "," + pyTime + " ";
    missLine += px + "," + pyMiss + " ";
    avgDots += "<circle class=\"" + std::string(run.full ? "full" : "short") + "\" cx=\"" + px +
               "\" cy=\"" + pyTime + "\" r=\"3\"><title>" + DateText(run.start) + " " +
               std::to_string(run.answers) + " 問 平均 " + SecondsText(run.averageMs) +
               " 秒 ミス " + Fixed(run.missesPerProblem, 2) + "/問</title></circle>";
    missDots += "<rect class=\"mp\" x=\"" + Fixed(x(run) - 1.5, 1) + "\" y=\"" +
                Fixed(yMisses(run.missesPerProblem) - 1.5, 1) + "\" width=\"3\" height=\"3\"/>";
  }
  svg += "<polyline class=\"mis\" points=\"" + missLine + "\"/>" + missDots;
  svg += "<polyline class=\"avg\" points=\"" + avgLine + "\"/>" + avgDots;
  // Key.
  double ky = kHeight - 6;
  svg += "<circle class=\"full\" cx=\"60\" cy=\"" + Fixed(ky - 4, 0) +
         "\" r=\"3\"/><text x=\"68\" y=\"" + Fixed(ky, 0) + "\">100 問の回の平均</text>";
  svg += "<circle class=\"short\" cx=\"200\" cy=\"" + Fixed(ky - 4, 0) +
         "\" r=\"3\"/><text x=\"208\" y=\"" + Fixed(ky, 0) + "\">途中で終えた回</text>";
  svg += "<rect class=\"mp\" x=\"328\" y=\"" + Fixed(ky - 6, 0) +
         "\" width=\"4\" height=\"4\"/><text x=\"338\" y=\"" + Fixed(ky, 0) +
         "\">1 問あたりのミス</text>";
  return svg + "</svg></div>";
}

std::string FactGrid(const DrillStats& stats) {
  const char* op = OperatorGlyph(stats.drill);
  std::string html = "<div class=\"facts\"><h4>" +
                     std::string(stats.drill == Drill::kDivision ? "かけ算" : "たし算") +
                     "の表</h4><div class=\"scroll\"><table class=\"grid\"><tr><th>" + op + "</th>";
  for (int b = 1; b <= 9; b++)
    html += "<th>" + std::to_string(b) + "</th>";
  html += "</tr>";
  for (int a = 1; a <= 9; a++) {
    html += "<tr><th>" + std::to_string(a) + "</th>";
    for (int b = 1; b <= 9; b++) {
      const FactCell& cell = stats.cells[(a - 1) * 9 + b - 1];
      std::string title = FactText(stats.drill, a, b) + "：";
      std::string text;
      if (cell.fluency == Fluency::kNeverAsked) {
        title += "ドリルに出ない";
        text = "";
      } else if (cell.fluency == Fluency::kUnseen) {
        title += "まだ答えていない";
      } else {
        title += FluencyName(cell.fluency) + std::string("、答え ") + std::to_string(cell.answers) +
                 " 回、直近 " + std::to_string(cell.recentAnswers) + " 回の中央値 " +
                 SecondsText(cell.medianMs) + " 秒、ミス " + std::to_string(cell.recentMisses) +
                 " 回";
        text = SecondsText(cell.medianMs);
      }
      html += "<td class=\"" + std::string(FluencyClass(cell.fluency)) + "\" title=\"" +
              EscapeHtml(title) + "\">" + text + "</td>";
    }
    html += "</tr>";
  }
  return html + "</table></div></div>";
}

std::string SlotTable(const DrillStats& stats) {
  const char* op = OperatorGlyph(stats.drill);
  const std::string shapes[4] = {std::string("□") + op + "b＝cd", std::string("a") + op + "□＝cd",
                                 std::string("a") + op + "b＝□d", std::string("a") + op + "b＝c□"};
  const char* names[4] = {"左の数", "右の数", "答えの十の位", "答えの一の位"};
  std::string html =
      "<div class=\"slots\"><h4>隠れた位置ごと</h4><table class=\"slots\"><tr><th>位置</th><th>"
      "答え</th><th>中央値</th><th>まちがえた割合</th></tr>";
  for (int i = 0; i < 4; i++) {
    const SlotFigures& s = stats.slots[i];
    html += "<tr><td>" + shapes[i] + " " + names[i] + "</td><td class=\"num\">" +
            std::to_string(s.answers) + "</td><td class=\"num\">" +
            (s.answers ? SecondsText(s.medianMs) + " 秒" : "—") + "</td><td class=\"num\">" +
            (s.answers ? Percent(s.missRate) : "—") + "</td></tr>";
  }
  return html + "</table></div>";
}

std::string PracticeTable(const DrillStats& stats) {
  std::string html = "<div class=\"practice\"><h4>次に練習したい問題</h4>";
  if (stats.practice.empty()) {
    return html + "<p>いまのところありません。</p></div>";
  }
  html +=
      "<table class=\"practice\"><tr><th>問題</th><th>中央値</th><th>ミス</th><th>答え</th>"
      "<th>ようす</th></tr>";
  for (const FactCell& cell : stats.practice) {
    html += "<tr><td>" + FactText(stats.drill, cell.a, cell.b) + "</td><td class=\"num\">" +
            SecondsText(cell.medianMs) + " 秒</td><td class=\"num\">" +
            std::to_string(cell.recentMisses) + "</td><td class=\"num\">" +
            std::to_string(cell.answers) + "</td><td>" + FluencyName(cell.fluency) + "</td></tr>";
  }
  return html + "</table></div>";
}

std::string Overview(const std::vector<LearnerReport>& learners) {
  std::string html =
      "<div class=\"scroll\"><table class=\"overview\"><tr><th>名前</th><th>回数</th><th>"
      "答え</th><th>最新の回</th><th>ドリル</th><th>平均</th><th>最初のころとの差</th></tr>";
  for (size_t i = 0; i < learners.size(); i++) {
    const LearnerReport& learner = learners[i];
    int runs = 0, answers = 0;
    const DrillStats* latest = nullptr;
    for (const DrillStats& d : learner.drills) {
      runs += static_cast<int>(d.runs.size());
      answers += d.answers;
      if (!d.runs.empty() && (!latest || latest->runs.back().start < d.runs.back().start)) {
        latest = &d;
      }
    }
    html += "<tr class=\"learner\"><td><a href=\"#" + DrillId(i, learner.drills.front().drill) +
            "\">" + EscapeHtml(learner.name) + "</a></td><td class=\"num\">" +
            std::to_string(runs) + "</td><td class=\"num\">" + std::to_string(answers) + "</td>";
    if (!latest) {
      html += "<td></td><td></td><td></td><td></td></tr>";
      continue;
    }
    const RunPoint& run = latest->runs.back();
    std::string change = "—";
    if (latest->runs.size() > static_cast<size_t>(kBaselineRuns) && latest->baselineMs) {
      int64_t diff = static_cast<int64_t>(run.averageMs) - latest->baselineMs;
      uint32_t size = static_cast<uint32_t>(diff < 0 ? -diff : diff);
      std::string percent = Fixed(100.0 * size / latest->baselineMs, 0) + "%";
      if (SecondsText(size) == "0.0") {
        change = "±0.0 秒（±0%）";
      } else {
        const char* sign = diff < 0 ? "−" : "+";
        change = "<span class=\"" + std::string(diff < 0 ? "better" : "worse") + "\">" + sign +
                 SecondsText(size) + " 秒（" + sign + percent + "）</span>";
      }
    }
    html += "<td>" + DateText(run.start) + "</td><td>" +
            (latest->drill == Drill::kDivision ? "わり算" : "ひき算") + "</td><td class=\"num\">" +
            SecondsText(run.averageMs) + " 秒</td><td class=\"num\">" + change + "</td></tr>";
  }
  return html + "</table></div>";
}

std::string FileNotes(const Collection& collection) {
  std::string html = "<section id=\"files\"><h2>読めなかったファイル</h2>";
  if (collection.notRead.empty()) {
    html += "<p>ありません。</p>";
  } else {
    html += NoteGroups(collection.notRead, "h3", "not-read");
  }
  if (!collection.partlyRead.empty()) {
    html += "<h3>一部の行を使わなかったファイル</h3>" +
            NoteGroups(collection.partlyRead, "h4", "partly-read");
  }
  return html + "</section>";
}

std::string ReportPage(std::string_view folderName, const std::vector<LearnerReport>& learners,
                       const Collection& collection) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
      "<title>練習の記録 " +
      EscapeHtml(folderName) + "</title><style>" + kStyle + "</style></head><body>";
  html += "<h1>練習の記録：" + EscapeHtml(folderName) + "</h1><p>" +
          std::to_string(learners.size()) + " 人、" + std::to_string(collection.filesRead) +
          " 回分の記録";
  if (!collection.notRead.empty()) {
    html += "（<a href=\"#files\">読めなかったファイル " +
            std::to_string(collection.notRead.size()) + " 件</a>）";
  }
  html += "</p>";
  if (learners.empty()) {
    html +=
        "<p "
        "class=\"empty\">このフォルダーとその下のフォルダーに、読める練習記録（*."
        "log）はありません。</p>";
  }
  html += "<section id=\"overview\"><h2>一覧</h2>" + Overview(learners) + "</section>";
  html += Legend();
  for (size_t i = 0; i < learners.size(); i++) {
    const LearnerReport& learner = learners[i];
    html += "<section class=\"learner\"><h2>" + EscapeHtml(learner.name) + "</h2>";
    for (const DrillStats& d : learner.drills) {
      html += "<div class=\"drill\" id=\"" + DrillId(i, d.drill) + "\"><h3>" + DrillName(d.drill) +
              "：" + std::to_string(d.runs.size()) + " 回、" + std::to_string(d.answers) +
              " 問</h3>" + ProgressChart(d) + FactGrid(d) + SlotTable(d) + PracticeTable(d) +
              "</div>";
    }
    html += "</section>";
  }
  html += FileNotes(collection);
  return html + "</body></html>\n";
}

}  // namespace report
