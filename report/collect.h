// Finds the practice logs under a folder, reads them and sorts them by learner: a subfolder
// is one learner, logs directly in the folder belong to a learner named after the folder.
#pragma once

#include <string>
#include <vector>

#include "drill/log_reader.h"
#include "report/file_io.h"

namespace report {

struct Learner {
  std::string name;  // UTF-8
  std::vector<drill::Run> runs;
};

struct FileNote {
  std::string path;  // relative to the folder, UTF-8
  std::string reason;
};

struct Collection {
  std::vector<Learner> learners;  // by name
  std::vector<FileNote> notRead;
  std::vector<FileNote> partlyRead;  // used, but with lines skipped or a wrong count
  int filesRead = 0;                 // runs used: read whole or in part, and within the date range
  int outsideRange = 0;              // runs read but left out by the date range
};

// The folder must exist; unreadable entries below it are noted, never thrown.
Collection CollectLogs(const Path& folder);

// Whether the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

}  // namespace report
