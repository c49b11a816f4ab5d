// Walking the folder and reading each log. Nothing is written here.
#include "report/collect.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

#include "drill/log_folder.h"
#include "drill/log_format.h"
#include "report/words.h"

namespace report {
namespace {

using platform::Path;

// Why a log, or a line of it, was not used, as the page says it.
std::string FaultText(drill::LogFault fault) {
  using drill::LogFault;
  switch (fault) {
    case LogFault::kNone:
      break;
    case LogFault::kEmpty:
      return words::kEmptyFile;
    case LogFault::kNoHeader:
      return words::kNoHeader;
    case LogFault::kBadDate:
      return words::kBadDate;
    case LogFault::kBadClock:
      return words::kBadClock;
    case LogFault::kBadCount:
      return words::kBadCount;
    case LogFault::kNoProblemLines:
      return words::kNoProblemLines;
    case LogFault::kFieldCount:
      return words::kFieldCount;
    case LogFault::kMalformedProblem:
      return words::kMalformedProblem;
    case LogFault::kImpossibleProblem:
      return words::kImpossibleProblem;
    case LogFault::kBadSolvingTime:
      return words::kBadSolvingTime;
    case LogFault::kBadMisses:
      return words::kBadMisses;
    case LogFault::kCutOff:
      return words::kCutOff;
    case LogFault::kPastLastProblem:
      return std::to_string(drill::kProblemsPerRun) + words::kPastLastProblem;
  }
  return "";
}

// Orders names as people read them: "learner4" before "learner10".
bool NaturalLess(const std::string& x, const std::string& y) {
  size_t i = 0, j = 0;
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  while (i < x.size() && j < y.size()) {
    if (digit(x[i]) && digit(y[j])) {
      size_t iEnd = x.find_first_not_of("0123456789", i);
      size_t jEnd = y.find_first_not_of("0123456789", j);
      std::string_view a = std::string_view(x).substr(i, iEnd - i);
      std::string_view b = std::string_view(y).substr(j, jEnd - j);
      a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
      b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
      if (a.size() != b.size()) return a.size() < b.size();
      if (a != b) return a < b;
      i = iEnd == std::string::npos ? x.size() : iEnd;
      j = jEnd == std::string::npos ? y.size() : jEnd;
    } else {
      if (x[i] != y[j]) return static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[j]);
      i++;
      j++;
    }
  }
  if ((x.size() - i) != (y.size() - j)) return x.size() - i < y.size() - j;
  return x < y;  // "a01" and "a1": any fixed order
}

// The number a name starts with, in ASCII or full-width digits; -1 when it starts with none.
int64_t LeadingNumber(std::string_view name) {
  int64_t number = -1;
  for (size_t i = 0; i < name.size() && number < 1000000;) {
    int digit = -1;
    if (name[i] >= '0' && name[i] <= '9') {
      digit = name[i] - '0';
      i += 1;
    } else if (name.substr(i, 2) == "\xEF\xBC" && i + 2 < name.size() &&
               static_cast<unsigned char>(name[i + 2]) >= 0x90 &&
               static_cast<unsigned char>(name[i + 2]) <= 0x99) {
      digit = static_cast<unsigned char>(name[i + 2]) - 0x90;  // ０ to ９, U+FF10 to U+FF19
      i += 3;
    }
    if (digit < 0) break;
    number = (number < 0 ? 0 : number * 10) + digit;
  }
  return number;
}

// The name's characters with katakana read as hiragana (ア as あ), so that kana names sort
// together whichever script a folder uses; bytes that are no UTF-8 are kept as they are.
std::u32string KanaFolded(std::string_view name) {
  std::u32string out;
  for (size_t i = 0; i < name.size();) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(name[i + k]); };
    char32_t c = byte(0);
    size_t length = 1;
    if (c >= 0xE0 && c < 0xF0 && i + 2 < name.size()) {
      c = ((c & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
      length = 3;
    } else if (c >= 0xC0 && c < 0xE0 && i + 1 < name.size()) {
      c = ((c & 0x1F) << 6) | (byte(1) & 0x3F);
      length = 2;
    }
    if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;
    out += c;
    i += length;
  }
  return out;
}

bool StartsWithKana(const std::u32string& folded) {
  return !folded.empty() && folded[0] >= 0x3041 && folded[0] <= 0x30FF;
}

// A used file whose lines do not all count: why, in one of two texts the page groups by.
FileNote CountNote(const std::string& path, const drill::LoggedRun& run) {
  int lines = static_cast<int>(run.answers.size()) + run.skippedLines;
  std::string detail;
  if (run.skippedLines) {
    detail = std::to_string(run.skippedLines) + words::kLinesSkipped + FaultText(run.firstSkipped) +
             words::kClose;
  }
  if (lines != run.headerCount) {
    if (!detail.empty()) detail += words::kPeriod;
    detail += words::kHeaderCount + std::to_string(run.headerCount) + words::kAndLines +
              std::to_string(lines) + words::kDoNotMatch;
  }
  if (detail.empty()) return {};
  return {path, run.skippedLines ? words::kUnreadableLines : words::kCountMismatch, detail};
}

// A log read under the folder: its path relative to the folder as the page shows it, the
// folder of the learner it belongs to, and its run.
struct Found {
  std::string shown;
  Path learner;
  drill::LoggedRun run;
};

// Reads one log of an open folder: its run, or a note on why it is not used.
void ReadOne(const platform::Folder& folder, const Path& name, std::string shown,
             const Path& learner, std::vector<Found>& found, Collection& collection) {
  std::string bytes;
  platform::FileIdentity identity;
  const platform::ReadStatus status =
      platform::ReadSmallFile(folder, name, drill::kMaxLogBytes, bytes, identity);
  if (status == platform::ReadStatus::kRead || status == platform::ReadStatus::kTooLarge) {
    collection.opened.push_back(identity);
  }
  if (status == platform::ReadStatus::kNotAFile) {
    collection.notRead.push_back({std::move(shown), words::kNotAFile, {}});
  } else if (status == platform::ReadStatus::kCannotRead) {
    collection.notRead.push_back({std::move(shown), words::kCannotRead, {}});
  } else if (status == platform::ReadStatus::kTooLarge) {
    collection.notRead.push_back({std::move(shown), words::kTooLarge, {}});
  } else if (drill::ReadResult result = drill::ReadLog(bytes); !result.Ok()) {
    collection.notRead.push_back({std::move(shown), FaultText(result.fault), {}});
  } else {
    found.push_back({std::move(shown), learner, std::move(result.run)});
  }
}

// Walks the open folder, depth first, reading each log as it comes: logs directly in it belong
// to `learner`, those in a subfolder to the subfolder's learner. Subfolders are opened through
// the folder and never through a link, so a name swapped for a link after the listing leads
// nowhere. What cannot be read or is not followed is noted, and each learner's folder is
// listed in learnerFolders. False when the folder itself cannot be listed.
bool FindLogs(const platform::Folder& folder, const std::string& relative, const Path& learner,
              std::vector<Found>& found, Collection& collection,
              std::vector<Path>& learnerFolders) {
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(folder, entries)) return false;
  // By name, so that the page does not depend on the order the file system lists a folder in.
  std::sort(entries.begin(), entries.end(),
            [](const platform::FolderEntry& x, const platform::FolderEntry& y) {
              return x.name < y.name;
            });
  std::vector<FileNote>& notes = collection.notRead;
  for (platform::FolderEntry& entry : entries) {
    std::string name = platform::DisplayUtf8(entry.name);
    std::string shown = relative.empty() ? name : relative + "/" + name;
    switch (entry.kind) {
      case platform::EntryKind::kFolder: {
        if (relative.empty()) learnerFolders.push_back(entry.name);
        platform::Folder subfolder;
        if (!platform::OpenSubfolder(folder, entry.name, subfolder) ||
            !FindLogs(subfolder, shown, relative.empty() ? entry.name : learner, found, collection,
                      learnerFolders)) {
          notes.push_back({shown, words::kFolderUnreadable, {}});
        }
        break;
      }
      case platform::EntryKind::kFile:
        if (drill::IsLogFileName(name))
          ReadOne(folder, entry.name, std::move(shown), learner, found, collection);
        break;
      case platform::EntryKind::kLink:
        // Followed, a link could lead out of the folder or back into it.
        notes.push_back({shown, words::kLinkNotFollowed, {}});
        break;
      case platform::EntryKind::kOther:
        if (drill::IsLogFileName(name)) notes.push_back({shown, words::kNotAFile, {}});
        break;
      case platform::EntryKind::kUnreadable:
        notes.push_back({shown, words::kCannotRead, {}});
        break;
    }
  }
  return true;
}

