// The measuring runs, one per process: the editor as it starts up and is used, and the naive
// baseline through the same steps. Each figure is printed the moment it is measured, so a run
// stopped for taking too long still reports what it finished.
#include "bench/bench.h"
#include "bench/resident.h"

#include "app/main.h"
#include "app/main_window.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "platform/testing/testing.h"
#include "recovery/recovery.h"
#include "search/find_dialog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {

namespace {

namespace seam = platform::testing;

const std::wstring missingNeedle = L"needle that is nowhere";
constexpr int latencyRepeats = 5;
constexpr int findRepeats = 3;

double msOf(const std::function<void()>& step)
{
    const auto started = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
        .count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double medianMsOf(int repeats, const std::function<void()>& step)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i)
        times.push_back(msOf(step));
    return median(times);
}

void report(const char* name, double value)
{
    std::printf("%s %.3f\n", name, value);
    std::fflush(stdout);
}

// Reports the step's wall time under name and the processor time it took under name + "Cpu":
// on a machine shared with others the second says what the step itself costs.
void reportTimes(const std::string& name, const std::function<void()>& step)
{
    const auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    };
    const double cpuBefore = cpuMs();
    report(name.c_str(), msOf(step));
    report((name + "Cpu").c_str(), cpuMs() - cpuBefore);
}

double peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss);
}

std::wstring widePath(const std::string& path)
{
    return std::wstring(path.begin(), path.end());
}

void startApplication(int argc, char** argv)
{
    static int count = argc;
    seam::startApplication(count, argv);
}

// Copies go to a folder of the run's own, never to the user's. (A relative state folder would
// count as none and mean the user's own.)
void keepCopiesBeside(const std::string& path)
{
    const auto folder = std::filesystem::absolute(path).parent_path() / "state";
    std::filesystem::remove_all(folder);
    setenv("XDG_STATE_HOME", folder.c_str(), 1);
}

// As wWinMain starts the editor, with the look for recovery copies (there are none) timed.
void startEditorWindow()
{
    registerWindowClasses(nullptr);
    createMainWindow(nullptr);
    ShowWindow(mainWindow, SW_SHOWDEFAULT);
    report("offer", msOf([] { Recovery.offer(mainWindow); }));
    seam::processEvents();
    seam::paintNow(mainWindow);
}

// The edit rows measure the edits alone: the recovery copy an edit brings a pause later is
// measured on its own, at the end.
void settleAndPaint()
{
    seam::processEvents();
    seam::paintNow(mainWindow);
    KillTimer(mainWindow, recoveryTimer);
}

void command(WORD id)
{
    SendMessageW(mainWindow, WM_COMMAND, id, 0);
}

// Puts the caret at a fraction of the text and scrolls it into view, as a user's click would.
void placeCaret(double where)
{
    const LPARAM at = LPARAM(where * GetWindowTextLengthW(Editor.editControl));
    SendMessageW(Editor.editControl, EM_SETSEL, WPARAM(at), at);
    SendMessageW(Editor.editControl, EM_SCROLLCARET, 0, 0);
    settleAndPaint();
}

// What the user's hands do, for the editor or the baseline; each step ends painted.
struct Hands {
    std::function<void(double)> placeCaret;
    std::function<void()> typeOne, enter, backspace, paste, undo, scrollPage;
};

// A paste of 1,000 lines like the inputs' own.
std::wstring thousandLines()
{
    std::wstring lines;
    for (int n = 0; n < 1000; ++n)
        lines += L"pasted line " + std::to_wstring(n) + std::wstring(66, L'p') + L"\r\n";
    return lines;
}

// Two steps that undo each other's effect on the text, timed each on its own, in turns.
void pairLatency(const char* firstName, const std::function<void()>& first, const char* secondName,
                 const std::function<void()>& second)
{
    std::vector<double> firstTimes;
    std::vector<double> secondTimes;
    for (int i = 0; i < latencyRepeats; ++i) {
        firstTimes.push_back(msOf(first));
        secondTimes.push_back(msOf(second));
    }
    report(firstName, median(firstTimes));
    report(secondName, median(secondTimes));
}

// The edits of a user at work, at the end, the start and the middle of the text.
void measureEdits(const Hands& hands)
{
    hands.placeCaret(1);
    report("typeEnd", medianMsOf(latencyRepeats, hands.typeOne));
    hands.placeCaret(0);
    report("typeStart", medianMsOf(latencyRepeats, hands.typeOne));
    hands.placeCaret(0.5);
    report("typeMiddle", medianMsOf(latencyRepeats, hands.typeOne));
    // Enter splits the line; Backspace right after it, at the new line's start, joins them again.
    pairLatency("enter", hands.enter, "joinLines", hands.backspace);
    seam::setClipboardText(thousandLines());
    pairLatency("paste", hands.paste, "undo", hands.undo);
    report("scroll", medianMsOf(latencyRepeats, hands.scrollPage));
}

