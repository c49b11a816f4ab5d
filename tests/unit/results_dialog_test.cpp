// The end of a run: what a close writes and shows, the summary's texts, and the results
// dialog's geometry and keyboard.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program.h"
#include "drill/practice_log.h"
#include "drill/summary.h"
#include "drill/time_text.h"
#include "drill_harness.h"

namespace {

using namespace testing_support;

// A run with no window that started at `start` and solved problems in the given times
// (seconds).
drill::PracticeRun SolvedRun(const platform::DateTime& start, const std::vector<double>& seconds) {
  drill::PracticeRun run(drill::DrillKind::kDivision, drill::EncodeTimeValue(start), 12345);
  drill::TimeValue now = 0;
  run.OpenNextProblem(now);
  for (double s : seconds) {
    now += s / 86400.0;
    AnswerRight(run, now);
  }
  return run;
}

void DismissDialogWhenShown() {
  headless::Machine().idle = [] {
    if (!Results() || !Results()->Showing()) return false;
    headless::PostKeyDown(platform::Key::kReturn);
    headless::PostKeyUp(platform::Key::kReturn);
    return true;
  };
}

TEST(ResultsDialog, SummaryTexts) {
  struct Case {
    platform::DateTime start;
    std::vector<double> seconds;
    const char* startText;
    const char* total;
    const char* count;
    const char* average;  // nullptr: the average is hidden
  } cases[] = {
      {{{2024, 3, 5}, 9, 7, 2, 345},
       {3.125, 5.5, 2.004},
       "2024/3/5 09:07:02",
       "00\x95\xaa 10\x95\x62"
       "629",
       "3",
       "00\x95\xaa 03\x95\x62"
       "543"},
      // 100 answers of 40 s: the total keeps its hour as minutes.
      {{{2024, 11, 23}, 18, 45, 9, 0},
       std::vector<double>(100, 40.0),
       "2024/11/23 18:45:09",
       "66\x95\xaa 40\x95\x62"
       "000",
       "100",
       "00\x95\xaa 40\x95\x62"
       "000"},
      {{{2024, 3, 5}, 0, 0, 0, 999},
       {1.0},
       "2024/3/5",
       "00\x95\xaa 01\x95\x62"
       "000",
       "1",
       "00\x95\xaa 01\x95\x62"
       "000"},
      {{{2024, 3, 5}, 0, 0, 1, 0},
       {},
       "2024/3/5 00:00:01",
       "00\x95\xaa 00\x95\x62"
       "000",
       "0",
       nullptr},
  };
  // The dialog's separators are quoted: the region's "-" does not reach it.
  const drill::TimeTextSeparators regional{'-', ':'};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.startText);
    drill::Summary summary = drill::SummarizeRun(SolvedRun(c.start, c.seconds), regional);
    EXPECT_EQ(summary.startTime, c.startText);
    EXPECT_EQ(summary.totalTime, c.total);
    EXPECT_EQ(summary.problemCount, c.count);
    EXPECT_EQ(summary.averageTime.has_value(), c.average != nullptr);
    if (c.average) {
      EXPECT_EQ(*summary.averageTime, c.average);
    }
  }
}

// Every activation shows the summary afresh; without an average its value is hidden.
TEST(ResultsDialog, ActivationShowsTheSummaryInItsRows) {
  struct Case {
    std::optional<std::string> average;
  } cases[] = {{"00\x95\xaa 03\x95\x62"
                "543"},
               {std::nullopt}};
  for (const Case& c : cases) {
    FreshProcess();
    StartDrill(app::kDivisionVariant);
    ui::ResultsDialog& dialog = *Results();
    EXPECT_EQ(dialog.startTime.value->Caption(), "StaticText1");
    headless::Machine().idle = [&dialog] {
      dialog.DispatchActivate();
      dialog.SetModalResult(platform::ModalResult::kCancel);
      return true;
    };
    dialog.ShowSummary({"2024/3/5 09:07:02", "total", "3", c.average});
    EXPECT_EQ(dialog.startTime.value->Caption(), "2024/3/5 09:07:02");
    EXPECT_EQ(dialog.timeTaken.value->Caption(), "total");
    EXPECT_EQ(dialog.problemCount.value->Caption(), "3");
    EXPECT_EQ(dialog.averageTime.value->Visible(), c.average.has_value());
    EXPECT_EQ(dialog.averageTime.value->Caption(), c.average.value_or("StaticText4"));
    EXPECT_TRUE(dialog.averageTime.label->Visible());
  }
}

