// Every calculator's recomputation from whatever its fields hold.
//
// Input: a byte picking the calculator, a byte picking the edited control
// (and, where the calculator has them, its choices), then the field texts,
// each ended by a zero byte. Checks, for every calculator alike:
//  - nothing shown is "nan" or "inf";
//  - the edited field is never written, every other output is;
//  - only the characters a field's reading takes part in the result;
//  - the number reading and "%.<n>f" writing agree with each other.
#include <cmath>
#include <cstring>

#include "calculators/computer/computer.h"
#include "calculators/date/date_calc.h"
#include "calculators/latlon/latlon.h"
#include "calculators/loan/loan.h"
#include "calculators/metric/metric.h"
#include "calculators/tip/tip.h"
#include "core/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The outputs of a recomputation, whatever its record: id, write flag, text.
template <typename Output, size_t Count>
void checkOutputs(const Output (&fields)[Count], int edited, const char* calculator) {
    for (const Output& f : fields) {
        FUZZ_CHECK(!showsNonFinite(f.text), "%s: control %d shows \"%s\"", calculator, f.id, shown(f.text).c_str());
        FUZZ_CHECK(f.id != edited || !f.write, "%s: the edited field %d is written", calculator, edited);
    }
}

template <typename Output, size_t Count>
bool sameOutputs(const Output (&a)[Count], const Output (&b)[Count]) {
    for (size_t n = 0; n < Count; ++n)
        if (a[n].id != b[n].id || a[n].write != b[n].write || a[n].text != b[n].text) return false;
    return true;
}

std::string cut(const std::string& text, int limit) { return text.substr(0, static_cast<size_t>(limit)); }

void loan(FuzzInput& in) {
    static const int kControls[] = {IDC_LOAN_AMOUNT, IDC_LOAN_INTEREST, IDC_LOAN_PAYMENT, IDC_LOAN_MONTHS, IDD_LOAN};
    const int edited = kControls[in.byte() % 5];
    LoanTexts texts{in.field(), in.field(), in.field(), in.field()};
    LoanResult r = recomputeLoan(texts, edited);
    checkOutputs(r.fields, edited, "loan");
    for (const LoanOutput& f : r.fields)
        FUZZ_CHECK(f.write == (f.id != edited), "loan: control %d not written", f.id);
    LoanTexts cutTexts{cut(texts.amount, kLoanTextLimit), cut(texts.interest, kLoanTextLimit),
                       cut(texts.payment, kLoanTextLimit), cut(texts.months, kLoanTextLimit)};
    FUZZ_CHECK(sameOutputs(r.fields, recomputeLoan(cutTexts, edited).fields), "loan: characters past the limit count");
}

void tip(FuzzInput& in) {
    const int edited = kTipValueFields[in.byte() % 6];
    TipTexts texts{in.field(), in.field(), in.field(), in.field()};
    TipResult r = recomputeTip(texts, edited);
    checkOutputs(r.fields, edited, "tip");
    TipTexts cutTexts{cut(texts.bill, kTipTextLimit), cut(texts.percent, kTipTextLimit),
                      cut(texts.split, kTipTextLimit), cut(texts.splitAmount, kTipTextLimit)};
    FUZZ_CHECK(sameOutputs(r.fields, recomputeTip(cutTexts, edited).fields), "tip: characters past the limit count");
}

void metric(FuzzInput& in) {
    // Out-of-range choices too: -1 is a combo box with nothing chosen.
    const int category = in.byte() % (kMetricCategoryCount + 2) - 1;
    int units[kMetricRowCount];
    for (int& unit : units) unit = in.byte() % 10 - 1;
    const int edited = kMetricRows[in.byte() % kMetricRowCount].valueField;
    const std::string typed = in.field();
    MetricResult r = recomputeMetric(category, units, edited, typed);
    checkOutputs(r.fields, edited, "metric");
    FUZZ_CHECK(sameOutputs(r.fields, recomputeMetric(category, units, edited, cut(typed, kMetricTextLimit)).fields),
               "metric: characters past the limit count");
}

