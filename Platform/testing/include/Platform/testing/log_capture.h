#pragma once
// Captures the system log for the lifetime of the object, restoring the previous sink afterwards.

#include <mutex>
#include <string>
#include <vector>

#include "Platform/foundation/log.h"

namespace plat::testing {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    void clear();

private:
    mutable std::mutex _mutex;
    std::vector<std::string> _lines;
    LogSink _previous;
};

}  // namespace plat::testing
