// The home screen as a user sees it: a real TodayHost.exe process with
// Zentavo.dll entered as its item, and Quantrel.exe beside it, all started
// from a folder of their own and driven from outside. The registry is the
// Wine prefix's own here (separate processes): every key and value the tests
// touch is put back as it was.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/todayhost/host_resource.h"
#include "resources/quantrel/resource_ids.h"
#include "resources/zentavo/zentavo_ids.h"
#include "tests/win/support/processes.h"
#include "tests/win/support/win_test.h"

namespace {

const wchar_t kQuelvindor[] = L"Software\\Orvandel\\quelvindor";
const wchar_t kTodayKey[] = L"SOFTWARE\\Microsoft\\Today";
const wchar_t kItemsKey[] = L"SOFTWARE\\Microsoft\\Today\\Items";
const wchar_t kZentavoKey[] = L"SOFTWARE\\Microsoft\\Today\\Items\\\"Zentavo\"";
const DWORD kSeveralRefreshPeriods = 10000;  // the host asks its items every 2 s



// A folder holding copies of the binaries; the data directory of them all.
struct HomeFolder : BinaryFolder {
    HomeFolder() : BinaryFolder(L"home", {L"TodayHost.exe", L"Zentavo.dll", L"Quantrel.exe"}) {}
};

// The entry Quantrel's Currency Exchange writes at Done.
void enterZentavo(DWORD enabled) {
    setMachineText(kZentavoKey, L"DLL", L"Zentavo.dll");
    setMachineNumber(kZentavoKey, L"Enabled", enabled);
    setMachineNumber(kZentavoKey, L"Options", 0);
    setMachineNumber(kZentavoKey, L"Type", 4);
}




// Text of a list view cell in another process: the item record and its text
// buffer have to live in that process.
std::wstring cellText(HWND list, int row, int column) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processOf(list));
    if (process == nullptr) return L"(no access)";
    const size_t characters = 128;
    BYTE* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + characters * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text = L"(no text)";
    if (remote != nullptr) {
        LVITEMW cell = {};
        cell.iSubItem = column;
        cell.cchTextMax = characters;
        cell.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        wchar_t buffer[characters] = L"";
        DWORD_PTR length = 0;
        if (WriteProcessMemory(process, remote, &cell, sizeof cell, nullptr) &&
            SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote),
                                SMTO_NORMAL, 5000, &length) &&
            ReadProcessMemory(process, cell.pszText, buffer, sizeof buffer, nullptr)) {
            buffer[characters - 1] = 0;
            text = buffer;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// Has every window of the window's process painted now (the home screen,
// its items, the navigation and menu bars), for a screenshot.
void paintNow(HWND window) {
    struct Search {
        DWORD process;
        std::vector<HWND> windows;
    } search = {processOf(window), {}};
    EnumWindows(
        [](HWND candidate, LPARAM context) -> BOOL {
            Search* found = reinterpret_cast<Search*>(context);
            if (processOf(candidate) == found->process && IsWindowVisible(candidate)) found->windows.push_back(candidate);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (HWND visible : search.windows)
        RedrawWindow(visible, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// Edits a rate in place as a user does: the editor opens, takes the text
// and is closed with Enter.
bool editRate(HWND list, int row, const wchar_t* text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    if (editor == nullptr) return false;
    SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    return waitFor([&] { return !IsWindow(editor); });
}

std::string fileLine(const std::string& text, const std::string& name) {
    size_t at = text.find("\n" + name + "\t");
    if (at == std::string::npos) return "(no line for " + name + ")";
    size_t end = text.find('\n', at + 1);
    return text.substr(at + 1, end - at - 1);
}

const char kRates[] =
    "Sample rates for the home screen\n"
    "US Dollar\t1.0000\n"
    "Euro\t0.9200\n"
    "Japanese Yen\t149.5000\n"
    "British Pound\t0.7900\n"
    "Swiss Franc\t0.8800\n";

class HomeScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ready()) << "copies of TodayHost.exe, Zentavo.dll and Quantrel.exe";
        ASSERT_EQ(nullptr, FindWindowW(L"TodayHostScreen", nullptr)) << "no home screen may be running";
        ASSERT_TRUE(writeFileBytes(folder.file(L"rates.txt"), kRates));
        setMachineText(kQuelvindor, L"modulePath", folder.folder());
        setMachineNumber(kQuelvindor, L"Updated", 0);
        enterZentavo(1);
    }
    // Starts the host; the item window once the host has laid it out.
    HWND startHome() {
        if (!host.start(folder.file(L"TodayHost.exe"))) return nullptr;
        hostWindow = waitForWindow(host.info.dwProcessId, L"TodayHostScreen");
        HWND item = nullptr;
        waitFor([&] {
            item = FindWindowExW(hostWindow, nullptr, L"MyToday", L"MyTodayScreen");
            RECT rect = {};
            GetWindowRect(item, &rect);
            return item != nullptr && rect.bottom - rect.top == 100;
        }, 20000);
        return item;
    }
    HWND listOf(HWND item) { return GetDlgItem(item, IDC_RATES_LIST); }
    void closeHome() {
        PostMessageW(hostWindow, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(host.ended()) << "the home screen ends on command 1";
    }

    SavedKey today{kTodayKey};
    SavedKey items{kItemsKey};
    SavedKey zentavo{kZentavoKey};
    SavedKey quelvindor{kQuelvindor};
    HomeFolder folder;
    Process host;
    HWND hostWindow = nullptr;
};

TEST_F(HomeScreenTest, ZentavoExportsOrdinals240And241AndNoNames) {
    HMODULE library = LoadLibraryExW(folder.file(L"Zentavo.dll").c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, library);
    const BYTE* base = reinterpret_cast<const BYTE*>(library);
    const IMAGE_NT_HEADERS* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(0u, directory.VirtualAddress) << "an export table";
    const IMAGE_EXPORT_DIRECTORY* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    EXPECT_EQ(0u, exports->NumberOfNames) << "exported by ordinal only";
    EXPECT_EQ(240u, exports->Base);
    EXPECT_EQ(2u, exports->NumberOfFunctions);
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(240))));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(241))));
    EXPECT_EQ(nullptr, reinterpret_cast<void*>(GetProcAddress(library, "initializeItem")));
    FreeLibrary(library);
}

