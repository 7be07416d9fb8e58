// A real Quantrel.exe and a real TodayHost.exe with Zentavo, started from one
// folder 200 characters long, share rates.txt, quantrel.dat and the registry
// (the prefix's own: every key touched is put back). Each interleaving is one in which a save
// could write back a copy older than the file, or the home screen could miss
// what the program stored; the stress test has both save at the same moment.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "currency/core/currency_files.h"
#include "resources/quantrel/resource_ids.h"
#include "resources/zentavo/zentavo_ids.h"
#include "tests/win/support/http_server.h"
#include "tests/win/support/held_file.h"
#include "tests/win/support/processes.h"
#include "tests/win/support/win_test.h"

namespace {

// rates.txt as either writer writes it.
std::string ratesFile(const char* header, const std::vector<std::pair<const char*, double>>& rates) {
    std::string text = std::string(header) + "\n";
    char rate[64];
    for (const auto& entry : rates) {
        std::snprintf(rate, sizeof rate, "%.4f", entry.second);
        text += std::string(entry.first) + "\t" + rate + "\n";
    }
    return text + '\0';
}

const std::string kStartRates = ratesFile("Start", {{"A", 1}, {"B", 2}, {"C", 3}});
// Rows 0 1 2 0, Weight with units 0 1 2 3, both flags off.
const std::vector<int> kStartSlots = {0, 0, 1, 2, 0, 2, 0, 1, 2, 3, 0, 0};

void click(HWND window, int button) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}
void done(HWND dialog) {
    click(dialog, IDOK);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(dialog); })) << "Done closes the screen";
}
// The row's editor in another process's list, holding `text`, left open.
HWND openRateEdit(HWND list, int row, const std::wstring& text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return editor;
}
// The four rows' currencies chosen, then a key released in the first amount
// field: the screen takes the choices into its selections.
void choose(HWND dialog, int firstBox, const int rows[4]) {
    for (int r = 0; r < 4; ++r)
        SendDlgItemMessageW(dialog, firstBox + r, CB_SETCURSEL, static_cast<WPARAM>(rows[r]), 0);
    SendDlgItemMessageW(dialog, firstBox + 4, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
    SendDlgItemMessageW(dialog, firstBox + 4, WM_KEYUP, '0', 0xC00B0001);
}

// The two programs on one device, with the files as above.
struct Device {
    Device() {
        writeFileBytes(folder.file(L"rates.txt"), kStartRates);
        writeFileBytes(folder.file(L"quantrel.dat"), selectionRecord(kStartSlots));
        server.answerWith({response("200 OK", ratesFile("Served", {{"A", 10}, {"B", 20}, {"C", 30}})), false});
        setMachineText(kQuelvindorKey, kModulePathValue, folder.folder());
        setMachineText(kQuelvindorKey, L"RatesServer", L"127.0.0.1:" + std::to_wstring(server.port()));
        setMachineNumber(kQuelvindorKey, kUpdatedValue, 0);
        registerTodayItem(true);
    }
    ~Device() {
        if (mainWindow != nullptr) endProgram();
        if (hostWindow != nullptr) PostMessageW(hostWindow, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(hostWindow == nullptr || host.waitExit() == 0) << "the home screen ends on command 1";
    }
    void startProgram(const wchar_t* name = L"Quantrel.exe") {
        program = std::make_unique<Process>();
        ASSERT_TRUE(program->start(folder.file(name)));
        mainWindow = waitForWindow(program->info.dwProcessId, L"QUANTREL");
        launcher = FindWindowExW(mainWindow, nullptr, L"#32770", nullptr);
        ASSERT_NE(nullptr, launcher);
    }
    void endProgram() {
        PostMessageW(mainWindow, WM_COMMAND, 1, 0);
        EXPECT_EQ(0, program->waitExit()) << "the program ends with code 0 on command 1";
        mainWindow = nullptr;
    }
    // The home screen, once its item lists the rows.
    void startHost(int rows = 3) {
        ASSERT_TRUE(host.start(folder.file(L"TodayHost.exe")));
        hostWindow = waitForWindow(host.info.dwProcessId, L"TodayHostScreen");
        ASSERT_TRUE(waitFor([&] { return ListView_GetItemCount(homeList()) == rows; }, 20000))
            << "the home screen lists the rates";
    }
    HWND homeList() const {
        return GetDlgItem(FindWindowExW(hostWindow, nullptr, L"MyToday", L"MyTodayScreen"), IDC_RATES_LIST);
    }
    // A button of the program tapped, and the screen it opens.
    HWND open(HWND from, int button, const wchar_t* caption) {
        click(from, button);
        HWND screen = waitForWindow(program->info.dwProcessId, L"#32770", caption);
        EXPECT_NE(nullptr, screen) << "no screen " << caption;
        return screen;
    }
    HWND openExchange() { return open(launcher, IDC_LAUNCH_CURRENCY, L"Currency Exchange"); }
    HWND openCalculator() {
        HWND header = ListView_GetHeader(homeList());
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
        PostMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
        return waitForWindow(host.info.dwProcessId, L"#32770", L"Currency calculator");
    }
    // "Currency Sync." and OK on the message of its success.
    void sync(HWND exchange) { done(open(exchange, IDC_CURRENCY_SYNC, L"Currency Sync")); }
    void editInProgram(HWND exchange, int row, const wchar_t* text) {
        HWND editor = open(exchange, IDC_CURRENCY_EDIT, L"Edit Currency Value");
        EXPECT_TRUE(editRate(GetDlgItem(editor, IDC_EDIT_CURRENCY_LIST), row, text));
        done(editor);
    }
    std::string file(const wchar_t* name) const { return readFileBytes(folder.file(name)); }

    SavedKey today{L"SOFTWARE\\Microsoft\\Today"};
    SavedKey quelvindor{kQuelvindorKey};
    BinaryFolder folder{{L"TodayHost.exe", L"Zentavo.dll", L"Quantrel.exe"}};
    TestServer server;
    std::unique_ptr<Process> program;
    Process host;
    HWND mainWindow = nullptr, launcher = nullptr, hostWindow = nullptr;
};

struct Interleaving {
    const char* name;
    void (*steps)(Device&);                // the program, if still running, then ends
    std::string rates = kStartRates;       // rates.txt at the end
    std::vector<int> slots = kStartSlots;  // quantrel.dat at the end
};

const Interleaving kInterleavings[] = {
    {"a download, then Edit Currency Value's Done",
     [](Device& d) {
         d.startProgram();
         HWND exchange = d.openExchange();
         d.sync(exchange);
         d.editInProgram(exchange, 0, L"5");
         done(exchange);
     },
     ratesFile("Served", {{"A", 5}, {"B", 20}, {"C", 30}})},
    {"an edit on the home screen while Currency Exchange is open, then Edit Currency Value's Done",
     [](Device& d) {
         d.startHost();
         d.startProgram();
         HWND exchange = d.openExchange();
         EXPECT_TRUE(editRate(d.homeList(), 1, L"7"));
         d.editInProgram(exchange, 0, L"5");
         EXPECT_TRUE(waitFor([] { return updatedFlag() == 0; }, 10000)) << "the item takes the program's Updated";
         done(exchange);
     },
     ratesFile("Start", {{"A", 5}, {"B", 7}, {"C", 3}})},
    {"rates.txt held while Currency Exchange opens, then Edit Currency Value's Done",
     [](Device& d) {
         d.startProgram();
         HeldFile holder(d.folder.file(L"rates.txt"));
         ASSERT_TRUE(holder.holding());
         HWND exchange = d.openExchange();
         holder.release();
         done(d.open(exchange, IDC_CURRENCY_EDIT, L"Edit Currency Value"));
         done(exchange);
     }},
    {"quantrel.dat held while the program starts, then its end",
     [](Device& d) {
         HeldFile holder(d.folder.file(L"quantrel.dat"));
         ASSERT_TRUE(holder.holding());
         d.startProgram();
     }},
    {"currencies chosen on the home screen while Metric Conversion is open, then its Done and the program's end",
     [](Device& d) {
         d.startHost();
         d.startProgram();
         HWND metric = d.open(d.launcher, IDC_LAUNCH_METRIC, L"Metric Conversion");
         HWND calculator = d.openCalculator();
         const int rows[4] = {2, 1, 0, 2};
         choose(calculator, IDC_CALC_BOX_1, rows);
         done(calculator);
         done(metric);
     },
     kStartRates,
     {0, 2, 1, 0, 2, 2, 0, 1, 2, 3, 0, 0}},
    {"a renamed program publishes its folder",
     [](Device& d) {
         for (const wchar_t* name : {L"Copy of Quantrel.exe", L"MyQuantrel.exe"}) {
             ASSERT_TRUE(CopyFileW(d.folder.file(L"Quantrel.exe").c_str(), d.folder.file(name).c_str(), FALSE));
             RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindorKey, kModulePathValue);
             d.startProgram(name);
             EXPECT_TRUE(waitFor([&] { return machineText(kQuelvindorKey, kModulePathValue) == d.folder.folder(); }))
                 << "the folder is published, not " << machineText(kQuelvindorKey, kModulePathValue);
             d.endProgram();
         }
     }},
};

TEST(SharedFiles, EverySaveKeepsWhatTheOtherStored) {
    for (const Interleaving& c : kInterleavings) {
        SCOPED_TRACE(c.name);
        Device device;
        ASSERT_TRUE(device.folder.ready());
        c.steps(device);
        if (device.mainWindow != nullptr) device.endProgram();
        EXPECT_EQ(c.rates, device.file(L"rates.txt"));
        EXPECT_EQ(selectionRecord(c.slots), device.file(L"quantrel.dat"));
    }
}

// 30 rounds, each saving rates.txt twice and quantrel.dat twice at one moment;
// every fifth downloads, every seventh ends and restarts the program.
TEST(SharedFiles, BothSavingAtOnceKeepEveryStoredChange) {
    const char kHeader[] = "Rates shared by the program and the home screen";
    std::vector<std::pair<const char*, double>> rates = {{"US Dollar", 1.0},      {"Euro", 0.92},
                                                         {"British Pound", 0.79}, {"Japanese Yen", 149.5},
                                                         {"Swiss Franc", 0.88},   {"Yuan", 7.1}};
    std::vector<int> slots = {7, 0, 1, 2, 3, 4, 1, 2, 3, 0, 0, 1};
    Device d;
    ASSERT_TRUE(writeFileBytes(d.folder.file(L"rates.txt"), ratesFile(kHeader, rates)));
    ASSERT_TRUE(writeFileBytes(d.folder.file(L"quantrel.dat"), selectionRecord(slots)));
    d.startHost(6);
    d.startProgram();
    // Sends to both processes at once, the second from a thread of its own.
    auto sendTogether = [](HWND first, WPARAM command, HWND second, UINT message, WPARAM wParam, LPARAM lParam) {
        std::thread other([=] { SendMessageW(second, message, wParam, lParam); });
        SendMessageW(first, WM_COMMAND, command, 0);
        other.join();
    };
    for (int round = 0; round < 30 && !::testing::Test::HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int programRows[4] = {round % 6, (round / 6) % 6, (round + 2) % 6, (round * 5 + 1) % 6};
        const int homeRows[4] = {(round + 3) % 6, (round * 7) % 6, (round / 2) % 6, 5 - round % 6};
        HWND exchange = d.openExchange();
        if (round % 5 == 4) {
            for (int i = 0; i < 6; ++i) rates[static_cast<size_t>(i)].second = 3000 + round + i * 0.25;
            d.server.answerWith({response("200 OK", ratesFile(kHeader, rates)), false});
            d.sync(exchange);
        }
        choose(exchange, IDC_CURRENCY_BOX_1, programRows);
        SendDlgItemMessageW(exchange, IDC_CURRENCY_AUTO_UPDATE, BM_SETCHECK, static_cast<WPARAM>(round % 2), 0);
        SendDlgItemMessageW(exchange, IDC_CURRENCY_TODAY_ITEM, BM_SETCHECK, BST_CHECKED, 0);
        HWND editor = d.open(exchange, IDC_CURRENCY_EDIT, L"Edit Currency Value");
        rates[static_cast<size_t>(programRows[0])].second = 1000 + round + 0.125;
        EXPECT_TRUE(editRate(GetDlgItem(editor, IDC_EDIT_CURRENCY_LIST), programRows[0],
                             std::to_wstring(1000 + round) + L".125"));
        // Done of Edit Currency Value against Enter in the home screen's list,
        // on a text as users type it: the reader stops at the "x".
        HWND homeEdit = openRateEdit(d.homeList(), homeRows[0], std::to_wstring(5000 + round) + L".5x");
        rates[static_cast<size_t>(homeRows[0])].second = 5000 + round + 0.5;
        sendTogether(editor, MAKEWPARAM(IDOK, BN_CLICKED), homeEdit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(editor) && !IsWindow(homeEdit); }));
        EXPECT_EQ(ratesFile(kHeader, rates), d.file(L"rates.txt"));

        // Done of Currency Exchange against Done of the plug-in's calculator.
        HWND calculator = d.openCalculator();
        choose(calculator, IDC_CALC_BOX_1, homeRows);
        sendTogether(exchange, MAKEWPARAM(IDOK, BN_CLICKED), calculator, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(exchange) && !IsWindow(calculator); }));
        const std::string held = d.file(L"quantrel.dat");
        slots[kSlotAutoUpdate] = round % 2;
        for (const int* rows : {programRows, homeRows}) {
            for (int i = 0; i < 4; ++i) slots[static_cast<size_t>(kSlotCurrencyRow + i)] = rows[i];
            if (held == selectionRecord(slots)) break;
        }
        EXPECT_EQ(selectionRecord(slots), held) << "the four rows of one of the two saves, the rest as stored";
        if (round % 7 == 6) d.endProgram(), d.startProgram();
    }
    d.endProgram();
    EXPECT_EQ(ratesFile(kHeader, rates), d.file(L"rates.txt"));
    EXPECT_EQ(selectionRecord(slots), d.file(L"quantrel.dat"));
    EXPECT_EQ(5u, filesIn(d.folder.folder()).size()) << "no temporary file left";
}

}  // namespace
