// The document searched from a place in it, round its end, with the text in place.
#include "search/find_next.h"

#include "editor/editor.h"
#include "editor/globals.h"
#include "search/case_fold.h"
#include "search/document_text.h"
#include "search/find_dialog.h"
#include "search/text_search.h"

#include <algorithm>

namespace {

struct Hit {
    std::size_t start = noMatch;
    bool wrapped = false;
};

// The second search, round the end, reads only as far as it takes to reach the first one's
// starting place again, so a miss costs one pass over the text.
Hit locate(std::wstring_view text, const SearchRequest& request, std::size_t from,
           SearchDirection direction)
{
    const TextSearch search(request.needle, request.matchCase ? nullptr : &platformCaseFold());
    const std::size_t reach = request.needle.empty() ? 0 : request.needle.size() - 1;
    if (direction == SearchDirection::forward) {
        const std::size_t found = search.forward(text, from);
        if (found != noMatch)
            return {found, false};
        const std::size_t limit = std::min(text.size(), from + reach);
        return {search.forward(text.substr(0, limit), 0), true};
    }
    from = std::min(from, text.size());
    const std::size_t found = search.backward(text, from);
    if (found != noMatch)
        return {found, false};
    const std::size_t base = from > reach ? from - reach : 0;
    const std::size_t last = search.backward(text.substr(base), text.size());
    return {last == noMatch ? noMatch : base + last, true};
}

HWND windowOf(HWND control)
{
    return reinterpret_cast<HWND>(GetWindowLongW(control, GWL_HWNDPARENT));
}

} // namespace

TextRange selectionOf(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

bool searchDocument(const SearchRequest& request, std::size_t from, SearchDirection direction,
                    HWND owner, TextRange& match)
{
    Hit hit;
    bool readable = false;
    {
        const DocumentText document(Editor.editControl);
        readable = document.readable();
        if (readable)
            hit = locate(document.text(), request, from, direction);
    }
    if (!readable) {
        showUnreadable(owner);
        return false;
    }
    if (hit.start == noMatch) {
        MessageBoxW(owner, L"Searched string was not found in this document.", productName.c_str(),
                    MB_OK | MB_ICONINFORMATION);
        return false;
    }
    // The beep says the match lies back round the end, before where the search began.
    if (hit.wrapped)
        MessageBeep(MB_OK);
    match = {hit.start, hit.start + request.needle.size()};
    SendMessageW(Editor.editControl, EM_SETSEL, WPARAM(match.start), LPARAM(match.end));
    SendMessageW(Editor.editControl, EM_SCROLLCARET, 0, 0);
    return true;
}

void findAgain(HWND main, SearchDirection direction)
{
    if (lastSearch.needle.empty()) {
        // F3 pressed again in a Find window that has searched for nothing yet stays there.
        if (IsWindow(FindDialog.findEdit)) {
            SetActiveWindow(windowOf(FindDialog.findEdit));
            SetFocus(FindDialog.findEdit);
        } else {
            openFindWindow(main);
        }
        return;
    }
    const TextRange selection = selectionOf(Editor.editControl);
    const std::size_t from =
        direction == SearchDirection::forward ? selection.end : selection.start;
    TextRange match;
    if (searchDocument(lastSearch, from, direction, main, match))
        FindDialog.startPosition = int(match.end);
}
