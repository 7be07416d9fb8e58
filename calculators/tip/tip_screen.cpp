// The Tip Calculator screen (template 109) on the shared frame: each key
// released in one of the six edits reads bill, percent, split and share,
// recomputes and rewrites every field but the edited one. Only the four
// fields a user types into often raise the soft keyboard.
#include <windows.h>

#include <iterator>

#include "calculators/tip/tip.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

std::string tipFieldText(HWND dialog, int id) {
    return readFieldText(GetDlgItem(dialog, id), kTipTextLimit);
}

void initTipScreen(HWND dialog) {
    for (int id : kTipValueFields) SetDlgItemTextW(dialog, id, L"");
}

void recomputeTipScreen(HWND dialog, int fieldId, const char*) {
    TipTexts texts = {tipFieldText(dialog, IDC_TIP_BILL), tipFieldText(dialog, IDC_TIP_PERCENT),
                      tipFieldText(dialog, IDC_TIP_SPLIT), tipFieldText(dialog, IDC_TIP_SPLIT_AMOUNT)};
    TipResult result = recomputeTip(texts, fieldId);
    for (const TipOutput& field : result.fields)
        if (field.write) writeFieldText(dialog, field.id, field.text);
}

const ScreenFrame kTipFrame = {
    {std::begin(kTipValueFields), std::end(kTipValueFields)},        // value fields
    {std::begin(kTipKeyboardFields), std::end(kTipKeyboardFields)},  // those that raise the soft keyboard
    {},                                                              // nothing emptied on focus
    kColourDialog | kColourStatic,                                   // labels on light blue
    false,                                                           // no menu bar
    false,                                                           // no default processing
    kTipTextLimit,                                                   // the read limit of a value
    initTipScreen,
    recomputeTipScreen,
    nullptr,  // nothing saved
    nullptr,  // no commands of its own
    nullptr,  // no messages of its own
};

}  // namespace

const DLGPROC tipScreenProcedure = ScreenProcedures<kTipFrame>::dialog;
