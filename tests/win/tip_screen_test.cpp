// The Tip Calculator screen driven through its real template and procedure:
// worked bills typed key by key, the fractional split, the edited field left
// as typed, and which fields move the soft keyboard.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "calculators/tip/tip.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/launcher.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

// The six fields in the order Bill Amount, Tip Percent, Tip Amount, Total,
// Split, Split Amount.
const int kShownFields[6] = {IDC_TIP_BILL,  IDC_TIP_PERCENT, IDC_TIP_AMOUNT,
                             IDC_TIP_TOTAL, IDC_TIP_SPLIT,   IDC_TIP_SPLIT_AMOUNT};
const char* const kShownNames[6] = {"Bill Amount", "Tip Percent", "Tip Amount", "Total", "Split",
                                    "Split Amount"};

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }




class TipScreenTest : public ::testing::Test {
protected:
    void SetUp() override { wcscpy(dataDirectory, scratch.directory().c_str()); }
    ScratchPlace scratch;
};

INT_PTR runTip(const std::function<void(HWND)>& driver) {
    return runScreen(GetModuleHandleW(nullptr), IDD_TIP, tipScreenProcedure, driver);
}

struct Step {
    int field;
    const wchar_t* text;  // typed into the emptied field; empty: a key that changes nothing
};

TEST_F(TipScreenTest, BillsTypedKeyByKey) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        const wchar_t* shown[6];
    } cases[] = {
        {"worked: 15% of 50 split by 2",
         {{IDC_TIP_PERCENT, L"15"}, {IDC_TIP_SPLIT, L"2"}, {IDC_TIP_BILL, L"50"}},
         {L"50", L"15.00", L"7.50", L"57.50", L"2", L"28.75"}},
        {"worked: 20% of 84.37 split by 3",
         {{IDC_TIP_PERCENT, L"20"}, {IDC_TIP_SPLIT, L"3"}, {IDC_TIP_BILL, L"84.37"}},
         {L"84.37", L"20.00", L"16.87", L"101.24", L"3", L"33.75"}},
        {"worked: no split, no share",
         {{IDC_TIP_PERCENT, L"18"}, {IDC_TIP_BILL, L"100"}},
         {L"100", L"18.00", L"18.00", L"118.00", L"0", L"0.00"}},
        {"worked: no split keeps the share typed",
         {{IDC_TIP_PERCENT, L"15"}, {IDC_TIP_SPLIT_AMOUNT, L"12.34"}, {IDC_TIP_BILL, L"40"}},
         {L"40", L"15.00", L"6.00", L"46.00", L"0", L"12.34"}},
        // The split of 2.5 stands when the key is released in the bill; it
        // divides once and is shown as 2.
        {"worked: fractional split",
         {{IDC_TIP_PERCENT, L"15"}, {IDC_TIP_BILL, L"10"}, {IDC_TIP_SPLIT, L"2.5"}, {IDC_TIP_BILL, L""}},
         {L"10.00", L"15.00", L"1.50", L"11.50", L"2", L"4.60"}},
        {"the shown split divides at the next key",
         {{IDC_TIP_PERCENT, L"15"},
          {IDC_TIP_BILL, L"10"},
          {IDC_TIP_SPLIT, L"2.5"},
          {IDC_TIP_BILL, L""},
          {IDC_TIP_BILL, L""}},
         {L"10.00", L"15.00", L"1.50", L"11.50", L"2", L"5.75"}},
        {"split typed: its own text stays",
         {{IDC_TIP_PERCENT, L"15"}, {IDC_TIP_BILL, L"10"}, {IDC_TIP_SPLIT, L"2.5"}},
         {L"10.00", L"15.00", L"1.50", L"11.50", L"2.5", L"4.60"}},
        {"split beyond 32 bits shown at the limit",
         {{IDC_TIP_PERCENT, L"10"}, {IDC_TIP_SPLIT, L"1e10"}, {IDC_TIP_BILL, L"100"}},
         {L"100", L"10.00", L"10.00", L"110.00", L"2147483647", L"0.00"}},
        {"negative percent lowers the total",
         {{IDC_TIP_PERCENT, L"-10"}, {IDC_TIP_BILL, L"50"}},
         {L"50", L"-10.00", L"-5.00", L"45.00", L"0", L"0.00"}},
        {"tip amount typed feeds nothing",
         {{IDC_TIP_PERCENT, L"15"}, {IDC_TIP_BILL, L"50"}, {IDC_TIP_AMOUNT, L"99"}},
         {L"50.00", L"15.00", L"99", L"57.50", L"0", L"0.00"}},
        {"first digit of the bill", {{IDC_TIP_BILL, L"7"}}, {L"7", L"0.00", L"0.00", L"7.00", L"0", L"0.00"}},
    };
    for (const auto& c : cases) {
        runTip([&](HWND dialog) {
            for (const Step& step : c.steps) {
                if (*step.text != 0) setFieldText(dialog, step.field, L"");
                typeKeepingText(dialog, step.field, step.text, c.name);
            }
            for (int n = 0; n < 6; ++n)
                EXPECT_EQ(narrow(c.shown[n]), narrow(fieldText(dialog, kShownFields[n])))
                    << c.name << ": " << kShownNames[n];
            if (c.shown[0] == std::wstring(L"84.37")) {
                screenshotKeyboardDown(dialog, L"tip_screen");
            }
            pressDone(dialog);
        });
    }
}

// Bill, percent, tip and split raise the keyboard; total and share do not,
// and moving to them from a keyboard field lowers it.
TEST_F(TipScreenTest, OnlyFourFieldsMoveTheKeyboard) {
    runTip([&](HWND dialog) {
        EXPECT_EQ(GetDlgItem(dialog, IDC_TIP_BILL), GetFocus()) << "the bill has the focus at opening";
        EXPECT_TRUE(deviceSipIsUp()) << "the focused bill raised the keyboard";
        const struct {
            int field;
            bool up;
        } steps[] = {
            {IDC_TIP_TOTAL, false},  {IDC_TIP_SPLIT, true}, {IDC_TIP_SPLIT_AMOUNT, false}, {IDC_TIP_AMOUNT, true},
            {IDC_TIP_PERCENT, true}, {IDC_TIP_BILL, true},  {IDC_TIP_TOTAL, false},
        };
        for (const auto& step : steps) {
            focusField(dialog, step.field);
            EXPECT_EQ(step.up, deviceSipIsUp()) << "focus to field " << step.field;
        }
        pressDone(dialog);
    });
}

TEST_F(TipScreenTest, OpensEmptyWithAllSixInFieldColours) {
    for (int opening = 1; opening <= 2; ++opening) {
        runTip([&](HWND dialog) {
            for (int n = 0; n < 6; ++n) {
                HWND field = GetDlgItem(dialog, kShownFields[n]);
                EXPECT_EQ(L"", fieldText(dialog, kShownFields[n])) << "opening " << opening << ": " << kShownNames[n];
                EXPECT_EQ(RGB(255, 255, 211), answeredColour(dialog, WM_CTLCOLOREDIT, field)) << kShownNames[n];
            }
            EXPECT_EQ(RGB(189, 224, 250), answeredColour(dialog, WM_CTLCOLORDLG, dialog)) << "background";
            typeInto(dialog, IDC_TIP_BILL, L"20");
            pressDone(dialog);
        });
    }
}


}  // namespace
