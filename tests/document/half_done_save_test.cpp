// A save whose replacement the system left half-done: each end state Windows documents for
// ReplaceFileW's failures, and what the user is told and keeps.
#include "app/commands.h"
#include "editor/editor.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <string>
#include <vector>

using namespace platform::testing;

namespace {

class HalfDoneSaveTest : public EditorTest {};

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

TEST_F(HalfDoneSaveTest, TheFileKeepsItsTextOrTheUserLearnsWhereEachTextIs)
{
    struct Row {
        const char* name;
        DWORD error;
        bool backupStuck; // moving the previous text back fails too
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {"1175: nothing changed", ERROR_UNABLE_TO_REMOVE_REPLACED, false, {"notes.txt"}},
        {"1176 with a backup name: both keep their names",
         ERROR_UNABLE_TO_MOVE_REPLACEMENT,
         false,
         {"notes.txt"}},
        {"1177: the previous text is moved back",
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2,
         false,
         {"notes.txt"}},
        {"1177 and it cannot be moved back",
         ERROR_UNABLE_TO_MOVE_REPLACEMENT_2,
         true,
         {".quenwrite-1.bak", ".quenwrite-1.tmp"}},
    };
    const auto quotedPath = [this](const std::string& name) {
        return L"\u201C" + path(name) + L"\u201D";
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const std::string& name : namesIn(folder()))
            std::filesystem::remove(folder() + "/" + name);
        writeFileBytes("notes.txt", "old");
        open("notes.txt");
        type(L"new ");
        failFileCall(FileCall::rename, 1, row.error);
        if (row.backupStuck)
            failFileCall(FileCall::rename, 2, ERROR_ACCESS_DENIED);
        const std::size_t boxes = shownBoxes().size();
        answerMessageBox(IDOK);
        hotKey(hotKeySave);
        const std::wstring box = onlyBoxSince(boxes);
        EXPECT_EQ(namesIn(folder()), row.names);
        EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
        if (row.backupStuck) {
            EXPECT_EQ(fileBytes(".quenwrite-1.bak"), "old");
            EXPECT_EQ(fileBytes(".quenwrite-1.tmp"), "new old");
            EXPECT_FALSE(contains(box, L"not changed")) << std::string(box.begin(), box.end());
            EXPECT_TRUE(contains(box, quotedPath(".quenwrite-1.bak")));
            EXPECT_TRUE(contains(box, quotedPath(".quenwrite-1.tmp")));
        } else {
            EXPECT_EQ(fileBytes("notes.txt"), "old");
            EXPECT_TRUE(contains(box, L"The file was not changed"));
        }
        // The next save goes through, and leaves no backup behind.
        hotKey(hotKeySave);
        EXPECT_EQ(fileBytes("notes.txt"), "new old");
        EXPECT_EQ(title(), L"notes.txt - Quenwrite");
        if (!row.backupStuck) {
            EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"notes.txt"});
        }
    }
}

} // namespace
