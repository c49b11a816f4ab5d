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
    case platform::WriteError::kReadOnly:
      text = "読み取り専用のファイルなので、書き換えません";
      break;
    case platform::WriteError::kCannotReplace:
      text = "前のファイルと入れ替えられません（ほかのプログラムが開いているなど）";
      break;
  }
  if (!outcome.systemText.empty()) text += "：" + outcome.systemText;
  return text;
}

// An output resolved before anything is written: the folder it goes in, held open, and its
// name there.
struct Target {
  Target(const platform::Path* path, const char* what, const char* option)
      : path(path), what(what), option(option) {}
  const platform::Path* path;  // as given
  const char* what;            // "CSVを" for the answers table, "" for the page
  const char* option;          // the output and its option, as a refusal names them
  platform::Folder folder;
  platform::Path name;
  platform::FileIdentity folderIdentity;
};

// Whether a name in the folder is another name of a file the run read: a hard link, or on
// Windows a short name or the name in another case.
bool WasRead(const Target& target, const Collection& collection) {
  platform::FileIdentity identity;
  return platform::IdentityOf(target.folder, target.name, identity) &&
         std::find(collection.opened.begin(), collection.opened.end(), identity) !=
             collection.opened.end();
}

// Whether two outputs would be one file: one name in one folder (by the folder's
// identity, so "./out.html" and "out.html" are one), or one existing file by two names.
bool SameFile(const Target& x, const Target& y) {
  if (x.folderIdentity == y.folderIdentity && platform::SameName(x.name, y.name)) return true;
  platform::FileIdentity xFile, yFile;
  return platform::IdentityOf(x.folder, x.name, xFile) &&
         platform::IdentityOf(y.folder, y.name, yFile) && xFile == yFile;
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

// Every check on every output comes before any is written: a run that fails has written
// nothing, and one that succeeds has written them all.
Outcome WriteReport(const Options& options) {
  const std::string folderText = platform::DisplayUtf8(options.folder);
  const std::string outputText = platform::DisplayUtf8(options.output);
  platform::Folder classFolder;
  if (!platform::OpenFolder(options.folder, classFolder)) {
    return Failure("フォルダーがありません: " + folderText);
  }
  // The page and the tables keep the same rules: never over a practice log, by its name or as
  // another name of a file just read, never over anything but a regular file that may be
  // written, and never over each other.
  std::vector<Target> targets;
  targets.emplace_back(&options.output, "", "ページ（-o）");
  if (!options.csv.Empty()) targets.emplace_back(&options.csv, "CSVを", "CSV（--csv）");
  if (!options.csvFacts.Empty()) {
    targets.emplace_back(&options.csvFacts, "問題ごとのCSVを", "問題ごとのCSV（--csv-facts）");
  }
  for (Target& target : targets) {
    const std::string text = platform::DisplayUtf8(*target.path);
    platform::Path folderPath;
    platform::SplitPath(*target.path, folderPath, target.name);
    if (target.name.Empty()) {
      return Failure(target.what + std::string("書き出すファイルの名前がありません: ") + text);
    }
    if (drill::IsLogFileName(platform::DisplayUtf8(target.name))) {
      return Failure(target.what + std::string("練習記録（*.log）には書き出しません: ") + text);
    }
    if (!platform::OpenFolder(folderPath, target.folder) ||
        !platform::IdentityOf(target.folder, target.folderIdentity)) {
      return Failure(target.what + std::string("書き出すフォルダーがありません: ") + text);
    }
    const platform::WriteError check = platform::CheckReplaceable(target.folder, target.name);
    if (check != platform::WriteError::kNone) {
      return Failure(target.what + std::string("書き出せません: ") + text + "\n" +
                     WriteErrorText({check, {}}));
    }
  }
  for (size_t i = 0; i < targets.size(); i++) {
    for (size_t j = i + 1; j < targets.size(); j++) {
      if (SameFile(targets[i], targets[j])) {
        return Failure(std::string(targets[j].option) + "と" + targets[i].option +
                       "が同じファイルです: " + platform::DisplayUtf8(*targets[i].path) + "、" +
                       platform::DisplayUtf8(*targets[j].path));
      }
    }
  }
  Collection collection = CollectLogs(classFolder);
  if (!collection.folderRead) return Failure("フォルダーを読めません: " + folderText);
  for (const Target& target : targets) {
    if (WasRead(target, collection)) {
      return Failure(target.what + std::string("読んだ練習記録には書き出しません: ") +
                     platform::DisplayUtf8(*target.path));
    }
  }
  KeepRange(collection, options.range);

  const int64_t judgingDay = JudgingDay(collection, options.range);
  std::vector<LearnerReport> learners = Analyze(collection, judgingDay);
  const std::string title =
      options.title.empty()
          ? words::kHeading + platform::DisplayUtf8(platform::FolderName(options.folder))
          : options.title;
  // Every file is written whole under a temporary name before any takes its place; those not
  // committed are removed when this returns.
  std::vector<platform::ReplacingWrite> writes(targets.size());
  for (size_t i = 0; i < targets.size(); i++) {
    const std::string bytes = targets[i].path == &options.csv ? AnswersCsv(collection, judgingDay)
                              : targets[i].path == &options.csvFacts
                                  ? FactsCsv(learners)
                                  : ReportPage(title, learners, collection, options.range);
    const platform::WriteOutcome written =
        writes[i].Prepare(targets[i].folder, targets[i].name, bytes);
    if (written.error != platform::WriteError::kNone) {
      return Failure(targets[i].what + std::string("書き出せません: ") +
                     platform::DisplayUtf8(*targets[i].path) + "\n" + WriteErrorText(written));
    }
  }
  // The tables first and the page last; when a rename fails after others, the old files go
  // back in their places.
  for (size_t i = targets.size(); i-- > 0;) {
    const platform::WriteOutcome written = writes[i].Commit();
    if (written.error == platform::WriteError::kNone) continue;
    std::string stayed;  // the files that could not be put back
    for (size_t j = i + 1; j < targets.size(); j++) {
      if (!writes[j].Undo()) {
        stayed += (stayed.empty() ? "" : "、") + platform::DisplayUtf8(*targets[j].path);
      }
    }
    return Failure(targets[i].what + std::string("書き出せません: ") +
                   platform::DisplayUtf8(*targets[i].path) + "\n" + WriteErrorText(written) +
                   (stayed.empty() ? "" : "\n（" + stayed + "は書いてしまいました）"));
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
  std::string tables;
  for (size_t i = 1; i < targets.size(); i++)
    tables += (tables.empty() ? "" : "、") + platform::DisplayUtf8(*targets[i].path);
  if (!tables.empty()) outcome.message += "。" + tables + "も書きました";
  return outcome;
}

}  // namespace report
