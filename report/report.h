// The report program's work apart from the platform: its command line, reading a folder
// into the page, and writing the page.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "report/collect.h"
#include "report/date_range.h"
#include "report/html.h"

namespace report {

// The program's exit codes, all of them.
inline constexpr int kExitSuccess = 0;    // the page is written (and opened, when asked)
inline constexpr int kExitNotOpened = 1;  // the page is written, but no browser would start
inline constexpr int kExitFailure = 2;    // nothing written: the command line, folder or output

inline constexpr const char* kReportFileName = "report.html";

struct Options {
  platform::Path folder = platform::PathFromUtf8(".");
  platform::Path output;    // FOLDER/report.html when not given
  platform::Path csv;       // the answers as a table as well, when given
  platform::Path csvFacts;  // each learner's facts as a table as well, when given
  std::string title;        // the page's title, UTF-8; "練習の記録：FOLDER" when empty
  DateRange range;
  bool open = true;
  bool help = false;
  std::string error;  // a command line that cannot be used, UTF-8
};

extern const char kUsage[];

Options ParseArguments(const std::vector<platform::Path>& args);

// Groups the learners' runs by drill and computes their figures, ageing the evidence against
// judgingDay (see JudgingDay).
std::vector<LearnerReport> Analyze(const Collection& collection, int64_t judgingDay);

struct Outcome {
  int exitCode = kExitSuccess;
  std::string message;  // UTF-8: what was written, or why nothing was
  platform::Path written;
};

// Reads options.folder and writes the page, and the table when asked; nothing else is written
// anywhere. Both outputs are checked, and both written under temporary names, before either
// takes its place, and a rename of the page that fails after the table's puts the old table
// back: a run that fails has written nothing (where even that fails, the message says so).
Outcome WriteReport(const Options& options);

}  // namespace report
