// rates.txt from anywhere, in a block of exactly its size: fields stay
// terminated, entries past count cleared, rates finite; what is composed fits
// kRatesFileCapacity (from a table of raw bytes too), ends with its only zero
// byte and reads back to the same bytes; an index outside the table gives 0.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "currency/core/conversion.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable), again(new CurrencyTable);
    std::memset(table.get(), 0x5a, sizeof *table);
    parseRates(reinterpret_cast<const char*>(data), size, *table);
    FUZZ_CHECK(table->count >= 0 && table->count <= kCurrencyCapacity && table->headerLine[kHeaderLineSize - 1] == 0);
    static const CurrencyEntry kCleared = {};
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        const CurrencyEntry& e = table->entries[i];
        FUZZ_CHECK(e.name[kCurrencyNameSize - 1] == 0 && std::isfinite(e.rate));
        FUZZ_CHECK(i < table->count ? e.name[0] != 0 : !std::memcmp(&e, &kCleared, sizeof e));
    }
    const std::string bytes = composeRates(*table);
    FUZZ_CHECK(bytes.size() <= kRatesFileCapacity && bytes.find('\0') == bytes.size() - 1);
    std::unique_ptr<char[]> exact(new char[bytes.size()]);
    std::memcpy(exact.get(), bytes.data(), bytes.size());
    parseRates(exact.get(), bytes.size(), *again);
    FUZZ_CHECK(again->count == table->count && composeRates(*again) == bytes);
    FUZZ_CHECK(toBase(*table, 1.0, -1) == 0.0 && fromBase(*table, 1.0, kCurrencyCapacity) == 0.0);

    std::memcpy(table.get(), data, std::min(size, sizeof *table));
    FUZZ_CHECK(composeRates(*table).size() <= kRatesFileCapacity);
    return 0;
}
