#pragma once
// A tooltip bubble: one text in a rounded rectangle, its triangular arrow pointing at the point the
// sender gives. It opens over or under that point, whichever fits, never leaves the screen, appears
// with a fade, and goes away either straight away or after a delay. Setting isCustomized hands the content over to the
// subclass or owner: the base view then skips its own layout and drawing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

namespace plat {
class Timer;
}

class KIVO_CORE_EXPORT KivoBaseTooltipView : public plat::View {
public:
    // Arrow directions.
    static constexpr std::int64_t ArrowUp = 0;    // bubble below the point
    static constexpr std::int64_t ArrowDown = 2;  // bubble above the point

    static std::shared_ptr<KivoBaseTooltipView> create();
    ~KivoBaseTooltipView() override;

    // ---- Properties (plain stores unless told otherwise) ----
    bool hasShadow() const { return _hasShadow; }
    void setHasShadow(bool shadow) { _hasShadow = shadow; }
    bool isVisible() const { return _isVisible; }
    // Shows (laid out anew and faded in) or hides (at once, or after disappearDelay). Showing a
    // tooltip whose hide is pending cancels that hide.
    void setIsVisible(bool visible);
    void show() { setIsVisible(true); }
    void hide() { setIsVisible(false); }
    bool isCustomized() const { return _isCustomized; }
    void setIsCustomized(bool customized) { _isCustomized = customized; }
    std::int32_t cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(std::int32_t radius) { _cornerRadius = radius; }
    // Seconds; an appear duration of 0 means 0.2 s. The disappear duration is kept for users only.
    double appearDuration() const { return _appearDuration; }
    void setAppearDuration(double d) { _appearDuration = d; }
    double appearDelay() const { return _appearDelay; }
    void setAppearDelay(double d) { _appearDelay = d; }
    double disappearDuration() const { return _disappearDuration; }
    void setDisappearDuration(double d) { _disappearDuration = d; }
    double disappearDelay() const { return _disappearDelay; }
    void setDisappearDelay(double d) { _disappearDelay = d; }
    // nullopt is no text at all (the bounds then keep their size); an empty text draws nothing.
    const std::optional<std::string>& text() const { return _text; }
    void setText(std::optional<std::string> text) { _text = std::move(text); }
    const plat::Color& textColor() const { return _textColor; }
    void setTextColor(const plat::Color& c) { _textColor = c; }
    const plat::Font& textFont() const { return _textFont; }
    void setTextFont(const plat::Font& f) { _textFont = f; }
    double textFontSize() const { return _textFontSize; }
    void setTextFontSize(double size) { _textFontSize = size; }
    const plat::Color& backColor() const { return _backColor; }
    // A different colour is stored and redrawn; the same colour does nothing.
    void setBackColor(const plat::Color& color);
    double opacity() const { return _opacity; }
    void setOpacity(double o) { _opacity = o; }
    double gap() const { return _gap; }
    void setGap(double g) { _gap = g; }
    double threshold() const { return _threshold; }
    void setThreshold(double t) { _threshold = t; }
    // In the superview's coordinates.
    plat::Point senderPoint() const { return _senderPoint; }
    void setSenderPoint(plat::Point p) { _senderPoint = p; }
    // Where the bubble went at the last layout.
    std::int64_t arrowDirection() const { return _arrowDirection; }

    // A new size for the text: the text font becomes the bold system font of it. Asks for no redraw.
    void setFontSize(double size);

    // ---- Operations ----
    void initInternals();
    // Lays the tooltip out again and redraws it (nothing when customised).
    void invalidate();
    // Also lays the tooltip out again (restarting its fade-in), unless it is customised.
    void setNeedsDisplay() override;
    void drawRect(plat::Context& context, const plat::Rect& rect) override;

    static constexpr double ArrowHeight = 15;
    static constexpr double TextPadding = 5;

protected:
    KivoBaseTooltipView() : plat::View({}) {}
    void _hideTooltip(plat::Timer& timer);
    void _layoutTooltip();
    double _getTextHeight();
    // Overridable, so that a subclass can measure with its own text layout.
    virtual plat::Size _measureString(const std::optional<std::string>& string, const plat::Font& font) const;
    void _calculateArrowPosition(plat::Point point, double textHeight);
    void _prepareTooltipAtPoint(plat::Point point);
    // The bubble's body for the bounds `rect`: width limited to the screen, height cut to fit.
    plat::Rect _getContentFrameRect(const plat::Rect& rect, plat::Point senderPoint);
    // The view's frame (screen coordinates) for a body of the size of `rect`.
    plat::Rect _getFrameRect(const plat::Rect& rect, plat::Point senderPoint);
    void _render(plat::Context& context);
    void initialize() override;

private:
    // The sender point on the screen: placement clamps against the screen.
    KIVO_CORE_NO_EXPORT plat::Point senderOnScreen() const;
    KIVO_CORE_NO_EXPORT void cancelPendingHide();

    plat::Rect _screenRect;
    plat::Size _titleSize;
    std::int64_t _arrowDirection = ArrowUp;
    bool _hasShadow = false;
    bool _isVisible = false;
    bool _isCustomized = false;
    std::int32_t _cornerRadius = 5;
    double _appearDuration = 0;
    double _appearDelay = 0;
    double _disappearDuration = 0;
    double _disappearDelay = 0;
    std::optional<std::string> _text;
    plat::Color _textColor = plat::Color::white();
    plat::Font _textFont = plat::Font::boldSystem(12);
    double _textFontSize = 12;
    plat::Color _backColor = plat::Color::darkGray();
    double _opacity = 1.0;
    double _gap = 0;
    double _threshold = 0;
    plat::Point _senderPoint;
    std::shared_ptr<plat::Timer> _hideTimer;
    // Whether the last layout showed the bubble: a pending hide leaves the last drawing on screen.
    bool _drawsBubble = false;
};
