// The embedded font's life for one run on the in-memory backend: the order of the system
// calls, where the file goes, and what happens when it cannot be written or is in use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/headless/headless.h"
#include "ui/digit_face.h"
#include "ui/sounds.h"

namespace {

using ui::FontInstallation;
using namespace std::string_literals;
using Trace = std::vector<std::string>;

// Bytes with a zero in them, so that a copy that stops at the first zero shows.
const std::string kFontBytes = "\0\1\0\0 glyf head hhea\0 end"s;
const std::string kPath = "C:\\Temp\\KORVEN.ttf";
// "ファイル C:\Temp\KORVEN.ttf を作成できません" and the "." the error box appends.
const std::string kCannotCreateBox =
    "\x83\x74\x83\x40\x83\x43\x83\x8b C:\\Temp\\KORVEN.ttf "
    "\x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1.";

// A new process of the division build whose own file carries the font.
void FreshProcess() {
  headless::Reset();
  platform::TheApp().SetTitle("Divide Quarn");
  headless::Machine().resources["MYFONT/MYFONT"] = kFontBytes;
}

Trace SystemCalls() {
  return headless::TraceOf({"file ", "font ", "sound "});
}

TEST(FontInstall, RunInstallsPrimesAndRemovesInOrder) {
  FreshProcess();
  FontInstallation font;
  headless::State& os = headless::Machine();

  font.Install();
  EXPECT_EQ(os.files[kPath], kFontBytes);
  EXPECT_EQ(os.registeredFonts.count(kPath), 1u);
  ui::PrimeSounds();
  font.Remove();

  EXPECT_EQ(SystemCalls(), (Trace{
                               "file create " + kPath,
                               "file write " + kPath + " " + std::to_string(kFontBytes.size()),
                               "file close " + kPath,
                               "font add " + kPath,
                               "sound #102",
                               "sound #101",
                               "font remove " + kPath,
                               "font broadcast",
                               "font release Tavimo",
                               "file delete " + kPath,
                           }));
  EXPECT_EQ(os.files.count(kPath), 0u);
  EXPECT_TRUE(os.registeredFonts.empty());
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST(FontInstall, StaleFileFromAnEarlierRunIsReplaced) {
  FreshProcess();
  FontInstallation font;
  headless::Machine().files[kPath] = "left over by a run that crashed, longer than the font";

  font.Install();

  EXPECT_EQ(headless::Machine().files[kPath], kFontBytes);
  EXPECT_TRUE(headless::Machine().messageBoxes.empty());
}

TEST(FontInstall, FilePathFollowsTheTempDirectory) {
  const std::string dir259 = "C:\\" + std::string(255, 'd') + "\\";  // fits 260 with its NUL
  const std::string dir260 = "C:\\" + std::string(256, 'd') + "\\";
  struct Case {
    std::string tempDirectory;
    std::string fontFile;
  } cases[] = {
      {"C:\\Users\\kid\\AppData\\Local\\Temp\\",
       "C:\\Users\\kid\\AppData\\Local\\Temp\\KORVEN.ttf"},
      // Names that code page 932 cannot spell stay what they are, end to end.
      {"C:\\Users\\Jos\xc3\xa9\\AppData\\Local\\Temp\\",
       "C:\\Users\\Jos\xc3\xa9\\AppData\\Local\\Temp\\KORVEN.ttf"},
      {"D:\\caf\xc3\xa9\\\xe2\x82\xac\\", "D:\\caf\xc3\xa9\\\xe2\x82\xac\\KORVEN.ttf"},
      {"", "KORVEN.ttf"},  // no temp directory: the current one
      {dir259, dir259 + "KORVEN.ttf"},
      {dir260, "KORVEN.ttf"},  // does not fit the buffer: as if there were none
      {std::string(600, 'x'), "KORVEN.ttf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tempDirectory.size());
    FreshProcess();
    FontInstallation font;
    headless::Machine().tempDirectory = c.tempDirectory;

    EXPECT_EQ(headless::Utf8(ui::FontFilePath()), c.fontFile);
    font.Install();
    EXPECT_EQ(headless::Machine().registeredFonts.count(c.fontFile), 1u);
    EXPECT_TRUE(headless::Machine().messageBoxes.empty());
    font.Remove();

    EXPECT_EQ(
        headless::TraceOf({"file create", "font", "file delete"}),
        (Trace{"file create " + c.fontFile, "font add " + c.fontFile, "font remove " + c.fontFile,
               "font broadcast", "font release Tavimo", "file delete " + c.fontFile}));
  }
}

// Another running instance has the file registered, which holds it open.
TEST(FontInstall, FileInUseByAnotherInstanceIsSharedSilently) {
  FreshProcess();
  FontInstallation font;
  headless::State& os = headless::Machine();
  const std::string othersBytes = "the other instance's copy";
  os.files[kPath] = othersBytes;
  os.registeredFonts.insert(kPath);
  os.lockedFiles.insert(kPath);

  font.Install();

  EXPECT_TRUE(os.messageBoxes.empty());
  EXPECT_EQ(SystemCalls(), (Trace{"file create " + kPath, "font add " + kPath}));
  EXPECT_EQ(os.files[kPath], othersBytes);
  EXPECT_EQ(os.registeredFonts.count(kPath), 2u);

  // The other instance ends first; its deletion fails while this one's registration holds
  // the file.
  platform::RemoveFontResource(headless::PathFromUtf8(kPath));
  platform::BroadcastFontChange();
  os.lockedFiles.clear();
  ASSERT_EQ(os.registeredFonts.count(kPath), 1u) << "the face went with the other instance";

  os.trace.clear();
  font.Remove();

  EXPECT_EQ(SystemCalls(), (Trace{"font remove " + kPath, "font broadcast", "font release Tavimo",
                                  "file delete " + kPath}));
  EXPECT_TRUE(os.registeredFonts.empty());
  EXPECT_EQ(os.files.count(kPath), 0u);
}

// The other instance is still writing the file: this one cannot register it, and must not
// unregister or delete what the other instance then registers.
TEST(FontInstall, FileInUseButNotYetAFontLeavesTheOtherInstanceAlone) {
  FreshProcess();
  FontInstallation font;
  headless::State& os = headless::Machine();
  os.lockedFiles.insert(kPath);

  font.Install();

  EXPECT_TRUE(os.messageBoxes.empty());
  EXPECT_TRUE(os.registeredFonts.empty());

  os.files[kPath] = "written by the other instance";
  os.registeredFonts.insert(kPath);
  os.trace.clear();
  font.Remove();

  EXPECT_EQ(SystemCalls(), Trace{});
  EXPECT_EQ(os.registeredFonts.count(kPath), 1u);
  EXPECT_EQ(os.files.count(kPath), 1u);
}

TEST(FontInstall, FileThatCannotBeWrittenIsReportedAndTheRunGoesOnWithoutTheFace) {
  enum class Failure { kCreate, kWrite, kClose };
  for (Failure failure : {Failure::kCreate, Failure::kWrite, Failure::kClose}) {
    SCOPED_TRACE(static_cast<int>(failure));
    FreshProcess();
    FontInstallation font;
    headless::State& os = headless::Machine();
    if (failure == Failure::kCreate) os.failOpen.insert(kPath);
    if (failure == Failure::kWrite) os.failWriteCall = 1;
    if (failure == Failure::kClose) os.failClose = true;

    EXPECT_NO_THROW(font.Install());

    ASSERT_EQ(os.messageBoxes.size(), 1u);
    EXPECT_EQ(os.messageBoxes[0].text, kCannotCreateBox);
    EXPECT_EQ(os.messageBoxes[0].caption, "Divide Quarn");
    EXPECT_EQ(os.messageBoxes[0].kind, platform::MessageKind::kError);
    EXPECT_TRUE(os.registeredFonts.empty());
    EXPECT_EQ(os.files.count(kPath), 0u) << "a broken font file was left behind";

    os.trace.clear();
    font.Remove();
    EXPECT_EQ(SystemCalls(), Trace{});
  }
}

// The file was written but the system would not take it as a font: nothing was registered,
// so nothing is unregistered or announced, and the file this process wrote still goes.
TEST(FontInstall, FileThatIsNoFontIsDeletedWithoutUnregistering) {
  FreshProcess();
  FontInstallation font;
  headless::State& os = headless::Machine();
  os.unusableFonts.insert(kPath);

  font.Install();
  EXPECT_TRUE(os.registeredFonts.empty());
  EXPECT_TRUE(os.messageBoxes.empty());
  os.trace.clear();
  font.Remove();
  font.Remove();

  EXPECT_EQ(SystemCalls(), (Trace{"font release Tavimo", "file delete " + kPath}));
  EXPECT_EQ(os.files.count(kPath), 0u);
}

// Only the box's text is narrowed to CP932; what it cannot spell shows as "?".
TEST(FontInstall, ABoxAboutAPathCp932CannotSpellShowsQuestionMarks) {
  FreshProcess();
  FontInstallation font;
  headless::Machine().tempDirectory = "C:\\Jos\xc3\xa9\\";
  headless::Machine().failOpen.insert("C:\\Jos\xc3\xa9\\KORVEN.ttf");
  font.Install();
  ASSERT_EQ(headless::Machine().messageBoxes.size(), 1u);
  EXPECT_NE(headless::Machine().messageBoxes[0].text.find(" C:\\Jos?\\KORVEN.ttf "),
            std::string::npos);
}

// A read-only KORVEN.ttf that belongs to someone else is neither used nor deleted.
TEST(FontInstall, FileThatCannotBeReplacedIsLeftAsItWas) {
  FreshProcess();
  FontInstallation font;
  headless::State& os = headless::Machine();
  os.files[kPath] = "someone else's";
  os.failOpen.insert(kPath);

  font.Install();
  font.Remove();

  EXPECT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.files[kPath], "someone else's");
  EXPECT_TRUE(os.registeredFonts.empty());
}

}  // namespace
