// Menu bars at the bottom of the device screen, built from the handheld's
// menu-bar template: RCDATA of 16-bit words, the menu id and the button
// count, then per button its image, command, state, style, caption string and
// pop-up index. Image buttons come from a strip of 16-pixel-wide images; a
// drop-down button opens its pop-up of the template's menu.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_internal.h"
#include "platform/pocketpc/device_test.h"

namespace {

const int kImageWidth = 16;
const int kButtonPadding = 8;
const WORD kNoImage = 0xFFFE;  // I_IMAGENONE
const UINT kOwnerGoneMessage = WM_APP + 2;

struct MenuBarButton {
    int image;
    int command;
    BYTE state;
    BYTE style;
    std::wstring caption;
    int popupIndex;
    RECT rect;
};

struct MenuBar {
    HWND owner;
    HMENU menu;
    HBITMAP strip;
    std::vector<MenuBarButton> buttons;
    int pressed;
};

MenuBar* menuBarOf(HWND bar) { return reinterpret_cast<MenuBar*>(GetWindowLongPtrW(bar, GWLP_USERDATA)); }

// Reads the template; the words after the end of the resource are never read.
bool readTemplate(HINSTANCE instance, UINT id, MenuBar* bar) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const WORD* words = static_cast<const WORD*>(LockResource(loaded));
    DWORD count = SizeofResource(instance, found) / sizeof(WORD);
    if (words == nullptr || count < 2) return false;
    bar->menu = LoadMenuW(instance, MAKEINTRESOURCEW(words[0]));
    DWORD buttons = words[1];
    for (DWORD i = 0; i < buttons && 2 + (i + 1) * 6 <= count; ++i) {
        const WORD* entry = words + 2 + i * 6;
        MenuBarButton button = {};
        button.image = entry[0] == kNoImage ? -1 : entry[0];
        button.command = entry[1];
        button.state = static_cast<BYTE>(entry[2]);
        button.style = static_cast<BYTE>(entry[3]);
        if (entry[4] != 0 && entry[4] != 0xFFFF) {
            wchar_t caption[64] = L"";
            LoadStringW(instance, entry[4], caption, 64);
            button.caption = caption;
        }
        button.popupIndex = entry[5];
        bar->buttons.push_back(button);
    }
    return true;
}

