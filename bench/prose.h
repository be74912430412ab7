// The benchmarks' document: an ordinary line of prose repeated to the wanted length, CR LF ended.
#pragma once

#include <string>

inline std::wstring prose(std::size_t length)
{
    const std::wstring line = L"the quick brown fox jumps over the lazy dog, then rests.\r\n";
    std::wstring text;
    text.reserve(length);
    while (text.size() + line.size() <= length)
        text += line;
    text.resize(length, L' ');
    return text;
}
