// The Loan Payments screen (template 105) on the shared frame: each key
// released in one of the four value edits reads all four, recomputes and
// rewrites every field but the edited one, and the two result texts.
#include <windows.h>

#include <iterator>

#include "calculators/loan/loan.h"
#include "shell/screen_frame.h"
#include "shell/screens.h"
#include "shell/wide_text.h"

namespace {

std::string loanFieldText(HWND dialog, int id) {
    return readFieldText(GetDlgItem(dialog, id), kLoanTextLimit);
}

// The screen opens empty: the result texts lose their template text too.
void initLoanScreen(HWND dialog) {
    for (int id : kLoanValueFields) SetDlgItemTextW(dialog, id, L"");
    SetDlgItemTextW(dialog, kLoanTotalPaymentsText, L"");
    SetDlgItemTextW(dialog, kLoanTotalInterestText, L"");
}

void recomputeLoanScreen(HWND dialog, int fieldId, const char*) {
    LoanTexts texts = {loanFieldText(dialog, kLoanAmountField), loanFieldText(dialog, kLoanInterestField),
                       loanFieldText(dialog, kLoanPaymentField), loanFieldText(dialog, kLoanMonthsField)};
    LoanResult result = recomputeLoan(texts, fieldId);
    for (const LoanOutput& field : result.fields)
        if (field.write) writeFieldText(dialog, field.id, field.text);
}

const ScreenFrame kLoanFrame = {
    {std::begin(kLoanValueFields), std::end(kLoanValueFields)},
    {std::begin(kLoanValueFields), std::end(kLoanValueFields)},
    {},
    kColourDialog | kColourStatic,
    false,
    false,
    kLoanTextLimit,
    initLoanScreen,
    recomputeLoanScreen,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

const DLGPROC loanScreenProcedure = ScreenProcedures<kLoanFrame>::dialog;
