#include "shell/main_commands.h"

#include "resources/quantrel/resource_ids.h"
#include "shell/about_box.h"
#include "shell/program.h"

// The deactivation notice lets the shell store the soft keyboard's state
// before the window goes.
void closeProgram(HWND mainWindow) {
    SendMessageW(mainWindow, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(mainWindow));
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
}

bool onMainCommand(HWND window, int command) {
    switch (command) {
    case IDOK:
        closeProgram(window);
        return true;
    case IDM_HELP:
        SHStartProgram(L"PegHelp.exe", L"OVRQuantrel.htm");
        return true;
    case IDM_ABOUT:
        showAboutBox(window);
        return true;
    }
    return false;
}
