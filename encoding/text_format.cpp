// The byte-order marks and the names the user reads for encodings and line ends.
#include "encoding/text_format.h"

namespace {

// In the order of the enums.
constexpr std::string_view marks[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "", ""};
constexpr const wchar_t* encodingNames[] = {L"8-bit (code page 1252)",
                                            L"UTF-8",
                                            L"UTF-8 with byte-order mark",
                                            L"UTF-16 little-endian",
                                            L"UTF-16 big-endian",
                                            L"UTF-16 little-endian without byte-order mark",
                                            L"UTF-16 big-endian without byte-order mark"};
constexpr const wchar_t* lineEndNames[] = {L"CR LF", L"LF", L"CR", L"As in the file (mixed)"};

} // namespace

std::string_view markOf(Encoding encoding)
{
    return marks[int(encoding)];
}

const wchar_t* nameOf(Encoding encoding)
{
    return encodingNames[int(encoding)];
}

const wchar_t* nameOf(LineEnd lineEnd)
{
    return lineEndNames[int(lineEnd)];
}
