// The cost of reading and writing the currency files: rates.txt with a full
// table, and the 100-byte selection record in both forms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"

namespace {

// 100 currencies with names and rates of the usual kind.
std::unique_ptr<CurrencyTable> fullTable() {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable{});
    std::snprintf(table->headerLine, sizeof table->headerLine, "Rates of 2026-12-07 against the US Dollar");
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::snprintf(table->entries[i].name, kCurrencyNameSize, "Currency number %02d", i);
        table->entries[i].rate = 0.3183 + i * 17.0625;
    }
    table->count = kCurrencyCapacity;
    return table;
}

// The longest table the writer can give: every field at its limit.
std::unique_ptr<CurrencyTable> longestTable() {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable{});
    std::memset(table->headerLine, 'H', kHeaderLineSize - 1);
    for (int i = 0; i < kCurrencyCapacity; ++i) {
        std::memset(table->entries[i].name, 'N', kCurrencyNameSize - 1);
        table->entries[i].rate = -1.7976931348623157e308;
    }
    table->count = kCurrencyCapacity;
    return table;
}

void composeBench(benchmark::State& state, const CurrencyTable& table) {
    size_t size = 0;
    for (auto _ : state) {
        std::string bytes = composeRates(table);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(size);
}

void parseBench(benchmark::State& state, const CurrencyTable& from) {
    const std::string bytes = composeRates(from);
    std::unique_ptr<CurrencyTable> table(new CurrencyTable{});
    for (auto _ : state) {
        parseRates(bytes.data(), bytes.size(), *table);
        benchmark::DoNotOptimize(table->count);
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_RatesComposeFull(benchmark::State& state) { composeBench(state, *fullTable()); }
void BM_RatesParseFull(benchmark::State& state) { parseBench(state, *fullTable()); }
void BM_RatesComposeLongest(benchmark::State& state) { composeBench(state, *longestTable()); }
void BM_RatesParseLongest(benchmark::State& state) { parseBench(state, *longestTable()); }
BENCHMARK(BM_RatesParseFull);
BENCHMARK(BM_RatesComposeFull);
BENCHMARK(BM_RatesParseLongest);
BENCHMARK(BM_RatesComposeLongest);

// ---- quantrel.dat -----------------------------------------------------------

SelectionState usualSelection() {
    SelectionState s{};
    s.currencyRow[0] = 0;
    s.currencyRow[1] = 12;
    s.currencyRow[2] = 37;
    s.currencyRow[3] = -1;
    s.metricCategory = 2;
    for (int i = 0; i < 4; ++i) s.metricUnit[i] = i + 3;
    s.autoUpdate = 1;
    s.todayItem = 1;
    return s;
}

void selectionParse(benchmark::State& state, SelectionForm form) {
    uint8_t record[kSelectionRecordSize];
    composeSelections(usualSelection(), SelectionForm::program, record);
    SelectionState s{};
    for (auto _ : state) {
        parseSelections(record, form, s);
        benchmark::DoNotOptimize(s);
    }
}

void selectionCompose(benchmark::State& state, SelectionForm form) {
    uint8_t record[kSelectionRecordSize] = {};
    const SelectionState s = usualSelection();
    for (auto _ : state) {
        composeSelections(s, form, record);
        benchmark::DoNotOptimize(record);
        benchmark::ClobberMemory();
    }
}

void BM_SelectionParseProgram(benchmark::State& state) { selectionParse(state, SelectionForm::program); }
void BM_SelectionParsePlugin(benchmark::State& state) { selectionParse(state, SelectionForm::plugin); }
void BM_SelectionComposeProgram(benchmark::State& state) { selectionCompose(state, SelectionForm::program); }
void BM_SelectionComposePlugin(benchmark::State& state) { selectionCompose(state, SelectionForm::plugin); }
BENCHMARK(BM_SelectionParseProgram);
BENCHMARK(BM_SelectionParsePlugin);
BENCHMARK(BM_SelectionComposeProgram);
BENCHMARK(BM_SelectionComposePlugin);

}  // namespace
