// What the home-screen host and its items share: the item record, the host's
// messages and the two entry points an item library exports by ordinal. The
// names, numbers and record layouts are the handheld's, so that the host and
// Zentavo read as they do on the device.
#pragma once
#include <windows.h>

#ifndef RC_INVOKED
#include <cstddef>
#endif

// ---- entry points, exported by ordinal only --------------------------------
#define ORDINAL_INITIALIZEITEM 240
#define ORDINAL_OPTIONSDIALOGPROC 241

// The options dialog of an item library is its template 500.
#define IDD_TODAY_CUSTOM 500

// ---- dialog templates ------------------------------------------------------
// The extended style of a pop-up whose caption carries an OK button.
#define WS_EX_CAPTIONOKBTN 0x80000000L

// ---- messages --------------------------------------------------------------
// Host to item: drop cached data and reload; the answer is ignored.
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)
// Host to item, wParam the item's TODAYLISTITEM: has anything changed? The
// item answers TRUE when the host is to lay it out and redraw it, and may
// change cyp meanwhile.
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243)
// Item to host: paint the home screen's background into the item.
#define TODAYM_DRAWWATERMARK (WM_USER + 101)

#define MAX_ITEMNAME 32

// Resource scripts take the numbers above; the records are for code.
#ifndef RC_INVOKED

// ---- the item record -------------------------------------------------------

enum TODAYLISTITEMTYPE {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,  // 4: an item drawn by its own library
    tlitNil
};

// The host fills one per item and keeps it for the item's life; the item
// reads fEnabled and hinstDLL and writes its height into cyp.
struct TODAYLISTITEM {
    WCHAR szName[MAX_ITEMNAME];
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;
    DWORD cyp;            // the item's height in pixels, set by the item
    BOOL fEnabled;
    BOOL fOptions;        // the item offers an options dialog
    DWORD grfFlags;
    WCHAR szDLLPath[MAX_PATH];
    HINSTANCE hinstDLL;
    HWND hwndCustom;      // the item's window, kept by the host
    BOOL fSizeOnDraw;
    BYTE* prgbCachedData;
    DWORD cbCachedData;
};

static_assert(offsetof(TODAYLISTITEM, cyp) == 72 && offsetof(TODAYLISTITEM, szDLLPath) == 88 &&
                  offsetof(TODAYLISTITEM, hinstDLL) == 88 + MAX_PATH * sizeof(WCHAR),
              "TODAYLISTITEM keeps the handheld's field order");

// lParam of TODAYM_DRAWWATERMARK: the device context to paint into, the
// rectangle in the item's client coordinates, and the item's window.
struct TODAYDRAWWATERMARKINFO {
    HDC hdc;
    RECT rc;
    HWND hwnd;
};

// ---- the entry points' types -----------------------------------------------
typedef HWND (*PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM* item, HWND parent);
typedef INT_PTR (CALLBACK* PFNCUSTOMOPTIONSDLGPROC)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif  // RC_INVOKED
