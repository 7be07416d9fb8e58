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
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

const int kMetricValueFields[kMetricRowCount] = {IDC_METRIC_VALUE_1, IDC_METRIC_VALUE_2, IDC_METRIC_VALUE_3,
                                                 IDC_METRIC_VALUE_4};

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
    HWND categories = GetDlgItem(dialog, IDC_METRIC_CATEGORY);
    for (int category = 0; category < kMetricCategoryCount; ++category)
        addComboText(categories, metricCategoryName(category));
    const ScreenData& data = screenDataOf(dialog);
    loadSelections(data.dataDirectory, *data.selections, SelectionForm::program);
    // A stored category outside the list leaves the box without a selection.
    SendMessageW(categories, CB_SETCURSEL, data.selections->metricCategory, 0);
    fillUnitBoxes(dialog, data.selections->metricCategory);
}

void recomputeMetricScreen(HWND dialog, int fieldId, const char* text) {
    SelectionState& selections = *screenDataOf(dialog).selections;
    for (int row = 0; row < kMetricRowCount; ++row)
        selections.metricUnit[row] = comboSelection(dialog, kMetricRows[row].unitBox);
    MetricResult result = recomputeMetric(selections.metricCategory, selections.metricUnit, fieldId, text);
    for (const MetricOutput& field : result.fields)
        if (field.write) writeFieldText(dialog, field.id, field.text);
}

void changeCategory(HWND dialog) {
    int category = comboSelection(dialog, IDC_METRIC_CATEGORY);
    emptyValueFields(dialog);
    fillUnitBoxes(dialog, category);
    screenDataOf(dialog).selections->metricCategory = category;
}

// A unit box's change takes effect at the next key release; only the
// category box acts at once.
INT_PTR metricCommand(HWND dialog, int controlId, int code) {
    if (controlId == IDC_METRIC_CATEGORY && code == CBN_SELCHANGE) changeCategory(dialog);
    return 0;
}

void saveMetricScreen(HWND dialog) { screenDataOf(dialog).saveSelections(kMetricScreenSlots); }

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
