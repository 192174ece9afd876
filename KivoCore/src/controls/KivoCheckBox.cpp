// KivoCheckBox. Sections: construction and rebuild; properties; toggling; stages; shapes;
// completion dispatch; tap circle; touches.

#include "KivoCore/KivoCheckBox.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "Platform/ui/gestures.h"
#include "Platform/ui/shapes.h"

using plat::BasicAnimation;
using plat::Color;
using plat::Path;
using plat::Point;
using plat::ShapeLayer;

namespace {

constexpr double Pi = std::numbers::pi;
// Stage durations and stroke factors are single-precision constants.
constexpr float StageDuration = 0.12f;
constexpr float SpinBackDuration = 0.06f;
constexpr float ShrinkDuration = 0.03f;
constexpr double SpinAngle1 = Pi / 4;
constexpr double SpinAngle2 = -5 * Pi / 4;
constexpr double SpinRadiusDenominator = 4;
constexpr double LineWidth = 2.0;
constexpr int LinesPerBox = 4;

// ---- Layout: every shape is built from L (half a side of the square) ----
// L from the frame: a quarter of the shorter side.
constexpr double FrameSideFactor = 0.25;
// Box lines: the left and right sides stand, the top and bottom lie, each L from the middle.
constexpr double StandingLine = Pi / 2;
constexpr double LyingLine = 0;
// A diamond of radius r = L/d puts each of its lines k = r - L/(DiamondSpreadDivisor * d) off its
// centre, which sits at DiamondCentre from the middle of the view (in points: it does not scale).
constexpr double DiamondSpreadDivisor = 4;
constexpr Point DiamondCentre{-4, 9};
// The shrunk diamond is a diamond with this denominator.
constexpr double ShrunkDiamondDenominator = 20;
// The check mark, in units of L / CheckmarkUnitDivisor: the long stroke (on the right line) and the
// short one (on the bottom line), their half lengths as factors of L (single precision).
constexpr double CheckmarkUnitDivisor = 9;
constexpr float LongStrokeFactor = 1.3f;
constexpr float ShortStrokeFactor = 0.6f;
constexpr Point LongStrokeOffset{3.5, 0.5};
constexpr Point ShortStrokeOffset{-9, 5};
// The shrunk check mark: radius L / ShrunkCheckmarkDenominator, spread as a diamond's, around a centre
// fixed in points.
constexpr double ShrunkCheckmarkDenominator = 18;
constexpr Point ShrunkCheckmarkCentre{-3, 11};

// ---- Tap circle ----
// Its diameter in radii of the view: from the touch it must cover the view wherever the touch was.
constexpr double TapCircleFromTouchDiameter = 4;
constexpr double TapCircleCentredDiameter = 2;
constexpr double TapCircleStartSide = 1;
constexpr double TapGrowthDuration = 0.24;
constexpr double TapAppearDuration = 0.12;
constexpr double TapFadeDuration = 0.24;
constexpr double TapCircleAlpha = 0.3;

// Animation keys of the lines, in the order left, top, right, bottom.
constexpr const char* PathKeys[] = {"animateLeftLinePath", "animateTopLinePath", "animateRightLinePath", "animateBottomLinePath"};
constexpr const char* ColorKeys[] = {"animateLeftLineStrokeColor", "animateTopLineStrokeColor", "animateRightLineStrokeColor",
                                     "animateBottomLineStrokeColor"};
constexpr const char* SpinKeys[] = {"spinLeftLine", "spinTopLine", "spinRightLine", "spinBottomLine"};
constexpr std::size_t Right = 2, Bottom = 3;

// Keys of values stored in the animations.
constexpr const char* IdKey = "id";
constexpr const char* SequenceKey = "sequence";
constexpr const char* CirclesKey = "circles";

// ---- The stages that report completions ----
// Each stage once: the id of its animation on each line (left, top, right, bottom; none on a line the
// stage leaves alone), the counter its completions go to, and what follows when every line it
// animates has reported.
enum class Counter : std::uint8_t { Sides, Checkmark };
enum class Next : std::uint8_t { Finish, ShrinkBox, DrawCheckmark, FinishAndDrawBox, SpinBack };
using LineIds = std::array<const char*, LinesPerBox>;
struct StageIds {
    LineIds ids;
    Counter counter;
    Next next;
};
constexpr StageIds BoxStage{
    {"leftLineStroke", "topLineStroke", "rightLineStroke", "bottomLineStroke"}, Counter::Sides, Next::Finish};
constexpr StageIds SpinStage{{"leftLineSpin", "topLineSpin", "rightLineSpin", "bottomLineSpin"}, Counter::Sides, Next::ShrinkBox};
constexpr StageIds SpinBackStage{
    {"leftLineSpin2", "topLineSpin2", "rightLineSpin2", "bottomLineSpin2"}, Counter::Sides, Next::FinishAndDrawBox};
constexpr StageIds ShrinkBoxStage{
    {"leftLineStroke2", "topLineStroke2", "rightLineStroke2", "bottomLineStroke2"}, Counter::Sides, Next::DrawCheckmark};
constexpr StageIds CheckmarkStage{
    {nullptr, nullptr, "largeCheckmarkLine", "smallCheckmarkLine"}, Counter::Checkmark, Next::Finish};
constexpr StageIds ShrinkCheckmarkStage{
    {nullptr, nullptr, "largeCheckmarkLine2", "smallCheckmarkLine2"}, Counter::Checkmark, Next::SpinBack};
constexpr const StageIds* Stages[] = {&BoxStage,       &SpinStage,      &SpinBackStage,
                                      &ShrinkBoxStage, &CheckmarkStage, &ShrinkCheckmarkStage};

const StageIds* stageOf(const std::string& id) {
    for (const StageIds* stage : Stages)
        for (const char* lineId : stage->ids)
            if (lineId && id == lineId) return stage;
    return nullptr;  // "tapGrowth", or no id
}

// How many completions end the stage: one per line it animates.
int linesOf(const StageIds& stage) {
    return static_cast<int>(std::count_if(stage.ids.begin(), stage.ids.end(), [](const char* id) { return id != nullptr; }));
}

// A linear change of one line property that stays in place when it ends.
BasicAnimation lineAnimation(const char* keyPath, plat::AnimationValue from, plat::AnimationValue to, double duration) {
    BasicAnimation a(keyPath);
    a.setFromValue(std::move(from));
    a.setToValue(std::move(to));
    a.setDuration(duration);
    a.setTimingFunction(plat::TimingFunction::linear());
    a.setRemovedOnCompletion(false);
    return a;
}

}  // namespace

