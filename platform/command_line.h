// A Windows command line split into its arguments, by the rules the C runtime and the shell
// use, so that the drills read their arguments alike on every system and the rules are tested
// on the host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The arguments of a command line, the program's own name first. The name runs to the first
// blank, or within quotes to the next quote, and keeps its backslashes. Arguments after it are
// split at blanks outside quotes; 2n backslashes before a quote give n and the quote opens or
// closes a quoted part, 2n + 1 give n and a literal quote, and other backslashes stay.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

}  // namespace platform