// Learners whose names would show alike get where their logs are; names still alike (one
// folder spelt like another's escapes) are numbered.
void TellApart(std::vector<Learner>& learners) {
  std::map<std::string, int> count;
  for (const Learner& learner : learners)
    count[learner.name]++;
  for (Learner& learner : learners) {
    if (count[learner.name] < 2) continue;
    learner.name += learner.folder.Empty()
                        ? words::kTopFolderRecords
                        : words::kInFolder + platform::EscapedUtf8(learner.folder) + words::kClose;
  }
  std::map<std::string, int> seen;
  for (Learner& learner : learners) {
    int n = ++seen[learner.name];
    if (n > 1) learner.name += words::kOpen + std::to_string(n) + words::kClose;
  }
}

}  // namespace

bool RosterLess(const std::string& x, const std::string& y) {
  const int64_t xNumber = LeadingNumber(x), yNumber = LeadingNumber(y);
  if ((xNumber < 0) != (yNumber < 0)) return xNumber >= 0;
  if (xNumber != yNumber) return xNumber < yNumber;
  const std::u32string xFolded = KanaFolded(x), yFolded = KanaFolded(y);
  const bool xKana = StartsWithKana(xFolded), yKana = StartsWithKana(yFolded);
  if (xKana != yKana) return xKana;
  if (xKana && xFolded != yFolded) return xFolded < yFolded;
  return NaturalLess(x, y);
}

