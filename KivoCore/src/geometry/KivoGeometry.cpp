#include "KivoCore/KivoGeometry.h"

bool KivoPoint::isEqual(const plat::Object& other) const {
    auto* p = dynamic_cast<const KivoPoint*>(&other);
    return p && _x == p->_x && _y == p->_y;
}

bool KivoSize::isEqual(const plat::Object& other) const {
    auto* s = dynamic_cast<const KivoSize*>(&other);
    return s && _width == s->_width && _height == s->_height;
}

bool KivoRect::isEqual(const plat::Object& other) const {
    auto* r = dynamic_cast<const KivoRect*>(&other);
    return r && _left == r->_left && _top == r->_top && _width == r->_width && _height == r->_height;
}
