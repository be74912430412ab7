// The recovery copy's header and the exact byte form of its text.
#include "recovery/recovery_file.h"

#include "encoding/text_units.h"

#include <charconv>
#include <cstdint>
#include <type_traits>

namespace {

const std::string_view magic = "Quenwrite recovery copy\n";
const std::string_view textInFileLine = "text file\n";
constexpr char32_t replacement = 0xFFFD;

char32_t unitAt(std::wstring_view text, std::size_t i)
{
    return char32_t(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
}

void appendCodePoint(char32_t c, std::string& bytes)
{
    if (c > 0x1FFFFF)
        c = replacement;
    if (c < 0x80) {
        bytes += char(c);
    } else if (c < 0x800) {
        bytes += char(0xC0 | (c >> 6));
        bytes += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes += char(0xE0 | (c >> 12));
        bytes += char(0x80 | ((c >> 6) & 0x3F));
        bytes += char(0x80 | (c & 0x3F));
    } else {
        bytes += char(0xF0 | (c >> 18));
        bytes += char(0x80 | ((c >> 12) & 0x3F));
        bytes += char(0x80 | ((c >> 6) & 0x3F));
        bytes += char(0x80 | (c & 0x3F));
    }
}

void appendUnits(char32_t c, std::wstring& text)
{
    if (sizeof(wchar_t) == 2 && c > 0xFFFF) {
        if (c > 0x10FFFF) {
            text += wchar_t(replacement);
            return;
        }
        c -= 0x10000;
        text += wchar_t(0xD800 + (c >> 10));
        text += wchar_t(0xDC00 + (c & 0x3FF));
        return;
    }
    text += wchar_t(c);
}

// "name value\n" at the start of rest; the value is handed back and rest moved past the line.
bool takeLine(std::string_view& rest, std::string_view name, std::string_view& value)
{
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos || rest.substr(0, name.size()) != name ||
        end < name.size() + 1 || rest[name.size()] != ' ')
        return false;
    value = rest.substr(name.size() + 1, end - name.size() - 1);
    rest.remove_prefix(end + 1);
    return true;
}

template <typename Number> bool takeNumber(std::string_view& text, Number& number)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc())
        return false;
    text.remove_prefix(std::size_t(end - text.data()));
    if (!text.empty() && text[0] == ' ')
        text.remove_prefix(1);
    return true;
}

// The format line, which copies written before it was kept do not have.
bool takeFormat(std::string_view& rest, RecoveryHeader& header)
{
    std::string_view line;
    if (rest.substr(0, 7) != "format ") {
        header.format = {};
        header.mixedLineEnds = {};
        return true;
    }
    unsigned encoding = 0;
    unsigned lineEnd = 0;
    LineEndCounts& mixed = header.mixedLineEnds;
    if (!takeLine(rest, "format", line) || !takeNumber(line, encoding) ||
        !takeNumber(line, lineEnd) || !takeNumber(line, mixed.crLf) ||
        !takeNumber(line, mixed.lf) || !takeNumber(line, mixed.cr) || !line.empty() ||
        encoding >= unsigned(encodingCount) || lineEnd >= unsigned(lineEndCount))
        return false;
    header.format = {Encoding(encoding), LineEnd(lineEnd)};
    return true;
}

// The line of a copy whose text is its file's, which copies written before it was kept do not
// have.
bool takeTextInFile(std::string_view& rest, RecoveryHeader& header)
{
    header.textInFile = rest.starts_with(textInFileLine);
    if (header.textInFile)
        rest.remove_prefix(textInFileLine.size());
    return true;
}

} // namespace

std::wstring recoveryText(std::string_view bytes)
{
    std::wstring text;
    TextFromRecoveryBytes decoder;
    decoder.append(bytes, text);
    decoder.finish(text);
    return text;
}

