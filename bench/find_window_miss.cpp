// Times the whole miss as the user meets it: Find clicked in the Find window over a main edit
// control holding 100 million characters, from the click to the not-found box, so the layer's
// handing over of the text is counted with the search. Run with QT_QPA_PLATFORM=offscreen.
#include "app/main.h"
#include "bench/prose.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "platform/testing/testing.h"
#include "search/find_dialog.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point started)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

} // namespace

int main(int argc, char** argv)
{
    using namespace platform::testing;
    startApplication(argc, argv);
    registerWindowClasses(nullptr);
    ShowWindow(createMainWindow(nullptr), SW_SHOW);
    processEvents();

    const std::wstring text = prose(100'000'000);
    auto started = Clock::now();
    SetWindowTextW(Editor.editControl, text.c_str());
    std::printf("setting the text            %9.1f ms\n", millisecondsSince(started));

    // The layer's share: handing the whole text over, as findNext asks for it.
    std::wstring copy(text.size(), L'\0');
    started = Clock::now();
    GetWindowTextW(Editor.editControl, copy.data(), int(copy.size()) + 1);
    std::printf("GetWindowTextW of it        %9.1f ms\n", millisecondsSince(started));
    copy = std::wstring();

    SendMessageW(mainWindow, WM_COMMAND, 8, 0);
    typeText(FindDialog.findEdit, L"the lazy cat");
    answerMessageBox(IDOK);
    started = Clock::now();
    click(FindDialog.findButton);
    const double took = millisecondsSince(started);
    const bool missed = shownBoxes().size() == 1;
    std::printf("Find clicked, miss shown    %9.1f ms  %s\n", took, missed ? "miss" : "NO BOX?");
    return missed ? 0 : 1;
}
