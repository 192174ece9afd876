// KivoSeries: reading the values of the items into the kept arrays.

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoPropertyReader.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "series/DecimalText.h"

namespace {

// A date as its seconds since 1970; null as the placeholder of a missing value; anything else as it is.
plat::Value stored(plat::Value value) {
    if (value.isDate()) return plat::Value(value.asDate().seconds);
    if (value.isNil()) return plat::Value(KivoSeries::NullValue);
    return value;
}

std::shared_ptr<KivoDataArray> emptyArray() { return KivoDataArray::create(KivoDataTypeNone, std::make_shared<plat::Array>()); }

}  // namespace

plat::ArrayPtr KivoSeries::getValues(std::int32_t dimension) {
    if (dimension == 0) {
        if (_values) return _values;
        _valueDataType = KivoDataTypeNone;
        std::shared_ptr<KivoDataArray> read;
        if (hasOwnItems()) {
            read = _bindValues(_cv->items(), getBinding(0));
        } else {
            const auto names = binding();
            if (!names || names->empty()) return nullptr;
            const auto chart = _chart.lock();
            const auto view = chart ? chart->collectionView() : nullptr;
            if (!view || !view->items() || view->items()->empty()) return nullptr;
            read = _bindCollectionView(view, getBinding(0), 0);
        }
        _values = read->values();
        _valueDataType = read->dataType();
        return _values;
    }
    if (dimension == 1) {
        if (_xvalues) return _xvalues;
        _xvalueDataType = KivoDataTypeNone;
        const auto name = bindingX();
        if (!name) return nullptr;
        std::shared_ptr<KivoDataArray> read;
        if (hasOwnItems()) {
            read = _bindValues(_cv->items(), name);
        } else {
            const auto chart = _chart.lock();
            const auto view = chart ? chart->collectionView() : nullptr;
            if (!view || !view->items() || view->items()->empty()) return nullptr;
            read = _bindCollectionView(view, name, 1);
        }
        _xvalues = read->values();
        _xvalueDataType = read->dataType();
        return _xvalues;
    }
    return nullptr;
}

std::int64_t KivoSeries::getDataType(std::int32_t dimension) const {
    if (dimension == 0) return _valueDataType;
    if (dimension == 1) return _xvalueDataType;
    return KivoDataTypeNone;
}

void KivoSeries::clearValues() {
    _values.reset();
    _xvalues.reset();
}

plat::ArrayPtr KivoSeries::getBindingValues(std::int64_t index) const {
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
