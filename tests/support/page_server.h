#pragma once
// A small web server of the test's own, on 127.0.0.1 only, for the page-title fetch.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tvtest {

class Winsock {
public:
    Winsock() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~Winsock() {
        if (ok_) WSACleanup();
    }
    bool ok() const { return ok_; }

private:
    WSADATA data_{};
    bool ok_ = false;
};

inline SOCKET ListenOnLoopback(unsigned short& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = 0;  // any free port
    int len = sizeof(at);
    if (bind(s, reinterpret_cast<sockaddr*>(&at), sizeof(at)) != 0 || listen(s, 8) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&at), &len) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(at.sin_port);
    return s;
}

// A small HTTP/1.0 server on a thread. Each connection has its request read, then gets the
// pieces of its answer with a pause between them, then the close: the n-th connection the n-th
// answer, later ones the last. An answer without pieces is a close without a word; a `silent`
// server holds every connection open and says nothing until it ends.
class PageServer {
public:
    using Pieces = std::vector<std::string>;
    explicit PageServer(std::vector<Pieces> answers, bool silent = false)
        : answers_(std::move(answers)), silent_(silent) {
        listener_ = ListenOnLoopback(port_);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (listener_ != INVALID_SOCKET) thread_ = std::thread([this] { Serve(); });
    }
    ~PageServer() {
        SetEvent(stop_);
        if (listener_ != INVALID_SOCKET) closesocket(listener_);  // ends the waiting accept
        if (thread_.joinable()) thread_.join();
        CloseHandle(stop_);
    }
    bool listening() const { return listener_ != INVALID_SOCKET; }
    std::wstring Address(const std::wstring& path = L"/page.html") const {
        return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
    }
    int connections() const { return connections_; }
    std::string lastRequest() {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastRequest_;
    }

    // A whole answer in one piece: the status line, a content type and `body`.
    static Pieces Answer(const std::string& body, const std::string& headers = "") {
        return {"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n" + headers + "\r\n" + body};
    }

private:
    void Serve() {
        for (;;) {
            SOCKET c = accept(listener_, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            size_t n = static_cast<size_t>(connections_++);
            std::string request = ReadRequest(c);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lastRequest_ = request;
            }
            if (silent_) WaitForSingleObject(stop_, INFINITE);
            const Pieces& pieces = answers_.empty() ? Pieces{} : answers_[std::min(n, answers_.size() - 1)];
            for (size_t i = 0; i < pieces.size(); ++i) {
                if (i > 0) Sleep(150);  // the next piece comes in a later read
                SendAll(c, pieces[i]);
            }
            // A graceful end: the client reads everything sent before it sees the close.
            shutdown(c, SD_SEND);
            char rest[256];
            while (recv(c, rest, sizeof(rest), 0) > 0) {
            }
            closesocket(c);
        }
    }
    static void SendAll(SOCKET c, const std::string& bytes) {
        for (size_t sent = 0; sent < bytes.size();) {
            int n = send(c, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }
    static std::string ReadRequest(SOCKET c) {
        DWORD ms = 5000;
        setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof(ms));
        std::string request;
        char buf[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            int n = recv(c, buf, sizeof(buf), 0);
            if (n <= 0) break;
            request.append(buf, n);
        }
        return request;
    }

    std::vector<Pieces> answers_;
    bool silent_;
    unsigned short port_ = 0;
    SOCKET listener_ = INVALID_SOCKET;
    HANDLE stop_ = nullptr;
    std::thread thread_;
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::string lastRequest_;
};

}  // namespace tvtest
