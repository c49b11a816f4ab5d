// Command line and the folder-to-file run of the report program.
#include "report/report.h"

#include <algorithm>

#include "drill/log_format.h"
#include "report/csv.h"
#include "report/wording.h"
#include "report/words.h"

namespace report {
namespace {

// The options that choose what the report covers and what else it writes: --csv,
// --csv-facts, --title, --from and --to. Takes the option at args[i] and its value; false when
// it is none of them.
bool TakeContentOption(const std::vector<platform::Path>& args, size_t& i, Options& options) {
  const std::string arg = platform::DisplayUtf8(args[i]);
  const bool file = arg == "--csv" || arg == "--csv-facts";
  if (!file && arg != "--title" && arg != "--from" && arg != "--to") return false;
  if (i + 1 == args.size()) {
    options.error = arg + "の後に" +
                    (file               ? "ファイル名"
                     : arg == "--title" ? "題名"
                                        : "日付") +
                    "がありません";
    return true;
  }
  const platform::Path& value = args[++i];
  const std::string text = platform::DisplayUtf8(value);
  if (file) {
    platform::Path& path = arg == "--csv" ? options.csv : options.csvFacts;
    if (!path.Empty()) {
      options.error = arg + "は1つだけ指定できます";
    } else if (value.Empty()) {
      options.error = arg + "のファイル名が空です";
    } else {
      path = value;
    }
    return true;
  }
  if (arg == "--title") {
    if (!options.title.empty()) {
      options.error = "--titleは1つだけ指定できます";
    } else if (text.empty()) {
      options.error = "--titleの題名が空です";
    } else {
      options.title = text;
    }
    return true;
  }
  std::optional<platform::CivilDate>& end = arg == "--from" ? options.range.from : options.range.to;
  platform::CivilDate day;
  if (end) {
    options.error = arg + "は1つだけ指定できます";
  } else if (!ParseDay(text, day)) {
    options.error = arg + "の日付が正しくありません（2024-03-05 か 2024/3/5 の形で）: " + text;
  } else {
    end = day;
  }
  return true;
}

// What the options say together that none says alone.
void CheckContentOptions(Options& options) {
  if (!options.error.empty()) return;
  if (options.range.from && options.range.to && *options.range.to < *options.range.from) {
    options.error = "--fromの日付が--toの日付より後です";
    return;
  }
  // No two outputs may be one file.
  const std::vector<const platform::Path*> outputs = {&options.output, &options.csv,
                                                      &options.csvFacts};
  for (size_t i = 0; i < outputs.size(); i++) {
    for (size_t j = i + 1; j < outputs.size(); j++) {
      if (!outputs[j]->Empty() && *outputs[i] == *outputs[j]) {
        options.error =
            "ページ（-o）、CSV（--csv）、問題ごとの CSV（--csv-facts）に同じファイルは使えません";
        return;
      }
    }
  }
}

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

// Whether the path is another name of a file the run read: a hard link, or on Windows a short
// name or the name in another case.
bool WasRead(const platform::Path& path, const Collection& collection) {
  platform::FileIdentity identity;
  return platform::IdentityOf(path, identity) &&
         std::find(collection.opened.begin(), collection.opened.end(), identity) !=
             collection.opened.end();
}

Outcome Failure(std::string message) {
  return {kExitFailure, std::move(message), {}};
}

}  // namespace

const char kUsage[] =
    "使い方: Quarn_Report [-o FILE] [--csv FILE] [--csv-facts FILE] [--title TEXT]\n"
    "                     [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--no-open] [--] [FOLDER]\n"
    "  FOLDER の練習記録（*.log、サブフォルダーは1人ずつ）から report.html を作ります。\n"
    "  FOLDER        記録のフォルダー（省略すると今のフォルダー）\n"
    "  -o FILE       書き出すファイル（省略すると FOLDER/report.html）\n"
    "  --csv FILE    答えを1問1行の CSV（表計算ソフト用）にも書き出す。ページも書きます\n"
    "  --csv-facts FILE\n"
    "                児童・ドリル・問題ごとに1行、判定と数値の CSV も書き出す\n"
    "  --title TEXT  ページの題名（省略すると「練習の記録：フォルダー名」）\n"
    "  --from YYYY-MM-DD\n"
    "                この日から始めた回だけにする（2024/3/5 の形でも）\n"
    "  --to YYYY-MM-DD\n"
    "                この日までに始めた回だけにする（ページも CSV も同じ期間です）\n"
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
    } else if (option && TakeContentOption(args, i, options)) {
      if (!options.error.empty()) return options;
    } else if (option && (arg == "-o" || arg == "--output")) {
      if (i + 1 == args.size()) {
        options.error = arg + "の後にファイル名がありません";
        return options;
      }
      if (haveOutput) {
        options.error = "書き出すファイル（-o）は1つだけ指定できます";
        return options;
      }
      options.output = args[++i];
      haveOutput = true;
      if (options.output.Empty()) {
        options.error = arg + "のファイル名が空です";
        return options;
      }
    } else if (option) {
      options.error = "知らないオプションです: " + arg;
      return options;
    } else if (!haveFolder) {
      options.folder = args[i];
      haveFolder = true;
    } else {
      options.error = "フォルダーは1つだけ指定できます: " + arg;
      return options;
    }
  }
  if (!haveOutput) {
    options.output = platform::Join(options.folder, platform::PathFromUtf8(kReportFileName));
  }
  CheckContentOptions(options);
  return options;
}

