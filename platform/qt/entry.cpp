// The Linux program's entry point: answers --help and --version, makes the application object,
// then runs the editor's wWinMain as the Windows runtime would, with the arguments as the command
// line and the show command SW_SHOWDEFAULT. SIGTERM and SIGHUP end the session as Windows ends
// one.
#include "platform/win32.h"

#include "platform/qt/kernel/files_p.h"
#include "platform/qt/shell/command_line_p.h"
#include "platform/qt/windows/style_p.h"
#include "platform/qt/windows/window_p.h"

#include <QApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char helpText[] =
    "Usage: quenwrite [FILE]\n"
    "Edit a plain-text file in a window. Without FILE the editor starts with an empty document.\n"
    "A FILE that does not exist yet opens as an empty document of that name, which the first\n"
    "save creates. Only the first FILE is opened; the others are ignored.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "  --         end of options: a FILE after it may start with '-'\n";

const char versionText[] = "Quenwrite " QUENWRITE_VERSION "\n";

// Where the options end: at "--", or after the last argument.
int endOfOptions(int argc, char** argv)
{
    int end = 1;
    while (end < argc && std::strcmp(argv[end], "--") != 0)
        ++end;
    return end;
}

// The text that --help or --version asks for, or null when neither comes before the options end.
const char* asked(int argc, char** argv)
{
    const int end = endOfOptions(argc, argv);
    for (int i = 1; i < end; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            return helpText;
        if (std::strcmp(argv[i], "--version") == 0)
            return versionText;
    }
    return nullptr;
}

void addNames(std::vector<std::wstring>& names, char** first, char** last)
{
    for (; first != last; ++first)
        names.push_back(platform::nameFromNative(*first));
}

} // namespace

int main(int argc, char** argv)
{
    // Asked in a terminal, perhaps where there is no display: answered before Qt needs one.
    if (const char* text = asked(argc, argv)) {
        std::fputs(text, stdout);
        return 0;
    }
    // Qt takes its own options (-style, -platform, ...) out of the arguments it is given; the
    // names after "--" are kept from it.
    const int end = endOfOptions(argc, argv);
    int qtArgc = end;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quenwrite"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::useStyle();
    platform::watchSessionEnd();
    std::vector<std::wstring> names;
    addNames(names, argv + 1, argv + qtArgc);
    addNames(names, argv + std::min(end + 1, argc), argv + argc);
    std::wstring commandLine = platform::commandLineOf(names);
    return wWinMain(nullptr, nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
