// The drills' command line: split as Windows splits it, and the focus switch found in it.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"

namespace {

TEST(SplitCommandLine, TheRulesOfTheCRuntime) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> arguments;
  } cases[] = {
      {L"D_Quarn.exe", {L"D_Quarn.exe"}},
      {L"D_Quarn.exe /focus", {L"D_Quarn.exe", L"/focus"}},
      {L"\"C:\\Program Files\\Quarn\\D_Quarn.exe\" --focus",
       {L"C:\\Program Files\\Quarn\\D_Quarn.exe", L"--focus"}},
      // The program's name keeps a backslash before its closing quote.
      {L"\"C:\\Quarn\\\" x", {L"C:\\Quarn\\", L"x"}},
      {L"a.exe  \t /focus\t", {L"a.exe", L"/focus"}},
      {L"a.exe \"/focus\"", {L"a.exe", L"/focus"}},
      {L"a.exe \"a b\" c", {L"a.exe", L"a b", L"c"}},
      {L"a.exe a\\\\b \\\\\"c d\\\\\"", {L"a.exe", L"a\\\\b", L"\\c d\\"}},
      {L"a.exe \\\"/focus\\\"", {L"a.exe", L"\"/focus\""}},
      {L"a.exe \"say \"\"hi\"\"\"", {L"a.exe", L"say \"hi\""}},
      {L"a.exe x\\", {L"a.exe", L"x\\"}},
      {L"a.exe \"\"", {L"a.exe", L""}},
      {L"", {L""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::SplitCommandLine(c.line), c.arguments)
        << std::string(c.line, c.line + std::wcslen(c.line));
  }
}

TEST(ParseDrillOptions, TheFocusSwitch) {
  struct Case {
    std::vector<std::string> arguments;
    bool focus;
  } cases[] = {
      {{}, false},
      {{"/focus"}, true},
      {{"--focus"}, true},
      {{"/FOCUS"}, true},
      {{"--Focus"}, true},
      {{"other", "/focus"}, true},
      {{"-focus"}, false},
      {{"focus"}, false},
      {{"/focused"}, false},
      {{"/focu"}, false},
      {{"---focus"}, false},
      {{"/f\xC3\xB6"
        "cus"},
       false},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments)
      shown += a + " ";
    EXPECT_EQ(app::ParseDrillOptions(c.arguments).focus, c.focus) << shown;
  }
}

}  // namespace
