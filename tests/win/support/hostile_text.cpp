#include "tests/win/support/hostile_text.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "tests/win/support/win_test.h"

// ---- the inputs ----------------------------------------------------------------



// The characters 0x80 to 0xFF of the system code page, as the field holds them.
static std::wstring codePageHighBytes() {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
    return text;
}

// Every control character, then a digit (set as text, none of them acts
// as a key).
static std::wstring controlCharacters() {
    std::wstring text;
    for (wchar_t c = 1; c < 32; ++c) text += c;
    return text + L"\x7f" L"5";
}

// A handful of representatives, one per kind of fault a field reading can
// have; the fuzz targets take the readers through the rest.
const std::vector<HostileInput>& hostileInputs() {
    static const std::vector<HostileInput> inputs = {
        {"300 nines", std::wstring(300, L'9'), kTypedOnce | kEntered},
        {"control characters set as text", controlCharacters(), kEntered},
        {"1e999", L"1e999", kTyped | kEntered},
        {"-nan", L"-nan", kEntered},
        {"coordinate with degree sign", L"45\u00b030'15.5\"", kTyped},
        {"bytes 0x80 to 0xFF of the system code page", codePageHighBytes(), kEntered},
    };
    return inputs;
}

// ---- what a screen shows -------------------------------------------------------

static std::wstring className(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

static std::wstring windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, &text[0], length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}


static void addItems(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage, const char* what,
              std::vector<ShownText>* texts) {
    LRESULT count = SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(control, lengthMessage, i, 0);
        if (length < 0) continue;
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(control, textMessage, i, reinterpret_cast<LPARAM>(&item[0]));
        item.resize(wcslen(item.c_str()));
        texts->push_back({std::string(what) + " item " + std::to_string(i), item});
    }
}

static void addCells(HWND list, std::vector<ShownText>* texts) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    int columns = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            wchar_t cell[512] = L"";
            LVITEMW request = {};
            request.iSubItem = column;
            request.pszText = cell;
            request.cchTextMax = 512;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&request));
            texts->push_back({"cell " + std::to_string(row) + "," + std::to_string(column), cell});
        }
    }
}

namespace {
struct Collection {
    HWND dialog;
    std::vector<int> exceptIds;
    std::vector<ShownText>* texts;
};
}  // namespace

static BOOL CALLBACK collectText(HWND control, LPARAM parameter) {
    Collection* collection = reinterpret_cast<Collection*>(parameter);
    const std::vector<int>& except = collection->exceptIds;
    if (GetParent(control) == collection->dialog &&
        std::find(except.begin(), except.end(), GetDlgCtrlID(control)) != except.end())
        return TRUE;
    std::string where = "control " + std::to_string(GetDlgCtrlID(control));
    std::wstring kind = className(control);
    std::vector<ShownText>* texts = collection->texts;
    texts->push_back({where, windowText(control)});
    if (lstrcmpiW(kind.c_str(), L"ComboBox") == 0)
        addItems(control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, (where + " box").c_str(), texts);
    else if (lstrcmpiW(kind.c_str(), L"ListBox") == 0)
        addItems(control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, (where + " list").c_str(), texts);
    else if (lstrcmpiW(kind.c_str(), WC_LISTVIEWW) == 0)
        addCells(control, texts);
    return TRUE;
}

// Every text of the screen's controls, the items of its boxes and lists and
// the cells of its list views, except the fields listed (what the user typed
// is the user's).
std::vector<ShownText> shownTexts(HWND dialog, const std::vector<int>& exceptIds) {
    std::vector<ShownText> texts;
    Collection collection = {dialog, exceptIds, &texts};
    EnumChildWindows(dialog, collectText, reinterpret_cast<LPARAM>(&collection));
    return texts;
}

std::string printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (out.size() > 80) return out + "...";
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char code[12];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

bool looksNotFinite(const std::wstring& text) {
    std::wstring lower;
    for (wchar_t c : text) lower += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    return lower.find(L"nan") != std::wstring::npos || lower.find(L"inf") != std::wstring::npos;
}

// The texts of the screen that read "nan" or "inf", one per line; empty when
// there are none.
std::string notFiniteTexts(HWND dialog, const std::vector<int>& exceptIds) {
    std::string found;
    for (const ShownText& shown : shownTexts(dialog, exceptIds))
        if (looksNotFinite(shown.text)) found += "\n    " + shown.where + ": \"" + printable(shown.text) + "\"";
    return found;
}

// ---- crash reports ---------------------------------------------------------------

// The case in progress, named when the process goes down with it.
static char currentCase[256] = "";

LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception) {
    std::fprintf(stderr, "\nexception 0x%08lx during case: %s\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode), currentCase);
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

void startCase(const std::string& name) {
    std::snprintf(currentCase, sizeof currentCase, "%s", name.c_str());
}

std::string driveInto(HWND dialog, int field, const HostileInput& input, Drive drive) {
    if (drive == kEntered)
        enterText(dialog, field, input.text);
    else
        typeInto(dialog, field, input.text);
    return notFiniteTexts(dialog, {field});
}
