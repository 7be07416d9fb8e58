// Zentavo, the home-screen item that lists the currency rates: its one
// process-wide record and the operations of its item window, rates list and
// currency calculator. Everything runs on the host's user-interface thread.
#pragma once
#include <windows.h>

#include <vector>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"
#include "frame/screen_frame.h"
#include "platform/pocketpc/todaycmn.h"

// Created zeroed when the library loads; alive as long as it is loaded.
struct PluginState {
    HINSTANCE instance;       // from the item record: resources and the window class
    HWND itemWindow;          // owner of the calculator
    HWND ratesList;           // null until the list has been made
    bool firstQueryPending;   // the next refresh query is the first one
    wchar_t dataDirectory[MAX_PATH];  // from modulePath, with its trailing separator
    CurrencyTable table;      // shown by the list, used by the calculator
    std::vector<RateEdit> unsavedEdits;  // accepted rates whose save failed, for the next save
};

extern PluginState pluginState;
// The plug-in's own selections; it uses reserved and the four currency rows.
extern SelectionState pluginSelections;

// ---- entry points (exported by ordinal: 240 and 241) ----
// Makes the item window for an enabled item; null when the item is switched
// off or the window cannot be made. The host owns the record.
extern "C" HWND initializeItem(TODAYLISTITEM* item, HWND parent);
// The options dialog (template 500): it only shows its texts.
extern "C" INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// ---- item window ----
LRESULT CALLBACK itemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Fills pluginState.dataDirectory from modulePath; a missing value leaves it
// as it was.
void readDataDirectory();
// Loads rates.txt into pluginState.table, with the rates whose save failed
// still in force, and lets the list's rows follow it.
void reloadRates();

// ---- rates list ----
// Makes the rates list over the parent's client area: null when the list, a
// column or a row cannot be made (nothing is left behind then). Its rows
// follow pluginState.table through syncRatesListRows.
HWND createRatesList(HWND parent);
// The item window's notifications (the list's); always 0.
LRESULT onItemNotify(NMHDR* record);

// ---- currency calculator (template 103) ----
INT_PTR CALLBACK calculatorProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// What the calculator works on: the item's data directory and table, the
// plug-in's selections, and a save of its slots.
ScreenData calculatorData();
