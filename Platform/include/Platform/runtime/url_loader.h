#pragma once
// Loading from URLs (http, https and file) over libcurl: synchronously on the calling thread, or on a
// background queue with the response, the bytes as they arrive and the end handed to the main run
// loop in order. A load that fails (no such file, no connection, an HTTP error status) ends with an
// error and never with a response's end.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Platform/PlatformExport.h"

namespace plat {

struct PLAT_EXPORT URLRequest {
    std::string url;
    // Seconds for the whole load; zero, negative or NaN: no limit.
    double timeoutSeconds = 60;
    // A body larger than this many bytes fails the load (0: no limit).
    std::int64_t maxBytes = 0;
};

struct PLAT_EXPORT URLResponse {
    std::string url;       // where the bytes came from, after redirects
    long statusCode = 0;   // the HTTP status; 0 for files
    std::string mimeType;  // lower case, without parameters; for files, from the name's extension; empty when unknown
    std::int64_t expectedContentLength = -1;  // -1 when not announced
};

struct PLAT_EXPORT URLError {
    enum class Code {
        BadURL,             // empty or malformed
        UnsupportedScheme,  // not http, https or file
        CannotConnect,      // the host is unknown or refused the connection
        FileNotFound,       // a file:// URL that names no readable file
        HTTPStatus,         // the server answered with a status of 400 or above
        TimedOut,
        TooLarge,  // the body passed the request's maxBytes
        Cancelled,
        Refused,     // the receiver refused the response (see URLLoader::Handlers)
        BadContent,  // the body is not what was asked for (a page where an image was wanted)
        Failed,      // anything else the transfer ran into
    };
    Code code = Code::Failed;
    std::string message;
};

// What a synchronous load brings back: the response and the whole body, or the error.
struct PLAT_EXPORT URLResult {
    std::optional<URLResponse> response;
    std::vector<std::uint8_t> data;
    std::optional<URLError> error;
    bool ok() const { return !error; }
};

// One asynchronous load. Cancelling is safe from any thread; from the main thread's point of view no
// handler runs after it.
class PLAT_EXPORT URLTask {
public:
    void cancel();
    bool isCancelled() const;
    // True once no handler will run any more: the load ended, failed, was refused or cancelled.
    bool isDone() const;

    struct State;
    explicit URLTask(std::shared_ptr<State> state) : _state(std::move(state)) {}

private:
    std::shared_ptr<State> _state;
};

class PLAT_EXPORT URLLoader {
public:
    // Blocks the calling thread until the load ends.
    static URLResult load(const URLRequest& request);

    // Each handler runs on the main run loop, in this order: onResponse once, onData for every piece
    // of the body, then either onFinish or onFail. onResponse answering false refuses the response:
    // the load stops and onFail runs with Refused (so a page that is not what was asked for never
    // counts as a finished load). Handlers may be empty.
    struct Handlers {
        std::function<bool(const URLResponse&)> onResponse;
        std::function<void(std::span<const std::uint8_t>)> onData;
        std::function<void(const URLResponse&)> onFinish;
        std::function<void(const URLError&)> onFail;
    };
    // Starts the load on a background queue.
    static std::shared_ptr<URLTask> start(const URLRequest& request, Handlers handlers);

    // The MIME type of a file name by its extension (lower case), empty when unknown.
    static std::string mimeTypeForPath(const std::string& path);
};

}  // namespace plat
