// Lat/Lon Calculator: reading the three notations, writing them, round trips
// and the rule that only the other fields of the edited coordinate change.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calculators/latlon/latlon.h"

namespace {

// Test texts write the degree sign as "d" and the seconds mark as "s" (so no
// other d or s may appear in them); deg() puts the real bytes in.
std::string deg(const char* readable) {
    std::string out = readable;
    for (char& ch : out) {
        if (ch == 'd') ch = kDegreeSign;
        if (ch == 's') ch = kSecondsMark;
    }
    return out;
}

// Each worked text typed into each field of either coordinate: the two other
// fields of that coordinate show the expected texts; the typed field and the
// other coordinate are left alone.
TEST(LatLonRecompute, WorkedRows) {
    const struct {
        const char* typed;
        const char* shown[3];
    } cases[] = {
        {"45.5", {"45.5000d", "45d30.00'", "45d30'0.00s"}},
        {"45d30'15s", {"45.5042d", "45d30.25'", "45d30'15.00s"}},
        {"12.345678", {"12.3457d", "12d20.74'", "12d20'44.44s"}},
        {"123d45'12.34s", {"123.7534d", "123d45.21'", "123d45'12.34s"}},
        {"-45.5", {"-45.5000d", "-45d-30.00'", "-45d-30'0.00s"}},
        {"abc xyz", {"0.0000d", "0d0.00'", "0d0'0.00s"}},
    };
    const int groups[2][3] = {{IDC_LATITUDE_DEGREES, IDC_LATITUDE_MINUTES, IDC_LATITUDE_SECONDS},
                              {IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES, IDC_LONGITUDE_SECONDS}};
    for (const auto& c : cases) {
        for (const auto& group : groups) {
            for (int edited : group) {
                LatLonResult r = recomputeLatLon(edited, deg(c.typed));
                for (int n = 0; n < 3; ++n) {
                    const LatLonOutput& f = r.fields[n];
                    EXPECT_EQ(f.id, group[n]) << c.typed << " typed in " << edited;
                    EXPECT_EQ(f.write, f.id != edited) << c.typed << " typed in " << edited
                                                       << ", field " << f.id << " write flag";
                    if (f.id != edited) {
                        EXPECT_EQ(f.text, deg(c.shown[n]))
                            << c.typed << " typed in " << edited << ", field " << f.id;
                    }
                }
            }
        }
    }
    for (const LatLonOutput& f : recomputeLatLon(IDC_LATITUDE_HEADING, "45").fields) {
        EXPECT_FALSE(f.write) << "a key release outside the value fields wrote " << f.id;
    }
}

TEST(LatLonParse, MarksAndParts) {
    const double minute = 0.016666666666666666, second = 0.0002777777777777778;
    const struct {
        const char* typed;
        double expected;
    } cases[] = {
        {"45.5d", 45.5},           {"45d30.5'", 45 + 30.5 * minute},
        {"-45d30'", -44.5},        {"-45d-30'", -45.5},  // each part keeps its own sign
        {"0d-30'", -0.5},          {"1d-60'", 0},        // parts cancel, nothing left
        {"1d-60'7", 7},            {"45 30", 45},        // spaces do not separate
        {"10d20d", 20},            {"45d30", 45},        // later part replaces; no mark, no part
        {"45d30'15s12d", 45.5 + 15 * second},            // ignored after the seconds mark
        {"30's", 0.5},             {"", 0},
        {"infd", 0},               {"1,5d", 1},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(parseCoordinate(deg(c.typed)), c.expected) << "text " << c.typed;
    }
    std::string text = std::string(257, ' ') + "4'";  // the mark is the 259th character
    EXPECT_DOUBLE_EQ(parseCoordinate(text), 4 * minute) << "mark at the 259th character";
    EXPECT_DOUBLE_EQ(parseCoordinate(" " + text), 4) << "mark at the 260th character";
}

TEST(LatLonFormat, Notations) {
    const struct {
        double value;
        const char* shown[3];
    } cases[] = {
        {45.99999, {"46.0000d", "45d60.00'", "45d59'59.96s"}},  // no carry
        {-0.5, {"-0.5000d", "0d-30.00'", "0d-30'0.00s"}},      // zero degrees, no sign
        {-179.999999, {"-180.0000d", "-179d-60.00'", "-179d-59'-60.00s"}},
        {-2147483648.5, {"-2147483648.5000d", "-2147483648d-30.00'", "-2147483648d-30'0.00s"}},
        {2147483648.0, {"2147483648.0000d", "", ""}},  // whole degrees beyond 32 bits
        {HUGE_VAL, {"", "", ""}},
        {NAN, {"", "", ""}},
    };
    for (const auto& c : cases) {
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(formatCoordinate(c.value, static_cast<CoordinateNotation>(n)),
                      deg(c.shown[n]))
                << "value " << c.value << ", notation " << n;
        }
    }
}

// Whatever a field shows reads back as the value, within half the last digit.
TEST(LatLonFormat, RoundTrips) {
    const double tolerance[3] = {0.00005, 0.005 / 60, 0.005 / 3600};
    std::vector<double> values = {-0.0001, -0.000001, 45.99999, -45.99999, 89.999999};
    for (int k = -3600; k <= 3600; ++k) values.push_back(k * 0.0500123);  // -180 to 180
    for (double value : values) {
        for (int n = 0; n < 3; ++n) {
            std::string text = formatCoordinate(value, static_cast<CoordinateNotation>(n));
            EXPECT_NEAR(parseCoordinate(text), value, tolerance[n] + 1e-12)
                << "value " << value << ", notation " << n << ", text " << text;
        }
    }
}

}  // namespace
