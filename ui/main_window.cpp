// The main drill window's stored description and its handlers: the problem on screen, the
// feedback of a typed digit, and the end of the run.
#include "ui/main_window.h"

#include <optional>
#include <string>

#include "drill/practice_log.h"
#include "drill/random.h"
#include "drill/summary.h"
#include "drill/texts.h"
#include "ui/sounds.h"

namespace ui {

namespace {

using platform::ControlDescription;
using platform::ControlKind;

constexpr int kDigitPoints = 96;
constexpr int kRightPauseMs = 400;
constexpr int kWrongPauseMs = 500;

// The Win32 layer numbers the child windows in this order, and the end-to-end driver finds
// them by class and position: the order stays as it is.
constexpr std::array<ControlDescription, 9> Controls(const char* operatorGlyph) {
  return {{
      {.kind = ControlKind::kButton,
       .name = "quitButton",
       .bounds = {16, 8, 57, 25},
       .caption = texts::kQuit,
       .tabOrder = 1,
       .tabStop = true},
      {.kind = ControlKind::kPanel,
       .name = "problemPanel",
       .bounds = {264, 80, 185, 41},
       .tabOrder = 0,
       .tabStop = true},
      {.kind = ControlKind::kLabel,
       .name = "equalsSign",
       .parent = "problemPanel",
       .bounds = {19, 16, 12, 12},
       .caption = texts::kEquals},
      {.kind = ControlKind::kLabel,
       .name = "digitPlace1",
       .parent = "problemPanel",
       .bounds = {0, 0, 6, 12},
       .caption = "9"},
      {.kind = ControlKind::kLabel,
       .name = "digitPlace2",
       .parent = "problemPanel",
       .bounds = {8, 0, 6, 12},
       .caption = "9"},
      {.kind = ControlKind::kLabel,
       .name = "digitPlace3",
       .parent = "problemPanel",
       .bounds = {16, 0, 6, 12},
       .caption = "9"},
      {.kind = ControlKind::kLabel,
       .name = "digitPlace4",
       .parent = "problemPanel",
       .bounds = {24, 0, 6, 12},
       .caption = "9"},
      {.kind = ControlKind::kLabel,
       .name = "operatorSign",
       .parent = "problemPanel",
       .bounds = {3, 16, 12, 12},
       .caption = operatorGlyph},
      {.kind = ControlKind::kImage,
       .name = "answerBox",
       .parent = "problemPanel",
       .bounds = {40, 0, 57, 33}},
  }};
}

constexpr auto kDivisionControls =
    Controls(drill::OperatorGlyph(drill::DrillKind::kDivision).data());
constexpr auto kSubtractionControls =
    Controls(drill::OperatorGlyph(drill::DrillKind::kSubtraction).data());

// The form's stored name is what the error box says when its window cannot be made.
platform::FormDescription MakeDescription(const char* caption,
                                          std::span<const ControlDescription> controls) {
  return {
      .name = "Form1",
      .caption = caption,
      .left = 192,
      .top = 106,
      .clientWidth = 688,
      .clientHeight = 454,
      .borderStyle = platform::BorderStyle::kSingle,
      .systemMenu = true,
      .windowState = platform::WindowState::kMaximized,
      .color = platform::kWindowColor,
      .font = {texts::kUiFace, -12, platform::Charset::kShiftJis, platform::kWindowTextColor},
      .keyPreview = true,
      .controls = controls,
  };
}

}  // namespace

const platform::FormDescription& MainWindowDescription(const drill::DrillVariant& variant,
                                                       bool focus) {
  if (focus) {
    const char* caption = drill::FocusTitle(variant.kind).data();
    if (variant.kind == drill::DrillKind::kDivision) {
      static const platform::FormDescription division = MakeDescription(caption, kDivisionControls);
      return division;
    }
    static const platform::FormDescription subtraction =
        MakeDescription(caption, kSubtractionControls);
    return subtraction;
  }
  if (variant.kind == drill::DrillKind::kDivision) {
    static const platform::FormDescription division =
        MakeDescription(variant.title, kDivisionControls);
    return division;
  }
  static const platform::FormDescription subtraction =
      MakeDescription(variant.title, kSubtractionControls);
  return subtraction;
}

MainWindow::MainWindow(const drill::DrillVariant& variant,
                       const drill::TimeTextSeparators& separators,
                       std::optional<drill::FactStates> focusHistory)
    : platform::Form(MainWindowDescription(variant, focusHistory.has_value())),
      digitPlaces{
          Component<platform::Label>("digitPlace1"), Component<platform::Label>("digitPlace2"),
          Component<platform::Label>("digitPlace3"), Component<platform::Label>("digitPlace4")},
      operatorSign(Component<platform::Label>("operatorSign")),
      equalsSign(Component<platform::Label>("equalsSign")),
      problemPanel(Component<platform::Panel>("problemPanel")),
      answerBox(Component<platform::Image>("answerBox")),
      quitButton(Component<platform::Button>("quitButton")),
      variant(variant),
      separators(separators),
      focusHistory(std::move(focusHistory)),
      // Replaced by the started run at the end of the set-up.
      run(variant.kind, 0, 0) {
  OnCreate = [this](platform::Form&) { SetUp(); };
  // The sounds are primed once the first problem is on screen: the window comes up sooner,
  // and no key is judged before the loop runs, after the priming.
  OnShown = [](platform::Form&) { PrimeSounds(); };
  OnDestroy = [this](platform::Form&) { font.Remove(); };
  OnResize = [this](platform::Form&) { LayOut(); };
  OnClose = [this](platform::Form&, platform::CloseAction&) { FinishOnClose(); };
  OnKeyPress = [this](platform::Form&, char& key) { JudgeKey(key); };
  OnKeyUp = [this](platform::Form&, platform::Key&) { run.ReleaseKey(); };
  OnEndSession = [this](platform::Form&) { FinishOnSessionEnd(); };
  quitButton->OnClick = [this](platform::Control&) { Close(); };
}

std::array<platform::Label*, 6> MainWindow::LargeLabels() const {
  return {digitPlaces[0], digitPlaces[1], digitPlaces[2], digitPlaces[3], operatorSign, equalsSign};
}

void MainWindow::SetUp() {
  font.Install();
  // One font change per label: each change creates and measures a font, and a step through
  // the interface face at the digits' size costs start-up time for nothing.
  for (platform::Label* label : LargeLabels()) {
    platform::Font digits = label->GetFont();
    digits.charset = platform::Charset::kDefault;
    digits.SetSize(kDigitPoints, PixelsPerInch());
    digits.name = texts::kDigitFace;
    label->SetFont(digits);
  }
  const platform::Label& first = *digitPlaces[0];
  answerBox->SetWidth(first.Width() + 8);
  answerBox->SetHeight(first.Height() + 8);
  platform::Canvas& canvas = answerBox->GetCanvas();
  canvas.Rectangle(0, 0, answerBox->Width(), answerBox->Height());
  canvas.font.charset = platform::Charset::kDefault;
  canvas.font.SetSize(first.GetFont().Size(PixelsPerInch()), PixelsPerInch());
  canvas.font.name = first.GetFont().name;
  if (focusHistory) {
    const drill::TimeValue start = drill::ReadClock();
    run = drill::PracticeRun(variant.kind, start, drill::SeedFromUtcTime(platform::UtcTime()),
                             drill::FocusPlanner(variant.kind, *focusHistory));
    focusHistory.reset();  // the planner keeps what it needs
    return;
  }
  run = drill::PracticeRun(variant.kind, drill::ReadClock(),
                           drill::SeedFromUtcTime(platform::UtcTime()));
}

void MainWindow::LayOut() {
  quitButton->SetLeft(ClientWidth() - quitButton->Width() - 16);
  quitButton->SetTop(ClientHeight() - quitButton->Height() - 16);
  for (platform::Label* label : LargeLabels())
    label->SetTop(4);
  // Left to right: place 1, the operator, place 2, the equals sign, places 3 and 4.
  const platform::Label* previous = nullptr;
  for (platform::Label* label :
       {digitPlaces[0], operatorSign, digitPlaces[1], equalsSign, digitPlaces[2], digitPlaces[3]}) {
    label->SetLeft(previous ? previous->Left() + previous->Width() + 8 : 4);
    previous = label;
  }
  const platform::Label& first = *digitPlaces[0];
  problemPanel->SetWidth(digitPlaces[3]->Left() + digitPlaces[3]->Width() + 4);
  problemPanel->SetHeight(first.Height() + 8);
  problemPanel->SetLeft((ClientWidth() - problemPanel->Width()) / 2);
  problemPanel->SetTop((ClientHeight() - problemPanel->Height()) / 2);
  answerBox->SetTop(first.Top() - 4);
  ShowNextProblem();
}

void MainWindow::ShowNextProblem() {
  std::optional<drill::OpenedProblem> opened = run.OpenNextProblem(drill::ReadMonotonicClock());
  if (!opened) return;
  const int hidden = opened->problem.hiddenSlot;
  // The hidden place keeps the caption it had; the answer box covers it.
  for (int slot = 1; slot <= 4; ++slot) {
    const size_t i = static_cast<size_t>(slot - 1);
    if (slot != hidden) digitPlaces[i]->SetCaption(opened->digitTexts[i]);
  }
  answerBox->SetLeft(digitPlaces[static_cast<size_t>(hidden - 1)]->Left() - 4);
}

void MainWindow::JudgeKey(char key) {
  const drill::Verdict verdict = run.JudgeKey(key, drill::ReadMonotonicClock());
  if (verdict == drill::Verdict::kIgnored) return;
  const bool right = verdict == drill::Verdict::kRight;
  ShowTypedDigit(key, right ? platform::kBlack : platform::kRed);
  // Showing the digit processed the pending messages, and three of them change the run:
  // - a close (the close box, the quit button) ended it and showed the results: nothing of
  //   the feedback runs on;
  // - a log-off or shutdown ended it the same way, without the results;
  // - a re-layout opened another problem, which the run then does not open a second time.
  // The answer was settled by the judging, so each of them finds it counted or charged.
  if (!run.Ended()) {
    platform::PlaySoundResource(right ? kRightSound : kWrongSound);
    platform::Sleep(right ? kRightPauseMs : kWrongPauseMs);
    // The last answer closes the window after the pause and before the erase.
    if (run.Complete()) Close();
    EraseAnswerBox();
  }
  if (run.FinishJudging()) ShowNextProblem();
}

void MainWindow::ShowTypedDigit(char key, platform::Color color) {
  platform::Canvas& canvas = answerBox->GetCanvas();
  canvas.font.color = color;
  canvas.TextOut(4, 4, std::string(1, key));
  // Let the box repaint now: the digit must be on screen before the sound and the pause.
  platform::TheApp().ProcessMessages();
}

void MainWindow::EraseAnswerBox() {
  answerBox->GetCanvas().Rectangle(0, 0, answerBox->Width(), answerBox->Height());
}

namespace {

// The warning of a log that could not be written; the run's end goes on after it.
void ShowLogFailure() {
  platform::TheApp().MessageBox(texts::kLogFailed, texts::kWarning,
                                platform::MessageKind::kWarning);
}

}  // namespace

bool MainWindow::EndRun() {
  quitButton->SetEnabled(false);
  // The run ends once, whatever asks for a close or a log-off after that.
  return run.End();
}

void MainWindow::FinishOnClose() {
  if (!EndRun() || run.RightCount() < 1) return;
  if (!drill::WritePracticeLog(drill::LogContentsOf(run), separators)) ShowLogFailure();
  if (resultsDialog) resultsDialog->ShowSummary(drill::SummarizeRun(run, separators));
}

void MainWindow::FinishOnSessionEnd() {
  if (!EndRun()) return;  // a close came first and has written the log
  const bool logFailed =
      run.RightCount() >= 1 && !drill::WritePracticeLog(drill::LogContentsOf(run), separators);
  // The font goes before any box: the system may end the process while the box is shown.
  // The window goes first, as at a normal end, so that nothing repaints in a substitute face
  // behind the box.
  SetVisible(false);
  font.Remove();
  if (logFailed) ShowLogFailure();
}

}  // namespace ui
