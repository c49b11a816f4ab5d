// Keyboard navigation inside a form: tab order, the keys that walk it and Enter on a push
// button. Both backends call it after the form's key preview.
#include "platform/navigation.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

void CollectTabStops(Control& control, std::vector<Control*>& out) {
  for (const auto& child : control.Children()) {
    if (child->CanFocus()) out.push_back(child.get());
    CollectTabStops(*child, out);
  }
}

}  // namespace

NavigationStep NavigationStepOf(Key key, KeyModifiers modifiers) {
  if (modifiers.controlOrAlt) return NavigationStep::kNone;
  switch (key) {
    case Key::kTab:
      return modifiers.shift ? NavigationStep::kPrevious : NavigationStep::kNext;
    case Key::kRight:
    case Key::kDown:
      return NavigationStep::kNext;
    case Key::kLeft:
    case Key::kUp:
      return NavigationStep::kPrevious;
    case Key::kReturn:
      return NavigationStep::kPress;
    case Key::kEscape:
      return NavigationStep::kSwallow;
    default:
      return NavigationStep::kNone;
  }
}

Control* NextTabStop(Form& form, Control* from, bool forward) {
  std::vector<Control*> stops;
  CollectTabStops(form, stops);
  if (stops.empty()) return nullptr;
  std::stable_sort(stops.begin(), stops.end(),
                   [](Control* a, Control* b) { return a->TabOrder() < b->TabOrder(); });
  auto it = std::find(stops.begin(), stops.end(), from);
  std::ptrdiff_t n = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t i = it == stops.end() ? (forward ? -1 : 0) : it - stops.begin();
  i = ((forward ? i + 1 : i - 1) % n + n) % n;
  return stops[static_cast<size_t>(i)];
}

bool Navigate(Form& form, Key key, KeyModifiers modifiers) {
  switch (NavigationStepOf(key, modifiers)) {
    case NavigationStep::kNone:
      return false;
    case NavigationStep::kNext:
      form.SelectNext(true);
      return true;
    case NavigationStep::kPrevious:
      form.SelectNext(false);
      return true;
    case NavigationStep::kPress: {
      Control* active = form.ActiveControl();
      if (!modifiers.repeated && active && active->Kind() == ControlKind::kButton &&
          active->CanFocus()) {
        active->Click();
      }
      return true;
    }
    case NavigationStep::kSwallow:
      return true;
  }
  return false;
}

}  // namespace platform
