// KivoBaseTooltipView. Sections: construction; visibility; layout (measure, direction, size and
// place, fade-in); drawing.

#include "KivoCore/KivoBaseTooltipView.h"

#include <algorithm>
#include <cmath>

#include "Platform/graphics/context.h"
#include "Platform/graphics/text.h"
#include "Platform/runtime/timer.h"
#include "Platform/ui/application.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/shapes.h"

using plat::Point;
using plat::Rect;

namespace {
constexpr double DefaultAppearDuration = 0.2;
constexpr Rect InitialFrame{0, 0, 100, 100};
// Room the bubble keeps from the screen's edges and the status bar.
constexpr float EdgeMargin = 5;
constexpr float HalfWidthMargin = 10;
constexpr float TopRoom = 20;
constexpr float StatusBarRoom = 35;
constexpr float BottomRoom = 20;
constexpr double ArrowHalfWidth = 7;
constexpr double ArrowBaseWidth = 15;
constexpr Point TextOriginArrowUp{5, 20};
constexpr Point TextOriginArrowDown{5, 5};
constexpr plat::Size ShadowOffset{0, 2};
constexpr double ShadowOpacity = 0.5;
}  // namespace

// ---- Construction ----

std::shared_ptr<KivoBaseTooltipView> KivoBaseTooltipView::create() {
    return initialized(std::shared_ptr<KivoBaseTooltipView>(new KivoBaseTooltipView()));
}

void KivoBaseTooltipView::initialize() {
    plat::View::initialize();
    initInternals();
}

KivoBaseTooltipView::~KivoBaseTooltipView() { cancelPendingHide(); }

void KivoBaseTooltipView::initInternals() {
    setFrame(InitialFrame);
    setBackgroundColor(plat::Color::clear());
    _backColor = plat::Color::darkGray();
    _cornerRadius = 5;
    _textColor = plat::Color::white();
    _textFontSize = 12;
    _textFont = plat::Font::boldSystem(12);
    _hasShadow = false;
    _opacity = 1.0;
    _gap = 0;
    _threshold = 0;
    _isCustomized = false;
}

void KivoBaseTooltipView::setBackColor(const plat::Color& color) {
    if (color == _backColor) return;
    _backColor = color;
    invalidate();
}

void KivoBaseTooltipView::setFontSize(double size) {
    if (size == _textFontSize) return;
    _textFontSize = size;
    _textFont = plat::Font::boldSystem(size);
}

// ---- Visibility ----

void KivoBaseTooltipView::cancelPendingHide() {
    if (_hideTimer) _hideTimer->invalidate();
    _hideTimer.reset();
}

void KivoBaseTooltipView::setIsVisible(bool visible) {
    if (visible == _isVisible) return;
    _isVisible = visible;
    // A hide still pending would take down the tooltip just shown (or hide twice): it goes.
    cancelPendingHide();
    if (!visible && _disappearDelay > 0) {
        std::weak_ptr<KivoBaseTooltipView> weak = sharedAs<KivoBaseTooltipView>();
        _hideTimer = plat::Timer::scheduled(_disappearDelay, false, [weak](plat::Timer& timer) {
            if (auto self = weak.lock()) self->_hideTooltip(timer);
        });
        return;
    }
    invalidate();
}

void KivoBaseTooltipView::_hideTooltip(plat::Timer& timer) {
    _isVisible = false;
    invalidate();
    timer.invalidate();
    if (_hideTimer.get() == &timer) _hideTimer.reset();
}

void KivoBaseTooltipView::invalidate() {
    if (!_isCustomized) setNeedsDisplay();
}

void KivoBaseTooltipView::setNeedsDisplay() {
    plat::View::setNeedsDisplay();
    if (!_isCustomized) _layoutTooltip();
}

// ---- Layout ----

Point KivoBaseTooltipView::senderOnScreen() const {
    auto parent = superview();
    return parent ? parent->convertPointToScreen(_senderPoint) : _senderPoint;
}

void KivoBaseTooltipView::_layoutTooltip() {
    const Point p = senderOnScreen();
    const double h = _getTextHeight();
    _calculateArrowPosition(p, h);
    _prepareTooltipAtPoint(p);
    _drawsBubble = _isVisible;

    const double duration = _appearDuration == 0 ? DefaultAppearDuration : _appearDuration;
    View::animate(duration, _appearDelay, plat::ViewAnimationOptionLayoutSubviews, [this] {
        if (_isVisible) setAlpha(1);
    });
}

plat::Size KivoBaseTooltipView::_measureString(const std::optional<std::string>& string, const plat::Font& font) const {
    if (!string || string->empty()) return {};
    return plat::measureText(*string, font);
}

