// KivoSeries: reading the values of the items: the boxed lists that getValues hands out, and the plain
// numbers kept for the chart's analysis and plotters (kept in step with each announced edit).

#include <cstring>
#include <typeinfo>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoPropertyReader.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "series/DecimalText.h"
#include "series/SeriesColumns.h"

namespace {

// A date as its seconds since 1970; null as the placeholder of a missing value; anything else as it is.
plat::Value stored(plat::Value value) {
    if (value.isDate()) return plat::Value(value.asDate().seconds);
    if (value.isNil()) return plat::Value(KivoSeries::NullValue);
    return value;
}

std::shared_ptr<KivoDataArray> emptyArray() { return KivoDataArray::create(KivoDataTypeNone, std::make_shared<plat::Array>()); }

}  // namespace

namespace kivo::detail {
namespace {

using Source = ColumnSpec::Source;

// Everything needed to read one kind of a series' values: which column to keep (binding and source),
// the view its items come from (null when no item is read), and whether the series has no values of
// that kind at all, in which case getValues answers null.
struct Reading {
    ColumnSpec spec;
    std::shared_ptr<KivoCollectionView> view;
    bool absent = false;

    ListSource list() const {
        if (!view) return {};
        return [view = view] { return visibleItems(*view); };
    }
    std::size_t count() const { return view ? static_cast<std::size_t>(view->itemCount()) : 0; }
    ViewItems items() const { return ViewItems(view); }
};

bool hasItems(const std::shared_ptr<KivoCollectionView>& view) { return view && !view->isEmpty(); }

std::shared_ptr<KivoCollectionView> chartView(const KivoSeries& series) {
    const auto chart = series.chart();
    return chart ? chart->collectionView() : nullptr;
}

// As getValues reads dimension 0.
Reading yReading(const KivoSeries& series, const std::shared_ptr<KivoCollectionView>& own) {
    if (hasItems(own)) return {{Source::OwnItems, series.getBinding(0), ColumnMode::Plain}, own};
    const auto names = series.binding();
    auto view = chartView(series);
    if (!names || names->empty() || !hasItems(view)) return {{}, nullptr, true};
    auto member = series.getBinding(0);
    // No member name reads no item: an empty list.
    if (!member || member->empty()) view.reset();
    return {{Source::ChartItems, std::move(member), ColumnMode::ParseDecimal}, std::move(view)};
}

// As getValues reads dimension 1.
Reading xReading(const KivoSeries& series, const std::shared_ptr<KivoCollectionView>& own) {
    auto name = series.bindingX();
    if (!name) return {{}, nullptr, true};
    if (hasItems(own)) return {{Source::OwnItems, std::move(name), ColumnMode::Plain}, own};
    auto view = chartView(series);
    if (!hasItems(view)) return {{}, nullptr, true};
    if (name->empty()) view.reset();
    return {{Source::ChartItems, std::move(name), ColumnMode::Plain}, std::move(view)};
}

// As getBindingValues reads the name at `index`.
Reading bindingReading(const KivoSeries& series, const std::shared_ptr<KivoCollectionView>& own, std::int64_t index) {
    const bool ownItems = hasItems(own);
    auto view = ownItems ? own : chartView(series);
    if (!view) return {{}, nullptr, true};
    return {{ownItems ? Source::OwnItems : Source::ChartItems, series.getBinding(index), ColumnMode::Plain}, std::move(view)};
}

}  // namespace
}  // namespace kivo::detail

KivoValues KivoSeries::getValues(std::int32_t dimension) {
    using namespace kivo::detail;
    if (dimension != 0 && dimension != 1) return nullptr;
    KivoValues& kept = dimension == 0 ? _values : _xvalues;
    if (kept) return kept;
    std::int64_t& type = dimension == 0 ? _valueDataType : _xvalueDataType;
    type = KivoDataTypeNone;
    // Read as the kept numbers are, but boxed, strings and all.
    const Reading reading = dimension == 0 ? yReading(*this, _cv) : xReading(*this, _cv);
    if (reading.absent) return nullptr;
    const auto read = reading.spec.source == ColumnSpec::Source::OwnItems
                          ? _bindValues(_cv->items(), reading.spec.member)
                          : _bindCollectionView(chartView(*this), reading.spec.member, dimension);
    kept = read->values();
    type = read->dataType();
    return kept;
}

std::int64_t KivoSeries::getDataType(std::int32_t dimension) const {
    if (dimension == 0) return _valueDataType;
    if (dimension == 1) return _xvalueDataType;
    return KivoDataTypeNone;
}

void KivoSeries::clearValues() {
    _values.reset();
    _xvalues.reset();
    _columns->dropAll();
}

void KivoSeries::dropValues() {
    _values.reset();
    _columns->y.drop();
    _columns->changed();
}

void KivoSeries::dropXValues() {
    _xvalues.reset();
    _columns->x.drop();
    _columns->changed();
}