TEST_F(HomeScreenTest, ItemShowsTheRatesAndSavesAnEditAtOnce) {
    HWND item = startHome();
    ASSERT_NE(nullptr, item) << "the host loads Zentavo and lays its item out 100 pixels high";
    HWND list = listOf(item);
    ASSERT_TRUE(waitFor([&] { return rowCount(list) == 5; })) << "rows: got " << rowCount(list);
    const wchar_t* names[] = {L"US Dollar", L"Euro", L"Japanese Yen", L"British Pound", L"Swiss Franc"};
    const wchar_t* rates[] = {L"1.000000", L"0.920000", L"149.500000", L"0.790000", L"0.880000"};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(names[row], cellText(list, row, 1)) << "row " << row;
        EXPECT_EQ(rates[row], cellText(list, row, 0)) << "row " << row;
    }
    paintNow(hostWindow);
    saveScreenshot(L"today_home");

    ASSERT_TRUE(editRate(list, 1, L"0.95x"));
    EXPECT_TRUE(waitFor([&] { return fileLine(readFileBytes(folder.file(L"rates.txt")), "Euro") == "Euro\t0.9500"; }))
        << "rates.txt: " << fileLine(readFileBytes(folder.file(L"rates.txt")), "Euro");
    EXPECT_EQ(L"0.950000", cellText(list, 1, 0));
    closeHome();
}

TEST_F(HomeScreenTest, ItemFollowsTheUpdatedFlagAndTheItemsKey) {
    HWND item = startHome();
    ASSERT_NE(nullptr, item);
    HWND list = listOf(item);

    // The program edited a rate: rates.txt rewritten, then `Updated` raised.
    writeFileBytes(folder.file(L"rates.txt"), std::string(kRates).replace(std::string(kRates).find("0.92"), 4, "0.81"));
    setMachineNumber(kQuelvindor, L"Updated", 1);
    EXPECT_TRUE(waitFor([&] { return cellText(list, 1, 0) == L"0.810000"; }, kSeveralRefreshPeriods))
        << "got " << cellText(list, 1, 0);
    EXPECT_EQ(0, updatedFlag()) << "the item consumed the flag";

    // A change of the items key (a value rewritten with the same data is no
    // change to Wine): the item drops its cache and reloads.
    writeFileBytes(folder.file(L"rates.txt"), std::string(kRates) + "Swedish Krona\t10.5000\n");
    setMachineNumber(kZentavoKey, L"Order", 1);
    EXPECT_TRUE(waitFor([&] { return rowCount(list) == 6; }, kSeveralRefreshPeriods)) << "got " << rowCount(list);
    EXPECT_EQ(L"Swedish Krona", cellText(list, 5, 1));

    // Switched off: the item goes at the next change.
    setMachineNumber(kZentavoKey, L"Enabled", 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(item); }, kSeveralRefreshPeriods)) << "the item window stays";
    closeHome();
}

