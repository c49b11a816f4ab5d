// Writing a file over an old one on Win32: the bytes go to a short name of their own beside it,
// and ReplaceFileW moves them over it, keeping the old file's attributes and security.
#include "platform/file_system.h"

#include "platform/win32/win32_files.h"  // <windows.h> before the headers that need it

#include <algorithm>
#include <string>
#include <utility>

namespace platform {

void SplitPath(const Path& path, Path& folder, Path& name) {
  const std::wstring& text = path.Native();
  const size_t cut = text.find_last_of(L"\\/");
  if (cut != std::wstring::npos) {
    // "C:\x" and "\x" keep the separator: without it they name another folder.
    const bool root = cut == 0 || (cut == 2 && text[1] == L':');
    folder = Path(text.substr(0, root ? cut + 1 : cut));
    name = Path(text.substr(cut + 1));
  } else if (text.size() >= 2 && text[1] == L':') {
    folder = Path(text.substr(0, 2));  // "C:out.html": the drive's current folder
    name = Path(text.substr(2));
  } else {
    folder = Path();
    name = path;
  }
}

// Windows drops dots and spaces at the end of a name and compares names without case.
bool SameName(const Path& x, const Path& y) {
  auto trimmed = [](const std::wstring& text) {
    const size_t end = text.find_last_not_of(L". ");
    return end == std::wstring::npos ? std::wstring() : text.substr(0, end + 1);
  };
  const std::wstring a = trimmed(x.Native()), b = trimmed(y.Native());
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

WriteError CheckReplaceable(const Folder& folder, const Path& name) {
  const std::wstring target = Join(folder.Where(), name).Native();
  if (HoldsOtherThanAFile(target)) return WriteError::kNotAFile;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return WriteError::kReadOnly;
  return WriteError::kNone;
}

ReplacingWrite::~ReplacingWrite() {
  if (!folder) return;
  if (!temporary.Empty()) ::DeleteFileW(Join(folder->Where(), temporary).Native().c_str());
  if (!kept.Empty()) ::DeleteFileW(Join(folder->Where(), kept).Native().c_str());
}

WriteOutcome ReplacingWrite::Prepare(const Folder& into, const Path& target,
                                     std::string_view bytes) {
  folder = &into;
  name = target;
  if (WriteError check = CheckReplaceable(into, target); check != WriteError::kNone) {
    return {check, {}};
  }
  // A short name of its own beside the old file: a move within one volume replaces it at
  // once, and a name no longer than kMaxTemporaryName fits wherever the page's own does.
  std::wstring candidate;
  FileHandle file;
  for (int attempt = 0; attempt < 100 && !file; attempt++) {
    candidate = L"~q" + Decimal(GetCurrentProcessId() % 1000000) + L"-" +
                Decimal(static_cast<DWORD>(attempt)) + L".tmp";
    // CREATE_NEW: a name someone else placed there, a link above all, is never opened.
    file =
        FileHandle(CreateFileW(Join(into.Where(), Path(candidate)).Native().c_str(), GENERIC_WRITE,
                               0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = GetLastError();
    if (!file && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return {WriteError::kCannotCreate, SystemText(error)};
    }
  }
  if (!file) return {WriteError::kCannotCreate, SystemText(ERROR_FILE_EXISTS)};
  temporary = Path(candidate);

  DWORD error = ERROR_SUCCESS;
  while (!bytes.empty() && error == ERROR_SUCCESS) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
      error = GetLastError();
      if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;
    }
    bytes.remove_prefix(written);
  }
  // A write the system accepted can still fail on its way to the disk; the flush shows it.
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
  if (error != ERROR_SUCCESS) return {WriteError::kCannotWrite, SystemText(error)};
  return {};
}

// ReplaceFileW gives the new file the old one's attributes, security, creation time and short
// name; a plain move would leave it the folder's inherited security instead. The old file is
// kept aside under a backup name of its own for Undo. Where there is no old file (or it went
// since the check), the new file is moved into place.
WriteOutcome ReplacingWrite::Commit() {
  if (!folder || temporary.Empty()) return {WriteError::kCannotWrite, {}};
  if (TestHooks().beforeReplace) TestHooks().beforeReplace();
  const std::wstring target = Join(folder->Where(), name).Native();
  const std::wstring written = Join(folder->Where(), temporary).Native();
  // The temporary name with another ending: as short, and as much this run's own.
  const std::wstring& own = temporary.Native();
  const std::wstring backupName = own.substr(0, own.size() - 4) + L".old";
  const std::wstring backup = Join(folder->Where(), Path(backupName)).Native();
  bool replaced = ReplaceFileW(target.c_str(), written.c_str(), backup.c_str(),
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr);
  DWORD error = replaced ? ERROR_SUCCESS : GetLastError();
  replacedOld = replaced;
  if (replaced && GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
    kept = Path(backupName);
  if (!replaced && error == ERROR_FILE_NOT_FOUND &&
      GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
    replaced = MoveFileExW(written.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    error = replaced ? ERROR_SUCCESS : GetLastError();
  }
  if (!replaced) return {WriteError::kCannotReplace, SystemText(error)};
  temporary = Path();
  committed = true;
  return {};
}

bool ReplacingWrite::Undo() {
  if (!committed) return true;
  committed = false;
  const std::wstring target = Join(folder->Where(), name).Native();
  if (kept.Empty()) return !replacedOld && ::DeleteFileW(target.c_str());
  // The old file itself goes back, with its own attributes and security.
  if (!MoveFileExW(Join(folder->Where(), kept).Native().c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  kept = Path();
  return true;
}

WriteOutcome WriteFileReplacing(const Path& path, std::string_view bytes) {
  Path folderPath, name;
  SplitPath(path, folderPath, name);
  if (name.Empty()) return {WriteError::kNotAFile, {}};
  Folder folder;
  if (!OpenFolder(folderPath, folder))
    return {WriteError::kCannotCreate, SystemText(GetLastError())};
  ReplacingWrite write;
  WriteOutcome outcome = write.Prepare(folder, name, bytes);
  return outcome.error == WriteError::kNone ? write.Commit() : outcome;
}

}  // namespace platform
