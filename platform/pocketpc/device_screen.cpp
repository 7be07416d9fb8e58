// The device screen: placement of top-level windows in the work area, the
// navigation bar with the foreground screen's title and its "ok" button, and
// the thread hooks that keep both right.
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_internal.h"
#include "platform/pocketpc/device_test.h"

const wchar_t kNavigationBarClass[] = L"DeviceNavigationBar";
const wchar_t kMenuBarClass[] = L"DeviceMenuBar";
const wchar_t kSoftKeyboardClass[] = L"DeviceSoftKeyboard";
const wchar_t kDoneProperty[] = L"DeviceDoneButton";
const wchar_t kFullScreenProperty[] = L"DeviceFullScreen";
const wchar_t kInitFlagsProperty[] = L"DeviceInitFlags";

namespace {

const int kOkButtonWidth = 30;
const UINT kRefreshMessage = WM_APP + 1;
const UINT_PTR kRestackTimer = 1;
const UINT kRestackDelay = 100;

DWORD hookThread = 0;
HHOOK cbtHook = nullptr;
HHOOK getMessageHook = nullptr;
HHOOK callWindowHook = nullptr;
const wchar_t kPlaceProperty[] = L"DevicePlaceInWorkArea";
bool pendingHold = false;
bool captureMessageBoxes = false;
std::vector<ShownMessageBox> shownMessageBoxes;

// A message box: a dialog with the platform's icon (0x440) and text (0xFFFF)
// statics. A screen's labels may have the text's id too, never the icon's.
bool isMessageBox(HWND window) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return lstrcmpW(className, L"#32770") == 0 && GetDlgItem(window, 0x440) != nullptr &&
           GetDlgItem(window, 0xFFFF) != nullptr;
}

// The bar and the soft keyboard stay above every screen. The desktop stacks
// a window shown later above them even so, unless they leave the topmost
// band and come back.
void raiseAboveScreens(HWND window) {
    if (window == nullptr || !IsWindowVisible(window)) return;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

bool isDeviceWindow(HWND window) {
    wchar_t className[32] = L"";
    GetClassNameW(window, className, 32);
    return lstrcmpW(className, kNavigationBarClass) == 0 || lstrcmpW(className, kSoftKeyboardClass) == 0 ||
           lstrcmpW(className, kMenuBarClass) == 0;
}

std::wstring windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void recordMessageBox(HWND box) {
    ShownMessageBox shown;
    shown.owner = GetWindow(box, GW_OWNER);
    shown.caption = windowText(box);
    shown.text = windowText(GetDlgItem(box, 0xFFFF));
    shown.hasOkButton = GetDlgItem(box, IDOK) != nullptr;
    shownMessageBoxes.push_back(shown);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

LRESULT CALLBACK cbtProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        // A top-level application window opens in the work area without a
        // caption: the navigation bar shows its title, as on the device. It
        // is placed when its creation message arrives, after the platform
        // has sized it.
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (create->hwndParent == nullptr && (create->style & (WS_CHILD | WS_POPUP)) == 0)
            SetPropW(reinterpret_cast<HWND>(wParam), kPlaceProperty, reinterpret_cast<HANDLE>(1));
    } else if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (captureMessageBoxes && isMessageBox(window)) recordMessageBox(window);
        deviceRefreshNavigationBar();
    } else if (code == HCBT_DESTROYWND) {
        deviceOwnerDestroyed(reinterpret_cast<HWND>(wParam));
        deviceRefreshNavigationBar();
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

LRESULT CALLBACK callWindowProcedure(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) &&
        (GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD) == 0 && !isDeviceWindow(call->hwnd)) {
        HWND bar = deviceFindOwnWindow(kNavigationBarClass);
        if (bar != nullptr) PostMessageW(bar, kRefreshMessage, 1, 0);
    }
    if (code == HC_ACTION && call->message == WM_CREATE && GetPropW(call->hwnd, kPlaceProperty) != nullptr) {
        RemovePropW(call->hwnd, kPlaceProperty);
        LONG style = GetWindowLongW(call->hwnd, GWL_STYLE) & ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER);
        SetWindowLongW(call->hwnd, GWL_STYLE, style);
        RECT work = deviceWorkArea();
        SetWindowPos(call->hwnd, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return CallNextHookEx(callWindowHook, code, wParam, lParam);
}

// The handheld has no right button: a right press is a tap-and-hold.
LRESULT CALLBACK getMessageProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        if (message->message == WM_RBUTTONDOWN) {
            message->message = WM_LBUTTONDOWN;
            message->wParam = (message->wParam & ~MK_RBUTTON) | MK_LBUTTON;
            pendingHold = true;
        } else if (message->message == WM_RBUTTONUP) {
            message->message = WM_LBUTTONUP;
            message->wParam &= ~MK_RBUTTON;
        }
    }
    return CallNextHookEx(getMessageHook, code, wParam, lParam);
}

