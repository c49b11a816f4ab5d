// The folder walk, the command line, the page's parts and the whole run from folder to file,
// on folders made in a temporary directory.
#include "report/report.h"

#include "report/chart.h"
#include "report/first_screen.h"
#include "report/grids.h"
#include "report/wording.h"
#include "scratch_folder.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

namespace report {
namespace {

namespace fs = std::filesystem;

platform::Path P(const fs::path& path) {
  return platform::Path(path.native());
}

std::vector<platform::Path> Args(std::initializer_list<fs::path> args) {
  std::vector<platform::Path> paths;
  for (const fs::path& arg : args)
    paths.push_back(P(arg));
  return paths;
}

#define TIMES "\x81\x7E"
#define EQUALS "\x81\x81"

const std::string kLog =
    "Divide Quarn,2024/03/05,09:07:02,2\r\n"
    "7" TIMES "?" EQUALS
    "56,8,00:03.125,0\r\n"
    "4" TIMES "6" EQUALS "2?,4,00:05.500,1\r\n";

// The same run a day later.
const std::string kLaterLog = "Divide Quarn,2024/03/06" + kLog.substr(kLog.find(",09:"));

class TempFolder : public testing_support::ClassFolderTest {
 protected:
  std::set<std::string> Listing() {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root / "class")) {
      names.insert(entry.path().lexically_relative(root / "class").generic_string());
    }
    return names;
  }
};

TEST_F(TempFolder, LearnersFromSubfolders) {
  Write("20240305090702.log", kLog);
  Write("ken/a.log", kLog);
  Write("ken/older/b.LOG", kLaterLog);  // deeper folders belong to the same learner
  Write("ken/notes.txt", "not a log");
  Write("\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89/c.log", kLog);  // さくら in UTF-8
  Write("\x8E\x52\x93\x63/d.log", kLog);                      // 山田 in CP932
  Write("kid10/e.log", kLog);
  Write("kid9/f.log", kLog);
  Collection collection = CollectLogs(P(root / "class"));
  std::vector<std::pair<std::string, size_t>> learners;
  for (const Learner& l : collection.learners)
    learners.emplace_back(l.name, l.runs.size());
  EXPECT_EQ(learners, (std::vector<std::pair<std::string, size_t>>{
                          {"\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89", 1},
                          {"class", 1},
                          {"ken", 2},
                          {"kid9", 1},
                          {"kid10", 1},
                          {"\xE5\xB1\xB1\xE7\x94\xB0", 1}}));
  EXPECT_EQ(collection.filesRead, 7);
  EXPECT_TRUE(collection.notRead.empty());

  // A trailing separator names the same folder.
  Collection again = CollectLogs(P((root / "class").string() + "/"));
  ASSERT_EQ(again.learners.size(), 6u);
  EXPECT_EQ(again.learners[1].name, "class");
}

TEST_F(TempFolder, FilesNotReadAndPartlyRead) {
  Write("ken/good.log", kLog);
  Write("ken/backup/good.log", kLog);  // a copy: the same drill and start
  Write("ken/empty.log", "");
  Write("ken/bom.log", "\xEF\xBB\xBF");  // a UTF-8 byte order mark and nothing else
  Write("ken/other.log", "2024-03-05 INFO service started\n");
  Write("ken/huge.log", std::string(drill::kMaxLogBytes + 1, 'x'));
  Write("ken/date.log",
        "Divide Quarn,2024/13/05,09:07:02,1\r\n7" TIMES "?" EQUALS "56,8,00:03.125,0\r\n");
  std::string cut = "Divide Quarn,2024/03/07" + kLog.substr(kLog.find(",09:"));
  Write("ken/cut.log", cut.substr(0, cut.size() - 5));
  Write("ken/count.log",
        "Divide Quarn,2024/03/06,09:07:02,100\r\n7" TIMES "?" EQUALS "56,8,00:03.125,0\r\n");
  Collection collection = CollectLogs(P(root / "class"));
  std::vector<std::string> notRead;
  for (const FileNote& note : collection.notRead) {
    notRead.push_back(note.path);
    EXPECT_FALSE(note.reason.empty()) << note.path;
  }
  // Of a log and its copy the one with the shorter name is kept, whichever is listed first.
  EXPECT_EQ(notRead, (std::vector<std::string>{"ken/backup/good.log", "ken/bom.log", "ken/date.log",
                                               "ken/empty.log", "ken/huge.log", "ken/other.log"}));
  ASSERT_EQ(collection.notRead.size(), 6u);
  EXPECT_EQ(collection.notRead[1].reason, "空のファイル");
  EXPECT_EQ(collection.notRead[3].reason, "空のファイル");
  EXPECT_EQ(collection.notRead[0].detail, "ken/good.logと同じ回");
  ASSERT_EQ(collection.partlyRead.size(), 2u);
  EXPECT_EQ(collection.partlyRead[0].path, "ken/count.log");
  EXPECT_NE(collection.partlyRead[0].detail.find("100"), std::string::npos);
  EXPECT_EQ(collection.partlyRead[1].path, "ken/cut.log");
  EXPECT_NE(collection.partlyRead[1].detail.find("1行を読み飛ばしました"), std::string::npos);
  ASSERT_EQ(collection.learners.size(), 1u);
  EXPECT_EQ(collection.learners[0].runs.size(), 3u);
}

