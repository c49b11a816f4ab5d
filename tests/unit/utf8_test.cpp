// The one UTF-8 <-> UTF-16/UTF-32 conversion, as the Windows programs' paths and texts and the
// in-memory backend's paths use it: well-formed text both ways, and what is not well-formed.
#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// U+FFFD in each encoding.
#define FFFD_UTF8 "\xEF\xBF\xBD"

TEST(Utf8, WellFormedTextBothWays) {
  struct Case {
    const char* what;
    std::string utf8;
    std::u16string utf16;
    std::u32string utf32;
  } cases[] = {
      {"empty", "", u"", U""},
      {"ASCII", "Quarn 1.log", u"Quarn 1.log", U"Quarn 1.log"},
      {"two bytes", "Jos\xC3\xA9", u"Jos\u00E9", U"Jos\u00E9"},  // José
      {"three bytes",
       "\xE2\x82\xAC"
       "5",
       u"\u20AC5", U"\u20AC5"},  // €5
      {"Japanese", "\xE3\x81\x82\xE3\x81\x8A\xE3\x81\x84", u"\u3042\u304A\u3044",
       U"\u3042\u304A\u3044"},  // あおい
      // 𝄞: four bytes, a surrogate pair in UTF-16.
      {"four bytes",
       "a\xF0\x9D\x84\x9E"
       "b",
       u"a\xD834\xDD1E"
       "b",
       U"a\U0001D11Eb"},
      {"U+FFFD itself", FFFD_UTF8, u"\uFFFD", U"\uFFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.what;
    EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8) << c.what;
    const std::wstring wide = WideFromUtf8(c.utf8);
    if constexpr (sizeof(wchar_t) == 2) {
      EXPECT_EQ(wide, std::wstring(c.utf16.begin(), c.utf16.end())) << c.what;
    } else {
      EXPECT_EQ(wide, std::wstring(c.utf32.begin(), c.utf32.end())) << c.what;
    }
    EXPECT_EQ(Utf8FromWide(wide), c.utf8) << c.what;
  }
}

// A name from the file system may hold a lone surrogate; it is shown as U+FFFD and the text
// around it is kept.
TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters) {
  struct Case {
    const char* what;
    std::u16string utf16;
    std::string utf8;
  } cases[] = {
      {"high alone",
       u"a\xD800"
       "b",
       "a" FFFD_UTF8 "b"},
      {"low alone", u"\xDC00", FFFD_UTF8},
      {"high at the end", u"x\xD83D", "x" FFFD_UTF8},
      {"pair in the wrong order", u"\xDD1E\xD834", FFFD_UTF8 FFFD_UTF8},
      {"two highs then a low", u"\xD834\xD834\xDD1E", FFFD_UTF8 "\xF0\x9D\x84\x9E"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8) << c.what;
    if constexpr (sizeof(wchar_t) == 2) {
      EXPECT_EQ(Utf8FromWide(std::wstring(c.utf16.begin(), c.utf16.end())), c.utf8) << c.what;
    }
  }
  if constexpr (sizeof(wchar_t) == 4) {
    // In UTF-32 every surrogate stands alone, and there is nothing past U+10FFFF.
    const std::wstring wide = {L'a', static_cast<wchar_t>(0xD834), static_cast<wchar_t>(0xDD1E),
                               static_cast<wchar_t>(0x110000), L'b'};
    EXPECT_EQ(Utf8FromWide(wide), "a" FFFD_UTF8 FFFD_UTF8 FFFD_UTF8 "b");
  }
}

// Each ill-formed piece becomes one U+FFFD, as long as it could have begun a character, and
// the text after it is read on: a name typed in another code page still opens the file it
// names as nearly as it can.
TEST(Utf8, IllFormedUtf8BecomesReplacementCharacters) {
  struct Case {
    const char* what;
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"stray continuation byte",
       "a\x80"
       "b",
       u"a\uFFFD"
       "b"},
      {"byte never used", "\xFF", u"\uFFFD"},
      {"CP932 bytes", "\x8E\x52\x93\x63", u"\uFFFDR\uFFFDc"},  // 山田 in CP932
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"cut off before a letter",
       "\xE2\x82"
       "A",
       u"\uFFFD"
       "A"},
      {"cut off at the end", "x\xF0\x9D\x84", u"x\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"largest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.what;
    const std::string back = Utf8FromUtf16(c.utf16);
    EXPECT_EQ(Utf8FromWide(WideFromUtf8(c.utf8)), back) << c.what;
  }
}

// A host folder name is shown as it is only when it is well-formed; U+FFFD written out is,
// though the decoder also gives U+FFFD for what is not.
TEST(Utf8, WellFormedOrNot) {
  struct Case {
    const char* what;
    std::string bytes;
    size_t firstLength;
    bool wellFormed;
  } cases[] = {
      {"empty", "", 0, true},
      {"ASCII", "ab", 1, true},
      {"Japanese", "\xE3\x81\x95x", 3, true},
      {"U+FFFD itself", FFFD_UTF8 "x", 3, true},
      {"four bytes", "\xF0\x9D\x84\x9E", 4, true},
      {"stray byte", "\xFF", 0, false},
      {"CP932", "\x8E\x52\x93\x63", 0, false},
      {"overlong", "\xC0\x80", 0, false},
      {"encoded surrogate", "\xED\xA0\x80", 0, false},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 0, false},
      {"cut off", "\xE3\x81", 0, false},
      {"bad after good", "a\xFE", 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8SequenceLength(c.bytes), c.firstLength) << c.what;
    EXPECT_EQ(IsUtf8(c.bytes), c.wellFormed) << c.what;
  }
}

}  // namespace
}  // namespace platform
