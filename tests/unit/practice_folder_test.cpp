// The installer's rule for PRACTICEFOLDER (after the installer's own formatting): which values
// name a folder the shortcuts can start in, and the form the installer's folder table gets.
#include "packaging/practice_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Case {
  const char* what;
  std::wstring value;
  std::optional<std::wstring> path;
};

TEST(PracticeFolder, TakesFullPathsOnly) {
  const Case cases[] = {
      {"a share, one folder per child", L"\\\\server\\quarn\\k.sato",
       L"\\\\server\\quarn\\k.sato\\"},
      {"a share itself", L"\\\\server\\quarn", L"\\\\server\\quarn\\"},
      {"a drive", L"D:\\Quarn\\4-2", L"D:\\Quarn\\4-2\\"},
      {"a drive's root", L"D:\\", L"D:\\"},
      {"a drive letter alone", L"D:", L"D:\\"},
      {"a lower-case drive", L"d:\\quarn", L"d:\\quarn\\"},
      {"final separators become one", L"\\\\server\\quarn\\\\\\", L"\\\\server\\quarn\\"},
      {"forward slashes", L"//server/quarn/k.sato/", L"\\\\server\\quarn\\k.sato\\"},
      {"spaces around", L"  C:\\Quarn class \t", L"C:\\Quarn class\\"},
      {"quotes kept by msiexec", L"\"\\\\server\\quarn\"", L"\\\\server\\quarn\\"},
      {"Japanese names", L"\\\\server\\\x304f\x308f\x30fc\x3093\\\x4f50\x85e4",
       L"\\\\server\\\x304f\x308f\x30fc\x3093\\\x4f50\x85e4\\"},
      // Nothing the shortcuts could start in: Documents\Quarn stays.
      {"empty", L"", std::nullopt},
      {"spaces only", L"   ", std::nullopt},
      {"relative", L"quarn\\k.sato", std::nullopt},
      {"relative to the drive's current folder", L"C:quarn", std::nullopt},
      {"relative to the current drive", L"\\quarn", std::nullopt},
      {"a server without a share", L"\\\\server", std::nullopt},
      {"a server with an empty share", L"\\\\server\\\\quarn", std::nullopt},
      {"no server name", L"\\\\\\quarn", std::nullopt},
      {"an empty folder inside", L"C:\\quarn\\\\k.sato", std::nullopt},
      {"a wildcard", L"C:\\quarn\\*", std::nullopt},
      {"a second colon", L"C:\\quarn:k.sato", std::nullopt},
      {"a colon in a share", L"\\\\server\\c:", std::nullopt},
      {"a drive that is no letter", L"1:\\quarn", std::nullopt},
      // Paths that would put the children's folders elsewhere than the name says.
      {"a parent folder", L"C:\\qc\\..\\k.sato", std::nullopt},
      {"the folder itself", L"C:\\qc\\.\\k.sato", std::nullopt},
      {"dots and spaces, cut to a dot", L"C:\\qc\\. .", std::nullopt},
      {"a share's parent", L"\\\\server\\quarn\\..", std::nullopt},
      {"a device", L"\\\\.\\pipe\\quarn", std::nullopt},
      {"a literal path", L"\\\\?\\C:\\quarn", std::nullopt},
      {"a name with dots inside", L"C:\\qc\\k.sato..x", L"C:\\qc\\k.sato..x\\"},
      {"as long as a log still fits", L"C:\\" + std::wstring(236, L'q'),
       L"C:\\" + std::wstring(236, L'q') + L"\\"},
      {"too long to hold a log", L"C:\\" + std::wstring(237, L'q'), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(packaging::PracticeFolderPath(c.value), c.path);
  }
}

// The installer's formatting of each name: [LogonUser] and [PersonalFolder] are known,
// [%USERNAME%] is the variable's value (empty where it is missing), anything else is empty.
std::wstring Format(std::wstring_view name, const wchar_t* user) {
  std::wstring text(name);
  const std::pair<std::wstring, std::wstring> properties[] = {
      {L"[LogonUser]", L"k.sato"},
      {L"[PersonalFolder]", L"C:\\users\\k.sato\\Documents\\"},
      {L"[%USERNAME%]", user},
      {L"[NoSuchProperty]", L""},
  };
  for (const auto& [property, value] : properties) {
    for (size_t at; (at = text.find(property)) != std::wstring::npos;)
      text.replace(at, property.size(), value);
  }
  return text;
}

TEST(PracticeFolder, RefusesValuesThatWouldBreakAClass) {
  struct Choice {
    const char* what;
    std::wstring value;
    const wchar_t* user;
    std::optional<std::wstring> path;
  } cases[] = {
      {"one folder per child", L"C:\\quarn-class\\[LogonUser]", L"", L"C:\\quarn-class\\k.sato\\"},
      {"a share per child", L"\\\\server\\quarn\\[LogonUser]", L"", L"\\\\server\\quarn\\k.sato\\"},
      {"a folder property", L"[PersonalFolder]\\Quarn", L"",
       L"C:\\users\\k.sato\\Documents\\Quarn\\"},
      {"the variable set", L"C:\\qc\\[%USERNAME%]", L"ken", L"C:\\qc\\ken\\"},
      // Each of these would make the class root every child's folder, or worse.
      {"a property that comes to nothing", L"C:\\qc\\[NoSuchProperty]", L"", std::nullopt},
      {"a missing variable", L"C:\\qc\\[%USERNAME%]", L"", std::nullopt},
      {"a variable left unexpanded", L"C:\\qc\\[%USERNAME%]", L"%USERNAME%", std::nullopt},
      {"a bracket left over", L"C:\\qc\\[LogonUser", L"", std::nullopt},
      {"nothing in the middle", L"C:\\[NoSuchProperty]\\k", L"", std::nullopt},
      {"a parent folder", L"C:\\qc\\..\\[LogonUser]", L"", std::nullopt},
      {"a device", L"\\\\.\\pipe\\[LogonUser]", L"", std::nullopt},
  };
  for (const Choice& c : cases) {
    SCOPED_TRACE(c.what);
    const packaging::PracticeFolderChoice choice = packaging::ChoosePracticeFolder(
        c.value, [&](std::wstring_view name) { return Format(name, c.user); });
    EXPECT_EQ(choice.path, c.path);
    EXPECT_EQ(choice.refusal.empty(), c.path.has_value());
  }
}

TEST(PracticeFolder, FoldersAFileCouldStandIn) {
  using Folders = std::vector<std::wstring>;
  EXPECT_EQ(packaging::FolderAndParents(L"C:\\qc\\k\\"), (Folders{L"C:\\qc", L"C:\\qc\\k"}));
  EXPECT_EQ(packaging::FolderAndParents(L"C:\\"), (Folders{L"C:\\"}));
  EXPECT_EQ(packaging::FolderAndParents(L"\\\\server\\quarn\\k\\"),
            (Folders{L"\\\\server\\quarn", L"\\\\server\\quarn\\k"}));
}

}  // namespace
