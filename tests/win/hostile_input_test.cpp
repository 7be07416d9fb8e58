// Hostile text in every value field of every screen of the program: each
// screen takes it without crashing or hanging, and afterwards no field, box
// or list of the screen shows "nan" or "inf".
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "calculators/computer/computer.h"
#include "calculators/latlon/latlon.h"
#include "calculators/loan/loan.h"
#include "calculators/metric/metric.h"
#include "calculators/screens.h"
#include "calculators/tip/tip.h"
#include "currency/core/currency_files.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

// Rates whose conversions reach past the range of a double from ordinary
// amounts, and a name with bytes above 127.
const std::string kHostileRates = "Hostile rates\nTiny\t1e-300\nHuge\t1e300\nZero\t0\nNegative\t-2.5\nCaf\xe9 \xb0\x80\t1.5\n"s;

struct ScreenUnderTest {
    const char* name;
    int templateId;
    const DLGPROC* procedure;
    std::vector<int> fields;
    std::function<void(HWND)> prepare;  // a mode, a category, the rows' currencies
    bool readsEveryField;               // a key in any field reads all of them
};

void choose(HWND dialog, int box, int index) {
    SendDlgItemMessageW(dialog, box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, box)));
}

template <size_t N>
std::vector<int> idsOf(const int (&ids)[N]) {
    return std::vector<int>(ids, ids + N);
}

// Metric with rows 3 and 4 on the largest and the smallest factors.
std::function<void(HWND)> metricOn(int category) {
    return [category](HWND dialog) {
        choose(dialog, IDC_METRIC_CATEGORY, category);
        SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_3, CB_SETCURSEL, metricUnitCount(category) - 1, 0);
    };
}

const ScreenUnderTest kScreens[] = {
    {"Area Codes, city", IDD_AREA_CODES, &areaCodesScreenProcedure, {IDC_AREA_SEARCH},
     [](HWND dialog) { choose(dialog, IDC_AREA_MODE, 2); }, false},
    {"Computer", IDD_COMPUTER, &computerScreenProcedure, idsOf(kComputerValueFields), nullptr, false},
    {"Currency Exchange", IDD_CURRENCY, &currencyScreenProcedure,
     {IDC_CURRENCY_AMOUNT_1, IDC_CURRENCY_AMOUNT_2, IDC_CURRENCY_AMOUNT_3, IDC_CURRENCY_AMOUNT_4},
     [](HWND dialog) {
         const int boxes[] = {IDC_CURRENCY_BOX_1, IDC_CURRENCY_BOX_2, IDC_CURRENCY_BOX_3, IDC_CURRENCY_BOX_4};
         for (int row = 0; row < 4; ++row) SendDlgItemMessageW(dialog, boxes[row], CB_SETCURSEL, row, 0);
     },
     false},
    {"Date", IDD_DATE, &dateScreenProcedure, {IDC_DATE_DAYS}, nullptr, false},
    {"Lat/Lon", IDD_LATLON, &latLonScreenProcedure, idsOf(kLatLonValueFields), nullptr, false},
    {"Loan", IDD_LOAN, &loanScreenProcedure, idsOf(kLoanValueFields), nullptr, true},
    {"Metric, temperature", IDD_METRIC, &metricScreenProcedure,
     {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_2, IDC_METRIC_VALUE_3, IDC_METRIC_VALUE_4}, metricOn(kMetricTemperature),
     false},
    {"Metric, weight", IDD_METRIC, &metricScreenProcedure, {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_4},
     metricOn(kMetricWeight), false},
    {"Tip", IDD_TIP, &tipScreenProcedure, idsOf(kTipValueFields), nullptr, true},
};

class HostileInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        programRates = CurrencyTable{};
        programSelections = SelectionState{};
        ASSERT_TRUE(writeFileBytes(place.file(kRatesFileName), kHostileRates));
        ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), "201 NJ Bayonne\n418 QC Qu\xe9" "bec\n\xb0\xe9\x80 \x01\x7f\n"));
        deviceCaptureMessageBoxes(true);
        deviceClearMessageBoxes();
    }
    void TearDown() override {
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }
    ScratchPlace place;
};

// Each input into each field set whole, and typed key by key into the first;
// on a screen that reads every field, one key in the next field follows and
// reads the input again as one of the other values.
TEST_F(HostileInputTest, EveryValueFieldTakesHostileText) {
    for (const ScreenUnderTest& screen : kScreens) {
        SCOPED_TRACE(screen.name);
        INT_PTR result = runScreen(GetModuleHandleW(nullptr), screen.templateId, *screen.procedure,
                                   programScreenData(), [&](HWND dialog) {
                                       if (screen.prepare) screen.prepare(dialog);
                                       for (size_t f = 0; f < screen.fields.size(); ++f) {
                                           int field = screen.fields[f];
                                           int next = screen.fields[(f + 1) % screen.fields.size()];
                                           for (const HostileInput& input : hostileInputs()) {
                                               for (Drive drive : {kTypedOnce, kEntered}) {
                                                   if (!(input.drives & drive) || (drive == kTypedOnce && f > 0))
                                                       continue;
                                                   setFieldText(dialog, field, L"");
                                                   EXPECT_EQ("", driveInto(dialog, field, input, drive))
                                                       << "field " << field << ", " << input.name;
                                                   if (!screen.readsEveryField) continue;
                                                   typeInto(dialog, next, L"1");
                                                   EXPECT_EQ("", notFiniteTexts(dialog, {next, field}))
                                                       << "field " << field << ", " << input.name << ", then 1";
                                               }
                                           }
                                       }
                                       pressDone(dialog);
                                   });
        EXPECT_EQ(1, result) << "the screen still closes with Done";
    }
    EXPECT_TRUE(deviceMessageBoxes().empty()) << "no screen reports bad input in a message";
}

// The rate editor reads its whole text when the edit ends: what it keeps
// shows in the list and reaches rates.txt as a finite number.
TEST_F(HostileInputTest, RateEditorKeepsFiniteRates) {
    loadRates(dataDirectory, programRates);
    runScreen(GetModuleHandleW(nullptr), IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, programScreenData(),
              [&](HWND dialog) {
                  HWND list = GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST);
                  for (const HostileInput& input : hostileInputs()) {
                      SetFocus(list);
                      HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, 1, 0));
                      ASSERT_NE(nullptr, editor) << input.name;
                      SetWindowTextW(editor, input.text.c_str());
                      SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
                      EXPECT_EQ("", notFiniteTexts(dialog)) << input.name;
                  }
                  pressDone(dialog);
              });
    std::string file = readFileBytes(place.file(kRatesFileName));
    EXPECT_FALSE(looksNotFinite(std::wstring(file.begin(), file.end()))) << file;
}

}  // namespace
