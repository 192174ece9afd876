#include "OmbriGauge/KivoGaugeRange.h"

#include <cmath>

#include "OmbriGauge/KivoGauge.h"

namespace {

// Stores a number that is not NaN and differs from the held one; true when it stored.
bool storeNumber(double& field, double value) {
    if (std::isnan(value) || field == value) return false;
    field = value;
    return true;
}

}  // namespace

KivoGaugeRange::KivoGaugeRange(const std::shared_ptr<KivoGauge>& gauge) : _gauge(gauge) {}

void KivoGaugeRange::setMin(double min) {
    if (storeNumber(_min, min)) _invalidate();
}

void KivoGaugeRange::setMax(double max) {
    if (storeNumber(_max, max)) _invalidate();
}

void KivoGaugeRange::setThickness(double thickness) {
    if (storeNumber(_thickness, thickness)) _invalidate();
}

void KivoGaugeRange::setBorderWidth(double width) {
    if (storeNumber(_borderWidth, width)) _invalidate();
}

void KivoGaugeRange::setColor(const plat::Color& color) {
    if (_color == color) return;
    _color = color;
    _invalidate();
}

void KivoGaugeRange::setBorderColor(const plat::Color& color) {
    if (_borderColor == color) return;
    _borderColor = color;
    _invalidate();
}

void KivoGaugeRange::setBorderDashes(std::vector<double> dashes) {
    if (_borderDashes == dashes) return;
    _borderDashes = std::move(dashes);
    _invalidate();
}

void KivoGaugeRange::setName(std::string name) {
    if (_name == name) return;
    _name = std::move(name);
    _invalidate();
}

void KivoGaugeRange::_invalidate() {
    if (auto gauge = _gauge.lock()) gauge->invalidate();
}
