#pragma once
// The drawing view inside every pie: the pie lays out its frame, titles and legend and hands this view
// its square (rectPie), the engine and the selection; the view holds the slice values, their sum and
// the settings the pie forwards to it (start angle, offsets, doughnut hole, border, direction,
// animations). Its own coordinates equal the pie's, so geometry passes between the two unchanged.

#include <cstdint>
#include <memory>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
#include "ChartCore/KivoChartLoadAnimation.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriPie/KivoOmbriPieExport.h"
#include "Platform/ui/view.h"

class OmbriPie;

class KIVO_PIE_EXPORT OmbriPieControl : public plat::View {
public:
    // The pie is held weakly: the pie owns this view.
    static std::shared_ptr<OmbriPieControl> create(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame);

    // Null once the pie is gone.
    std::shared_ptr<OmbriPie> pie() const { return _pie.lock(); }

    // Asks for a drawing pass of this view.
    void invalidate() { setNeedsDisplay(); }
    // Whether the pie handed over a square with room in it.
    bool isRectValid() const { return _rectPie && _rectPie->width() > 0 && _rectPie->height() > 0; }

    // ---- What the pie hands over in each of its passes ----
    // The pie's square in this view's coordinates; null when the pie had no room for one.
    const std::shared_ptr<KivoRect>& rectPie() const { return _rectPie; }
    void setRectPie(std::shared_ptr<KivoRect> rect) { _rectPie = std::move(rect); }
    const std::shared_ptr<IKivoRenderEngine>& engine() const { return _engine; }
    void setEngine(std::shared_ptr<IKivoRenderEngine> engine) { _engine = std::move(engine); }
    // The selected slice, -1 for none (0 until the pie's first pass sets it).
    std::int64_t selectedIndex() const { return _selectedIndex; }
    void setSelectedIndex(std::int64_t index) { _selectedIndex = index; }

    // ---- Data (filled by the pie's binding) ----
    // One signed value per slice.
    std::vector<double>& values() { return _values; }
    const std::vector<double>& values() const { return _values; }
    void setValues(std::vector<double> values) { _values = std::move(values); }
    // The values as the last update left them.
    const std::vector<double>& preValues() const { return _preValues; }
    void setPreValues(std::vector<double> values) { _preValues = std::move(values); }
    // The sum of the absolute values.
    double sum() const { return _sum; }
    void setSum(double sum) { _sum = sum; }

    // ---- Settings the pie forwards (plain stores: the pie decides what it redraws) ----
    // Degrees; where slice 0 begins.
    double startAngle() const { return _startAngle; }
    void setStartAngle(double angle) { _startAngle = angle; }
    // Fraction of the radius; above 0 draws a doughnut.
    double innerRadius() const { return _innerRadius; }
    void setInnerRadius(double radius) { _innerRadius = radius; }
    // Fractions of the radius: the push of every slice, and the extra push of the selected one.
    double offset() const { return _offset; }
    void setOffset(double offset) { _offset = offset; }
    double selectedItemOffset() const { return _selectedItemOffset; }
    void setSelectedItemOffset(double offset) { _selectedItemOffset = offset; }
    double sliceBorderWidth() const { return _sliceBorderWidth; }
    void setSliceBorderWidth(double width) { _sliceBorderWidth = width; }
    // Slices run counter-clockwise.
    bool reversed() const { return _reversed; }
    void setReversed(bool reversed) { _reversed = reversed; }
    bool isAnimated() const { return _isAnimated; }
    void setIsAnimated(bool animated) { _isAnimated = animated; }
    bool isUpdateAnimated() const { return _isUpdateAnimated; }
    void setIsUpdateAnimated(bool animated) { _isUpdateAnimated = animated; }
    const std::shared_ptr<KivoChartLoadAnimation>& loadAnimation() const { return _loadAnimation; }
    void setLoadAnimation(std::shared_ptr<KivoChartLoadAnimation> animation) { _loadAnimation = std::move(animation); }
    const std::shared_ptr<KivoAnimation>& updateAnimation() const { return _updateAnimation; }
    void setUpdateAnimation(std::shared_ptr<KivoAnimation> animation) { _updateAnimation = std::move(animation); }
    // The load animation has not run yet.
    bool firstLoad() const { return _firstLoad; }
    void setFirstLoad(bool firstLoad) { _firstLoad = firstLoad; }
    // Load-animation mode recorded when the last load animation started.
    std::int64_t animationMode() const { return _animationMode; }
    void setAnimationMode(std::int64_t mode) { _animationMode = mode; }
    // Gap between the pie and labels outside it.
    double padding() const { return _padding; }
    void setPadding(double padding) { _padding = padding; }
    // Radians: the turn applied to this view's transform.
    double rotationAngle() const { return _rotationAngle; }
    void setRotationAngle(double angle) { _rotationAngle = angle; }

    // ---- Geometry of the last pass ----
    double radius() const { return _radius; }
    void setRadius(double radius) { _radius = radius; }
    double innerR() const { return _innerR; }
    void setInnerR(double radius) { _innerR = radius; }
    // Mid angle (radians) of each slice; the first n entries belong to slices 0 … n-1.
    std::vector<double>& angles() { return _angles; }
    const std::vector<double>& angles() const { return _angles; }
    // Hit areas of the drawn slices in drawing order, and each one's centre point.
    std::vector<std::shared_ptr<IKivoHitArea>>& areas() { return _areas; }
    const std::vector<std::shared_ptr<IKivoHitArea>>& areas() const { return _areas; }
    std::vector<std::shared_ptr<KivoPoint>>& sliceCenterPoints() { return _sliceCenterPoints; }
    const std::vector<std::shared_ptr<KivoPoint>>& sliceCenterPoints() const { return _sliceCenterPoints; }
    // How many drawing passes this view has had.
    std::int64_t count() const { return _count; }

    // Seconds between two steps of any of this view's timers.
    static constexpr double TimeInterval = 0.01;
    static constexpr double DefaultPadding = 3.0;

protected:
    OmbriPieControl(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame);
    void initialize() override;

private:
    std::weak_ptr<OmbriPie> _pie;
    std::shared_ptr<KivoRect> _rectPie;
    std::shared_ptr<IKivoRenderEngine> _engine;
    std::int64_t _selectedIndex = 0;

    std::vector<double> _values;
    std::vector<double> _preValues;
    double _sum = 0;

    double _startAngle = 0;
    double _innerRadius = 0;
    double _offset = 0;
    double _selectedItemOffset = 0;
    double _sliceBorderWidth = 0;
    bool _reversed = false;
    bool _isAnimated = true;
    bool _isUpdateAnimated = false;
    std::shared_ptr<KivoChartLoadAnimation> _loadAnimation;
    std::shared_ptr<KivoAnimation> _updateAnimation;
    bool _firstLoad = true;
    std::int64_t _animationMode = 1;
    double _padding = DefaultPadding;
    double _rotationAngle = 0;

    double _radius = 0;
    double _innerR = 0;
    std::vector<double> _angles;
    std::vector<std::shared_ptr<IKivoHitArea>> _areas;
    std::vector<std::shared_ptr<KivoPoint>> _sliceCenterPoints;
    std::int64_t _count = 0;
};
