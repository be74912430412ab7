// Searching the document from a place in it, as F3, Shift+F3, the Find window and the Replace
// window do: the next or the previous occurrence, round the end of the document when there is
// none before it, and "not found" only when the document holds none at all.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <string>

struct SearchRequest {
    std::wstring needle;
    bool matchCase = true;
};

// The text last searched for and how, which F3 and Shift+F3 search for again.
extern SearchRequest lastSearch;

enum class SearchDirection { forward, backward };

struct TextRange {
    std::size_t start;
    std::size_t end;
};

// The edit control's selection, start before end.
TextRange selectionOf(HWND edit);

// Searches the document from a position: forward for the first occurrence that starts there or
// later, backward for the last one that ends there or earlier, and round the end of the document
// when there is none. Found, it is selected and scrolled into view, with a beep when the search
// went round, and match receives it. Otherwise the user is told in a box owned by owner (null for
// none) and the result is false.
bool searchDocument(const SearchRequest& request, std::size_t from, SearchDirection direction,
                    HWND owner, TextRange& match);

// F3 and Shift+F3: the last search again, from the selection. Nothing searched for yet, they
// bring up the Find window instead.
void findAgain(HWND main, SearchDirection direction);
