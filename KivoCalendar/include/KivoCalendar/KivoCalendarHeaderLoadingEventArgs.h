#pragma once
// The arguments of the header's title pass, handed to the calendar's headerLoading event.

#include <cstdint>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCore/KivoEventArgs.h"
#include "Platform/foundation/date.h"

// The header's title pass: a handler may put its own text into `header` (none: the built-in title).
class KIVO_CALENDAR_EXPORT KivoCalendarHeaderLoadingEventArgs : public KivoEventArgs {
public:
    KivoCalendarHeaderLoadingEventArgs(std::optional<plat::Date> date, std::int64_t viewMode, std::optional<std::string> text)
        : _date(date), _viewMode(viewMode), _header(std::move(text)) {}

    const std::optional<plat::Date>& date() const { return _date; }
    void setDate(std::optional<plat::Date> date) { _date = date; }
    std::int64_t viewMode() const { return _viewMode; }
    void setViewMode(std::int64_t mode) { _viewMode = mode; }
    const std::optional<std::string>& header() const { return _header; }
    void setHeader(std::optional<std::string> header) { _header = std::move(header); }

private:
    std::optional<plat::Date> _date;
    std::int64_t _viewMode;
    std::optional<std::string> _header;
};
