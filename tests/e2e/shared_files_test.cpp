// The program and the home screen share rates.txt and quantrel.dat: a real
// Quantrel.exe and a real TodayHost.exe with Zentavo, started from one folder,
// driven from outside through their screens. Each interleaving is one in
// which a save could write back a copy older than the file itself; the
// stress test has both save each file at the same moment, round after round,
// with downloads and restarts of the program between. Afterwards the files
// hold every change the user stored, unless a later one replaced it.
//
// The registry is the Wine prefix's own here (separate processes): every key
// the tests touch is put back as it was.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"
#include "resources/quantrel/resource_ids.h"
#include "resources/zentavo/zentavo_ids.h"
#include "tests/win/support/http_server.h"
#include "tests/win/support/processes.h"
#include "tests/win/support/save_faults.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

const wchar_t kQuelvindor[] = L"Software\\Orvandel\\quelvindor";
const wchar_t kTodayKey[] = L"SOFTWARE\\Microsoft\\Today";
const wchar_t kZentavoKey[] = L"SOFTWARE\\Microsoft\\Today\\Items\\\"Zentavo\"";


// rates.txt as the run starts, and as the rates server serves it.
const std::string kStartRates = "Start\nA\t1.0000\nB\t2.0000\nC\t3.0000\n\0"s;
const std::string kServedRates = "Served\nA\t10.0000\nB\t20.0000\nC\t30.0000\n\0"s;
// quantrel.dat: reserved 0, rows 0 1 2 0, Weight (2) with units 0 1 2 3, both flags off.
const int kStartSlots[kSelectionSlotCount] = {0, 0, 1, 2, 0, 2, 0, 1, 2, 3, 0, 0};

std::string record(const int* slots) {
    uint8_t bytes[kSelectionRecordSize] = {};
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) writeSlot(bytes, slot, slots[slot]);
    return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

// The rates of rates.txt in entry order, as "name=rate" words.
std::string ratesIn(const std::string& bytes) {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable());
    parseRates(bytes.data(), bytes.size(), *table);
    std::string words = table->headerLine;
    for (int i = 0; i < table->count; ++i)
        words += " " + std::string(table->entries[i].name) + "=" + std::to_string(table->entries[i].rate).substr(0, 5);
    return words;
}

std::string slotsIn(const std::string& bytes) {
    if (bytes.size() != kSelectionRecordSize) return printableBytes(bytes);
    std::string words;
    for (int slot = 0; slot < kSelectionSlotCount; ++slot)
        words += (slot ? " " : "") + std::to_string(readSlot(reinterpret_cast<const uint8_t*>(bytes.data()), slot));
    return words;
}

// The two programs on one device, with the files as above.
class Device {
public:
    Device() {
        writeFileBytes(folder.file(L"rates.txt"), kStartRates);
        writeFileBytes(folder.file(L"quantrel.dat"), record(kStartSlots));
        server.answerWith({response("200 OK", kServedRates), false});
        setMachineText(kQuelvindor, L"modulePath", folder.folder());
        setMachineText(kQuelvindor, L"RatesServer", L"127.0.0.1:" + std::to_wstring(server.port()));
        setMachineNumber(kQuelvindor, L"Updated", 0);
        setMachineText(kZentavoKey, L"DLL", L"Zentavo.dll");
        setMachineNumber(kZentavoKey, L"Enabled", 1);
        setMachineNumber(kZentavoKey, L"Options", 0);
        setMachineNumber(kZentavoKey, L"Type", 4);
    }
    ~Device() {
        if (mainWindow != nullptr) endProgram();
        program.reset();
        if (hostWindow != nullptr) {
            PostMessageW(hostWindow, WM_COMMAND, IDOK, 0);
            host.ended();
        }
    }

