#include "tests/win/support/screen_checks.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>

#include "platform/pocketpc/aygshell.h"
#include "tests/win/support/win_test.h"

void typeKeepingText(HWND dialog, int id, const std::wstring& keys, const char* name) {
    std::wstring expected = fieldText(dialog, id);
    if (keys.empty()) {
        pressKey(dialog, id, VK_END);
        EXPECT_EQ(expected, fieldText(dialog, id)) << name << ": the edited field was rewritten";
        return;
    }
    for (wchar_t key : keys) {
        if (key == L'\b') {
            if (!expected.empty()) expected.pop_back();
        } else {
            expected.push_back(key);
        }
        typeInto(dialog, id, std::wstring(1, key));
        EXPECT_EQ(expected, fieldText(dialog, id)) << name << ": the edited field was rewritten";
    }
}

COLORREF answeredColour(HWND dialog, UINT message, HWND control) {
    HDC dc = GetDC(dialog);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    ReleaseDC(dialog, dc);
    LOGBRUSH info = {};
    if (brush == nullptr || GetObjectW(brush, sizeof info, &info) == 0) return CLR_INVALID;
    return info.lbColor;
}

void screenshotKeyboardDown(HWND dialog, const wchar_t* name) {
    pumpMessages();  // what the typing left queued first: it may raise the keyboard again
    SHSipPreference(dialog, SIP_DOWN);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    saveScreenshot(name);
}

namespace {

// Expects the text of a label, a push button or a check box or radio button,
// drawn in the control's font, to fit the control (beside its box, if any).
// Pictures, owner-drawn buttons and the other controls are not looked at.
void expectTextFits(HWND control, const char* name, const char* screen) {
    wchar_t className[32] = L"";
    GetClassNameW(control, className, 32);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    bool isStatic = _wcsicmp(className, L"Static") == 0;
    bool isButton = _wcsicmp(className, L"Button") == 0;
    if (!isStatic && !isButton) return;
    LONG kind = style & (isStatic ? SS_TYPEMASK : BS_TYPEMASK);
    bool box = isButton && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                            kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE);
    bool textStatic = isStatic && (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
                                   kind == SS_LEFTNOWORDWRAP);
    if (!box && !textStatic && !(isButton && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON))) return;
    wchar_t text[256] = L"";
    if (GetWindowTextW(control, text, 256) == 0) return;

    RECT client;
    GetClientRect(control, &client);
    int room = client.right - (box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0) - (isButton && !box ? 4 : 0);
    bool wraps = textStatic && kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE;
    RECT needed = {0, 0, room, 0};
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_TRUE(needed.right <= room && needed.bottom <= client.bottom) << screen << ": \"" << name << "\" needs " << needed.right << " x " << needed.bottom
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
