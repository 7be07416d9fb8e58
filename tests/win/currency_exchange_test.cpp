// The Currency Exchange screen built from its template and driven with
// messages: conversion on key release, the currency boxes, what Done keeps,
// the rate editor and the download buttons.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

const int kBoxes[4] = {IDC_CURRENCY_BOX_1, IDC_CURRENCY_BOX_2, IDC_CURRENCY_BOX_3, IDC_CURRENCY_BOX_4};
const int kFields[4] = {IDC_CURRENCY_AMOUNT_1, IDC_CURRENCY_AMOUNT_2, IDC_CURRENCY_AMOUNT_3, IDC_CURRENCY_AMOUNT_4};

// rates.txt of the worked example: entries 0 to 3 at 1, 2, 0.5 and 100.
const std::string kWorkedRates = "Sample rates\nA\t1\nB\t2\nC\t0.5\nD\t100\n";

// A selection record with the four currency rows and the two flags.
std::string selectionRecord(int row1, int row2, int row3, int row4, int autoUpdate = 0, int todayItem = 0) {
    std::string record(100, '\0');
    int values[12] = {0, row1, row2, row3, row4, 0, 0, 0, 0, 0, autoUpdate, todayItem};
    for (int slot = 0; slot < 12; ++slot) {
        std::string text = std::to_string(values[slot]);
        record.replace(static_cast<size_t>(slot) * 3, text.size(), text);
    }
    return record;
}

std::wstring boxItem(HWND dialog, int box, int index) {
    HWND control = GetDlgItem(dialog, box);
    LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return L"<none>";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<std::wstring> boxItems(HWND dialog, int box) {
    std::vector<std::wstring> items;
    LRESULT count = SendDlgItemMessageW(dialog, box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) items.push_back(boxItem(dialog, box, i));
    return items;
}

int selection(HWND dialog, int box) { return static_cast<int>(SendDlgItemMessageW(dialog, box, CB_GETCURSEL, 0, 0)); }

void choose(HWND dialog, int box, int index) { SendDlgItemMessageW(dialog, box, CB_SETCURSEL, index, 0); }

void click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

DWORD registryNumber(const wchar_t* keyPath, const wchar_t* name, bool* present) {
    DWORD value = 0, size = sizeof value, type = 0;
    HKEY key = nullptr;
    *present = false;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    *present = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
               type == REG_DWORD;
    RegCloseKey(key);
    return value;
}

// Runs `driver` on the screen titled `caption` once a command of the current
// screen has opened it modally: the nested screen's own loop dispatches the
// timer that finds it. Done closes it after the driver.
struct NestedScreen {
    const wchar_t* caption;
    std::function<void(HWND)> driver;
    bool ran;
};
NestedScreen* nested = nullptr;

void CALLBACK findNestedScreen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND screen = FindWindowW(L"#32770", nested->caption);
    if (screen == nullptr || !IsWindowVisible(screen) || nested->ran) return;
    KillTimer(nullptr, timer);
    nested->ran = true;
    nested->driver(screen);
    pressDone(screen);
}

bool openNested(HWND dialog, int button, const wchar_t* caption, const std::function<void(HWND)>& driver) {
    NestedScreen run = {caption, driver, false};
    nested = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, findNestedScreen);
    click(dialog, button);
    KillTimer(nullptr, timer);
    nested = nullptr;
    return run.ran;
}

// Labels, buttons and check boxes whose text is wider than the control
// (less a check box's box), in the control's own font: cut off on screen.
std::vector<std::wstring> cutTexts(HWND dialog) {
    std::vector<std::wstring> cut;
    HDC dc = GetDC(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = L"", text[64] = L"";
        GetClassNameW(child, className, 16);
        GetWindowTextW(child, text, 64);
        if ((lstrcmpiW(className, L"Static") != 0 && lstrcmpiW(className, L"Button") != 0) || text[0] == 0) continue;
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
        SelectObject(dc, old);
        RECT client;
        GetClientRect(child, &client);
        LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        int room = client.right;
        if (lstrcmpiW(className, L"Button") == 0 && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX))
            room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
        if (extent.cx > room) cut.push_back(text);
    }
    ReleaseDC(dialog, dc);
    return cut;
}

class CurrencyExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        programRates = CurrencyTable{};
        programSelections = SelectionState{};
    }
    void TearDown() override {
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }
    std::wstring ratesPath() const { return place.file(L"rates.txt"); }
    std::wstring selectionPath() const { return place.file(L"quantrel.dat"); }
    // Runs `driver` on the open screen, then closes it with Done, also when
    // the driver stopped at a failed assertion.
    INT_PTR open(const std::function<void(HWND)>& driver) {
        return runScreen(GetModuleHandleW(nullptr), IDD_CURRENCY, currencyScreenProcedure, programScreenData(),
                         [&](HWND dialog) {
                             driver(dialog);
                             pressDone(dialog);
                         });
    }

    ScratchPlace place;
};

TEST_F(CurrencyExchangeTest, OpensWithTheFileRatesAndChoices) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), kWorkedRates));
    ASSERT_TRUE(writeFileBytes(selectionPath(), selectionRecord(3, 0, 2, 1, 1, 0)));
    INT_PTR result = open([&](HWND dialog) {
        const std::vector<std::wstring> names = {L"A", L"B", L"C", L"D"};
        const int expected[4] = {3, 0, 2, 1};
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(names, boxItems(dialog, kBoxes[row])) << "row " << row + 1 << ": names in index order";
            EXPECT_EQ(expected[row], selection(dialog, kBoxes[row])) << "row " << row + 1;
            EXPECT_EQ(L"", fieldText(dialog, kFields[row])) << "row " << row + 1 << " starts empty";
        }
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(dialog, IDC_CURRENCY_AUTO_UPDATE));
        EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(dialog, IDC_CURRENCY_TODAY_ITEM));
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        HWND bar = deviceMenuBarOf(dialog);
        ASSERT_NE(nullptr, bar) << "an empty menu bar";
        EXPECT_TRUE(deviceMenuBarCommands(bar).empty());
        focusField(dialog, kFields[3]);
        EXPECT_TRUE(deviceSipIsUp()) << "an amount field raises the keyboard";
        SetFocus(GetDlgItem(dialog, IDC_CURRENCY_EDIT));
        EXPECT_FALSE(deviceSipIsUp()) << "a button lowers it";
    });
    EXPECT_EQ(1, result);
}

