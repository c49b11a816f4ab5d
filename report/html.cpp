// Builds the report page from its parts: overview, class map, legend, and per learner and
// drill a progress chart, the two fact grids, the hidden positions and the facts to practise.
// The page's words are gathered here.
#include "report/html.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace report {
namespace {

using drill::Fact;
using drill::FactKind;

bool IsDivision(drill::DrillKind drill) {
  return drill == drill::DrillKind::kDivision;
}

// "わり算（Divide Quarn）"
std::string DrillName(drill::DrillKind drill) {
  return std::string(ShortDrillName(drill)) + "（" + std::string(drill::Title(drill)) + "）";
}

// The grid of one kind of fact: かけ算 and わり算 in the division drill, たし算 and ひき算 in
// the subtraction drill.
const char* GridName(drill::DrillKind drill, FactKind kind) {
  if (kind == FactKind::kForward) return IsDivision(drill) ? "かけ算" : "たし算";
  return IsDivision(drill) ? "わり算" : "ひき算";
}

const char* Operator(drill::DrillKind drill, FactKind kind) {
  if (kind == FactKind::kForward) return IsDivision(drill) ? "×" : "＋";
  return IsDivision(drill) ? "÷" : "−";
}

constexpr std::array<FactState, 4> kWeakToStrong = {FactState::kMissed, FactState::kSlow,
                                                    FactState::kGettingThere, FactState::kFluent};

// How the page shows each state: its CSS class, its name, and the mark a Japanese classroom
// reads, so that the grid needs no colour vision and survives black-and-white print.
struct StateLook {
  const char* cssClass;
  const char* name;
  const char* mark;
};

StateLook LookOf(FactState state) {
  switch (state) {
    case FactState::kFluent:
      return {"fluent", "すらすら", "◎"};
    case FactState::kGettingThere:
      return {"getting", "もう少し", "○"};
    case FactState::kSlow:
      return {"slow", "時間がかかる", "△"};
    case FactState::kMissed:
      return {"missed", "まちがいあり", "✕"};
    case FactState::kUnseen:
      break;
  }
  return {"unseen", "まだ出ていない", ""};
}

const char* StateClass(FactState state) {
  return LookOf(state).cssClass;
}
const char* StateName(FactState state) {
  return LookOf(state).name;
}
const char* StateMark(FactState state) {
  return LookOf(state).mark;
}

std::string Fixed(double value, int decimals) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

std::string Percent(double share) {
  return Fixed(share * 100, 0) + "%";
}

std::string TenthsText(int64_t tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string ClockText(const drill::StartTime& t) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", t.hour % 100, t.minute % 100);
  return buffer;
}

std::string DrillId(size_t learner, drill::DrillKind drill) {
  return "l" + std::to_string(learner) + (IsDivision(drill) ? "d" : "s");
}

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

// The state swatch with its mark, as the grids draw it.
std::string Swatch(FactState state) {
  return "<span class=\"key " + std::string(StateClass(state)) + "\">" + StateMark(state) +
         "</span>";
}

constexpr const char* kStyle = R"(
:root{--fluent:#46d1a6;--fluent-ink:#1a1a1a;--getting:#a68256;--getting-ink:#1a1a1a;--slow:#903f00;--slow-ink:#fff;--missed:#56071e;--missed-ink:#fff;--unseen:#ffffff;--unseen-ink:#1a1a1a;--class1:#e4ecf8;--class2:#b4c8ea;--class3:#4a6db0;--class4:#1f3d78;--ink:#1a1a1a;--line:#999}
*{box-sizing:border-box}
body{font-family:"Noto Sans CJK JP","Hiragino Sans","Yu Gothic","Meiryo",sans-serif;color:var(--ink);margin:0 auto;padding:12px;max-width:1120px;line-height:1.5}
h1{font-size:1.5em;margin:.2em 0}
h1 small.range{display:block;font-size:.7em}
h2{font-size:1.25em;border-bottom:2px solid var(--ink);margin:1.2em 0 .4em}
h3{font-size:1.1em;margin:.8em 0 .3em}
h4{font-size:1em;margin:.6em 0 .2em}
table{border-collapse:collapse}
caption{text-align:left;font-weight:bold;padding:.2em 0;caption-side:top}
caption small{display:block;font-weight:normal}
th,td{border:1px solid var(--line);padding:2px 6px}
th{background:#f0f0f0;font-weight:normal;white-space:nowrap}
.scroll{overflow-x:auto}
table.practice td,table.classlist caption,table.overview td.name{white-space:nowrap}
p.counts{margin:0}
.num{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}
.drill{display:grid;grid-template-columns:1fr 1fr;gap:8px 24px;margin-bottom:1em;align-items:start}
.drill>.drill-head{grid-column:1/-1}
.chart>svg{width:100%;height:auto;max-width:760px;display:block}
.chart .avg{fill:none;stroke:#1f5fa8;stroke-width:1.5}
.chart .mis{fill:none;stroke:#b3261e;stroke-width:1;stroke-dasharray:3 2}
.chart>svg .full,.chart>svg .short{fill:none;stroke:#1f5fa8;stroke-width:7;stroke-linecap:round}
.chart>svg .short-in{fill:none;stroke:#fff;stroke-width:3.5;stroke-linecap:round}
.chart>svg .mp{fill:none;stroke:#b3261e;stroke-width:3.5;stroke-linecap:square}
.chart>svg .focus{fill:#1f5fa8;stroke:#1f5fa8;stroke-width:1.5;stroke-linejoin:round}
.chart>svg .focus-short{fill:#fff;stroke:#1f5fa8;stroke-width:1.5;stroke-linejoin:round}
.chart-key .full{fill:#1f5fa8}
.chart-key .short{fill:#fff;stroke:#1f5fa8;stroke-width:1.5}
.chart-key .mp{fill:#b3261e}
.chart-key .focus{fill:#1f5fa8;stroke:#1f5fa8}
.chart .axis{stroke:#666;stroke-width:1}
.chart .gridline{stroke:#ddd;stroke-width:1}
.chart text{font-size:13px;fill:#333}
.chart-key{margin:.2em 0;font-size:.9em}
.chart-key svg{vertical-align:middle}
details{margin:.3em 0}
table.points td,table.points th{padding:1px 6px}
table.points td+td{text-align:right;font-variant-numeric:tabular-nums}
table.grid{table-layout:fixed}
table.grid td,table.grid th{width:2.7em;height:2.6em;text-align:center;padding:0;font-size:.85em;line-height:1.15}
table.grid td b{display:block;font-weight:normal;font-size:1.1em}
table.grid td i,.key i{font-style:normal;font-size:.8em;vertical-align:top}
table.grid th[scope=row]{width:3em}
td.fluent,.key.fluent{background:var(--fluent);color:var(--fluent-ink)}
td.getting,.key.getting{background:var(--getting);color:var(--getting-ink)}
td.slow,.key.slow{background:var(--slow);color:var(--slow-ink)}
td.missed,.key.missed{background:var(--missed);color:var(--missed-ink)}
td.unseen,.key.unseen{background:var(--unseen);color:var(--unseen-ink)}
td.never,.key.never{background:#d9d9d9}
td.few{outline:2px dashed currentColor;outline-offset:-4px}
.key{display:inline-block;min-width:1.5em;height:1.5em;line-height:1.5em;text-align:center;border:1px solid var(--line);vertical-align:middle;margin-right:3px}
.legend ul{padding:0;margin:0}
.legend li{list-style:none;margin:3px 0}
.keyline{font-size:.9em;margin:.2em 0 .6em}
.keyline span.item{white-space:nowrap;margin-right:.8em}
.bar{display:inline-flex;width:10em;height:1.1em;border:1px solid var(--line);vertical-align:middle;margin-right:6px}
.bar span{display:block;height:100%}
.bar .fluent{background:var(--fluent)}
.bar .getting{background:var(--getting)}
.bar .slow{background:var(--slow)}
.bar .missed{background:var(--missed)}
.bar .unseen{background:var(--unseen)}
.tally{white-space:nowrap;font-variant-numeric:tabular-nums}
td.c1{background:var(--class1)}
td.c2{background:var(--class2)}
td.c3{background:var(--class3);color:#fff}
td.c4{background:var(--class4);color:#fff}
.grids{display:flex;flex-wrap:wrap;gap:8px 24px}
.better{color:#1b6e2d;font-weight:bold}
.worse{color:#a4231b;font-weight:bold}
code{word-break:break-all}
table.sheet{width:100%;border-collapse:collapse;table-layout:fixed}
.facts,.slots,.practice,.grids>div,.legend{overflow-x:auto;max-width:100%}
table.sheet>*>tr>td{border:0;padding:0}
@media (max-width:760px){.drill{grid-template-columns:1fr}}
@media (max-width:640px){
body{padding:6px;font-size:15px}
.chart text{font-size:21px}
table.grid td,table.grid th{width:2.25em;height:2.5em;font-size:.78em}
table.grid th[scope=row]{width:2.5em}
table.overview,table.overview caption,table.overview tbody,table.overview tr{display:block}
table.overview thead{display:none}
table.overview tr{border:1px solid var(--line);margin:0 0 6px;padding:3px 6px}
table.overview td{display:inline-block;border:0;padding:0 .9em 0 0;text-align:left}
table.overview td::before{content:attr(data-label) "：";color:#555}
table.overview td.name,table.overview td.drill-name{font-weight:bold}
table.overview td.name::before,table.overview td.drill-name::before{content:none}
table.overview td.states{display:block}
.bar{width:8em}
}
@page{size:A4;margin:11mm}
@media print{
body{max-width:none;padding:0;font-size:9.5pt}
section.learner,#files{break-before:page}
table.sheet h2{margin-top:0}
.drill-head,#class .drill-map{break-inside:avoid}
.drill{grid-template-columns:1fr 1fr;break-inside:auto}
.chart,.grids>div,table.slots,table.practice{break-inside:avoid}
details{display:none}
.facts,.slots,.practice,.grids>div,.legend{overflow:visible}
table.slots,table.practice{font-size:8pt}
table.slots td,table.slots th,table.practice td,table.practice th{padding:1px 3px}
.legend{columns:2;column-gap:18px}
.legend h2{column-span:all}
.legend li,.legend p{break-inside:avoid}
table.classmap td,table.classmap th{height:1.75em;width:2.3em}
td,th,.key,.bar span{-webkit-print-color-adjust:exact;print-color-adjust:exact}
a{color:inherit;text-decoration:none}
}
)";

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
            "（" + std::to_string(group->size()) + "件）</" + heading + "><ul class=\"" +
            listClass + "\">";
    const size_t shown = std::min(group->size(), static_cast<size_t>(kNamesPerReason));
    for (size_t i = 0; i < shown; i++) {
      const FileNote& note = *(*group)[i];
      html += "<li><code>" + EscapeHtml(note.path) + "</code>";
      if (!note.detail.empty()) html += "：" + EscapeHtml(note.detail);
      html += "</li>";
    }
    if (group->size() > shown) {
      html += "<li class=\"more\">ほか" + std::to_string(group->size() - shown) + "件</li>";
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

std::string SecondsText(uint32_t ms) {
  return SecondsText(ExactMedian{2 * uint64_t{ms}});
}

std::string SecondsText(ExactMedian median) {
  return TenthsText(median.Tenths());
}

std::string DateText(const drill::StartTime& t) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", t.year % 10000, t.month % 100,
                t.day % 100);
  return buffer;
}

std::string FactText(const Fact& fact) {
  return std::to_string(fact.first) + " " + Operator(fact.drill, fact.kind) + " " +
         std::to_string(fact.second) + " ＝ " + std::to_string(fact.Answer());
}

const char* ShortDrillName(drill::DrillKind drill) {
  return IsDivision(drill) ? "わり算" : "ひき算";
}

std::string RangeText(const DateRange& range) {
  auto dayText = [](const Day& d) {
    return std::to_string(d.year) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) +
           "日";
  };
  if (range.from && range.to) return dayText(*range.from) + "〜" + dayText(*range.to);
  if (range.from) return dayText(*range.from) + "から";
  if (range.to) return dayText(*range.to) + "まで";
  return "";
}

std::string StateText(const drill::FactFigures& figures) {
  return std::string(StateName(figures.state)) + (figures.dueForReview ? "（復習どき）" : "");
}

std::string Legend() {
  std::string html = "<section class=\"legend\" id=\"legend\"><h2>色と記号の見かた</h2><ul>";
  auto item = [&](FactState state, const std::string& text) {
    html += "<li>" + Swatch(state) + StateName(state) + "：" + text + "</li>";
  };
  std::string recent = "直近" + std::to_string(drill::kRecentAnswers) + "回";
  std::string fluent = TenthsText(drill::kFluentTenths) + "秒";
  std::string gettingThere = TenthsText(drill::kGettingThereTenths) + "秒";
  item(FactState::kFluent, "その日はじめて出たときの答えの" + recent + "のうち" +
                               std::to_string(drill::kFluentAnswers) + "回以上を、まちがえずに" +
                               fluent + "以内で答えた（1回のまちがいや1回の遅れでは下がりません）");
  item(FactState::kGettingThere, "すらすらではなく、中央値が" + gettingThere + "以下");
  item(FactState::kSlow, "中央値が" + gettingThere + "より長い");
  item(FactState::kMissed, recent + "のうち" + std::to_string(drill::kMissedAnswers) +
                               "回以上まちがえた（1回しか出ていなければ、その1回で）。"
                               "まだ身についていない問題です");
  item(FactState::kUnseen, "まだ答えていない");
  html += "<li><span class=\"key never\"></span>灰色：ドリルに出ない組み合わせ</li>";
  html += "<li><span class=\"key unseen few\">*</span>点線のわくと*：その日はじめての答えが" +
          std::to_string(drill::kFewAnswers - 1) + "回以下で、まだ目安のマス</li>";
  html +=
      "<li><span class=\"key fluent\">◎<i>↻</i></span>↻：復習どき。すらすらだが、最後に出て"
      "から日がたった。すらすらが続くほど間をあけます（続けて" +
      std::to_string(drill::kFluentAnswers) + "回までは" +
      std::to_string(drill::ReviewIntervalDays(drill::kFluentAnswers)) + "日、そのあと" +
      std::to_string(drill::ReviewIntervalDays(3)) + "日、" +
      std::to_string(drill::ReviewIntervalDays(4)) + "日、" +
      std::to_string(drill::ReviewIntervalDays(5)) + "日、いちばん長くて" +
      std::to_string(drill::ReviewIntervalDays(drill::kLongestStreak)) + "日）</li></ul>";
  html +=
      "<p>状態は、問題がその日の練習ではじめて出たときの答えだけで決めます。日をおいても"
      "思い出せるかを見るためです。同じ日に2回目に出た問題や、まちがえたあとのやり直しは"
      "練習です。答えた回数には入りますが、状態には数えません。日付は、いちばん新しい練習の日"
      "（--to を指定したときはその日）を今日として数えます。</p><p>マスの数字は" +
      recent +
      "の答えにかかった時間の中央値（秒）です。速さは、表に出る小数第1位の値でくらべています。"
      "</p><p>問題は、子どもが考えるとおりに分けて数えています。7 × 8 ＝ 5□ "
      "は「7 × 8」、□ × 8 ＝ 56 は「56 ÷ 8」、8 ＋ 5 ＝ 1□ は「8 ＋ 5」、□ ＋ 8 ＝ 13 "
      "は「13 − 8」です。たし算の答えの十の位はいつも1なので、その問題は□の位置ごとの表に"
      "だけ入れ、マスの色には数えません。</p><p>グラフの点は、その回の答えにかかった時間の"
      "中央値です。長く手を止めた問題が1つあっても、ほとんど動きません。</p><p>最初の" +
      std::to_string(kBaselineRuns) + "回との差は、100問やりきった回のうち、最初の" +
      std::to_string(kBaselineRuns) + "回と最後の" + std::to_string(kBaselineRuns) +
      "回の中央値をくらべたものです（やりきった回が" + std::to_string(2 * kBaselineRuns) +
      "回になると出ます）。最後の" + std::to_string(kBaselineRuns) + "回がどれも最初の" +
      std::to_string(kBaselineRuns) +
      "回のどれより速いときは緑、どれより遅いときは赤にしています。"
      "変わっていない子でも、たまたまそうなるのは20回に1回です。</p><p>"
      "練習したい問題は、まちがいあり、時間がかかる、もう少しの順に、同じなかでは"
      "まちがえた回の多い順、時間の長い順に並べています。</p></section>";
  return html;
}

namespace {

// The compact key each learner's pages repeat.
std::string KeyLine() {
  std::string html = "<p class=\"keyline\">";
  for (FactState state : {FactState::kFluent, FactState::kGettingThere, FactState::kSlow,
                          FactState::kMissed, FactState::kUnseen}) {
    html += "<span class=\"item\">" + Swatch(state) + StateName(state) + "</span>";
  }
  return html + "<span class=\"item\"><span class=\"key unseen few\">*</span>答え" +
         std::to_string(drill::kFewAnswers - 1) +
         "回以下</span><span class=\"item\"><span class=\"key fluent\">◎<i>↻</i></span>復習どき"
         "</span></p>";
}

}  // namespace

std::string ProgressChart(const DrillStats& stats) {
  constexpr double kWidth = 640, kHeight = 200;
  constexpr double kLeft = 48, kRight = 580, kTop = 28, kBottom = 168;
  std::string svg =
      "<div class=\"chart\"><h4>回ごとの時間（中央値）とまちがい</h4><svg viewBox=\"0 0 " +
      Fixed(kWidth, 0) + " " + Fixed(kHeight, 0) +
      "\" role=\"img\" aria-label=\"回ごとの時間の中央値と、1問あたりのまちがい。"
      "下の「数字で見る」に同じ値があります\">";
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
           Fixed(missStep * i, missStep < 0.5 ? 2
                               : missStep < 1 ? 1
                                              : 0) +
           "</text>";
  }
  svg += "<text x=\"" + Fixed(kLeft - 5, 0) + "\" y=\"16\" text-anchor=\"end\">秒</text>";
  svg += "<text x=\"" + Fixed(kWidth, 0) + "\" y=\"16\" text-anchor=\"end\">まちがい/問</text>";
  svg += "<line class=\"axis\" x1=\"" + Fixed(kLeft, 0) + "\" x2=\"" + Fixed(kRight, 0) +
         "\" y1=\"" + Fixed(kBottom, 0) + "\" y2=\"" + Fixed(kBottom, 0) + "\"/>";
  svg += "<text x=\"" + Fixed(last == first ? x(stats.runs.front()) : kLeft, 0) + "\" y=\"" +
         Fixed(kHeight - 6, 0) + "\" text-anchor=\"" + (last == first ? "middle" : "start") +
         "\">" + DateText(stats.runs.front().start) + "</text>";
  if (last != first) {
    svg += "<text x=\"" + Fixed(kRight, 0) + "\" y=\"" + Fixed(kHeight - 6, 0) +
           "\" text-anchor=\"end\">" + DateText(stats.runs.back().start) + "</text>";
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
  svg +=
      "<p class=\"chart-key\"><svg width=\"10\" height=\"10\" aria-hidden=\"true\"><circle "
      "class=\"full\" cx=\"5\" cy=\"5\" r=\"3.5\"/></svg> 100問やりきった回　<svg width=\"10\" "
      "height=\"10\" aria-hidden=\"true\"><circle class=\"short\" cx=\"5\" cy=\"5\" "
      "r=\"3.5\"/></svg> 途中で終えた回　<svg width=\"10\" height=\"10\" "
      "aria-hidden=\"true\"><rect class=\"mp\" x=\"2\" y=\"2\" width=\"6\" "
      "height=\"6\"/></svg> 1問あたりのまちがい（右の目もり）";
  if (anyFocus) {
    svg +=
        "　<svg width=\"10\" height=\"10\" aria-hidden=\"true\"><path class=\"focus\" "
        "d=\"M5 1l4 4-4 4-4-4z\"/></svg> "
        "フォーカス練習の回（苦手な問題を集めた回なので、時間がかかるのはふつうです）";
  }
  svg += "</p>";
  svg += "<details><summary>数字で見る（" + std::to_string(stats.runs.size()) +
         "回）</summary><table class=\"points\"><caption>回ごとの数字</caption><thead><tr><th "
         "scope=\"col\">始めた日時</th><th scope=\"col\">問題数</th><th "
         "scope=\"col\">中央値（秒）</th><th scope=\"col\">1問あたりのまちがい</th></tr></"
         "thead><tbody>";
  for (const RunPoint& run : stats.runs) {
    // End tags of cells and rows are left out, as HTML allows: a year of runs is long.
    svg += "<tr><td>" + DateText(run.start) + " " + ClockText(run.start) + "<td>" +
           std::to_string(run.answers) + (run.full ? "" : "（途中まで）") +
           (run.focus ? "（フォーカス練習）" : "") + "<td>" + SecondsText(run.median) + "<td>" +
           Fixed(run.missesPerProblem, 2);
  }
  return svg + "</tbody></table></details></div>";
}

std::string FactGrid(const DrillStats& stats, FactKind kind) {
  drill::DrillKind drill = stats.kind;
  bool forward = kind == FactKind::kForward;
  const char* op = Operator(drill, kind);
  std::string html = "<div class=\"facts\"><table class=\"grid " +
                     std::string(forward ? "forward" : "inverse") + "\"><caption>" +
                     GridName(drill, kind) + "の表<small>";
  Fact example =
      forward ? Fact{drill, kind, 7, 8} : Fact{drill, kind, drill::Combine(drill, 8, 7), 7};
  if (forward) {
    html += std::string("答えの数字がかくれた問題（") +
            (IsDivision(drill) ? "7 × 8 ＝ 5□" : "7 ＋ 8 ＝ 1□") + "）。" + FactText(example) +
            "は7の行、8の列</small>";
  } else {
    html += std::string(IsDivision(drill) ? "かける数" : "たす数") + "がかくれた問題（" +
            (IsDivision(drill) ? "□ × 7 ＝ 56" : "□ ＋ 7 ＝ 15") + "）。" + FactText(example) +
            "は7の行、8の列。行は" + (IsDivision(drill) ? "わる数" : "ひく数") +
            "、列は答え</small>";
  }
  html += "</caption>" + GridRows(drill, op, [&](int row, int column) -> std::string {
            const FactCell& cell = CellAt(stats, kind, row, column);
            if (!cell.asked) return "<td class=\"never\" title=\"ドリルに出ない\"></td>";
            const drill::FactFigures& f = cell.figures;
            std::string title = FactText(cell.fact) + "：" + StateName(f.state);
            std::string text;
            if (f.state != FactState::kUnseen) {
              title += "、答えた回数" + std::to_string(f.answers) + "回、その日はじめての答え直近" +
                       std::to_string(f.recentAnswers) + "回の中央値" + SecondsText(f.median) +
                       "秒、まちがえた回" + std::to_string(f.recentMissed) + "回" +
                       (f.Few() ? "（答えが少なく、まだ目安）" : "");
              if (f.dueForReview) {
                title += "、復習どき（最後に出てから" + std::to_string(f.evidenceAgeDays) + "日）";
              }
              text = "<b>" + std::string(StateMark(f.state)) + "</b>" + SecondsText(f.median) +
                     (f.Few() ? "<i>*</i>" : "") + (f.dueForReview ? "<i>↻</i>" : "");
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
  const char* shapes[2][4] = {{"□ × 8 ＝ 56", "7 × □ ＝ 56", "7 × 8 ＝ □6", "7 × 8 ＝ 5□"},
                              {"□ ＋ 8 ＝ 13", "5 ＋ □ ＝ 13", "5 ＋ 8 ＝ □3", "5 ＋ 8 ＝ 1□"}};
  const char* thinks[2][4] = {{"56 ÷ 8", "56 ÷ 7", "7 × 8", "7 × 8"},
                              {"13 − 8", "13 − 5", "いつも1", "5 ＋ 8"}};
  int d = division ? 0 : 1;
  std::string html =
      std::string(
          "<div class=\"slots\"><table class=\"slots\"><caption>□の位置ごと<small>これまで"
          "のすべての答えです（マスの色は直近の答えだけ）") +
      (division ? "" : "。答えの十の位はいつも1なので、マスの色には数えません") +
      "</small></caption><thead><tr><th "
      "scope=\"col\">□の位置</th><th scope=\"col\">考えること</th><th "
      "scope=\"col\">答えた回数</th><th scope=\"col\">中央値</th><th "
      "scope=\"col\">まちがえた割合</th></tr></thead><tbody>";
  for (int i = 0; i < 4; i++) {
    const SlotFigures& s = stats.slots[i];
    html += "<tr><th scope=\"row\">" + std::string(shapes[d][i]) + "</th><td>" + thinks[d][i] +
            "</td><td class=\"num\">" + std::to_string(s.answers) + "回</td><td class=\"num\">" +
            (s.answers ? SecondsText(s.median) + "秒" : "—") + "</td><td class=\"num\">" +
            (s.answers ? Percent(s.missRate) : "—") + "</td></tr>";
  }
  return html + "</tbody></table></div>";
}

std::string PracticeTable(const DrillStats& stats) {
  std::string html = "<div class=\"practice\">";
  if (stats.practice.empty()) {
    return html + "<h4>次に練習したい問題</h4><p>いまのところありません。</p></div>";
  }
  html +=
      "<table class=\"practice\"><caption>次に練習したい問題</caption><thead><tr><th "
      "scope=\"col\">問題</th><th scope=\"col\">ようす</th><th scope=\"col\">中央値</th><th "
      "scope=\"col\">まちがい</th><th scope=\"col\">答えた回数</th></tr></thead><tbody>";
  for (const FactCell& cell : stats.practice) {
    const drill::FactFigures& f = cell.figures;
    html += "<tr><th scope=\"row\">" + FactText(cell.fact) + "</th><td>" + Swatch(f.state) +
            StateText(f) + "</td><td class=\"num\">" + SecondsText(f.median) +
            "秒</td><td class=\"num\">" + std::to_string(f.recentMissed) + "/" +
            std::to_string(f.recentAnswers) + "回</td><td class=\"num\">" +
            std::to_string(f.answers) + "回</td></tr>";
  }
  return html + "</tbody></table></div>";
}

namespace {

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
      tally += "（↻" + std::to_string(stats.dueForReview) + "）";
    tally += " ";
  }
  tally += "まだ" + std::to_string(stats.stateCounts[static_cast<int>(FactState::kUnseen)]);
  return bar + "</span>" + tally + "</span>";
}

std::string ChangeText(const Change& change) {
  if (!change.known) return "—";
  int64_t diff = change.last.Tenths() - change.first.Tenths();
  std::string title = " title=\"最初の" + std::to_string(kBaselineRuns) + "回 " +
                      SecondsText(change.first) + "秒、最後の" + std::to_string(kBaselineRuns) +
                      "回 " + SecondsText(change.last) + "秒\"";
  if (diff == 0) return "<span" + title + ">±0.0秒</span>";
  std::string text = std::string(diff < 0 ? "−" : "+") + TenthsText(diff < 0 ? -diff : diff) + "秒";
  if (change.clear == 0) return "<span" + title + ">" + text + "</span>";
  return "<span class=\"" + std::string(change.clear < 0 ? "better" : "worse") + "\"" + title +
         ">" + text + (change.clear < 0 ? "（速くなった）" : "（遅くなった）") + "</span>";
}

}  // namespace

std::string Overview(const std::vector<LearnerReport>& learners) {
  std::string html =
      "<table class=\"overview\"><caption>一人ひとりのようす<small>ドリルごとに1行。バーは九九の"
      "問題の数を、まちがいあり・時間がかかる・もう少し・すらすらの順に並べたものです</small>"
      "</caption><thead><tr><th scope=\"col\">名前</th><th scope=\"col\">ドリル</th><th "
      "scope=\"col\">回数</th><th scope=\"col\">問題数</th><th scope=\"col\">最新の回</th><th "
      "scope=\"col\">1問あたり</th><th scope=\"col\">最初の3回との差</th><th "
      "scope=\"col\">問題ごとのようす</th></tr></thead><tbody>";
  for (size_t i = 0; i < learners.size(); i++) {
    const LearnerReport& learner = learners[i];
    for (const DrillStats& d : learner.drills) {
      html += "<tr class=\"learner\"><td class=\"name\"><a href=\"#" + DrillId(i, d.kind) + "\">" +
              EscapeHtml(learner.name) + "</a></td><td class=\"drill-name\">" +
              ShortDrillName(d.kind) + "</td><td class=\"num\" data-label=\"回数\">" +
              std::to_string(d.runs.size()) + "回</td><td class=\"num\" data-label=\"問題数\">" +
              std::to_string(d.answers) + "問</td>";
      if (d.runs.empty()) {
        html += "<td></td><td></td><td></td><td></td></tr>";
        continue;
      }
      const RunPoint& run = d.runs.back();
      html += "<td data-label=\"最新の回\">" + DateText(run.start) +
              "</td><td class=\"num\" data-label=\"1問あたり\">" + SecondsText(run.median) +
              "秒</td><td class=\"num\" data-label=\"最初の3回との差\">" + ChangeText(d.change) +
              "</td><td class=\"states\" data-label=\"問題ごと\">" + StateBar(d) + "</td></tr>";
    }
  }
  return html + "</tbody></table>";
}

std::string ClassMap(const std::vector<LearnerReport>& learners) {
  std::string html = "<section id=\"class\"><h2>クラスの苦手</h2>";
  bool any = false;
  for (drill::DrillKind drill : drill::kDrillKinds) {
    // For each fact, the learners who have it slow or missed, of those who practise the drill.
    std::array<int, drill::kFactPlaces> weak{};
    int practising = 0;
    for (const LearnerReport& learner : learners) {
      for (const DrillStats& d : learner.drills) {
        if (d.kind != drill || d.runs.empty()) continue;
        practising++;
        for (int place = 0; place < drill::kFactPlaces; place++) {
          const FactCell& cell = place < 81 ? d.forward[place] : d.inverse[place - 81];
          FactState s = cell.figures.state;
          weak[place] += cell.asked && (s == FactState::kSlow || s == FactState::kMissed);
        }
      }
    }
    if (!practising) continue;
    any = true;
    html += "<div class=\"drill-map\"><h3>" + DrillName(drill) + "：" + std::to_string(practising) +
            "人</h3><p>それぞれの問題で、「時間がかかる」か「まちがいあり」の人の数です。</p>"
            "<div class=\"grids\">";
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
                     // Four shades by the share of the learners.
                     int shade = count == 0 ? 0 : 1 + std::min(3, (4 * count - 1) / practising);
                     return "<td" +
                            (shade ? " class=\"c" + std::to_string(shade) + "\"" : std::string()) +
                            " title=\"" + FactText(fact) + "：" + std::to_string(count) + "人\">" +
                            (count ? std::to_string(count) : "") + "</td>";
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
    html +=
        "<div><table class=\"classlist\"><caption>苦手な人が多い問題</caption><thead><tr><th "
        "scope=\"col\">問題</th><th scope=\"col\">人数</th></tr></thead><tbody>";
    for (int place : places) {
      html += "<tr><th scope=\"row\">" + FactText(drill::FactAtPlace(drill, place)) +
              "</th><td class=\"num\">" + std::to_string(weak[place]) + "人</td></tr>";
    }
    if (places.empty()) html += "<tr><td colspan=\"2\">ありません</td></tr>";
    html += "</tbody></table></div></div></div>";
  }
  if (!any) html += "<p>まだ記録がありません。</p>";
  return html + "</section>";
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
                       const Collection& collection, const DateRange& range) {
  const std::string days = RangeText(range);
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
      "<title>練習の記録 " +
      EscapeHtml(folderName) + (days.empty() ? "" : " " + days) + "</title><style>" + kStyle +
      "</style></head><body>";
  html += "<h1>練習の記録：" + EscapeHtml(folderName) +
          (days.empty() ? "" : "<small class=\"range\">" + days + "の記録</small>") + "</h1><p>" +
          std::to_string(learners.size()) + "人、" + std::to_string(collection.filesRead) +
          "回分の記録";
  if (!collection.notRead.empty()) {
    html += "（<a href=\"#files\">読めなかったファイル" +
            std::to_string(collection.notRead.size()) + "件</a>）";
  }
  html += "</p>";
  if (collection.outsideRange) {
    html += "<p class=\"outside\">この期間の外の記録" + std::to_string(collection.outsideRange) +
            "回は入れていません。</p>";
  }
  if (learners.empty()) {
    html += collection.outsideRange
                ? "<p class=\"empty\">この期間に始めた練習の記録はありません。</p>"
                : "<p class=\"empty\">このフォルダーとその下のフォルダーに、読める練習記録（*.log）"
                  "はありません。</p>";
  }
  html += "<section id=\"overview\"><h2>一覧</h2>" + Overview(learners) + "</section>";
  html += ClassMap(learners) + Legend();
  for (size_t i = 0; i < learners.size(); i++) {
    const LearnerReport& learner = learners[i];
    // In print the head repeats on every page the learner's part spans.
    html +=
        "<section class=\"learner\"><table class=\"sheet\" "
        "role=\"presentation\"><thead><tr><td><h2>" +
        EscapeHtml(learner.name) + "</h2>" + KeyLine() + "</td></tr></thead><tbody><tr><td>";
    for (const DrillStats& d : learner.drills) {
      html += "<div class=\"drill\" id=\"" + DrillId(i, d.kind) +
              "\"><div class=\"drill-head\"><h3>" + DrillName(d.kind) + "：" +
              std::to_string(d.runs.size()) + "回、" + std::to_string(d.answers) +
              "問</h3><p class=\"counts\">" + StateBar(d) + "</p>" + ProgressChart(d) + "</div>" +
              FactGrid(d, FactKind::kForward) + FactGrid(d, FactKind::kInverse) + SlotTable(d) +
              PracticeTable(d) + "</div>";
    }
    html += "</td></tr></tbody></table></section>";
  }
  html += FileNotes(collection);
  return html + "</body></html>\n";
}

}  // namespace report
