#include "Platform/testing/loopback_http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace plat::testing {

namespace {

// A client that sends no whole request within this time is dropped (real milliseconds).
constexpr int RequestWaitMs = 2000;
constexpr std::size_t MaxRequestBytes = 16384;

const char* reasonFor(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

bool sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    if (::pipe2(_wake, O_CLOEXEC) != 0) throw std::runtime_error("loopback server: no pipe");
    _listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (_listener < 0) {
        ::close(_wake[0]);
        ::close(_wake[1]);
        throw std::runtime_error("loopback server: no socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(_listener, 16) != 0 ||
        ::getsockname(_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(_listener);
        ::close(_wake[0]);
        ::close(_wake[1]);
        throw std::runtime_error("loopback server: cannot listen");
    }
    _port = ntohs(address.sin_port);
    _thread = std::thread([this] { run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop();
    for (int fd : _wake) {
        if (fd >= 0) ::close(fd);
    }
}

void LoopbackHttpServer::stop() {
    if (!_thread.joinable()) return;
    const char byte = 1;
    (void)::write(_wake[1], &byte, 1);
    _thread.join();
    ::close(_listener);
    _listener = -1;
}

void LoopbackHttpServer::serve(const std::string& path, Answer answer) {
    std::lock_guard lock(_mutex);
    _answers[path] = std::move(answer);
}

void LoopbackHttpServer::serve(const std::string& path, std::string contentType, std::string_view body) {
    Answer a;
    a.contentType = std::move(contentType);
    a.body.assign(body.begin(), body.end());
    serve(path, std::move(a));
}

std::string LoopbackHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(_port) + std::string(path);
}

void LoopbackHttpServer::run() {
    for (;;) {
        pollfd fds[2] = {{_listener, POLLIN, 0}, {_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const int connection = ::accept4(_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        answer(connection);
        ::shutdown(connection, SHUT_RDWR);
        ::close(connection);
    }
}

void LoopbackHttpServer::answer(int connection) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < MaxRequestBytes) {
        pollfd fd{connection, POLLIN, 0};
        if (::poll(&fd, 1, RequestWaitMs) <= 0) return;
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    ++_requests;
    // "GET /path HTTP/1.1"
    const auto first = request.find(' '), second = request.find(' ', first + 1);
    const std::string path = first == std::string::npos ? "" : request.substr(first + 1, second - first - 1);

    Answer a;
    {
        std::lock_guard lock(_mutex);
        auto it = _answers.find(path);
        if (it != _answers.end()) {
            a = it->second;
        } else {
            a.status = 404;
            a.contentType = "text/html";
            const std::string page = "<html><body>Not found</body></html>";
            a.body.assign(page.begin(), page.end());
        }
    }
    std::string head = "HTTP/1.1 " + std::to_string(a.status) + " " + reasonFor(a.status) + "\r\n";
    if (!a.contentType.empty()) head += "Content-Type: " + a.contentType + "\r\n";
    if (a.announceLength) head += "Content-Length: " + std::to_string(a.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!sendAll(connection, head.data(), head.size())) return;
    const std::size_t piece = a.pieceSize > 0 ? a.pieceSize : std::max<std::size_t>(a.body.size(), 1);
    for (std::size_t at = 0; at < a.body.size(); at += piece) {
        const std::size_t n = std::min(piece, a.body.size() - at);
        if (!sendAll(connection, reinterpret_cast<const char*>(a.body.data() + at), n)) return;
    }
}

}  // namespace plat::testing
