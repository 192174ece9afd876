#include "Platform/runtime/url_loader.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <utility>

#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"
#include "foundation/saturating_cast.h"

namespace plat {

namespace {

constexpr long MaxRedirects = 10;
constexpr const char* AllowedSchemes = "http,https,file";
// A redirect never leads from the network into local files.
constexpr const char* RedirectSchemes = "http,https";

void ensureCurl() {
    static std::once_flag flag;
    std::call_once(flag, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The scheme before "://", lower case; empty when there is none.
std::string schemeOf(const std::string& url) {
    const auto end = url.find("://");
    if (end == std::string::npos || end == 0) return {};
    const std::string scheme = url.substr(0, end);
    const bool valid = std::all_of(scheme.begin(), scheme.end(),
                                   [](unsigned char c) { return std::isalnum(c) || c == '+' || c == '-' || c == '.'; });
    return valid ? lower(scheme) : std::string();
}

// "Text/HTML; charset=UTF-8" → "text/html".
std::string bareMimeType(const char* header) {
    if (!header) return {};
    std::string type(header);
    type = type.substr(0, type.find(';'));
    const auto first = type.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = type.find_last_not_of(" \t");
    return lower(type.substr(first, last - first + 1));
}

// One transfer's callbacks, called on the thread that runs it. Either answering false stops it.
struct Transfer {
    std::string requestedURL;
    std::int64_t maxBytes = 0;
    const std::atomic<bool>* stop = nullptr;
    std::function<bool(const URLResponse&)> onResponse;
    std::function<bool(std::span<const std::uint8_t>)> onData;

    CURL* curl = nullptr;
    std::int64_t received = 0;
    bool responded = false;
    bool refused = false;
    bool tooLarge = false;

    URLResponse response() const {
        URLResponse r;
        const char* effective = nullptr;
        curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective);
        r.url = effective ? effective : requestedURL;
        if (schemeOf(r.url) == "file") {
            r.mimeType = URLLoader::mimeTypeForPath(r.url);
        } else {
            curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &r.statusCode);
            const char* type = nullptr;
            curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
            r.mimeType = bareMimeType(type);
        }
        curl_off_t length = -1;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        r.expectedContentLength = length >= 0 ? static_cast<std::int64_t>(length) : -1;
        return r;
    }

    bool respond() {
        if (responded) return !refused;
        responded = true;
        if (onResponse && !onResponse(response())) refused = true;
        return !refused;
    }

    bool stopped() const { return stop && stop->load(); }
};

std::size_t onWrite(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    if (t.stopped() || !t.respond()) return 0;
    if (t.maxBytes > 0 && t.received + static_cast<std::int64_t>(length) > t.maxBytes) {
        t.tooLarge = true;
        return 0;
    }
    t.received += static_cast<std::int64_t>(length);
    if (t.onData && !t.onData({reinterpret_cast<const std::uint8_t*>(data), length})) return 0;
    return length;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->stopped() ? 1 : 0;
}

URLError errorOf(CURLcode code, const Transfer& t, const std::string& scheme, const char* detail) {
    const std::string message = detail && *detail ? detail : curl_easy_strerror(code);
    switch (code) {
        case CURLE_URL_MALFORMAT:
            return {URLError::Code::BadURL, message};
        case CURLE_UNSUPPORTED_PROTOCOL:
            return {URLError::Code::UnsupportedScheme, message};
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
            return {URLError::Code::CannotConnect, message};
        case CURLE_FILE_COULDNT_READ_FILE:
            return {URLError::Code::FileNotFound, message};
        case CURLE_HTTP_RETURNED_ERROR: {
            long status = 0;
            curl_easy_getinfo(t.curl, CURLINFO_RESPONSE_CODE, &status);
            return {URLError::Code::HTTPStatus, "HTTP status " + std::to_string(status)};
        }
        case CURLE_OPERATION_TIMEDOUT:
            return {URLError::Code::TimedOut, message};
        case CURLE_FILESIZE_EXCEEDED:
            return {URLError::Code::TooLarge, "the body is larger than " + std::to_string(t.maxBytes) + " bytes"};
        default:
            break;
    }
    if (t.stopped()) return {URLError::Code::Cancelled, "cancelled"};
    if (t.refused) return {URLError::Code::Refused, "the response was refused"};
    if (t.tooLarge) return {URLError::Code::TooLarge, "the body is larger than " + std::to_string(t.maxBytes) + " bytes"};
    if (code == CURLE_READ_ERROR && scheme == "file") return {URLError::Code::FileNotFound, message};
    return {URLError::Code::Failed, message};
}

// A file URL naming a directory: the transfer would read it as an empty file, and a directory is no
// more a file to load than a missing one.
std::optional<URLError> directoryRefusal(const std::string& url) {
    CURLU* parts = curl_url();
    if (!parts) return std::nullopt;
    std::optional<URLError> refusal;
    char* path = nullptr;
    if (curl_url_set(parts, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
        curl_url_get(parts, CURLUPART_PATH, &path, CURLU_URLDECODE) == CURLUE_OK && path) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error))
            refusal = URLError{URLError::Code::FileNotFound, std::string("a directory, not a file: ") + path};
    }
    curl_free(path);
    curl_url_cleanup(parts);
    return refusal;
}

