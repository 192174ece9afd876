#pragma once
// A pie whose drawing view draws one pass into a recording context on its own, in a square at the
// origin: the geometry the pass leaves behind (radius, hit areas, centre points) and what it drew.

#include <cmath>
#include <memory>
#include <vector>

#include "OmbriPie/OmbriPie.h"
#include "OmbriPie/OmbriPieSegment.h"
#include "Platform/graphics/recording_context.h"
#include "pie_access.h"

namespace pie_testing {

class PieDrawing : public ::testing::Test {
protected:
    std::shared_ptr<OmbriPie> pie = OmbriPie::create({0, 0, 400, 300});
    std::shared_ptr<OmbriPieControl> view = pie->pieControl();
    plat::RecordingContext rec;

    void bind(const std::vector<double>& values) {
        pie->setItemsSource(valueItems(values));
        pie->setBinding("value");
        pie->setBindingName("name");
    }
    // One pass of the drawing view in a `side` square, with `selected` as its selected slice.
    void draw(double side = 200, std::int64_t selected = -1) {
        rec.clear();
        view->setRectPie(KivoRect::create(0, 0, side, side));
        view->setBounds({0, 0, side, side});
        view->setSelectedIndex(selected);
        kivo::detail::PieTestAccess::handOverFrame(*pie);
        plat::CurrentContextScope current(rec);
        view->render(pie->renderEngine());
    }
    std::shared_ptr<OmbriSliceSegment> area(std::size_t k) const {
        return std::dynamic_pointer_cast<OmbriSliceSegment>(view->areas().at(k));
    }
    // The point at distance `d` along the pie angle `a` from (cx, cy).
    static plat::Point at(double cx, double cy, double d, double a) { return {cx - d * std::cos(a), cy - d * std::sin(a)}; }
};

}  // namespace pie_testing
