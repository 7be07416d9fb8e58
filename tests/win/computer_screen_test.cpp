// The Computer screen driven through its real template: notations rewritten
// at each key release, the ASCII character through the system code page, all
// five fields emptied on focus, and the data-type table.
#include <gtest/gtest.h>

#include <string>

#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "calculators/screens.h"
#include "tests/win/support/win_test.h"

namespace {

const int kFields[] = {IDC_COMPUTER_ASCII, IDC_COMPUTER_BINARY, IDC_COMPUTER_OCTAL, IDC_COMPUTER_DECIMAL,
                       IDC_COMPUTER_HEXADECIMAL};

// The ASCII field's text for a byte: a space and the byte's character in the
// system code page (only the space for 0).
std::wstring asciiText(unsigned char byte) {
    std::wstring text = L" ";
    if (byte == 0) return text;
    wchar_t wide[4] = {};
    char narrow[2] = {static_cast<char>(byte), 0};
    MultiByteToWideChar(CP_ACP, 0, narrow, -1, wide, 4);
    return text + wide;
}

class ComputerScreenTest : public ::testing::Test {
protected:
    void SetUp() override { wcscpy(dataDirectory, place.directory().c_str()); }
    ScratchPlace place;
};

INT_PTR runComputer(const std::function<void(HWND)>& driver) {
    // A fatal failure leaves the driver early: the screen is closed all the
    // same, so that the test ends instead of waiting.
    return runScreen(GetModuleHandleW(nullptr), IDD_COMPUTER, computerScreenProcedure, [&](HWND dialog) {
        driver(dialog);
        if (::testing::Test::HasFatalFailure()) pressDone(dialog);
    });
}

// A tap into a field: the focus arrives from elsewhere, so the field's gain
// of focus is noticed even when it had the focus before.
void tapInto(HWND dialog, int id) {
    SetFocus(GetDlgItem(dialog, IDC_COMPUTER_TYPE));
    focusField(dialog, id);
}

void chooseType(HWND dialog, int index) {
    HWND combo = GetDlgItem(dialog, IDC_COMPUTER_TYPE);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_COMPUTER_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

TEST_F(ComputerScreenTest, OpensWithEmptyFieldsAndTheBooleanRow) {
    INT_PTR result = runComputer([&](HWND dialog) {
        EXPECT_EQ(13u, deviceInitDialogFlags(dialog));
        for (int id : kFields) EXPECT_EQ(L"", fieldText(dialog, id)) << "field " << id;
        HWND combo = GetDlgItem(dialog, IDC_COMPUTER_TYPE);
        const wchar_t* names[] = {L"Boolean", L"Character", L"Short", L"Long"};
        ASSERT_EQ(4, SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < 4; ++i) {
            wchar_t item[32] = L"";
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            EXPECT_STREQ(names[i], item) << "combo item " << i;
        }
        EXPECT_EQ(0, SendMessageW(combo, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(L"1", fieldText(dialog, IDC_COMPUTER_TYPE_SIZE));
        EXPECT_EQ(L"0", fieldText(dialog, IDC_COMPUTER_TYPE_MIN));
        EXPECT_EQ(L"1", fieldText(dialog, IDC_COMPUTER_TYPE_MAX));
        EXPECT_EQ(L"1", fieldText(dialog, IDC_COMPUTER_TYPE_UNSIGNED_MAX));
        EXPECT_EQ(0, GetWindowLongW(GetDlgItem(dialog, IDC_COMPUTER_ASCII), GWL_STYLE) & ES_AUTOHSCROLL)
            << "the ASCII field does not scroll";
        EXPECT_NE(0, GetWindowLongW(GetDlgItem(dialog, IDC_COMPUTER_BINARY), GWL_STYLE) & ES_AUTOHSCROLL)
            << "32 binary digits scroll";
        pressDone(dialog);
    });
    EXPECT_EQ(1, result) << "Done closes with 1";
}

TEST_F(ComputerScreenTest, TypingRewritesTheOtherNotations) {
    const std::wstring ones(32, L'1');
    const std::wstring same = L"<source>";  // the source keeps what was typed
    struct Case {
        const char* name;
        int source;
        const wchar_t* typed;
        std::wstring ascii, binary, octal, decimal, hex;
    } cases[] = {
        {"A in ASCII", IDC_COMPUTER_ASCII, L"A", asciiText('A'), L"1000001", L"101", L"65", L"41"},
        {"97 in decimal", IDC_COMPUTER_DECIMAL, L"97", asciiText('a'), L"1100001", L"141", same, L"61"},
        {"ff in hexadecimal", IDC_COMPUTER_HEXADECIMAL, L"ff", asciiText(0xff), L"11111111", L"377", L"255", same},
        {"FF in hexadecimal", IDC_COMPUTER_HEXADECIMAL, L"FF", asciiText(0xff), L"11111111", L"377", L"255", same},
        {"0xff in hexadecimal", IDC_COMPUTER_HEXADECIMAL, L"0xff", asciiText(0xff), L"11111111", L"377", L"255", same},
        {"12 in binary reads 1", IDC_COMPUTER_BINARY, L"12", asciiText(1), same, L"1", L"1", L"1"},
        {"9 in octal reads 0", IDC_COMPUTER_OCTAL, L"9", asciiText(0), L"0", same, L"0", L"0"},
        {"-1 in decimal", IDC_COMPUTER_DECIMAL, L"-1", asciiText(0xff), ones, L"37777777777", same, L"ffffffff"},
        {"2^32-1 wraps to the pattern of -1", IDC_COMPUTER_DECIMAL, L"4294967295", asciiText(0xff), ones,
         L"37777777777", same, L"ffffffff"},
        {"top bit shows as negative", IDC_COMPUTER_HEXADECIMAL, L"80000000", asciiText(0),
         L"1" + std::wstring(31, L'0'), L"20000000000", L"-2147483648", same},
        {"letter e9 widened through the code page", IDC_COMPUTER_HEXADECIMAL, L"e9", asciiText(0xe9), L"11101001",
         L"351", L"233", same},
    };
    runComputer([&](HWND dialog) {
        for (const Case& c : cases) {
            tapInto(dialog, c.source);
            typeInto(dialog, c.source, c.typed);
            const std::wstring* expected[] = {&c.ascii, &c.binary, &c.octal, &c.decimal, &c.hex};
            for (int i = 0; i < 5; ++i) {
                std::wstring want = *expected[i] == same ? std::wstring(c.typed) : *expected[i];
                EXPECT_EQ(want, fieldText(dialog, kFields[i])) << c.name << ": field " << kFields[i];
            }
        }
        pressDone(dialog);
    });
}

TEST_F(ComputerScreenTest, AsciiSourceIsRewrittenAsSpaceAndItsFirstCharacter) {
    runComputer([&](HWND dialog) {
        focusField(dialog, IDC_COMPUTER_ASCII);
        typeInto(dialog, IDC_COMPUTER_ASCII, L"A");
        EXPECT_EQ(L" A", fieldText(dialog, IDC_COMPUTER_ASCII));
        // The rewritten field now starts with its space: the next release
        // reads 32, whose character is a space again.
        pressKey(dialog, IDC_COMPUTER_ASCII, VK_RIGHT);
        EXPECT_EQ(L"  ", fieldText(dialog, IDC_COMPUTER_ASCII));
        EXPECT_EQ(L"32", fieldText(dialog, IDC_COMPUTER_DECIMAL));
        EXPECT_EQ(L"100000", fieldText(dialog, IDC_COMPUTER_BINARY));
        pressDone(dialog);
    });
}

TEST_F(ComputerScreenTest, KeyThatChangesNoTextStillConverts) {
    runComputer([&](HWND dialog) {
        focusField(dialog, IDC_COMPUTER_OCTAL);
        setFieldText(dialog, IDC_COMPUTER_OCTAL, L"777");  // no key released yet
        EXPECT_EQ(L"", fieldText(dialog, IDC_COMPUTER_DECIMAL));
        pressKey(dialog, IDC_COMPUTER_OCTAL, VK_LEFT);
        EXPECT_EQ(L"511", fieldText(dialog, IDC_COMPUTER_DECIMAL));
        EXPECT_EQ(L"1ff", fieldText(dialog, IDC_COMPUTER_HEXADECIMAL));
        EXPECT_EQ(L"777", fieldText(dialog, IDC_COMPUTER_OCTAL)) << "the source is not rewritten";
        pressDone(dialog);
    });
}

TEST_F(ComputerScreenTest, FocusInAnyFieldEmptiesAllFiveAndRaisesTheKeyboard) {
    runComputer([&](HWND dialog) {
        for (int target : kFields) {
            focusField(dialog, IDC_COMPUTER_DECIMAL);
            typeInto(dialog, IDC_COMPUTER_DECIMAL, L"65");
            SetFocus(GetDlgItem(dialog, IDC_COMPUTER_TYPE));
            EXPECT_FALSE(deviceSipIsUp()) << "field " << target << ": leaving to the combo lowers the keyboard";
            ASSERT_EQ(L"41", fieldText(dialog, IDC_COMPUTER_HEXADECIMAL));
            focusField(dialog, target);
            EXPECT_TRUE(deviceSipIsUp()) << "field " << target;
            for (int id : kFields) EXPECT_EQ(L"", fieldText(dialog, id)) << "focus in " << target << ", field " << id;
        }
        pressDone(dialog);
    });
}

TEST_F(ComputerScreenTest, DataTypeChoiceShowsItsFixedRow) {
    struct Row {
        const wchar_t *size, *min, *max, *unsignedMax;
    } rows[] = {
        {L"1", L"0", L"1", L"1"},
        {L"1", L"-127", L"127", L"255"},
        {L"2", L"-32767", L"32767", L"65535"},
        {L"4", L"-2147483647", L"2147483647", L"4294967295"},
    };
    int order[] = {2, 0, 3, 1};  // Short, Boolean again, Long, Character
    runComputer([&](HWND dialog) {
        for (int index : order) {
            chooseType(dialog, index);
            EXPECT_EQ(rows[index].size, fieldText(dialog, IDC_COMPUTER_TYPE_SIZE)) << "type " << index;
            EXPECT_EQ(rows[index].min, fieldText(dialog, IDC_COMPUTER_TYPE_MIN)) << "type " << index;
            EXPECT_EQ(rows[index].max, fieldText(dialog, IDC_COMPUTER_TYPE_MAX)) << "type " << index;
            EXPECT_EQ(rows[index].unsignedMax, fieldText(dialog, IDC_COMPUTER_TYPE_UNSIGNED_MAX)) << "type " << index;
        }
        // With no selection nothing changes.
        SendDlgItemMessageW(dialog, IDC_COMPUTER_TYPE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_COMPUTER_TYPE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_COMPUTER_TYPE)));
        EXPECT_EQ(L"-127", fieldText(dialog, IDC_COMPUTER_TYPE_MIN)) << "no selection";
        pressDone(dialog);
    });
}

TEST_F(ComputerScreenTest, Screenshot) {
    runComputer([&](HWND dialog) {
        focusField(dialog, IDC_COMPUTER_DECIMAL);
        typeInto(dialog, IDC_COMPUTER_DECIMAL, L"97");
        chooseType(dialog, 2);
        EXPECT_TRUE(deviceSipIsUp()) << "the keyboard is up while a field has the focus";
        EXPECT_TRUE(saveScreenshot(L"computer_screen"));
        pressDone(dialog);
    });
}

}  // namespace
