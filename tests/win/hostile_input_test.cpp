// Hostile text in every value field of every screen of the program: very long
// texts, control characters, a lone minus, numbers beyond the range of a
// double, "nan" and "inf" spelt out, minus zero, and characters above 127 both
// as wide characters and through the system code page. Each screen must take
// them without crashing or hanging, and afterwards no field, box or list of
// the screen may show "nan" or "inf". The fields are driven through their
// hooked key releases, typed key by key and set whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "calculators/areacodes/areacodes.h"
#include "calculators/computer/computer.h"
#include "calculators/date/date_calc.h"
#include "calculators/latlon/latlon.h"
#include "calculators/loan/loan.h"
#include "calculators/metric/metric.h"
#include "calculators/tip/tip.h"
#include "currency/core/currency_files.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/hostile_text.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

// ---- the screens -----------------------------------------------------------------

const int kCurrencyBoxes[4] = {IDC_CURRENCY_BOX_1, IDC_CURRENCY_BOX_2, IDC_CURRENCY_BOX_3, IDC_CURRENCY_BOX_4};
const int kCurrencyFields[4] = {IDC_CURRENCY_AMOUNT_1, IDC_CURRENCY_AMOUNT_2, IDC_CURRENCY_AMOUNT_3,
                                IDC_CURRENCY_AMOUNT_4};

// A rate table whose conversions reach past the range of a double from
// ordinary amounts: tiny, huge, zero and negative rates, and names with
// characters above 127.
const std::string kHostileRates =
    "Hostile rates\n"
    "Tiny\t1e-300\n"
    "Huge\t1e300\n"
    "Zero\t0\n"
    "Negative\t-2.5\n"
    "Caf\xe9 \xb0\x80\t1.5\n"s;

// Lines to search without "nan" or "inf" in them, some with bytes above 127
// and one longer than any field.
const std::string kAreaLines =
    "201 NJ Bayonne\n"
    "212 NY New York City\r\n"
    "418 QC Qu\xe9" "bec\n"
    "514 QC Montr\xe9" "al, Laval\n"
    "999 ZZ " + std::string(400, 'x') + "\n"
    "\xb0\xe9\x80 \x01\x7f\n";

struct ScreenUnderTest {
    std::string name;
    int templateId;
    const DLGPROC* procedure;
    std::vector<int> fields;
    // What the other fields hold before each case (the edited one starts
    // empty), so that the hostile value meets ordinary ones.
    std::vector<std::pair<int, const wchar_t*>> seeds;
    // Brings the screen into the state its cases need (a mode, a category).
    std::function<void(HWND)> prepare;
    // A key in any field reads all of them (and rewrites the others).
    bool readsEveryField;
};

void chooseInBox(HWND dialog, int box, int index) {
    SendDlgItemMessageW(dialog, box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, box)));
}

template <size_t N>
std::vector<int> idsOf(const int (&ids)[N]) {
    return std::vector<int>(ids, ids + N);
}