TEST(ResultsDialog, GeometryAndTabOrder) {
  FreshProcess();
  StartDrill(app::kDivisionVariant);
  ui::ResultsDialog& dialog = *Results();
  EXPECT_EQ(dialog.Caption(), "\x97\xfb\x8f\x4b\x8c\x8b\x89\xca");  // 練習結果
  EXPECT_EQ(dialog.ClientWidth(), 359);
  EXPECT_EQ(dialog.ClientHeight(), 207);
  EXPECT_EQ(dialog.Description().borderStyle, platform::BorderStyle::kDialog);
  EXPECT_FALSE(dialog.Description().systemMenu);
  int row = 32;
  for (platform::Label* label : {dialog.startTime.label, dialog.timeTaken.label,
                                 dialog.problemCount.label, dialog.averageTime.label}) {
    SCOPED_TRACE(label->Name());
    EXPECT_EQ(label->Left() + label->Width(), 166);
    EXPECT_EQ(label->Top(), row);
    EXPECT_EQ(label->GetFont().height, -16);
    row += 24;
  }
  headless::Machine().idle = [&dialog] {
    dialog.SetModalResult(platform::ModalResult::kCancel);
    return true;
  };
  dialog.ShowSummary(
      drill::SummarizeRun(SolvedRun({{2024, 3, 5}, 9, 7, 2, 345}, {3.125}), Separators()));
  row = 32;
  for (platform::StaticText* text : {dialog.startTime.value, dialog.timeTaken.value,
                                     dialog.problemCount.value, dialog.averageTime.value}) {
    SCOPED_TRACE(text->Name());
    platform::Size extent = platform::backend::MeasureText(text->GetFont(), text->Caption());
    EXPECT_EQ(text->Left(), 176);
    EXPECT_EQ(text->Top(), row);
    EXPECT_EQ(text->Width(), extent.width + 4);
    EXPECT_EQ(text->Height(), extent.height + 4);
    EXPECT_FALSE(text->CanFocus());
    row += 24;
  }
  EXPECT_EQ(dialog.quitButton->Caption(), "\x8f\x49\x97\xb9");  // 終了
  EXPECT_EQ(dialog.quitButton->GetFont().height, -12);
  EXPECT_EQ(dialog.ActiveControl(), dialog.quitButton);
}

TEST(ResultsDialog, CentredOverTheMainWindowAndClosedByEnterOrSpaceNotEsc) {
  for (platform::Key key : {platform::Key::kReturn, platform::Key::kSpace}) {
    FreshProcess();
    StartDrill(app::kDivisionVariant);
    TypeKey(ExpectedKey());
    std::vector<platform::Key> keys = {platform::Key::kEscape, key};
    headless::Machine().idle = [&keys] {
      if (keys.empty() || !Results()->Showing()) return false;
      headless::PostKeyDown(keys.front());
      headless::PostKeyUp(keys.front());
      keys.erase(keys.begin());
      return true;
    };
    headless::PostClose();
    headless::DeliverPending();
    EXPECT_TRUE(keys.empty()) << "Esc closed the dialog";
    EXPECT_FALSE(Results()->Showing());
    EXPECT_EQ(Results()->Left(), (1024 - 359) / 2);
    EXPECT_EQ(Results()->Top(), (711 - 207) / 2);
    EXPECT_FALSE(Main().quitButton->Enabled());
    EXPECT_TRUE(Main().Enabled());
  }
}