std::string headerBytes(const RecoveryHeader& header)
{
    std::string path;
    appendTextBytes(header.path, path);
    const FileIdentity& file = header.identity;
    std::string bytes(magic);
    bytes += "time " + std::to_string(header.time) + "\n";
    bytes += "file " + std::to_string(int(file.known)) + " " + std::to_string(file.volume) + " " +
             std::to_string(file.index) + " " + std::to_string(file.size) + " " +
             std::to_string(file.writeTime) + " " + std::to_string(file.changeTime) + "\n";
    const LineEndCounts& mixed = header.mixedLineEnds;
    bytes += "format " + std::to_string(int(header.format.encoding)) + " " +
             std::to_string(int(header.format.lineEnd)) + " " + std::to_string(mixed.crLf) + " " +
             std::to_string(mixed.lf) + " " + std::to_string(mixed.cr) + "\n";
    if (header.textInFile)
        bytes += textInFileLine;
    bytes += "path " + std::to_string(path.size()) + "\n" + path + "\n\n";
    return bytes;
}

std::size_t parseHeader(std::string_view bytes, RecoveryHeader& header)
{
    std::string_view rest = bytes;
    if (rest.substr(0, magic.size()) != magic)
        return std::string_view::npos;
    rest.remove_prefix(magic.size());
    std::string_view time;
    std::string_view file;
    std::string_view pathSize;
    int known = 0;
    std::size_t size = 0;
    FileIdentity identity;
    // Every number is checked whole and every length against what is there: the copy may have
    // been cut short or damaged, and reading it must never go past its end.
    if (!takeLine(rest, "time", time) || !takeNumber(time, header.time) || !time.empty() ||
        !takeLine(rest, "file", file) || !takeNumber(file, known) ||
        !takeNumber(file, identity.volume) || !takeNumber(file, identity.index) ||
        !takeNumber(file, identity.size) || !takeNumber(file, identity.writeTime) ||
        // A copy written before the change time was kept ends the file line at the write time.
        (!file.empty() && !takeNumber(file, identity.changeTime)) || !file.empty() ||
        (known != 0 && known != 1) || !takeFormat(rest, header) || !takeTextInFile(rest, header) ||
        !takeLine(rest, "path", pathSize) || !takeNumber(pathSize, size) || !pathSize.empty() ||
        size > rest.size() || rest.size() - size < 2 || rest.substr(size, 2) != "\n\n")
        return std::string_view::npos;
    identity.known = known == 1;
    header.identity = identity;
    header.path = recoveryText(rest.substr(0, size));
    return bytes.size() - rest.size() + size + 2;
}

void appendTextBytes(std::wstring_view text, std::string& bytes)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = unitAt(text, i);
        if (c < 0x80) {
            bytes += char(c);
            continue;
        }
        // A pair of 16-bit units is one character; a surrogate alone is kept as it is.
        if (sizeof(wchar_t) == 2 && isHighSurrogate(c) && i + 1 < text.size() &&
            isLowSurrogate(unitAt(text, i + 1))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(text, i + 1) - 0xDC00);
            ++i;
        }
        appendCodePoint(c, bytes);
    }
}

void TextFromRecoveryBytes::append(std::string_view piece, std::wstring& text)
{
    for (const char unit : piece) {
        const auto b = static_cast<unsigned char>(unit);
        if (missing_ > 0 && (b & 0xC0) == 0x80) {
            pending_ = (pending_ << 6) | (b & 0x3F);
            if (--missing_ == 0)
                appendUnits(pending_, text);
            continue;
        }
        if (missing_ > 0) {
            appendUnits(replacement, text);
            missing_ = 0;
        }
        if (b < 0x80) {
            text += wchar_t(b);
        } else if ((b & 0xE0) == 0xC0) {
            pending_ = b & 0x1F;
            missing_ = 1;
        } else if ((b & 0xF0) == 0xE0) {
            pending_ = b & 0x0F;
            missing_ = 2;
        } else if ((b & 0xF8) == 0xF0) {
            pending_ = b & 0x07;
            missing_ = 3;
        } else {
            appendUnits(replacement, text);
        }
    }
}

void TextFromRecoveryBytes::finish(std::wstring& text)
{
    if (missing_ > 0)
        appendUnits(replacement, text);
    missing_ = 0;
}
