// Zentavo driven as the home-screen host drives it: the item window, the
// options dialog, the rates list's saves and the currency calculator's wiring
// and slots. Conversions and file formats are tested natively.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "currency/core/currency_files.h"
#include "platform/pocketpc/device_test.h"
#include "resources/zentavo/zentavo_ids.h"
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

std::string ratesText(const std::string& euro, const std::string& more = "") {
    return "Test rates\nDollar\t1\nEuro\t" + euro + "\n" + more;
}

// One item on a host window of its own, over a scratch data directory and
// registry; rates.txt holds Euro at 0.5.
struct ItemOnHost {
    ItemOnHost() {
        setMachineText(kQuelvindorKey, kModulePathValue, place.directory());
        writeFileBytes(place.file(kRatesFileName), ratesText("0.5"));
        host = CreateWindowExW(0, L"STATIC", L"Today", WS_OVERLAPPED | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 240, 268,
                               nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostProcedure));
        record.hinstDLL = GetModuleHandleW(nullptr);
        record.fEnabled = TRUE;
    }
    ~ItemOnHost() { DestroyWindow(host); }
    HWND start() { return item = initializeItem(&record, host); }
    LRESULT send(UINT message) { return SendMessageW(item, message, reinterpret_cast<WPARAM>(&record), 0); }
    // What the host does on the first answer: places the item by its height and redraws.
    HWND show() {
        send(WM_TODAYCUSTOM_QUERYREFRESHCACHE);
        SetWindowPos(item, nullptr, 0, 24, 240, static_cast<int>(record.cyp), SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return list();
    }
    HWND list() const { return GetDlgItem(item, IDC_RATES_LIST); }
    std::string file(const wchar_t* name) const { return readFileBytes(place.file(name)); }

    ScratchPlace place;
    HWND host = nullptr;
    HWND item = nullptr;
    TODAYLISTITEM record = {};
};

// The enabled item reads rates.txt from the folder modulePath names, is
// laid out over the host's background, and makes its list again at
// clear-cache when it is missing.
TEST(ItemWindow, OnlyAnEnabledItemGetsItsWindowAndList) {
    ItemOnHost off;
    off.record.fEnabled = FALSE;
    EXPECT_EQ(nullptr, off.start());
    ItemOnHost host;
    HWND item = host.start();
    ASSERT_NE(nullptr, item);
    // Laid out, the list covers the item; the item's erase asks the host for
    // its background in the device context it was given.
    host.show();
    RECT rect, listRect;
    GetWindowRect(host.list(), &listRect);
    MapWindowPoints(nullptr, item, reinterpret_cast<POINT*>(&listRect), 2);
    GetClientRect(item, &rect);
    EXPECT_TRUE(rect.right == 240 && rect.bottom == 100 && EqualRect(&rect, &listRect) && IsWindowVisible(host.list()));
    watermarkRequests.clear();
    HDC dc = GetDC(item);
    EXPECT_EQ(1, SendMessageW(item, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(item, dc);
    ASSERT_EQ(1u, watermarkRequests.size());
    EXPECT_TRUE(watermarkRequests[0].hdc == dc && watermarkRequests[0].hwnd == item &&
                EqualRect(&rect, &watermarkRequests[0].rc));
    // A tap reaches the item only where no list lies: the list was not made.
    DestroyWindow(host.list());
    pluginState.ratesList = nullptr;
    deviceCaptureMessageBoxes(true);
    deviceClearMessageBoxes();
    SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    deviceCaptureMessageBoxes(false);
    ASSERT_EQ(1u, deviceMessageBoxes().size());
    const ShownMessageBox& box = deviceMessageBoxes()[0];
    EXPECT_TRUE(box.text == L"Initialization Error" && box.caption == L"Error" && box.hasOkButton &&
                box.owner == GetAncestor(item, GA_ROOT));
    host.send(WM_TODAYCUSTOM_CLEARCACHE);
    EXPECT_EQ(2, ListView_GetItemCount(host.list())) << "clear-cache makes the list";
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
        {"Updated 2 answers 0 and is left as it stands", false, 2, "0.25", 0, 2, 55, L"0.750000", 2},
        {"clear-cache reloads whatever Updated says", true, 2, "0.25", 1, 2, 55, L"0.250000", 3},
    };
    ItemOnHost host;
    setMachineNumber(kQuelvindorKey, kUpdatedValue, 1);
    host.start();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        setMachineNumber(kQuelvindorKey, kUpdatedValue, step.updated);
        if (step.euro)
            writeFileBytes(host.place.file(kRatesFileName), ratesText(step.euro, step.clearCache ? "Peso\t9\n" : ""));
        host.record.cyp = &step == steps ? 0 : 55;
        EXPECT_EQ(step.answer,
                  host.send(step.clearCache ? WM_TODAYCUSTOM_CLEARCACHE : WM_TODAYCUSTOM_QUERYREFRESHCACHE));
        EXPECT_EQ(step.updatedAfter, updatedFlag());
        EXPECT_EQ(step.cypAfter, host.record.cyp);
        EXPECT_EQ(step.euroShown, cellText(host.list(), 1, 0));
        EXPECT_EQ(step.rows, ListView_GetItemCount(host.list()));
    }
}

