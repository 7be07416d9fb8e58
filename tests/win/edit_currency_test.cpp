// The Edit Currency Value screen built from its template and driven with
// messages: the list of the table, in-place editing of a rate, `Updated`,
// and the file written at Done.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <functional>
#include <string>

#include "currency/core/currency_files.h"
#include "currency/screens/edit_currency_screen.h"
#include "platform/pocketpc/device_test.h"
#include "shell/program.h"
#include "tests/win/support/win_test.h"

using namespace std::string_literals;

namespace {

const std::string kThreeRates = "H\nA\t1.5\nB\t2\nC\t0.25\n";

HWND listOf(HWND dialog) { return GetDlgItem(dialog, IDC_EDIT_CURRENCY_LIST); }

std::wstring cellText(HWND list, int item, int column) {
    wchar_t text[128] = L"";
    LVITEMW request = {};
    request.iSubItem = column;
    request.pszText = text;
    request.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&request));
    return text;
}

// Starts an in-place edit of the item's rate; the editor, or null.
HWND beginEdit(HWND list, int item) {
    SetFocus(list);
    return reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, item, 0));
}

void endEdit(HWND editor, UINT key) { SendMessageW(editor, WM_KEYDOWN, key, 0); }


// Refuses to create list controls on this thread while alive, as a platform
// short of resources would.
class NoListControls {
public:
    NoListControls() { hook_ = SetWindowsHookExW(WH_CBT, refuse, nullptr, GetCurrentThreadId()); }
    ~NoListControls() { UnhookWindowsHookEx(hook_); }

private:
    static LRESULT CALLBACK refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            wchar_t className[32] = L"";
            GetClassNameW(reinterpret_cast<HWND>(wParam), className, 32);
            if (lstrcmpiW(className, WC_LISTVIEWW) == 0) return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

class EditCurrencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        programRates = CurrencyTable{};
        deviceCaptureMessageBoxes(true);
        deviceClearMessageBoxes();
    }
    void TearDown() override {
        deviceCaptureMessageBoxes(false);
        dataDirectory[0] = 0;
    }
    // The screen works on the table as the Currency Exchange screen loaded it.
    void loadTable(const std::string& file) {
        ASSERT_TRUE(writeFileBytes(place.file(L"rates.txt"), file));
        loadRates(dataDirectory, programRates);
    }
    std::string ratesFile() const { return readFileBytes(place.file(L"rates.txt")); }
    // Runs `driver` on the open screen, then closes it with Done, also when
    // the driver stopped at a failed assertion.
    INT_PTR open(const std::function<void(HWND)>& driver) {
        return runScreen(GetModuleHandleW(nullptr), IDD_EDIT_CURRENCY, editCurrencyScreenProcedure, programScreenData(),
                         [&](HWND dialog) {
                             driver(dialog);
                             pressDone(dialog);
                         });
    }

    ScratchPlace place;
};

