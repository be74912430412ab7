// Times opening and saving a 100 MB text file in the running editor (offscreen) and reports the
// peak resident memory after each step: the file code, the byte rules and the edit control's
// own copy together, as a user meets them. Usage: open_save_100mb [folder for the files]
#include "app/main.h"
#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "platform/testing/testing.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>

namespace {

constexpr std::size_t fileSize = 100'000'000;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Lines of 80 bytes, every byte value but the line ends and zero among them, LF-ended.
void writeSample(const std::string& name)
{
    std::string line;
    std::string bytes;
    bytes.reserve(fileSize);
    for (std::size_t i = 0; bytes.size() < fileSize; ++i) {
        const auto c = char(1 + i % 255);
        bytes += c == '\n' || c == '\r' ? '.' : c;
        if (i % 80 == 79)
            bytes += "\r\n";
    }
    std::ofstream(name, std::ios::binary) << bytes;
}

template <class Step> void timed(const char* name, Step step)
{
    const auto started = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::printf("%-40s %7.2f s   peak RSS %7.0f MB\n", name, took.count(), peakMegabytes());
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    const std::string source = folder + "/quenwrite-bench-100mb.txt";
    const std::string copy = folder + "/quenwrite-bench-100mb-saved.txt";
    writeSample(source);
    std::printf("%-40s %7s     peak RSS %7.0f MB\n", "100 MB sample written", "", peakMegabytes());

    int qtArgc = 1;
    platform::testing::startApplication(qtArgc, argv);
    registerWindowClasses(nullptr);
    createMainWindow(nullptr);
    platform::testing::processEvents();
    std::printf("%-40s %7s     peak RSS %7.0f MB\n", "editor started", "", peakMegabytes());

    timed("open: readFile into the edit control",
          [&] { Editor.readFile(std::filesystem::path(source).wstring().c_str(), mainWindow); });
    timed("save: writeFile from the edit control",
          [&] { Editor.writeFile(mainWindow, std::filesystem::path(copy).wstring()); });
    // The edit control's share of the save: the text handed over whole into fresh memory.
    timed("  of which: GetWindowTextW alone", [&] {
        const int length = GetWindowTextLengthW(Editor.editControl);
        std::wstring text(std::size_t(length) + 1, L'\0');
        text.resize(std::size_t(GetWindowTextW(Editor.editControl, text.data(), length + 1)));
    });
    std::printf("saved file: %ju bytes, title %s\n",
                std::uintmax_t(std::filesystem::file_size(copy)),
                Document.saved() ? "saved" : "NOT SAVED");
    std::filesystem::remove(source);
    std::filesystem::remove(copy);
    return 0;
}
