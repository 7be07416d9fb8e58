// Zentavo's item window driven as the home-screen host drives it: item
// creation, the refresh queries with the `Updated` flag, clear-cache, the
// background request, a tap where no list lies, the options dialog, and the
// rates list's edits saved to rates.txt at once.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>

#include "platform/pocketpc/device_test.h"
#include "tests/win/plugin/plugin_host.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/screen_checks.h"

using namespace plugin_test;

namespace {

std::wstring windowText(HWND window) {
    wchar_t text[128] = L"";
    GetWindowTextW(window, text, 128);
    return text;
}

// The line of rates.txt that begins with the name and a tab.
std::string fileLine(const std::string& text, const std::string& name) {
    size_t at = text.find("\n" + name + "\t");
    if (at == std::string::npos) return "(no line for " + name + ")";
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

TEST(ItemWindow, OnlyAnEnabledItemGetsItsWindowAndList) {
    ItemOnHost off;
    off.record.fEnabled = FALSE;
    EXPECT_EQ(nullptr, off.start());
    EXPECT_EQ(nullptr, FindWindowExW(off.host, nullptr, L"MyToday", nullptr));

    ItemOnHost host;
    HWND item = host.start();
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(item, FindWindowExW(host.host, nullptr, L"MyToday", L"MyTodayScreen"));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE), GetWindowLongW(item, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    RECT rect;
    GetClientRect(item, &rect);
    EXPECT_EQ(240, rect.right);
    EXPECT_EQ(0, rect.bottom) << "the host sizes it by cyp";
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW), GetClassLongPtrW(item, GCL_STYLE));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(GetStockObject(HOLLOW_BRUSH)), GetClassLongPtrW(item, GCLP_HBRBACKGROUND));
    HWND list = host.list();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0x50800201, GetWindowLongW(list, GWL_STYLE));
    const wchar_t* titles[] = {L"Rate", L"Currency"};  // from Zentavo's string table
    for (int column = 0; column < 2; ++column) {
        wchar_t title[64] = L"";
        LVCOLUMNW query = {};
        query.mask = LVCF_TEXT;
        query.pszText = title;
        query.cchTextMax = 64;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&query));
        EXPECT_STREQ(titles[column], title);
    }
    EXPECT_EQ(L"Euro", cellText(list, 1, 1));
}

TEST(ItemWindow, ReadsRatesFromA200CharacterModulePath) {
    ItemOnHost host;
    std::wstring directory = host.place.directory();
    directory += std::wstring(199 - directory.size(), L'd') + L"\\";
    ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
    writeFileBytes(directory + kRatesFileName, ratesText("0.5", "Won\t1300\n"));
    setMachineText(kQuelvindorKey, kModulePathValue, directory);
    host.start();
    EXPECT_EQ(directory, std::wstring(pluginState.dataDirectory));
    EXPECT_EQ(L"Won", cellText(host.list(), 2, 1));
    DeleteFileW((directory + kRatesFileName).c_str());
    RemoveDirectoryW(directory.c_str());
}

// The host's messages, one step after another on one item; Updated is 1
// from before the item started.
TEST(ItemWindow, RefreshQueriesFollowUpdatedAndClearCacheAlwaysReloads) {
    struct Step {
        const char* name;
        bool clearCache;     // else a refresh query
        DWORD updated;       // set before the step
        const char* euro;    // rates.txt rewritten with this Euro rate first, unless null
        LRESULT answer;
        long updatedAfter;
        DWORD cypAfter;      // cyp is 0 before the first query, 55 before the others
        const wchar_t* euroShown;
        int rows;
    };
    const Step steps[] = {
        {"first query gives the height, leaves Updated", false, 1, nullptr, 1, 1, 100, L"0.500000", 2},
        {"Updated 1 reloads and is set back to 0", false, 1, "0.75", 1, 0, 55, L"0.750000", 2},
        {"Updated 0 answers 0 and reloads nothing", false, 0, "0.25", 0, 0, 55, L"0.750000", 2},
        {"Updated 2 is not the item's to consume", false, 2, nullptr, 0, 2, 55, L"0.750000", 2},
        {"clear-cache reloads whatever Updated says", true, 2, "0.25", 1, 2, 55, L"0.250000", 3},
    };
    ItemOnHost host;
    setUpdated(1);
    host.start();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        setUpdated(step.updated);
        if (step.euro) writeFileBytes(host.place.file(kRatesFileName), ratesText(step.euro, step.clearCache ? "Peso\t17.5\n" : ""));
        host.record.cyp = &step == steps ? 0 : 55;
        if (step.clearCache)
            EXPECT_EQ(step.answer, SendMessageW(host.item, WM_TODAYCUSTOM_CLEARCACHE, 0, 0));
        else
            EXPECT_EQ(step.answer, host.query());
        EXPECT_EQ(step.updatedAfter, updatedFlag());
        EXPECT_EQ(step.cypAfter, host.record.cyp);
        EXPECT_EQ(step.euroShown, cellText(host.list(), 1, 0));
        EXPECT_EQ(step.rows, rowCount(host.list()));
        if (&step != steps) continue;
        host.layOut();
        RECT listRect, expected = {0, 0, 240, 100};
        GetWindowRect(host.list(), &listRect);
        MapWindowPoints(nullptr, host.item, reinterpret_cast<POINT*>(&listRect), 2);
        EXPECT_TRUE(EqualRect(&expected, &listRect) && IsWindowVisible(host.list())) << "the list covers the item";
    }
}

