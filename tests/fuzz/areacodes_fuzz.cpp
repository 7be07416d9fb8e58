// The area-code search over whatever area.txt holds, with whatever was typed.
//
// Input: a control byte, the search text up to a zero byte, then the file's
// bytes. The control byte picks the mode (0 to 2, or one that does not
// exist) and whether the file bytes are repeated until they pass
// kAreaFileLimit, so that the limit falls anywhere in a line. Checks:
//  - the lines found are exactly those a plain reading of the file's lines
//    finds, in file order, and each is a whole line of the file without its
//    line end;
//  - nothing at or past kAreaFileLimit, the first zero byte or the buffer's
//    end is read (the buffer is a heap block of exactly the file's size).
#include <memory>

#include "calculators/areacodes/areacodes.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    }
    return text;
}

std::vector<std::string> searchPlainly(int mode, const std::string& typed, const std::string& file) {
    std::vector<std::string> found;
    if (mode < 0 || mode >= kAreaSearchModeCount) return found;
    std::string text = file.substr(0, kAreaFileLimit);
    text = text.substr(0, text.find('\0'));
    const std::string wanted = upper(typed.substr(0, kAreaSearchTextLimit));
    size_t from = 0;
    for (size_t feed; (feed = text.find('\n', from)) != std::string::npos; from = feed + 1) {
        std::string line = text.substr(from, feed - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string compared = line;
        if (mode == kAreaStateMode) {
            if (line.size() < 6) continue;
            compared = line.substr(4, 2);
        }
        if (upper(compared).find(wanted) != std::string::npos) found.push_back(line);
    }
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t control = in.byte();
    static const int kModes[] = {kAreaCodeMode, kAreaStateMode, kAreaCityMode, -1, kAreaSearchModeCount};
    const int mode = kModes[(control & 0x7f) % 5];
    const std::string typed = in.field();
    std::string file = in.rest();
    if ((control & 0x80) && !file.empty()) {
        while (file.size() <= kAreaFileLimit) file += file;
    }

    std::unique_ptr<char[]> block(new char[file.size() ? file.size() : 1]);
    std::memcpy(block.get(), file.data(), file.size());
    std::vector<std::string> got = searchAreaCodes(mode, typed.c_str(), block.get(), file.size());
    std::vector<std::string> expected = searchPlainly(mode, typed, file);

    FUZZ_CHECK(got.size() == expected.size(), "mode %d, \"%s\": %zu lines, expected %zu", mode,
               shown(typed).c_str(), got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        FUZZ_CHECK(got[i] == expected[i], "mode %d, line %zu: \"%s\", expected \"%s\"", mode, i,
                   shown(got[i]).c_str(), shown(expected[i]).c_str());
    }

    // A null buffer or text finds nothing.
    FUZZ_CHECK(searchAreaCodes(mode, nullptr, block.get(), file.size()).empty(), "a null text found lines");
    FUZZ_CHECK(searchAreaCodes(mode, typed.c_str(), nullptr, file.size()).empty(), "a null buffer found lines");

    // A text the screen accepts for an area code is what it says.
    if (acceptsAreaSearch(kAreaCodeMode, typed.c_str())) {
        FUZZ_CHECK(!typed.empty() && typed.size() <= 3 &&
                       typed.find_first_not_of("0123456789") == std::string::npos,
                   "\"%s\" accepted as an area code", shown(typed).c_str());
    }
    return 0;
}
