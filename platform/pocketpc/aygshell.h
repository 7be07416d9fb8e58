// The handheld's shell services (menu bars, full-screen dialogs, the soft
// input panel, tap-and-hold), with the handheld's names, record layouts and
// flag values, so that calling code reads as it does on the device. On the
// desktop they present a 240 x 320 device screen: a navigation bar on top, a
// menu bar at the bottom, the work area between them.
#pragma once
#include <windows.h>

// ---- device screen ---------------------------------------------------------
enum {
    DEVICE_SCREEN_WIDTH = 240,
    DEVICE_SCREEN_HEIGHT = 320,
    DEVICE_NAVBAR_HEIGHT = 26,
    DEVICE_MENUBAR_HEIGHT = 26,
};

// The work area between the navigation bar and the menu bar, in screen pixels.
RECT deviceWorkArea();

// DialogBoxParamW and CreateDialogParamW as the handheld makes the dialogs:
// a template's "System" font is the device's Tahoma, whatever the desktop
// maps "System" to, so that the screens keep their size in pixels.
INT_PTR deviceDialogBox(HINSTANCE instance, const wchar_t* name, HWND owner, DLGPROC procedure, LPARAM param);
HWND deviceCreateDialog(HINSTANCE instance, const wchar_t* name, HWND owner, DLGPROC procedure, LPARAM param);

// ---- menu bars -------------------------------------------------------------
#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010

struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;  // menu-bar template (RCDATA) id
    HINSTANCE hInstRes;
    int nBmpId;       // image strip (16-pixel-wide images)
    int cBmpImages;
    HWND hwndMB;      // out: the menu bar
    COLORREF clrBk;
};
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// ---- full-screen dialogs ---------------------------------------------------
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_FULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_SIZEDLGFULLSCREEN (SHIDIF_SIZEDLG | SHIDIF_FULLSCREEN)

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
BOOL SHInitDialog(SHINITDLGINFO* info);

// ---- full-screen state -----------------------------------------------------
#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020
BOOL SHFullScreen(HWND window, DWORD state);

// ---- soft input panel ------------------------------------------------------
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225

// The handheld's 48-byte record: its image-data pointer is 32 bits there, so
// it is kept as a 32-bit value here for the record to keep its size.
struct SIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize;
    DWORD pvImData;
};
static_assert(sizeof(SIPINFO) == 48, "SIPINFO keeps the handheld's 48 bytes");
BOOL SHSipInfo(UINT action, UINT param, void* info, UINT winIni);

enum SIPSTATE { SIP_UP = 0, SIP_DOWN, SIP_FORCEDOWN, SIP_UNCHANGED, SIP_INPUTDIALOG };
BOOL SHSipPreference(HWND window, SIPSTATE state);

// ---- activation and setting changes ----------------------------------------
struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);

// ---- tap-and-hold ----------------------------------------------------------
#define SHRG_RETURNCMD 0x00000001
#define SHRG_NOTIFYPARENT 0x00000002
#define SHRG_LONGDELAY 0x00000008
#define GN_CONTEXTMENU 1000

struct SHRGINFO {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown;
    DWORD dwFlags;
};
DWORD SHRecognizeGesture(SHRGINFO* info);

// ---- platform programs -----------------------------------------------------
// Starts one of the handheld's programs with a command line, as the device's
// process creation does: "PegHelp.exe" opens the help file at its topic,
// "iexplore.exe" opens the address. The desktop hands both to its own handler.
// The outcome is not reported, as on the device.
void SHStartProgram(const wchar_t* program, const wchar_t* commandLine);
