// toBase and fromBase, and the recompute arithmetic the currency screens
// build on them (read the typed text, convert, format "%.2f").
#include "currency/core/conversion.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "core/number_text.h"

namespace {

std::unique_ptr<CurrencyTable> tableWithRates(std::initializer_list<double> rates) {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable{});
    int i = 0;
    for (double rate : rates) {
        std::string name = "C" + std::to_string(i);
        std::strcpy(table->entries[i].name, name.c_str());
        table->entries[i].rate = rate;
        ++i;
    }
    table->count = i;
    return table;
}

// What a currency screen shows in a target row for `typed` in a row of
// currency `from`.
std::string shown(const CurrencyTable& table, const char* typed, int from, int to) {
    return formatText("%.2f", fromBase(table, toBase(table, readDecimal(typed), from), to));
}

}  // namespace

TEST(Conversion, ToBaseDividesByTheRate) {
    auto table = tableWithRates({1.0, 2.0, 0.5, 100.0});
    EXPECT_EQ(10.0, toBase(*table, 10.0, 0));
    EXPECT_EQ(5.0, toBase(*table, 10.0, 1));
    EXPECT_EQ(20.0, toBase(*table, 10.0, 2));
    EXPECT_EQ(0.1, toBase(*table, 10.0, 3));
}

TEST(Conversion, FromBaseMultipliesByTheRate) {
    auto table = tableWithRates({1.0, 2.0, 0.5, 100.0});
    EXPECT_EQ(5.0, fromBase(*table, 5.0, 0));
    EXPECT_EQ(10.0, fromBase(*table, 5.0, 1));
    EXPECT_EQ(2.5, fromBase(*table, 5.0, 2));
    EXPECT_EQ(500.0, fromBase(*table, 5.0, 3));
}

TEST(Conversion, WorkedExampleTenInRowTwo) {
    // Rows 1 to 4 choose entries 0 to 3 (rates 1, 2, 0.5, 100); 10 typed into
    // row 2 shows 5.00, 2.50 and 500.00 in rows 1, 3 and 4.
    auto table = tableWithRates({1.0, 2.0, 0.5, 100.0});
    EXPECT_EQ("5.00", shown(*table, "10", 1, 0));
    EXPECT_EQ("2.50", shown(*table, "10", 1, 2));
    EXPECT_EQ("500.00", shown(*table, "10", 1, 3));
}

TEST(Conversion, ZeroRateGivesZero) {
    auto table = tableWithRates({0.0, 2.0});
    EXPECT_EQ(0.0, toBase(*table, 10.0, 0));
    EXPECT_EQ("0.00", shown(*table, "10", 0, 1));
    EXPECT_EQ(0.0, fromBase(*table, 7.0, 0));
}

TEST(Conversion, IndexOutsideTheTableGivesZero) {
    auto table = tableWithRates({1.0, 2.0});
    for (int index : {-1, -2, kCurrencyCapacity, kCurrencyCapacity + 1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(0.0, toBase(*table, 10.0, index));
        EXPECT_EQ(0.0, fromBase(*table, 10.0, index));
    }
}

TEST(Conversion, EntryPastCountHasNoRate) {
    // Entries past `count` are cleared by every load, so they convert to 0.
    auto table = tableWithRates({1.0});
    EXPECT_EQ(0.0, toBase(*table, 10.0, 50));
    EXPECT_EQ(0.0, fromBase(*table, 10.0, 99));
}

TEST(Conversion, TypedTextsReadLeniently) {
    auto table = tableWithRates({1.0, 1.0});
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"", "0.00"}, {"abc", "0.00"}, {"12abc", "12.00"}, {"1e2", "100.00"},
        {" 3.5", "3.50"}, {"-4", "-4.00"}, {"inf", "0.00"}, {"1e999", "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(c.shown, shown(*table, c.typed, 0, 1));
    }
}

TEST(Conversion, RoundsAsTwoDecimalFormatDoes) {
    auto table = tableWithRates({3.0, 1.0, 2.0});
    EXPECT_EQ("0.33", shown(*table, "1", 0, 1));  // ratio 1/3
    EXPECT_EQ("0.67", shown(*table, "1", 0, 2));  // ratio 2/3
}

TEST(Conversion, TargetRowOfTheTypedCurrencyShowsTheTypedAmount) {
    auto table = tableWithRates({1.0, 1.37, 0.0123, 147.25});
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ("123.45", shown(*table, "123.45", index, index));
    }
}

TEST(Conversion, ThereAndBackReturnsTheAmount) {
    auto table = tableWithRates({1.0, 1.37, 0.0123, 147.25, 3.0});
    for (int from = 0; from < 5; ++from) {
        for (int to = 0; to < 5; ++to) {
            double there = fromBase(*table, toBase(*table, 250.0, from), to);
            double back = fromBase(*table, toBase(*table, there, to), from);
            EXPECT_NEAR(250.0, back, 1e-9) << from << " -> " << to;
        }
    }
}
