// The Lat/Lon Calculator's reading of whatever was typed, and its writing.
//
// Input: a byte picking the edited control (one of the six value fields, or
// another control), then the typed text (any bytes). Checks:
//  - only the two other fields of the edited coordinate are written; the
//    edited field, the other coordinate and unknown controls never are;
//  - every written text is empty or has its notation's shape, never "nan"
//    or "inf";
//  - only the first kLatLonTextLimit characters take part;
//  - what is written reads back as the value within the precision shown,
//    when it is short enough to be read back at all.
#include <cfloat>
#include <cmath>

#include "calculators/latlon/latlon.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool isDigits(const std::string& text, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

bool isInteger(const std::string& text) {
    size_t from = !text.empty() && text[0] == '-' ? 1 : 0;
    return isDigits(text, from, text.size());
}

// "%.4f°", "%d°%.2f'" or "%d°%d'%.2f\"".
bool hasNotationShape(const std::string& text, int notation) {
    size_t degree = text.find(kDegreeSign);
    if (degree == std::string::npos) return false;
    std::string rest = text.substr(degree + 1);
    switch (notation) {
        case kDecimalDegrees:
            return rest.empty() && isFixedPointText(text.substr(0, degree), 4);
        case kDegreesMinutes:
            return isInteger(text.substr(0, degree)) && !rest.empty() && rest.back() == kMinutesMark &&
                   isFixedPointText(rest.substr(0, rest.size() - 1), 2);
        case kDegreesMinutesSeconds: {
            size_t minute = rest.find(kMinutesMark);
            return isInteger(text.substr(0, degree)) && minute != std::string::npos &&
                   isInteger(rest.substr(0, minute)) && rest.back() == kSecondsMark &&
                   isFixedPointText(rest.substr(minute + 1, rest.size() - minute - 2), 2);
        }
    }
    return false;
}

// How far a text in each notation may lie from the value it shows: half of
// its last decimal, in degrees, plus the rounding of the arithmetic.
double tolerance(int notation, double degrees) {
    static const double kHalfLastDecimal[3] = {0.00005, 0.005 / 60, 0.005 / 3600};
    return kHalfLastDecimal[notation] * (1 + 1e-9) + std::fabs(degrees) * 8 * DBL_EPSILON;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const int kControls[] = {kLatitudeDegreesField,  kLatitudeMinutesField,  kLatitudeSecondsField,
                                    kLongitudeDegreesField, kLongitudeMinutesField, kLongitudeSecondsField,
                                    kLatitudeHeading,       kLongitudeHeading};
    const int edited = kControls[in.byte() % 8];
    const std::string typed = in.rest();

    const double degrees = parseCoordinate(typed);
    if (typed.size() > static_cast<size_t>(kLatLonTextLimit)) {
        double cut = parseCoordinate(typed.substr(0, kLatLonTextLimit));
        FUZZ_CHECK(cut == degrees || (std::isnan(cut) && std::isnan(degrees)),
                   "characters past %d changed the value: %.17g, cut %.17g", kLatLonTextLimit, degrees, cut);
    }

    LatLonResult result = recomputeLatLon(edited, typed);
    const int notation = latLonNotationOf(edited);
    const bool longitude = edited == kLongitudeDegreesField || edited == kLongitudeMinutesField ||
                           edited == kLongitudeSecondsField;
    const int* group = longitude ? &kLatLonValueFields[3] : &kLatLonValueFields[0];
    for (int n = 0; n < 3; ++n) {
        const LatLonOutput& field = result.fields[n];
        FUZZ_CHECK(field.id == group[n], "field %d is control %d, expected %d", n, field.id, group[n]);
        const bool written = notation >= 0 && field.id != edited;
        FUZZ_CHECK(field.write == written, "control %d write flag %d after a key release in %d", field.id,
                   field.write, edited);
        if (!field.write) continue;
        FUZZ_CHECK(!showsNonFinite(field.text), "control %d shows \"%s\"", field.id, shown(field.text).c_str());
        if (field.text.empty()) {
            // Only a value without a finite number, or whole degrees beyond
            // 32 bits in a notation with whole degrees, shows nothing.
            FUZZ_CHECK(!std::isfinite(degrees) || (n != kDecimalDegrees && std::fabs(degrees) >= 2147483648.0),
                       "control %d empty for %.17g", field.id, degrees);
            continue;
        }
        FUZZ_CHECK(hasNotationShape(field.text, n), "control %d shows \"%s\" for notation %d", field.id,
                   shown(field.text).c_str(), n);
        // A text longer than the field reads (a value of hundreds of digits)
        // cannot read back whole.
        if (field.text.size() > static_cast<size_t>(kLatLonTextLimit)) continue;
        const double back = parseCoordinate(field.text);
        FUZZ_CHECK(std::fabs(back - degrees) <= tolerance(n, degrees),
                   "%.17g written as \"%s\" reads back as %.17g", degrees, shown(field.text).c_str(), back);
    }
    return 0;
}