TEST_F(TempFolder, WritesOnlyTheReportAndEscapesNames) {
  Write("<b>&amp;/a.log", kLog);
  Write("ken/a.log", kLog);
  Write("ken/bad.log", "no log");
  std::set<std::string> before = Listing();
  Options options = ParseArguments(Args({root / "class", "--no-open"}));
  Outcome outcome = WriteReport(options);
  ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
  std::set<std::string> after = Listing();
  before.insert("report.html");
  EXPECT_EQ(after, before);

  std::ifstream in(root / "class" / "report.html", std::ios::binary);
  std::stringstream page;
  page << in.rdbuf();
  std::string html = page.str();
  EXPECT_NE(html.find("&lt;b&gt;&amp;amp;"), std::string::npos);
  EXPECT_EQ(html.find("<b>&amp;"), std::string::npos);
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("http"), std::string::npos);  // nothing fetched
}

TEST_F(TempFolder, FolderWithoutLogsSaysSo) {
  Write("notes.txt", "no logs here");
  Outcome outcome = WriteReport(ParseArguments(Args({root / "class", "--no-open"})));
  ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
  std::ifstream in(root / "class" / "report.html", std::ios::binary);
  std::stringstream page;
  page << in.rdbuf();
  EXPECT_NE(page.str().find("class=\"empty\""), std::string::npos);
}

TEST_F(TempFolder, FailuresExitWithTwo) {
  Write("ken/a.log", kLog);
  fs::create_directories(root / "class" / "taken.html");
  struct Case {
    const char* what;
    fs::path folder;
    fs::path output;
  } cases[] = {
      {"missing folder", root / "missing", root / "out.html"},
      {"folder is a file", root / "class" / "ken" / "a.log", root / "out.html"},
      {"output in a missing folder", root / "class", root / "missing" / "out.html"},
      {"output is a folder", root / "class", root / "class" / "taken.html"},
  };
  for (const Case& c : cases) {
    Outcome outcome = WriteReport(ParseArguments(Args({c.folder, "-o", c.output, "--no-open"})));
    EXPECT_EQ(outcome.exitCode, kExitFailure) << c.what;
    EXPECT_FALSE(outcome.message.empty()) << c.what;
  }
  EXPECT_FALSE(fs::exists(root / "out.html"));
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs work in a child process as an ordinary user and returns what it returns: root reads a
// folder whatever its permissions say.
std::string AsOrdinaryUser(const std::function<std::string()>& work) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "no pipe";
  pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    constexpr uid_t kNobody = 65534;
    std::string result = "cannot become an ordinary user";
    if (geteuid() != 0 ||
        (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0)) {
      result = work();
    }
    ssize_t ignored = write(pipeEnds[1], result.data(), result.size());
    (void)ignored;
    _exit(0);
  }
  close(pipeEnds[1]);
  std::string result;
  char piece[4096];
  for (ssize_t n; (n = read(pipeEnds[0], piece, sizeof piece)) > 0;)
    result.append(piece, static_cast<size_t>(n));
  close(pipeEnds[0]);
  waitpid(child, nullptr, 0);
  return result;
}

