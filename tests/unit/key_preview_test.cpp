// The forms' key preview on the in-memory backend: a handler sees each key first and may
// swallow it or turn it into another before the form's keyboard navigation acts on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/headless/headless.h"

namespace {

using platform::ControlDescription;
using platform::ControlKind;
using platform::Key;

const ControlDescription kTwoButtons[] = {
    {ControlKind::kButton, "First", nullptr, 8, 8, 75, 25, "1", 0, true},
    {ControlKind::kButton, "Second", nullptr, 8, 40, 75, 25, "2", 1, true},
};

const platform::FormDescription kForm{
    "Keys",
    "Keys",
    0,
    0,
    200,
    100,
    platform::BorderStyle::kSingle,
    true,
    platform::WindowState::kNormal,
    platform::kWindowColor,
    platform::Font{"Sans", -12, platform::Charset::kShiftJis, platform::kWindowTextColor},
    true,
    kTwoButtons};

enum class Handler { kLeaves, kSwallows, kTurnsIntoTab };

void Apply(Handler handler, Key& key) {
  if (handler == Handler::kSwallows) key = Key::kNone;
  if (handler == Handler::kTurnsIntoTab) key = Key::kTab;
}

TEST(KeyPreview, TheHandlersKeyIsTheOneTheFormActsOn) {
  struct Case {
    Handler onKeyDown, onKeyUp;
    Key key;
    const char* focusAfter;  // the button that has the focus after the key
    int clicks;              // of the focused button
  } cases[] = {
      {Handler::kLeaves, Handler::kLeaves, Key::kTab, "Second", 0},
      {Handler::kSwallows, Handler::kLeaves, Key::kTab, "First", 0},
      {Handler::kTurnsIntoTab, Handler::kLeaves, Key::kOther, "Second", 0},
      {Handler::kLeaves, Handler::kLeaves, Key::kOther, "First", 0},
      {Handler::kLeaves, Handler::kLeaves, Key::kReturn, "First", 1},
      {Handler::kSwallows, Handler::kLeaves, Key::kReturn, "First", 0},
      {Handler::kLeaves, Handler::kLeaves, Key::kSpace, "First", 1},
      {Handler::kLeaves, Handler::kSwallows, Key::kSpace, "First", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << static_cast<int>(c.onKeyDown) << "/" << static_cast<int>(c.onKeyUp) << " key "
                 << static_cast<int>(c.key));
    headless::Reset();
    platform::Form& form = platform::TheApp().CreateForm<platform::Form>(kForm);
    form.OnKeyDown = [&c](platform::Form&, Key& key) { Apply(c.onKeyDown, key); };
    form.OnKeyUp = [&c](platform::Form&, Key& key) { Apply(c.onKeyUp, key); };
    int clicks = 0;
    form.Component<platform::Button>("First")->OnClick = [&clicks](platform::Control&) {
      ++clicks;
    };
    ASSERT_EQ(form.ActiveControl()->Name(), "First");
    headless::PostKeyDown(c.key);
    headless::PostKeyUp(c.key);
    headless::DeliverPending();
    EXPECT_EQ(form.ActiveControl()->Name(), c.focusAfter);
    EXPECT_EQ(clicks, c.clicks);
  }
  headless::Reset();
}

}  // namespace
