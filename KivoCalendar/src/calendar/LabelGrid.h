#pragma once
// The grid of the year and decade pages: the cell rectangles of 4 columns by 3 rows, the borders of
// every slot in it, and the page's tap recogniser.

#include <cstddef>
#include <memory>
#include <vector>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/layer.h"

namespace kivo::detail {

inline plat::Rect gridCell(std::size_t index, plat::Size page, int columns, int rows) {
    const double w = page.width / columns, h = page.height / rows;
    const auto c = static_cast<std::size_t>(columns);
    return {w * static_cast<double>(index % c), h * static_cast<double>(index / c), w, h};
}

template <typename Slot>
void setSlotBorders(const std::vector<std::shared_ptr<Slot>>& slots, const plat::Color& color) {
    for (const auto& slot : slots) slot->layer()->setBorderColor(color);
}

template <typename Slot>
void setSlotBorders(const std::vector<std::shared_ptr<Slot>>& slots, double width) {
    for (const auto& slot : slots) slot->layer()->setBorderWidth(width);
}

// One tap, one touch, handed to `respond` with the page and the tap's place in it; the touches still
// reach the views beneath. The page is held weakly: the recogniser lives on the page itself.
template <typename Page, typename Respond>
void addPageTap(const std::shared_ptr<Page>& page, Respond respond) {
    std::weak_ptr<Page> weak = page;
    auto tap = plat::TapGestureRecognizer::create([weak, respond](plat::GestureRecognizer& recognizer) {
        auto self = weak.lock();
        if (self && recognizer.state() == plat::GestureRecognizerState::Recognized)
            respond(*self, recognizer.locationInView(self.get()));
    });
    tap->setCancelsTouchesInView(false);
    page->addGestureRecognizer(tap);
}

}  // namespace kivo::detail
