#pragma once
// The two common hit areas: a rectangle (bars, candles) and a circle (symbols, points).

#include <memory>

#include "ChartCore/IKivoHitArea.h"
#include "ChartCore/KivoChartCoreExport.h"

// A rectangle, edges included. A rectangle given with a negative width or height covers the same
// ground as its standardised form.
class KIVO_CHART_CORE_EXPORT KivoRectArea : public plat::Object, public IKivoHitArea {
public:
    // A null rectangle makes an area of NaN geometry, which nothing hits.
    explicit KivoRectArea(const std::shared_ptr<KivoRect>& rect);
    static std::shared_ptr<KivoRectArea> create(const std::shared_ptr<KivoRect>& rect) {
        return std::make_shared<KivoRectArea>(rect);
    }

    // The rectangle as given (a copy: later changes to the caller's rectangle do not move the area).
    const std::shared_ptr<KivoRect>& rect() const { return _rect; }

    bool contains(const KivoPoint& point) const override;
    double distance(const KivoPoint& point) const override;
    KivoHitBounds bounds() const override { return {_minX, _minY, _maxX, _maxY, 0}; }
    const plat::Value& tag() const override { return _tag; }
    void setTag(plat::Value tag) override { _tag = std::move(tag); }

private:
    std::shared_ptr<KivoRect> _rect;
    double _minX, _minY, _maxX, _maxY;
    plat::Value _tag;
};

// A disc around a centre. The distance of a point outside is its distance from the rim.
class KIVO_CHART_CORE_EXPORT KivoCircleArea : public plat::Object, public IKivoHitArea {
public:
    // A null centre makes an area of NaN geometry; a negative radius counts as 0.
    KivoCircleArea(const std::shared_ptr<KivoPoint>& center, double radius);
    static std::shared_ptr<KivoCircleArea> create(const std::shared_ptr<KivoPoint>& center, double radius) {
        return std::make_shared<KivoCircleArea>(center, radius);
    }

    // A copy of the centre given.
    const std::shared_ptr<KivoPoint>& center() const { return _center; }
    double radius() const { return _radius; }

    bool contains(const KivoPoint& point) const override;
    double distance(const KivoPoint& point) const override;
    KivoHitBounds bounds() const override { return {_center->x(), _center->y(), _center->x(), _center->y(), _radius}; }
    const plat::Value& tag() const override { return _tag; }
    void setTag(plat::Value tag) override { _tag = std::move(tag); }

private:
    std::shared_ptr<KivoPoint> _center;
    double _radius;
    plat::Value _tag;
};
