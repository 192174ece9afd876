#pragma once
// What a pasted value becomes in a column of a given data type: numbers and Booleans read whole in the
// current locale's decimal style (grouping allowed), Booleans also as True or False in any case, dates
// in the form the column shows them and else as the first date a detector finds in the text. Values of
// the grid's own copy that already are numbers or dates go in as they are.

#include <optional>
#include <string_view>

#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/date_detector.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/value.h"

class GridColumn;

namespace kivo::detail {

struct PastedValue {
    enum class Outcome {
        Store,      // write `converted`, or the value given when there is none
        Unchanged,  // the text does not read as the column's type: the cell keeps its value
        Empty,      // nothing to write into a column that is not text: left alone, not worth a report
    };
    Outcome outcome = Outcome::Unchanged;
    std::optional<plat::Value> converted;
};

class PasteConverter {
public:
    // In the current locale and time zone.
    PasteConverter();

    PastedValue convert(const plat::Value& value, const GridColumn& target) const;
    // The earliest date written in the text.
    std::optional<plat::Date> dateFromString(std::string_view text) const;

private:
    std::optional<plat::Date> readDate(std::string_view text, const GridColumn& target) const;

    plat::NumberFormatter _number;
    plat::DateFormatter _shortDate;
    plat::DateDetector _detector;
};

}  // namespace kivo::detail
