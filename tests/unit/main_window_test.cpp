// The main window: start-up order, layout arithmetic, focus and keyboard, closing, and the
// error box of the application object.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/program.h"
#include "drill_harness.h"

namespace {

using namespace testing_support;

TEST(MainWindow, StartUpOpensExactlyOneProblemAfterTheFinalSize) {
  FreshProcess();
  platform::Application& app = platform::TheApp();
  ui::MainWindow& form = app.CreateForm<ui::MainWindow>(app::kDivisionVariant, Separators());
  // Created, not shown: the run has started but no problem exists yet.
  EXPECT_EQ(CurrentRun().ProblemNumber(), 0);
  EXPECT_DOUBLE_EQ(CurrentRun().StartTime(), drill::EncodeTimeValue({{2024, 3, 5}, 9, 7, 2, 345}));
  // The stored client size while hidden does not lay the window out.
  form.NoteClientSize(688, 454);
  EXPECT_EQ(CurrentRun().ProblemNumber(), 0);
  platform::backend::ShowMainForm(form);
  EXPECT_EQ(CurrentRun().ProblemNumber(), 1);
  // The sounds are primed once the problem is on screen, not before.
  EXPECT_TRUE(headless::TraceOf({"sound"}).empty());
  form.OnShown(form);
  EXPECT_EQ(headless::TraceOf({"sound"}), (std::vector<std::string>{"sound #102", "sound #101"}));
  // The hidden place's label still shows its stored caption under the box.
  int hidden = Open().problem.hiddenSlot;
  EXPECT_EQ(form.digitPlaces[static_cast<size_t>(hidden - 1)]->Caption(), "9");
}

// The seed is the UTC clock's milliseconds since midnight: at 12:34:56.789 the first problem
// is 5 x 3 = 15 with place 2 hidden.
TEST(MainWindow, FirstProblemFillsTheVisiblePlacesAndMovesTheBox) {
  FreshProcess();
  SetUtcTimeOfDay(12, 34, 56, 789);
  ui::MainWindow& form = StartDrill(app::kDivisionVariant);
  EXPECT_EQ(Open().problem, (drill::Problem{drill::DrillKind::kDivision, 5, 3, 2}));
  EXPECT_EQ(Open().misses, 0);
  EXPECT_EQ(ExpectedAnswer(), 3);
  // Place 2's label keeps its stored "9" under the box.
  EXPECT_EQ(form.digitPlaces[0]->Caption(), "5");
  EXPECT_EQ(form.digitPlaces[1]->Caption(), "9");
  EXPECT_EQ(form.digitPlaces[2]->Caption(), "1");
  EXPECT_EQ(form.digitPlaces[3]->Caption(), "5");
  EXPECT_EQ(form.answerBox->Left(), form.digitPlaces[1]->Left() - 4);
}

TEST(MainWindow, LayoutOfTheEmbeddedFaceAt96Dpi) {
  FreshProcess();
  ui::MainWindow& form = StartDrill(app::kSubtractionVariant);
  struct Expect {
    platform::Control* control;
    int left, top, width, height;
  } expected[] = {
      {form.digitPlaces[0], 4, 4, 64, 128},    {form.operatorSign, 76, 4, 128, 128},
      {form.digitPlaces[1], 212, 4, 64, 128},  {form.equalsSign, 284, 4, 128, 128},
      {form.digitPlaces[2], 420, 4, 64, 128},  {form.digitPlaces[3], 492, 4, 64, 128},
      {form.problemPanel, 232, 287, 560, 136}, {form.quitButton, 951, 670, 57, 25},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.control->Name());
    EXPECT_EQ(e.control->Left(), e.left);
    EXPECT_EQ(e.control->Top(), e.top);
    EXPECT_EQ(e.control->Width(), e.width);
    EXPECT_EQ(e.control->Height(), e.height);
  }
  EXPECT_EQ(form.answerBox->Top(), 0);
  EXPECT_EQ(form.answerBox->Width(), 72);
  EXPECT_EQ(form.answerBox->Height(), 136);
  EXPECT_EQ(form.operatorSign->Caption(), "\x81\x7b");  // ＋
  EXPECT_EQ(form.equalsSign->Caption(), "\x81\x81");    // ＝
  EXPECT_EQ(form.Caption(), "Subtract Quarn");
}

