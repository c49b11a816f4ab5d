// Judging typed keys: one answer per key press, what is ignored, the right and wrong paths'
// order of steps, the end at the 100th answer, and events that arrive during the feedback.
#include <gtest/gtest.h>

#include <algorithm>

#include "drill_harness.h"

namespace {

using namespace testing_support;

class Judging : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshProcess();
    SetUtcTimeOfDay(12, 34, 56, 789);
    form = &StartDrill(app::kDivisionVariant);
    DismissResultsWhenShown();
    headless::Get().trace.clear();
  }

  std::vector<std::string> Feedback() {
    return headless::TraceOf({"text", "process", "sound", "sleep", "rect", "quit"});
  }

  TForm1* form = nullptr;
};

TEST_F(Judging, HeldKeyGivesOneAnswer) {
  char key = ExpectedKey();
  headless::PostKeyDown(platform::Key::kOther);
  for (int repeat = 0; repeat < 4; ++repeat) {
    headless::PostKeyDown(platform::Key::kOther);  // auto-repeat
    headless::PostChar(key);
  }
  headless::DeliverPending();
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();
  EXPECT_EQ(Drill.RightCount, 1);
  EXPECT_EQ(Drill.ProblemNumber, 2);
  EXPECT_EQ(Drill.ProblemTable[2].Misses, 0);
  EXPECT_FALSE(Drill.KeyHeld);
}

TEST_F(Judging, NonDigitsChangeNothingAndTheirReleaseRearms) {
  const char ignored[] = {'a', 'Z', '\r', ' ', '/', ':', '\x1b', '\x82', '\x4f', '\xb1'};
  for (char c : ignored) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c)));
    headless::PostKeyDown(platform::Key::kOther);
    headless::PostChar(c);
    headless::DeliverPending();
    EXPECT_EQ(Drill.TypedKey, "");
    EXPECT_EQ(Drill.RightCount, 0);
    EXPECT_EQ(Drill.ProblemTable[1].Misses, 0);
    EXPECT_FALSE(Drill.KeyHeld);
    headless::PostKeyUp(platform::Key::kOther);
    headless::DeliverPending();
  }
  EXPECT_TRUE(Feedback().empty());
  TypeKey(ExpectedKey());
  EXPECT_EQ(Drill.RightCount, 1);
}

TEST_F(Judging, ReleaseSeenDuringTheJudgingDoesNotRearm) {
  char key = ExpectedKey();
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(key);
  headless::PostKeyUp(platform::Key::kOther);  // handled inside the feedback's message processing
  headless::DeliverPending();
  ASSERT_EQ(Drill.RightCount, 1);
  EXPECT_TRUE(Drill.KeyHeld);
  // The next press is refused; its own release re-arms the entry.
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(WrongKey());
  headless::DeliverPending();
  EXPECT_EQ(Drill.ProblemTable[2].Misses, 0);
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();
  EXPECT_FALSE(Drill.KeyHeld);
  TypeKey(ExpectedKey());
  EXPECT_EQ(Drill.RightCount, 2);
}

TEST_F(Judging, WrongAnswersCountAndTheSolvingTimeIncludesThem) {
  headless::Advance(1000);
  TypeKey(WrongKey());
  ASSERT_EQ(Drill.ProblemNumber, 1);
  EXPECT_EQ(Drill.ProblemTable[1].Misses, 1);
  EXPECT_FALSE(Drill.ProblemTable[1].Solved);
  headless::Advance(200);
  TypeKey(WrongKey());
  TypeKey(WrongKey());
  headless::Advance(300);
  TypeKey(ExpectedKey());
  ASSERT_EQ(Drill.RightCount, 1);
  EXPECT_EQ(Drill.ProblemTable[1].Misses, 3);
  // 1000 + 3 x 500 pause + 200 + 300; the right answer's own 400 ms pause is not in it.
  EXPECT_NEAR(Drill.ProblemTable[1].Time * kMsPerDay, 3000, 1e-6);
}

TEST_F(Judging, StepsOfTheRightAndWrongPathsInOrder) {
  std::string box =
      std::to_string(form->Image1->Width()) + "," + std::to_string(form->Image1->Height());
  char wrong = WrongKey();
  TypeKey(wrong);
  char right = ExpectedKey();
  TypeKey(right);
  std::vector<std::string> expected = {std::string("text 4,4 ") + wrong + " ff0000",
                                       "process",
                                       "sound #102",
                                       "sleep 500",
                                       "rect 0,0," + box,
                                       std::string("text 4,4 ") + right + " 000000",
                                       "process",
                                       "sound #101",
                                       "sleep 400",
                                       "rect 0,0," + box};
  EXPECT_EQ(Feedback(), expected);
  EXPECT_TRUE(headless::CanvasOf(*form->Image1).framed);
  EXPECT_EQ(headless::CanvasOf(*form->Image1).text, "");
}

TEST_F(Judging, HundredthRightAnswerClosesTheWindowAndOpensNoMoreProblems) {
  for (int i = 1; i < kProblemsPerRun; ++i)
    TypeKey(ExpectedKey());
  ASSERT_EQ(Drill.RightCount, kProblemsPerRun - 1);
  headless::Get().trace.clear();
  char last = ExpectedKey();
  TypeKey(last);
  EXPECT_EQ(Drill.RightCount, kProblemsPerRun);
  EXPECT_EQ(Drill.ProblemNumber, kProblemsPerRun);
  EXPECT_EQ(Drill.ProblemsOpened, kProblemsPerRun);
  EXPECT_TRUE(platform::TheApp().Terminated());
  std::vector<std::string> feedback = Feedback();
  ASSERT_GE(feedback.size(), 5u);
  EXPECT_EQ(feedback[0], std::string("text 4,4 ") + last + " 000000");
  EXPECT_EQ(feedback[2], "sound #101");
  EXPECT_EQ(feedback[3], "sleep 400");
  EXPECT_EQ(feedback[4], "quit");  // the close comes after the pause, before the erase
  EXPECT_FALSE(form->Button1->Enabled());
  // Keys after the end are not judged.
  TypeKey('5');
  EXPECT_EQ(Drill.RightCount, kProblemsPerRun);
}