// A link or a FIFO where the page goes is left as it is, and nothing behind it is written.
TEST_F(TempFolder, OutputThatIsNoRegularFileIsRefused) {
  Write("ken/a.log", kLog);
  const fs::path victim = root / "victim.txt";
  std::ofstream(victim, std::ios::binary) << "the teacher's own file";
  const fs::path page = root / "class" / "report.html";
  struct Case {
    const char* what;
    std::function<void()> make;
    fs::file_type type;
  } cases[] = {
      {"link to a file", [&] { fs::create_symlink(victim, page); }, fs::file_type::symlink},
      {"dangling link", [&] { fs::create_symlink(root / "new.txt", page); },
       fs::file_type::symlink},
      {"FIFO", [&] { ASSERT_EQ(mkfifo(page.c_str(), 0600), 0); }, fs::file_type::fifo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(page);
    c.make();
    // A reader, so that a program that opens the FIFO anyway fails the test instead of hanging.
    int reader = c.type == fs::file_type::fifo ? open(page.c_str(), O_RDONLY | O_NONBLOCK) : -1;
    std::set<std::string> before = Listing();
    Outcome outcome = WriteReport(ParseArguments(Args({root / "class", "--no-open"})));
    if (reader >= 0) close(reader);
    EXPECT_EQ(outcome.exitCode, kExitFailure);
    EXPECT_NE(outcome.message.find("report.html"), std::string::npos) << outcome.message;
    EXPECT_EQ(fs::symlink_status(page).type(), c.type);
    EXPECT_EQ(ReadAll(victim), "the teacher's own file");
    EXPECT_FALSE(fs::exists(root / "new.txt"));
    EXPECT_EQ(Listing(), before);
  }
}

// A write that fails half-way (the file size limit stands in for a full disk).
TEST_F(TempFolder, AFailedWriteKeepsTheOldReport) {
  Write("ken/a.log", kLog);
  Write("report.html", "last week's report");
  std::set<std::string> before = Listing();
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1000;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Outcome outcome = WriteReport(ParseArguments(Args({root / "class", "--no-open"})));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(outcome.exitCode, kExitFailure);
  EXPECT_EQ(ReadAll(root / "class" / "report.html"), "last week's report");
  EXPECT_EQ(Listing(), before) << "a temporary file was left behind";
  EXPECT_NE(outcome.message.find("File too large"), std::string::npos) << outcome.message;
}

// -o naming a practice log, or another name of a file the run read.
TEST_F(TempFolder, RefusesToWriteOverALog) {
  Write("ken/a.log", kLog);
  fs::create_hard_link(root / "class" / "ken" / "a.log", root / "class" / "alias.html");
  std::set<std::string> before = Listing();
  const fs::path outputs[] = {root / "class" / "ken" / "a.log", root / "class" / "ken" / "A.LOG",
                              root / "class" / "new.log", root / "class" / "alias.html"};
  for (const fs::path& output : outputs) {
    SCOPED_TRACE(output.filename());
    Outcome outcome =
        WriteReport(ParseArguments(Args({root / "class", "-o", output, "--no-open"})));
    EXPECT_EQ(outcome.exitCode, kExitFailure);
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_EQ(ReadAll(root / "class" / "ken" / "a.log"), kLog);
    EXPECT_EQ(Listing(), before);
  }
}

TEST_F(TempFolder, AnUnreadableLearnerFolderIsListed) {
  Write("ken/a.log", kLog);
  Write("mio/b.log", kLog);
  ASSERT_EQ(chmod((root / "class" / "mio").c_str(), 0), 0);
  std::string result = AsOrdinaryUser([&] {
    Collection collection = CollectLogs(P(root / "class"));
    std::string text;
    for (const Learner& learner : collection.learners)
      text += "learner " + learner.name + "\n";
    for (const FileNote& note : collection.notRead)
      text += "not read " + note.path + "\n";
    return text;
  });
  // Its child is listed too, as one with no records yet.
  EXPECT_EQ(result, "learner ken\nlearner mio\nnot read mio\n");
}

TEST_F(TempFolder, AnUnreadableTopFolderExitsWithTwo) {
  Write("ken/a.log", kLog);
  ASSERT_EQ(chmod(root.c_str(), 0777), 0);
  ASSERT_EQ(chmod((root / "class").c_str(), 0), 0);
  std::string result = AsOrdinaryUser([&] {
    Outcome outcome =
        WriteReport(ParseArguments(Args({root / "class", "-o", root / "out.html", "--no-open"})));
    return std::to_string(outcome.exitCode) + " " + outcome.message;
  });
  EXPECT_EQ(result.substr(0, 2), "2 ") << result;
  EXPECT_FALSE(fs::exists(root / "out.html"));
}

// Names that differ only in bytes that do not decode, and a subfolder named like the folder
// whose loose logs form a learner of that name.
TEST_F(TempFolder, LearnersAreKeyedByTheirFolder) {
  Write("a\xFF/x.log", kLog);
  Write("a\xFE/x.log", kLog);
  Write("x.log", kLog);
  Write("class/y.log", kLog);
  Collection collection = CollectLogs(P(root / "class"));
  EXPECT_EQ(collection.filesRead, 4);
  EXPECT_TRUE(collection.notRead.empty());
  std::set<std::string> names;
  for (const Learner& learner : collection.learners) {
    EXPECT_EQ(learner.runs.size(), 1u) << learner.name;
    names.insert(learner.name);
  }
  EXPECT_EQ(names.size(), 4u);
}

// At most kNamesPerReason names per reason, then how many more there are; the files read in
// part likewise.
TEST(Html, FilesNotReadGroupedByReason) {
  Collection collection;
  for (int i = 0; i < 120; i++)
    collection.notRead.push_back({"e" + std::to_string(1000 + i) + ".log", "空のファイル", {}});
  collection.notRead.push_back({"b.log", "見出しの日付が正しくありません", {}});
  collection.notRead.push_back({"c.log", "ほかのファイルと同じ回の記録です", "a/c.log と同じ回"});
  for (int i = 0; i < 60; i++) {
    collection.partlyRead.push_back({"p" + std::to_string(1000 + i) + ".log",
                                     "読めない行がありました", "1 行を読み飛ばしました"});
  }
  std::string html = FileNotes(collection);
  auto count = [&](const std::string& text) {
    size_t n = 0;
    for (size_t at = html.find(text); at != std::string::npos; at = html.find(text, at + 1))
      n++;
    return n;
  };
  EXPECT_EQ(count("<li><code>e"), static_cast<size_t>(kNamesPerReason));
  EXPECT_EQ(count("空のファイル"), 1u);
  EXPECT_NE(html.find("ほか70件"), std::string::npos);
  EXPECT_EQ(count("見出しの日付が正しくありません"), 1u);
  EXPECT_NE(html.find("<code>b.log</code>"), std::string::npos);
  EXPECT_NE(html.find("<code>c.log</code>：a/c.log と同じ回"), std::string::npos);
  EXPECT_LT(html.find("空のファイル"), html.find("見出しの日付")) << "largest group first";
  EXPECT_EQ(count("<li><code>p"), static_cast<size_t>(kNamesPerReason));
  EXPECT_NE(html.find("ほか10件"), std::string::npos);
}

TEST(ParseArguments, CommandLines) {
  struct Case {
    std::vector<fs::path> args;
    fs::path folder, output;
    bool open, help, error;
  } cases[] = {
      {{}, ".", fs::path(".") / "report.html", true, false, false},
      {{"logs"}, "logs", fs::path("logs") / "report.html", true, false, false},
      {{"logs", "-o", "x.html", "--no-open"}, "logs", "x.html", false, false, false},
      {{"-o", "x.html", "logs"}, "logs", "x.html", true, false, false},
      {{"--help"}, ".", fs::path(".") / "report.html", true, true, false},
      {{"logs", "-o"}, "logs", "", true, false, true},
      {{"--colour"}, ".", "", true, false, true},
      {{"a", "b"}, "a", "", true, false, true},
      {{"logs", "-o", ""}, "logs", "", true, false, true},
      {{"-o", "x.html", "-o", "y.html"}, ".", "", true, false, true},
      {{"--", "-x"}, "-x", fs::path("-x") / "report.html", true, false, false},
      {{"--no-open", "--", "--help"},
       "--help",
       fs::path("--help") / "report.html",
       false,
       false,
       false},
      {{"--", "a", "-o"}, "a", "", true, false, true},
  };
  for (const Case& c : cases) {
    std::vector<platform::Path> args;
    for (const fs::path& arg : c.args)
      args.push_back(P(arg));
    Options options = ParseArguments(args);
    std::string what = c.args.empty() ? "(none)" : c.args[0].string();
    EXPECT_EQ(!options.error.empty(), c.error) << what;
    if (c.error) continue;
    EXPECT_EQ(options.folder.Native(), c.folder.native()) << what;
    EXPECT_EQ(options.output.Native(), c.output.native()) << what;
    EXPECT_EQ(options.open, c.open) << what;
    EXPECT_EQ(options.help, c.help) << what;
  }
}

TEST(Html, EscapingAndNumbers) {
  EXPECT_EQ(EscapeHtml("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
  EXPECT_EQ(EscapeHtml("山田"), "山田");
  struct Case {
    uint32_t ms;
    const char* text;
  } cases[] = {{0, "0.0"},    {49, "0.0"},   {2449, "2.4"},   {2450, "2.5"},
               {4250, "4.3"}, {3000, "3.0"}, {62000, "62.0"}, {4294967295u, "4294967.3"}};
  for (const Case& c : cases)
    EXPECT_EQ(SecondsText(c.ms), c.text) << c.ms;
}

// The legend gives the rule's own numbers: the window of first asks, the counts for fluent and
// missed, the few mark, and the review intervals from the streak at which a fact turns fluent.
TEST(Html, LegendStatesTheRule) {
  const std::string legend = Legend();
  for (const char* text : {"直近5回のうち3回以上を、まちがえずに3.0秒以内で答えた",
                           "直近5回のうち2回以上まちがえ", "その日はじめての答えが2回以下",
                           "続けて3回までは1日、そのあと3日、7日、14日、いちばん長くて28日）"}) {
    EXPECT_NE(legend.find(text), std::string::npos) << text;
  }
}

// Both grids of both drills: one cell per row and column, the asked ones with a class, the
// seen ones with their mark and shown median.
TEST(Html, FactGrids) {
  auto count = [](const std::string& html, const std::string& what) {
    size_t n = 0;
    for (size_t at = html.find(what); at != std::string::npos; at = html.find(what, at + 1))
      n++;
    return n;
  };
  constexpr drill::DrillKind kSub = drill::DrillKind::kSubtraction;
  drill::LoggedRun run;
  run.kind = kSub;
  run.headerCount = 2;
  run.answers = {drill::LoggedAnswer{drill::Problem{kSub, 5, 8, 4}, 2500, 0},
                 drill::LoggedAnswer{drill::Problem{kSub, 5, 8, 1}, 7000, 1}};
  DrillStats subtraction = Summarize(kSub, {&run});
  DrillStats division = Summarize(drill::DrillKind::kDivision, {});
  struct Case {
    const DrillStats* stats;
    drill::FactKind kind;
    size_t cells, never;
    const char* cell;  // a seen cell, from its class to its text
  } cases[] = {
      {&subtraction, drill::FactKind::kForward, 81, 36,
       "<td class=\"getting few\" title=\"5 ＋ 8 ＝ "
       "13：もう少し、答えた回数1回、その日はじめての答え直近1回の中央値2.5秒"
       "、まちがい0回（答えが少なく、判定はまだ目安）\"><i "
       "class=\"few-mark\">＊</i><b>○</b>2.5</td>"},
      {&subtraction, drill::FactKind::kInverse, 81, 36,
       "<td class=\"missed few\" title=\"13 − 8 ＝ "
       "5：まちがいあり、答えた回数1回、その日はじめての答え直近1回の中央値"
       "7.0秒、まちがい1回（答えが少なく、判定はまだ目安）\"><i "
       "class=\"few-mark\">＊</i><b>！</b>7.0</td>"},
      {&division, drill::FactKind::kForward, 64, 6, nullptr},
      {&division, drill::FactKind::kInverse, 64, 6, nullptr},
  };
  for (const Case& c : cases) {
    std::string grid = FactGrid(*c.stats, c.kind);
    EXPECT_EQ(count(grid, "<td"), c.cells);
    EXPECT_EQ(count(grid, "<td class=\"never\""), c.never);
    EXPECT_EQ(count(grid, "<th scope=\"row\""), c.cells == 81 ? 9u : 8u);
    if (c.cell) {
      EXPECT_NE(grid.find(c.cell), std::string::npos) << grid;
    }
  }
  // 13 − 8 sits in the row of the 8 and the column of the 5.
  std::string inverse = FactGrid(subtraction, drill::FactKind::kInverse);
  size_t row = inverse.find("<th scope=\"row\">8</th>");
  ASSERT_NE(row, std::string::npos);
  size_t cell = inverse.find("13 − 8 ＝ 5", row);
  EXPECT_EQ(count(inverse.substr(row, cell - row), "<td"), 5u);
}

// A focus run is a diamond in the chart, with a key that says why it is slower, and is named in
// the table of points; a chart without one has neither.
TEST(Html, FocusRunsHaveTheirOwnMarker) {
  auto count = [](const std::string& html, const std::string& what) {
    size_t n = 0;
    for (size_t at = html.find(what); at != std::string::npos; at = html.find(what, at + 1))
      n++;
    return n;
  };
  struct Case {
    std::vector<bool> focus;  // whole runs
    bool shortFocus;          // and a focus run left after 3 answers
    size_t diamonds, hollowDiamonds, dots;
  } cases[] = {
      {{false, false, false}, false, 0, 0, 3},
      {{false, true, false, true}, false, 2, 0, 2},
      {{true}, true, 1, 1, 0},
  };
  for (const Case& c : cases) {
    std::vector<drill::LoggedRun> runs;
    for (bool focus : c.focus) {
      drill::LoggedRun& run = runs.emplace_back();
      run.start = {2024, 3, static_cast<int>(runs.size()), 9, 0, 0};
      run.focus = focus;
      run.answers.assign(100, {{drill::DrillKind::kDivision, 7, 8, 4}, focus ? 8000u : 3000u, 0});
    }
    if (c.shortFocus) {
      drill::LoggedRun& run = runs.emplace_back();
      run.start = {{2024, 3, 20}, 9, 0, 0};
      run.focus = true;
      run.answers.assign(3, {{drill::DrillKind::kDivision, 7, 8, 4}, 8000u, 0});
    }
    std::vector<const drill::LoggedRun*> pointers;
    for (const drill::LoggedRun& run : runs)
      pointers.push_back(&run);
    const std::string chart = ProgressChart(Summarize(drill::DrillKind::kDivision, pointers));
    const auto pathOf = [&chart](const std::string& cls) {
      const size_t at = chart.find("<path class=\"" + cls + "\" d=\"");
      return at == std::string::npos ? std::string()
                                     : chart.substr(at, chart.find("\"/>", at) - at);
    };
    SCOPED_TRACE(chart);
    EXPECT_EQ(count(pathOf("focus"), "z"), c.diamonds);
    EXPECT_EQ(count(pathOf("focus-short"), "z"), c.hollowDiamonds);
    EXPECT_EQ(count(pathOf("full"), "h0"), c.dots);
    const size_t focusRuns = c.diamonds + c.hollowDiamonds;
    EXPECT_EQ(count(chart, "（集中練習）"), focusRuns);
    EXPECT_EQ(count(chart, "集中練習の回"), focusRuns ? 1u : 0u);
  }
}

// The last whole runs against the first: coloured only when clear of the runs' spread.
TEST(Html, OverviewChange) {
  struct Case {
    Change change;
    const char* shown;
  } cases[] = {
      {{true, {10000}, {8000}, -1}, "<span class=\"better\""},
      {{true, {10000}, {8000}, -1}, ">−1.0秒（速くなった）</span>"},
      {{true, {10000}, {12000}, 1}, ">+1.0秒（遅くなった）</span>"},
      {{true, {10000}, {8000}, 0}, "回：4.0秒\">−1.0秒</span>"},
      {{true, {10000}, {9940}, 0}, ">±0.0秒</span>"},
      {{false, {}, {}, 0}, ">—</td>"},
  };
  for (const Case& c : cases) {
    DrillStats stats;
    stats.runs.resize(1);
    stats.change = c.change;
    std::string html =
        Overview({LearnerReport{"ken", {stats}}}, LastDayOf({LearnerReport{"ken", {stats}}}));
    EXPECT_NE(html.find(c.shown), std::string::npos) << c.shown << ": " << html;
  }
}

}  // namespace
}  // namespace report