TEST_F(EditCurrencyTest, ListsTheTableCurrencyLeftRateRight) {
    loadTable(kThreeRates);
    INT_PTR result = open([&](HWND dialog) {
        HWND list = listOf(dialog);
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        HWND bar = deviceMenuBarOf(dialog);
        ASSERT_NE(nullptr, bar);
        EXPECT_TRUE(deviceMenuBarCommands(bar).empty()) << "an empty menu bar";

        LONG style = GetWindowLongW(list, GWL_STYLE);
        EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
        EXPECT_NE(0, style & LVS_EDITLABELS);
        EXPECT_NE(0, style & WS_BORDER);
        EXPECT_NE(0u, SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x20000000u);
        RECT client, place;
        GetClientRect(dialog, &client);
        GetWindowRect(list, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(0, place.left);
        EXPECT_EQ(0, place.top);
        EXPECT_EQ(240, place.right - place.left);
        EXPECT_EQ(client.bottom, place.bottom - place.top) << "the client area's height";

        struct Column {
            const wchar_t* header;
            int width;
        } columns[] = {{L"Rate", 105}, {L"Currency", 120}};
        for (int i = 0; i < 2; ++i) {
            wchar_t header[32] = L"";
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = header;
            column.cchTextMax = 32;
            ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column))) << "column " << i;
            EXPECT_STREQ(columns[i].header, header) << "column " << i;
            EXPECT_EQ(columns[i].width, column.cx) << "column " << i;
        }
        int order[2] = {-1, -1};
        SendMessageW(list, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
        EXPECT_EQ(1, order[0]) << "Currency is shown first";
        EXPECT_EQ(0, order[1]);

        ASSERT_EQ(3, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        const wchar_t* names[3] = {L"A", L"B", L"C"};
        const wchar_t* rates[3] = {L"1.500000", L"2.000000", L"0.250000"};
        for (int item = 0; item < 3; ++item) {
            EXPECT_EQ(rates[item], cellText(list, item, 0)) << "item " << item;
            EXPECT_EQ(names[item], cellText(list, item, 1)) << "item " << item;
        }
    });
    EXPECT_EQ(1, result);
    EXPECT_TRUE(deviceMessageBoxes().empty());
}

TEST_F(EditCurrencyTest, AcceptedEditStoresTheRateAndRaisesUpdated) {
    struct Case {
        const char* name;
        const wchar_t* typed;
        double rate;             // in the table
        const wchar_t* shown;    // "%f"
        std::string saved;       // rates.txt after Done
    } cases[] = {
        {"six decimals shown, four saved", L"1.23456", 1.23456, L"1.234560", "H\nA\t1.5000\nB\t1.2346\nC\t0.2500\n\0"s},
        {"no number is 0", L"abc", 0.0, L"0.000000", "H\nA\t1.5000\nB\t0.0000\nC\t0.2500\n\0"s},
        {"read as strtod reads", L" -2e1x", -20.0, L"-20.000000", "H\nA\t1.5000\nB\t-20.0000\nC\t0.2500\n\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        programRates = CurrencyTable{};
        loadTable(kThreeRates);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindorKey, kUpdatedValue);
        open([&](HWND dialog) {
            HWND list = listOf(dialog);
            HWND editor = beginEdit(list, 1);
            EXPECT_NE(nullptr, editor);
            if (editor != nullptr) {
                SetWindowTextW(editor, c.typed);
                endEdit(editor, VK_RETURN);
            }
            EXPECT_EQ(c.rate, programRates.entries[1].rate) << "stored at once";
            EXPECT_EQ(1, updatedFlag()) << "Updated set before Done";
            EXPECT_EQ(c.shown, cellText(list, 1, 0));
            EXPECT_EQ(L"1.500000", cellText(list, 0, 0)) << "other entries untouched";
            // The home-screen item takes the flag and reloads the old file
            // before the user taps Done.
            EXPECT_TRUE(consumeUpdatedFlag());
        });
        EXPECT_EQ(c.saved, ratesFile());
        EXPECT_EQ(1, updatedFlag()) << "raised again once rates.txt holds the edit";
    }
}

