// The rate download against a real HTTP server on 127.0.0.1, run by the test
// itself on a thread: every answer a rates server can give, loud and silent,
// and the launcher's timer.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "currency/core/currency_files.h"
#include "currency/core/download.h"
#include "platform/pocketpc/device_test.h"
#include "resources/quantrel/resource_ids.h"
#include "shell/program.h"
#include "tests/win/support/http_server.h"
#include "tests/win/support/win_test.h"

namespace {

// A rates table of exactly `size` bytes: a short header, then lines of
// 13 bytes (the reader takes the first 100 of them).
std::string ratesOfSize(size_t size) {
    const std::string line = "C0001\t1.5000\n";
    size_t lines = (size - 2) / line.size();
    std::string body(size - lines * line.size() - 1, 'H');
    body += '\n';
    for (size_t i = 0; i < lines; ++i) body += line;
    return body;
}

const std::string kPreviousRates = std::string("Previous rates\nEuro\t1.0000\nYen\t130.0000\n") + '\0';
const std::string kGoodRates = "Base: Euro\nUS Dollar\t1.0712\nYen\t163.4200\n";

// Message boxes as the user sees them: text, caption, owner, and whether
// they hold only an OK button and the information icon.
struct SeenBox {
    std::wstring text;
    std::wstring caption;
    HWND owner;
    bool okAndInformation;
};
std::vector<bool> informationOnlyOk;
HHOOK boxProbe = nullptr;

LRESULT CALLBACK probeBox(int code, WPARAM wParam, LPARAM lParam) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = L"";
    if (code == HCBT_ACTIVATE && GetClassNameW(box, className, 16) && lstrcmpW(className, L"#32770") == 0 &&
        GetDlgItem(box, 0xFFFF) != nullptr) {
        // Wine's message box keeps its icon in control 1088, Windows' in 20.
        HWND icon = GetDlgItem(box, 1088) != nullptr ? GetDlgItem(box, 1088) : GetDlgItem(box, 20);
        HICON shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
        bool onlyOk = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr &&
                      GetDlgItem(box, IDYES) == nullptr && GetDlgItem(box, IDNO) == nullptr;
        informationOnlyOk.push_back(onlyOk && shown == LoadIconW(nullptr, IDI_INFORMATION));
    }
    return CallNextHookEx(boxProbe, code, wParam, lParam);
}

std::vector<SeenBox> seenBoxes() {
    std::vector<SeenBox> seen;
    const std::vector<ShownMessageBox>& shown = deviceMessageBoxes();
    for (size_t i = 0; i < shown.size(); ++i)
        seen.push_back({shown[i].text, shown[i].caption, shown[i].owner,
                        shown[i].hasOkButton && i < informationOnlyOk.size() && informationOnlyOk[i]});
    return seen;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }


void setRatesServer(const std::wstring& server) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, kRatesServerValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// A port on 127.0.0.1 where nothing listens.
unsigned short closedPort() {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    closesocket(probe);
    return ntohs(address.sin_port);
}

class RateDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place_.directory().c_str());
        setRatesServer(L"127.0.0.1:" + std::to_wstring(server_.port()));
        ASSERT_TRUE(writeFileBytes(place_.file(kRatesFileName), kPreviousRates));
        owner_ = CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        deviceCaptureMessageBoxes(true);
        clearBoxes();
        boxProbe = SetWindowsHookExW(WH_CBT, probeBox, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(boxProbe);
        deviceCaptureMessageBoxes(false);
        DestroyWindow(owner_);
        failSavesAt(SaveStep::none);
        setDownloadTimeLimits(30000, 60000);
    }
    static void clearBoxes() {
        deviceClearMessageBoxes();
        informationOnlyOk.clear();
    }
    std::string rates() const { return readFileBytes(place_.file(kRatesFileName)); }
    // Nothing but rates.txt is left in the data directory.
    void expectNoLeftovers(const char* name) const {
        std::vector<std::wstring> files = filesIn(place_.directory());
        EXPECT_EQ(1u, files.size()) << name << ": files left in the data directory";
        for (const std::wstring& file : files) EXPECT_EQ(L"rates.txt", file) << name;
    }
    // One download, loud or silent; the server's answer has been set.
    int download(bool silent) {
        clearBoxes();
        int result = downloadRates(owner_, dataDirectory, silent ? DownloadMessages::none : DownloadMessages::shown);
        server_.release();
        return result;
    }
    void expectOneBox(const char* name, const std::wstring& text, const std::wstring& caption) {
        std::vector<SeenBox> seen = seenBoxes();
        ASSERT_EQ(1u, seen.size()) << name << ": message boxes shown";
        EXPECT_EQ(narrow(text), narrow(seen[0].text)) << name;
        EXPECT_EQ(narrow(caption), narrow(seen[0].caption)) << name;
        EXPECT_EQ(owner_, seen[0].owner) << name << ": owner";
        EXPECT_TRUE(seen[0].okAndInformation) << name << ": OK button and information icon only";
    }

    ScratchPlace place_;
    TestServer server_;
    HWND owner_ = nullptr;
};

