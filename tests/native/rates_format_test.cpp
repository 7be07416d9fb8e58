// rates.txt as bytes: parseRates and composeRates.
#include "currency/core/rates_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// Parses `bytes` from a heap block of exactly their size, so that the
// sanitizers catch any read past what the file held.
void parseExact(const std::string& bytes, CurrencyTable& table) {
    std::unique_ptr<char[]> block(new char[bytes.size() ? bytes.size() : 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    parseRates(block.get(), bytes.size(), table);
}

std::unique_ptr<CurrencyTable> newTable() { return std::unique_ptr<CurrencyTable>(new CurrencyTable{}); }

void setEntry(CurrencyTable& table, int index, const char* name, double rate) {
    std::memset(table.entries[index].name, 0, kCurrencyNameSize);
    std::strncpy(table.entries[index].name, name, kCurrencyNameSize - 1);
    table.entries[index].rate = rate;
}

void expectEntry(const CurrencyTable& table, int index, const std::string& name, double rate) {
    SCOPED_TRACE("entry " + std::to_string(index));
    EXPECT_EQ(name, table.entries[index].name);
    EXPECT_EQ(rate, table.entries[index].rate);
}

void expectCleared(const CurrencyTable& table, int from) {
    for (int i = from; i < kCurrencyCapacity; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const char* name = table.entries[i].name;
        EXPECT_EQ(std::string(kCurrencyNameSize, '\0'), std::string(name, kCurrencyNameSize));
        EXPECT_EQ(0.0, table.entries[i].rate);
    }
}

}  // namespace

// ---- reading ---------------------------------------------------------------

TEST(ParseRates, HeaderOnlyGivesNoEntriesAndKeepsTheHeader) {
    auto table = newTable();
    parseExact("Rates of 2024-01-02\n", *table);
    EXPECT_EQ(0, table->count);
    EXPECT_STREQ("Rates of 2024-01-02", table->headerLine);
}

TEST(ParseRates, ReadsNameTabRateLines) {
    auto table = newTable();
    parseExact("H\nUSD\t1.0000\nEuro\t0.9150\nYen\t110.0000\n", *table);
    EXPECT_STREQ("H", table->headerLine);
    ASSERT_EQ(3, table->count);
    expectEntry(*table, 0, "USD", 1.0);
    expectEntry(*table, 1, "Euro", 0.915);
    expectEntry(*table, 2, "Yen", 110.0);
    expectCleared(*table, 3);
}

TEST(ParseRates, LastLineWithoutLineFeedIsNotRead) {
    auto table = newTable();
    parseExact("H\nA\t1\nB\t2", *table);
    ASSERT_EQ(1, table->count);
    expectEntry(*table, 0, "A", 1.0);
    expectCleared(*table, 1);
}

TEST(ParseRates, EmptyNameIsSkippedWithoutCounting) {
    // H, LF, A, tab, 2, LF, tab, 0.0000, LF: one entry A at 2.0, header H.
    auto table = newTable();
    parseExact("H\nA\t2\n\t0.0000\n", *table);
    EXPECT_STREQ("H", table->headerLine);
    ASSERT_EQ(1, table->count);
    expectEntry(*table, 0, "A", 2.0);
    expectCleared(*table, 1);
}

TEST(ParseRates, LinesWithoutTabAreSkipped) {
    auto table = newTable();
    parseExact("H\n\nno tab here\nA\t3\n", *table);
    ASSERT_EQ(1, table->count);
    expectEntry(*table, 0, "A", 3.0);
}

TEST(ParseRates, RateTextsReadAsStrtodReadsThem) {
    struct Case {
        const char* comment;
        const char* rateText;
        double expected;
    };
    const Case cases[] = {
        {"not a number", "abc", 0.0},
        {"trailing junk stops the reading", "1.5x", 1.5},
        {"leading blank skipped", " 2", 2.0},
        {"leading tab skipped", "\t4.25", 4.25},
        {"sign and exponent", "-1e2", -100.0},
        {"empty text", "", 0.0},
        {"carriage return ends the number", "7.5\r", 7.5},
        {"a second tab ends the number", "8\t9", 8.0},
        {"non-finite: inf gives 0", "inf", 0.0},
        {"non-finite: nan gives 0", "nan", 0.0},
        {"non-finite: overflow gives 0", "1e999", 0.0},
        {"decimal only: hexadecimal reads its leading 0", "0x1A", 0.0},
        {"decimal only: hexadecimal float", "0x1p4", 0.0},
        {"an exponent without digits is not read", "3e+", 3.0},
        {"a lone point is no number", ".", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        auto table = newTable();
        parseExact("H\nA\t"s + c.rateText + "\n", *table);
        ASSERT_EQ(1, table->count);
        EXPECT_EQ(c.expected, table->entries[0].rate);
    }
}

TEST(ParseRates, EmptyRateTextDoesNotReadTheNextLine) {
    // strtod skips a line feed as white space; the rate must stop at the line.
    auto table = newTable();
    parseExact("H\nA\t\n7\t3\n", *table);
    ASSERT_EQ(2, table->count);
    expectEntry(*table, 0, "A", 0.0);
    expectEntry(*table, 1, "7", 3.0);
}

TEST(ParseRates, CrLfFileKeepsTheHeadersCarriageReturn) {
    auto table = newTable();
    parseExact("Header\r\nA\t1.5\r\nB\t2\r\n", *table);
    EXPECT_STREQ("Header\r", table->headerLine);
    ASSERT_EQ(2, table->count);
    expectEntry(*table, 0, "A", 1.5);
    expectEntry(*table, 1, "B", 2.0);
    // Rewritten: CR LF after the header line, LF after every entry line.
    EXPECT_EQ("Header\r\nA\t1.5000\nB\t2.0000\n\0"s, composeRates(*table));
}

TEST(ParseRates, TextEndsAtTheFirstZeroByte) {
    auto table = newTable();
    parseExact("H\nA\t1\n\0B\t2\n"s, *table);
    ASSERT_EQ(1, table->count);
    expectEntry(*table, 0, "A", 1.0);
}

TEST(ParseRates, NothingPastTheGivenSizeIsRead) {
    // A file cut by the read buffer: the line it cuts has no line feed.
    std::string bytes = "H\nA\t1\nB\t2\n";
    auto table = newTable();
    parseRates(bytes.data(), 8, *table);  // "H\nA\t1\nB\t"
    ASSERT_EQ(1, table->count);
    expectEntry(*table, 0, "A", 1.0);
}

TEST(ParseRates, TextWithoutLineFeedIsAllHeader) {
    auto table = newTable();
    parseExact("just a header", *table);
    EXPECT_STREQ("just a header", table->headerLine);
    EXPECT_EQ(0, table->count);
}

TEST(ParseRates, EmptyTextGivesEmptyHeaderAndNoEntries) {
    auto table = newTable();
    setEntry(*table, 0, "Old", 5.0);
    table->count = 1;
    std::strcpy(table->headerLine, "old header");
    parseRates(nullptr, 0, *table);
    EXPECT_STREQ("", table->headerLine);
    EXPECT_EQ(0, table->count);
    expectCleared(*table, 0);
}

TEST(ParseRates, OverlongNameIsCutTo103Characters) {
    std::string longName(150, 'N');
    auto table = newTable();
    parseExact("H\n" + longName + "\t2.5\nB\t3\n", *table);
    ASSERT_EQ(2, table->count);
    expectEntry(*table, 0, std::string(103, 'N'), 2.5);
    EXPECT_EQ('\0', table->entries[0].name[103]);
    expectEntry(*table, 1, "B", 3.0);
}

TEST(ParseRates, NameOfExactly103CharactersIsKeptWhole) {
    std::string name(103, 'x');
    auto table = newTable();
    parseExact("H\n" + name + "\t1\n", *table);
    expectEntry(*table, 0, name, 1.0);
}

TEST(ParseRates, OverlongHeaderIsCutTo259Characters) {
    std::string header(400, 'h');
    auto table = newTable();
    parseExact(header + "\nA\t1\n", *table);
    EXPECT_EQ(std::string(259, 'h'), table->headerLine);
    ASSERT_EQ(1, table->count);
    expectEntry(*table, 0, "A", 1.0);
}

TEST(ParseRates, EntryLinesPastTheHundredthAreIgnored) {
    std::string bytes = "H\n";
    for (int i = 0; i < 105; ++i) bytes += "C" + std::to_string(i) + "\t" + std::to_string(i) + "\n";
    auto table = newTable();
    parseExact(bytes, *table);
    ASSERT_EQ(100, table->count);
    expectEntry(*table, 0, "C0", 0.0);
    expectEntry(*table, 99, "C99", 99.0);
}

TEST(ParseRates, SkippedLinesDoNotUseUpTheHundredEntries) {
    std::string bytes = "H\n\t1\nno tab\n";
    for (int i = 0; i < 100; ++i) bytes += "C" + std::to_string(i) + "\t1\n";
    auto table = newTable();
    parseExact(bytes, *table);
    ASSERT_EQ(100, table->count);
    expectEntry(*table, 99, "C99", 1.0);
}

TEST(ParseRates, ShorterLoadClearsTheEntriesPastTheNewCount) {
    auto table = newTable();
    parseExact("H5\nA\t1\nB\t2\nC\t3\nD\t4\nE\t5\n", *table);
    ASSERT_EQ(5, table->count);
    parseExact("H3\nX\t10\nY\t20\nZ\t30\n", *table);
    ASSERT_EQ(3, table->count);
    expectEntry(*table, 0, "X", 10.0);
    expectEntry(*table, 2, "Z", 30.0);
    expectCleared(*table, 3);  // D and E are gone: no combo box lists them
    EXPECT_EQ("H3\nX\t10.0000\nY\t20.0000\nZ\t30.0000\n\0"s, composeRates(*table));
}

TEST(ParseRates, LongerNameDoesNotLeaveTheOldNamesTail) {
    auto table = newTable();
    parseExact("H\nLongOldName\t1\n", *table);
    parseExact("H\nAb\t1\n", *table);
    EXPECT_EQ(std::string("Ab") + std::string(kCurrencyNameSize - 2, '\0'),
              std::string(table->entries[0].name, kCurrencyNameSize));
}

// ---- writing ---------------------------------------------------------------

TEST(ComposeRates, TheElevenByteFileAndItsZeroByte) {
    auto table = newTable();
    std::strcpy(table->headerLine, "H");
    setEntry(*table, 0, "A", 2.0);
    table->count = 1;
    std::string bytes = composeRates(*table);
    EXPECT_EQ("H\nA\t2.0000\n\0"s, bytes);
    EXPECT_EQ(12u, bytes.size());  // eleven bytes of text and one zero byte
}

TEST(ComposeRates, EmptyTableIsOneLineFeedAndTheZeroByte) {
    auto table = newTable();
    EXPECT_EQ("\n\0"s, composeRates(*table));
}

TEST(ComposeRates, RatesAreWrittenWithFourDecimals) {
    struct Case {
        double rate;
        const char* text;
    };
    const Case cases[] = {
        {1.2345, "1.2345"}, {110.0, "110.0000"}, {1.23456, "1.2346"}, {0.00004, "0.0000"},
        {-3.5, "-3.5000"},  {0.0, "0.0000"},     {1e15, "1000000000000000.0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto table = newTable();
        setEntry(*table, 0, "A", c.rate);
        table->count = 1;
        EXPECT_EQ("\nA\t"s + c.text + "\n" + '\0', composeRates(*table));
    }
}

TEST(ComposeRates, NonFiniteRateIsWrittenAsZero) {
    auto table = newTable();
    setEntry(*table, 0, "Inf", std::numeric_limits<double>::infinity());
    setEntry(*table, 1, "NaN", std::numeric_limits<double>::quiet_NaN());
    table->count = 2;
    EXPECT_EQ("\nInf\t0.0000\nNaN\t0.0000\n\0"s, composeRates(*table));
}

TEST(ComposeRates, OnlyEntriesBelowCountAreWritten) {
    auto table = newTable();
    setEntry(*table, 0, "A", 1.0);
    setEntry(*table, 1, "B", 2.0);
    table->count = 1;
    EXPECT_EQ("\nA\t1.0000\n\0"s, composeRates(*table));
}

TEST(ComposeRates, CountOutsideTheTableIsTakenWithinIt) {
    auto table = newTable();
    table->count = -5;
    EXPECT_EQ("\n\0"s, composeRates(*table));
    table->count = 1000;
    std::string bytes = composeRates(*table);
    size_t lines = 0;
    for (char c : bytes) lines += c == '\n';
    EXPECT_EQ(101u, lines);  // header and 100 entry lines
}

TEST(ComposeRates, FieldsWithoutTerminatorAreTakenToTheirSize) {
    auto table = newTable();
    std::memset(table->headerLine, 'h', sizeof table->headerLine);
    std::memset(table->entries[0].name, 'n', sizeof table->entries[0].name);
    table->entries[0].rate = 1.0;
    table->count = 1;
    EXPECT_EQ(std::string(259, 'h') + "\n" + std::string(103, 'n') + "\t1.0000\n" + '\0',
              composeRates(*table));
}

TEST(ComposeRates, FullTableOfLongestFieldsIsSavedWholeAndReadBackWhole) {
    auto table = newTable();
    std::memset(table->headerLine, 'h', kHeaderLineSize - 1);
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::string name(103, static_cast<char>('A' + i % 26));
        setEntry(*table, i, name.c_str(), -DBL_MAX);
    }
    table->count = kCurrencyCapacity;
    std::string bytes = composeRates(*table);
    EXPECT_EQ(kRatesFileCapacity, bytes.size());  // the capacity is exactly the worst case

    auto again = newTable();
    parseExact(bytes, *again);
    ASSERT_EQ(kCurrencyCapacity, again->count);
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        expectEntry(*again, i, table->entries[i].name, -DBL_MAX);
    }
    EXPECT_EQ(bytes, composeRates(*again));
}

// ---- round trips -----------------------------------------------------------

TEST(RoundTrip, WrittenFilesReadBackByteForByte) {
    const std::string files[] = {
        "\n\0"s,
        "H\nA\t2.0000\n\0"s,
        "Sample rates, base USD\r\nUSD\t1.0000\nEUR\t0.9150\nJPY\t147.2500\n\0"s,
        "H\nName with spaces\t-0.0001\nX\t123456789.1234\n\0"s,
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        auto table = newTable();
        parseExact(file, *table);
        EXPECT_EQ(file, composeRates(*table));
    }
}

TEST(RoundTrip, TableSurvivesComposeAndParse) {
    auto table = newTable();
    std::strcpy(table->headerLine, "Header\r");
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::string name = "Currency number " + std::to_string(i) + std::string(80, '.');
        setEntry(*table, i, name.c_str(), 1234.5678 + i);
    }
    table->count = kCurrencyCapacity;
    auto again = newTable();
    parseExact(composeRates(*table), *again);
    EXPECT_STREQ(table->headerLine, again->headerLine);
    ASSERT_EQ(table->count, again->count);
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        EXPECT_STREQ(table->entries[i].name, again->entries[i].name);
        EXPECT_DOUBLE_EQ(table->entries[i].rate, again->entries[i].rate);
    }
}

