// Real failures beside the injected ones: the document's file replaced by a folder or a named
// pipe, or its folder removed, while the document is open. The user is told, the document stays
// unsaved, and whatever now has the file's name is left as it is.
#include "app/main_window.h"
#include "document/open_named.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "tests/support/editor_test.h"
#include "tests/support/files.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/stat.h>

using namespace platform::testing;
namespace fs = std::filesystem;

namespace {

class FailureTest : public EditorTest {};

TEST_F(FailureTest, TheDocumentsFileChangedUnderItIsReportedAndNothingIsReplaced)
{
    struct Row {
        const char* what;
        std::string file;
        std::function<void(const std::string& where)> change;
        std::wstring reason;
        std::function<void(const std::string& where)> check;
    };
    const Row rows[] = {
        {"the file replaced by a folder", "notes.txt",
         [&](const std::string& where) {
             fs::remove(where);
             fs::create_directory(where);
             writeFileBytes("notes.txt/inside.txt", "inside");
         },
         L"There is a folder of that name.",
         [&](const std::string&) { EXPECT_EQ(fileBytes("notes.txt/inside.txt"), "inside"); }},
        {"its folder removed", "gone/notes.txt",
         [&](const std::string&) { fs::remove_all(folder() + "/gone"); },
         L"The folder does not exist.",
         [&](const std::string&) { EXPECT_FALSE(fs::exists(folder() + "/gone")); }},
    };
    fs::create_directory(folder() + "/gone");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string where = folder() + "/" + row.file;
        writeFileBytes(row.file, "old");
        if (!Document.saved())
            answerMessageBox(IDNO); // the save question of Open
        open(row.file);
        type(L"new ");
        row.change(where);
        const std::size_t boxes = shownBoxes().size();
        answerMessageBox(IDOK);
        command(commandSave);
        const std::wstring box = onlyBoxSince(boxes);
        EXPECT_NE(box.find(row.reason), std::wstring::npos) << box;
        EXPECT_FALSE(Document.saved());
        EXPECT_EQ(title(), L"*notes.txt - Quenwrite");
        EXPECT_EQ(text(), L"new old");
        row.check(where);
        EXPECT_FALSE(holdsTemporary(folder()));
    }
}

// A named pipe or a device is no text file: reading one may never end or wait for a writer, and
// saving over one must not put a plain file in its place. Each way of naming one is refused with
// a message naming it, before anything is read or written.
TEST_F(FailureTest, ADeviceOrAPipeIsNeitherOpenedNorReplaced)
{
    const std::string pipe = folder() + "/my.pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    // A name with a dot: Save as would give a bare /dev/zero the default extension.
    const std::string device = folder() + "/zero.dev";
    fs::create_symlink("/dev/zero", device);
    const std::wstring notAFile = L"It is a device or a pipe, not a file";
    type(L"text");
    for (const std::string& name : {pipe, device}) {
        const std::wstring wide = fs::path(name).wstring();
        struct Way {
            const char* name;
            std::function<void()> act;
        };
        const Way ways[] = {
            {"Open", [&] { open(wide); }},
            {"the command line", [&] { openNamedFile(mainWindow, wide); }},
            {"a drop", [&] { dropFiles(mainWindow, {wide}), processEvents(); }},
        };
        for (const Way& way : ways) {
            SCOPED_TRACE(name + ", " + way.name);
            answerMessageBox(IDNO); // the save question
            answerMessageBox(IDOK);
            const std::size_t boxes = shownBoxes().size();
            way.act();
            const std::wstring box = lastBox();
            EXPECT_EQ(shownBoxes().size(), boxes + 2);
            EXPECT_NE(box.find(L"Could not open \u201C" + wide + L"\u201D"), std::wstring::npos);
            EXPECT_NE(box.find(notAFile), std::wstring::npos);
            EXPECT_EQ(text(), L"text");
        }
        SCOPED_TRACE(name + ", Save as");
        answerFileDialog(wide);
        answerMessageBox(IDYES); // the overwrite warning
        answerMessageBox(IDOK);
        const std::size_t boxes = shownBoxes().size();
        command(commandSaveAs);
        EXPECT_EQ(shownBoxes().size(), boxes + 2);
        EXPECT_NE(lastBox().find(L"Could not save \u201C" + wide + L"\u201D"), std::wstring::npos);
        EXPECT_NE(lastBox().find(notAFile), std::wstring::npos);
        EXPECT_EQ(title(), L"*New file - Quenwrite");
    }
    EXPECT_TRUE(fs::is_fifo(pipe)) << "the pipe was replaced by a file";
    EXPECT_FALSE(holdsTemporary(folder()));
    EXPECT_TRUE(fs::is_character_file(device));
}

// A file whose name is bytes that are no text cannot be shown or saved back under its name: each
// way of naming one is refused with a message naming it, and the document stays.
TEST_F(FailureTest, AFileWhoseNameIsNoTextIsRefused)
{
    std::ofstream(folder() + "/caf\xE9.txt", std::ios::binary) << "theirs";
    const std::wstring name = path("caf") + wchar_t(0xDCE9) + L".txt";
    type(L"mine");
    struct Way {
        const char* name;
        int boxes;
        std::function<void()> act;
    };
    const Way ways[] = {
        {"Open", 2, [&] { answerMessageBox(IDNO), answerMessageBox(IDOK), open(name); }},
        {"the command line", 1, [&] { answerMessageBox(IDOK), openNamedFile(mainWindow, name); }},
        {"a drop", 1,
         [&] { answerMessageBox(IDOK), dropFiles(mainWindow, {name}), processEvents(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const std::size_t boxes = shownBoxes().size();
        way.act();
        EXPECT_EQ(shownBoxes().size(), boxes + std::size_t(way.boxes));
        EXPECT_NE(
            lastBox().find(L"Could not open \u201C" + path("caf") + L"\uFFFD.txt" + L"\u201D"),
            std::wstring::npos);
        EXPECT_NE(lastBox().find(L"not valid text"), std::wstring::npos);
        EXPECT_EQ(text(), L"mine");
        EXPECT_EQ(title(), L"*New file - Quenwrite");
    }
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"caf\xE9.txt"});
}

} // namespace