TEST_F(RateDownloadTest, CompleteTablesReplaceRatesTxt) {
    struct Case {
        const char* name;
        std::string answer;
        std::string expected;  // rates.txt afterwards
    };
    const std::string tenThousand = ratesOfSize(10000);
    const std::string atLimit = ratesOfSize(kRatesFileCapacity);
    const Case cases[] = {
        {"10,000 bytes, several reads", response("200 OK", tenThousand), tenThousand},
        {"exactly what the rates reader takes whole", response("200 OK", atLimit), atLimit},
        {"no Content-Length, ended by close", response("200 OK", kGoodRates, false), kGoodRates},
        {"zero byte after the text", response("200 OK", kGoodRates + '\0'), kGoodRates + '\0'},
    };
    for (const Case& c : cases) {
        for (bool silent : {false, true}) {
            ASSERT_TRUE(writeFileBytes(place_.file(kRatesFileName), kPreviousRates));
            server_.answerWith({c.answer, false});
            EXPECT_EQ(1, download(silent)) << c.name << (silent ? " (silent)" : "");
            EXPECT_TRUE(rates() == c.expected)
                << c.name << ": expected " << c.expected.size() << " bytes, got " << rates().size();
            if (silent)
                EXPECT_EQ(0u, deviceMessageBoxes().size()) << c.name << " (silent): message boxes";
            else
                expectOneBox(c.name, L"Currency rates updated successfully!", L"Currency Sync");
            expectNoLeftovers(c.name);
        }
    }
}

TEST_F(RateDownloadTest, FailuresKeepThePreviousRatesTxt) {
    struct Case {
        const char* name;
        Answer answer;
        const wchar_t* message;
    };
    std::string cutShort = response("200 OK", ratesOfSize(2000));
    cutShort.resize(cutShort.size() - 1000);
    std::string stalledMidBody = response("200 OK", ratesOfSize(6000));
    stalledMidBody.resize(stalledMidBody.size() - 3000);
    const Case cases[] = {
        {"not found", {response("404 Not Found", "<html>Not here</html>\n"), false}, L"HTTP Error: 404"},
        {"server error", {response("500 Internal Server Error", kGoodRates), false}, L"HTTP Error: 500"},
        {"closed without answering", {"", false}, L"HTTP Error: 0"},
        {"empty body", {response("200 OK", ""), false}, L"Invalid rates file"},
        {"not a rates table",
         {response("200 OK", "<html>\n<body>Rates</body>\n</html>\n"), false},
         L"Invalid rates file"},
        {"header line only", {response("200 OK", "Base: Euro\n"), false}, L"Invalid rates file"},
        {"one byte more than the rates reader takes",
         {response("200 OK", ratesOfSize(kRatesFileCapacity + 1)), false},
         L"Invalid rates file"},
        {"one byte more, no Content-Length",
         {response("200 OK", ratesOfSize(kRatesFileCapacity + 1), false), false},
         L"Invalid rates file"},
        {"closed after half the announced length", {cutShort, false}, L"InternetReadFile Error: 2efe"},
        {"stalls before answering", {"", true}, L"InternetOpenUrl Error: 2ee2"},
        {"stalls in the body", {stalledMidBody, true}, L"InternetReadFile Error: 2ee2"},
    };
    setDownloadTimeLimits(30000, 1500);
    for (const Case& c : cases) {
        for (bool silent : {false, true}) {
            ASSERT_TRUE(writeFileBytes(place_.file(kRatesFileName), kPreviousRates));
            server_.answerWith(c.answer);
            EXPECT_EQ(0, download(silent)) << c.name << (silent ? " (silent)" : "");
            EXPECT_TRUE(rates() == kPreviousRates) << c.name << ": rates.txt changed";
            if (silent)
                EXPECT_EQ(0u, deviceMessageBoxes().size()) << c.name << " (silent): message boxes";
            else
                expectOneBox(c.name, c.message, L"Error");
            expectNoLeftovers(c.name);
        }
    }
}

