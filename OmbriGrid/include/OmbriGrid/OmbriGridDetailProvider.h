#pragma once
// Lets a data row open a band of application content under it. The band is an ordinary row of the
// grid, so scrolling, freezing and selection treat it like any other; the application's view and the
// row headers' open/close buttons are platform views laid over the drawn grid, clipped per scroll
// region so they vanish under the headers as cells do. It needs nothing private of the grid, only its
// events and collections. The grid owns the provider, so the provider's way back is weak.

#include <cstdint>
#include <memory>
#include <optional>

#include "KivoCore/KivoEvent.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/passkey.h"

class OmbriGrid;
class GridRow;
class OmbriGridDetailProvider;
namespace plat {
class View;
class Button;
}  // namespace plat
namespace kivo::detail {
class DetailViews;
class GridInternals;
class OpenDetails;
}  // namespace kivo::detail

// How details open and close.
enum GridDetailVisibilityMode : std::int64_t {
    // No buttons and no views; details opened by code show as empty bands.
    GridDetailVisibilityModeNone = 0,
    // One detail at a time: opening one closes the other.
    GridDetailVisibilityModeSingle = 1,
    // Any number at once.
    GridDetailVisibilityModeMultiple = 2,
    // One at a time, following the selected row in the row and cell selection modes.
    GridDetailVisibilityModeSelection = 3,
};

// Both methods are optional; the defaults answer nothing, and then only the events decide.
class KIVO_GRID_EXPORT OmbriGridDetailProviderDelegate {
public:
    using Provider = std::shared_ptr<OmbriGridDetailProvider>;
    virtual ~OmbriGridDetailProviderDelegate() = default;

    // The view for the detail under `row`; an answer replaces the event's view, an empty one included.
    virtual std::optional<std::shared_ptr<plat::View>> detailCellCreating(const Provider&, const std::shared_ptr<GridRow>& row) {
        return std::nullopt;
    }
    // The button to use over `row`'s header instead of the one the event left.
    virtual std::optional<std::shared_ptr<plat::Button>> gridRowHeaderLoading(
        const Provider&, const std::shared_ptr<GridRow>& row, const std::shared_ptr<plat::Button>& defaultButton) {
        return std::nullopt;
    }
};

class KIVO_GRID_EXPORT OmbriGridDetailProvider : public plat::Object {
public:
    static constexpr double DefaultDetailHeight = 200.0;
    // The cache is emptied at the start of a pass that finds this many views in it.
    static constexpr std::size_t CacheLimit = 256;

    // Adds six clip views to the grid and listens to its selection, invalidation and drawing.
    explicit OmbriGridDetailProvider(const std::shared_ptr<OmbriGrid>& grid);
    // Takes the clip views, with every view in them, off the grid, and stops listening.
    ~OmbriGridDetailProvider() override;
    OmbriGridDetailProvider(const OmbriGridDetailProvider&) = delete;
    OmbriGridDetailProvider& operator=(const OmbriGridDetailProvider&) = delete;

