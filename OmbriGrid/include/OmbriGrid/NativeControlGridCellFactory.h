#pragma once
// A cell factory that shows the application's own platform views over the cells of a grid's cells
// panel. The cells are still drawn as usual underneath. Each drawing pass lays out one clip view per
// scroll region, takes every view down, then puts the view of each drawn cell back over it, asking the
// application (event first, delegate after) only for cells it has no view for yet, and tints it by the
// selection. It works from its creation, whether or not it is the grid's cell factory.

#include <cstdint>
#include <memory>
#include <optional>

#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridCreateViewForCellEventArgs.h"
#include "OmbriGrid/KivoOmbriGridExport.h"

class OmbriGrid;
class KivoEvent;
class GridFormatItemEventArgs;

class KIVO_GRID_EXPORT NativeControlGridCellFactoryDelegate {
public:
    virtual ~NativeControlGridCellFactoryDelegate() = default;
    // Asked after the event for a cell the factory has no view for: (the grid, the panel, the cell's
    // range). An answer, an empty view included, replaces the event's view; nullopt does not answer.
    virtual std::optional<std::shared_ptr<plat::View>> createViewForCell(const std::shared_ptr<OmbriGrid>&,
                                                                         const std::shared_ptr<GridPanel>&,
                                                                         const std::shared_ptr<GridCellRange>&) {
        return std::nullopt;
    }
};

class KIVO_GRID_EXPORT NativeControlGridCellFactory : public GridCellFactory {
public:
    // Adds the four clip views to the grid and starts listening to its drawing passes.
    static std::shared_ptr<NativeControlGridCellFactory> create(const std::shared_ptr<OmbriGrid>& grid);
    // Takes the clip views, and the views in them, off the grid.
    ~NativeControlGridCellFactory() override;
    NativeControlGridCellFactory(const NativeControlGridCellFactory&) = delete;
    NativeControlGridCellFactory& operator=(const NativeControlGridCellFactory&) = delete;

    // Held weakly: the grid holds its cell factory.
    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }
    // Held strongly, as is the retaining twin, which also makes its object the delegate.
    const std::shared_ptr<NativeControlGridCellFactoryDelegate>& delegate() const { return _delegate; }
    void setDelegate(std::shared_ptr<NativeControlGridCellFactoryDelegate> delegate) { _delegate = std::move(delegate); }
    const std::shared_ptr<NativeControlGridCellFactoryDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<NativeControlGridCellFactoryDelegate> delegate);
    // Raised, with the factory as sender and GridCreateViewForCellEventArgs, for a cell without a view;
    // handlers set the view. Cancelling does nothing.
    const std::shared_ptr<KivoEvent>& createViewForCell() const { return _createViewForCell; }
    void setCreateViewForCell(std::shared_ptr<KivoEvent> event) { _createViewForCell = std::move(event); }

    // Draws the cell, background and content, under its view.
    void updateCell(const std::shared_ptr<GridPanel>& panel, std::int32_t row, std::int32_t col, plat::Context* context,
                    const std::shared_ptr<GridCellRange>& range) override;
    // Takes every view off the grid and forgets it: each drawn cell is asked for again.
    void clearCache();

protected:
    explicit NativeControlGridCellFactory(const std::shared_ptr<OmbriGrid>& grid);

private:
    struct Impl;

    KIVO_GRID_NO_EXPORT void subscribe();
    // At the start of a pass: the clip views' frames and order, then every view taken down.
    KIVO_GRID_NO_EXPORT void layoutPass();
    // For each drawn cell: its view, placed, tinted and shown.
    KIVO_GRID_NO_EXPORT void placeView(const GridFormatItemEventArgs& args);
    KIVO_GRID_NO_EXPORT std::shared_ptr<plat::View> askForView(const std::shared_ptr<GridPanel>& panel,
                                                               const std::shared_ptr<GridCellRange>& range);

    std::weak_ptr<OmbriGrid> _grid;
    std::shared_ptr<NativeControlGridCellFactoryDelegate> _delegate, _strongDelegate;
    std::shared_ptr<KivoEvent> _createViewForCell;
    std::unique_ptr<Impl> _impl;
};
