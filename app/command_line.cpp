// The file named on the command line: the first argument, split by the shell's own rules.
#include "app/command_line.h"

std::wstring fileOfCommandLine(LPCWSTR commandLine)
{
    if (!commandLine)
        return {};
    // CommandLineToArgvW reads its first word by the rules for a program name, without the
    // backslash rules, and an empty line as the program's own path. The command line here holds
    // only the arguments, so a stand-in program name goes first.
    const std::wstring line = std::wstring(L"quenwrite ") + commandLine;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(line.c_str(), &count);
    if (!arguments)
        return {};
    std::wstring file = count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    return file;
}
