// The rates list both deliverables show: a report list over a currency
// table, "Currency" on the left and "Rate" on the right, every cell asked for
// when it is drawn, the rate edited in place in a 20-character editor. What
// an accepted rate does differs: Edit Currency Value keeps it for its Done,
// the home-screen item saves it at once; the owner says so through a hook.
#pragma once
#include <windows.h>

#include "currency/core/rates_format.h"

// Called with the entry and the rate read from an accepted edit, after the
// rate is in the table.
typedef void (*RateAccepted)(HWND list, int entry, double rate);

struct RatesListView {
    CurrencyTable* table;  // what the list shows and edits
    int rateHeader;        // string ids of the column headers
    int currencyHeader;
    RateAccepted accepted;
};

// Makes the list over the parent's client area with one row per entry of the
// table, or null when the list, a column or a row cannot be made (nothing is
// left behind then). `view` must outlive the list.
HWND createRatesListView(HWND parent, int controlId, HINSTANCE resources, DWORD style, const RatesListView* view);

// Gives the list one row per entry of its table, so that currencies added to
// the table appear and removed ones go, and fits the columns again.
void syncRatesListRows(HWND list);

// Narrows the "Rate" column to what its width leaves beside "Currency" and a
// vertical scroll bar of any width: the list never scrolls sideways. Call
// after the list changed size.
void fitRatesListColumns(HWND list);

// The list's notifications to its parent: cell texts, the editor's limit and
// the end of an edit. True when the notification was the list's; the parent
// answers it with 0 (an ended edit's label is not taken over).
bool onRatesListNotify(const NMHDR* record, int controlId);