TEST(MainWindow, PanelPositionTruncatesTowardZero) {
  FreshProcess();
  ui::MainWindow& form = StartDrill(app::kDivisionVariant);
  struct Case {
    int width, height, panelLeft, panelTop;
  } cases[] = {{1024, 711, 232, 287}, {557, 133, -1, -1}, {556, 132, -2, -2}, {561, 137, 0, 0}};
  for (const Case& c : cases) {
    headless::PostResize(c.width, c.height);
    headless::DeliverPending();
    EXPECT_EQ(form.problemPanel->Left(), c.panelLeft) << c.width;
    EXPECT_EQ(form.problemPanel->Top(), c.panelTop) << c.height;
    EXPECT_EQ(form.quitButton->Left(), c.width - 57 - 16);
    EXPECT_EQ(form.quitButton->Top(), c.height - 25 - 16);
  }
}

TEST(MainWindow, SubstituteFaceWhenTheEmbeddedOneIsMissing) {
  FreshProcess();
  headless::Machine().failOpen.insert("C:\\Temp\\KORVEN.ttf");
  ui::MainWindow& form = StartDrill(app::kDivisionVariant);
  // The layout follows whatever face the labels got, and the drill still runs.
  EXPECT_EQ(form.operatorSign->Left(),
            form.digitPlaces[0]->Left() + form.digitPlaces[0]->Width() + 8);
  EXPECT_EQ(form.answerBox->Width(), form.digitPlaces[0]->Width() + 8);
  EXPECT_EQ(CurrentRun().ProblemNumber(), 1);
  TypeKey(ExpectedKey());
  EXPECT_EQ(CurrentRun().RightCount(), 1);
}

TEST(MainWindow, FocusStartsOnThePanelAndTabReachesTheQuitButton) {
  using platform::Key;
  struct Case {
    std::vector<Key> keys;  // pressed before the button key
    Key press;              // Return or Space
    bool quits;
  } cases[] = {
      {{}, Key::kReturn, false},
      {{}, Key::kSpace, false},
      {{Key::kTab}, Key::kReturn, true},
      {{Key::kTab}, Key::kSpace, true},
      {{Key::kRight}, Key::kReturn, true},
      {{Key::kDown}, Key::kSpace, true},
      {{Key::kLeft}, Key::kReturn, true},
      {{Key::kUp}, Key::kSpace, true},
      {{Key::kTab, Key::kTab}, Key::kReturn, false},
      {{Key::kLeft, Key::kLeft}, Key::kSpace, false},
      {{Key::kShift, Key::kTab}, Key::kReturn, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.keys.size() << " keys, then key " << static_cast<int>(c.press));
    FreshProcess();
    ui::MainWindow& form = StartDrill(app::kDivisionVariant);
    TypeKey(ExpectedKey());
    ASSERT_TRUE(headless::HasFocus(*form.problemPanel));
    for (Key k : c.keys)
      headless::PostKeyDown(k);
    for (Key k : c.keys)
      headless::PostKeyUp(k);
    headless::DeliverPending();
    EXPECT_EQ(headless::HasFocus(*form.quitButton), c.quits);
    headless::PostKeyDown(c.press);
    headless::PostKeyUp(c.press);
    DismissResultsWhenShown();
    headless::DeliverPending();
    EXPECT_EQ(platform::TheApp().Terminated(), c.quits);
    EXPECT_EQ(CurrentRun().Ended(), c.quits);
  }
}

TEST(MainWindow, QuitButtonCloseBoxAndHundredthAnswerEndTheSameWay) {
  enum class Way { kButton, kCloseBox };
  for (Way way : {Way::kButton, Way::kCloseBox}) {
    FreshProcess();
    ui::MainWindow& form = StartDrill(app::kDivisionVariant);
    DismissResultsWhenShown();
    TypeKey(ExpectedKey());
    if (way == Way::kButton) {
      headless::PostClick(*form.quitButton);
    } else {
      headless::PostClose();
    }
    headless::DeliverPending();
    EXPECT_TRUE(platform::TheApp().Terminated());
    EXPECT_FALSE(form.quitButton->Enabled());
    EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
    // A second request changes nothing.
    headless::PostClose();
    headless::DeliverPending();
    EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
  }
}

