// The part of the Win32 API that the editor uses, with Windows' names, types and values, for the
// Linux build, where platform/qt implements it on Qt. The Win32 documentation is the reference;
// a "Layer:" line marks where this implementation differs from Windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Types.
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef short SHORT;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef int INT;
typedef long LONG; // Layer: pointer-sized, so SetWindowLongW(GWL_WNDPROC) round-trips a procedure.
typedef long LONG_PTR;
typedef unsigned long ULONG_PTR;
typedef unsigned long UINT_PTR;
typedef long long LONGLONG;
typedef ULONG_PTR SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef wchar_t WCHAR; // Layer: 32 bits; text units and edit positions count wchar_t.
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef char CHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef const CHAR* LPCCH;
typedef const WCHAR* LPCWCH;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef HANDLE HLOCAL;
typedef DWORD* LPDWORD;
typedef BOOL* LPBOOL;
typedef std::int32_t HRESULT;
typedef unsigned long long ULONGLONG;
typedef std::uint32_t ULONG;
typedef ULONG* PULONG;

struct HWND__;
struct HMENU__;
struct HFONT__;
struct HICON__;
struct HINSTANCE__;
struct HDC__;
struct HBRUSH__;
struct HDROP__;
struct HACCEL__;
typedef HWND__* HWND;
typedef HMENU__* HMENU;
typedef HFONT__* HFONT;
typedef HICON__* HICON;
typedef HICON HCURSOR;
typedef HINSTANCE__* HINSTANCE;
typedef HDC__* HDC;
typedef HBRUSH__* HBRUSH;
typedef HDROP__* HDROP;
typedef HACCEL__* HACCEL;
typedef void* HGDIOBJ;

#define WINAPI
#define CALLBACK
#define APIENTRY

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

inline constexpr WORD LOWORD(ULONG_PTR value)
{
    return WORD(value & 0xFFFF);
}
inline constexpr WORD HIWORD(ULONG_PTR value)
{
    return WORD((value >> 16) & 0xFFFF);
}
inline constexpr LONG MAKELONG(WORD low, WORD high)
{
    return LONG(DWORD(low) | (DWORD(high) << 16));
}
inline constexpr WPARAM MAKEWPARAM(WORD low, WORD high)
{
    return WPARAM(DWORD(MAKELONG(low, high)));
}
inline constexpr LPARAM MAKELPARAM(WORD low, WORD high)
{
    return LPARAM(MAKELONG(low, high));
}
inline LPWSTR MAKEINTRESOURCEW(WORD id)
{
    return reinterpret_cast<LPWSTR>(ULONG_PTR(id));
}

// Windows and classes.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ENDSESSION = 0x0016;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_IME_COMPOSITION = 0x010F;
constexpr UINT WM_IME_CHAR = 0x0286;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT WM_HOTKEY = 0x0312;
constexpr UINT WM_USER = 0x0400;

constexpr WPARAM SC_CLOSE = 0xF060;

constexpr LPARAM ENDSESSION_CLOSEAPP = 0x00000001;
constexpr LPARAM ENDSESSION_CRITICAL = 0x40000000;
constexpr LPARAM ENDSESSION_LOGOFF = LPARAM(0x80000000);

constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;

constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_GROUP = 0x00020000;   // children: the same bit as WS_MINIMIZEBOX
constexpr DWORD WS_TABSTOP = 0x00010000; // children: the same bit as WS_MAXIMIZEBOX
constexpr int CW_USEDEFAULT = int(0x80000000);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;

ATOM RegisterClassW(const WNDCLASSW* windowClass);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND GetForegroundWindow();
HWND GetDlgItem(HWND parent, int id);
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Control messages and notifications.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_GETHANDLE = 0x00BD;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_SETLIMITTEXT = 0x00C5;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;

constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_ERRSPACE = 0x0500;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;

constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr LRESULT LB_ERR = -1;

constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;

constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_CENTERIMAGE = 0x0200;

BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Layer: the caret of a multi-line or single-line edit control that has the focus.
BOOL GetCaretPos(LPPOINT point);

// The status bar of the common controls.
struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
constexpr wchar_t STATUSCLASSNAMEW[] = L"msctls_statusbar32";
constexpr UINT SB_SETPARTS = 0x0404;
constexpr UINT SB_GETPARTS = 0x0406;
constexpr UINT SB_SETTEXTW = 0x040B;
constexpr UINT SB_GETTEXTLENGTHW = 0x040C;
constexpr UINT SB_GETTEXTW = 0x040D;
constexpr WORD SBT_NOBORDERS = 0x0100;

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);

// Subclassing.
constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;

LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
LRESULT CallWindowProcW(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

HMENU CreateMenu();
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCWSTR text);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT id, UINT check);  // Layer: MF_BYCOMMAND only.
BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable); // Layer: MF_BYCOMMAND only.
HMENU CreatePopupMenu();
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
// Layer: TPM_RETURNCMD only; the menu shows at (x, y) on the screen until an item is chosen or
// it is dismissed.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);

// The dialog keyboard for a window that is not a dialog: Tab, arrows, mnemonics, Enter, Esc.
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr WORD DC_HASDEFID = 0x534B;
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

BOOL IsDialogMessageW(HWND dialog, LPMSG message);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// Accelerators.
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
typedef ACCEL* LPACCEL;
constexpr BYTE FVIRTKEY = 0x01; // Layer: required; character-code entries are not implemented.
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG message);

// Hot keys.
constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;
constexpr UINT MOD_WIN = 0x0008;
constexpr UINT MOD_NOREPEAT = 0x4000;

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F12 = 0x7B;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PACKET = 0xE7;
// Layer: the modifiers of the input being handled (high bit set while down).
SHORT GetKeyState(int virtualKey);

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND hwnd, int id);

// Message boxes and beeps.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_APPLMODAL = 0x00000000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
BOOL MessageBeep(UINT type);

// Painting.
constexpr LONG_PTR COLOR_MENU = 4;
constexpr LONG_PTR COLOR_WINDOW = 5;
constexpr LONG_PTR COLOR_WINDOWTEXT = 8;
constexpr LONG_PTR COLOR_3DFACE = 15;

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Window text and characters.
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
BOOL SetWindowTextA(HWND hwnd, LPCSTR text); // Layer: bytes are taken as Latin-1.
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size);
int GetWindowTextLengthW(HWND hwnd);
DWORD CharUpperBuffW(LPWSTR text, DWORD length);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);

// Icon.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);

// Message loop.
BOOL GetMessageW(LPMSG message, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);
void PostQuitMessage(int exitCode);

// Timers.
// Layer: a timer needs a window; SetTimer with a null window fails with
// ERROR_INVALID_WINDOW_HANDLE.
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// GDI32.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int FW_EXTRABOLD = 800;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD DEFAULT_CHARSET = 1;
constexpr DWORD OUT_DEFAULT_PRECIS = 0;
constexpr DWORD OUT_OUTLINE_PRECIS = 8;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD DEFAULT_QUALITY = 0;
constexpr DWORD ANTIALIASED_QUALITY = 4;
constexpr DWORD DEFAULT_PITCH = 0;
constexpr DWORD FIXED_PITCH = 1;
constexpr DWORD VARIABLE_PITCH = 2;
constexpr DWORD FF_DONTCARE = 0;
constexpr int LF_FACESIZE = 32;

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName);
BOOL DeleteObject(HGDIOBJ object);

// COMDLG32.
typedef unsigned int (*LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter;
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPWSTR lpstrFile;
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
typedef OPENFILENAMEW* LPOPENFILENAMEW;

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

BOOL GetOpenFileNameW(LPOPENFILENAMEW dialog);
BOOL GetSaveFileNameW(LPOPENFILENAMEW dialog);
DWORD CommDlgExtendedError();

// SHELL32: the command line and files dropped onto a window.
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count);
void DragAcceptFiles(HWND hwnd, BOOL accept);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);
void DragFinish(HDROP drop);

// SHELL32: per-user folders.
// Layer: CSIDL_LOCAL_APPDATA is the XDG state folder ($XDG_STATE_HOME, or ~/.local/state when that
// is unset, empty or relative), CSIDL_APPDATA the XDG config folder ($XDG_CONFIG_HOME, or
// ~/.config). Names inside it may be given in Windows' form: '\\' separates, and
// a program's folder right inside takes the lower-case name Linux programs use (Quenwrite becomes
// quenwrite). Files and folders made inside it are the user's alone (0600 and 0700), as the
// folder's inherited permissions make them on Windows.
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
constexpr int CSIDL_FLAG_CREATE = 0x8000;
constexpr DWORD SHGFP_TYPE_CURRENT = 0;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = HRESULT(0x80004005);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057);

HRESULT SHGetFolderPathW(HWND hwnd, int folder, HANDLE token, DWORD flags, LPWSTR path);

