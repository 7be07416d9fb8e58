// The rates list of the Zentavo item: how it is built, what its cells show,
// in-place edits saved to rates.txt at once, and the header taps that open
// the currency calculator.
#include <gtest/gtest.h>

#include <functional>

#include "frame/wide_text.h"
#include "tests/win/plugin/plugin_host.h"
#include "tests/win/support/screen_checks.h"

using namespace plugin_test;

namespace {

const std::vector<std::pair<std::string, std::string>> kRates = {
    {"US Dollar", "1"}, {"Euro", "2"}, {"Yen", "149.25"}, {"Name with  two blanks", "1.2345"}};

std::string fileLine(const std::string& text, const std::string& name) {
    size_t at = text.find("\n" + name + "\t");
    if (at == std::string::npos) return "(no line for " + name + ")";
    size_t end = text.find('\n', at + 1);
    return text.substr(at + 1, end - at - 1);
}

HWND editRate(HWND list, int row, const std::wstring& text) {
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(row), 0));
    if (editor != nullptr) SetWindowTextW(editor, text.c_str());
    return editor;
}
void endEdit(HWND editor, UINT key) { SendMessageW(editor, WM_KEYDOWN, key, 0); }

TEST(RatesList, IsBuiltAsTheItemShowsIt) {
    ItemOnHost host;
    host.writeRates(kRates);
    HWND list = host.startShown();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(list, pluginState.ratesList);
    EXPECT_EQ(L"SysListView32", [&] { wchar_t name[32] = L""; GetClassNameW(list, name, 32); return std::wstring(name); }());
    EXPECT_EQ(0x50800201, GetWindowLongW(list, GWL_STYLE));
    EXPECT_EQ(0, GetWindowLongW(list, GWL_EXSTYLE));
    EXPECT_EQ(static_cast<LRESULT>(0x20000000), SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    struct Column { int index; const wchar_t* title; int width; };
    const Column columns[] = {{0, L"Rate", 105}, {1, L"Currency", 120}};
    for (const Column& expected : columns) {
        wchar_t title[64] = L"";
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(expected.index), reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(std::wstring(expected.title), title) << "column " << expected.index;
        EXPECT_EQ(expected.width, column.cx) << "column " << expected.index;
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK) << "column " << expected.index;
    }
    int order[2] = {-1, -1};
    SendMessageW(list, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(1, order[0]) << "Currency shown on the left";
    EXPECT_EQ(0, order[1]);
    saveScreenshot(L"plugin_rates_list");
}

TEST(RatesList, CellsShowTheTableAsAskedFor) {
    ItemOnHost host;
    host.writeRates(kRates);
    HWND list = host.startShown();
    const wchar_t* const names[] = {L"US Dollar", L"Euro", L"Yen", L"Name with  two blanks"};
    const wchar_t* const rates[] = {L"1.000000", L"2.000000", L"149.250000", L"1.234500"};
    ASSERT_EQ(4, rowCount(list));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(names[row], cellText(list, row, 1)) << "row " << row;
        EXPECT_EQ(rates[row], cellText(list, row, 0)) << "row " << row;
    }
    // The texts are taken from the table each time: a change shows at once.
    pluginState.table.entries[2].rate = 150;
    EXPECT_EQ(L"150.000000", cellText(list, 2, 0));
}

TEST(RatesList, EmptyTableGivesHeadersAndNoRows) {
    ItemOnHost host;
    writeFileBytes(host.place.file(L"rates.txt"), "Only a header\n");
    HWND list = host.startShown();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, rowCount(list));
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(2, SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

TEST(RatesList, RowsFollowTheTableAtEveryReload) {
    ItemOnHost host;
    host.writeRates(kRates);
    HWND list = host.startShown();
    struct Reload { const char* name; std::vector<std::pair<std::string, std::string>> rates; };
    std::vector<std::pair<std::string, std::string>> scrolling;
    for (char name = 'A'; name <= 'T'; ++name) scrolling.push_back({std::string(1, name), "1"});
    const Reload reloads[] = {
        {"more than the item shows", scrolling},
        {"fewer currencies", {{"US Dollar", "1"}, {"Euro", "2"}}},
        {"more currencies", {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}, {"E", "5"}, {"F", "6"}}},
        {"none at all", {}},
    };
    for (const Reload& reload : reloads) {
        host.writeRates(reload.rates);
        host.clearCache();
        ASSERT_EQ(static_cast<int>(reload.rates.size()), rowCount(list)) << reload.name;
        if (!reload.rates.empty()) {
            EXPECT_EQ(widenText(reload.rates.back().first), cellText(list, rowCount(list) - 1, 1)) << reload.name;
        }
        expectFitsTheDevice(host.item, reload.name);
    }
}

