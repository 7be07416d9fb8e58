// The home-screen host: the device's home screen with its background picture
// and the date, and the items listed under SOFTWARE\Microsoft\Today\Items,
// each a library that draws its own window and that the host drives with the
// item messages of todaycmn.h.
#pragma once
#include <windows.h>

#include <string>

#include "platform/pocketpc/todaycmn.h"

// ---- the home screen (host_screen.cpp) -------------------------------------
extern const wchar_t kHostClass[];  // "TodayHostScreen"

// Height of the date line at the top of the home screen; items start below.
constexpr int kDateLineHeight = 24;

// Registers the class and creates the home screen; null on failure.
HWND createHostScreen(HINSTANCE instance);
// Paints the background picture into `dc` over `target`, as the picture lies
// under the place whose top left corner is `origin` on the device screen.
void paintBackground(HDC dc, const RECT& target, POINT origin);

// ---- the items (host_items.cpp) --------------------------------------------
// Reads the items key: loads each enabled item of type 4 that is not loaded
// yet, drops the loaded ones that are gone or switched off, and tells the
// ones that stay to drop their caches. New items are asked for their height
// at once. Then lays the items out.
void refreshItems(HWND host);
// The refresh query to every item; relays out and redraws when one of them
// answers that it changed.
void queryItems(HWND host);
// The clear-cache message to every item, then a new layout.
void clearItemCaches(HWND host);
// Places the items one under the other below the date line, each as high as
// its record's cyp, and redraws the home screen with its items.
void layoutItems(HWND host);
// Runs the options dialog of the first item that offers one.
void showItemOptions(HWND host);
// Destroys every item window. The libraries stay loaded until the host ends:
// an item may leave windows of its own behind.
void dropAllItems();

// Creates the item's entry (DLL = `library`, Enabled 1, Options 0, Type 4)
// under a key named after the library in double quotes, unless the entry is
// there already: an item the user switched off stays off.
void installItem(const std::wstring& library);

// Arms the watch on the items key: `changed` is signalled at the next change
// of the key or of any key under it. False when the key cannot be opened.
bool watchItemsKey(HANDLE changed);