// ---- Construction and rebuild ----

std::shared_ptr<KivoCheckBox> KivoCheckBox::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCheckBox>(new KivoCheckBox(frame)));
}

void KivoCheckBox::initialize() {
    plat::Button::initialize();
    construct();
    initInternals();
}

void KivoCheckBox::construct() {
    _isReadOnly = false;
    _finishedAnimations = true;
    _isChecked = false;
    _rippleFromTapLocation = true;
    _tapCirclePositiveColor.reset();
    _tapCircleNegativeColor.reset();
    _intrinsicSize = -1;
}

void KivoCheckBox::initInternals() {
    _checkmarkColor = tintColor();

    auto& own = *layer();
    own.setMasksToBounds(true);
    setClipsToBounds(true);
    own.setShadowOpacity(0);
    own.setCornerRadius(radius());
    setBackgroundColor(Color::clear());

    const plat::Rect f = frame();
    kivoCheckbox_checkboxSideLength = _intrinsicSize >= 1 ? _intrinsicSize : std::min(f.height(), f.width()) * FrameSideFactor;

    own.removeAllAnimations();
    // Every sublayer goes (lines and tap circles), except those that belong to subviews.
    const auto sublayers = own.sublayers();
    for (const auto& sub : sublayers) {
        const bool ofSubview =
            std::any_of(subviews().begin(), subviews().end(), [&](const auto& v) { return v->layer() == sub; });
        if (!ofSubview) sub->removeFromSuperlayer();
    }
    _rippleAnimationQueue.clear();
    _deathRowForCircleLayers.clear();
    ++_circles;
    // The current value is drawn afresh below: whatever sequence was running is over, and its
    // completions (the old lines' animations still report) must neither count nor continue it.
    endSequence();

    auto makeLine = [&] {
        auto line = ShapeLayer::create();
        line->setFillColor(Color::clear());
        line->setAnchorPoint({0, 0});
        line->setLineJoin(plat::LineJoin::Round);
        line->setLineCap(plat::LineCap::Square);
        line->setContentsScale(own.contentsScale());
        line->setLineWidth(LineWidth);
        line->setStrokeColor(tintColor());
        line->setPath(Path());
        own.addSublayer(line);
        return line;
    };
    _lineLeft = makeLine();
    _lineTop = makeLine();
    _lineRight = makeLine();
    _lineBottom = makeLine();

    if (_isChecked)
        drawCheckmarkAnimated(false);
    else
        drawCheckBoxAnimated(false);

    if (!_wired) {
        _wired = true;
        addTarget([](plat::Control& c) { static_cast<KivoCheckBox&>(c).paperTouchDown(&c); }, plat::ControlEventTouchDown);
        addTarget([](plat::Control& c) { static_cast<KivoCheckBox&>(c).paperTouchUpAndSwitchStates(&c); },
                  plat::ControlEventTouchUpInside);
        addTarget([](plat::Control& c) { static_cast<KivoCheckBox&>(c).paperTouchUp(&c); },
                  plat::ControlEventTouchUpOutside | plat::ControlEventTouchCancel);
        auto tap = plat::TapGestureRecognizer::create();
        tap->setDelegate(sharedAs<KivoCheckBox>());
        addGestureRecognizer(tap);
    }
}

