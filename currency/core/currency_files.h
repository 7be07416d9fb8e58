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

// Reads rates.txt into `table` (see parseRates). A missing, locked or
// unreadable file leaves `table` as it was.
void loadRates(const wchar_t* dataDirectory, CurrencyTable& table);

// Writes `table` to rates.txt (see composeRates) through a temporary file in
// the data directory that then replaces rates.txt. If any step fails, the old
// rates.txt stays as it was. True when rates.txt now holds the table.
bool saveRates(const wchar_t* dataDirectory, const CurrencyTable& table);

// Reads the first 100 bytes of quantrel.dat (a shorter file leaves the rest
// zero) and overlays them onto `state` in the given form (see
// parseSelections). A missing or locked file leaves `state` as it was.
void loadSelections(const wchar_t* dataDirectory, SelectionState& state, SelectionForm form);

// Writes `state` to quantrel.dat, replacing the file as saveRates does.
// program: every slot from `state`.
// plugin: reads the file's first 100 bytes (a missing file counts as zeros),
//   rewrites slots 0 to 4 and writes it back; slots 5 to 11 and the padding
//   keep their bytes. A file that exists but cannot be read is left alone.
void saveSelections(const wchar_t* dataDirectory, const SelectionState& state, SelectionForm form);

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