// KERNEL32: files, errors and local memory.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x00000100;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x00000400;
// Layer: FILE_FLAG_BACKUP_SEMANTICS opens a folder, for its information only (no GENERIC_READ or
// GENERIC_WRITE). FILE_FLAG_OPEN_REPARSE_POINT never follows a symbolic link in the last part of
// the name: the link itself opens, for its information only (a link's attributes hold
// FILE_ATTRIBUTE_REPARSE_POINT), and an open that would read or write through it, or create a
// file at it, is refused.
constexpr DWORD FILE_FLAG_BACKUP_SEMANTICS = 0x02000000;
constexpr DWORD FILE_FLAG_OPEN_REPARSE_POINT = 0x00200000;
constexpr DWORD READ_CONTROL = 0x00020000;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(LONG_PTR(-1));

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_HANDLE_DISK_FULL = 39;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_BAD_FILE_TYPE = 222;
constexpr DWORD ERROR_FILE_TOO_LARGE = 223;
constexpr DWORD ERROR_DIRECTORY = 267;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
constexpr DWORD ERROR_UNABLE_TO_REMOVE_REPLACED = 1175;
constexpr DWORD ERROR_UNABLE_TO_MOVE_REPLACEMENT = 1176;
constexpr DWORD ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 = 1177;
constexpr DWORD ERROR_CANCELLED = 1223;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

constexpr std::size_t MAX_PATH = 260;

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};

struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
};

using PSECURITY_DESCRIPTOR = LPVOID;
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
struct OVERLAPPED;

// ADVAPI32: a security descriptor from its text form, freed with LocalFree. Layer: only
// "D:P(A;;FA;;;OW)", the file for its owner alone, which CreateFileW makes with mode 0600.
constexpr DWORD SDDL_REVISION_1 = 1;
BOOL ConvertStringSecurityDescriptorToSecurityDescriptorW(LPCWSTR text, DWORD revision,
                                                          PSECURITY_DESCRIPTOR* descriptor,
                                                          PULONG size);

// Layer: share mode 0 holds an advisory lock (flock) for as long as the file is open, which other
// opens with share mode 0 meet as ERROR_SHARING_VIOLATION; other share modes are not enforced.
// Desired access without GENERIC_READ or GENERIC_WRITE opens for the file's information only
// (OPEN_EXISTING), also without read permission, and holds no lock.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, OVERLAPPED* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, OVERLAPPED* overlapped);
BOOL FlushFileBuffers(HANDLE file);
BOOL CloseHandle(HANDLE object);
BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size);
constexpr DWORD FILE_TYPE_UNKNOWN = 0x0000;
constexpr DWORD FILE_TYPE_DISK = 0x0001;
constexpr DWORD FILE_TYPE_CHAR = 0x0002;
constexpr DWORD FILE_TYPE_PIPE = 0x0003;
// Layer: a regular file and a folder are FILE_TYPE_DISK, a character device FILE_TYPE_CHAR, a
// FIFO and a socket FILE_TYPE_PIPE; anything else (a block device) FILE_TYPE_UNKNOWN.
DWORD GetFileType(HANDLE file);
// Layer: the volume serial number and file index are the device and inode numbers, cut to 32 and
// 64 bits.
BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information);
enum FILE_INFO_BY_HANDLE_CLASS { FileBasicInfo = 0 };
struct FILE_BASIC_INFO {
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    DWORD FileAttributes;
};
// Layer: FileBasicInfo only; the change time is the inode's (st_ctime), which no program can set
// back; the creation time is not kept (0).
BOOL GetFileInformationByHandleEx(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                  DWORD size);
DWORD GetFileAttributesW(LPCWSTR name);
constexpr DWORD FILE_NAME_NORMALIZED = 0x0;
constexpr DWORD VOLUME_NAME_DOS = 0x0;
// Layer: the path the descriptor stands for, symbolic links resolved, without the \\?\ prefix.
DWORD GetFinalPathNameByHandleW(HANDLE file, LPWSTR path, DWORD size, DWORD flags);
BOOL CreateDirectoryW(LPCWSTR name, SECURITY_ATTRIBUTES* security);
// Layer: the pattern's wildcards (* and ?) are matched in the last part of the name only.
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* found);
BOOL FindClose(HANDLE search);
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR replacement, DWORD flags);
BOOL ReplaceFileW(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags,
                  LPVOID exclude, LPVOID reserved);
BOOL DeleteFileW(LPCWSTR name);
DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
DWORD GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart);
DWORD GetLastError();
void SetLastError(DWORD error);
constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_MOVEABLE = 0x0002;

// Layer: blocks are fixed (LMEM_FIXED), and LocalReAlloc needs LMEM_MOVEABLE: it never grows one
// in place.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags);
HLOCAL LocalFree(HLOCAL memory);
// Layer: only the handle of a multi-line edit control's text (EM_GETHANDLE) is movable; any other
// block is fixed and locks to itself.
LPVOID LocalLock(HLOCAL memory);
BOOL LocalUnlock(HLOCAL memory);

