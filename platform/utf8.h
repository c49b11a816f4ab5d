// UTF-8 encoding and decoding of single code points, shared by the in-memory backend's paths
// and the report's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point that starts at i, which moves past it. Text that is no UTF-8 is taken
// leniently, never past its end.
inline uint32_t NextUtf8(std::string_view text, size_t& i) {
  auto b = static_cast<unsigned char>(text[i]);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra && i + k < text.size(); ++k)
    c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  i += static_cast<size_t>(extra) + 1;
  return c;
}

}  // namespace platform
