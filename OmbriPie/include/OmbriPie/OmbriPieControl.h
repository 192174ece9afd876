#pragma once
// Turns the pie's values into slices. The pie keeps the chrome (frame, titles, legend) and gives this
// view only the square left for the slices; keeping the slice maths here lets the view be turned as a
// whole for the selected slice without moving the titles. It shares the pie's coordinates, so hit
// points and label positions need no conversion between the two.
//
// One pass (render) draws from what the pie handed over before it: the labels, colours and selection
// look of the pie (its frame), the square, the selected slice. Layout comes first: the sum drawn with,
// the radius less the room outside labels need, the start of a handed-over update. Then drawing: the
// background; every slice but the selected one, in index order; the selected one last, pushed further
// out and outlined in the selection's style; the data labels. Each drawn slice leaves a hit area and
// a centre point behind for the pie's hit test and tooltip. The pie brings a selected slice to its
// side before the pass.
//
// Time: the load animation covers the pie with a shape layer in the background colour and uncovers it
// frame by frame; a data update draws the old values until its start, then eases the recorded slices
// from their old size to the new one. A start delay waits on a one-shot timer; the moves run on the
// core's animation driver, which ends at its first frame a move whose duration cannot be timed.
//
// Angles are radians measured from the left: the point at distance d along angle a is found by going
// d cos a to the left of the centre and d sin a above it. A quarter turn therefore points up, and
// angles grow clockwise on screen.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/IKivoHitArea.h"
#include "ChartCore/KivoChartLoadAnimation.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriPie/KivoOmbriPieExport.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/path.h"
#include "Platform/ui/view.h"

class KivoAnimationDriver;
class OmbriPie;

namespace kivo::detail {
struct PieFrame;
struct PieTestAccess;
}  // namespace kivo::detail

namespace plat {
class ShapeLayer;
class Timer;
namespace dispatch {
class AsyncSemaphore;
}
}  // namespace plat

class KIVO_PIE_EXPORT OmbriPieControl : public plat::View {
public:
    // The pie is held weakly: the pie owns this view.
    static std::shared_ptr<OmbriPieControl> create(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame);
    // Stops its timers: nothing fires into a view that has gone.
    ~OmbriPieControl() override;

    // Null once the pie is gone.
    std::shared_ptr<OmbriPie> pie() const { return _pie.lock(); }

    // Asks for a drawing pass of this view.
    void invalidate() { setNeedsDisplay(); }
    // Whether the pie handed over a square with room in it.
    bool isRectValid() const { return _rectPie && _rectPie->width() > 0 && _rectPie->height() > 0; }

    // ---- Drawing ----
    // Nothing without an engine, a pie or a square with room; else the drawing pass, then the load
    // animation when it has not played yet (or its mode changed since it last played).
    void drawRect(plat::Context& context, const plat::Rect& rect) override;
    // The drawing pass (see the header's comment).
    void render(const std::shared_ptr<IKivoRenderEngine>& engine);
    // One slice, from the running angle `angle` (radians) with the push `offset` (points) and the
    // radii `r` and `irad`. `offsets`, when it has an entry for the slice, decides by its sign alone
    // whether the slice is pushed. The selected pass draws only the selected slice, pushed further.
    // `startAngle`, `innerRadius` and `maxoff` are not read: the pass hands them for symmetry.
    void renderSlice(const std::shared_ptr<IKivoRenderEngine>& engine, double startAngle, std::int64_t i, bool reversed,
                     double innerRadius, double offset, const std::vector<double>* offsets, double angle, double cx0, double cy0,
                     double r, double maxoff, double irad, double sum, bool renderSelected);
    // Places the data label of one slice (same arguments as renderSlice; `renderSelected` says the
    // slice is the selected one).
    void renderSliceDataLabel(const std::shared_ptr<IKivoRenderEngine>& engine, double startAngle, std::int64_t i, bool reversed,
                              double innerRadius, double offset, const std::vector<double>* offsets, double angle, double cx0,
                              double cy0, double r, double maxoff, double irad, double sum, bool renderSelected);
    // What the pie owns and the pass reads, fixed until the pie hands the next one.
    KIVO_PIE_NO_EXPORT void setFrame(std::shared_ptr<const kivo::detail::PieFrame> frame);
    // The mid angle (radians) of each slice the next pass draws, with the sum it draws with.
    std::vector<double> drawnMidAngles() const;
    // The selected slice when it is one of the slices the next pass draws, else -1.
    std::int64_t validSelectedIndex() const;
    // The pie's `angle` (degrees) from its selected-item position: left 0, top 90, right 180,
    // bottom 270; other positions leave it.
    void getPieAngle();
    // The nearest view from the pie's superview upward whose background shows (alpha above 0).
    std::shared_ptr<plat::View> getSuperView() const;