TEST(ItemWindow, EraseAsksTheHostForItsBackground) {
    ItemOnHost host;
    host.startShown();
    watermarkRequests().clear();
    HDC dc = GetDC(host.item);
    EXPECT_EQ(1, SendMessageW(host.item, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(host.item, dc);
    ASSERT_EQ(1u, watermarkRequests().size());
    RECT client;
    GetClientRect(host.item, &client);
    EXPECT_EQ(dc, watermarkRequests()[0].hdc);
    EXPECT_EQ(host.item, watermarkRequests()[0].hwnd);
    EXPECT_TRUE(EqualRect(&client, &watermarkRequests()[0].rc));
}

TEST(ItemWindow, TapWhereNoListLiesShowsInitializationErrorUntilClearCacheMakesIt) {
    ItemOnHost host;
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
    EXPECT_EQ(GetAncestor(host.item, GA_ROOT), box.owner);
    EXPECT_TRUE(box.hasOkButton);
    SendMessageW(host.item, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
    EXPECT_EQ(2, rowCount(host.list())) << "clear-cache makes the list";
}

TEST(ItemWindow, OptionsDialogShowsItsTextsAndClosesOnlyWithOk) {
    ItemOnHost host;
    bool otherCommandClosed = false;
    INT_PTR result = runScreen(GetModuleHandleW(nullptr), IDD_TODAY_CUSTOM, optionsDialogProc, [&](HWND dialog) {
        EXPECT_EQ(L"My Today Settings", windowText(dialog));
        EXPECT_EQ(L"MyToday - Options", fieldText(dialog, IDC_OPTIONS_TITLE));
        EXPECT_EQ(L"Description of the options for your DLL go here.", fieldText(dialog, IDC_OPTIONS_DESCRIPTION));
        expectFitsTheDevice(dialog, "options");
        optionsDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        otherCommandClosed = !IsWindowVisible(dialog);
        RECT frame;
        GetWindowRect(dialog, &frame);
        LPARAM onCaption = MAKELPARAM((frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2);
        EXPECT_EQ(HTCAPTION, SendMessageW(dialog, WM_NCHITTEST, 0, onCaption)) << "the dialog manager answers";
        pressDone(dialog);
    }, host.host);
    EXPECT_FALSE(otherCommandClosed) << "a command other than OK leaves the dialog open";
    EXPECT_EQ(1, result);
}

// An accepted rate is stored, shown and written to rates.txt at once; the
// other lines are rewritten as stored. Hostile texts leave a finite rate.
TEST(RatesList, AcceptedEditIsSavedAtOnce) {
    ItemOnHost host;
    HWND list = host.startShown();
    saveScreenshot(L"plugin_rates_list");
    ASSERT_TRUE(editRate(list, 1, L"1.5x"));
    EXPECT_EQ(1.5, pluginState.table.entries[1].rate);
    EXPECT_EQ(L"1.500000", cellText(list, 1, 0));
    std::string file = readFileBytes(host.place.file(kRatesFileName));
    EXPECT_EQ("Euro\t1.5000", fileLine(file, "Euro"));
    EXPECT_EQ("Dollar\t1.0000", fileLine(file, "Dollar"));
    // The list view here reports an emptied editor as cancelled: the empty
    // text is handed on as a list that passes it on would.
    wchar_t empty[1] = L"";
    NMLVDISPINFOW edit = {{list, IDC_RATES_LIST, static_cast<UINT>(LVN_ENDLABELEDITW)}, {}};
    edit.item.iItem = 1;
    edit.item.pszText = empty;
    SendMessageW(host.item, WM_NOTIFY, IDC_RATES_LIST, reinterpret_cast<LPARAM>(&edit));
    EXPECT_EQ("Euro\t0.0000", fileLine(readFileBytes(host.place.file(kRatesFileName)), "Euro")) << "empty text";
    for (const HostileInput& input : hostileInputs()) {
        ASSERT_TRUE(editRate(list, 1, input.text)) << input.name;
        EXPECT_TRUE(std::isfinite(pluginState.table.entries[1].rate)) << input.name;
        std::string shown = readFileBytes(host.place.file(kRatesFileName)) + " ";
        for (wchar_t c : cellText(list, 1, 0)) shown += static_cast<char>(c);
        for (char& c : shown) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(shown.find("nan") == std::string::npos && shown.find("inf") == std::string::npos)
            << input.name << ": rates.txt and the cell read " << shown;
    }
}

}  // namespace
