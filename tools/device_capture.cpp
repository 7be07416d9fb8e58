// Waits for a window of the device screen and writes a picture of the whole
// screen (24-bit BMP). Used by `make run` without a display.
//   DeviceCapture.exe <window class> <output.bmp> [close]
// With "close", the window is then sent command 1 (the program ends).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

bool writeScreen(const wchar_t* path) {
    HDC screen = GetDC(nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
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
    bool written = writeScreen(argv[2]);
    if (argc > 3 && lstrcmpW(argv[3], L"close") == 0) PostMessageW(window, WM_COMMAND, 1, 0);
    return written ? 0 : 1;
}