KivoValues KivoSeries::getBindingValues(std::int64_t index) const {
    const auto items = readList();
    if (!items) return nullptr;
    return _bindValues(items, getBinding(index))->values();
}

std::shared_ptr<KivoDataArray> KivoSeries::_bindValues(const plat::ArrayPtr& items, const std::optional<std::string>& binding) {
    if (!items) return emptyArray();
    auto values = std::make_shared<plat::Array>();
    values->reserve(items->size());
    // The type is the last value's: only that one is classified.
    plat::Value last;
    if (binding) {
        const auto reader = KivoPropertyReader::forKey(*binding);
        for (const auto& item : *items) {
            last = reader.read(item);
            values->push_back(stored(last));
        }
    } else {
        for (const auto& item : *items) {
            last = item;
            values->push_back(stored(last));
        }
    }
    return KivoDataArray::create(items->empty() ? KivoDataTypeNone : KivoReflector::getDataType(last), std::move(values));
}

std::shared_ptr<KivoDataArray> KivoSeries::_bindCollectionView(const std::shared_ptr<KivoCollectionView>& view,
                                                               const std::optional<std::string>& binding,
                                                               std::int32_t dimension) {
    if (!view || !view->items() || !binding || binding->empty()) return emptyArray();
    // The visible list, in the order the chart shows it: the X values and the other series read the same.
    const auto& items = *view->items();
    auto values = std::make_shared<plat::Array>();
    values->reserve(items.size());
    plat::Value last;
    const auto reader = KivoPropertyReader::forKey(*binding);
    for (const auto& item : items) {
        last = reader.read(item);
        if (last.isNumber() || last.isDate() || last.isNil() || dimension == 1) {
            values->push_back(stored(last));
            continue;
        }
        plat::Value number = _getNumberFromValue(last);
        values->push_back(number.isNil() ? plat::Value(NullValue) : std::move(number));
    }
    return KivoDataArray::create(items.empty() ? KivoDataTypeNone : KivoReflector::getDataType(last), std::move(values));
}

plat::Value KivoSeries::_getNumberFromValue(const plat::Value& value) {
    if (value.isNumber()) return value;
    if (!value.isString()) return {};
    const auto number = kivo::detail::parseDecimal(value.asString(), plat::Locale::current());
    return number ? plat::Value(*number) : plat::Value();
}

// ---- Kept numbers ----

namespace kivo::detail {

namespace {

// What a subclass answers from getValues for that dimension, when it answers anything else than the
// series' own reading of its items: its values as plain numbers, kept while it answers the same array.
// A KivoSeries as it stands reads its items straight into the kept numbers, never boxing them.
std::optional<ColumnPtr> givenValues(KivoSeries& series, std::int32_t dimension, SeriesColumns& kept) {
    if (typeid(series) == typeid(KivoSeries)) return std::nullopt;
    GivenColumn& given = dimension == 0 ? kept.givenY : kept.givenX;
    KivoValues answer = series.getValues(dimension);
    if (answer && answer == (dimension == 0 ? series.values() : series.xvalues())) {
        // The series' own reading after all: the kept numbers hold the same.
        if (given.built) {
            given = GivenColumn();
            kept.changed();
        }
        return std::nullopt;
    }
    if (!given.built || given.from != answer) {
        std::shared_ptr<ValueColumn> column;
        if (answer) {
            column = columnOfValues(*answer);
            column->dataType = series.getDataType(dimension);
        }
        given = {std::move(answer), std::move(column), true};
        // The items' own numbers are not what is drawn: no edit of them is followed.
        (dimension == 0 ? kept.y : kept.x).drop();
        kept.changed();
    }
    return given.column;
}

}  // namespace

ColumnPtr SeriesInternals::values(KivoSeries& series, std::int32_t dimension) {
    if (dimension != 0 && dimension != 1) return nullptr;
    SeriesColumns& kept = *series._columns;
    if (auto given = givenValues(series, dimension, kept)) return std::move(*given);
    KeptColumn& column = dimension == 0 ? kept.y : kept.x;
    const Reading reading = dimension == 0 ? yReading(series, series._cv) : xReading(series, series._cv);
    // Read afresh, or another way than before (a binding name of the chart changed): new values.
    const bool fresh = !column.matches(reading.spec);
    const ColumnPtr& read = column.get(reading.spec, reading.items(), reading.absent);
    if (fresh) kept.changed();
    (dimension == 0 ? series._valueDataType : series._xvalueDataType) = read ? read->dataType : KivoDataTypeNone;
    return read;
}

ColumnPtr SeriesInternals::keptValues(KivoSeries& series, std::int32_t dimension) {
    const GivenColumn* given = dimension == 0 ? &series._columns->givenY : dimension == 1 ? &series._columns->givenX : nullptr;
    if (given && given->built) return given->column;
    const KeptColumn* column = dimension == 0 ? &series._columns->y : dimension == 1 ? &series._columns->x : nullptr;
    if (column && column->isBuilt()) return column->column();
    return values(series, dimension);
}

ColumnPtr SeriesInternals::bindingValues(KivoSeries& series, std::int64_t index) {
    if (index < 0) return nullptr;
    SeriesColumns& kept = *series._columns;
    if (kept.bindings.size() <= static_cast<std::size_t>(index)) kept.bindings.resize(static_cast<std::size_t>(index) + 1);
    const Reading reading = bindingReading(series, series._cv, index);
    // The analysis reads none of these: reading them afresh is no change of its inputs.
    return kept.bindings[static_cast<std::size_t>(index)].get(reading.spec, reading.items(), reading.absent);
}

std::uint64_t SeriesInternals::generation(const KivoSeries& series) { return series._columns->generation; }

const std::optional<ReplacedValues>& SeriesInternals::replaced(const KivoSeries& series) { return series._columns->replaced; }

namespace {

// At most this many replaced items are followed value by value; more have the analysis run anew.
constexpr std::size_t MaxFollowedReplace = 16;

// The entries a replace of a few items overwrites in a kept column, as they stand before it.
struct Entries {
    std::vector<double> values;
    std::vector<bool> numbers;
};

std::optional<Entries> entriesAt(const KeptColumn& column, std::size_t at, std::size_t n) {
    if (!column.isBuilt() || !column.column() || at + n > column.column()->size()) return std::nullopt;
    Entries e;
    for (std::size_t k = at; k < at + n; ++k) {
        e.values.push_back(column.column()->values[k]);
        e.numbers.push_back(column.column()->isNumber(static_cast<std::int64_t>(k)));
    }
    return e;
}

// Whether two lists of entries hold the same numbers, bit for bit (0 and −0 apart).
bool sameEntries(const Entries& a, const Entries& b) {
    if (a.numbers != b.numbers || a.values.size() != b.values.size()) return false;
    return std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(double)) == 0;
}

}  // namespace

