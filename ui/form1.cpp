// The main drill window's stored description and its handlers.
#include "ui/form1.h"

#include <array>
#include <string>

#include "drill/answer.h"
#include "drill/drill_state.h"
#include "drill/generator.h"
#include "drill/practice_log.h"
#include "drill/texts.h"
#include "resources/font_install.h"
#include "ui/form2.h"

using platform::ControlDescription;
using platform::ControlKind;

TForm1* Form1 = nullptr;

namespace {

constexpr int kDigitPoints = 96;

constexpr std::array<ControlDescription, 9> Form1Controls(const char* operatorGlyph) {
  return {{
      {ControlKind::kButton, "Button1", nullptr, 16, 8, 57, 25, texts::kQuit, 1, true},
      {ControlKind::kPanel, "Panel1", nullptr, 264, 80, 185, 41, "", 0, true},
      {ControlKind::kLabel, "Label6", "Panel1", 19, 16, 12, 12, texts::kEquals},
      {ControlKind::kLabel, "Label1", "Panel1", 0, 0, 6, 12, "9"},
      {ControlKind::kLabel, "Label2", "Panel1", 8, 0, 6, 12, "9"},
      {ControlKind::kLabel, "Label3", "Panel1", 16, 0, 6, 12, "9"},
      {ControlKind::kLabel, "Label4", "Panel1", 24, 0, 6, 12, "9"},
      {ControlKind::kLabel, "Label5", "Panel1", 3, 16, 12, 12, operatorGlyph},
      {ControlKind::kImage, "Image1", "Panel1", 40, 0, 57, 33},
  }};
}

constexpr auto kDivisionControls = Form1Controls(texts::kTimes);
constexpr auto kSubtractionControls = Form1Controls(texts::kPlus);

platform::FormDescription MakeDescription(const drill::DrillVariant& variant,
                                          std::span<const ControlDescription> controls) {
  return {
      "Form1",
      variant.title,
      192,
      106,
      688,
      454,
      platform::BorderStyle::kSingle,
      true,
      platform::WindowState::kMaximized,
      platform::kWindowColor,
      platform::Font{texts::kUiFace, -12, platform::Charset::kShiftJis, platform::kWindowTextColor},
      true,
      controls};
}

}  // namespace

const platform::FormDescription& Form1Description(const drill::DrillVariant& variant) {
  if (variant.operation == drill::Operation::kProduct) {
    static const platform::FormDescription division = MakeDescription(variant, kDivisionControls);
    return division;
  }
  static const platform::FormDescription subtraction =
      MakeDescription(variant, kSubtractionControls);
  return subtraction;
}

TForm1::TForm1(const drill::DrillVariant& v)
    : platform::Form(Form1Description(v)),
      Button1(Component<platform::Button>("Button1")),
      Label1(Component<platform::Label>("Label1")),
      Label2(Component<platform::Label>("Label2")),
      Label3(Component<platform::Label>("Label3")),
      Label4(Component<platform::Label>("Label4")),
      Label5(Component<platform::Label>("Label5")),
      Label6(Component<platform::Label>("Label6")),
      Panel1(Component<platform::Panel>("Panel1")),
      Image1(Component<platform::Image>("Image1")),
      variant(v) {
  OnCreate = [this](platform::Form& s) { FormCreate(s); };
  OnDestroy = [this](platform::Form& s) { FormDestroy(s); };
  OnResize = [this](platform::Form& s) { FormResize(s); };
  OnClose = [this](platform::Form& s, platform::CloseAction& a) { FormClose(s, a); };
  OnKeyDown = [this](platform::Form& s, platform::Key& k) { FormKeyDown(s, k); };
  OnKeyUp = [this](platform::Form& s, platform::Key& k) { FormKeyUp(s, k); };
  OnKeyPress = [this](platform::Form& s, char& k) { FormKeyPress(s, k); };
  OnEndSession = [this](platform::Form& s) { FormEndSession(s); };
  Button1->OnClick = [this](platform::Control& s) { Button1Click(s); };
  Form1 = this;
}

