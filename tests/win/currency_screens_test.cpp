// Currency Exchange and Edit Currency Value built from their templates and
// driven with messages: the conversion, the boxes and options Done keeps,
// the rates list and its in-place editor, and the editor opened from the
// exchange screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "calculators/screens.h"
#include "currency/core/currency_files.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

const int kBoxes[4] = {IDC_CURRENCY_BOX_1, IDC_CURRENCY_BOX_2, IDC_CURRENCY_BOX_3, IDC_CURRENCY_BOX_4};
const int kFields[4] = {IDC_CURRENCY_AMOUNT_1, IDC_CURRENCY_AMOUNT_2, IDC_CURRENCY_AMOUNT_3, IDC_CURRENCY_AMOUNT_4};
const std::string kWorkedRates = "Sample rates\nA\t1\nB\t2\nC\t0.5\nD\t100\n";

// quantrel.dat with the four currency rows and the two flags.
std::string rowsRecord(const std::vector<int>& rows, int autoUpdate = 0, int todayItem = 0) {
    return selectionRecord({0, rows[0], rows[1], rows[2], rows[3], 0, 0, 0, 0, 0, autoUpdate, todayItem});
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

class CurrencyScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        programRates = CurrencyTable{};
        programSelections = SelectionState{};
        deviceCaptureMessageBoxes(true);
        deviceClearMessageBoxes();
    }
    void TearDown() override {
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }
    void files(const std::string& rates, const std::string& selections) {
        ASSERT_TRUE(writeFileBytes(place.file(kRatesFileName), rates));
        ASSERT_TRUE(writeFileBytes(place.file(kSelectionFileName), selections));
        programRates = CurrencyTable{};
        loadRates(dataDirectory, programRates);
    }
    std::string ratesFile() const { return readFileBytes(place.file(kRatesFileName)); }
    // Run `driver` on the open screen, then close it with Done.
    static INT_PTR exchange(const std::function<void(HWND)>& driver) {
        return runScreenThenDone(IDD_CURRENCY, currencyScreenProcedure, programScreenData(), driver);
    }
    static INT_PTR editor(const std::function<void(HWND)>& driver) {
        return runScreenThenDone(IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, programScreenData(), driver);
    }
    ScratchPlace place;
};

