// The gauge's set-up, value model, properties, events and the helpers its subclasses share.
// The drawing pass and the animations are in KivoGaugeAnimation.cpp, the gestures in KivoGaugeInput.cpp.

#include "OmbriGauge/KivoGauge.h"

#include <cmath>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "KivoCore/KivoObservableArray.h"
#include "KivoCore/KivoRenderEngine.h"
#include "OmbriGauge/KivoGaugeRange.h"
#include "Platform/graphics/font.h"
#include "Platform/runtime/timer.h"
#include "Platform/ui/gestures.h"

namespace {

constexpr const char* DefaultFontFamily = "HelveticaNeue";
// Assigned as a new string: GCC 12 reports a false overlap for assigning a literal at -O3.
constexpr const char* DefaultFormat = "D";

// The platform's name of a face: the family with a weight or style suffix.
std::string fontName(const plat::Font& font) {
    const bool bold = font.isBold(), italic = font.isItalic();
    std::string name = font.family;
    name.append(bold && italic ? "-BoldItalic" : bold ? "-Bold" : italic ? "-Italic" : "");
    return name;
}

bool isUsableFontSize(double size) { return std::isfinite(size) && size > 0; }

}  // namespace

// ---- Set-up ----

KivoGauge::~KivoGauge() {
    if (_startTimer) _startTimer->invalidate();
    if (_driver) _driver->stop();
}

void KivoGauge::initialize() {
    KivoView::initialize();
    initInternals();
}

void KivoGauge::initialization() {
    auto self = sharedAs<KivoGauge>();
    _panUpdateFlag = false;
    _face = KivoGaugeRange::create(self);
    _face->setColor(DEFAULT_FACE_COLOR);
    _faceBorderColor = DEFAULT_FACE_BORDER_COLOR;
    _faceBorderWidth = DEFAULT_FACE_BORDER_WIDTH;
    _pointer = KivoGaugeRange::create(self);
    _pointer->setMax(_pointer->min());
    _pointer->setColor(DEFAULT_POINTER_COLOR);

    _minOpacity = _maxOpacity = DEFAULT_LABEL_OPACITY;
    _minFontSize = _maxFontSize = DEFAULT_FONTSIZE;
    _valueFontSize = DEFAULT_VALUE_FONTSIZE;
    _minFont = _maxFont = DEFAULT_FONT;
    _valueFont = DEFAULT_VALUE_FONT;
    _minFontColor = _maxFontColor = _valueFontColor = plat::Color::black();
    _renderEngine = KivoRenderEngine::create();

    _stopAnimation();
    _plotTime = _animatedPointerValue = _pointerValueBeforeUpdate = 0;
    _isValueChanged = false;

    _easingType = KivoEasing::EaseOutBounce();
    _oldValue = 0;
    _isReadOnly = true;
    _step = 1.0;
    _thickness = 0.8;
    _format = std::string(DefaultFormat);
    _valueFormatter = std::make_shared<KivoIOSValueFormatter>();
    _showText = KivoGaugeShowTextNone;
    _showRanges = true;
    _isAnimated = true;
    _ranges = std::make_shared<KivoObservableArray>();
    _loadAnimation = std::make_shared<KivoAnimation>();
    _updateAnimation = std::make_shared<KivoAnimation>();
    _firstLoad = true;
    _scale = 1.0;
    _previousScale = 0;
    _faceBorderDashes.clear();
    _gaugeTapped = std::make_shared<KivoEvent>();
    _gaugeValueChanged = std::make_shared<KivoEvent>();
    _gaugeRendered = std::make_shared<KivoEvent>();

    // A gauge's face is laid out for its size: a new size needs a new picture, not a stretched one.
    setContentMode(plat::ViewContentMode::Redraw);

    std::weak_ptr<KivoGauge> weak = self;
    const std::weak_ptr<plat::GestureRecognizerDelegate> asDelegate = self;
    _tapRecognizer = plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (auto gauge = weak.lock()) gauge->respondToTapGesture(r);
    });
    _pinchRecognizer = plat::PinchGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (auto gauge = weak.lock()) gauge->respondToPinchGesture(r);
    });
    _panRecognizer = plat::PanGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (auto gauge = weak.lock()) gauge->respondToPanGesture(r);
    });
    const std::shared_ptr<plat::GestureRecognizer> recognizers[] = {_tapRecognizer, _pinchRecognizer, _panRecognizer};
    for (const auto& r : recognizers) {
        r->setDelegate(asDelegate);
        addGestureRecognizer(r);
    }

    _rangesHandler = KivoEventBlock([weak](const std::shared_ptr<KivoEventContainer>&) {
        auto gauge = weak.lock();
        if (gauge && !gauge->_firstLoad) gauge->invalidate();
    });
    _addRangesHandler();
}

