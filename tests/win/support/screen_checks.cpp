#include "tests/win/support/screen_checks.h"

#include <gtest/gtest.h>

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
    SHSipPreference(dialog, SIP_DOWN);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    saveScreenshot(name);
}
