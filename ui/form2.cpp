// The results dialog.
#include "ui/form2.h"

#include "drill/texts.h"

TForm2* Form2 = nullptr;

namespace {

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
    platform::kClWindow,
    platform::Font{texts::kUiFace, -12, platform::kShiftJisCharset, platform::kClWindowText},
    false,
    {}};

}  // namespace

TForm2::TForm2() : platform::Form(kForm2Description) {
  Form2 = this;
}
