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
// The key-release handler's work: re-arms the entry unless a judging is running.
void ReleaseKey();

}  // namespace drill
