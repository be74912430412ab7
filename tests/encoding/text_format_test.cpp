// The rules under opening and saving: which encoding and line ends a file's bytes are recognised
// as, the text they show, and the bytes a text is written back as.
#include "encoding/text_detect.h"
#include "encoding/text_reader.h"
#include "encoding/text_writer.h"
#include "tests/support/text_corpus.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string written(std::wstring_view text, TextFormat format, std::size_t room)
{
    std::string bytes;
    TextWriter writer(text, format);
    std::string piece(room, '\0');
    while (const std::size_t count = writer.write(piece.data(), room))
        bytes.append(piece, 0, count);
    return bytes;
}

// Detection over a file read in pieces: two, split where asked, then the second in single bytes.
DetectedFormat detectedInTwo(std::string_view bytes, std::size_t split)
{
    FormatDetector detector;
    detector.add(bytes.substr(0, split));
    detector.add(bytes.substr(split));
    return detector.finish();
}

DetectedFormat detectedByteByByte(std::string_view bytes)
{
    FormatDetector detector;
    for (const char byte : bytes)
        detector.add(std::string_view(&byte, 1));
    return detector.finish();
}

void expectSame(const DetectedFormat& pieces, const DetectedFormat& whole)
{
    EXPECT_EQ(pieces.format.encoding, whole.format.encoding);
    EXPECT_EQ(pieces.format.lineEnd, whole.format.lineEnd);
    EXPECT_EQ(pieces.lineEnds.crLf, whole.lineEnds.crLf);
    EXPECT_EQ(pieces.lineEnds.lf, whole.lineEnds.lf);
    EXPECT_EQ(pieces.lineEnds.cr, whole.lineEnds.cr);
}

TEST(TextCorpus, EachFileIsRecognisedShownAndWrittenBackByteForByte)
{
    for (const CorpusFile& file : textCorpus()) {
        SCOPED_TRACE(file.name);
        const DetectedFormat detected = detectFormat(file.bytes);
        EXPECT_EQ(detected.format.encoding, file.encoding);
        EXPECT_EQ(detected.format.lineEnd, file.lineEnd);
        EXPECT_FALSE(mixesLineEnds(detected.lineEnds));
        std::size_t zeros = 99;
        const std::wstring text = textFromBytes(file.bytes, detected.format, &zeros);
        EXPECT_EQ(text, file.text);
        EXPECT_EQ(zeros, 0u);
        // A file is read in pieces: a character or a line end split between two reads as whole.
        for (std::size_t split = 0; split <= file.bytes.size(); ++split) {
            SCOPED_TRACE(testing::Message() << "split at " << split);
            TextReader reader(detected.format);
            reader.append(std::string_view(file.bytes).substr(0, split));
            std::wstring first;
            reader.take(first);
            reader.append(std::string_view(file.bytes).substr(split));
            EXPECT_EQ(first + reader.finish(), file.text);
            expectSame(detectedInTwo(file.bytes, split), detected);
        }
        EXPECT_EQ(firstUnstorable(text, file.encoding), std::wstring::npos);
        EXPECT_EQ(bytesFromText(text, detected.format), file.bytes);
        EXPECT_EQ(written(text, detected.format, 16), file.bytes) << "in the smallest pieces";
    }
}

TEST(TextDetection, AMarkFirstThenUtf8WhenItExplainsMoreThen8Bit)
{
    struct Row {
        const char* name;
        std::string bytes;
        Encoding encoding;
    };
    const Row rows[] = {
        {"ASCII alone is UTF-8", "plain text\n", Encoding::utf8},
        {"no bytes at all are UTF-8", "", Encoding::utf8},
        {"a UTF-16 mark on an odd length is no mark",
         "\xFF\xFE"
         "a",
         Encoding::eightBit},
        {"one stray byte in ASCII: 8-bit", "caf\xE9\n", Encoding::eightBit},
        {"UTF-16 with a zero character first", std::string("\xFF\xFE\0\0", 4), Encoding::utf16Le},
        {"one sequence, one stray byte: 8-bit", "\xC3\xA9 \xE9", Encoding::eightBit},
        {"two sequences, one stray byte: UTF-8", "\xC3\xA9\xC3\xA9 \xE9", Encoding::utf8},
        {"accented 8-bit text", "d\xE9j\xE0 vu, na\xEFve", Encoding::eightBit},
        {"a UTF-8 mark wins over stray bytes", "\xEF\xBB\xBF\xFF\xFE", Encoding::utf8WithMark},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(detectFormat(row.bytes).format.encoding, row.encoding);
    }
}

