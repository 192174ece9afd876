#pragma once
// The suite's small mutable geometry records, passed between controls by reference: a holder that must
// not see later changes by the caller keeps a clone. Comparison is exact; no normalisation anywhere.

#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoPoint : public plat::Object {
public:
    KivoPoint() = default;
    KivoPoint(double x, double y) : _x(x), _y(y) {}
    static std::shared_ptr<KivoPoint> create(double x = 0, double y = 0) { return std::make_shared<KivoPoint>(x, y); }

    double x() const { return _x; }
    void setX(double x) { _x = x; }
    double y() const { return _y; }
    void setY(double y) { _y = y; }

    std::shared_ptr<KivoPoint> clone() const { return create(_x, _y); }
    bool isEqual(const std::shared_ptr<KivoPoint>& other) const { return other && _x == other->_x && _y == other->_y; }
    bool isEqual(const plat::Object& other) const override;

private:
    double _x = 0, _y = 0;
};

class KIVO_CORE_EXPORT KivoSize : public plat::Object {
public:
    KivoSize() = default;
    KivoSize(double width, double height) : _width(width), _height(height) {}
    static std::shared_ptr<KivoSize> create(double width = 0, double height = 0) {
        return std::make_shared<KivoSize>(width, height);
    }

    double width() const { return _width; }
    void setWidth(double w) { _width = w; }
    double height() const { return _height; }
    void setHeight(double h) { _height = h; }

    std::shared_ptr<KivoSize> clone() const { return create(_width, _height); }
    bool isEqual(const std::shared_ptr<KivoSize>& other) const {
        return other && _width == other->_width && _height == other->_height;
    }
    bool isEqual(const plat::Object& other) const override;

private:
    double _width = 0, _height = 0;
};

class KIVO_CORE_EXPORT KivoRect : public plat::Object {
public:
    KivoRect() = default;
    KivoRect(double left, double top, double width, double height) : _left(left), _top(top), _width(width), _height(height) {}
    static std::shared_ptr<KivoRect> create(double left = 0, double top = 0, double width = 0, double height = 0) {
        return std::make_shared<KivoRect>(left, top, width, height);
    }

    double left() const { return _left; }
    void setLeft(double v) { _left = v; }
    double top() const { return _top; }
    void setTop(double v) { _top = v; }
    double width() const { return _width; }
    void setWidth(double v) { _width = v; }
    double height() const { return _height; }
    void setHeight(double v) { _height = v; }
    double right() const { return _left + _width; }
    double bottom() const { return _top + _height; }

    std::shared_ptr<KivoRect> clone() const { return create(_left, _top, _width, _height); }
    bool isEqual(const std::shared_ptr<KivoRect>& other) const {
        return other && _left == other->_left && _top == other->_top && _width == other->_width && _height == other->_height;
    }
    bool isEqual(const plat::Object& other) const override;
    // Every edge included; a negative width or height contains nothing (it is not normalised).
    bool containsPoint(const std::shared_ptr<KivoPoint>& p) const {
        return p && _left <= p->x() && p->x() <= right() && _top <= p->y() && p->y() <= bottom();
    }
    // A new rectangle grown by dx on the left and right and dy on the top and bottom.
    std::shared_ptr<KivoRect> inflate(double dx, double dy) const {
        return create(_left - dx, _top - dy, _width + 2 * dx, _height + 2 * dy);
    }

private:
    double _left = 0, _top = 0, _width = 0, _height = 0;
};
