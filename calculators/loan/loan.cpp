// Loan Payments computation: see loan.h.
#include "calculators/loan/loan.h"

#include <cmath>
#include <cstdint>

#include "core/number_text.h"

namespace {

// The double nearest 1/1200: a yearly percentage to a monthly fraction.
const double monthlyRateFactor = 0.0008333333333333334;

// Largest whole number of months the screen works with (the 32-bit range).
const double maxMonths = 2147483647.0;

double readField(const std::string& text) {
    return readDecimal(text.substr(0, kLoanTextLimit).c_str());
}

// "%.2f", or empty text for a value that has no finite answer, so that the
// screen never shows "inf" or "nan".
std::string money(double value) {
    return std::isfinite(value) ? formatText("%.2f", value) : std::string();
}

}  // namespace

double roundLoanMonths(double months, bool atLeastOne) {
    double whole;
    if (std::isnan(months)) {
        whole = 0.0;
    } else if (months >= maxMonths) {
        // Beyond the 32-bit range the count saturates.
        whole = maxMonths;
    } else if (months <= -2147483648.0) {
        whole = -2147483648.0;
    } else {
        int32_t truncated = static_cast<int32_t>(months);
        whole = months >= truncated + 0.5 ? truncated + 1.0 : static_cast<double>(truncated);
    }
    if (atLeastOne && whole <= 0.0) whole = 1.0;
    return whole;
}

double loanMonthlyRate(double yearlyPercent) {
    return yearlyPercent * monthlyRateFactor;
}

double loanPayment(double amount, double monthlyRate, double months) {
    double growth = std::pow(1.0 + monthlyRate, months);
    if (growth - 1.0 == 0.0) return amount / months;  // no interest
    return ((monthlyRate * growth) * amount) / (growth - 1.0);
}

LoanValues computeLoan(double amount, double yearlyPercent, double payment, double months,
                       int editedId) {
    LoanValues v;
    v.amount = amount;
    v.interest = yearlyPercent;
    v.payment = payment;
    v.months = roundLoanMonths(months, true);
    v.monthsKnown = true;

    double rate = loanMonthlyRate(yearlyPercent);
    double paymentForTotals;
    if (editedId == IDC_LOAN_PAYMENT) {
        // Solve payment = r g A / (g - 1) for the exponent of g = (1 + r)^n.
        // No interest, no amount, or a payment that never covers a month's
        // interest has no solution; neither has a count that rounds to no
        // month at all or lies beyond the 32-bit range.
        double solved = NAN;
        if (rate != 0.0 && amount != 0.0) {
            double ratio = payment / amount;
            solved = (std::log(ratio) - std::log(ratio - rate)) / std::log(1.0 + rate);
        }
        double whole = NAN;
        if (std::isfinite(solved) && solved < maxMonths + 0.5) {
            whole = roundLoanMonths(solved, false);
        }
        if (!(whole >= 1.0 && whole <= maxMonths)) {
            v.monthsKnown = false;
            v.months = NAN;
            v.total = NAN;
            v.totalInterest = NAN;
            return v;
        }
        v.months = whole;
        // One month: the whole loan and one month's interest in one payment.
        paymentForTotals = whole == 1.0 ? loanPayment(amount, rate, 1.0) : payment;
    } else {
        v.payment = loanPayment(amount, rate, v.months);
        paymentForTotals = v.payment;
    }
    v.total = v.months * paymentForTotals;
    v.totalInterest = v.total - amount;
    return v;
}

LoanResult recomputeLoan(const LoanTexts& texts, int editedId) {
    LoanResult r;
    r.values = computeLoan(readField(texts.amount), readField(texts.interest),
                           readField(texts.payment), readField(texts.months), editedId);
    const LoanValues& v = r.values;
    r.fields[0] = {IDC_LOAN_AMOUNT, editedId != IDC_LOAN_AMOUNT, money(v.amount)};
    r.fields[1] = {IDC_LOAN_INTEREST, editedId != IDC_LOAN_INTEREST, money(v.interest)};
    r.fields[2] = {IDC_LOAN_PAYMENT, editedId != IDC_LOAN_PAYMENT, money(v.payment)};
    r.fields[3] = {IDC_LOAN_MONTHS, editedId != IDC_LOAN_MONTHS, money(v.months)};
    r.fields[4] = {IDC_LOAN_TOTAL_PAYMENTS, true, money(v.total)};
    r.fields[5] = {IDC_LOAN_TOTAL_INTEREST, true, money(v.totalInterest)};
    return r;
}