TEST_F(Judging, RelayoutDuringTheFeedbackKeepsRecordsToSolvedProblems) {
  // Right answer: the layout opens problem 2 during the feedback; no third is opened.
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(ExpectedKey());
  headless::PostResize(900, 700);
  headless::DeliverPending();
  EXPECT_EQ(Drill.RightCount, 1);
  EXPECT_EQ(Drill.ProblemNumber, 2);
  EXPECT_EQ(Drill.ProblemsOpened, 2);
  EXPECT_TRUE(Drill.ProblemTable[1].Solved);
  EXPECT_FALSE(Drill.ProblemTable[2].Solved);
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();

  // Wrong answer: its miss is not charged to the problem the layout opened meanwhile.
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(WrongKey());
  headless::PostResize(1000, 700);
  headless::DeliverPending();
  EXPECT_EQ(Drill.ProblemNumber, 2);
  EXPECT_EQ(Drill.ProblemTable[2].Misses, 0);
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();
  TypeKey(ExpectedKey());
  EXPECT_EQ(Drill.RightCount, 2);
  EXPECT_EQ(Drill.ProblemNumber, 3);
}

TEST_F(Judging, CloseDuringTheFeedbackEndsTheRunOnce) {
  TypeKey(ExpectedKey());
  headless::Get().trace.clear();
  int opened = Drill.ProblemsOpened;
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(ExpectedKey());
  headless::PostClose();
  headless::PostClose();
  headless::DeliverPending();
  EXPECT_TRUE(Drill.RunEnded);
  EXPECT_TRUE(platform::TheApp().Terminated());
  EXPECT_EQ(Drill.ProblemsOpened, opened);
  EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
  EXPECT_EQ(headless::TraceOf({"quit"}).size(), 1u);
  EXPECT_TRUE(headless::TraceOf({"sound", "sleep"}).empty());
}

// A close handled while a right answer's digit is shown ends the run with that answer
// counted: in the log, the dialog's count and its total, once.
TEST_F(Judging, CloseDuringARightAnswersFeedbackKeepsTheAnswer) {
  for (int before : {1, kProblemsPerRun - 1}) {
    SCOPED_TRACE(before);
    SetUp();
    for (int i = 0; i < before; ++i)
      TypeKey(ExpectedKey());
    ASSERT_EQ(Drill.RightCount, before);
    headless::Get().trace.clear();
    headless::Advance(2000);
    headless::PostKeyDown(platform::Key::kOther);
    headless::PostChar(ExpectedKey());
    headless::PostClose();
    headless::DeliverPending();

    const int solved = before + 1;
    EXPECT_EQ(Drill.RightCount, solved);
    EXPECT_FALSE(Drill.AnswerInFlight);
    EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
    EXPECT_EQ(headless::TraceOf({"quit"}).size(), 1u);
    // Nothing of the feedback runs after the results: no chime, no pause, no new problem.
    EXPECT_TRUE(headless::TraceOf({"sound", "sleep"}).empty());
    const std::string& log = headless::Get().files[Drill.LogFileName];
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), solved + 1);
    EXPECT_NE(log.find("," + std::to_string(solved) + "\r\n"), std::string::npos);
    EXPECT_NE(log.find(",00:02.000,0\r\n"), std::string::npos);
    EXPECT_EQ(Form2->StaticText3->Caption(), std::to_string(solved));
    TimeValue total = 0;
    for (int k = 1; k <= solved; ++k)
      total += Drill.ProblemTable[k].Time;
    EXPECT_DOUBLE_EQ(Drill.TotalTime, total);
  }
}

TEST_F(Judging, RightAnswerReadsTheClockIntoLastClock) {
  for (int ms : {1500, 61'001}) {
    headless::Advance(ms);
    TypeKey(WrongKey());
    TimeValue now = ReadClock();
    TypeKey(ExpectedKey());
    // The right answer's clock reading, before its 400 ms pause.
    EXPECT_DOUBLE_EQ(Drill.LastClock, now);
  }
}

TEST(JudgingWithoutAProblem, DigitsBeforeTheFirstLayoutChangeNothing) {
  FreshProcess();
  TForm1& form = platform::TheApp().CreateForm<TForm1>(app::kDivisionVariant);
  ASSERT_EQ(Drill.ProblemNumber, 0);
  headless::Get().trace.clear();
  for (char key = '0'; key <= '9'; ++key) {
    char typed = key;
    form.FormKeyPress(form, typed);
  }
  EXPECT_FALSE(Drill.KeyHeld);
  EXPECT_FALSE(Drill.Busy);
  EXPECT_EQ(Drill.TypedKey, "");
  EXPECT_EQ(Drill.RightCount, 0);
  EXPECT_TRUE(headless::TraceOf({"text", "sound", "sleep", "process"}).empty());
  // The entry is still armed for the first problem.
  platform::backend::ShowMainForm(form);
  TypeKey(ExpectedKey());
  EXPECT_EQ(Drill.RightCount, 1);
}

}  // namespace
