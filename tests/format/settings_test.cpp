// The text of "settings.ini": the tolerant reader on a table of files and the writer's exact bytes.
#include "format/settings_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

const FontChoice startUp = {14, 0, false, L"Courier New"};

FontChoice read(const std::string& bytes)
{
    FontChoice choice = startUp;
    readSettingsText(bytes, choice);
    return choice;
}

struct ReadCase {
    const char* what;
    std::string bytes;
    FontChoice expected;
};

void expectReads(const std::vector<ReadCase>& cases)
{
    for (const ReadCase& row : cases) {
        SCOPED_TRACE(row.what);
        const FontChoice choice = read(row.bytes);
        EXPECT_EQ(choice.size, row.expected.size);
        EXPECT_EQ(choice.weight, row.expected.weight);
        EXPECT_EQ(choice.italic, row.expected.italic);
        EXPECT_EQ(choice.family, row.expected.family);
    }
}

TEST(SettingsText, ReadsWholeFilesWhateverTheirLayout)
{
    expectReads({
        {"empty file", "", startUp},
        {"header only", "[Quenwrite settings]", startUp},
        {"blank lines and comments", "\n\r\n; fontsize\n# note\n", startUp},
        {"as written, CR LF",
         "[Quenwrite settings]\r\nfontSize=20\r\nfontWeight=800\r\nfontItalic=1\r\n"
         "fontFamily=Times New Roman",
         {20, 800, true, L"Times New Roman"}},
        {"LF only, last line ended",
         "[Quenwrite settings]\nfontSize=20\nfontWeight=800\nfontItalic=1\n"
         "fontFamily=Times New Roman\n",
         {20, 800, true, L"Times New Roman"}},
        {"no header, keys in any order",
         "fontFamily=Arial\nfontItalic=1\nfontSize=12\nfontWeight=400",
         {12, 400, true, L"Arial"}},
        {"other header", "[something else]\r\nfontSize=16", {16, 0, false, L"Courier New"}},
        {"last one wins", "fontSize=12\nfontSize=16", {16, 0, false, L"Courier New"}},
        {"unreadable later value keeps the earlier",
         "fontSize=12\nfontSize=x",
         {12, 0, false, L"Courier New"}},
        {"one line, two keys", "fontSize fontWeight=30", {30, 30, false, L"Courier New"}},
        {"Ctrl+Z ends the file", "fontSize=20\x1A\r\nfontSize=30", {20, 0, false, L"Courier New"}},
        {"trailing garbage after the keys",
         "fontSize=20\r\n\x01\x02garbage=\xFF",
         {20, 0, false, L"Courier New"}},
    });
}

TEST(SettingsText, ReadsSizesAndWeightsByTheDecimalRule)
{
    const auto size = [](int value) { return FontChoice{value, 0, false, L"Courier New"}; };
    expectReads({
        {"plain", "fontSize=20", size(20)},
        {"spaces around =", "fontSize = 20", size(20)},
        {"tab before the digits", "fontSize=\t20", size(20)},
        {"unit after the digits", "fontSize=20pt", size(20)},
        {"plus sign", "fontSize=+20", size(20)},
        {"negative", "fontSize=-5", size(-5)},
        {"zero", "fontSize=0", size(0)},
        {"leading zeros", "fontSize=000000000000000000000000020", size(20)},
        {"inside a longer word", "xfontSizey=12", size(12)},
        {"capital F is no key", "FontSize=12", startUp},
        {"largest", "fontSize=2147483647", size(INT_MAX)},
        {"smallest", "fontSize=-2147483648", size(INT_MIN)},
        {"one above the range", "fontSize=2147483648", startUp},
        {"one below the range", "fontSize=-2147483649", startUp},
        {"huge", "fontSize=99999999999999999999999999999999", startUp},
        {"empty value", "fontSize=", startUp},
        {"word", "fontSize=big", startUp},
        {"sign only", "fontSize=-", startUp},
        {"no equals sign", "fontSize", startUp},
        {"weight", "fontWeight=800", {14, 800, false, L"Courier New"}},
        {"huge weight", "fontWeight=1e999999999999", {14, 1, false, L"Courier New"}},
        {"weight out of range", "fontWeight=-99999999999", startUp},
    });
}

