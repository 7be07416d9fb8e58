// What the fuzz targets share: a check that stops the run, and the fuzzer's
// bytes read front to back.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A broken invariant is named and aborts: libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
    (condition) ? void() : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort())

// Past the end every byte is 0 and every field empty: a short input is a
// whole case too.
struct FuzzInput {
    const uint8_t* data;
    size_t size, at = 0;
    uint8_t byte() { return at < size ? data[at++] : 0; }
    // The bytes up to the next zero byte, taken too (a field's text holds none).
    std::string field() {
        size_t from = at;
        while (at < size && data[at] != 0) ++at;
        return std::string(reinterpret_cast<const char*>(data) + from, at < size ? at++ - from : at - from);
    }
};
