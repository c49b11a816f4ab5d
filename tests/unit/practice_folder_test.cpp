// The installer's rule for PRACTICEFOLDER (after the installer's own formatting): which values
// name a folder the shortcuts can start in, and the form the installer's folder table gets.
#include "packaging/practice_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(packaging::PracticeFolderPath(c.value), c.path);
  }
}

}  // namespace
