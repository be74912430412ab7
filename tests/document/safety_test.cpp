// What keeps the user's text and other programs' files safe around Open and Save: the save
// question's Cancel, the check for a file another program changed, an edit control that took only
// part of a text, the size limits, and the temporary file's name.
#include "app/main_window.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_io.h"
#include "tests/support/editor_test.h"
#include "tests/support/full_edit.h"
#include "ui/text_limits.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform::testing;

namespace {

const std::wstring changedQuestion =
    L"notes.txt was changed by another program since you opened it. Replace it with your text?";

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

class SafetyTest : public EditorTest {};

TEST_F(SafetyTest, CancelOrABoxThatFailsKeepsTheTextForNewOpenAndClosing)
{
    type(L"kept");
    struct Row {
        const char* name;
        std::function<void()> act;
    };
    const Row commands[] = {
        {"New", [&] { hotKey(hotKeyNew); }},
        {"Open", [&] { hotKey(hotKeyOpen); }},
        {"closing", [&] { clickCloseBox(mainWindow), processEvents(); }},
    };
    for (const Row& command : commands) {
        for (const int answer : {IDCANCEL, 0}) {
            SCOPED_TRACE(testing::Message() << command.name << ", answer " << answer);
            answerMessageBox(answer);
            command.act();
            EXPECT_EQ(shownBoxes().back().type, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
            EXPECT_TRUE(IsWindow(mainWindow));
            EXPECT_EQ(text(), L"kept");
            EXPECT_EQ(title(), L"*New file - Quenwrite");
            EXPECT_TRUE(shownFileDialogs().empty()) << "no Open dialog after Cancel";
        }
    }
}

TEST_F(SafetyTest, SaveAsksBeforeItWritesOverAChangeAnotherProgramMade)
{
    struct Row {
        const char* name;
        std::function<void()> change;
        bool asks;
        std::string left; // the file after No, or after a save that did not ask
    };
    const std::string file = folder() + "/notes.txt";
    const Row rows[] = {
        {"nothing changed", [] {}, false, "mine same\r\n"},
        {"rewritten", [&] { writeFileBytes("notes.txt", "theirs\r\n"); }, true, "theirs\r\n"},
        {"replaced by a file of the same size and time",
         [&] {
             writeFileBytes("new.txt", "same\r\n");
             struct stat old;
             stat(file.c_str(), &old);
             const struct timespec times[2] = {old.st_atim, old.st_mtim};
             utimensat(AT_FDCWD, (folder() + "/new.txt").c_str(), times, 0);
             std::filesystem::rename(folder() + "/new.txt", file);
         },
         true, "same\r\n"},
        {"only its time set", [&] { utimensat(AT_FDCWD, file.c_str(), nullptr, 0); }, true,
         "same\r\n"},
        {"rewritten in place at the same size, its time put back (cp -p, rsync -t)",
         [&] {
             struct stat old;
             stat(file.c_str(), &old);
             writeFileBytes("notes.txt", "SAME\r\n");
             const struct timespec times[2] = {old.st_atim, old.st_mtim};
             utimensat(AT_FDCWD, file.c_str(), times, 0);
         },
         true, "SAME\r\n"},
        {"removed", [&] { std::filesystem::remove(file); }, false, "mine same\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFileBytes("notes.txt", "same\r\n");
        // Made an hour ago: another program's later write shows a later time, whatever the clock's
        // steps.
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) -
                                                   std::chrono::hours(1));
        open("notes.txt");
        type(L"mine ");
        row.change();
        const std::size_t boxes = shownBoxes().size();
        if (row.asks)
            answerMessageBox(IDNO);
        hotKey(hotKeySave);
        ASSERT_EQ(shownBoxes().size(), boxes + (row.asks ? 1 : 0));
        EXPECT_EQ(fileBytes("notes.txt"), row.left);
        if (!row.asks)
            continue;
        EXPECT_EQ(shownBoxes().back().text, changedQuestion);
        EXPECT_EQ(shownBoxes().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
        EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
        answerMessageBox(IDYES);
        hotKey(hotKeySave);
        EXPECT_EQ(fileBytes("notes.txt"), "mine same\r\n");
        // The file as written now is the one the document knows: the next save asks nothing.
        hotKey(hotKeySave);
        EXPECT_EQ(shownBoxes().size(), boxes + 2);
    }
}

TEST_F(SafetyTest, ANameOpenedBeforeItsFileExistedAsksWhenAnotherProgramMadeTheFile)
{
    open("notes.txt");
    type(L"mine");
    writeFileBytes("notes.txt", "theirs");
    answerMessageBox(IDNO);
    hotKey(hotKeySave);
    EXPECT_EQ(shownBoxes().back().text, changedQuestion);
    EXPECT_EQ(fileBytes("notes.txt"), "theirs");
}

TEST_F(SafetyTest, AnOpenTheEditControlTookOnlyPartOfIsNotMadeTheDocument)
{
    writeFileBytes("notes.txt", "the whole text");
    fillEditControl(Editor.editControl);
    answerMessageBox(IDOK);
    open("notes.txt");
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_TRUE(contains(shownBoxes()[0].text, L"Could not open")) << shownBoxes()[0].text;
    EXPECT_TRUE(contains(shownBoxes()[0].text, L"not enough memory")) << shownBoxes()[0].text;
    EXPECT_EQ(text(), L"");
    EXPECT_EQ(title(), L"New file - Quenwrite");
    freeEditControl(Editor.editControl);
    type(L"new");
    cancelFileDialog();
    hotKey(hotKeySave); // no file: Save asks for a name
    EXPECT_EQ(fileBytes("notes.txt"), "the whole text");
    EXPECT_TRUE(shownFileDialogs().back().save);
}

TEST_F(SafetyTest, AFileTooLargeForAnyTextIsRefusedBeforeItIsRead)
{
    type(L"kept");
    const std::string file = folder() + "/huge.txt";
    const auto size = std::uintmax_t(largestOpenableFile()) + 1;
    {
        std::ofstream(file).close();
    }
    std::filesystem::resize_file(file, size); // sparse: no disk is used
    answerMessageBox(IDNO);                   // the save question
    answerMessageBox(IDOK);
    open("huge.txt");
    const std::wstring box = shownBoxes().back().text;
    EXPECT_TRUE(contains(box, L"8,589,934,585 bytes")) << box;
    EXPECT_TRUE(contains(box, L"2,147,483,646 characters")) << box;
    EXPECT_EQ(text(), L"kept");
}

TEST(TextLimits, TextsFitTheIntLengthsAndA32BitProcessHoldsWhatItsAddressSpaceAllows)
{
    const MemoryModel windows{4, 2};
    const MemoryModel linux64{8, 4};
    EXPECT_EQ(largestOpenableFile(windows), 322'122'547u);
    EXPECT_EQ(largestOpenableFile(linux64), 4 * 2'147'483'646ULL);
    struct Row {
        const char* name;
        ULONGLONG bytes;
        ULONGLONG characters;
        MemoryModel model;
        bool fits;
    };
    const Row rows[] = {
        {"32-bit, 300 MB of CR LF lines", 300'000'000, 300'000'000, windows, true},
        {"32-bit, the same bytes with LF lines", 300'000'000, 330'000'000, windows, false},
        {"32-bit, 128 MiB, refused before", 134'217'729, 140'000'000, windows, true},
        {"64-bit, the longest text", 3'000'000'000, 2'147'483'646, linux64, true},
        {"64-bit, one character more", 3'000'000'000, 2'147'483'647, linux64, false},
        {"64-bit, 2^31 characters", 1'500'000'000, 2'147'483'648, linux64, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(textFits(row.bytes, row.characters, row.model), row.fits);
    }
    const std::wstring tooLong = tooLargeToOpen(L"big.txt", 1'500'000'000, 2'147'483'648, linux64);
    EXPECT_TRUE(contains(tooLong, L"2,147,483,648 characters")) << tooLong;
    EXPECT_TRUE(contains(tooLong, L"2,147,483,646 characters")) << tooLong;
    const std::wstring tooMuch = tooLargeToOpen(L"big.txt", 400'000'000, 0, windows);
    EXPECT_TRUE(contains(tooMuch, L"400,000,000 bytes")) << tooMuch;
    EXPECT_TRUE(contains(tooMuch, L"322,122,547 bytes")) << tooMuch;
}

} // namespace
