// What the benchmarks that run under Wine share: the performance counter
// read in-process, samples in microseconds with their median and 99th
// percentile, rows of a Markdown table, and typing a screen's value fields
// while each key release's handling is timed.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline double counterSeconds() {
    static const double period = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * period;
}

// Durations of one kind, in microseconds.
class Samples {
public:
    void add(double microseconds) { values_.push_back(microseconds); }
    size_t count() const { return values_.size(); }
    // The nearest-rank percentile: the smallest sample that at least
    // `percent` per cent of the samples do not exceed.
    double percentile(double percent) const {
        if (values_.empty()) return 0;
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        size_t rank = static_cast<size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
        return sorted[rank == 0 ? 0 : rank - 1];
    }
    double median() const { return percentile(50); }
    double maximum() const { return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end()); }

private:
    std::vector<double> values_;
};

// Times one call, in microseconds.
template <typename Call>
double timeMicroseconds(Call call) {
    double start = counterSeconds();
    call();
    return (counterSeconds() - start) * 1e6;
}

inline void printLatencyHeader(const char* what) {
    std::printf("| %s | key releases | median (µs) | 99th percentile (µs) | maximum (µs) | under 1 ms at p99 |\n", what);
    std::printf("|---|---:|---:|---:|---:|---|\n");
}

inline void printLatencyRow(const std::string& name, const Samples& samples) {
    double p99 = samples.percentile(99);
    std::printf("| %s | %zu | %.0f | %.0f | %.0f | %s |\n", name.c_str(), samples.count(), samples.median(), p99,
                samples.maximum(), p99 < 1000 ? "yes" : "no");
    std::fflush(stdout);
}

// One value field and the text a user types into it, key by key.
struct Typing {
    int field;
    const wchar_t* text;
};

// Types the texts in turn, over and over, until `releases` key releases were
// timed (after `warmUp` untimed ones): a field gets the focus as a tap gives
// it when typing moves to it, then for each character the field's text grows
// by it and the key release is sent, timed from the send to the return of
// its handling. An empty text is a backspace that leaves the field empty.
// The screen repaints between keys, untimed, as it would between a user's
// keystrokes.
inline Samples typeAndTime(HWND dialog, const std::vector<Typing>& typings, int releases, int warmUp = 100) {
    Samples samples;
    int sent = 0;
    while (static_cast<int>(samples.count()) < releases) {
        for (const Typing& typing : typings) {
            HWND field = GetDlgItem(dialog, typing.field);
            if (GetFocus() != field) SetFocus(field);
            std::wstring text;
            const wchar_t* next = typing.text;
            do {
                if (*next != 0) text += *next;
                SetWindowTextW(field, text.c_str());
                WPARAM key = *next != 0 ? static_cast<WPARAM>(LOBYTE(VkKeyScanW(*next))) : VK_BACK;
                LPARAM up = 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16) | (1u << 30) |
                            (1u << 31);
                double took = timeMicroseconds([&] { SendMessageW(field, WM_KEYUP, key, up); });
                if (++sent > warmUp) samples.add(took);
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
                if (*next != 0) ++next;
            } while (*next != 0);
            if (static_cast<int>(samples.count()) >= releases) break;
        }
    }
    return samples;
}

}  // namespace bench
