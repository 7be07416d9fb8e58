// The calculator screens that only compute (Loan Payments, Tip Calculator,
// Lat/Lon Calculator, Computer) through their real templates and procedures:
// one worked row each, typed key by key; and the wiring of every calculator
// screen (which fields raise the keyboard, which are emptied on focus, what
// shows at opening). The computations' own rows live in the native tests; the frame's
// behaviour in the frame's test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "calculators/screens.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

struct Text {
    int field;
    std::wstring text;
};

struct Screen {
    const char* name;
    int templateId;
    const DLGPROC* procedure;
};

const Screen kLoan = {"Loan Payments", IDD_LOAN, &loanScreenProcedure};
const Screen kTip = {"Tip Calculator", IDD_TIP, &tipScreenProcedure};
const Screen kLatLon = {"Lat/Lon Calculator", IDD_LATLON, &latLonScreenProcedure};
const Screen kComputer = {"Computer", IDD_COMPUTER, &computerScreenProcedure};
const Screen kMetric = {"Metric Conversion", IDD_METRIC, &metricScreenProcedure};

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override { wcscpy(dataDirectory, scratch.directory().c_str()); }
    // Runs `driver` on the open screen and closes it with Done, also when the
    // driver stopped at a failed assertion.
    static INT_PTR open(const Screen& screen, const std::function<void(HWND)>& driver) {
        return runScreen(GetModuleHandleW(nullptr), screen.templateId, *screen.procedure, programScreenData(),
                         [&](HWND dialog) {
                             driver(dialog);
                             pressDone(dialog);
                         });
    }
    ScratchPlace scratch;
};

// Each step empties its field and types into it key by key; the typed field
// keeps exactly what was typed, and the others show what the screen wrote.
TEST_F(ScreensTest, WorkedRowsTypedKeyByKey) {
    const struct {
        const char* name;
        const Screen& screen;
        std::vector<Text> typed;
        std::vector<Text> shown;
        const wchar_t* screenshot;
    } rows[] = {
        {"30-year mortgage", kLoan,
         {{IDC_LOAN_AMOUNT, L"200000"}, {IDC_LOAN_MONTHS, L"360"}, {IDC_LOAN_INTEREST, L"7.5"}},
         {{IDC_LOAN_AMOUNT, L"200000.00"}, {IDC_LOAN_PAYMENT, L"1398.43"}, {IDC_LOAN_MONTHS, L"360.00"},
          {IDC_LOAN_TOTAL_PAYMENTS, L"503434.45"}, {IDC_LOAN_TOTAL_INTEREST, L"303434.45"}},
         L"loan_screen"},
        {"20% of 84.37 split by 3", kTip,
         {{IDC_TIP_PERCENT, L"20"}, {IDC_TIP_SPLIT, L"3"}, {IDC_TIP_BILL, L"84.37"}},
         {{IDC_TIP_PERCENT, L"20.00"}, {IDC_TIP_AMOUNT, L"16.87"}, {IDC_TIP_TOTAL, L"101.24"},
          {IDC_TIP_SPLIT, L"3"}, {IDC_TIP_SPLIT_AMOUNT, L"33.75"}},
         L"tip_screen"},
        {"a typed tip amount feeds nothing", kTip,
         {{IDC_TIP_PERCENT, L"15"}, {IDC_TIP_BILL, L"50"}, {IDC_TIP_AMOUNT, L"99"}},
         {{IDC_TIP_BILL, L"50.00"}, {IDC_TIP_TOTAL, L"57.50"}, {IDC_TIP_SPLIT, L"0"}},
         nullptr},
        {"longitude in degrees, minutes and seconds", kLatLon,
         {{IDC_LONGITUDE_SECONDS, L"123\u00b045'12.34\""}},
         {{IDC_LONGITUDE_DEGREES, L"123.7534\u00b0"}, {IDC_LONGITUDE_MINUTES, L"123\u00b045.21'"},
          {IDC_LATITUDE_DEGREES, L""}},
         nullptr},
        {"97 in decimal", kComputer,
         {{IDC_COMPUTER_DECIMAL, L"97"}},
         {{IDC_COMPUTER_ASCII, L" a"}, {IDC_COMPUTER_BINARY, L"1100001"}, {IDC_COMPUTER_OCTAL, L"141"},
          {IDC_COMPUTER_HEXADECIMAL, L"61"}},
         L"computer_screen"},
    };
    for (const auto& row : rows) {
        std::string name = std::string(row.screen.name) + ", " + row.name;
        INT_PTR result = open(row.screen, [&](HWND dialog) {
            for (const Text& step : row.typed) {
                setFieldText(dialog, step.field, L"");
                typeKeepingText(dialog, step.field, step.text, name.c_str());
            }
            for (const Text& shown : row.shown)
                EXPECT_EQ(shown.text, fieldText(dialog, shown.field)) << name << ": field " << shown.field;
            if (row.screenshot != nullptr) screenshotKeyboardDown(dialog, row.screenshot);
        });
        EXPECT_EQ(1, result) << name << ": Done closes with 1";
    }
}

