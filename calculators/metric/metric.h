// Metric Conversion: converts a quantity between the units of one category
// (temperature, area, length, weight, U.S. and British liquid measure)
// through the category's base unit. Portable: no windows.h. The screen fills
// its boxes from the name tables, reads the edited field and the four unit
// selections, calls recomputeMetric and writes back the texts marked for
// writing; it keeps the category and unit indexes in the SelectionState.
#pragma once
#include <string>

#include "resources/quantrel/resource_ids.h"

// A row of the screen: the unit box and the value edit to its right.
struct MetricRowIds {
    int unitBox;
    int valueField;
};

// Rows 1 to 4, top to bottom.
constexpr int kMetricRowCount = 4;
constexpr MetricRowIds kMetricRows[kMetricRowCount] = {
    {IDC_METRIC_UNIT_1, IDC_METRIC_VALUE_1},
    {IDC_METRIC_UNIT_2, IDC_METRIC_VALUE_2},
    {IDC_METRIC_UNIT_3, IDC_METRIC_VALUE_3},
    {IDC_METRIC_UNIT_4, IDC_METRIC_VALUE_4},
};

// Category indexes, in the order of the category box; the index is what the
// selection file stores.
enum MetricCategory : int {
    kMetricTemperature = 0,    // base unit: Celsius
    kMetricArea = 1,           // square metre
    kMetricLength = 2,         // metre
    kMetricWeight = 3,         // gram
    kMetricUsLiquid = 4,       // litre
    kMetricBritishLiquid = 5,  // litre
};
constexpr int kMetricCategoryCount = 6;

// Characters of the edited field that take part.
constexpr int kMetricTextLimit = 259;

// The category box's text for a category, or nullptr outside 0 to 5.
const char* metricCategoryName(int category);

// How many units a category lists (0 for a category outside 0 to 5).
int metricUnitCount(int category);

// A unit box's text for a unit of a category, in list order, or nullptr for
// a unit or category outside the lists.
const char* metricUnitName(int category, int unit);

// A value in a unit to the category's base unit, and back. A unit outside the
// category's list (a box without selection included) or a category outside
// 0 to 5 converts to 0 in both directions.
double metricToBase(double value, int category, int unit);
double metricFromBase(double base, int category, int unit);

// One field to rewrite: its control id, whether it is to be written at all,
// and the text.
struct MetricOutput {
    int id;
    bool write;
    std::string text;
};

// The four value fields, rows 1 to 4.
struct MetricResult {
    MetricOutput fields[kMetricRowCount];
};

// The recompute after a key release in value field editedId: reads
// editedText (its first 259 characters) in the unit of the edited row and
// writes every other row converted into its unit with "%f". units holds the
// four unit boxes' selections (-1 for none). The edited field is never
// written; a value beyond the range of numbers is written as empty text.
MetricResult recomputeMetric(int category, const int units[kMetricRowCount], int editedId,
                             const std::string& editedText);
