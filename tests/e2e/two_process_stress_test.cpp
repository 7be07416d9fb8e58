// The program and the home screen at work on the same files at the same
// time: a real Quantrel.exe and a real TodayHost.exe with Zentavo as its
// item, started from one folder of their own and driven from outside round
// after round, while the host keeps polling its item.
//
// Each round edits a rate and chooses currencies in both processes, through
// their screens, and has the two saves of each file run at the same moment:
// Done of Edit Currency Value against an in-place edit in the home screen's
// list (rates.txt), Done of Currency Exchange against Done of the plug-in's
// currency calculator (quantrel.dat). After each pair the file must hold
// exactly what one of the two saves wrote, computed from what each screen
// showed; never a mixture, a cut file or a byte that neither writer makes.
// The run ends with one save of each file that nothing else overlaps: that
// save is what the file holds at the end.
//
// The registry is the Wine prefix's own here (separate processes): every key
// the test touches is put back as it was.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "currency/core/rates_format.h"
#include "currency/core/selection_format.h"
#include "tests/win/support/processes.h"
#include "tests/win/support/win_test.h"

namespace {

// Rounds of the loop; each one saves rates.txt twice and quantrel.dat twice.
// Under Wine a screen takes 0.1 to 0.2 s to open and a round opens three,
// so 80 rounds keep the test to about a minute.
const int kRounds = 80;

const wchar_t kQuelvindor[] = L"Software\\Orvandel\\quelvindor";
const wchar_t kTodayKey[] = L"SOFTWARE\\Microsoft\\Today";
const wchar_t kItemsKey[] = L"SOFTWARE\\Microsoft\\Today\\Items";
const wchar_t kZentavoKey[] = L"SOFTWARE\\Microsoft\\Today\\Items\\\"Zentavo\"";
const DWORD kSeveralRefreshPeriods = 10000;  // the host asks its items every 2 s

// Program: launcher button, Currency Exchange (106) and Edit Currency Value (125).
const int kLaunchCurrency = 1002;
const int kExchangeFirstBox = 1029, kExchangeFirstAmount = 1033;
const int kEditButton = 1068, kAutoUpdateBox = 1089, kTodayItemBox = 1090;
const int kRatesList = 1000;  // the program's rate editor and the item's list alike
// Zentavo's currency calculator (103).
const int kCalculatorFirstBox = 1000, kCalculatorFirstAmount = 1004;

// The shared files as the run starts. Rates are written "%.4f" by both
// writers; every rate typed below has at most four decimals, so the "%f"
// text a list shows reads back to the very number the file holds.
const char kHeader[] = "Rates shared by the program and the home screen";
const char* const kNames[] = {"US Dollar", "Euro", "British Pound", "Japanese Yen", "Swiss Franc", "Canadian Dollar"};
const double kStartRates[] = {1.0, 0.92, 0.79, 149.5, 0.88, 1.36};
const int kCurrencies = 6;
// quantrel.dat: reserved 7, rows 0 1 2 3, metric category 4 with units
// 1 2 3 0, Auto Update off, Today item on. The metric slots and reserved are
// never changed by either screen driven here; the Today item stays on, so
// that Done of Currency Exchange keeps Zentavo on the home screen.
const int kReserved = 7;
const int kMetric[5] = {4, 1, 2, 3, 0};

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }


// Waits for a condition another process brings about: checks it, then
// gives up the processor for a moment, until it holds or the limit passed.
// The screens open and close in a few milliseconds; a coarser step would
// make up most of the run.
bool waitUntil(const std::function<bool()>& condition, DWORD limitMs = 20000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > limitMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        pumpMessages();
    }
}

// ---- registry ---------------------------------------------------------------



// ---- files and processes ----------------------------------------------------



// A folder holding copies of the three binaries: the data directory of them all.
struct HomeFolder : BinaryFolder {
    HomeFolder() : BinaryFolder(L"stress", {L"TodayHost.exe", L"Zentavo.dll", L"Quantrel.exe"}) {}
};

// The file's bytes once nobody holds it unshared (the item may be reading
// it for a refresh query); empty when it cannot be read at all.
std::string settledBytes(const std::wstring& path) {
    std::string bytes;
    waitUntil([&] {
        bytes = readFileBytes(path);
        return !bytes.empty();
    }, 5000);
    return bytes;
}

// ---- windows of the other processes -------------------------------------------


