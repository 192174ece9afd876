#pragma once
// What every gauge shares, whatever its shape: the value model (scale, rounding to the step,
// clamping), the bands (face, pointer, ranges), the look of its texts, one drawing pass that animates
// the pointer when it first shows and when the value changes, and touch handling. A subclass adds
// the shape: it places the texts (updateText), draws each band (updateRangeElement) and maps touch
// points back to values (getValueFromPoint).
//
// Sections: shared colour objects · default look · value model · bands · look of texts · animation
// settings · events and delegate · operations · drawing · animation · gestures · subclass hooks.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoView.h"
#include "OmbriGauge/KivoGaugeDelegate.h"
#include "OmbriGauge/KivoGaugeExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/gesture_recognizer.h"

class IKivoValueFormatter;
class KivoAnimation;
class KivoAnimationDriver;
class KivoGaugeRange;
class KivoObservableArray;
class KivoRenderEngine;

namespace kivo::detail {
// What the tests read and call of the gauges' inner workings; defined by the tests alone.
struct GaugeTestAccess;
}  // namespace kivo::detail

namespace plat {
class PanGestureRecognizer;
class PinchGestureRecognizer;
class TapGestureRecognizer;
class Timer;
}  // namespace plat

// Which texts a gauge shows (flags).
enum KivoGaugeShowText : std::int64_t {
    KivoGaugeShowTextNone = 0,
    KivoGaugeShowTextValue = 1,
    KivoGaugeShowTextMinMax = 2,
    KivoGaugeShowTextAll = 3,
};

class KIVO_GAUGE_EXPORT KivoGauge : public KivoView, public plat::GestureRecognizerDelegate {
public:
    ~KivoGauge() override;

    // ---- Default look (per instance) ----
    const plat::Color DEFAULT_FACE_COLOR = plat::Color::rgb255(240, 240, 240);
    const plat::Color DEFAULT_FACE_BORDER_COLOR = plat::Color::clear();
    const double DEFAULT_FACE_BORDER_WIDTH = 0;
    const plat::Color DEFAULT_POINTER_COLOR = plat::Color::rgb255(0, 133, 199);
    const double DEFAULT_LABEL_OPACITY = 1.0;
    const double DEFAULT_FONTSIZE = 12.0;
    const double DEFAULT_VALUE_FONTSIZE = 16.0;
    const plat::Font DEFAULT_FONT{"HelveticaNeue", 12.0};
    const plat::Font DEFAULT_VALUE_FONT{"HelveticaNeue", 16.0};

    // ---- Value model ----
    // The pointer's far end. NaN and the current value are ignored; otherwise the value is rounded to
    // the step, clamped to the scale, stored, announced (event, then delegate) and redrawn.
    double value() const;
    void setValue(double value);
    // The scale is the face's span. NaN is ignored; the current value is not clamped again.
    double min() const;
    void setMin(double min);
    double max() const;
    void setMax(double max);
    // Where the pointer starts; NaN means 0 on a scale that spans 0, else the scale's start.
    double origin() const { return _origin; }
    void setOrigin(double origin);
    // Rounding of new values; NaN, 0, negative or infinite: none. No redraw, no re-rounding.
    double step() const { return _step; }
    void setStep(double step) { _step = step; }
    // The bands' share of the gauge's cross size, 0…1 (NaN ignored).
    double thickness() const { return _thickness; }
    void setThickness(double thickness);
    double oldValue() const { return _oldValue; }
    void setOldValue(double value) { _oldValue = value; }
    // Touches only: setValue works on a read-only gauge.
    bool isReadOnly() const { return _isReadOnly; }
    void setIsReadOnly(bool readOnly) { _isReadOnly = readOnly; }
    // The view's user-interaction flag.
    bool isEnabled() const { return isUserInteractionEnabled(); }
    void setIsEnabled(bool enabled) { setUserInteractionEnabled(enabled); }
    // Position of v on the scale, 0…1; 0 for every value when max ≤ min, and for NaN.
    double getPercent(double v) const;