std::vector<LearnerReport> Analyze(const Collection& collection, int64_t judgingDay) {
  std::vector<LearnerReport> learners;
  for (const Learner& learner : collection.learners) {
    LearnerReport lr;
    lr.name = learner.name;
    for (drill::DrillKind kind : drill::kDrillKinds) {
      std::vector<const drill::LoggedRun*> runs;
      for (const drill::LoggedRun& run : learner.runs) {
        if (run.kind == kind) runs.push_back(&run);
      }
      if (!runs.empty()) lr.drills.push_back(Summarize(kind, std::move(runs), judgingDay));
    }
    learners.push_back(std::move(lr));
  }
  return learners;
}

Outcome WriteReport(const Options& options) {
  const std::string folderText = platform::DisplayUtf8(options.folder);
  const std::string outputText = platform::DisplayUtf8(options.output);
  if (!platform::IsFolder(options.folder)) return Failure("フォルダーがありません: " + folderText);
  // The page and the tables keep the same rules: never over a practice log, by its name or as
  // another name of a file just read, and never over each other. The tables come first.
  struct Output {
    const platform::Path* path;
    const char* what;  // how messages name it
  };
  std::vector<Output> outputs;
  if (!options.csv.Empty()) outputs.push_back({&options.csv, "CSVを"});
  if (!options.csvFacts.Empty()) outputs.push_back({&options.csvFacts, "問題ごとのCSVを"});
  outputs.push_back({&options.output, ""});
  for (const Output& out : outputs) {
    if (drill::IsLogFileName(platform::DisplayUtf8(*out.path))) {
      return Failure(out.what + std::string("練習記録（*.log）には書き出しません: ") +
                     platform::DisplayUtf8(*out.path));
    }
  }
  Collection collection = CollectLogs(options.folder);
  if (!collection.folderRead) return Failure("フォルダーを読めません: " + folderText);
  for (const Output& out : outputs) {
    if (WasRead(*out.path, collection)) {
      return Failure(out.what + std::string("読んだ練習記録には書き出しません: ") +
                     platform::DisplayUtf8(*out.path));
    }
  }
  for (size_t i = 0; i < outputs.size(); i++) {
    platform::FileIdentity x, y;
    if (!platform::IdentityOf(*outputs[i].path, x)) continue;
    for (size_t j = i + 1; j < outputs.size(); j++) {
      if (platform::IdentityOf(*outputs[j].path, y) && x == y) {
        return Failure("ページとCSVに同じファイルは使えません: " +
                       platform::DisplayUtf8(*outputs[j].path));
      }
    }
  }
  KeepRange(collection, options.range);

  const int64_t judgingDay = JudgingDay(collection, options.range);
  std::vector<LearnerReport> learners = Analyze(collection, judgingDay);
  const std::string title =
      options.title.empty()
          ? words::kHeading + platform::DisplayUtf8(platform::FolderName(options.folder))
          : options.title;
  std::string html = ReportPage(title, learners, collection, options.range);
  std::string written;  // the tables written so far, for the message
  for (const Output& out : outputs) {
    const std::string text = platform::DisplayUtf8(*out.path);
    const std::string bytes = out.path == &options.output ? std::move(html)
                              : out.path == &options.csv  ? AnswersCsv(collection, judgingDay)
                                                          : FactsCsv(learners);
    platform::WriteOutcome outcome = platform::WriteFileReplacing(*out.path, bytes);
    if (outcome.error != platform::WriteError::kNone) {
      return Failure(std::string(out.what[0] ? out.what : "") + "書き出せません: " + text + "\n" +
                     WriteErrorText(outcome) +
                     (written.empty() ? "" : "\n（" + written + "は書きました）"));
    }
    if (out.path != &options.output) written += (written.empty() ? "" : "、") + text;
  }
  Outcome outcome;
  outcome.written = options.output;
  outcome.message = outputText + "を書きました（" + Grouped(static_cast<int64_t>(learners.size())) +
                    "人、" + Grouped(collection.filesRead) + "件の記録、使わなかったファイル" +
                    Grouped(static_cast<int64_t>(collection.notRead.size())) + "件";
  if (options.range.Limited()) {
    outcome.message += "、期間の外の記録" + Grouped(collection.outsideRange) + "件";
  }
  outcome.message += "）";
  if (!written.empty()) outcome.message += "。" + written + "も書きました";
  return outcome;
}

}  // namespace report
