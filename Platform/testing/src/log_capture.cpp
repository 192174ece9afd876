#include "Platform/testing/log_capture.h"

namespace plat::testing {

LogCapture::LogCapture() {
    _previous = setLogSink([this](const std::string& line) {
        std::lock_guard lock(_mutex);
        _lines.push_back(line);
    });
}

LogCapture::~LogCapture() { setLogSink(std::move(_previous)); }

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard lock(_mutex);
    return _lines;
}

void LogCapture::clear() {
    std::lock_guard lock(_mutex);
    _lines.clear();
}

}  // namespace plat::testing
