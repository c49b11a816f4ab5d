// The report's file-system needs on the C runtime (wide names) on Windows and on
// std::filesystem elsewhere.
#include "report/file_io.h"

#include "platform/utf8.h"

#include <cstdlib>

#if defined(_WIN32)
#include <io.h>
#include <sys/stat.h>
#endif

namespace report {

#if defined(_WIN32)

Path Path::operator/(const Path& name) const {
  if (text.empty()) return name;
  if (text.back() == L'\\' || text.back() == L'/') return Path(text + name.text);
  return Path(text + L'\\' + name.text);
}

bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  _wfinddata64_t found;
  const intptr_t search = _wfindfirst64((folder / Path(L"*")).c_str(), &found);
  if (search == -1) return false;
  do {
    const std::wstring name = found.name;
    if (name == L"." || name == L"..") continue;
    // A link to a folder is a reparse point; it is not followed, so no walk can loop.
    const bool folderEntry = (found.attrib & _A_SUBDIR) != 0;
    entries.push_back({folder / Path(name), platform::Utf8FromWide(name), folderEntry});
  } while (_wfindnext64(search, &found) == 0);
  _findclose(search);
  return true;
}

bool IsFolder(const Path& path) {
  struct _stat64 info;
  return _wstat64(path.c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}

std::string FolderName(const Path& folder) {
  std::unique_ptr<wchar_t, decltype(&std::free)> full(_wfullpath(nullptr, folder.c_str(), 0),
                                                      &std::free);
  std::wstring text = full ? full.get() : folder.native();
  while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/'))
    text.pop_back();
  const size_t cut = text.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut + 1 < text.size()) text.erase(0, cut + 1);
  return platform::Utf8FromWide(text);
}

UniqueFile OpenFile(const Path& path, bool write) {
  return UniqueFile(_wfopen(path.c_str(), write ? L"wb" : L"rb"));
}

#else

bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries) {
  namespace fs = std::filesystem;
  entries.clear();
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  if (ec) return false;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    std::error_code typeError;
    const bool link = entry.is_symlink(typeError);
    if (entry.is_directory(typeError) && !link) {
      entries.push_back({entry.path(), PathText(entry.path().filename()), true});
    } else if (entry.is_regular_file(typeError)) {
      entries.push_back({entry.path(), PathText(entry.path().filename()), false});
    }
  }
  return !ec;
}

bool IsFolder(const Path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

std::string FolderName(const Path& folder) {
  std::error_code ec;
  Path absolute = std::filesystem::absolute(folder, ec).lexically_normal();
  if (!absolute.has_filename()) absolute = absolute.parent_path();  // "x/" or "x/."
  return PathText(absolute.has_filename() ? absolute.filename() : absolute);
}

UniqueFile OpenFile(const Path& path, bool write) {
  return UniqueFile(std::fopen(path.c_str(), write ? "wb" : "rb"));
}

#endif

Path PathFromUtf8(std::string_view utf8) {
#if defined(_WIN32)
  return Path(platform::WideFromUtf8(utf8));
#else
  return Path(std::string(utf8));
#endif
}

}  // namespace report
