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
    {.kind = ControlKind::kLabel,
     .name = "startTimeLabel",
     .bounds = {83, 32, 83, 16},
     .caption = texts::kStartTime,
     .alignment = Alignment::kRight,
     .font = &kRowFont},
    {.kind = ControlKind::kLabel,
     .name = "timeTakenLabel",
     .bounds = {74, 56, 92, 16},
     .caption = texts::kTimeTaken,
     .alignment = Alignment::kRight,
     .font = &kRowFont},
    {.kind = ControlKind::kLabel,
     .name = "problemCountLabel",
     .bounds = {102, 80, 64, 16},
     .caption = texts::kProblemCount,
     .alignment = Alignment::kRight,
     .font = &kRowFont},
    {.kind = ControlKind::kLabel,
     .name = "averageTimeLabel",
     .bounds = {102, 104, 64, 16},
     .caption = texts::kAverageTime,
     .alignment = Alignment::kRight,
     .font = &kRowFont},
    {.kind = ControlKind::kStaticText,
     .name = "startTimeValue",
     .bounds = {176, 32, 83, 20},
     .caption = "StaticText1",
     .tabOrder = 1,
     .font = &kRowFont},
    {.kind = ControlKind::kStaticText,
     .name = "timeTakenValue",
     .bounds = {176, 56, 83, 20},
     .caption = "StaticText2",
     .tabOrder = 2,
     .font = &kRowFont},
    {.kind = ControlKind::kStaticText,
     .name = "problemCountValue",
     .bounds = {176, 80, 83, 20},
     .caption = "StaticText3",
     .tabOrder = 3,
     .font = &kRowFont},
    {.kind = ControlKind::kStaticText,
     .name = "averageTimeValue",
     .bounds = {176, 104, 83, 20},
     .caption = "StaticText4",
     .tabOrder = 4,
     .font = &kRowFont},
    {.kind = ControlKind::kButton,
     .name = "quitButton",
     .bounds = {144, 144, 73, 25},
     .caption = texts::kQuit,
     .tabOrder = 0,
     .tabStop = true},
};

// The form's stored name is what the error box says when its window cannot be made.
const platform::FormDescription kDescription{
    .name = "Form2",
    .caption = texts::kResults,
    .left = 188,
    .top = 105,
    .clientWidth = 359,
    .clientHeight = 207,
    .borderStyle = platform::BorderStyle::kDialog,
    .systemMenu = false,
    .windowState = platform::WindowState::kNormal,
    .color = platform::kWindowColor,
    .font = {texts::kUiFace, -12, platform::Charset::kShiftJis, platform::kWindowTextColor},
    .keyPreview = false,
    .controls = kControls,
};

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
