// Saves of the home-screen item that fail: rates.txt at an accepted edit in
// the rates list, and quantrel.dat (the item's slots) at Done on the currency
// calculator. Each save fails at each step of the replace in turn, while
// another process holds the file open unshared, and in a data directory that
// cannot be written (one that does not exist: the platform keeps no
// read-only mark on a folder that stops files being made in it). Afterwards
// both files hold their bytes of before, nothing is left behind, the item
// still holds the user's change, and the next save once the fault is gone
// writes it.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/win/plugin/plugin_host.h"
#include "tests/win/support/save_faults.h"
#include "tests/win/support/win_test.h"

using namespace plugin_test;
using namespace std::string_literals;

namespace {

// ---- the item's data ------------------------------------------------------------------

// rates.txt as a save writes it, and after the two edits of the test.
const std::string kOldRates = "Old rates\nUS Dollar\t1.0000\nEuro\t2.0000\nYen\t149.2500\n\0"s;
const std::string kEditedRates = "Old rates\nUS Dollar\t1.0000\nEuro\t7.2500\nYen\t3.5000\n\0"s;

// The item's slots on rows 0 to 3; the program's slots hold choices of its own.
std::string oldSelections() {
    uint8_t record[kSelectionRecordSize] = {};
    const int slots[kSelectionSlotCount] = {0, 0, 1, 2, 0, 4, 1, 2, 3, 0, 1, 1};
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) writeSlot(record, slot, slots[slot]);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

// Edits a rate in place and ends the edit as accepted.
bool editRate(HWND list, int row, const wchar_t* text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    if (editor == nullptr) return false;
    SetWindowTextW(editor, text);
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    return waitFor([&] { return !IsWindow(editor); });
}

// The currency calculator: row 1 on Yen, taken at a key release, then Done.
void chooseYenAndDone(const std::function<void()>& raise) {
    runScreen(GetModuleHandleW(nullptr), IDD_CALCULATOR, calculatorProcedure, calculatorData(), [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_1, CB_SETCURSEL, 2, 0);
        typeInto(dialog, IDC_CALC_AMOUNT_2, L"1");
        raise();
        pressDone(dialog);
    });
}

// One save the item makes, and how the user's change shows.
struct SaveSite {
    const char* name;
    const wchar_t* file;  // the file the save writes
    // Makes the change through the item; `raise` brings the fault just
    // before the save, which the function then makes.
    void (*changeAndSave)(ItemOnHost& host, const std::function<void()>& raise);
    // Empty when the item holds the change, else what it holds.
    std::string (*changeInMemory)(ItemOnHost& host);
    // The next save once the fault is gone.
    void (*saveAgain)(ItemOnHost& host);
    // Empty when the file holds the change, else what it holds.
    std::string (*changeInFile)(const std::string& bytes);
};

void editEuro(ItemOnHost& host, const std::function<void()>& raise) {
    HWND list = host.startShown();
    ASSERT_NE(nullptr, list);
    raise();
    EXPECT_TRUE(editRate(list, 1, L"7.25")) << "the editor did not close";
}
std::string euroInMemory(ItemOnHost& host) {
    double rate = pluginState.table.entries[1].rate;
    std::wstring shown = cellText(host.list(), 1, 0);
    if (rate == 7.25 && shown == L"7.250000") return "";
    return "rate " + std::to_string(rate) + ", shown as " + std::string(shown.begin(), shown.end());
}
// Another accepted edit saves the whole table.
void editYen(ItemOnHost& host) { EXPECT_TRUE(editRate(host.list(), 2, L"3.5")) << "the editor did not close"; }
std::string editsInFile(const std::string& bytes) { return bytes == kEditedRates ? "" : printableBytes(bytes); }

void chooseYenOnCalculator(ItemOnHost&, const std::function<void()>& raise) {
    readDataDirectory();
    chooseYenAndDone(raise);
}
std::string yenInMemory(ItemOnHost&) {
    int row = pluginSelections.currencyRow[0];
    return row == 2 ? "" : "row 1 on " + std::to_string(row);
}
// Opening the calculator reads quantrel.dat again: the user chooses again.
void chooseYenAgain(ItemOnHost&) {
    chooseYenAndDone([] {});
}
std::string yenInFile(const std::string& bytes) {
    const std::string old = oldSelections();
    bool kept = bytes.size() == old.size() && bytes.compare(kPluginSlotCount * kSelectionSlotSize, std::string::npos, old,
                                                            kPluginSlotCount * kSelectionSlotSize, std::string::npos) == 0;
    bool chosen = bytes.size() == old.size() && readSlot(reinterpret_cast<const uint8_t*>(bytes.data()), kSlotCurrencyRow) == 2;
    return kept && chosen ? "" : printableBytes(bytes);
}

const SaveSite kSites[] = {
    {"rates list, accepted edit", kRatesFileName, editEuro, euroInMemory, editYen, editsInFile},
    {"currency calculator, Done", kSelectionFileName, chooseYenOnCalculator, yenInMemory, chooseYenAgain, yenInFile},
};

TEST(PluginSaveFaults, FailedSaveKeepsTheFileAndTheChange) {
    const std::vector<std::wstring> onlyTheTwoFiles = {kSelectionFileName, kRatesFileName};  // name order
    for (const SaveSite& site : kSites) {
        for (const Fault& fault : kFaults) {
            std::string name = std::string(site.name) + ", " + fault.name;
            SCOPED_TRACE(name);
            ItemOnHost host;
            const std::wstring directory = host.place.directory();
            const std::wstring missing = directory + L"gone\\";
            ASSERT_TRUE(writeFileBytes(host.place.file(kRatesFileName), kOldRates));
            ASSERT_TRUE(writeFileBytes(host.place.file(kSelectionFileName), oldSelections()));
            pluginSelections = SelectionState{};

            std::unique_ptr<HeldByAnotherProcess> holder;
            auto raise = [&] { raiseFault(fault, directory + site.file, &holder, pluginState.dataDirectory, missing); };
            site.changeAndSave(host, raise);
            failSavesAt(SaveStep::none);
            holder.reset();
            wcscpy(pluginState.dataDirectory, directory.c_str());

            std::vector<std::wstring> files = filesIn(directory);
            std::sort(files.begin(), files.end());
            EXPECT_EQ(printableBytes(kOldRates), printableBytes(readFileBytes(host.place.file(kRatesFileName)))) << "rates.txt changed";
            EXPECT_EQ(printableBytes(oldSelections()), printableBytes(readFileBytes(host.place.file(kSelectionFileName))))
                << "quantrel.dat changed";
            EXPECT_EQ(onlyTheTwoFiles, files) << "files left in the data directory";
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(missing.c_str())) << "the missing data directory was made";
            std::string inMemory = site.changeInMemory(host);
            EXPECT_EQ("", inMemory) << "expected the user's change in the item, got " << inMemory;

            site.saveAgain(host);
            std::string inFile = site.changeInFile(readFileBytes(host.place.file(site.file)));
            EXPECT_EQ("", inFile) << "expected the change in the file once the fault is gone, got " << inFile;
            files = filesIn(directory);
            std::sort(files.begin(), files.end());
            EXPECT_EQ(onlyTheTwoFiles, files) << "files left in the data directory after the next save";
        }
    }
}

}  // namespace
