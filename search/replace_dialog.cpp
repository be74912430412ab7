// The Replace window, built control by control like the Find window, and its three actions.
#include "search/replace_dialog.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "editor/globals.h"
#include "search/case_fold.h"
#include "search/document_text.h"
#include "search/find_next.h"
#include "search/text_replace.h"
#include "search/tool_window.h"
#include "ui/local_text.h"
#include "ui/window_parts.h"

#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int width = 400;
constexpr int height = 160;
constexpr int controlHeight = 20;
constexpr int labelWidth = 100; // room for "Replace with:" in the bold system font
constexpr int boxX = 110;
constexpr int boxWidth = 165;
constexpr int buttonX = 285;
constexpr int buttonWidth = 80;
constexpr DWORD labelStyle = WS_CHILD | WS_VISIBLE | WS_GROUP;
constexpr DWORD stopStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP;
constexpr DWORD boxStyle = stopStyle | WS_BORDER | ES_AUTOHSCROLL;

HWND openWindow = nullptr;

SearchRequest requestOf(HWND window)
{
    return {windowText(GetDlgItem(window, replaceFindEditId)),
            IsDlgButtonChecked(window, replaceMatchCaseId) == BST_CHECKED};
}

// Each action searches for what the window holds, and F3 goes on with it afterwards.
bool takeRequest(HWND window, SearchRequest& request)
{
    request = requestOf(window);
    if (request.needle.empty()) {
        MessageBeep(MB_OK); // nothing to look for
        return false;
    }
    lastSearch = request;
    return true;
}

void findNext(HWND window)
{
    SearchRequest request;
    TextRange match;
    if (takeRequest(window, request))
        searchDocument(request, selectionOf(Editor.editControl).end, SearchDirection::forward,
                       window, match);
}

// Whether the selection is an occurrence of what is looked for.
bool selectionMatches(const SearchRequest& request)
{
    const TextRange selection = selectionOf(Editor.editControl);
    if (selection.end - selection.start != request.needle.size())
        return false;
    const DocumentText document(Editor.editControl);
    const TextSearch search(request.needle, request.matchCase ? nullptr : &platformCaseFold());
    return document.readable() && search.forward(document.text().substr(0, selection.end),
                                                 selection.start) == selection.start;
}

// Replaces the selected occurrence, if it is one, then finds the next: the first press only
// finds, and each press after it replaces what the user has just seen selected.
void replaceOne(HWND window)
{
    SearchRequest request;
    if (!takeRequest(window, request))
        return;
    if (selectionMatches(request)) {
        const std::wstring with = windowText(GetDlgItem(window, replaceWithEditId));
        SendMessageW(Editor.editControl, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(with.c_str()));
    }
    TextRange match;
    searchDocument(request, selectionOf(Editor.editControl).end, SearchDirection::forward, window,
                   match);
}

std::wstring countText(std::size_t count)
{
    return L"Replaced " + std::to_wstring(count) +
           (count == 1 ? L" occurrence." : L" occurrences.");
}

std::wstring tooLongAfterReplacing(std::size_t count)
{
    return L"Replacing the " + std::to_wstring(count) +
           L" occurrences would make the text longer than the editor holds (" +
           std::to_wstring(maxTextLength) + L" characters). Nothing was replaced.";
}

// What Replace all is about to do, for the document's record: the places and what was found.
std::shared_ptr<const Substitution> substitutionOf(std::wstring_view original,
                                                   const Occurrences& found,
                                                   const TextSearch& search, std::size_t n,
                                                   const std::wstring& with)
{
    auto substitution = std::make_shared<Substitution>();
    substitution->places.reserve(found.count);
    substitution->found.reserve(found.count * n);
    for (std::size_t at = found.start; at != noMatch; at = search.forward(original, at + n)) {
        substitution->places.push_back(at - found.start);
        substitution->found.append(original.substr(at, n));
    }
    substitution->foundLength = n;
    substitution->replacement = with;
    substitution->before = found.end - found.start;
    substitution->after = replacedEnd(found, n, with.size()) - found.start;
    return substitution;
}

