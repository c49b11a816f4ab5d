// Walking the folder and reading each log. Nothing is written here.
#include "report/collect.h"

#include "drill/log_format.h"
#include "platform/utf8.h"
#include "report/file_io.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <system_error>
#include <tuple>

#if !defined(_WIN32)
#include <iconv.h>
#endif

namespace report {
namespace {

bool HasLogExtension(std::string_view name) {
  const size_t length = drill::kLogExtension.size();
  if (name.size() <= length) return false;
  std::string ext(name.substr(name.size() - length));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == drill::kLogExtension;
}

// Why a log, or a line of it, was not used, as the page says it.
std::string FaultText(drill::LogFault fault) {
  using drill::LogFault;
  switch (fault) {
    case LogFault::kNone:
      break;
    case LogFault::kEmpty:
      return "空のファイル";
    case LogFault::kNoHeader:
      return "練習記録ではありません（1 行目が見出しでない）";
    case LogFault::kBadDate:
      return "見出しの日付が正しくありません";
    case LogFault::kBadClock:
      return "見出しの時刻が正しくありません";
    case LogFault::kBadCount:
      return "見出しの問題数が正しくありません";
    case LogFault::kNoProblemLines:
      return "読める問題の行がありません";
    case LogFault::kFieldCount:
      return "項目の数が 4 でない行";
    case LogFault::kMalformedProblem:
      return "問題の形が正しくない行";
    case LogFault::kImpossibleProblem:
      return "ありえない計算の行";
    case LogFault::kBadSolvingTime:
      return "解いた時間が読めない行";
    case LogFault::kBadMisses:
      return "ミスの数が読めない行";
    case LogFault::kCutOff:
      return "途中で切れた最後の行";
    case LogFault::kPastLastProblem:
      return std::to_string(drill::kProblemsPerRun) + " 問を超えた行";
  }
  return "";
}

// Reads at most about limit + 1 bytes, so that a larger file is recognised without reading it
// whole. Reads in small pieces: a log is about 3 KB.
bool ReadFilePrefix(const Path& path, std::uintmax_t limit, std::string& out) {
  out.clear();
  UniqueFile in = OpenFile(path, false);
  if (!in) return false;
  char piece[8192];
  while (out.size() <= limit) {
    size_t n = std::fread(piece, 1, sizeof piece, in.get());
    out.append(piece, n);
    if (n < sizeof piece) break;
  }
  return std::ferror(in.get()) == 0;
}

// Orders names as people read them: "learner4" before "learner10".
struct NaturalLess {
  bool operator()(const std::string& x, const std::string& y) const {
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
        if (x[i] != y[j])
          return static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[j]);
        i++;
        j++;
      }
    }
    if ((x.size() - i) != (y.size() - j)) return x.size() - i < y.size() - j;
    return x < y;  // "a01" and "a1": any fixed order
  }
};

std::string CountNote(const drill::Run& run) {
  int lines = static_cast<int>(run.answers.size()) + run.skippedLines;
  std::string note;
  if (run.skippedLines) {
    note = std::to_string(run.skippedLines) + " 行を読み飛ばしました（" +
           FaultText(run.firstSkipped) + "）";
  }
  if (lines != run.headerCount) {
    if (!note.empty()) note += "。";
    note += "見出しの問題数 " + std::to_string(run.headerCount) + " と行数 " +
            std::to_string(lines) + " が合いません";
  }
  return note;
}

#if !defined(_WIN32)
std::string Cp932ToUtf8(std::string_view bytes) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in(bytes);
  std::string out(bytes.size() * 3 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1) || inLeft) return {};
  out.resize(out.size() - outLeft);
  return out;
}

// Replaces each byte of malformed UTF-8 with U+FFFD.
std::string RepairUtf8(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    size_t n = 1;
    while (n <= 4 && i + n <= bytes.size() && !IsUtf8(bytes.substr(i, n)))
      n++;
    if (n <= 4 && i + n <= bytes.size()) {
      out += bytes.substr(i, n);
      i += n;
    } else {
      out += "\xEF\xBF\xBD";
      i++;
    }
  }
  return out;
}
#endif

}  // namespace

