// The launcher's buttons and the screens they open.
#pragma once
#include <windows.h>

struct LauncherButton {
    int id;
    RECT place;          // left, top, right, bottom in pixels
    int templateId;      // the screen's dialog template
    DLGPROC screen;      // the screen's dialog procedure
    int normalPicture;
    int pressedPicture;
};

// The eight buttons in template order.
extern const LauncherButton kLauncherButtons[8];