// The typed row keeps its text; the others show its amount converted at the
// ratio of their rates, and nothing where no number can be shown.
TEST_F(CurrencyScreensTest, TypingConvertsIntoTheOtherRows) {
    const struct {
        const char* name;
        std::string rates;
        std::vector<int> rows;
        int typedRow;
        const wchar_t* typed;
        const wchar_t* expected[4];
    } cases[] = {
        {"worked example", kWorkedRates, {0, 1, 2, 3}, 1, L"10", {L"5.00", L"10", L"2.50", L"500.00"}},
        {"zero rates", "H\nZ\t0\nA\t5\n", {1, 0, 1, 0}, 0, L"9", {L"9", L"0.00", L"9.00", L"0.00"}},
        {"stored index past the list", kWorkedRates, {0, 7, 2, 3}, 0, L"4", {L"4", L"", L"2.00", L"400.00"}},
        {"overflowing product", "H\nT\t1e-300\nG\t1e300\nU\t1\n", {2, 1, 0, 0}, 0, L"1e300",
         {L"1e300", L"", L"1.00", L"1.00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files(c.rates, rowsRecord(c.rows, 1, 0));
        exchange([&](HWND dialog) {
            for (int row = 0; row < 4; ++row)
                EXPECT_EQ(c.rows[row] == 7 ? -1 : c.rows[row],
                          SendDlgItemMessageW(dialog, kBoxes[row], CB_GETCURSEL, 0, 0))
                    << "row " << row + 1;
            EXPECT_TRUE(checked(dialog, IDC_CURRENCY_AUTO_UPDATE));
            EXPECT_FALSE(checked(dialog, IDC_CURRENCY_TODAY_ITEM));
            typeInto(dialog, kFields[c.typedRow], c.typed);
            for (int row = 0; row < 4; ++row)
                EXPECT_EQ(c.expected[row], fieldText(dialog, kFields[row])) << "row " << row + 1;
        });
    }
}

// Done keeps the rows as the last key release read them, and the options,
// and registers the home-screen item as the option says.
TEST_F(CurrencyScreensTest, DoneKeepsTheChoicesAndTheOptions) {
    files(kWorkedRates, rowsRecord({0, 1, 2, 3}));
    for (bool on : {true, false}) {
        exchange([&](HWND dialog) {
            SendDlgItemMessageW(dialog, kBoxes[0], CB_SETCURSEL, 2, 0);
            typeInto(dialog, kFields[0], L"1");
            SendDlgItemMessageW(dialog, kBoxes[1], CB_SETCURSEL, 3, 0);  // after the last key release
            if (checked(dialog, IDC_CURRENCY_AUTO_UPDATE) != on) click(dialog, IDC_CURRENCY_AUTO_UPDATE);
            if (checked(dialog, IDC_CURRENCY_TODAY_ITEM) != on) click(dialog, IDC_CURRENCY_TODAY_ITEM);
            if (on) saveScreenshot(L"currency_exchange");
        });
        EXPECT_EQ(rowsRecord({2, 1, 2, 3}, on, on), readFileBytes(place.file(kSelectionFileName)));
        EXPECT_EQ(on ? 1 : 0, programSelections.autoUpdate) << "in memory for the timer";
        EXPECT_EQ(on ? 1 : 0, machineNumber(kTodayItemKey, L"Enabled"));
        EXPECT_EQ(4, machineNumber(kTodayItemKey, L"Type"));
        EXPECT_EQ(L"Zentavo.dll", machineText(kTodayItemKey, L"DLL"));
    }
}

TEST_F(CurrencyScreensTest, EditOpensTheEditorAndTheNextKeyUsesTheEditedRate) {
    files(kWorkedRates, rowsRecord({0, 1, 2, 3}));
    exchange([&](HWND dialog) {
        typeInto(dialog, kFields[0], L"10");
        HWND owner = nullptr;
        EXPECT_TRUE(runOpenedBy(dialog, IDC_CURRENCY_EDIT, [&](HWND edit) {
            owner = GetWindow(edit, GW_OWNER);
            EXPECT_TRUE(editRate(GetDlgItem(edit, IDC_EDIT_CURRENCY_LIST), 1, L"4"));
        }));
        EXPECT_EQ(dialog, owner) << "the editor opens owned by this screen";
        pressKey(dialog, kFields[0], VK_LEFT);
        EXPECT_EQ(L"40.00", fieldText(dialog, kFields[1]));
    });
}

// An accepted rate is kept at once, raises `Updated`, and Done writes it; an
// edit ended with Escape changes nothing and Done then writes nothing. The
// editor reads its whole text when the edit ends.
TEST_F(CurrencyScreensTest, EditorKeepsAnAcceptedRate) {
    const std::string three = "H\nA\t1.5\nB\t2\nC\t0.25\n";
    const struct {
        const char* name;
        const wchar_t* typed;
        UINT key;
        const wchar_t* shown;
        std::string saved;
    } cases[] = {
        {"six decimals shown, four saved", L"1.23456", VK_RETURN, L"1.234560",
         "H\nA\t1.5000\nB\t1.2346\nC\t0.2500\n\0"s},
        {"twenty characters at most", L"100000000000000000005", VK_RETURN, L"10000000000000000000.000000",
         "H\nA\t1.5000\nB\t10000000000000000000.0000\nC\t0.2500\n\0"s},
        {"cancelled", L"99", VK_ESCAPE, L"2.000000", three},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files(three, "");
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindorKey, kUpdatedValue);
        editor([&](HWND dialog) {
            HWND field = beginRateEdit(GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST), 1);
            ASSERT_NE(nullptr, field);
            SetWindowTextW(field, L"");
            for (wchar_t key : std::wstring(c.typed)) SendMessageW(field, WM_CHAR, key, 1);
            SendMessageW(field, WM_KEYDOWN, c.key, 0);
            HWND list = GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST);
            EXPECT_EQ(c.shown, cellText(list, 1, 0));
            EXPECT_EQ(c.key == VK_RETURN ? 1 : -1, updatedFlag()) << "Updated before Done";
            EXPECT_EQ(three, ratesFile()) << "nothing is written before Done";
            int order[2] = {};
            ListView_GetColumnOrderArray(list, 2, order);
            EXPECT_EQ(1, order[0]) << "Currency is shown left of its rate";
            if (c.key == VK_ESCAPE) saveScreenshot(L"edit_currency_value");
        });
        EXPECT_EQ(c.saved, ratesFile());
    }
    // Hostile text keeps a finite rate in the list and in rates.txt.
    editor([&](HWND dialog) {
        for (const HostileInput& input : hostileInputs()) {
            EXPECT_TRUE(editRate(GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST), 1, input.text));
            EXPECT_EQ("", notFiniteTexts(dialog)) << input.name;
        }
    });
    std::string file = ratesFile();
    EXPECT_FALSE(looksNotFinite(std::wstring(file.begin(), file.end()))) << file;
}

TEST_F(CurrencyScreensTest, DoneFromTheEditorDoesNotCloseTheScreen) {
    files("H\nA\t1.5\n", "");
    DeleteFileW(place.file(kRatesFileName).c_str());
    editor([&](HWND dialog) {
        HWND field = beginRateEdit(GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST), 0);
        ASSERT_NE(nullptr, field);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(field));
        pumpMessages();
        EXPECT_TRUE(IsWindow(field)) << "still editing";
        SendMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ("\n\0"s, ratesFile()) << "the screen's own Done creates the missing file as the empty table";
}

// Refuses to create list controls on this thread, as a platform short of
// resources would.
LRESULT CALLBACK refuseLists(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t className[32] = L"";
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), className, 32) &&
        lstrcmpiW(className, WC_LISTVIEWW) == 0)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(CurrencyScreensTest, ListThatCannotBeMadeIsReported) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, refuseLists, nullptr, GetCurrentThreadId());
    INT_PTR result = editor([](HWND dialog) { EXPECT_TRUE(IsWindowVisible(dialog)); });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, result);
    ASSERT_EQ(1u, deviceMessageBoxes().size());
    EXPECT_EQ(L"Listview not created!", deviceMessageBoxes()[0].text);
    EXPECT_EQ(nullptr, deviceMessageBoxes()[0].owner);
}

}  // namespace
