// Code page 932 (Shift_JIS) byte rules shared by the formatter and the text measurement.
#pragma once

namespace platform {

// A lead byte starts a double-byte character: 0x81-0x9F and 0xE0-0xFC. Half-width
// katakana (0xA1-0xDF) are single bytes.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace platform