// Runs the transfer on the calling thread; nullopt when it ended well (the response handed over).
std::optional<URLError> perform(const URLRequest& request, Transfer& t) {
    const std::string scheme = schemeOf(request.url);
    if (scheme.empty()) return URLError{URLError::Code::BadURL, "not a URL: \"" + request.url + "\""};
    if (scheme != "http" && scheme != "https" && scheme != "file")
        return URLError{URLError::Code::UnsupportedScheme, "unsupported scheme \"" + scheme + "\""};
    ensureCurl();
    if (scheme == "file") {
        if (auto refusal = directoryRefusal(request.url)) return refusal;
    }
    t.requestedURL = request.url;
    t.maxBytes = std::max<std::int64_t>(request.maxBytes, 0);
    CURL* curl = curl_easy_init();
    if (!curl) return URLError{URLError::Code::Failed, "cannot start a transfer"};
    t.curl = curl;
    char detail[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, AllowedSchemes);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, RedirectSchemes);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, MaxRedirects);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onWrite);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    if (t.maxBytes > 0) curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t.maxBytes));
    if (request.timeoutSeconds > 0 && std::isfinite(request.timeoutSeconds))
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, detail::saturatingCast<long>(std::ceil(request.timeoutSeconds * 1000)));

    const CURLcode code = curl_easy_perform(curl);
    std::optional<URLError> error;
    if (code != CURLE_OK)
        error = errorOf(code, t, scheme, detail);
    else if (!t.respond())  // an empty body: the response is handed over at the end
        error = URLError{URLError::Code::Refused, "the response was refused"};
    curl_easy_cleanup(curl);
    t.curl = nullptr;
    return error;
}

}  // namespace

// ---- synchronous ----

URLResult URLLoader::load(const URLRequest& request) {
    URLResult result;
    Transfer t;
    t.onResponse = [&](const URLResponse& r) {
        result.response = r;
        return true;
    };
    t.onData = [&](std::span<const std::uint8_t> bytes) {
        result.data.insert(result.data.end(), bytes.begin(), bytes.end());
        return true;
    };
    result.error = perform(request, t);
    if (result.error) result.data.clear();  // never a partial body
    return result;
}

// ---- asynchronous ----

struct URLTask::State {
    std::atomic<bool> stop{false};  // read by the transfer
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    // Set by cancel() from any thread: the handlers go at the first moment none of them runs.
    std::atomic<bool> dropWanted{false};
    // Main thread only.
    URLLoader::Handlers handlers;
    std::optional<URLResponse> response;
    int running = 0;  // handlers on the stack

