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
constexpr float LongStrokeFactor = 1.3f;
constexpr float ShortStrokeFactor = 0.6f;
constexpr double SpinAngle1 = Pi / 4;
constexpr double SpinAngle2 = -5 * Pi / 4;
constexpr double SpinRadiusDenominator = 4;
constexpr double LineWidth = 2.0;
// L from the frame: a quarter of the shorter side.
constexpr double FrameSideFactor = 0.25;
constexpr double TapGrowthDuration = 0.24;
constexpr double TapAppearDuration = 0.12;
constexpr double TapFadeDuration = 0.24;
constexpr double TapCircleAlpha = 0.3;
constexpr int LinesPerBox = 4;
// Animation keys of the lines, in the order left, top, right, bottom.
constexpr const char* PathKeys[] = {"animateLeftLinePath", "animateTopLinePath", "animateRightLinePath", "animateBottomLinePath"};
constexpr const char* ColorKeys[] = {"animateLeftLineStrokeColor", "animateTopLineStrokeColor", "animateRightLineStrokeColor",
                                     "animateBottomLineStrokeColor"};
constexpr int LinesPerCheckmark = 2;

// Keys of values stored in the animations.
constexpr const char* IdKey = "id";
constexpr const char* SequenceKey = "sequence";
constexpr const char* CirclesKey = "circles";