// KERNEL32: text conversion. Layer: code pages 1252 and CP_UTF8 only. WCHAR is 32 bits, so a
// character outside the basic plane is one unit; a surrogate pair in the input still counts as
// one character. Without WC_NO_BEST_FIT_CHARS 1252 substitutes no look-alikes: a character it
// lacks becomes the default character and is reported, as with the flag.
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH multiByte, int byteCount, LPWSTR wide,
                        int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideCount, LPSTR multiByte,
                        int byteCount, LPCCH defaultChar, LPBOOL usedDefaultChar);
// Layer: not a Windows name. The line break of the system's own text files, which is CR LF on
// Windows (platform/win32.h says so there) and LF alone here.
inline constexpr wchar_t systemLineBreak[] = L"\n";

// ADVAPI32: who owns a file and who may use it. Layer: a user is S-1-22-1-<uid>, a group
// S-1-22-2-<gid>, and the other users are Everyone (S-1-1-0). A file's DACL holds an allowing
// ACE for each of its owner, its group and Everyone whose permission bits grant anything; read
// gives FILE_READ_DATA, write FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD, execute
// FILE_EXECUTE; the owner also READ_CONTROL | WRITE_DAC.
typedef DWORD ACCESS_MASK;
typedef DWORD SECURITY_INFORMATION;
typedef void* PSID;
typedef void* PSECURITY_DESCRIPTOR;
struct ACL {
    BYTE AclRevision;
    BYTE Sbz1;
    WORD AclSize;
    WORD AceCount;
    WORD Sbz2;
};
typedef ACL* PACL;
struct ACE_HEADER {
    BYTE AceType;
    BYTE AceFlags;
    WORD AceSize;
};
struct ACCESS_ALLOWED_ACE {
    ACE_HEADER Header;
    ACCESS_MASK Mask;
    DWORD SidStart;
};
struct SID_AND_ATTRIBUTES {
    PSID Sid;
    DWORD Attributes;
};
struct TOKEN_USER {
    SID_AND_ATTRIBUTES User;
};
enum SE_OBJECT_TYPE { SE_UNKNOWN_OBJECT_TYPE = 0, SE_FILE_OBJECT = 1 };
enum TOKEN_INFORMATION_CLASS { TokenUser = 1 };
enum WELL_KNOWN_SID_TYPE { WinLocalSystemSid = 22, WinBuiltinAdministratorsSid = 26 };
constexpr SECURITY_INFORMATION OWNER_SECURITY_INFORMATION = 0x00000001;
constexpr SECURITY_INFORMATION DACL_SECURITY_INFORMATION = 0x00000004;
constexpr BYTE ACCESS_ALLOWED_ACE_TYPE = 0x0;
constexpr BYTE ACCESS_DENIED_ACE_TYPE = 0x1;

// Layer: only SE_FILE_OBJECT handles, and only the owner and the DACL; the descriptor is one
// block, freed with LocalFree.
DWORD GetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION information,
                      PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                      PSECURITY_DESCRIPTOR* descriptor);
// Layer: as GetSecurityInfo, for the file the name leads to.
DWORD GetNamedSecurityInfoW(LPCWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION information,
                            PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                            PSECURITY_DESCRIPTOR* descriptor);
constexpr DWORD TOKEN_QUERY = 0x0008;
HANDLE GetCurrentProcess();
// Layer: the current process's token only, closed with CloseHandle.
BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token);
// Layer: TokenUser only.
BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS type, LPVOID information, DWORD size,
                         DWORD* needed);
BOOL EqualSid(PSID a, PSID b);
BOOL IsWellKnownSid(PSID sid, WELL_KNOWN_SID_TYPE type);
BOOL GetAce(PACL acl, DWORD index, LPVOID* ace);

// KERNEL32: memory.
struct MEMORYSTATUSEX {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    ULONGLONG ullTotalPhys;
    ULONGLONG ullAvailPhys;
    ULONGLONG ullTotalPageFile;
    ULONGLONG ullAvailPageFile;
    ULONGLONG ullTotalVirtual;
    ULONGLONG ullAvailVirtual;
    ULONGLONG ullAvailExtendedVirtual;
};
// Layer: the physical memory from the system's own count of what is available; the address
// space of a 64-bit process is taken as free.
BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX* status);

// KERNEL32: time and the process.
DWORD GetTickCount();
void GetSystemTimeAsFileTime(FILETIME* time);
BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
BOOL FileTimeToSystemTime(const FILETIME* time, SYSTEMTIME* system);
void GetLocalTime(SYSTEMTIME* time);
DWORD GetCurrentProcessId();

// Entry point, defined by the editor.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
