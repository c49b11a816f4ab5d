// The drills' folder listing and file reading on the in-memory backend: a file is a path in
// the backend's table of files, a folder is what such paths share before a separator, and "."
// is the current folder, the paths without one. Each read is traced.
#include <set>

#include "platform/file_system.h"
#include "platform/headless/headless.h"

namespace platform {

namespace {

// The folder's own prefix in the table: "" for the current folder.
std::string PrefixOf(const Path& folder) {
  std::string prefix = headless::Utf8(folder);
  if (prefix == "." || prefix == ".\\") return "";
  if (!prefix.empty() && prefix.back() != '\\') prefix += '\\';
  return prefix;
}

}  // namespace

bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  const std::string prefix = PrefixOf(folder);
  std::set<std::string> folders;
  bool any = prefix.empty();
  for (const auto& [path, contents] : headless::Machine().files) {
    if (!path.starts_with(prefix)) continue;
    any = true;
    const std::string rest = path.substr(prefix.size());
    const size_t separator = rest.find('\\');
    if (separator == std::string::npos) {
      entries.push_back({headless::PathFromUtf8(rest), EntryKind::kFile});
    } else if (folders.insert(rest.substr(0, separator)).second) {
      entries.push_back({headless::PathFromUtf8(rest.substr(0, separator)), EntryKind::kFolder});
    }
  }
  return any;
}

// The in-memory system's names are UTF-8 already.
std::string DisplayUtf8(const Path& path) {
  return headless::Utf8(path);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes) {
  FileIdentity ignored;
  return ReadSmallFile(path, maxBytes, bytes, ignored);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes,
                         FileIdentity& identity) {
  bytes.clear();
  const std::string name = headless::Utf8(path);
  headless::Machine().trace.push_back("file read " + name);
  const auto& files = headless::Machine().files;
  const auto found = files.find(name);
  if (found == files.end()) {
    const auto next = files.lower_bound(name + "\\");
    return next != files.end() && next->first.starts_with(name + "\\") ? ReadStatus::kNotAFile
                                                                       : ReadStatus::kCannotRead;
  }
  identity = {0, static_cast<uint64_t>(std::distance(files.begin(), found))};
  if (found->second.size() > maxBytes) {
    bytes = found->second.substr(0, maxBytes + 1);
    return ReadStatus::kTooLarge;
  }
  bytes = found->second;
  return ReadStatus::kRead;
}

}  // namespace platform
