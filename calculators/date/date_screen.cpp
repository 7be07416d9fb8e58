// The Date Calculator screen: the days between the two date pickers, or the
// end date a typed number of days after the start, with the weekday, day in
// the year and week in the year of both dates. A tap-and-hold on the
// screen's surface offers Cut, Copy and Paste for the days field.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "calculators/date/date_calc.h"
#include "platform/pocketpc/aygshell.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

// Menu 122, loaded when the screen opens and destroyed with it.
HMENU contextMenu = nullptr;

DateTime fromSystemTime(const SYSTEMTIME& time) {
    return {time.wYear, time.wMonth, time.wDayOfWeek, time.wDay,
            time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

SYSTEMTIME toSystemTime(const DateTime& date) {
    return {date.year, date.month, date.dayOfWeek, date.day,
            date.hour, date.minute, date.second, date.millisecond};
}

// The pickers have no empty state: a date is always there to read.
DateTime pickerDate(HWND dialog, int pickerId) {
    SYSTEMTIME time = {};
    SendDlgItemMessageW(dialog, pickerId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return fromSystemTime(time);
}

// Writes the weekday, day in year and week in year of one date into its
// group of fields (which = 1: start, 2: end).
void showDateFacts(HWND dialog, const DateFacts& facts, int which) {
    const int* fields = dateFactFields(which);
    if (fields == nullptr) return;
    writeFieldText(dialog, fields[0], facts.weekday);
    writeFieldText(dialog, fields[1], facts.dayInYear);
    writeFieldText(dialog, fields[2], facts.weekInYear);
}

void initDate(HWND dialog) {
    HINSTANCE resources = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    contextMenu = LoadMenuW(resources, MAKEINTRESOURCEW(IDM_DATE_CONTEXT));
    for (int which = 1; which <= 2; ++which) {
        const int* fields = dateFactFields(which);
        for (int i = 0; i < 3; ++i) SetDlgItemTextW(dialog, fields[i], L"");
    }
}

// A key release in the days field sets the end picker that many days after
// the start. A number the end date cannot follow leaves the end picker as it
// is. The days field itself is not rewritten.
void daysChanged(HWND dialog, int, const char* text) {
    DaysTyped typed = daysTyped(text, pickerDate(dialog, IDC_DATE_START), pickerDate(dialog, IDC_DATE_END));
    if (typed.setEnd) {
        SYSTEMTIME end = toSystemTime(typed.newEnd);
        SendDlgItemMessageW(dialog, IDC_DATE_END, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&end));
    }
    showDateFacts(dialog, typed.startFacts, 1);
    showDateFacts(dialog, typed.endFacts, 2);
}

// The user changed a picker's date: the days between them and both dates'
// facts. Writing the days field here starts no computation (no key release).
void pickerChanged(HWND dialog) {
    DatePickerChange change = datePickerChanged(pickerDate(dialog, IDC_DATE_START), pickerDate(dialog, IDC_DATE_END));
    writeFieldText(dialog, IDC_DATE_DAYS, change.daysText);
    showDateFacts(dialog, change.startFacts, 1);
    showDateFacts(dialog, change.endFacts, 2);
}

// Cut, Copy and Paste of the tap-and-hold menu act on the whole text of the
// days field; a cut or pasted text is then read as a typed one.
void editDaysField(HWND dialog, UINT clipboardMessage) {
    HWND field = GetDlgItem(dialog, IDC_DATE_DAYS);
    SendMessageW(field, EM_SETSEL, 0, -1);
    SendMessageW(field, clipboardMessage, 0, 0);
    if (clipboardMessage != WM_COPY)
        daysChanged(dialog, IDC_DATE_DAYS, readFieldText(field, kDateDaysTextLimit).c_str());
}

// The stylus went down on the screen's own surface: when the user holds it,
// the menu opens under the stylus (the tap arrives in client coordinates, a
// menu is placed in screen coordinates).
void stylusDown(HWND dialog, LPARAM at) {
    SHRGINFO gesture = {};
    gesture.cbSize = sizeof gesture;
    gesture.hwndClient = dialog;
    gesture.ptDown.x = GET_X_LPARAM(at);
    gesture.ptDown.y = GET_Y_LPARAM(at);
    gesture.dwFlags = SHRG_RETURNCMD;
    if (SHRecognizeGesture(&gesture) != GN_CONTEXTMENU) return;
    HMENU popup = contextMenu != nullptr ? GetSubMenu(contextMenu, 0) : nullptr;
    if (popup == nullptr) return;
    POINT place = gesture.ptDown;
    ClientToScreen(dialog, &place);
    TrackPopupMenuEx(popup, 0, place.x, place.y, dialog, nullptr);
}

INT_PTR onDateCommand(HWND dialog, int controlId, int) {
    switch (controlId) {
        case IDM_DATE_CUT:
            editDaysField(dialog, WM_CUT);
            break;
        case IDM_DATE_COPY:
            editDaysField(dialog, WM_COPY);
            break;
        case IDM_DATE_PASTE:
            editDaysField(dialog, WM_PASTE);
            break;
    }
    return 0;
}

INT_PTR onDateMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam, bool* handled) {
    switch (message) {
    case WM_NOTIFY: {
        const NMHDR* notice = reinterpret_cast<const NMHDR*>(lParam);
        if (notice->code == static_cast<UINT>(DTN_DATETIMECHANGE) &&
            (notice->idFrom == IDC_DATE_START || notice->idFrom == IDC_DATE_END)) {
            pickerChanged(dialog);
            *handled = true;
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
        stylusDown(dialog, lParam);
        *handled = true;
        return 0;
    case WM_DESTROY:
        if (contextMenu != nullptr) DestroyMenu(contextMenu);
        contextMenu = nullptr;
        return 0;
    }
    return 0;
}

const ScreenFrame kDateFrame = {
    {IDC_DATE_DAYS},                // the days field is the one value field
    {IDC_DATE_DAYS},                // its focus raises the soft keyboard
    {IDC_DATE_DAYS},                // and empties it
    kColourDialog | kColourStatic,  // labels and facts on light blue
    false,                          // no menu bar
    false,                          // no default processing
    kDateDaysTextLimit,             // the days are read from 14 characters
    initDate,
    daysChanged,
    nullptr,
    onDateCommand,
    onDateMessage,
};

}  // namespace

const DLGPROC dateScreenProcedure = ScreenProcedures<kDateFrame>::dialog;
