// The Computer screen: typing into one of the five notation fields rewrites
// the other four at every key release; the combo box shows the size and
// ranges of a data type.
#include <iterator>
#include <vector>

#include "calculators/computer/computer.h"
#include "frame/screen_frame.h"
#include "calculators/screens.h"
#include "frame/wide_text.h"

namespace {

// Writes row `index` of the data-type table into 1014 to 1017; any other
// index changes nothing.
void showDataType(HWND dialog, int index) {
    const DataTypeRow* row = dataTypeRow(index);
    if (row == nullptr) return;
    writeFieldText(dialog, IDC_COMPUTER_TYPE_SIZE, row->size);
    writeFieldText(dialog, IDC_COMPUTER_TYPE_MIN, row->min);
    writeFieldText(dialog, IDC_COMPUTER_TYPE_MAX, row->max);
    writeFieldText(dialog, IDC_COMPUTER_TYPE_UNSIGNED_MAX, row->unsignedMax);
}

void initComputer(HWND dialog) {
    for (int field : kComputerValueFields) SetDlgItemTextW(dialog, field, L"");
    HWND combo = GetDlgItem(dialog, IDC_COMPUTER_TYPE);
    for (int i = 0; i < kDataTypeCount; ++i)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widenText(dataTypeRow(i)->name).c_str()));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    InvalidateRect(combo, nullptr, TRUE);
    showDataType(dialog, 0);
}

// A key release in one of the five fields: the other notations of its value,
// written in the order convertBases gives (the ASCII field first, always).
void convertField(HWND dialog, int fieldId, const char* text) {
    BaseConversion conversion = convertBases(fieldId, text);
    for (int i = 0; i < conversion.count; ++i)
        writeFieldText(dialog, conversion.fields[i].controlId, conversion.fields[i].text);
}

// Every command of the combo box, whatever its notification, shows the
// type that is selected.
INT_PTR onComputerCommand(HWND dialog, int controlId, int) {
    if (controlId == IDC_COMPUTER_TYPE) {
        LRESULT selected = SendDlgItemMessageW(dialog, IDC_COMPUTER_TYPE, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) showDataType(dialog, static_cast<int>(selected));
    }
    return 0;
}

const std::vector<int> kFiveFields(std::begin(kComputerValueFields), std::end(kComputerValueFields));

const ScreenFrame kComputerFrame = {
    kFiveFields,                    // value fields, 1018 first
    kFiveFields,                    // all five raise the soft keyboard
    kFiveFields,                    // a gain of focus in any empties all five
    kColourDialog | kColourStatic,  // labels and type texts on light blue
    false,                          // no menu bar
    true,                           // other messages also to default processing
    0,                              // fields read up to the usual limit
    initComputer,
    convertField,
    nullptr,
    onComputerCommand,
    nullptr,
};

}  // namespace

const DLGPROC computerScreenProcedure = ScreenProcedures<kComputerFrame>::dialog;
