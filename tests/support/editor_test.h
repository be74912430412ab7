// The fixture that starts the editor as wWinMain does, up to the message loop, in a fresh
// temporary current folder, and the helpers a test uses to drive it as a user would.
#pragma once

#include "platform/testing/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start the editor; StartupTest calls it itself after preparing the folder.
    void startEditor();

    void command(UINT id); // a menu command, as chosen from the menu
    void hotKey(int id);   // the key combination of a hot key, pressed in the main window
    void type(const std::wstring& text); // typed into the main edit control
    std::wstring text();                 // the edit control's whole text
    std::wstring title();                // the main window's title
    std::string fileBytes(const std::string& name);
    void writeFileBytes(const std::string& name, const std::string& bytes);
    std::string folder() const { return folder_; }
    // The XDG state folder the editor keeps its recovery copies under.
    std::string stateFolder() const { return folder_ + ".state"; }
    // The editor's own folder in it, where its copies are.
    std::string programFolder() const { return stateFolder() + "/quenwrite"; }
    // The XDG config folder the editor keeps its settings under, and its settings file there.
    std::string configFolder() const { return folder_ + ".config"; }
    std::string settingsFile() const { return configFolder() + "/quenwrite/settings.ini"; }
    void writeSettings(const std::string& bytes);
    std::wstring path(const std::string& name) const; // name inside the test's folder, as wide text

    // Open and Save as as the user does them, Ctrl+O and Ctrl+Shift+S, with the file dialog
    // answered by the path chosen (a bare name: inside the test's folder).
    void open(const std::wstring& chosen);
    void open(const std::string& name) { open(path(name)); }
    void saveAs(const std::wstring& chosen);
    void saveAs(const std::string& name) { saveAs(path(name)); }
    // The text of the last box shown, "" when none was.
    static std::wstring lastBox();
    // The text of the one box shown since count boxes had been; fails when there is not one.
    static std::wstring onlyBoxSince(std::size_t count);

    void makeFolders();

    std::string folder_;
    bool started_ = false;
};

// For tests that prepare the folder (settings.ini, files) before the editor starts.
class StartupTest : public EditorTest {
protected:
    void SetUp() override;
};
