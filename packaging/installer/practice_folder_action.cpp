// The installer's custom actions for a class folder given as PRACTICEFOLDER: the value read
// with the installer's own formatting, the folder made where it can be, the shortcuts' working
// folder moved there, and the folder remembered per user for the upgrades and repairs that
// come without the property. Built as a DLL that only the msi carries.
#include "platform/win32/win32_handles.h"

#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>

#include "packaging/practice_folder.h"

namespace {

constexpr wchar_t kValueProperty[] = L"PRACTICEFOLDER";
// The directory the shortcuts start in: Documents\Quarn unless a class folder replaces it.
constexpr wchar_t kPracticeDirectory[] = L"PracticeDir";
// The unregistered component whose CreateFolder entry makes Documents\Quarn.
constexpr wchar_t kDocumentsComponent[] = L"PracticeFolder";
// Where the class folder an install used is kept for the next one, per user as the install is.
constexpr wchar_t kRememberedKey[] = L"Software\\Quarn";
constexpr wchar_t kRememberedValue[] = L"PracticeFolder";
// The product whose install last used the kept folder: only its own uninstall forgets it. The
// uninstall of an older version that an upgrade makes runs after the newer one has claimed the
// folder (and some installers do not say it is part of an upgrade).
constexpr wchar_t kClaimValue[] = L"PracticeFolderProduct";

struct RegCloseRelease {
  void operator()(HKEY h) const { RegCloseKey(h); }
};
using RegistryKey = win32::Unique<HKEY, RegCloseRelease>;

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

// A text kept under kRememberedKey; empty when there is none.
std::wstring Kept(const wchar_t* name) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRememberedKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
    return {};
  RegistryKey key(raw);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size < sizeof(wchar_t)) {
    return {};
  }
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                       &size) != ERROR_SUCCESS)
    return {};
  text.resize(std::min<size_t>(text.size(), size / sizeof(wchar_t)));
  while (!text.empty() && text.back() == L'\0')
    text.pop_back();
  return text;
}

// Keeps the folder for the next install (when `path` is given) and claims it for this product.
void Remember(MSIHANDLE install, const std::wstring* path) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRememberedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &raw, nullptr) != ERROR_SUCCESS) {
    Say(install, L"cannot keep the class folder for the next install");
    return;
  }
  RegistryKey key(raw);
  auto set = [&](const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  };
  if (path) set(kRememberedValue, *path);
  set(kClaimValue, Property(install, L"ProductCode"));
}

// Whether a file stands where the class folder or a folder above it should be: the folder
// could never be made, and the drills could write no log.
bool FileInTheWay(MSIHANDLE install, const std::wstring& path) {
  for (const std::wstring& folder : packaging::FolderAndParents(path)) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      Say(install, L"a file stands where the folder " + folder + L" should be");
      return true;
    }
  }
  return false;
}

// The class folder for this install: PRACTICEFOLDER when given and usable, else the one the
// last install kept. Nothing for Documents\Quarn.
std::optional<std::wstring> ChosenFolder(MSIHANDLE install, bool& given) {
  const std::wstring value = Property(install, kValueProperty);
  given = !value.empty();
  if (given) {
    const packaging::PracticeFolderChoice choice = packaging::ChoosePracticeFolder(
        value, [&](std::wstring_view name) { return Formatted(install, std::wstring(name)); });
    if (!choice.path) {
      Say(install,
          L"PRACTICEFOLDER " + choice.refusal + L": the shortcuts start in Documents\\Quarn");
    }
    return choice.path;
  }
  const std::wstring remembered = Kept(kRememberedValue);
  if (remembered.empty()) return std::nullopt;
  std::optional<std::wstring> path = packaging::PracticeFolderPath(remembered);
  Say(install, path ? L"PRACTICEFOLDER not given: the class folder of the last install, " + *path
                    : L"the kept class folder \"" + remembered + L"\" is no longer usable");
  return path;
}

}  // namespace

// After CostFinalize has resolved the folders: reads PRACTICEFOLDER (or, without it, the folder
// the last install kept), makes the class folder where it can and points the shortcuts'
// working folder at it. Nothing here fails the install: a share out of reach now may be there
// when a child starts a drill, and a value that would break a class (packaging/
// practice_folder.h says which) leaves Documents\Quarn, with the reason in the log.
extern "C" __declspec(dllexport) UINT __stdcall UsePracticeFolder(MSIHANDLE install) {
  try {
    bool given = false;
    const std::optional<std::wstring> path = ChosenFolder(install, given);
    if (!path || FileInTheWay(install, *path)) return ERROR_SUCCESS;
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
    // A new PRACTICEFOLDER replaces the kept one; either way this product now holds it.
    Remember(install, given ? &*path : nullptr);
  } catch (...) {
    // Out of memory at worst: the shortcuts keep Documents\Quarn.
  }
  return ERROR_SUCCESS;
}

// At an uninstall: the kept class folder is forgotten with the programs, so that a later
// install without PRACTICEFOLDER starts afresh in Documents\Quarn; but not when a newer
// version has claimed it, as at the removal of the older version in an upgrade.
extern "C" __declspec(dllexport) UINT __stdcall ForgetPracticeFolder(MSIHANDLE install) {
  try {
    if (Kept(kClaimValue) != Property(install, L"ProductCode")) return ERROR_SUCCESS;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRememberedKey, 0, KEY_SET_VALUE, &raw) == ERROR_SUCCESS) {
      RegistryKey key(raw);
      RegDeleteValueW(key.Get(), kClaimValue);
      if (RegDeleteValueW(key.Get(), kRememberedValue) == ERROR_SUCCESS)
        Say(install, L"the kept class folder is forgotten");
    }
  } catch (...) {
    // Out of memory at worst: the folder stays kept.
  }
  return ERROR_SUCCESS;
}