void paintNavigationBar(HWND bar) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(bar, &paint);
    RECT client;
    GetClientRect(bar, &client);
    HBRUSH background = CreateSolidBrush(RGB(0, 51, 153));
    FillRect(dc, &client, background);
    DeleteObject(background);

    HWND active = GetActiveWindow();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    if (active != nullptr) {
        std::wstring title = windowText(active);
        RECT textRect = client;
        textRect.left += 6;
        textRect.right -= kOkButtonWidth + 4;
        DrawTextW(dc, title.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        if (GetPropW(active, kDoneProperty) != nullptr) {
            RECT ok = {client.right - kOkButtonWidth - 2, 3, client.right - 2, client.bottom - 3};
            HBRUSH okBrush = CreateSolidBrush(RGB(51, 102, 204));
            FillRect(dc, &ok, okBrush);
            DeleteObject(okBrush);
            FrameRect(dc, &ok, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawTextW(dc, L"ok", -1, &ok, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(bar, &paint);
}

void onNavigationBarTap(HWND bar, int x) {
    RECT client;
    GetClientRect(bar, &client);
    HWND active = GetActiveWindow();
    if (active != nullptr && GetPropW(active, kDoneProperty) != nullptr && x >= client.right - kOkButtonWidth - 2)
        PostMessageW(active, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

LRESULT CALLBACK navigationBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintNavigationBar(bar);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONUP:
        onNavigationBarTap(bar, static_cast<short>(LOWORD(lParam)));
        return 0;
    case kRefreshMessage:
        raiseAboveScreens(bar);
        raiseAboveScreens(deviceFindOwnWindow(kSoftKeyboardClass));
        InvalidateRect(bar, nullptr, TRUE);
        // A screen shown just now reaches the display only once it has
        // painted, and comes out on top there: raise again after that.
        if (wParam != 0) SetTimer(bar, kRestackTimer, kRestackDelay, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == kRestackTimer) {
            KillTimer(bar, kRestackTimer);
            raiseAboveScreens(bar);
            raiseAboveScreens(deviceFindOwnWindow(kSoftKeyboardClass));
        }
        return 0;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

}  // namespace

HWND deviceEnsureNavigationBar() {
    HWND bar = deviceFindOwnWindow(kNavigationBarClass);
    if (bar != nullptr) return bar;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = navigationBarProcedure;
    windowClass.hInstance = deviceModule();
    windowClass.lpszClassName = kNavigationBarClass;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&windowClass);
    bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNavigationBarClass, L"", WS_POPUP,
                          0, 0, DEVICE_SCREEN_WIDTH, DEVICE_NAVBAR_HEIGHT, nullptr, nullptr, deviceModule(), nullptr);
    if (bar != nullptr) ShowWindow(bar, SW_SHOWNOACTIVATE);
    return bar;
}

namespace {

// Several copies of this layer can live in one process (the home-screen host
// and a plug-in it loads): the first one to claim the thread owns its hooks.
bool claimThread() {
    wchar_t name[64];
    wsprintfW(name, L"Local\\DeviceShellHooks-%lu-%lu", GetCurrentProcessId(), GetCurrentThreadId());
    HANDLE claim = CreateMutexW(nullptr, FALSE, name);
    if (claim == nullptr) return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        return false;
    }
    return true;  // kept open for the life of the process
}

const bool hooksAtStart = (deviceInstallHooks(), true);

}  // namespace

RECT deviceWorkArea() {
    RECT work = {0, DEVICE_NAVBAR_HEIGHT, DEVICE_SCREEN_WIDTH, DEVICE_SCREEN_HEIGHT - DEVICE_MENUBAR_HEIGHT};
    return work;
}

HINSTANCE deviceModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&deviceModule), &module);
    return module;
}

HWND deviceFindOwnWindow(const wchar_t* className) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

void deviceInstallHooks() {
    if (hookThread == GetCurrentThreadId() || !claimThread()) return;
    hookThread = GetCurrentThreadId();
    cbtHook = SetWindowsHookExW(WH_CBT, cbtProcedure, nullptr, hookThread);
    getMessageHook = SetWindowsHookExW(WH_GETMESSAGE, getMessageProcedure, nullptr, hookThread);
    callWindowHook = SetWindowsHookExW(WH_CALLWNDPROC, callWindowProcedure, nullptr, hookThread);
}

void deviceRefreshNavigationBar() {
    HWND bar = deviceFindOwnWindow(kNavigationBarClass);
    if (bar != nullptr) PostMessageW(bar, kRefreshMessage, 0, 0);
}

bool deviceTakePendingHold() {
    bool hold = pendingHold;
    pendingHold = false;
    return hold;
}

HWND deviceNavigationBar() { return deviceFindOwnWindow(kNavigationBarClass); }

void deviceCaptureMessageBoxes(bool capture) { captureMessageBoxes = capture; }
const std::vector<ShownMessageBox>& deviceMessageBoxes() { return shownMessageBoxes; }
void deviceClearMessageBoxes() { shownMessageBoxes.clear(); }
