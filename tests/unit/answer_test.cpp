// Judging typed keys: one answer per key press, what is ignored, the right and wrong paths'
// order of steps, the end at the 100th answer, and events that arrive during the feedback.
#include <gtest/gtest.h>

#include <algorithm>

#include "drill/practice_log.h"
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
    headless::Machine().trace.clear();
  }

  std::vector<std::string> Feedback() {
    return headless::TraceOf({"text", "process", "sound", "sleep", "rect", "quit"});
  }

  ui::MainWindow* form = nullptr;
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
  EXPECT_EQ(CurrentRun().RightCount(), 1);
  EXPECT_EQ(CurrentRun().ProblemNumber(), 2);
  EXPECT_EQ(Open().misses, 0);
  EXPECT_FALSE(CurrentRun().KeyHeld());
}

TEST_F(Judging, NonDigitsChangeNothingAndTheirReleaseRearms) {
  const char ignored[] = {'a', 'Z', '\r', ' ', '/', ':', '\x1b', '\x82', '\x4f', '\xb1'};
  for (char c : ignored) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c)));
    headless::PostKeyDown(platform::Key::kOther);
    headless::PostChar(c);
    headless::DeliverPending();
    EXPECT_EQ(CurrentRun().RightCount(), 0);
    EXPECT_EQ(Open().misses, 0);
    EXPECT_FALSE(CurrentRun().KeyHeld());
    headless::PostKeyUp(platform::Key::kOther);
    headless::DeliverPending();
  }
  EXPECT_TRUE(Feedback().empty());
  TypeKey(ExpectedKey());
  EXPECT_EQ(CurrentRun().RightCount(), 1);
}

TEST_F(Judging, ReleaseSeenDuringTheJudgingDoesNotRearm) {
  char key = ExpectedKey();
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(key);
  headless::PostKeyUp(platform::Key::kOther);  // handled inside the feedback's message processing
  headless::DeliverPending();
  ASSERT_EQ(CurrentRun().RightCount(), 1);
  EXPECT_TRUE(CurrentRun().KeyHeld());
  // The next press is refused; its own release re-arms the entry.
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(WrongKey());
  headless::DeliverPending();
  EXPECT_EQ(Open().misses, 0);
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();
  EXPECT_FALSE(CurrentRun().KeyHeld());
  TypeKey(ExpectedKey());
  EXPECT_EQ(CurrentRun().RightCount(), 2);
}

TEST_F(Judging, WrongAnswersCountAndTheSolvingTimeIncludesThem) {
  headless::Advance(1000);
  TypeKey(WrongKey());
  ASSERT_EQ(CurrentRun().ProblemNumber(), 1);
  EXPECT_EQ(Open().misses, 1);
  EXPECT_FALSE(Open().solved);
  headless::Advance(200);
  TypeKey(WrongKey());
  TypeKey(WrongKey());
  headless::Advance(300);
  TypeKey(ExpectedKey());
  ASSERT_EQ(CurrentRun().RightCount(), 1);
  const drill::ProblemRecord& solved = CurrentRun().SolvedProblems()[0];
  EXPECT_EQ(solved.misses, 3);
  // 1000 + 3 x 500 pause + 200 + 300; the right answer's own 400 ms pause is not in it.
  EXPECT_NEAR(solved.solvingTime * drill::kMsPerDay, 3000, 1e-6);
}

TEST_F(Judging, StepsOfTheRightAndWrongPathsInOrder) {
  std::string box =
      std::to_string(form->answerBox->Width()) + "," + std::to_string(form->answerBox->Height());
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
  EXPECT_TRUE(headless::CanvasOf(*form->answerBox).framed);
  EXPECT_EQ(headless::CanvasOf(*form->answerBox).text, "");
}

TEST_F(Judging, HundredthRightAnswerClosesTheWindowAndOpensNoMoreProblems) {
  for (int i = 1; i < drill::kProblemsPerRun; ++i)
    TypeKey(ExpectedKey());
  ASSERT_EQ(CurrentRun().RightCount(), drill::kProblemsPerRun - 1);
  headless::Machine().trace.clear();
  char last = ExpectedKey();
  TypeKey(last);
  EXPECT_EQ(CurrentRun().RightCount(), drill::kProblemsPerRun);
  EXPECT_EQ(CurrentRun().ProblemNumber(), drill::kProblemsPerRun);
  EXPECT_EQ(CurrentRun().ProblemsOpened(), drill::kProblemsPerRun);
  EXPECT_TRUE(platform::TheApp().Terminated());
  std::vector<std::string> feedback = Feedback();
  ASSERT_GE(feedback.size(), 5u);
  EXPECT_EQ(feedback[0], std::string("text 4,4 ") + last + " 000000");
  EXPECT_EQ(feedback[2], "sound #101");
  EXPECT_EQ(feedback[3], "sleep 400");
  EXPECT_EQ(feedback[4], "quit");  // the close comes after the pause, before the erase
  EXPECT_FALSE(form->quitButton->Enabled());
  // Keys after the end are not judged.
  TypeKey('5');
  EXPECT_EQ(CurrentRun().RightCount(), drill::kProblemsPerRun);
}