void SeriesInternals::itemsChanged(KivoSeries& series, const KivoNotifyCollectionChangedEventArgs& args, bool chartItems) {
    // An edit of the chart's items means nothing to a series that reads its own.
    if (chartItems && series.hasOwnItems()) return;
    SeriesColumns& kept = *series._columns;
    // A replace of a few items is noted with the Y values it overwrites and the X values as they were,
    // so the analysis can follow it if the X values stay.
    const bool replace = args.action() == KivoNotifyCollectionChangedActionReplace && args.items();
    const std::int64_t start = replace && args.startingIndex() < 0 ? args.oldStartingIndex() : args.startingIndex();
    const std::size_t count = replace ? args.items()->size() : 0;
    const bool followed = replace && start >= 0 && count > 0 && count <= MaxFollowedReplace;
    const auto at = static_cast<std::size_t>(start);
    const auto yBefore = followed ? entriesAt(kept.y, at, count) : std::nullopt;
    const auto xBefore = yBefore && kept.x.isBuilt() ? entriesAt(kept.x, at, count) : std::nullopt;
    const bool xBuilt = kept.x.isBuilt() && kept.x.column();
    const std::uint64_t from = kept.generation;
    series._values.reset();
    series._xvalues.reset();
    const auto follow = [&](KeptColumn& column, const Reading& reading) {
        if (!column.isBuilt()) return;
        // Without a view to read, the column is read again (as an empty one, or not at all).
        if (reading.absent || !reading.view)
            column.drop();
        else
            column.apply(args, reading.spec, reading.count(), reading.list());
    };
    follow(kept.y, yReading(series, series._cv));
    follow(kept.x, xReading(series, series._cv));
    for (std::size_t k = 0; k < kept.bindings.size(); ++k)
        follow(kept.bindings[k], bindingReading(series, series._cv, static_cast<std::int64_t>(k)));
    kept.changed();
    if (!yBefore || entriesAt(kept.y, at, count) == std::nullopt) return;
    // The X values must be kept as they were, or be absent before and after.
    if (xBuilt) {
        const auto xAfter = entriesAt(kept.x, at, count);
        if (!xBefore || !xAfter || !sameEntries(*xBefore, *xAfter)) return;
    } else if (kept.x.isBuilt()) {
        return;
    }
    kept.replaced = ReplacedValues{from, kept.generation, at, yBefore->values};
}

std::size_t SeriesInternals::bytes(const KivoSeries& series) {
    const SeriesColumns& kept = *series._columns;
    std::size_t total = sizeof(kept);
    const auto add = [&](const KeptColumn& column) {
        if (column.column()) total += column.column()->bytes();
    };
    add(kept.y);
    add(kept.x);
    for (const auto& column : kept.bindings) add(column);
    return total;
}

}  // namespace kivo::detail
