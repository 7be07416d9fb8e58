// Saves on the platform: the atomic replace under every fault, a load that
// meets a held file, and each save the program makes failing once mid-write
// without losing the file or the user's change.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "calculators/metric/metric.h"
#include "calculators/screens.h"
#include "currency/core/currency_files.h"
#include "currency/core/download.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "tests/win/support/http_server.h"
#include "tests/win/support/held_file.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

const std::string kOldRates = "Old rates\nA\t1.5000\nB\t2.0000\nC\t0.5000\nD\t100.0000\n\0"s;
const std::string kServedRates = "Served rates\nA\t1.2500\nE\t9.0000\n";

const std::string kOldSelections = selectionRecord({7, 0, 1, 2, 0, 2, 0, 1, 2, 3, 0, 0});

class FilesTest : public ::testing::Test {
protected:
    void TearDown() override {
        failSavesAt(SaveStep::none);
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }
    // The two files as the program left them, and its records loaded from them.
    void startOver() {
        wcscpy(dataDirectory, place.directory().c_str());
        for (const std::wstring& name : filesIn(place.directory())) DeleteFileW(place.file(name.c_str()).c_str());
        ASSERT_TRUE(writeFileBytes(place.file(kRatesFileName), kOldRates));
        ASSERT_TRUE(writeFileBytes(place.file(kSelectionFileName), kOldSelections));
        programRates = CurrencyTable{};
        programSelections = SelectionState{};
        loadRates(dataDirectory, programRates);
        loadSelections(dataDirectory, programSelections, SelectionForm::program);
    }
    // Both files hold their old bytes and nothing else lies beside them.
    void expectOldFiles() {
        EXPECT_EQ(kOldRates, readFileBytes(place.file(kRatesFileName)));
        EXPECT_EQ(kOldSelections, readFileBytes(place.file(kSelectionFileName)));
        EXPECT_EQ(2u, filesIn(place.directory()).size()) << "files left in the data directory";
    }
    ScratchPlace place;
};

// A save that fails at any step of the replace, against a file another
// opener holds, or in a data directory that cannot be written (played by one
// that does not exist) keeps the previous file and leaves nothing behind.
TEST_F(FilesTest, FailedReplaceKeepsThePreviousFile) {
    auto table = std::make_unique<CurrencyTable>();
    std::strcpy(table->headerLine, "New");
    SelectionState state = {};
    state.currencyRow[0] = 5;
    const std::wstring missing = place.directory() + L"gone\\";
    enum { held = 10, missingDirectory = 11 };
    for (int fault : {int(SaveStep::createTemporary), int(SaveStep::write), int(SaveStep::flush),
                      int(SaveStep::close), int(SaveStep::replace), int(held), int(missingDirectory)}) {
        SCOPED_TRACE(fault);
        startOver();
        for (const wchar_t* file : {kRatesFileName, kSelectionFileName}) {
            std::wstring directory = fault == missingDirectory ? missing : place.directory();
            if (fault < held) failSavesAt(static_cast<SaveStep>(fault));
            HeldFile holder(fault == held ? place.file(file) : L"");
            bool saved = file == kRatesFileName
                             ? saveRates(directory.c_str(), *table)
                             : saveSelections(directory.c_str(), state, SelectionForm::program, kAllSlots);
            failSavesAt(SaveStep::none);
            EXPECT_FALSE(saved) << "a failed save reports success";
        }
        expectOldFiles();
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(missing.c_str())) << "the missing directory was made";
    }
}

// The other deliverable holds a file only for its own read or write: a load
// that meets it waits, then reads the file.
TEST_F(FilesTest, FileHeldForAMomentIsWaitedFor) {
    startOver();
    auto holder = std::make_unique<HeldFile>(place.file(kRatesFileName));
    ASSERT_TRUE(holder->holding());
    std::thread letGo([&holder] {
        Sleep(150);  // how long the other deliverable holds the file
        holder->release();
    });
    CurrencyTable table = {};
    EXPECT_EQ(ReadResult::ok, loadRates(dataDirectory, table));
    letGo.join();
    EXPECT_STREQ("Old rates", table.headerLine);
}

// ---- the program's saves --------------------------------------------------------

// The main window as made at start-up; its destruction saves what a Done
// left unsaved.
class MainWindow {
public:
    MainWindow() {
        initInstance(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        window_ = FindWindowW(L"QUANTREL", L"Quantrel");
    }
    ~MainWindow() { destroy(); }
    void destroy() {
        if (window_ == nullptr || !IsWindow(window_)) return;
        DestroyWindow(window_);
        window_ = nullptr;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
            DispatchMessageW(&message);
        }
    }

private:
    HWND window_ = nullptr;
};

