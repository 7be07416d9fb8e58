// The area search over any area.txt. Input: a control byte (the mode; whether
// the file repeats past kAreaFileLimit), the text up to a zero byte, then the
// file, in a block of exactly its size. What is found are lines of the text
// (to a zero byte or the limit, ended by LF, less a CR before it), in order, of
// 6 bytes or more in State mode; the empty City text finds them all.
#include <algorithm>
#include <vector>

#include "calculators/areacodes/areacodes.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const uint8_t control = in.byte();
    const int mode = (control & 0x7f) % 5 == 3 ? -1 : (control & 0x7f) % 5;  // -1 and 4 are no mode
    const std::string typed = in.field();
    std::string file(reinterpret_cast<const char*>(data) + in.at, size - std::min(size, in.at));
    while ((control & 0x80) && !file.empty() && file.size() <= kAreaFileLimit) file += file;
    const std::vector<char> bytes(file.begin(), file.end());
    const std::vector<std::string> found = searchAreaCodes(mode, typed.c_str(), bytes.data(), bytes.size());

    const std::string text = file.substr(0, std::min(file.find('\0'), kAreaFileLimit));
    std::vector<std::string> lines;
    for (size_t from = 0, feed; (feed = text.find('\n', from)) != std::string::npos; from = feed + 1) {
        lines.push_back(text.substr(from, feed - from));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
    }
    size_t next = 0;
    for (const std::string& line : found) {
        while (next < lines.size() && lines[next] != line) ++next;
        FUZZ_CHECK(next++ < lines.size());
        FUZZ_CHECK(mode != kAreaStateMode || line.size() >= 6);
    }
    FUZZ_CHECK(mode != kAreaCityMode || !typed.empty() || found == lines);
    return 0;
}
