// The windowing layer's own small types as Windows values: colours, character sets, keys and
// message box styles.
#include "platform/win32/win32_values.h"

namespace win32 {

COLORREF ColorRefOf(platform::Color color) {
  if (!color.IsRole()) return RGB(color.Red(), color.Green(), color.Blue());
  switch (color.Role()) {
    case platform::ColorRole::kWindow:
      return GetSysColor(COLOR_WINDOW);
    case platform::ColorRole::kWindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
    case platform::ColorRole::kButtonFace:
      return GetSysColor(COLOR_BTNFACE);
  }
  return GetSysColor(COLOR_WINDOW);
}

BYTE CharsetOf(platform::Charset charset) {
  return charset == platform::Charset::kShiftJis ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
}

namespace {

struct KeyCode {
  platform::Key key;
  WPARAM virtualKey;
};

constexpr KeyCode kKeyCodes[] = {
    {platform::Key::kTab, VK_TAB},     {platform::Key::kReturn, VK_RETURN},
    {platform::Key::kShift, VK_SHIFT}, {platform::Key::kEscape, VK_ESCAPE},
    {platform::Key::kSpace, VK_SPACE}, {platform::Key::kLeft, VK_LEFT},
    {platform::Key::kUp, VK_UP},       {platform::Key::kRight, VK_RIGHT},
    {platform::Key::kDown, VK_DOWN},
};

}  // namespace

platform::Key KeyOf(WPARAM virtualKey) {
  for (const KeyCode& code : kKeyCodes) {
    if (code.virtualKey == virtualKey) return code.key;
  }
  return platform::Key::kOther;
}

WPARAM VirtualKeyOf(platform::Key key) {
  for (const KeyCode& code : kKeyCodes) {
    if (code.key == key) return code.virtualKey;
  }
  return 0;
}

UINT MessageBoxStyleOf(platform::MessageKind kind) {
  switch (kind) {
    case platform::MessageKind::kNote:
      return MB_OK;
    case platform::MessageKind::kNotice:
      return MB_OK | MB_ICONINFORMATION;
    case platform::MessageKind::kWarning:
      return MB_OK | MB_ICONWARNING;
    case platform::MessageKind::kError:
      return MB_OK | MB_ICONERROR;
  }
  return MB_OK;
}

}  // namespace win32
