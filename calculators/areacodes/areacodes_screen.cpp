// The Area Codes screen: after every key release in the search field, the
// lines of area.txt that match the typed text in the chosen mode.
#include <string>
#include <vector>

#include "calculators/areacodes/areacodes.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

// Reads area.txt of the data directory afresh: opened unshared, at most
// kAreaFileLimit bytes, closed again. The bytes read go into *bytes (the
// caller's); false when the file cannot be opened.
bool readAreaFile(const wchar_t* dataDirectory, std::vector<char>* bytes) {
    std::wstring path = std::wstring(dataDirectory) + L"area.txt";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes->assign(kAreaFileLimit, '\0');
    DWORD total = 0;
    DWORD read = 0;
    while (total < kAreaFileLimit &&
           ReadFile(file, bytes->data() + total, static_cast<DWORD>(kAreaFileLimit) - total, &read, nullptr) &&
           read > 0)
        total += read;
    CloseHandle(file);
    bytes->resize(total);
    return true;
}

// Replaces the list's contents with the matching lines, in file order. A
// file that cannot be read leaves the list empty.
void listMatchingLines(HWND dialog, int mode, const char* text) {
    HWND list = GetDlgItem(dialog, IDC_AREA_RESULTS);
    std::vector<char> bytes;
    bool read = readAreaFile(screenDataOf(dialog).dataDirectory, &bytes);
    // The list is emptied, filled and drawn once, when it is complete:
    // drawing and scroll bars updated at the emptying and at every line
    // would make each search slow, a long result list most of all.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, kAreaListExtent, 0);
    if (read)
        for (const std::string& line : searchAreaCodes(mode, text, bytes.data(), bytes.size()))
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widenText(line).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void initAreaCodes(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_AREA_MODE);
    for (const char* name : kAreaSearchModeNames)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widenText(name).c_str()));
    SendMessageW(combo, CB_SETCURSEL, kAreaCodeMode, 0);
}

// A key release in the search field searches in the mode now chosen; a text
// the mode does not accept leaves the earlier results on the screen.
void searchTyped(HWND dialog, int, const char* text) {
    LRESULT mode = SendDlgItemMessageW(dialog, IDC_AREA_MODE, CB_GETCURSEL, 0, 0);
    if (mode == CB_ERR || !acceptsAreaSearch(static_cast<int>(mode), text)) return;
    listMatchingLines(dialog, static_cast<int>(mode), text);
}

const ScreenFrame kAreaCodesFrame = {
    {IDC_AREA_SEARCH},  // the search text is the one value field
    {IDC_AREA_SEARCH},  // its focus raises the soft keyboard
    {IDC_AREA_SEARCH},  // and empties it
    kColourDialog,      // only the background is light blue
    false,              // no menu bar
    false,              // no default processing
    0,                  // read up to the usual limit
    initAreaCodes,
    searchTyped,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

const DLGPROC areaCodesScreenProcedure = ScreenProcedures<kAreaCodesFrame>::dialog;