void editorFindMiss()
{
    command(commandFind);
    seam::processEvents();
    SetWindowTextW(FindDialog.findEdit, missingNeedle.c_str());
    HWND findWindow = seam::windowsOfClass(FindDialog.className).front();
    report("find", medianMsOf(findRepeats, [&] {
               seam::answerMessageBox(IDOK);
               SendMessageW(findWindow, WM_COMMAND, 1, 0);
           }));
    DestroyWindow(findWindow);
    seam::processEvents();
}

// One tick of the recovery copy's timer, as the message loop delivers it.
void copyTick()
{
    SendMessageW(mainWindow, WM_TIMER, recoveryTimer, 0);
}

// A key that arrives while a recovery copy is written: the step under way ends first, then the
// key gives the copy up, and the text is painted. Measured before any copy was finished, so no
// copy waits for the rest a finished one earns.
void typeWhileCopying()
{
    // Each change goes to the journal, and a pause writes nothing more: a whole copy is written
    // when the journal grew long or the record lost track, as here.
    Recovery.lostTrack();
    placeCaret(1);
    std::vector<double> times;
    for (int i = 0; i < latencyRepeats; ++i) {
        copyTick(); // starts a copy and writes its first slice
        if (!Recovery.writer.running())
            return; // the whole copy fit in one slice: no key can wait for it
        times.push_back(msOf([] {
            copyTick();
            seam::typeText(Editor.editControl, L"x");
            settleAndPaint();
        }));
    }
    report("typeCopying", median(times));
}

// A whole copy of the document, step by step: the work it takes (the pauses between the timer's
// ticks left out) and its longest step, the longest a key can wait.
void wholeCopy()
{
    double work = 0;
    double longest = 0;
    do {
        const double ms = msOf(copyTick);
        work += ms;
        longest = std::max(longest, ms);
    } while (Recovery.writer.running());
    report("copyWork", work);
    report("copyStep", longest);
}

// Starts the editor, opens the file through the menu and saves it unchanged, reporting the time
// and memory of each; false when the file did not open cleanly.
bool openAndSave(int argc, char** argv, const std::string& path)
{
    keepCopiesBeside(path);
    startApplication(argc, argv);
    startEditorWindow();
    report("rssStart", residentKb());
    seam::answerFileDialog(widePath(path));
    reportTimes("open", [] {
        command(commandOpen);
        settleAndPaint();
    });
    if (GetWindowTextLengthW(Editor.editControl) == 0 || !seam::shownBoxes().empty())
        return false;
    report("rssOpen", residentKb());
    reportTimes("save", [] {
        command(commandSave);
        seam::processEvents();
    });
    return true;
}

} // namespace

int runEditor(int argc, char** argv, const std::string& path)
{
    if (!openAndSave(argc, argv, path))
        return 1;
    report("rssPeak", peakKb());
    editorFindMiss();
    const auto key = [](int virtualKey, UINT modifiers) {
        return [=] {
            seam::pressKey(Editor.editControl, virtualKey, modifiers);
            settleAndPaint();
        };
    };
    measureEdits({placeCaret,
                  [] {
                      seam::typeText(Editor.editControl, L"x");
                      settleAndPaint();
                  },
                  key(VK_RETURN, 0), key(VK_BACK, 0), key('V', MOD_CONTROL), key('Z', MOD_CONTROL),
                  [] {
                      seam::scrollBy(Editor.editControl,
                                     seam::visibleLineCount(Editor.editControl));
                      settleAndPaint();
                  }});
    typeWhileCopying();
    wholeCopy();
    std::fflush(stdout);
    _exit(0);
}

int runOpenSave(int argc, char** argv, const std::string& path)
{
    if (!openAndSave(argc, argv, path))
        return 1;
    std::fflush(stdout);
    _exit(0);
}

int runBaseline(int argc, char** argv, const std::string& path)
{
    startApplication(argc, argv);
    seam::baseline::startUp();
    report("rssStart", residentKb());
    bool opened = false;
    report("open", msOf([&] { opened = seam::baseline::open(widePath(path)); }));
    if (!opened)
        return 1;
    report("rssOpen", residentKb());
    report("save", msOf([&] { seam::baseline::save(widePath(path)); }));
    report("rssPeak", peakKb());
    report("find", medianMsOf(findRepeats, [] { seam::baseline::findMiss(missingNeedle); }));
    namespace naive = seam::baseline;
    measureEdits({naive::placeCaret, [] { naive::type(L'x'); }, naive::enter, naive::backspace,
                  naive::paste, naive::undo, naive::scrollPage});
    std::fflush(stdout);
    _exit(0);
}

int startEditor(int argc, char** argv)
{
    keepCopiesBeside(std::filesystem::temp_directory_path() / "quenwrite-bench-start" / "none");
    startApplication(argc, argv);
    startEditorWindow();
    std::fflush(stdout);
    _exit(0);
}

int startBaseline(int argc, char** argv)
{
    startApplication(argc, argv);
    seam::baseline::startUp();
    std::fflush(stdout);
    _exit(0);
}

} // namespace bench