std::array<ShapeLayer*, 4> KivoCheckBox::lines() const {
    return {_lineLeft.get(), _lineTop.get(), _lineRight.get(), _lineBottom.get()};
}

// ---- Properties ----

void KivoCheckBox::setIsChecked(bool checked) {
    if (checked == _isChecked) return;
    _isChecked = checked;
    endSequence();
    if (checked)
        drawCheckmarkAnimated(false);
    else
        drawCheckBoxAnimated(false);
}

void KivoCheckBox::setIntrinsicSize(std::int32_t size) {
    if (size == _intrinsicSize) return;
    _intrinsicSize = size;
    initInternals();
}

double KivoCheckBox::radius() const {
    const plat::Rect f = frame();
    return std::min(f.width(), f.height()) / 2;
}

void KivoCheckBox::setRadius(double) { setNeedsDisplay(); }

void KivoCheckBox::setTintColor(std::optional<Color> color) {
    plat::Button::setTintColor(color);
    initInternals();
}

void KivoCheckBox::setFrame(const plat::Rect& frame) {
    plat::Button::setFrame(frame);
    initInternals();
}

// ---- Toggling ----

void KivoCheckBox::beginSequence() {
    ++_sequence;
    _checkboxSidesCompletedAnimating = 0;
    _checkmarkSidesCompletedAnimating = 0;
}

void KivoCheckBox::endSequence() {
    ++_sequence;
    _checkboxSidesCompletedAnimating = 0;
    _checkmarkSidesCompletedAnimating = 0;
    _finishedAnimations = true;
    for (ShapeLayer* line : lines()) {
        if (line) line->removeAllAnimations();
    }
}

void KivoCheckBox::checkAnimated(bool animated) {
    if (_isChecked) return;
    setIsChecked(true);
    if (animated) {
        beginSequence();
        spinCheckboxAnimated(true, SpinAngle1, SpinAngle2, SpinRadiusDenominator, StageDuration);
    } else {
        drawCheckmarkAnimated(false);
    }
}

void KivoCheckBox::uncheckAnimated(bool animated) {
    if (!_isChecked) return;
    setIsChecked(false);
    if (animated) {
        beginSequence();
        shrinkAwayCheckmarkAnimated(true);
    } else {
        drawCheckBoxAnimated(false);
    }
}

void KivoCheckBox::switchStatesAnimated(bool animated) {
    if (animated)
        private_switchStatesAnimated(true);
    else if (_isChecked)
        uncheckAnimated(false);
    else
        checkAnimated(false);
}

void KivoCheckBox::private_switchStatesAnimated(bool animated) {
    if (animated) {
        beginSequence();
        if (_isChecked)
            spinCheckboxAnimated(true, SpinAngle1, SpinAngle2, SpinRadiusDenominator, StageDuration);
        else
            shrinkAwayCheckmarkAnimated(true);
    } else {
        // Without animation the sequence is its last drawing (a first stage alone would leave a
        // diamond or a shrunk mark on screen).
        endSequence();
        if (_isChecked)
            drawCheckmarkAnimated(false);
        else
            drawCheckBoxAnimated(false);
    }
    fadeTapCircleOut();
}

// ---- Stages ----

void KivoCheckBox::tag(BasicAnimation& animation, const char* id) {
    animation.setValue(IdKey, id);
    animation.setValue(SequenceKey, _sequence);
    animation.setDelegate(sharedAs<KivoCheckBox>());
}