    // ---- Bands ----
    const std::shared_ptr<KivoGaugeRange>& face() const { return _face; }
    // Null is ignored.
    void setFace(std::shared_ptr<KivoGaugeRange> face);
    const std::shared_ptr<KivoGaugeRange>& pointer() const { return _pointer; }
    void setPointer(std::shared_ptr<KivoGaugeRange> pointer);
    // Ranges drawn between the face and the pointer, in order; changes after the first drawing pass
    // redraw. Setting another collection moves that subscription to it (null is ignored).
    const std::shared_ptr<KivoObservableArray>& ranges() const { return _ranges; }
    void setRanges(std::shared_ptr<KivoObservableArray> ranges);
    bool showRanges() const { return _showRanges; }
    void setShowRanges(bool show);

    // The face's colour. A colour made from components applies when it differs; a colour object is
    // ignored when it is null or the platform's shared white object (plat::sharedWhiteColor).
    plat::Color faceColor() const;
    void setFaceColor(const plat::Color& color);
    void setFaceColor(const plat::ColorObject& color);
    const plat::Color& faceBorderColor() const { return _faceBorderColor; }
    void setFaceBorderColor(const plat::Color& color);
    double faceBorderWidth() const { return _faceBorderWidth; }
    void setFaceBorderWidth(double width);
    // Drawn in place of the face's own border dashes; empty is solid.
    const std::vector<double>& faceBorderDashes() const { return _faceBorderDashes; }
    void setFaceBorderDashes(std::vector<double> dashes);
    plat::Color pointerColor() const;
    void setPointerColor(const plat::Color& color);
    double pointerThickness() const;
    void setPointerThickness(double thickness);
    // When set, fills the pointer in place of its computed colour.
    const std::optional<plat::Color>& animColor() const { return _animColor; }
    void setAnimColor(std::optional<plat::Color> color);

    // ---- Look of the texts ----
    std::int64_t showText() const { return _showText; }
    void setShowText(std::int64_t showText);
    bool showValue() const { return (_showText & KivoGaugeShowTextValue) != 0; }
    void setShowValue(bool show);
    bool showMinMax() const { return (_showText & KivoGaugeShowTextMinMax) != 0; }
    void setShowMinMax(bool show);

