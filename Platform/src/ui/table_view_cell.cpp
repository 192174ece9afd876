#include "Platform/ui/table_view_cell.h"

#include <algorithm>

#include "Platform/graphics/text.h"
#include "Platform/ui/label.h"

namespace plat {

std::shared_ptr<TableViewCell> TableViewCell::create(TableViewCellStyle style, std::string reuseIdentifier) {
    return initialized(std::shared_ptr<TableViewCell>(new TableViewCell(style, std::move(reuseIdentifier))));
}

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View({}), _style(style), _reuseIdentifier(std::move(reuseIdentifier)) {}

void TableViewCell::initialize() {
    View::initialize();
    setBackgroundColor(Color::white());
    setClipsToBounds(true);
    _contentView = View::create();
    addSubview(_contentView);
    _textLabel = Label::create();
    _textLabel->setFont(Font::system(TextFontSize));
    _contentView->addSubview(_textLabel);
    if (_style != TableViewCellStyle::Default) {
        _detailTextLabel = Label::create();
        const bool subtitle = _style == TableViewCellStyle::Subtitle;
        _detailTextLabel->setFont(Font::system(subtitle ? SubtitleFontSize : TextFontSize));
        _detailTextLabel->setTextColor(subtitle ? Color::black() : DetailTextColor);
        if (_style == TableViewCellStyle::Value1) _detailTextLabel->setTextAlignment(TextAlignment::Right);
        _contentView->addSubview(_detailTextLabel);
    }
    _defaultSelectedBackground = View::create();
    _defaultSelectedBackground->setBackgroundColor(DefaultSelectedBackgroundColor);
    _separator = View::create();
    _separator->setBackgroundColor(_separatorColor);
    _separator->setUserInteractionEnabled(false);
    addSubview(_separator);
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
    if (_backgroundView) _backgroundView->removeFromSuperview();
    _backgroundView = std::move(view);
    if (_backgroundView) insertSubview(_backgroundView, 0);
    setNeedsLayout();
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
    if (auto old = activeSelectedBackground()) old->removeFromSuperview();
    _selectedBackgroundView = std::move(view);
    updateSelectionBackground();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style) {
    if (auto old = activeSelectedBackground()) old->removeFromSuperview();
    _selectionStyle = style;
    updateSelectionBackground();
}

std::shared_ptr<View> TableViewCell::activeSelectedBackground() const {
    if (_selectedBackgroundView) return _selectedBackgroundView;
    return _selectionStyle == TableViewCellSelectionStyle::None ? nullptr : _defaultSelectedBackground;
}

void TableViewCell::setSelected(bool selected, bool) {
    if (selected == _selected) return;
    _selected = selected;
    updateSelectionBackground();
}

void TableViewCell::setHighlighted(bool highlighted, bool) {
    if (highlighted == _highlighted) return;
    _highlighted = highlighted;
    updateSelectionBackground();
}

void TableViewCell::updateSelectionBackground() {
    auto background = activeSelectedBackground();
    if (!background) return;
    if (!(_selected || _highlighted)) {
        background->removeFromSuperview();
        return;
    }
    // Above the plain background, below the content.
    const auto& subs = subviews();
    const auto content = std::find(subs.begin(), subs.end(), _contentView);
    if (background->superview().get() != this) insertSubview(background, static_cast<std::size_t>(content - subs.begin()));
    background->setFrame(bounds());
}

void TableViewCell::setSeparatorInset(EdgeInsets inset) {
    _separatorInset = inset;
    setNeedsLayout();
}

void TableViewCell::setSeparatorColor(std::optional<Color> color) {
    _separatorColor = color;
    _separator->setBackgroundColor(color);
    _separator->setHidden(!color);
}

void TableViewCell::prepareForReuse() {
    setSelected(false);
    setHighlighted(false);
}

void TableViewCell::layoutSubviews() {
    const Rect b = bounds();
    _contentView->setFrame(b);
    if (_backgroundView) _backgroundView->setFrame(b);
    if (auto background = activeSelectedBackground(); background && background->superview().get() == this) {
        background->setFrame(b);
    }
    _separator->setFrame({b.x() + _separatorInset.left, b.maxY() - SeparatorThickness,
                          std::max(0.0, b.width() - _separatorInset.left - _separatorInset.right), SeparatorThickness});
    bringSubviewToFront(_separator.get());

    const double margin = DefaultSeparatorInset.left;
    const Rect content = b.insetBy(margin, 0);
    switch (_style) {
        case TableViewCellStyle::Subtitle: {
            const double h1 = fontMetrics(_textLabel->font()).lineHeight;
            const double h2 = fontMetrics(_detailTextLabel->font()).lineHeight;
            const double top = content.y() + (content.height() - h1 - LabelSpacing - h2) / 2;
            _textLabel->setFrame({content.x(), top, content.width(), h1});
            _detailTextLabel->setFrame({content.x(), top + h1 + LabelSpacing, content.width(), h2});
            break;
        }
        case TableViewCellStyle::Value1:
        case TableViewCellStyle::Value2: {
            const double split = _style == TableViewCellStyle::Value1 ? content.width() / 2 : content.width() / 3;
            _textLabel->setFrame({content.x(), content.y(), split, content.height()});
            _detailTextLabel->setFrame({content.x() + split, content.y(), content.width() - split, content.height()});
            break;
        }
        default:
            _textLabel->setFrame(content);
            break;
    }
}

}  // namespace plat
