// The events' accessors, one pair per row of the table.
#include "events/GridEvents.h"

#include "GridState.h"
#include "OmbriGrid/OmbriGrid.h"

#define KIVO_GRID_EVENT_ACCESSORS(Name)                                                                   \
    const std::shared_ptr<KivoEvent>& OmbriGrid::ombriGrid##Name() const { return _state->events->Name; } \
    void OmbriGrid::setOmbriGrid##Name(std::shared_ptr<KivoEvent> event) { _state->events->Name = std::move(event); }
KIVO_GRID_EVENTS(KIVO_GRID_EVENT_ACCESSORS)
#undef KIVO_GRID_EVENT_ACCESSORS
