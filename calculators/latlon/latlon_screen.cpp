// The Lat/Lon Calculator screen (template 111) on the shared frame: each key
// released in one of the six edits reads that edit's text and rewrites the
// two other notations of the same coordinate. The other coordinate is never
// touched. Texts cross between the fields' wide text and the 8-bit text of
// the computation, where the degree sign is the byte 0xB0.
#include <windows.h>

#include <iterator>

#include "calculators/latlon/latlon.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

void recomputeLatLonScreen(HWND dialog, int fieldId, const char* text) {
    LatLonResult result = recomputeLatLon(fieldId, text);
    for (const LatLonOutput& field : result.fields)
        if (field.write) writeFieldText(dialog, field.id, field.text);
}

// The fields start empty as in the template; nothing to fill.
const ScreenFrame kLatLonFrame = {
    {std::begin(kLatLonValueFields), std::end(kLatLonValueFields)},  // value fields
    {std::begin(kLatLonValueFields), std::end(kLatLonValueFields)},  // all six raise the soft keyboard
    {},                                                              // nothing emptied on focus
    kColourDialog | kColourStatic,                                   // labels on light blue
    false,                                                           // no menu bar
    false,                                                           // no default processing
    kLatLonTextLimit,                                                // the read limit of a value
    nullptr,  // nothing to fill in
    recomputeLatLonScreen,
    nullptr,  // nothing saved
    nullptr,  // no commands of its own
    nullptr,  // no messages of its own
};

}  // namespace

const DLGPROC latLonScreenProcedure = ScreenProcedures<kLatLonFrame>::dialog;
