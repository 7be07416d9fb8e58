// Zentavo's item window driven as the home-screen host drives it: item
// creation, the refresh queries with the `Updated` flag, clear-cache, the
// background request, a tap where no list lies, the options dialog, and the
// rates list's edits saved to rates.txt at once.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "currency/core/currency_files.h"
#include "platform/pocketpc/device_test.h"
#include "resources/zentavo/zentavo_ids.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"
#include "todayplugin/plugin.h"

namespace {

std::vector<TODAYDRAWWATERMARKINFO> watermarkRequests;  // as the item sent them

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != TODAYM_DRAWWATERMARK) return DefWindowProcW(window, message, wParam, lParam);
    watermarkRequests.push_back(*reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam));
    return TRUE;
}

// rates.txt with Dollar at 1 and Euro at the rate given, then the extra lines.
std::string ratesText(const std::string& euro, const std::string& more = "") {
    return "Test rates\nDollar\t1\nEuro\t" + euro + "\n" + more;
}

// One item on a host window of its own, over a scratch data directory and
// registry; rates.txt holds Euro at 0.5.
struct ItemOnHost {
    ItemOnHost() {
        setMachineText(kQuelvindorKey, kModulePathValue, place.directory());
        writeFileBytes(place.file(kRatesFileName), ratesText("0.5"));
        WNDCLASSW hostClass = {};
        hostClass.lpfnWndProc = hostProcedure;
        hostClass.hInstance = GetModuleHandleW(nullptr);
        hostClass.lpszClassName = L"PluginTestHost";
        RegisterClassW(&hostClass);  // a second registration fails harmlessly
        host = CreateWindowExW(0, L"PluginTestHost", L"Today", WS_OVERLAPPED | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 240,
                               268, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        record.hinstDLL = GetModuleHandleW(nullptr);
        record.fEnabled = TRUE;
    }
    ~ItemOnHost() { DestroyWindow(host); }
    HWND start() { return item = initializeItem(&record, host); }
    LRESULT query() { return SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&record), 0); }
    // Started, then what the host does on the first answer of 1: places the item by its height and redraws.
    HWND startShown() {
        start();
        query();
        SetWindowPos(item, nullptr, 0, 24, 240, static_cast<int>(record.cyp), SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return list();
    }
    HWND list() const { return GetDlgItem(item, IDC_RATES_LIST); }
    std::string rates() const { return readFileBytes(place.file(kRatesFileName)); }

    ScratchPlace place;
    HWND host = nullptr;
    HWND item = nullptr;
    TODAYLISTITEM record = {};
};

std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[128] = L"";
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return text;
}
int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// Opens the list's editor on the row, sets the text and ends the edit with
// Enter; true once the editor has closed.
bool editRate(HWND list, int row, const std::wstring& text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    if (editor == nullptr) return false;
    SetWindowTextW(editor, text.c_str());
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    return waitFor([&] { return !IsWindow(editor); });
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
    EXPECT_EQ(0x50800201, GetWindowLongW(host.list(), GWL_STYLE));
    const wchar_t* titles[] = {L"Rate", L"Currency"};  // from Zentavo's string table
    for (int column = 0; column < 2; ++column) {
        wchar_t title[64] = L"";
        LVCOLUMNW query = {};
        query.mask = LVCF_TEXT;
        query.pszText = title;
        query.cchTextMax = 64;
        SendMessageW(host.list(), LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&query));
        EXPECT_STREQ(titles[column], title);
    }
    EXPECT_EQ(L"Euro", cellText(host.list(), 1, 1));
}

TEST(ItemWindow, ReadsRatesFromA200CharacterModulePath) {
    ItemOnHost host;
    std::wstring directory = host.place.directory();
    directory += std::wstring(199 - directory.size(), L'd') + L"\\";
    ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr));
    writeFileBytes(directory + kRatesFileName, ratesText("0.5", "Won\t1300\n"));
    setMachineText(kQuelvindorKey, kModulePathValue, directory);
    host.start();
    EXPECT_EQ(L"Won", cellText(host.list(), 2, 1));
    DeleteFileW((directory + kRatesFileName).c_str());
    RemoveDirectoryW(directory.c_str());
}

