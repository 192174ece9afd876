#include "KivoComboBox/KivoComboBoxDropdownView.h"

#include <algorithm>
#include <iterator>

#include "KivoComboBox/KivoComboBox.h"
#include "Platform/ui/label.h"
#include "Platform/ui/table_view_cell.h"

std::shared_ptr<KivoComboBoxDropdownView> KivoComboBoxDropdownView::create(const std::shared_ptr<KivoComboBox>& comboBox) {
    auto view = initialized(std::shared_ptr<KivoComboBoxDropdownView>(new KivoComboBoxDropdownView()));
    view->_comboBox = comboBox;
    return view;
}

void KivoComboBoxDropdownView::initialize() {
    plat::TableView::initialize();
    auto self = std::static_pointer_cast<KivoComboBoxDropdownView>(shared_from_this());
    setDataSource(std::static_pointer_cast<plat::TableViewDataSource>(self));
    setDelegate(std::static_pointer_cast<plat::TableViewDelegate>(self));
}

void KivoComboBoxDropdownView::setItemsSource(const DisplayList& texts) {
    if (&texts != _itemsSource.get()) *_itemsSource = texts;
    reloadData();
    // Row geometry now, while the items change, rather than when the list opens.
    numberOfRowsInSection(0);
}

void KivoComboBoxDropdownView::replaceItems(std::size_t at, std::size_t count, DisplayList texts) {
    auto& list = *_itemsSource;
    at = std::min(at, list.size());
    count = std::min(count, list.size() - at);
    const std::size_t common = std::min(count, texts.size());
    std::move(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(common), list.begin() + static_cast<std::ptrdiff_t>(at));
    const auto tail = list.begin() + static_cast<std::ptrdiff_t>(at + common);
    if (count > common) {
        list.erase(tail, tail + static_cast<std::ptrdiff_t>(count - common));
    } else {
        list.insert(tail, std::make_move_iterator(texts.begin() + static_cast<std::ptrdiff_t>(common)),
                    std::make_move_iterator(texts.end()));
    }
    reloadData();
}

std::int64_t KivoComboBoxDropdownView::numberOfRowsInSection(plat::TableView&, std::int64_t) {
    return static_cast<std::int64_t>(_itemsSource->size());
}

void KivoComboBoxDropdownView::showContent(plat::TableViewCell& cell, const std::shared_ptr<plat::View>& view) {
    const auto& content = cell.contentView();
    const auto subviews = content->subviews();
    for (const auto& sub : subviews) {
        if (sub != view) sub->removeFromSuperview();
    }
    if (view && view->superview() != content) content->addSubview(view);
}

void KivoComboBoxDropdownView::fillWithLabel(plat::TableViewCell& cell, const std::string& text) {
    const auto& content = cell.contentView();
    std::shared_ptr<plat::Label> label;
    if (content->subviews().size() == 1 && content->subviews().front()->tag() == LabelTag) {
        label = std::dynamic_pointer_cast<plat::Label>(content->subviews().front());
    }
    if (!label) {
        label = plat::Label::create();
        label->setTag(LabelTag);
    }
    const plat::Rect c = content->frame();
    label->setFrame({LabelInset, c.y(), c.width() - 2 * LabelInset, c.height()});
    label->setText(text);
    label->setTextColor(_textColor.value_or(plat::Color::black()));
    label->setFont(_textFont.value_or(plat::Font::system(plat::TableViewCell::TextFontSize)));
    label->setTextAlignment(_textAlignment);
    showContent(cell, label);
    if (backgroundColor()) cell.setBackgroundColor(plat::Color::clear());
}

std::shared_ptr<plat::TableViewCell> KivoComboBoxDropdownView::cellForRowAtIndexPath(plat::TableView&,
                                                                                     const plat::IndexPath& indexPath) {
    auto cell = dequeueReusableCellWithIdentifier(SimpleIdentifier);
    if (!cell) cell = plat::TableViewCell::create(plat::TableViewCellStyle::Subtitle, SimpleIdentifier);
    auto combo = comboBox();
    if (!combo) return cell;

    // Each row has its own selected background in the combo box's colour (a view shows in one place).
    auto selected = cell->selectedBackgroundView();
    if (!selected) {
        selected = plat::View::create();
        cell->setSelectedBackgroundView(selected);
    }
    if (selected->backgroundColor() != combo->selectedBackgroundColor())
        selected->setBackgroundColor(combo->selectedBackgroundColor());

    // The row's size now, so that what it shows is laid out for it before the table places it.
    const double rowHeight = rectForRowAtIndexPath(indexPath).height();
    cell->setFrame({0, 0, frame().width(), rowHeight});
    cell->contentView()->setFrame({0, 0, frame().width(), rowHeight});

    auto args =
        std::make_shared<KivoDropDownItemLoadingEventArgs>(combo->itemForRow(indexPath.row), cell->contentView()->frame());
    if (auto d = combo->comboBoxDelegate()) {
        if (auto answer = d->dropDownItemLoading(combo, args)) {
            showContent(*cell, *answer);
            return cell;
        }
    }
    const auto& event = combo->dropDownItemLoading();
    if (const auto handlers = event ? event->handlers() : nullptr; handlers && !handlers->empty()) {
        event->raise(combo, args);
        // A row whose handlers give no view shows nothing, never what the cell showed for another row.
        showContent(*cell, args->view());
        return cell;
    }
    const auto row = static_cast<std::size_t>(indexPath.row);
    fillWithLabel(*cell, row < _itemsSource->size() ? (*_itemsSource)[row] : std::string());
    return cell;
}

void KivoComboBoxDropdownView::willDisplayCell(plat::TableView&, plat::TableViewCell& cell, const plat::IndexPath&) {
    cell.setSeparatorInset({});
    cell.setLayoutMargins({});
    cell.setPreservesSuperviewLayoutMargins(false);
}

std::optional<plat::IndexPath> KivoComboBoxDropdownView::willSelectRowAtIndexPath(plat::TableView& table,
                                                                                  const plat::IndexPath& indexPath) {
    if (indexPathForSelectedRow() == indexPath) {
        didSelectRowAtIndexPath(table, indexPath);
        return std::nullopt;
    }
    return indexPath;
}

void KivoComboBoxDropdownView::didSelectRowAtIndexPath(plat::TableView&, const plat::IndexPath& indexPath) {
    auto combo = comboBox();
    if (!combo) return;
    combo->setSelectedIndex(combo->indexForRow(indexPath.row));
    combo->setIsDropDownOpen(false);
    if (auto header = combo->header()) header->endEditing(true);
}
