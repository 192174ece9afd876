#include "OmbriGrid/GridColumn.h"
#include "GridInternals.h"

#include <cmath>
#include <typeinfo>

#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoBinding.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoNumberFormatter.h"
#include "KivoCore/KivoReflector.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridDataMap.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/KivoInternalCamelConversion.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/formatter.h"
#include "Platform/foundation/log.h"
#include "format/FormatMemo.h"

namespace {
constexpr const char* CheckedBox = "\u2611\uFE0E";
constexpr const char* EmptyBox = "\u2610";
constexpr const char* AscendingMark = "\u25B2";
constexpr const char* DescendingMark = "\u25BC";
}  // namespace

GridColumn::GridColumn()
    : GridRowCol(GridRowColFlagsVisible | GridRowColFlagsAllowResizing | GridRowColFlagsAllowDragging |
                 GridRowColFlagsAllowSorting) {}

GridColumn::~GridColumn() = default;

std::optional<std::string> GridColumn::binding() const {
    if (!_binding) return std::nullopt;
    return _binding->path();
}

void GridColumn::setBinding(const std::optional<std::string>& path) {
    if (path == binding()) return;
    _binding = path ? std::make_shared<KivoBinding>(*path) : nullptr;
    auto g = grid();
    if (_dataType == 0 && g && _binding && g->collectionView()) {
        // The first visible item, read without making the view's list.
        if (g->collectionView()->itemCount() > 0) _dataType = getBoundDataType(g->collectionView()->itemAt(0));
    }
    onPropertyChanged();
}

std::optional<std::string> GridColumn::header() const {
    if (_header) return _header;
    if (!_binding) return std::nullopt;
    return KivoInternalCamelConversionNSString(_binding->path());
}

void GridColumn::setHeader(const std::optional<std::string>& header) {
    if (header == _header) return;
    _header = header;
    onPropertyChanged();
}

std::optional<std::string> GridColumn::getFormattedHeader() const {
    auto h = header();
    const GridSortDirection direction = sortDirection();
    auto g = grid();
    if (direction != GridSortDirectionNone && g && g->showSort())
        return h.value_or("") + " " + (direction == GridSortDirectionAscending ? AscendingMark : DescendingMark);
    return h;
}

double GridColumn::width() const { return _widthType == GridWidthTypeStar ? _starWidth : static_cast<double>(size()); }

void GridColumn::setWidth(double width) {
    if (_widthType == GridWidthTypeStar) {
        // A weight that is no number, or an infinite one, leaves no share to any other star column.
        if (!std::isfinite(width)) {
            plat::log("GridColumn: star weight " + std::to_string(width) + " refused: not a finite number");
            return;
        }
        if (width == _starWidth) return;
        _starWidth = width;
        onPropertyChanged();
        return;
    }
    // A size is a 32-bit count of points: anything that does not truncate into one is not a width.
    if (!std::isfinite(width) || std::trunc(width) < INT32_MIN || std::trunc(width) > INT32_MAX) {
        plat::log("GridColumn: width " + std::to_string(width) + " refused: not a finite 32-bit number of points");
        return;
    }
    setSize(static_cast<std::int32_t>(width));
    onPropertyChanged();
    if (auto g = grid()) kivo::detail::GridInternals::headersChanged(*g);
}

void GridColumn::setWidthType(GridWidthType type) {
    if (type == _widthType) return;
    double w = width();
    // A column of default width has no number to carry: as a star column it takes the unit weight.
    if (type == GridWidthTypeStar && _widthType != GridWidthTypeStar && size() < 0) w = 1.0;
    _widthType = type;
    if (type == GridWidthTypeDefault) setSize(-1);
    setWidth(w);
    onPropertyChanged();
    onResize();
}

void GridColumn::setMinWidth(std::int32_t width) {
    if (width == minSizeValue()) return;
    // Stored first without notice, so that the width below can compare against it.
    changeMinSize(width);
    if (renderSize() < width && _widthType == GridWidthTypeSized) setWidth(width);
    onPropertyChanged();
}

GridSortDirection GridColumn::sortDirection() const {
    auto g = grid();
    if (!g || !g->collectionView() || !g->collectionView()->canSort()) return _defaultSort;
    const auto path = getSortMemberPath();
    for (const plat::Value& entry : *g->collectionView()->sortDescriptions()) {
        auto sd = entry.as<KivoSortDescription>();
        if (sd && path && sd->property() == *path)
            return sd->ascending() ? GridSortDirectionAscending : GridSortDirectionDescending;
    }
    return _defaultSort;
}

void GridColumn::setSortDirection(GridSortDirection direction) {
    if (direction == _defaultSort) return;
    _defaultSort = direction;
    if (auto g = grid()) {
        // The sort mark is part of the header's text: merged headers may change.
        if (g->mergeManager()) g->mergeManager()->dropCache();
        g->invalidate();
    }
}

namespace {
GridHorizontalAlignment resolveAlignment(GridHorizontalAlignment stored, std::int64_t dataType, bool mapped) {
    if (stored != GridHorizontalAlignmentAutomatic) return stored;
    if (dataType == 4) return GridHorizontalAlignmentCenter;
    // Numbers shown through a data map read as texts.
    if (dataType == 3 && !mapped) return GridHorizontalAlignmentRight;
    return GridHorizontalAlignmentLeft;
}
}  // namespace

