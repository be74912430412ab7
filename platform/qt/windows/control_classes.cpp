// The system control classes ("edit", "Button", "Static", "Listbox" and the status bar) and what
// they share: notifications to the parent window.
#include "platform/qt/windows/window_p.h"

namespace platform {

namespace {

const std::vector<WindowClass>& systemClasses()
{
    static const std::vector<WindowClass> classes = {
        {L"edit", editClassProc, nullptr, nullptr, nullptr, createEditWidget},
        {L"Button", buttonClassProc, nullptr, nullptr, nullptr, createButtonWidget},
        {L"Static", staticClassProc, nullptr, nullptr, nullptr, createStaticWidget},
        {L"Listbox", listBoxClassProc, nullptr, nullptr, nullptr, createListBoxWidget},
        {STATUSCLASSNAMEW, statusBarClassProc, nullptr, nullptr, nullptr, createStatusBarWidget},
    };
    return classes;
}

} // namespace

const WindowClass* findSystemClass(const wchar_t* name)
{
    for (const WindowClass& windowClass : systemClasses()) {
        if (sameClassName(windowClass, name))
            return &windowClass;
    }
    return nullptr;
}

void notifyParent(HWND control, WORD code)
{
    if (!live(control) || !live(control->parent))
        return;
    SendMessageW(control->parent, WM_COMMAND, MAKEWPARAM(WORD(control->id), code),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace platform
