#include "Platform/ui/picker_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Platform/foundation/log.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/text.h"
#include "ui/followed_touch.h"
#include "foundation/saturating_cast.h"

namespace plat {

namespace {

constexpr double SeparatorWidth = 1;
constexpr double TitleInset = 6;

}  // namespace

std::shared_ptr<PickerView> PickerView::create(const Rect& frame) {
    return initialized(std::shared_ptr<PickerView>(new PickerView(frame)));
}

PickerView::PickerView(const Rect& frame) : View(frame) { setBackgroundColor(Color::white()); }

void PickerView::setDataSource(std::weak_ptr<PickerViewDataSource> dataSource) {
    _dataSource = std::move(dataSource);
    reloadAllComponents();
}

void PickerView::setDelegate(std::weak_ptr<PickerViewDelegate> delegate) {
    _delegate = std::move(delegate);
    setNeedsDisplay();
}

std::int64_t PickerView::numberOfComponents() const {
    auto source = dataSource();
    return source ? std::max<std::int64_t>(0, source->numberOfComponentsInPickerView(const_cast<PickerView&>(*this))) : 0;
}

std::int64_t PickerView::numberOfRowsInComponent(std::int64_t component) const {
    auto source = dataSource();
    if (!source || component < 0 || component >= numberOfComponents()) return 0;
    return std::max<std::int64_t>(0, source->numberOfRowsInComponent(const_cast<PickerView&>(*this), component));
}

// ---- Selection ----

std::int64_t PickerView::selectedRow(std::int64_t component) const {
    const auto it = _selected.find(component);
    return it == _selected.end() ? -1 : it->second;
}

void PickerView::selectRow(std::int64_t row, std::int64_t component, bool) {
    const std::int64_t rows = numberOfRowsInComponent(component);
    if (row < 0 || row >= rows) {
        log("PickerView: row " + std::to_string(row) + " of component " + std::to_string(component) +
            " does not exist (" + std::to_string(rows) + " rows); the selection stays as it was");
        return;
    }
    _selected[component] = row;
    _offsets.erase(component);  // the selection places the list
    setNeedsDisplay();
}

void PickerView::deselectRow(std::int64_t component) {
    _selected.erase(component);
    _offsets.erase(component);
    setNeedsDisplay();
}

void PickerView::reloadAllComponents() {
    std::erase_if(_selected, [&](const auto& e) { return e.second >= numberOfRowsInComponent(e.first); });
    std::erase_if(_offsets, [&](const auto& e) { return e.first >= numberOfComponents(); });
    setNeedsDisplay();
}

void PickerView::reloadComponent(std::int64_t component) {
    if (selectedRow(component) >= numberOfRowsInComponent(component)) _selected.erase(component);
    setNeedsDisplay();
}

// ---- Geometry ----

double PickerView::componentWidth() const {
    const std::int64_t n = numberOfComponents();
    return n > 0 ? bounds().width() / static_cast<double>(n) : 0;
}

std::int64_t PickerView::componentAt(double x) const {
    const double width = componentWidth();
    if (!(width > 0)) return -1;
    const double index = std::floor((x - bounds().x()) / width);
    if (!(index >= 0) || index >= static_cast<double>(numberOfComponents())) return -1;
    return static_cast<std::int64_t>(index);
}

double PickerView::maximumOffset(std::int64_t component) const {
    return std::max(0.0, static_cast<double>(numberOfRowsInComponent(component)) * RowHeight - bounds().height());
}

// A list the finger scrolled stays where it was left (within the rows there are now); otherwise the
// selected row is in the middle where the list is long enough, as near it as it goes else, at the
// picker's size of the moment (it may be laid out after the selection is made).
double PickerView::offsetIn(std::int64_t component) const {
    double offset = 0;
    if (const auto it = _offsets.find(component); it != _offsets.end())
        offset = it->second;
    else if (const std::int64_t row = selectedRow(component); row >= 0)
        offset = (static_cast<double>(row) + 0.5) * RowHeight - bounds().height() / 2;
    return std::clamp(offset, 0.0, maximumOffset(component));
}

Rect PickerView::rectForRow(std::int64_t row, std::int64_t component) const {
    if (row < 0 || row >= numberOfRowsInComponent(component)) return {};
    const Rect b = bounds();
    const double width = componentWidth();
    return {b.x() + static_cast<double>(component) * width,
            b.y() + static_cast<double>(row) * RowHeight - offsetIn(component), width, RowHeight};
}

Size PickerView::sizeThatFits(Size size) const { return {size.width > 0 ? size.width : DefaultWidth, DefaultHeight}; }

// ---- Drawing ----

std::string PickerView::titleFor(std::int64_t row, std::int64_t component) {
    auto d = delegate();
    if (!d) return {};
    return d->titleForRow(*this, row, component).value_or(std::string());
}

void PickerView::drawRect(Context& context, const Rect&) {
    auto keep = sharedAs<PickerView>();
    const Rect b = bounds();
    const std::int64_t components = numberOfComponents();
    const double width = componentWidth();
    if (components == 0 || !(width >= 1)) return;
    const Font font = Font::system(TitleFontSize);
    const double titleTop = (RowHeight - fontMetrics(font).lineHeight) / 2;
    TextOptions options;
    options.alignment = TextAlignment::Center;
    options.lineBreak = LineBreakMode::TruncateTail;
    const Color chosen = tintColor();
    for (std::int64_t c = 0; c < components; ++c) {
        const Rect column{b.x() + static_cast<double>(c) * width, b.y(), width, b.height()};
        const std::int64_t rows = numberOfRowsInComponent(c);
        const double offset = offsetIn(c);
        // Only the rows in sight are asked for their titles.
        const std::int64_t first = detail::saturatingCast<std::int64_t>(std::floor(offset / RowHeight));
        const std::int64_t last = std::min(rows, detail::saturatingCast<std::int64_t>(std::ceil((offset + b.height()) / RowHeight)));
        context.save();
        context.clipToRect(column);
        for (std::int64_t r = std::max<std::int64_t>(0, first); r < last; ++r) {
            const Rect row{column.x(), b.y() + static_cast<double>(r) * RowHeight - offset, width, RowHeight};
            const bool selected = r == selectedRow(c);
            if (selected) {
                context.setFillColor(SelectedRowColor);
                context.fillRect(row);
            }
            const std::string title = titleFor(r, c);
            if (title.empty()) continue;
            context.drawText(AttributedString(title, font, selected ? chosen : Color::black()),
                             Rect(row.x() + TitleInset, row.y() + titleTop, row.width() - 2 * TitleInset, RowHeight - titleTop),
                             options);
        }
        context.restore();
        if (c > 0) {
            context.setStrokeColor(SeparatorColor);
            context.setLineWidth(SeparatorWidth);
            context.strokeLine({column.x(), b.y()}, {column.x(), b.maxY()});
        }
    }
}

// ---- Touches ----

void PickerView::touchesBegan(const TouchSet& touches, const Event&) {
    if (_press || touches.empty()) return;
    const Point p = touches.front()->locationInView(this);
    const std::int64_t component = componentAt(p.x);
    _press = Press{touches.front(), p, component, offsetIn(component), false};
}

void PickerView::touchesMoved(const TouchSet& touches, const Event&) {
    if (!_press) return;
    const Touch* touch = detail::followedTouch(touches, _press->touch);
    if (!touch) return;
    const double dy = touch->locationInView(this).y - _press->start.y;
    if (!_press->dragging && std::abs(dy) <= DragThreshold) return;
    _press->dragging = true;
    if (_press->component < 0) return;
    _offsets[_press->component] = std::clamp(_press->startOffset - dy, 0.0, maximumOffset(_press->component));
    setNeedsDisplay();
}

void PickerView::touchesEnded(const TouchSet& touches, const Event&) {
    if (!_press) return;
    const Touch* touch = detail::followedTouch(touches, _press->touch);
    if (!touch) return;
    const Press press = *_press;
    _press.reset();
    if (press.dragging || press.component < 0) return;
    const Point p = touch->locationInView(this);
    if (componentAt(p.x) != press.component) return;
    const double y = p.y - bounds().y() + offsetIn(press.component);
    const std::int64_t row = y >= 0 ? detail::saturatingCast<std::int64_t>(std::floor(y / RowHeight)) : -1;
    if (row < 0 || row >= numberOfRowsInComponent(press.component)) return;
    auto keep = sharedAs<PickerView>();
    // The list stays put under the finger.
    _offsets[press.component] = offsetIn(press.component);
    _selected[press.component] = row;
    setNeedsDisplay();
    if (auto d = delegate()) d->didSelectRow(*this, row, press.component);
}

void PickerView::touchesCancelled(const TouchSet& touches, const Event&) {
    if (_press && detail::followedTouch(touches, _press->touch)) _press.reset();
}

}  // namespace plat
