// The report's few file-system needs: a path type, listing a folder, opening a file, and
// paths as UTF-8 text. On Windows they sit on the C runtime's wide functions instead of
// std::filesystem, whose path conversions bring the library's whole locale machinery into
// the static program (half a megabyte, past the 1 MiB the programs keep to).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if !defined(_WIN32)
#include <filesystem>
#endif

namespace report {

#if defined(_WIN32)
// A path as the system's UTF-16 text, with the few operations the report uses, named as
// std::filesystem::path names them.
class Path {
 public:
  Path() = default;
  Path(std::wstring text) : text(std::move(text)) {}
  Path(const wchar_t* text) : text(text) {}
  const std::wstring& native() const { return text; }
  const wchar_t* c_str() const { return text.c_str(); }
  bool empty() const { return text.empty(); }
  // Joins with one backslash.
  Path operator/(const Path& name) const;

 private:
  std::wstring text;
};
#else
using Path = std::filesystem::path;
#endif

struct FolderEntry {
  Path path;
  std::string name;  // UTF-8
  bool folder = false;
};

// The files and subfolders of a folder, in no order; links to folders are not followed.
// False when the folder cannot be read.
bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries);
bool IsFolder(const Path& path);
// The name of the folder itself, from its absolute form: "class" for "class/", for "." in
// it, and for "/x/class/../class".
std::string FolderName(const Path& folder);

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens for reading, or for writing anew; null when the system refuses. Binary either way.
UniqueFile OpenFile(const Path& path, bool write);

// UTF-8 text as a path: to UTF-16 on Windows, the bytes as they are elsewhere.
Path PathFromUtf8(std::string_view utf8);
// A path or name as UTF-8 for the report: wide names on Windows are converted; byte names
// elsewhere are taken as UTF-8 when they are, else as CP932.
std::string PathText(const Path& path);

}  // namespace report