void layoutButtons(HWND window, MenuBar* bar) {
    HDC dc = GetDC(window);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int x = 0;
    for (MenuBarButton& button : bar->buttons) {
        int width = kButtonPadding;
        if (button.image >= 0) width += kImageWidth;
        if (!button.caption.empty()) {
            SIZE size = {};
            GetTextExtentPoint32W(dc, button.caption.c_str(), static_cast<int>(button.caption.size()), &size);
            width += size.cx + (button.image >= 0 ? 4 : 0);
        }
        button.rect = {x, 0, x + width, DEVICE_MENUBAR_HEIGHT};
        x += width;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(window, dc);
}

void paintMenuBar(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    MenuBar* bar = menuBarOf(window);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(RGB(214, 219, 233));
    FillRect(dc, &client, background);
    DeleteObject(background);
    HPEN line = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ oldPen = SelectObject(dc, line);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
    SelectObject(dc, oldPen);
    DeleteObject(line);
    if (bar != nullptr) {
        HDC images = CreateCompatibleDC(dc);
        HGDIOBJ oldBitmap = bar->strip != nullptr ? SelectObject(images, bar->strip) : nullptr;
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        for (size_t i = 0; i < bar->buttons.size(); ++i) {
            const MenuBarButton& button = bar->buttons[i];
            if (static_cast<int>(i) == bar->pressed) {
                HBRUSH pressed = CreateSolidBrush(RGB(160, 170, 200));
                FillRect(dc, &button.rect, pressed);
                DeleteObject(pressed);
            }
            int x = button.rect.left + kButtonPadding / 2;
            if (button.image >= 0 && bar->strip != nullptr) {
                BITMAP info = {};
                GetObjectW(bar->strip, sizeof info, &info);
                int top = (DEVICE_MENUBAR_HEIGHT - info.bmHeight) / 2;
                BitBlt(dc, x, top, kImageWidth, info.bmHeight, images, button.image * kImageWidth, 0, SRCCOPY);
                x += kImageWidth + 4;
            }
            if (!button.caption.empty()) {
                RECT text = {x, 0, button.rect.right, DEVICE_MENUBAR_HEIGHT};
                DrawTextW(dc, button.caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
        }
        SelectObject(dc, oldFont);
        if (oldBitmap != nullptr) SelectObject(images, oldBitmap);
        DeleteDC(images);
    }
    EndPaint(window, &paint);
}

int buttonAt(MenuBar* bar, int x) {
    for (size_t i = 0; i < bar->buttons.size(); ++i)
        if (x >= bar->buttons[i].rect.left && x < bar->buttons[i].rect.right) return static_cast<int>(i);
    return -1;
}

void pressButton(HWND window, MenuBar* bar, int index) {
    const MenuBarButton& button = bar->buttons[static_cast<size_t>(index)];
    if ((button.style & TBSTYLE_DROPDOWN) != 0 && bar->menu != nullptr) {
        HMENU popup = GetSubMenu(bar->menu, button.popupIndex);
        if (popup == nullptr) return;
        POINT corner = {button.rect.left, 0};
        ClientToScreen(window, &corner);
        bar->pressed = index;
        InvalidateRect(window, nullptr, TRUE);
        SetForegroundWindow(bar->owner);
        int command = TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD,
                                     corner.x, corner.y, 0, bar->owner, nullptr);
        bar->pressed = -1;
        InvalidateRect(window, nullptr, TRUE);
        if (command != 0) PostMessageW(bar->owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return;
    }
    PostMessageW(bar->owner, WM_COMMAND, MAKEWPARAM(button.command, BN_CLICKED), reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK menuBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MenuBar* bar = menuBarOf(window);
    switch (message) {
    case WM_PAINT:
        paintMenuBar(window);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        if (bar != nullptr) {
            bar->pressed = buttonAt(bar, static_cast<short>(LOWORD(lParam)));
            InvalidateRect(window, nullptr, TRUE);
            SetCapture(window);
        }
        return 0;
    case WM_LBUTTONUP:
        if (bar != nullptr) {
            ReleaseCapture();
            int index = buttonAt(bar, static_cast<short>(LOWORD(lParam)));
            bool same = index >= 0 && index == bar->pressed;
            bar->pressed = -1;
            InvalidateRect(window, nullptr, TRUE);
            if (same) pressButton(window, bar, index);
        }
        return 0;
    case kOwnerGoneMessage:
        if (bar != nullptr && !IsWindow(bar->owner)) DestroyWindow(window);
        return 0;
    case WM_NCDESTROY:
        if (bar != nullptr) {
            if (bar->menu != nullptr) DestroyMenu(bar->menu);
            if (bar->strip != nullptr) DeleteObject(bar->strip);
            delete bar;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerMenuBarClass() {
    WNDCLASSW windowClass = {};
    if (GetClassInfoW(deviceModule(), kMenuBarClass, &windowClass)) return;
    windowClass.lpfnWndProc = menuBarProcedure;
    windowClass.hInstance = deviceModule();
    windowClass.lpszClassName = kMenuBarClass;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&windowClass);
}

}  // namespace

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (info == nullptr || info->cbSize < offsetof(SHMENUBARINFO, hwndMB) + sizeof(HWND)) return FALSE;
    info->hwndMB = nullptr;
    deviceInstallHooks();
    deviceEnsureNavigationBar();
    registerMenuBarClass();

    std::unique_ptr<MenuBar> bar(new MenuBar());
    bar->owner = info->hwndParent;
    bar->pressed = -1;
    if ((info->dwFlags & SHCMBF_EMPTYBAR) == 0) {
        if (!readTemplate(info->hInstRes, info->nToolBarId, bar.get())) return FALSE;
        if (info->nBmpId != 0)
            bar->strip = static_cast<HBITMAP>(
                LoadImageW(info->hInstRes, MAKEINTRESOURCEW(info->nBmpId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    }
    RECT work = deviceWorkArea();
    // The bar belongs to its owner but is not an owned window: the owner's
    // destruction message still finds it there and destroys it in its own
    // order. A bar whose owner went without doing so removes itself.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuBarClass, L"", WS_POPUP, 0, work.bottom,
                                  DEVICE_SCREEN_WIDTH, DEVICE_MENUBAR_HEIGHT, nullptr, nullptr, deviceModule(),
                                  nullptr);
    if (window == nullptr) {
        if (bar->menu != nullptr) DestroyMenu(bar->menu);
        if (bar->strip != nullptr) DeleteObject(bar->strip);
        return FALSE;
    }
    layoutButtons(window, bar.get());
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bar.release()));
    if ((info->dwFlags & SHCMBF_HIDDEN) == 0) ShowWindow(window, SW_SHOWNOACTIVATE);
    info->hwndMB = window;
    return TRUE;
}

namespace {

// A menu bar's user data is a pointer into its own process: the bars of
// other processes (another program on the device screen) are never read.
bool isOwnProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

}  // namespace

HWND deviceMenuBarOf(HWND owner) {
    HWND found = nullptr;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kMenuBarClass, nullptr)) != nullptr) {
        MenuBar* bar = isOwnProcess(window) ? menuBarOf(window) : nullptr;
        if (bar != nullptr && bar->owner == owner) found = window;
    }
    return found;
}

void deviceOwnerDestroyed(HWND owner) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kMenuBarClass, nullptr)) != nullptr) {
        MenuBar* bar = isOwnProcess(window) ? menuBarOf(window) : nullptr;
        if (bar != nullptr && bar->owner == owner) PostMessageW(window, kOwnerGoneMessage, 0, 0);
    }
}

std::vector<int> deviceMenuBarCommands(HWND menuBar) {
    std::vector<int> commands;
    MenuBar* bar = menuBarOf(menuBar);
    if (bar != nullptr)
        for (const MenuBarButton& button : bar->buttons) commands.push_back(button.command);
    return commands;
}

std::vector<int> deviceMenuBarImages(HWND menuBar) {
    std::vector<int> images;
    MenuBar* bar = menuBarOf(menuBar);
    if (bar != nullptr)
        for (const MenuBarButton& button : bar->buttons) images.push_back(button.image);
    return images;
}
