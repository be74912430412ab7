// What the tests of files share: the names a folder holds (a temporary file left behind shows
// up there) and a document large enough that the file code reads and writes it in several pieces.
#pragma once

#include "encoding/text_writer.h"
#include "platform/win32.h"

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

// One byte per character in code page 1252, as the editor writes an 8-bit file.
inline std::string bytes1252(const std::wstring& text)
{
    std::string bytes(text.size(), '\0');
    if (!text.empty())
        WideCharToMultiByte(1252, 0, text.data(), int(text.size()), bytes.data(), int(bytes.size()),
                            nullptr, nullptr);
    return bytes;
}

// As the editor writes a new document's file: UTF-8 with the system's line ends.
inline std::string newDocumentBytes(const std::wstring& text)
{
    return bytesFromText(text, newDocumentFormat());
}

// Lines of the characters of every byte from 1 to 255 in code page 1252 but the line ends, CR LF
// after each, about `size` characters in all: more than one 1 MB piece of the file code.
inline std::wstring largeText(std::size_t size)
{
    std::wstring text;
    text.reserve(size + 1024);
    for (std::size_t line = 0; text.size() < size; ++line) {
        for (int i = 0; i < 1000; ++i) {
            const auto byte = char(1 + (line + std::size_t(i)) % 255);
            wchar_t c = L'.';
            if (byte != '\r' && byte != '\n')
                MultiByteToWideChar(1252, 0, &byte, 1, &c, 1);
            text += c;
        }
        text += L"\r\n";
    }
    return text;
}
