// Waits for a window of the device screen and writes a picture of the whole
// screen (24-bit BMP). Used by `make run` without a display.
//   DeviceCapture.exe <window class> <output.bmp> [close]
// With "close", the window is then sent command 1 (the program ends).
#include <windows.h>

#include "platform/pocketpc/device_test.h"

#include <cstdio>
#include <cwchar>

namespace {

// Lets the windows of other processes finish painting: waits until the
// window's thread has drained its messages.
void waitUntilIdle(HWND window) {
    DWORD_PTR result = 0;
    for (int i = 0; i < 20; ++i) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fwprintf(stderr, L"usage: DeviceCapture <window class> <output.bmp> [close]\n");
        return 2;
    }
    HWND window = nullptr;
    for (int i = 0; i < 300 && window == nullptr; ++i) {
        window = FindWindowW(argv[1], nullptr);
        if (window == nullptr) Sleep(100);
    }
    if (window == nullptr) {
        fwprintf(stderr, L"no window of class %ls\n", argv[1]);
        return 1;
    }
    waitUntilIdle(window);
    bool written = deviceCaptureScreen(argv[2]);
    if (argc > 3 && lstrcmpW(argv[3], L"close") == 0) PostMessageW(window, WM_COMMAND, 1, 0);
    return written ? 0 : 1;
}
