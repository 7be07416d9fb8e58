// The program's entry: start-up, then the message loop with Ctrl+Q.
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"

namespace {

// Keys go to the window with the focus. A launcher button passes its
// accelerators to the launcher, so that Ctrl+Q there ends the program.
HWND acceleratorTarget(HWND window) {
    if (launcher != nullptr && window != nullptr && GetParent(window) == launcher) return launcher;
    return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    if (!initInstance(instance, showCommand)) return 0;
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        if (TranslateAcceleratorW(acceleratorTarget(message.hwnd), accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