TEST_F(RateDownloadTest, NothingListeningIsReportedByInternetOpenUrl) {
    setRatesServer(L"127.0.0.1:" + std::to_wstring(closedPort()));
    for (bool silent : {false, true}) {
        EXPECT_EQ(0, download(silent)) << (silent ? "silent" : "loud");
        EXPECT_TRUE(rates() == kPreviousRates);
        if (silent)
            EXPECT_EQ(0u, deviceMessageBoxes().size());
        else
            expectOneBox("nothing listening", L"InternetOpenUrl Error: 2efd", L"Error");
    }
}

// The code after the label is the platform's and differs by the step that
// failed; the label and a hexadecimal code are what the user sees.
TEST_F(RateDownloadTest, AFailedReplaceIsReportedByCreateFile) {
    struct Case {
        const char* name;
        SaveStep step;    // SaveStep::none: rates.txt held open by another reader
    };
    const Case cases[] = {
        {"temporary file not created", SaveStep::createTemporary},
        {"write broken off", SaveStep::write},
        {"replace refused", SaveStep::replace},
        {"rates.txt held open unshared", SaveStep::none},
    };
    server_.answerWith({response("200 OK", kGoodRates), false});
    for (const Case& c : cases) {
        failSavesAt(c.step);
        HANDLE reader = c.step != SaveStep::none
                            ? INVALID_HANDLE_VALUE
                            : CreateFileW(place_.file(kRatesFileName).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(0, download(false)) << c.name;
        if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
        EXPECT_TRUE(rates() == kPreviousRates) << c.name << ": rates.txt changed";
        std::vector<SeenBox> seen = seenBoxes();
        ASSERT_EQ(1u, seen.size()) << c.name << ": message boxes shown";
        std::string text = narrow(seen[0].text);
        const std::string label = "CreateFile Error: ";
        EXPECT_TRUE(text.compare(0, label.size(), label) == 0 && text.size() > label.size() &&
                    text.find_first_not_of("0123456789abcdef", label.size()) == std::string::npos)
            << c.name << ": expected \"" << label << "<hex>\", got \"" << text << "\"";
        EXPECT_EQ("Error", narrow(seen[0].caption)) << c.name;
        expectNoLeftovers(c.name);
    }
}

TEST_F(RateDownloadTest, AsksForTheRatesFileAsExample) {
    server_.answerWith({response("200 OK", kGoodRates), false});
    ASSERT_EQ(1, download(true));
    std::vector<std::string> requests = server_.requests();
    ASSERT_EQ(1u, requests.size());
    const std::string& head = requests[0];
    EXPECT_EQ(0u, head.find("GET /palmos/quantrel/data/rates.txt HTTP/1.1\r\n")) << "got: " << head;
    EXPECT_NE(std::string::npos, head.find("\r\nUser-Agent: Example\r\n")) << "got: " << head;
    EXPECT_NE(std::string::npos, head.find("\r\nHost: 127.0.0.1:" + std::to_string(server_.port()) + "\r\n"))
        << "got: " << head;
}


TEST_F(RateDownloadTest, LeavesTheTableInMemoryAloneAndTellsTheHomeScreen) {
    programRates = CurrencyTable();
    strcpy(programRates.entries[0].name, "Kept");
    programRates.entries[0].rate = 2.5;
    programRates.count = 1;
    server_.answerWith({response("404 Not Found", "<html>Not here</html>\n"), false});
    ASSERT_EQ(0, download(true));
    EXPECT_EQ(-1, updatedFlag()) << "a failed download leaves Updated alone";
    server_.answerWith({response("200 OK", kGoodRates), false});
    ASSERT_EQ(1, download(true));
    EXPECT_EQ(1, programRates.count);
    EXPECT_STREQ("Kept", programRates.entries[0].name);
    EXPECT_EQ(2.5, programRates.entries[0].rate);
    EXPECT_EQ(1, updatedFlag()) << "the home-screen item is told to reload the replaced rates.txt";
}

TEST_F(RateDownloadTest, LauncherTimerDownloadsSilentlyOnlyWithAutoUpdateOne) {
    struct Case {
        const char* name;
        int autoUpdate;
        std::string answer;
        bool downloads;
        std::string expected;  // rates.txt afterwards
    };
    const Case cases[] = {
        {"auto update on", 1, response("200 OK", kGoodRates), true, kGoodRates},
        {"auto update on, server fails", 1, response("404 Not Found", "gone"), true, kPreviousRates},
        {"auto update off", 0, response("200 OK", kGoodRates), false, kPreviousRates},
        {"auto update 2", 2, response("200 OK", kGoodRates), false, kPreviousRates},
        {"auto update -1", -1, response("200 OK", kGoodRates), false, kPreviousRates},
    };
    programInstance = GetModuleHandleW(nullptr);
    HWND launcherDialog =
        deviceCreateDialog(programInstance, MAKEINTRESOURCEW(IDD_LAUNCHER), owner_, launcherProcedure, 0);
    ASSERT_NE(nullptr, launcherDialog);
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFileBytes(place_.file(kRatesFileName), kPreviousRates));
        server_.answerWith({c.answer, false});
        size_t requestsBefore = server_.requests().size();
        programSelections.autoUpdate = c.autoUpdate;
        clearBoxes();
        SendMessageW(launcherDialog, WM_TIMER, IDT_AUTO_DOWNLOAD, 0);
        EXPECT_EQ(c.downloads ? 1u : 0u, server_.requests().size() - requestsBefore) << c.name << ": requests";
        EXPECT_TRUE(rates() == c.expected) << c.name << ": rates.txt";
        EXPECT_EQ(0u, deviceMessageBoxes().size()) << c.name << ": message boxes";
    }
    DestroyWindow(launcherDialog);
    programSelections.autoUpdate = 0;
}