bool gone(HWND window) {
    return waitUntil([&] { return !IsWindow(window); });
}

std::wstring windowText(HWND window) {
    wchar_t text[128] = L"";
    SendMessageW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return text;
}

// Reads cells of a list view in another process: the item record and its
// text buffer live in that process for the reader's lifetime.
class RemoteList {
public:
    explicit RemoteList(HWND list) : list_(list) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processOf(list));
        if (process_ != nullptr)
            remote_ = static_cast<BYTE*>(VirtualAllocEx(process_, nullptr, sizeof(LVITEMW) + sizeof(wchar_t) * kChars,
                                                        MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteList() {
        if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;
    bool ready() const { return remote_ != nullptr; }
    HWND window() const { return list_; }
    int rows() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring cell(int row, int column) const {
        LVITEMW item = {};
        item.iSubItem = column;
        item.cchTextMax = kChars;
        item.pszText = reinterpret_cast<wchar_t*>(remote_ + sizeof(LVITEMW));
        wchar_t text[kChars] = L"";
        DWORD_PTR length = 0;
        if (!WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr) ||
            !SendMessageTimeoutW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote_),
                                 SMTO_NORMAL, 5000, &length) ||
            !ReadProcessMemory(process_, item.pszText, text, sizeof text, nullptr))
            return L"(unreadable)";
        text[kChars - 1] = 0;
        return text;
    }
    // The rate of every row, as the list shows it ("%f").
    std::vector<double> rates() const {
        std::vector<double> shown;
        for (int row = 0; row < rows(); ++row) shown.push_back(std::strtod(narrow(cell(row, 0)).c_str(), nullptr));
        return shown;
    }

private:
    static const int kChars = 128;
    HWND list_;
    HANDLE process_ = nullptr;
    BYTE* remote_ = nullptr;
};

// Opens the in-place editor on a row's rate and gives it the text, as a
// user's tap and typing would; the edit is still open.
HWND beginRateEdit(HWND list, int row, const std::string& text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    if (editor == nullptr) return nullptr;
    std::wstring wide = widen(text);
    SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    return editor;
}
// Enter in the in-place editor: the edit ends with its text.
void pressEnter(HWND editor) { SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0x001C0001); }

// Chooses the four rows' currencies and types an amount into row 1; the key
// release makes the screen take the choices into its selections.
void chooseCurrencies(HWND dialog, int firstBox, int firstAmount, const int rows[4]) {
    for (int r = 0; r < 4; ++r) SendMessageW(GetDlgItem(dialog, firstBox + r), CB_SETCURSEL, rows[r], 0);
    HWND amount = GetDlgItem(dialog, firstAmount);
    SendMessageW(amount, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
    SendMessageW(amount, WM_KEYUP, '0', 0xC00B0001);
}

// Sends a message to two windows of the two processes at once (the second
// from a thread of its own) and returns when both have been handled.
void sendTogether(HWND first, UINT firstMessage, WPARAM firstWParam, HWND second, UINT secondMessage,
                  WPARAM secondWParam, LPARAM secondLParam) {
    std::thread other([=] { SendMessageW(second, secondMessage, secondWParam, secondLParam); });
    SendMessageW(first, firstMessage, firstWParam, 0);
    other.join();
}

// ---- the files' contents --------------------------------------------------------

std::string rateText(double rate) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", rate);
    return text;
}

// rates.txt as either writer writes it for these rates: the header, a line
// feed, one "name TAB rate" line per currency, one zero byte.
std::string ratesFile(const std::vector<double>& rates) {
    std::string text = std::string(kHeader) + "\n";
    for (size_t i = 0; i < rates.size(); ++i) text += std::string(kNames[i]) + "\t" + rateText(rates[i]) + "\n";
    return text + std::string(1, '\0');
}

// The rates of rates.txt as the rates reader takes them.
std::vector<double> ratesIn(const std::string& bytes) {
    std::unique_ptr<CurrencyTable> table(new CurrencyTable());
    parseRates(bytes.data(), bytes.size(), *table);
    std::vector<double> rates;
    for (int i = 0; i < table->count; ++i) rates.push_back(table->entries[i].rate);
    return rates;
}

std::vector<double> withRate(std::vector<double> rates, int row, double rate) {
    rates[static_cast<size_t>(row)] = rate;
    return rates;
}