// What each screen shows at opening (every opening), which fields raise the
// soft keyboard and which do not, and which a gain of focus empties.
TEST_F(ScreensTest, Wiring) {
    const struct {
        const Screen& screen;
        int focusedAtOpening;
        std::vector<Text> atOpening;
        std::vector<int> keyboard;
        std::vector<int> noKeyboard;
        std::vector<int> emptiedOnFocus;
    } screens[] = {
        {kLoan, IDC_LOAN_AMOUNT,
         {{IDC_LOAN_AMOUNT, L""}, {IDC_LOAN_TOTAL_PAYMENTS, L""}, {IDC_LOAN_TOTAL_INTEREST, L""}},
         {IDC_LOAN_AMOUNT, IDC_LOAN_INTEREST, IDC_LOAN_PAYMENT, IDC_LOAN_MONTHS},
         {},
         {}},
        {kTip, IDC_TIP_BILL,
         {{IDC_TIP_BILL, L""}, {IDC_TIP_SPLIT_AMOUNT, L""}},
         {IDC_TIP_BILL, IDC_TIP_PERCENT, IDC_TIP_AMOUNT, IDC_TIP_SPLIT},
         {IDC_TIP_TOTAL, IDC_TIP_SPLIT_AMOUNT},
         {}},
        {kLatLon, IDC_LATITUDE_DEGREES,
         {{IDC_LATITUDE_HEADING, L"Latitude"}, {IDC_LONGITUDE_HEADING, L"Longitude"}, {IDC_LATITUDE_DEGREES, L""}},
         {IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES, IDC_LATITUDE_SECONDS, IDC_LONGITUDE_DEGREES,
          IDC_LONGITUDE_MINUTES, IDC_LONGITUDE_SECONDS},
         {},
         {}},
        {kComputer, IDC_COMPUTER_ASCII,
         {{IDC_COMPUTER_ASCII, L""}, {IDC_COMPUTER_TYPE_SIZE, L"1"}, {IDC_COMPUTER_TYPE_MIN, L"0"},
          {IDC_COMPUTER_TYPE_MAX, L"1"}, {IDC_COMPUTER_TYPE_UNSIGNED_MAX, L"1"}},
         {IDC_COMPUTER_ASCII, IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL, IDC_COMPUTER_DECIMAL, IDC_COMPUTER_HEXADECIMAL},
         {IDC_COMPUTER_TYPE},
         {IDC_COMPUTER_ASCII, IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL, IDC_COMPUTER_DECIMAL,
          IDC_COMPUTER_HEXADECIMAL}},
        {kMetric, IDC_METRIC_CATEGORY,
         {{IDC_METRIC_VALUE_1, L""}},
         {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_2, IDC_METRIC_VALUE_3, IDC_METRIC_VALUE_4},
         {IDC_METRIC_CATEGORY, IDC_METRIC_UNIT_1, IDC_METRIC_UNIT_4},
         {}},
    };
    for (const auto& s : screens) {
        const char* name = s.screen.name;
        for (int opening = 1; opening <= 2; ++opening) {
            open(s.screen, [&](HWND dialog) {
                for (const Text& shown : s.atOpening)
                    EXPECT_EQ(shown.text, fieldText(dialog, shown.field))
                        << name << ", opening " << opening << ": field " << shown.field;
                HWND first = GetDlgItem(dialog, s.focusedAtOpening);  // a combo box's edit part counts as the box
                EXPECT_TRUE(GetFocus() == first || IsChild(first, GetFocus())) << name << ": the first control";
                bool raises = std::find(s.keyboard.begin(), s.keyboard.end(), s.focusedAtOpening) != s.keyboard.end();
                EXPECT_EQ(raises, deviceSipIsUp()) << name << ": the keyboard at opening";
                typeInto(dialog, s.keyboard.front(), L"1");
            });
        }
        open(s.screen, [&](HWND dialog) {
            for (int id : s.keyboard) {
                SetFocus(nullptr);
                focusField(dialog, id);
                EXPECT_TRUE(deviceSipIsUp()) << name << ": field " << id << " raises the keyboard";
            }
            for (int id : s.noKeyboard) {
                focusField(dialog, id);
                EXPECT_FALSE(deviceSipIsUp()) << name << ": control " << id << " lowers the keyboard";
            }
            for (int target : s.emptiedOnFocus) {
                typeInto(dialog, s.emptiedOnFocus.front(), L"1");
                SetFocus(nullptr);
                focusField(dialog, target);
                for (int id : s.emptiedOnFocus)
                    EXPECT_EQ(L"", fieldText(dialog, id)) << name << ": focus in " << target << ", field " << id;
            }
        });
    }
}