    // Font, size and name of each text stay in step: a new font brings its size along; a new size
    // switches to "HelveticaNeue" of that size; a new name keeps the size and changes the face.
    // Sizes that cannot be used and empty names are dropped.
    const plat::Font& minFont() const { return _minFont; }
    void setMinFont(const plat::Font& font);
    const plat::Font& maxFont() const { return _maxFont; }
    void setMaxFont(const plat::Font& font);
    const plat::Font& valueFont() const { return _valueFont; }
    void setValueFont(const plat::Font& font);
    double minFontSize() const { return _minFontSize; }
    void setMinFontSize(double size);
    double maxFontSize() const { return _maxFontSize; }
    void setMaxFontSize(double size);
    double valueFontSize() const { return _valueFontSize; }
    void setValueFontSize(double size);
    std::string minFontName() const;
    void setMinFontName(const std::string& name);
    std::string maxFontName() const;
    void setMaxFontName(const std::string& name);
    std::string valueFontName() const;
    void setValueFontName(const std::string& name);
    const plat::Color& minFontColor() const { return _minFontColor; }
    void setMinFontColor(const plat::Color& color);
    const plat::Color& maxFontColor() const { return _maxFontColor; }
    void setMaxFontColor(const plat::Color& color);
    const plat::Color& valueFontColor() const { return _valueFontColor; }
    void setValueFontColor(const plat::Color& color);
    double minOpacity() const { return _minOpacity; }
    void setMinOpacity(double opacity);
    double maxOpacity() const { return _maxOpacity; }
    void setMaxOpacity(double opacity);
    // Numeric format of every text ("D" by default).
    const std::string& format() const { return _format; }
    void setFormat(const std::string& format);
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const { return _valueFormatter; }
    // Null is ignored.
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter);

    // ---- Animation settings ----
    bool isAnimated() const { return _isAnimated; }
    void setIsAnimated(bool animated) { _isAnimated = animated; }
    const std::shared_ptr<KivoAnimation>& loadAnimation() const { return _loadAnimation; }
    void setLoadAnimation(std::shared_ptr<KivoAnimation> animation) { _loadAnimation = std::move(animation); }
    const std::shared_ptr<KivoAnimation>& updateAnimation() const { return _updateAnimation; }
    void setUpdateAnimation(std::shared_ptr<KivoAnimation> animation) { _updateAnimation = std::move(animation); }
    // Stored and redrawn; the animations ease by their own settings.
    const KivoEasePtr& easingType() const { return _easingType; }
    void setEasingType(KivoEasePtr easing);

    // ---- Geometry and engine ----
    // A copy of the view's frame; the subclasses use its width and height.
    const std::shared_ptr<KivoRect>& rectGauge() const { return _rectGauge; }
    void setRectGauge(std::shared_ptr<KivoRect> rect);
    const std::shared_ptr<KivoRenderEngine>& renderEngine() const { return _renderEngine; }

    // ---- Events and delegate ----
    const std::shared_ptr<KivoEvent>& gaugeTapped() const { return _gaugeTapped; }
    void setGaugeTapped(std::shared_ptr<KivoEvent> event) { _gaugeTapped = std::move(event); }
    // Not created: an application that listens sets one.
    const std::shared_ptr<KivoEvent>& gaugeRendering() const { return _gaugeRendering; }
    void setGaugeRendering(std::shared_ptr<KivoEvent> event) { _gaugeRendering = std::move(event); }
    const std::shared_ptr<KivoEvent>& gaugeRendered() const { return _gaugeRendered; }
    void setGaugeRendered(std::shared_ptr<KivoEvent> event) { _gaugeRendered = std::move(event); }
    const std::shared_ptr<KivoEvent>& gaugeValueChanged() const { return _gaugeValueChanged; }
    void setGaugeValueChanged(std::shared_ptr<KivoEvent> event) { _gaugeValueChanged = std::move(event); }
    // Held weakly.
    std::shared_ptr<KivoGaugeDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<KivoGaugeDelegate>& delegate) { _delegate = delegate; }
    // Retained; also becomes the delegate.
    const std::shared_ptr<KivoGaugeDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<KivoGaugeDelegate> delegate);

    // ---- Operations ----
    // NaN gives NaN; v is lowered to hi, then raised to lo (so lo wins when lo > hi); NaN bounds are skipped.
    static double clamp(double v, double lo, double hi);
    // 0xRRGGBB, opaque.
    static plat::Color getColor(std::int64_t rgb);
    // Every text of the gauge: the value formatter with `format`.
    std::string formatDecimal(double value) const;
    // The font that a dictionary of font attributes describes (family, size, weight, traits).
    plat::Font getDescriptor(const plat::Dictionary& attributes) const;
    // The pointer's fill: pointerColor, or with the ranges hidden the opaque colour of the narrowest
    // range that holds v (the earlier on equal spans).
    virtual plat::Color getPointerColor(double v);
    // The value a touch sets: the current value when read-only, else the subclass's answer (NaN when
    // the point maps to nothing).
    using plat::View::hitTest;
    double hitTest(const std::shared_ptr<KivoPoint>& point);
    double hitTest(double x, double y);
    // Asks for a new drawing pass.
    void invalidate() { setNeedsDisplay(); }
    void raiseGaugeTapped(const std::shared_ptr<KivoPoint>& point);
    void raiseGaugeRendering();
    void raiseGaugeRendered();
    void raiseGaugeValueChanged();
    // Switches the animations off, so a designer (or a still picture) shows the final state at once.
    void prepareForInterfaceBuilder() { setIsAnimated(false); }

    // ---- Drawing ----
    void drawRect(plat::Context& context, const plat::Rect& rect) override;
    // Texts, face, shown ranges, pointer, through the render engine.
    virtual void refresh();
    void setFrame(const plat::Rect& frame) override;
    void layoutSubviews() override;
    void respondToSizeChanged() override { invalidate(); }

    // ---- Animation ----
    // The load animation's settings while the first load runs, else the update animation's.
    KivoEasePtr getAnimationEasing() const;
    double getAnimationDuration() const;

    // ---- Gestures ----
    void respondToTapGesture(plat::GestureRecognizer& recognizer);
    void respondToPinchGesture(plat::GestureRecognizer& recognizer);
    void respondToPanGesture(plat::GestureRecognizer& recognizer);
    // Refuses every touch to the pan recogniser, so a drag never changes the value.
    bool gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch& touch) override;
    // The pinch's zoom, at least 1, and the zoom of the pinch in progress.
    double scale() const { return _scale; }
    double previousScale() const { return _previousScale; }
    // The zoom as a transform about the view's centre, applied to the drawing and undone for touches.
    const plat::AffineTransform& zoomTransform() const { return _zoomTransform; }

    // ---- Subclass hooks ----
    // The minimum and maximum texts.
    virtual void updateText() {}
    // One band from its min to `value`; `time` is −1 outside an animation.
    virtual void updateRangeElement(const std::shared_ptr<KivoGaugeRange>& range, double value, double time) {}
    // The value at a point of the view; NaN in the base. May move the point.
    virtual double getValueFromPoint(const std::shared_ptr<KivoPoint>& point);

