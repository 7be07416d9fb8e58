// The item's two saves, the rates list's accepted edit (rates.txt) and the
// currency calculator's Done (quantrel.dat), go through the atomic replace:
// a write that breaks off halfway leaves the file and the data directory as
// they were and the change in the item, and the next save writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/win/plugin/plugin_host.h"

using namespace plugin_test;

namespace {

const std::string kSelections(kSelectionRecordSize, '\0');

// The calculator with row 1 on Euro, taken at a key release; `beforeDone` runs just before Done.
void chooseEuro(const std::function<void()>& beforeDone) {
    runScreen(GetModuleHandleW(nullptr), IDD_CALCULATOR, calculatorProcedure, calculatorData(), [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CALC_BOX_1, CB_SETCURSEL, 1, 0);
        typeInto(dialog, IDC_CALC_AMOUNT_2, L"1");
        beforeDone();
        pressDone(dialog);
    });
}

struct SaveSite {
    const char* name;
    const wchar_t* file;
    // Makes the change through the item; `fail` arms the fault just before the save.
    void (*changeAndSave)(ItemOnHost& host, const std::function<void()>& fail);
    bool (*changeInMemory)(ItemOnHost& host);
    void (*saveAgain)(ItemOnHost& host);
    bool (*changeInFile)(const std::string& bytes);
};

const SaveSite kSites[] = {
    {"rates list, accepted edit", kRatesFileName,
     [](ItemOnHost& host, const std::function<void()>& fail) {
         HWND list = host.startShown();
         fail();
         EXPECT_TRUE(editRate(list, 1, L"7.25"));
     },
     [](ItemOnHost& host) { return pluginState.table.entries[1].rate == 7.25 && cellText(host.list(), 1, 0) == L"7.250000"; },
     [](ItemOnHost& host) { EXPECT_TRUE(editRate(host.list(), 0, L"3.5")); },
     [](const std::string& bytes) { return bytes == std::string("Test rates\nDollar\t3.5000\nEuro\t7.2500\n") + '\0'; }},
    {"currency calculator, Done", kSelectionFileName,
     [](ItemOnHost&, const std::function<void()>& fail) {
         readDataDirectory();
         chooseEuro(fail);
     },
     [](ItemOnHost&) { return pluginSelections.currencyRow[0] == 1; },
     // Opening reads quantrel.dat again: the user chooses again.
     [](ItemOnHost&) { chooseEuro([] {}); },
     [](const std::string& bytes) {
         return bytes.size() == kSelectionRecordSize && readSlot(reinterpret_cast<const uint8_t*>(bytes.data()), 1) == 1;
     }},
};

TEST(PluginSaveFaults, WriteBrokenOffKeepsTheFileAndTheChangeUntilTheNextSave) {
    for (const SaveSite& site : kSites) {
        SCOPED_TRACE(site.name);
        ItemOnHost host;
        const std::string rates = readFileBytes(host.place.file(kRatesFileName));
        ASSERT_TRUE(writeFileBytes(host.place.file(kSelectionFileName), kSelections));
        auto onlyTheTwoFiles = [&] {
            std::vector<std::wstring> files = filesIn(host.place.directory());
            std::sort(files.begin(), files.end());
            return files == std::vector<std::wstring>{kSelectionFileName, kRatesFileName};
        };
        site.changeAndSave(host, [] { failSavesAt(SaveStep::write); });
        failSavesAt(SaveStep::none);
        EXPECT_EQ(rates, readFileBytes(host.place.file(kRatesFileName)));
        EXPECT_EQ(kSelections, readFileBytes(host.place.file(kSelectionFileName)));
        EXPECT_TRUE(onlyTheTwoFiles()) << "the temporary file is removed";
        EXPECT_TRUE(site.changeInMemory(host)) << "the item keeps the user's change";
        site.saveAgain(host);
        EXPECT_TRUE(site.changeInFile(readFileBytes(host.place.file(site.file)))) << "the next save writes the change";
        EXPECT_TRUE(onlyTheTwoFiles());
    }
}

}  // namespace
