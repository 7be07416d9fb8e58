// What the device layer did, for tests: soft keyboard state, full-screen
// state, programs started and message boxes shown. Message boxes can be
// answered at once instead of blocking, and programs recorded instead of
// started, so that tests never wait on a person.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct StartedProgram {
    std::wstring program;
    std::wstring commandLine;
};

struct ShownMessageBox {
    HWND owner;
    std::wstring caption;
    std::wstring text;
    bool hasOkButton;
};

bool deviceSipIsUp();
// The last state given to SHFullScreen for the window (0 when none was given).
DWORD deviceFullScreenState(HWND window);
// The flags a dialog was initialised with through SHInitDialog (0 when none).
DWORD deviceInitDialogFlags(HWND dialog);

// Programs: recorded always; started through the desktop only when allowed.
void deviceSetProgramsStarted(bool start);
const std::vector<StartedProgram>& deviceStartedPrograms();
void deviceClearStartedPrograms();

// Message boxes of this thread: recorded and answered with OK when captured.
void deviceCaptureMessageBoxes(bool capture);
const std::vector<ShownMessageBox>& deviceMessageBoxes();
void deviceClearMessageBoxes();

HWND deviceNavigationBar();
HWND deviceSoftKeyboard();
// The menu bar owned by the window, if any (the last one created for it).
HWND deviceMenuBarOf(HWND owner);
// The button commands of a menu bar, left to right, and its image indexes.
std::vector<int> deviceMenuBarCommands(HWND menuBar);
std::vector<int> deviceMenuBarImages(HWND menuBar);

// Writes the whole device screen as a 24-bit BMP file.
bool deviceCaptureScreen(const wchar_t* bmpPath);