// The host's menu bar: Refresh makes the items drop their caches; Options
// runs the item's options dialog (template 500) with the OK button its
// caption asks for.
TEST_F(HomeScreenTest, MenuBarRefreshesTheItemAndOpensItsOptions) {
    HWND item = startHome();
    ASSERT_NE(nullptr, item);
    HWND list = listOf(item);
    writeFileBytes(folder.file(L"rates.txt"), std::string(kRates).replace(std::string(kRates).find("149.5"), 5, "151.2"));
    PostMessageW(hostWindow, WM_COMMAND, MAKEWPARAM(IDM_HOST_REFRESH, BN_CLICKED), 0);
    EXPECT_TRUE(waitFor([&] { return cellText(list, 2, 0) == L"151.200000"; })) << "got " << cellText(list, 2, 0);

    // Registered with Options 0, as the program registers it: no options.
    DWORD_PTR handled = 0;
    EXPECT_NE(0, SendMessageTimeoutW(hostWindow, WM_COMMAND, MAKEWPARAM(IDM_HOST_OPTIONS, BN_CLICKED), 0,
                                     SMTO_NORMAL, 5000, &handled))
        << "Options returns at once";
    EXPECT_EQ(nullptr, FindWindowW(L"#32770", L"My Today Settings")) << "no options dialog for Options 0";
    setMachineNumber(kZentavoKey, L"Options", 1);
    closeHome();
    item = startHome();
    ASSERT_NE(nullptr, item);
    PostMessageW(hostWindow, WM_COMMAND, MAKEWPARAM(IDM_HOST_OPTIONS, BN_CLICKED), 0);
    HWND options = waitForWindow(host.info.dwProcessId, L"#32770", L"My Today Settings");
    ASSERT_NE(nullptr, options) << "the options dialog opens";
    wchar_t text[128] = L"";
    GetDlgItemTextW(options, 445, text, 128);
    EXPECT_STREQ(L"Description of the options for your DLL go here.", text);
    paintNow(options);
    saveScreenshot(L"today_options");
    PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(options); })) << "OK closes it";
    closeHome();
}

// The road of a rate edited in the program to the home screen: Currency
// Exchange, "Edit ...", a rate changed, a refresh period passes, Done, Done.
TEST_F(HomeScreenTest, RateEditedInTheProgramReachesTheHomeScreen) {
    uint8_t choices[100] = {};
    choices[33] = '1';  // the Zentavo box is checked
    ASSERT_TRUE(writeFileBytes(folder.file(L"quantrel.dat"), std::string(reinterpret_cast<char*>(choices), 100)));
    HWND item = startHome();
    ASSERT_NE(nullptr, item);
    HWND homeList = listOf(item);
    ASSERT_TRUE(waitFor([&] { return cellText(homeList, 1, 0) == L"0.920000"; }));
    paintNow(hostWindow);
    saveScreenshot(L"today_road_before");

    Process program;
    ASSERT_TRUE(program.start(folder.file(L"Quantrel.exe")));
    HWND mainWindow = waitForWindow(program.info.dwProcessId, L"QUANTREL");
    ASSERT_NE(nullptr, mainWindow);
    HWND launcher = FindWindowExW(mainWindow, nullptr, L"#32770", nullptr);
    ASSERT_NE(nullptr, launcher);
    PostMessageW(launcher, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(launcher, 1002)));
    HWND exchange = waitForWindow(program.info.dwProcessId, L"#32770", L"Currency Exchange");
    ASSERT_NE(nullptr, exchange) << "Currency Exchange opens from the launcher";
    PostMessageW(exchange, WM_COMMAND, MAKEWPARAM(1068, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(exchange, 1068)));
    HWND editor = waitForWindow(program.info.dwProcessId, L"#32770", L"Edit Currency Value");
    ASSERT_NE(nullptr, editor) << "Edit Currency Value opens from \"Edit ...\"";
    HWND programList = GetDlgItem(editor, IDC_EDIT_CURRENCY_LIST);
    ASSERT_TRUE(waitFor([&] { return rowCount(programList) == 5; }));
    // A value the item leaves alone: only the edit's 1 can turn into 0.
    setMachineNumber(kQuelvindor, L"Updated", 2);
    ASSERT_TRUE(editRate(programList, 1, L"1.75"));
    // The edit raised Updated and the item consumed it at its next refresh
    // query, reading rates.txt before Done has written it.
    EXPECT_TRUE(waitFor([] { return updatedFlag() == 0; }, kSeveralRefreshPeriods))
        << "Updated is " << updatedFlag();

    PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(editor); })) << "Done closes Edit Currency Value";
    EXPECT_EQ("Euro\t1.7500", fileLine(readFileBytes(folder.file(L"rates.txt")), "Euro")) << "written at Done";
    EXPECT_TRUE(waitFor([&] { return cellText(homeList, 1, 0) == L"1.750000"; }, kSeveralRefreshPeriods))
        << "the home screen shows the rate written at Done; got " << cellText(homeList, 1, 0);

    SendMessageW(GetDlgItem(exchange, 1090), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(exchange, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(exchange); })) << "Done closes Currency Exchange";
    PostMessageW(mainWindow, WM_COMMAND, 1, 0);
    EXPECT_TRUE(program.ended());
    EXPECT_TRUE(waitFor([&] { return IsWindow(item) && cellText(homeList, 1, 0) == L"1.750000"; },
                        kSeveralRefreshPeriods))
        << "got " << cellText(homeList, 1, 0);
    paintNow(hostWindow);
    saveScreenshot(L"today_road_after");
    closeHome();
}

}  // namespace
