// Lat/Lon Calculator computation: see latlon.h.
#include "calculators/latlon/latlon.h"

#include <cmath>
#include <cstdint>

#include "core/number_text.h"

namespace {

// The doubles nearest 1/60 and 1/3600.
const double degreesPerMinute = 0.016666666666666666;
const double degreesPerSecond = 0.0002777777777777778;

}  // namespace

double parseCoordinate(const std::string& text) {
    // The field's text ends at its first NUL, as a C string would.
    std::string rest = text.substr(0, kLatLonTextLimit);
    rest = rest.c_str();

    double degrees = 0.0;
    double minutes = 0.0;
    double seconds = 0.0;
    size_t i = 0;
    while (i < rest.size()) {
        char c = rest[i];
        if (c == kDegreeSign || c == kMinutesMark) {
            // The piece before the mark is the part; the rest moves to the
            // front and the scan starts over on it.
            double part = readDecimal(rest.substr(0, i).c_str());
            if (c == kDegreeSign) {
                degrees = part;
            } else {
                minutes = part * degreesPerMinute;
            }
            rest.erase(0, i + 1);
            i = 0;
        } else if (c == kSecondsMark) {
            // The text ends at the seconds mark: anything after it is ignored.
            rest.resize(i);
            seconds = readDecimal(rest.c_str()) * degreesPerSecond;
            break;
        } else {
            ++i;
        }
    }
    double total = (seconds + minutes) + degrees;
    if (total == 0.0) return readDecimal(rest.c_str());
    return total;
}

std::string formatCoordinate(double degrees, CoordinateNotation notation) {
    if (!std::isfinite(degrees)) return std::string();
    if (notation == kDecimalDegrees) return formatText("%.4f\xB0", degrees);

    // Whole degrees go through a 32-bit integer; beyond its range there is
    // no text to show.
    if (!(degrees > -2147483649.0 && degrees < 2147483648.0)) return std::string();
    int32_t whole = static_cast<int32_t>(degrees);
    double minutes = (degrees - whole) * 60.0;
    if (notation == kDegreesMinutes) {
        return formatText("%d\xB0%.2f'", static_cast<int>(whole), minutes);
    }
    int32_t wholeMinutes = static_cast<int32_t>(minutes);
    double seconds = (minutes - wholeMinutes) * 60.0;
    return formatText("%d\xB0%d'%.2f\"", static_cast<int>(whole),
                      static_cast<int>(wholeMinutes), seconds);
}

int latLonNotationOf(int fieldId) {
    switch (fieldId) {
        case IDC_LATITUDE_DEGREES:
        case IDC_LONGITUDE_DEGREES:
            return kDecimalDegrees;
        case IDC_LATITUDE_MINUTES:
        case IDC_LONGITUDE_MINUTES:
            return kDegreesMinutes;
        case IDC_LATITUDE_SECONDS:
        case IDC_LONGITUDE_SECONDS:
            return kDegreesMinutesSeconds;
    }
    return -1;
}

LatLonResult recomputeLatLon(int editedId, const std::string& editedText) {
    bool longitude =
        editedId == IDC_LONGITUDE_DEGREES || editedId == IDC_LONGITUDE_MINUTES || editedId == IDC_LONGITUDE_SECONDS;
    const int ids[3] = {longitude ? IDC_LONGITUDE_DEGREES : IDC_LATITUDE_DEGREES,
                        longitude ? IDC_LONGITUDE_MINUTES : IDC_LATITUDE_MINUTES,
                        longitude ? IDC_LONGITUDE_SECONDS : IDC_LATITUDE_SECONDS};
    LatLonResult r;
    for (int n = 0; n < 3; ++n) r.fields[n] = {ids[n], false, std::string()};
    if (latLonNotationOf(editedId) < 0) return r;

    double degrees = parseCoordinate(editedText);
    for (int n = 0; n < 3; ++n) {
        if (ids[n] == editedId) continue;
        r.fields[n].write = true;
        r.fields[n].text = formatCoordinate(degrees, static_cast<CoordinateNotation>(n));
    }
    return r;
}