TEST(MainWindow, ClosingBeforeAnyRightAnswerShowsNothing) {
  FreshProcess();
  ui::MainWindow& form = StartDrill(app::kDivisionVariant);
  TypeKey(WrongKey());
  headless::PostClose();
  headless::DeliverPending();
  EXPECT_TRUE(platform::TheApp().Terminated());
  EXPECT_FALSE(form.quitButton->Enabled());
  EXPECT_TRUE(headless::TraceOf({"modal", "messagebox"}).empty());
}

// As on Windows, the font file cannot be deleted while a font object made of its face is
// alive; the labels have made several by the end of a run.
TEST(MainWindow, FontFileGoesAlthoughTheLabelsHeldTheFace) {
  FreshProcess();
  const std::string fontFile = "C:\\Temp\\KORVEN.ttf";
  headless::Machine().refuseDelete = [&fontFile](const std::string& path) {
    return path == fontFile && headless::Machine().fontObjects.count("Tavimo") > 0;
  };
  int typed = 0;
  headless::Machine().idle = [&typed] {
    if (Results() && Results()->Showing()) {
      Results()->SetModalResult(platform::ModalResult::kCancel);
    } else if (typed++ == 0) {
      headless::PostKey(ExpectedKey());
    } else {
      headless::PostClose();
    }
    return true;
  };
  EXPECT_EQ(app::RunProgram(app::kDivisionVariant), 0);
  EXPECT_EQ(headless::TraceOf({"file delete"}),
            std::vector<std::string>{"file delete " + fontFile});
  EXPECT_EQ(headless::Machine().files.count(fontFile), 0u);
  EXPECT_TRUE(headless::Machine().registeredFonts.empty());
}

TEST(Application, ErrorBoxTextAddsAFullStopAfterLaterBytes) {
  struct Case {
    const char* message;
    const char* text;
  } cases[] = {
      {"Disk full", "Disk full."},
      {"Done.", "Done."},
      {"Why?", "Why?."},     // '?' is 0x3F
      {"Count-", "Count-"},  // '-' is 0x2D
      {"", ""},
      {"\x82\xf1", "\x82\xf1."},  // ん: its trail byte sorts after "."
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ErrorBoxText(c.message), c.text) << c.message;
  }
}

TEST(Application, AnEscapingErrorIsShownWithTheTitleAndTheLoopGoesOn) {
  FreshProcess();
  ui::MainWindow& form = StartDrill(app::kDivisionVariant);
  form.OnKeyDown = [](platform::Form&, platform::Key&) { throw std::runtime_error("Broken"); };
  TypeKey(ExpectedKey());
  ASSERT_EQ(headless::Machine().messageBoxes.size(), 1u);
  EXPECT_EQ(headless::Machine().messageBoxes[0].text, "Broken.");
  EXPECT_EQ(headless::Machine().messageBoxes[0].caption, "Divide Quarn");
  EXPECT_EQ(headless::Machine().messageBoxes[0].kind, platform::MessageKind::kError);
  EXPECT_EQ(CurrentRun().RightCount(), 1);  // the character still reached the judging
}

TEST(Application, AProgramWhoseWindowCannotBeCreatedSaysWhyAndEnds) {
  FreshProcess();
  headless::Machine().failWindowCreation = true;
  EXPECT_EQ(app::RunProgram(app::kDivisionVariant), 1);
  ASSERT_EQ(headless::Machine().messageBoxes.size(), 1u);
  EXPECT_EQ(headless::Machine().messageBoxes[0].caption, "Divide Quarn");
  EXPECT_EQ(headless::Machine().messageBoxes[0].text, "Cannot create the window Form1.");
  EXPECT_FALSE(platform::TheApp().MainForm()) << "the windows are gone";
}

}  // namespace
