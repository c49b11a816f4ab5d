// Command line and the folder-to-file run of the report program.
#include "report/report.h"

#include "report/csv.h"
#include "report/file_io.h"

namespace report {
namespace {

// The options that choose what the report covers and what else it writes: --csv, --from and
// --to. Takes the option at args[i] and its value; false when it is none of them.
bool TakeContentOption(const std::vector<Path>& args, size_t& i, Options& options) {
  const std::string arg = PathText(args[i]);
  if (arg != "--csv" && arg != "--from" && arg != "--to") return false;
  if (i + 1 == args.size()) {
    options.error = arg + " の後に" + (arg == "--csv" ? "ファイル名" : "日付") + "がありません";
    return true;
  }
  const Path& value = args[++i];
  const std::string text = PathText(value);
  if (arg == "--csv") {
    if (!options.csv.empty()) {
      options.error = "CSV のファイル（--csv）は 1 つだけ指定できます";
    } else if (value.empty()) {
      options.error = "--csv のファイル名が空です";
    } else {
      options.csv = value;
    }
    return true;
  }
  std::optional<Day>& end = arg == "--from" ? options.range.from : options.range.to;
  Day day;
  if (end) {
    options.error = arg + " は 1 つだけ指定できます";
  } else if (!ParseDay(text, day)) {
    options.error = arg + " の日付が正しくありません（2024-03-05 の形で）: " + text;
  } else {
    end = day;
  }
  return true;
}

// What the options say together that none says alone.
void CheckContentOptions(Options& options) {
  if (!options.error.empty()) return;
  if (options.range.from && options.range.to && *options.range.to < *options.range.from) {
    options.error = "--from の日付が --to の日付より後です";
  } else if (!options.csv.empty() && PathText(options.csv) == PathText(options.output)) {
    options.error = "CSV（--csv）とページ（-o）に同じファイルは使えません";
  }
}

// Writes one output file whole; false when any of it could not be written.
bool WriteOutputFile(const Path& path, std::string_view bytes) {
  bool written = false;
  if (UniqueFile out = OpenFile(path, true)) {
    written = std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
    // The close writes what is still buffered, and may fail doing so.
    written = std::fclose(out.release()) == 0 && written;
  }
  return written && !IsFolder(path);
}

}  // namespace

const char kUsage[] =
    "使い方: Quarn_Report [FOLDER] [-o FILE] [--csv FILE] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "                     [--no-open]\n"
    "  FOLDER の練習記録（*.log、サブフォルダーは 1 人ずつ）から report.html を作ります。\n"
    "  FOLDER        記録のフォルダー（省略すると今のフォルダー）\n"
    "  -o FILE       書き出すファイル（省略すると FOLDER/report.html）\n"
    "  --csv FILE    答えを 1 問 1 行の CSV（表計算ソフト用）にも書き出す。ページも書きます\n"
    "  --from YYYY-MM-DD\n"
    "                この日から始めた回だけにする\n"
    "  --to YYYY-MM-DD\n"
    "                この日までに始めた回だけにする（ページも CSV も同じ期間です）\n"
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
    } else if (TakeContentOption(args, i, options)) {
      if (!options.error.empty()) return options;
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
  CheckContentOptions(options);
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
  KeepRange(collection, options.range);
  std::vector<LearnerReport> learners = Analyse(collection);
  std::string html = ReportPage(FolderName(options.folder), learners, collection, options.range);

  if (!options.csv.empty() && !WriteOutputFile(options.csv, AnswersCsv(collection))) {
    outcome.exitCode = kExitFailure;
    outcome.message = "CSV を書き出せません: " + PathText(options.csv);
    return outcome;
  }
  if (!WriteOutputFile(options.output, html)) {
    outcome.exitCode = kExitFailure;
    outcome.message = "書き出せません: " + PathText(options.output);
    if (!options.csv.empty())
      outcome.message += "（CSV は書きました: " + PathText(options.csv) + "）";
    return outcome;
  }
  outcome.written = options.output;
  outcome.message = PathText(options.output) + " を書きました（" + std::to_string(learners.size()) +
                    " 人、" + std::to_string(collection.filesRead) +
                    " 件の記録、読めなかったファイル " + std::to_string(collection.notRead.size()) +
                    " 件";
  if (options.range.Limited()) {
    outcome.message += "、期間の外の記録 " + std::to_string(collection.outsideRange) + " 件";
  }
  outcome.message += "）";
  if (!options.csv.empty()) outcome.message += "。" + PathText(options.csv) + " も書きました";
  return outcome;
}

}  // namespace report
