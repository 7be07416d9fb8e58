#include "tests/win/support/http_server.h"

DWORD WINAPI TestServer::serve(void* parameter) {
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

void TestServer::serveConnection(SOCKET connection) {
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

std::string response(const char* statusLine, const std::string& body, bool withLength) {
    std::string head = std::string("HTTP/1.1 ") + statusLine + "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
    if (withLength) head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return head + "\r\n" + body;
}
