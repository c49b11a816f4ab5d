// The report's file interface on the real file system of the host, and the Windows layer's
// reading of what a folder entry is.
#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/win32/find_kind.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::EntryKind;
using platform::Path;

// Junctions and directory links are name surrogates and are never walked into; a cloud
// drive's placeholders are reparse points too, but hold the learner's real files.
TEST(Win32FindKind, ReparsePointsThatNameAnotherPlaceAreLinks) {
  constexpr uint32_t kDirectory = 0x10, kArchive = 0x20, kDevice = 0x40, kReparse = 0x400;
  constexpr uint32_t kJunction = 0xA0000003, kSymlink = 0xA000000C, kCloud = 0x9000001A,
                     kDedup = 0x80000013;
  struct Case {
    const char* what;
    uint32_t attributes, tag;
    EntryKind kind;
  } cases[] = {
      {"folder", kDirectory, 0, EntryKind::kFolder},
      {"file", kArchive, 0, EntryKind::kFile},
      {"junction", kDirectory | kReparse, kJunction, EntryKind::kLink},
      {"directory link", kDirectory | kReparse, kSymlink, EntryKind::kLink},
      {"file link", kArchive | kReparse, kSymlink, EntryKind::kLink},
      {"cloud folder", kDirectory | kReparse, kCloud, EntryKind::kFolder},
      {"cloud file", kArchive | kReparse, kCloud, EntryKind::kFile},
      {"deduplicated file", kArchive | kReparse, kDedup, EntryKind::kFile},
      {"device", kDevice, 0, EntryKind::kOther},
      // Without the reparse attribute the tag field means nothing.
      {"folder with a stale tag", kDirectory, kJunction, EntryKind::kFolder},
  };
  for (const Case& c : cases)
    EXPECT_EQ(win32::KindFromAttributes(c.attributes, c.tag), c.kind) << c.what;
}

class FileSystem : public testing_support::ScratchFolder {
 protected:
  Path At(const fs::path& relative) const { return Path((root / relative).native()); }
};

TEST_F(FileSystem, ListsEntriesWithoutFollowingLinks) {
  Write("a.log", "x");
  fs::create_directory(root / "ken");
  fs::create_directory_symlink(root / "ken", root / "to-ken");
  fs::create_symlink(root / "a.log", root / "to-a.log");
  ASSERT_EQ(mkfifo((root / "pipe.log").c_str(), 0600), 0);
  std::vector<platform::FolderEntry> entries;
  ASSERT_TRUE(platform::ListFolder(At(""), entries));
  std::map<std::string, EntryKind> kinds;
  for (const platform::FolderEntry& entry : entries)
    kinds[entry.name.Native()] = entry.kind;
  EXPECT_EQ(kinds, (std::map<std::string, EntryKind>{{"a.log", EntryKind::kFile},
                                                     {"ken", EntryKind::kFolder},
                                                     {"pipe.log", EntryKind::kOther},
                                                     {"to-a.log", EntryKind::kLink},
                                                     {"to-ken", EntryKind::kLink}}));
  EXPECT_FALSE(platform::ListFolder(At("missing"), entries));
  EXPECT_FALSE(platform::ListFolder(At("a.log"), entries));
}

