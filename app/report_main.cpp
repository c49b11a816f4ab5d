// Entry point of the progress report program: Quarn_Report.exe and quarn-report.
#include <vector>

#include "platform/shell.h"
#include "report/report.h"

namespace {

int RunReportProgram(std::vector<report::Path> args) {
  using platform::MessageKind;
  report::Options options = report::ParseArguments(args);
  if (options.help) {
    platform::ShowMessage(report::kUsage, MessageKind::kNotice);
    return 0;
  }
  if (!options.error.empty()) {
    platform::ShowMessage(options.error + "\n" + report::kUsage, MessageKind::kError);
    return report::kExitFailure;
  }
  report::Outcome outcome = report::WriteReport(options);
  if (outcome.exitCode) {
    platform::ShowMessage(outcome.message, MessageKind::kError);
    return outcome.exitCode;
  }
  platform::ShowMessage(outcome.message, MessageKind::kNote);
  if (options.open && !platform::OpenInBrowser(report::PathText(outcome.written))) {
    platform::ShowMessage("ブラウザーで開けませんでした。" + outcome.message, MessageKind::kError);
    return 1;
  }
  return 0;
}

}  // namespace

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
  return RunReportProgram({argv + 1, argv + argc});
}