    std::shared_ptr<OmbriGrid> grid() const { return _grid.lock(); }
    std::shared_ptr<OmbriGridDetailProviderDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<OmbriGridDetailProviderDelegate>& delegate) { _delegate = delegate; }
    // Keeps the delegate alive, and makes it the delegate.
    const std::shared_ptr<OmbriGridDetailProviderDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<OmbriGridDetailProviderDelegate> delegate);

    // Every detail row's height; the grid redraws and every view is asked for again. A height that is
    // negative, not finite or beyond the whole-point range is refused with a log line.
    double detailHeight() const { return _detailHeight; }
    void setDetailHeight(double height);
    // False: invisible buttons of the same size, which still open and close.
    bool showExpandButton() const { return _showExpandButton; }
    void setShowExpandButton(bool show);
    // Any value is kept; values other than the four modes close every detail and then act as mode 2.
    std::int64_t detailVisibilityMode() const { return _detailVisibilityMode; }
    void setDetailVisibilityMode(std::int64_t mode);

    // Raised (sender: the provider) for a detail view with GridDetailCellCreatingEventArgs, and when a
    // row-header button is made with GridRowHeaderLoadingEventArgs. `cancel` has no effect.
    const std::shared_ptr<KivoEvent>& detailCellCreating() const { return _detailCellCreating; }
    void setDetailCellCreating(std::shared_ptr<KivoEvent> event) { _detailCellCreating = std::move(event); }
    const std::shared_ptr<KivoEvent>& gridRowHeaderLoading() const { return _gridRowHeaderLoading; }
    void setGridRowHeaderLoading(std::shared_ptr<KivoEvent> event) { _gridRowHeaderLoading = std::move(event); }

    // ---- opening and closing (a row not among the grid's rows is refused with a log line; a group
    // or detail row has no detail) ----
    void showDetail(const std::shared_ptr<GridRow>& row) { showDetail(row, false); }
    // With `hideOthers`, every other detail closes first.
    void showDetail(const std::shared_ptr<GridRow>& row, bool hideOthers);
    // Closes the detail under `row`, or every detail for null.
    void hideDetail(const std::shared_ptr<GridRow>& row);
    // -1 closes every detail; a data row's index toggles its detail. Any other index is refused with a
    // log line. An open edit is committed first, so its value reaches the row it was typed for.
    void doExpandCollapse(std::int32_t index);
    // A row-header button's action: flips the button, then toggles the row its tag names.
    void expandCollapseAction(plat::Button& button);
    // Takes every kept view off the grid and forgets them.
    void clearCache();

    // For the library's internal-access class: the views the provider keeps over the grid.
    KIVO_GRID_NO_EXPORT kivo::detail::DetailViews& views(plat::Passkey<kivo::detail::GridInternals>);
    // Whether raising the grid's overlay event to `handlers` would come to nothing: they are all the
    // provider's own, and with no details shown it has nothing to place over a cell.
    KIVO_GRID_NO_EXPORT bool overlayIdle(plat::Passkey<kivo::detail::GridInternals>, const KivoEvent::Handlers& handlers) const;

private:
    // Whether the grid's selection mode lets a detail follow the selected row.
    KIVO_GRID_NO_EXPORT bool followsSelection() const;
    KIVO_GRID_NO_EXPORT void openDetail(OmbriGrid& grid, std::int32_t index);
    KIVO_GRID_NO_EXPORT void closeDetail(OmbriGrid& grid, std::int32_t index);
    KIVO_GRID_NO_EXPORT void closeAll(OmbriGrid& grid);
    KIVO_GRID_NO_EXPORT void onSelectionChanged(const std::shared_ptr<KivoEventContainer>& container);
    // The row's index among the grid's rows, or -1 with a log line naming `request`.
    KIVO_GRID_NO_EXPORT std::int32_t indexOfRow(const OmbriGrid& grid, const std::shared_ptr<GridRow>& row,
                                                const char* request) const;
    // Commits an open edit before the rows move under it.
    KIVO_GRID_NO_EXPORT static void commitEdit(OmbriGrid& grid);

    std::weak_ptr<OmbriGrid> _grid;
    std::weak_ptr<OmbriGridDetailProviderDelegate> _delegate;
    std::shared_ptr<OmbriGridDetailProviderDelegate> _strongDelegate;
    double _detailHeight = DefaultDetailHeight;
    bool _showExpandButton = true;
    std::int64_t _detailVisibilityMode = GridDetailVisibilityModeNone;
    std::shared_ptr<KivoEvent> _detailCellCreating;
    std::shared_ptr<KivoEvent> _gridRowHeaderLoading;
    // The owner of the provider's subscriptions: alive exactly as long as the provider.
    std::shared_ptr<int> _token;
    std::unique_ptr<kivo::detail::DetailViews> _views;
    std::unique_ptr<kivo::detail::OpenDetails> _open;
};
