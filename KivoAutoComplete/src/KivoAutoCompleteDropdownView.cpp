#include "KivoAutoComplete/KivoAutoCompleteDropdownView.h"

#include <algorithm>

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "Platform/ui/label.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/table_view_cell.h"

std::shared_ptr<KivoAutoCompleteDropdownView> KivoAutoCompleteDropdownView::create(
    const std::shared_ptr<KivoAutoComplete>& autoComplete) {
    auto view = initialized(std::shared_ptr<KivoAutoCompleteDropdownView>(new KivoAutoCompleteDropdownView()));
    view->_autoComplete = autoComplete;
    return view;
}

void KivoAutoCompleteDropdownView::initialize() {
    plat::TableView::initialize();
    auto self = std::static_pointer_cast<KivoAutoCompleteDropdownView>(shared_from_this());
    setDataSource(std::static_pointer_cast<plat::TableViewDataSource>(self));
    setDelegate(std::static_pointer_cast<plat::TableViewDelegate>(self));
    setUserInteractionEnabled(true);
    // Every row is one cell high.
    setRowHeight(_cellHeight);
}

// ---- Height ----

double KivoAutoCompleteDropdownView::getTableViewHeight(const KivoAutoComplete& autoComplete, std::int64_t rows) {
    if (autoComplete.maxItems() <= 0) return 0;
    return static_cast<double>(std::clamp<std::int64_t>(rows, 0, autoComplete.maxItems())) * CellHeight;
}

void KivoAutoCompleteDropdownView::changeTableViewHeightWithNumberOfRows(std::int64_t rows) {
    auto box = autoComplete();
    if (!box) return;
    double height = 0;
    if (box->dropDownMode() != 0) {
        // The table fills the full-screen popup inside its margin (a screen-high table would run past
        // the popup's bottom, its last rows out of reach).
        const plat::Rect screen = plat::Screen::main().bounds();
        const auto& back = box->dropDownBackView();
        const bool placed = back && !back->bounds().isEmpty();
        setFrame(placed ? back->bounds().insetBy(KivoDropDown::DropDownViewInset, KivoDropDown::DropDownViewInset)
                        : plat::Rect(0, 0, screen.width(), screen.height()));
        height = screen.height();
    } else {
        height = getTableViewHeight(*box, rows);
        const plat::Rect f = frame();
        setFrame({f.x(), f.y(), f.width(), height});
    }
    if (height == box->dropDownHeight()) return;
    box->setDropDownHeight(height);
    // An open popup is placed again: above the field it keeps its bottom edge on the field as it
    // grows and shrinks; over the screen it keeps to the screen.
    if (box->isDropDownOpen() && box->rootView()) box->updateFrame();
}

int KivoAutoCompleteDropdownView::getCorrespondIndexofXamarinView(const plat::Value& item) const {
    auto box = autoComplete();
    if (!box || !box->itemsSource()) return 0;
    const auto& items = *box->itemsSource();
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k].isEqual(item)) return static_cast<int>(k);
    }
    return 0;
}

// ---- Rows ----

std::int64_t KivoAutoCompleteDropdownView::numberOfRowsInSection(plat::TableView&, std::int64_t) {
    const auto rows = static_cast<std::int64_t>(_itemsSource->size());
    changeTableViewHeightWithNumberOfRows(rows);
    return rows;
}

void KivoAutoCompleteDropdownView::styleLabel(plat::Label& label, const plat::Rect& content, double y,
                                              const std::string& text) const {
    label.setFrame({LabelInset, y, std::max(0.0, content.width() - 2 * LabelInset), content.height()});
    label.setText(text);
    label.setTextColor(_textColor.value_or(plat::Color::black()));
    label.setFont(_textFont.value_or(plat::Font::system(plat::TableViewCell::TextFontSize)));
    label.setTextAlignment(_textAlignment);
}

