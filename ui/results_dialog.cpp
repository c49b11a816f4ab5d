// The results dialog's stored description and its two handlers.
#include "ui/results_dialog.h"

#include "drill/texts.h"

namespace ui {

namespace {

using platform::Alignment;
using platform::ControlDescription;
using platform::ControlKind;

const platform::Font kRowFont{texts::kUiFace, -16, platform::Charset::kShiftJis,
                              platform::kWindowTextColor};

// Labels keep their right edge at 166 as they fit their text; static texts keep left and top.
// The values read "StaticText1" to "StaticText4" until the dialog is first activated.
const ControlDescription kControls[] = {
    {ControlKind::kLabel, "startTimeLabel", nullptr, 83, 32, 83, 16, texts::kStartTime, -1, false,
     Alignment::kRight, &kRowFont},
    {ControlKind::kLabel, "timeTakenLabel", nullptr, 74, 56, 92, 16, texts::kTimeTaken, -1, false,
     Alignment::kRight, &kRowFont},
    {ControlKind::kLabel, "problemCountLabel", nullptr, 102, 80, 64, 16, texts::kProblemCount, -1,
     false, Alignment::kRight, &kRowFont},
    {ControlKind::kLabel, "averageTimeLabel", nullptr, 102, 104, 64, 16, texts::kAverageTime, -1,
     false, Alignment::kRight, &kRowFont},
    {ControlKind::kStaticText, "startTimeValue", nullptr, 176, 32, 83, 20, "StaticText1", 1, false,
     Alignment::kLeft, &kRowFont},
    {ControlKind::kStaticText, "timeTakenValue", nullptr, 176, 56, 83, 20, "StaticText2", 2, false,
     Alignment::kLeft, &kRowFont},
    {ControlKind::kStaticText, "problemCountValue", nullptr, 176, 80, 83, 20, "StaticText3", 3,
     false, Alignment::kLeft, &kRowFont},
    {ControlKind::kStaticText, "averageTimeValue", nullptr, 176, 104, 83, 20, "StaticText4", 4,
     false, Alignment::kLeft, &kRowFont},
    {ControlKind::kButton, "quitButton", nullptr, 144, 144, 73, 25, texts::kQuit, 0, true},
};

// The form's stored name is what the error box says when its window cannot be made.
const platform::FormDescription kDescription{
    "Form2",
    texts::kResults,
    188,
    105,
    359,
    207,
    platform::BorderStyle::kDialog,
    false,
    platform::WindowState::kNormal,
    platform::kWindowColor,
    platform::Font{texts::kUiFace, -12, platform::Charset::kShiftJis, platform::kWindowTextColor},
    false,
    kControls};

}  // namespace

ResultsDialog::ResultsDialog()
    : platform::Form(kDescription),
      startTime{Component<platform::Label>("startTimeLabel"),
                Component<platform::StaticText>("startTimeValue")},
      timeTaken{Component<platform::Label>("timeTakenLabel"),
                Component<platform::StaticText>("timeTakenValue")},
      problemCount{Component<platform::Label>("problemCountLabel"),
                   Component<platform::StaticText>("problemCountValue")},
      averageTime{Component<platform::Label>("averageTimeLabel"),
                  Component<platform::StaticText>("averageTimeValue")},
      quitButton(Component<platform::Button>("quitButton")) {
  OnActivate = [this](platform::Form&) { FillRows(); };
  // Shown modally, the dialog ends its modal loop rather than closing itself.
  quitButton->OnClick = [this](platform::Control&) {
    SetModalResult(platform::ModalResult::kCancel);
  };
}

void ResultsDialog::ShowSummary(drill::Summary shown) {
  summary = std::move(shown);
  ShowModal();
}

void ResultsDialog::FillRows() {
  startTime.value->SetCaption(summary.startTime);
  timeTaken.value->SetCaption(summary.totalTime);
  problemCount.value->SetCaption(summary.problemCount);
  if (summary.averageTime) {
    averageTime.value->SetCaption(*summary.averageTime);
  } else {
    averageTime.value->SetVisible(false);
  }
}

}  // namespace ui
