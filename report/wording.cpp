// How the report words things: names, facts, numbers, dates and ranges.
#include "report/wording.h"

#include <cstdio>

#include "platform/calendar.h"
#include "report/words.h"

namespace report {
namespace {

using drill::Fact;
using drill::FactKind;

struct StateLook {
  const char* cssClass;
  const char* name;
  const char* mark;
};

StateLook LookOf(FactState state) {
  switch (state) {
    case FactState::kFluent:
      return {"fluent", words::kFluent, words::kFluentMark};
    case FactState::kGettingThere:
      return {"getting", words::kGettingThere, words::kGettingThereMark};
    case FactState::kSlow:
      return {"slow", words::kSlow, words::kSlowMark};
    case FactState::kMissed:
      return {"missed", words::kMissed, words::kMissedMark};
    case FactState::kUnseen:
      break;
  }
  return {"unseen", words::kUnseen, ""};
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

std::string ColumnHeads(std::initializer_list<const char*> names) {
  std::string html = "<thead><tr>";
  for (const char* name : names)
    html += std::string("<th scope=\"col\">") + name + "</th>";
  return html + "</tr></thead>";
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

std::string SecondsText(uint32_t ms) {
  return SecondsText(ExactMedian{2 * uint64_t{ms}});
}

std::string SecondsText(ExactMedian median) {
  return TenthsText(median.Tenths());
}

std::string Grouped(int64_t count) {
  std::string digits = std::to_string(count < 0 ? -count : count);
  for (size_t at = digits.size(); at > 3; at -= 3)
    digits.insert(at - 3, ",");
  return (count < 0 ? "-" : "") + digits;
}

std::string DateText(const platform::CivilDate& date) {
  const int64_t day = platform::DaysFromCivil(date.year, date.month, date.day);
  return std::to_string(date.month) + words::kMonth + std::to_string(date.day) + words::kDay + "(" +
         words::kWeekdays[((day + 4) % 7 + 7) % 7] + ")";  // 1970-01-01 was a Thursday
}

std::string DayText(int64_t dayNumber) {
  return DateText(platform::CivilFromDays(dayNumber));
}

std::string ClockText(const platform::DateTime& t) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", t.hour % 100, t.minute % 100);
  return buffer;
}

std::string FactText(const Fact& fact) {
  return std::to_string(fact.first) + " " + Operator(fact.drill, fact.kind) + " " +
         std::to_string(fact.second) + words::kEqualsSign + std::to_string(fact.Answer());
}

const char* ShortDrillName(drill::DrillKind drill) {
  return IsDivision(drill) ? words::kDivision : words::kSubtraction;
}

std::string RangeText(const DateRange& range) {
  auto dayText = [](const platform::CivilDate& d) {
    return std::to_string(d.year) + words::kYear + std::to_string(d.month) + words::kMonth +
           std::to_string(d.day) + words::kDay;
  };
  if (range.from && range.to) return dayText(*range.from) + words::kDaysTo + dayText(*range.to);
  if (range.from) return dayText(*range.from) + words::kFromDay;
  if (range.to) return dayText(*range.to) + words::kUntilDay;
  return "";
}

std::string DrillName(drill::DrillKind drill) {
  return std::string(ShortDrillName(drill)) + words::kOpen + std::string(drill::Title(drill)) +
         words::kClose;
}

const char* GridName(drill::DrillKind drill, FactKind kind) {
  if (kind == FactKind::kForward)
    return IsDivision(drill) ? words::kMultiplication : words::kAddition;
  return IsDivision(drill) ? words::kDivision : words::kSubtraction;
}

const char* Operator(drill::DrillKind drill, FactKind kind) {
  if (kind == FactKind::kForward) return IsDivision(drill) ? words::kTimesSign : words::kPlusSign;
  return IsDivision(drill) ? words::kDivideSign : words::kMinusSign;
}

const char* StateClass(FactState state) {
  return LookOf(state).cssClass;
}
const char* StateName(FactState state) {
  return LookOf(state).name;
}
std::string StateText(const drill::FactFigures& figures) {
  return std::string(StateName(figures.state)) + (figures.dueForReview ? words::kStateDue : "");
}

const char* StateMark(FactState state) {
  return LookOf(state).mark;
}

}  // namespace report