const std::vector<ScreenUnderTest>& screensUnderTest() {
    static const std::vector<ScreenUnderTest> screens = [] {
        std::vector<ScreenUnderTest> all;
        const char* const modes[kAreaSearchModeCount] = {"area code", "state", "city"};
        for (int mode = 0; mode < kAreaSearchModeCount; ++mode)
            all.push_back({std::string("Area Codes, ") + modes[mode] + " mode",
                           IDD_AREA_CODES,
                           &areaCodesScreenProcedure,
                           {IDC_AREA_SEARCH},
                           {},
                           [mode](HWND dialog) { chooseInBox(dialog, IDC_AREA_MODE, mode); },
                           false});
        all.push_back({"Computer", IDD_COMPUTER, &computerScreenProcedure, idsOf(kComputerValueFields), {}, nullptr, false});
        // Rows 1 to 4 on Tiny, Huge, Zero and Negative.
        all.push_back({"Currency Exchange", IDD_CURRENCY, &currencyScreenProcedure, idsOf(kCurrencyFields), {},
                       [](HWND dialog) {
                           for (int row = 0; row < 4; ++row)
                               SendDlgItemMessageW(dialog, kCurrencyBoxes[row], CB_SETCURSEL, row, 0);
                       },
                       false});
        all.push_back({"Date", IDD_DATE, &dateScreenProcedure, {IDC_DATE_DAYS}, {}, nullptr, false});
        all.push_back({"Lat/Lon", IDD_LATLON, &latLonScreenProcedure, idsOf(kLatLonValueFields), {}, nullptr, false});
        all.push_back({"Loan",
                       IDD_LOAN,
                       &loanScreenProcedure,
                       idsOf(kLoanValueFields),
                       {{IDC_LOAN_AMOUNT, L"10000"},
                        {IDC_LOAN_INTEREST, L"6"},
                        {IDC_LOAN_PAYMENT, L"300"},
                        {IDC_LOAN_MONTHS, L"36"}},
                       nullptr,
                       true});
        // Rows 3 and 4 on the category's last and first units, so that the
        // largest and the smallest factors meet. Temperature converts with
        // offsets; area holds the smallest factor and weight the largest;
        // the other categories convert as these two do.
        for (int category : {kMetricTemperature, kMetricArea, kMetricWeight}) {
            int last = metricUnitCount(category) - 1;
            all.push_back({std::string("Metric, ") + metricCategoryName(category),
                           IDD_METRIC,
                           &metricScreenProcedure,
                           {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_2, IDC_METRIC_VALUE_3, IDC_METRIC_VALUE_4},
                           {},
                           [category, last](HWND dialog) {
                               chooseInBox(dialog, IDC_METRIC_CATEGORY, category);
                               SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_3, CB_SETCURSEL, static_cast<WPARAM>(last),
                                                   0);
                               SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_4, CB_SETCURSEL, 0, 0);
                           },
                           false});
        }
        all.push_back({"Tip",
                       IDD_TIP,
                       &tipScreenProcedure,
                       idsOf(kTipValueFields),
                       {{IDC_TIP_BILL, L"80"}, {IDC_TIP_PERCENT, L"15"}, {IDC_TIP_SPLIT, L"3"}},
                       nullptr,
                       true});
        return all;
    }();
    return screens;
}

// A selection record with the four currency rows.
std::string currencyRows(int row1, int row2, int row3, int row4) {
    uint8_t record[kSelectionRecordSize] = {};
    const int rows[4] = {row1, row2, row3, row4};
    for (int r = 0; r < 4; ++r) writeSlot(record, kSlotCurrencyRow + r, rows[r]);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

// The fields as the case starts: seeds in the other fields, the edited one
// empty; setting them starts no computation.
void seedFields(HWND dialog, const ScreenUnderTest& screen, int edited) {
    for (int field : screen.fields) setFieldText(dialog, field, L"");
    for (const auto& seed : screen.seeds)
        if (seed.first != edited) setFieldText(dialog, seed.first, seed.second);
}

std::string caseName(const std::string& screen, int field, const HostileInput& input, Drive drive) {
    return screen + ", field " + std::to_string(field) + ", " + input.name + (drive == kEntered ? ", set whole" : ", typed");
}

class HostileInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        programRates = CurrencyTable{};
        programSelections = SelectionState{};
        ASSERT_TRUE(writeFileBytes(place.file(kRatesFileName), kHostileRates));
        ASSERT_TRUE(writeFileBytes(place.file(kSelectionFileName), currencyRows(0, 1, 2, 3)));
        ASSERT_TRUE(writeFileBytes(place.file(L"area.txt"), kAreaLines));
        deviceCaptureMessageBoxes(true);
        deviceClearMessageBoxes();
        previousFilter = SetUnhandledExceptionFilter(reportCrash);
    }
    void TearDown() override {
        SetUnhandledExceptionFilter(previousFilter);
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }

    ScratchPlace place;
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
};

class EveryValueField : public HostileInputTest, public ::testing::WithParamInterface<size_t> {};

