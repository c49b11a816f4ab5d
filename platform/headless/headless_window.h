// What the in-memory backend's files share: a control's peer (the canvas an image shows),
// the form that takes the input, and the event loop's steps.
#pragma once

#include <functional>

#include "platform/headless/headless.h"

namespace headless {

struct HeadlessControl : platform::NativeControl {
  CanvasContent canvas;
};

// The control's peer, made at its first use.
HeadlessControl& Peer(platform::Control& control);

// A modal form that is showing takes the input; otherwise the main form does.
platform::Form* InputForm();

// Runs every queued event; true when there was one.
bool Drain();
// Runs events until done() holds; asks the idle hook when nothing is queued.
void Loop(const std::function<bool()>& done);

// A window-system event arriving at the form that takes the input: its key preview, then
// the layer's keyboard navigation, as the Win32 message loop does.
void DeliverKeyDown(platform::Key key);
void DeliverChar(char ch);
void DeliverKeyUp(platform::Key key);

}  // namespace headless
