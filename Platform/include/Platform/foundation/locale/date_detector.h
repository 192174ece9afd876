#pragma once
// Finds a date written in free text, as a person of a locale writes one: in the locale's full, long,
// medium or short date style, alone or followed by a space and the locale's short time, or as
// yyyy-MM-dd, alone or followed by "T" or a space and HH:mm or HH:mm:ss. Dates and times are read in
// the detector's time zone. The spaces written as U+202F or U+00A0 in the locale's forms (ICU puts
// them before AM/PM) and plain spaces read as each other.

#include <memory>
#include <optional>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/utf16.h"

namespace plat {

struct PLAT_EXPORT DetectedDate {
    Date date;
    // Where the date was written, in UTF-16 units.
    TextRange range;
};

class PLAT_EXPORT DateDetector {
public:
    DateDetector(const Locale& locale, const TimeZone& zone);
    ~DateDetector();
    DateDetector(const DateDetector&) = delete;
    DateDetector& operator=(const DateDetector&) = delete;

    // The earliest date in the text: at the first word start where a form reads strictly and ends at
    // a word end, the longest such reading. Safe to call from several threads.
    std::optional<DetectedDate> firstDate(std::string_view text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> _impl;
};

}  // namespace plat
