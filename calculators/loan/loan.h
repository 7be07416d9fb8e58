// Loan Payments: the level monthly payment of an amortised loan, or the
// number of months a given payment takes, with the totals paid and the
// interest. Portable: no windows.h. The screen reads its four edits, calls
// recomputeLoan and writes back the texts marked for writing.
#pragma once
#include <string>

#include "resources/quantrel/resource_ids.h"

// The four value edits, in the order the screen hooks them.
constexpr int kLoanValueFields[4] = {IDC_LOAN_AMOUNT, IDC_LOAN_INTEREST, IDC_LOAN_PAYMENT, IDC_LOAN_MONTHS};

// Characters of each field that take part; the rest of a longer text is not read.
constexpr int kLoanTextLimit = 15;

// The 8-bit texts of the four edits as they stand.
struct LoanTexts {
    std::string amount;
    std::string interest;
    std::string payment;
    std::string months;
};

// One field to rewrite: its control id, whether it is to be written at all,
// and the text.
struct LoanOutput {
    int id;
    bool write;
    std::string text;
};

// The six values of a recompute. monthsKnown is false when the months solve
// (Payment edited) has no meaningful answer; months, total and interest are
// then not numbers to show.
struct LoanValues {
    double amount;
    double interest;  // yearly percent, as read
    double payment;
    double months;
    double total;
    double totalInterest;
    bool monthsKnown;
};

// The six fields in the order Amount, Interest, Payment, Months,
// Total Payments, Total Interest.
struct LoanResult {
    LoanValues values;
    LoanOutput fields[6];
};

// Whole months from a typed count: truncated towards zero through a 32-bit
// integer (clamped to its range), halves rounded up. With atLeastOne, a
// count of 0 or less becomes 1.
double roundLoanMonths(double months, bool atLeastOne);

// The monthly rate for a yearly percentage: percent / 100 / 12.
double loanMonthlyRate(double yearlyPercent);

// The level payment that pays amount off in months payments at monthlyRate.
double loanPayment(double amount, double monthlyRate, double months);

// The computation on plain numbers; editedId says what is solved (Payment
// edited: the months, anything else: the payment).
LoanValues computeLoan(double amount, double yearlyPercent, double payment, double months,
                       int editedId);

// The recompute after a key release in editedId: reads the texts, computes,
// and formats every field with "%.2f". The edited field is never written; a
// value without a finite answer is written as empty text.
LoanResult recomputeLoan(const LoanTexts& texts, int editedId);
