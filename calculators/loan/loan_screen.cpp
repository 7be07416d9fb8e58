// The Loan Payments screen (template 105) on the shared frame: each key
// released in one of the four value edits reads all four, recomputes and
// rewrites every field but the edited one, and the two result texts.
#include <windows.h>

#include <iterator>

#include "calculators/loan/loan.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

std::string loanFieldText(HWND dialog, int id) {
    return readFieldText(GetDlgItem(dialog, id), kLoanTextLimit);
}

// The screen opens empty: the result texts lose their template text too.
void initLoanScreen(HWND dialog) {
    for (int id : kLoanValueFields) SetDlgItemTextW(dialog, id, L"");
    SetDlgItemTextW(dialog, IDC_LOAN_TOTAL_PAYMENTS, L"");
    SetDlgItemTextW(dialog, IDC_LOAN_TOTAL_INTEREST, L"");
}

void recomputeLoanScreen(HWND dialog, int fieldId, const char*) {
    LoanTexts texts = {loanFieldText(dialog, IDC_LOAN_AMOUNT), loanFieldText(dialog, IDC_LOAN_INTEREST),
                       loanFieldText(dialog, IDC_LOAN_PAYMENT), loanFieldText(dialog, IDC_LOAN_MONTHS)};
    LoanResult result = recomputeLoan(texts, fieldId);
    for (const LoanOutput& field : result.fields)
        if (field.write) writeFieldText(dialog, field.id, field.text);
}

const ScreenFrame kLoanFrame = {
    {std::begin(kLoanValueFields), std::end(kLoanValueFields)},  // value fields
    {std::begin(kLoanValueFields), std::end(kLoanValueFields)},  // all four raise the soft keyboard
    {},                                                          // nothing emptied on focus
    kColourDialog | kColourStatic,                               // labels on light blue
    false,                                                       // no menu bar
    false,                                                       // no default processing
    kLoanTextLimit,                                              // the read limit of a value
    initLoanScreen,
    recomputeLoanScreen,
    nullptr,  // nothing saved
    nullptr,  // no commands of its own
    nullptr,  // no messages of its own
};

}  // namespace

const DLGPROC loanScreenProcedure = ScreenProcedures<kLoanFrame>::dialog;
