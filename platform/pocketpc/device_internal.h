// Shared between the files of the device layer only.
#pragma once
#include <windows.h>

// Hooks of the current thread (creation placement, activation, the right
// button as tap-and-hold, message-box capture); installed once per thread.
void deviceInstallHooks();
// The module whose resources and classes this copy of the device layer uses.
HINSTANCE deviceModule();
// Finds this process's window of a device class (created by whichever copy of
// the device layer came first in the process), or null.
HWND deviceFindOwnWindow(const wchar_t* className);
// The navigation bar, created on first use.
HWND deviceEnsureNavigationBar();
// Repaints the navigation bar after the foreground screen changed.
void deviceRefreshNavigationBar();
// A window went: menu bars it owned remove themselves unless it destroyed them.
void deviceOwnerDestroyed(HWND owner);
// Shows or hides the soft keyboard panel.
void deviceSetSip(bool up);
// A right button press turned into a tap-and-hold, consumed by SHRecognizeGesture.
bool deviceTakePendingHold();

extern const wchar_t kNavigationBarClass[];
extern const wchar_t kMenuBarClass[];
extern const wchar_t kSoftKeyboardClass[];
extern const wchar_t kDoneProperty[];
extern const wchar_t kFullScreenProperty[];
extern const wchar_t kInitFlagsProperty[];
