// Metric Conversion recomputed from whatever was typed, with any category
// and unit selections, those without a selection and those outside the
// lists included.
//
// Input: a category byte, four unit bytes, a byte picking the edited control
// (one of the four value fields or another control), then the typed text up
// to its first zero byte. Checks:
//  - every value field but the edited one is written, each text empty or
//    "%f", never "nan" or "inf", empty only for a value beyond the range
//    of numbers;
//  - only the first kMetricTextLimit characters take part;
//  - a row without a unit of the category shows 0;
//  - every row shown, the typed one included, is the same quantity: each
//    converts to the same amount of the category's base unit, within what
//    six decimals lose.
#include <algorithm>
#include <cmath>

#include "calculators/metric/metric.h"
#include "shell/number_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Base units per unit of the row: every conversion is linear.
double slopeOf(int category, int unit) {
    return std::fabs(metricToBase(1.0, category, unit) - metricToBase(0.0, category, unit));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int category = in.byte() % 8 - 1;
    int units[kMetricRowCount];
    for (int& unit : units) unit = in.byte() % 10 - 1;
    static const int kControls[] = {kMetricValueField1, kMetricValueField2, kMetricValueField3, kMetricValueField4,
                                    kMetricUnitCombo1, kMetricCategoryCombo};
    const int edited = kControls[in.byte() % 6];
    const std::string typed = in.field();

    const MetricResult r = recomputeMetric(category, units, edited, typed);
    int editedRow = -1;
    for (int row = 0; row < kMetricRowCount; ++row) {
        if (kMetricRows[row].valueField == edited) editedRow = row;
    }
    const double value = readDecimal(typed.substr(0, kMetricTextLimit).c_str());

    if (typed.size() > static_cast<size_t>(kMetricTextLimit)) {
        const MetricResult c = recomputeMetric(category, units, edited, typed.substr(0, kMetricTextLimit));
        for (int row = 0; row < kMetricRowCount; ++row) {
            FUZZ_CHECK(c.fields[row].text == r.fields[row].text, "characters past %d changed row %d",
                       kMetricTextLimit, row);
        }
    }

    double rowValue[kMetricRowCount];
    bool rowKnown[kMetricRowCount] = {};
    for (int row = 0; row < kMetricRowCount; ++row) {
        const MetricOutput& f = r.fields[row];
        FUZZ_CHECK(f.id == kMetricRows[row].valueField, "row %d is control %d", row, f.id);
        FUZZ_CHECK(f.write == (editedRow >= 0 && row != editedRow), "row %d write flag %d after a key release in %d",
                   row, f.write, edited);
        const bool unitKnown = metricUnitName(category, units[row]) != nullptr;
        if (row == editedRow) {
            rowValue[row] = value;
            rowKnown[row] = unitKnown;
            continue;
        }
        if (!f.write) continue;
        FUZZ_CHECK(!showsNonFinite(f.text), "row %d shows \"%s\"", row, shown(f.text).c_str());
        if (f.text.empty()) {
            FUZZ_CHECK(std::fabs(value) > 1e290, "row %d empty for %.17g", row, value);
            continue;
        }
        FUZZ_CHECK(isFixedPointText(f.text, 6), "row %d shows \"%s\"", row, shown(f.text).c_str());
        if (!unitKnown) {
            FUZZ_CHECK(f.text == "0.000000", "row %d without a unit of category %d shows \"%s\"", row, category,
                       f.text.c_str());
            continue;
        }
        rowValue[row] = readDecimal(f.text.c_str());
        rowKnown[row] = true;
    }

    // The typed row only counts when its unit is known; otherwise the others
    // convert from 0 base units and are compared among themselves.
    for (int i = 0; i < kMetricRowCount; ++i) {
        for (int j = i + 1; j < kMetricRowCount; ++j) {
            if (!rowKnown[i] || !rowKnown[j]) continue;
            const double a = metricToBase(rowValue[i], category, units[i]);
            const double b = metricToBase(rowValue[j], category, units[j]);
            const double lost = 0.0000005 * (1 + 1e-9) * (slopeOf(category, units[i]) + slopeOf(category, units[j]));
            const double bound = lost + 1e-12 * std::max({std::fabs(a), std::fabs(b), 300.0});
            FUZZ_CHECK(std::fabs(a - b) <= bound,
                       "category %d: row %d (unit %d) %.17g and row %d (unit %d) %.17g are %.17g and %.17g base units",
                       category, i, units[i], rowValue[i], j, units[j], rowValue[j], a, b);
        }
    }
    return 0;
}
