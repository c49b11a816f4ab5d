// The portable half of the windowing layer: properties, auto-sizing, stored descriptions,
// focus order, closing and the application object. The backend mirrors the results.
#include "platform/controls.h"

#include <algorithm>

#include "platform/backend.h"
#include "platform/navigation.h"

namespace platform {

namespace {

// MulDiv's rounding: to the nearest integer, halves away from zero.
int MulDiv(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

// The control and all below it, every parent before its children, in description order.
std::vector<Control*> ControlTree(Control& root) {
  std::vector<Control*> tree{&root};
  for (size_t i = 0; i < tree.size(); ++i) {
    for (const auto& child : tree[i]->Children())
      tree.push_back(child.get());
  }
  return tree;
}

}  // namespace

int Font::Size(int pixelsPerInch) const {
  return -MulDiv(height, 72, pixelsPerInch);
}

void Font::SetSize(int points, int pixelsPerInch) {
  height = -MulDiv(points, pixelsPerInch, 72);
}

Control::Control(ControlKind k, std::string n, Control* p)
    : kind(k), name(std::move(n)), parent(p) {
  if (parent) {
    font = parent->font;
    color = parent->color;
  }
}

Control::~Control() = default;

Form* Control::OwnerForm() {
  Control* c = this;
  while (c->parent)
    c = c->parent;
  return c->kind == ControlKind::kForm ? static_cast<Form*>(c) : nullptr;
}

Control* Control::FindComponent(std::string_view childName) {
  for (const auto& child : children) {
    if (child->name == childName) return child.get();
    if (Control* found = child->FindComponent(childName)) return found;
  }
  return nullptr;
}

void Control::SetBounds(int newLeft, int newTop, int newWidth, int newHeight) {
  if (newLeft == left && newTop == top && newWidth == width && newHeight == height) return;
  left = newLeft;
  top = newTop;
  width = newWidth;
  height = newHeight;
  if (native) backend::UpdateBounds(*this);
}

void Control::NoteBounds(int newLeft, int newTop, int newWidth, int newHeight) {
  left = newLeft;
  top = newTop;
  width = newWidth;
  height = newHeight;
}

void Control::SetCaption(std::string text) {
  if (text == caption) return;
  caption = std::move(text);
  if (native) backend::UpdateCaption(*this);
  AdjustSize();
}

void Control::SetFont(const Font& value) {
  font = value;
  if (native) backend::UpdateFont(*this);
  AdjustSize();
}

void Control::SetFontCharset(Charset charset) {
  Font f = font;
  f.charset = charset;
  SetFont(f);
}

void Control::SetFontSize(int points) {
  Font f = font;
  Form* form = OwnerForm();
  f.SetSize(points, form ? form->PixelsPerInch() : backend::ScreenPixelsPerInch());
  SetFont(f);
}

void Control::SetFontName(std::string faceName) {
  Font f = font;
  f.name = std::move(faceName);
  SetFont(f);
}

void Control::SetFontColor(Color value) {
  Font f = font;
  f.color = value;
  SetFont(f);
}

void Control::SetEnabled(bool value) {
  if (enabled == value) return;
  enabled = value;
  if (native) backend::UpdateEnabled(*this);
}

void Control::SetVisible(bool value) {
  if (visible == value) return;
  visible = value;
  if (native) backend::UpdateVisible(*this);
}

bool Control::CanFocus() const {
  if (!tabStop) return false;
  for (const Control* c = this; c; c = c->parent) {
    if (!c->enabled || (c->kind != ControlKind::kForm && !c->visible)) return false;
  }
  return true;
}

void Control::Click() {
  if (OnClick) {
    TheApp().Guard([&] { OnClick(*this); });
  }
}

void Control::AdjustSize() {
  if (kind == ControlKind::kLabel) {
    Size s = backend::MeasureText(font, caption);
    int newLeft = alignment == Alignment::kRight ? left + width - s.width : left;
    SetBounds(newLeft, top, s.width, s.height);
  } else if (kind == ControlKind::kStaticText) {
    Size s = backend::MeasureText(font, caption);
    Size border = backend::BorderSize();
    SetBounds(left, top, s.width + 4 * border.width, s.height + 4 * border.height);
  }
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  backend::CanvasRectangle(image, x1, y1, x2, y2);
}

void Canvas::TextOut(int x, int y, std::string_view text) {
  backend::CanvasTextOut(image, font, x, y, text);
}

Canvas& Image::GetCanvas() {
  if (!canvas) {
    canvasSize = {Width(), Height()};
    backend::CreateCanvas(*this, canvasSize);
    canvas = std::make_unique<Canvas>(*this);
  }
  return *canvas;
}

Form::Form(const FormDescription& d)
    : Control(ControlKind::kForm, d.name, nullptr), description(d), keyPreview(d.keyPreview) {
  pixelsPerInch = backend::ScreenPixelsPerInch();
  auto scale = [&](int v) { return MulDiv(v, pixelsPerInch, kDesignPixelsPerInch); };
  Font formFont = d.font;
  formFont.height = scale(formFont.height);
  SetFont(formFont);
  SetColor(d.color);
  SetCaption(d.caption);
  clientWidth = scale(d.clientWidth);
  clientHeight = scale(d.clientHeight);
  NoteBounds(d.left, d.top, clientWidth, clientHeight);

  for (const ControlDescription& c : d.controls) {
    Control* owner = c.parent ? FindComponent(c.parent) : this;
    if (!owner) throw std::logic_error(std::string("no parent for ") + c.name);
    std::unique_ptr<Control> control;
    switch (c.kind) {
      case ControlKind::kPanel:
        control = std::make_unique<Panel>(c.name, owner);
        break;
      case ControlKind::kLabel:
        control = std::make_unique<Label>(c.name, owner);
        break;
      case ControlKind::kButton:
        control = std::make_unique<Button>(c.name, owner);
        break;
      case ControlKind::kStaticText:
        control = std::make_unique<StaticText>(c.name, owner);
        break;
      case ControlKind::kImage:
        control = std::make_unique<Image>(c.name, owner);
        break;
      case ControlKind::kForm:
        throw std::logic_error("a form inside a form");
    }
    Control& added = owner->Add(std::move(control));
    added.NoteBounds(scale(c.bounds.left), scale(c.bounds.top), scale(c.bounds.width),
                     scale(c.bounds.height));
    added.SetAlignment(c.alignment);
    added.SetTabOrder(c.tabOrder, c.tabStop);
    if (c.font) {
      Font f = *c.font;
      f.height = scale(f.height);
      added.SetFont(f);
    }
    added.SetCaption(c.caption);
  }
}

Form::~Form() = default;

void Form::SetActiveControl(Control* control) {
  activeControl = control;
  if (Native()) backend::UpdateFocus(*this, control);
}

void Form::SelectNext(bool forward) {
  if (Control* next = NextTabStop(*this, activeControl, forward)) SetActiveControl(next);
}

void Form::Close() {
  // A close request that arrives while the close handler runs (from inside its modal
  // dialog's loop) is the same close: it must not end that dialog.
  if (closing) return;
  closing = true;
  CloseAction action = CloseAction::kHide;
  bool handled = !OnClose || TheApp().Guard([&] { OnClose(*this, action); });
  closing = false;
  if (!handled || action == CloseAction::kNone) return;
  if (TheApp().MainForm() == this) {
    TheApp().Terminate();
  } else if (showing) {
    modalResult = ModalResult::kCancel;
  }
}

ModalResult Form::ShowModal() {
  // Centred over the main window's outer rectangle at the first showing only; halves
  // truncate toward zero and a negative position becomes 0.
  Form* main = TheApp().MainForm();
  if (!placed && main && main != this) {
    placed = true;
    int newLeft = main->Left() + (main->Width() - Width()) / 2;
    int newTop = main->Top() + (main->Height() - Height()) / 2;
    SetBounds(std::max(newLeft, 0), std::max(newTop, 0), Width(), Height());
  }
  modalResult = ModalResult::kNone;
  backend::RunModal(TheApp(), *this);
  return modalResult;
}

void Form::Create() {
  for (Control* control : ControlTree(*this))
    backend::CreateNative(*control);
  // The focus starts on the first control in tab order that can take it.
  activeControl = nullptr;
  SelectNext(true);
  if (OnCreate) TheApp().Guard([&] { OnCreate(*this); });
}

void Form::Destroy() {
  if (!Native()) return;
  showing = false;
  SetVisible(false);
  if (OnDestroy) TheApp().Guard([&] { OnDestroy(*this); });
  // Children first, so no native child outlives its parent window.
  std::vector<Control*> order = ControlTree(*this);
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    backend::DestroyNative(**it);
}

void Form::NoteClientSize(int width, int height) {
  clientWidth = width;
  clientHeight = height;
  if (!showing || (width == laidOutWidth && height == laidOutHeight)) return;
  laidOutWidth = width;
  laidOutHeight = height;
  if (OnResize) TheApp().Guard([&] { OnResize(*this); });
}

Key Form::PreviewKeyDown(Key key) {
  if (keyPreview && OnKeyDown) TheApp().Guard([&] { OnKeyDown(*this, key); });
  return key;
}

char Form::PreviewChar(char key) {
  if (keyPreview && OnKeyPress) TheApp().Guard([&] { OnKeyPress(*this, key); });
  return key;
}

Key Form::PreviewKeyUp(Key key) {
  if (keyPreview && OnKeyUp) TheApp().Guard([&] { OnKeyUp(*this, key); });
  return key;
}

void Form::DispatchActivate() {
  if (OnActivate) TheApp().Guard([&] { OnActivate(*this); });
}

void Application::SetTitle(std::string value) {
  title = std::move(value);
  backend::SetApplicationTitle(title);
}

void Application::Run() {
  if (Form* main = MainForm()) {
    backend::ShowMainForm(*main);
    if (!terminated && main->OnShown) Guard([&] { main->OnShown(*main); });
    if (!terminated) backend::RunLoop(*this);
  }
  DestroyForms();
}

void Application::ProcessMessages() {
  backend::ProcessMessages(*this);
}

void Application::Terminate() {
  if (terminated) return;
  terminated = true;
  backend::PostQuit();
}

void Application::EndSession() {
  Form* main = MainForm();
  if (main && main->OnEndSession) Guard([&] { main->OnEndSession(*main); });
  terminated = true;
  // The windows go as at a normal end, so their destruction handlers run; the form objects
  // stay, since a modal loop that this message interrupted may still refer to one.
  DestroyWindows();
  backend::ExitProcess(0);
}

void Application::ShowException(const std::exception& error) {
  MessageBox(ErrorBoxText(error.what()), title, MessageKind::kError);
}

void Application::MessageBox(std::string_view text, std::string_view caption, MessageKind kind) {
  backend::MessageBox(text, caption, kind);
}

void Application::DestroyWindows() {
  for (auto it = forms.rbegin(); it != forms.rend(); ++it)
    (*it)->Destroy();
}

void Application::DestroyForms() {
  DestroyWindows();
  while (!forms.empty())
    forms.pop_back();
}

void Application::Restart() {
  DestroyForms();
  terminated = false;
  title.clear();
  OnSettingChange = nullptr;
}

Application& TheApp() {
  static Application app;
  return app;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace platform
