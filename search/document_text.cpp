// The edit control's text in place: a search reads the control's own buffer, so pressing F3 on a
// large document copies nothing.
#include "search/document_text.h"

#include "editor/globals.h"

DocumentText::DocumentText(HWND edit)
{
    // Asked first: once the buffer is locked the control may take no message.
    const int length = GetWindowTextLengthW(edit);
    handle_ = reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0));
    if (!handle_)
        return;
    text_ = static_cast<const wchar_t*>(LocalLock(handle_));
    length_ = text_ && length > 0 ? std::size_t(length) : 0;
}

DocumentText::~DocumentText()
{
    if (text_)
        LocalUnlock(handle_);
}

void showUnreadable(HWND owner)
{
    MessageBoxW(owner, L"There is not enough memory to search this document.", productName.c_str(),
                MB_OK | MB_ICONERROR);
}