TEST(TextDetection, Utf16WithoutAMarkOnlyWhereItsZeroBytesLeaveNoDoubt)
{
    using namespace std::string_literals; // the rows hold zero bytes
    std::string longLe;
    for (int i = 0; i < 3000; ++i)
        longLe += "x\0"s;
    const struct {
        const char* name;
        std::string bytes;
        Encoding encoding;
    } rows[] = {
        {"little-endian Latin-1 text", "h\0\xE9\0l\0l\0o\0\r\0\n\0"s, Encoding::utf16LeWithoutMark},
        {"big-endian Latin-1 text", "\0h\0\xE9\0l\0l\0o\0\n"s, Encoding::utf16BeWithoutMark},
        {"two units are enough", "o\0k\0"s, Encoding::utf16LeWithoutMark},
        {"one unit is not", "o\0"s, Encoding::utf8},
        {"an odd length is not UTF-16", "o\0k\0!"s, Encoding::utf8},
        {"a zero unit is no character", "a\0\0\0b\0"s, Encoding::utf8},
        {"a control character is no text", "a\0\x01\0b\0"s, Encoding::utf8},
        {"a character beyond Latin-1 leaves doubt",
         "a\0\xAC\x20"
         "b\0"s,
         Encoding::eightBit},
        {"zeros in no order", "a\0b\0\0c"s, Encoding::utf8},
        {"past the first 4 KiB anything goes", longLe + "\x01\x02"s, Encoding::utf16LeWithoutMark},
        {"within them nothing", longLe.substr(0, 4000) + "\x01\x02"s + longLe.substr(4002),
         Encoding::utf8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(detectFormat(row.bytes).format.encoding, row.encoding);
        EXPECT_EQ(detectedByteByByte(row.bytes).format.encoding, row.encoding);
    }
}

TEST(TextDetection, TheMoreFrequentLineEndWinsAndALoneCrCountsOnlyWithoutLf)
{
    struct Row {
        const char* name;
        std::string bytes;
        LineEnd lineEnd;
        bool mixed;
    };
    const Row rows[] = {
        {"no line end takes the system's", "one line", systemLineEnd(), false},
        {"more LF than CR LF", "a\r\nb\nc\n", LineEnd::lf, true},
        {"as many CR LF as LF", "a\r\nb\n", LineEnd::crLf, true},
        {"a lone CR among LF is a character", "a\rb\nc", LineEnd::lf, false},
        {"CR alone", "a\rb\r", LineEnd::cr, false},
        {"UTF-16 units", std::string("\xFF\xFE\r\0\n\0\n\0\n\0", 10), LineEnd::lf, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DetectedFormat detected = detectFormat(row.bytes);
        EXPECT_EQ(detected.format.lineEnd, row.lineEnd);
        EXPECT_EQ(mixesLineEnds(detected.lineEnds), row.mixed);
    }
    const LineEndCounts counts = detectFormat("a\r\nb\nc\rd\n").lineEnds;
    EXPECT_EQ(counts.crLf, 1u);
    EXPECT_EQ(counts.lf, 2u);
    EXPECT_EQ(counts.cr, 1u);
}

TEST(TextReader, MixedLineEndsAllShowAsLinesAndZerosAreLeftOut)
{
    struct Row {
        const char* name;
        std::string bytes;
        TextFormat format;
        std::wstring text;
        std::size_t zeros;
    };
    const Row rows[] = {
        {"CR LF and LF", "a\r\nb\nc", {Encoding::eightBit, LineEnd::lf}, L"a\r\nb\r\nc", 0},
        {"LF alone", "\na\n\nb\n", {Encoding::eightBit, LineEnd::lf}, L"\r\na\r\n\r\nb\r\n", 0},
        {"CR LF alone", "\r\na\r\n", {Encoding::eightBit, LineEnd::crLf}, L"\r\na\r\n", 0},
        {"as many CR as LF, not in pairs",
         "\na\r\nb\rc",
         {Encoding::eightBit, LineEnd::lf},
         L"\r\na\r\nb\rc",
         0},
        {"as many CR as LF, not in pairs, CR lines",
         "\na\r\nb\rc",
         {Encoding::eightBit, LineEnd::cr},
         L"\r\na\r\nb\r\nc",
         0},
        {"a CR at the very end, CR lines", "a\r", {Encoding::eightBit, LineEnd::cr}, L"a\r\n", 0},
        {"a CR at the very end, LF lines", "a\r", {Encoding::eightBit, LineEnd::lf}, L"a\r", 0},
        {"zero bytes",
         std::string("a\0b\0\nc", 6),
         {Encoding::eightBit, LineEnd::lf},
         L"ab\r\nc",
         2},
        {"zero characters of UTF-16",
         std::string("\xFF\xFE\0\0x\0", 6),
         {Encoding::utf16Le, LineEnd::crLf},
         L"x",
         1},
        {"a sequence cut by the end",
         "\xC3\xA9\xE2\x82",
         {Encoding::utf8, LineEnd::crLf},
         L"\u00E9" + stray(0xE2) + stray(0x82),
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::size_t zeros = 99;
        EXPECT_EQ(textFromBytes(row.bytes, row.format, &zeros), row.text);
        EXPECT_EQ(zeros, row.zeros);
    }
}

TEST(TextReader, CharactersAcrossItsOwnChunksReadAsWhole)
{
    // The reader converts 64 KiB at a time: a sequence, a surrogate pair and a CR LF on each
    // side of that boundary.
    const std::size_t chunk = 64 * 1024;
    for (std::size_t before = chunk - 4; before <= chunk + 1; ++before) {
        SCOPED_TRACE(before);
        const std::string utf8 = std::string(before, 'a') + "\xF0\x9F\x98\x80\r\n\xE2\x82\xAC";
        EXPECT_EQ(textFromBytes(utf8, {Encoding::utf8, LineEnd::crLf}),
                  std::wstring(before, L'a') + L"\U0001F600\r\n\u20AC");
        std::string utf16 = "\xFF\xFE";
        for (std::size_t unit = 0; unit < before / 2; ++unit)
            utf16 += std::string("a\0", 2);
        utf16 += std::string("\x3D\xD8\x00\xDE\r\0\n\0", 8);
        const TextFormat format{Encoding::utf16Le, LineEnd::crLf};
        const std::wstring text = textFromBytes(utf16, format);
        EXPECT_EQ(text, std::wstring(before / 2, L'a') + L"\U0001F600\r\n");
        EXPECT_EQ(bytesFromText(text, format), utf16);
    }
}

TEST(FormatDetector, AFileReadInPiecesIsRecognisedAsWhereverItIsSplit)
{
    using namespace std::string_literals; // the rows hold zero bytes
    const std::string rows[] = {
        "a\r\nb\nc\rd\n\r",
        "\xFF\xFE"
        "a\0\r\0\n\0\r\0b\0\n\0"s,
        "\xFE\xFF"
        "\0a\0\r\0\n\0\n"s,
        "\xFF\xFE"
        "a\0\r\0\n"s,
        "\xEF\xBB\xBF\xC3\xA9\r\n\xE2\x82\xAC\n",
        "caf\xE9 \xF0\x9F\x98\x80 \xE2\x82\r\n\xC3",
        "\xF0\xF0\xE2\xF0\x9F\x98\xF0\x9F\x98\x80\xC3",
        "a\0\r\0\n\0\xE9\0\n\0"s,
        "\0a\0\r\0\n\0\n\0b"s,
    };
    for (const std::string& bytes : rows) {
        const DetectedFormat whole = detectFormat(bytes);
        expectSame(detectedByteByByte(bytes), whole);
        for (std::size_t split = 0; split <= bytes.size(); ++split) {
            SCOPED_TRACE(testing::Message() << "row " << &bytes - rows << ", split at " << split);
            expectSame(detectedInTwo(bytes, split), whole);
        }
    }
}

TEST(TextReader, AMixedFilesLineEndsAreNotedAndWrittenBackAsTheyWere)
{
    using namespace std::string_literals; // the rows hold zero bytes
    std::string longMixed;
    for (int line = 0; line < 30000; ++line)
        longMixed += line % 3 ? "line\n" : "line\r\n";
    const std::pair<std::string, Encoding> rows[] = {
        {"a\r\nb\nc\n", Encoding::utf8},
        {"\r\n\n\r\n\r\n\n\n", Encoding::utf8},
        {"a\rb\r\nc\r\r\nd\ne", Encoding::eightBit},
        {longMixed, Encoding::utf8},
        {"\xFF\xFE"
         "a\0\r\0\n\0b\0\n\0"s,
         Encoding::utf16Le},
    };
    for (const auto& [bytes, encoding] : rows) {
        for (const std::size_t piece : {std::size_t(1), std::size_t(7), bytes.size()}) {
            SCOPED_TRACE(testing::Message() << bytes.substr(0, 20) << " in pieces of " << piece);
            const TextFormat read{encoding, LineEnd::crLf};
            TextReader reader(read);
            LineEndForms forms;
            reader.recordLineEnds(&forms.lf);
            std::wstring text;
            for (std::size_t at = 0; at < bytes.size(); at += piece) {
                std::wstring part;
                reader.append(std::string_view(bytes).substr(at, piece));
                reader.take(part);
                text += part;
            }
            text += reader.finish();
            const TextFormat kept{encoding, LineEnd::asInFile};
            EXPECT_TRUE(bytesFromText(text, kept, &forms) == bytes);
            LineEndPlace place{&forms};
            TextWriter writer(text, kept, true, &place);
            std::string saved;
            char room[16];
            while (const std::size_t count = writer.write(room, sizeof room))
                saved.append(room, count);
            EXPECT_TRUE(saved == bytes) << "written in the smallest pieces";
            EXPECT_EQ(bytesFromText(text, kept), bytesFromText(text, read))
                << "without the forms each CR LF stays";
        }
    }
}

TEST(TextWriter, WritesEachCrLfInTheFormAndOtherCrAndLfAsThemselves)
{
    const std::wstring text = L"a\r\nb\rc\nd\r\n";
    EXPECT_EQ(bytesFromText(text, {Encoding::eightBit, LineEnd::crLf}), "a\r\nb\rc\nd\r\n");
    EXPECT_EQ(bytesFromText(text, {Encoding::eightBit, LineEnd::lf}), "a\nb\rc\nd\n");
    EXPECT_EQ(bytesFromText(text, {Encoding::eightBit, LineEnd::cr}), "a\rb\rc\nd\r");
    EXPECT_EQ(bytesFromText(L"\u00E9" + stray(0xE9), {Encoding::eightBit, LineEnd::crLf}),
              "\xE9\xE9");
    EXPECT_EQ(bytesFromText(L"\u00E9" + stray(0xE9), {Encoding::utf8WithMark, LineEnd::crLf}),
              "\xEF\xBB\xBF\xC3\xA9\xE9");
    EXPECT_EQ(bytesFromText(L"\u00E9\r\n", {Encoding::utf16Be, LineEnd::lf}),
              std::string("\xFE\xFF\0\xE9\0\n", 6));
}

TEST(TextWriter, FindsTheFirstCharacterAnEncodingCannotStore)
{
    const std::wstring high(1, wchar_t(0xD800));
    const std::wstring lowOutsideStrays(1, wchar_t(0xDC7F));
    struct Row {
        const char* name;
        std::wstring text;
        Encoding encoding;
        std::size_t offset;
    };
    const std::size_t none = std::wstring::npos;
    const Row rows[] = {
        {"1252 holds the euro and its five unassigned bytes",
         L"\u20AC\u0081\u008D\u008F\u0090\u009D\u00FF", Encoding::eightBit, none},
        {"1252 lacks U+0080, which its 0x80 does not mean", L"ab\u0080", Encoding::eightBit, 2},
        {"1252 lacks a CJK character", L"x\u65E5", Encoding::eightBit, 1},
        {"1252 lacks characters outside the plane", L"x\U0001F600", Encoding::eightBit, 1},
        {"a stray byte goes back as itself", stray(0x80) + L"x", Encoding::eightBit, none},
        {"UTF-8 holds everything whole", L"\u65E5\U0001F600" + stray(0xFF), Encoding::utf8, none},
        {"UTF-8 cannot hold half a pair", L"ab" + high + L"c", Encoding::utf8WithMark, 2},
        {"UTF-8 cannot hold a low surrogate below the strays", lowOutsideStrays, Encoding::utf8, 0},
        {"UTF-16 holds half a pair", high + lowOutsideStrays, Encoding::utf16Le, none},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(firstUnstorable(row.text, row.encoding), row.offset);
    }
    // The search goes by quarter chunks: the first such character, wherever they fall.
    for (const std::size_t at : {0u, 63u, 64u, 65u, 16383u, 16384u, 40000u}) {
        SCOPED_TRACE(at);
        std::wstring wide(50000, L'\u00E9');
        wide[at] = L'\u0100';
        wide.back() = wchar_t(0xD800);
        EXPECT_EQ(firstUnstorable(wide, Encoding::eightBit), at);
        wide[at] = wchar_t(0xDBFF);
        EXPECT_EQ(firstUnstorable(wide, Encoding::utf8), at);
    }
}

TEST(TextWriter, PlacesCountLinesAndWholeCharacters)
{
    const std::wstring text = L"ab\r\n\U0001F600x\u0100\ny";
    const std::size_t at = text.find(L'\u0100');
    EXPECT_EQ(placeOf(text, at).line, 2u);
    EXPECT_EQ(placeOf(text, at).column, 3u) << "a pair is one character";
    EXPECT_EQ(placeOf(text, text.size() - 1).line, 3u);
    EXPECT_EQ(codePointAt(std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}, 0), char32_t(0x1F600));
}

} // namespace
