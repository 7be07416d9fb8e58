// The Metric Conversion screen (template 110) on the shared frame. The
// category and the unit indexes live in the program's SelectionState: the
// screen loads the selection file when it opens, opens on the stored
// category with the category's first four units, and saves the file at Done.
// Each key released in a value edit converts that row's value into the units
// of the three other rows.
#include <windows.h>

#include <iterator>

#include "calculators/metric/metric.h"
#include "currency/core/currency_files.h"
#include "shell/program.h"
#include "shell/screen_frame.h"
#include "shell/screens.h"
#include "shell/wide_text.h"

namespace {

const int kMetricValueFields[kMetricRowCount] = {kMetricValueField1, kMetricValueField2, kMetricValueField3,
                                                 kMetricValueField4};

void addComboText(HWND box, const char* text) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widenText(text).c_str()));
}

int comboSelection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

// Each unit box gets the category's list; row n starts on unit n. A category
// outside the lists leaves the boxes as they are.
void fillUnitBoxes(HWND dialog, int category) {
    int count = metricUnitCount(category);
    if (count == 0) return;
    for (int row = 0; row < kMetricRowCount; ++row) {
        HWND box = GetDlgItem(dialog, kMetricRows[row].unitBox);
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        for (int unit = 0; unit < count; ++unit) addComboText(box, metricUnitName(category, unit));
        SendMessageW(box, CB_SETCURSEL, row, 0);
    }
}

void emptyValueFields(HWND dialog) {
    for (int id : kMetricValueFields) SetDlgItemTextW(dialog, id, L"");
}

void initMetricScreen(HWND dialog) {
    HWND categories = GetDlgItem(dialog, kMetricCategoryCombo);
    for (int category = 0; category < kMetricCategoryCount; ++category)
        addComboText(categories, metricCategoryName(category));
    loadSelections(dataDirectory, programSelections, SelectionForm::program);
    // A stored category outside the list leaves the box without a selection.
    SendMessageW(categories, CB_SETCURSEL, programSelections.metricCategory, 0);
    fillUnitBoxes(dialog, programSelections.metricCategory);
}

void recomputeMetricScreen(HWND dialog, int fieldId, const char* text) {
    for (int row = 0; row < kMetricRowCount; ++row)
        programSelections.metricUnit[row] = comboSelection(dialog, kMetricRows[row].unitBox);
    MetricResult result =
        recomputeMetric(programSelections.metricCategory, programSelections.metricUnit, fieldId, text);
    for (const MetricOutput& field : result.fields)
        if (field.write) writeFieldText(dialog, field.id, field.text);
}

void changeCategory(HWND dialog) {
    int category = comboSelection(dialog, kMetricCategoryCombo);
    emptyValueFields(dialog);
    fillUnitBoxes(dialog, category);
    programSelections.metricCategory = category;
}

// A unit box's change takes effect at the next key release; only the
// category box acts at once.
INT_PTR metricCommand(HWND dialog, int controlId, int code) {
    if (controlId == kMetricCategoryCombo && code == CBN_SELCHANGE) changeCategory(dialog);
    return 0;
}

void saveMetricScreen(HWND) { saveProgramSelections(kMetricScreenSlots); }

const ScreenFrame kMetricFrame = {
    {std::begin(kMetricValueFields), std::end(kMetricValueFields)},  // value fields
    {std::begin(kMetricValueFields), std::end(kMetricValueFields)},  // all four raise the soft keyboard
    {},                                                              // nothing emptied on focus
    kColourDialog | kColourStatic,                                   // labels on light blue
    false,                                                           // no menu bar
    false,                                                           // no default processing
    kMetricTextLimit,                                                // the read limit of a value
    initMetricScreen,
    recomputeMetricScreen,
    saveMetricScreen,
    metricCommand,
    nullptr,  // no messages of its own
};

}  // namespace

const DLGPROC metricScreenProcedure = ScreenProcedures<kMetricFrame>::dialog;
