// The plug-in's currency calculator: four currency rows on the shared screen
// frame, computing exactly as the program's Currency Exchange screen does, on
// the plug-in's own table and selections.
#include "currency/core/currency_files.h"
#include "currency/screens/currency_rows.h"
#include "frame/screen_frame.h"
#include "resources/zentavo/zentavo_ids.h"
#include "todayplugin/plugin.h"

namespace {

const CurrencyRowIds kCalculatorRows = {IDC_CALC_BOX_1, IDC_CALC_AMOUNT_1};

// Opening: the rates as rates.txt holds them now (the list shows the same
// table), the plug-in's slots of quantrel.dat, then the four boxes.
void openCalculator(HWND dialog) {
    const ScreenData& data = screenDataOf(dialog);
    reloadRates();
    loadSelections(data.dataDirectory, *data.selections, SelectionForm::plugin);
    fillCurrencyBoxes(dialog, kCalculatorRows, *data.rates, *data.selections);
}

void recompute(HWND dialog, int fieldId, const char* text) {
    const ScreenData& data = screenDataOf(dialog);
    recomputeCurrencyRows(dialog, kCalculatorRows, fieldId, text, *data.rates, *data.selections);
}

// Done: slots 0 to 4 of quantrel.dat; the program's slots keep their bytes.
void saveCalculator(HWND dialog) { screenDataOf(dialog).saveSelections(kPluginSlots); }

void savePluginSlots(SlotSet slots) {
    saveSelections(pluginState.dataDirectory, pluginSelections, SelectionForm::plugin, slots);
}

const int kAmountFields[] = {IDC_CALC_AMOUNT_1, IDC_CALC_AMOUNT_2, IDC_CALC_AMOUNT_3, IDC_CALC_AMOUNT_4};

const ScreenFrame kCalculatorFrame = {
    {std::begin(kAmountFields), std::end(kAmountFields)},  // value fields
    {std::begin(kAmountFields), std::end(kAmountFields)},  // keyboard fields
    {},                                                   // nothing emptied on focus
    kColourDialog | kColourStatic,
    true,   // empty menu bar
    false,  // no default processing of other messages
    0,      // fields read with the standard limit
    openCalculator,
    recompute,
    saveCalculator,
    nullptr,
    nullptr,
};

}  // namespace

ScreenData calculatorData() {
    return {pluginState.dataDirectory, &pluginState.table, &pluginSelections, savePluginSlots};
}

INT_PTR CALLBACK calculatorProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return ScreenProcedures<kCalculatorFrame>::dialog(dialog, message, wParam, lParam);
}