GridHorizontalAlignment GridColumn::horizontalAlignment() const {
    return resolveAlignment(_horizontalAlignment, _dataType, _dataMap != nullptr);
}
GridHorizontalAlignment GridColumn::headerHorizontalAlignment() const {
    return resolveAlignment(_headerHorizontalAlignment, _dataType, _dataMap != nullptr);
}

void GridColumn::setHorizontalAlignment(GridHorizontalAlignment alignment) {
    if (alignment == _horizontalAlignment) return;
    _horizontalAlignment = alignment;
    onPropertyChanged();
}

void GridColumn::setHeaderHorizontalAlignment(GridHorizontalAlignment alignment) {
    if (alignment == _headerHorizontalAlignment) return;
    _headerHorizontalAlignment = alignment;
    onPropertyChanged();
}

void GridColumn::setDataType(std::int64_t type) {
    if (type == _dataType) return;
    _dataType = type;
    if (auto g = grid()) {
        // The data type decides how numbers read (a Boolean's check box): merged blocks may change.
        if (g->mergeManager()) g->mergeManager()->dropCache();
        g->invalidate();
    }
}

void GridColumn::setFormat(const std::optional<std::string>& format) {
    if (format == _format) return;
    _format = format;
    onPropertyChanged();
}

void GridColumn::setFormatter(std::shared_ptr<const plat::Formatter> formatter) {
    if (formatter == _formatter) return;
    _formatter = std::move(formatter);
    onPropertyChanged();
}

void GridColumn::setAggregate(std::int64_t aggregate) {
    if (aggregate == _aggregate) return;
    _aggregate = aggregate;
    onPropertyChanged();
}

std::optional<std::string> GridColumn::getSortMemberPath() const {
    if (_sortMemberPath && !_sortMemberPath->empty()) return _sortMemberPath;
    return binding();
}

std::int64_t GridColumn::getBoundDataType(const plat::Value& item) const {
    return _binding ? _binding->getDataTypeForTarget(item) : 0;
}
plat::Value GridColumn::getBoundValue(const plat::Value& item) const {
    return _binding ? _binding->getValueForTarget(item) : plat::Value();
}
void GridColumn::setBoundValue(const plat::Value& value, const plat::Value& item) const {
    if (_binding) _binding->setValue(value, item);
}

void GridColumn::setDataMap(std::shared_ptr<GridDataMap> map) {
    if (map == _dataMap) return;
    _dataMap = std::move(map);
    onPropertyChanged();
}

kivo::detail::FormatMemo& GridColumn::formatMemo() const {
    if (!_formatMemo) _formatMemo = std::make_shared<kivo::detail::FormatMemo>();
    return *_formatMemo;
}

plat::Value GridColumn::remembered(const plat::Value& v, plat::Value shown) const {
    formatMemo().keep(v, shown.asString());
    return shown;
}

plat::Value GridColumn::getFormattedValue(const plat::Value& v) const {
    if (v.isNil()) return std::string();
    if (_dataMap)
        if (plat::Value shown = _dataMap->getDisplayValue(v); !shown.isNil()) return shown;
    auto g = grid();
    const auto& valueFormatter = g ? g->valueFormatter() : nullptr;
    // A formatter with no text for the value shows nothing rather than the raw value.
    auto text = [](const std::optional<std::string>& t) { return plat::Value(t.value_or("")); };
    if (_format && v.isNumber()) {
        if (!valueFormatter) {
            if (const std::string* kept = formatMemo().numberText(v, *_format)) return *kept;
            return remembered(v, text(KivoNumberFormatter::numberToStringWithParameters(v, *_format)));
        }
        return text(valueFormatter->format(v, *_format));
    }
    if (_formatter) {
        if (!valueFormatter) {
            // Only a plain date formatter shows all that decides its text; any other may hold more.
            const auto& formatter = *_formatter;
            if (typeid(formatter) == typeid(plat::DateFormatter) && v.isDate()) {
                const auto& dates = static_cast<const plat::DateFormatter&>(formatter);
                if (const std::string* kept = formatMemo().dateText(v, dates)) return *kept;
                return remembered(v, text(dates.stringForObjectValue(v)));
            }
            return text(_formatter->stringForObjectValue(v));
        }
        return text(valueFormatter->format(v, _format.value_or("")));
    }
    if (v.isNumber()) {
        if (_dataType == 4) return std::string(v.asBool() ? CheckedBox : EmptyBox);
        if (valueFormatter) return text(valueFormatter->format(v, _format.value_or("")));
        return KivoReflector::formatValue(v);
    }
    if (v.isDate()) {
        if (valueFormatter) return text(valueFormatter->format(v, _format.value_or("")));
        return KivoReflector::formatValue(v);
    }
    return v;
}

void GridColumn::onResize() {
    auto g = grid();
    if (!g) return;
    const auto alive = kivo::detail::GridInternals::keepAlive(*g);
    auto self = std::static_pointer_cast<GridColumn>(shared_from_this());
    kivo::detail::GridInternals::raiseNotice(*g, g->ombriGridResizedColumn(), std::make_shared<GridResizedColumnEventArgs>(self),
                                             [&](OmbriGridDelegate& d) { d.resizedColumn(g, self); });
}
