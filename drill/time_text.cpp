// The pattern-driven formatter of TimeValues and the regional separators it prints.
#include "drill/time_text.h"

#include <cfloat>
#include <cmath>

#include "platform/ascii.h"
#include "platform/calendar.h"
#include "platform/cp932.h"
#include "platform/platform.h"

static_assert(LDBL_MANT_DIG == 64, "the millisecond product needs the x87 extended format");

namespace drill {

namespace {

constexpr int64_t kMsPerDayInt = 86'400'000;
constexpr int64_t kMsPerMinute = 60'000;
constexpr size_t kOutputLimit = 256;
constexpr long double kMsLimit = 9e18L;  // keeps the product inside int64_t

// CP932 trail bytes are 0x40-0x7E and 0x80-0xFC: never a double quote, "/" or ":", but
// often an ASCII letter (the second byte of "Ｎ" is "m").
constexpr bool IsCp932TrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Bytes of the character at i: a lead byte with a valid trail byte makes one double-byte
// character; a lead byte without one (cut off, or before a quote) stands alone.
size_t CharLength(std::string_view s, size_t i) {
  if (platform::IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
      IsCp932TrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

// Index of the closing quote of the section opened at `open`, or s.size() if none.
size_t ClosingQuote(std::string_view s, size_t open) {
  size_t i = open + 1;
  while (i < s.size() && s[i] != '"')
    i += CharLength(s, i);
  return i < s.size() ? i : s.size();
}

bool HasHourCode(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '"') {
      i = ClosingQuote(pattern, i) + 1;
    } else if (platform::AsciiLower(pattern[i]) == 'h') {
      return true;
    } else {
      i += CharLength(pattern, i);
    }
  }
  return false;
}

// The formatter's 256-byte buffer. A double-byte character that does not fit whole is not
// split; once anything is cut off, nothing more is taken.
class Output {
 public:
  void Put(std::string_view character) {
    if (full || text.size() + character.size() > kOutputLimit) {
      full = true;
      return;
    }
    text.append(character);
  }
  void PutByte(char c) { Put(std::string_view(&c, 1)); }
  void PutText(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
      size_t n = CharLength(s, i);
      Put(s.substr(i, n));
      i += n;
    }
  }
  // At least minDigits digits, leading zeros filling up; a longer number is printed whole.
  void PutNumber(int64_t value, size_t minDigits) {
    bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), '0');
    if (negative) PutByte('-');
    PutText(digits);
  }
  std::string Take() { return std::move(text); }

 private:
  std::string text;
  bool full = false;
};

struct TimeFields {
  int64_t totalMinutes = 0;  // every whole minute of |ms|, days and hours included
  platform::CivilDate date{};
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

TimeFields Decompose(TimeValue t) {
  int64_t ms = WholeMilliseconds(t);
  int64_t magnitude = ms < 0 ? -ms : ms;
  int64_t day = magnitude / kMsPerDayInt;
  int64_t msOfDay = magnitude % kMsPerDayInt;
  TimeFields f;
  f.totalMinutes = magnitude / kMsPerMinute;
  f.date = DateOfDayNumber(ms < 0 ? -day : day);
  int64_t minutesOfDay = msOfDay / kMsPerMinute;
  f.hour = static_cast<int>(minutesOfDay / 60);
  f.minute = static_cast<int>(minutesOfDay % 60);
  f.second = static_cast<int>(msOfDay % kMsPerMinute / 1000);
  f.millisecond = static_cast<int>(msOfDay % 1000);
  return f;
}

// What "/" or ":" prints for a regional setting. An empty setting prints nothing. A setting
// the system cannot report takes the default, and so does one that would break the practice
// log: a comma or a double quote would split or quote its fields, a control character would
// break its lines, and a lone CP932 lead byte would swallow the digit after it.
char SeparatorFromSetting(std::optional<char> setting, char fallback) {
  if (!setting) return fallback;
  unsigned char b = static_cast<unsigned char>(*setting);
  if (b == 0) return 0;
  if (b == ',' || b == '"' || b < 0x20 || b == 0x7F || platform::IsCp932LeadByte(b))
    return fallback;
  return *setting;
}

}  // namespace