// quantrel.dat is twelve 3-byte slots, then 64 zero bytes. A slot holds its
// value in decimal from its first byte, zero bytes after it. Writes the
// values into the first slots of the record, in order.
std::string withSlots(std::string record, const std::vector<int>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        std::string slot = std::to_string(values[i]);
        record.replace(i * 3, 3, slot + std::string(3 - slot.size(), '\0'));
    }
    return record;
}

// What the program writes at Done of Currency Exchange and when its main
// window goes: every slot from its memory.
std::string programSelections(const int rows[4], int autoUpdate) {
    return withSlots(std::string(100, '\0'), {kReserved, rows[0], rows[1], rows[2], rows[3], kMetric[0], kMetric[1],
                                              kMetric[2], kMetric[3], kMetric[4], autoUpdate, 1});
}

// What the plug-in writes at Done of its calculator over the record it has
// just read: slots 0 to 4 its own, everything after them as read.
std::string pluginSelections(const std::string& read, const int rows[4]) {
    return withSlots(read, {kReserved, rows[0], rows[1], rows[2], rows[3]});
}

// rates.txt read back by the rates reader: the writer's own form again, the
// header and the names as they were, every rate one a writer can have put.
void expectWellFormedRates(const std::string& bytes, const std::set<std::string>& writtenRates) {
    std::unique_ptr<CurrencyTable> parsed(new CurrencyTable());
    const CurrencyTable& table = *parsed;
    parseRates(bytes.data(), bytes.size(), *parsed);
    EXPECT_EQ(bytes, composeRates(table)) << "rates.txt is byte for byte what the writer makes of what it holds";
    EXPECT_STREQ(kHeader, table.headerLine);
    ASSERT_EQ(kCurrencies, table.count);
    for (int i = 0; i < kCurrencies; ++i) {
        EXPECT_STREQ(kNames[i], table.entries[i].name) << "entry " << i;
        EXPECT_EQ(1u, writtenRates.count(rateText(table.entries[i].rate)))
            << "entry " << i << " holds " << rateText(table.entries[i].rate) << ", a rate nobody typed";
    }
}

// quantrel.dat read back: 100 bytes, every slot decimal text followed by
// zero bytes, the padding zero, and the record the program's writer makes of
// what the record holds.
void expectWellFormedSelections(const std::string& bytes) {
    ASSERT_EQ(kSelectionRecordSize, bytes.size());
    const uint8_t* record = reinterpret_cast<const uint8_t*>(bytes.data());
    for (int slot = 0; slot < kSelectionSlotCount; ++slot) {
        const std::string held = bytes.substr(static_cast<size_t>(slot) * 3, 3);
        std::string digits = std::to_string(readSlot(record, slot));
        EXPECT_EQ(digits + std::string(3 - digits.size(), '\0'), held) << "slot " << slot;
    }
    EXPECT_EQ(std::string(64, '\0'), bytes.substr(36)) << "padding";
    SelectionState state = {};
    parseSelections(record, SelectionForm::program, state);
    uint8_t rewritten[kSelectionRecordSize] = {};
    composeSelections(state, SelectionForm::program, rewritten);
    EXPECT_EQ(bytes, std::string(reinterpret_cast<char*>(rewritten), sizeof rewritten));
    EXPECT_EQ(kReserved, state.reserved);
    EXPECT_EQ(kMetric[0], state.metricCategory);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(kMetric[i + 1], state.metricUnit[i]) << "metric unit " << i;
        EXPECT_TRUE(state.currencyRow[i] >= 0 && state.currencyRow[i] < kCurrencies) << "row " << i;
    }
    EXPECT_EQ(1, state.todayItem);
}

// Text of a file's bytes for failure messages: printable, the rest escaped.
std::string shown(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    return text;
}

using Saves = std::vector<std::pair<std::string, std::string>>;

// Which of the saves a file holds after a pair of saves; "neither" fails the round.
std::string whichOf(const std::string& held, const Saves& saves) {
    for (const auto& save : saves)
        if (held == save.second) return save.first;
    return "neither";
}

// For a failure message: what the file holds and what each save wrote.
std::string heldAndSaved(const std::string& held, const Saves& saves) {
    std::string text = "the file holds " + shown(held);
    for (const auto& save : saves) text += "\n" + save.first + " writes " + shown(save.second);
    return text;
}

class TwoProcessStressTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ready()) << "copies of TodayHost.exe, Zentavo.dll and Quantrel.exe";
        ASSERT_EQ(nullptr, FindWindowW(L"TodayHostScreen", nullptr)) << "no home screen may be running";
        ASSERT_EQ(nullptr, FindWindowW(L"QUANTREL", nullptr)) << "no copy of the program may be running";
        filesRates.assign(kStartRates, kStartRates + kCurrencies);
        for (double rate : filesRates) typedRates.insert(rateText(rate));
        ASSERT_TRUE(writeFileBytes(folder.file(L"rates.txt"), ratesFile(filesRates)));
        int startRows[4] = {0, 1, 2, 3};
        filesSelections = programSelections(startRows, 0);
        ASSERT_TRUE(writeFileBytes(folder.file(L"quantrel.dat"), filesSelections));
        setMachineText(kQuelvindor, L"modulePath", folder.folder());
        setMachineNumber(kQuelvindor, L"Updated", 0);
        setMachineText(kZentavoKey, L"DLL", L"Zentavo.dll");
        setMachineNumber(kZentavoKey, L"Enabled", 1);
        setMachineNumber(kZentavoKey, L"Options", 0);
        setMachineNumber(kZentavoKey, L"Type", 4);
    }

    // The home screen with Zentavo laid out, and the program on its launcher.
    void startBoth() {
        ASSERT_TRUE(host.start(folder.file(L"TodayHost.exe")));
        hostWindow = waitForWindow(host.info.dwProcessId, L"TodayHostScreen", nullptr, waitUntil);
        ASSERT_NE(nullptr, hostWindow) << "the home screen";
        ASSERT_TRUE(waitUntil([&] {
            item = FindWindowExW(hostWindow, nullptr, L"MyToday", L"MyTodayScreen");
            RECT rect = {};
            GetWindowRect(item, &rect);
            return item != nullptr && rect.bottom - rect.top == 100;
        })) << "the host lays Zentavo's item out 100 pixels high";
        homeList = GetDlgItem(item, kRatesList);
        ASSERT_TRUE(waitUntil([&] { return SendMessageW(homeList, LVM_GETITEMCOUNT, 0, 0) == kCurrencies; }));

        ASSERT_TRUE(program.start(folder.file(L"Quantrel.exe")));
        mainWindow = waitForWindow(program.info.dwProcessId, L"QUANTREL", nullptr, waitUntil);
        ASSERT_NE(nullptr, mainWindow);
        launcher = FindWindowExW(mainWindow, nullptr, L"#32770", nullptr);
        ASSERT_NE(nullptr, launcher);
    }

    HWND openProgramScreen(HWND from, int button, const wchar_t* caption) {
        PostMessageW(from, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(from, button)));
        return waitForWindow(program.info.dwProcessId, L"#32770", caption, waitUntil);
    }

    // A tap on the home screen's list header opens the calculator.
    HWND openCalculator() {
        HWND header = reinterpret_cast<HWND>(SendMessageW(homeList, LVM_GETHEADER, 0, 0));
        LPARAM at = MAKELPARAM(20, 5);
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(header, WM_LBUTTONUP, 0, at);
        return waitForWindow(host.info.dwProcessId, L"#32770", L"Currency calculator", waitUntil);
    }

    void runRound(int round);
    void finish();

    SavedKey today{kTodayKey};
    SavedKey items{kItemsKey};
    SavedKey zentavo{kZentavoKey};
    SavedKey quelvindor{kQuelvindor};
    HomeFolder folder;
    Process host;
    Process program;
    HWND hostWindow = nullptr, item = nullptr, homeList = nullptr;
    HWND mainWindow = nullptr, launcher = nullptr;

    // What each file holds after the last pair of saves, and every rate text
    // a writer can have put into rates.txt so far.
    std::vector<double> filesRates;
    std::string filesSelections;
    std::set<std::string> typedRates;
    int lastProgramRows[4] = {0, 1, 2, 3};
    int lastAutoUpdate = 0;
    // Which save each file held after each round, counted by name.
    std::map<std::string, int> tally;
};

