#include "tests/win/support/hostile_text.h"

#include <commctrl.h>

const std::vector<HostileInput>& hostileInputs() {
    static const std::vector<HostileInput> inputs = {
        {"300 nines", std::wstring(300, L'9'), true},
        {"control characters", L"\x01\x08\t5\n\r\x1b\x1f\x7f", false},
        {"1e999", L"1e999", true},
        {"-nan", L"-nan", false},
        {"coordinate with degree sign", L"45\u00b030'15.5\"", true},
        {"characters above 127 in the code page", L"\u20ac\u0160\u00a0\u00b0\u00e9\u00ff5", false},
    };
    return inputs;
}

bool looksNotFinite(const std::wstring& text) {
    std::wstring lower = text;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    return lower.find(L"nan") != std::wstring::npos || lower.find(L"inf") != std::wstring::npos;
}

std::string notFiniteTexts(HWND dialog, int exceptId) {
    std::string found;
    wchar_t text[512] = L"", className[32] = L"";
    auto look = [&] {
        if (looksNotFinite(text)) found += "\n    \"" + std::string(text, text + lstrlenW(text)) + "\"";
    };
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(control) == exceptId) continue;
        GetWindowTextW(control, text, 512);
        look();
        GetClassNameW(control, className, 32);
        if (lstrcmpiW(className, L"ListBox") == 0) {
            for (LRESULT line = 0; line < SendMessageW(control, LB_GETCOUNT, 0, 0); ++line) {
                if (SendMessageW(control, LB_GETTEXTLEN, line, 0) >= 512) continue;
                SendMessageW(control, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
                look();
            }
        } else if (lstrcmpiW(className, WC_LISTVIEWW) == 0) {
            for (int cell = 0; cell < 2 * SendMessageW(control, LVM_GETITEMCOUNT, 0, 0); ++cell) {
                ListView_GetItemText(control, cell / 2, cell % 2, text, 512);
                look();
            }
        }
    }
    return found;
}
