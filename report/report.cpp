// Command line and the folder-to-file run of the report program.
#include "report/report.h"

#include <algorithm>

namespace report {
namespace {

std::string WriteErrorText(const platform::WriteOutcome& outcome) {
  std::string text;
  switch (outcome.error) {
    case platform::WriteError::kNone:
      break;
    case platform::WriteError::kNotAFile:
      text =
          "その名前のものはふつうのファイルではない（リンク、フォルダーなど）ので、書き換えません";
      break;
    case platform::WriteError::kCannotCreate:
      text = "そのフォルダーに新しいファイルを作れません";
      break;
    case platform::WriteError::kCannotWrite:
      text = "書いている途中で失敗しました（ディスクがいっぱいなど）。前のファイルはそのままです";
      break;
    case platform::WriteError::kCannotReplace:
      text = "前のファイルと入れ替えられません（開かれている、読み取り専用など）";
      break;
  }
  if (!outcome.systemText.empty()) text += "：" + outcome.systemText;
  return text;
}

Outcome Failure(std::string message) {
  return {kExitFailure, std::move(message), {}};
}

}  // namespace

const char kUsage[] =
    "使い方: Quarn_Report [-o FILE] [--no-open] [--] [FOLDER]\n"
    "  FOLDER の練習記録（*.log、サブフォルダーは 1 人ずつ）から report.html を作ります。\n"
    "  FOLDER        記録のフォルダー（省略すると今のフォルダー）\n"
    "  -o FILE       書き出すファイル（省略すると FOLDER/report.html）\n"
    "  --no-open     書いたあとブラウザーで開かない\n"
    "  --            これより後はフォルダー名（- で始まる名前のとき）\n"
    "  --help        この説明\n";

Options ParseArguments(const std::vector<platform::Path>& args) {
  Options options;
  bool haveFolder = false;
  bool haveOutput = false;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); i++) {
    std::string arg = platform::DisplayUtf8(args[i]);
    const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (option && arg == "--") {
      optionsEnded = true;
    } else if (option && (arg == "--help" || arg == "-h")) {
      options.help = true;
    } else if (!optionsEnded && arg == "/?") {
      options.help = true;
    } else if (option && arg == "--no-open") {
      options.open = false;
    } else if (option && (arg == "-o" || arg == "--output")) {
      if (i + 1 == args.size()) {
        options.error = arg + " の後にファイル名がありません";
        return options;
      }
      if (haveOutput) {
        options.error = "書き出すファイル（-o）は 1 つだけ指定できます";
        return options;
      }
      options.output = args[++i];
      haveOutput = true;
      if (options.output.Empty()) {
        options.error = arg + " のファイル名が空です";
        return options;
      }
    } else if (option) {
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
  if (!haveOutput) {
    options.output = platform::Join(options.folder, platform::PathFromUtf8(kReportFileName));
  }
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
  const std::string folderText = platform::DisplayUtf8(options.folder);
  const std::string outputText = platform::DisplayUtf8(options.output);
  if (!platform::IsFolder(options.folder)) return Failure("フォルダーがありません: " + folderText);
  if (HasLogExtension(outputText)) {
    return Failure("練習記録（*.log）には書き出しません: " + outputText);
  }
  Collection collection = CollectLogs(options.folder);
  if (!collection.folderRead) return Failure("フォルダーを読めません: " + folderText);
  // Another name of a log just read (a hard link, or on Windows a short name or other case).
  platform::FileIdentity output;
  if (platform::IdentityOf(options.output, output) &&
      std::find(collection.opened.begin(), collection.opened.end(), output) !=
          collection.opened.end()) {
    return Failure("読んだ練習記録には書き出しません: " + outputText);
  }

  std::vector<LearnerReport> learners = Analyse(collection);
  std::string html =
      ReportPage(platform::DisplayUtf8(platform::FolderName(options.folder)), learners, collection);
  platform::WriteOutcome written = platform::WriteFileReplacing(options.output, html);
  if (written.error != platform::WriteError::kNone) {
    return Failure("書き出せません: " + outputText + "\n" + WriteErrorText(written));
  }
  Outcome outcome;
  outcome.written = options.output;
  outcome.message = outputText + " を書きました（" + std::to_string(learners.size()) + " 人、" +
                    std::to_string(collection.filesRead) + " 件の記録、読めなかったファイル " +
                    std::to_string(collection.notRead.size()) + " 件）";
  return outcome;
}

}  // namespace report
