// The numbers the editor passes to the platform, checked against the real SDK on Windows and
// against the layer's subset on Linux.
#include "platform/win32.h"

#include <cstddef>

static_assert(WS_CHILD + WS_VISIBLE + WS_VSCROLL + WS_HSCROLL + ES_NOHIDESEL + ES_MULTILINE ==
              0x50300104);
static_assert((WS_VISIBLE | WS_SYSMENU) == 0x10080000);
static_assert(WS_OVERLAPPEDWINDOW == 0x00CF0000);
static_assert((MB_ICONEXCLAMATION | MB_YESNO) == 52);
static_assert((MB_ICONQUESTION | MB_YESNO) == 36);
static_assert(MB_ICONEXCLAMATION == 48);
static_assert((MB_OK | MB_ICONINFORMATION) == 0x40);
static_assert(MB_ICONERROR == 16);
static_assert(IDYES == 6);
static_assert((SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) == 0x16);
static_assert(MF_POPUP == 0x10 && MF_SEPARATOR == 0x800);
static_assert(MOD_CONTROL == 2 && (MOD_CONTROL | MOD_SHIFT) == 6);
static_assert(EN_SETFOCUS == 0x100 && EN_KILLFOCUS == 0x200 && EN_CHANGE == 0x300);
static_assert(EN_MAXTEXT == 0x501 && LBN_SELCHANGE == 1);
static_assert(EM_SETSEL == 0xB1 && EM_SCROLLCARET == 0xB7 && EM_SETLIMITTEXT == 0xC5);
static_assert(LB_ADDSTRING == 0x180 && LB_SELECTSTRING == 0x18C && LB_SETCURSEL == 0x186 &&
              LB_GETCURSEL == 0x188);
static_assert(WM_SETFONT == 0x30 && WM_HOTKEY == 0x312 && WM_CTLCOLORSTATIC == 0x138);
static_assert(WM_DROPFILES == 0x233 && sizeof(HDROP) == sizeof(void*));
static_assert(GWL_WNDPROC == -4 && GWL_HINSTANCE == -6);
static_assert(COLOR_MENU + 1 == 5 && COLOR_WINDOW + 1 == 6);
static_assert(DEFAULT_CHARSET == 1 && OUT_OUTLINE_PRECIS == 8 && ANTIALIASED_QUALITY == 4 &&
              VARIABLE_PITCH == 2);
static_assert(WS_CHILD + WS_VISIBLE + WS_BORDER == 0x50800000);
static_assert((WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON) == 0x50000001);
static_assert((WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX) == 0x50000003);
static_assert((WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL |
               LBS_SORT | LBS_NOTIFY) == 0x50B01003);
static_assert((WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER) == 0x50800201);
static_assert(CP_UTF8 == 65001 && MB_ERR_INVALID_CHARS == 8 && WC_ERR_INVALID_CHARS == 0x80 &&
              WC_NO_BEST_FIT_CHARS == 0x400);
static_assert(ERROR_NO_UNICODE_TRANSLATION == 1113 && ERROR_INSUFFICIENT_BUFFER == 122 &&
              ERROR_INVALID_FLAGS == 1004 && ERROR_CANCELLED == 1223);
static_assert(WM_INITMENUPOPUP == 0x117 && MF_BYCOMMAND == 0 && MF_CHECKED == 8 &&
              MF_BYPOSITION == 0x400);
static_assert(EM_GETLINECOUNT == 0xBA && EM_LINEINDEX == 0xBB && EM_GETHANDLE == 0xBD &&
              EM_LINEFROMCHAR == 0xC9 && EM_POSFROMCHAR == 0xD6);
static_assert(WM_CUT == 0x300 && WM_COPY == 0x301 && WM_PASTE == 0x302 && WM_CLEAR == 0x303 &&
              WM_UNDO == 0x304);
static_assert(WM_MOUSEMOVE == 0x200 && WM_LBUTTONDOWN == 0x201 && WM_LBUTTONUP == 0x202 &&
              WM_LBUTTONDBLCLK == 0x203);
static_assert(SB_SETPARTS == 0x404 && SB_GETPARTS == 0x406 && SB_SETTEXTW == 0x40B &&
              SB_GETTEXTW == 0x40D && SBT_NOBORDERS == 0x100 && ICC_BAR_CLASSES == 4);
static_assert(sizeof(INITCOMMONCONTROLSEX) == 8);
static_assert(FVIRTKEY == 1 && FSHIFT == 4 && FCONTROL == 8 && VK_F3 == 0x72);
static_assert(sizeof(ACCEL) == 6);
static_assert(MF_UNCHECKED == 0 && LMEM_FIXED == 0 && LMEM_MOVEABLE == 2);
static_assert(FILE_FLAG_OPEN_REPARSE_POINT == 0x00200000 &&
              FILE_FLAG_BACKUP_SEMANTICS == 0x02000000 && FILE_ATTRIBUTE_REPARSE_POINT == 0x400 &&
              READ_CONTROL == 0x00020000);
static_assert(TOKEN_QUERY == 8 && TokenUser == 1 && SE_FILE_OBJECT == 1 &&
              OWNER_SECURITY_INFORMATION == 1 && DACL_SECURITY_INFORMATION == 4);
static_assert(WinLocalSystemSid == 22 && WinBuiltinAdministratorsSid == 26 &&
              ACCESS_ALLOWED_ACE_TYPE == 0 && ACCESS_DENIED_ACE_TYPE == 1);
static_assert(sizeof(ACL) == 8 && sizeof(ACE_HEADER) == 4 &&
              offsetof(ACCESS_ALLOWED_ACE, SidStart) == 8);