void latLon(FuzzInput& in) {
    const int edited = kLatLonValueFields[in.byte() % 6];
    const std::string typed = in.field();
    LatLonResult r = recomputeLatLon(edited, typed);
    checkOutputs(r.fields, edited, "latlon");
    FUZZ_CHECK(sameOutputs(r.fields, recomputeLatLon(edited, cut(typed, kLatLonTextLimit)).fields),
               "latlon: characters past the limit count");
}

void computer(FuzzInput& in) {
    const int source = kComputerValueFields[in.byte() % 5];
    const std::string typed = in.field();
    BaseConversion out = convertBases(source, typed.c_str());
    FUZZ_CHECK(out.count >= 0 && out.count <= 5, "computer: %d fields rewritten", out.count);
    for (int n = 0; n < out.count; ++n) {
        // The ASCII field is rewritten from its own first character; no
        // other source field is ever written, and the notations are digits.
        const BaseFieldText& f = out.fields[n];
        FUZZ_CHECK(f.controlId != source || source == IDC_COMPUTER_ASCII, "computer: the source field %d is written",
                   source);
        FUZZ_CHECK(f.controlId == IDC_COMPUTER_ASCII || !showsNonFinite(f.text), "computer: control %d shows \"%s\"",
                   f.controlId, shown(f.text).c_str());
    }
}

DateTime dateFrom(FuzzInput& in) {
    DateTime date = {};
    date.year = static_cast<uint16_t>(kPickerFirstYear + in.uint16() % (kDateLastYear - kPickerFirstYear + 1));
    date.month = static_cast<uint16_t>(1 + in.byte() % 12);
    date.day = static_cast<uint16_t>(1 + in.byte() % 28);
    return date;
}

void checkFacts(const DateFacts& facts) {
    FUZZ_CHECK(!showsNonFinite(facts.dayInYear) && !showsNonFinite(facts.weekInYear), "date: facts \"%s\" \"%s\"",
               facts.dayInYear.c_str(), facts.weekInYear.c_str());
}

void date(FuzzInput& in) {
    const DateTime start = dateFrom(in);
    const DateTime end = dateFrom(in);
    const std::string days = in.field();
    DaysTyped typed = daysTyped(days.c_str(), start, end);
    checkFacts(typed.startFacts);
    checkFacts(typed.endFacts);
    if (typed.setEnd) {
        // The end a typed count sets is one the end picker accepts.
        uint64_t first = 0, set = 0;
        DateTime pickerFirst = {kPickerFirstYear, kPickerFirstMonth, 0, kPickerFirstDay, 0, 0, 0, 0};
        FUZZ_CHECK(dateTimeToTicks(pickerFirst, &first) && dateTimeToTicks(typed.newEnd, &set) && set >= first &&
                       typed.newEnd.year <= kDateLastYear,
                   "date: end %d-%d-%d set from \"%s\"", typed.newEnd.year, typed.newEnd.month, typed.newEnd.day,
                   shown(days).c_str());
    }
    FUZZ_CHECK(readDaysText(days.c_str()) == readDaysText(cut(days, kDateDaysTextLimit).c_str()),
               "date: characters past the limit count");
    DatePickerChange change = datePickerChanged(start, end);
    FUZZ_CHECK(change.daysText == std::to_string(daysBetween(end, start)) + " days", "date: \"%s\" for %d days",
               change.daysText.c_str(), daysBetween(end, start));
}

// Whatever "%.<n>f" writes of a number read from any text reads back as the
// same number, to the digits written.
void numberText(FuzzInput& in) {
    const int decimals = in.byte() % 8;
    const std::string text = in.rest();
    const double value = readDecimal(text.c_str());
    FUZZ_CHECK(std::isfinite(value), "number: \"%s\" reads as %g", shown(text).c_str(), value);
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    const std::string written = formatText(format, value);
    FUZZ_CHECK(isFixedPointText(written, decimals), "number: %.17g written as \"%s\"", value, written.c_str());
    const double back = readDecimal(written.c_str());
    FUZZ_CHECK(std::fabs(back - value) <= 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 1e-15,
               "number: \"%s\" reads back as %.17g, not %.17g", written.c_str(), back, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static void (*const kCalculators[])(FuzzInput&) = {loan, tip, metric, latLon, computer, date, numberText};
    kCalculators[in.byte() % (sizeof kCalculators / sizeof kCalculators[0])](in);
    return 0;
}