TEST(ResultsDialog, PlacedOnceAndNeverOffTheScreen) {
  FreshProcess();
  // A main window smaller than the dialog: both halves are negative and become 0.
  headless::Machine().maximizedClient = {300, 150};
  StartDrill(app::kDivisionVariant);
  ui::ResultsDialog& dialog = *Results();
  auto showAndDismiss = [&dialog] {
    headless::Machine().idle = [&dialog] {
      if (!dialog.Showing()) return false;
      dialog.SetModalResult(platform::ModalResult::kCancel);
      return true;
    };
    dialog.ShowModal();
  };
  showAndDismiss();
  EXPECT_EQ(dialog.Left(), 0);
  EXPECT_EQ(dialog.Top(), 0);
  // Shown again over a moved main window, it keeps its first place.
  Main().SetBounds(400, 300, 1000, 700);
  showAndDismiss();
  EXPECT_EQ(dialog.Left(), 0);
  EXPECT_EQ(dialog.Top(), 0);
}

// Keys typed on the in-memory window, with the clock between them, give the worked example's
// dialog: 3.125 s, 5.5 s with one wrong try, 2.004 s.
TEST(EndOfPractice, AJudgedRunCarriesThroughToTheDialog) {
  FreshProcess();
  StartDrill(app::kDivisionVariant);
  DismissDialogWhenShown();
  headless::Advance(3125);
  TypeKey(ExpectedKey());
  headless::Advance(2000);
  TypeKey(WrongKey());  // its 500 ms pause counts
  headless::Advance(3000);
  TypeKey(ExpectedKey());
  headless::Advance(2004);
  TypeKey(ExpectedKey());
  headless::PostClose();
  headless::DeliverPending();
  EXPECT_EQ(Results()->startTime.value->Caption(), "2024/3/5 09:07:02");
  EXPECT_EQ(Results()->timeTaken.value->Caption(),
            "00\x95\xaa 10\x95\x62"
            "629");
  EXPECT_EQ(Results()->problemCount.value->Caption(), "3");
  EXPECT_EQ(Results()->averageTime.value->Caption(),
            "00\x95\xaa 03\x95\x62"
            "543");
  const std::string& log = headless::Machine().files["20240305090702.log"];
  EXPECT_NE(log.find(",00:03.125,0\r\n"), std::string::npos);
  EXPECT_NE(log.find(",00:05.500,1\r\n"), std::string::npos);
  EXPECT_NE(log.find(",00:02.004,0\r\n"), std::string::npos);
}

// The regional settings are read again when the system reports a change, so a run's log
// uses the separators in force when it ends.
TEST(EndOfPractice, ChangedRegionalSettingsReachTheLog) {
  FreshProcess();
  // One answer, the settings change, another answer, the close; then the dialog goes.
  int step = 0;
  headless::Machine().idle = [&] {
    if (Results() && Results()->Showing()) {
      Results()->SetModalResult(platform::ModalResult::kCancel);
      return true;
    }
    switch (step++) {
      case 0:
      case 3:
        headless::Advance(1000);
        headless::PostKeyDown(platform::Key::kOther);
        headless::PostChar(ExpectedKey());
        break;
      case 1:
      case 4:
        headless::PostKeyUp(platform::Key::kOther);
        break;
      case 2:
        headless::PostSettingChange('-', '\0');
        break;
      default:
        headless::PostClose();
    }
    return true;
  };
  EXPECT_EQ(app::RunProgram(app::kDivisionVariant), 0);
  const std::string& log = headless::Machine().files["20240305090702.log"];
  EXPECT_EQ(log.rfind("Divide Quarn,2024-03-05,090702,2\r\n", 0), 0u) << log;
  EXPECT_NE(log.find(",0001.000,0\r\n"), std::string::npos);
}

