// The test seam for files: scripted answers and records of the file dialogs, and the fault
// injection and call counts of the file calls. Linked only into the tests, where it takes over
// both hooks from the start, so no test ever waits on a real dialog.
#include "platform/testing/testing.h"

#include <array>
#include <deque>

namespace platform::testing {

namespace {

constexpr std::size_t kinds = std::size_t(FileCall::remove) + 1;

struct FileSeam {
    std::deque<std::optional<std::wstring>> answers;
    std::vector<ShownFileDialog> shown;
    int unscripted = 0;
    std::array<int, kinds> calls{};
    struct Fault {
        FileCall kind;
        int call; // the count of that kind at which it fails
        DWORD error;
    };
    std::vector<Fault> faults;
};

FileSeam& seam()
{
    static FileSeam state;
    return state;
}

std::optional<std::wstring> scriptedAnswer(const ShownFileDialog& dialog)
{
    auto& state = seam();
    state.shown.push_back(dialog);
    if (state.answers.empty()) {
        ++state.unscripted;
        return std::nullopt;
    }
    std::optional<std::wstring> answer = std::move(state.answers.front());
    state.answers.pop_front();
    return answer;
}

DWORD countedCall(FileCall kind)
{
    auto& state = seam();
    const int call = ++state.calls[std::size_t(kind)];
    for (auto fault = state.faults.begin(); fault != state.faults.end(); ++fault) {
        if (fault->kind == kind && fault->call == call) {
            const DWORD error = fault->error;
            state.faults.erase(fault);
            return error;
        }
    }
    return ERROR_SUCCESS;
}

const bool hooked = [] {
    fileDialogHook = scriptedAnswer;
    fileCallHook = countedCall;
    return true;
}();

} // namespace

void answerFileDialog(const std::wstring& path)
{
    seam().answers.emplace_back(path);
}

void cancelFileDialog()
{
    seam().answers.emplace_back(std::nullopt);
}

const std::vector<ShownFileDialog>& shownFileDialogs()
{
    return seam().shown;
}

int unscriptedFileDialogs()
{
    return seam().unscripted;
}

int unusedFileDialogAnswers()
{
    return int(seam().answers.size());
}

void failFileCall(FileCall kind, int n, DWORD error)
{
    seam().faults.push_back({kind, fileCalls(kind) + n, error});
}

int fileCalls(FileCall kind)
{
    return seam().calls[std::size_t(kind)];
}

} // namespace platform::testing
