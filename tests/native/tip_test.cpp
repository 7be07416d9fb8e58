// Tip Calculator: worked rows, the split rule and the rule that the edited
// field is never rewritten.
#include <gtest/gtest.h>

#include "calculators/tip/tip.h"

namespace {

// Shown texts in the order Bill Amount, Tip Percent, Tip Amount, Total, Split,
// Split Amount; nullptr where the field must not be written (the edited one).
TEST(TipRecompute, ShownTexts) {
    const struct {
        const char* name;
        TipTexts in;  // bill, percent, split, split amount
        int edited;
        const char* shown[6];
    } cases[] = {
        {"worked: two people", {"50", "15", "2", "9"}, IDC_TIP_BILL, {nullptr, "15.00", "7.50", "57.50", "2", "28.75"}},
        {"worked: rounded in the text only",
         {"84.37", "20", "3", "9"},
         IDC_TIP_BILL,
         {nullptr, "20.00", "16.87", "101.24", "3", "33.75"}},
        {"worked: no split, no split amount",
         {"100", "18", "", ""},
         IDC_TIP_BILL,
         {nullptr, "18.00", "18.00", "118.00", "0", "0.00"}},
        {"worked: no split keeps the split amount",
         {"40", "15", "", "12.34"},
         IDC_TIP_BILL,
         {nullptr, "15.00", "6.00", "46.00", "0", "12.34"}},
        {"worked: fractional split",
         {"10", "15", "2.5", "9"},
         IDC_TIP_BILL,
         {nullptr, "15.00", "1.50", "11.50", "2", "4.60"}},
        {"first digit of the bill", {"7", "", "", ""}, IDC_TIP_BILL, {nullptr, "0.00", "0.00", "7.00", "0", "0.00"}},
        {"negative percent",
         {"100", "-10", "1", ""},
         IDC_TIP_PERCENT,
         {"100.00", nullptr, "-10.00", "90.00", "1", "90.00"}},
        {"Tip Amount typed in does not feed",
         {"20", "10", "2", ""},
         IDC_TIP_AMOUNT,
         {"20.00", "10.00", nullptr, "22.00", "2", "11.00"}},
        {"Total typed in does not feed",
         {"20", "10", "", "3"},
         IDC_TIP_TOTAL,
         {"20.00", "10.00", "2.00", nullptr, "0", "3.00"}},
        {"typing the split",
         {"10", "15", "2.5", ""},
         IDC_TIP_SPLIT,
         {"10.00", "15.00", "1.50", "11.50", nullptr, "4.60"}},
        {"split amount ignored while split is set",
         {"30", "0", "3", "99"},
         IDC_TIP_SPLIT_AMOUNT,
         {"30.00", "0.00", "0.00", "30.00", "3", nullptr}},
        {"only 15 characters read",
         {"000000000000001e5", "", "", ""},
         IDC_TIP_PERCENT,
         {"1.00", nullptr, "0.00", "1.00", "0", "0.00"}},
        {"split beyond 32 bits saturates",
         {"100", "0", "-1e10", ""},
         IDC_TIP_BILL,
         {nullptr, "0.00", "0.00", "100.00", "-2147483648", "-0.00"}},
        {"share beyond the largest number",
         {"100", "0", "1e-320", ""},
         IDC_TIP_BILL,
         {nullptr, "0.00", "0.00", "100.00", "0", ""}},
        {"tip beyond the largest number",
         {"1e300", "1e11", "1", ""},
         IDC_TIP_BILL,
         {nullptr, "100000000000.00", "", "", "1", ""}},
        {"non-finite text is no number",
         {"inf", "nan", "", "-inf"},
         IDC_TIP_BILL,
         {nullptr, "0.00", "0.00", "0.00", "0", "0.00"}},
    };
    const char* names[6] = {"Bill Amount", "Tip Percent", "Tip Amount",
                            "Total",       "Split",       "Split Amount"};
    for (const auto& c : cases) {
        TipResult r = recomputeTip(c.in, c.edited);
        for (int i = 0; i < 6; ++i) {
            const TipOutput& f = r.fields[i];
            EXPECT_EQ(f.write, c.shown[i] != nullptr)
                << c.name << ", " << names[i] << ": write flag, text \"" << f.text << "\"";
            if (c.shown[i] != nullptr) {
                EXPECT_EQ(f.text, c.shown[i]) << c.name << ", " << names[i];
            }
        }
    }
}

TEST(TipValues, SplitCountTruncatesTowardsZero) {
    const struct {
        double typed;
        int32_t shown;
    } cases[] = {{2.99, 2}, {-2.5, -2}, {0.9, 0}, {2147483647.5, INT32_MAX}, {1e300, INT32_MAX},
                 {-2147483648.5, INT32_MIN}};
    for (const auto& c : cases) {
        EXPECT_EQ(tipSplitCount(c.typed), c.shown) << "split " << c.typed;
    }
}

}  // namespace
