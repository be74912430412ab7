// The layer's MultiByteToWideChar and WideCharToMultiByte answer as Windows does: its 1252 table
// with the five unassigned bytes as themselves, its replacement of invalid UTF-8 and of half a
// surrogate pair, and its refusals.
#include "platform/win32.h"
#include "tests/support/text_corpus.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT westernEuropean = 1252;

struct Wide {
    std::wstring text;
    DWORD error = ERROR_SUCCESS;
};

Wide toWide(UINT codePage, const std::string& bytes, DWORD flags = 0)
{
    SetLastError(ERROR_SUCCESS);
    const int size =
        MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    Wide wide{std::wstring(std::size_t(size), L'\0'), GetLastError()};
    if (size > 0)
        MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), wide.text.data(),
                            size);
    return wide;
}

struct Narrow {
    std::string bytes;
    BOOL usedDefault = FALSE;
    DWORD error = ERROR_SUCCESS;
};

Narrow toBytes(UINT codePage, const std::wstring& text, DWORD flags = 0,
               const char* defaultChar = nullptr)
{
    Narrow narrow;
    SetLastError(ERROR_SUCCESS);
    BOOL* used = codePage == CP_UTF8 ? nullptr : &narrow.usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0,
                                         defaultChar, used);
    narrow.error = GetLastError();
    narrow.bytes.resize(std::size_t(size));
    if (size > 0)
        WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), narrow.bytes.data(),
                            size, defaultChar, used);
    return narrow;
}

TEST(CodePages, Code1252ReadsEveryByteAndWritesItBackExactly)
{
    for (int byte = 1; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const wchar_t expected =
            byte >= 0x80 && byte < 0xA0 ? upper1252[std::size_t(byte - 0x80)] : wchar_t(byte);
        const Wide wide = toWide(westernEuropean, std::string(1, char(byte)));
        EXPECT_EQ(wide.text, std::wstring(1, expected));
        const Narrow back = toBytes(westernEuropean, wide.text, WC_NO_BEST_FIT_CHARS);
        EXPECT_EQ(back.bytes, std::string(1, char(byte)));
        EXPECT_FALSE(back.usedDefault);
    }
}

TEST(CodePages, Code1252PutsTheDefaultCharacterForWhatItLacksAndSaysSo)
{
    struct Row {
        const char* name;
        std::wstring text;
        const char* defaultChar;
        std::string bytes;
        BOOL usedDefault;
    };
    const Row rows[] = {
        {"all there", L"\u20AC\u00E9x", nullptr, "\x80\xE9x", FALSE},
        {"U+0080 is not its byte 0x80", L"a\u0080", nullptr, "a?", TRUE},
        {"a character it lacks", L"a\u0100b", nullptr, "a?b", TRUE},
        {"the caller's default", L"\u65E5", "*", "*", TRUE},
        {"a surrogate pair is one character", std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)},
         nullptr, "?", TRUE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Narrow narrow =
            toBytes(westernEuropean, row.text, WC_NO_BEST_FIT_CHARS, row.defaultChar);
        EXPECT_EQ(narrow.bytes, row.bytes);
        EXPECT_EQ(narrow.usedDefault, row.usedDefault);
    }
}

TEST(CodePages, Utf8ReplacesEachBrokenPartOnceOrFailsWithTheFlag)
{
    const std::wstring bad(1, wchar_t(0xFFFD));
    struct Row {
        const char* name;
        std::string bytes;
        std::wstring text;
    };
    const Row rows[] = {
        {"a stray continuation byte", "a\x80z", L"a" + bad + L"z"},
        {"a sequence cut short", "\xE2\x82z", bad + L"z"},
        {"an overlong form", "\xC0\xAF", bad + bad},
        {"an encoded surrogate", "\xED\xA0\x80", bad + bad + bad},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", bad + bad + bad + bad},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toWide(CP_UTF8, row.bytes).text, row.text);
        const Wide strict = toWide(CP_UTF8, row.bytes, MB_ERR_INVALID_CHARS);
        EXPECT_TRUE(strict.text.empty());
        EXPECT_EQ(strict.error, ERROR_NO_UNICODE_TRANSLATION);
    }
    // The mark is a character like any other; outside the plane is one wide character here.
    EXPECT_EQ(toWide(CP_UTF8, "\xEF\xBB\xBF\xF0\x9F\x98\x80", MB_ERR_INVALID_CHARS).text,
              L"\uFEFF\U0001F600");
}

TEST(CodePages, Utf8FromWideJoinsPairsAndReplacesHalves)
{
    EXPECT_EQ(toBytes(CP_UTF8, L"\u00E9\u20AC\U0001F600").bytes,
              "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    // Two units of a pair, as Windows' 16-bit text holds them, are one character too.
    EXPECT_EQ(toBytes(CP_UTF8, std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}).bytes,
              "\xF0\x9F\x98\x80");
    const std::wstring half = L"a" + std::wstring(1, wchar_t(0xD800));
    EXPECT_EQ(toBytes(CP_UTF8, half).bytes, "a\xEF\xBF\xBD");
    const Narrow strict = toBytes(CP_UTF8, half, WC_ERR_INVALID_CHARS);
    EXPECT_TRUE(strict.bytes.empty());
    EXPECT_EQ(strict.error, ERROR_NO_UNICODE_TRANSLATION);
}

TEST(CodePages, TheRefusalsAreWindowsOwn)
{
    wchar_t wide[4];
    char bytes[4];
    BOOL used = FALSE;
    struct Outcome {
        int result;
        DWORD error;
    };
    struct Row {
        const char* name;
        Outcome outcome;
        DWORD error;
    };
    const auto call = [](auto convert) {
        SetLastError(ERROR_SUCCESS);
        const int result = convert();
        return Outcome{result, GetLastError()};
    };
    const Row rows[] = {
        {"an empty input", call([&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 4); }),
         ERROR_INVALID_PARAMETER},
        {"a flag UTF-8 takes no part in",
         call([&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 4); }),
         ERROR_INVALID_FLAGS},
        {"best fit for UTF-8", call([&] {
             return WideCharToMultiByte(CP_UTF8, WC_NO_BEST_FIT_CHARS, L"a", 1, bytes, 4, nullptr,
                                        nullptr);
         }),
         ERROR_INVALID_FLAGS},
        {"a default character for UTF-8",
         call([&] { return WideCharToMultiByte(CP_UTF8, 0, L"a", 1, bytes, 4, nullptr, &used); }),
         ERROR_INVALID_PARAMETER},
        {"strict 1252", call([&] {
             return WideCharToMultiByte(westernEuropean, WC_ERR_INVALID_CHARS, L"a", 1, bytes, 4,
                                        nullptr, nullptr);
         }),
         ERROR_INVALID_FLAGS},
        {"too small a buffer",
         call([&] { return MultiByteToWideChar(CP_UTF8, 0, "abcde", 5, wide, 4); }),
         ERROR_INSUFFICIENT_BUFFER},
        {"a code page the layer lacks",
         call([&] { return MultiByteToWideChar(437, 0, "a", 1, wide, 4); }),
         ERROR_INVALID_PARAMETER},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.outcome.result, 0);
        EXPECT_EQ(row.outcome.error, row.error);
    }
    // A count of -1 takes the text with its terminating zero.
    EXPECT_EQ(MultiByteToWideChar(westernEuropean, 0, "ab", -1, wide, 4), 3);
    EXPECT_EQ(std::wstring(wide), L"ab");
}

} // namespace
