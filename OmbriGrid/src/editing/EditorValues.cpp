#include "editing/EditorValues.h"

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridDataMap.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/number_formatter.h"
#include "Platform/foundation/locale/timezone.h"

namespace kivo::detail {

namespace {

enum : std::int64_t { TypeObject = 1, TypeString = 2, TypeNumber = 3, TypeBoolean = 4, TypeDate = 5 };

plat::NumberFormatter editNumbers() {
    plat::NumberFormatter f(plat::NumberFormatter::Style::Decimal, plat::Locale::current());
    f.setUsesGrouping(false);
    f.setMaximumFractionDigits(plat::NumberFormatter::MaxDigits);
    return f;
}

// The form the cell showed its date in: the column's date formatter, else the short date style.
plat::DateFormatter shownDateForm(const GridColumn& column) {
    if (const auto* own = dynamic_cast<const plat::DateFormatter*>(column.formatter().get())) return *own;
    plat::DateFormatter f(plat::Locale::current(), plat::TimeZone::current());
    f.setDateStyle(plat::DateFormatter::Style::Short);
    return f;
}

ReadBack fail(std::string why) { return {{}, std::move(why)}; }

}  // namespace

std::string numberEditText(const plat::Value& raw) {
    if (raw.isNil() || raw.isNull()) return {};
    if (raw.isInteger() || raw.isBool()) return editNumbers().format(raw.asInteger());
    if (raw.isDouble()) return editNumbers().format(raw.asDouble());
    return raw.description();
}

ReadBack readEditorText(const GridColumn& column, const std::string& text, const plat::Value& current) {
    if (const auto& map = column.dataMap()) {
        plat::Value key = map->getKeyValue(text);
        if (key.isNil()) return fail("is not one of the column's display values");
        return {key, {}};
    }
    switch (column.dataType()) {
        case TypeString:
        case TypeObject:
            return {plat::Value(text), {}};
        case TypeNumber: {
            plat::NumberFormatter reader(plat::NumberFormatter::Style::Decimal, plat::Locale::current());
            if (auto n = reader.parse(text)) return {plat::Value(*n), {}};
            return fail("does not read as a number");
        }
        case TypeDate: {
            const auto form = shownDateForm(column);
            const auto date = current.isDate() ? form.parse(text, current.asDate()) : form.parse(text);
            if (date) return {plat::Value(*date), {}};
            return fail("does not read as a date in the form shown");
        }
        case TypeBoolean:
            return fail("is not typed into a Boolean column, which toggles");
        default:
            return fail("has no conversion to the column's data type");
    }
}

}  // namespace kivo::detail
