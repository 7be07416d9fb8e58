#include "tests/win/support/hostile_text.h"

#include <commctrl.h>

#include <algorithm>

#include "tests/win/support/win_test.h"

namespace {

// The characters 0x80 to 0xFF of the system code page, as a field holds them.
std::wstring codePageHighBytes() {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                                    static_cast<int>(text.size())));
    return text;
}

std::wstring controlCharacters() {
    std::wstring text;
    for (wchar_t c = 1; c < 32; ++c) text += c;
    return text + L"\x7f" L"5";
}

// The control's text, and the items of a box or list or the cells of a list view.
void addTexts(HWND control, std::vector<std::wstring>* texts) {
    wchar_t className[32] = L"", text[512] = L"";
    GetClassNameW(control, className, 32);
    GetWindowTextW(control, text, 512);
    texts->push_back(text);
    bool box = lstrcmpiW(className, L"ComboBox") == 0, list = lstrcmpiW(className, L"ListBox") == 0;
    if (box || list) {
        LRESULT count = SendMessageW(control, box ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            if (SendMessageW(control, box ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0) >= 512) continue;
            SendMessageW(control, box ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            texts->push_back(text);
        }
    } else if (lstrcmpiW(className, WC_LISTVIEWW) == 0) {
        int rows = static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
        for (int cell = 0; cell < rows * 2; ++cell) {
            LVITEMW request = {};
            request.iSubItem = cell % 2;
            request.pszText = text;
            request.cchTextMax = 512;
            SendMessageW(control, LVM_GETITEMTEXTW, cell / 2, reinterpret_cast<LPARAM>(&request));
            texts->push_back(text);
        }
    }
}

}  // namespace

const std::vector<HostileInput>& hostileInputs() {
    static const std::vector<HostileInput> inputs = {
        {"300 nines", std::wstring(300, L'9'), kTypedOnce | kEntered},
        {"control characters set as text", controlCharacters(), kEntered},
        {"1e999", L"1e999", kTypedOnce | kEntered},
        {"-nan", L"-nan", kEntered},
        {"coordinate with degree sign", L"45\u00b030'15.5\"", kTypedOnce},
        {"bytes 0x80 to 0xFF of the system code page", codePageHighBytes(), kEntered},
    };
    return inputs;
}

bool looksNotFinite(const std::wstring& text) {
    std::wstring lower = text;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    return lower.find(L"nan") != std::wstring::npos || lower.find(L"inf") != std::wstring::npos;
}

std::string notFiniteTexts(HWND dialog, const std::vector<int>& exceptIds) {
    std::vector<std::wstring> texts;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT))
        if (std::find(exceptIds.begin(), exceptIds.end(), GetDlgCtrlID(control)) == exceptIds.end())
            addTexts(control, &texts);
    std::string found;
    for (const std::wstring& text : texts)
        if (looksNotFinite(text)) found += "\n    \"" + std::string(text.begin(), text.end()) + "\"";
    return found;
}

std::string driveInto(HWND dialog, int field, const HostileInput& input, Drive drive) {
    if (drive == kEntered)
        enterText(dialog, field, input.text);
    else
        typeInto(dialog, field, input.text);
    return notFiniteTexts(dialog, {field});
}
