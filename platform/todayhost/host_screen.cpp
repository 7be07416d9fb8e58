// The home screen: the device's background picture with the date on top,
// the items below it, and a menu bar with Refresh and the items' Options.
#include "platform/pocketpc/aygshell.h"
#include "platform/todayhost/host_resource.h"
#include "platform/todayhost/today_host.h"

const wchar_t kHostClass[] = L"TodayHostScreen";

namespace {

const UINT_PTR kRefreshTimer = 1;
const UINT kRefreshPeriodMs = 2000;

HWND hostMenuBar = nullptr;
HBITMAP backgroundPicture = nullptr;

COLORREF blend(COLORREF from, COLORREF to, int step, int steps) {
    auto mix = [&](int a, int b) { return a + (b - a) * step / steps; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

// The background picture of the whole device screen, drawn once: a sky that
// lightens downwards, crossed by soft light bands.
HBITMAP drawBackgroundPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, DEVICE_SCREEN_WIDTH, DEVICE_SCREEN_HEIGHT);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, picture);
    const COLORREF top = RGB(16, 64, 140), bottom = RGB(150, 200, 240);
    for (int y = 0; y < DEVICE_SCREEN_HEIGHT; y += 2) {
        RECT band = {0, y, DEVICE_SCREEN_WIDTH, y + 2};
        HBRUSH brush = CreateSolidBrush(blend(top, bottom, y, DEVICE_SCREEN_HEIGHT));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    for (int band = 0; band < 3; ++band) {
        HPEN pen = CreatePen(PS_SOLID, 18 - band * 5, blend(top, RGB(255, 255, 255), 2 + band, 8));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        int start = 120 + band * 70;
        MoveToEx(dc, -20, start, nullptr);
        LineTo(dc, DEVICE_SCREEN_WIDTH + 20, start - 140);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return picture;
}

void paintDateLine(HWND host, HDC dc) {
    RECT client;
    GetClientRect(host, &client);
    wchar_t date[80] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date, 80);
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT line = {client.left + 6, client.top, client.right - 6, client.top + kDateLineHeight};
    DrawTextW(dc, date, -1, &line, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, client.left + 4, kDateLineHeight - 2, nullptr);
    LineTo(dc, client.right - 4, kDateLineHeight - 2);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void onPaint(HWND host) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(host, &paint);
    RECT client;
    GetClientRect(host, &client);
    POINT origin = {0, 0};
    ClientToScreen(host, &origin);
    paintBackground(dc, client, origin);
    paintDateLine(host, dc);
    EndPaint(host, &paint);
}

// An item asks for the background under it: the same picture, as it lies
// behind the item's rectangle on the screen.
LRESULT onDrawWatermark(const TODAYDRAWWATERMARKINFO* watermark) {
    if (watermark == nullptr || watermark->hdc == nullptr || !IsWindow(watermark->hwnd)) return FALSE;
    POINT origin = {watermark->rc.left, watermark->rc.top};
    ClientToScreen(watermark->hwnd, &origin);
    paintBackground(watermark->hdc, watermark->rc, origin);
    return TRUE;
}

void createMenuBar(HWND host) {
    SHMENUBARINFO bar = {};
    bar.cbSize = sizeof bar;
    bar.hwndParent = host;
    bar.nToolBarId = IDM_HOST_MENUBAR;
    bar.hInstRes = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(host, GWLP_HINSTANCE));
    hostMenuBar = SHCreateMenuBar(&bar) ? bar.hwndMB : nullptr;
}

LRESULT onCommand(HWND host, int command) {
    switch (command) {
    case IDOK:
        DestroyWindow(host);
        break;
    case IDM_HOST_REFRESH:
        clearItemCaches(host);
        break;
    case IDM_HOST_OPTIONS:
        showItemOptions(host);
        break;
    }
    return 0;
}

void onDestroy(HWND host) {
    KillTimer(host, kRefreshTimer);
    dropAllItems();
    if (hostMenuBar != nullptr) DestroyWindow(hostMenuBar);
    hostMenuBar = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK hostProcedure(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createMenuBar(host);
        SetTimer(host, kRefreshTimer, kRefreshPeriodMs, nullptr);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything
    case WM_PAINT:
        onPaint(host);
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimer) queryItems(host);
        return 0;
    case TODAYM_DRAWWATERMARK:
        return onDrawWatermark(reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam));
    case WM_COMMAND:
        return onCommand(host, LOWORD(wParam));
    case WM_DESTROY:
        onDestroy(host);
        return 0;
    }
    return DefWindowProcW(host, message, wParam, lParam);
}

}  // namespace

void paintBackground(HDC dc, const RECT& target, POINT origin) {
    if (backgroundPicture == nullptr) backgroundPicture = drawBackgroundPicture();
    HDC pictureDc = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(pictureDc, backgroundPicture);
    BitBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, pictureDc, origin.x,
           origin.y, SRCCOPY);
    SelectObject(pictureDc, old);
    DeleteDC(pictureDc);
}

HWND createHostScreen(HINSTANCE instance) {
    WNDCLASSW hostClass = {};
    hostClass.style = CS_HREDRAW | CS_VREDRAW;
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = instance;
    hostClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    hostClass.lpszClassName = kHostClass;
    if (!RegisterClassW(&hostClass)) return nullptr;
    wchar_t title[32] = L"";
    LoadStringW(instance, IDS_HOST_TITLE, title, 32);
    // A top-level window: the device layer places it in the work area and
    // shows its title in the navigation bar.
    return CreateWindowExW(0, kHostClass, title, WS_OVERLAPPED | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                           DEVICE_SCREEN_WIDTH, DEVICE_SCREEN_HEIGHT, nullptr, nullptr, instance, nullptr);
}