// Each input into each field, typed key by key and set whole. On a screen
// that reads every field at each key, one key in the next field follows: it
// reads the input again, now as one of the other values, and rewrites it.
TEST_P(EveryValueField, TakesHostileTextWithoutShowingNanOrInf) {
    const ScreenUnderTest& screen = screensUnderTest()[GetParam()];
    int cases = 0;
    INT_PTR result = runScreen(
        GetModuleHandleW(nullptr), screen.templateId, *screen.procedure, programScreenData(), [&](HWND dialog) {
            if (screen.prepare) screen.prepare(dialog);
            // A field missing from the screen would take no input at all.
            std::vector<ShownText> shownAtOpening = shownTexts(dialog, {});
            for (int field : screen.fields) {
                bool found = std::any_of(shownAtOpening.begin(), shownAtOpening.end(), [&](const ShownText& shown) {
                    return shown.where == "control " + std::to_string(field);
                });
                EXPECT_TRUE(found) << screen.name << ": value field " << field << " is not on the screen";
            }
            std::string atOpening = notFiniteTexts(dialog);
            EXPECT_EQ("", atOpening) << screen.name << ": at opening, expected no text reading nan or inf, got"
                                     << atOpening;
            for (size_t f = 0; f < screen.fields.size(); ++f) {
                int field = screen.fields[f];
                int next = screen.fields[(f + 1) % screen.fields.size()];
                for (const HostileInput& input : hostileInputs()) {
                    for (Drive drive : {kTyped, kTypedOnce, kEntered}) {
                        if (!(input.drives & drive) || (drive == kTypedOnce && f > 0)) continue;
                        std::string name = caseName(screen.name, field, input, drive);
                        startCase(name);
                        ++cases;
                        seedFields(dialog, screen, field);
                        std::string shown = driveInto(dialog, field, input, drive);
                        EXPECT_EQ("", shown) << name << ": expected no text reading nan or inf, got" << shown;
                        if (!screen.readsEveryField) continue;
                        // The field keeps the user's text unless the screen rewrites it.
                        std::wstring kept = fieldText(dialog, field);
                        typeInto(dialog, next, L"1");
                        std::vector<int> users = {next};
                        if (fieldText(dialog, field) == kept) users.push_back(field);
                        shown = notFiniteTexts(dialog, users);
                        EXPECT_EQ("", shown) << name << ", then 1 typed into field " << next
                                             << ": expected no text reading nan or inf, got" << shown;
                    }
                }
            }
            startCase(screen.name + ", Done");
            pressDone(dialog);
        });
    EXPECT_EQ(1, result) << screen.name << ": the screen still closes with Done";
    EXPECT_GT(cases, 0) << screen.name;
    EXPECT_TRUE(deviceMessageBoxes().empty()) << screen.name << ": no screen reports bad input in a message";
}

std::string screenTestName(const ::testing::TestParamInfo<size_t>& info) {
    std::string name;
    for (char c : screensUnderTest()[info.param].name)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) name += c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Screens, EveryValueField, ::testing::Range<size_t>(0, screensUnderTest().size()),
                         screenTestName);

// The rate editor of the Edit Currency Value screen has no key-release hook:
// its whole text is read when the edit ends. What it stores must neither
// show as nan or inf in the list nor reach rates.txt as such.
TEST_F(HostileInputTest, RateEditorTakesHostileTextWithoutShowingNanOrInf) {
    loadRates(dataDirectory, programRates);
    ASSERT_EQ(5, programRates.count);
    INT_PTR result = runScreen(
        GetModuleHandleW(nullptr), IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, programScreenData(),
        [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST);
            for (const HostileInput& input : hostileInputs()) {
                for (int row : {1, 3}) {
                    std::string name = std::string(input.name) + ", row " + std::to_string(row);
                    startCase("Edit Currency Value, " + name);
                    SetFocus(list);
                    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, row, 0));
                    ASSERT_NE(nullptr, editor) << name << ": no editor";
                    SetWindowTextW(editor, input.text.c_str());
                    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
                    EXPECT_TRUE(waitFor([&] { return !IsWindow(editor); })) << name << ": the editor stays open";
                    std::string shown = notFiniteTexts(dialog);
                    EXPECT_EQ("", shown) << name << ": expected no text reading nan or inf, got" << shown;
                    double rate = programRates.entries[row].rate;
                    EXPECT_TRUE(rate - rate == 0.0) << name << ": expected a finite rate, got " << rate;
                }
            }
            startCase("Edit Currency Value, Done");
            pressDone(dialog);
        });
    EXPECT_EQ(1, result);
    std::string file = readFileBytes(place.file(kRatesFileName));
    EXPECT_TRUE(looksNotFinite(std::wstring(file.begin(), file.end())) == false)
        << "expected rates.txt without nan or inf, got \"" << file << "\"";
}

}  // namespace
