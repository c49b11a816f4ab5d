// The installer's custom action for a class folder given as PRACTICEFOLDER: the value read
// with the installer's own formatting, the folder made where it can be, and the shortcuts'
// working folder moved there. Built as a DLL that only the msi carries.
#include "platform/win32/win32_handles.h"

#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "packaging/practice_folder.h"

namespace {

constexpr wchar_t kValueProperty[] = L"PRACTICEFOLDER";
// The directory the shortcuts start in: Documents\Quarn unless a class folder replaces it.
constexpr wchar_t kPracticeDirectory[] = L"PracticeDir";
// The unregistered component whose CreateFolder entry makes Documents\Quarn.
constexpr wchar_t kDocumentsComponent[] = L"PracticeFolder";

struct MsiCloseRelease {
  void operator()(MSIHANDLE h) const { MsiCloseHandle(h); }
  static MSIHANDLE None() { return 0; }
};
using MsiRecord = win32::Unique<MSIHANDLE, MsiCloseRelease>;

// Calls an installer function that fills a text buffer twice: once for the length, once for
// the text. The length it reports leaves out the terminating null.
template <class Fill>
std::wstring FilledText(Fill fill) {
  wchar_t probe[1] = L"";
  DWORD length = 0;
  // Success with no room at all: the text is empty, or the property not set.
  if (fill(probe, &length) != ERROR_MORE_DATA) return {};
  std::wstring text(length + 1, L'\0');
  DWORD capacity = length + 1;
  if (fill(text.data(), &capacity) != ERROR_SUCCESS) return {};
  text.resize(capacity);
  return text;
}

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  return FilledText(
      [&](wchar_t* buffer, DWORD* size) { return MsiGetPropertyW(install, name, buffer, size); });
}

// A value given to msiexec is taken as it stands, brackets and all. Formatting it here
// expands the installer's properties in it, such as [LogonUser] for a folder per child.
std::wstring Formatted(MSIHANDLE install, const std::wstring& text) {
  MsiRecord record(MsiCreateRecord(0));
  if (!record || MsiRecordSetStringW(record.Get(), 0, text.c_str()) != ERROR_SUCCESS) return {};
  return FilledText([&](wchar_t* buffer, DWORD* size) {
    return MsiFormatRecordW(install, record.Get(), buffer, size);
  });
}

// A line in the installer's log (msiexec /l*v).
void Say(MSIHANDLE install, const std::wstring& text) {
  MsiRecord record(MsiCreateRecord(1));
  if (!record) return;
  // Field 0 is a template the installer formats; the text goes in as field 1, unformatted.
  MsiRecordSetStringW(record.Get(), 0, L"Quarn: [1]");
  MsiRecordSetStringW(record.Get(), 1, text.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record.Get());
}

}  // namespace

// After CostFinalize has resolved the folders: reads PRACTICEFOLDER, makes the class folder
// where it can and points the shortcuts' working folder at it. Nothing here fails the install:
// a share out of reach now may be there when a child starts a drill, and a value that is no
// full path leaves Documents\Quarn as it is without the property.
extern "C" __declspec(dllexport) UINT __stdcall UsePracticeFolder(MSIHANDLE install) {
  try {
    const std::wstring value = Property(install, kValueProperty);
    if (value.empty()) return ERROR_SUCCESS;
    const std::wstring formatted = Formatted(install, value);
    const std::optional<std::wstring> path = packaging::PracticeFolderPath(formatted);
    if (!path) {
      Say(install, L"PRACTICEFOLDER \"" + formatted +
                       L"\" is no full path: the shortcuts start in Documents\\Quarn");
      return ERROR_SUCCESS;
    }
    // Documents\Quarn's CreateFolder entry would make whatever PracticeDir names; a folder there
    // that cannot be made fails the whole install, so the class folder is made here instead.
    MsiSetComponentStateW(install, kDocumentsComponent, INSTALLSTATE_ABSENT);
    // Without the final "\", except for a drive's root.
    const std::wstring folder = path->size() > 3 ? path->substr(0, path->size() - 1) : *path;
    const int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
      Say(install, L"cannot make " + folder + L" now (error " + std::to_wstring(made) + L")");
    if (MsiSetTargetPathW(install, kPracticeDirectory, path->c_str()) != ERROR_SUCCESS) {
      // The shortcut table names its working folder by a property; where the installer will
      // not take the path as a directory's target, the property still carries it there.
      Say(install, L"the installer refuses " + *path + L" as a folder; kept as the property");
      MsiSetPropertyW(install, kPracticeDirectory, path->c_str());
    }
    Say(install, L"the shortcuts start in the class folder " + *path);
  } catch (...) {
    // Out of memory at worst: the shortcuts keep Documents\Quarn.
  }
  return ERROR_SUCCESS;
}