void KivoCheckBox::setLinePath(ShapeLayer& line, Path path, bool animated, double duration, const char* id, const char* key) {
    if (animated) {
        BasicAnimation a = lineAnimation("path", line.path(), path, duration);
        if (id) tag(a, id);
        line.addAnimation(a, key);
    }
    line.setPath(std::move(path));
}

void KivoCheckBox::setLineStrokeColor(ShapeLayer& line, const Color& color, bool animated, double duration, const char* id,
                                      const char* key) {
    if (animated) {
        BasicAnimation a = lineAnimation("strokeColor", line.strokeColor().value_or(Color::clear()), color, duration);
        if (id) tag(a, id);
        line.addAnimation(a, key);
    }
    line.setStrokeColor(color);
}

void KivoCheckBox::completeMissingLines(const std::array<const char*, 4>& ids) {
    const auto layers = lines();
    for (std::size_t i = 0; i < layers.size(); ++i)
        if (ids[i] && !layers[i]) lineCompleted(ids[i]);
}

void KivoCheckBox::drawCheckBoxAnimated(bool animated) {
    const double L = kivoCheckbox_checkboxSideLength;
    const auto layers = lines();
    for (ShapeLayer* line : layers)
        if (line) line->setOpacity(1);
    const Path sides[] = {
        createCenteredLineWithRadius(L, StandingLine, {-L, 0}),
        createCenteredLineWithRadius(L, LyingLine, {0, -L}),
        createCenteredLineWithRadius(L, StandingLine, {L, 0}),
        createCenteredLineWithRadius(L, LyingLine, {0, L}),
    };
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (!layers[i]) continue;
        setLinePath(*layers[i], sides[i], animated, StageDuration, BoxStage.ids[i], PathKeys[i]);
        setLineStrokeColor(*layers[i], tintColor(), animated, StageDuration, nullptr, ColorKeys[i]);
    }
    if (animated) completeMissingLines(BoxStage.ids);
}

std::array<Path, 4> KivoCheckBox::diamondPaths(double denominator, double angle1, double angle2) {
    const double L = kivoCheckbox_checkboxSideLength;
    double r = L / denominator;
    double k = r - L / (DiamondSpreadDivisor * denominator);
    if (!std::isfinite(r) || !std::isfinite(k)) r = k = 0;  // a zero or NaN denominator collapses the diamond
    const Point c = DiamondCentre;
    // The lines in the order left, top, right, bottom.
    return {
        createCenteredLineWithRadius(r, angle2, {c.x - k, c.y - k}), createCenteredLineWithRadius(r, angle1, {c.x + k, c.y - k}),
        createCenteredLineWithRadius(r, angle2, {c.x + k, c.y + k}), createCenteredLineWithRadius(r, angle1, {c.x - k, c.y + k})};
}

void KivoCheckBox::spinCheckboxAnimated(bool animated, double angle1, double angle2, double radiusDenominator, double duration) {
    if (animated) {
        _finishedAnimations = false;
        _checkmarkSidesCompletedAnimating = 0;
    }
    const auto layers = lines();
    for (ShapeLayer* line : layers)
        if (line) line->setOpacity(1);
    const StageIds& stage = _isChecked ? SpinStage : SpinBackStage;
    auto paths = diamondPaths(radiusDenominator, angle1, angle2);
    for (std::size_t i = 0; i < layers.size(); ++i)
        if (layers[i]) setLinePath(*layers[i], std::move(paths[i]), animated, duration, stage.ids[i], SpinKeys[i]);
    if (animated) completeMissingLines(stage.ids);
}

void KivoCheckBox::shrinkAwayCheckboxAnimated(bool animated) {
    const auto layers = lines();
    auto paths = diamondPaths(ShrunkDiamondDenominator, SpinAngle1, SpinAngle2);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (!layers[i]) continue;
        setLinePath(*layers[i], std::move(paths[i]), animated, ShrinkDuration, nullptr, PathKeys[i]);
        setLineStrokeColor(*layers[i], _checkmarkColor, animated, ShrinkDuration, ShrinkBoxStage.ids[i], ColorKeys[i]);
    }
    if (animated) completeMissingLines(ShrinkBoxStage.ids);
}

