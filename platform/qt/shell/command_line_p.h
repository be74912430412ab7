// The Windows command line that the Linux program's main() makes from its arguments.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The arguments as one line that CommandLineToArgvW splits back into exactly these arguments,
// as the ones after a program name: blanks, quotes and backslashes quoted as Windows reads them.
std::wstring commandLineOf(const std::vector<std::wstring>& arguments);

} // namespace platform
