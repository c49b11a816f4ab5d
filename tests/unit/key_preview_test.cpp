// The forms' key preview on the in-memory backend: a handler sees each key first and may
// swallow it or turn it into another before the form's keyboard navigation acts on it; and
// that navigation, which both backends share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/headless/headless.h"
#include "platform/navigation.h"

namespace {

using platform::ControlDescription;
using platform::ControlKind;
using platform::Key;

const ControlDescription kTwoButtons[] = {
    {.kind = ControlKind::kButton,
     .name = "First",
     .bounds = {8, 8, 75, 25},
     .caption = "1",
     .tabOrder = 0,
     .tabStop = true},
    {.kind = ControlKind::kButton,
     .name = "Second",
     .bounds = {8, 40, 75, 25},
     .caption = "2",
     .tabOrder = 1,
     .tabStop = true},
};

const platform::FormDescription kForm{
    .name = "Keys",
    .caption = "Keys",
    .left = 0,
    .top = 0,
    .clientWidth = 200,
    .clientHeight = 100,
    .borderStyle = platform::BorderStyle::kSingle,
    .systemMenu = true,
    .windowState = platform::WindowState::kNormal,
    .color = platform::kWindowColor,
    .font = {"Sans", -12, platform::Charset::kShiftJis, platform::kWindowTextColor},
    .keyPreview = true,
    .controls = kTwoButtons,
};

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

// Both backends act on these answers, so a wrong one here is a wrong key in the drill.
TEST(KeyboardNavigation, WhatEachKeyDoesToTheFocus) {
  using platform::NavigationStep;
  const platform::KeyModifiers none, shift{.shift = true}, chord{.controlOrAlt = true};
  struct Case {
    Key key;
    platform::KeyModifiers modifiers;
    NavigationStep step;
  } cases[] = {
      {Key::kTab, none, NavigationStep::kNext},      {Key::kTab, shift, NavigationStep::kPrevious},
      {Key::kRight, none, NavigationStep::kNext},    {Key::kDown, none, NavigationStep::kNext},
      {Key::kLeft, none, NavigationStep::kPrevious}, {Key::kUp, shift, NavigationStep::kPrevious},
      {Key::kReturn, none, NavigationStep::kPress},  {Key::kEscape, none, NavigationStep::kSwallow},
      {Key::kTab, chord, NavigationStep::kNone},     {Key::kReturn, chord, NavigationStep::kNone},
      {Key::kSpace, none, NavigationStep::kNone},    {Key::kOther, none, NavigationStep::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.key));
    EXPECT_EQ(platform::NavigationStepOf(c.key, c.modifiers), c.step);
  }
}

// Enter presses the focused button once: not again from auto-repeat, and not when the button
// has been disabled under the focus. The focus goes round at both ends of the tab order.
TEST(KeyboardNavigation, EnterPressesOnlyAFocusableButtonOnce) {
  headless::Reset();
  platform::Form& form = platform::TheApp().CreateForm<platform::Form>(kForm);
  platform::Control* first = form.Component<platform::Button>("First");
  int clicks = 0;
  first->OnClick = [&clicks](platform::Control&) { ++clicks; };
  ASSERT_EQ(form.ActiveControl(), first);
  EXPECT_TRUE(platform::Navigate(form, Key::kReturn, {.repeated = true}));
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(platform::Navigate(form, Key::kReturn, {}));
  EXPECT_EQ(clicks, 1);
  first->SetEnabled(false);
  EXPECT_TRUE(platform::Navigate(form, Key::kReturn, {}));
  EXPECT_EQ(clicks, 1);
  first->SetEnabled(true);
  EXPECT_EQ(platform::NextTabStop(form, first, false)->Name(), "Second");
  EXPECT_EQ(platform::NextTabStop(form, nullptr, false)->Name(), "Second");
  EXPECT_EQ(platform::NextTabStop(form, nullptr, true), first);
  headless::Reset();
}

}  // namespace
