#include "Platform/foundation/log.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace plat {

namespace {
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
LogSink& currentSink() {
    static LogSink sink;
    return sink;
}
}  // namespace

void log(const std::string& line) {
    std::lock_guard lock(logMutex());
    if (currentSink()) {
        currentSink()(line);
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

LogSink setLogSink(LogSink sink) {
    std::lock_guard lock(logMutex());
    return std::exchange(currentSink(), std::move(sink));
}

}  // namespace plat
