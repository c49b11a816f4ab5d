// The small windowing layer: forms built from stored descriptions, their controls, the
// application object with its event loop. Geometry and captions live here; a backend
// (win32/ or headless/) mirrors them onto the window system.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_kind.h"

namespace platform {

// What a colour stands for where the user's settings decide it: the window background, the
// window text, a push button's face.
enum class ColorRole : uint8_t { kWindow, kWindowText, kButtonFace };

// A colour: a fixed red, green and blue, or the one the user's settings give a role.
class Color {
 public:
  static constexpr Color Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return Color(false, ColorRole::kWindow, red, green, blue);
  }
  static constexpr Color OfRole(ColorRole role) { return Color(true, role, 0, 0, 0); }

  constexpr bool IsRole() const { return isRole; }
  constexpr ColorRole Role() const { return role; }
  constexpr uint8_t Red() const { return red; }
  constexpr uint8_t Green() const { return green; }
  constexpr uint8_t Blue() const { return blue; }
  bool operator==(const Color&) const = default;

 private:
  constexpr Color(bool isRole, ColorRole role, uint8_t red, uint8_t green, uint8_t blue)
      : isRole(isRole), role(role), red(red), green(green), blue(blue) {}
  bool isRole;
  ColorRole role;
  uint8_t red, green, blue;
};

constexpr Color kBlack = Color::Rgb(0, 0, 0);
constexpr Color kRed = Color::Rgb(255, 0, 0);
constexpr Color kWindowColor = Color::OfRole(ColorRole::kWindow);
constexpr Color kWindowTextColor = Color::OfRole(ColorRole::kWindowText);
constexpr Color kButtonFaceColor = Color::OfRole(ColorRole::kButtonFace);

// The character set a font is asked for: whatever the face offers, or Shift-JIS.
enum class Charset : uint8_t { kDefault, kShiftJis };

constexpr int kDesignPixelsPerInch = 96;

struct Font {
  std::string name;  // face name, CP932 bytes
  int height = -12;  // pixels; negative means character height (cell minus internal leading)
  Charset charset = Charset::kShiftJis;
  Color color = kWindowTextColor;

