// The currency core: rates.txt and quantrel.dat as bytes, rate edits and
// conversion through the base currency.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "currency/core/conversion.h"
#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"

using namespace std::string_literals;

namespace {

using Entries = std::vector<std::pair<std::string, double>>;

std::unique_ptr<CurrencyTable> makeTable(const std::string& header, const Entries& entries) {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable{});
    std::strncpy(table->headerLine, header.c_str(), kHeaderLineSize - 1);
    for (const auto& e : entries) {
        std::strncpy(table->entries[table->count].name, e.first.c_str(), kCurrencyNameSize - 1);
        table->entries[table->count++].rate = e.second;
    }
    return table;
}

// Parses from a heap block of exactly the file's size (the sanitizers see any
// read past it) into a table full of junk, and describes what was read as
// "header|name:rate|..."; "+stale" when an entry past count was not cleared.
std::string parsed(const std::string& bytes) {
    std::unique_ptr<char[]> block(new char[bytes.size() + 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    std::unique_ptr<CurrencyTable> table(new CurrencyTable);
    std::memset(table.get(), 0x5a, sizeof *table);
    parseRates(block.get(), bytes.size(), *table);
    std::string out = table->headerLine;
    for (int i = 0; i < table->count; ++i)
        out += "|" + (table->entries[i].name + formatText(":%g", table->entries[i].rate));
    for (int i = table->count; i < kCurrencyCapacity; ++i)
        if (std::string(table->entries[i].name, kCurrencyNameSize) != std::string(kCurrencyNameSize, '\0') ||
            table->entries[i].rate != 0)
            return out + "+stale";
    return out;
}

std::string lines(const char* format, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += formatText(format, i, i);
    return out;
}

}  // namespace

TEST(Rates, Parse) {
    const std::string name150(150, 'N'), header400(400, 'h');
    const struct {
        const char* name;
        std::string bytes, read;
    } cases[] = {
        {"worked", "H\nUSD\t1.0000\nEuro\t0.9150\n", "H|USD:1|Euro:0.915"},
        {"last line without line feed not read", "H\nA\t1\nB\t2", "H|A:1"},
        {"empty name, no tab: skipped", "H\n\t0.0000\nno tab\n\nA\t2\n", "H|A:2"},
        {"the rate stops at its line", "H\nA\t\n7\t3\nB\t7.5\r\nC\t8\t9\n", "H|A:0|7:3|B:7.5|C:8"},
        {"CR LF: the header keeps its CR", "Header\r\nA\t1.5\r\n", "Header\r|A:1.5"},
        {"zero byte ends the text", "H\nA\t1\n\0B\t2\n"s, "H|A:1"},
        {"no line feed: all header", "just a header", "just a header"},
        {"empty file", "", ""},
        {"name cut to 103", "H\n" + name150 + "\t2.5\nB\t3\n", "H|" + name150.substr(0, 103) + ":2.5|B:3"},
        {"header cut to 259", header400 + "\nA\t1\n", header400.substr(0, 259) + "|A:1"},
        {"entries past the 100th ignored", "H\n\t1\nx\n" + lines("C%d\t%d\n", 105), "H" + lines("|C%d:%d", 100)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.read, parsed(c.bytes)) << c.name;
}

TEST(Rates, Compose) {
    auto table =
        makeTable("H", {{"A", 2.0}, {"B", 1.23456}, {"C", 0.00004}, {"D", -3.5}, {"Inf", INFINITY}, {"NaN", NAN}});
    EXPECT_EQ("H\nA\t2.0000\nB\t1.2346\nC\t0.0000\nD\t-3.5000\nInf\t0.0000\nNaN\t0.0000\n\0"s, composeRates(*table));
    table->count = -5;
    EXPECT_EQ("H\n\0"s, composeRates(*table)) << "count below 0";
    // Unterminated fields are taken to their size.
    table->count = 1;
    std::memset(table->headerLine, 'h', kHeaderLineSize);
    std::memset(table->entries[0].name, 'n', kCurrencyNameSize);
    EXPECT_EQ(std::string(259, 'h') + "\n" + std::string(103, 'n') + "\t2.0000\n" + '\0', composeRates(*table));
    // The largest table the writer can give fills the reader's capacity
    // exactly and reads back whole.
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::memset(table->entries[i].name, 'A' + i % 26, kCurrencyNameSize);
        table->entries[i].rate = -DBL_MAX;
    }
    table->count = 1000;
    std::string bytes = composeRates(*table);
    EXPECT_EQ(kRatesFileCapacity, bytes.size());
    std::unique_ptr<CurrencyTable> again(new CurrencyTable{});
    parseRates(bytes.data(), bytes.size(), *again);
    EXPECT_EQ(kCurrencyCapacity, again->count);
    EXPECT_EQ(bytes, composeRates(*again));
}

// An edit lands only while its entry still bears the edited name: the table
// may have been replaced since (a download, the other deliverable's save).
TEST(Rates, EditsFollowTheName) {
    auto edited = makeTable("H", {{"Euro", 0.9}, {"Yen", 150.0}});
    const RateEdit edits[] = {rateEditOf(*edited, 0, 0.95), rateEditOf(*edited, 1, 151.0),
                              rateEditOf(*edited, 0, 0.97)};
    const struct {
        const char* name;
        Entries file;
        int applied;
        std::string rates;
    } cases[] = {
        {"same names; the later edit wins", {{"Euro", 0.8}, {"Yen", 140.0}}, 3, "H|Euro:0.97|Yen:151"},
        {"entry 1 renamed", {{"Euro", 0.8}, {"Pound", 0.7}}, 2, "H|Euro:0.97|Pound:0.7"},
        {"entry 1 gone", {{"Euro", 0.8}}, 2, "H|Euro:0.97"},
        {"names swapped", {{"Yen", 140.0}, {"Euro", 0.8}}, 0, "H|Yen:140|Euro:0.8"},
    };
    for (const auto& c : cases) {
        auto table = makeTable("H", c.file);
        EXPECT_EQ(c.applied, applyRateEdits(*table, edits, 3)) << c.name;
        std::string bytes = composeRates(*table);
        EXPECT_EQ(c.rates, parsed(bytes)) << c.name;
    }
}

// 10 typed into row 2 of rows choosing rates 1, 2, 0.5, 100 and 0; an index
// outside the table converts to 0.
TEST(Conversion, WorkedRow) {
    auto table = makeTable("H", {{"A", 1.0}, {"B", 2.0}, {"C", 0.5}, {"D", 100.0}, {"E", 0.0}});
    const struct {
        int from, to;
        const char* shown;
    } cases[] = {{1, 0, "5.00"}, {1, 2, "2.50"}, {1, 3, "500.00"}, {3, 3, "10.00"},
                 {1, 4, "0.00"}, {4, 1, "0.00"}, {-1, 1, "0.00"},  {1, kCurrencyCapacity, "0.00"},
                 {1, 50, "0.00"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, formatText("%.2f", fromBase(*table, toBase(*table, 10.0, c.from), c.to)))
            << c.from << " to " << c.to;
}

namespace {

struct Record {
    std::unique_ptr<uint8_t[]> bytes;  // exactly 100 bytes, for the sanitizers
    explicit Record(uint8_t fill) : bytes(new uint8_t[kSelectionRecordSize]) {
        std::memset(bytes.get(), fill, kSelectionRecordSize);
    }
    uint8_t* get() { return bytes.get(); }
    std::string slot(int n) const { return std::string(reinterpret_cast<const char*>(bytes.get()) + 3 * n, 3); }
    std::string all() const { return std::string(reinterpret_cast<const char*>(bytes.get()), kSelectionRecordSize); }
};

std::vector<int32_t> fields(const SelectionState& s) {
    return {s.reserved,      s.currencyRow[0], s.currencyRow[1], s.currencyRow[2], s.currencyRow[3], s.metricCategory,
            s.metricUnit[0], s.metricUnit[1],  s.metricUnit[2],  s.metricUnit[3],  s.autoUpdate,     s.todayItem};
}

// Reserved 0, rows 2 5 0 7, category 1, units 0 1 2 3, Auto Update on, Today
// item off.
const SelectionState kWorked = {0, {2, 5, 0, 7}, 1, {0, 1, 2, 3}, 1, 0};

}  // namespace

TEST(Selection, SlotBytes) {
    const struct {
        int32_t value;
        std::string bytes;
    } written[] = {{7, "7\0\0"s},    {99, "99\0"s},    {-9, "-9\0"s},
                   {100, "\0\0\0"s}, {-10, "\0\0\0"s}, {INT32_MIN, "\0\0\0"s}};
    for (const auto& c : written) {
        Record record(0xAA);
        writeSlot(record.get(), 4, c.value);
        EXPECT_EQ(c.bytes, record.slot(4)) << c.value;
        EXPECT_EQ(record.slot(3) + record.slot(5), std::string(6, '\xAA')) << c.value << ": neighbours";
    }
    // Read as strtol reads the slot's own three bytes, digits all around.
    const struct {
        std::string bytes;
        int32_t value;
    } read[] = {{" 5\0"s, 5}, {"+7\0"s, 7}, {"5x\0"s, 5}, {"x5\0"s, 0}, {"-\0\0"s, 0}, {"-1\0"s, -1}, {"123", 123}};
    for (const auto& c : read) {
        Record record('9');
        std::memcpy(record.get() + 3 * 11, c.bytes.data(), 3);
        std::memcpy(record.get() + 3 * 2, c.bytes.data(), 3);
        EXPECT_EQ(c.value, readSlot(record.get(), 2)) << c.bytes;
        EXPECT_EQ(c.value, readSlot(record.get(), 11)) << c.bytes << " in the last slot";
    }
}

TEST(Selection, ProgramForm) {
    // Twelve slots 0 2 5 0 7 1 0 1 2 3 1 0, each followed by two zero bytes,
    // then 64 zero bytes.
    Record record('z');
    composeSelections(kWorked, SelectionForm::program, record.get());
    std::string expected(kSelectionRecordSize, '\0');
    for (int slot = 0; slot < 12; ++slot) expected[3 * slot] = "025071012310"[slot];
    EXPECT_EQ(expected, record.all());
    SelectionState state = {9, {9, 9, 9, 9}, 9, {9, 9, 9, 9}, 0, 1};
    parseSelections(record.get(), SelectionForm::program, state);
    EXPECT_EQ(fields(kWorked), fields(state));
    // Flags are written as 1 only for exactly 1; a flag slot read as other
    // than 0 or 1 leaves its flag as it was.
    composeSelections({0, {}, 0, {}, 7, -1}, SelectionForm::program, record.get());
    EXPECT_EQ("0\0\0"s + "0\0\0"s, record.slot(kSlotAutoUpdate) + record.slot(kSlotTodayItem));
    writeSlot(record.get(), kSlotAutoUpdate, 7);
    writeSlot(record.get(), kSlotTodayItem, 7);
    for (int32_t before : {0, 1}) {
        state.autoUpdate = state.todayItem = before;
        parseSelections(record.get(), SelectionForm::program, state);
        EXPECT_EQ(before, state.autoUpdate);
        EXPECT_EQ(before, state.todayItem);
    }
}

// The plug-in writes slots 0 to 4 and keeps every other byte of the file.
TEST(Selection, PluginForm) {
    Record record(0);
    composeSelections(kWorked, SelectionForm::program, record.get());
    for (size_t i = 36; i < kSelectionRecordSize; ++i) record.get()[i] = static_cast<uint8_t>(i * 7);
    std::memcpy(record.get() + 3 * kSlotMetricUnit, "9x9", 3);
    const std::string before = record.all();
    composeSelections({11, {3, -1, 99, 4}, 8, {8, 8, 8, 8}, 0, 0}, SelectionForm::plugin, record.get());
    EXPECT_EQ(
        "11\0"
        "3\0\0"
        "-1\0"
        "99\0"
        "4\0\0"s +
            before.substr(15),
        record.all());
    SelectionState state = {};
    state.metricCategory = -5;
    parseSelections(record.get(), SelectionForm::plugin, state);
    EXPECT_EQ((std::vector<int32_t>{11, 3, -1, 99, 4, -5, 0, 0, 0, 0, 0, 0}), fields(state));
}
