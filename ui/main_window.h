// The main drill window: four digit places and two signs as large labels in a centred panel,
// the answer box over the hidden digit, and the quit button. It owns the practice run and
// shows what the run says; a focus run's caption says so.
#pragma once

#include <array>
#include <optional>

#include "drill/fact_states.h"
#include "drill/practice_run.h"
#include "drill/time_text.h"
#include "drill/variant.h"
#include "platform/controls.h"
#include "ui/digit_face.h"
#include "ui/results_dialog.h"

namespace ui {

class MainWindow : public platform::Form {
 public:
  // The separators are read anew on a settings change; the window formats with them as they
  // are when the run ends. With a focus history the run is a focus run that practises what
  // the history finds; the history may be empty.
  MainWindow(const drill::DrillVariant& variant, const drill::TimeTextSeparators& separators,
             std::optional<drill::FactStates> focusHistory = std::nullopt);

  // The dialog that shows the results when a run with a right answer ends; it is created
  // after this window.
  void ShowResultsIn(ResultsDialog& dialog) { resultsDialog = &dialog; }
  ResultsDialog* Results() const { return resultsDialog; }
  const drill::PracticeRun& Run() const { return run; }

  // Places 1 to 4: the first operand, the second operand, the tens and the units of the
  // result.
  std::array<platform::Label*, 4> digitPlaces;
  platform::Label* operatorSign;
  platform::Label* equalsSign;
  platform::Panel* problemPanel;  // holds the labels and the answer box
  platform::Image* answerBox;     // drawn over the hidden digit place
  platform::Button* quitButton;

 private:
  // The six large labels in the order they are set up: the digit places, then the signs.
  std::array<platform::Label*, 6> LargeLabels() const;

  void SetUp();   // creation: the face, the labels, the box, the run
  void LayOut();  // every new client size; opens a problem in the new layout
  void ShowNextProblem();
  void JudgeKey(char key);
  void ShowTypedDigit(char key, platform::Color color);
  void EraseAnswerBox();
  // Greys the quit button and ends the run; false when it had ended already.
  bool EndRun();
  void FinishOnClose();       // writes the log and shows the results
  void FinishOnSessionEnd();  // log-off or shutdown: the log, without the results

  const drill::DrillVariant& variant;
  const drill::TimeTextSeparators& separators;
  std::optional<drill::FactStates> focusHistory;
  drill::PracticeRun run;
  FontInstallation font;
  ResultsDialog* resultsDialog = nullptr;
};

// The stored description of the main window for a build, in a normal or a focus run.
const platform::FormDescription& MainWindowDescription(const drill::DrillVariant& variant,
                                                       bool focus = false);

}  // namespace ui
