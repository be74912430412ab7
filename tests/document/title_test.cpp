// The document's name in the title: derived from the path, with "*" while unsaved.
#include "tests/support/editor_test.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"

TEST_F(EditorTest, TitleShowsTheNameAndTheUnsavedMark)
{
    const struct {
        bool saved;
        std::wstring name;
        std::wstring title;
    } cases[] = {
        {true, L"", L"New file - Quenwrite"},
        {false, L"", L"*New file - Quenwrite"},
        {true, L"notes.txt", L"notes.txt - Quenwrite"},
        {false, L"notes.txt", L"*notes.txt - Quenwrite"},
    };
    for (const auto& row : cases) {
        Document.adopt(row.name, {}, {}, {}, row.saved);
        Editor.updateTitle(mainWindow);
        EXPECT_EQ(title(), row.title);
        EXPECT_EQ(platform::testing::windowTitle(mainWindow), row.title);
    }
    Document.forget();
}
