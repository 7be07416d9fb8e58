// Loan Payments: worked rows, month rounding, the months solve and the rule
// that the edited field is never rewritten.
#include <gtest/gtest.h>

#include "calculators/loan/loan.h"

namespace {

// Shown texts in the order Amount, Interest, Payment, Months, Total Payments,
// Total Interest; nullptr where the field must not be written (the edited one).
TEST(LoanRecompute, ShownTexts) {
    const struct {
        const char* name;
        LoanTexts in;
        int edited;
        const char* shown[6];
    } cases[] = {
        {"worked: 36 months at 6%",
         {"10000", "6", "", "36"},
         IDC_LOAN_MONTHS,
         {"10000.00", "6.00", "304.22", nullptr, "10951.90", "951.90"}},
        {"worked: payment solves 36 months",
         {"10000", "6", "304.22", ""},
         IDC_LOAN_PAYMENT,
         {"10000.00", "6.00", nullptr, "36.00", "10951.92", "951.92"}},
        {"worked: empty months count as one",
         {"10000", "6", "", ""},
         IDC_LOAN_AMOUNT,
         {nullptr, "6.00", "10050.00", "1.00", "10050.00", "50.00"}},
        {"worked: zero rate",
         {"10000", "0", "", "10"},
         IDC_LOAN_MONTHS,
         {"10000.00", "0.00", "1000.00", nullptr, "10000.00", "0.00"}},
        {"worked: 12.5 months used as 13",
         {"1000", "12", "", "12.5"},
         IDC_LOAN_MONTHS,
         {"1000.00", "12.00", "82.41", nullptr, "1071.39", "71.39"}},
        {"worked: 30-year mortgage",
         {"200000", "7.5", "", "360"},
         IDC_LOAN_INTEREST,
         {"200000.00", nullptr, "1398.43", "360.00", "503434.45", "303434.45"}},
        {"first digit of the amount",
         {"5", "", "", ""},
         IDC_LOAN_AMOUNT,
         {nullptr, "0.00", "5.00", "1.00", "5.00", "0.00"}},
        {"12.5 months shown as 13 from another field",
         {"1000", "12", "", "12.5"},
         IDC_LOAN_INTEREST,
         {"1000.00", nullptr, "82.41", "13.00", "1071.39", "71.39"}},
        {"comma stops, letters read 0",
         {"1,500", "x", "", "1"},
         IDC_LOAN_MONTHS,
         {"1.00", "0.00", "1.00", nullptr, "1.00", "0.00"}},
        {"only 15 characters read",
         {"000000000000001e5", "0", "", "1"},
         IDC_LOAN_MONTHS,
         {"1.00", "0.00", "1.00", nullptr, "1.00", "0.00"}},
        {"non-finite text is no number",
         {"inf", "nan", "", "1e999"},
         IDC_LOAN_AMOUNT,
         {nullptr, "0.00", "0.00", "1.00", "0.00", "0.00"}},
        {"payment of A x (1 + r) solves one month",
         {"1000", "12", "1010", "7"},
         IDC_LOAN_PAYMENT,
         {"1000.00", "12.00", nullptr, "1.00", "1010.00", "10.00"}},
        {"more still rounds to one month",
         {"1000", "12", "1900", ""},
         IDC_LOAN_PAYMENT,
         {"1000.00", "12.00", nullptr, "1.00", "1010.00", "10.00"}},
        {"solve rounds to no month",
         {"1000", "12", "5000", "5"},
         IDC_LOAN_PAYMENT,
         {"1000.00", "12.00", nullptr, "", "", ""}},
        {"solve with negative payment",
         {"1000", "12", "-50", "5"},
         IDC_LOAN_PAYMENT,
         {"1000.00", "12.00", nullptr, "", "", ""}},
        {"solve with zero rate", {"1000", "0", "100", "5"}, IDC_LOAN_PAYMENT, {"1000.00", "0.00", nullptr, "", "", ""}},
        {"solve with zero amount", {"", "6", "100", "5"}, IDC_LOAN_PAYMENT, {"0.00", "6.00", nullptr, "", "", ""}},
        {"solve with P = A x r",
         {"1000", "12", "10", "5"},
         IDC_LOAN_PAYMENT,
         {"1000.00", "12.00", nullptr, "", "", ""}},
        {"solve beyond 32 bits",
         {"1000", "1e-6", "0.000000834", ""},
         IDC_LOAN_PAYMENT,
         {"1000.00", "0.00", nullptr, "", "", ""}},
        {"months beyond 32 bits saturate, payment overflows",
         {"1000", "6", "", "1e10"},
         IDC_LOAN_AMOUNT,
         {nullptr, "6.00", "", "2147483647.00", "", ""}},
    };
    const char* names[6] = {"Amount", "Interest",       "Payment",
                            "Months", "Total Payments", "Total Interest"};
    for (const auto& c : cases) {
        LoanResult r = recomputeLoan(c.in, c.edited);
        for (int i = 0; i < 6; ++i) {
            const LoanOutput& f = r.fields[i];
            EXPECT_EQ(f.write, c.shown[i] != nullptr)
                << c.name << ", " << names[i] << ": write flag, text \"" << f.text << "\"";
            if (c.shown[i] != nullptr) {
                EXPECT_EQ(f.text, c.shown[i]) << c.name << ", " << names[i];
            }
        }
    }
}

TEST(LoanMonths, Rounding) {
    const struct {
        double typed;
        bool atLeastOne;
        double expected;
    } cases[] = {{12.5, true, 13},  {12.49, true, 12}, {0.5, true, 1},  {0.49, true, 1},
                 {0.49, false, 0},  {-3, true, 1},     {-3, false, -3}, {1e10, true, 2147483647},
                 {-1e10, true, 1},  {2147483646.5, true, 2147483647}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundLoanMonths(c.typed, c.atLeastOne), c.expected)
            << "months " << c.typed << (c.atLeastOne ? ", at least one" : "");
    }
}

// The payment for n whole months solves back to n months.
TEST(LoanMonths, SolveInvertsPayment) {
    for (double rate : {0.5, 6.0, 24.0}) {
        for (double n : {1.0, 2.0, 36.0, 600.0}) {
            double payment = loanPayment(25000, loanMonthlyRate(rate), n);
            LoanValues v = computeLoan(25000, rate, payment, 0, IDC_LOAN_PAYMENT);
            EXPECT_TRUE(v.monthsKnown && v.months == n)
                << rate << "% over " << n << ": got " << v.months << " months";
        }
    }
}

}  // namespace
