// Keyboard navigation inside a form, the same for every backend: which control a key left
// over by the form's key preview focuses or presses.
#pragma once

#include "platform/controls.h"

namespace platform {

// The state of the keyboard around a key press that navigation looks at.
struct KeyModifiers {
  bool shift = false;
  bool controlOrAlt = false;  // a chord: navigation leaves it to the window system
  bool repeated = false;      // auto-repeat of a held key
};

// What a key does to the form's focus: nothing (the key goes on to the focused window),
// move the focus forward or back in tab order, press the focused push button, or nothing
// but swallow the key.
enum class NavigationStep { kNone, kNext, kPrevious, kPress, kSwallow };

// Tab and the arrows right and down move forward; Shift+Tab and the arrows left and up move
// back; Enter presses; Esc is swallowed, as no form has a cancel button. Chords are not ours.
NavigationStep NavigationStepOf(Key key, KeyModifiers modifiers);

// The control that takes the focus after `from` in the form's tab order (description order
// among equal tab orders), going round at either end; `from` outside the order starts at the
// first or last stop. nullptr when no control can take the focus.
Control* NextTabStop(Form& form, Control* from, bool forward);

// Carries out the step the key means in the form: moves its focus or presses its focused
// push button (not for an auto-repeated Enter, which would also press the button of the
// dialog the first press opens). True when the key is used up.
bool Navigate(Form& form, Key key, KeyModifiers modifiers);

}  // namespace platform
