// The in-memory font model and canvases: text measured by a fixed metric model, and the
// drawing on an image recorded as its content and in the trace.
#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/cp932.h"
#include "platform/headless/headless_window.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace platform {

using headless::Machine;

void ReleaseFontObjects(std::string_view face) {
  headless::Trace("font release " + std::string(face));
  Machine().fontObjects.erase(std::string(face));
}

namespace backend {

int ScreenPixelsPerInch() {
  return Machine().pixelsPerInch;
}

// The metric model: the embedded face (once a font file is registered) has digits half an
// em wide and every other glyph one em; other faces have half-em single-byte glyphs and
// one-em double-byte ones. A line is one em high in both.
Size MeasureText(const Font& font, std::string_view text) {
  Machine().fontObjects.insert(font.name);
  int em = font.height < 0 ? -font.height : font.height;
  bool embedded = font.name == QUARN_DIGIT_FACE && !Machine().registeredFonts.empty();
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
  Machine().fontObjects.insert(font.name);
  char entry[96];
  std::snprintf(entry, sizeof entry, "text %d,%d %.*s %s", x, y, static_cast<int>(text.size()),
                text.data(), headless::ColorText(font.color).c_str());
  headless::Trace(entry);
  headless::CanvasContent& c = headless::Peer(image).canvas;
  c.text = std::string(text);
  c.color = font.color;
}

}  // namespace backend

}  // namespace platform
