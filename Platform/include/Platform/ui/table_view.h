#pragma once
// A vertical list of rows in sections, on a scroll view: a data source tells how many rows there are
// and makes their cells, a delegate may size rows and hears selection and display. Only the rows in
// view have cells; cells that scroll off wait in a reuse pool under their identifier, so a long table
// needs about one screenful of cells. A tap selects a row.

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/ui/scroll_view.h"
#include "Platform/ui/table_view_cell.h"

namespace plat {

class TableView;
class TapGestureRecognizer;

struct PLAT_EXPORT IndexPath {
    std::int64_t section = 0, row = 0;
    friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

// The platform's codes.
enum class TableViewStyle : int { Plain = 0, Grouped = 1 };
enum class TableViewScrollPosition : int { None = 0, Top = 1, Middle = 2, Bottom = 3 };
enum class TableViewCellSeparatorStyle : int { None = 0, SingleLine = 1 };

class PLAT_EXPORT TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual std::int64_t numberOfSectionsInTableView(TableView&) { return 1; }
    virtual std::int64_t numberOfRowsInSection(TableView&, std::int64_t section) = 0;
    // A cell for the row, from dequeueReusableCellWithIdentifier or new. A row without a cell stays empty.
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath& indexPath) = 0;
};

// Optional hooks (besides the scroll view's); the defaults answer as if there were no delegate.
class PLAT_EXPORT TableViewDelegate : public ScrollViewDelegate {
public:
    // Unanswered: the table's rowHeight.
    virtual std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath&) { return std::nullopt; }
    virtual void willDisplayCell(TableView&, TableViewCell&, const IndexPath&) {}
    virtual void didEndDisplayingCell(TableView&, TableViewCell&, const IndexPath&) {}
    // The row a tap will select: the one given, another, or nullopt for none.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) { return indexPath; }
    virtual void didSelectRowAtIndexPath(TableView&, const IndexPath&) {}
    virtual void didDeselectRowAtIndexPath(TableView&, const IndexPath&) {}
};

class PLAT_EXPORT TableView : public ScrollView {
public:
    static std::shared_ptr<TableView> create(const Rect& frame = {}, TableViewStyle style = TableViewStyle::Plain);

    TableViewStyle style() const { return _style; }
    std::shared_ptr<TableViewDataSource> dataSource() const { return _dataSource.lock(); }
    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
    std::shared_ptr<TableViewDelegate> delegate() const { return _tableDelegate.lock(); }
    // Also the scroll view's delegate.
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

    // ---- Rows ----
    // Rows without a height of their own; a negative or non-finite height is ignored.
    double rowHeight() const { return _rowHeight; }
    void setRowHeight(double height);
    static constexpr double DefaultRowHeight = 44;
    // Asks the data source (and the delegate for heights) afresh; cells go back to the reuse pool and
    // the selection is cleared.
    void reloadData();
    std::int64_t numberOfSections();
    std::int64_t numberOfRowsInSection(std::int64_t section);
    // In content coordinates; empty for a row that does not exist.
    Rect rectForRowAtIndexPath(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForRowAtPoint(Point point);

    // ---- Cells ----
    // A cell from the reuse pool (prepared for reuse), or null when none waits under that identifier.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    // The cell of a visible row, or null.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    // Cells waiting in the reuse pool (for owners that watch memory).
    std::size_t reusableCellCount() const;

    // ---- Selection ----
    bool allowsSelection() const { return _allowsSelection; }
    void setAllowsSelection(bool allows);
    bool allowsMultipleSelection() const { return _allowsMultipleSelection; }
    void setAllowsMultipleSelection(bool allows);
    std::optional<IndexPath> indexPathForSelectedRow() const;
    const std::vector<IndexPath>& indexPathsForSelectedRows() const { return _selected; }
    // Programmatic: the delegate is not told. nullopt clears the selection. A row that does not exist
    // is ignored. `position` None does not scroll.
    void selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated, TableViewScrollPosition position);
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);
    // `position` None scrolls the least that shows the row.
    void scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated);

    // ---- Look ----
    TableViewCellSeparatorStyle separatorStyle() const { return _separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    const Color& separatorColor() const { return _separatorColor; }
    void setSeparatorColor(const Color& color);

    void layoutSubviews() override;

protected:
    TableView(const Rect& frame, TableViewStyle style);
    void initialize() override;

private:
    // Row geometry, rebuilt from the data source when stale: flattened row index → top.
    PLAT_NO_EXPORT void ensureGeometry();
    PLAT_NO_EXPORT std::int64_t flatIndex(const IndexPath& indexPath) const;  // -1 when out of range
    PLAT_NO_EXPORT IndexPath indexPathOf(std::int64_t flat) const;
    PLAT_NO_EXPORT bool isSelected(const IndexPath& indexPath) const;
    PLAT_NO_EXPORT void enqueue(std::int64_t flat);
    PLAT_NO_EXPORT void styleCell(TableViewCell& cell) const;
    PLAT_NO_EXPORT void handleTap();
    PLAT_NO_EXPORT void setCellSelected(const IndexPath& indexPath, bool selected);

    TableViewStyle _style;
    std::weak_ptr<TableViewDataSource> _dataSource;
    std::weak_ptr<TableViewDelegate> _tableDelegate;
    double _rowHeight = DefaultRowHeight;
    bool _allowsSelection = true;
    bool _allowsMultipleSelection = false;
    TableViewCellSeparatorStyle _separatorStyle = TableViewCellSeparatorStyle::SingleLine;
    Color _separatorColor = TableViewCell::DefaultSeparatorColor;

    bool _geometryStale = true;
    std::vector<std::int64_t> _sectionStarts;  // flattened index of each section's first row
    std::vector<double> _rowTops;              // one more than the rows: the last is the total height
    std::map<std::int64_t, std::shared_ptr<TableViewCell>> _visible;
    std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>, std::less<>> _reusePool;
    std::vector<IndexPath> _selected;
    std::shared_ptr<TapGestureRecognizer> _tap;
};

}  // namespace plat
