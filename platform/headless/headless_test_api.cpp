// The in-memory backend's controls for tests: the machine's state, its clock, the events
// tests post, and what they read back (canvases, focus, the trace).
#include <cstdio>
#include <string>
#include <utility>

#include "platform/calendar.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_window.h"

namespace headless {

void Trace(std::string entry) {
  Machine().trace.push_back(std::move(entry));
}

// Paths are kept as the tests write them: UTF-8 bytes.
std::string Utf8(const platform::Path& path) {
  return path.Native();
}

platform::Path PathFromUtf8(std::string_view utf8) {
  return platform::Path(std::string(utf8));
}

State& Machine() {
  static State state;
  return state;
}

void Reset() {
  platform::TheApp().Restart();
  Machine() = State{};
  SetLocalTime({{2024, 3, 5}, 9, 7, 2, 345});
}

void SetLocalTime(const platform::DateTime& t) {
  Machine().localMs = t.Seconds() * 1000 + t.millisecond;
}

void Advance(int milliseconds) {
  Machine().localMs += milliseconds;
  Machine().monotonicMicros += milliseconds * 1000LL;
}

void PostKeyDown(platform::Key key) {
  Machine().queue.push_back([key] { DeliverKeyDown(key); });
}

void PostChar(char ch) {
  Machine().queue.push_back([ch] { DeliverChar(ch); });
}

void PostKeyUp(platform::Key key) {
  Machine().queue.push_back([key] { DeliverKeyUp(key); });
}

platform::Key KeyOfChar(char ch) {
  switch (ch) {
    case '\r':
      return platform::Key::kReturn;
    case '\t':
      return platform::Key::kTab;
    case ' ':
      return platform::Key::kSpace;
    case '\x1b':
      return platform::Key::kEscape;
    default:
      return platform::Key::kOther;
  }
}

void PostKey(char ch) {
  platform::Key key = KeyOfChar(ch);
  PostKeyDown(key);
  PostChar(ch);
  PostKeyUp(key);
}

void PostResize(int w, int h) {
  Machine().queue.push_back([w, h] {
    if (platform::Form* main = platform::TheApp().MainForm()) main->NoteClientSize(w, h);
  });
}

void PostClose() {
  Machine().queue.push_back([] {
    if (platform::Form* main = platform::TheApp().MainForm()) main->Close();
  });
}

void PostEndSession() {
  Machine().queue.push_back([] { platform::TheApp().EndSession(); });
}

void PostClick(platform::Control& control) {
  Machine().queue.push_back([&control] {
    platform::Form* form = control.OwnerForm();
    if (control.Enabled() && form && form->Enabled()) control.Click();
  });
}

void PostSettingChange(std::optional<char> dateSeparator, std::optional<char> timeSeparator) {
  Machine().queue.push_back([dateSeparator, timeSeparator] {
    Machine().dateSeparator = dateSeparator;
    Machine().timeSeparator = timeSeparator;
    if (platform::TheApp().OnSettingChange) platform::TheApp().OnSettingChange();
  });
}

void DeliverPending() {
  Drain();
}

const CanvasContent& CanvasOf(platform::Image& image) {
  return Peer(image).canvas;
}

std::string ColorText(platform::Color color) {
  if (color.IsRole()) {
    switch (color.Role()) {
      case platform::ColorRole::kWindow:
        return "window";
      case platform::ColorRole::kWindowText:
        return "windowtext";
      case platform::ColorRole::kButtonFace:
        return "buttonface";
    }
  }
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", color.Red(), color.Green(), color.Blue());
  return text;
}

bool HasFocus(platform::Control& control) {
  platform::Form* form = control.OwnerForm();
  return form && form->ActiveControl() == &control;
}

std::vector<std::string> TraceOf(std::initializer_list<const char*> prefixes) {
  std::vector<std::string> out;
  for (const std::string& entry : Machine().trace) {
    for (const char* p : prefixes) {
      if (entry.rfind(p, 0) == 0) {
        out.push_back(entry);
        break;
      }
    }
  }
  return out;
}

}  // namespace headless