// Log-off or shutdown in the middle of a run: the run is saved as a close would save it, but
// no dialog waits for a person who has gone, and the process ends with 0.
TEST(EndOfPractice, EndOfTheSessionKeepsTheRun) {
  const std::string log = "20240305090702.log";
  const std::string font = "C:\\Temp\\KORVEN.ttf";
  struct Case {
    const char* name;
    int rightAnswers;
    bool duringFeedback;  // the session ends while the last right digit is shown
    bool logFails;
    int logLines;                              // 0: no log
    std::vector<std::string> removalAndBoxes;  // in order
  } cases[] = {
      {"two answers", 2, false, false, 3, {"font remove " + font}},
      {"no answer", 0, false, false, 0, {"font remove " + font}},
      {"during a right answer", 3, true, false, 4, {"font remove " + font}},
      // The font goes first: the box may be the last thing the process does.
      {"log fails", 1, false, true, 0, {"font remove " + font, "messagebox \x8c\x78\x8d\x90"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshProcess();
    if (c.logFails) headless::Machine().failOpen.insert(log);
    // Behind the box the window is hidden already, so nothing repaints in a substitute face.
    headless::Machine().onMessageBox = [](const headless::MessageBoxRecord&) {
      EXPECT_FALSE(platform::TheApp().MainForm()->Visible());
    };
    StartDrill(app::kDivisionVariant);
    for (int i = 0; i < c.rightAnswers - (c.duringFeedback ? 1 : 0); ++i)
      TypeKey(ExpectedKey());
    headless::Machine().trace.clear();
    if (c.duringFeedback) {
      headless::PostKeyDown(platform::Key::kOther);
      headless::PostChar(ExpectedKey());
    }
    headless::PostEndSession();
    headless::DeliverPending();

    EXPECT_EQ(CurrentRun().RightCount(), c.rightAnswers);
    EXPECT_TRUE(headless::TraceOf({"modal"}).empty());
    EXPECT_EQ(headless::TraceOf({"exit"}), std::vector<std::string>{"exit 0"});
    if (c.logLines > 0) {
      const std::string& written = headless::Machine().files[log];
      EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), c.logLines);
    } else {
      EXPECT_EQ(headless::Machine().files.count(log), 0u);
    }
    EXPECT_EQ(headless::TraceOf({"messagebox", "font remove"}), c.removalAndBoxes);
    EXPECT_EQ(headless::Machine().files.count(font), 0u);
    EXPECT_TRUE(headless::Machine().registeredFonts.empty());
    // Nothing of the interrupted feedback runs on.
    EXPECT_TRUE(headless::TraceOf({"sound", "sleep"}).empty());
  }
}

// The exit's font broadcast waits for every window; a log-off handled meanwhile may be the
// last thing the process does, so it must delete the font file itself.
TEST(EndOfPractice, EndOfTheSessionDuringTheExitsFontBroadcastDeletesTheFontFile) {
  const std::string font = "C:\\Temp\\KORVEN.ttf";
  FreshProcess();
  StartDrill(app::kDivisionVariant);
  DismissResultsWhenShown();
  TypeKey(ExpectedKey());
  headless::Machine().duringFontBroadcast = [] { platform::TheApp().EndSession(); };
  headless::Machine().trace.clear();
  headless::PostClose();
  headless::DeliverPending();
  platform::TheApp().DestroyForms();  // the normal end, interrupted by the log-off
  const std::vector<std::string> trace =
      headless::TraceOf({"font remove", "font broadcast", "file delete", "exit"});
  ASSERT_FALSE(trace.empty());
  auto exit = std::find(trace.begin(), trace.end(), "exit 0");
  ASSERT_NE(exit, trace.end());
  EXPECT_NE(std::find(trace.begin(), exit, "file delete " + font), exit)
      << "the process may end at the log-off with the file still there";
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "font remove " + font), 1);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "font broadcast"), 1);
  EXPECT_EQ(headless::Machine().files.count(font), 0u);
  EXPECT_EQ(headless::TraceOf({"file create 2024"}).size(), 1u);
}

