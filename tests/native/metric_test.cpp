// Metric Conversion: the box texts, worked rows, temperature equations,
// round trips through the base unit and units outside the lists.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calculators/metric/metric.h"

namespace {

// Shown texts of rows 1 to 4; nullptr for the edited row, never written.
TEST(MetricRecompute, ShownTexts) {
    const struct {
        const char* name;
        int category;
        int units[kMetricRowCount];
        int editedRow;
        const char* typed;
        const char* shown[kMetricRowCount];
    } cases[] = {
        {"worked: boiling water", kMetricTemperature, {0, 1, 2, 3}, 0, "100",
         {nullptr, "212.000000", "373.150000", "80.000000"}},
        {"worked: body temperature", kMetricTemperature, {0, 1, 2, 3}, 1, "98.6",
         {"37.000000", nullptr, "310.150000", "29.600000"}},
        {"worked: a foot of inches", kMetricLength, {0, 1, 2, 3}, 0, "12",
         {nullptr, "1.000000", "0.333333", "0.000189"}},
        {"worked: one long ton", kMetricWeight, {0, 1, 2, 3}, 3, "1",
         {"35840.000032", "2240.000000", "1.120000", nullptr}},
        {"worked: one U.S. gallon", kMetricUsLiquid, {0, 1, 2, 3}, 3, "1",
         {"128.001353", "7.998732", "3.999789", nullptr}},
        {"worked: one British gallon", kMetricBritishLiquid, {0, 1, 2, 3}, 3, "1",
         {"159.996621", "7.999296", "4.000000", nullptr}},
        {"minus forty", kMetricTemperature, {0, 1, 2, 3}, 0, "-40",
         {nullptr, "-40.000000", "233.150000", "-32.000000"}},
        {"empty field reads 0", kMetricTemperature, {0, 1, 2, 3}, 0, "",
         {nullptr, "32.000000", "273.150000", "0.000000"}},
        {"Kelvin and Reaumur", kMetricTemperature, {3, 1, 2, 0}, 2, "0",
         {"-218.520000", "-459.670000", nullptr, "-273.150000"}},
        {"number then letters; same unit twice", kMetricLength, {5, 6, 6, 7}, 0, "12abc",
         {nullptr, "0.120000", "0.120000", "0.000120"}},
        {"U.S. gallons are not British", kMetricUsLiquid, {3, 5, 4, 3}, 0, "1",
         {nullptr, "3.785000", "3785.000000", "1.000000"}},
        {"British gallons in litres", kMetricBritishLiquid, {3, 5, 4, 3}, 0, "1",
         {nullptr, "4.546000", "4546.000000", "1.000000"}},
        {"rows without a selection give 0", kMetricArea, {6, -1, 7, 3}, 0, "1",
         {nullptr, "0.000000", "0.000000", "2.470966"}},
        {"edited row without a selection", kMetricLength, {-1, 1, 2, 3}, 0, "1",
         {nullptr, "0.000000", "0.000000", "0.000000"}},
        {"category beyond the six", 6, {0, 1, 2, 3}, 1, "5",
         {"0.000000", nullptr, "0.000000", "0.000000"}},
        {"beyond the largest number", kMetricArea, {6, 0, 5, 3}, 0, "1e305",
         {nullptr, "", "", ""}},
    };
    for (const auto& c : cases) {
        MetricResult r =
            recomputeMetric(c.category, c.units, kMetricRows[c.editedRow].valueField, c.typed);
        for (int row = 0; row < kMetricRowCount; ++row) {
            const MetricOutput& f = r.fields[row];
            EXPECT_EQ(f.id, kMetricRows[row].valueField) << c.name << ", row " << row + 1;
            EXPECT_EQ(f.write, c.shown[row] != nullptr)
                << c.name << ", row " << row + 1 << ": write flag, text \"" << f.text << "\"";
            if (c.shown[row] != nullptr) {
                EXPECT_EQ(f.text, c.shown[row]) << c.name << ", row " << row + 1;
            }
        }
    }
}

TEST(MetricRecompute, OnlyValueFieldsAndTheFirst259Characters) {
    const int units[kMetricRowCount] = {0, 1, 2, 3};
    std::string text = std::string(258, ' ') + "79";  // the 7 is the 259th character
    EXPECT_EQ(recomputeMetric(kMetricLength, units, IDC_METRIC_VALUE_1, text).fields[1].text, "0.583333");
    MetricResult outside = recomputeMetric(kMetricLength, units, IDC_METRIC_UNIT_1, "3");
    for (const MetricOutput& f : outside.fields) {
        EXPECT_FALSE(f.write) << "a key release in a unit box wrote field " << f.id;
    }
}

TEST(MetricNames, CategoriesAndUnitsInBoxOrder) {
    const std::vector<std::string> liquids = {"Fluid Ounces", "Pints",       "Quarts",
                                              "Gallons",      "Milliliters", "Liters"};
    const std::vector<std::vector<std::string>> expected = {
        {"Temperature", "Celsius", "Farenheit", "Kelvin", "Reaumur"},
        {"Area", "Square Inches", "Square Feet", "Square Yards", "Acres", "Square Cms",
         "Square Meters", "Hectares"},
        {"Length", "Inches", "Feet", "Yards", "Miles", "Millimeters", "Centimeters", "Meters",
         "Kilometers"},
        {"Weight", "Ounces", "Pounds", "Tons", "Long Tons", "Grams", "Kilograms"},
    };
    for (int c = 0; c < kMetricCategoryCount; ++c) {
        std::vector<std::string> want =
            c < 4 ? expected[c]
                  : std::vector<std::string>{c == 4 ? "U.S. Liquid" : "British Liquid"};
        if (c >= 4) want.insert(want.end(), liquids.begin(), liquids.end());
        std::vector<std::string> got = {metricCategoryName(c)};
        for (int u = 0; u < metricUnitCount(c); ++u) got.push_back(metricUnitName(c, u));
        EXPECT_EQ(got, want) << "category " << c;
        EXPECT_EQ(metricUnitName(c, -1), nullptr) << "category " << c << ", unit -1";
        EXPECT_EQ(metricUnitName(c, metricUnitCount(c)), nullptr) << "category " << c;
    }
    EXPECT_EQ(metricCategoryName(kMetricCategoryCount), nullptr) << "category past the list";
    EXPECT_EQ(metricUnitCount(-1), 0) << "category -1";
}

// Everyday relations, to the precision the factors carry: a wrong or swapped
// factor breaks one of them.
TEST(MetricFactors, EverydayRelations) {
    const struct {
        const char* name;
        int category, unit;
        double amount;
        int otherUnit;
        double equals, tolerance;
    } cases[] = {
        {"1760 yards make a mile", kMetricLength, 2, 1760, 3, 1, 1e-12},
        {"4840 square yards make an acre", kMetricArea, 2, 4840, 3, 1, 1e-3},
        {"a hectare of square cms", kMetricArea, 6, 1, 4, 1e8, 1e-12},
        {"16 ounces make a pound", kMetricWeight, 0, 16, 1, 1, 1e-8},
        {"2000 pounds make a ton", kMetricWeight, 1, 2000, 2, 1, 1e-12},
        {"U.S.: 2 pints make a quart", kMetricUsLiquid, 1, 2, 2, 1, 1e-3},
        {"British: 20 fluid ounces make a pint", kMetricBritishLiquid, 0, 20, 1, 1, 1e-3},
    };
    for (const auto& c : cases) {
        double got = metricFromBase(metricToBase(c.amount, c.category, c.unit), c.category,
                                    c.otherUnit);
        EXPECT_NEAR(got, c.equals, c.equals * c.tolerance) << c.name;
    }
}

// Into the base unit and back gives the value again, in every unit; outside
// the lists both directions give 0.
TEST(MetricFactors, RoundTripsAndOutsideTheLists) {
    for (int c = -1; c <= kMetricCategoryCount; ++c) {
        for (int u = -1; u <= metricUnitCount(c); ++u) {
            bool listed = u >= 0 && u < metricUnitCount(c);
            for (double x : {-459.67, -40.0, 0.001, 37.0, 1234.5678, 1e9}) {
                double back = metricFromBase(metricToBase(x, c, u), c, u);
                EXPECT_NEAR(back, listed ? x : 0.0, 1e-12 * (std::fabs(x) + 1000))
                    << "category " << c << ", unit " << u << ", value " << x;
            }
        }
    }
}

}  // namespace