std::shared_ptr<plat::TableViewCell> KivoAutoCompleteDropdownView::cellForRowAtIndexPath(plat::TableView&,
                                                                                         const plat::IndexPath& indexPath) {
    auto cell = dequeueReusableCellWithIdentifier(CellId);
    if (!cell) cell = plat::TableViewCell::create(plat::TableViewCellStyle::Default, CellId);
    const auto content = cell->contentView();
    const auto subviews = content->subviews();
    for (const auto& sub : subviews) sub->removeFromSuperview();
    auto box = autoComplete();
    if (!box) return cell;

    // Each row has its own selected background in the box's colour (a view shows in one place).
    auto selected = cell->selectedBackgroundView();
    if (!selected) {
        selected = plat::View::create();
        selected->setUserInteractionEnabled(true);
        cell->setSelectedBackgroundView(selected);
    }
    if (selected->backgroundColor() != box->selectedBackgroundColor())
        selected->setBackgroundColor(box->selectedBackgroundColor());
    cell->setBackgroundColor(plat::Color::clear());
    cell->setFrame({0, 0, frame().width(), _cellHeight});
    content->setFrame({0, 0, frame().width(), _cellHeight});

    if (box->isXf()) {
        fillXamarinRow(box, *cell, indexPath.row);
        return cell;
    }
    const auto row = static_cast<std::size_t>(indexPath.row);
    auto label = plat::Label::create();
    styleLabel(*label, content->frame(), content->frame().y(),
               row < _itemsSource->size() ? *(*_itemsSource)[row] : std::string());
    content->addSubview(label);
    box->normalizeCellText(*label, label->text());
    if (box->filterString()) box->highlightedSubstring(*box->filterString(), *label);
    return cell;
}

void KivoAutoCompleteDropdownView::fillXamarinRow(const std::shared_ptr<KivoAutoComplete>& box, plat::TableViewCell& cell,
                                                  std::int64_t row) {
    auto d = box->autoCompleteDelegate();
    if (!d) return;
    const int index = getCorrespondIndexofXamarinView(box->itemForRow(row));
    auto answer = d->getXamarinCustomView(box, index);
    if (!answer || !*answer) return;
    const auto& view = *answer;
    const auto& content = cell.contentView();
    const plat::Rect c = content->frame();
    const plat::Rect own = view->frame();
    if (own.width() == 0 && own.height() == 0) {
        // A view without a size is taken for a label and laid out and styled as the built-in one.
        const auto r = static_cast<std::size_t>(row);
        const std::string text = r < _itemsSource->size() ? *(*_itemsSource)[r] : std::string();
        if (auto label = std::dynamic_pointer_cast<plat::Label>(view)) {
            styleLabel(*label, c, own.y(), text);
            content->addSubview(label);
            box->normalizeCellText(*label, label->text());
            if (box->filterString()) box->highlightedSubstring(*box->filterString(), *label);
            return;
        }
        view->setFrame({LabelInset, own.y(), std::max(0.0, c.width() - 2 * LabelInset), c.height()});
    } else {
        view->setFrame({own.x() + LabelInset, own.y(), c.width(), c.height()});
    }
    content->addSubview(view);
}

void KivoAutoCompleteDropdownView::willDisplayCell(plat::TableView&, plat::TableViewCell& cell, const plat::IndexPath&) {
    cell.setSeparatorInset({});
    cell.setLayoutMargins({});
    cell.setPreservesSuperviewLayoutMargins(false);
}

std::optional<plat::IndexPath> KivoAutoCompleteDropdownView::willSelectRowAtIndexPath(plat::TableView& table,
                                                                                      const plat::IndexPath& indexPath) {
    if (indexPathForSelectedRow() == indexPath) {
        didSelectRowAtIndexPath(table, indexPath);
        return std::nullopt;
    }
    return indexPath;
}

void KivoAutoCompleteDropdownView::didSelectRowAtIndexPath(plat::TableView&, const plat::IndexPath& indexPath) {
    auto box = autoComplete();
    if (!box) return;
    box->setSelectedIndex(box->indexForRow(indexPath.row));
    box->setIsDropDownOpen(false);
}
