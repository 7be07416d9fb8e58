// Key releases on every screen of the program, timed in-process under Wine:
// each screen opened from its real template with its real procedure, over a
// scratch data directory holding the shipped rates and an area list of the
// full 28000 bytes, and its value fields typed key by key. A key release is
// timed from the send of WM_KEYUP to the field until its handling returns:
// the screen's computation and the results written into the other fields.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "bench/win/bench_support.h"
#include "tests/win/support/win_test.h"

namespace {

const int kReleases = 2000;

using bench::Typing;

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// The shipped area list, its lines repeated in order until the file has
// exactly 28000 bytes (the most the screen reads), the last line filled out
// to the byte.
std::string fullAreaList(const std::string& shipped) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < shipped.size();) {
        size_t end = shipped.find('\n', at);
        if (end == std::string::npos) break;
        lines.push_back(shipped.substr(at, end + 1 - at));
        at = end + 1;
    }
    const size_t kFull = 28000;
    std::string list;
    for (size_t i = 0; !lines.empty(); ++i) {
        const std::string& line = lines[i % lines.size()];
        if (list.size() + line.size() + 16 > kFull) break;
        list += line;
    }
    std::string last = "999 ZZ ";
    last += std::string(kFull - list.size() - last.size() - 2, 'Q');
    return list + last + "\r\n";
}

struct Screen {
    const char* name;
    int templateId;
    const DLGPROC* procedure;
    std::vector<Typing> typings;
};

// The mode of the Area Codes search, chosen as a user does.
void chooseAreaMode(HWND dialog, int mode) {
    HWND combo = GetDlgItem(dialog, 1008);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(mode), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(1008, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void benchScreen(const Screen& screen) {
    runScreen(GetModuleHandleW(nullptr), screen.templateId, *screen.procedure, programScreenData(),
              [&](HWND dialog) {
        bench::printLatencyRow(screen.name, bench::typeAndTime(dialog, screen.typings, kReleases));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

// Area Codes in each of its modes; the City search with an empty text (a
// backspace over the last character) lists every line of the file.
void benchAreaCodes() {
    struct Mode {
        const char* name;
        int mode;
        std::vector<Typing> typings;
    };
    const Mode modes[] = {
        {"Area Codes, by area code", 0, {{1009, L"212"}, {1009, L"415"}, {1009, L"905"}, {1009, L"2a"}}},
        {"Area Codes, by state", 1, {{1009, L"NY"}, {1009, L"ca"}, {1009, L"T"}, {1009, L"ONT"}}},
        {"Area Codes, by city", 2, {{1009, L"San"}, {1009, L"york"}, {1009, L"e"}}},
        {"Area Codes, by city, every line listed", 2, {{1009, L""}}},
    };
    for (const Mode& mode : modes) {
        runScreen(GetModuleHandleW(nullptr), IDD_AREA_CODES, areaCodesScreenProcedure, programScreenData(),
                  [&](HWND dialog) {
            chooseAreaMode(dialog, mode.mode);
            bench::printLatencyRow(mode.name, bench::typeAndTime(dialog, mode.typings, kReleases));
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
    }
}

}  // namespace

int wmain() {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    ScratchPlace place;
    wcscpy(dataDirectory, place.directory().c_str());
    std::string area = fullAreaList(readFileBytes(besideThisProgram(L"area.txt")));
    std::string rates = readFileBytes(besideThisProgram(L"rates.txt"));
    if (area.size() != 28000 || rates.empty() || !writeFileBytes(place.file(L"area.txt"), area) ||
        !writeFileBytes(place.file(L"rates.txt"), rates)) {
        std::fprintf(stderr, "screen_bench: area.txt and rates.txt are expected beside the program\n");
        return 1;
    }
    // Rows 1 to 4 on the first four currencies of the shipped rates.
    std::string selections(100, '\0');
    for (int row = 0; row < 4; ++row) selections[static_cast<size_t>(3 + 3 * row)] = static_cast<char>('0' + row);
    writeFileBytes(place.file(L"quantrel.dat"), selections);

    const Screen screens[] = {
        {"Currency Exchange", IDD_CURRENCY, &currencyScreenProcedure,
         {{1033, L"1250.75"}, {1034, L"99.5"}, {1035, L"12abc"}, {1036, L"1e3"}}},
        {"Loan Payments", IDD_LOAN, &loanScreenProcedure,
         {{1052, L"250000"}, {1053, L"6.5"}, {1018, L"360"}, {1054, L"1580.17"}}},
        {"Tip Calculator", IDD_TIP, &tipScreenProcedure,
         {{1061, L"84.60"}, {1062, L"18"}, {1020, L"4"}, {1063, L"15.23"}, {1019, L"99.83"}, {1018, L"24.96"}}},
        {"Computer", IDD_COMPUTER, &computerScreenProcedure,
         {{1021, L"1234567890"}, {1022, L"DEADBEEF"}, {1020, L"17777"}, {1019, L"101101110"}, {1018, L"Qz"}}},
        {"Metric Conversion", IDD_METRIC, &metricScreenProcedure,
         {{1059, L"12.5"}, {1061, L"3048"}, {1063, L"0.75"}, {1065, L"1e2"}}},
        {"Date Calculator", IDD_DATE, &dateScreenProcedure,
         {{IDC_DATE_DAYS, L"1234"}, {IDC_DATE_DAYS, L"-90"}, {IDC_DATE_DAYS, L"36500"}}},
        {"Lat/Lon Calculator", IDD_LATLON, &latLonScreenProcedure,
         {{1045, L"47.6062095"}, {1046, L"47 36.37"}, {1047, L"47 36 22.35"}, {1048, L"-122.3320708"},
          {1049, L"-122 19.92"}, {1050, L"-122 19 55.45"}}},
    };
    std::printf("Key releases, %d timed per row after 100 untimed:\n\n", kReleases);
    bench::printLatencyHeader("Screen");
    benchAreaCodes();
    for (const Screen& screen : screens) benchScreen(screen);
    return 0;
}