void KivoGauge::_addRangesHandler() {
    if (_ranges && _ranges->collectionChanged()) _ranges->collectionChanged()->addHandler(_rangesHandler, shared_from_this());
}

void KivoGauge::_removeRangesHandler() {
    if (_ranges && _ranges->collectionChanged()) _ranges->collectionChanged()->removeHandler(_rangesHandler, shared_from_this());
}

// ---- Value model ----

double KivoGauge::value() const { return _pointer->max(); }

void KivoGauge::setValue(double v) {
    const auto alive = keepAlive();
    const double current = _pointer->max();
    if (std::isnan(v) || v == current) return;
    const double lo = min(), hi = max();
    if (std::isfinite(_step) && _step > 0 && hi - lo > _step) v = _step * std::round(v / _step);
    v = clamp(v, lo, hi);
    // What rounding and clamping leave unchanged is no change at all: no event, no animation.
    if (std::isnan(v) || v == current) return;
    _oldValue = current;
    _pointer->setMax(v);
    _isValueChanged = true;
    raiseGaugeValueChanged();
    if (auto d = delegate()) d->valueChanged(sharedAs<KivoGauge>(), value());
    invalidate();
}

void KivoGauge::_applyValue(double v) {
    const auto alive = keepAlive();
    if (std::isnan(v)) return;
    if (std::isfinite(_step) && _step > 0) v = _step * std::round(v / _step);
    setValue(clamp(v, min(), max()));
}

double KivoGauge::min() const { return _face->min(); }

void KivoGauge::setMin(double min) {
    if (std::isnan(min) || min == _face->min()) return;
    _face->setMin(min);
    invalidate();
}

double KivoGauge::max() const { return _face->max(); }

void KivoGauge::setMax(double max) {
    if (std::isnan(max) || max == _face->max()) return;
    _face->setMax(max);
    invalidate();
}

void KivoGauge::setOrigin(double origin) {
    if (!std::isnan(origin) && origin == _origin) return;
    _origin = origin;
    invalidate();
}

void KivoGauge::setThickness(double thickness) {
    if (std::isnan(thickness)) return;
    thickness = clamp(thickness, 0, 1);
    if (thickness == _thickness) return;
    _thickness = thickness;
    invalidate();
}

double KivoGauge::getPercent(double v) const {
    const double lo = min(), hi = max();
    const double p = hi > lo ? (v - lo) / (hi - lo) : 0;
    if (std::isnan(p)) return 0;
    return clamp(p, 0, 1);
}

double KivoGauge::clamp(double v, double lo, double hi) {
    if (std::isnan(v)) return v;
    if (!std::isnan(hi) && v > hi) v = hi;
    if (!std::isnan(lo) && v < lo) v = lo;
    return v;
}

plat::Color KivoGauge::getColor(std::int64_t rgb) {
    return plat::Color::rgb255(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                               static_cast<int>(rgb & 0xFF));
}

plat::Font KivoGauge::getDescriptor(const plat::Dictionary& attributes) const { return plat::fontFromAttributes(attributes); }

std::string KivoGauge::formatDecimal(double value) const {
    const auto alive = keepAlive();
    if (!_valueFormatter) return {};
    return _valueFormatter->format(plat::Value(value), _format).value_or("");
}

plat::Color KivoGauge::getPointerColor(double v) {
    if (_showRanges) return pointerColor();
    const auto range = _narrowestRangeHolding(v);
    return range ? range->color().withAlpha(1.0) : pointerColor();
}

std::shared_ptr<KivoGaugeRange> KivoGauge::_narrowestRangeHolding(double v) const {
    std::shared_ptr<KivoGaugeRange> best;
    for (std::size_t i = 0; i < _ranges->count(); ++i) {
        auto range = _ranges->objectAtIndexAs<KivoGaugeRange>(i);
        if (!range || !(range->min() <= v && v <= range->max())) continue;
        if (!best || range->max() - range->min() < best->max() - best->min()) best = range;
    }
    return best;
}

// ---- Bands ----

