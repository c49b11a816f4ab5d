// The in-memory backend: the OS services and the windowing layer without a window system.
// Time passes only by Sleep and Advance; events run only from the queue tests fill.
#include "platform/headless/headless.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "platform/backend.h"
#include "platform/calendar.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace headless {

namespace {

struct HeadlessControl : platform::NativeControl {
  CanvasContent canvas;
};

struct OpenFile {
  std::string path;
};

std::map<uintptr_t, OpenFile>& OpenFiles() {
  static std::map<uintptr_t, OpenFile> files;
  return files;
}

HeadlessControl& Peer(platform::Control& control) {
  if (!control.Native()) control.SetNative(std::make_unique<HeadlessControl>());
  return static_cast<HeadlessControl&>(*control.Native());
}

void Trace(std::string entry) {
  Get().trace.push_back(std::move(entry));
}

using platform::CivilFromDays;
using platform::DaysFromCivil;

platform::DateTime FromMs(int64_t ms) {
  int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
  int64_t rest = ms - days * 86400000;
  platform::DateTime t;
  t.date = CivilFromDays(days);
  t.hour = static_cast<int>(rest / 3600000);
  t.minute = static_cast<int>(rest / 60000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  t.millisecond = static_cast<int>(rest % 1000);
  return t;
}

platform::Form* gModal = nullptr;  // the form whose modal loop runs, if any

// A modal form that is showing takes the input; otherwise the main form does.
platform::Form* InputForm() {
  return gModal ? gModal : platform::TheApp().MainForm();
}

std::string Upper(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool Drain() {
  bool any = false;
  while (!Get().queue.empty()) {
    auto event = std::move(Get().queue.front());
    Get().queue.pop_front();
    event();
    any = true;
  }
  return any;
}

// Runs events until done() holds; asks the idle hook when nothing is queued.
void Loop(const std::function<bool()>& done) {
  while (!done()) {
    if (!Get().queue.empty()) {
      auto event = std::move(Get().queue.front());
      Get().queue.pop_front();
      event();
    } else if (!(Get().idle && Get().idle())) {
      Get().stalled = true;
      Trace("stalled");
      return;
    }
  }
}

}  // namespace

// Paths are kept as the tests write them: UTF-8 bytes.
std::string Utf8(const platform::Path& path) {
  return path.Native();
}

platform::Path PathFromUtf8(std::string_view utf8) {
  return platform::Path(std::string(utf8));
}

State& Get() {
  static State state;
  return state;
}

void Reset() {
  platform::TheApp().Restart();
  gModal = nullptr;
  OpenFiles().clear();
  Get() = State{};
  SetLocalTime({{2024, 3, 5}, 9, 7, 2, 345});
}

void SetLocalTime(const platform::DateTime& t) {
  Get().localMs = t.Seconds() * 1000 + t.millisecond;
}

void Advance(int milliseconds) {
  Get().localMs += milliseconds;
  Get().monotonicMicros += milliseconds * 1000LL;
}

void PostKeyDown(platform::Key key) {
  Get().queue.push_back([key] {
    platform::Form* form = InputForm();
    if (!form || !form->Enabled()) return;
    if (key == platform::Key::kShift) Get().shiftDown = true;
    platform::Key left = form->PreviewKeyDown(key);
    platform::Control* focus = form->ActiveControl();
    switch (left) {
      case platform::Key::kTab:
        form->SelectNext(!Get().shiftDown);
        break;
      case platform::Key::kLeft:
      case platform::Key::kUp:
        form->SelectNext(false);
        break;
      case platform::Key::kRight:
      case platform::Key::kDown:
        form->SelectNext(true);
        break;
      case platform::Key::kReturn:
        if (focus && focus->Kind() == platform::ControlKind::kButton) focus->Click();
        break;
      default:
        break;
    }
  });
}

void PostChar(char ch) {
  Get().queue.push_back([ch] {
    platform::Form* form = InputForm();
    if (form && form->Enabled()) form->PreviewChar(ch);
  });
}

void PostKeyUp(platform::Key key) {
  Get().queue.push_back([key] {
    platform::Form* form = InputForm();
    if (!form || !form->Enabled()) return;
    if (key == platform::Key::kShift) Get().shiftDown = false;
    platform::Key left = form->PreviewKeyUp(key);
    platform::Control* focus = form->ActiveControl();
    // A push button clicks when Space is released over it.
    if (left == platform::Key::kSpace && focus && focus->Kind() == platform::ControlKind::kButton) {
      focus->Click();
    }
  });
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
  Get().queue.push_back([w, h] {
    if (platform::Form* main = platform::TheApp().MainForm()) main->NoteClientSize(w, h);
  });
}

void PostClose() {
  Get().queue.push_back([] {
    if (platform::Form* main = platform::TheApp().MainForm()) main->Close();
  });
}

void PostEndSession() {
  Get().queue.push_back([] { platform::TheApp().EndSession(); });
}

void PostClick(platform::Control& control) {
  Get().queue.push_back([&control] {
    platform::Form* form = control.OwnerForm();
    if (control.Enabled() && form && form->Enabled()) control.Click();
  });
}

void PostSettingChange(std::optional<char> dateSeparator, std::optional<char> timeSeparator) {
  Get().queue.push_back([dateSeparator, timeSeparator] {
    Get().dateSeparator = dateSeparator;
    Get().timeSeparator = timeSeparator;
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
  for (const std::string& entry : Get().trace) {
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

namespace platform {

using headless::Get;

DateTime LocalTime() {
  return headless::FromMs(Get().localMs);
}

DateTime UtcTime() {
  return headless::FromMs(Get().localMs - Get().utcOffsetMinutes * 60000LL);
}

int64_t MonotonicMicroseconds() {
  return Get().monotonicMicros;
}

void Sleep(int milliseconds) {
  headless::Trace("sleep " + std::to_string(milliseconds));
  headless::Advance(milliseconds);
}

std::string DisplayText(const Path& path) {
  // The in-memory system spells ASCII only; the rest is what CP932 would lack.
  const std::string& utf8 = path.Native();
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = platform::NextUtf8(utf8, i);
    out += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return out;
}

File File::Create(const Path& nativePath, FileMode, FileError* error) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("file create " + path);
  if (error) *error = FileError::kNone;
  if (Get().lockedFiles.count(path)) {
    if (error) *error = FileError::kInUse;
    return File{};
  }
  if (Get().failOpen.count(path)) {
    if (error) *error = FileError::kOther;
    return File{};
  }
  static uintptr_t next = 1;
  Get().files[path].clear();
  headless::OpenFiles()[next] = {path};
  return File{next++};
}

File::File(File&& other) noexcept : handle(other.handle) {
  other.handle = 0;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle = other.handle;
    other.handle = 0;
  }
  return *this;
}

File::~File() {
  Close();
}

bool File::Write(std::string_view bytes) {
  if (!handle) return false;
  const std::string& path = headless::OpenFiles()[handle].path;
  headless::Trace("file write " + path + " " + std::to_string(bytes.size()));
  if (++Get().writeCalls == Get().failWriteCall) return false;
  Get().files[path].append(bytes);
  return true;
}

bool File::Close() {
  if (!handle) return false;
  headless::Trace("file close " + headless::OpenFiles()[handle].path);
  headless::OpenFiles().erase(handle);
  handle = 0;
  return !Get().failClose;
}

bool DeleteFile(const Path& nativePath) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("file delete " + path);
  if (Get().refuseDelete && Get().refuseDelete(path)) return false;
  return Get().files.erase(path) > 0;
}

Path SystemTempDirectory() {
  return headless::PathFromUtf8(Get().tempDirectory);
}

bool AddFontResource(const Path& nativePath) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("font add " + path);
  if (!Get().files.count(path) || Get().unusableFonts.count(path)) return false;
  Get().registeredFonts.insert(path);
  return true;
}

bool RemoveFontResource(const Path& nativePath) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("font remove " + path);
  auto it = Get().registeredFonts.find(path);
  if (it == Get().registeredFonts.end()) return false;
  Get().registeredFonts.erase(it);
  return true;
}

void ReleaseFontObjects(std::string_view face) {
  headless::Trace("font release " + std::string(face));
  Get().fontObjects.erase(std::string(face));
}

void BroadcastFontChange() {
  headless::Trace("font broadcast");
  ++Get().fontBroadcasts;
  if (auto during = std::exchange(Get().duringFontBroadcast, nullptr)) during();
}

void PlaySoundResource(const char* name) {
  headless::Trace(std::string("sound ") + name);
}

std::string_view OwnResource(const char* type, const char* name) {
  auto it = Get().resources.find(headless::Upper(type) + "/" + headless::Upper(name));
  if (it == Get().resources.end()) return {};
  return it->second;
}

std::vector<std::string> ProgramArguments() {
  return Get().arguments;
}

std::optional<char> RegionalDateSeparator() {
  return Get().dateSeparator;
}
std::optional<char> RegionalTimeSeparator() {
  return Get().timeSeparator;
}

namespace backend {

int ScreenPixelsPerInch() {
  return Get().pixelsPerInch;
}

// The metric model: the embedded face (once a font file is registered) has digits half an
// em wide and every other glyph one em; other faces have half-em single-byte glyphs and
// one-em double-byte ones. A line is one em high in both.
Size MeasureText(const Font& font, std::string_view text) {
  Get().fontObjects.insert(font.name);
  int em = font.height < 0 ? -font.height : font.height;
  bool embedded = font.name == "Tavimo" && !Get().registeredFonts.empty();
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (IsCp932LeadByte(b) && i + 1 < text.size()) {
      width += em;
      ++i;
    } else if (embedded && !(b >= '0' && b <= '9')) {
      width += em;
    } else {
      width += em / 2;
    }
  }
  return {width, em};
}

Size BorderSize() {
  return {1, 1};
}

void CreateNative(Control& control) {
  if (Get().failWindowCreation) {
    throw std::runtime_error("Cannot create the window " + control.Name());
  }
  headless::Peer(control);
}
void DestroyNative(Control& control) {
  control.SetNative(nullptr);
}
void UpdateBounds(Control&) {}
void UpdateCaption(Control&) {}
void UpdateFont(Control& control) {
  Get().fontObjects.insert(control.GetFont().name);
}
void UpdateEnabled(Control&) {}
void UpdateVisible(Control&) {}
void UpdateFocus(Form&, Control*) {}

void CreateCanvas(Image& image, Size size) {
  headless::Peer(image).canvas = headless::CanvasContent{size, false, "", kBlack};
}

void CanvasRectangle(Image& image, int x1, int y1, int x2, int y2) {
  char entry[64];
  std::snprintf(entry, sizeof entry, "rect %d,%d,%d,%d", x1, y1, x2, y2);
  headless::Trace(entry);
  headless::CanvasContent& c = headless::Peer(image).canvas;
  c.framed = true;
  c.text.clear();
}

void CanvasTextOut(Image& image, const Font& font, int x, int y, std::string_view text) {
  Get().fontObjects.insert(font.name);
  char entry[96];
  std::snprintf(entry, sizeof entry, "text %d,%d %.*s %s", x, y, static_cast<int>(text.size()),
                text.data(), headless::ColorText(font.color).c_str());
  headless::Trace(entry);
  headless::CanvasContent& c = headless::Peer(image).canvas;
  c.text = std::string(text);
  c.color = font.color;
}

void SetApplicationTitle(std::string_view title) {
  Get().title = std::string(title);
}

void ShowMainForm(Form& form) {
  form.NoteShowing(true);
  form.SetVisible(true);
  const FormDescription& d = form.Description();
  if (d.windowState == WindowState::kMaximized) {
    // No frame in memory: the maximised window is its client area at the screen's origin.
    form.NoteBounds(0, 0, Get().maximizedClient.width, Get().maximizedClient.height);
    form.NoteClientSize(Get().maximizedClient.width, Get().maximizedClient.height);
  } else {
    form.NoteClientSize(form.ClientWidth(), form.ClientHeight());
  }
  form.DispatchActivate();
}

void RunLoop(Application& app) {
  headless::Loop([&] { return app.Terminated(); });
}

void ProcessMessages(Application&) {
  headless::Trace("process");
  headless::Drain();
}

void PostQuit() {
  headless::Trace("quit");
}

void ExitProcess(int code) {
  headless::Trace("exit " + std::to_string(code));
}

void RunModal(Application& app, Form& form) {
  headless::Trace("modal " + form.Name());
  Form* previous = headless::gModal;
  Form* main = app.MainForm();
  bool mainWasEnabled = main && main->Enabled();
  if (main && main != &form) main->SetEnabled(false);
  headless::gModal = &form;
  form.NoteShowing(true);
  form.SetVisible(true);
  if (!form.ActiveControl()) form.SelectNext(true);
  form.DispatchActivate();
  headless::Loop([&] { return form.GetModalResult() != ModalResult::kNone || app.Terminated(); });
  form.SetVisible(false);
  form.NoteShowing(false);
  headless::gModal = previous;
  if (main && main != &form) main->SetEnabled(mainWasEnabled);
  headless::Trace("modal end " + form.Name());
}

void MessageBox(std::string_view text, std::string_view caption, MessageKind kind) {
  headless::MessageBoxRecord record{std::string(text), std::string(caption), kind};
  headless::Trace("messagebox " + record.caption);
  Get().messageBoxes.push_back(record);
  if (Get().onMessageBox) Get().onMessageBox(record);
}

}  // namespace backend

}  // namespace platform
