#include "tests/win/support/screen_checks.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "platform/pocketpc/aygshell.h"
#include "tests/win/support/win_test.h"

namespace {

// Pixels as 0x00RRGGBB of what `draw` paints on white, `width` x `height`
// at the top left of a device-sized canvas.
std::vector<DWORD> pixels(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, DEVICE_SCREEN_WIDTH, -DEVICE_SCREEN_HEIGHT, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, canvas);
    PatBlt(memory, 0, 0, DEVICE_SCREEN_WIDTH, DEVICE_SCREEN_HEIGHT, WHITENESS);
    IntersectClipRect(memory, 0, 0, width, height);
    draw(memory);
    GdiFlush();
    std::vector<DWORD> result(static_cast<DWORD*>(bits),
                              static_cast<DWORD*>(bits) + DEVICE_SCREEN_WIDTH * DEVICE_SCREEN_HEIGHT);
    for (DWORD& pixel : result) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(canvas);
    return result;
}

}  // namespace

::testing::AssertionResult showsScene(HWND window, const std::vector<Piece>& pieces) {
    RECT client;
    GetClientRect(window, &client);
    int width = std::min<int>(client.right, DEVICE_SCREEN_WIDTH),
        height = std::min<int>(client.bottom, DEVICE_SCREEN_HEIGHT);
    HDC screen = GetDC(window);
    std::vector<DWORD> shown =
        pixels(width, height, [&](HDC to) { BitBlt(to, 0, 0, width, height, screen, 0, 0, SRCCOPY); });
    ReleaseDC(window, screen);
    std::vector<DWORD> expected = pixels(width, height, [&](HDC to) {
        for (const Piece& piece : pieces) {
            HBITMAP picture = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(piece.pictureId));
            BITMAP size = {};
            GetObjectW(picture, sizeof size, &size);
            HDC memory = CreateCompatibleDC(to);
            HGDIOBJ old = SelectObject(memory, picture);
            BitBlt(to, piece.left, piece.top, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            DeleteObject(picture);
        }
    });
    long differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) differing += shown[i] != expected[i];
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ";
}

namespace {

// Expects the text of a label (which wraps), a push button or a check box
// or radio button (beside its box), drawn in the control's font, to fit
// the control. Pictures, owner-drawn buttons and other controls are left.
void expectTextFits(HWND control, const char* name, const char* screen) {
    wchar_t className[32] = L"", text[256] = L"";
    GetClassNameW(control, className, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE), kind = style & BS_TYPEMASK;
    const bool label = _wcsicmp(className, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
    const bool isButton = _wcsicmp(className, L"Button") == 0;
    const bool box = isButton && ((kind >= BS_CHECKBOX && kind <= BS_AUTO3STATE) || kind == BS_AUTORADIOBUTTON);
    const bool push = isButton && kind <= BS_DEFPUSHBUTTON;
    if ((!label && !box && !push) || GetWindowTextW(control, text, 256) == 0) return;
    RECT client;
    GetClientRect(control, &client);
    const int room = client.right - (box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : push ? 4 : 0);
    RECT needed = {0, 0, room, 0};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | (label ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_TRUE(needed.right <= room && needed.bottom <= client.bottom)
        << screen << ": \"" << name << "\" needs " << needed.right << " x " << needed.bottom
        << " pixels, its control gives " << room << " x " << client.bottom;
}

// Expects a list's columns side by side within its client area, beside its
// vertical scroll bar when it shows one: no horizontal scrolling.
void expectColumnsFit(HWND control, const char* screen) {
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    if (_wcsicmp(className, WC_LISTVIEWW) != 0) return;
    HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
    int columns = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    int width = 0;
    for (int column = 0; column < columns; ++column)
        width += static_cast<int>(SendMessageW(control, LVM_GETCOLUMNWIDTH, column, 0));
    RECT client;
    GetClientRect(control, &client);
    EXPECT_LE(width, client.right) << screen << ": the list's columns are wider than the list";
    EXPECT_EQ(0, GetWindowLongW(control, GWL_STYLE) & WS_HSCROLL) << screen << ": the list scrolls sideways";
}

}  // namespace

void expectFitsTheDevice(HWND dialog, const char* name) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        RECT place;
        GetWindowRect(control, &place);
        char label[128];
        wchar_t text[64] = L"";
        GetWindowTextW(control, text, 64);
        snprintf(label, sizeof label, "%d %ls", GetDlgCtrlID(control), text);
        EXPECT_TRUE(place.left >= 0 && place.right <= DEVICE_SCREEN_WIDTH && place.bottom <= DEVICE_SCREEN_HEIGHT)
            << name << ": control " << label << " lies at (" << place.left << ", " << place.top << ") - ("
            << place.right << ", " << place.bottom << ")";
        expectTextFits(control, label, name);
        expectColumnsFit(control, name);
    }
}
