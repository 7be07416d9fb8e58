// Zentavo's item window driven as the home-screen host drives it: item
// creation, the refresh queries with the `Updated` flag, clear-cache, the
// background request, a tap where no list lies, and the options dialog.
#include <gtest/gtest.h>

#include "platform/pocketpc/device_test.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/plugin/plugin_host.h"

using namespace plugin_test;

namespace {

const std::vector<std::pair<std::string, std::string>> kOldRates = {{"Dollar", "1"}, {"Euro", "0.5"}};
const std::vector<std::pair<std::string, std::string>> kNewRates = {{"Dollar", "1"}, {"Euro", "0.75"}};

std::wstring windowClass(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring windowText(HWND window) {
    wchar_t text[128] = L"";
    GetWindowTextW(window, text, 128);
    return text;
}

TEST(ItemWindow, SwitchedOffItemGetsNoWindow) {
    ItemOnHost host;
    host.record.fEnabled = FALSE;
    EXPECT_EQ(nullptr, host.start());
    EXPECT_EQ(nullptr, FindWindowExW(host.host, nullptr, L"MyToday", nullptr)) << "no window may be made";
}

TEST(ItemWindow, EnabledItemMakesItsWindowAsTheHostExpects) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    HWND item = host.start();
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(L"MyToday", windowClass(item));
    EXPECT_EQ(L"MyTodayScreen", windowText(item));
    EXPECT_EQ(host.host, GetParent(item));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE),
              GetWindowLongW(item, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    RECT rect;
    GetClientRect(item, &rect);
    EXPECT_EQ(240, rect.right) << "width at creation";
    EXPECT_EQ(0, rect.bottom) << "height at creation: the host sizes it by cyp";
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW), GetClassLongPtrW(item, GCL_STYLE));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(GetStockObject(HOLLOW_BRUSH)), GetClassLongPtrW(item, GCLP_HBRBACKGROUND));
    EXPECT_EQ(item, pluginState.itemWindow);
    HWND list = host.list();
    ASSERT_NE(nullptr, list) << "the rates list is made at creation";
    EXPECT_EQ(2, rowCount(list));
}

TEST(ItemWindow, ModulePathOf200CharactersGivesTheDataDirectory) {
    ItemOnHost host;
    std::wstring directory = host.place.directory();
    std::vector<std::wstring> made;
    auto addLevel = [&](size_t length) {  // a folder name and its separator
        directory += std::wstring(length - 1, L'd') + L"\\";
        CreateDirectoryW(directory.c_str(), nullptr);
        made.push_back(directory);
    };
    while (200 - directory.size() > 80) addLevel(40);
    size_t rest = 200 - directory.size();
    addLevel(rest / 2);
    addLevel(rest - rest / 2);
    ASSERT_EQ(200u, directory.size());
    writeFileBytes(directory + L"rates.txt", ratesText({{"Krone", "6.5"}, {"Rand", "18"}, {"Won", "1300"}}));
    setModulePath(directory);
    host.start();
    EXPECT_EQ(directory, std::wstring(pluginState.dataDirectory));
    EXPECT_EQ(3, rowCount(host.list())) << "rates.txt read from the 200-character directory";
    EXPECT_EQ(L"Won", cellText(host.list(), 2, 1));
    for (auto level = made.rbegin(); level != made.rend(); ++level) {
        DeleteFileW((*level + L"rates.txt").c_str());
        RemoveDirectoryW(level->c_str());
    }
}

// The refresh queries, one step after another on one item.
struct QueryStep {
    const char* name;
    int updatedBefore;        // -1: no value, otherwise the REG_DWORD to set
    bool ratesChangeBefore;   // rates.txt gets the new Euro rate first
    LRESULT answer;
    const char* updatedAfter;
    DWORD cypAfter;
    const wchar_t* euroShown;
};

TEST(ItemWindow, RefreshQueriesFollowTheUpdatedFlag) {
    const QueryStep steps[] = {
        {"first query sets the height even with Updated 0", 0, false, 1, "dword 0", 100, L"0.500000"},
        {"second query with Updated 0 changes nothing", 0, false, 0, "dword 0", 55, L"0.500000"},
        {"Updated 2 is not ours to consume", 2, true, 0, "dword 2", 55, L"0.500000"},
        {"missing Updated counts as no change", -1, false, 0, "none", 55, L"0.500000"},
        {"Updated 1 reloads and is set back to 0", 1, false, 1, "dword 0", 55, L"0.750000"},
        {"the next query answers 0", 0, false, 0, "dword 0", 55, L"0.750000"},
    };
    ItemOnHost host;
    host.writeRates(kOldRates);
    setUpdated(0);
    host.start();
    HWND list = host.list();
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const QueryStep& step = steps[i];
        SCOPED_TRACE(step.name);
        if (step.updatedBefore < 0)
            deleteUpdated();
        else
            setUpdated(static_cast<DWORD>(step.updatedBefore));
        if (step.ratesChangeBefore) host.writeRates(kNewRates);
        host.record.cyp = i == 0 ? 0 : 55;  // only the first query may change the height
        EXPECT_EQ(step.answer, host.query());
        EXPECT_EQ(step.updatedAfter, updatedValue());
        EXPECT_EQ(step.cypAfter, host.record.cyp);
        EXPECT_EQ(step.euroShown, cellText(list, 1, 0));
    }
}