TimeTextSeparators TimeTextSeparators::FromSettings(std::optional<char> date,
                                                    std::optional<char> time) {
  return {SeparatorFromSetting(date, '/'), SeparatorFromSetting(time, ':')};
}

TimeTextSeparators ReadTimeTextSeparators() {
  return TimeTextSeparators::FromSettings(platform::RegionalDateSeparator(),
                                          platform::RegionalTimeSeparator());
}

platform::CivilDate DateOfDayNumber(int64_t dayNumber) {
  return platform::CivilFromDays(dayNumber + platform::DaysFromCivil(1899, 12, 30));
}

int64_t WholeMilliseconds(TimeValue t) {
  if (std::isnan(t)) return 0;
  long double x = t;
  // The x87 unit's precision control decides how many mantissa bits the product keeps.
  // Windows x64 starts threads at 53 bits (control word 0x27F); the MinGW start-up code
  // resets it to 64, but a DLL loaded into the process may change it again. So the product
  // and its rounding run at 64 bits, round to nearest, and the caller's setting comes back
  // afterwards. The "+m" operands keep the arithmetic between the two loads.
  uint16_t saved = 0;
  __asm__ volatile("fnstcw %0" : "=m"(saved));
  uint16_t extended = static_cast<uint16_t>((saved & ~0x0F00u) | 0x0300u);
  __asm__ volatile("fldcw %1" : "+m"(x) : "m"(extended));
  x *= 86'400'000.0L;
  if (x > kMsLimit) x = kMsLimit;
  if (x < -kMsLimit) x = -kMsLimit;
  long double whole = std::floor(x);
  long double rest = x - whole;
  if (rest > 0.5L || (rest == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
  __asm__ volatile("fldcw %1" : "+m"(whole) : "m"(saved));
  return static_cast<int64_t>(whole);
}

std::string FormatTimeValue(std::string_view pattern, TimeValue t,
                            const TimeTextSeparators& separators) {
  const TimeFields f = Decompose(t);
  // Durations are formatted without an hour code; their minutes then carry the hours.
  const int64_t minute = HasHourCode(pattern) ? f.minute : f.totalMinutes;
  Output out;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '"') {
      size_t close = ClosingQuote(pattern, i);
      out.PutText(pattern.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    const size_t charLength = CharLength(pattern, i);
    if (charLength == 2) {
      out.Put(pattern.substr(i, 2));
      i += 2;
      continue;
    }
    const char code = platform::AsciiLower(c);
    size_t run = 1;
    while (i + run < pattern.size() && platform::AsciiLower(pattern[i + run]) == code)
      ++run;
    switch (code) {
      case 'y':
        out.PutNumber(f.date.year, run >= 3 ? size_t{4} : run);
        break;
      case 'm':
        out.PutNumber(f.date.month, run);
        break;
      case 'd':
        out.PutNumber(f.date.day, run);
        break;
      case 'h':
        out.PutNumber(f.hour, run);
        break;
      case 'n':
        out.PutNumber(minute, run);
        break;
      case 's':
        out.PutNumber(f.second, run);
        break;
      case 'z':
        out.PutNumber(f.millisecond, run);
        break;
      default:
        run = 1;
        if (c == '/') {
          if (separators.date != 0) out.PutByte(separators.date);
        } else if (c == ':') {
          if (separators.time != 0) out.PutByte(separators.time);
        } else {
          out.PutByte(c);
        }
        break;
    }
    i += run;
  }
  return out.Take();
}

std::string DateTimeText(std::string_view datePattern, std::string_view timePattern, TimeValue t,
                         const TimeTextSeparators& separators) {
  std::string text = FormatTimeValue(datePattern, t, separators);
  const TimeFields f = Decompose(t);
  if (f.hour != 0 || f.minute != 0 || f.second != 0) {
    text += ' ';
    text += FormatTimeValue(timePattern, t, separators);
  }
  return text;
}

}  // namespace drill