// The options dialog (ordinal 241) fits the device and closes with OK.
TEST(ItemWindow, OptionsDialogFitsTheDevice) {
    auto fits = [](HWND dialog) { expectFitsTheDevice(dialog, "options"); };
    EXPECT_EQ(1, runScreenThenDone(IDD_TODAY_CUSTOM, optionsDialogProc, ScreenData{}, fits));
}

// An accepted rate is written to rates.txt at once. A write that breaks off
// leaves rates.txt as it was and the rate in the item; the next accepted
// edit writes both with the other lines as stored.
TEST(RatesList, AcceptedEditIsSavedAtOnce) {
    ItemOnHost host;
    host.start();
    HWND list = host.show();
    saveScreenshot(L"plugin_rates_list");
    failSavesAt(SaveStep::write);
    ASSERT_TRUE(editRate(list, 1, L"7.25"));
    failSavesAt(SaveStep::none);
    EXPECT_EQ(ratesText("0.5"), host.file(kRatesFileName));
    EXPECT_EQ(L"7.250000", cellText(list, 1, 0)) << "the item keeps the rate";
    ASSERT_TRUE(editRate(list, 0, L"3.5"));
    EXPECT_EQ(std::string("Test rates\nDollar\t3.5000\nEuro\t7.2500\n") + '\0', host.file(kRatesFileName));
}

const int kBoxes[] = {IDC_CALC_BOX_1, IDC_CALC_BOX_2, IDC_CALC_BOX_3, IDC_CALC_BOX_4};
const int kAmounts[] = {IDC_CALC_AMOUNT_1, IDC_CALC_AMOUNT_2, IDC_CALC_AMOUNT_3, IDC_CALC_AMOUNT_4};

// quantrel.dat with the four rows given; the other slots hold choices of their own.
std::string selections(const int (&rows)[4]) {
    return selectionRecord({7, rows[0], rows[1], rows[2], rows[3], 4, 12, 1, 2, -2, 1, 1});
}

// The calculator as a header tap opens it, over the rates of the worked row.
INT_PTR openCalculator(ItemOnHost& host, const std::function<void(HWND)>& driver) {
    writeFileBytes(host.place.file(kRatesFileName), "Rates\nBase\t1\nDouble\t2\nHalf\t0.5\nHundred\t100\nZero\t0\n");
    readDataDirectory();
    pluginState.table.count = 0;  // opening must read rates.txt itself
    return runScreen(IDD_CALCULATOR, calculatorProcedure, calculatorData(), driver);
}

// Opening shows the stored rows; each amount raises the keyboard and each
// box lowers it. The first Done's write breaks off: quantrel.dat stays as it
// was and the rows stay in the item. Opened again and chosen again, Done
// writes slots 0 to 4 only.
TEST(Calculator, OpensOnTheStoredRowsConvertsAndSavesOnlyItsSlots) {
    ItemOnHost host;
    writeFileBytes(host.place.file(kSelectionFileName), selections({3, 2, 1, 0}));
    auto chooseWorkedRowAndDone = [&](HWND dialog, SaveStep failAt) {
        for (int r = 0; r < 4; ++r) SendDlgItemMessageW(dialog, kBoxes[r], CB_SETCURSEL, static_cast<WPARAM>(r), 0);
        enterText(dialog, IDC_CALC_AMOUNT_2, L"10");  // Base, Double, Half and Hundred
        const wchar_t* shown[4] = {L"5.00", L"10", L"2.50", L"500.00"};
        for (int r = 0; r < 4; ++r) EXPECT_EQ(shown[r], fieldText(dialog, kAmounts[r])) << "row " << r + 1;
        failSavesAt(failAt);
        pressDone(dialog);
        failSavesAt(SaveStep::none);
    };
    openCalculator(host, [&](HWND dialog) {
        for (int r = 0; r < 4; ++r) {
            SCOPED_TRACE("row " + std::to_string(r + 1));
            EXPECT_EQ(L"Base | Double | Half | Hundred | Zero", boxItems(dialog, kBoxes[r]));
            EXPECT_EQ(3 - r, SendDlgItemMessageW(dialog, kBoxes[r], CB_GETCURSEL, 0, 0));
            EXPECT_EQ(L"", fieldText(dialog, kAmounts[r]));
            SetFocus(nullptr);
            focusField(dialog, kAmounts[r]);
            EXPECT_TRUE(deviceSipIsUp()) << "the amount raises the keyboard";
            focusField(dialog, kBoxes[r]);
            EXPECT_FALSE(deviceSipIsUp()) << "the box lowers it";
        }
        chooseWorkedRowAndDone(dialog, SaveStep::write);
    });
    EXPECT_EQ(selections({3, 2, 1, 0}), host.file(kSelectionFileName));
    EXPECT_EQ(3, pluginSelections.currencyRow[3]) << "the item keeps the rows";
    EXPECT_EQ(1, openCalculator(host, [&](HWND dialog) {
                  saveScreenshot(L"plugin_calculator");
                  chooseWorkedRowAndDone(dialog, SaveStep::none);
              }));
    EXPECT_EQ(selections({0, 1, 2, 3}), host.file(kSelectionFileName)) << "the rows; the rest keeps its bytes";
}

}  // namespace
