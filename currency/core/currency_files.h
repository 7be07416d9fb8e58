// The currency core's Win32 side: rates.txt, quantrel.dat, the `Updated`
// flag and the Today item registration. Declarations only need wchar_t, so
// any code may include this; the definitions are in the *_win.cpp files.
//
// Every function takes the data directory (the program's folder with its
// trailing path separator; the file name is appended directly) and the
// caller's own process-wide record, so the program and the plug-in each pass
// theirs. Files are opened unshared and closed within each call. Nothing here
// shows a message: a failure leaves the file and the record as they were.
#pragma once
#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"

// Registry names shared by the program and the plug-in (HKEY_LOCAL_MACHINE).
constexpr const wchar_t* kQuelvindorKey = L"Software\\Orvandel\\quelvindor";
constexpr const wchar_t* kUpdatedValue = L"Updated";
constexpr const wchar_t* kModulePathValue = L"modulePath";
constexpr const wchar_t* kTodayItemKey = L"SOFTWARE\\Microsoft\\Today\\Items\\\"Zentavo\"";

constexpr const wchar_t* kRatesFileName = L"rates.txt";
constexpr const wchar_t* kSelectionFileName = L"quantrel.dat";

// How a read of a data file went. A file the other deliverable holds open
// (it opens unshared) is waited for about half a second before the read
// counts as failed.
enum class ReadResult { ok, missing, failed };

// Reads rates.txt into `table` (see parseRates). A missing, held or
// unreadable file leaves `table` as it was.
ReadResult loadRates(const wchar_t* dataDirectory, CurrencyTable& table);

// Writes `table` to rates.txt (see composeRates) through a temporary file in
// the data directory that then replaces rates.txt. If any step fails, the old
// rates.txt stays as it was. True when rates.txt now holds the table.
bool saveRates(const wchar_t* dataDirectory, const CurrencyTable& table);

// Read, change, write: reads rates.txt as it is now, applies the edits whose
// entry still bears the edited name (see applyRateEdits) and saves the
// result when an edit applied; a missing file is saved as the empty table
// (a line feed and the zero byte). On success `table` becomes the file's
// table. A file that cannot be read (held, unreadable) is not written and
// `table` stays as it was, as it does when the save fails. The program and
// the plug-in take turns: neither writes between the other's read and write.
// True when rates.txt was written.
bool saveRateEdits(const wchar_t* dataDirectory, const RateEdit* edits, size_t count, CurrencyTable& table);

// Reads the first 100 bytes of quantrel.dat (a shorter file leaves the rest
// zero) and overlays them onto `state` in the given form (see
// parseSelections). A missing, held or unreadable file leaves `state` as it
// was.
ReadResult loadSelections(const wchar_t* dataDirectory, SelectionState& state, SelectionForm form);

// Read, change, write: reads quantrel.dat's first 100 bytes as they are now,
// rewrites the slots of `slots` from `state` (see composeSlots) and replaces
// the file as saveRates does; every other byte keeps what the file held, so
// each screen writes only its own choices. A missing file starts as the
// form's empty record: program, every slot holding 0 as the program writes
// its defaults; plugin, zero bytes. A file that exists but cannot be read is
// left alone. The program and the plug-in take turns as for saveRateEdits.
// True when the file now holds the slots.
bool saveSelections(const wchar_t* dataDirectory, const SelectionState& state, SelectionForm form, SlotSet slots);

// Sets `Updated` (REG_DWORD) to 1 under kQuelvindorKey, creating the key
// when missing: the rates were edited and the plug-in is to reload them.
void setUpdatedFlag();

// The plug-in's side of `Updated`: true when the value is a REG_DWORD equal
// to exactly 1, which is then set back to 0. Any other value (0, 2, missing,
// another type) is left as it stands and gives false.
bool consumeUpdatedFlag();

// Registers the plug-in as a Today item under kTodayItemKey (created when
// missing): DLL "Zentavo.dll" (REG_SZ), Enabled 1 or 0, Options 0, Type 4, in
// that order. Other values of the key are left alone.
void registerTodayItem(bool enabled);

// Test seam for the atomic replace behind saveRates and saveSelections: the
// next saves fail at `step` as the platform call would there, until it is set
// back to SaveStep::none. The write step writes half the bytes, then fails.
enum class SaveStep { none, createTemporary, write, flush, close, replace };
void failSavesAt(SaveStep step);
