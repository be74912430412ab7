// Files the editor must give back byte for byte: every encoding it recognises, every line-end
// form, the edges of each, and what each shows in the edit control.
#pragma once

#include "encoding/text_format.h"

#include <string>
#include <vector>

// The characters of bytes 0x80 to 0x9F in code page 1252, the five it leaves unassigned as
// themselves.
inline const std::wstring upper1252 =
    L"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D"
    L"\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D"
    L"\u017E\u0178";

struct CorpusFile {
    const char* name;
    std::string bytes;
    Encoding encoding;
    LineEnd lineEnd;
    std::wstring text; // as the edit control shows it
};

inline std::wstring stray(unsigned char byte)
{
    return std::wstring(1, wchar_t(0xDC00 + byte));
}

inline std::vector<CorpusFile> textCorpus()
{
    std::string everyByte;
    std::wstring everyCharacter;
    for (int byte = 1; byte < 256; ++byte) {
        everyByte += char(byte);
        if (byte == '\n')
            everyCharacter += L"\r\n";
        else if (byte >= 0x80 && byte < 0xA0)
            everyCharacter += upper1252[std::size_t(byte - 0x80)];
        else
            everyCharacter += wchar_t(byte);
    }
    return {
        {"empty file", "", Encoding::utf8, systemLineEnd(), L""},
        {"8-bit, every byte from 1 to 255", everyByte, Encoding::eightBit, LineEnd::lf,
         everyCharacter},
        {"8-bit, CR LF", "caf\xE9\r\n\x80 5\r\n", Encoding::eightBit, LineEnd::crLf,
         L"caf\u00E9\r\n\u20AC 5\r\n"},
        {"ASCII, CR", "one\rtwo\r\rfour", Encoding::utf8, LineEnd::cr, L"one\r\ntwo\r\n\r\nfour"},
        {"ASCII, CR LF", "one\r\ntwo\r\n", Encoding::utf8, LineEnd::crLf, L"one\r\ntwo\r\n"},
        {"LF, no final line end", "one\n\ntwo", Encoding::utf8, LineEnd::lf, L"one\r\n\r\ntwo"},
        {"a lone CR in LF lines is a character", "50%\r100%\ndone\n", Encoding::utf8, LineEnd::lf,
         L"50%\r100%\r\ndone\r\n"},
        {"a CR before CR LF is a character", "a\r\r\nb\r\n", Encoding::utf8, LineEnd::crLf,
         L"a\r\r\nb\r\n"},
        {"8-bit without line ends", "caf\xE9", Encoding::eightBit, systemLineEnd(), L"caf\u00E9"},
        {"UTF-8, LF", "h\xC3\xA9llo\nM\xC3\xBCller\n", Encoding::utf8, LineEnd::lf,
         L"h\u00E9llo\r\nM\u00FCller\r\n"},
        {"UTF-8 with mark, CR LF", "\xEF\xBB\xBFna\xC3\xAFve\r\n\xE6\x97\xA5",
         Encoding::utf8WithMark, LineEnd::crLf, L"na\u00EFve\r\n\u65E5"},
        {"only a UTF-8 mark", "\xEF\xBB\xBF", Encoding::utf8WithMark, systemLineEnd(), L""},
        {"UTF-8 outside the basic plane", "\xF0\x9F\x98\x80 \xF0\x90\x8D\x88\n", Encoding::utf8,
         LineEnd::lf, L"\U0001F600 \U00010348\r\n"},
        {"UTF-8 with stray, overlong and surrogate bytes",
         "\xC3\xA9\xC3\xA8\xC3\xA0\xC3\xAA\xC3\xAB\xC3\xAE\xC3\xAF\xC3\xB4\xC3\xB6\xC3\xBC"
         "\xE2\x82\xAC\xE2\x82\xAC\xF0\x9F\x98\x80 \xFF \xC0\xAF \xED\xA0\x80 \xE2\x82\n",
         Encoding::utf8, LineEnd::lf,
         L"\u00E9\u00E8\u00E0\u00EA\u00EB\u00EE\u00EF\u00F4\u00F6\u00FC\u20AC\u20AC\U0001F600 " +
             stray(0xFF) + L" " + stray(0xC0) + stray(0xAF) + L" " + stray(0xED) + stray(0xA0) +
             stray(0x80) + L" " + stray(0xE2) + stray(0x82) + L"\r\n"},
        {"UTF-8 with a stray byte after a character outside the plane",
         "\xC3\xA9\xF0\x9F\x98\x80\x80", Encoding::utf8, systemLineEnd(),
         L"\u00E9\U0001F600" + stray(0x80)},
        {"only a UTF-16 LE mark", "\xFF\xFE", Encoding::utf16Le, systemLineEnd(), L""},
        {"only a UTF-16 BE mark", "\xFE\xFF", Encoding::utf16Be, systemLineEnd(), L""},
        {"UTF-16 LE, CR LF",
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0\xE5\x65\x3D\xD8\x00\xDE",
                     14),
         Encoding::utf16Le, LineEnd::crLf, L"a\r\n\u65E5\U0001F600"},
        {"UTF-16 LE without a mark, CR LF", std::string("o\0n\0\xE9\0\r\0\n\0t\0w\0o\0", 16),
         Encoding::utf16LeWithoutMark, LineEnd::crLf, L"on\u00E9\r\ntwo"},
        {"UTF-16 BE without a mark, LF", std::string("\0o\0n\0e\0\n\0\n", 10),
         Encoding::utf16BeWithoutMark, LineEnd::lf, L"one\r\n\r\n"},
        {"UTF-16 BE, LF and a lone surrogate",
         std::string("\xFE\xFF\xD8\x3D\xDE\x00\x00\n\xDC\x80\x00z", 12), Encoding::utf16Be,
         LineEnd::lf, L"\U0001F600\r\n" + stray(0x80) + L"z"},
    };
}
