#pragma once
// One column: the property path it binds, how it names and formats the values, its width rules (a
// size in points, or a weighted share of the free width), alignments, the sort state its header shows
// and the aggregate of group rows.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "OmbriGrid/GridRowCol.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/passkey.h"
#include "Platform/foundation/value.h"

class KivoBinding;
namespace plat {
class Formatter;
}

class GridDataMap;
namespace kivo::detail {
class FormatMemo;
class GridPress;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT GridColumn : public GridRowCol {
public:
    GridColumn();
    ~GridColumn() override;

    // The bound path; none without binding.
    std::optional<std::string> binding() const;
    // Paths compare by value. When the column has no data type yet, it takes the one the path finds
    // on the first item of the grid's collection view.
    void setBinding(const std::optional<std::string>& path);
    // The stored header, else the binding path turned into words ("firstName" → "First Name").
    std::optional<std::string> header() const;
    void setHeader(const std::optional<std::string>& header);
    // The header, with ▲ (ascending) or ▼ (descending) after a space while sorted and the grid shows sorting.
    std::optional<std::string> getFormattedHeader() const;

    double starWidth() const { return _starWidth; }
    GridWidthType widthType() const { return _widthType; }
    // The number carries over: a weight of 2 becomes 2 points, 120 points the weight 120. A column of
    // default width turned into a star column takes the weight 1.
    void setWidthType(GridWidthType type);
    // The weight for a star column, else the size in points (-1: the collection's default).
    double width() const;
    // A width that is not finite, or (in points) lies outside the 32-bit range, is refused with a log line.
    void setWidth(double width);
    std::int32_t minWidth() const { return minSizeValue(); }
    void setMinWidth(std::int32_t width);
    std::int32_t maxWidth() const { return maxSizeValue(); }
    void setMaxWidth(std::int32_t width) { changeMaxSize(width); }
    std::int32_t renderWidth() const { return renderSize(); }

    GridSortDirection defaultSort() const { return _defaultSort; }
    // The direction of the first of the collection view's sort descriptions on this column's sort
    // path; the direction set here when the view says nothing.
    GridSortDirection sortDirection() const;
    void setSortDirection(GridSortDirection direction);
    // Automatic: Booleans centred, numbers to the right, anything else to the left.
    GridHorizontalAlignment horizontalAlignment() const;
    void setHorizontalAlignment(GridHorizontalAlignment alignment);
    GridHorizontalAlignment headerHorizontalAlignment() const;
    void setHeaderHorizontalAlignment(GridHorizontalAlignment alignment);

    std::int64_t dataType() const { return _dataType; }
    void setDataType(std::int64_t type);
    const std::optional<std::string>& format() const { return _format; }
    void setFormat(const std::optional<std::string>& format);
    const std::shared_ptr<const plat::Formatter>& formatter() const { return _formatter; }
    void setFormatter(std::shared_ptr<const plat::Formatter> formatter);
    std::int64_t aggregate() const { return _aggregate; }
    void setAggregate(std::int64_t aggregate);
    // Shows each key value as the map's display value, where it has one.
    const std::shared_ptr<GridDataMap>& dataMap() const { return _dataMap; }
    void setDataMap(std::shared_ptr<GridDataMap> map);
    bool allowSorting() const { return _getFlag(GridRowColFlagsAllowSorting); }
    void setAllowSorting(bool v) { _setFlag(GridRowColFlagsAllowSorting, v); }

    // Plain stores.
    const std::optional<std::string>& name() const { return _name; }
    void setName(std::optional<std::string> name) { _name = std::move(name); }
    bool required() const { return _required; }
    void setRequired(bool required) { _required = required; }
    std::int64_t inputType() const { return _inputType; }
    void setInputType(std::int64_t type) { _inputType = type; }
    const std::optional<std::string>& mask() const { return _mask; }
    void setMask(std::optional<std::string> mask) { _mask = std::move(mask); }
    const std::optional<std::string>& sortMemberPath() const { return _sortMemberPath; }
    void setSortMemberPath(std::optional<std::string> path) { _sortMemberPath = std::move(path); }
    // The sort path, else (unset or empty) the binding path.
    std::optional<std::string> getSortMemberPath() const;

    std::int64_t getBoundDataType(const plat::Value& item) const;
    plat::Value getBoundValue(const plat::Value& item) const;
    void setBoundValue(const plat::Value& value, const plat::Value& item) const;
    // The value as shown in a cell: the empty string for nil; a number by the format; the column's
    // formatter; ☑︎/☐ for Booleans; numbers and dates by the grid's value formatter or the shared
    // decimal and short-date formatters; anything else unchanged.
    plat::Value getFormattedValue(const plat::Value& value) const;

    // Raises the grid's ResizedColumn, then tells the delegate.
    void onResize() override;

    // Column resizing fixes widths in two passes, so that no star layout runs between them: first the
    // width type becomes 1 unannounced (true when it was another), then the size, announced by one
    // ResizedColumn when the size or (`retyped`) the type changed.
    KIVO_GRID_NO_EXPORT bool fixWidthType(plat::Passkey<kivo::detail::GridPress>);
    KIVO_GRID_NO_EXPORT void fixWidth(plat::Passkey<kivo::detail::GridPress>, std::int32_t points, bool retyped);

private:
    KIVO_GRID_NO_EXPORT kivo::detail::FormatMemo& formatMemo() const;
    // `shown` kept as the text of `v`.
    KIVO_GRID_NO_EXPORT plat::Value remembered(const plat::Value& v, plat::Value shown) const;

    std::shared_ptr<KivoBinding> _binding;
    std::optional<std::string> _header;
    double _starWidth = 1.0;
    GridSortDirection _defaultSort = GridSortDirectionNone;
    GridHorizontalAlignment _horizontalAlignment = GridHorizontalAlignmentAutomatic;
    GridHorizontalAlignment _headerHorizontalAlignment = GridHorizontalAlignmentAutomatic;
    bool _required = false;
    std::optional<std::string> _name;
    std::int64_t _dataType = 0;
    std::int64_t _inputType = 0;
    std::optional<std::string> _mask;
    GridWidthType _widthType = GridWidthTypeDefault;
    std::optional<std::string> _format;
    std::shared_ptr<const plat::Formatter> _formatter;
    std::int64_t _aggregate = 0;
    std::shared_ptr<GridDataMap> _dataMap;
    std::optional<std::string> _sortMemberPath;
    // Texts made for the latest values, made when first needed (formatting is const).
    mutable std::shared_ptr<kivo::detail::FormatMemo> _formatMemo;
};
