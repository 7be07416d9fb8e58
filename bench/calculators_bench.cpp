// The cost of each calculator's computation on one key release: what a
// screen calls between reading its field texts and writing the results.
#include <benchmark/benchmark.h>

#include <string>

#include "calculators/areacodes/areacodes.h"
#include "calculators/computer/computer.h"
#include "calculators/date/date_calc.h"
#include "calculators/latlon/latlon.h"
#include "calculators/loan/loan.h"
#include "calculators/metric/metric.h"
#include "calculators/tip/tip.h"

namespace {

// ---- Loan Payments ----------------------------------------------------------

void BM_LoanPaymentFromMonths(benchmark::State& state) {
    const LoanTexts texts{"250000", "6.5", "", "360"};
    for (auto _ : state) benchmark::DoNotOptimize(recomputeLoan(texts, IDC_LOAN_MONTHS));
}
BENCHMARK(BM_LoanPaymentFromMonths);

void BM_LoanMonthsFromPayment(benchmark::State& state) {
    const LoanTexts texts{"250000", "6.5", "1580.17", ""};
    for (auto _ : state) benchmark::DoNotOptimize(recomputeLoan(texts, IDC_LOAN_PAYMENT));
}
BENCHMARK(BM_LoanMonthsFromPayment);

// ---- Tip Calculator ---------------------------------------------------------

void BM_TipSplit(benchmark::State& state) {
    const TipTexts texts{"84.60", "18", "3", ""};
    for (auto _ : state) benchmark::DoNotOptimize(recomputeTip(texts, IDC_TIP_PERCENT));
}
BENCHMARK(BM_TipSplit);

// ---- Metric Conversion ------------------------------------------------------

void BM_MetricLength(benchmark::State& state) {
    const int units[kMetricRowCount] = {0, 3, 6, 7};  // inches, miles, metres, kilometres
    const std::string typed = "1234.5";
    for (auto _ : state) benchmark::DoNotOptimize(recomputeMetric(kMetricLength, units, IDC_METRIC_VALUE_1, typed));
}
BENCHMARK(BM_MetricLength);

void BM_MetricTemperature(benchmark::State& state) {
    const int units[kMetricRowCount] = {0, 1, 2, 3};  // Celsius, Farenheit, Kelvin, Reaumur
    const std::string typed = "-40";
    for (auto _ : state)
        benchmark::DoNotOptimize(recomputeMetric(kMetricTemperature, units, IDC_METRIC_VALUE_2, typed));
}
BENCHMARK(BM_MetricTemperature);

// ---- Lat/Lon Calculator -----------------------------------------------------

const std::string kSecondsText = std::string("123") + kDegreeSign + "45'12.34\"";

void BM_LatLonParse(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(parseCoordinate(kSecondsText));
}
BENCHMARK(BM_LatLonParse);

void BM_LatLonFormatAll(benchmark::State& state) {
    double degrees = 123.75342777777778;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatCoordinate(degrees, kDecimalDegrees));
        benchmark::DoNotOptimize(formatCoordinate(degrees, kDegreesMinutes));
        benchmark::DoNotOptimize(formatCoordinate(degrees, kDegreesMinutesSeconds));
    }
}
BENCHMARK(BM_LatLonFormatAll);

void BM_LatLonRecompute(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(recomputeLatLon(IDC_LATITUDE_SECONDS, kSecondsText));
}
BENCHMARK(BM_LatLonRecompute);

// ---- Computer ---------------------------------------------------------------

void BM_BasesFromDecimal(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(convertBases(IDC_COMPUTER_DECIMAL, "-123456789"));
}
BENCHMARK(BM_BasesFromDecimal);

void BM_BasesFromBinary(benchmark::State& state) {
    const char* typed = "11110000111100001111000011110000";
    for (auto _ : state) benchmark::DoNotOptimize(convertBases(IDC_COMPUTER_BINARY, typed));
}
BENCHMARK(BM_BasesFromBinary);

// ---- Area Codes -------------------------------------------------------------

// A full area.txt: lines in the shipped layout ("NNN SS City", CR LF) up to
// the kAreaFileLimit bytes the screen reads.
const std::string& fullAreaFile() {
    static const std::string file = [] {
        static const char* const kPlaces[] = {
            "NJ Bayonne",      "DC Washington",     "CT Bridgeport", "MB Winnipeg, Brandon",
            "AL Birmingham",   "WA Seattle",        "ME Portland",   "ID Boise",
            "CA Los Angeles",  "NY New York City",  "TX Dallas",     "IL Springfield",
            "MO Kansas City",  "NC Charlotte",      "OR Beaverton",  "MI Grand Rapids, Alma",
        };
        std::string text;
        for (int n = 0;; ++n) {
            std::string line = std::to_string(200 + n % 800) + " " + kPlaces[n % 16] + "\r\n";
            if (text.size() + line.size() > kAreaFileLimit) break;
            text += line;
        }
        return text;
    }();
    return file;
}

void areaSearch(benchmark::State& state, int mode, const char* typed) {
    const std::string& file = fullAreaFile();
    size_t lines = 0;
    for (auto _ : state) {
        auto found = searchAreaCodes(mode, typed, file.data(), file.size());
        lines = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void BM_AreaSearchCode(benchmark::State& state) { areaSearch(state, kAreaCodeMode, "212"); }
void BM_AreaSearchState(benchmark::State& state) { areaSearch(state, kAreaStateMode, "ny"); }
void BM_AreaSearchCity(benchmark::State& state) { areaSearch(state, kAreaCityMode, "spring"); }
void BM_AreaSearchEveryLine(benchmark::State& state) { areaSearch(state, kAreaCityMode, ""); }
BENCHMARK(BM_AreaSearchCode);
BENCHMARK(BM_AreaSearchState);
BENCHMARK(BM_AreaSearchCity);
BENCHMARK(BM_AreaSearchEveryLine);

// ---- Date Calculator --------------------------------------------------------

DateTime dateOf(int year, int month, int day) {
    DateTime d{};
    d.year = static_cast<uint16_t>(year);
    d.month = static_cast<uint16_t>(month);
    d.day = static_cast<uint16_t>(day);
    d.hour = 10;
    return d;
}

void BM_DatePickerChanged(benchmark::State& state) {
    const DateTime start = dateOf(2026, 12, 7);
    const DateTime end = dateOf(2031, 7, 19);
    for (auto _ : state) benchmark::DoNotOptimize(datePickerChanged(start, end));
}
BENCHMARK(BM_DatePickerChanged);

void BM_DateDaysTyped(benchmark::State& state) {
    const DateTime start = dateOf(2026, 12, 7);
    const DateTime end = dateOf(2026, 12, 7);
    for (auto _ : state) benchmark::DoNotOptimize(daysTyped("-24855", start, end));
}
BENCHMARK(BM_DateDaysTyped);

}  // namespace
