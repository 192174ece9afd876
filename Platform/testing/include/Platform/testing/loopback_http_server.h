#pragma once
// A tiny HTTP server on 127.0.0.1 for tests that load URLs: it answers GET requests by path with
// fixed answers, one request per connection, on a thread of its own, from construction until stop()
// or destruction. Paths it was not given answer 404 with a small HTML page.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace plat::testing {

class LoopbackHttpServer {
public:
    struct Answer {
        int status = 200;
        std::string contentType;  // empty: no Content-Type header
        std::vector<std::uint8_t> body;
        bool announceLength = true;  // send Content-Length
        std::size_t pieceSize = 0;   // write the body in pieces of this many bytes (0: at once)
    };

    // Listens on a free port; throws std::runtime_error when no socket can be had.
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    void serve(const std::string& path, Answer answer);
    void serve(const std::string& path, std::string contentType, std::string_view body);

    int port() const { return _port; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::string url(std::string_view path) const;
    std::size_t requestCount() const { return _requests; }

    // Closes the port and ends the thread: connections made afterwards are refused.
    void stop();

private:
    void run();
    void answer(int connection);

    int _listener = -1;
    int _wake[2] = {-1, -1};  // written to by stop() to end the thread's wait
    int _port = 0;
    std::atomic<std::size_t> _requests{0};
    std::mutex _mutex;
    std::map<std::string, Answer, std::less<>> _answers;
    std::thread _thread;
};

}  // namespace plat::testing