    // The handlers often hold their owner, which holds the task: once the load is over they are let
    // go, so that such an owner can be freed. Moved out first, so that whatever their captures free
    // runs after the task is consistent again.
    URLLoader::Handlers takeHandlers() {
        dropWanted = false;
        return std::exchange(handlers, {});
    }
    void dropHandlersIfIdle() {
        if (running == 0 && dropWanted) takeHandlers();
    }
    // Calls one of the handlers that do not end the load.
    template <class Call>
    void during(Call&& call) {
        ++running;
        call(handlers);
        --running;
        dropHandlersIfIdle();
    }
};

void URLTask::cancel() {
    _state->cancelled = true;
    _state->stop = true;
    _state->done = true;
    _state->dropWanted = true;
    if (isMainThread()) {
        _state->dropHandlersIfIdle();
        if (!_state->dropWanted) return;
    }
    // From another thread, or from inside a handler: on the main loop, once no handler runs.
    RunLoop::main().post([state = _state] { state->dropHandlersIfIdle(); });
}

bool URLTask::isCancelled() const { return _state->cancelled; }
bool URLTask::isDone() const { return _state->done; }

std::shared_ptr<URLTask> URLLoader::start(const URLRequest& request, Handlers handlers) {
    auto state = std::make_shared<URLTask::State>();
    state->handlers = std::move(handlers);
    auto task = std::make_shared<URLTask>(state);
    // Runs a step on the main loop unless the load is over for the receiver.
    auto onMain = [state](std::function<void(URLTask::State&)> step) {
        RunLoop::main().post([state, step = std::move(step)] {
            if (!state->done) step(*state);
        });
    };
    dispatch::async(dispatch::Queue::global(), [request, state, onMain] {
        Transfer t;
        t.stop = &state->stop;
        t.onResponse = [&](const URLResponse& response) {
            onMain([response](URLTask::State& s) {
                s.response = response;
                bool accepted = true;
                s.during([&](Handlers& h) { accepted = !h.onResponse || h.onResponse(response); });
                if (accepted || s.done) return;
                s.stop = true;
                s.done = true;
                const Handlers h = s.takeHandlers();
                if (h.onFail) h.onFail({URLError::Code::Refused, "the response was refused"});
            });
            return true;
        };
        t.onData = [&](std::span<const std::uint8_t> bytes) {
            onMain([data = std::vector<std::uint8_t>(bytes.begin(), bytes.end())](URLTask::State& s) {
                s.during([&](Handlers& h) {
                    if (h.onData) h.onData(data);
                });
            });
            return true;
        };
        const auto error = perform(request, t);
        onMain([error](URLTask::State& s) {
            s.done = true;
            const Handlers h = s.takeHandlers();
            if (error) {
                if (h.onFail) h.onFail(*error);
            } else if (h.onFinish && s.response) {
                h.onFinish(*s.response);
            }
        });
    });
    return task;
}

// ---- MIME types ----

std::string URLLoader::mimeTypeForPath(const std::string& path) {
    static const std::pair<const char*, const char*> types[] = {
        {"png", "image/png"},         {"jpg", "image/jpeg"},     {"jpeg", "image/jpeg"},     {"gif", "image/gif"},
        {"bmp", "image/bmp"},         {"webp", "image/webp"},    {"svg", "image/svg+xml"},   {"tif", "image/tiff"},
        {"tiff", "image/tiff"},       {"ico", "image/x-icon"},   {"html", "text/html"},      {"htm", "text/html"},
        {"txt", "text/plain"},        {"css", "text/css"},       {"csv", "text/csv"},        {"xml", "application/xml"},
        {"json", "application/json"}, {"js", "text/javascript"}, {"pdf", "application/pdf"}, {"zip", "application/zip"},
    };
    std::string name = path.substr(0, path.find_first_of("?#"));
    name = name.substr(name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/') + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos) return {};
    const std::string extension = lower(name.substr(dot + 1));
    for (const auto& [ext, type] : types) {
        if (extension == ext) return type;
    }
    return {};
}

}  // namespace plat