TEST_F(CurrencyExchangeTest, TypingConvertsIntoTheOtherRows) {
    struct Case {
        const char* name;
        std::string rates;
        int rows[4];
        int typedRow;  // 0 to 3
        const wchar_t* typed;
        const wchar_t* expected[4];  // the typed row keeps what was typed
    } cases[] = {
        {"worked example", kWorkedRates, {0, 1, 2, 3}, 1, L"10", {L"5.00", L"10", L"2.50", L"500.00"}},
        {"no number counts as 0", kWorkedRates, {0, 1, 2, 3}, 1, L"abc", {L"0.00", L"abc", L"0.00", L"0.00"}},
        {"12abc counts as 12", kWorkedRates, {0, 1, 2, 3}, 1, L"12abc", {L"6.00", L"12abc", L"3.00", L"600.00"}},
        {"1e2 counts as 100", kWorkedRates, {0, 1, 2, 3}, 0, L"1e2", {L"1e2", L"200.00", L"50.00", L"10000.00"}},
        {"same currency in two rows", kWorkedRates, {1, 1, 3, 0}, 3, L"7", {L"14.00", L"14.00", L"700.00", L"7"}},
        {"ratio 1/3 rounds to 0.33", "H\nA\t3\nB\t1\nC\t2\n", {0, 1, 2, 0}, 0, L"1", {L"1", L"0.33", L"0.67", L"1.00"}},
        {"zero rate of the typed row", "H\nZ\t0\nA\t5\n", {0, 1, 1, 1}, 0, L"9", {L"9", L"0.00", L"0.00", L"0.00"}},
        {"zero rate of a target row", "H\nZ\t0\nA\t5\n", {1, 0, 1, 0}, 0, L"9", {L"9", L"0.00", L"9.00", L"0.00"}},
        // No selection: a stored index past the list (7), or an empty table.
        {"target row without a currency is empty", kWorkedRates, {0, 7, 2, 3}, 0, L"4",
         {L"4", L"", L"2.00", L"400.00"}},
        {"typed row without a currency gives 0.00", kWorkedRates, {7, 1, 2, 3}, 0, L"4",
         {L"4", L"0.00", L"0.00", L"0.00"}},
        {"empty table", "", {0, 0, 0, 0}, 2, L"5", {L"", L"", L"5", L""}},
        // Results beyond a double are left empty rather than shown as "inf".
        {"overflowing product", "H\nT\t1e-300\nG\t1e300\nU\t1\n", {2, 1, 0, 0}, 0, L"1e300",
         {L"1e300", L"", L"1.00", L"1.00"}},
        {"overflowing base", "H\nT\t1e-300\nU\t1\n", {1, 0, 1, 1}, 1, L"1e10", {L"", L"1e10", L"", L""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(ratesPath().c_str());
        if (!c.rates.empty()) {
            ASSERT_TRUE(writeFileBytes(ratesPath(), c.rates));
        }
        ASSERT_TRUE(writeFileBytes(selectionPath(), selectionRecord(c.rows[0], c.rows[1], c.rows[2], c.rows[3])));
        programRates = CurrencyTable{};
        open([&](HWND dialog) {
            typeInto(dialog, kFields[c.typedRow], c.typed);
            for (int row = 0; row < 4; ++row)
                EXPECT_EQ(c.expected[row], fieldText(dialog, kFields[row])) << "row " << row + 1;
        });
    }
}

TEST_F(CurrencyExchangeTest, EveryKeyReleaseRecomputesWithTheCurrentChoice) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), kWorkedRates));
    ASSERT_TRUE(writeFileBytes(selectionPath(), selectionRecord(0, 1, 2, 3)));
    open([&](HWND dialog) {
        typeInto(dialog, kFields[0], L"3");
        EXPECT_EQ(L"6.00", fieldText(dialog, kFields[1]));
        choose(dialog, kBoxes[1], 3);
        EXPECT_EQ(L"6.00", fieldText(dialog, kFields[1])) << "a new choice alone recomputes nothing";
        pressKey(dialog, kFields[0], VK_RIGHT);
        EXPECT_EQ(L"300.00", fieldText(dialog, kFields[1])) << "the next key release uses it";
        EXPECT_EQ(L"3", fieldText(dialog, kFields[0]));
    });
}

TEST_F(CurrencyExchangeTest, ChoicesPersistOnlyThroughAKeyRelease) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), kWorkedRates));
    open([&](HWND dialog) {
        for (int row = 0; row < 4; ++row) EXPECT_EQ(0, selection(dialog, kBoxes[row])) << "no file: first currency";
        choose(dialog, kBoxes[0], 2);
        choose(dialog, kBoxes[1], 3);
        choose(dialog, kBoxes[3], 1);
        typeInto(dialog, kFields[0], L"1");
        choose(dialog, kBoxes[2], 3);  // chosen after the last key release
    });
    EXPECT_EQ(selectionRecord(2, 3, 0, 1), readFileBytes(selectionPath())) << "slots 1 to 4 after Done";
    programSelections = SelectionState{};
    open([&](HWND dialog) {
        const int expected[4] = {2, 3, 0, 1};
        for (int row = 0; row < 4; ++row) EXPECT_EQ(expected[row], selection(dialog, kBoxes[row])) << "row " << row + 1;
    });
}

