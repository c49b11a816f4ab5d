// The results dialog: start time, time taken, number of problems and average time.
#pragma once

#include "drill/summary.h"
#include "platform/controls.h"

namespace ui {

class ResultsDialog : public platform::Form {
 public:
  ResultsDialog();

  // Shows the summary modally until the quit button dismisses the dialog.
  void ShowSummary(drill::Summary shown);

  // One row of the dialog: what it says on the left, the figure on the right.
  struct Row {
    platform::Label* label;
    platform::StaticText* value;
  };
  Row startTime;
  Row timeTaken;
  Row problemCount;
  Row averageTime;
  platform::Button* quitButton;

 private:
  // Runs whenever the dialog becomes the active window.
  void FillRows();

  drill::Summary summary;
};

}  // namespace ui
