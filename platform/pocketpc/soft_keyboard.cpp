// The soft input panel: a keyboard docked above the menu bar while raised.
// Its keys never take the focus; they type into the focused control with real
// key events, so that key releases reach the fields as typed keys do.
#include <string>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_internal.h"
#include "platform/pocketpc/device_test.h"

namespace {

const int kKeyWidth = 20;
const int kKeyHeight = 20;
const int kColumns = 12;
const wchar_t kBackspace = L'\b';

// Four rows of twelve keys; the last row ends with a wide space bar.
const wchar_t* const kRows[] = {
    L"1234567890-\b",
    L"qwertyuiop.,",
    L"asdfghjkl\u00b0'\"",
    L"zxcvbnm     ",
};
const int kRowCount = 4;
const int kSpaceColumn = 7;

RECT panelRect() {
    RECT work = deviceWorkArea();
    RECT rect = {0, work.bottom - kRowCount * kKeyHeight, DEVICE_SCREEN_WIDTH, work.bottom};
    return rect;
}

wchar_t keyAt(int x, int y) {
    int row = y / kKeyHeight;
    int column = x / kKeyWidth;
    if (row < 0 || row >= kRowCount || column < 0 || column >= kColumns) return 0;
    return kRows[row][column];
}

void sendKey(wchar_t key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    if (key == kBackspace) {
        input[0].ki.wVk = input[1].ki.wVk = VK_BACK;
    } else {
        input[0].ki.wScan = input[1].ki.wScan = key;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void paintPanel(HWND panel) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    RECT client;
    GetClientRect(panel, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            wchar_t key = kRows[row][column];
            RECT rect = {column * kKeyWidth + 1, row * kKeyHeight + 1, (column + 1) * kKeyWidth - 1,
                         (row + 1) * kKeyHeight - 1};
            if (key == L' ' && column >= kSpaceColumn) {
                if (column != kSpaceColumn) continue;
                rect.right = kColumns * kKeyWidth - 1;  // one wide space bar
            }
            FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            const wchar_t* label = key == kBackspace ? L"\u2190" : key == L' ' ? L"space" : nullptr;
            wchar_t single[2] = {key, 0};
            DrawTextW(dc, label != nullptr ? label : single, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(panel, &paint);
}

LRESULT CALLBACK panelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintPanel(panel);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN: {
        wchar_t key = keyAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (key != 0) sendKey(key);
        return 0;
    }
    }
    return DefWindowProcW(panel, message, wParam, lParam);
}

HWND createPanel() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = panelProcedure;
    windowClass.hInstance = deviceModule();
    windowClass.lpszClassName = kSoftKeyboardClass;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&windowClass);
    RECT rect = panelRect();
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kSoftKeyboardClass, L"", WS_POPUP,
                           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                           deviceModule(), nullptr);
}

}  // namespace

void deviceSetSip(bool up) {
    HWND panel = deviceFindOwnWindow(kSoftKeyboardClass);
    if (up == (panel != nullptr && IsWindowVisible(panel))) return;
    if (!up) {
        ShowWindow(panel, SW_HIDE);
        return;
    }
    if (panel == nullptr) panel = createPanel();
    if (panel != nullptr)
        SetWindowPos(panel, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool deviceSipIsUp() {
    HWND panel = deviceFindOwnWindow(kSoftKeyboardClass);
    return panel != nullptr && IsWindowVisible(panel);
}

HWND deviceSoftKeyboard() { return deviceFindOwnWindow(kSoftKeyboardClass); }

BOOL SHSipPreference(HWND, SIPSTATE state) {
    switch (state) {
    case SIP_UP:
    case SIP_INPUTDIALOG:
        deviceSetSip(true);
        return TRUE;
    case SIP_DOWN:
    case SIP_FORCEDOWN:
        deviceSetSip(false);
        return TRUE;
    case SIP_UNCHANGED:
        return TRUE;
    }
    return FALSE;
}

BOOL SHSipInfo(UINT action, UINT, void* info, UINT) {
    SIPINFO* sip = static_cast<SIPINFO*>(info);
    if (sip == nullptr || sip->cbSize != sizeof(SIPINFO)) return FALSE;
    if (action == SPI_GETSIPINFO) {
        sip->fdwFlags = SIPF_DOCKED | (deviceSipIsUp() ? SIPF_ON : SIPF_OFF);
        RECT work = deviceWorkArea();
        sip->rcSipRect = panelRect();
        sip->rcVisibleDesktop = work;
        if (deviceSipIsUp()) sip->rcVisibleDesktop.bottom = sip->rcSipRect.top;
        sip->dwImDataSize = 0;
        sip->pvImData = 0;
        return TRUE;
    }
    if (action == SPI_SETSIPINFO) {
        deviceSetSip((sip->fdwFlags & SIPF_ON) != 0);
        return TRUE;
    }
    return FALSE;
}
