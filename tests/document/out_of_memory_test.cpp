// Commands that run short of memory, as on a 32-bit build whose address space is taken: the user
// is told in plain words, the program goes on, and no document, file or copy is left half made.
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "recovery/recovery.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"
#include "tests/support/scarce_memory.h"

#include <string>
#include <vector>

using namespace platform::testing;

namespace {

// Large enough for every small allocation, too small for a piece of a save or a copy.
constexpr std::size_t largestAllowed = 128 << 10;

std::wstring manyLines()
{
    std::wstring text;
    for (int i = 0; i < 40'000; ++i)
        text += L"line " + std::to_wstring(i) + L" of the long document\r\n";
    return text;
}

class OutOfMemoryTest : public EditorTest {};

TEST_F(OutOfMemoryTest, ASaveWithoutMemoryKeepsTheFileAndTheUnsavedText)
{
    writeFileBytes("notes.txt", "the old text\r\n");
    open("notes.txt");
    SetWindowTextW(Editor.editControl, manyLines().c_str());
    type(L"x");
    const std::wstring changed = text();
    const int refusedBefore = ScarceMemory::refused();
    const std::size_t boxes = shownBoxes().size();
    answerMessageBox(IDOK);
    {
        ScarceMemory scarce(largestAllowed);
        command(commandSave);
    }
    EXPECT_GT(ScarceMemory::refused(), refusedBefore) << "the save never asked for much memory";
    const std::wstring told = onlyBoxSince(boxes);
    EXPECT_NE(told.find(L"Could not save"), std::wstring::npos) << told;
    EXPECT_NE(told.find(L"not enough memory"), std::wstring::npos) << told;
    EXPECT_EQ(fileBytes("notes.txt"), "the old text\r\n");
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"notes.txt"}) << "no temporary stays";
    EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
    EXPECT_EQ(text(), changed);

    command(commandSave);
    EXPECT_EQ(title(), L"notes.txt - Quenwrite") << "with memory back, the same save works";
    EXPECT_EQ(fileBytes("notes.txt").size(), changed.size());
}

// Whether the open fails as it reads the file or half-way through filling the control, the
// document never names the file with a part of its text.
TEST_F(OutOfMemoryTest, AnOpenWithoutMemoryNeverPassesAPartForTheFile)
{
    std::string large;
    for (const wchar_t c : manyLines())
        large += char(c);
    writeFileBytes("large.txt", large);
    writeFileBytes("small.txt", "kept\r\n");
    open("small.txt");
    const std::size_t boxes = shownBoxes().size();
    answerMessageBox(IDOK);
    {
        // The file as the Open dialog or the command line name it, read while memory is short.
        ScarceMemory scarce(largestAllowed);
        Editor.readFile(path("large.txt").c_str(), mainWindow);
    }
    const std::wstring told = onlyBoxSince(boxes);
    EXPECT_NE(told.find(L"not enough memory"), std::wstring::npos) << told;
    const bool kept = Document.filePath() == path("small.txt") && text() == L"kept\r\n" &&
                      title() == L"small.txt - Quenwrite";
    const bool dropped =
        Document.filePath().empty() && text().empty() && title() == L"New file - Quenwrite";
    EXPECT_TRUE(kept || dropped) << "a part of the file is shown as the file";

    open("large.txt");
    EXPECT_EQ(title(), L"large.txt - Quenwrite");
    EXPECT_EQ(text().size(), large.size());
}

TEST_F(OutOfMemoryTest, ARecoveryCopyWithoutMemoryIsToldOnceAndWrittenWhenMemoryIsBack)
{
    const std::wstring long_ = manyLines();
    SetWindowTextW(Editor.editControl, long_.c_str());
    type(L"x");
    answerMessageBox(IDOK);
    {
        ScarceMemory scarce(largestAllowed);
        for (int tick = 0; tick < 5; ++tick)
            SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
        type(L"y");
        for (int tick = 0; tick < 5; ++tick)
            SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    }
    ASSERT_EQ(shownBoxes().size(), 1u);
    EXPECT_NE(shownBoxes()[0].text.find(L"could not keep a recovery copy"), std::wstring::npos);
    EXPECT_FALSE(Recovery.current);
    type(L"z");
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
    EXPECT_TRUE(waitFor([] { return Recovery.current; })) << "the copy is written with memory";
}

} // namespace
