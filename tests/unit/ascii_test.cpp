// ASCII letter case as file extensions, switches and format codes use it: only A-Z and a-z
// change, so no byte of 0x80 and above is folded into another, whatever the locale.
#include <gtest/gtest.h>

#include "platform/ascii.h"

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"FOCUS", "focus", true},
      {".Log", ".LOG", true},
      {"\xc9", "\xe9", false},          // Latin-1 É and é, which a Latin-1 locale folds
      {"\xc3\x89", "\xc3\xa9", false},  // É and é in UTF-8 stay apart
      {"@", "`", false},                // the bytes just outside A-Z and a-z
      {"[", "{", false},
      {"log", "logs", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
  EXPECT_EQ(platform::AsciiUpper('\x81'), '\x81');
  EXPECT_EQ(platform::AsciiLower('\xc1'), '\xc1');
}
