// Judging a typed digit against the open problem, with its feedback and pauses.
#pragma once

#include <functional>

namespace platform {
class Image;
}

namespace drill {

// The key-press handler's work. nextProblem opens a problem; closeWindow closes the main
// window, which ends the run.
void JudgeKeyPress(char key, platform::Image& answerBox, const std::function<void()>& nextProblem,
                   const std::function<void()>& closeWindow);
// Counts a right answer that was judged and shown but not yet counted: the run ended while
// its digit was being shown, and the answer belongs in the log and the summary all the same.
void CountAnswerInFlight();
// The key-release handler's work: re-arms the entry unless a judging is running.
void ReleaseKey();

}  // namespace drill
