// The editor fixture: a fresh folder as the current directory, the editor started as wWinMain
// starts it, and the user's actions turned into real input.
#include "tests/support/editor_test.h"

#include "app/commands.h"
#include "app/main.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

bool& editorStartedInThisProcess()
{
    static bool started = false;
    return started;
}

struct KeyOfHotKey {
    int id;
    int virtualKey;
    UINT modifiers;
};

constexpr KeyOfHotKey hotKeyKeys[] = {
    {hotKeySave, 'S', MOD_CONTROL}, {hotKeySaveAs, 'S', MOD_CONTROL | MOD_SHIFT},
    {hotKeyOpen, 'O', MOD_CONTROL}, {hotKeySelectAll, 'A', MOD_CONTROL},
    {hotKeyNew, 'N', MOD_CONTROL},  {hotKeyFind, 'F', MOD_CONTROL},
};

} // namespace

void EditorTest::SetUp()
{
    makeFolders();
    startEditor();
}

void StartupTest::SetUp()
{
    makeFolders();
}

void EditorTest::makeFolders()
{
    char pattern[] = "/tmp/quenwrite-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    std::filesystem::current_path(folder_);
    // Beside the test's folder, so recovery copies never show among its files, nor in the user's.
    setenv("XDG_STATE_HOME", stateFolder().c_str(), 1);
    setenv("XDG_CONFIG_HOME", configFolder().c_str(), 1);
}

void EditorTest::startEditor()
{
    // Each case runs in its own process; a second editor here would start from used globals.
    ASSERT_FALSE(editorStartedInThisProcess()) << "run one editor test per process (ctest does)";
    editorStartedInThisProcess() = true;
    registerWindowClasses(nullptr);
    // The message loop's own step, so keys reach the windows as in the program.
    platform::testing::translateMessagesWith(translateShortcut);
    ASSERT_NE(createMainWindow(nullptr), nullptr);
    ShowWindow(mainWindow, SW_SHOWDEFAULT);
    platform::testing::processEvents();
    started_ = true;
}

void EditorTest::TearDown()
{
    if (started_) {
        platform::testing::processEvents();
        EXPECT_EQ(platform::testing::unusedAnswers(), 0) << "scripted box answers left over";
        EXPECT_EQ(platform::testing::unscriptedBoxes(), 0) << "a box was shown without an answer";
        EXPECT_EQ(platform::testing::unusedFileDialogAnswers(), 0) << "file dialog answers left";
        EXPECT_EQ(platform::testing::unscriptedFileDialogs(), 0) << "an unscripted file dialog";
        if (IsWindow(mainWindow)) {
            Document.forget();
            DestroyWindow(mainWindow);
            platform::testing::processEvents();
        }
    }
    std::filesystem::current_path("/tmp");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    std::filesystem::remove_all(stateFolder(), ignored);
    std::filesystem::remove_all(configFolder(), ignored);
}

void EditorTest::command(UINT id)
{
    platform::testing::chooseMenuItem(mainWindow, id);
    platform::testing::processEvents();
}

void EditorTest::hotKey(int id)
{
    for (const KeyOfHotKey& key : hotKeyKeys) {
        if (key.id == id) {
            platform::testing::pressKey(Editor.editControl, key.virtualKey, key.modifiers);
            platform::testing::processEvents();
            return;
        }
    }
    ADD_FAILURE() << "no such hot key " << id;
}

void EditorTest::type(const std::wstring& typed)
{
    platform::testing::typeText(Editor.editControl, typed);
    platform::testing::processEvents();
}

std::wstring EditorTest::text()
{
    const int length = GetWindowTextLengthW(Editor.editControl);
    std::wstring buffer(size_t(length) + 1, L'\0');
    GetWindowTextW(Editor.editControl, buffer.data(), length + 1);
    buffer.resize(size_t(length));
    return buffer;
}

std::wstring EditorTest::title()
{
    const int length = GetWindowTextLengthW(mainWindow);
    std::wstring buffer(size_t(length) + 1, L'\0');
    GetWindowTextW(mainWindow, buffer.data(), length + 1);
    buffer.resize(size_t(length));
    return buffer;
}

std::string EditorTest::fileBytes(const std::string& name)
{
    std::ifstream file(std::filesystem::path(folder_) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void EditorTest::writeFileBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream file(std::filesystem::path(folder_) / name, std::ios::binary);
    file << bytes;
}

void EditorTest::writeSettings(const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(settingsFile()).parent_path());
    writeFileBytes(settingsFile(), bytes);
}

std::wstring EditorTest::path(const std::string& name) const
{
    return (std::filesystem::path(folder_) / name).wstring();
}

void EditorTest::open(const std::wstring& chosen)
{
    platform::testing::answerFileDialog(chosen);
    hotKey(hotKeyOpen);
}

void EditorTest::saveAs(const std::wstring& chosen)
{
    platform::testing::answerFileDialog(chosen);
    hotKey(hotKeySaveAs);
}

std::wstring EditorTest::lastBox()
{
    const auto& boxes = platform::testing::shownBoxes();
    return boxes.empty() ? L"" : boxes.back().text;
}

std::wstring EditorTest::onlyBoxSince(std::size_t count)
{
    EXPECT_EQ(platform::testing::shownBoxes().size(), count + 1);
    return platform::testing::shownBoxes().size() > count ? lastBox() : L"";
}
