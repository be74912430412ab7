// The document's text read in place, without a copy: the edit control's own buffer, locked for
// as long as the object lives (EM_GETHANDLE, LocalLock). Nothing may be sent to the control
// meanwhile, so a caller reads what it needs, lets the object go, and only then acts.
#pragma once

#include "platform/win32.h"

#include <string_view>

class DocumentText {
public:
    explicit DocumentText(HWND edit);
    ~DocumentText();
    DocumentText(const DocumentText&) = delete;
    DocumentText& operator=(const DocumentText&) = delete;

    // False when the text could not be had (the memory for it ran out).
    bool readable() const { return text_ != nullptr; }
    std::wstring_view text() const { return {text_ ? text_ : L"", length_}; }

private:
    HLOCAL handle_ = nullptr;
    const wchar_t* text_ = nullptr;
    std::size_t length_ = 0;
};

// Tells the user that the document could not be searched, in a box owned by owner.
void showUnreadable(HWND owner);
