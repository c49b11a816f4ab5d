// The report program's work apart from the platform: its command line, reading a folder
// into the page, and writing the page.
#pragma once

#include <string>
#include <vector>

#include "report/collect.h"
#include "report/date_range.h"
#include "report/file_io.h"
#include "report/html.h"

namespace report {

inline constexpr int kExitFailure = 2;
inline constexpr const char* kReportFileName = "report.html";

struct Options {
  Path folder = PathFromUtf8(".");
  Path output;  // FOLDER/report.html when not given
  Path csv;     // the answers as a table as well, when given
  DateRange range;
  bool open = true;
  bool help = false;
  std::string error;  // a command line that cannot be used, UTF-8
};

extern const char kUsage[];

Options ParseArguments(const std::vector<Path>& args);

// Groups the learners' runs by drill and computes their figures.
std::vector<LearnerReport> Analyse(const Collection& collection);

struct Outcome {
  int exitCode = 0;
  std::string message;  // UTF-8: what was written, or why nothing was
  Path written;
};

// Reads options.folder and writes the page, and the table when asked; nothing else is written
// anywhere. The table is written first: when it fails, nothing is.
Outcome WriteReport(const Options& options);

}  // namespace report
