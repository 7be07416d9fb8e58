#include "tests/win/support/win_test.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "currency/core/currency_files.h"
#include "platform/pocketpc/aygshell.h"
#include "platform/pocketpc/device_test.h"

namespace {

const UINT kDriveMessage = WM_APP + 0x3A1;

struct ScreenRun {
    DLGPROC screen;
    const std::function<void(HWND)>* driver;
};
ScreenRun* currentRun = nullptr;

// The screen's own procedure, kept per dialog once the driver has started.
const wchar_t kScreenProperty[] = L"TestScreenProcedure";

INT_PTR CALLBACK forwardingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ScreenRun* run = currentRun;
        SetPropW(dialog, kScreenProperty, reinterpret_cast<HANDLE>(run->screen));
        INT_PTR result = run->screen(dialog, message, wParam, lParam);
        PostMessageW(dialog, kDriveMessage, 0, reinterpret_cast<LPARAM>(run));
        return result;
    }
    if (message == kDriveMessage && lParam != 0) {
        ScreenRun* run = reinterpret_cast<ScreenRun*>(lParam);
        // The dialog manager shows a modal screen once its queue is idle;
        // the driver works on the screen as the user sees it.
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
        (*run->driver)(dialog);
        // A driver left at a failed assertion leaves the screen open: it is
        // closed here so that the test ends instead of waiting.
        if (::testing::Test::HasFatalFailure()) EndDialog(dialog, -1);
        return 1;
    }
    DLGPROC screen = reinterpret_cast<DLGPROC>(GetPropW(dialog, kScreenProperty));
    return screen != nullptr ? screen(dialog, message, wParam, lParam) : 0;
}

void sendKey(HWND field, UINT virtualKey, wchar_t character) {
    UINT scan = MapVirtualKeyW(virtualKey, 0);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1u << 30) | (1u << 31);
    SendMessageW(field, WM_KEYDOWN, virtualKey, down);
    if (character != 0) SendMessageW(field, WM_CHAR, character, down);
    SendMessageW(field, WM_KEYUP, virtualKey, up);
}

}  // namespace

ScratchPlace::ScratchPlace() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    wchar_t name[MAX_PATH];
    wsprintfW(name, L"%squantrel-test-%lu-%d\\", temp, GetCurrentProcessId(), ++counter);
    directory_ = name;
    CreateDirectoryW(directory_.c_str(), nullptr);
    wchar_t key[128];
    wsprintfW(key, L"Software\\QuantrelTests\\%lu-%d", GetCurrentProcessId(), counter);
    registryPath_ = key;
    RegCreateKeyExW(HKEY_CURRENT_USER, registryPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &machine_,
                    nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
}

ScratchPlace::~ScratchPlace() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (machine_ != nullptr) RegCloseKey(machine_);
    RegDeleteTreeW(HKEY_CURRENT_USER, registryPath_.c_str());
    for (const std::wstring& name : filesIn(directory_)) {
        std::wstring path = directory_ + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(directory_.c_str());
}

INT_PTR runScreen(int templateId, DLGPROC screen, ScreenData data, const std::function<void(HWND)>& driver,
                  HWND owner) {
    ScreenRun run = {screen, &driver};
    ScreenRun* outer = currentRun;
    currentRun = &run;
    INT_PTR result = deviceDialogBox(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                                     forwardingProcedure, reinterpret_cast<LPARAM>(&data));
    currentRun = outer;
    return result;
}

INT_PTR runScreenThenDone(int templateId, DLGPROC screen, ScreenData data, const std::function<void(HWND)>& driver) {
    return runScreen(templateId, screen, data, [&](HWND dialog) {
        driver(dialog);
        pressDone(dialog);
    });
}

namespace {

struct OpenedRun {
    HWND opener;
    const std::function<void(HWND)>* driver;
    bool ran;
};
OpenedRun* openedRun = nullptr;

void CALLBACK driveOpenedScreen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND active = GetActiveWindow();
    if (openedRun == nullptr || openedRun->ran || active == nullptr || active == openedRun->opener ||
        !IsWindowVisible(active))
        return;
    KillTimer(nullptr, timer);
    openedRun->ran = true;
    (*openedRun->driver)(active);
    pressDone(active);
}

