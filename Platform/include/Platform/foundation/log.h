#pragma once
// The system log. Lines go to standard error unless a sink is installed (tests capture them).

#include <functional>
#include <string>

#include "Platform/PlatformExport.h"

namespace plat {

using LogSink = std::function<void(const std::string& line)>;

PLAT_EXPORT void log(const std::string& line);
// Installs a sink and returns the previous one (empty: standard error). Thread-safe.
PLAT_EXPORT LogSink setLogSink(LogSink sink);

}  // namespace plat
