// Metric Conversion computation: see metric.h.
#include "calculators/metric/metric.h"

#include <cmath>

#include "core/number_text.h"

namespace {

struct MetricUnit {
    const char* name;
    double factor;  // base units per one of this unit; unused for temperature
};

const MetricUnit temperatureUnits[] = {
    {"Celsius", 1.0},
    {"Farenheit", 1.0},
    {"Kelvin", 1.0},
    {"Reaumur", 1.0},
};

// Square metres per unit.
const MetricUnit areaUnits[] = {
    {"Square Inches", 0.0006452},
    {"Square Feet", 0.092903},
    {"Square Yards", 0.8361274},
    {"Acres", 4047.0},
    {"Square Cms", 0.0001},
    {"Square Meters", 1.0},
    {"Hectares", 10000.0},
};

// Metres per unit.
const MetricUnit lengthUnits[] = {
    {"Inches", 0.0254},
    {"Feet", 0.3048},
    {"Yards", 0.9144},
    {"Miles", 1609.344},
    {"Millimeters", 0.001},
    {"Centimeters", 0.01},
    {"Meters", 1.0},
    {"Kilometers", 1000.0},
};

// Grams per unit.
const MetricUnit weightUnits[] = {
    {"Ounces", 28.3495231},
    {"Pounds", 453.59237},
    {"Tons", 907184.74},
    {"Long Tons", 1016046.9088},
    {"Grams", 1.0},
    {"Kilograms", 1000.0},
};

// Litres per unit. Both liquid measures list the same names, each with its
// own gallon.
const MetricUnit usLiquidUnits[] = {
    {"Fluid Ounces", 0.02957},
    {"Pints", 0.4732},
    {"Quarts", 0.9463},
    {"Gallons", 3.785},
    {"Milliliters", 0.001},
    {"Liters", 1.0},
};

const MetricUnit britishLiquidUnits[] = {
    {"Fluid Ounces", 0.0284131},
    {"Pints", 0.5683},
    {"Quarts", 1.1365},
    {"Gallons", 4.546},
    {"Milliliters", 0.001},
    {"Liters", 1.0},
};

struct MetricCategoryEntry {
    const char* name;
    const MetricUnit* units;
    int unitCount;
};

template <int N>
constexpr MetricCategoryEntry entry(const char* name, const MetricUnit (&units)[N]) {
    return {name, units, N};
}

// In the order of the category box.
const MetricCategoryEntry categories[kMetricCategoryCount] = {
    entry("Temperature", temperatureUnits),
    entry("Area", areaUnits),
    entry("Length", lengthUnits),
    entry("Weight", weightUnits),
    entry("U.S. Liquid", usLiquidUnits),
    entry("British Liquid", britishLiquidUnits),
};

// The unit's table entry, or nullptr outside the lists.
const MetricUnit* findUnit(int category, int unit) {
    if (category < 0 || category >= kMetricCategoryCount) return nullptr;
    const MetricCategoryEntry& c = categories[category];
    if (unit < 0 || unit >= c.unitCount) return nullptr;
    return &c.units[unit];
}

// Temperature units, through Celsius.
enum { celsius = 0, farenheit = 1, kelvin = 2, reaumur = 3 };

// The double nearest 5/9.
const double fiveNinths = 0.5555555555555556;

double toCelsius(double x, int unit) {
    switch (unit) {
        case celsius: return x;
        case farenheit: return (x - 32.0) * fiveNinths;
        case kelvin: return x - 273.15;
        case reaumur: return x * 1.25;
    }
    return 0.0;
}

double fromCelsius(double x, int unit) {
    switch (unit) {
        case celsius: return x;
        case farenheit: return x * 1.8 + 32.0;
        case kelvin: return x + 273.15;
        case reaumur: return x * 0.8;
    }
    return 0.0;
}

}  // namespace

const char* metricCategoryName(int category) {
    if (category < 0 || category >= kMetricCategoryCount) return nullptr;
    return categories[category].name;
}

int metricUnitCount(int category) {
    if (category < 0 || category >= kMetricCategoryCount) return 0;
    return categories[category].unitCount;
}

const char* metricUnitName(int category, int unit) {
    const MetricUnit* u = findUnit(category, unit);
    return u != nullptr ? u->name : nullptr;
}

double metricToBase(double value, int category, int unit) {
    const MetricUnit* u = findUnit(category, unit);
    if (u == nullptr) return 0.0;
    if (category == kMetricTemperature) return toCelsius(value, unit);
    return value * u->factor;
}

double metricFromBase(double base, int category, int unit) {
    const MetricUnit* u = findUnit(category, unit);
    if (u == nullptr) return 0.0;
    if (category == kMetricTemperature) return fromCelsius(base, unit);
    return base / u->factor;
}

MetricResult recomputeMetric(int category, const int units[kMetricRowCount], int editedId,
                             const std::string& editedText) {
    MetricResult r;
    int editedRow = -1;
    for (int row = 0; row < kMetricRowCount; ++row) {
        r.fields[row] = {kMetricRows[row].valueField, false, std::string()};
        if (kMetricRows[row].valueField == editedId) editedRow = row;
    }
    if (editedRow < 0) return r;

    double value = readDecimal(editedText.substr(0, kMetricTextLimit).c_str());
    double base = metricToBase(value, category, units[editedRow]);
    for (int row = 0; row < kMetricRowCount; ++row) {
        if (row == editedRow) continue;
        double shown = metricFromBase(base, category, units[row]);
        r.fields[row].write = true;
        r.fields[row].text = std::isfinite(shown) ? formatText("%f", shown) : std::string();
    }
    return r;
}