    void startProgram() {
        program.reset(new Process());
        ASSERT_TRUE(program->start(folder.file(L"Quantrel.exe")));
        mainWindow = waitForWindow(programId(), L"QUANTREL");
        ASSERT_NE(nullptr, mainWindow);
        launcher = FindWindowExW(mainWindow, nullptr, L"#32770", nullptr);
        ASSERT_NE(nullptr, launcher);
    }
    void endProgram() {
        PostMessageW(mainWindow, WM_COMMAND, 1, 0);
        EXPECT_TRUE(program->ended()) << "the program ends on command 1";
        mainWindow = launcher = nullptr;
    }
    void startHost(int rows = 3) {
        ASSERT_TRUE(host.start(folder.file(L"TodayHost.exe")));
        hostWindow = waitForWindow(host.info.dwProcessId, L"TodayHostScreen");
        ASSERT_NE(nullptr, hostWindow);
        ASSERT_TRUE(waitFor([&] {
            HWND item = FindWindowExW(hostWindow, nullptr, L"MyToday", L"MyTodayScreen");
            homeList = GetDlgItem(item, IDC_RATES_LIST);
            return SendMessageW(homeList, LVM_GETITEMCOUNT, 0, 0) == rows;
        }, 20000)) << "the home screen lists the rates";
    }

    DWORD programId() const { return program->info.dwProcessId; }

    // A button pressed as a tap does, and the screen it opens.
    HWND open(HWND from, int button, const wchar_t* caption, DWORD process) {
        PostMessageW(from, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(from, button)));
        return waitForWindow(process, L"#32770", caption);
    }
    HWND openExchange() { return open(launcher, IDC_LAUNCH_CURRENCY, L"Currency Exchange", programId()); }
    HWND openCalculator() {
        HWND header = reinterpret_cast<HWND>(SendMessageW(homeList, LVM_GETHEADER, 0, 0));
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
        PostMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
        return waitForWindow(host.info.dwProcessId, L"#32770", L"Currency calculator");
    }
    // Done, and the screen gone.
    static void done(HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(dialog); })) << "Done closes the screen";
    }
    // "Currency Sync." and OK on its message.
    void sync(HWND exchange) {
        PostMessageW(exchange, WM_COMMAND, MAKEWPARAM(IDC_CURRENCY_SYNC, BN_CLICKED), 0);
        HWND message = waitForWindow(programId(), L"#32770", L"Currency Sync");
        ASSERT_NE(nullptr, message) << "the download reports its success";
        PostMessageW(message, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(message); }));
    }
    // A rate typed in place and Enter.
    static void editRate(HWND list, int row, const wchar_t* text) {
        HWND editor = typeRate(list, row, text);
        ASSERT_NE(nullptr, editor) << "the list opens its editor";
        SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(editor); }));
    }
    // Opens the in-place editor on a row and types the rate; the edit is still open.
    static HWND typeRate(HWND list, int row, const std::wstring& text) {
        HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
        if (editor != nullptr) SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return editor;
    }
    void editInProgram(HWND exchange, int row, const wchar_t* text) {
        HWND editor = open(exchange, IDC_CURRENCY_EDIT, L"Edit Currency Value", programId());
        ASSERT_NE(nullptr, editor);
        editRate(GetDlgItem(editor, IDC_EDIT_CURRENCY_LIST), row, text);
        done(editor);
    }
    // The four rows' currencies chosen, then a key released in the first
    // amount field: the screen takes the choices into its selections.
    static void choose(HWND dialog, int firstBox, const int rows[4]) {
        for (int r = 0; r < 4; ++r) SendMessageW(GetDlgItem(dialog, firstBox + r), CB_SETCURSEL, rows[r], 0);
        HWND amount = GetDlgItem(dialog, firstBox + 4);
        SendMessageW(amount, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
        SendMessageW(amount, WM_KEYUP, '0', 0xC00B0001);
    }

    std::string rates() const { return ratesIn(readFileBytes(folder.file(L"rates.txt"))); }
    std::string slots() const { return slotsIn(readFileBytes(folder.file(L"quantrel.dat"))); }

    SavedKey today{kTodayKey};
    SavedKey quelvindor{kQuelvindor};
    BinaryFolder folder{L"shared", {L"TodayHost.exe", L"Zentavo.dll", L"Quantrel.exe"}};
    TestServer server;
    std::unique_ptr<Process> program;
    Process host;
    HWND mainWindow = nullptr, launcher = nullptr, hostWindow = nullptr, homeList = nullptr;
};