TEST_F(EditCurrencyTest, CancelledEditKeepsTheRateAndUpdated) {
    loadTable(kThreeRates);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    DWORD zero = 0;
    RegSetValueExW(key, kUpdatedValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    RegCloseKey(key);
    open([&](HWND dialog) {
        HWND list = listOf(dialog);
        HWND editor = beginEdit(list, 2);
        ASSERT_NE(nullptr, editor);
        SetWindowTextW(editor, L"99");
        endEdit(editor, VK_ESCAPE);
        EXPECT_FALSE(IsWindow(editor)) << "the edit ended";
        EXPECT_EQ(0.25, programRates.entries[2].rate);
        EXPECT_EQ(L"0.250000", cellText(list, 2, 0));
        EXPECT_EQ(0, updatedFlag()) << "Updated left alone";
        EXPECT_EQ(kThreeRates, ratesFile()) << "nothing is written before Done";
    });
    EXPECT_EQ(kThreeRates, ratesFile()) << "with no accepted rate, Done writes nothing";
}

TEST_F(EditCurrencyTest, EditorTakesAtMostTwentyCharacters) {
    loadTable(kThreeRates);
    open([&](HWND dialog) {
        HWND editor = beginEdit(listOf(dialog), 0);
        ASSERT_NE(nullptr, editor);
        SetWindowTextW(editor, L"");
        for (wchar_t c : std::wstring(L"123456789012345678901"))
            SendMessageW(editor, WM_CHAR, c, 1);
        wchar_t text[64] = L"";
        GetWindowTextW(editor, text, 64);
        EXPECT_STREQ(L"12345678901234567890", text) << "the 21st character is refused";
        endEdit(editor, VK_RETURN);
        EXPECT_EQ(12345678901234567890.0, programRates.entries[0].rate);
    });
}

TEST_F(EditCurrencyTest, DoneFromTheEditorDoesNotCloseTheScreen) {
    loadTable(kThreeRates);
    DeleteFileW(place.file(L"rates.txt").c_str());
    INT_PTR result = open([&](HWND dialog) {
        HWND list = listOf(dialog);
        HWND editor = beginEdit(list, 0);
        ASSERT_NE(nullptr, editor);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(editor));
        pumpMessages();
        EXPECT_TRUE(IsWindow(editor)) << "still editing";
        EXPECT_EQ("", ratesFile()) << "no save from the editor's Done";
        endEdit(editor, VK_ESCAPE);
    });
    EXPECT_EQ(1, result);
    EXPECT_EQ("\n\0"s, ratesFile()) << "the screen's own Done creates the missing file as the empty table";
}

TEST_F(EditCurrencyTest, WithoutRatesTheListIsEmptyAndDoneWritesTheEmptyHeader) {
    open([&](HWND dialog) {
        EXPECT_EQ(0, SendMessageW(listOf(dialog), LVM_GETITEMCOUNT, 0, 0));
    });
    EXPECT_EQ("\n\0"s, ratesFile());
}

TEST_F(EditCurrencyTest, ListThatCannotBeMadeIsReported) {
    loadTable(kThreeRates);
    INT_PTR result;
    {
        NoListControls refuse;
        result = open([&](HWND dialog) {
            EXPECT_EQ(nullptr, listOf(dialog));
            EXPECT_TRUE(IsWindowVisible(dialog)) << "the screen stays open after the message";
        });
    }
    EXPECT_EQ(1, result);
    ASSERT_EQ(1u, deviceMessageBoxes().size());
    const ShownMessageBox& shown = deviceMessageBoxes().front();
    EXPECT_EQ(L"Listview not created!", shown.text);
    EXPECT_EQ(nullptr, shown.owner) << "no owner";
    EXPECT_TRUE(shown.hasOkButton);
}

TEST_F(EditCurrencyTest, Screenshot) {
    std::string rates = "Sample rates\nUS Dollar\t1\nEuro\t0.9216\nJapanese Yen\t151.37\nBritish Pound\t0.7898\n";
    for (int more = 0; more < 20; ++more) rates += "Currency " + std::to_string(more) + "\t1.25\n";
    loadTable(rates);
    open([&](HWND dialog) {
        HWND list = listOf(dialog);
        HWND editor = beginEdit(list, 1);
        ASSERT_NE(nullptr, editor);
        SetWindowTextW(editor, L"0.9301");
        endEdit(editor, VK_RETURN);
        EXPECT_EQ(L"0.930100", cellText(list, 1, 0));
        EXPECT_EQ(L"Euro", cellText(list, 1, 1));
        EXPECT_TRUE(saveScreenshot(L"edit_currency_value"));
    });
}

}  // namespace
