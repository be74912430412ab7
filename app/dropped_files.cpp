// Files dropped onto the main window: the first one opens, as if chosen in the Open dialog.
#include "app/dropped_files.h"

#include "document/open_named.h"

#include <string>

void openDroppedFile(HWND window, HDROP drop)
{
    std::wstring name;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        name.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        name.resize(DragQueryFileW(drop, 0, name.data(), UINT(name.size())));
    }
    // Released before the save question can keep the user busy: the name is copied out.
    DragFinish(drop);
    openNamedFile(window, name);
}
