// Splitting a command line into its arguments.
#include "platform/command_line.h"

namespace platform {

namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
  std::vector<std::wstring> arguments;
  size_t i = 0;
  // The program's name takes no escapes: a path may end in a backslash.
  std::wstring name;
  if (i < line.size() && line[i] == L'"') {
    for (++i; i < line.size() && line[i] != L'"'; ++i)
      name += line[i];
    if (i < line.size()) ++i;
  } else {
    for (; i < line.size() && !IsBlank(line[i]); ++i)
      name += line[i];
  }
  arguments.push_back(std::move(name));

  for (;;) {
    while (i < line.size() && IsBlank(line[i]))
      ++i;
    if (i >= line.size()) break;
    std::wstring argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == L'\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2) {
          argument += L'"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          // A doubled quote inside a quoted part is one literal quote.
          argument += L'"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, L'\\');
        if (i < line.size() && (quoted || !IsBlank(line[i]))) argument += line[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace platform