Collection CollectLogs(const Path& folder) {
  platform::Folder opened;
  if (!platform::OpenFolder(folder, opened)) {
    Collection collection;
    collection.folderRead = false;
    return collection;
  }
  return CollectLogs(opened);
}

Collection CollectLogs(const platform::Folder& folder) {
  Collection collection;
  std::vector<Found> found;
  std::vector<Path> learnerFolders;
  if (!FindLogs(folder, "", Path(), found, collection, learnerFolders)) {
    collection.folderRead = false;
    return collection;
  }

  // Each learner's logs by the folder-reading rule the drills' focus mode uses too: one run
  // per run however many copies a backup left, in the order they were practised.
  std::map<Path, drill::FolderRuns> byLearner;
  for (Found& file : found)
    byLearner[file.learner].Add(std::move(file.shown), std::move(file.run));
  std::map<Path, Learner> learners;
  for (auto& [path, runs] : byLearner) {
    for (drill::FolderCopy& copy : runs.TakeCopies()) {
      collection.notRead.push_back(
          {std::move(copy.name), words::kSameRun, copy.keptName + words::kSameRunAs});
    }
    Learner& learner = learners[path];
    for (drill::FolderRun& run : runs.TakeRuns()) {
      FileNote note = CountNote(run.name, run.run);
      if (!note.path.empty()) collection.partlyRead.push_back(std::move(note));
      learner.runs.push_back(std::move(run.run));
      collection.filesRead++;
    }
  }
  // A child's folder without a log yet (or without one that could be used) is a child who
  // has not started: the page lists the child too.
  for (const Path& path : learnerFolders)
    learners.try_emplace(path);

  const std::string folderName = platform::DisplayUtf8(platform::FolderName(folder.Where()));
  for (auto& [path, learner] : learners) {
    learner.folder = path;
    learner.name = path.Empty() ? folderName : platform::DisplayUtf8(path);
    collection.learners.push_back(std::move(learner));
  }
  TellApart(collection.learners);
  std::sort(collection.learners.begin(), collection.learners.end(),
            [](const Learner& x, const Learner& y) {
              if (x.name != y.name) return RosterLess(x.name, y.name);
              return x.folder < y.folder;
            });
  auto byPath = [](const FileNote& x, const FileNote& y) { return x.path < y.path; };
  std::sort(collection.notRead.begin(), collection.notRead.end(), byPath);
  std::sort(collection.partlyRead.begin(), collection.partlyRead.end(), byPath);
  return collection;
}

}  // namespace report