void KivoCheckBox::drawCheckmarkAnimated(bool animated) {
    for (ShapeLayer* hidden : {_lineLeft.get(), _lineTop.get()})
        if (hidden) hidden->setOpacity(0);
    const double L = kivoCheckbox_checkboxSideLength;
    const double u = L / CheckmarkUnitDivisor;
    struct Stroke {
        ShapeLayer* line;
        std::size_t index;
        double radius, angle;
        Point offset;
    };
    const Stroke strokes[] = {
        {_lineRight.get(), Right, LongStrokeFactor * L, SpinAngle2, {LongStrokeOffset.x * u, LongStrokeOffset.y * u}},
        {_lineBottom.get(), Bottom, ShortStrokeFactor * L, SpinAngle1, {ShortStrokeOffset.x * u, ShortStrokeOffset.y * u}},
    };
    for (const Stroke& s : strokes) {
        if (!s.line) continue;
        setLinePath(*s.line, createCenteredLineWithRadius(s.radius, s.angle, s.offset), animated, StageDuration,
                    CheckmarkStage.ids[s.index], PathKeys[s.index]);
        // Animated, the colour stays as the shrinking stage turned it.
        if (!animated) s.line->setStrokeColor(_checkmarkColor);
    }
    if (animated) completeMissingLines(CheckmarkStage.ids);
}

void KivoCheckBox::shrinkAwayCheckmarkAnimated(bool animated) {
    if (animated) {
        _finishedAnimations = false;
        _checkmarkSidesCompletedAnimating = 0;
    }
    const double L = kivoCheckbox_checkboxSideLength;
    const double r = L / ShrunkCheckmarkDenominator;
    const double k = r - L / (DiamondSpreadDivisor * ShrunkCheckmarkDenominator);
    const Point c = ShrunkCheckmarkCentre;
    const Color tint = tintColor();
    struct Stroke {
        ShapeLayer* line;
        std::size_t index;
        double angle;
        Point offset;
    };
    const Stroke strokes[] = {
        {_lineRight.get(), Right, SpinAngle2, {c.x + k, c.y + k}},
        {_lineBottom.get(), Bottom, SpinAngle1, {c.x - k, c.y + k}},
    };
    for (const Stroke& s : strokes) {
        if (!s.line) continue;
        setLinePath(*s.line, createCenteredLineWithRadius(r, s.angle, s.offset), animated, StageDuration,
                    ShrinkCheckmarkStage.ids[s.index], PathKeys[s.index]);
        setLineStrokeColor(*s.line, tint, animated, StageDuration, nullptr, ColorKeys[s.index]);
    }
    for (ShapeLayer* hidden : {_lineLeft.get(), _lineTop.get()})
        if (hidden) hidden->setStrokeColor(tint);
    if (animated) completeMissingLines(ShrinkCheckmarkStage.ids);
}

// ---- Shapes ----

Path KivoCheckBox::createCenteredLineWithRadius(double radius, double angle, Point offset) {
    const plat::Rect b = bounds();
    _centerPoint = {b.midX(), b.midY()};
    const float c = std::cos(static_cast<float>(angle));
    const float s = std::sin(static_cast<float>(angle));
    const double cx = _centerPoint.x + offset.x, cy = _centerPoint.y + offset.y;
    Path path;
    path.moveTo({cx + c * radius, cy + s * radius});
    path.lineTo({cx - c * radius, cy - s * radius});
    return path;
}

// ---- Completion dispatch ----

void KivoCheckBox::animationDidStop(const BasicAnimation& animation, bool) {
    // The finished flag is not consulted: an animation that stops early counts as completed.
    const std::string id = animation.value(IdKey).asString();
    if (id == "fadeCircleOut") {
        if (animation.value(CirclesKey).asInteger() != _circles) return;  // its circle went with a rebuild
        if (!_deathRowForCircleLayers.empty()) {
            _deathRowForCircleLayers.front()->removeFromSuperlayer();
            _deathRowForCircleLayers.erase(_deathRowForCircleLayers.begin());
        }
        return;
    }
    // Completions of a sequence that a rebuild, a new value or a new toggle has replaced.
    if (animation.value(SequenceKey).asInteger() != _sequence) return;
    lineCompleted(id);
}