bool IsUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    size_t n;
    uint32_t cp;
    if (c < 0x80) {
      i++;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= bytes.size()) return false;
    for (size_t k = 1; k <= n; k++) {
      unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n + 1;
  }
  return true;
}

std::string PathText(const Path& path) {
#if defined(_WIN32)
  return platform::Utf8FromWide(path.native());
#else
  const std::string& bytes = path.native();
  if (IsUtf8(bytes)) return bytes;
  std::string converted = Cp932ToUtf8(bytes);
  return converted.empty() ? RepairUtf8(bytes) : converted;
#endif
}

namespace {

// A log found under the folder: where it is, its path relative to the folder as the page
// shows it, and the learner it belongs to.
struct Found {
  Path path;
  std::string shown;
  std::string learner;
};

// Walks the folder, depth first; logs directly in it belong to `learner`, those in a
// subfolder to the subfolder's learner. Folders that cannot be read are noted.
void FindLogs(const Path& folder, const std::string& relative, const std::string& learner,
              std::vector<Found>& found, std::vector<FileNote>& unreadable) {
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder, entries)) {
    unreadable.push_back({relative.empty() ? "." : relative, "フォルダーを読めません"});
    return;
  }
  for (FolderEntry& entry : entries) {
    std::string shown = relative.empty() ? entry.name : relative + "/" + entry.name;
    if (entry.folder) {
      FindLogs(entry.path, shown, relative.empty() ? entry.name : learner, found, unreadable);
    } else if (HasLogExtension(entry.name)) {
      found.push_back({std::move(entry.path), std::move(shown), learner});
    }
  }
}

}  // namespace

Collection CollectLogs(const Path& folder) {
  Collection collection;
  std::map<std::string, Learner, NaturalLess> learners;

  // The logs first, in path order, so that the page does not depend on the order in which
  // the file system lists a folder.
  std::vector<Found> found;
  FindLogs(folder, "", FolderName(folder), found, collection.notRead);
  std::sort(found.begin(), found.end(),
            [](const Found& x, const Found& y) { return x.shown < y.shown; });

  // A run is known by its drill and start second: the drill names its log after the start,
  // so a second file with both alike is a copy (a backup folder, say) and would count twice.
  std::map<std::tuple<std::string, drill::DrillKind, int64_t>, std::string> seen;
  std::string bytes;
  for (const Found& file : found) {
    if (!ReadFilePrefix(file.path, drill::kMaxLogBytes, bytes)) {
      collection.notRead.push_back({file.shown, "読み込めません"});
      continue;
    }
    if (bytes.size() > drill::kMaxLogBytes) {
      collection.notRead.push_back({file.shown, "練習記録としては大きすぎます"});
      continue;
    }
    drill::ReadResult result = drill::ReadLog(bytes);
    if (!result.Ok()) {
      collection.notRead.push_back({file.shown, FaultText(result.fault)});
      continue;
    }
    auto [first, isNew] = seen.try_emplace(
        std::make_tuple(file.learner, result.run.kind, result.run.start.Seconds()), file.shown);
    if (!isNew) {
      collection.notRead.push_back({file.shown, first->second + " と同じ回の記録です"});
      continue;
    }
    std::string note = CountNote(result.run);
    if (!note.empty()) collection.partlyRead.push_back({file.shown, note});
    Learner& l = learners[file.learner];
    l.name = file.learner;
    l.runs.push_back(std::move(result.run));
    collection.filesRead++;
  }

  for (auto& [name, learner] : learners)
    collection.learners.push_back(std::move(learner));
  auto byPath = [](const FileNote& x, const FileNote& y) { return x.path < y.path; };
  std::sort(collection.notRead.begin(), collection.notRead.end(), byPath);
  std::sort(collection.partlyRead.begin(), collection.partlyRead.end(), byPath);
  return collection;
}

}  // namespace report