protected:
    explicit KivoGauge(const plat::Rect& frame) : KivoView(frame) {}
    // KivoView's set-up, then initInternals.
    void initialize() override;
    // Each subclass's defaults; the base sends initialization.
    virtual void initInternals() { initialization(); }
    // Every default of the base, once per gauge.
    void initialization();
    // What each subclass's create() does with a new gauge: the internal initialiser, then the frame
    // as rectGauge.
    template <class T>
    static std::shared_ptr<T> createGauge(T* gauge, const plat::Rect& frame) {
        auto made = initialized(std::shared_ptr<T>(gauge));
        made->setRectGauge(KivoRect::create(frame.x(), frame.y(), frame.width(), frame.height()));
        return made;
    }

    // Text measured in a font through the engine (which scales it to the user's text size).
    plat::Size _measure(const std::string& text, const plat::Font& font);
    // Half the diagonal of a text's box in a font.
    double _halfDiagonal(const std::string& text, const plat::Font& font);
    // The fill of a band: the pointer's computed colour, or the range's own.
    plat::Color _bandFill(const std::shared_ptr<KivoGaugeRange>& range);
    // The range of `ranges` with the smallest span that holds v (the earlier on equal spans), or null.
    std::shared_ptr<KivoGaugeRange> _narrowestRangeHolding(double v) const;
    // The border dashes of a band: the face's come from the gauge.
    const std::vector<double>& _bandDashes(const std::shared_ptr<KivoGaugeRange>& range) const;

