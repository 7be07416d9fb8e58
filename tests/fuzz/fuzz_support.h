// What the fuzz targets share: taking structured values from the fuzzer's
// bytes, and checking invariants so that a failure stops the run with the
// input kept as a crash artifact.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// An invariant that does not hold: print where and what, then abort, which
// libFuzzer reports as a crash and saves the input for.
#define FUZZ_CHECK(condition, ...)                                                        \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n  ", __FILE__, __LINE__,   \
                         #condition);                                                     \
            std::fprintf(stderr, __VA_ARGS__);                                            \
            std::fputc('\n', stderr);                                                     \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

// Reads the fuzzer's bytes front to back. Past the end every value is 0 and
// every text empty, so a short input is still a complete case.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t left() const { return size_ - at_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    uint16_t uint16() {
        uint16_t low = byte();
        return static_cast<uint16_t>(low | byte() << 8);
    }

    int32_t int32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(byte()) << (8 * i);
        int32_t out;
        std::memcpy(&out, &v, sizeof out);
        return out;
    }

    // The bytes up to the next zero byte (which is consumed), or to the end.
    // Field texts come from edit controls as C strings, so they never hold a
    // zero byte themselves; the zero byte is the natural separator.
    std::string field() {
        size_t from = at_;
        while (at_ < size_ && data_[at_] != 0) ++at_;
        std::string text(reinterpret_cast<const char*>(data_) + from, at_ - from);
        if (at_ < size_) ++at_;
        return text;
    }

    // Everything not yet taken, zero bytes included.
    std::string rest() {
        std::string text(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
        at_ = size_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Texts that a screen must never show: what printf gives for values that are
// not finite numbers.
inline bool showsNonFinite(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// "%.<decimals>f" of a finite number: an optional minus, at least one digit,
// a point and exactly `decimals` digits (no point when decimals is 0).
inline bool isFixedPointText(const std::string& text, int decimals) {
    size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    size_t digitsFrom = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == digitsFrom) return false;
    if (decimals == 0) return i == text.size();
    if (i >= text.size() || text[i] != '.') return false;
    ++i;
    size_t fraction = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++fraction;
    }
    return i == text.size() && fraction == static_cast<size_t>(decimals);
}

// Printable form of a text for failure messages.
inline std::string shown(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        }
    }
    return out;
}