TEST_F(CurrencyExchangeTest, DoneStoresTheOptionsAndRegistersTheTodayItem) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), kWorkedRates));
    struct Case {
        const char* name;
        bool autoUpdate, todayItem;
    } cases[] = {
        {"both checked", true, true},
        {"Auto Update only", true, false},
        {"Today item only", false, true},
        {"both clear", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open([&](HWND dialog) {
            if ((IsDlgButtonChecked(dialog, IDC_CURRENCY_AUTO_UPDATE) == BST_CHECKED) != c.autoUpdate)
                click(dialog, IDC_CURRENCY_AUTO_UPDATE);
            if ((IsDlgButtonChecked(dialog, IDC_CURRENCY_TODAY_ITEM) == BST_CHECKED) != c.todayItem)
                click(dialog, IDC_CURRENCY_TODAY_ITEM);
        });
        std::string record = readFileBytes(selectionPath());
        ASSERT_EQ(100u, record.size());
        EXPECT_EQ(std::string(c.autoUpdate ? "1" : "0") + "\0\0"s, record.substr(30, 3)) << "slot 10";
        EXPECT_EQ(std::string(c.todayItem ? "1" : "0") + "\0\0"s, record.substr(33, 3)) << "slot 11";
        EXPECT_EQ(c.autoUpdate ? 1 : 0, programSelections.autoUpdate) << "in memory for the timer";
        EXPECT_EQ(c.todayItem ? 1 : 0, programSelections.todayItem);
        bool present = false;
        DWORD enabled = registryNumber(kTodayItemKey, L"Enabled", &present);
        EXPECT_TRUE(present);
        EXPECT_EQ(c.todayItem ? 1u : 0u, enabled) << "Enabled";
        EXPECT_EQ(4u, registryNumber(kTodayItemKey, L"Type", &present)) << "Type";
    }
}

TEST_F(CurrencyExchangeTest, ShorterRatesFileLeavesNoStaleNames) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), "Five\nA\t1\nB\t2\nC\t3\nD\t4\nE\t5\n"));
    ASSERT_TRUE(writeFileBytes(selectionPath(), selectionRecord(0, 4, 3, 1)));
    open([&](HWND dialog) {
        EXPECT_EQ(5u, boxItems(dialog, kBoxes[0]).size());
    });
    ASSERT_TRUE(writeFileBytes(ratesPath(), "Three\nX\t1\nY\t2\nZ\t3\n"));
    open([&](HWND dialog) {
        const std::vector<std::wstring> names = {L"X", L"Y", L"Z"};
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(names, boxItems(dialog, kBoxes[row])) << "row " << row + 1;
        EXPECT_EQ(-1, selection(dialog, kBoxes[1])) << "stored index 4 is past the list";
        typeInto(dialog, kFields[0], L"1");
        EXPECT_EQ(L"", fieldText(dialog, kFields[1])) << "a row without a currency shows nothing";
        EXPECT_EQ(L"2.00", fieldText(dialog, kFields[3]));
    });
}

