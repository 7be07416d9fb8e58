// rates.txt from anywhere (a download, another program, a damaged disk):
// parseRates must fill the table exactly as the format reads, never past the
// bytes it was given; composeRates must write back what reads the same again.
//
// The input is the file's bytes. Checks:
//  - the table equals a plain line-by-line reading of the same bytes;
//  - fields stay terminated, entries past count are all zero, rates finite;
//  - converting through the rates read gives the amount back, and an index
//    outside the table gives 0;
//  - compose then parse gives the same header, names and count, each rate
//    within the four decimals written, and composing again the same bytes;
//  - a table damaged in memory (count out of range, unterminated fields,
//    rates that are not finite) still composes within kRatesFileCapacity.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "currency/core/conversion.h"
#include "currency/core/rates_format.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct Reading {
    std::string header;
    std::vector<std::string> names;
    std::vector<double> rates;
};

// The format read the simple way: split the text into lines, take the name
// before the first tab and the number after it.
Reading readPlainly(const std::string& bytes) {
    Reading r;
    std::string text = bytes.substr(0, bytes.find('\0'));
    size_t feed = text.find('\n');
    r.header = text.substr(0, feed).substr(0, kHeaderLineSize - 1);
    if (feed == std::string::npos) return r;
    size_t from = feed + 1;
    while (r.names.size() < static_cast<size_t>(kCurrencyCapacity)) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) break;
        std::string line = text.substr(from, end - from);
        from = end + 1;
        size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        r.names.push_back(line.substr(0, std::min(tab, kCurrencyNameSize - 1)));
        std::string rateText = line.substr(tab + 1);
        char* stop = nullptr;
        double rate = std::strtod(rateText.c_str(), &stop);
        // Decimal only: hexadecimal text reads as the 0 before its "x".
        size_t digits = rateText.find_first_not_of(" \t\n\v\f\r+-");
        bool hexadecimal = digits != std::string::npos && rateText.compare(digits, 1, "0") == 0 &&
                           digits + 1 < rateText.size() && (rateText[digits + 1] | 0x20) == 'x';
        r.rates.push_back(stop != rateText.c_str() && std::isfinite(rate) && !hexadecimal ? rate : 0.0);
    }
    return r;
}

std::unique_ptr<CurrencyTable> junkTable() {
    // Filled with non-zero bytes so that every field a reader fails to set
    // or clear shows up.
    std::unique_ptr<CurrencyTable> table(new CurrencyTable);
    std::memset(table.get(), 0x5a, sizeof *table);
    return table;
}

