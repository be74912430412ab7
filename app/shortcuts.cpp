// The accelerator table of the Edit menu's commands.
#include "app/shortcuts.h"

#include "app/edit_menu.h"
#include "editor/globals.h"

namespace {

HACCEL shortcuts = nullptr;

} // namespace

void createShortcuts()
{
    ACCEL keys[] = {
        {FVIRTKEY, VK_F3, commandFindNext},
        {FVIRTKEY | FSHIFT, VK_F3, commandFindPrevious},
        {FVIRTKEY | FCONTROL, 'H', commandReplace},
        {FVIRTKEY | FCONTROL, 'G', commandGoTo},
    };
    // Without the table the menu still offers every command.
    shortcuts = CreateAcceleratorTableW(keys, int(std::size(keys)));
}

bool translateShortcut(MSG* message)
{
    // While the Format text window has the main window disabled, its commands are out of reach,
    // the keys as much as the menu.
    return shortcuts && IsWindowEnabled(mainWindow) &&
           TranslateAcceleratorW(mainWindow, shortcuts, message) != 0;
}