struct Interleaving {
    const char* name;
    std::function<void(Device&)> steps;
    const char* rates;  // rates.txt at the end, as ratesIn gives it
    const char* slots;  // quantrel.dat at the end, as slotsIn gives it
};

const char kStartRatesWords[] = "Start A=1.000 B=2.000 C=3.000";
const char kStartSlotWords[] = "0 0 1 2 0 2 0 1 2 3 0 0";

const Interleaving kInterleavings[] = {
    {"a download, then Edit Currency Value's Done",
     [](Device& d) {
         d.startProgram();
         HWND exchange = d.openExchange();
         ASSERT_NE(nullptr, exchange);
         d.sync(exchange);
         d.editInProgram(exchange, 0, L"5");
         Device::done(exchange);
     },
     "Served A=5.000 B=20.00 C=30.00", kStartSlotWords},
    {"an edit on the home screen while Currency Exchange is open, then Edit Currency Value's Done",
     [](Device& d) {
         d.startHost();
         d.startProgram();
         HWND exchange = d.openExchange();
         ASSERT_NE(nullptr, exchange);
         Device::editRate(d.homeList, 1, L"7");
         d.editInProgram(exchange, 0, L"5");
         Device::done(exchange);
     },
     "Start A=5.000 B=7.000 C=3.000", kStartSlotWords},
    {"rates.txt held while Currency Exchange opens, then Edit Currency Value's Done",
     [](Device& d) {
         d.startProgram();
         HWND exchange;
         {
             HeldByAnotherProcess holder(d.folder.file(L"rates.txt"));
             ASSERT_TRUE(holder.holding());
             exchange = d.openExchange();
         }
         ASSERT_NE(nullptr, exchange);
         HWND editor = d.open(exchange, IDC_CURRENCY_EDIT, L"Edit Currency Value", d.programId());
         ASSERT_NE(nullptr, editor);
         Device::done(editor);
         Device::done(exchange);
     },
     kStartRatesWords, kStartSlotWords},
    {"rates.txt held for a moment while Currency Exchange opens",
     [](Device& d) {
         d.startProgram();
         auto holder = std::make_unique<HeldByAnotherProcess>(d.folder.file(L"rates.txt"));
         ASSERT_TRUE(holder->holding());
         PostMessageW(d.launcher, WM_COMMAND, MAKEWPARAM(IDC_LAUNCH_CURRENCY, BN_CLICKED), 0);
         // The screen exists, not yet shown, while it loads the rates.
         ASSERT_TRUE(waitFor([&] { return FindWindowW(L"#32770", L"Currency Exchange") != nullptr; }));
         holder.reset();
         HWND exchange = waitForWindow(d.programId(), L"#32770", L"Currency Exchange");
         ASSERT_NE(nullptr, exchange);
         EXPECT_EQ(3, SendDlgItemMessageW(exchange, IDC_CURRENCY_BOX_1, CB_GETCOUNT, 0, 0))
             << "the rates are loaded once the other lets go of the file";
         Device::done(exchange);
     },
     kStartRatesWords, kStartSlotWords},
    {"quantrel.dat held while the program starts, then its end",
     [](Device& d) {
         {
             HeldByAnotherProcess holder(d.folder.file(L"quantrel.dat"));
             ASSERT_TRUE(holder.holding());
             d.startProgram();
         }
         d.endProgram();
     },
     kStartRatesWords, kStartSlotWords},
    {"currencies chosen on the home screen while Metric Conversion is open, then its Done and the program's end",
     [](Device& d) {
         d.startHost();
         d.startProgram();
         HWND metric = d.open(d.launcher, IDC_LAUNCH_METRIC, L"Metric Conversion", d.programId());
         ASSERT_NE(nullptr, metric);
         HWND calculator = d.openCalculator();
         ASSERT_NE(nullptr, calculator);
         const int rows[4] = {2, 1, 0, 2};
         Device::choose(calculator, IDC_CALC_BOX_1, rows);
         Device::done(calculator);
         Device::done(metric);
         d.endProgram();
     },
     kStartRatesWords, "0 2 1 0 2 2 0 1 2 3 0 0"},
};

