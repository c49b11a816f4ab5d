// Finds the practice logs under a folder, reads them and sorts them by learner: a subfolder
// is one learner, logs directly in the folder belong to a learner named after the folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "report/log_reader.h"

namespace report {

struct Learner {
  std::string name;  // UTF-8
  std::vector<Run> runs;
};

struct FileNote {
  std::string path;  // relative to the folder, UTF-8
  std::string reason;
};

struct Collection {
  std::vector<Learner> learners;  // by name
  std::vector<FileNote> notRead;
  std::vector<FileNote> partlyRead;  // used, but with lines skipped or a wrong count
  int filesRead = 0;
};

// The folder must exist; unreadable entries below it are noted, never thrown.
Collection CollectLogs(const std::filesystem::path& folder);

// A path or name as UTF-8 for the report: wide names on Windows are converted; byte names
// elsewhere are taken as UTF-8 when they are, else as CP932.
std::string PathText(const std::filesystem::path& path);

// Whether the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

}  // namespace report
