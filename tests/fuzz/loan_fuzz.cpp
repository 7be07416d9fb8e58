// Loan Payments recomputed from whatever the four fields hold.
//
// Input: a byte picking the edited control (one of the four value fields or
// another control), then the texts of Amount, Interest, Payment and Months,
// each ended by a zero byte. Checks:
//  - every field but the edited one is written, each text empty or "%.2f",
//    never "nan" or "inf";
//  - only the first kLoanTextLimit characters of each field take part;
//  - months are whole, at least 1 and within 32 bits whenever shown;
//  - the totals are months x payment (a single month: the loan and one
//    month's interest);
//  - a solved payment pays the loan off: the balance after the months is 0;
//  - solved months bracket the typed payment: it lies between the payments
//    for half a month more and half a month less.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "calculators/loan/loan.h"
#include "shell/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool sameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool sameResult(const LoanResult& a, const LoanResult& b) {
    for (int n = 0; n < 6; ++n) {
        if (a.fields[n].write != b.fields[n].write || a.fields[n].text != b.fields[n].text) return false;
    }
    return sameValue(a.values.payment, b.values.payment) && sameValue(a.values.months, b.values.months) &&
           a.values.monthsKnown == b.values.monthsKnown;
}

std::string cut(const std::string& text) { return text.substr(0, kLoanTextLimit); }

bool near(double a, double b, double relative) {
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const int kControls[] = {kLoanAmountField, kLoanInterestField, kLoanPaymentField, kLoanMonthsField,
                                    kLoanDialog};
    const int edited = kControls[in.byte() % 5];
    LoanTexts texts;
    texts.amount = in.field();
    texts.interest = in.field();
    texts.payment = in.field();
    texts.months = in.field();

    const LoanResult r = recomputeLoan(texts, edited);
    for (int n = 0; n < 6; ++n) {
        const LoanOutput& f = r.fields[n];
        FUZZ_CHECK(f.write == (f.id != edited), "control %d write flag %d after a key release in %d", f.id, f.write,
                   edited);
        FUZZ_CHECK(!showsNonFinite(f.text), "control %d shows \"%s\"", f.id, shown(f.text).c_str());
        FUZZ_CHECK(f.text.empty() || isFixedPointText(f.text, 2), "control %d shows \"%s\"", f.id,
                   shown(f.text).c_str());
    }

    const LoanTexts cutTexts{cut(texts.amount), cut(texts.interest), cut(texts.payment), cut(texts.months)};
    FUZZ_CHECK(sameResult(r, recomputeLoan(cutTexts, edited)),
               "characters past %d of a field changed the result", kLoanTextLimit);

    const LoanValues& v = r.values;
    const std::string& monthsText = r.fields[3].text;
    if (v.monthsKnown) {
        FUZZ_CHECK(v.months >= 1 && v.months <= 2147483647.0 && v.months == std::floor(v.months),
                   "months %.17g", v.months);
        FUZZ_CHECK(monthsText.size() > 3 && monthsText.compare(monthsText.size() - 3, 3, ".00") == 0 &&
                       readDecimal(monthsText.c_str()) == v.months,
                   "months %.17g shown as \"%s\"", v.months, monthsText.c_str());
    } else {
        FUZZ_CHECK(edited == kLoanPaymentField, "months unknown after a key release in %d", edited);
        FUZZ_CHECK(monthsText.empty() && r.fields[4].text.empty() && r.fields[5].text.empty(),
                   "unknown months shown as \"%s\", \"%s\", \"%s\"", monthsText.c_str(), r.fields[4].text.c_str(),
                   r.fields[5].text.c_str());
    }

    // The totals: months x payment, except that a payment solved to a single
    // month pays the whole loan and that month's interest at once. That
    // payment goes through the level-payment formula, whose (1 + r) - 1
    // loses up to an epsilon of 1 against r.
    if (v.monthsKnown && std::isnormal(v.total)) {
        const bool once = edited == kLoanPaymentField && v.months == 1;
        const double r = loanMonthlyRate(v.interest);
        const double paid = once ? v.amount * (1 + r) : v.payment;
        const double relative = once && r != 0 ? 1e-12 + 4 * DBL_EPSILON / std::fabs(r) : 1e-12;
        FUZZ_CHECK(near(v.total, v.months * paid, relative), "total %.17g for %.17g months of %.17g", v.total,
                   v.months, paid);
        FUZZ_CHECK(v.totalInterest == v.total - v.amount, "interest %.17g of total %.17g on %.17g",
                   v.totalInterest, v.total, v.amount);
    }

    // The loan arithmetic, where the numbers are of a size a loan has.
    const double amount = v.amount;
    const double rate = loanMonthlyRate(v.interest);
    const bool loanSized = amount >= 1 && amount <= 1e9 && rate >= 1e-5 && rate <= 0.5 && v.monthsKnown &&
                           v.months <= 1200;
    if (loanSized && edited != kLoanPaymentField) {
        const double growth = std::pow(1 + rate, v.months);
        const double balance = amount * growth - v.payment * (growth - 1) / rate;
        FUZZ_CHECK(std::fabs(balance) <= 1e-9 * amount * growth,
                   "%.17g at %.17g a month for %.17g months: payment %.17g leaves %.17g", amount, rate, v.months,
                   v.payment, balance);
    }
    if (loanSized && edited == kLoanPaymentField && v.months > 1) {
        const double payment = v.payment;
        const double more = loanPayment(amount, rate, v.months + 0.5);
        const double less = loanPayment(amount, rate, v.months - 0.5);
        FUZZ_CHECK((payment >= more || near(payment, more, 1e-9)) && (payment <= less || near(payment, less, 1e-9)),
                   "payment %.17g solved as %.17g months: between %.17g and %.17g expected", payment, v.months, more,
                   less);
    }
    return 0;
}
