// A small HTTP server on 127.0.0.1 for the rate download's tests: it runs
// on a thread of the test and answers each request with the bytes it is
// told to send, or stalls until released.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// What the server does with a request.
struct Answer {
    std::string bytes;  // sent as they are, after the whole request arrived
    bool stall;         // then wait until released, instead of closing at once
};

// A one-connection-at-a-time HTTP server on 127.0.0.1 at a free port. It
// records each request's head and answers every request with the current
// answer.
class TestServer {
public:
    TestServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        released_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, serve, this, 0, nullptr);
    }
    ~TestServer() {
        stopping_ = true;
        SetEvent(released_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(released_);
        closesocket(listener_);
        WSACleanup();
    }
    unsigned short port() const { return port_; }
    void answerWith(const Answer& answer) {
        std::lock_guard<std::mutex> lock(mutex_);
        answer_ = answer;
        ResetEvent(released_);
    }
    // Ends a stall: the connection is closed.
    void release() { SetEvent(released_); }
    std::vector<std::string> requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    static DWORD WINAPI serve(void* parameter) {
        TestServer* server = static_cast<TestServer*>(parameter);
        while (!server->stopping_) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(server->listener_, &ready);
            timeval wait = {0, 50000};
            if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
            SOCKET connection = accept(server->listener_, nullptr, nullptr);
            if (connection != INVALID_SOCKET) server->serveConnection(connection);
        }
        return 0;
    }

    void serveConnection(SOCKET connection) {
        DWORD limit = 10000;
        setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
        std::string head;
        char chunk[1024];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16384) {
            int got = recv(connection, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            head.append(chunk, static_cast<size_t>(got));
        }
        Answer answer;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(head);
            answer = answer_;
        }
        for (size_t sent = 0; sent < answer.bytes.size();) {
            int wrote = send(connection, answer.bytes.data() + sent, static_cast<int>(answer.bytes.size() - sent), 0);
            if (wrote <= 0) break;
            sent += static_cast<size_t>(wrote);
        }
        // Bounded, so that a test that fails before releasing still ends.
        if (answer.stall) WaitForSingleObject(released_, 60000);
        shutdown(connection, SD_SEND);
        closesocket(connection);
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE thread_ = nullptr;
    HANDLE released_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    Answer answer_;
    std::vector<std::string> requests_;
};

// An HTTP answer with its status line and, unless told otherwise, its
// Content-Length.
inline std::string response(const char* statusLine, const std::string& body, bool withLength = true) {
    std::string head = std::string("HTTP/1.1 ") + statusLine + "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
    if (withLength) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return head + "\r\n" + body;
}
