#pragma once
// The two outlines that cover the pie while it loads: a ring that leaves a growing disc open, and a
// sector that leaves a growing slice open. Pure geometry in the view's coordinates, so they are
// tested apart from any timer.

#include "Platform/graphics/path.h"

namespace kivo::pie {

// The ring between `inner` and `outer` about (cx, cy), made of two halves so that either fill rule
// leaves the inside open. Empty when `inner` reaches `outer`.
plat::Path ringMaskPath(double cx, double cy, double inner, double outer);

// The part of the disc of `radius` that a slice from `startAngle` over `sweep` (the pie's angles)
// does not cover: it runs from the slice's start the other way round to its end. A sweep of a full
// turn or more gives the whole disc.
plat::Path sectorMaskPath(double cx, double cy, double radius, double startAngle, double sweep);

}  // namespace kivo::pie
