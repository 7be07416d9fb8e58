// Saves that fail, made through the screens that make them: rates.txt from
// the Edit Currency Value screen and from the rate download, quantrel.dat
// from the Currency Exchange and Metric Conversion screens and from the main
// window's destruction. Each save fails at each step of the replace in turn,
// while another process holds the file open unshared, and in a data
// directory that cannot be written. Afterwards both files hold their bytes of
// before, nothing is left behind, the program's records still hold the
// user's change, and the next save once the fault is gone writes it.
//
// A read-only data directory: the platform keeps no read-only mark on a
// folder that stops files being made in it (Windows ignores the mark for
// that, and Wine does not even keep it), so a folder the program cannot
// write to is played by a data directory that does not exist.
//
// The download's own failures, and its failed replace at the create, write
// and replace steps and with a reader in this process, are in
// rate_download_test.cpp; here are the steps and holders it leaves out.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calculators/metric/metric.h"
#include "currency/core/currency_files.h"
#include "currency/core/download.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/http_server.h"
#include "tests/win/support/save_faults.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

// ---- the program's data --------------------------------------------------------------

// Both files as the program writes them.
const std::string kOldRates = "Old rates\nA\t1.5000\nB\t2.0000\nC\t0.5000\nD\t100.0000\n\0"s;
const std::string kEditedRates = "Old rates\nA\t1.5000\nB\t7.2500\nC\t0.5000\nD\t100.0000\n\0"s;
const std::string kServedRates = "Served rates\nA\t1.2500\nE\t9.0000\n";

std::string oldSelections() {
    uint8_t record[kSelectionRecordSize] = {};
    const int slots[kSelectionSlotCount] = {7, 0, 1, 2, 0, 2, 0, 1, 2, 3, 0, 0};
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) writeSlot(record, slot, slots[slot]);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

int slotOf(const std::string& record, int slot) {
    if (record.size() < kSelectionRecordSize) return -100;
    return readSlot(reinterpret_cast<const uint8_t*>(record.data()), slot);
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// ---- the main window -------------------------------------------------------------

// The program's main window, made as at start-up; destroying it saves
// quantrel.dat. Its creation reads the program's own folder, so it is made
// before the test points the data directory at its scratch folder.
class MainWindow {
public:
    MainWindow() {
        initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        window_ = FindWindowW(L"QUANTREL", L"Quantrel");
    }
    ~MainWindow() { destroy(); }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    bool exists() const { return window_ != nullptr; }
    // Destroys it and takes the quit message that ends the program's loop.
    void destroy() {
        if (window_ == nullptr || !IsWindow(window_)) return;
        DestroyWindow(window_);
        window_ = nullptr;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    HWND window_ = nullptr;
};

// ---- driving the screens -------------------------------------------------------------

void click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

void chooseInBox(HWND dialog, int box, int index) {
    SendDlgItemMessageW(dialog, box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, box)));
}

// Edits the rate of one entry of the Edit Currency Value list in place.
bool editRate(HWND dialog, int item, const wchar_t* text) {
    HWND list = GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST);
    SetFocus(list);
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(item), 0));
    if (editor == nullptr) return false;
    SetWindowTextW(editor, text);
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    return waitFor([&] { return !IsWindow(editor); });
}

INT_PTR openScreen(int templateId, DLGPROC procedure, const std::function<void(HWND)>& driver) {
    return runScreen(GetModuleHandleW(nullptr), templateId, procedure, programScreenData(), driver);
}

// ---- the saves ------------------------------------------------------------------------

class SaveFaultsTest;

// One save the program makes, and how the user's change shows.
struct SaveSite {
    const char* name;
    const wchar_t* file;  // the file the save writes
    bool needsMainWindow;
    bool downloadsFile;   // the download: only the faults rate_download_test.cpp leaves out
    // Makes the user's change through the screen; `raise` brings the fault
    // just before the save, which the function then makes.
    void (*changeAndSave)(SaveFaultsTest& test, const std::function<void()>& raise);
    // Empty when the program's records hold the change, else what they hold.
    std::string (*changeInMemory)(SaveFaultsTest& test);
    // The next save once the fault is gone; null when none follows.
    void (*saveAgain)(SaveFaultsTest& test);
    // Empty when the file holds the change, else what it holds.
    std::string (*changeInFile)(const std::string& bytes);
};

class SaveFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        deviceCaptureMessageBoxes(true);
        server_.answerWith({response("200 OK", kServedRates), false});
        setMachineText(kQuelvindorKey, kRatesServerValue, L"127.0.0.1:" + std::to_wstring(server_.port()));
    }
    void TearDown() override {
        failSavesAt(SaveStep::none);
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }

public:
    // The files as the program left them, and its records loaded from them
    // as the Currency Exchange screen loads them.
    void startOver() {
        wcscpy(dataDirectory, place_.directory().c_str());
        for (const std::wstring& name : filesIn(place_.directory())) DeleteFileW(place_.file(name.c_str()).c_str());
        ASSERT_TRUE(writeFileBytes(place_.file(kRatesFileName), kOldRates));
        ASSERT_TRUE(writeFileBytes(place_.file(kSelectionFileName), oldSelections()));
        programRates = CurrencyTable{};
        programSelections = SelectionState{};
        loadRates(dataDirectory, programRates);
        loadSelections(dataDirectory, programSelections, SelectionForm::program);
        deviceClearMessageBoxes();
    }
    const std::wstring& directory() const { return place_.directory(); }
    std::wstring missingDirectory() const { return place_.directory() + L"gone\\"; }
    std::string fileBytes(const wchar_t* name) const { return readFileBytes(place_.file(name)); }
    // The files in the data directory, in name order.
    std::vector<std::wstring> files() const {
        std::vector<std::wstring> names = filesIn(place_.directory());
        std::sort(names.begin(), names.end());
        return names;
    }

    MainWindow* mainWindow = nullptr;

private:
    ScratchPlace place_;
    TestServer server_;
};

// Edit Currency Value: B edited to 7.25, then Done.
void editRateAndDone(SaveFaultsTest&, const std::function<void()>& raise) {
    openScreen(IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, [&](HWND dialog) {
        EXPECT_TRUE(editRate(dialog, 1, L"7.25")) << "the editor did not close";
        raise();
        pressDone(dialog);
    });
}
std::string editedRateInMemory(SaveFaultsTest&) {
    double rate = programRates.entries[1].rate;
    return rate == 7.25 ? "" : "rate of B " + std::to_string(rate);
}
void editCurrencyDone(SaveFaultsTest&) {
    openScreen(IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, [](HWND dialog) { pressDone(dialog); });
}
std::string editedRatesInFile(const std::string& bytes) { return bytes == kEditedRates ? "" : printableBytes(bytes); }

// Currency Exchange: row 3 on D and Auto Update ticked, taken at a key
// release, then Done.
void chooseCurrencyAndDone(SaveFaultsTest&, const std::function<void()>& raise) {
    openScreen(IDD_CURRENCY, currencyScreenProcedure, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CURRENCY_BOX_3, CB_SETCURSEL, 3, 0);
        typeInto(dialog, IDC_CURRENCY_AMOUNT_1, L"1");
        click(dialog, IDC_CURRENCY_AUTO_UPDATE);
        raise();
        pressDone(dialog);
    });
}
std::string currencyChoiceInMemory(SaveFaultsTest&) {
    if (programSelections.currencyRow[2] == 3 && programSelections.autoUpdate == 1) return "";
    return "row 3 " + std::to_string(programSelections.currencyRow[2]) + ", Auto Update " +
           std::to_string(programSelections.autoUpdate);
}
std::string currencyChoiceInFile(const std::string& bytes) {
    if (slotOf(bytes, kSlotCurrencyRow + 2) == 3 && slotOf(bytes, kSlotAutoUpdate) == 1) return "";
    return printableBytes(bytes);
}

// Metric Conversion: Weight, row 2 on its sixth unit, taken at a key
// release, then Done.
void chooseMetricAndDone(SaveFaultsTest&, const std::function<void()>& raise) {
    openScreen(IDD_METRIC, metricScreenProcedure, [&](HWND dialog) {
        chooseInBox(dialog, IDC_METRIC_CATEGORY, kMetricWeight);
        SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_2, CB_SETCURSEL, 5, 0);
        typeInto(dialog, IDC_METRIC_VALUE_1, L"1");
        raise();
        pressDone(dialog);
    });
}
std::string metricChoiceInMemory(SaveFaultsTest&) {
    if (programSelections.metricCategory == kMetricWeight && programSelections.metricUnit[1] == 5) return "";
    return "category " + std::to_string(programSelections.metricCategory) + ", unit 2 " +
           std::to_string(programSelections.metricUnit[1]);
}
std::string metricChoiceInFile(const std::string& bytes) {
    if (slotOf(bytes, kSlotMetricCategory) == kMetricWeight && slotOf(bytes, kSlotMetricUnit + 1) == 5) return "";
    return printableBytes(bytes);
}

// The program ends with choices made since quantrel.dat was last written.
void endProgramWithNewChoices(SaveFaultsTest& test, const std::function<void()>& raise) {
    programSelections.currencyRow[0] = 4;
    programSelections.metricCategory = kMetricUsLiquid;
    programSelections.todayItem = 1;
    raise();
    test.mainWindow->destroy();
}
std::string endChoicesInMemory(SaveFaultsTest&) {
    if (programSelections.currencyRow[0] == 4 && programSelections.metricCategory == kMetricUsLiquid &&
        programSelections.todayItem == 1)
        return "";
    return "row 1 " + std::to_string(programSelections.currencyRow[0]) + ", category " +
           std::to_string(programSelections.metricCategory) + ", Today item " +
           std::to_string(programSelections.todayItem);
}

void destroyMainWindow(SaveFaultsTest& test) { test.mainWindow->destroy(); }

