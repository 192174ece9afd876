#pragma once
// What the native-control cell factory keeps apart from its public face: its clip views, its view
// cache and its subscriptions to the grid's events.

#include <cstdint>
#include <memory>
#include <vector>

#include "OmbriGrid/NativeControlGridCellFactory.h"
#include "overlay/CellViewCache.h"
#include "overlay/RegionClips.h"

class KivoEvent;

struct NativeControlGridCellFactory::Impl {
    explicit Impl(const std::shared_ptr<OmbriGrid>& grid) : clips(grid) {}

    kivo::detail::RegionClips clips;
    kivo::detail::CellViewCache cache;
    // The owner of the factory's subscriptions to the grid's events. A token of its own rather than the
    // factory, so that the destructor, when the factory can no longer be named, still removes exactly
    // its own handlers.
    std::shared_ptr<int> owner = std::make_shared<int>(0);
    // The events subscribed to, as they were then: the application may replace the grid's events later.
    std::vector<std::weak_ptr<KivoEvent>> subscribed;
};
