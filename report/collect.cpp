// Walking the folder and reading each log. Nothing is written here.
#include "report/collect.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

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

// A log found under the folder: where it is, its path relative to the folder as the page
// shows it, and the folder of the learner it belongs to.
struct Found {
  Path path;
  std::string shown;
  Path learner;
};

// Walks the folder, depth first; logs directly in it belong to `learner`, those in a
// subfolder to the subfolder's learner. What cannot be read or is not followed is noted.
// False when the folder itself cannot be listed.
bool FindLogs(const Path& folder, const std::string& relative, const Path& learner,
              std::vector<Found>& found, std::vector<FileNote>& notes,
              std::vector<Path>& learnerFolders) {
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(folder, entries)) return false;
  for (platform::FolderEntry& entry : entries) {
    std::string name = platform::DisplayUtf8(entry.name);
    std::string shown = relative.empty() ? name : relative + "/" + name;
    Path path = platform::Join(folder, entry.name);
    switch (entry.kind) {
      case platform::EntryKind::kFolder:
        if (relative.empty()) learnerFolders.push_back(entry.name);
        if (!FindLogs(path, shown, relative.empty() ? entry.name : learner, found, notes,
                      learnerFolders)) {
          notes.push_back({shown, words::kFolderUnreadable, {}});
        }
        break;
      case platform::EntryKind::kFile:
        if (drill::IsLogFileName(name))
          found.push_back({std::move(path), std::move(shown), learner});
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

// A file name's part after the last folder.
std::string_view FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
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

bool OriginalFirst(std::string_view x, std::string_view y) {
  const auto key = [](std::string_view path) {
    std::string_view name = FileNameOf(path);
    const size_t dot = name.rfind('.');
    const std::string_view stem = name.substr(0, dot);
    const bool drillsOwn =
        !stem.empty() && stem.find_first_not_of("0123456789") == std::string_view::npos;
    return std::make_tuple(!drillsOwn, name.size(), path);
  };
  return key(x) < key(y);
}

Collection CollectLogs(const Path& folder) {
  Collection collection;

  // The logs first, in path order, so that the page does not depend on the order in which
  // the file system lists a folder.
  std::vector<Found> found;
  std::vector<Path> learnerFolders;
  if (!FindLogs(folder, "", Path(), found, collection.notRead, learnerFolders)) {
    collection.folderRead = false;
    return collection;
  }
  // Of two logs of one run the first is kept, so an original comes before its copies.
  std::sort(found.begin(), found.end(),
            [](const Found& x, const Found& y) { return OriginalFirst(x.shown, y.shown); });

  // A run is known by its learner, drill and start second: the drill names its log after the
  // start, so a second file with all three alike is a copy (a backup folder, say) and would
  // count twice.
  std::map<std::tuple<Path, drill::DrillKind, int64_t>, std::string> seen;
  std::map<Path, Learner> learners;
  std::string bytes;
  for (const Found& file : found) {
    platform::FileIdentity identity;
    const platform::ReadStatus status =
        platform::ReadSmallFile(file.path, drill::kMaxLogBytes, bytes, identity);
    if (status == platform::ReadStatus::kRead || status == platform::ReadStatus::kTooLarge) {
      collection.opened.push_back(identity);
    }
    if (status == platform::ReadStatus::kNotAFile) {
      collection.notRead.push_back({file.shown, words::kNotAFile, {}});
      continue;
    }
    if (status == platform::ReadStatus::kCannotRead) {
      collection.notRead.push_back({file.shown, words::kCannotRead, {}});
      continue;
    }
    if (status == platform::ReadStatus::kTooLarge) {
      collection.notRead.push_back({file.shown, words::kTooLarge, {}});
      continue;
    }
    drill::ReadResult result = drill::ReadLog(bytes);
    if (!result.Ok()) {
      collection.notRead.push_back({file.shown, FaultText(result.fault), {}});
      continue;
    }
    auto [first, isNew] = seen.try_emplace(
        std::make_tuple(file.learner, result.run.kind, result.run.start.Seconds()), file.shown);
    if (!isNew) {
      collection.notRead.push_back(
          {file.shown, words::kSameRun, first->second + words::kSameRunAs});
      continue;
    }
    FileNote note = CountNote(file.shown, result.run);
    if (!note.path.empty()) collection.partlyRead.push_back(std::move(note));
    Learner& learner = learners[file.learner];
    learner.runs.push_back(std::move(result.run));
    collection.filesRead++;
  }

  // A child's folder without a log yet (or without one that could be used) is a child who
  // has not started: the page lists the child too.
  for (const Path& path : learnerFolders)
    learners.try_emplace(path);
  const std::string folderName = platform::DisplayUtf8(platform::FolderName(folder));
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
