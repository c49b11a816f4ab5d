// UTF-8 encoding and decoding of single code points, and the check for well-formed text,
// shared by the in-memory backend's paths and the report's.
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

// The length of the well-formed UTF-8 sequence at the front of bytes; 0 when it is not one
// (a stray byte, an overlong form, a surrogate, a value past U+10FFFF, a cut-off end).
inline size_t Utf8SequenceLength(std::string_view bytes) {
  if (bytes.empty()) return 0;
  auto c = static_cast<unsigned char>(bytes[0]);
  if (c < 0x80) return 1;
  size_t extra;
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2, cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3, cp = c & 0x07;
  } else {
    return 0;
  }
  if (extra >= bytes.size()) return 0;
  for (size_t k = 1; k <= extra; k++) {
    auto t = static_cast<unsigned char>(bytes[k]);
    if ((t & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (t & 0x3F);
  }
  if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return extra + 1;
}

// Whether the bytes are well-formed UTF-8.
inline bool IsUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Utf8SequenceLength(bytes.substr(i));
    if (n == 0) return false;
    i += n;
  }
  return true;
}

}  // namespace platform
