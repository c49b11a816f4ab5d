// Files named by std::filesystem paths, opened through C stdio, and the conversions between
// paths and UTF-8 text. Both keep the library's locale machinery (iostreams, codecvt) out of
// the Windows program, which it would make larger than the drills' 1 MiB.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace report {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens for reading, or for writing anew; null when the system refuses. Binary either way.
UniqueFile OpenFile(const std::filesystem::path& path, bool write);

// UTF-8 text as a path: to UTF-16 on Windows, the bytes as they are elsewhere.
std::filesystem::path PathFromUtf8(std::string_view utf8);
// A Windows path as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace report
