// The one conversion between UTF-8 and the wide text of paths and the W functions: UTF-16
// where wchar_t has 16 bits (Windows), UTF-32 where it has 32. What cannot be converted
// becomes U+FFFD. CP932 is another conversion (the Win32 layer's code page tables).
// Also whether bytes are well-formed UTF-8, as a host folder name need not be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

inline void AppendUtf8(std::string& out, char32_t c) {
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

// The code point that starts at i, which moves past it. An ill-formed sequence gives
// U+FFFD and moves past its longest start that could have begun a character (so "E2 82 41"
// is U+FFFD, "A"), as the Unicode standard recommends and MultiByteToWideChar does.
inline char32_t NextUtf8(std::string_view text, size_t& i) {
  const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i++);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kReplacementCharacter;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || byte(i) < low || byte(i) > high) return kReplacementCharacter;
    c = c << 6 | (byte(i++) & 0x3F);
    low = 0x80, high = 0xBF;
  }
  return c;
}

namespace utf {

template <class Unit>
std::basic_string<Unit> FromUtf8(std::string_view utf8) {
  static_assert(sizeof(Unit) == 2 || sizeof(Unit) == 4);
  std::basic_string<Unit> out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = NextUtf8(utf8, i);
    if constexpr (sizeof(Unit) == 2) {
      if (c >= 0x10000) {
        out += static_cast<Unit>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<Unit>(0xDC00 + ((c - 0x10000) & 0x3FF));
        continue;
      }
    }
    out += static_cast<Unit>(c);
  }
  return out;
}

template <class Unit>
std::string ToUtf8(std::basic_string_view<Unit> text) {
  static_assert(sizeof(Unit) == 2 || sizeof(Unit) == 4);
  // Through the unsigned type of the same width: a 32-bit wchar_t is signed.
  using Bits = std::conditional_t<sizeof(Unit) == 2, uint16_t, uint32_t>;
  const auto unit = [&text](size_t at) -> char32_t { return static_cast<Bits>(text[at]); };
  const auto isHigh = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  const auto isLow = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = unit(i);
    if (sizeof(Unit) == 2 && isHigh(c) && i + 1 < text.size() && isLow(unit(i + 1))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (isHigh(c) || isLow(c) || c > 0x10FFFF) {
      c = kReplacementCharacter;  // a lone surrogate, or no code point at all
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace utf

inline std::u16string Utf16FromUtf8(std::string_view utf8) {
  return utf::FromUtf8<char16_t>(utf8);
}
inline std::string Utf8FromUtf16(std::u16string_view utf16) {
  return utf::ToUtf8(utf16);
}
inline std::wstring WideFromUtf8(std::string_view utf8) {
  return utf::FromUtf8<wchar_t>(utf8);
}
inline std::string Utf8FromWide(std::wstring_view wide) {
  return utf::ToUtf8(wide);
}

// The length of the well-formed UTF-8 sequence at the front of bytes; 0 when it is not one
// (a stray byte, an overlong form, a surrogate, a value past U+10FFFF, a cut-off end).
inline size_t Utf8SequenceLength(std::string_view bytes) {
  if (bytes.empty()) return 0;
  size_t length = 0;
  // NextUtf8 decodes what is well-formed and gives U+FFFD for the rest, so U+FFFD is
  // well-formed only when it was written out as such.
  if (NextUtf8(bytes, length) == kReplacementCharacter &&
      bytes.substr(0, length) != "\xEF\xBF\xBD") {
    return 0;
  }
  return length;
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
