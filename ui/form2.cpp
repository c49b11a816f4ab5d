// The results dialog's stored description and its two handlers.
#include "ui/form2.h"

#include "drill/summary.h"
#include "drill/texts.h"

using platform::Alignment;
using platform::ControlDescription;
using platform::ControlKind;

TForm2* Form2 = nullptr;

namespace {

const platform::Font kRowFont{texts::kUiFace, -16, platform::Charset::kShiftJis,
                              platform::kWindowTextColor};

// Labels keep their right edge at 166 as they fit their text; static texts keep left and top.
const ControlDescription kForm2Controls[] = {
    {ControlKind::kLabel, "Label1", nullptr, 83, 32, 83, 16, texts::kStartTime, -1, false,
     Alignment::kRight, &kRowFont},
    {ControlKind::kLabel, "Label2", nullptr, 74, 56, 92, 16, texts::kTimeTaken, -1, false,
     Alignment::kRight, &kRowFont},
    {ControlKind::kLabel, "Label3", nullptr, 102, 80, 64, 16, texts::kProblemCount, -1, false,
     Alignment::kRight, &kRowFont},
    {ControlKind::kLabel, "Label4", nullptr, 102, 104, 64, 16, texts::kAverageTime, -1, false,
     Alignment::kRight, &kRowFont},
    {ControlKind::kStaticText, "StaticText1", nullptr, 176, 32, 83, 20, "StaticText1", 1, false,
     Alignment::kLeft, &kRowFont},
    {ControlKind::kStaticText, "StaticText2", nullptr, 176, 56, 83, 20, "StaticText2", 2, false,
     Alignment::kLeft, &kRowFont},
    {ControlKind::kStaticText, "StaticText3", nullptr, 176, 80, 83, 20, "StaticText3", 3, false,
     Alignment::kLeft, &kRowFont},
    {ControlKind::kStaticText, "StaticText4", nullptr, 176, 104, 83, 20, "StaticText4", 4, false,
     Alignment::kLeft, &kRowFont},
    {ControlKind::kButton, "Button1", nullptr, 144, 144, 73, 25, texts::kQuit, 0, true},
};

const platform::FormDescription kForm2Description{
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
    kForm2Controls};

}  // namespace

TForm2::TForm2()
    : platform::Form(kForm2Description),
      Label1(Component<platform::Label>("Label1")),
      Label2(Component<platform::Label>("Label2")),
      Label3(Component<platform::Label>("Label3")),
      Label4(Component<platform::Label>("Label4")),
      StaticText1(Component<platform::StaticText>("StaticText1")),
      StaticText2(Component<platform::StaticText>("StaticText2")),
      StaticText3(Component<platform::StaticText>("StaticText3")),
      StaticText4(Component<platform::StaticText>("StaticText4")),
      Button1(Component<platform::Button>("Button1")) {
  OnActivate = [this](platform::Form& s) { FormActivate(s); };
  Button1->OnClick = [this](platform::Control& s) { Button1Click(s); };
  Form2 = this;
}

void TForm2::FormActivate(platform::Form&) {
  drill::Summary summary = drill::SummarizeRun();
  StaticText1->SetCaption(summary.startTime);
  StaticText2->SetCaption(summary.totalTime);
  StaticText3->SetCaption(summary.problemCount);
  if (summary.averageTime) {
    StaticText4->SetCaption(*summary.averageTime);
  } else {
    StaticText4->SetVisible(false);
  }
}

void TForm2::Button1Click(platform::Control&) {
  SetModalResult(platform::ModalResult::kCancel);
}