// Currency Sync. on the Currency Exchange screen.
void syncOnCurrencyScreen(SaveFaultsTest&, const std::function<void()>& raise) {
    openScreen(IDD_CURRENCY, currencyScreenProcedure, [&](HWND dialog) {
        raise();
        click(dialog, IDC_CURRENCY_SYNC);
        pressDone(dialog);
    });
}
std::string tableAsLoaded(SaveFaultsTest&) {
    CurrencyTable loaded = {};
    std::string file = kOldRates;
    parseRates(file.data(), file.size(), loaded);
    return memcmp(&loaded, &programRates, sizeof loaded) == 0 ? "" : "a table that is not the one loaded";
}
// Once the fault is gone the download goes through, and the screen converts
// with the downloaded table at once.
void syncAgain(SaveFaultsTest& test) {
    syncOnCurrencyScreen(test, [] {});
    CurrencyTable served = {};
    parseRates(kServedRates.data(), kServedRates.size(), served);
    EXPECT_EQ(0, memcmp(&served, &programRates, sizeof served)) << "the screen's table is not the downloaded one";
}
std::string servedRatesInFile(const std::string& bytes) { return bytes == kServedRates ? "" : printableBytes(bytes); }

const SaveSite kSites[] = {
    {"Edit Currency Value, Done", kRatesFileName, false, false, editRateAndDone, editedRateInMemory,
     editCurrencyDone, editedRatesInFile},
    {"Currency Exchange, Done", kSelectionFileName, true, false, chooseCurrencyAndDone, currencyChoiceInMemory,
     destroyMainWindow, currencyChoiceInFile},
    {"Metric Conversion, Done", kSelectionFileName, true, false, chooseMetricAndDone, metricChoiceInMemory,
     destroyMainWindow, metricChoiceInFile},
    // The program is ending: no save follows.
    {"main window destroyed", kSelectionFileName, true, false, endProgramWithNewChoices, endChoicesInMemory,
     nullptr, nullptr},
    {"Currency Sync.", kRatesFileName, false, true, syncOnCurrencyScreen, tableAsLoaded, syncAgain,
     servedRatesInFile},
};

bool downloadTestCovers(const Fault& fault) {
    return fault.kind == FaultKind::failingStep &&
           (fault.step == SaveStep::createTemporary || fault.step == SaveStep::write ||
            fault.step == SaveStep::replace);
}

// The message the download shows when it cannot replace rates.txt.
std::string createFileErrorShown() {
    const std::vector<ShownMessageBox>& shown = deviceMessageBoxes();
    if (shown.size() != 1) return std::to_string(shown.size()) + " message boxes";
    std::string text = narrow(shown[0].text);
    const std::string label = "CreateFile Error: ";
    bool labelled = text.compare(0, label.size(), label) == 0 && text.size() > label.size() &&
                    text.find_first_not_of("0123456789abcdef", label.size()) == std::string::npos;
    return labelled && shown[0].caption == L"Error" ? "" : "\"" + text + "\"";
}

TEST_F(SaveFaultsTest, FailedSaveKeepsTheFileAndTheChange) {
    const std::vector<std::wstring> onlyTheTwoFiles = {kSelectionFileName, kRatesFileName};  // name order
    for (const SaveSite& site : kSites) {
        for (const Fault& fault : kFaults) {
            if (site.downloadsFile && downloadTestCovers(fault)) continue;
            std::string name = std::string(site.name) + ", " + fault.name;
            SCOPED_TRACE(name);
            std::unique_ptr<MainWindow> mainWindow(site.needsMainWindow ? new MainWindow : nullptr);
            if (mainWindow) {
                ASSERT_TRUE(mainWindow->exists());
            }
            this->mainWindow = mainWindow.get();
            startOver();

            std::unique_ptr<HeldByAnotherProcess> holder;
            auto raise = [&] { raiseFault(fault, std::wstring(dataDirectory) + site.file, &holder, dataDirectory, missingDirectory()); };
            site.changeAndSave(*this, raise);
            failSavesAt(SaveStep::none);
            holder.reset();
            wcscpy(dataDirectory, directory().c_str());

            EXPECT_EQ(printableBytes(kOldRates), printableBytes(fileBytes(kRatesFileName))) << "rates.txt changed";
            EXPECT_EQ(printableBytes(oldSelections()), printableBytes(fileBytes(kSelectionFileName))) << "quantrel.dat changed";
            EXPECT_EQ(onlyTheTwoFiles, files()) << "files left in the data directory";
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(missingDirectory().c_str()))
                << "the missing data directory was made";
            std::string inMemory = site.changeInMemory(*this);
            EXPECT_EQ("", inMemory) << "expected the user's change in memory, got " << inMemory;
            if (site.downloadsFile) {
                std::string shown = createFileErrorShown();
                EXPECT_EQ("", shown) << "expected one message \"CreateFile Error: <hex>\", got " << shown;
            }
            if (site.saveAgain == nullptr) continue;
            deviceClearMessageBoxes();
            site.saveAgain(*this);
            std::string inFile = site.changeInFile(fileBytes(site.file));
            EXPECT_EQ("", inFile) << "expected the change in the file once the fault is gone, got " << inFile;
            EXPECT_EQ(onlyTheTwoFiles, files()) << "files left in the data directory after the next save";
        }
    }
}

}  // namespace