TEST(SettingsText, ReadsItalicOnlyFromASingleOne)
{
    const FontChoice italic = {14, 0, true, L"Courier New"};
    expectReads({
        {"1", "fontItalic=1", italic},
        {"1 then CR LF", "fontItalic=1\r\n", italic},
        {"0", "fontItalic=0", startUp},
        {"true", "fontItalic=true", startUp},
        {"space before", "fontItalic= 1", startUp},
        {"space after", "fontItalic=1 ", startUp},
        {"01", "fontItalic=01", startUp},
        {"empty", "fontItalic=", startUp},
        {"no equals sign", "fontItalic", startUp},
        {"later 0 wins", "fontItalic=1\nfontItalic=0", startUp},
    });
}

TEST(SettingsText, ReadsTheFamilyCharacterForCharacter)
{
    const auto family = [](const std::wstring& name) { return FontChoice{14, 0, false, name}; };
    expectReads({
        {"plain", "fontFamily=Arial", family(L"Arial")},
        {"space after =", "fontFamily= Arial", family(L" Arial")},
        {"trailing spaces", "fontFamily=Arial  ", family(L"Arial  ")},
        {"second =", "fontFamily=A=B", family(L"A=B")},
        {"empty", "fontFamily=", family(L"")},
        {"no equals sign", "fontFamily", family(L"fontFamily")},
        {"lower case", "fontFamily=arial", family(L"arial")},
        {"NUL ends the name", "fontFamily=Ar\0ial"s, family(L"Ar")},
        {"lone CR stays", "fontFamily=A\rB\r\n", family(L"A\rB")},
        {"bytes above 127", "fontFamily=Caf\xE9\xFF", family(L"Caf\u00E9\u00FF")},
    });
}

TEST(SettingsText, WritesTheExactFiveLines)
{
    const std::string courier = "[Quenwrite settings]\r\nfontSize=14\r\nfontWeight=0\r\n"
                                "fontItalic=0\r\nfontFamily=Courier New";
    EXPECT_EQ(courier.size(), 85u);
    EXPECT_EQ(settingsText(14, 0, false, L"Courier New"), courier);
    EXPECT_EQ(settingsText(12, 800, true, L"Arial"),
              "[Quenwrite settings]\r\nfontSize=12\r\nfontWeight=800\r\nfontItalic=1\r\n"
              "fontFamily=Arial");
    EXPECT_EQ(settingsText(-5, INT_MIN, false, L""),
              "[Quenwrite settings]\r\nfontSize=-5\r\nfontWeight=-2147483648\r\nfontItalic=0\r\n"
              "fontFamily=");
}

TEST(SettingsText, WritesOneBytePerCharacter)
{
    const std::string prefix =
        "[Quenwrite settings]\r\nfontSize=14\r\nfontWeight=0\r\nfontItalic=0\r\nfontFamily=";
    EXPECT_EQ(settingsText(14, 0, false, L" Caf\u00E9 "), prefix + " Caf\xE9 ");
    EXPECT_EQ(settingsText(14, 0, false, L"A\u0416B"), prefix + "A?B");
}

TEST(SettingsText, WhatIsWrittenReadsBackTheSame)
{
    const std::vector<FontChoice> choices = {
        {14, 0, false, L"Courier New"},
        {36, 800, true, L"Times New Roman"},
        {-10, 400, false, L" arial "},
        {INT_MAX, INT_MIN, true, L"A=B"},
        {0, 0, false, L""},
        {10, 800, false, L"fontSize=99"},
    };
    for (const FontChoice& choice : choices) {
        SCOPED_TRACE(testing::Message() << choice.size << " " << choice.weight);
        const FontChoice back =
            read(settingsText(choice.size, choice.weight, choice.italic, choice.family.c_str()));
        EXPECT_EQ(back.size, choice.size);
        EXPECT_EQ(back.weight, choice.weight);
        EXPECT_EQ(back.italic, choice.italic);
        EXPECT_EQ(back.family, choice.family);
    }
}

} // namespace
