// Every global of the editor, defined in one file so that they are built in this order and
// destroyed in the reverse order: the Format text window's state copies the Editor's font.
#include "editor/globals.h"

#include "editor/document.h"
#include "editor/editor.h"
#include "format/font_choice.h"
#include "format/format_dialog.h"
#include "recovery/recovery.h"
#include "search/find_dialog.h"
#include "search/find_next.h"

const std::string settingsFileName = "settings.ini";
std::wstring settingsPath;
const std::wstring productName = L"Quenwrite";
const std::wstring initialTitle;
struct Document Document;

Editor::Editor()
    : fontFamily(L"Courier New"), fontSize(14), fontWeight(0), fontItalic(false),
      editFont(createFontFromChoice(14, 0, false, L"Courier New")), menuBar(CreateMenu()),
      fileMenu(CreateMenu()), helpMenu(CreateMenu()), formatMenu(CreateMenu()),
      editMenu(CreateMenu()), viewMenu(CreateMenu()), encodingMenu(CreateMenu()),
      lineEndMenu(CreateMenu())
{
}

struct Editor Editor;
struct FormatDialog FormatDialog(Editor.fontSize, Editor.fontWeight, Editor.fontItalic,
                                 Editor.fontFamily);
struct FindDialog FindDialog;
SearchRequest lastSearch;
struct Recovery Recovery;
const wchar_t textFileFilter[] = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
HWND mainWindow = nullptr;
bool hotKeysRegistered = false;
RECT windowRect = {0, 0, 0, 0};