    // ---- Load animation ----
    // Covers the pie and starts uncovering it (after the load animation's start delay, the start timer
    // calls _startLoadAnimation). A load animation still waiting or running is removed first.
    void startLoadAnimation();
    // Removes the cover and its timers; the pie shows whole.
    void stopLoadAnimation();
    // Whether a load animation waits for its start or runs.
    bool isLoadAnimating() const { return _loadStartTimer != nullptr || _loadDriver != nullptr; }
    // The cover while the load animation runs, else null.
    const std::shared_ptr<plat::ShapeLayer>& animationLayer() const { return _animationLayer; }

    // ---- Data updates ----
    // Serialises the updates: one permit, taken by a hand-over and given back by the end of its animation.
    const std::shared_ptr<plat::dispatch::AsyncSemaphore>& semaphore() const { return _semaphore; }
    // The recorded changes of one update: the values and slice indices of each kind.
    struct ValueChanges {
        std::vector<double> added, removed, changed;
        std::vector<std::int64_t> addedAt, removedAt, changedAt;
    };
    // Takes an update over: the next passes draw the old values until it starts (after its start
    // delay), then ease the first kind that has values to the new ones.
    void handOverUpdate(ValueChanges changes);
    // Whether an update was handed over and has not ended yet.
    bool isUpdating() const { return _isUpdateAnimated || _updateStartTimer != nullptr || _updateDriver != nullptr; }
    // One tick of each kind of update: a slice grows from nothing, shrinks to nothing, or moves from
    // its old value to its new one.
    void increasePieSliceAnimation();
    void reducePieSliceAnimation();
    void changePieSliceAnimation();

    // The turn the transform applies now (radians, atan2 of its matrix).
    double appliedRotation() const;
    // `angle` (radians) brought into [-pi, pi): the same turn, the short way round.
    static double shortestTurn(double angle);

    // The sweep of a value: |v| / sum of a full turn, and exactly a full turn when |v| is the sum
    // (within 1e-10). A sum of 0 makes every slice a full turn.
    static double sweep(double value, double sum);

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
    const std::vector<double>& values() const { return _values; }
    void setValues(std::vector<double> values) { _values = std::move(values); }
    // The values on screen when no update is pending or running: where the next update starts from.
    const std::vector<double>& preValues() const { return _preValues; }
    void setPreValues(std::vector<double> values) { _preValues = std::move(values); }
    // The pie's labels as they were with those values: an update that draws the old values names
    // their slices by them.
    const std::vector<std::string>& preLabels() const { return _preLabels; }
    void setPreLabels(std::vector<std::string> labels) { _preLabels = std::move(labels); }
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
    const std::shared_ptr<KivoChartLoadAnimation>& loadAnimation() const { return _loadAnimation; }
    void setLoadAnimation(std::shared_ptr<KivoChartLoadAnimation> animation) { _loadAnimation = std::move(animation); }
    const std::shared_ptr<KivoAnimation>& updateAnimation() const { return _updateAnimation; }
    void setUpdateAnimation(std::shared_ptr<KivoAnimation> animation) { _updateAnimation = std::move(animation); }
    // The final sum of a running update.
    double tempSum() const { return _tempSum; }
    void setTempSum(double sum) { _tempSum = sum; }
    // Half the smaller side of the view when the load animation started: the cover's outer radius.
    double animationRadius() const { return _animationRadius; }
    void setAnimationRadius(double radius) { _animationRadius = radius; }
    // The load animation has not run yet.
    bool firstLoad() const { return _firstLoad; }
    void setFirstLoad(bool firstLoad) { _firstLoad = firstLoad; }
    // Which load animation is running, kept so that frames drawn later know how to cover the slices.
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

    static constexpr double DefaultPadding = 3.0;
    // Values whose magnitude is within this of the sum take a full turn.
    static constexpr double FullTurnTolerance = 1e-10;

protected:
    OmbriPieControl(const std::shared_ptr<OmbriPie>& pie, const plat::Rect& frame);
    void initialize() override;

private:
    friend struct kivo::detail::PieTestAccess;

