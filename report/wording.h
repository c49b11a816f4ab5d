// How the report writes a fact as the child reads it, seconds, dates, the days it covers and the
// names of drills, grids and fact states, from the words in report/words.h; and text made safe
// for HTML. The page and the CSV both word things through here.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "report/date_range.h"
#include "report/statistics.h"

namespace report {

inline bool IsDivision(drill::DrillKind drill) {
  return drill == drill::DrillKind::kDivision;
}

std::string EscapeHtml(std::string_view text);
// A table's head row: <thead><tr><th scope="col">name</th>…</tr></thead>.
std::string ColumnHeads(std::initializer_list<const char*> names);

// A number with a fixed count of decimals, a point whatever the locale.
std::string Fixed(double value, int decimals);
std::string Percent(double share);       // 0.125 -> "13%"
std::string TenthsText(int64_t tenths);  // 25 -> "2.5"
// Milliseconds as seconds with one decimal, halves up: 2450 -> "2.5".
std::string SecondsText(uint32_t ms);
// A median as the page shows it, the value its colour is judged on.
std::string SecondsText(ExactMedian median);
// A count with thousands separators: 1600 -> "1,600".
std::string Grouped(int64_t count);
std::string DateText(const platform::CivilDate& date);  // 3月5日(火)
std::string DayText(int64_t dayNumber);                 // the same from DayNumber()
std::string ClockText(const platform::DateTime& t);     // 09:07
// The days the report covers: 2024年3月1日〜2024年3月31日, 2024年3月1日から; empty for all days.
std::string RangeText(const DateRange& range);

// A fact as the child reads it: 7 × 8 ＝ 56, 56 ÷ 7 ＝ 8, 8 ＋ 5 ＝ 13, 13 − 8 ＝ 5.
std::string FactText(const drill::Fact& fact);
// The drill as the page names it in short: わり算, ひき算.
const char* ShortDrillName(drill::DrillKind drill);
// The drill with its title: わり算（Divide Quarn）.
std::string DrillName(drill::DrillKind drill);
// The grid of one kind of fact: かけ算 and わり算 in the division drill, たし算 and ひき算 in
// the subtraction drill.
const char* GridName(drill::DrillKind drill, drill::FactKind kind);
const char* Operator(drill::DrillKind drill, drill::FactKind kind);

// How the page shows each state: its CSS class, its name, and the mark a Japanese classroom
// reads, so that the grid needs no colour vision and survives black-and-white print.
const char* StateClass(FactState state);
const char* StateName(FactState state);
const char* StateMark(FactState state);
// A fact's state in words, with （復習どき） when its evidence is due for review: the page's
// word and the table's.
std::string StateText(const drill::FactFigures& figures);

}  // namespace report
