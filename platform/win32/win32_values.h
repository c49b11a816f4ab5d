// The windowing layer's own small types as Windows values: colours, character sets, keys and
// message box styles.
#pragma once

#include "platform/win32/win32_handles.h"  // <windows.h> before the layer's headers

#include "platform/controls.h"

namespace win32 {

// A role's colour is read from the user's settings at every call, so a changed scheme shows.
COLORREF ColorRefOf(platform::Color color);
BYTE CharsetOf(platform::Charset charset);
// The key a virtual-key code stands for; the ones the layer does not name are kOther.
platform::Key KeyOf(WPARAM virtualKey);
// The virtual-key code of a named key; 0 for kNone and kOther, which have none.
WPARAM VirtualKeyOf(platform::Key key);
// An OK button and the kind's icon.
UINT MessageBoxStyleOf(platform::MessageKind kind);

}  // namespace win32