void KivoCheckBox::lineCompleted(const std::string& id) {
    const StageIds* stage = stageOf(id);
    if (!stage) return;
    std::int32_t& counter =
        stage->counter == Counter::Sides ? _checkboxSidesCompletedAnimating : _checkmarkSidesCompletedAnimating;
    if (++counter < linesOf(*stage)) return;
    counter = 0;
    switch (stage->next) {
        case Next::Finish:
            _finishedAnimations = true;
            break;
        case Next::ShrinkBox:
            shrinkAwayCheckboxAnimated(true);
            break;
        case Next::DrawCheckmark:
            drawCheckmarkAnimated(true);
            break;
        case Next::FinishAndDrawBox:
            _finishedAnimations = true;
            drawCheckBoxAnimated(true);
            break;
        case Next::SpinBack:
            spinCheckboxAnimated(true, SpinAngle1, SpinAngle2, SpinRadiusDenominator, SpinBackDuration);
            break;
    }
}

// ---- Tap circle ----

void KivoCheckBox::growTapCircle() {
    const double D = (_rippleFromTapLocation ? TapCircleFromTouchDiameter : TapCircleCentredDiameter) * radius();
    const plat::Rect b = bounds();
    const Point c = _rippleFromTapLocation ? _tapPoint : Point{b.midX(), b.midY()};
    constexpr double Half = TapCircleStartSide / 2;
    const Path start = plat::roundedRectPath({c.x - Half, c.y - Half, TapCircleStartSide, TapCircleStartSide}, Half);
    const Path end = plat::roundedRectPath({c.x - D / 2, c.y - D / 2, D, D}, D / 2);

    auto circle = ShapeLayer::create();
    circle->setStrokeColor(Color::clear());
    circle->setBorderColor(Color::clear());
    circle->setBorderWidth(0);
    circle->setPath(start);
    if (_isChecked)
        circle->setFillColor(_tapCircleNegativeColor.value_or(tintColor().withAlpha(TapCircleAlpha)));
    else
        circle->setFillColor(_tapCirclePositiveColor.value_or(_checkmarkColor.withAlpha(TapCircleAlpha)));
    _rippleAnimationQueue.push_back(circle);
    layer()->insertSublayer(circle, 0);

    BasicAnimation grow("path");
    grow.setFromValue(start);
    grow.setToValue(end);
    grow.setDuration(TapGrowthDuration);
    grow.setTimingFunction(plat::TimingFunction::easeOut());
    grow.setFillMode(plat::FillMode::Forwards);
    grow.setRemovedOnCompletion(false);
    grow.setDelegate(sharedAs<KivoCheckBox>());
    grow.setValue(IdKey, "tapGrowth");
    circle->addAnimation(grow, "animatePath");

    BasicAnimation appear("opacity");
    appear.setFromValue(0.0);
    appear.setToValue(1.0);
    appear.setDuration(TapAppearDuration);
    appear.setTimingFunction(plat::TimingFunction::linear());
    appear.setFillMode(plat::FillMode::Forwards);
    appear.setRemovedOnCompletion(false);
    circle->addAnimation(appear, "opacityAnimation");
}

void KivoCheckBox::fadeTapCircleOut() {
    if (_rippleAnimationQueue.empty()) return;
    auto circle = _rippleAnimationQueue.front();
    _rippleAnimationQueue.erase(_rippleAnimationQueue.begin());
    _deathRowForCircleLayers.push_back(circle);

    BasicAnimation fade("opacity");
    fade.setFromValue(circle->opacity());
    fade.setToValue(0.0);
    fade.setDuration(TapFadeDuration);
    fade.setFillMode(plat::FillMode::Forwards);
    fade.setRemovedOnCompletion(false);
    fade.setValue(IdKey, "fadeCircleOut");
    fade.setValue(CirclesKey, _circles);
    fade.setDelegate(sharedAs<KivoCheckBox>());
    circle->addAnimation(fade, "opacityAnimation");
}

// ---- Touches ----

bool KivoCheckBox::gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer&, const plat::Touch& touch) {
    // Only a way to learn where the press began: the recogniser never gets the touch, so the
    // button's own tracking goes on.
    _tapPoint = touch.locationInView(this);
    return false;
}

void KivoCheckBox::paperTouchDown(plat::Object*) {
    if (!_isReadOnly) growTapCircle();
}

void KivoCheckBox::paperTouchUp(plat::Object*) {
    if (!_isReadOnly) fadeTapCircleOut();
}

void KivoCheckBox::paperTouchUpAndSwitchStates(plat::Object*) {
    if (_isReadOnly) return;
    if (!_finishedAnimations) {
        fadeTapCircleOut();
        return;
    }
    auto keep = sharedAs<KivoCheckBox>();  // an action may let go of the check box
    _isChecked = !_isChecked;
    switchStatesAnimated(true);
    sendActionsForControlEvents(plat::ControlEventValueChanged);
}
