// The edit control's text store: the text and its line index after setting and editing, lone CR
// and LF as ordinary characters, reads clamped to the text, and characters beyond one byte.
#include "platform/text/text_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::TextStore;

namespace {

std::vector<std::size_t> lineStarts(const TextStore& store)
{
    std::vector<std::size_t> starts;
    for (std::size_t line = 0; line < store.lineCount(); ++line)
        starts.push_back(store.lineStart(line));
    return starts;
}

std::vector<std::size_t> startsOf(const std::wstring& text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'\r' && text[i + 1] == L'\n')
            starts.push_back(i + 2);
    return starts;
}

// Every line's length and every position's line must agree with the starts.
void expectConsistentLines(const TextStore& store)
{
    for (std::size_t line = 0; line < store.lineCount(); ++line) {
        SCOPED_TRACE(line);
        const std::size_t end =
            line + 1 < store.lineCount() ? store.lineStart(line + 1) - 2 : store.size();
        EXPECT_EQ(store.lineLength(line), end - store.lineStart(line));
        for (std::size_t position = store.lineStart(line);
             position <= end + (line + 1 < store.lineCount()); ++position)
            EXPECT_EQ(store.lineOf(position), line) << "position " << position;
    }
}

} // namespace

TEST(TextStoreTest, OnlyCrLfBreaksLines)
{
    const struct {
        const char* name;
        std::wstring text;
        std::vector<std::size_t> starts;
        std::size_t longest;
    } cases[] = {
        {"empty", L"", {0}, 0},
        {"one line", L"abc", {0}, 3},
        {"CR LF lines", L"ab\r\ncde\r\nf", {0, 4, 9}, 3},
        {"ends with CR LF", L"ab\r\n", {0, 4}, 2},
        {"empty lines", L"\r\n\r\n", {0, 2, 4}, 0},
        {"lone CR and LF are characters", L"a\rb\nc", {0}, 5},
        {"LF CR is no break", L"a\n\rb", {0}, 4},
        {"CR before the pair", L"a\r\r\nb", {0, 4}, 2},
        {"LF after the pair", L"a\r\n\nb", {0, 3}, 2},
        {"Latin-1", L"caf\u00e9\r\n\u00ff", {0, 6}, 4},
        {"wide", L"\u20ac\r\n\U0001F600x", {0, 3}, 2},
        // The text is narrowed in blocks of 16384 characters.
        {"pair across a block boundary", std::wstring(16383, L'a') + L"\r\nb", {0, 16385}, 16383},
        {"wide after a pair in the first block",
         std::wstring(16382, L'a') + L"\r\n\u20ac",
         {0, 16384},
         16382},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TextStore store;
        store.assign(row.text);
        EXPECT_EQ(store.text(0, store.size()), row.text);
        EXPECT_EQ(lineStarts(store), row.starts);
        EXPECT_EQ(store.longestLine(), row.longest);
        expectConsistentLines(store);
    }
}