TEST_F(CurrencyExchangeTest, EditedRateShowsAfterTheEditorsDone) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), kWorkedRates));
    ASSERT_TRUE(writeFileBytes(selectionPath(), selectionRecord(0, 1, 2, 3)));
    open([&](HWND dialog) {
        typeInto(dialog, kFields[0], L"10");
        EXPECT_EQ(L"20.00", fieldText(dialog, kFields[1]));
        HWND editorOwner = nullptr;
        bool opened = openNested(dialog, IDC_CURRENCY_EDIT, L"Edit Currency Value", [&](HWND editScreen) {
            editorOwner = GetWindow(editScreen, GW_OWNER);
            HWND list = GetDlgItem(editScreen, IDC_EDIT_CURRENCY_LIST);
            SetFocus(list);
            HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, 1, 0));
            EXPECT_NE(nullptr, editor) << "the rate of entry 1 is edited in place";
            if (editor != nullptr) {
                SetWindowTextW(editor, L"4");
                SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
            }
        });
        ASSERT_TRUE(opened) << "Edit ... opens the Edit Currency Value screen";
        EXPECT_EQ(dialog, editorOwner) << "owned by this screen";
        EXPECT_EQ(L"20.00", fieldText(dialog, kFields[1])) << "nothing is refreshed on return";
        pressKey(dialog, kFields[0], VK_LEFT);
        EXPECT_EQ(L"40.00", fieldText(dialog, kFields[1])) << "the next key release uses the edited rate";
    });
    EXPECT_EQ("Sample rates\nA\t1.0000\nB\t4.0000\nC\t0.5000\nD\t100.0000\n\0"s, readFileBytes(ratesPath()));
}

TEST_F(CurrencyExchangeTest, CurrencySyncRunsTheDownloadOwnedByThisScreen) {
    // A server that refuses the connection: the download fails at once and
    // says so in its own message.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    const wchar_t server[] = L"127.0.0.1:1";
    RegSetValueExW(key, L"RatesServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server), sizeof server);
    RegCloseKey(key);
    ASSERT_TRUE(writeFileBytes(ratesPath(), kWorkedRates));
    open([&](HWND dialog) {
        // Captured only around the click: the device layer also takes a
        // screen with labels for a message box when it is activated.
        deviceClearMessageBoxes();
        deviceCaptureMessageBoxes(true);
        click(dialog, IDC_CURRENCY_SYNC);
        deviceCaptureMessageBoxes(false);
        const ShownMessageBox* shown = nullptr;
        for (const ShownMessageBox& box : deviceMessageBoxes())
            if (box.owner == dialog) shown = &box;
        ASSERT_NE(nullptr, shown) << "expected the download's message owned by this screen, got "
                                  << deviceMessageBoxes().size() << " other boxes";
        EXPECT_EQ(L"Error", shown->caption) << "got text: " << std::string(shown->text.begin(), shown->text.end());
        EXPECT_EQ(4u, boxItems(dialog, kBoxes[0]).size()) << "the boxes are not reloaded";
    });
    EXPECT_EQ(kWorkedRates, readFileBytes(ratesPath()));
}

TEST_F(CurrencyExchangeTest, ScreenshotWithAnAmountConverted) {
    ASSERT_TRUE(writeFileBytes(ratesPath(), "Sample rates\nUS Dollar\t1\nEuro\t0.9216\nJapanese Yen\t151.37\n"
                                            "British Pound\t0.7898\n"));
    ASSERT_TRUE(writeFileBytes(selectionPath(), selectionRecord(0, 1, 2, 3, 1, 1)));
    open([&](HWND dialog) {
        typeInto(dialog, kFields[0], L"250");
        EXPECT_EQ(L"230.40", fieldText(dialog, kFields[1]));
        EXPECT_EQ(L"37842.50", fieldText(dialog, kFields[2]));
        EXPECT_EQ(L"197.45", fieldText(dialog, kFields[3]));
        HDC dc = GetDC(dialog);
        HBRUSH button =
            reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CURRENCY_EDIT))));
        LOGBRUSH info = {};
        ASSERT_NE(0, GetObjectW(button, sizeof info, &info)) << "buttons are answered with a brush";
        EXPECT_EQ(RGB(189, 224, 250), info.lbColor) << "buttons sit on the light blue";
        ReleaseDC(dialog, dc);
        EXPECT_EQ(std::vector<std::wstring>(), cutTexts(dialog)) << "texts cut off on the device screen";
        SetFocus(GetDlgItem(dialog, IDC_CURRENCY_EDIT));
        EXPECT_TRUE(saveScreenshot(L"currency_exchange"));
    });
}

}  // namespace
