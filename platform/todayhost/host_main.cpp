// TodayHost: the handheld's home screen on the desktop. It shows the items
// that SOFTWARE\Microsoft\Today\Items lists, asks them every two seconds
// whether they changed, and reads the list again whenever the key changes.
//
//   TodayHost.exe [/install <library>]
// With /install, the library is first entered as an item (beside the host,
// enabled) unless it has an entry already.
#include <windows.h>
#include <shellapi.h>

#include "platform/todayhost/today_host.h"

namespace {

void readCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return;
    for (int i = 1; i + 1 < count; ++i)
        if (lstrcmpiW(arguments[i], L"/install") == 0) installItem(arguments[++i]);
    LocalFree(arguments);
}

// Paints every window of the home screen's thread now (the home screen with
// its items, the navigation and menu bars), so that the screen is complete
// before the first message is answered.
void paintThreadWindows() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (IsWindowVisible(window))
                RedrawWindow(window, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            return TRUE;
        },
        0);
}

// The message loop, woken also by a change of the items key.
int runHost(HWND host, HANDLE itemsChanged, bool watching) {
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(watching ? 1 : 0, &itemsChanged, FALSE, INFINITE, QS_ALLINPUT);
        if (watching && woken == WAIT_OBJECT_0) {
            // Watch again first, so that a change made while reading counts.
            watching = watchItemsKey(itemsChanged);
            refreshItems(host);
            continue;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    readCommandLine();
    HWND host = createHostScreen(instance);
    if (host == nullptr) return 1;
    HANDLE itemsChanged = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    bool watching = itemsChanged != nullptr && watchItemsKey(itemsChanged);
    refreshItems(host);
    ShowWindow(host, showCommand);
    paintThreadWindows();
    int result = runHost(host, itemsChanged, watching);
    if (itemsChanged != nullptr) CloseHandle(itemsChanged);
    return result;
}
