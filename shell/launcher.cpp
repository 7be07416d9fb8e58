// The launcher: eight picture buttons on light blue, each opening its
// calculator as a modal full-screen dialog, and the six-hour timer of the
// automatic rate download.
#include "shell/launcher.h"

#include "currency/core/download.h"
#include "frame/screen_frame.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/main_commands.h"
#include "shell/program.h"
#include "calculators/screens.h"

namespace {

const COLORREF kLauncherBackground = RGB(189, 224, 250);
const UINT kAutoDownloadPeriod = 21600000;  // six hours
const int kButtonWidth = 100;
const int kButtonHeight = 25;
const int kPictureCount = 8;

// Two pictures per button, loaded at initialisation, released at the close
// request or when the launcher is destroyed.
HBITMAP normalPictures[kPictureCount];
HBITMAP pressedPictures[kPictureCount];

HBRUSH launcherBrush() {
    static HBRUSH brush = CreateSolidBrush(kLauncherBackground);
    return brush;
}

int buttonIndex(int id) {
    for (int i = 0; i < kPictureCount; ++i)
        if (kLauncherButtons[i].id == id) return i;
    return -1;
}

void loadPictures() {
    for (int i = 0; i < kPictureCount; ++i) {
        normalPictures[i] = LoadBitmapW(programInstance, MAKEINTRESOURCEW(kLauncherButtons[i].normalPicture));
        pressedPictures[i] = LoadBitmapW(programInstance, MAKEINTRESOURCEW(kLauncherButtons[i].pressedPicture));
    }
}

void releasePictures() {
    for (int i = 0; i < kPictureCount; ++i) {
        if (normalPictures[i] != nullptr) DeleteObject(normalPictures[i]);
        if (pressedPictures[i] != nullptr) DeleteObject(pressedPictures[i]);
        normalPictures[i] = pressedPictures[i] = nullptr;
    }
}

INT_PTR onInitDialog(HWND dialog) {
    for (const LauncherButton& button : kLauncherButtons)
        MoveWindow(GetDlgItem(dialog, button.id), button.place.left, button.place.top, kButtonWidth, kButtonHeight,
                   TRUE);
    loadPictures();
    SetTimer(dialog, IDT_AUTO_DOWNLOAD, kAutoDownloadPeriod, nullptr);
    return 1;
}

INT_PTR onDrawItem(const DRAWITEMSTRUCT* item) {
    int index = buttonIndex(static_cast<int>(item->CtlID));
    if (index < 0) return 0;
    HBITMAP picture = (item->itemState & ODS_SELECTED) ? pressedPictures[index] : normalPictures[index];
    HDC memory = CreateCompatibleDC(item->hDC);
    HGDIOBJ old = picture != nullptr ? SelectObject(memory, picture) : nullptr;
    if (old == nullptr) {
        DeleteDC(memory);
        return 1;
    }
    const RECT& r = item->rcItem;
    BOOL drawn = StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, kButtonWidth,
                            kButtonHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return drawn;
}

}  // namespace

ScreenData programScreenData() { return {dataDirectory, &programRates, &programSelections, saveProgramSelections}; }

namespace {

void openScreen(HWND dialog, int id) {
    int index = buttonIndex(id);
    if (index < 0) return;
    ScreenData data = programScreenData();
    deviceDialogBox(programInstance, MAKEINTRESOURCEW(kLauncherButtons[index].templateId), dialog,
                    kLauncherButtons[index].screen, reinterpret_cast<LPARAM>(&data));
}

INT_PTR onCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    if (buttonIndex(id) >= 0) {
        openScreen(dialog, id);
        return 1;
    }
    if (id == IDOK) {
        // Ctrl+Q with the focus on a button ends the program as at the main window.
        closeProgram(GetParent(dialog));
        return 1;
    }
    return DefWindowProcW(dialog, WM_COMMAND, wParam, lParam);
}

}  // namespace

const LauncherButton kLauncherButtons[8] = {
    {IDC_LAUNCH_AREA, {10, 15, 110, 40}, IDD_AREA_CODES, areaCodesScreenProcedure, IDB_AREA_NORMAL,
     IDB_AREA_PRESSED},
    {IDC_LAUNCH_CURRENCY, {130, 15, 230, 40}, IDD_CURRENCY, currencyScreenProcedure, IDB_CURRENCY_NORMAL,
     IDB_CURRENCY_PRESSED},
    {IDC_LAUNCH_LOAN, {10, 60, 110, 85}, IDD_LOAN, loanScreenProcedure, IDB_LOAN_NORMAL, IDB_LOAN_PRESSED},
    {IDC_LAUNCH_TIP, {130, 60, 230, 85}, IDD_TIP, tipScreenProcedure, IDB_TIP_NORMAL, IDB_TIP_PRESSED},
    {IDC_LAUNCH_COMPUTER, {10, 105, 110, 130}, IDD_COMPUTER, computerScreenProcedure, IDB_COMPUTER_NORMAL,
     IDB_COMPUTER_PRESSED},
    {IDC_LAUNCH_METRIC, {10, 150, 110, 175}, IDD_METRIC, metricScreenProcedure, IDB_METRIC_NORMAL,
     IDB_METRIC_PRESSED},
    {IDC_LAUNCH_DATE, {130, 105, 230, 130}, IDD_DATE, dateScreenProcedure, IDB_DATE_NORMAL, IDB_DATE_PRESSED},
    {IDC_LAUNCH_LATLON, {130, 150, 230, 175}, IDD_LATLON, latLonScreenProcedure, IDB_LATLON_NORMAL,
     IDB_LATLON_PRESSED},
};

INT_PTR CALLBACK launcherProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_DRAWITEM:
        return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        return onCommand(dialog, wParam, lParam);
    case WM_CLOSE:
        releasePictures();
        return 1;
    case WM_DESTROY:
        releasePictures();
        return 0;
    case WM_TIMER:
        // The six-hourly Auto Update: only an Auto Update of exactly 1, as
        // held in memory, downloads, and shows no message whatever happens.
        if (programSelections.autoUpdate == 1) downloadRates(dialog, dataDirectory, DownloadMessages::none);
        return 1;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(launcherBrush());
    }
    return 0;
}
