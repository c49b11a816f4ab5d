// Finds the practice logs under a folder, reads them and sorts them by learner: a subfolder
// is one learner, logs directly in the folder belong to a learner named after the folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drill/log_reader.h"
#include "platform/file_system.h"

namespace report {

struct Learner {
  platform::Path folder;  // the learner's subfolder, relative; empty for the loose logs
  std::string name;       // UTF-8, as the page shows it; no two learners show alike
  std::vector<drill::LoggedRun> runs;  // by start time; empty for a child's folder with no
                                       // usable log yet
};

struct FileNote {
  std::string path;    // relative to the folder, UTF-8
  std::string reason;  // the same text for every file with this fault, so notes group by it
  std::string detail;  // what is particular to this file; may be empty
};

struct Collection {
  bool folderRead = true;         // false: the folder itself could not be listed
  std::vector<Learner> learners;  // in the class's order (RosterLess)
  std::vector<FileNote> notRead;
  std::vector<FileNote> partlyRead;            // used, but with lines skipped or a wrong count
  std::vector<platform::FileIdentity> opened;  // every file the run read from
  int filesRead = 0;     // runs used: read whole or in part, and within the date range
  int outsideRange = 0;  // runs read but left out by the date range
};

// The class's order of two learners' names: a name that starts with a number (01_山田, 1 やまだ)
// takes its place by that number, as 出席番号; the others follow, those starting with kana in
// kana order (katakana read as hiragana), then the rest, numbers within a name compared as
// numbers. Kanji cannot be read from the text, so they keep the order of their characters.
bool RosterLess(const std::string& x, const std::string& y);

// The folder must exist; unreadable entries below it are noted, never thrown. Each learner's
// runs come in the order they were practised, one per run (drill/log_folder.h); a learner's
// folder without a usable log gives a learner without runs.
Collection CollectLogs(const platform::Folder& folder);
Collection CollectLogs(const platform::Path& folder);

}  // namespace report