void KivoGauge::setFace(std::shared_ptr<KivoGaugeRange> face) {
    if (!face || face == _face) return;
    _face = std::move(face);
    invalidate();
}

void KivoGauge::setPointer(std::shared_ptr<KivoGaugeRange> pointer) {
    if (!pointer || pointer == _pointer) return;
    _pointer = std::move(pointer);
    invalidate();
}

void KivoGauge::setRanges(std::shared_ptr<KivoObservableArray> ranges) {
    if (!ranges || ranges == _ranges) return;
    _removeRangesHandler();
    _ranges = std::move(ranges);
    _addRangesHandler();
    invalidate();
}

void KivoGauge::setShowRanges(bool show) {
    if (show == _showRanges) return;
    _showRanges = show;
    invalidate();
}

plat::Color KivoGauge::faceColor() const { return _face->color(); }

void KivoGauge::setFaceColor(const plat::Color& color) { _face->setColor(color); }

void KivoGauge::setFaceColor(const plat::ColorObject& color) {
    // The shared white object stands for "no colour chosen": the face keeps its own.
    if (!color || color.isSameObject(plat::sharedWhiteColor())) return;
    setFaceColor(*color);
}

void KivoGauge::setFaceBorderColor(const plat::Color& color) {
    if (color == _faceBorderColor) return;
    _faceBorderColor = color;
    _face->setBorderColor(color);
    invalidate();
}

void KivoGauge::setFaceBorderWidth(double width) {
    if (std::isnan(width) || width == _faceBorderWidth) return;
    _faceBorderWidth = width;
    _face->setBorderWidth(width);
    invalidate();
}

void KivoGauge::setFaceBorderDashes(std::vector<double> dashes) {
    if (dashes == _faceBorderDashes) return;
    _faceBorderDashes = std::move(dashes);
    invalidate();
}

plat::Color KivoGauge::pointerColor() const { return _pointer->color(); }

void KivoGauge::setPointerColor(const plat::Color& color) { _pointer->setColor(color); }

double KivoGauge::pointerThickness() const { return _pointer->thickness(); }

void KivoGauge::setPointerThickness(double thickness) { _pointer->setThickness(thickness); }

void KivoGauge::setAnimColor(std::optional<plat::Color> color) {
    if (color == _animColor) return;
    _animColor = color;
    invalidate();
}

// ---- Texts ----

void KivoGauge::setShowText(std::int64_t showText) {
    if (showText == _showText) return;
    _showText = showText;
    invalidate();
}

void KivoGauge::setShowValue(bool show) {
    setShowText(show ? (_showText | KivoGaugeShowTextValue) : (_showText & ~std::int64_t{KivoGaugeShowTextValue}));
}

void KivoGauge::setShowMinMax(bool show) {
    setShowText(show ? (_showText | KivoGaugeShowTextMinMax) : (_showText & ~std::int64_t{KivoGaugeShowTextMinMax}));
}

namespace {

// A font setter's work: stores a usable, different font and its size; true when it stored.
bool storeFont(plat::Font& field, double& size, const plat::Font& font) {
    if (!font.hasUsableSize() || font == field) return false;
    field = font;
    size = font.size;
    return true;
}

// A size setter's work: the default family at a usable, different size; true when it stored.
bool storeFontSize(plat::Font& field, double& size, double newSize) {
    if (!isUsableFontSize(newSize) || newSize == size) return false;
    size = newSize;
    field = plat::Font(DefaultFontFamily, newSize);
    return true;
}

bool storeColor(plat::Color& field, const plat::Color& color) {
    if (color == field) return false;
    field = color;
    return true;
}

bool storeOpacity(double& field, double opacity) {
    if (std::isnan(opacity) || opacity == field) return false;
    field = opacity;
    return true;
}

}  // namespace

void KivoGauge::setMinFont(const plat::Font& font) {
    if (storeFont(_minFont, _minFontSize, font)) invalidate();
}
void KivoGauge::setMaxFont(const plat::Font& font) {
    if (storeFont(_maxFont, _maxFontSize, font)) invalidate();
}
void KivoGauge::setValueFont(const plat::Font& font) {
    if (storeFont(_valueFont, _valueFontSize, font)) invalidate();
}
void KivoGauge::setMinFontSize(double size) {
    if (storeFontSize(_minFont, _minFontSize, size)) invalidate();
}
void KivoGauge::setMaxFontSize(double size) {
    if (storeFontSize(_maxFont, _maxFontSize, size)) invalidate();
}
void KivoGauge::setValueFontSize(double size) {
    if (storeFontSize(_valueFont, _valueFontSize, size)) invalidate();
}

