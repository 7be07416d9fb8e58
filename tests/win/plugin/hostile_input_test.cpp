// Hostile text in the value fields of the home-screen item's currency
// calculator and in its rates list editor: very long texts, control
// characters, a lone minus, numbers beyond the range of a double, "nan" and
// "inf" spelt out, minus zero, and characters above 127 both as wide
// characters and through the system code page. The item must take them
// without crashing or hanging, and afterwards no field, box or list cell may
// show "nan" or "inf". The calculator's fields are driven through their
// hooked key releases, typed key by key and set whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/pocketpc/device_test.h"
#include "tests/win/plugin/plugin_host.h"
#include "tests/win/support/hostile_text.h"

using namespace plugin_test;

namespace {


// ---- the item ------------------------------------------------------------------

// Rates whose conversions reach past the range of a double from ordinary
// amounts, and a name with characters above 127.
const std::vector<std::pair<std::string, std::string>> kHostileRates = {
    {"Tiny", "1e-300"}, {"Huge", "1e300"}, {"Zero", "0"}, {"Negative", "-2.5"}, {"Caf\xe9 \xb0\x80", "1.5"}};

const int kAmounts[] = {IDC_CALC_AMOUNT_1, IDC_CALC_AMOUNT_2, IDC_CALC_AMOUNT_3, IDC_CALC_AMOUNT_4};
const int kBoxes[] = {IDC_CALC_BOX_1, IDC_CALC_BOX_2, IDC_CALC_BOX_3, IDC_CALC_BOX_4};

class PluginHostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        host.writeRates(kHostileRates);
        deviceCaptureMessageBoxes(true);
        deviceClearMessageBoxes();
        previousFilter = SetUnhandledExceptionFilter(reportCrash);
    }
    void TearDown() override {
        SetUnhandledExceptionFilter(previousFilter);
        deviceCaptureMessageBoxes(false);
    }

    ItemOnHost host;
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
};

// Each input into each amount field, typed key by key and set whole, with
// the rows on Tiny, Huge, Zero and Negative.
TEST_F(PluginHostileInput, CalculatorTakesHostileTextWithoutShowingNanOrInf) {
    readDataDirectory();
    int cases = 0;
    INT_PTR result =
        runScreen(GetModuleHandleW(nullptr), IDD_CALCULATOR, calculatorProcedure, calculatorData(), [&](HWND dialog) {
            for (int row = 0; row < 4; ++row) SendDlgItemMessageW(dialog, kBoxes[row], CB_SETCURSEL, row, 0);
            std::vector<ShownText> atOpening = shownTexts(dialog, {});
            for (int field : kAmounts) {
                bool found = std::any_of(atOpening.begin(), atOpening.end(), [&](const ShownText& shown) {
                    return shown.where == "control " + std::to_string(field);
                });
                EXPECT_TRUE(found) << "amount field " << field << " is not on the calculator";
            }
            for (size_t f = 0; f < 4; ++f) {
                int field = kAmounts[f];
                for (const HostileInput& input : hostileInputs()) {
                    for (Drive drive : {kTyped, kTypedOnce, kEntered}) {
                        if (!(input.drives & drive) || (drive == kTypedOnce && f > 0)) continue;
                        std::string name = "field " + std::to_string(field) + ", " + input.name +
                                           (drive == kEntered ? ", set whole" : ", typed");
                        startCase("calculator, " + name);
                        ++cases;
                        for (int amount : kAmounts) setFieldText(dialog, amount, L"");
                        std::string shown = driveInto(dialog, field, input, drive);
                        EXPECT_EQ("", shown) << name << ": expected no text reading nan or inf, got" << shown;
                    }
                }
            }
            startCase("calculator, Done");
            pressDone(dialog);
        });
    EXPECT_EQ(1, result) << "the calculator still closes with Done";
    EXPECT_GT(cases, 0);
    EXPECT_TRUE(deviceMessageBoxes().empty()) << "no message about bad input";
}

// The list's editor has no key-release hook: its whole text is read when
// the edit ends, stored and saved at once. Neither the list nor rates.txt
// may then hold nan or inf.
TEST_F(PluginHostileInput, RatesListEditTakesHostileTextWithoutShowingNanOrInf) {
    HWND list = host.startShown();
    ASSERT_NE(nullptr, list);
    for (const HostileInput& input : hostileInputs()) {
        for (int row : {0, 3}) {
            std::string name = std::string(input.name) + ", row " + std::to_string(row);
            startCase("rates list, " + name);
            HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
            ASSERT_NE(nullptr, editor) << name << ": no editor";
            SetWindowTextW(editor, input.text.c_str());
            SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_TRUE(waitFor([&] { return !IsWindow(editor); })) << name << ": the editor stays open";
            std::string shown = notFiniteTexts(host.item, {});
            EXPECT_EQ("", shown) << name << ": expected no text reading nan or inf, got" << shown;
            double rate = pluginState.table.entries[row].rate;
            EXPECT_TRUE(rate - rate == 0.0) << name << ": expected a finite rate, got " << rate;
            std::string file = readFileBytes(host.place.file(kRatesFileName));
            EXPECT_FALSE(looksNotFinite(std::wstring(file.begin(), file.end())))
                << name << ": expected rates.txt without nan or inf, got \"" << file << "\"";
        }
    }
    EXPECT_TRUE(deviceMessageBoxes().empty()) << "no message about bad input";
}

}  // namespace
