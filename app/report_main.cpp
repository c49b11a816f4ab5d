// Entry point of the progress report program: Quarn_Report.exe and quarn-report.
#include <vector>

#include "platform/shell.h"
#include "report/report.h"

namespace {

int RunReportProgram(const std::vector<platform::Path>& args) {
  using platform::MessageKind;
  report::Options options = report::ParseArguments(args);
  if (options.help) {
    platform::ShowMessage(report::kUsage, MessageKind::kNotice);
    return report::kExitSuccess;
  }
  if (!options.error.empty()) {
    platform::ShowMessage(options.error + "\n" + report::kUsage, MessageKind::kError);
    return report::kExitFailure;
  }
  report::Outcome outcome = report::WriteReport(options);
  if (outcome.exitCode != report::kExitSuccess) {
    platform::ShowMessage(outcome.message, MessageKind::kError);
    return outcome.exitCode;
  }
  platform::ShowMessage(outcome.message, MessageKind::kNote);
  if (options.open && !platform::OpenInBrowser(outcome.written)) {
    platform::ShowMessage("ブラウザーで開けませんでした。" + outcome.message, MessageKind::kError);
    return report::kExitNotOpened;
  }
  return report::kExitSuccess;
}

}  // namespace

// The arguments in the system's own characters: UTF-16 on Windows, bytes elsewhere.
#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
  std::vector<platform::Path> args;
  for (int i = 1; i < argc; i++)
    args.emplace_back(argv[i]);
  return RunReportProgram(args);
}