  int Size(int pixelsPerInch) const;
  void SetSize(int points, int pixelsPerInch);
  bool operator==(const Font&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

enum class ControlKind { kForm, kPanel, kLabel, kButton, kStaticText, kImage };
enum class Alignment { kLeft, kRight };
enum class BorderStyle { kSingle, kDialog };
enum class WindowState { kNormal, kMaximized };
enum class CloseAction { kNone, kHide, kFree };
enum class ModalResult { kNone, kOk, kCancel };

// The keys the layer and the forms' handlers tell apart; every other key is kOther. A
// handler that sets a key to kNone swallows it.
enum class Key : uint8_t {
  kNone,
  kOther,
  kTab,
  kReturn,
  kShift,
  kEscape,
  kSpace,
  kLeft,
  kUp,
  kRight,
  kDown,
};

class Form;
class Image;

// The window system's side of a control; each backend derives its own.
struct NativeControl {
  virtual ~NativeControl() = default;
};

// One entry of a stored window description, written with designated initializers. Geometry
// is in pixels at 96 dpi.
struct ControlDescription {
  ControlKind kind;
  const char* name;
  const char* parent = nullptr;  // nullptr: the form itself
  struct {
    int left, top, width, height;
  } bounds{};  // in the parent's client area
  const char* caption = "";
  int tabOrder = -1;     // -1: takes no part in tabbing
  bool tabStop = false;  // Tab and the arrows stop at it
  Alignment alignment = Alignment::kLeft;
  const Font* font = nullptr;  // nullptr: the parent's font
};

// A stored window description, written with designated initializers; every field is given.
struct FormDescription {
  const char* name;
  const char* caption;
  int left, top, clientWidth, clientHeight;
  BorderStyle borderStyle;
  bool systemMenu;  // a window menu with a close box; without it Alt+F4 does not close
  WindowState windowState;
  Color color;
  Font font;
  bool keyPreview;  // the form's key handlers see each key before the focused control
  std::span<const ControlDescription> controls;
};

class Control {
 public:
  Control(ControlKind kind, std::string name, Control* parent);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  ControlKind Kind() const { return kind; }
  const std::string& Name() const { return name; }
  Control* Parent() const { return parent; }
  Form* OwnerForm();
  const std::vector<std::unique_ptr<Control>>& Children() const { return children; }
  Control* FindComponent(std::string_view childName);  // searches the whole subtree
  // A control of the stored description by name, as the type the description made.
  template <class T>
  T* Component(std::string_view childName) {
    return static_cast<T*>(FindComponent(childName));
  }

  int Left() const { return left; }
  int Top() const { return top; }
  int Width() const { return width; }
  int Height() const { return height; }
  void SetLeft(int value) { SetBounds(value, top, width, height); }
  void SetTop(int value) { SetBounds(left, value, width, height); }
  void SetWidth(int value) { SetBounds(left, top, value, height); }
  void SetHeight(int value) { SetBounds(left, top, width, value); }
  virtual void SetBounds(int newLeft, int newTop, int newWidth, int newHeight);

  const std::string& Caption() const { return caption; }
  void SetCaption(std::string text);

  const Font& GetFont() const { return font; }
  void SetFont(const Font& value);
  void SetFontCharset(Charset charset);
  void SetFontSize(int points);
  void SetFontName(std::string faceName);
  void SetFontColor(Color color);

  bool Enabled() const { return enabled; }
  void SetEnabled(bool value);
  bool Visible() const { return visible; }
  void SetVisible(bool value);

  Alignment GetAlignment() const { return alignment; }
  void SetAlignment(Alignment value) { alignment = value; }
  Color GetColor() const { return color; }
  void SetColor(Color value) { color = value; }

  int TabOrder() const { return tabOrder; }
  bool TabStop() const { return tabStop; }
  void SetTabOrder(int order, bool stop) {
    tabOrder = order;
    tabStop = stop;
  }
  bool CanFocus() const;

  std::function<void(Control& sender)> OnClick;
  void Click();

  NativeControl* Native() const { return native.get(); }
  void SetNative(std::unique_ptr<NativeControl> peer) { native = std::move(peer); }

  // Called by the backend when the window system moved or sized the control itself.
  void NoteBounds(int newLeft, int newTop, int newWidth, int newHeight);

  template <class T>
  T& Add(std::unique_ptr<T> child) {
    T& ref = *child;
    children.push_back(std::move(child));
    return ref;
  }

 protected:
  // Labels and static texts fit themselves to their caption in their font.
  void AdjustSize();

 private:
  ControlKind kind;
  std::string name;
  Control* parent;
  std::vector<std::unique_ptr<Control>> children;
  std::unique_ptr<NativeControl> native;
  int left = 0, top = 0, width = 0, height = 0;
  std::string caption;
  Font font;
  bool enabled = true;
  bool visible = true;
  Alignment alignment = Alignment::kLeft;
  Color color = kWindowColor;
  int tabOrder = -1;
  bool tabStop = false;
};

class Label : public Control {
 public:
  Label(std::string n, Control* p) : Control(ControlKind::kLabel, std::move(n), p) {}
};

class Button : public Control {
 public:
  Button(std::string n, Control* p) : Control(ControlKind::kButton, std::move(n), p) {}
};

class Panel : public Control {
 public:
  Panel(std::string n, Control* p) : Control(ControlKind::kPanel, std::move(n), p) {}
};

class StaticText : public Control {
 public:
  StaticText(std::string n, Control* p) : Control(ControlKind::kStaticText, std::move(n), p) {}
};

// The drawing surface of an image control: an off-screen bitmap made on first use with the
// image's size at that moment. Pen black, solid, 1 pixel; brush white, solid.
class Canvas {
 public:
  explicit Canvas(Image& owner) : image(owner) {}
  Font font;
  // Outline in the pen, interior in the brush; right and bottom edges exclusive.
  void Rectangle(int x1, int y1, int x2, int y2);
  // Text in the font colour on an opaque background in the brush colour.
  void TextOut(int x, int y, std::string_view text);

 private:
  Image& image;
};

class Image : public Control {
 public:
  Image(std::string n, Control* p) : Control(ControlKind::kImage, std::move(n), p) {}
  Canvas& GetCanvas();
  bool HasCanvas() const { return canvas != nullptr; }
  Size CanvasSize() const { return canvasSize; }

 private:
  std::unique_ptr<Canvas> canvas;
  Size canvasSize;
};

class Form : public Control {
 public:
  explicit Form(const FormDescription& description);
  ~Form() override;

  const FormDescription& Description() const { return description; }
  int ClientWidth() const { return clientWidth; }
  int ClientHeight() const { return clientHeight; }
  bool KeyPreview() const { return keyPreview; }
  int PixelsPerInch() const { return pixelsPerInch; }
  Control* ActiveControl() const { return activeControl; }
  void SetActiveControl(Control* control);
  // Moves the focus to the next (or previous) control in tab order that can take it.
  void SelectNext(bool forward);

  std::function<void(Form&)> OnCreate;
  // The main form is on screen and painted; for work that can wait until the learner sees it.
  std::function<void(Form&)> OnShown;
  std::function<void(Form&)> OnDestroy;
  std::function<void(Form&)> OnResize;
  std::function<void(Form&)> OnActivate;
  std::function<void(Form&, CloseAction&)> OnClose;
  std::function<void(Form&, Key& key)> OnKeyDown;
  std::function<void(Form&, Key& key)> OnKeyUp;
  std::function<void(Form&, char& key)> OnKeyPress;
  // The user logs off or the system shuts down; the process ends right after it returns.
  std::function<void(Form&)> OnEndSession;

  // Runs the close handler; closing the main form ends the application.
  void Close();
  // Shows the form modally and runs a nested loop until a modal result is set.
  ModalResult ShowModal();
  void SetModalResult(ModalResult result) { modalResult = result; }
  ModalResult GetModalResult() const { return modalResult; }
  bool Showing() const { return showing; }

  // Makes the native windows, then runs OnCreate; an escaping error is shown and the
  // creation completes without the rest of the handler.
  void Create();
  // Hides the form, runs OnDestroy, then drops the controls' native windows.
  void Destroy();

  // Entry points for the backend.
  void NoteClientSize(int width, int height);  // runs OnResize when the size changed
  void NoteShowing(bool value) { showing = value; }
  // Key preview: the form's handlers see each key first; they return the key as the
  // handler left it (Key::kNone, or the character 0, when it swallowed it).
  Key PreviewKeyDown(Key key);
  char PreviewChar(char key);
  Key PreviewKeyUp(Key key);
  void DispatchActivate();

 private:
  FormDescription description;
  int clientWidth = 0, clientHeight = 0;
  bool keyPreview = false;
  int pixelsPerInch = kDesignPixelsPerInch;
  Control* activeControl = nullptr;
  ModalResult modalResult = ModalResult::kNone;
  bool showing = false;
  bool closing = false;  // the close handler is running (it may show a modal dialog)
  bool placed = false;   // the modal placement has been made
  int laidOutWidth = -1, laidOutHeight = -1;  // the client size OnResize last saw
};

class Application {
 public:
  void SetTitle(std::string value);
  const std::string& Title() const { return title; }

  // Creates a form, builds its native window and runs its creation handler. The first
  // form created becomes the main form.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *form;
    forms.push_back(std::move(form));
    ref.Create();
    return ref;
  }
  Form* MainForm() const { return forms.empty() ? nullptr : forms.front().get(); }

  // Shows the main form and dispatches events until termination, then destroys the
  // forms, the last created first.
  void Run();
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated; }
  // The session ends (log-off, shutdown): the main form's OnEndSession runs, the forms are
  // destroyed as at a normal end, and the process exits with 0 at once, since the system
  // may end it at any moment once it has answered.
  void EndSession();
  // The error box for an error that escaped a handler.
  void ShowException(const std::exception& error);
  // A box with an OK button; returns when the user has closed it.
  void MessageBox(std::string_view text, std::string_view caption, MessageKind kind);

  // Runs a handler with the error box as its safety net; returns false if it threw.
  template <class F>
  bool Guard(F&& handler) {
    try {
      handler();
      return true;
    } catch (const std::exception& e) {
      ShowException(e);
    } catch (...) {
      ShowException(std::runtime_error("Unknown error"));
    }
    return false;
  }

  std::function<void()> OnSettingChange;  // the user's regional settings changed

  // Destroys the forms' windows, the last created first, running their OnDestroy.
  void DestroyWindows();
  void DestroyForms();  // the windows, then the forms; also for tests that do not run the loop
  // Forgets every form and a termination request, so that tests can start afresh.
  void Restart();

 private:
  std::string title;
  std::vector<std::unique_ptr<Form>> forms;
  bool terminated = false;
};

Application& TheApp();

// The error box's text: the message, with "." added when its last byte sorts after ".".
std::string ErrorBoxText(std::string_view message);

}  // namespace platform