TEST_F(FileSystem, ReadsOnlyRegularFilesUpToTheCap) {
  Write("small.log", "12345");
  Write("large.log", std::string(20, 'x'));
  fs::create_symlink(root / "small.log", root / "link.log");
  fs::create_hard_link(root / "small.log", root / "hard.log");
  ASSERT_EQ(mkfifo((root / "pipe.log").c_str(), 0600), 0);  // no writer: opening must not wait
  struct Case {
    const char* name;
    platform::ReadStatus status;
    std::string bytes;
  } cases[] = {
      {"small.log", platform::ReadStatus::kRead, "12345"},
      {"large.log", platform::ReadStatus::kTooLarge, std::string(11, 'x')},
      {"link.log", platform::ReadStatus::kNotAFile, ""},
      {"pipe.log", platform::ReadStatus::kNotAFile, ""},
      {"missing.log", platform::ReadStatus::kCannotRead, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "left over";
    platform::FileIdentity identity;
    EXPECT_EQ(platform::ReadSmallFile(At(c.name), 10, bytes, identity), c.status) << c.name;
    EXPECT_EQ(bytes, c.bytes) << c.name;
  }
  platform::FileIdentity small, hard, large;
  std::string bytes;
  platform::ReadSmallFile(At("small.log"), 10, bytes, small);
  ASSERT_TRUE(platform::IdentityOf(At("hard.log"), hard));
  ASSERT_TRUE(platform::IdentityOf(At("large.log"), large));
  EXPECT_EQ(small, hard);
  EXPECT_NE(small, large);
  EXPECT_FALSE(platform::IdentityOf(At("missing.log"), large));
}

TEST(PathText, NamesThatAreNoUtf8) {
  struct Case {
    std::string native, display, escaped;
  } cases[] = {
      {"\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89", "\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89",
       "\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89"},                          // さくら in UTF-8
      {"\x8E\x52\x93\x63", "\xE5\xB1\xB1\xE7\x94\xB0", "\\x8ER\\x93c"},  // 山田 in CP932
      {"a\xFF", "a\xEF\xBF\xBD", "a\\xFF"},
      {"a\xFE", "a\xEF\xBF\xBD", "a\\xFE"},
      // Each name decodes on its own: a CP932 folder in a UTF-8 one.
      {"\xE3\x81\x95/\x8E\x52\x93\x63", "\xE3\x81\x95/\xE5\xB1\xB1\xE7\x94\xB0",
       "\xE3\x81\x95/\\x8ER\\x93c"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::DisplayUtf8(Path(c.native)), c.display) << c.native;
    EXPECT_EQ(platform::EscapedUtf8(Path(c.native)), c.escaped) << c.native;
  }
}

TEST(PathText, JoinAndFolderName) {
  EXPECT_EQ(platform::Join(Path("a"), Path("b")).Native(), "a/b");
  EXPECT_EQ(platform::Join(Path("a/"), Path("b")).Native(), "a/b");
  EXPECT_EQ(platform::Join(Path(""), Path("b")).Native(), "b");
  const std::string here = fs::current_path().filename().native();
  struct Case {
    std::string folder, name;
  } cases[] = {{"/x/class", "class"},
               {"/x/class/", "class"},
               {"/x/class/.", "class"},
               {"/x/class/../class", "class"},
               {".", here},
               {"/", "/"}};
  for (const Case& c : cases)
    EXPECT_EQ(platform::FolderName(Path(c.folder)).Native(), c.name) << c.folder;
}

TEST_F(FileSystem, WriteReplacesTheOldFileWhole) {
  Write("page.html", "old");
  ASSERT_EQ(platform::WriteFileReplacing(At("page.html"), "new page").error,
            platform::WriteError::kNone);
  std::ifstream in(root / "page.html", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "new page");
  platform::WriteOutcome missing = platform::WriteFileReplacing(At("no/page.html"), "x");
  EXPECT_EQ(missing.error, platform::WriteError::kCannotCreate);
  EXPECT_FALSE(missing.systemText.empty());
  fs::create_directory(root / "folder.html");
  EXPECT_EQ(platform::WriteFileReplacing(At("folder.html"), "x").error,
            platform::WriteError::kNotAFile);
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2)
      << "a temporary file was left behind";
}

TEST(PathText, SplitPath) {
  struct Case {
    std::string path, folder, name;
  } cases[] = {{"out.html", "", "out.html"},
               {"a/out.html", "a", "out.html"},
               {"/out.html", "/", "out.html"},
               {"a/", "a", ""},
               {"./a/../b/out.html", "./a/../b", "out.html"}};
  for (const Case& c : cases) {
    Path folder, name;
    platform::SplitPath(Path(c.path), folder, name);
    EXPECT_EQ(folder.Native(), c.folder) << c.path;
    EXPECT_EQ(name.Native(), c.name) << c.path;
  }
}

// Through an open folder nothing behind a link is opened, read or replaced.
TEST_F(FileSystem, AnOpenFolderNeverFollowsALink) {
  Write("ken/a.log", "x");
  Write("locked.html", "x");
  fs::permissions(root / "locked.html", fs::perms::owner_read);
  fs::create_directory_symlink(root / "ken", root / "to-ken");
  fs::create_symlink(root / "ken" / "a.log", root / "to-a.log");
  platform::Folder folder, sub;
  ASSERT_TRUE(platform::OpenFolder(At(""), folder));
  EXPECT_TRUE(platform::OpenSubfolder(folder, Path("ken"), sub));
  EXPECT_FALSE(platform::OpenSubfolder(folder, Path("to-ken"), sub));
  std::string bytes;
  platform::FileIdentity identity;
  EXPECT_EQ(platform::ReadSmallFile(folder, Path("to-a.log"), 10, bytes, identity),
            platform::ReadStatus::kNotAFile);
  EXPECT_EQ(platform::CheckReplaceable(folder, Path("to-a.log")), platform::WriteError::kNotAFile);
  EXPECT_EQ(platform::CheckReplaceable(folder, Path("ken")), platform::WriteError::kNotAFile);
  EXPECT_EQ(platform::CheckReplaceable(folder, Path("locked.html")),
            platform::WriteError::kReadOnly);
  EXPECT_EQ(platform::CheckReplaceable(folder, Path("new.html")), platform::WriteError::kNone);
}

}  // namespace
