#pragma once
// The grid's 26 events in one table: each is made with the grid and lives as long as it does.
// The list below is the one place an event is named; the table, its accessors and their creation
// all come from it.

#include <memory>

#include "KivoCore/KivoEvent.h"

// X(Name): the event `ombriGrid##Name`, reached through `ombriGrid##Name()` and `setOmbriGrid##Name()`.
#define KIVO_GRID_EVENTS(X)   \
    X(Tapped)                 \
    X(Rendered)               \
    X(Rendering)              \
    X(Invalidated)            \
    X(FormatItem)             \
    X(ProcessItemOverlay)     \
    X(CellTapped)             \
    X(CellDoubleTapped)       \
    X(BeginningEdit)          \
    X(CellEditEnding)         \
    X(CellEditEnded)          \
    X(PrepareCellForEdit)     \
    X(ItemsSourceChanged)     \
    X(LoadingRows)            \
    X(LoadedRows)             \
    X(GroupCollapsedChanging) \
    X(GroupCollapsedChanged)  \
    X(ScrollPositionChanged)  \
    X(SelectionChanging)      \
    X(SelectionChanged)       \
    X(SortingColumn)          \
    X(SortedColumn)           \
    X(AutoGeneratingColumn)   \
    X(ResizedColumn)          \
    X(DroppedCaches)          \
    X(CellLongPressed)

namespace kivo::detail {

struct GridEvents {
#define KIVO_GRID_EVENT_FIELD(Name) std::shared_ptr<KivoEvent> Name = std::make_shared<KivoEvent>();
    KIVO_GRID_EVENTS(KIVO_GRID_EVENT_FIELD)
#undef KIVO_GRID_EVENT_FIELD
};

}  // namespace kivo::detail
