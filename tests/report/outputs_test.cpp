// The report's outputs decided before any is written, the old page's permissions, names
// at the limits, and folders swapped for links between the checks and the writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/file_system.h"
#include "report/report.h"
#include "scratch_folder.h"

namespace report {
namespace {

namespace fs = std::filesystem;

const std::string kLog =
    "Divide Quarn,2024/03/05,09:07:02,1\r\n"
    "7\x81\x7E?\x81\x81"
    "56,8,00:03.125,0\r\n";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class Outputs : public testing_support::ClassFolderTest {
 protected:
  void SetUp() override {
    ClassFolderTest::SetUp();
    Write("ken/a.log", kLog);
    saved = fs::current_path();
    fs::current_path(root / "class");
  }
  void TearDown() override {
    fs::current_path(saved);
    platform::TestHooks() = {};
    ClassFolderTest::TearDown();
  }
  Outcome Run(std::initializer_list<std::string> args) {
    std::vector<platform::Path> paths;
    for (const std::string& arg : args)
      paths.push_back(platform::Path(arg));
    paths.push_back(platform::Path("--no-open"));
    return WriteReport(ParseArguments(paths));
  }
  std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      names.insert(entry.path().lexically_relative(folder).generic_string());
    return names;
  }
  fs::path saved;
};

// Exit 2 has written nothing, whichever of the two outputs is at fault.
TEST_F(Outputs, BothAreDecidedBeforeEitherIsWritten) {
  fs::create_directory(root / "class" / "adir");
  Write("old.html", "old");
  fs::create_hard_link(root / "class" / "old.html", root / "class" / "alias.html");
  Write("locked.html", "kept");
  fs::permissions(root / "class" / "locked.html", fs::perms::owner_read | fs::perms::group_read);
  struct Case {
    const char* what;
    std::initializer_list<std::string> args;
  } cases[] = {
      {"the table named as the default page", {"--csv", "report.html"}},
      {"one file by two spellings", {"-o", "out.html", "--csv", "./out.html"}},
      {"one folder by two spellings", {"-o", "ken/out.html", "--csv", "ken/../ken/out.html"}},
      {"one file by a hard link", {"-o", "old.html", "--csv", "alias.html"}},
      {"the page is a folder", {"-o", "adir", "--csv", "x.csv"}},
      {"the table is a folder", {"-o", "y.html", "--csv", "adir"}},
      {"the page is read-only", {"-o", "locked.html", "--csv", "x.csv"}},
      {"the table is read-only", {"-o", "y.html", "--csv", "locked.html"}},
      {"the table in a missing folder", {"-o", "y.html", "--csv", "no/x.csv"}},
      {"the page names no file", {"-o", "ken/", "--csv", "x.csv"}},
      // The facts table, a third output, by the same rules.
      {"the two tables as one file", {"--csv", "t.csv", "--csv-facts", "./t.csv"}},
      {"the facts table as the page", {"-o", "old.html", "--csv-facts", "alias.html"}},
      {"the facts table is read-only", {"-o", "y.html", "--csv-facts", "locked.html"}},
      {"the facts table is a folder", {"--csv", "x.csv", "--csv-facts", "adir"}},
  };
  const std::set<std::string> before = Listing(root);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome outcome = Run(c.args);
    EXPECT_EQ(outcome.exitCode, kExitFailure);
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_EQ(Listing(root), before);
    EXPECT_EQ(ReadAll(root / "class" / "old.html"), "old");
    EXPECT_EQ(ReadAll(root / "class" / "locked.html"), "kept");
  }
  const Outcome all = Run({"-o", "out.html", "--csv", "out.csv", "--csv-facts", "facts.csv"});
  EXPECT_EQ(all.exitCode, kExitSuccess) << all.message;
  EXPECT_NE(ReadAll(root / "class" / "out.html").find("<html"), std::string::npos);
  EXPECT_EQ(ReadAll(root / "class" / "out.csv").substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(ReadAll(root / "class" / "facts.csv").find("56 ÷ 7 ＝ 8"), std::string::npos);
}

TEST_F(Outputs, TheOldPageKeepsItsPermissions) {
  Write("report.html", "old");
  const mode_t oldMask = umask(022);
  for (const mode_t mode : {0600, 0640, 0664}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(chmod((root / "class" / "report.html").c_str(), mode), 0);
    EXPECT_EQ(Run({}).exitCode, kExitSuccess);
    struct stat info;
    ASSERT_EQ(stat((root / "class" / "report.html").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
  }
  umask(oldMask);
}

// The longest name the system allows: the temporary name must fit beside it.
TEST_F(Outputs, ALongestNameIsWritten) {
  const std::string page = std::string(250, 'p') + ".html";
  const std::string table = std::string(251, 't') + ".csv";
  const Outcome outcome = Run({"-o", page, "--csv", table});
  EXPECT_EQ(outcome.exitCode, kExitSuccess) << outcome.message;
  EXPECT_TRUE(fs::exists(root / "class" / page));
  EXPECT_TRUE(fs::exists(root / "class" / table));
  EXPECT_LE(platform::kMaxTemporaryName, 20u);
}

// The output folder swapped for a link between the checks and the rename: the page still goes
// into the folder that was checked, and nothing reaches the link's target.
TEST_F(Outputs, AnOutputFolderSwappedForALinkIsNotFollowed) {
  fs::create_directories(root / "out");
  fs::create_directories(root / "elsewhere");
  platform::TestHooks().beforeReplace = [&] {
    if (fs::exists(root / "out-checked")) return;
    fs::rename(root / "out", root / "out-checked");
    fs::create_directory_symlink(root / "elsewhere", root / "out");
  };
  const Outcome outcome = Run(
      {"-o", (root / "out" / "page.html").string(), "--csv", (root / "out" / "t.csv").string()});
  EXPECT_EQ(outcome.exitCode, kExitSuccess) << outcome.message;
  EXPECT_EQ(Listing(root / "out-checked"), (std::set<std::string>{"page.html", "t.csv"}));
  EXPECT_TRUE(Listing(root / "elsewhere").empty());
}

// A learner's folder swapped for a link after the class folder was listed: nothing outside the
// class folder is read.
TEST_F(Outputs, ALearnerFolderSwappedForALinkIsNotFollowed) {
  Write("mio/b.log", kLog);
  fs::create_directories(root / "outside");
  std::ofstream(root / "outside" / "c.log", std::ios::binary)
      << "Divide Quarn,2024/03/09,09:07:02,1\r\n7\x81\x7E?\x81\x81"
         "56,8,00:03.125,0\r\n";
  platform::TestHooks().afterListing = [&] {
    if (fs::exists(root / "mio-listed")) return;
    fs::rename(root / "class" / "mio", root / "mio-listed");
    fs::create_directory_symlink(root / "outside", root / "class" / "mio");
  };
  const Collection collection = CollectLogs(platform::Path("."));
  // mio is listed as a child without a usable log, and none of the link's logs is read.
  ASSERT_EQ(collection.learners.size(), 2u);
  EXPECT_EQ(collection.learners[0].name, "ken");
  EXPECT_EQ(collection.learners[1].name, "mio");
  EXPECT_TRUE(collection.learners[1].runs.empty());
  ASSERT_EQ(collection.notRead.size(), 1u);
  EXPECT_EQ(collection.notRead[0].path, "mio");
}

// A rename that fails after both files were written: no temporary file is left, and the page
// was not put in place either.
TEST_F(Outputs, AFailedRenameLeavesNothingBehind) {
  Write("report.html", "old");
  platform::TestHooks().beforeReplace = [&] {
    fs::create_directories(root / "class" / "t.csv" / "in-the-way");
  };
  const Outcome outcome = Run({"--csv", "t.csv"});
  EXPECT_EQ(outcome.exitCode, kExitFailure);
  EXPECT_EQ(ReadAll(root / "class" / "report.html"), "old");
  EXPECT_EQ(Listing(root / "class"), (std::set<std::string>{"ken", "ken/a.log", "report.html",
                                                            "t.csv", "t.csv/in-the-way"}));
}

// The page's rename fails after the table's: the old table goes back, or the new one goes
// where there was none, and nothing of the run is left.
TEST_F(Outputs, APageThatCannotTakeItsPlacePutsTheOldTableBack) {
  for (const bool oldTable : {true, false}) {
    SCOPED_TRACE(oldTable ? "an old table" : "no old table");
    fs::remove_all(root / "class" / "page.html");
    fs::remove(root / "class" / "t.csv");
    if (oldTable) Write("t.csv", "last week's table");
    int commits = 0;
    platform::TestHooks().beforeReplace = [&] {
      if (++commits == 2) fs::create_directories(root / "class" / "page.html" / "in-the-way");
    };
    const Outcome outcome = Run({"-o", "page.html", "--csv", "t.csv"});
    EXPECT_EQ(outcome.exitCode, kExitFailure);
    EXPECT_EQ(fs::exists(root / "class" / "t.csv"), oldTable);
    if (oldTable) {
      EXPECT_EQ(ReadAll(root / "class" / "t.csv"), "last week's table");
    }
    std::set<std::string> expected = {"ken", "ken/a.log", "page.html", "page.html/in-the-way"};
    if (oldTable) expected.insert("t.csv");
    EXPECT_EQ(Listing(root / "class"), expected);
  }
}

// With both tables, the page's rename fails after theirs: each table goes back.
TEST_F(Outputs, APageThatCannotTakeItsPlacePutsBothTablesBack) {
  Write("t.csv", "last week's table");
  int commits = 0;
  platform::TestHooks().beforeReplace = [&] {
    if (++commits == 3) fs::create_directories(root / "class" / "page.html" / "in-the-way");
  };
  const Outcome outcome = Run({"-o", "page.html", "--csv", "t.csv", "--csv-facts", "f.csv"});
  EXPECT_EQ(outcome.exitCode, kExitFailure);
  EXPECT_EQ(commits, 3);
  EXPECT_EQ(ReadAll(root / "class" / "t.csv"), "last week's table");
  EXPECT_EQ(Listing(root / "class"), (std::set<std::string>{"ken", "ken/a.log", "page.html",
                                                            "page.html/in-the-way", "t.csv"}));
}

}  // namespace
}  // namespace report
