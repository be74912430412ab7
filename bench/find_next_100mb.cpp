// Times F3, Shift+F3, Replace all and the status bar on a 100-million-character document in the
// running editor (offscreen), each as the user meets it: a key press or a click, through the
// message loop's translation, up to the painted window. Prints a Markdown section for
// bench/results.md.   Usage: find_next_100mb [TABLE-FILE to append to]
#include "app/commands.h"
#include "app/main.h"
#include "app/status_bar.h"
#include "bench/prose.h"
#include "bench/resident.h"
#include "bench/sections.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "platform/testing/testing.h"
#include "search/find_dialog.h"
#include "search/replace_dialog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace seam = platform::testing;
using Clock = std::chrono::steady_clock;

constexpr std::size_t documentLength = 100'000'000;
constexpr std::size_t replaceCount = 100'000;
const std::wstring lateNeedle = L"needle near the end";
const std::wstring earlyNeedle = L"needle near the start";

std::ostringstream table;

double msOf(const std::function<void()>& step)
{
    const auto started = Clock::now();
    step();
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The most memory resident since the last call (the kernel's high-water mark, reset each time).
double peakMbSinceLast()
{
    double peak = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %lf", &peak) == 1)
                break;
        std::fclose(status);
    }
    std::ofstream("/proc/self/clear_refs") << "5";
    return peak / 1024.0;
}

double residentMb()
{
    return bench::residentKb() / 1024.0;
}

void row(const char* operation, double value, const char* unit, const char* note)
{
    char line[512];
    std::snprintf(line, sizeof line, "| %s | %s | %.*f %s | %s |\n", "100 MB", operation,
                  value < 1    ? 3
                  : value < 10 ? 2
                               : 0,
                  value, unit, note);
    table << line;
    std::fputs(line, stderr);
}

void paintedEvents()
{
    seam::processEvents();
    seam::paintNow(mainWindow);
}

void caretAt(std::size_t position)
{
    SendMessageW(Editor.editControl, EM_SETSEL, WPARAM(position), LPARAM(position));
    paintedEvents();
}

double press(int virtualKey, UINT modifiers = 0)
{
    return msOf([&] {
        seam::pressKey(Editor.editControl, virtualKey, modifiers);
        paintedEvents();
    });
}

std::size_t selectionStart()
{
    return std::size_t(seam::selection(Editor.editControl).start);
}

// A document of prose with a marker near each end; the markers occur nowhere else.
std::wstring searchDocument()
{
    std::wstring text = prose(documentLength);
    text.replace(100'000, earlyNeedle.size(), earlyNeedle);
    text.replace(documentLength - 100'000, lateNeedle.size(), lateNeedle);
    return text;
}

// A file of prose with the word "zebra" in place of "quick" once in every thousand characters.
std::wstring writeReplaceDocument()
{
    std::wstring text = prose(documentLength);
    const std::size_t step = documentLength / replaceCount;
    for (std::size_t block = 0; block < replaceCount; ++block) {
        const std::size_t at = text.find(L"quick", block * step);
        text.replace(at, 5, L"zebra");
    }
    const std::string path = "zebras.txt";
    std::ofstream(path, std::ios::binary) << std::string(text.begin(), text.end());
    return std::wstring(path.begin(), path.end());
}

void searchWithFindWindow(const std::wstring& needle, bool matchCase, const char* label)
{
    SendMessageW(mainWindow, WM_COMMAND, 8, 0);
    HWND find = seam::windowsOfClass(FindDialog.className).back();
    SetWindowTextW(FindDialog.findEdit, needle.c_str());
    if (!matchCase)
        CheckDlgButton(find, matchCaseId, BST_UNCHECKED);
    const double took = msOf([&] {
        seam::click(FindDialog.findButton);
        paintedEvents();
    });
    if (label)
        row(label, took, "ms", "the first search makes the flat copy of the text");
    DestroyWindow(find);
    paintedEvents();
}

void findRows()
{
    const double before = residentMb();
    SetWindowTextW(Editor.editControl, searchDocument().c_str());
    paintedEvents();
    const double atRest = residentMb();
    row("Memory at rest, text set, before any search", atRest - before, "MB", "the text's store");

    caretAt(0);
    searchWithFindWindow(lateNeedle, true, "Find window, first search, needle near the end");
    row("Memory at rest after a search", residentMb() - atRest, "MB",
        "the flat copy behind EM_GETHANDLE, 4 bytes a character, kept until the text is replaced");

    std::vector<double> fromStart;
    for (int i = 0; i < 5; ++i) {
        caretAt(0);
        fromStart.push_back(press(VK_F3));
    }
    row("F3 from the start, needle near the end", median(fromStart), "ms",
        "median of 5, key press to painted match");
    std::vector<double> repeated;
    for (int i = 0; i < 5; ++i)
        repeated.push_back(press(VK_F3));
    row("F3 pressed again and again (round the end each time)",
        *std::max_element(repeated.begin(), repeated.end()), "ms", "slowest of 5");
    if (selectionStart() != documentLength - 100'000)
        std::fputs("F3 did not find the needle\n", stderr);

    caretAt(0);
    seam::typeText(Editor.editControl, L"x");
    paintedEvents();
    row("F3 after typing at the start", press(VK_F3), "ms",
        "the whole flat copy brought up to date first");
    caretAt(documentLength - 200'000);
    seam::typeText(Editor.editControl, L"x");
    caretAt(0);
    row("F3 after typing near the end", press(VK_F3), "ms", "only the copy's tail brought up");

    caretAt(documentLength);
    searchWithFindWindow(earlyNeedle, true, nullptr);
    caretAt(documentLength);
    row("Shift+F3 from the end, needle near the start", press(VK_F3, MOD_SHIFT), "ms",
        "backwards over the whole text");

    searchWithFindWindow(L"NEEDLE NEAR THE END", false, nullptr);
    caretAt(0);
    row("F3 without Match case, needle near the end", press(VK_F3), "ms",
        "every character folded while it is compared");

    seam::answerMessageBox(IDOK);
    searchWithFindWindow(L"needle that is nowhere", true, nullptr);
    caretAt(0);
    seam::answerMessageBox(IDOK);
    row("F3, miss", press(VK_F3), "ms", "one pass over the text, then the box");
}

void statusBarRows()
{
    // Shown and hidden in turns, so that the machine's moods fall on both alike.
    caretAt(documentLength / 2);
    std::vector<double> hidden;
    std::vector<double> shown;
    for (int round = 0; round < 6; ++round) {
        std::vector<double>& times = round % 2 == 0 ? hidden : shown;
        for (int i = 0; i < 51; ++i)
            times.push_back(press(VK_RIGHT));
        SendMessageW(mainWindow, WM_COMMAND, commandStatusBar, 0);
        paintedEvents();
    }
    row("Right arrow at the middle, status bar hidden", median(hidden), "ms",
        "median of 153, painted");
    row("Right arrow at the middle, status bar shown", median(shown), "ms",
        "median of 153, painted");
    SendMessageW(mainWindow, WM_COMMAND, commandStatusBar, 0); // shown again
    // A selection made backwards: the caret's end is found from where the caret is drawn.
    SetFocus(Editor.editControl);
    SendMessageW(Editor.editControl, EM_SETSEL, WPARAM(documentLength / 2),
                 LPARAM(documentLength / 3));
    std::vector<double> updates;
    for (int i = 0; i < 1001; ++i)
        updates.push_back(msOf(updateStatusBar));
    row("Status bar update alone (line and column of the caret)", median(updates) * 1000, "µs",
        "median of 1001, with a selection made backwards");
    SendMessageW(mainWindow, WM_COMMAND, commandStatusBar, 0);
}

void replaceRows()
{
    const std::wstring path = writeReplaceDocument();
    Document.forget(); // the typing above is no one's work: no save question
    seam::answerFileDialog(path);
    SendMessageW(mainWindow, WM_COMMAND, 2, 0); // File, Open
    paintedEvents();
    const double before = residentMb();
    peakMbSinceLast();
    SendMessageW(mainWindow, WM_COMMAND, commandReplace, 0);
    HWND replace = seam::windowsOfClass(replaceWindowClassName).front();
    SetWindowTextW(GetDlgItem(replace, replaceFindEditId), L"zebra");
    SetWindowTextW(GetDlgItem(replace, replaceWithEditId), L"okapi");
    seam::answerMessageBox(IDOK);
    const double took = msOf([&] {
        seam::click(GetDlgItem(replace, replaceAllId));
        paintedEvents();
    });
    const bool told = !seam::shownBoxes().empty() &&
                      seam::shownBoxes().back().text == L"Replaced 100000 occurrences.";
    row("Replace all, 100,000 occurrences", took, "ms",
        told ? "the click to the painted text, the count told" : "NOT ALL REPLACED");
    row("Memory at its peak during Replace all, over the opened file", peakMbSinceLast() - before,
        "MB", "the text copied once into local memory and rewritten there, and the new stretch");
    row("Memory at rest after Replace all, over the opened file", residentMb() - before, "MB",
        "the new stretch in the store, one byte a character; the old one is kept for Undo "
        "without a copy");
    row("Undo of Replace all", msOf([] {
            SendMessageW(mainWindow, WM_COMMAND, commandUndo, 0);
            paintedEvents();
        }),
        "ms", "one step");
}

const std::string sectionTitle = "Find next, Replace all and the status bar on 100 million "
                                 "characters of prose (bench/find_next_100mb.cpp):";
const std::string encodingHeader = bench::encodingSectionTitle;

// Puts the section into the table file in place of the one an earlier run wrote, ahead of the
// encodings table when there is one, else at the end.
void writeSection(const std::filesystem::path& file, const std::string& rows)
{
    std::stringstream old;
    old << std::ifstream(file).rdbuf();
    std::string text = old.str();
    const std::size_t earlier = text.find(sectionTitle);
    if (earlier != std::string::npos) {
        const std::size_t next = text.find(encodingHeader, earlier);
        text.erase(earlier, (next == std::string::npos ? text.size() : next) - earlier);
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::size_t encodings = text.find(encodingHeader);
    const std::string section = sectionTitle + "\n\n" + rows + "\n";
    if (encodings == std::string::npos)
        text += "\n\n" + section;
    else
        text.insert(encodings, section);
    std::ofstream(file) << text;
}

} // namespace

int main(int argc, char** argv)
{
    // Made absolute now: opening a file makes its folder the current one.
    const std::filesystem::path tableFile =
        argc > 1 ? std::filesystem::absolute(argv[1]) : std::filesystem::path();
    // A folder of its own: the status bar's choice is written to settings.ini in it.
    char folder[] = "/tmp/quenwrite-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    std::filesystem::current_path(folder);
    seam::startApplication(argc, argv);
    registerWindowClasses(nullptr);
    seam::translateMessagesWith(translateShortcut);
    ShowWindow(createMainWindow(nullptr), SW_SHOW);
    SetFocus(Editor.editControl);
    paintedEvents();
    table << "| input | operation | Quenwrite | what it counts |\n|---|---|---|---|\n";
    findRows();
    statusBarRows();
    replaceRows();
    std::fputs(table.str().c_str(), stdout);
    if (!tableFile.empty())
        writeSection(tableFile, table.str());
    std::fflush(stdout);
    std::filesystem::remove_all(folder);
    _exit(0);
}
