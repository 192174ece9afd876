#pragma once
// The hit areas of the pie's slices: the outline the engine drew for a slice (a sector, or a band of
// a doughnut), tagged with the slice index. A slice of no sweep draws nothing and has no outline, so
// nothing ever hits it.

#include <memory>

#include "ChartCore/IKivoHitArea.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriPie/KivoOmbriPieExport.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/path.h"

// What both kinds of slice share: the outline, the tag and the angles. Only the drawing call differs.
class KIVO_PIE_EXPORT OmbriSliceSegment : public plat::Object, public IKivoHitArea {
public:
    // Null until a slice of some sweep was drawn.
    const std::shared_ptr<plat::Path>& path() const { return _path; }

    // Inside the outline by the non-zero rule; never without one.
    bool contains(const KivoPoint& point) const override;
    // 0 inside, else the largest finite double: a slice is hit or it is not.
    double distance(const KivoPoint& point) const override;
    // The outline's box; unknown without one.
    KivoHitBounds bounds() const override;
    const plat::Value& tag() const override { return _tag; }
    void setTag(plat::Value tag) override { _tag = std::move(tag); }

    // Radians, in the pie's convention. The start is where the running angle stood, also for a
    // reversed pie (where it is the slice's clockwise end).
    double startAngle() const { return _startAngle; }
    void setStartAngle(double angle) { _startAngle = angle; }
    double sweep() const { return _sweep; }
    void setSweep(double sweep) { _sweep = sweep; }

protected:
    // Keeps the engine's outline of a slice that has a sweep; a zero sweep draws nothing and keeps
    // the old outline.
    template <class Draw>
    void drawUnlessEmpty(double sweepAngle, Draw draw) {
        if (sweepAngle != 0) _path = draw();
    }

private:
    std::shared_ptr<plat::Path> _path;
    plat::Value _tag;
    double _startAngle = 0;
    double _sweep = 0;
};

class KIVO_PIE_EXPORT OmbriPieSegment : public OmbriSliceSegment {
public:
    static std::shared_ptr<OmbriPieSegment> create() { return std::make_shared<OmbriPieSegment>(); }
    // A sector from the centre (a whole disc from a full turn on).
    void render(const std::shared_ptr<IKivoRenderEngine>& engine, double cx, double cy, double radius, double startAngle,
                double sweepAngle, bool selected);
};

class KIVO_PIE_EXPORT OmbriDonutSegment : public OmbriSliceSegment {
public:
    static std::shared_ptr<OmbriDonutSegment> create() { return std::make_shared<OmbriDonutSegment>(); }
    // The band between the two radii.
    void render(const std::shared_ptr<IKivoRenderEngine>& engine, double cx, double cy, double radius, double innerRadius,
                double startAngle, double sweepAngle, bool selected);
};
