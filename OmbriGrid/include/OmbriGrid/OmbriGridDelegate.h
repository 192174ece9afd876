#pragma once
// The grid's delegate: every method is optional. A method that answers returns a value (true stops
// the action, as the grid's combination rules say); the defaults answer nothing, which the grid
// treats as a delegate that does not implement the method.

#include <memory>
#include <optional>

#include "KivoCore/KivoGeometry.h"
#include "OmbriGrid/KivoOmbriGridExport.h"

class OmbriGrid;
class GridPanel;
class GridCellRange;
class GridColumn;
class KivoPropertyInfo;
namespace plat {
class Context;
}

class KIVO_GRID_EXPORT OmbriGridDelegate {
public:
    using Grid = std::shared_ptr<OmbriGrid>;
    using Panel = std::shared_ptr<GridPanel>;
    using Range = std::shared_ptr<GridCellRange>;

    virtual ~OmbriGridDelegate() = default;

    virtual std::optional<bool> tapped(const Grid&, const std::shared_ptr<KivoPoint>&) { return std::nullopt; }
    virtual void rendering(const Grid&) {}
    virtual void rendered(const Grid&) {}
    virtual void invalidated(const Grid&) {}
    virtual void droppedCaches(const Grid&) {}
    virtual std::optional<bool> formatItem(const Grid&, const Panel&, const Range&, plat::Context*) { return std::nullopt; }
    virtual void processItemOverlay(const Grid&, const Panel&, const Range&, plat::Context*) {}
    virtual std::optional<bool> cellTapped(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    virtual std::optional<bool> cellDoubleTapped(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    virtual std::optional<bool> beginningEdit(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    // `cancel`: the discard flag the edit ends with.
    virtual std::optional<bool> cellEditEnding(const Grid&, const Panel&, const Range&, bool cancel) { return std::nullopt; }
    virtual void cellEditEnded(const Grid&, const Panel&, const Range&) {}
    virtual std::optional<bool> prepareCellForEdit(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    virtual void itemsSourceChanged(const Grid&) {}
    virtual std::optional<bool> loadingRows(const Grid&) { return std::nullopt; }
    virtual void loadedRows(const Grid&) {}
    virtual std::optional<bool> groupCollapsedChanging(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    virtual void groupCollapsedChanged(const Grid&, const Panel&, const Range&) {}
    virtual void scrollPositionChanged(const Grid&) {}
    virtual std::optional<bool> selectionChanging(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    virtual void selectionChanged(const Grid&, const Panel&, const Range&) {}
    virtual std::optional<bool> sortingColumn(const Grid&, const Panel&, const Range&) { return std::nullopt; }
    virtual void sortedColumn(const Grid&, const Panel&, const Range&) {}
    virtual std::optional<bool> autoGeneratingColumn(const Grid&, const std::shared_ptr<KivoPropertyInfo>&,
                                                     const std::shared_ptr<GridColumn>&) {
        return std::nullopt;
    }
    virtual void resizedColumn(const Grid&, const std::shared_ptr<GridColumn>&) {}
    virtual void cellLongPressed(const Grid&, const Panel&, const Range&) {}
};
