// What the reliability tests share: the names a folder holds (a temporary file left behind shows
// up there) and a document large enough that the file code reads and writes it in several pieces.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

inline std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline bool holdsTemporary(const std::string& folder)
{
    for (const std::string& name : namesIn(folder)) {
        if (name.rfind(".quenwrite-", 0) == 0)
            return true;
    }
    return false;
}

// One byte per character, as the editor writes its files.
inline std::string latin1(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t c : text)
        bytes += char(static_cast<unsigned char>(c));
    return bytes;
}

// Lines of every character from 1 to 255 but the line ends, CR LF after each, about `size`
// characters in all: more than one 1 MB piece of the file code.
inline std::wstring largeText(std::size_t size)
{
    std::wstring text;
    text.reserve(size + 1024);
    for (std::size_t line = 0; text.size() < size; ++line) {
        for (int i = 0; i < 1000; ++i) {
            const auto c = wchar_t(1 + (line + std::size_t(i)) % 255);
            text += c == L'\r' || c == L'\n' ? L'.' : c;
        }
        text += L"\r\n";
    }
    return text;
}