double KivoBaseTooltipView::_getTextHeight() {
    _titleSize = _measureString(_text, _textFont);
    return _titleSize.height;
}

void KivoBaseTooltipView::_calculateArrowPosition(Point point, double textHeight) {
    const float room = static_cast<float>(point.y) - static_cast<float>(textHeight) - static_cast<float>(ArrowHeight);
    _arrowDirection = room < TopRoom ? ArrowUp : ArrowDown;
}

Rect KivoBaseTooltipView::_getContentFrameRect(const Rect& rect, Point p) {
    const float A = static_cast<float>(_screenRect.width()), B = static_cast<float>(_screenRect.height());
    const float T = static_cast<float>(plat::Application::shared().statusBarFrame().height());
    const float w0 = static_cast<float>(rect.width()), h0 = static_cast<float>(rect.height());
    const float py = static_cast<float>(p.y);
    const float w = std::min(A / 2 - HalfWidthMargin, w0);
    float hb = h0;
    if (_arrowDirection == ArrowDown) {
        if (T >= py - h0) hb = py - T - StatusBarRoom;
    } else if (py + h0 + static_cast<float>(ArrowHeight) > B) {
        hb = B - py - BottomRoom;
    }
    // No room at all leaves only the arrow (a negative body would turn the bubble inside out).
    return {0, 0, w, std::max(0.0f, hb)};
}

Rect KivoBaseTooltipView::_getFrameRect(const Rect& rect, Point p) {
    const float A = static_cast<float>(_screenRect.width());
    const float w = static_cast<float>(rect.width()), hb = static_cast<float>(rect.height());
    const float arrow = static_cast<float>(ArrowHeight);
    float x = static_cast<float>(p.x) - w / 2;
    if (x < EdgeMargin)
        x = EdgeMargin;
    else if (x + w > A)
        x = w <= A / 2 ? A - w - EdgeMargin : A / 2 - HalfWidthMargin;
    const float y = _arrowDirection == ArrowDown ? static_cast<float>(p.y) - (hb + arrow) : static_cast<float>(p.y);
    return {x, y, w, hb + arrow};
}

void KivoBaseTooltipView::_prepareTooltipAtPoint(Point p) {
    _screenRect = plat::Screen::main().bounds();
    if (_text) setBounds({0, 0, _titleSize.width + 2 * TextPadding, _titleSize.height + 2 * TextPadding});
    const Rect onScreen = _getFrameRect(_getContentFrameRect(bounds(), p), p);
    setAlpha(0);
    // Placed on the screen; the frame lives in the superview's coordinates.
    auto parent = superview();
    const Point origin = parent ? parent->convertPointFromScreen(onScreen.origin) : onScreen.origin;
    setFrame({origin, onScreen.size});
    if (_hasShadow) {
        layer()->setShadowOffset(ShadowOffset);
        layer()->setShadowColor(plat::Color::black());
        layer()->setShadowOpacity(ShadowOpacity);
    }
}

// ---- Drawing ----

void KivoBaseTooltipView::drawRect(plat::Context& context, const Rect&) {
    if (_drawsBubble && !_isCustomized) _render(context);
}

void KivoBaseTooltipView::_render(plat::Context& context) {
    if (!_text || _text->empty()) return;
    const Rect f = frame();
    const double W = f.width(), H = f.height();
    auto parent = superview();
    const double ax = parent ? convertPointFromView(_senderPoint, parent.get()).x : _senderPoint.x - f.x();
    const bool up = _arrowDirection == ArrowUp;
    const double cr = _cornerRadius;

    plat::Path path = plat::roundedRectPath({0, up ? ArrowHeight : 0, W, H - ArrowHeight}, cr);
    const double tip = up ? 0 : H;
    // Pointing up, the base sits one point inside the body so no seam shows.
    const double base = up ? ArrowHeight + 1 : H - ArrowHeight;
    double x1 = ax - ArrowHalfWidth, x2 = ax + ArrowHalfWidth;
    if (cr > ax - ArrowHalfWidth) {
        x1 = cr;
        x2 = cr + ArrowBaseWidth;
    }
    if (x2 > W - cr) {
        x1 = W - cr - ArrowBaseWidth;
        x2 = W - cr;
    }
    plat::Path arrow;
    arrow.moveTo({x1, base});
    arrow.lineTo({ax, tip});
    arrow.lineTo({x2, base});
    arrow.close();
    path.addPath(arrow);

    context.setAlpha(_opacity);
    context.setFillColor(_backColor);
    context.setLineWidth(0);
    context.drawPath(path, plat::DrawingMode::FillStroke);
    context.drawText(plat::AttributedString(*_text, _textFont, _textColor), up ? TextOriginArrowUp : TextOriginArrowDown);
}