private:
    friend struct kivo::detail::GaugeTestAccess;

    // Rounds to the step and clamps, then setValue (NaN ignored).
    KIVO_GAUGE_NO_EXPORT void _applyValue(double v);
    // Draws one band now or through the animation state machine.
    KIVO_GAUGE_NO_EXPORT void _updateRange(const std::shared_ptr<KivoGaugeRange>& range, double value);

    KIVO_GAUGE_NO_EXPORT void _startLoadAnimation();
    KIVO_GAUGE_NO_EXPORT void _startUpdateAnimation();
    // One frame of the running animation, `elapsed` seconds after its first.
    KIVO_GAUGE_NO_EXPORT void _loadAnimationTask(double elapsed);
    KIVO_GAUGE_NO_EXPORT void _updateAnimationTask(double elapsed);
    // The animation's state.
    KIVO_GAUGE_NO_EXPORT bool firstLoad() const { return _firstLoad; }
    KIVO_GAUGE_NO_EXPORT bool isValueChanged() const { return _isValueChanged; }
    KIVO_GAUGE_NO_EXPORT bool plotting() const { return _plotting; }
    KIVO_GAUGE_NO_EXPORT double plotTime() const { return _plotTime; }
    KIVO_GAUGE_NO_EXPORT double animatedPointerValue() const { return _animatedPointerValue; }
    // True while a start is scheduled or an animation runs.
    KIVO_GAUGE_NO_EXPORT bool hasPendingAnimation() const;

    KIVO_GAUGE_NO_EXPORT void _addRangesHandler();
    KIVO_GAUGE_NO_EXPORT void _removeRangesHandler();
    // Starts the load or update animation after `delay`, unless a start is already scheduled.
    KIVO_GAUGE_NO_EXPORT void _scheduleStart(bool load, double delay);
    KIVO_GAUGE_NO_EXPORT void _startAnimation(bool load);
    KIVO_GAUGE_NO_EXPORT void _animationTick(double elapsed, bool load);
    // The animation has run its `duration`: the next pass shows the pointer at the value.
    KIVO_GAUGE_NO_EXPORT void _animationEnded(double duration);
    // Drops a scheduled start and a running animation.
    KIVO_GAUGE_NO_EXPORT void _stopAnimation();
    // The pointer is shown at its value without animation: nothing is pending any more.
    KIVO_GAUGE_NO_EXPORT void _drawPointerAtOnce(double value);
    KIVO_GAUGE_NO_EXPORT bool _canAnimate(const std::shared_ptr<KivoAnimation>& animation) const;
    KIVO_GAUGE_NO_EXPORT plat::Point _undoZoom(plat::Point point) const;

    // Value model and bands.
    std::shared_ptr<KivoGaugeRange> _face;
    std::shared_ptr<KivoGaugeRange> _pointer;
    std::shared_ptr<KivoObservableArray> _ranges;
    // The subscription to the ranges' changes (removed by this identity).
    KivoEventBlock _rangesHandler;
    double _origin = 0;
    double _step = 1.0;
    double _thickness = 0.8;
    double _oldValue = 0;
    bool _isReadOnly = true;
    bool _showRanges = true;
    plat::Color _faceBorderColor = DEFAULT_FACE_BORDER_COLOR;
    double _faceBorderWidth = DEFAULT_FACE_BORDER_WIDTH;
    std::vector<double> _faceBorderDashes;
    std::optional<plat::Color> _animColor;

    // Texts.
    std::int64_t _showText = KivoGaugeShowTextNone;
    plat::Font _minFont = DEFAULT_FONT;
    plat::Font _maxFont = DEFAULT_FONT;
    plat::Font _valueFont = DEFAULT_VALUE_FONT;
    double _minFontSize = DEFAULT_FONTSIZE;
    double _maxFontSize = DEFAULT_FONTSIZE;
    double _valueFontSize = DEFAULT_VALUE_FONTSIZE;
    plat::Color _minFontColor = plat::Color::black();
    plat::Color _maxFontColor = plat::Color::black();
    plat::Color _valueFontColor = plat::Color::black();
    double _minOpacity = DEFAULT_LABEL_OPACITY;
    double _maxOpacity = DEFAULT_LABEL_OPACITY;
    std::string _format = "D";
    std::shared_ptr<IKivoValueFormatter> _valueFormatter;

    // Animation settings and state.
    bool _isAnimated = true;
    std::shared_ptr<KivoAnimation> _loadAnimation;
    std::shared_ptr<KivoAnimation> _updateAnimation;
    KivoEasePtr _easingType;
    bool _firstLoad = true;
    bool _isValueChanged = false;
    bool _panUpdateFlag = false;
    std::shared_ptr<plat::Timer> _startTimer;
    std::shared_ptr<KivoAnimationDriver> _driver;
    double _plotTime = 0;
    bool _plotting = false;
    double _animatedPointerValue = 0;
    double _pointerValueBeforeUpdate = 0;

    // Geometry, engine, events.
    std::shared_ptr<KivoRect> _rectGauge;
    std::shared_ptr<KivoRenderEngine> _renderEngine;
    std::shared_ptr<KivoEvent> _gaugeTapped;
    std::shared_ptr<KivoEvent> _gaugeRendering;
    std::shared_ptr<KivoEvent> _gaugeRendered;
    std::shared_ptr<KivoEvent> _gaugeValueChanged;
    std::weak_ptr<KivoGaugeDelegate> _delegate;
    std::shared_ptr<KivoGaugeDelegate> _strongDelegate;

    // Gestures.
    std::shared_ptr<plat::TapGestureRecognizer> _tapRecognizer;
    std::shared_ptr<plat::PinchGestureRecognizer> _pinchRecognizer;
    std::shared_ptr<plat::PanGestureRecognizer> _panRecognizer;
    double _scale = 1.0;
    double _previousScale = 0;
    plat::AffineTransform _zoomTransform;
};
