// What the fuzz targets share: a check that names a broken invariant and
// aborts (libFuzzer keeps the input), and the fuzzer's bytes read front to
// back, past the end every byte 0 and every field empty.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition) \
    (condition) ? void() : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort())

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
