// The practice log: a header line and one line per solved problem, CP932 with CR LF, in a
// file named after the start of the run.
#include "drill/practice_log.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "drill/log_format.h"
#include "platform/platform.h"

namespace drill {

namespace {

constexpr size_t kWriteBufferSize = 128;

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

}  // namespace

PracticeLogContents LogContentsOf(const PracticeRun& run) {
  return {run.Kind(), run.StartTime(), run.SolvedProblems(), run.Focus()};
}

std::string PracticeLogName(TimeValue startTime) {
  // Neither pattern has a separator in it: the name is the same in every region.
  const TimeTextSeparators none;
  return FormatTimeValue("yyyymmdd", startTime, none) + FormatTimeValue("hhnnss", startTime, none) +
         std::string(kLogExtension);
}

bool WritePracticeLog(const PracticeLogContents& log, const TimeTextSeparators& separators) {
  platform::File file = platform::File::Create(
      platform::Path::FromAscii(PracticeLogName(log.startTime)), platform::FileMode::kLog);
  if (!file.IsOpen()) return false;
  WriteBuffer out(file);

  out.Append(LogHeaderLine(log.kind, FormatTimeValue("yyyy/mm/dd", log.startTime, separators),
                           FormatTimeValue("hh:nn:ss", log.startTime, separators),
                           static_cast<int>(log.solved.size()), log.focus));
  if (out.Failed()) return false;
  for (const ProblemRecord& record : log.solved) {
    out.Append(LogProblemLine(record.problem,
                              FormatTimeValue("nn:ss.zzz", record.solvingTime, separators),
                              record.misses));
    if (out.Failed()) return false;
  }
  return out.Close();
}

}  // namespace drill