TEST(SharedFiles, EverySaveKeepsWhatTheOtherStored) {
    for (const Interleaving& c : kInterleavings) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(nullptr, FindWindowW(L"TodayHostScreen", nullptr)) << "no home screen may be running";
        ASSERT_EQ(nullptr, FindWindowW(L"QUANTREL", nullptr)) << "no copy of the program may be running";
        Device device;
        ASSERT_TRUE(device.folder.ready());
        c.steps(device);
        if (device.mainWindow != nullptr) device.endProgram();
        EXPECT_EQ(c.rates, device.rates());
        EXPECT_EQ(c.slots, device.slots());
    }
}

// Whatever the program file is called, its folder is the data directory.
TEST(SharedFiles, RenamedProgramPublishesItsFolder) {
    for (const wchar_t* name : {L"Copy of Quantrel.exe", L"MyQuantrel.exe"}) {
        SavedKey quelvindor(kQuelvindor);
        BinaryFolder folder(L"renamed", {});
        ASSERT_TRUE(CopyFileW(builtFile(L"Quantrel.exe").c_str(), folder.file(name).c_str(), FALSE));
        Process program;
        ASSERT_TRUE(program.start(folder.file(name)));
        HWND mainWindow = waitForWindow(program.info.dwProcessId, L"QUANTREL");
        ASSERT_NE(nullptr, mainWindow);
        wchar_t published[MAX_PATH] = L"";
        DWORD bytes = sizeof published;
        EXPECT_TRUE(waitFor([&] {
            bytes = sizeof published;
            return RegGetValueW(HKEY_LOCAL_MACHINE, kQuelvindor, L"modulePath", RRF_RT_REG_SZ, nullptr, published,
                                &bytes) == ERROR_SUCCESS &&
                   folder.folder() == published;
        })) << "published " << printableBytes(std::string(published, published + wcslen(published)));
        PostMessageW(mainWindow, WM_COMMAND, 1, 0);
        EXPECT_TRUE(program.ended());
    }
}

// ---- both at once, round after round --------------------------------------------

// Rounds of the stress test; each saves rates.txt twice and quantrel.dat
// twice at the same moment. Every fifth downloads, every seventh ends and
// restarts the program.
const int kRounds = 30;
const char kStressHeader[] = "Rates shared by the program and the home screen";
const char* const kStressNames[] = {"US Dollar", "Euro", "British Pound", "Japanese Yen", "Swiss Franc", "Yuan"};
const int kStressCurrencies = 6;
const int kReserved = 7;

// rates.txt as either writer writes it for these rates.
std::string stressRates(const std::vector<double>& rates) {
    std::string text = std::string(kStressHeader) + "\n";
    char rate[64];
    for (size_t i = 0; i < rates.size(); ++i) {
        std::snprintf(rate, sizeof rate, "%.4f", rates[i]);
        text += std::string(kStressNames[i]) + "\t" + rate + "\n";
    }
    return text + std::string(1, '\0');
}

// Sends Done (or Enter) to windows of the two processes at once, the second
// from a thread of its own, and returns when both have been handled.
void sendTogether(HWND first, UINT firstMessage, WPARAM firstWParam, HWND second, UINT secondMessage,
                  WPARAM secondWParam, LPARAM secondLParam) {
    std::thread other([=] { SendMessageW(second, secondMessage, secondWParam, secondLParam); });
    SendMessageW(first, firstMessage, firstWParam, 0);
    other.join();
}

