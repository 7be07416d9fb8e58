// Start-up, the single-instance rule and the main window: its menu bar, the
// launcher filling its client area, and the orderly end of the program.
#include <windows.h>
#include <commctrl.h>

#include "currency/core/currency_files.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/main_commands.h"
#include "shell/program.h"

HINSTANCE programInstance;
HWND menuBar;
HWND launcher;
SHACTIVATEINFO activationInfo;
CurrencyTable programRates;
SelectionState programSelections;

namespace {

const int kClassNameLength = 100;

// Slots of quantrel.dat a Done could not save yet.
SlotSet unsavedSlots = 0;

// Brings the running copy forward with whatever it has open on top of it.
void bringForward(HWND running) {
    HWND last = GetLastActivePopup(running);
    SetForegroundWindow(last != nullptr ? last : running);
    if (last != nullptr && last != running) SetWindowPos(last, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

HWND createMenuBar(HWND window) {
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = window;
    info.dwFlags = 0;
    info.nToolBarId = IDM_MAIN_MENUBAR;
    info.hInstRes = programInstance;
    info.nBmpId = IDB_MENUBAR_STRIP;
    info.cBmpImages = 10;
    return SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
}

void createLauncher(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    launcher = deviceCreateDialog(programInstance, MAKEINTRESOURCEW(IDD_LAUNCHER), window, launcherProcedure, 0);
    if (launcher == nullptr) return;
    MoveWindow(launcher, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
    ShowWindow(launcher, SW_SHOW);
    UpdateWindow(launcher);
}

LRESULT onCreate(HWND window) {
    computeDataDirectory();
    // The stored choices are in memory before anything can save them.
    loadSelections(dataDirectory, programSelections, SelectionForm::program);
    menuBar = createMenuBar(window);
    ZeroMemory(&activationInfo, sizeof activationInfo);
    activationInfo.cbSize = sizeof activationInfo;
    INITCOMMONCONTROLSEX dateClasses = {sizeof dateClasses, ICC_DATE_CLASSES};
    InitCommonControlsEx(&dateClasses);
    createLauncher(window);
    return 0;
}

LRESULT onDestroy() {
    if (unsavedSlots != 0) saveProgramSelections(unsavedSlots);
    if (menuBar != nullptr) DestroyWindow(menuBar);
    menuBar = nullptr;
    if (launcher != nullptr) DestroyWindow(launcher);
    launcher = nullptr;
    PostQuitMessage(0);
    return 0;
}

}  // namespace

void saveProgramSelections(SlotSet slots) {
    if (saveSelections(dataDirectory, programSelections, SelectionForm::program, slots))
        unsavedSlots = static_cast<SlotSet>(unsavedSlots & ~slots);
    else
        unsavedSlots = static_cast<SlotSet>(unsavedSlots | slots);
}

ATOM registerMainWindowClass(HINSTANCE instance, const wchar_t* className) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUANTREL));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassW(&windowClass);
}

bool initInstance(HINSTANCE instance, int showCommand) {
    programInstance = instance;
    wchar_t className[kClassNameLength] = L"";
    wchar_t title[kClassNameLength] = L"";
    LoadStringW(instance, IDS_CLASS, className, kClassNameLength);
    LoadStringW(instance, IDS_TITLE, title, kClassNameLength);

    HWND running = FindWindowW(className, title);
    if (running != nullptr) {
        bringForward(running);
        publishDataDirectory();
        return false;
    }
    registerMainWindowClass(instance, className);
    HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return false;
    if (menuBar != nullptr) {
        // Leave the menu bar's 26 pixels below the window.
        RECT rect;
        GetWindowRect(window, &rect);
        MoveWindow(window, rect.left, rect.top, rect.right, rect.bottom - DEVICE_MENUBAR_HEIGHT, FALSE);
    }
    publishDataDirectory();
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return true;
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy();
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &activationInfo, FALSE);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &activationInfo);
        return 0;
    case WM_COMMAND:
        if (onMainCommand(window, LOWORD(wParam))) return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