TEST(ItemWindow, UpdatedRaisedBeforeTheItemStartedIsConsumedAtTheSecondQuery) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    setUpdated(1);
    host.start();
    EXPECT_EQ(1, host.query());
    EXPECT_EQ("dword 1", updatedValue()) << "the first query does not look at the flag";
    host.writeRates(kNewRates);
    EXPECT_EQ(1, host.query());
    EXPECT_EQ("dword 0", updatedValue());
    EXPECT_EQ(L"0.750000", cellText(host.list(), 1, 0));
}

TEST(ItemWindow, UpdatedOfAnotherTypeIsLeftAlone) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    host.startShown();
    setQuelvindorValue(kUpdatedValue, REG_SZ, L"1", 4);
    EXPECT_EQ(0, host.query());
    EXPECT_EQ("type 1", updatedValue()) << "REG_SZ stays as it was";
}

TEST(ItemWindow, ClearCacheAlwaysReloadsAndLeavesUpdatedAlone) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    HWND list = host.startShown();
    setUpdated(2);
    host.writeRates({{"Dollar", "1"}, {"Euro", "0.75"}, {"Peso", "17.5"}});
    EXPECT_EQ(1, host.clearCache());
    EXPECT_EQ("dword 2", updatedValue());
    EXPECT_EQ(L"0.750000", cellText(list, 1, 0));
    EXPECT_EQ(3, rowCount(list)) << "a currency added to rates.txt gets its row";
    RECT listRect, itemRect;
    GetClientRect(host.item, &itemRect);
    GetWindowRect(list, &listRect);
    MapWindowPoints(nullptr, host.item, reinterpret_cast<POINT*>(&listRect), 2);
    EXPECT_TRUE(EqualRect(&listRect, &itemRect)) << "the list is laid over the whole item";
}

TEST(ItemWindow, EraseAsksTheHostForItsBackground) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    host.startShown();
    watermarkRequests().clear();
    HDC dc = GetDC(host.item);
    EXPECT_EQ(1, SendMessageW(host.item, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(host.item, dc);
    ASSERT_EQ(1u, watermarkRequests().size());
    const TODAYDRAWWATERMARKINFO& request = watermarkRequests()[0];
    EXPECT_EQ(dc, request.hdc);
    EXPECT_EQ(host.item, request.hwnd);
    RECT client;
    GetClientRect(host.item, &client);
    EXPECT_TRUE(EqualRect(&client, &request.rc)) << "got " << request.rc.right << "x" << request.rc.bottom;
}

TEST(ItemWindow, PaintLaysTheListOverTheItem) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    host.start();
    RECT before;
    GetClientRect(host.list(), &before);
    EXPECT_EQ(0, before.bottom) << "made with the item's height at creation";
    host.query();
    host.layOut();
    RECT listRect;
    GetWindowRect(host.list(), &listRect);
    MapWindowPoints(nullptr, host.item, reinterpret_cast<POINT*>(&listRect), 2);
    RECT expected = {0, 0, 240, 100};
    EXPECT_TRUE(EqualRect(&expected, &listRect))
        << "got " << listRect.left << "," << listRect.top << " " << listRect.right << "x" << listRect.bottom;
    EXPECT_TRUE(IsWindowVisible(host.list()));
}

TEST(ItemWindow, TapWhereNoListLiesShowsInitializationError) {
    ItemOnHost host;
    host.writeRates(kOldRates);
    host.start();
    DestroyWindow(host.list());  // as if the list could not be made
    pluginState.ratesList = nullptr;
    deviceCaptureMessageBoxes(true);
    deviceClearMessageBoxes();
    SendMessageW(host.item, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    deviceCaptureMessageBoxes(false);
    ASSERT_EQ(1u, deviceMessageBoxes().size());
    const ShownMessageBox& box = deviceMessageBoxes()[0];
    EXPECT_EQ(L"Initialization Error", box.text);
    EXPECT_EQ(L"Error", box.caption);
    EXPECT_EQ(GetAncestor(host.item, GA_ROOT), box.owner)
        << "item " << host.item << " host " << host.host;
    EXPECT_TRUE(box.hasOkButton);
    // The next clear-cache makes the list after all.
    host.clearCache();
    EXPECT_NE(nullptr, host.list());
    EXPECT_EQ(static_cast<LRESULT>(0x20000000), SendMessageW(host.list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

TEST(ItemWindow, OptionsDialogShowsItsTextsAndClosesOnlyWithOk) {
    ItemOnHost host;
    bool otherCommandClosed = false;
    INT_PTR result = runScreen(GetModuleHandleW(nullptr), IDD_TODAY_CUSTOM, optionsDialogProc, [&](HWND dialog) {
        EXPECT_EQ(L"My Today Settings", windowText(dialog));
        EXPECT_EQ(L"MyToday - Options", fieldText(dialog, IDC_OPTIONS_TITLE));
        EXPECT_EQ(L"Description of the options for your DLL go here.", fieldText(dialog, IDC_OPTIONS_DESCRIPTION));
        expectFitsTheDevice(dialog, "options");
        EXPECT_EQ(FALSE, optionsDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
        otherCommandClosed = !IsWindowVisible(dialog);
        RECT frame;
        GetWindowRect(dialog, &frame);
        LPARAM onCaption = MAKELPARAM((frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2);
        EXPECT_EQ(HTCAPTION, SendMessageW(dialog, WM_NCHITTEST, 0, onCaption))
            << "the dialog manager answers for the frame";
        saveScreenshot(L"plugin_options");
        pressDone(dialog);
    }, host.host);
    EXPECT_FALSE(otherCommandClosed) << "a command other than OK leaves the dialog open";
    EXPECT_EQ(1, result);
}

}  // namespace