// The keys of the soft keyboard panel: rows of twelve 20-pixel keys.
bool tapPanelKey(wchar_t key) {
    const wchar_t* const rows[] = {L"1234567890-\b", L"qwertyuiop.,", L"asdfghjkl\u00b0'\""};
    for (int row = 0; row < 3; ++row) {
        const wchar_t* at = wcschr(rows[row], key);
        if (at == nullptr) continue;
        LPARAM point = MAKELPARAM(static_cast<int>(at - rows[row]) * 20 + 10, row * 20 + 10);
        SendMessageW(deviceSoftKeyboard(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(deviceSoftKeyboard(), WM_LBUTTONUP, 0, point);
        return true;
    }
    return false;
}

// Typed on the panel, the degree sign reaches the field as U+00B0, the
// computation as the byte 0xB0, and comes back into the other fields.
TEST_F(ScreensTest, DegreeSignTypedOnTheSoftKeyboard) {
    open(kLatLon, [&](HWND dialog) {
        SetForegroundWindow(dialog);
        focusField(dialog, IDC_LONGITUDE_MINUTES);
        ASSERT_TRUE(deviceSipIsUp());
        const std::wstring typed = L"-45\u00b030'";
        for (size_t n = 1; n <= typed.size(); ++n) {
            ASSERT_TRUE(tapPanelKey(typed[n - 1])) << "no key for character " << n;
            EXPECT_TRUE(waitFor([&] { return fieldText(dialog, IDC_LONGITUDE_MINUTES) == typed.substr(0, n); }))
                << "after key " << n;
        }
        // Each part keeps its own sign: -45 + 0.5.
        EXPECT_TRUE(waitFor([&] { return fieldText(dialog, IDC_LONGITUDE_DEGREES) == L"-44.5000\u00b0"; }));
        EXPECT_EQ(L"-44\u00b0-30'0.00\"", fieldText(dialog, IDC_LONGITUDE_SECONDS));
        typeInto(dialog, IDC_LATITUDE_SECONDS, L"51\u00b028'38\"");
        saveScreenshot(L"latlon_screen_keyboard");
        screenshotKeyboardDown(dialog, L"latlon_screen");
    });
}

// Computer's data-type box lists the four types and shows the chosen one's
// fixed row; with no choice the row stays.
TEST_F(ScreensTest, ComputerDataTypeShowsItsRow) {
    open(kComputer, [&](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_COMPUTER_TYPE);
        EXPECT_EQ(4, SendMessageW(combo, CB_GETCOUNT, 0, 0));
        SendMessageW(combo, CB_SETCURSEL, 2, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_COMPUTER_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        const Text shortRow[] = {{IDC_COMPUTER_TYPE_SIZE, L"2"}, {IDC_COMPUTER_TYPE_MIN, L"-32767"},
                                 {IDC_COMPUTER_TYPE_MAX, L"32767"}, {IDC_COMPUTER_TYPE_UNSIGNED_MAX, L"65535"}};
        for (const Text& shown : shortRow) EXPECT_EQ(shown.text, fieldText(dialog, shown.field));
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_COMPUTER_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        EXPECT_EQ(L"-32767", fieldText(dialog, IDC_COMPUTER_TYPE_MIN)) << "no choice keeps the row";
    });
}

}  // namespace
