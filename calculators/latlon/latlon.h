// Lat/Lon Calculator: a coordinate in degrees read from any of three
// notations (decimal degrees, degrees and decimal minutes, degrees, minutes
// and seconds) and written in the other two. Portable: no windows.h. Texts
// are 8-bit, with the degree sign as the byte 0xB0; the screen converts them
// to and from the fields' wide text.
#pragma once
#include <string>

#include "resources/quantrel/resource_ids.h"

// The six value edits, in the order the screen hooks them.
constexpr int kLatLonValueFields[6] = {IDC_LATITUDE_DEGREES,  IDC_LATITUDE_MINUTES,  IDC_LATITUDE_SECONDS,
                                       IDC_LONGITUDE_DEGREES, IDC_LONGITUDE_MINUTES, IDC_LONGITUDE_SECONDS};

// The marks of the texts: degree sign (byte 0xB0), minutes, seconds.
constexpr char kDegreeSign = '\xB0';
constexpr char kMinutesMark = '\'';
constexpr char kSecondsMark = '"';

// Characters of the edited field that take part.
constexpr int kLatLonTextLimit = 259;

enum CoordinateNotation : int {
    kDecimalDegrees = 0,         // 45.5000°
    kDegreesMinutes = 1,         // 45°30.00'
    kDegreesMinutesSeconds = 2,  // 45°30'0.00"
};

// Reads a coordinate from its first 259 characters. The text is split at the
// marks, each piece read as a decimal number with its own sign: the piece
// before a degree sign gives the degrees, before an apostrophe the minutes,
// before a double quote the seconds (the text ends there); a later mark of
// the same kind replaces the earlier part. When the parts add up to exactly
// 0 (no marks, or parts that cancel), the number left after the last mark
// is the result, so 45.5 reads as plain decimal degrees.
double parseCoordinate(const std::string& text);

// Writes degrees in a notation. Minutes and seconds carry the sign of the
// value and are not carried into the next part (45.99999 gives 45°60.00').
// A value without a finite number, or whose whole degrees lie beyond the
// 32-bit range (for the two notations with whole degrees), gives empty text.
std::string formatCoordinate(double degrees, CoordinateNotation notation);

// The notation of a value edit, or -1 for another control.
int latLonNotationOf(int fieldId);

// One field to rewrite: its control id, whether it is to be written at all,
// and the text.
struct LatLonOutput {
    int id;
    bool write;
    std::string text;
};

// The three fields of the edited coordinate, in notation order.
struct LatLonResult {
    LatLonOutput fields[3];
};

// The recompute after a key release in editedId: reads editedText and writes
// the two other fields of the same coordinate. The edited field and the other
// coordinate are never written.
LatLonResult recomputeLatLon(int editedId, const std::string& editedText);
