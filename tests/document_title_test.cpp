// The document's name in the title: derived from the path, with "*" while unsaved.
#include "tests/support/editor_test.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "files/file_io.h"

TEST(FileNameOf, TakesThePartAfterTheLastSeparatorOfEitherKind)
{
    const struct {
        std::wstring path;
        std::wstring name;
    } cases[] = {
        {L"D:\\docs\\notes.txt", L"notes.txt"},
        {L"D:/docs/notes.txt", L"notes.txt"},
        {L"D:\\docs/sub\\notes.txt", L"notes.txt"},
        {L"/home/a/b/notes.txt", L"notes.txt"},
        {L"notes.txt", L"notes.txt"},
        {L"D:\\docs\\", L""},
        {L"a.b.txt", L"a.b.txt"},
        {L"", L""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.path.begin(), row.path.end()));
        EXPECT_EQ(fileNameOf(row.path), row.name);
    }
}

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
