// Command line and the folder-to-file run of the report program.
#include "report/report.h"

#include "report/file_io.h"

namespace report {

const char kUsage[] =
    "使い方: Quarn_Report [FOLDER] [-o FILE] [--no-open]\n"
    "  FOLDER の練習記録（*.log、サブフォルダーは 1 人ずつ）から report.html を作ります。\n"
    "  FOLDER        記録のフォルダー（省略すると今のフォルダー）\n"
    "  -o FILE       書き出すファイル（省略すると FOLDER/report.html）\n"
    "  --no-open     書いたあとブラウザーで開かない\n"
    "  --help        この説明\n";

Options ParseArguments(const std::vector<Path>& args) {
  Options options;
  bool haveFolder = false;
  for (size_t i = 0; i < args.size(); i++) {
    std::string arg = PathText(args[i]);
    if (arg == "--help" || arg == "-h" || arg == "/?") {
      options.help = true;
    } else if (arg == "--no-open") {
      options.open = false;
    } else if (arg == "-o" || arg == "--output") {
      if (i + 1 == args.size()) {
        options.error = arg + " の後にファイル名がありません";
        return options;
      }
      options.output = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      options.error = "知らないオプションです: " + arg;
      return options;
    } else if (!haveFolder) {
      options.folder = args[i];
      haveFolder = true;
    } else {
      options.error = "フォルダーは 1 つだけ指定できます: " + arg;
      return options;
    }
  }
  if (options.output.empty()) options.output = options.folder / PathFromUtf8(kReportFileName);
  return options;
}

std::vector<LearnerReport> Analyse(const Collection& collection) {
  std::vector<LearnerReport> learners;
  for (const Learner& learner : collection.learners) {
    LearnerReport lr;
    lr.name = learner.name;
    for (drill::DrillKind kind : drill::kDrillKinds) {
      std::vector<const drill::Run*> runs;
      for (const drill::Run& run : learner.runs) {
        if (run.kind == kind) runs.push_back(&run);
      }
      if (!runs.empty()) lr.drills.push_back(Summarise(kind, std::move(runs)));
    }
    learners.push_back(std::move(lr));
  }
  return learners;
}

Outcome WriteReport(const Options& options) {
  Outcome outcome;
  if (!IsFolder(options.folder)) {
    outcome.exitCode = kExitFailure;
    outcome.message = "フォルダーがありません: " + PathText(options.folder);
    return outcome;
  }
  Collection collection = CollectLogs(options.folder);
  std::vector<LearnerReport> learners = Analyse(collection);
  std::string html = ReportPage(FolderName(options.folder), learners, collection);

  bool written = false;
  if (UniqueFile out = OpenFile(options.output, true)) {
    written = std::fwrite(html.data(), 1, html.size(), out.get()) == html.size();
    // The close writes what is still buffered, and may fail doing so.
    written = std::fclose(out.release()) == 0 && written;
  }
  if (!written || IsFolder(options.output)) {
    outcome.exitCode = kExitFailure;
    outcome.message = "書き出せません: " + PathText(options.output);
    return outcome;
  }
  outcome.written = options.output;
  outcome.message = PathText(options.output) + " を書きました（" + std::to_string(learners.size()) +
                    " 人、" + std::to_string(collection.filesRead) +
                    " 件の記録、読めなかったファイル " + std::to_string(collection.notRead.size()) +
                    " 件）";
  return outcome;
}

}  // namespace report