TEST(EndOfPractice, EndOfTheSessionWhileTheResultsAreShownWritesNoSecondLog) {
  FreshProcess();
  StartDrill(app::kDivisionVariant);
  TypeKey(ExpectedKey());
  headless::Machine().idle = [] {
    if (!Results()->Showing()) return false;
    headless::PostEndSession();
    return true;
  };
  headless::PostClose();
  headless::DeliverPending();
  EXPECT_EQ(headless::TraceOf({"file create 2024"}).size(), 1u);
  EXPECT_EQ(headless::TraceOf({"exit"}), std::vector<std::string>{"exit 0"});
  EXPECT_EQ(headless::Machine().files.count("C:\\Temp\\KORVEN.ttf"), 0u);
}

TEST(EndOfPractice, WhatEachWayOfClosingLeaves) {
  struct Case {
    int rightAnswers;
    bool logFails;
    std::vector<std::string> shown;  // message boxes and dialogs, in order
    bool logWritten;
  } cases[] = {
      {0, false, {}, false},
      {2, false, {"modal Form2"}, true},
      {2, true, {"messagebox \x8c\x78\x8d\x90", "modal Form2"}, false},
  };
  for (const Case& c : cases) {
    FreshProcess();
    if (c.logFails) headless::Machine().failOpen.insert("20240305090702.log");
    StartDrill(app::kDivisionVariant);
    DismissDialogWhenShown();
    for (int i = 0; i < c.rightAnswers; ++i)
      TypeKey(ExpectedKey());
    headless::Machine().trace.clear();
    headless::PostClose();
    headless::DeliverPending();
    EXPECT_EQ(headless::TraceOf({"messagebox", "modal Form2"}), c.shown) << c.rightAnswers;
    EXPECT_EQ(headless::Machine().files.count("20240305090702.log") > 0, c.logWritten);
    EXPECT_TRUE(platform::TheApp().Terminated());
    if (c.logFails) {
      // ﾌｧｲﾙを閉じるときにｴﾗｰが発生しました。 under 警告, as a warning.
      const auto& boxes = headless::Machine().messageBoxes;
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text,
                "\xCC\xA7\xB2\xD9\x82\xF0\x95\xC2\x82\xB6\x82\xE9\x82\xC6\x82\xAB\x82\xC9\xB4\xD7"
                "\xB0\x82\xAA\x94\xAD\x90\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42");
      EXPECT_EQ(boxes[0].caption, "\x8C\x78\x8D\x90");
      EXPECT_EQ(boxes[0].kind, platform::MessageKind::kWarning);
      // The dialog after the warning still has the full summary.
      EXPECT_EQ(Results()->problemCount.value->Caption(), "2");
    }
  }
}

TEST(EndOfPractice, WholeProgramRunsToExitAndRemovesTheFont) {
  FreshProcess();
  headless::Machine().utcOffsetMinutes = 0;
  int typed = 0;
  int rightCount = 0;
  bool released = true;
  headless::Machine().idle = [&] {
    if (platform::TheApp().MainForm()) rightCount = CurrentRun().RightCount();
    if (Results() && Results()->Showing()) {
      headless::PostKey('\r');
    } else if (!released) {
      headless::PostKeyUp(platform::Key::kOther);
      released = true;
    } else {
      headless::Advance(1234);
      headless::PostKeyDown(platform::Key::kOther);
      headless::PostChar(++typed % 7 == 0 ? WrongKey() : ExpectedKey());
      released = false;
    }
    return true;
  };
  EXPECT_EQ(app::RunProgram(app::kSubtractionVariant), 0);
  EXPECT_EQ(rightCount, 100);
  const std::string& log = headless::Machine().files["20240305090702.log"];
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 101);
  EXPECT_EQ(log.rfind("Subtract Quarn,2024/03/05,09:07:02,100\r\n", 0), 0u);
  EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
  EXPECT_EQ(headless::Machine().files.count("C:\\Temp\\KORVEN.ttf"), 0u);
  EXPECT_TRUE(headless::Machine().registeredFonts.empty());
  EXPECT_FALSE(headless::Machine().stalled);
}

}  // namespace