TEST(RatesAddress, ComesFromRatesServerWhenItIsAHostAndPort) {
    struct Case {
        const char* name;
        DWORD type;  // REG_NONE: no value at all
        std::wstring value;
        std::wstring server;  // expected in the address
    };
    const std::wstring fallback = kDefaultRatesServer;
    const Case cases[] = {
        {"no value", REG_NONE, L"", fallback},
        {"host", REG_SZ, L"rates.example.net", L"rates.example.net"},
        {"host and port", REG_SZ, L"127.0.0.1:8080", L"127.0.0.1:8080"},
        {"IPv6 literal and port", REG_SZ, L"[::1]:8080", L"[::1]:8080"},
        {"empty", REG_SZ, L"", fallback},
        {"with a path", REG_SZ, L"evil.example/x?", fallback},
        {"with user information", REG_SZ, L"user@host.example", fallback},
        {"with a blank", REG_SZ, L"host .example", fallback},
        {"longer than a path", REG_SZ, std::wstring(300, L'a'), fallback},
        {"not a string", REG_DWORD, L"", fallback},
    };
    for (const Case& c : cases) {
        ScratchPlace place;
        if (c.type == REG_SZ) {
            setRatesServer(c.value);
        } else if (c.type == REG_DWORD) {
            HKEY key = nullptr;
            DWORD number = 1;
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuelvindorKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
            RegSetValueExW(key, kRatesServerValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
            RegCloseKey(key);
        }
        EXPECT_EQ(narrow(L"http://" + c.server + L"/palmos/quantrel/data/rates.txt"), narrow(ratesAddress())) << c.name;
    }
}

}  // namespace
