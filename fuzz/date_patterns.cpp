// Date patterns and date texts from outside: the calendar's month title pattern and weekday format
// with any display date, and the grid's reading of a pasted date in a column of any format. The
// calendar draws only well-formed texts; a date the grid reads is a finite point in time.
#include <cmath>
#include <cstring>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCore/KivoDataType.h"
#include "OmbriGrid/GridColumn.h"
#include "Platform/foundation/utf16.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/window.h"
#include "clipboard/PasteConversion.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    fuzz::Reader in(data, size);
    const std::uint8_t weekdayFormat = in.byte();
    std::int32_t days = 0;
    for (int i = 0; i < 3; ++i) days = days << 8 | in.byte();
    days -= 1 << 23;  // about 23 000 years either side of 1970
    const std::string titlePattern = in.text('\n', 48);
    const std::string columnPattern = in.text('\n', 48);
    const std::string pasted = in.rest();

    auto window = plat::Window::create({0, 0, 320, 320});
    auto calendar = KivoCalendar::create({0, 0, 320, 320});
    calendar->setHeaderMonthFormat(titlePattern);
    calendar->setDayOfWeekFormat(static_cast<std::int8_t>(weekdayFormat));
    calendar->setDisplayDate(plat::Date(days * 86400.0));
    window->addSubview(calendar);
    plat::RecordingContext recording;
    window->display(recording);
    for (const auto& text : recording.strings())
        if (plat::toUtf8(plat::toUtf16(text)) != text)
            fuzz::fail("the calendar draws well-formed texts", "title pattern \"" + titlePattern + "\": " + text);

    const kivo::detail::PasteConverter converter;
    const auto column = std::make_shared<GridColumn>();
    column->setDataType(KivoDataTypeDate);
    column->setFormat(columnPattern);
    const auto converted = converter.convert(plat::Value(pasted), *column);
    if (converted.converted && converted.converted->isDate() && !std::isfinite(converted.converted->asDate().seconds))
        fuzz::fail("a pasted date is a point in time", "\"" + pasted + "\" in format \"" + columnPattern + "\"");
    if (const auto found = converter.dateFromString(pasted); found && !std::isfinite(found->seconds))
        fuzz::fail("a found date is a point in time", "\"" + pasted + "\"");
    return 0;
}
