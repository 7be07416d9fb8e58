#include "frame/wide_text.h"

#include <vector>

std::string narrowText(const wchar_t* text) {
    if (text == nullptr || *text == 0) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(size));
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), size, nullptr, nullptr);
    return std::string(buffer.data());
}

std::wstring widenText(const char* text) {
    if (text == nullptr || *text == 0) return std::wstring();
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(size));
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer.data(), size);
    return std::wstring(buffer.data());
}

std::string readFieldText(HWND control, int limit) {
    std::vector<wchar_t> buffer(static_cast<size_t>(limit) + 1, L'\0');
    GetWindowTextW(control, buffer.data(), limit + 1);
    return narrowText(buffer.data());
}

void writeFieldText(HWND dialog, int controlId, const std::string& text) {
    SetDlgItemTextW(dialog, controlId, widenText(text).c_str());
}
