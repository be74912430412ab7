// Noticing that another program changed the document's file since it was opened or saved.
#include "document/file_change.h"

#include "editor/document.h"
#include "editor/globals.h"
#include "files/file_identity.h"

bool mayReplaceFile(HWND window)
{
    // A file that has gone can be written again: no other program's text is lost by that.
    const FileIdentity now = identityOf(Document.filePath());
    if (!now.known || sameState(Document.identity(), now))
        return true;
    const std::wstring question =
        Document.fileName() +
        L" was changed by another program since you opened it. Replace it with your text?";
    MessageBeep(MB_ICONEXCLAMATION);
    return MessageBoxW(window, question.c_str(), productName.c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}