TEST(SharedFiles, BothSavingAtOnceKeepEveryStoredChange) {
    Device d;
    ASSERT_TRUE(d.folder.ready());
    std::vector<double> rates = {1.0, 0.92, 0.79, 149.5, 0.88, 7.1};
    int slots[kSelectionSlotCount] = {kReserved, 0, 1, 2, 3, 4, 1, 2, 3, 0, 0, 1};
    ASSERT_TRUE(writeFileBytes(d.folder.file(L"rates.txt"), stressRates(rates)));
    ASSERT_TRUE(writeFileBytes(d.folder.file(L"quantrel.dat"), record(slots)));
    d.startHost(kStressCurrencies);
    d.startProgram();
    for (int round = 0; round < kRounds && !::testing::Test::HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int programRow = round % kStressCurrencies, homeRow = (round + 3) % kStressCurrencies;
        const double programRate = 1000 + round + 0.125, homeRate = 5000 + round + 0.5;
        const int programRows[4] = {round % 6, (round / 6) % 6, (round + 2) % 6, (round * 5 + 1) % 6};
        const int homeRows[4] = {(round + 3) % 6, (round * 7) % 6, (round / 2) % 6, 5 - round % 6};
        const int autoUpdate = round % 2;

        HWND exchange = d.openExchange();
        ASSERT_NE(nullptr, exchange);
        if (round % 5 == 4) {
            for (int i = 0; i < kStressCurrencies; ++i) rates[static_cast<size_t>(i)] = 3000 + round + i * 0.25;
            d.server.answerWith({response("200 OK", stressRates(rates)), false});
            d.sync(exchange);
        }
        Device::choose(exchange, IDC_CURRENCY_BOX_1, programRows);
        SendDlgItemMessageW(exchange, IDC_CURRENCY_AUTO_UPDATE, BM_SETCHECK, autoUpdate ? BST_CHECKED : BST_UNCHECKED,
                            0);
        SendDlgItemMessageW(exchange, IDC_CURRENCY_TODAY_ITEM, BM_SETCHECK, BST_CHECKED, 0);
        HWND editor = d.open(exchange, IDC_CURRENCY_EDIT, L"Edit Currency Value", d.programId());
        ASSERT_NE(nullptr, editor);
        Device::editRate(GetDlgItem(editor, IDC_EDIT_CURRENCY_LIST), programRow, std::to_wstring(programRate).c_str());
        // The text as users type it: the reader stops at the "x".
        HWND homeEdit = Device::typeRate(d.homeList, homeRow, std::to_wstring(5000 + round) + L".5x");
        ASSERT_NE(nullptr, homeEdit);
        // Done of Edit Currency Value against Enter in the home screen's list.
        sendTogether(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), homeEdit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(editor) && !IsWindow(homeEdit); }));
        rates[static_cast<size_t>(programRow)] = programRate;
        rates[static_cast<size_t>(homeRow)] = homeRate;
        EXPECT_EQ(printableBytes(stressRates(rates)), printableBytes(readFileBytes(d.folder.file(L"rates.txt"))));

        // Done of Currency Exchange against Done of the plug-in's calculator.
        HWND calculator = d.openCalculator();
        ASSERT_NE(nullptr, calculator);
        Device::choose(calculator, IDC_CALC_BOX_1, homeRows);
        sendTogether(exchange, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), calculator, WM_COMMAND,
                     MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(waitFor([&] { return !IsWindow(exchange) && !IsWindow(calculator); }));
        const std::string held = slotsIn(readFileBytes(d.folder.file(L"quantrel.dat")));
        slots[kSlotAutoUpdate] = autoUpdate;
        for (const int* rows : {programRows, homeRows}) {
            for (int i = 0; i < 4; ++i) slots[kSlotCurrencyRow + i] = rows[i];
            if (held == slotsIn(record(slots))) break;
        }
        EXPECT_EQ(slotsIn(record(slots)), held) << "the four rows of one of the two saves, the rest as stored";

        if (round % 7 == 6) {
            d.endProgram();
            d.startProgram();
        }
    }
    d.endProgram();
    EXPECT_EQ(printableBytes(stressRates(rates)), printableBytes(readFileBytes(d.folder.file(L"rates.txt"))));
    EXPECT_EQ(printableBytes(record(slots)), printableBytes(readFileBytes(d.folder.file(L"quantrel.dat"))));
    std::string files;
    for (const std::wstring& name : d.folder.files()) files += " " + std::string(name.begin(), name.end());
    EXPECT_EQ(" Quantrel.exe TodayHost.exe Zentavo.dll quantrel.dat rates.txt", files) << "no temporary file left";
}

}  // namespace
