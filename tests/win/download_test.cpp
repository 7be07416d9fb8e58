// The rate download against a real HTTP server on 127.0.0.1: the answers a
// rates server can give, loud and silent, the request it is sent, and the
// launcher's timer.
#include <winsock2.h>

#include <gtest/gtest.h>

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

// A rates table of exactly `size` bytes: a header, then lines of 13 bytes.
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

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        wcscpy(dataDirectory, place.directory().c_str());
        setMachineText(kQuelvindorKey, kRatesServerValue, L"127.0.0.1:" + std::to_wstring(server.port()));
        owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        deviceCaptureMessageBoxes(true);
    }
    void TearDown() override {
        deviceCaptureMessageBoxes(false);
        DestroyWindow(owner);
        setDownloadTimeLimits(30000, 60000);
    }
    std::string rates() const { return readFileBytes(place.file(kRatesFileName)); }
    // Downloads against `answer` over the previous rates.txt; says what the
    // user was shown ("" for nothing, else "caption: text") and checks that
    // nothing but rates.txt is left in the data directory.
    std::string download(const Answer& answer, bool silent, int expectedResult) {
        EXPECT_TRUE(writeFileBytes(place.file(kRatesFileName), kPreviousRates));
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kQuelvindorKey, kUpdatedValue);
        server.answerWith(answer);
        deviceClearMessageBoxes();
        EXPECT_EQ(expectedResult,
                  downloadRates(owner, dataDirectory, silent ? DownloadMessages::none : DownloadMessages::shown));
        server.release();
        EXPECT_EQ(expectedResult == 1 ? 1 : -1, updatedFlag()) << "Updated tells the home-screen item";
        EXPECT_EQ(1u, filesIn(place.directory()).size()) << "files left in the data directory";
        std::string shown;
        for (const ShownMessageBox& box : deviceMessageBoxes()) {
            EXPECT_EQ(owner, box.owner);
            shown += narrow(box.caption) + ": " + narrow(box.text);
        }
        return shown;
    }
    ScratchPlace place;
    TestServer server;
    HWND owner = nullptr;
};

// Each answer taken loud and silent: a complete table replaces rates.txt,
// anything else keeps the previous one; the user hears of either unless
// the download is silent.
TEST_F(DownloadTest, ServerAnswers) {
    const std::string tenThousand = ratesOfSize(10000), atLimit = ratesOfSize(kRatesFileCapacity);
    const std::string overLimit = ratesOfSize(kRatesFileCapacity + 1);
    std::string cutShort = response("200 OK", ratesOfSize(2000));
    cutShort.resize(cutShort.size() - 1000);
    std::string stalled = response("200 OK", ratesOfSize(6000));
    stalled.resize(stalled.size() - 3000);
    const std::string updated = "Currency Sync: Currency rates updated successfully!";
    const struct {
        const char* name;
        std::string answer, shown, rates;
        bool stall = false;
    } cases[] = {
        {"10,000 bytes, several reads", response("200 OK", tenThousand), updated, tenThousand},
        {"exactly what the rates reader takes whole", response("200 OK", atLimit), updated, atLimit},
        {"no Content-Length, ended by close", response("200 OK", kGoodRates, false), updated, kGoodRates},
        {"not found", response("404 Not Found", "<html>Not here</html>\n"), "Error: HTTP Error: 404", kPreviousRates},
        {"closed without answering", "", "Error: HTTP Error: 0", kPreviousRates},
        {"not a rates table", response("200 OK", "<html>\n<body>Rates</body>\n</html>\n"), "Error: Invalid rates file",
         kPreviousRates},
        {"one byte over the limit", response("200 OK", overLimit), "Error: Invalid rates file", kPreviousRates},
        {"one byte over, no Content-Length", response("200 OK", overLimit, false), "Error: Invalid rates file",
         kPreviousRates},
        {"closed after half the announced length", cutShort, "Error: InternetReadFile Error: 2efe", kPreviousRates},
        {"stalls in the body", stalled, "Error: InternetReadFile Error: 2ee2", kPreviousRates, true},
    };
    setDownloadTimeLimits(30000, 1500);
    for (const auto& c : cases) {
        for (bool silent : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (silent ? ", silent" : ""));
            EXPECT_EQ(silent ? "" : c.shown, download({c.answer, c.stall}, silent, c.rates == kPreviousRates ? 0 : 1));
            EXPECT_TRUE(rates() == c.rates) << rates().size() << " bytes";
        }
    }
}

TEST_F(DownloadTest, AsksForTheRatesFileAsExample) {
    download({response("200 OK", kGoodRates), false}, true, 1);
    ASSERT_EQ(1u, server.requests().size());
    const std::string head = server.requests()[0];
    EXPECT_EQ(0u, head.find("GET /palmos/quantrel/data/rates.txt HTTP/1.1\r\n")) << head;
    EXPECT_NE(std::string::npos, head.find("\r\nUser-Agent: Example\r\n")) << head;
    for (const wchar_t* refused : {L"evil.example/x?", L"user@host.example", L""}) {
        setMachineText(kQuelvindorKey, kRatesServerValue, refused);
        EXPECT_EQ(L"http://" + std::wstring(kDefaultRatesServer) + L"/palmos/quantrel/data/rates.txt", ratesAddress())
            << "a server value that is not a host and port";
    }
}

// The launcher's timer downloads, silently, only while Auto Update is 1.
TEST_F(DownloadTest, LauncherTimerDownloadsSilentlyOnlyWithAutoUpdateOne) {
    programInstance = GetModuleHandleW(nullptr);
    HWND launcherDialog =
        deviceCreateDialog(programInstance, MAKEINTRESOURCEW(IDD_LAUNCHER), owner, launcherProcedure, 0);
    server.answerWith({response("200 OK", kGoodRates), false});
    deviceClearMessageBoxes();
    for (int autoUpdate : {2, 0, 1}) {
        programSelections.autoUpdate = autoUpdate;
        SendMessageW(launcherDialog, WM_TIMER, IDT_AUTO_DOWNLOAD, 0);
        EXPECT_EQ(autoUpdate == 1 ? kGoodRates : "", rates()) << "Auto Update " << autoUpdate;
    }
    EXPECT_TRUE(deviceMessageBoxes().empty());
    DestroyWindow(launcherDialog);
    programSelections.autoUpdate = 0;
}

}  // namespace