// Every occurrence replaced in one replacement of the stretch from the first to the last, so
// that one Undo takes the whole of it back. The text is copied once and rewritten in place: the
// replacement has to be one text, and two copies of a large document would cost twice the memory.
void replaceEverywhere(HWND window)
{
    SearchRequest request;
    if (!takeRequest(window, request))
        return;
    const std::wstring with = windowText(GetDlgItem(window, replaceWithEditId));
    const HWND edit = Editor.editControl;
    const auto length = std::size_t(GetWindowTextLengthW(edit));
    LocalText text(length);
    if (!text.data()) {
        showUnreadable(window);
        return;
    }
    GetWindowTextW(edit, text.data(), int(length + 1));
    const TextSearch search(request.needle, request.matchCase ? nullptr : &platformCaseFold());
    const std::size_t n = request.needle.size();
    const Occurrences found = occurrencesOf({text.data(), length}, search, n);
    if (found.count == 0) {
        MessageBoxW(window, L"Searched string was not found in this document.", productName.c_str(),
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!replacedLength(length, found.count, n, with.size())) {
        tellUser(window, tooLongAfterReplacing(found.count), MB_ICONERROR);
        return;
    }
    const std::size_t end = replacedEnd(found, n, with.size());
    if (end > length && !text.grow(end)) {
        showUnreadable(window);
        return;
    }
    Document.edits().expect(found.start,
                            substitutionOf({text.data(), found.end}, found, search, n, with));
    replaceInPlace(text.data(), found, search, n, with);
    text.data()[end] = L'\0';
    SendMessageW(edit, EM_SETSEL, WPARAM(found.start), LPARAM(found.end));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.data() + found.start));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    MessageBoxW(window, countText(found.count).c_str(), productName.c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void onCommand(HWND hwnd, WPARAM wParam)
{
    switch (wParam) {
    case replaceFindNextId:
        findNext(hwnd);
        break;
    case replaceButtonId:
        replaceOne(hwnd);
        break;
    case replaceAllId:
        replaceEverywhere(hwnd);
        break;
    case replaceCancelId:
        DestroyWindow(hwnd); // its WM_DESTROY hands activation back to the main window
        return;
    default:
        return;
    }
    // Ready for the next word, whether the action was pressed, clicked or told of its outcome.
    SetFocus(GetDlgItem(hwnd, replaceFindEditId));
}

void createControls(HWND window)
{
    // Row by row, each label just before its box.
    createChild(window, L"static", L"Fi&nd what:", labelStyle, {10, 10, labelWidth, controlHeight},
                0);
    const HWND findBox = createChild(window, L"edit", L"", boxStyle,
                                     {boxX, 10, boxWidth, controlHeight}, replaceFindEditId);
    createChild(window, L"button", L"&Find next", stopStyle | BS_DEFPUSHBUTTON,
                {buttonX, 10, buttonWidth, controlHeight}, replaceFindNextId);
    createChild(window, L"static", L"Re&place with:", labelStyle,
                {10, 40, labelWidth, controlHeight}, 0);
    createChild(window, L"edit", L"", boxStyle, {boxX, 40, boxWidth, controlHeight},
                replaceWithEditId);
    createChild(window, L"button", L"&Replace", stopStyle,
                {buttonX, 40, buttonWidth, controlHeight}, replaceButtonId);
    createChild(window, L"button", L"Match &case", stopStyle | BS_AUTOCHECKBOX,
                {10, 70, 150, controlHeight}, replaceMatchCaseId);
    createChild(window, L"button", L"Replace &all", stopStyle,
                {buttonX, 70, buttonWidth, controlHeight}, replaceAllId);
    createChild(window, L"button", L"Cancel", stopStyle, {buttonX, 100, buttonWidth, controlHeight},
                replaceCancelId);
    // What the last search looked for, ready to be replaced.
    SetWindowTextW(findBox, lastSearch.needle.c_str());
    CheckDlgButton(window, replaceMatchCaseId, lastSearch.matchCase ? BST_CHECKED : BST_UNCHECKED);
    SetFocus(findBox);
    SendMessageW(findBox, EM_SETSEL, 0, -1);
}

} // namespace

void openReplaceWindow(HWND owner)
{
    if (const HWND window = openToolWindow(openWindow, replaceWindowClassName,
                                           L"Replace string in document", width, height, owner))
        createControls(window);
}

LRESULT CALLBACK replaceWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return toolWindowMessage(hwnd, message, wParam, lParam, onCommand);
}