// The host's messages, one step after another on one item; Updated is 1
// from before the item started.
TEST(ItemWindow, RefreshQueriesFollowUpdatedAndClearCacheAlwaysReloads) {
    struct Step {
        const char* name;
        bool clearCache;   // else a refresh query
        DWORD updated;     // set before the step
        const char* euro;  // rates.txt rewritten with this Euro rate first, unless null
        LRESULT answer;
        long updatedAfter;
        DWORD cypAfter;  // cyp is 0 before the first query, 55 before the others
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
    setMachineNumber(kQuelvindorKey, kUpdatedValue, 1);
    host.start();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        setMachineNumber(kQuelvindorKey, kUpdatedValue, step.updated);
        if (step.euro) writeFileBytes(host.place.file(kRatesFileName), ratesText(step.euro, step.clearCache ? "Peso\t9\n" : ""));
        host.record.cyp = &step == steps ? 0 : 55;
        if (step.clearCache)
            EXPECT_EQ(step.answer, SendMessageW(host.item, WM_TODAYCUSTOM_CLEARCACHE, 0, 0));
        else
            EXPECT_EQ(step.answer, host.query());
        EXPECT_EQ(step.updatedAfter, updatedFlag());
        EXPECT_EQ(step.cypAfter, host.record.cyp);
        EXPECT_EQ(step.euroShown, cellText(host.list(), 1, 0));
        EXPECT_EQ(step.rows, rowCount(host.list()));
    }
}

// Laid out, the list covers the item, and the item's erase asks the host
// for its background in the item's own device context.
TEST(ItemWindow, ListCoversTheItemAndEraseAsksTheHostForItsBackground) {
    ItemOnHost host;
    host.startShown();
    RECT listRect, client;
    GetWindowRect(host.list(), &listRect);
    MapWindowPoints(nullptr, host.item, reinterpret_cast<POINT*>(&listRect), 2);
    GetClientRect(host.item, &client);
    EXPECT_TRUE(client.right == 240 && client.bottom == 100 && EqualRect(&client, &listRect));
    EXPECT_TRUE(IsWindowVisible(host.list()));
    watermarkRequests.clear();
    HDC dc = GetDC(host.item);
    EXPECT_EQ(1, SendMessageW(host.item, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(host.item, dc);
    ASSERT_EQ(1u, watermarkRequests.size());
    EXPECT_EQ(dc, watermarkRequests[0].hdc);
    EXPECT_EQ(host.item, watermarkRequests[0].hwnd);
    EXPECT_TRUE(EqualRect(&client, &watermarkRequests[0].rc));
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
        wchar_t title[64] = L"";
        GetWindowTextW(dialog, title, 64);
        EXPECT_STREQ(L"My Today Settings", title);
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

// An accepted rate is stored, shown and written to rates.txt at once with
// the other lines as stored. A write that breaks off leaves rates.txt and
// the data directory as they were and the rate in the item; the next
// accepted edit writes both. Hostile texts leave a finite rate.
TEST(RatesList, AcceptedEditIsSavedAtOnce) {
    ItemOnHost host;
    HWND list = host.startShown();
    saveScreenshot(L"plugin_rates_list");
    ASSERT_TRUE(editRate(list, 1, L"1.5x"));
    EXPECT_EQ(std::string("Test rates\nDollar\t1.0000\nEuro\t1.5000\n") + '\0', host.rates());
    const std::string before = host.rates();
    failSavesAt(SaveStep::write);
    ASSERT_TRUE(editRate(list, 1, L"7.25"));
    failSavesAt(SaveStep::none);
    EXPECT_EQ(before, host.rates());
    EXPECT_EQ(std::vector<std::wstring>{kRatesFileName}, filesIn(host.place.directory())) << "no temporary file left";
    EXPECT_EQ(L"7.250000", cellText(list, 1, 0)) << "the item keeps the rate";
    ASSERT_TRUE(editRate(list, 0, L"3.5"));
    EXPECT_EQ(std::string("Test rates\nDollar\t3.5000\nEuro\t7.2500\n") + '\0', host.rates());
    // The list view here reports an emptied editor as cancelled: the empty
    // text is handed on as a list that passes it on would.
    wchar_t empty[1] = L"";
    NMLVDISPINFOW edit = {{list, IDC_RATES_LIST, static_cast<UINT>(LVN_ENDLABELEDITW)}, {}};
    edit.item.iItem = 1;
    edit.item.pszText = empty;
    SendMessageW(host.item, WM_NOTIFY, IDC_RATES_LIST, reinterpret_cast<LPARAM>(&edit));
    EXPECT_EQ(std::string("Test rates\nDollar\t3.5000\nEuro\t0.0000\n") + '\0', host.rates()) << "empty text";
    for (const HostileInput& input : hostileInputs()) {
        ASSERT_TRUE(editRate(list, 1, input.text)) << input.name;
        EXPECT_TRUE(std::isfinite(pluginState.table.entries[1].rate)) << input.name;
        std::string shown = host.rates() + " ";
        for (wchar_t c : cellText(list, 1, 0)) shown += static_cast<char>(c);
        for (char& c : shown) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(shown.find("nan") == std::string::npos && shown.find("inf") == std::string::npos)
            << input.name << ": rates.txt and the cell read " << shown;
    }
}

}  // namespace