void TForm1::FormCreate(platform::Form&) {
  InstallFont();
  for (int i = 1; i <= 6; ++i) {
    auto* label = Component<platform::Label>("Label" + std::to_string(i));
    Drill.LabelArray[static_cast<size_t>(i - 1)] = label;
    label->SetFontCharset(platform::Charset::kDefault);
    label->SetFontSize(kDigitPoints);
    label->SetFontName(texts::kDigitFace);
  }
  Image1->SetWidth(Label1->Width() + 8);
  Image1->SetHeight(Label1->Height() + 8);
  platform::Canvas& canvas = Image1->GetCanvas();
  canvas.Rectangle(0, 0, Image1->Width(), Image1->Height());
  canvas.font.charset = platform::Charset::kDefault;
  canvas.font.SetSize(Label1->GetFont().Size(PixelsPerInch()), PixelsPerInch());
  canvas.font.name = Label1->GetFont().name;
  PrimeSounds();
  StartPracticeRun();
}

void TForm1::FormDestroy(platform::Form&) {
  RemoveFont();
}

void TForm1::FormResize(platform::Form&) {
  Button1->SetLeft(ClientWidth() - Button1->Width() - 16);
  Button1->SetTop(ClientHeight() - Button1->Height() - 16);
  for (platform::Label* label : Drill.LabelArray)
    label->SetTop(4);
  Label1->SetLeft(4);
  Label5->SetLeft(Label1->Left() + Label1->Width() + 8);
  Label2->SetLeft(Label5->Left() + Label5->Width() + 8);
  Label6->SetLeft(Label2->Left() + Label2->Width() + 8);
  Label3->SetLeft(Label6->Left() + Label6->Width() + 8);
  Label4->SetLeft(Label3->Left() + Label3->Width() + 8);
  Panel1->SetWidth(Label4->Left() + Label4->Width() + 4);
  Panel1->SetHeight(Label1->Height() + 8);
  Panel1->SetLeft((ClientWidth() - Panel1->Width()) / 2);
  Panel1->SetTop((ClientHeight() - Panel1->Height()) / 2);
  Image1->SetTop(Label1->Top() - 4);
  Generate();
}

bool TForm1::EndRun() {
  Button1->SetEnabled(false);
  // The run ends once, whatever asks for a close or a log-off after that.
  if (Drill.RunEnded) return false;
  Drill.RunEnded = true;
  drill::CountAnswerInFlight();
  return true;
}

void TForm1::FormClose(platform::Form&, platform::CloseAction&) {
  if (!EndRun() || Drill.RightCount < 1) return;
  LogOutput();
  if (Form2) Form2->ShowModal();
}

void TForm1::FormEndSession(platform::Form&) {
  if (!EndRun()) return;  // a close came first and has written the log
  bool logFailed = Drill.RightCount >= 1 && !drill::WritePracticeLogQuietly(variant);
  // The font goes before any box: the system may end the process while the box is shown.
  RemoveFont();
  if (logFailed) drill::ShowLogFailure();
}

void TForm1::FormKeyDown(platform::Form&, platform::Key&) {}

void TForm1::FormKeyUp(platform::Form&, platform::Key&) {
  drill::ReleaseKey();
}

void TForm1::FormKeyPress(platform::Form&, char& Key) {
  drill::JudgeKeyPress(
      Key, *Image1, [this] { Generate(); }, [this] { Close(); });
}

void TForm1::Button1Click(platform::Control&) {
  Close();
}

void TForm1::KakeZan() {
  drill::OpenProblem(drill::Operation::kProduct, *Image1);
}

void TForm1::TasiZan() {
  drill::OpenProblem(drill::Operation::kSum, *Image1);
}

void TForm1::Generate() {
  if (variant.operation == drill::Operation::kProduct) {
    KakeZan();
  } else {
    TasiZan();
  }
}

void TForm1::LogOutput() {
  drill::WritePracticeLog(variant);
}