TEST(TextStoreTest, EditsKeepTheLineIndexWhereTheyMakeSplitOrJoinPairs)
{
    const struct {
        const char* name;
        std::wstring text;
        std::size_t position, count;
        std::wstring inserted;
        std::wstring expected;
        std::vector<std::size_t> starts;
    } cases[] = {
        {"LF after a lone CR makes a pair", L"ab\rcd", 3, 0, L"\n", L"ab\r\ncd", {0, 4}},
        {"CR before a lone LF makes a pair", L"ab\ncd", 2, 0, L"\r", L"ab\r\ncd", {0, 4}},
        {"inserting between CR and LF splits", L"ab\r\ncd", 3, 0, L"x", L"ab\rx\ncd", {0}},
        {"a pair inserted between CR and LF", L"a\r\nb", 2, 0, L"\r\n", L"a\r\r\n\nb", {0, 4}},
        {"removing between CR and LF joins", L"ab\rx\ncd", 3, 1, L"", L"ab\r\ncd", {0, 4}},
        {"removing the CR", L"ab\r\ncd", 2, 1, L"", L"ab\ncd", {0}},
        {"removing the LF", L"ab\r\ncd", 3, 1, L"", L"ab\rcd", {0}},
        {"removing a whole pair", L"a\r\nb\r\nc", 1, 2, L"", L"ab\r\nc", {0, 4}},
        {"replacing across lines", L"a\r\nb\r\nc\r\nd", 2, 5, L"\n\r", L"a\r\n\r\r\nd", {0, 3, 6}},
        {"inserting lines shifts the rest",
         L"a\r\nb",
         0,
         0,
         L"x\r\ny\r\n",
         L"x\r\ny\r\na\r\nb",
         {0, 3, 6, 9}},
        {"appending at the end", L"a\r", 2, 0, L"\nb", L"a\r\nb", {0, 3}},
        {"clearing everything", L"a\r\nb", 0, 99, L"", L"", {0}},
        {"position beyond the end appends", L"ab", 7, 3, L"\r\n", L"ab\r\n", {0, 4}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TextStore store;
        store.assign(row.text);
        store.replace(row.position, row.count, row.inserted);
        EXPECT_EQ(store.text(0, store.size()), row.expected);
        EXPECT_EQ(lineStarts(store), row.starts);
        expectConsistentLines(store);
    }
}

// The Enter key typed one character at a time, into a text that already holds typed pieces.
TEST(TextStoreTest, TypingCharacterByCharacterBuildsLines)
{
    TextStore store;
    store.assign(L"start");
    const std::wstring typed = L"ab\r\n\r\rc\n\r\nd";
    std::wstring expected = L"start";
    for (wchar_t c : typed) {
        store.replace(store.size(), 0, std::wstring(1, c));
        expected += c;
        ASSERT_EQ(store.text(0, store.size()), expected);
    }
    EXPECT_EQ(lineStarts(store), (std::vector<std::size_t>{0, 9, 15}));
    store.replace(5, 0, L"\r\n");
    EXPECT_EQ(lineStarts(store), (std::vector<std::size_t>{0, 7, 11, 17}));
    EXPECT_EQ(store.longestLine(), 5u);
    expectConsistentLines(store);
}

TEST(TextStoreTest, ReadsClampToTheText)
{
    TextStore store;
    store.assign(L"ab\r\ncd");
    const struct {
        std::size_t position, count;
        std::wstring expected;
    } cases[] = {
        {0, 6, L"ab\r\ncd"}, {2, 3, L"\r\nc"}, {4, 99, L"cd"},
        {6, 5, L""},         {9, 1, L""},      {1, 0, L""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(::testing::Message() << row.position << "+" << row.count);
        std::wstring buffer(8, L'#');
        const std::size_t copied = store.copy(row.position, row.count, buffer.data());
        ASSERT_EQ(copied, row.expected.size());
        EXPECT_EQ(buffer.substr(0, copied), row.expected);
        EXPECT_EQ(buffer.substr(copied), std::wstring(8 - copied, L'#')) << "wrote past the end";
        EXPECT_EQ(store.text(row.position, row.count), row.expected);
    }
    EXPECT_EQ(store.at(6), L'\0');
    EXPECT_EQ(store.lineOf(99), 1u);
    EXPECT_EQ(store.lineStart(2), 6u);
    EXPECT_EQ(store.lineLength(2), 0u);
}

TEST(TextStoreTest, CharactersBeyondOneByteSurviveSetAndTyped)
{
    const std::wstring latin1 = L"\u00e9\u0080\u00ff";
    const struct {
        const char* name;
        std::wstring text;
        std::wstring typed;
    } cases[] = {
        {"Latin-1 read back unsigned", latin1, L""},
        {"one wide character makes the whole text wide", latin1 + L"\u0100", L""},
        {"wide character far from the start", std::wstring(40000, L'a') + L"\u20ac", L""},
        {"wide characters typed into a narrow text", latin1, L"\u20ac\U0001F600"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        TextStore store;
        store.assign(row.text);
        store.replace(1, 0, row.typed);
        const std::wstring expected = row.text.substr(0, 1) + row.typed + row.text.substr(1);
        EXPECT_EQ(store.text(0, store.size()), expected);
        for (std::size_t i = 0; i < expected.size(); i += 997)
            EXPECT_EQ(store.at(i), expected[i]) << "at " << i;
        EXPECT_EQ(store.at(expected.size() - 1), expected.back());
    }
}

// A stretch is what undo keeps; it must read back the same after the text around it changed and
// after assign dropped the buffers of an earlier text.
TEST(TextStoreTest, StretchPutsBackWhatWasRemoved)
{
    TextStore store;
    store.assign(L"one\r\ntwo");
    store.replace(3, 0, L"X\r");
    const TextStore::Stretch removed = store.stretch(2, 5); // "eX\r\r\n"
    EXPECT_EQ(TextStore::lengthOf(removed), 5u);
    store.replace(2, 5, L"");
    store.replace(0, 0, L"zz");
    EXPECT_EQ(store.text(0, store.size()), L"zzontwo");
    store.replace(4, 0, removed);
    EXPECT_EQ(store.text(0, store.size()), L"zzoneX\r\r\ntwo");
    EXPECT_EQ(lineStarts(store), (std::vector<std::size_t>{0, 9}));
    EXPECT_EQ(TextStore::lengthOf(store.stretch(8, 50)), 4u);

    store.assign(L"new");
    store.replace(3, 0, store.stretch(0, 3));
    EXPECT_EQ(store.text(0, store.size()), L"newnew");
}

// A file arrives in parts of megabytes: large insertions join the text as set, and one that needs
// more than a byte a character widens what is already there without changing it. The parts share
// buffers: one part or two to a buffer here, and a wide part first tries the narrow buffer and
// leaves what it wrote there as room for the next part.
TEST(TextStoreTest, LargeInsertionsInPartsGiveTheTextJoinedWhateverTheirCharacters)
{
    std::wstring line = L"a line of text\r";
    std::wstring part;
    while (part.size() < 70000)
        part += line + L"\n";
    std::wstring wide = part + L"\u20ac\r";
    std::wstring other = part;
    other[part.size() / 2] = L'#';
    for (std::size_t slab : {TextStore::defaultSlab, std::size_t(100000), std::size_t(150000)}) {
        SCOPED_TRACE(slab);
        TextStore store(platform::LineIndex::defaultBlockLines, slab);
        store.assign(L"start\r");
        std::wstring expected = L"start\r";
        for (const std::wstring* piece : {&part, &wide, &other, &wide, &part}) {
            store.replace(store.size(), 0, *piece);
            expected += *piece;
            store.replace(0, 1, L"S"); // typing between the parts
            expected[0] = L'S';
            ASSERT_EQ(store.text(0, store.size()), expected);
        }
        EXPECT_EQ(store.lineCount(), 5 * (part.size() / (line.size() + 1)) + 1);
        expectConsistentLines(store);
        store.replace(3, store.size() - 6, L"");
        EXPECT_EQ(store.text(0, store.size()), L"Stat\r\n");
    }
}

// The longest line is kept across key presses without measuring every line; these edits are the
// ones where keeping it is easy to get wrong.
TEST(TextStoreTest, TheLongestLineFollowsTypingIntoShrinkingAndSplittingOfLines)
{
    const struct {
        const char* name;
        std::size_t position;
        std::size_t count;
        std::wstring text;
        std::size_t longest;
    } edits[] = {
        {"typing into a short line makes it the longest", 1, 0, L"xxxxx", 7},
        {"Backspace in the longest line", 3, 1, L"", 6},
        {"Backspace in a shorter line", 9, 1, L"", 6},
        {"a line break splits the longest", 4, 0, L"\r\n", 4},
        {"deleting the break joins them again", 4, 2, L"", 6},
        {"splitting a CR LF pair joins two lines", 12, 0, L"y", 9},
    };
    TextStore store;
    store.assign(L"ab\r\nabcd\r\nabc"); // lines of 2, 4 and 3
    ASSERT_EQ(store.longestLine(), 4u);
    for (const auto& row : edits) {
        SCOPED_TRACE(row.name);
        store.replace(row.position, row.count, row.text);
        EXPECT_EQ(store.longestLine(), row.longest);
    }
}

// The line index keeps its starts in blocks; with three lines a block, these edits split blocks,
// empty them, join them and move the ones after, each checked against the text itself.
TEST(TextStoreTest, EditsAcrossIndexBlocksKeepEveryLineStart)
{
    std::wstring text;
    for (int line = 0; line < 20; ++line)
        text += std::wstring(std::size_t(line % 7), L'a' + wchar_t(line % 26)) + L"\r\n";
    const struct {
        const char* name;
        std::size_t position, count;
        std::wstring inserted;
    } edits[] = {
        {"a character in the first block", 1, 0, L"x"},
        {"ten lines into the second block", 12, 0,
         L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n0\r\n"},
        {"a join at a block's first line", 9, 2, L""},
        {"removing whole blocks", 5, 40, L""},
        {"replacing across blocks by one line", 3, 30, L"joined"},
        {"splitting the pair at a block edge", 20, 0, L"y"},
        {"lines at the very start", 0, 0, L"\r\n\r\n\r\n\r\n"},
        {"lines at the very end", 9999, 0, L"end\r\nmore\r\n"},
        {"everything but the last line", 0, 9999, L""},
    };
    TextStore store(3);
    store.assign(text);
    for (const auto& row : edits) {
        SCOPED_TRACE(row.name);
        const std::size_t position = std::min(row.position, text.size());
        const std::size_t count = std::min(row.count, text.size() - position);
        store.replace(position, count, row.inserted);
        text.replace(position, count, row.inserted);
        ASSERT_EQ(store.text(0, store.size()), text);
        EXPECT_EQ(lineStarts(store), startsOf(text));
        std::size_t longest = 0;
        const std::vector<std::size_t> starts = startsOf(text);
        for (std::size_t line = 0; line < starts.size(); ++line)
            longest =
                std::max(longest, (line + 1 < starts.size() ? starts[line + 1] - 2 : text.size()) -
                                      starts[line]);
        EXPECT_EQ(store.longestLine(), longest);
        expectConsistentLines(store);
    }
}