TEST(RatesList, AcceptedEditIsStoredAndSavedAtOnce) {
    struct Edit { const char* name; const wchar_t* typed; double stored; const char* line; const wchar_t* shown; };
    const Edit edits[] = {
        {"number with trailing text", L"1.5x", 1.5, "Euro\t1.5000", L"1.500000"},
        {"no number", L"abc", 0.0, "Euro\t0.0000", L"0.000000"},
        {"leading blanks and exponent", L"  2.5e1", 25.0, "Euro\t25.0000", L"25.000000"},
        {"negative", L"-0.125", -0.125, "Euro\t-0.1250", L"-0.125000"},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        ItemOnHost host;
        host.writeRates(kRates);
        HWND list = host.startShown();
        HWND editor = editRate(list, 1, edit.typed);
        ASSERT_NE(nullptr, editor);
        endEdit(editor, VK_RETURN);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(editor); })) << "the editor closes";
        EXPECT_EQ(edit.stored, pluginState.table.entries[1].rate);
        std::string file = readFileBytes(host.place.file(L"rates.txt"));
        EXPECT_EQ(edit.line, fileLine(file, "Euro"));
        EXPECT_EQ("US Dollar\t1.0000", fileLine(file, "US Dollar")) << "the other rows are written as stored";
        EXPECT_EQ(edit.shown, cellText(list, 1, 0));
    }
}

// The list view here reports an emptied editor as a cancelled edit, so the
// empty text is handed to the item as a list that passes it on would.
TEST(RatesList, EditToAnEmptyTextStoresZero) {
    ItemOnHost host;
    host.writeRates(kRates);
    HWND list = host.startShown();
    wchar_t empty[1] = L"";
    NMLVDISPINFOW edit = {};
    edit.hdr.hwndFrom = list;
    edit.hdr.idFrom = IDC_RATES_LIST;
    edit.hdr.code = LVN_ENDLABELEDITW;
    edit.item.iItem = 1;
    edit.item.pszText = empty;
    EXPECT_EQ(0, SendMessageW(host.item, WM_NOTIFY, IDC_RATES_LIST, reinterpret_cast<LPARAM>(&edit)));
    EXPECT_EQ(0.0, pluginState.table.entries[1].rate);
    EXPECT_EQ("Euro\t0.0000", fileLine(readFileBytes(host.place.file(L"rates.txt")), "Euro"));
}

TEST(RatesList, CancelledEditChangesAndWritesNothing) {
    ItemOnHost host;
    host.writeRates(kRates);
    std::string before = readFileBytes(host.place.file(L"rates.txt"));
    HWND list = host.startShown();
    HWND editor = editRate(list, 1, L"7");
    ASSERT_NE(nullptr, editor);
    endEdit(editor, VK_ESCAPE);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(editor); }));
    EXPECT_EQ(2.0, pluginState.table.entries[1].rate);
    EXPECT_EQ(before, readFileBytes(host.place.file(L"rates.txt"))) << "rates.txt must keep its bytes";
    EXPECT_EQ(L"2.000000", cellText(list, 1, 0));
}

TEST(RatesList, EditorTakesAtMostTwentyCharacters) {
    ItemOnHost host;
    host.writeRates(kRates);
    HWND list = host.startShown();
    HWND editor = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, 0, 0));
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(20, SendMessageW(editor, EM_GETLIMITTEXT, 0, 0));
    SetWindowTextW(editor, L"");
    for (wchar_t c : std::wstring(L"1234567890123456789012345")) SendMessageW(editor, WM_CHAR, c, 0);
    wchar_t text[64] = L"";
    GetWindowTextW(editor, text, 64);
    EXPECT_EQ(std::wstring(L"12345678901234567890"), text) << "typing stops at 20 characters";
    endEdit(editor, VK_ESCAPE);
}

// Runs `action` on the calculator once it is open (inside its modal loop),
// then closes it with Done.
class CalculatorWatch {
public:
    explicit CalculatorWatch(std::function<void(HWND)> action) {
        current = this;
        action_ = std::move(action);
        timer_ = SetTimer(nullptr, 0, 20, onTimer);
    }
    ~CalculatorWatch() {
        KillTimer(nullptr, timer_);
        current = nullptr;
    }
    int opened = 0;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowW(L"#32770", L"Currency calculator");
        if (current == nullptr || dialog == nullptr || !IsWindowVisible(dialog)) return;
        ++current->opened;
        current->action_(dialog);
        pressDone(dialog);
    }
    static CalculatorWatch* current;
    std::function<void(HWND)> action_;
    UINT_PTR timer_;
};
CalculatorWatch* CalculatorWatch::current = nullptr;

void tapHeader(HWND list, int headerItem) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT rect = {};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(headerItem), reinterpret_cast<LPARAM>(&rect));
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(header, WM_LBUTTONUP, 0, at);
}

TEST(RatesList, TapOnEitherHeaderOpensTheCalculator) {
    ItemOnHost host;
    host.writeRates(kRates);
    HWND list = host.startShown();
    struct Tap { const char* name; int headerItem; };
    const Tap taps[] = {{"Rate header", 0}, {"Currency header", 1}};
    for (const Tap& tap : taps) {
        HWND owner = nullptr;
        CalculatorWatch watch([&](HWND dialog) { owner = GetWindow(dialog, GW_OWNER); });
        tapHeader(list, tap.headerItem);
        EXPECT_TRUE(waitFor([&] { return watch.opened == 1; })) << tap.name << ": the calculator did not open";
        EXPECT_EQ(GetAncestor(host.item, GA_ROOT), owner) << tap.name << ": owned by the item's screen";
    }
}

}  // namespace