INT_PTR openScreen(int templateId, DLGPROC procedure, const std::function<void(HWND)>& driver) {
    return runScreenThenDone(templateId, procedure, programScreenData(), driver);
}

struct SaveSite {
    const char* name;
    const wchar_t* file;
    // Makes the change through the screen; `fail` arms the fault just before the save.
    std::function<void(const std::function<void()>& fail)> changeAndSave;
    std::function<void()> saveAgain;  // from what the program holds
    std::string saved;
};

TEST_F(FilesTest, EverySaveFailedMidWriteKeepsTheChangeAndSavesItLater) {
    TestServer server;
    server.answerWith({response("200 OK", kServedRates), false});
    setMachineText(kQuelvindorKey, kRatesServerValue, L"127.0.0.1:" + std::to_wstring(server.port()));
    deviceCaptureMessageBoxes(true);
    std::unique_ptr<MainWindow> mainWindow;
    auto endProgram = [&] { mainWindow->destroy(); };
    auto sync = [](const std::function<void()>& fail) {
        openScreen(IDD_CURRENCY, currencyScreenProcedure, [&](HWND dialog) {
            fail();
            SendDlgItemMessageW(dialog, IDC_CURRENCY_SYNC, BM_CLICK, 0, 0);
        });
    };
    auto screenHolds = [](const std::string& bytes) {  // the table these bytes read as
        CurrencyTable parsed = {};
        parseRates(bytes.data(), bytes.size(), parsed);
        return std::memcmp(&parsed, &programRates, sizeof parsed) == 0;
    };
    const SaveSite sites[] = {
        {"Edit Currency Value, Done", kRatesFileName,
         [](const std::function<void()>& fail) {
             openScreen(IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, [&](HWND dialog) {
                 EXPECT_TRUE(editRate(GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST), 1, L"7.25"));
                 fail();
             });
         },
         [] { openScreen(IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, [](HWND) {}); },
         "Old rates\nA\t1.5000\nB\t7.2500\nC\t0.5000\nD\t100.0000\n\0"s},
        // Another writer stores Metric's category before the program ends:
        // the end writes only the slots the failed Done left unsaved.
        {"Currency Exchange, Done", kSelectionFileName,
         [](const std::function<void()>& fail) {
             openScreen(IDD_CURRENCY, currencyScreenProcedure, [&](HWND dialog) {
                 SendDlgItemMessageW(dialog, IDC_CURRENCY_BOX_3, CB_SETCURSEL, 3, 0);
                 typeInto(dialog, IDC_CURRENCY_AMOUNT_1, L"1");
                 SendDlgItemMessageW(dialog, IDC_CURRENCY_AUTO_UPDATE, BM_CLICK, 0, 0);
                 fail();
             });
         },
         [&] {
             std::string record = kOldSelections;
             writeSlot(reinterpret_cast<uint8_t*>(&record[0]), kSlotMetricCategory, 5);
             writeFileBytes(place.file(kSelectionFileName), record);
             endProgram();
         },
         selectionRecord({7, 0, 1, 3, 0, 5, 0, 1, 2, 3, 1, 0})},
        {"Metric Conversion, Done", kSelectionFileName,
         [](const std::function<void()>& fail) {
             openScreen(IDD_METRIC, metricScreenProcedure, [&](HWND dialog) {
                 chooseInBox(dialog, IDC_METRIC_CATEGORY, kMetricWeight);
                 SendDlgItemMessageW(dialog, IDC_METRIC_UNIT_2, CB_SETCURSEL, 5, 0);
                 typeInto(dialog, IDC_METRIC_VALUE_1, L"1");
                 fail();
             });
         },
         endProgram, selectionRecord({7, 0, 1, 2, 0, kMetricWeight, 0, 5, 2, 3, 0, 0})},
        // Once the fault is gone the download goes through, and the screen
        // converts with the downloaded table at once.
        {"Currency Sync.", kRatesFileName, sync,
         [&] {
             EXPECT_TRUE(screenHolds(kOldRates)) << "the screen's table after the failed download";
             sync([] {});
             EXPECT_TRUE(screenHolds(kServedRates)) << "the screen's table";
         },
         kServedRates},
    };
    for (const SaveSite& site : sites) {
        SCOPED_TRACE(site.name);
        mainWindow = std::make_unique<MainWindow>();
        startOver();
        site.changeAndSave([] { failSavesAt(SaveStep::write); });
        failSavesAt(SaveStep::none);
        expectOldFiles();
        site.saveAgain();
        EXPECT_EQ(site.saved, readFileBytes(place.file(site.file))) << "the change, saved once the fault is gone";
        mainWindow.reset();
    }
}

}  // namespace
