// A picture of the device screen (the 240 x 320 pixels at the top left of
// the desktop), for tests and `make run`.
#include <windows.h>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"

bool deviceCaptureScreen(const wchar_t* path) {
    HDC screen = GetDC(nullptr);
    int width = DEVICE_SCREEN_WIDTH;
    int height = DEVICE_SCREEN_HEIGHT;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageBytes;
    bool written = false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD done = 0;
        written = WriteFile(file, &header, sizeof header, &done, nullptr) &&
                  WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &done, nullptr) &&
                  WriteFile(file, bits, imageBytes, &done, nullptr);
        CloseHandle(file);
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

