// Zentavo timed in-process under Wine: key releases in its currency
// calculator, and its answer to the host's refresh query, with and without
// a reload of rates.txt, on an item placed on a host window of our own over a
// scratch data directory and registry holding the shipped rates.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/win/bench_support.h"
#include "tests/win/plugin/plugin_host.h"

namespace {

const int kReleases = 2000;
const int kQueries = 2000;

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

void benchCalculator() {
    runScreen(GetModuleHandleW(nullptr), IDD_CALCULATOR, calculatorProcedure, calculatorData(), [](HWND dialog) {
        const std::vector<bench::Typing> typings = {
            {IDC_CALC_AMOUNT_1, L"1250.75"}, {IDC_CALC_AMOUNT_2, L"99.5"},
            {IDC_CALC_AMOUNT_3, L"12abc"},   {IDC_CALC_AMOUNT_4, L"1e3"}};
        bench::printLatencyRow("Zentavo currency calculator", bench::typeAndTime(dialog, typings, kReleases));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

// The host's refresh query as the host sends it every 2 s: with `Updated`
// at 0 the item has nothing to do; raised to 1 (untimed) by the program's
// edit, the item takes the flag back and reloads rates.txt. The host's
// relayout and repaint that follow an answer of 1 are the host's, untimed.
void benchRefreshQuery(plugin_test::ItemOnHost& home) {
    bench::Samples quiet, reloading;
    for (int i = 0; i < kQueries + 100; ++i) {
        plugin_test::setUpdated(0);
        LRESULT answer = 0;
        double took = bench::timeMicroseconds([&] { answer = home.query(); });
        if (answer != 0) std::fprintf(stderr, "zentavo_bench: a query without the flag answered %ld\n", static_cast<long>(answer));
        if (i >= 100) quiet.add(took);
        plugin_test::setUpdated(1);
        took = bench::timeMicroseconds([&] { answer = home.query(); });
        if (answer != 1) std::fprintf(stderr, "zentavo_bench: a query with the flag answered %ld\n", static_cast<long>(answer));
        if (i >= 100) reloading.add(took);
        home.layOut();
        pumpMessages();
    }
    std::printf("\nZentavo's answer to the host's refresh query, %d timed each after 100 untimed:\n\n", kQueries);
    std::printf("| Refresh query | queries | median (µs) | 99th percentile (µs) | maximum (µs) |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    std::printf("| no change (`Updated` 0): answers 0 | %zu | %.0f | %.0f | %.0f |\n", quiet.count(), quiet.median(),
                quiet.percentile(99), quiet.maximum());
    std::printf("| `Updated` 1: takes the flag, reloads rates.txt, answers 1 | %zu | %.0f | %.0f | %.0f |\n",
                reloading.count(), reloading.median(), reloading.percentile(99), reloading.maximum());
}

}  // namespace

int wmain() {
    plugin_test::ItemOnHost home;
    std::string rates = readFileBytes(besideThisProgram(L"rates.txt"));
    if (rates.empty() || !writeFileBytes(home.place.file(L"rates.txt"), rates)) {
        std::fprintf(stderr, "zentavo_bench: rates.txt is expected beside the program\n");
        return 1;
    }
    std::string selections(100, '\0');
    for (int row = 0; row < 4; ++row) selections[static_cast<size_t>(3 + 3 * row)] = static_cast<char>('0' + row);
    writeFileBytes(home.place.file(L"quantrel.dat"), selections);
    if (home.startShown() == nullptr) {
        std::fprintf(stderr, "zentavo_bench: the item made no rates list\n");
        return 1;
    }
    benchCalculator();
    benchRefreshQuery(home);
    return 0;
}
