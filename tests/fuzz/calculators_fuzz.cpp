// Every calculator's recompute from any fields. Input: a byte picking the
// computation, one picking the edited field (and choices), then the field
// texts, each ended by a zero byte. For all alike: nothing shown is "nan" or
// "inf", the edited field is never written, only the characters read count.
#include "calculators/computer/computer.h"
#include "calculators/date/date_calc.h"
#include "calculators/latlon/latlon.h"
#include "calculators/loan/loan.h"
#include "calculators/metric/metric.h"
#include "calculators/tip/tip.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// `cut` is the recompute from the fields cut to the characters read; printf
// writes "nan" or "inf" for a value that is no finite number.
template <typename Result>
void check(const Result& r, const Result& cut, int edited) {
    for (size_t n = 0; n < sizeof r.fields / sizeof r.fields[0]; ++n) {
        const auto &f = r.fields[n], &c = cut.fields[n];
        FUZZ_CHECK(f.text.find("nan") == f.text.npos && f.text.find("inf") == f.text.npos);
        FUZZ_CHECK(!f.write || f.id != edited);
        FUZZ_CHECK(f.write == c.write && f.text == c.text);
    }
}

template <typename Texts, typename Result>
void fourTexts(FuzzInput& in, int edited, int limit, Result (*recompute)(const Texts&, int)) {
    std::string t[4], c[4];
    for (int i = 0; i < 4; ++i) c[i] = (t[i] = in.field()).substr(0, limit);
    check(recompute({t[0], t[1], t[2], t[3]}, edited), recompute({c[0], c[1], c[2], c[3]}, edited), edited);
}

void loan(FuzzInput& in) {
    const int pick = in.byte() % 5;
    fourTexts(in, pick < 4 ? kLoanValueFields[pick] : IDD_LOAN, kLoanTextLimit, recomputeLoan);
}

void tip(FuzzInput& in) { fourTexts(in, kTipValueFields[in.byte() % 6], kTipTextLimit, recomputeTip); }

void metric(FuzzInput& in) {
    // Choices out of range too: -1 is a box with nothing chosen.
    const int category = in.byte() % (kMetricCategoryCount + 2) - 1;
    int units[kMetricRowCount];
    for (int& unit : units) unit = in.byte() % 10 - 1;
    const int edited = kMetricRows[in.byte() % kMetricRowCount].valueField;
    const std::string typed = in.field();
    check(recomputeMetric(category, units, edited, typed),
          recomputeMetric(category, units, edited, typed.substr(0, kMetricTextLimit)), edited);
}

void latLon(FuzzInput& in) {
    const int edited = kLatLonValueFields[in.byte() % 6];
    const std::string typed = in.field();
    check(recomputeLatLon(edited, typed), recomputeLatLon(edited, typed.substr(0, kLatLonTextLimit)), edited);
}

void computer(FuzzInput& in) {
    const int source = kComputerValueFields[in.byte() % 5];
    BaseConversion out = convertBases(source, in.field().c_str());
    // Only the ASCII field is rewritten from itself (its first character).
    for (int n = 0; n < out.count; ++n) FUZZ_CHECK(out.fields[n].controlId != source || source == IDC_COMPUTER_ASCII);
}

DateTime dateFrom(FuzzInput& in) {
    const int year = kPickerFirstYear + in.byte() * 32, month = 1 + in.byte() % 12;
    return DateTime{uint16_t(year), uint16_t(month), 0, uint16_t(1 + in.byte() % 28), 0, 0, 0, 0};
}

void date(FuzzInput& in) {
    const DateTime start = dateFrom(in), end = dateFrom(in);
    const std::string days = in.field();
    DaysTyped typed = daysTyped(days.c_str(), start, end);
    // The end a typed count sets is one the end picker takes.
    const DateTime first = {kPickerFirstYear, kPickerFirstMonth, 0, kPickerFirstDay, 0, 0, 0, 0};
    FUZZ_CHECK(!typed.setEnd || (daysBetween(typed.newEnd, first) >= 0 && typed.newEnd.year <= kDateLastYear));
    FUZZ_CHECK(readDaysText(days.c_str()) == readDaysText(days.substr(0, kDateDaysTextLimit).c_str()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    static void (*const kCalculators[])(FuzzInput&) = {loan, tip, metric, latLon, computer, date};
    kCalculators[in.byte() % 6](in);
    return 0;
}