bool isOneOf(const std::string& id, std::initializer_list<const char*> ids) {
    return std::any_of(ids.begin(), ids.end(), [&](const char* s) { return id == s; });
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

std::vector<ShapeLayer*> KivoCheckBox::lines() const {
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

void KivoCheckBox::drawCheckBoxAnimated(bool animated) {
    const double L = kivoCheckbox_checkboxSideLength;
    for (ShapeLayer* line : lines()) line->setOpacity(1);
    struct Side {
        double angle;
        Point offset;
        const char* id;
    };
    const Side sides[] = {
        {Pi / 2, {-L, 0}, "leftLineStroke"},
        {0, {0, -L}, "topLineStroke"},
        {Pi / 2, {L, 0}, "rightLineStroke"},
        {0, {0, L}, "bottomLineStroke"},
    };
    const auto layers = lines();
    for (std::size_t i = 0; i < layers.size(); ++i) {
        setLinePath(*layers[i], createCenteredLineWithRadius(L, sides[i].angle, sides[i].offset), animated, StageDuration,
                    sides[i].id, PathKeys[i]);
        setLineStrokeColor(*layers[i], tintColor(), animated, StageDuration, nullptr, ColorKeys[i]);
    }
}

std::array<Path, 4> KivoCheckBox::diamondPaths(double r, double k, double angle1, double angle2) {
    // The lines in the order left, top, right, bottom; the offsets -4 and 9 are points and do not scale.
    return {createCenteredLineWithRadius(r, angle2, {-4 - k, 9 - k}), createCenteredLineWithRadius(r, angle1, {-4 + k, 9 - k}),
            createCenteredLineWithRadius(r, angle2, {-4 + k, 9 + k}), createCenteredLineWithRadius(r, angle1, {-4 - k, 9 + k})};
}

void KivoCheckBox::spinCheckboxAnimated(bool animated, double angle1, double angle2, double radiusDenominator, double duration) {
    if (animated) {
        _finishedAnimations = false;
        _checkmarkSidesCompletedAnimating = 0;
    }
    for (ShapeLayer* line : lines()) line->setOpacity(1);
    const double L = kivoCheckbox_checkboxSideLength;
    double r = L / radiusDenominator;
    double k = r - L / (4 * radiusDenominator);
    if (!std::isfinite(r) || !std::isfinite(k)) r = k = 0;  // a zero or NaN denominator collapses the diamond
    static constexpr const char* checkIds[] = {"leftLineSpin", "topLineSpin", "rightLineSpin", "bottomLineSpin"};
    static constexpr const char* uncheckIds[] = {"leftLineSpin2", "topLineSpin2", "rightLineSpin2", "bottomLineSpin2"};
    static constexpr const char* keys[] = {"spinLeftLine", "spinTopLine", "spinRightLine", "spinBottomLine"};
    auto paths = diamondPaths(r, k, angle1, angle2);
    const auto sides = lines();
    for (std::size_t i = 0; i < sides.size(); ++i) {
        setLinePath(*sides[i], std::move(paths[i]), animated, duration, _isChecked ? checkIds[i] : uncheckIds[i], keys[i]);
    }
}

void KivoCheckBox::shrinkAwayCheckboxAnimated(bool animated) {
    const double L = kivoCheckbox_checkboxSideLength;
    const double r = L / 20, k = r - L / 80;
    static constexpr const char* ids[] = {"leftLineStroke2", "topLineStroke2", "rightLineStroke2", "bottomLineStroke2"};
    auto paths = diamondPaths(r, k, SpinAngle1, SpinAngle2);
    const auto sides = lines();
    for (std::size_t i = 0; i < sides.size(); ++i) {
        setLinePath(*sides[i], std::move(paths[i]), animated, ShrinkDuration, nullptr, PathKeys[i]);
        setLineStrokeColor(*sides[i], _checkmarkColor, animated, ShrinkDuration, ids[i], ColorKeys[i]);
    }
}

void KivoCheckBox::drawCheckmarkAnimated(bool animated) {
    _lineLeft->setOpacity(0);
    _lineTop->setOpacity(0);
    const double L = kivoCheckbox_checkboxSideLength;
    const double u = L / 9;
    setLinePath(*_lineRight, createCenteredLineWithRadius(LongStrokeFactor * L, SpinAngle2, {3.5 * u, 0.5 * u}), animated,
                StageDuration, "largeCheckmarkLine", "animateRightLinePath");
    setLinePath(*_lineBottom, createCenteredLineWithRadius(ShortStrokeFactor * L, SpinAngle1, {-9 * u, 5 * u}), animated,
                StageDuration, "smallCheckmarkLine", "animateBottomLinePath");
    if (!animated) {
        // Animated, the colours stay as the shrinking stage turned them.
        _lineRight->setStrokeColor(_checkmarkColor);
        _lineBottom->setStrokeColor(_checkmarkColor);
    }
}

void KivoCheckBox::shrinkAwayCheckmarkAnimated(bool animated) {
    if (animated) {
        _finishedAnimations = false;
        _checkmarkSidesCompletedAnimating = 0;
    }
    const double L = kivoCheckbox_checkboxSideLength;
    const double r = L / 18, k = r - L / 72;
    const Color tint = tintColor();
    setLinePath(*_lineRight, createCenteredLineWithRadius(r, SpinAngle2, {k - 3, 11 + k}), animated, StageDuration,
                "largeCheckmarkLine2", "animateRightLinePath");
    setLineStrokeColor(*_lineRight, tint, animated, StageDuration, nullptr, "animateRightLineStrokeColor");
    setLinePath(*_lineBottom, createCenteredLineWithRadius(r, SpinAngle1, {-3 - k, 11 + k}), animated, StageDuration,
                "smallCheckmarkLine2", "animateBottomLinePath");
    setLineStrokeColor(*_lineBottom, tint, animated, StageDuration, nullptr, "animateBottomLineStrokeColor");
    _lineLeft->setStrokeColor(tint);
    _lineTop->setStrokeColor(tint);
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

    auto countSides = [&] {
        if (++_checkboxSidesCompletedAnimating < LinesPerBox) return false;
        _checkboxSidesCompletedAnimating = 0;
        return true;
    };
    auto countCheckmark = [&] {
        if (++_checkmarkSidesCompletedAnimating < LinesPerCheckmark) return false;
        _checkmarkSidesCompletedAnimating = 0;
        return true;
    };

    if (isOneOf(id, {"leftLineStroke", "topLineStroke", "rightLineStroke", "bottomLineStroke"})) {
        if (countSides()) _finishedAnimations = true;
    } else if (isOneOf(id, {"leftLineStroke2", "topLineStroke2", "rightLineStroke2", "bottomLineStroke2"})) {
        if (countSides()) drawCheckmarkAnimated(true);
    } else if (isOneOf(id, {"leftLineSpin", "topLineSpin", "rightLineSpin", "bottomLineSpin"})) {
        if (countSides()) shrinkAwayCheckboxAnimated(true);
    } else if (isOneOf(id, {"leftLineSpin2", "topLineSpin2", "rightLineSpin2", "bottomLineSpin2"})) {
        if (countSides()) {
            _finishedAnimations = true;
            drawCheckBoxAnimated(true);
        }
    } else if (isOneOf(id, {"smallCheckmarkLine", "largeCheckmarkLine"})) {
        if (countCheckmark()) _finishedAnimations = true;
    } else if (isOneOf(id, {"smallCheckmarkLine2", "largeCheckmarkLine2"})) {
        if (countCheckmark()) spinCheckboxAnimated(true, SpinAngle1, SpinAngle2, SpinRadiusDenominator, SpinBackDuration);
    }
    // "tapGrowth" and anything else: nothing.
}

// ---- Tap circle ----

void KivoCheckBox::growTapCircle() {
    const double D = (_rippleFromTapLocation ? 4 : 2) * radius();
    const plat::Rect b = bounds();
    const Point c = _rippleFromTapLocation ? _tapPoint : Point{b.midX(), b.midY()};
    const Path start = plat::roundedRectPath({c.x - 0.5, c.y - 0.5, 1, 1}, 0.5);
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
