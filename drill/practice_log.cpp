// The practice log: a header line and one line per solved problem, CP932 with CR LF, in a
// file named after the start of the run.
#include "drill/practice_log.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "drill/drill_state.h"
#include "drill/texts.h"
#include "drill/time_text.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace drill {

namespace {

constexpr size_t kWriteBufferSize = 128;
constexpr char kLineEnd[] = "\r\n";

// Collects bytes and hands them to the file 128 at a time. After the first failed write it
// takes nothing more, so the file ends where the failure happened.
class WriteBuffer {
 public:
  explicit WriteBuffer(platform::File& file) : file(file) {}

  void Append(std::string_view text) {
    while (!text.empty() && !failed) {
      size_t n = std::min(text.size(), kWriteBufferSize - used);
      std::copy_n(text.data(), n, bytes.begin() + static_cast<std::ptrdiff_t>(used));
      used += n;
      text.remove_prefix(n);
      if (used == kWriteBufferSize) Flush();
    }
  }

  // Hands over what is left and closes the file; false if either failed.
  bool Close() {
    if (used > 0) Flush();
    bool closed = file.Close();
    return !failed && closed;
  }

  bool Failed() const { return failed; }

 private:
  void Flush() {
    if (!failed && !file.Write(std::string_view(bytes.data(), used))) failed = true;
    used = 0;
  }

  platform::File& file;
  std::array<char, kWriteBufferSize> bytes{};
  size_t used = 0;
  bool failed = false;
};

// The problem as shown, "?" in the hidden slot, then "," and the hidden digit.
std::string ProblemAndAnswer(const TLogRec& r, const DrillVariant& variant) {
  auto slot = [&r](int i) {
    return r.HiddenSlotText == std::to_string(i) ? std::string("?") : r.SlotText[i];
  };
  std::string text = slot(1) + variant.operatorGlyph + slot(2) + texts::kEquals + slot(3) + slot(4);
  text += ',';
  const std::string& h = r.HiddenSlotText;
  if (h.size() == 1 && h[0] >= '1' && h[0] <= '4') text += r.SlotText[h[0] - '0'];
  return text;
}

// Steps 4 to 9: false as soon as a step fails.
bool WriteLogFile(const DrillVariant& variant) {
  platform::File file = platform::File::Create(platform::Path::FromAscii(Drill.LogFileName),
                                               platform::FileMode::kLog);
  if (!file.IsOpen()) return false;
  WriteBuffer out(file);

  DatePattern = "yyyy/mm/dd";
  TimePattern = "hh:nn:ss";
  out.Append(std::string(variant.title) + ',' + DateText(Drill.StartTime) + ',' +
             TimeText(Drill.StartTime) + ',' + std::to_string(Drill.RightCount) + kLineEnd);
  if (out.Failed()) return false;

  TimePattern = "nn:ss.zzz";
  const int count = std::min(Drill.RightCount, kProblemsPerRun);
  for (int k = 1; k <= count; ++k) {
    const TLogRec& r = Drill.ProblemTable[k];
    out.Append(ProblemAndAnswer(r, variant) + ',' + TimeText(r.Time) + ',' +
               std::to_string(r.Misses) + kLineEnd);
    if (out.Failed()) return false;
  }
  return out.Close();
}

}  // namespace

bool WritePracticeLogQuietly(const DrillVariant& variant) {
  DatePattern = "yyyymmdd";
  TimePattern = "hhnnss";
  Drill.LogFileName = DateText(Drill.StartTime) + TimeText(Drill.StartTime) + ".log";
  return WriteLogFile(variant);
}

void ShowLogFailure() {
  platform::TheApp().MessageBox(texts::kLogFailed, texts::kWarning,
                                platform::MessageKind::kWarning);
}

void WritePracticeLog(const DrillVariant& variant) {
  if (!WritePracticeLogQuietly(variant)) ShowLogFailure();
}

}  // namespace drill