TEST_F(Judging, RelayoutDuringTheFeedbackKeepsRecordsToSolvedProblems) {
  // Right answer: the layout opens problem 2 during the feedback; no third is opened.
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(ExpectedKey());
  headless::PostResize(900, 700);
  headless::DeliverPending();
  EXPECT_EQ(CurrentRun().RightCount(), 1);
  EXPECT_EQ(CurrentRun().ProblemNumber(), 2);
  EXPECT_EQ(CurrentRun().ProblemsOpened(), 2);
  EXPECT_TRUE(CurrentRun().SolvedProblems()[0].solved);
  EXPECT_FALSE(Open().solved);
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();

  // Wrong answer: its miss is not charged to the problem the layout opened meanwhile.
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(WrongKey());
  headless::PostResize(1000, 700);
  headless::DeliverPending();
  EXPECT_EQ(CurrentRun().ProblemNumber(), 2);
  EXPECT_EQ(Open().misses, 0);
  headless::PostKeyUp(platform::Key::kOther);
  headless::DeliverPending();
  TypeKey(ExpectedKey());
  EXPECT_EQ(CurrentRun().RightCount(), 2);
  EXPECT_EQ(CurrentRun().ProblemNumber(), 3);
}

TEST_F(Judging, CloseDuringTheFeedbackEndsTheRunOnce) {
  TypeKey(ExpectedKey());
  headless::Machine().trace.clear();
  int opened = CurrentRun().ProblemsOpened();
  headless::PostKeyDown(platform::Key::kOther);
  headless::PostChar(ExpectedKey());
  headless::PostClose();
  headless::PostClose();
  headless::DeliverPending();
  EXPECT_TRUE(CurrentRun().Ended());
  EXPECT_TRUE(platform::TheApp().Terminated());
  EXPECT_EQ(CurrentRun().ProblemsOpened(), opened);
  EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
  EXPECT_EQ(headless::TraceOf({"quit"}).size(), 1u);
  EXPECT_TRUE(headless::TraceOf({"sound", "sleep"}).empty());
}

// A close handled while a right answer's digit is shown ends the run with that answer
// counted: in the log, the dialog's count and its total, once.
TEST_F(Judging, CloseDuringARightAnswersFeedbackKeepsTheAnswer) {
  for (int before : {1, drill::kProblemsPerRun - 1}) {
    SCOPED_TRACE(before);
    SetUp();
    for (int i = 0; i < before; ++i)
      TypeKey(ExpectedKey());
    ASSERT_EQ(CurrentRun().RightCount(), before);
    headless::Machine().trace.clear();
    headless::Advance(2000);
    headless::PostKeyDown(platform::Key::kOther);
    headless::PostChar(ExpectedKey());
    headless::PostClose();
    headless::DeliverPending();

    const int solved = before + 1;
    EXPECT_EQ(CurrentRun().RightCount(), solved);
    EXPECT_EQ(headless::TraceOf({"modal Form2"}).size(), 1u);
    EXPECT_EQ(headless::TraceOf({"quit"}).size(), 1u);
    // Nothing of the feedback runs after the results: no chime, no pause, no new problem.
    EXPECT_TRUE(headless::TraceOf({"sound", "sleep"}).empty());
    const std::string& log =
        headless::Machine().files[drill::PracticeLogName(CurrentRun().StartTime())];
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), solved + 1);
    EXPECT_NE(log.find("," + std::to_string(solved) + "\r\n"), std::string::npos);
    EXPECT_NE(log.find(",00:02.000,0\r\n"), std::string::npos);
    EXPECT_EQ(Results()->problemCount.value->Caption(), std::to_string(solved));
    // The total time includes the answer: it took 2 s and every other one 0 s.
    EXPECT_EQ(Results()->timeTaken.value->Caption(),
              "00\x95\xaa 02\x95\x62"
              "000");
  }
}

// The local clock may jump (a change to or from summer time, a correction) while a problem is
// open; the solving time follows the monotonic clock all the same.
TEST_F(Judging, SolvingTimeIgnoresAJumpOfTheLocalClock) {
  headless::Advance(1500);
  headless::Machine().localMs -= 3'600'000;
  TypeKey(ExpectedKey());
  ASSERT_EQ(CurrentRun().RightCount(), 1);
  EXPECT_NEAR(CurrentRun().SolvedProblems()[0].solvingTime * drill::kMsPerDay, 1500, 1e-6);
}

TEST(JudgingWithoutAProblem, DigitsBeforeTheFirstLayoutChangeNothing) {
  FreshProcess();
  ui::MainWindow& form = CreateWindows(app::kDivisionVariant);
  ASSERT_EQ(CurrentRun().ProblemNumber(), 0);
  headless::Machine().trace.clear();
  for (char key = '0'; key <= '9'; ++key) {
    char typed = key;
    form.OnKeyPress(form, typed);
  }
  EXPECT_FALSE(CurrentRun().KeyHeld());
  EXPECT_EQ(CurrentRun().RightCount(), 0);
  EXPECT_TRUE(headless::TraceOf({"text", "sound", "sleep", "process"}).empty());
  // The entry is still armed for the first problem.
  platform::backend::ShowMainForm(form);
  TypeKey(ExpectedKey());
  EXPECT_EQ(CurrentRun().RightCount(), 1);
}

}  // namespace