    // The load animation's covers: the ring outside `radius` up to the animation's radius, and the
    // part of the disc that a slice from `startAngle` over `sweepAngle` leaves covered.
    KIVO_PIE_NO_EXPORT plat::Path _getPiePath(double cx, double cy, double radius) const;
    KIVO_PIE_NO_EXPORT plat::Path _getPiePath(double cx, double cy, double radius, double startAngle, double sweepAngle) const;
    KIVO_PIE_NO_EXPORT static double _getcolorAlpha(const plat::Color& color);
    // The start of the load animation, after its delay.
    KIVO_PIE_NO_EXPORT void _startLoadAnimation();
    // One frame of the load animation, `t` seconds after its start; the last removes the cover.
    KIVO_PIE_NO_EXPORT void _loadAnimationTimerTask(double t, double duration, bool last);
    // The two halves of a pass: layout writes the pass's geometry, drawing reads it and the frame.
    KIVO_PIE_NO_EXPORT void layoutPass();
    KIVO_PIE_NO_EXPORT void drawPass(const std::shared_ptr<IKivoRenderEngine>& engine);
    // Draws one segment about (cx, cy) and records its hit area and centre point.
    KIVO_PIE_NO_EXPORT void _drawSlice(const std::shared_ptr<IKivoRenderEngine>& engine, std::int64_t i, bool reversed, double cx,
                                       double cy, double r, double irad, double angle, double sweep, bool selected);
    // The values a pass draws (the ones an update starts from, while one is handed over), and the
    // sum of their magnitudes.
    KIVO_PIE_NO_EXPORT const std::vector<double>& drawnValues() const { return _isUpdateAnimated ? _preValues : _values; }
    KIVO_PIE_NO_EXPORT double passSum() const;
    // Whether a pass draws the values laid out as before the update (the old pie, or a slice
    // shrinking out of it).
    KIVO_PIE_NO_EXPORT bool drawsOldLayout() const {
        return _isUpdateAnimated || _updateTick == &OmbriPieControl::reducePieSliceAnimation;
    }
    // The labels of the slices as a pass draws them.
    KIVO_PIE_NO_EXPORT const std::vector<std::string>& drawnLabels() const;
    // The start of a handed-over update (after its start delay): the first kind that has values runs.
    KIVO_PIE_NO_EXPORT void startUpdateAnimation();
    // One frame of the running update, `t` seconds after its start: the tick of its kind, or the end.
    KIVO_PIE_NO_EXPORT void updateAnimationStep(double t, double duration, bool last);
    // Whether a tick should rather end the update at once.
    KIVO_PIE_NO_EXPORT bool updateTickEnds();
    // One frame of an update: `base` with each recorded slice written by `write` (slice, recorded
    // value, the easing of a change at this tick).
    template <class Write>
    KIVO_PIE_NO_EXPORT void updateFrame(const std::vector<double>& base, const std::vector<double>& recorded,
                                        const std::vector<std::int64_t>& indices, Write write);
    // Writes the exact final values, stops the move and gives the permit back.
    KIVO_PIE_NO_EXPORT void finishUpdate();

    std::weak_ptr<OmbriPie> _pie;
    std::shared_ptr<const kivo::detail::PieFrame> _frame;
    std::shared_ptr<KivoRect> _rectPie;
    std::shared_ptr<IKivoRenderEngine> _engine;
    std::int64_t _selectedIndex = 0;

    std::vector<double> _values;
    std::vector<double> _preValues;
    std::vector<std::string> _preLabels;
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
    double _tempSum = 0;
    double _animationRadius = 0;
    std::int64_t _animationMode = 1;
    double _padding = DefaultPadding;
    double _rotationAngle = 0;

    // The pass's geometry (layout) and what its drawing leaves for hit tests (the frame cache).
    bool _laidOut = false;
    double _passSum = 0;
    double _labelDimension = 0;
    double _radius = 0;
    double _innerR = 0;
    std::vector<double> _angles;
    std::vector<std::shared_ptr<IKivoHitArea>> _areas;
    std::vector<std::shared_ptr<KivoPoint>> _sliceCenterPoints;
    std::int64_t _count = 0;

    // Load animation.
    std::shared_ptr<plat::ShapeLayer> _animationLayer;
    std::shared_ptr<plat::Timer> _loadStartTimer;
    std::shared_ptr<KivoAnimationDriver> _loadDriver;
    double _animationStartAngle = 0;
    double _animationSweepAngle = 0;
    double _animationTime = 0;  // seconds since the start

    // Data updates.
    std::shared_ptr<plat::dispatch::AsyncSemaphore> _semaphore;
    std::vector<double> _addedValueArr, _removedValueArr, _changedValueArr;
    std::vector<std::int64_t> _addedValueInd, _removedValueInd, _changedValueInd;
    std::vector<double> _finalValues;  // the values of the rebinding, which the update ends at
    std::shared_ptr<plat::Timer> _updateStartTimer;
    std::shared_ptr<KivoAnimationDriver> _updateDriver;
    void (OmbriPieControl::*_updateTick)() = nullptr;
    double _myTime = 0;          // seconds since the start
    double _updateDuration = 0;  // as it was when the update started
};