// Parses from a heap block of exactly the text's size.
void parseExact(const std::string& bytes, CurrencyTable& table) {
    std::unique_ptr<char[]> block(new char[bytes.size() + 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    parseRates(block.get(), bytes.size(), table);
}

size_t terminatedLength(const char* field, size_t fieldSize) {
    const void* zero = std::memchr(field, '\0', fieldSize);
    FUZZ_CHECK(zero != nullptr, "a field of %zu bytes holds no terminator", fieldSize);
    return static_cast<size_t>(static_cast<const char*>(zero) - field);
}

void checkComposedBytes(const std::string& bytes, int32_t lines) {
    FUZZ_CHECK(bytes.size() <= kRatesFileCapacity, "composed %zu bytes, capacity %zu",
               bytes.size(), kRatesFileCapacity);
    FUZZ_CHECK(!bytes.empty() && bytes.back() == '\0', "the composed text does not end with a zero byte");
    FUZZ_CHECK(bytes.find('\0') == bytes.size() - 1, "a zero byte inside the composed text at %zu",
               bytes.find('\0'));
    size_t feeds = 0;
    for (char c : bytes) feeds += c == '\n';
    FUZZ_CHECK(feeds == static_cast<size_t>(lines), "%zu line feeds for %d lines", feeds, lines);
}

void checkParsedTable(const CurrencyTable& table, const Reading& expected) {
    FUZZ_CHECK(terminatedLength(table.headerLine, kHeaderLineSize) == expected.header.size() &&
                   expected.header == table.headerLine,
               "header \"%s\", expected \"%s\"", shown(table.headerLine).c_str(),
               shown(expected.header).c_str());
    FUZZ_CHECK(table.count == static_cast<int32_t>(expected.names.size()), "count %d, expected %zu",
               table.count, expected.names.size());
    for (int i = 0; i < table.count; ++i) {
        const CurrencyEntry& e = table.entries[i];
        FUZZ_CHECK(terminatedLength(e.name, kCurrencyNameSize) == expected.names[i].size() &&
                       expected.names[i] == e.name,
                   "entry %d name \"%s\", expected \"%s\"", i, shown(e.name).c_str(),
                   shown(expected.names[i]).c_str());
        FUZZ_CHECK(e.rate == expected.rates[i], "entry %d rate %.17g, expected %.17g", i, e.rate,
                   expected.rates[i]);
    }
    static const char kZeroName[kCurrencyNameSize] = {};
    for (int i = table.count; i < kCurrencyCapacity; ++i) {
        FUZZ_CHECK(std::memcmp(table.entries[i].name, kZeroName, kCurrencyNameSize) == 0 &&
                       table.entries[i].rate == 0.0,
                   "entry %d past count %d is not cleared", i, table.count);
    }
}

// Converting through the rates read: an index outside the table gives 0;
// an amount taken to the base and back is the amount again.
void checkConversion(const CurrencyTable& table) {
    for (int index : {-1, kCurrencyCapacity, INT32_MIN, INT32_MAX}) {
        FUZZ_CHECK(toBase(table, 1.0, index) == 0.0 && fromBase(table, 1.0, index) == 0.0,
                   "index %d converts to a value", index);
    }
    for (int i = 0; i < table.count; ++i) {
        const double rate = table.entries[i].rate;
        const double base = toBase(table, 100.0, i);
        if (rate == 0.0) {
            FUZZ_CHECK(base == 0.0, "entry %d without a rate gives %.17g", i, base);
            continue;
        }
        const double back = fromBase(table, base, i);
        if (!std::isnormal(base) || !std::isfinite(back)) continue;
        FUZZ_CHECK(std::fabs(back - 100.0) <= 100.0 * 4 * DBL_EPSILON,
                   "entry %d at %.17g: 100 to the base and back gives %.17g", i, rate, back);
    }
}

// Compose, parse back, compose again.
void checkRoundTrip(const CurrencyTable& table) {
    std::string bytes = composeRates(table);
    checkComposedBytes(bytes, 1 + table.count);

    auto again = junkTable();
    parseExact(bytes, *again);
    FUZZ_CHECK(std::strcmp(again->headerLine, table.headerLine) == 0, "header changed: \"%s\" to \"%s\"",
               shown(table.headerLine).c_str(), shown(again->headerLine).c_str());
    FUZZ_CHECK(again->count == table.count, "count %d read back as %d", table.count, again->count);
    for (int i = 0; i < table.count; ++i) {
        const double was = table.entries[i].rate;
        const double is = again->entries[i].rate;
        FUZZ_CHECK(std::strcmp(again->entries[i].name, table.entries[i].name) == 0,
                   "entry %d name \"%s\" read back as \"%s\"", i, shown(table.entries[i].name).c_str(),
                   shown(again->entries[i].name).c_str());
        // Four decimals are written: the value read back is within half of
        // the last one, plus the rounding of the double itself.
        FUZZ_CHECK(std::fabs(is - was) <= 0.00005 * (1 + 1e-9) + std::fabs(was) * DBL_EPSILON,
                   "entry %d rate %.17g read back as %.17g", i, was, is);
    }
    std::string second = composeRates(*again);
    FUZZ_CHECK(second == bytes, "composing the read-back table gives other bytes (%zu, %zu)",
               second.size(), bytes.size());
}

// Damage in memory that no reader leaves but composeRates still has to bear:
// what is damaged comes from the last bytes of the input.
void checkDamagedCompose(const CurrencyTable& parsed, const uint8_t* data, size_t size) {
    if (size < 3) return;
    auto table = junkTable();
    std::memcpy(table.get(), &parsed, sizeof parsed);
    const uint8_t how = data[size - 1];
    const int at = data[size - 2] % kCurrencyCapacity;
    if (how & 1) table->count = static_cast<int32_t>(static_cast<int8_t>(data[size - 3])) * 2;
    if (how & 2) std::memset(table->entries[at].name, 'N', kCurrencyNameSize);
    if (how & 4) std::memset(table->headerLine, 'H', kHeaderLineSize);
    if (how & 8) table->entries[at].rate = NAN;
    if (how & 16) table->entries[at].rate = (how & 32) ? -INFINITY : INFINITY;
    if (how & 64) table->entries[at].rate = -DBL_MAX;

    int32_t written = table->count < 0 ? 0 : table->count > kCurrencyCapacity ? kCurrencyCapacity
                                                                               : table->count;
    std::string bytes = composeRates(*table);
    checkComposedBytes(bytes, 1 + written);

    auto back = junkTable();
    parseExact(bytes, *back);
    size_t headerLength = strnlen(table->headerLine, kHeaderLineSize - 1);
    FUZZ_CHECK(std::string(back->headerLine) == std::string(table->headerLine, headerLength),
               "damaged header read back as \"%s\"", shown(back->headerLine).c_str());
    int32_t named = 0;
    for (int i = 0; i < written; ++i) {
        const CurrencyEntry& e = table->entries[i];
        size_t nameLength = strnlen(e.name, kCurrencyNameSize - 1);
        if (nameLength == 0) continue;  // written as a line no reader takes
        const CurrencyEntry& b = back->entries[named];
        FUZZ_CHECK(std::string(b.name) == std::string(e.name, nameLength),
                   "entry %d name read back as \"%s\"", i, shown(b.name).c_str());
        FUZZ_CHECK(std::isfinite(b.rate), "entry %d rate read back as %g", i, b.rate);
        if (!std::isfinite(e.rate)) {
            FUZZ_CHECK(b.rate == 0.0, "entry %d: a rate of %g read back as %g", i, e.rate, b.rate);
        }
        ++named;
    }
    FUZZ_CHECK(back->count == named, "damaged table of %d entries (%d named) read back as %d", written,
               named, back->count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    auto table = junkTable();
    parseRates(reinterpret_cast<const char*>(data), size, *table);
    checkParsedTable(*table, readPlainly(bytes));
    checkConversion(*table);
    checkRoundTrip(*table);
    checkDamagedCompose(*table, data, size);
    return 0;
}
