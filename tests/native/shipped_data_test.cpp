// The data files that ship beside the program load with the program's own
// readers.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "currency/core/rates_format.h"

namespace {

std::string readShipped(const char* name) {
    std::ifstream file(std::string(QUANTREL_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(ShippedRates, LoadWholeAndSayWhatTheyAre) {
    std::string bytes = readShipped("rates.txt");
    ASSERT_FALSE(bytes.empty());
    CurrencyTable table = {};
    parseRates(bytes.data(), bytes.size(), table);
    EXPECT_GE(table.count, 30) << "at least thirty widely used currencies";
    EXPECT_NE(std::string::npos, std::string(table.headerLine).find("Sample rates"))
        << "the header says the rates are samples";
    for (int i = 0; i < table.count; ++i) {
        EXPECT_GT(table.entries[i].rate, 0.0) << table.entries[i].name;
        for (int j = 0; j < i; ++j) EXPECT_STRNE(table.entries[i].name, table.entries[j].name) << "names are unique";
    }
    // Saving what was loaded gives the same text (plus the written zero byte).
    EXPECT_EQ(bytes + std::string(1, '\0'), composeRates(table));
}

}  // namespace
