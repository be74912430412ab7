// How a document's text is kept in its file: the encoding with its byte-order mark, and the form
// of the line ends. The edit control always holds CR LF between lines; the format says what goes
// back to disk.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <string_view>
#include <vector>

enum class Encoding {
    eightBit, // one byte per character, code page 1252
    utf8,
    utf8WithMark,
    utf16Le,
    utf16Be,
    // Without a mark, UTF-16 is told from its bytes only where they show it (text_detect.h).
    utf16LeWithoutMark,
    utf16BeWithoutMark,
};

// asInFile: each line end as the file had it, for a file that mixes CR LF and LF.
enum class LineEnd { crLf, lf, cr, asInFile };

constexpr int encodingCount = int(Encoding::utf16BeWithoutMark) + 1;
constexpr int lineEndCount = int(LineEnd::asInFile) + 1;

// The line end of the system's own text files: CR LF on Windows, LF where the platform says so.
constexpr LineEnd systemLineEnd()
{
    return systemLineBreak == std::wstring_view(L"\n") ? LineEnd::lf : LineEnd::crLf;
}

struct TextFormat {
    Encoding encoding = Encoding::eightBit;
    LineEnd lineEnd = LineEnd::crLf;
};

// A new document's format: UTF-8 stores every character the user types, and without a mark a text
// of ASCII alone is the same bytes in any encoding.
constexpr TextFormat newDocumentFormat()
{
    return {Encoding::utf8, systemLineEnd()};
}

// How many line ends of each form a file holds: a CR directly before an LF is part of a CR LF.
struct LineEndCounts {
    std::size_t crLf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;
};

constexpr bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::utf16Le || encoding == Encoding::utf16Be ||
           encoding == Encoding::utf16LeWithoutMark || encoding == Encoding::utf16BeWithoutMark;
}

constexpr bool isBigEndian(Encoding encoding)
{
    return encoding == Encoding::utf16Be || encoding == Encoding::utf16BeWithoutMark;
}

// Which line ends of a file that mixes CR LF and LF were LF alone, one flag a line, so that a save
// can write each as it was read; lines past the file's last take its more frequent form.
struct LineEndForms {
    std::vector<bool> lf;
    LineEnd beyond = LineEnd::crLf;
};

// The byte-order mark the encoding writes first, empty for none.
std::string_view markOf(Encoding encoding);

// As the menus and messages name them.
const wchar_t* nameOf(Encoding encoding);
const wchar_t* nameOf(LineEnd lineEnd);
