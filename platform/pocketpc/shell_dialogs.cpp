// Full-screen dialogs, the full-screen state, the activation and
// setting-change handlers and tap-and-hold recognition.
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_internal.h"
#include "platform/pocketpc/device_test.h"

namespace {

const DWORD kHoldMilliseconds = 500;
const int kHoldTolerance = 5;

}  // namespace

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (info == nullptr || (info->dwMask & SHIDIM_FLAGS) == 0 || !IsWindow(info->hDlg)) return FALSE;
    deviceInstallHooks();
    deviceEnsureNavigationBar();
    HWND dialog = info->hDlg;
    SetPropW(dialog, kInitFlagsProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(info->dwFlags | 0x80000000u)));
    if (info->dwFlags & SHIDIF_DONEBUTTON) SetPropW(dialog, kDoneProperty, reinterpret_cast<HANDLE>(1));
    if (info->dwFlags & (SHIDIF_FULLSCREEN | SHIDIF_SIZEDLG)) {
        // The caption moves to the navigation bar; the dialog fills the work area.
        LONG style = GetWindowLongW(dialog, GWL_STYLE) & ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU);
        SetWindowLongW(dialog, GWL_STYLE, style);
        LONG exStyle = GetWindowLongW(dialog, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
        SetWindowLongW(dialog, GWL_EXSTYLE, exStyle);
        RECT work = deviceWorkArea();
        SetWindowPos(dialog, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (info->dwFlags & SHIDIF_SIPDOWN) deviceSetSip(false);
    deviceRefreshNavigationBar();
    return TRUE;
}

DWORD deviceInitDialogFlags(HWND dialog) {
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(GetPropW(dialog, kInitFlagsProperty))) & 0x7FFFFFFFu;
}

BOOL SHFullScreen(HWND window, DWORD state) {
    if (!IsWindow(window)) return FALSE;
    SetPropW(window, kFullScreenProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(state | 0x80000000u)));
    HWND bar = deviceFindOwnWindow(kNavigationBarClass);
    if (bar != nullptr) {
        if (state & SHFS_HIDETASKBAR) ShowWindow(bar, SW_HIDE);
        if (state & SHFS_SHOWTASKBAR) ShowWindow(bar, SW_SHOWNOACTIVATE);
    }
    return TRUE;
}

DWORD deviceFullScreenState(HWND window) {
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(GetPropW(window, kFullScreenProperty))) & 0x7FFFFFFFu;
}

// Remembers the soft keyboard's state when the window loses the activation
// and brings it back when the window is activated again.
BOOL SHHandleWMActivate(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* info, DWORD) {
    if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) return FALSE;
    if (LOWORD(wParam) == WA_INACTIVE) {
        info->fSipUp = deviceSipIsUp() ? 1 : 0;
        info->fSipOnDeactivation = 1;
        info->fActive = 0;
    } else {
        if (info->fSipOnDeactivation) deviceSetSip(info->fSipUp != 0);
        info->fActive = 1;
    }
    deviceRefreshNavigationBar();
    return TRUE;
}

BOOL SHHandleWMSettingChange(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* info) {
    if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) return FALSE;
    if (wParam == SPI_SETSIPINFO && info->fActive) info->fSipUp = deviceSipIsUp() ? 1 : 0;
    return TRUE;
}

// A tap-and-hold: the button stays down about half a second without moving.
// A right press counts at once (the device has no right button).
DWORD SHRecognizeGesture(SHRGINFO* info) {
    if (info == nullptr || info->cbSize != sizeof(SHRGINFO) || !IsWindow(info->hwndClient)) return 0;
    if (deviceTakePendingHold()) return GN_CONTEXTMENU;
    HWND client = info->hwndClient;
    SetCapture(client);
    UINT_PTR timer = SetTimer(nullptr, 0, kHoldMilliseconds, nullptr);
    DWORD result = 0;
    MSG message;
    bool waiting = true;
    while (waiting && GetMessageW(&message, nullptr, 0, 0)) {
        switch (message.message) {
        case WM_TIMER:
            if (message.hwnd == nullptr && message.wParam == timer) {
                result = GN_CONTEXTMENU;
                waiting = false;
                continue;
            }
            break;
        case WM_LBUTTONUP:
        case WM_CANCELMODE:
            waiting = false;
            break;
        case WM_MOUSEMOVE: {
            POINT at = {static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
            MapWindowPoints(message.hwnd, client, &at, 1);
            if (abs(at.x - info->ptDown.x) > kHoldTolerance || abs(at.y - info->ptDown.y) > kHoldTolerance)
                waiting = false;
            break;
        }
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (GetCapture() != client) waiting = false;
    }
    KillTimer(nullptr, timer);
    if (GetCapture() == client) ReleaseCapture();
    if (result != 0 && (info->dwFlags & SHRG_RETURNCMD) == 0) {
        POINT at = info->ptDown;
        ClientToScreen(client, &at);
        SendMessageW(GetParent(client) != nullptr ? GetParent(client) : client, WM_CONTEXTMENU,
                     reinterpret_cast<WPARAM>(client), MAKELPARAM(at.x, at.y));
    }
    return result;
}
