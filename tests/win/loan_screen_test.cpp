// The Loan Payments screen driven through its real template and procedure:
// worked loans typed key by key, the edited field left as typed, the months
// solve without an answer, and the frame data of the screen.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "calculators/loan/loan.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/launcher.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/screen_checks.h"
#include "tests/win/support/win_test.h"

namespace {

// The six fields in the order Amount, Interest, Payment, Months, Total
// Payments, Total Interest.
const int kShownFields[6] = {IDC_LOAN_AMOUNT, IDC_LOAN_INTEREST,       IDC_LOAN_PAYMENT,
                             IDC_LOAN_MONTHS, IDC_LOAN_TOTAL_PAYMENTS, IDC_LOAN_TOTAL_INTEREST};
const char* const kShownNames[6] = {"Amount", "Interest", "Payment", "Months", "Total Payments",
                                    "Total Interest"};

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }




class LoanScreenTest : public ::testing::Test {
protected:
    void SetUp() override { wcscpy(dataDirectory, scratch.directory().c_str()); }
    ScratchPlace scratch;
};

INT_PTR runLoan(const std::function<void(HWND)>& driver) {
    return runScreen(GetModuleHandleW(nullptr), IDD_LOAN, loanScreenProcedure, driver);
}

// The fields stand as given (nothing recomputes until a key is released);
// then the edited field is typed key by key from empty. Where the edited
// field is listed among the shown texts it must keep the typed text.
TEST_F(LoanScreenTest, LoansTypedKeyByKey) {
    const wchar_t* const kAny = L"77";  // a field that is not an input here
    const struct {
        const char* name;
        const wchar_t* amount;
        const wchar_t* interest;
        const wchar_t* payment;
        const wchar_t* months;
        int edited;
        const wchar_t* shown[6];
    } cases[] = {
        {"worked: 36 months at 6%",
         L"10000",
         L"6",
         kAny,
         L"36",
         IDC_LOAN_MONTHS,
         {L"10000.00", L"6.00", L"304.22", L"36", L"10951.90", L"951.90"}},
        {"worked: payment solves 36 months",
         L"10000",
         L"6",
         L"304.22",
         kAny,
         IDC_LOAN_PAYMENT,
         {L"10000.00", L"6.00", L"304.22", L"36.00", L"10951.92", L"951.92"}},
        {"worked: empty months count as one",
         L"10000",
         L"6",
         kAny,
         L"",
         IDC_LOAN_AMOUNT,
         {L"10000", L"6.00", L"10050.00", L"1.00", L"10050.00", L"50.00"}},
        {"worked: zero rate",
         L"10000",
         L"0",
         kAny,
         L"10",
         IDC_LOAN_MONTHS,
         {L"10000.00", L"0.00", L"1000.00", L"10", L"10000.00", L"0.00"}},
        {"worked: 12.5 months used as 13",
         L"1000",
         L"12",
         kAny,
         L"12.5",
         IDC_LOAN_MONTHS,
         {L"1000.00", L"12.00", L"82.41", L"12.5", L"1071.39", L"71.39"}},
        {"worked: 30-year mortgage",
         L"200000",
         L"7.5",
         kAny,
         L"360",
         IDC_LOAN_INTEREST,
         {L"200000.00", L"7.5", L"1398.43", L"360.00", L"503434.45", L"303434.45"}},
        {"payment of A x (1 + r) pays off in one month",
         L"1000",
         L"12",
         L"1010",
         kAny,
         IDC_LOAN_PAYMENT,
         {L"1000.00", L"12.00", L"1010", L"1.00", L"1010.00", L"10.00"}},
        {"months solve without an answer shows empty results",
         L"1000",
         L"0",
         L"100",
         kAny,
         IDC_LOAN_PAYMENT,
         {L"1000.00", L"0.00", L"100", L"", L"", L""}},
        {"12a reads as 12",
         L"12a",
         L"",
         kAny,
         L"",
         IDC_LOAN_AMOUNT,
         {L"12a", L"0.00", L"12.00", L"1.00", L"12.00", L"0.00"}},
        {"inf typed is no number",
         L"inf",
         L"",
         kAny,
         L"",
         IDC_LOAN_AMOUNT,
         {L"inf", L"0.00", L"0.00", L"1.00", L"0.00", L"0.00"}},
    };
    for (const auto& c : cases) {
        runLoan([&](HWND dialog) {
            setFieldText(dialog, IDC_LOAN_AMOUNT, c.amount);
            setFieldText(dialog, IDC_LOAN_INTEREST, c.interest);
            setFieldText(dialog, IDC_LOAN_PAYMENT, c.payment);
            setFieldText(dialog, IDC_LOAN_MONTHS, c.months);
            std::wstring typed = fieldText(dialog, c.edited);
            setFieldText(dialog, c.edited, L"");
            typeKeepingText(dialog, c.edited, typed, c.name);
            for (int n = 0; n < 6; ++n)
                EXPECT_EQ(narrow(c.shown[n]), narrow(fieldText(dialog, kShownFields[n])))
                    << c.name << ": " << kShownNames[n];
            if (c.edited == IDC_LOAN_INTEREST) {
                screenshotKeyboardDown(dialog, L"loan_screen");
            }
            pressDone(dialog);
        });
    }
}

