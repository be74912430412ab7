// The byte-order marks and the names the user reads for encodings and line ends.
#include "document/text_format.h"

std::string_view markOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::utf8WithMark:
        return "\xEF\xBB\xBF";
    case Encoding::utf16Le:
        return "\xFF\xFE";
    case Encoding::utf16Be:
        return "\xFE\xFF";
    default:
        return {};
    }
}

const wchar_t* nameOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::eightBit:
        return L"8-bit (code page 1252)";
    case Encoding::utf8:
        return L"UTF-8";
    case Encoding::utf8WithMark:
        return L"UTF-8 with byte-order mark";
    case Encoding::utf16Le:
        return L"UTF-16 little-endian";
    case Encoding::utf16Be:
        return L"UTF-16 big-endian";
    }
    return L"";
}

const wchar_t* nameOf(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::crLf:
        return L"CR LF";
    case LineEnd::lf:
        return L"LF";
    case LineEnd::cr:
        return L"CR";
    }
    return L"";
}