// An edit lands on its entry only while the entry bears the edited name:
// a table replaced since (a download, the other deliverable's save) keeps
// its own rate where the name changed or the entry is gone.
TEST(ApplyRateEdits, OnlyEntriesStillBearingTheEditedName) {
    auto edited = newTable();
    setEntry(*edited, 0, "Euro", 0.9);
    setEntry(*edited, 1, "Yen", 150.0);
    edited->count = 2;
    const RateEdit edits[] = {rateEditOf(*edited, 0, 0.95), rateEditOf(*edited, 1, 151.0),
                              rateEditOf(*edited, 0, 0.97)};
    const struct {
        const char* name;
        std::vector<std::pair<const char*, double>> file;
        int applied;
        std::vector<double> rates;  // afterwards, entry by entry
    } cases[] = {
        {"same names", {{"Euro", 0.8}, {"Yen", 140.0}}, 3, {0.97, 151.0}},
        {"entry 1 renamed", {{"Euro", 0.8}, {"Pound", 0.7}}, 2, {0.97, 0.7}},
        {"entry 1 gone", {{"Euro", 0.8}}, 2, {0.97}},
        {"names swapped", {{"Yen", 140.0}, {"Euro", 0.8}}, 0, {140.0, 0.8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = newTable();
        for (size_t i = 0; i < c.file.size(); ++i)
            setEntry(*table, static_cast<int>(i), c.file[i].first, c.file[i].second);
        table->count = static_cast<int>(c.file.size());
        EXPECT_EQ(c.applied, applyRateEdits(*table, edits, 3));
        for (size_t i = 0; i < c.rates.size(); ++i)
            expectEntry(*table, static_cast<int>(i), c.file[i].first, c.rates[i]);
    }
}