std::string KivoGauge::minFontName() const { return fontName(_minFont); }
std::string KivoGauge::maxFontName() const { return fontName(_maxFont); }
std::string KivoGauge::valueFontName() const { return fontName(_valueFont); }

// Every family resolves to an installed face here, so only an empty name names no font.
void KivoGauge::setMinFontName(const std::string& name) {
    if (!name.empty()) setMinFont(plat::Font::named(name, _minFont.size));
}
void KivoGauge::setMaxFontName(const std::string& name) {
    if (!name.empty()) setMaxFont(plat::Font::named(name, _maxFont.size));
}
void KivoGauge::setValueFontName(const std::string& name) {
    if (!name.empty()) setValueFont(plat::Font::named(name, _valueFont.size));
}

void KivoGauge::setMinFontColor(const plat::Color& color) {
    if (storeColor(_minFontColor, color)) invalidate();
}
void KivoGauge::setMaxFontColor(const plat::Color& color) {
    if (storeColor(_maxFontColor, color)) invalidate();
}
void KivoGauge::setValueFontColor(const plat::Color& color) {
    if (storeColor(_valueFontColor, color)) invalidate();
}
void KivoGauge::setMinOpacity(double opacity) {
    if (storeOpacity(_minOpacity, opacity)) invalidate();
}
void KivoGauge::setMaxOpacity(double opacity) {
    if (storeOpacity(_maxOpacity, opacity)) invalidate();
}

void KivoGauge::setFormat(const std::string& format) {
    if (format == _format) return;
    _format = format;
    invalidate();
}

void KivoGauge::setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter) {
    if (!formatter || formatter == _valueFormatter) return;
    _valueFormatter = std::move(formatter);
    invalidate();
}

void KivoGauge::setEasingType(KivoEasePtr easing) {
    if (easing == _easingType) return;
    _easingType = std::move(easing);
    invalidate();
}

// ---- Geometry ----

void KivoGauge::setRectGauge(std::shared_ptr<KivoRect> rect) {
    if (!rect) return;
    _rectGauge = std::move(rect);
    invalidate();
}

void KivoGauge::setFrame(const plat::Rect& frame) {
    KivoView::setFrame(frame);
    setRectGauge(KivoRect::create(frame.x(), frame.y(), frame.width(), frame.height()));
}

void KivoGauge::layoutSubviews() {
    const plat::Rect f = frame();
    setRectGauge(KivoRect::create(f.x(), f.y(), f.width(), f.height()));
}

// ---- Events and delegate ----

void KivoGauge::setStrongDelegate(std::shared_ptr<KivoGaugeDelegate> delegate) {
    _strongDelegate = std::move(delegate);
    _delegate = _strongDelegate;
}

void KivoGauge::raiseGaugeTapped(const std::shared_ptr<KivoPoint>& point) {
    if (_gaugeTapped) _gaugeTapped->raise(shared_from_this(), std::make_shared<KivoPointEventArgs>(point));
}

void KivoGauge::raiseGaugeRendering() {
    if (_gaugeRendering) _gaugeRendering->raise(shared_from_this(), nullptr);
}

void KivoGauge::raiseGaugeRendered() {
    if (_gaugeRendered) _gaugeRendered->raise(shared_from_this(), nullptr);
}

void KivoGauge::raiseGaugeValueChanged() {
    if (_gaugeValueChanged) _gaugeValueChanged->raise(shared_from_this(), nullptr);
}

// ---- Helpers of the subclasses ----

plat::Size KivoGauge::_measure(const std::string& text, const plat::Font& font) {
    _renderEngine->setFont(font);
    auto size = _renderEngine->measureString(text);
    return {size->width(), size->height()};
}

double KivoGauge::_halfDiagonal(const std::string& text, const plat::Font& font) {
    const plat::Size s = _measure(text, font);
    return std::sqrt(s.width * s.width / 4 + s.height * s.height / 4);
}

plat::Color KivoGauge::_bandFill(const std::shared_ptr<KivoGaugeRange>& range) {
    if (range != _pointer) return range->color();
    return _animColor ? *_animColor : getPointerColor(_pointer->max());
}

const std::vector<double>& KivoGauge::_bandDashes(const std::shared_ptr<KivoGaugeRange>& range) const {
    return range == _face ? _faceBorderDashes : range->borderDashes();
}
