// The undo keys and the word erasers.
#include "app/edit_keys.h"

#include "app/undo.h"
#include "editor/globals.h"
#include "ui/text_range.h"

#include <algorithm>
#include <string>

namespace {

bool isSeparator(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// Reads the text a piece at a time from a position outwards, so that a word is found without
// reading its line.
class Walk {
public:
    Walk(HWND edit, std::size_t position, bool back)
        : edit_(edit), position_(position), back_(back),
          length_(std::size_t(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)))
    {
    }
    std::size_t position() const { return position_; }
    // Moves over characters while they are (or are not) separators.
    void over(bool separators)
    {
        for (;;) {
            if (at_ == piece_.size() && !read())
                return;
            const wchar_t c = piece_[back_ ? piece_.size() - 1 - at_ : at_];
            if (isSeparator(c) != separators)
                return;
            ++at_;
            position_ += back_ ? -1 : 1;
        }
    }

private:
    bool read()
    {
        constexpr std::size_t pieceSize = 256;
        const std::size_t room = back_ ? position_ : length_ - position_;
        const std::size_t count = std::min(pieceSize, room);
        at_ = 0;
        return count > 0 && readText(edit_, back_ ? position_ - count : position_, count, piece_);
    }

    HWND edit_;
    std::size_t position_;
    bool back_;
    std::size_t length_;
    std::wstring piece_;
    std::size_t at_ = 0;
};

// Back to the start of the word before the caret, or on to the start of the next word; a
// selection goes instead.
void eraseWord(HWND edit, bool back)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) {
        Walk walk(edit, start, back);
        walk.over(back);
        walk.over(!back);
        if (walk.position() == start)
            return;
        SendMessageW(edit, EM_SETSEL, std::min<WPARAM>(start, walk.position()),
                     std::max<LPARAM>(start, LPARAM(walk.position())));
    }
    SendMessageW(edit, WM_CLEAR, 0, 0);
}

bool down(int key)
{
    return GetKeyState(key) < 0;
}

} // namespace

std::optional<LRESULT> ownKey(HWND edit, UINT message, WPARAM wParam)
{
    const bool control = down(VK_CONTROL) && !down(VK_MENU);
    const bool shift = down(VK_SHIFT);
    switch (message) {
    case WM_KEYDOWN:
        if (control && (wParam == 'Z' || wParam == 'Y')) {
            if (wParam == 'Z' && !shift)
                undoEdit(mainWindow);
            else
                redoEdit(mainWindow);
            return 0;
        }
        if (control && (wParam == VK_BACK || (wParam == VK_DELETE && !shift))) {
            eraseWord(edit, wParam == VK_BACK);
            return 0;
        }
        if (down(VK_MENU) && wParam == VK_BACK) {
            undoEdit(mainWindow);
            return 0;
        }
        return std::nullopt;
    case WM_SYSKEYDOWN:
        if (wParam != VK_BACK)
            return std::nullopt;
        undoEdit(mainWindow);
        return 0;
    case WM_CHAR:
        // The characters of keys answered above: Ctrl+Z, Ctrl+Y, Ctrl+Backspace.
        return wParam == 0x1A || wParam == 0x19 || wParam == 0x7F ? std::optional<LRESULT>(0)
                                                                  : std::nullopt;
    case WM_SYSCHAR:
        return wParam == VK_BACK ? std::optional<LRESULT>(0) : std::nullopt;
    default:
        return std::nullopt;
    }
}