// Months typed as 12.5 stay as typed while edited and show the months in use
// once another field is edited.
TEST_F(LoanScreenTest, TypedMonthsNormalisedWhenAnotherFieldIsEdited) {
    runLoan([&](HWND dialog) {
        typeKeepingText(dialog, IDC_LOAN_AMOUNT, L"1000", "amount");
        setFieldText(dialog, IDC_LOAN_INTEREST, L"");
        typeKeepingText(dialog, IDC_LOAN_INTEREST, L"12", "interest");
        setFieldText(dialog, IDC_LOAN_MONTHS, L"");
        typeKeepingText(dialog, IDC_LOAN_MONTHS, L"12.5", "months");
        EXPECT_EQ(L"82.41", fieldText(dialog, IDC_LOAN_PAYMENT)) << "12.5 months used as 13";
        pressKey(dialog, IDC_LOAN_INTEREST, VK_RIGHT);
        EXPECT_EQ(L"13.00", fieldText(dialog, IDC_LOAN_MONTHS));
        EXPECT_EQ(L"1071.39", fieldText(dialog, IDC_LOAN_TOTAL_PAYMENTS));
        pressDone(dialog);
    });
}

// The template's placeholder results are emptied and nothing is kept from
// one opening to the next.
TEST_F(LoanScreenTest, OpensEmptyEveryTime) {
    for (int opening = 1; opening <= 2; ++opening) {
        INT_PTR result = runLoan([&](HWND dialog) {
            for (int n = 0; n < 6; ++n)
                EXPECT_EQ(L"", fieldText(dialog, kShownFields[n]))
                    << "opening " << opening << ": " << kShownNames[n] << " not empty";
            typeInto(dialog, IDC_LOAN_AMOUNT, L"5000");
            EXPECT_EQ(L"5000.00", fieldText(dialog, IDC_LOAN_TOTAL_PAYMENTS));
            pressDone(dialog);
        });
        EXPECT_EQ(1, result) << "Done closes with result 1";
    }
}

// The screen's frame data: all four edits raise the keyboard and are black
// on light yellow; labels and result texts sit on light blue.
TEST_F(LoanScreenTest, ValueFieldsRaiseKeyboardAndTakeFieldColours) {
    runLoan([&](HWND dialog) {
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        EXPECT_EQ(GetDlgItem(dialog, IDC_LOAN_AMOUNT), GetFocus()) << "the first field has the focus";
        EXPECT_TRUE(deviceSipIsUp()) << "the focused first field raised the keyboard";
        for (int id : kLoanValueFields) {
            focusField(dialog, id);
            EXPECT_TRUE(deviceSipIsUp()) << "field " << id << ": focus must raise the keyboard";
            SetFocus(nullptr);
            EXPECT_FALSE(deviceSipIsUp()) << "field " << id << ": losing the focus must lower it";
            EXPECT_EQ(RGB(255, 255, 211), answeredColour(dialog, WM_CTLCOLOREDIT, GetDlgItem(dialog, id)))
                << "field " << id;
        }
        for (int id : {IDC_LOAN_TOTAL_PAYMENTS, IDC_LOAN_TOTAL_INTEREST})
            EXPECT_EQ(RGB(189, 224, 250), answeredColour(dialog, WM_CTLCOLORSTATIC, GetDlgItem(dialog, id)))
                << "result text " << id;
        EXPECT_EQ(RGB(189, 224, 250), answeredColour(dialog, WM_CTLCOLORDLG, dialog)) << "background";
        pressDone(dialog);
    });
}


}  // namespace
