#include "OmbriPie/OmbriPieControl.h"

#include "OmbriPie/OmbriPie.h"

std::shared_ptr<OmbriPieControl> OmbriPieControl::create(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame) {
    return initialized(std::shared_ptr<OmbriPieControl>(new OmbriPieControl(pie, frame)));
}

OmbriPieControl::OmbriPieControl(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame) : View(frame), _pie(pie) {}

void OmbriPieControl::initialize() {
    View::initialize();
    setBackgroundColor(plat::Color::clear());
    setContentMode(plat::ViewContentMode::Redraw);
    _loadAnimation = KivoChartLoadAnimation::create();
    _updateAnimation = std::make_shared<KivoAnimation>();
}
