// The currency core: rates.txt and quantrel.dat as bytes, and rate edits.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"

using namespace std::string_literals;

namespace {

// A table read from a heap block of exactly the file's size (the sanitizers
// see any read past it) into a table full of junk.
std::unique_ptr<CurrencyTable> read(const std::string& bytes) {
    std::unique_ptr<char[]> block(new char[bytes.size() + 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    std::unique_ptr<CurrencyTable> table(new CurrencyTable);
    std::memset(table.get(), 0x5a, sizeof *table);
    parseRates(block.get(), bytes.size(), *table);
    return table;
}

// "header|name:rate|...".
std::string described(const CurrencyTable& table) {
    std::string out = table.headerLine;
    for (int i = 0; i < table.count; ++i)
        out += "|" + (table.entries[i].name + formatText(":%g", table.entries[i].rate));
    return out;
}

// Euro 0.95, Yen 151 and Euro 0.97 made on "H|Euro:0.9|Yen:150", applied to
// another file: the count applied and the table. An edit lands only while its
// entry still bears the edited name: the table may have been replaced since
// (a download, the other deliverable's save).
std::string edited(const char* file) {
    auto before = read("H\nEuro\t0.9\nYen\t150\n"), table = read(file);
    const RateEdit edits[] = {rateEditOf(*before, 0, 0.95), rateEditOf(*before, 1, 151.0),
                              rateEditOf(*before, 0, 0.97)};
    const int applied = applyRateEdits(*table, edits, 3);
    return std::to_string(applied) + " " + described(*table);
}

// A selection record: a heap block of exactly 100 bytes, for the sanitizers.
using Record = std::vector<uint8_t>;

// Bytes of a record with '.' for each zero byte.
std::string shown(const Record& record, size_t from = 0, size_t count = kSelectionRecordSize) {
    std::string text(record.begin() + from, record.begin() + from + count);
    for (char& c : text) c = c ? c : '.';
    return text;
}

}  // namespace

TEST(Rates, ReadAndEdit) {
    const std::string name150(150, 'N'), header400(400, 'h');
    std::string many = "H\n\t1\nx\n", hundred = "H";  // skipped lines use up no entry
    for (int i = 0; i < 105; ++i) many += formatText("C%d\t%d\n", i, i), hundred += formatText("|C%d:%d", i, i);
    const struct {
        const char* name;
        std::string got, want;
    } cases[] = {
        {"worked", described(*read("H\nUSD\t1.0000\nEuro\t0.9150\n")), "H|USD:1|Euro:0.915"},
        {"last line without line feed not read", described(*read("H\nA\t1\nB\t2")), "H|A:1"},
        {"empty name, no tab: skipped", described(*read("H\n\t0.0000\nno tab\n\nA\t2\n")), "H|A:2"},
        {"the rate stops at its line", described(*read("H\nA\t\n7\t3\nB\t7.5\r\nC\t8\t9\n")), "H|A:0|7:3|B:7.5|C:8"},
        {"CR LF: the header keeps its CR", described(*read("Header\r\nA\t1.5\r\n")), "Header\r|A:1.5"},
        {"zero byte ends the text", described(*read("H\nA\t1\n\0B\t2\n"s)), "H|A:1"},
        {"no line feed: all header", described(*read("just a header")), "just a header"},
        {"empty file", described(*read("")), ""},
        {"name cut to 103", described(*read("H\n" + name150 + "\t2.5\nB\t3\n")),
         "H|" + name150.substr(0, 103) + ":2.5|B:3"},
        {"header cut to 259", described(*read(header400 + "\nA\t1\n")), header400.substr(0, 259) + "|A:1"},
        {"entries past the 100th ignored", described(*read(many)), hundred.substr(0, hundred.find("|C100"))},
        {"same names; the later edit wins", edited("H\nEuro\t0.8\nYen\t140\n"), "3 H|Euro:0.97|Yen:151"},
        {"entry 1 renamed", edited("H\nEuro\t0.8\nPound\t0.7\n"), "2 H|Euro:0.97|Pound:0.7"},
        {"entry 1 gone", edited("H\nEuro\t0.8\n"), "2 H|Euro:0.97"},
        {"names swapped", edited("H\nYen\t140\nEuro\t0.8\n"), "0 H|Yen:140|Euro:0.8"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.want, c.got) << c.name;
}

TEST(Rates, Compose) {
    auto table = read("H\nA\t2\nB\t1.23456\nC\t0.00004\nD\t-3.5\nInf\t0\nNaN\t0\n");
    table->entries[4].rate = INFINITY, table->entries[5].rate = NAN;
    EXPECT_EQ("H\nA\t2.0000\nB\t1.2346\nC\t0.0000\nD\t-3.5000\nInf\t0.0000\nNaN\t0.0000\n\0"s, composeRates(*table));
    table->count = -5;
    EXPECT_EQ("H\n\0"s, composeRates(*table)) << "count below 0";
    // The largest table the writer can give, unterminated fields taken to
    // their size, fills the reader's capacity exactly and reads back whole.
    std::memset(table->headerLine, 'h', kHeaderLineSize);
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::memset(table->entries[i].name, 'A' + i % 26, kCurrencyNameSize);
        table->entries[i].rate = -DBL_MAX;
    }
    table->count = 1000;
    const std::string bytes = composeRates(*table);
    EXPECT_EQ(kRatesFileCapacity, bytes.size());
    EXPECT_EQ(bytes, composeRates(*read(bytes)));
}

// A slot holds -9 to 99 in decimal and zero bytes, or only zero bytes; it
// reads as strtol reads its own three bytes, whatever lies around them.
TEST(Selection, Slots) {
    const struct {
        int32_t value;
        const char* bytes;  // slots 3 to 5
    } written[] = {{7, "aaa7..aaa"},   {99, "aaa99.aaa"},  {-9, "aaa-9.aaa"},
                   {100, "aaa...aaa"}, {-10, "aaa...aaa"}, {INT32_MIN, "aaa...aaa"}};
    for (const auto& c : written) {
        Record record(kSelectionRecordSize, 'a');
        writeSlot(record.data(), 4, c.value);
        EXPECT_EQ(c.bytes, shown(record, 9, 9)) << c.value;
    }
    const struct {
        const char* bytes;
        int32_t value;
    } read[] = {{" 5.", 5}, {"+7.", 7}, {"5x.", 5}, {"x5.", 0}, {"-..", 0}, {"-1.", -1}, {"123", 123}};
    for (const auto& c : read) {
        Record record(kSelectionRecordSize, '9');
        for (int i = 0; i < 3; ++i) record[6 + i] = record[33 + i] = c.bytes[i] == '.' ? 0 : c.bytes[i];
        EXPECT_EQ(c.value, readSlot(record.data(), 2)) << c.bytes;
        EXPECT_EQ(c.value, readSlot(record.data(), 11)) << c.bytes << " in the last slot";
    }
}

// The program writes all twelve slots and zero bytes after them; the plug-in
// writes slots 0 to 4 over the record as it was. A flag slot holding other
// than 0 or 1 leaves its flag as it was. Which slots each form reads and
// keeps is the fuzz target's to prove.
TEST(Selection, Forms) {
    Record record(kSelectionRecordSize, 'A');
    composeSelections({0, {2, 5, 0, 7}, 1, {0, 1, 2, 3}, 1, 0}, SelectionForm::program, record.data());
    EXPECT_EQ("0..2..5..0..7..1..0..1..2..3..1..0.." + std::string(64, '.'), shown(record));
    writeSlot(record.data(), kSlotTodayItem, 7);
    SelectionState state = {};
    parseSelections(record.data(), SelectionForm::program, state);
    EXPECT_EQ(0, state.todayItem);
    composeSelections({11, {3, -1, 99, 4}, 8, {8, 8, 8, 8}, 1, 1}, SelectionForm::plugin, record.data());
    EXPECT_EQ("11.3..-1.99.4..1..0..1..2..3..1..7..", shown(record, 0, 36));
}
