// GDI for the Win32 backend: one font object per distinct font, the measuring of text, and
// an image's off-screen bitmap with the drawing on it.
#include "platform/win32/win32_window.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_values.h"

namespace platform {

namespace {

// One HFONT per distinct face, height and character set, kept until the face is released
// (the controls only borrow them). The colour is not part of a GDI font.
using FontCache = std::map<std::tuple<std::string, int, Charset>, win32::Font>;

FontCache& Fonts() {
  static FontCache fonts;
  return fonts;
}

}  // namespace

HFONT FontHandle(const Font& font) {
  FontCache& fonts = Fonts();
  auto key = std::make_tuple(font.name, font.height, font.charset);
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    LOGFONTW logFont{};
    logFont.lfHeight = font.height;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = win32::CharsetOf(font.charset);
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wstring face = win32::Widen(font.name);
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    it = fonts.emplace(key, win32::Font(CreateFontIndirectW(&logFont))).first;
  }
  return it->second.Get();
}

void Fill(HDC dc, const RECT& rect, Color color) {
  SetDCBrushColor(dc, win32::ColorRefOf(color));
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

namespace {

HDC CanvasDc(Image& image) {
  Win32Control* peer = PeerOf(image);
  return peer && peer->canvas ? peer->canvas->dc.Get() : nullptr;
}

void InvalidateImage(Image& image) {
  if (HWND hwnd = WindowOf(image)) InvalidateRect(hwnd, nullptr, FALSE);
}

}  // namespace

void ReleaseFontObjects(std::string_view face) {
  std::erase_if(Fonts(), [face](const auto& entry) { return std::get<0>(entry.first) == face; });
}

namespace backend {

int ScreenPixelsPerInch() {
  win32::ScreenDc screen;
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

Size MeasureText(const Font& font, std::string_view text) {
  win32::ScreenDc screen;
  win32::Selection selected(screen.Get(), FontHandle(font));
  std::wstring wide = win32::Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return {extent.cx, metrics.tmHeight};
}

void CreateCanvas(Image& image, Size size) {
  Win32Control* peer = PeerOf(image);
  if (!peer) return;
  win32::ScreenDc screen;
  win32::MemoryDc dc(CreateCompatibleDC(screen.Get()));
  win32::Bitmap bitmap(
      CreateCompatibleBitmap(screen.Get(), std::max(size.width, 1), std::max(size.height, 1)));
  if (!dc || !bitmap) return;  // drawing then does nothing
  peer->canvas.emplace(std::move(dc), std::move(bitmap), size);
  // A new bitmap's pixels are undefined; the surface starts white.
  PatBlt(peer->canvas->dc.Get(), 0, 0, size.width, size.height, WHITENESS);
  InvalidateImage(image);
}

void CanvasRectangle(Image& image, int x1, int y1, int x2, int y2) {
  HDC dc = CanvasDc(image);
  if (!dc) return;
  win32::Selection pen(dc, GetStockObject(BLACK_PEN));
  win32::Selection brush(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, x1, y1, x2, y2);
  InvalidateImage(image);
}

void CanvasTextOut(Image& image, const Font& font, int x, int y, std::string_view text) {
  HDC dc = CanvasDc(image);
  if (!dc) return;
  // The font is selected for this drawing only, so that no DC holds the embedded font when
  // it is removed from the font table.
  win32::Selection selected(dc, FontHandle(font));
  SetTextColor(dc, win32::ColorRefOf(font.color));
  SetBkColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  std::wstring wide = win32::Widen(text);
  TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
  InvalidateImage(image);
}

}  // namespace backend

}  // namespace platform
