// OmbriChartBase: anchored and rotated text, titles, and the control's coordinates.

#include <algorithm>
#include <cmath>

#include "ChartCore/OmbriChartBase.h"
#include "KivoCore/KivoRenderState.h"

namespace {

constexpr const char* Ellipsis = "\xE2\x80\xA6";

// How much of the text's width (height) lies before the anchor for an alignment code, codes clamped
// to 0…2. Horizontal codes run right of / centred on / left of the point; vertical codes above /
// centred on / below it.
double horizontalShare(std::int64_t code) { return static_cast<double>(std::clamp<std::int64_t>(code, 0, 2)) * 0.5; }
double verticalShare(std::int64_t code) { return 1.0 - static_cast<double>(std::clamp<std::int64_t>(code, 0, 2)) * 0.5; }

bool isUsable(const std::shared_ptr<KivoSize>& size) {
    return size && std::isfinite(size->width()) && std::isfinite(size->height());
}

// The top-left corner of the text box for an anchor, or null when there is nothing to draw.
std::shared_ptr<KivoPoint> textOrigin(IKivoRenderEngine& engine, const std::string& text, const KivoPoint& pos,
                                      std::int64_t halign, std::int64_t valign, const std::shared_ptr<KivoSize>& size) {
    if (text.empty()) return nullptr;
    const auto measured = isUsable(size) ? size : engine.measureString(text);
    if (!measured) return nullptr;
    return KivoPoint::create(pos.x() - measured->width() * horizontalShare(halign),
                             pos.y() - measured->height() * verticalShare(valign));
}

// Byte offsets where UTF-8 characters start, so a cut never splits one.
std::vector<std::size_t> characterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

// The title, or its longest beginning that fits `room` with an ellipsis after it (the ellipsis alone
// when nothing fits).
std::string fitted(IKivoRenderEngine& engine, const std::string& title, double room) {
    auto widthOf = [&](const std::string& s) {
        auto m = engine.measureString(s);
        return m ? m->width() : 0.0;
    };
    if (widthOf(title) <= room) return title;
    const auto starts = characterStarts(title);
    std::size_t lo = 0, hi = starts.size();  // keep starts[0..k) characters; find the largest k that fits
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        const std::size_t bytes = mid < starts.size() ? starts[mid] : title.size();
        if (widthOf(title.substr(0, bytes) + Ellipsis) <= room)
            lo = mid;
        else
            hi = mid - 1;
    }
    const std::size_t bytes = lo < starts.size() ? starts[lo] : title.size();
    return title.substr(0, bytes) + Ellipsis;
}

}  // namespace

void OmbriChartBase::renderText(const std::shared_ptr<IKivoRenderEngine>& engine, const std::string& text,
                                const std::shared_ptr<KivoPoint>& pos, std::int64_t halign, std::int64_t valign,
                                const std::shared_ptr<KivoSize>& size) {
    if (!engine || !pos) return;
    if (auto origin = textOrigin(*engine, text, *pos, halign, valign, size)) engine->drawString(text, origin);
}

void OmbriChartBase::renderText(const std::shared_ptr<IKivoRenderEngine>& engine, const std::string& text,
                                const std::shared_ptr<KivoPoint>& pos, std::int64_t halign, std::int64_t valign) {
    renderText(engine, text, pos, halign, valign, nullptr);
}

void OmbriChartBase::renderRotatedText(const std::shared_ptr<IKivoRenderEngine>& engine, const std::string& text,
                                       const std::shared_ptr<KivoPoint>& pos, std::int64_t halign, std::int64_t valign,
                                       const std::shared_ptr<KivoPoint>& center, double angle,
                                       const std::shared_ptr<KivoSize>& size) {
    if (!engine || !pos) return;
    auto origin = textOrigin(*engine, text, *pos, halign, valign, size);
    if (!origin) return;
    if (!std::isfinite(angle) || angle == 0) {
        engine->drawString(text, origin);
        return;
    }
    engine->drawStringRotated(text, origin, center ? center : pos, angle);
}

std::shared_ptr<KivoRect> OmbriChartBase::drawTitle(const std::shared_ptr<IKivoRenderEngine>& engine,
                                                    const std::shared_ptr<KivoRect>& rect,
                                                    const std::optional<std::string>& title, bool isFooter) {
    if (!engine || !rect || !title || title->empty()) return rect;
    const auto saved = engine->saveState();
    const plat::Color textFill = engine->getTextFill();
    engine->setFont(isFooter ? _footerFont : _headerFont);
    engine->setTextFill((isFooter ? _footerTextColor : _headerTextColor).value_or(_textColor.value_or(plat::Color::black())));

    const std::string text = fitted(*engine, *title, std::max(0.0, rect->width() - 2 * TitlePadding));
    const auto size = engine->measureString(text);
    const double textHeight = size ? size->height() : 0.0;
    const double band = std::clamp(textHeight + 2 * TitlePadding, 0.0, std::max(0.0, rect->height()));
    auto titleRect = KivoRect::create(rect->left(), isFooter ? rect->bottom() - band : rect->top(), rect->width(), band);
    renderText(engine, text, KivoPoint::create(titleRect->left() + titleRect->width() / 2, titleRect->top() + band / 2), 1, 1,
               size);

    engine->setTextFill(textFill);
    engine->restoreState(saved);
    (isFooter ? _rectFooter : _rectHeader) = titleRect;
    return KivoRect::create(rect->left(), isFooter ? rect->top() : rect->top() + band, rect->width(), rect->height() - band);
}

std::shared_ptr<KivoPoint> OmbriChartBase::toControl(double x, double y) const {
    if (!_rectChart) return KivoPoint::create(x, y);
    return KivoPoint::create(x - _rectChart->left(), y - _rectChart->top());
}

bool OmbriChartBase::contains(const std::shared_ptr<KivoRect>& rect, const std::shared_ptr<KivoPoint>& point) {
    return rect && rect->containsPoint(point);
}

KivoChartElement OmbriChartBase::titleElementAt(const std::shared_ptr<KivoPoint>& point) const {
    if (contains(rectHeader(), point)) return KivoChartElementHeader;
    if (contains(rectFooter(), point)) return KivoChartElementFooter;
    return KivoChartElementNone;
}

plat::Font OmbriChartBase::getDescriptor(const plat::Dictionary& attributes) const {
    return plat::fontFromAttributes(attributes);
}