void TwoProcessStressTest::runRound(int round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int programRow = round % kCurrencies;
    const int homeRow = (round + kCurrencies / 2) % kCurrencies;
    const double programRate = 1000 + round + 0.125;
    const double homeRate = 5000 + round + 0.5;
    // Texts as users type them: the reader takes the number and stops at "x".
    const std::string programText = rateText(programRate);
    const std::string homeText = std::to_string(5000 + round) + (round % 3 == 0 ? ".5x" : ".5");
    typedRates.insert(rateText(programRate));
    typedRates.insert(rateText(homeRate));
    const int programRows[4] = {round % kCurrencies, (round / kCurrencies) % kCurrencies, (round + 2) % kCurrencies,
                                (round * 5 + 1) % kCurrencies};
    const int homeRows[4] = {(round + 3) % kCurrencies, (round * 7) % kCurrencies, (round / 2) % kCurrencies,
                             kCurrencies - 1 - round % kCurrencies};
    const int autoUpdate = round % 2;

    // The program: Currency Exchange with its choices, then a rate edited in
    // Edit Currency Value, which stays open.
    HWND exchange = openProgramScreen(launcher, kLaunchCurrency, L"Currency Exchange");
    ASSERT_NE(nullptr, exchange) << "Currency Exchange opens from the launcher";
    chooseCurrencies(exchange, kExchangeFirstBox, kExchangeFirstAmount, programRows);
    ASSERT_NE(L"", windowText(GetDlgItem(exchange, kExchangeFirstAmount + 1))) << "the key release converted";
    SendDlgItemMessageW(exchange, kAutoUpdateBox, BM_SETCHECK, autoUpdate ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageW(exchange, kTodayItemBox, BM_SETCHECK, BST_CHECKED, 0);
    HWND editor = openProgramScreen(exchange, kEditButton, L"Edit Currency Value");
    ASSERT_NE(nullptr, editor) << "Edit Currency Value opens from \"Edit ...\"";
    RemoteList programList(GetDlgItem(editor, kRatesList));
    ASSERT_TRUE(programList.ready());
    ASSERT_EQ(kCurrencies, programList.rows());
    HWND programEdit = beginRateEdit(programList.window(), programRow, programText);
    ASSERT_NE(nullptr, programEdit) << "the program's list opens its editor";
    pressEnter(programEdit);
    ASSERT_TRUE(gone(programEdit));
    const std::vector<double> programTable = programList.rates();
    ASSERT_EQ(rateText(programRate), rateText(programTable[static_cast<size_t>(programRow)]));

    // The home screen: a rate being typed in place.
    RemoteList home(homeList);
    ASSERT_TRUE(home.ready());
    const std::vector<double> homeTable = home.rates();
    HWND homeEdit = beginRateEdit(homeList, homeRow, homeText);
    ASSERT_NE(nullptr, homeEdit) << "the item's list opens its editor";
    ASSERT_TRUE(IsWindow(homeEdit)) << "the edit is still open";

    // rates.txt saved by both at once: Done in the program, Enter at home.
    sendTogether(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), homeEdit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ASSERT_TRUE(gone(editor)) << "Done closes Edit Currency Value";
    ASSERT_TRUE(gone(homeEdit)) << "Enter ends the edit at home";
    // The program wrote its table. The item wrote its own table with the new
    // rate; that table is what the item last showed, unless a refresh query
    // reloaded it from the file in between, before or after the program's
    // save landed.
    const std::string fromProgram = ratesFile(programTable);
    const Saves ratesCandidates = {
        {"rates.txt: program", fromProgram},
        {"rates.txt: home screen", ratesFile(withRate(homeTable, homeRow, homeRate))},
        {"rates.txt: home screen, reloaded before", ratesFile(withRate(filesRates, homeRow, homeRate))},
        {"rates.txt: home screen, reloaded after the program", ratesFile(withRate(programTable, homeRow, homeRate))},
    };
    const std::string ratesHeld = settledBytes(folder.file(L"rates.txt"));
    const std::string ratesOutcome = whichOf(ratesHeld, ratesCandidates);
    ASSERT_NE("neither", ratesOutcome) << heldAndSaved(ratesHeld, ratesCandidates);
    expectWellFormedRates(ratesHeld, typedRates);
    ++tally[ratesOutcome];
    filesRates = ratesIn(ratesHeld);

    // The plug-in's calculator with its own choices.
    HWND calculator = openCalculator();
    ASSERT_NE(nullptr, calculator) << "a tap on the list header opens the calculator";
    chooseCurrencies(calculator, kCalculatorFirstBox, kCalculatorFirstAmount, homeRows);
    ASSERT_NE(L"", windowText(GetDlgItem(calculator, kCalculatorFirstAmount + 1))) << "the key release converted";

    // quantrel.dat saved by both at once: Done on either screen.
    sendTogether(exchange, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), calculator, WM_COMMAND,
                 MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(gone(exchange)) << "Done closes Currency Exchange";
    ASSERT_TRUE(gone(calculator)) << "Done closes the calculator";
    // The plug-in read the record, then wrote its slots over it: over the
    // record as it was, or over the program's if that landed first.
    const std::string fromProgramSelections = programSelections(programRows, autoUpdate);
    const Saves selectionCandidates = {
        {"quantrel.dat: program", fromProgramSelections},
        {"quantrel.dat: calculator over the earlier record", pluginSelections(filesSelections, homeRows)},
        {"quantrel.dat: calculator over the program's", pluginSelections(fromProgramSelections, homeRows)},
    };
    const std::string selectionsHeld = settledBytes(folder.file(L"quantrel.dat"));
    const std::string selectionsOutcome = whichOf(selectionsHeld, selectionCandidates);
    ASSERT_NE("neither", selectionsOutcome) << heldAndSaved(selectionsHeld, selectionCandidates);
    ++tally[selectionsOutcome];
    filesSelections = selectionsHeld;
    for (int i = 0; i < 4; ++i) lastProgramRows[i] = programRows[i];
    lastAutoUpdate = autoUpdate;
}

// One more save of each file with nothing overlapping it: an edit at home,
// then the program's end, which saves the selections from its memory.
void TwoProcessStressTest::finish() {
    RemoteList home(homeList);
    ASSERT_TRUE(home.ready());
    const double lastRate = 7777.25;
    typedRates.insert(rateText(lastRate));
    HWND homeEdit = beginRateEdit(homeList, 0, rateText(lastRate));
    ASSERT_NE(nullptr, homeEdit);
    pressEnter(homeEdit);
    ASSERT_TRUE(gone(homeEdit));
    // The item saved the table it shows now: a refresh query that reloads it
    // afterwards reads back that very file.
    const std::vector<double> saved = home.rates();
    ASSERT_EQ(rateText(lastRate), rateText(saved[0]));

    PostMessageW(mainWindow, WM_COMMAND, 1, 0);
    ASSERT_TRUE(program.ended(15000, waitUntil)) << "the program ends on command 1";

    const std::string ratesHeld = settledBytes(folder.file(L"rates.txt"));
    EXPECT_EQ(shown(ratesFile(saved)), shown(ratesHeld)) << "rates.txt is the home screen's last save";
    expectWellFormedRates(ratesHeld, typedRates);
    const std::string selectionsHeld = settledBytes(folder.file(L"quantrel.dat"));
    EXPECT_EQ(shown(programSelections(lastProgramRows, lastAutoUpdate)), shown(selectionsHeld))
        << "quantrel.dat is the program's save at its end";
    expectWellFormedSelections(selectionsHeld);
    std::string files;
    for (const std::wstring& name : folder.files()) files += " " + narrow(name);
    EXPECT_EQ(" Quantrel.exe TodayHost.exe Zentavo.dll quantrel.dat rates.txt", files)
        << "no temporary file is left behind";

    // The item still follows the program: the flag raised, the next refresh
    // query reloads the file and the list shows what it holds.
    setMachineNumber(kQuelvindor, L"Updated", 1);
    EXPECT_TRUE(waitUntil([] { return updatedFlag() == 0; }, kSeveralRefreshPeriods)) << "the host polls its item";
    const std::vector<double> fileRates = ratesIn(ratesHeld);
    for (int row = 0; row < kCurrencies; ++row)
        EXPECT_EQ(widen(rateText(fileRates[static_cast<size_t>(row)])) + L"00", home.cell(row, 0)) << "row " << row;

    PostMessageW(hostWindow, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(host.ended(15000, waitUntil)) << "the home screen ends on command 1";
}

TEST_F(TwoProcessStressTest, BothWritersAtOnceLeaveEveryFileWholeAndLastSavedWins) {
    startBoth();
    ASSERT_FALSE(HasFatalFailure());
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int round = 0; round < kRounds; ++round) {
        runRound(round);
        if (HasFailure()) return;
    }
    QueryPerformanceCounter(&end);
    std::printf("%d rounds in %.1f s\n", kRounds,
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    for (const auto& entry : tally) std::printf("  %-52s %4d rounds\n", entry.first.c_str(), entry.second);
    finish();
}

}  // namespace