std::wstring items(HWND dialog, int id, UINT countMessage, UINT textMessage) {
    std::wstring joined;
    int count = static_cast<int>(SendDlgItemMessageW(dialog, id, countMessage, 0, 0));
    for (int n = 0; n < count; ++n) {
        wchar_t text[128] = L"";
        SendDlgItemMessageW(dialog, id, textMessage, n, reinterpret_cast<LPARAM>(text));
        joined += (n > 0 ? L" | " : L"") + std::wstring(text);
    }
    return joined;
}

}  // namespace

bool runOpenedBy(HWND window, int command, const std::function<void(HWND)>& driver) {
    OpenedRun run = {GetAncestor(window, GA_ROOT), &driver, false};
    OpenedRun* outer = openedRun;
    openedRun = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, driveOpenedScreen);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    KillTimer(nullptr, timer);
    openedRun = outer;
    return run.ran;
}

void chooseInBox(HWND dialog, int box, int index) {
    SendDlgItemMessageW(dialog, box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, box)));
}

std::wstring boxItems(HWND dialog, int box) { return items(dialog, box, CB_GETCOUNT, CB_GETLBTEXT); }
std::wstring listItems(HWND dialog, int list) { return items(dialog, list, LB_GETCOUNT, LB_GETTEXT); }

std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[128] = L"";
    LVITEMW request = {};
    request.iSubItem = column;
    request.pszText = text;
    request.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&request));
    return text;
}

HWND beginRateEdit(HWND list, int row) {
    SetFocus(list);
    return reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
}

bool editRate(HWND list, int row, const std::wstring& text) {
    HWND editor = beginRateEdit(list, row);
    if (editor == nullptr) return false;
    SetWindowTextW(editor, text.c_str());
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    return waitFor([&] { return !IsWindow(editor); });
}

void focusField(HWND dialog, int fieldId) { SetFocus(GetDlgItem(dialog, fieldId)); }

void typeInto(HWND dialog, int fieldId, const std::wstring& text) {
    HWND field = GetDlgItem(dialog, fieldId);
    if (GetFocus() != field) SetFocus(field);
    for (wchar_t c : text) {
        SHORT key = VkKeyScanW(c);
        UINT virtualKey = key == -1 ? VK_PACKET : LOBYTE(key);
        sendKey(field, virtualKey, c);
    }
}

void enterText(HWND dialog, int fieldId, const std::wstring& text) {
    HWND field = GetDlgItem(dialog, fieldId);
    if (GetFocus() != field) SetFocus(field);
    SetWindowTextW(field, text.c_str());
    sendKey(field, VK_END, 0);
}

void pressKey(HWND dialog, int fieldId, UINT virtualKey) {
    HWND field = GetDlgItem(dialog, fieldId);
    if (GetFocus() != field) SetFocus(field);
    sendKey(field, virtualKey, 0);
}

std::wstring fieldText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void setFieldText(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

void pressDone(HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool waitFor(const std::function<bool()>& condition, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        pumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start > limitMs) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void setMachineNumber(const wchar_t* keyPath, const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, keyPath, name, REG_DWORD, &value, sizeof value);
}

void setMachineText(const wchar_t* keyPath, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, keyPath, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

long machineNumber(const wchar_t* keyPath, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, keyPath, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<long>(value);
}

std::wstring machineText(const wchar_t* keyPath, const wchar_t* name) {
    wchar_t text[MAX_PATH] = L"";
    DWORD size = sizeof text;
    RegGetValueW(HKEY_LOCAL_MACHINE, keyPath, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

long updatedFlag() { return machineNumber(kQuelvindorKey, kUpdatedValue); }

std::vector<std::wstring> filesIn(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((directory + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string selectionRecord(const std::vector<int>& slots) {
    uint8_t record[kSelectionRecordSize] = {};
    for (size_t slot = 0; slot < slots.size(); ++slot) writeSlot(record, static_cast<int>(slot), slots[slot]);
    return std::string(reinterpret_cast<const char*>(record), sizeof record);
}

std::string readFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

bool saveScreenshot(const wchar_t* name) {
    const std::string where = QUANTREL_SCREENSHOTS;
    const std::wstring folder(where.begin(), where.end());
    CreateDirectoryW(folder.c_str(), nullptr);
    pumpMessages();
    return deviceCaptureScreen((folder + name + L".bmp").c_str());
}
