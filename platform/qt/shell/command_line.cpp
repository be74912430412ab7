// CommandLineToArgvW with Windows' rules for splitting a command line, and its inverse for the
// Linux program's main(), which gets its arguments already split.
#include "platform/qt/shell/command_line_p.h"

#include "platform/qt/kernel/local_memory_p.h"
#include "platform/qt/text_p.h"
#include "platform/win32.h"

#include <QCoreApplication>

#include <cstring>

namespace platform {

namespace {

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Windows: the program name ends at the next blank or, when it starts with a quote, at the next
// quote; backslashes are plain characters in it.
const wchar_t* readProgramName(const wchar_t* p, std::wstring& name)
{
    if (*p != L'"') {
        while (*p && !isBlank(*p))
            name += *p++;
        return p;
    }
    for (++p; *p && *p != L'"'; ++p)
        name += *p;
    return *p ? p + 1 : p;
}

// Windows: blanks outside quotes end an argument and a quote switches quoting; backslashes count
// only in front of a quote, where 2n of them give n and 2n + 1 give n and a literal quote.
const wchar_t* readArgument(const wchar_t* p, std::wstring& argument)
{
    bool quoted = false;
    while (*p && (quoted || !isBlank(*p))) {
        std::size_t backslashes = 0;
        for (; *p == L'\\'; ++p)
            ++backslashes;
        if (*p != L'"') {
            argument.append(backslashes, L'\\');
            if (backslashes == 0)
                argument += *p++;
            continue;
        }
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1)
            argument += L'"';
        else
            quoted = !quoted;
        ++p;
    }
    return p;
}

std::vector<std::wstring> splitCommandLine(const wchar_t* line)
{
    std::vector<std::wstring> arguments(1);
    // Windows: an empty line stands for the program itself.
    if (!*line)
        arguments[0] = toWString(QCoreApplication::applicationFilePath());
    const wchar_t* p = readProgramName(line, arguments[0]);
    for (;;) {
        while (isBlank(*p))
            ++p;
        if (!*p)
            return arguments;
        arguments.emplace_back();
        p = readArgument(p, arguments.back());
    }
}

std::wstring quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote gets one of its own.
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        result += c;
        backslashes = 0;
    }
    // Doubled before the closing quote, so that they stay backslashes.
    result.append(2 * backslashes, L'\\');
    return result + L'"';
}

} // namespace

std::wstring commandLineOf(const std::vector<std::wstring>& arguments)
{
    std::wstring line;
    for (const std::wstring& argument : arguments)
        line += (line.empty() ? L"" : L" ") + quoted(argument);
    return line;
}

} // namespace platform

using namespace platform;

LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count)
{
    if (!commandLine || !count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::vector<std::wstring> arguments = splitCommandLine(commandLine);
    // Windows: one block, the pointers first and the strings after them, freed by one LocalFree.
    std::size_t size = (arguments.size() + 1) * sizeof(LPWSTR);
    for (const std::wstring& argument : arguments)
        size += (argument.size() + 1) * sizeof(wchar_t);
    auto* pointers = static_cast<LPWSTR*>(localAlloc(size));
    if (!pointers) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* text = reinterpret_cast<wchar_t*>(pointers + arguments.size() + 1);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        pointers[i] = text;
        std::memcpy(text, arguments[i].c_str(), (arguments[i].size() + 1) * sizeof(wchar_t));
        text += arguments[i].size() + 1;
    }
    pointers[arguments.size()] = nullptr;
    *count = int(arguments.size());
    return pointers;
}
