#include "calculators/areacodes/areacodes.h"

#include <cstring>

const char* const kAreaSearchModeNames[kAreaSearchModeCount] = {"Area Code", "State", "City"};

namespace {

// Upper-cases the ASCII letters a to z only; other bytes, the system code
// page's letters included, stay as they are.
std::string upperAscii(const char* bytes, std::size_t length) {
    std::string out(bytes, length);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

bool acceptsAreaSearch(int mode, const char* text) {
    if (text == nullptr) text = "";
    std::size_t length = std::strlen(text);
    switch (mode) {
        case kAreaCodeMode:
            if (length < 1 || length > 3) return false;
            for (std::size_t i = 0; i < length; ++i) {
                if (text[i] < '0' || text[i] > '9') return false;
            }
            return true;
        case kAreaStateMode:
            return length >= 1 && length <= 2;
        case kAreaCityMode:
            return true;
        default:
            return false;
    }
}

std::vector<std::string> searchAreaCodes(int mode, const char* text, const char* fileBytes,
                                         std::size_t fileSize) {
    std::vector<std::string> lines;
    if (fileBytes == nullptr || text == nullptr) return lines;
    if (mode != kAreaCodeMode && mode != kAreaStateMode && mode != kAreaCityMode) return lines;

    std::size_t end = fileSize < kAreaFileLimit ? fileSize : kAreaFileLimit;
    if (const void* zero = std::memchr(fileBytes, '\0', end)) {
        end = static_cast<std::size_t>(static_cast<const char*>(zero) - fileBytes);
    }
    std::size_t textLength = std::strlen(text);
    if (textLength > kAreaSearchTextLimit) textLength = kAreaSearchTextLimit;
    const std::string wanted = upperAscii(text, textLength);

    std::size_t start = 0;
    while (start < end) {
        const void* feed = std::memchr(fileBytes + start, '\n', end - start);
        if (feed == nullptr) break;  // an unended last line is not looked at
        std::size_t next = static_cast<std::size_t>(static_cast<const char*>(feed) - fileBytes);
        std::size_t length = next - start;
        if (length > 0 && fileBytes[start + length - 1] == '\r') --length;
        const char* line = fileBytes + start;
        start = next + 1;

        std::string part;
        if (mode == kAreaStateMode) {
            if (length < 6) continue;
            part = upperAscii(line + 4, 2);
        } else {
            part = upperAscii(line, length);
        }
        if (part.find(wanted) != std::string::npos) lines.emplace_back(line, length);
    }
    return lines;
}
