// The auto-complete box's creation, items and suggestion list, look, delegate and layout. The
// selection and the text are in KivoAutoCompleteSelection.cpp, the filtering in
// KivoAutoCompleteFiltering.cpp.

#include "KivoAutoComplete/KivoAutoComplete.h"

#include <algorithm>

#include "KivoCore/KivoReflector.h"
#include "Platform/ui/screen.h"
#include "autocomplete/ItemTexts.h"

std::shared_ptr<KivoAutoComplete> KivoAutoComplete::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoAutoComplete>(new KivoAutoComplete(frame)));
}

KivoAutoComplete::KivoAutoComplete(const plat::Rect& frame)
    : KivoComboBox(frame), _itemTexts(std::make_unique<kivo::detail::ItemTexts>()) {}

KivoAutoComplete::~KivoAutoComplete() = default;

void KivoAutoComplete::initialize() {
    KivoComboBox::initialize();
    _initAutoComplete();
}

void KivoAutoComplete::_initAutoComplete() {
    const auto self = sharedAs<KivoAutoComplete>();
    setTemporaryItemSource(std::make_shared<plat::Array>());
    _filteringArgs = std::make_shared<KivoAutoCompleteFilteringEventArgs>(std::make_shared<plat::Array>(), false);

    // The arrow shows once there are items.
    if (button()) button()->setHidden(true);

    setCollectionView(KivoCollectionView::create());
}

void KivoAutoComplete::buildHeaderAndList() {
    // In place of the combo box's field and table, which this box would never show.
    const auto self = sharedAs<KivoAutoComplete>();
    _dropdownView = KivoAutoCompleteDropdownView::create(self);
    _dropdownView->setUserInteractionEnabled(true);
    setDropDownView(_dropdownView);

    _headerView = KivoAutoCompleteHeaderView::create(self, _dropdownView->itemsSource());
    const plat::Rect f = frame();
    _headerView->setFrame({0, 0, std::max(0.0, f.width() - f.height()), f.height()});
    _headerView->setText(text());
    _headerView->setEnabled(isEditable());
    _headerView->setPlaceholder(placeholder());
    setHeader(_headerView);
}

// ---- Items ----

void KivoAutoComplete::setItemsSource(plat::ArrayPtr items) {
    if (items == itemsSource()) return;
    auto keep = sharedAs<KivoAutoComplete>();
    adoptItems(items);
    useAllItemsAsCandidates();
    _itemTexts->invalidate();
    updateButton();
    if (!hasItems()) setSelectedIndex(NotFound);
    if (const auto& view = collectionView()) {
        // Announces the change, which makes the view's list (the application's array) the items.
        view->setSourceCollection(items ? items : std::make_shared<plat::Array>());
        view->refresh(false);
        view->moveCurrentToFirst();
    }
    bindAutoComplete();
}

void KivoAutoComplete::_onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>&) {
    const auto& view = collectionView();
    if (!view) return;
    auto keep = sharedAs<KivoAutoComplete>();
    adoptCollectionViewItems();
    useAllItemsAsCandidates();
    _itemTexts->invalidate();
    if (hasItems()) setSelectedIndex(NotFound);
    updateButton();
    bindAutoComplete();
}

void KivoAutoComplete::setCollectionView(std::shared_ptr<KivoCollectionView> view) {
    KivoComboBox::setCollectionView(view);
    const plat::ArrayPtr source = view ? view->sourceCollection() : nullptr;
    setTemporaryItemSource(std::make_shared<plat::Array>(source ? *source : plat::Array()));
    bindAutoComplete();
}

void KivoAutoComplete::setDisplayMemberPath(std::optional<std::string> path) {
    if (!changeDisplayMemberPath(std::move(path))) return;
    _itemTexts->invalidate();
    if (itemsSource()) bindAutoComplete();
}

void KivoAutoComplete::setLocale(const plat::Locale& locale) {
    if (locale == _locale) return;
    _locale = locale;
    _itemTexts->invalidate();
}

const kivo::detail::ItemTexts& KivoAutoComplete::itemTexts() const {
    if (!_itemTexts->isValid()) {
        static const plat::Array none;
        _itemTexts->rebuild(itemsSource() ? *itemsSource() : none, displayMemberPath(),
                            plat::TextFolder(_locale, plat::TextFolder::Accents::Ignore));
    }
    return *_itemTexts;
}

// ---- Candidates and suggestion rows ----

const plat::ArrayPtr& KivoAutoComplete::temporaryItemSource() const {
    if (_pendingCandidates) {
        auto list = std::make_shared<plat::Array>();
        list->reserve(_pendingCandidates->size());
        for (const std::uint64_t i : *_pendingCandidates) {
            if (i < itemCount()) list->push_back((*itemsSource())[i]);
        }
        _temporaryItemSource = std::move(list);
        _pendingCandidates.reset();
    }
    return _temporaryItemSource;
}

void KivoAutoComplete::setTemporaryItemSource(plat::ArrayPtr items) {
    _temporaryItemSource = std::move(items);
    _pendingCandidates.reset();
}

void KivoAutoComplete::useItemsAsCandidates(std::vector<std::uint64_t> indices) {
    _pendingCandidates = std::move(indices);
    _temporaryItemSource.reset();
}

void KivoAutoComplete::useAllItemsAsCandidates() {
    std::vector<std::uint64_t> all(itemCount());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    useItemsAsCandidates(std::move(all));
}

std::size_t KivoAutoComplete::candidateCount() const {
    if (_pendingCandidates) return _pendingCandidates->size();
    return _temporaryItemSource ? _temporaryItemSource->size() : 0;
}

void KivoAutoComplete::bindAutoComplete() { bindRows(_pendingCandidates ? &*_pendingCandidates : nullptr); }

void KivoAutoComplete::bindRows(const std::vector<std::uint64_t>* indices) {
    auto& rows = *_dropdownView->itemsSource();
    rows.clear();
    _rowIndex.clear();
    _rowsAscending = true;
    const bool hasPath = displayMemberPath() && !displayMemberPath()->empty();
    const std::size_t count = candidateCount();
    // Without a path (or with maxItems below 1) nothing is listed; the table still forgets its old rows.
    if (_maxItems >= 1 && hasPath && count > 0) {
        const auto& texts = itemTexts();
        rows.reserve(count);
        if (indices) {
            _rowIndex = *indices;
            _rowsAscending = std::is_sorted(_rowIndex.begin(), _rowIndex.end());
        } else {
            // Candidates of the application's making: found among the items by identity, repeats in turn.
            static const plat::Array none;
            _rowIndex = itemIndicesOf(itemsSource() ? *itemsSource() : none, *_temporaryItemSource);
            _rowsAscending = std::is_sorted(_rowIndex.begin(), _rowIndex.end());
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint64_t index = _rowIndex[k];
            if (index < texts.size()) {
                rows.push_back(texts.text(index));
                continue;
            }
            // A candidate that is no item: its own display value, an empty row without one.
            const bool listed = !indices && _temporaryItemSource && k < _temporaryItemSource->size();
            const plat::Value value =
                listed ? KivoReflector::getValue((*_temporaryItemSource)[k], *displayMemberPath()) : plat::Value();
            rows.emplace_back(value.isNil() ? std::string() : value.description());
        }
    }
    reloadTable();
}

void KivoAutoComplete::reloadTable() {
    _dropdownView->reloadData();
    // The row count sizes the table (and the popup) now rather than at the next layout pass.
    _dropdownView->numberOfRowsInSection(0);
    selectCurrentRow();
}

void KivoAutoComplete::selectCurrentRow() {
    const auto row = rowForIndex(selectedIndex());
    _dropdownView->selectRowAtIndexPath(row ? std::optional<plat::IndexPath>(plat::IndexPath{0, *row}) : std::nullopt, false,
                                        plat::TableViewScrollPosition::None);
}

void KivoAutoComplete::setMaxItems(int maxItems) {
    if (maxItems == _maxItems) return;
    _maxItems = maxItems;
    updateButton();
}

void KivoAutoComplete::updateButton() {
    if (button()) button()->setHidden(!hasItems() || _maxItems < 1);
}

// ---- Rows ----

std::uint64_t KivoAutoComplete::indexForRow(std::int64_t row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= _rowIndex.size()) return NotFound;
    return _rowIndex[static_cast<std::size_t>(row)];
}

plat::Value KivoAutoComplete::itemForRow(std::int64_t row) const {
    const std::uint64_t index = indexForRow(row);
    if (index < itemCount()) return (*itemsSource())[index];
    // A candidate that is no item.
    const auto& candidates = temporaryItemSource();
    if (row < 0 || !candidates || static_cast<std::size_t>(row) >= candidates->size()) return plat::Value();
    return (*candidates)[static_cast<std::size_t>(row)];
}

std::optional<std::int64_t> KivoAutoComplete::rowForIndex(std::uint64_t index) const {
    if (!isValid(index)) return std::nullopt;
    const auto it = _rowsAscending ? std::lower_bound(_rowIndex.begin(), _rowIndex.end(), index)
                                   : std::find(_rowIndex.begin(), _rowIndex.end(), index);
    if (it == _rowIndex.end() || *it != index) return std::nullopt;
    return static_cast<std::int64_t>(it - _rowIndex.begin());
}

// ---- Text field ----

void KivoAutoComplete::setPlaceholder(std::string placeholder) {
    changePlaceholder(std::move(placeholder));
    if (_headerView->placeholder() != this->placeholder()) _headerView->setPlaceholder(this->placeholder());
}

void KivoAutoComplete::setIsEditable(bool editable) {
    if (!changeIsEditable(editable)) return;
    _headerView->setEnabled(editable);
}

void KivoAutoComplete::selectAll() { _headerView->selectAll(); }

// ---- Look ----

void KivoAutoComplete::setSelectedBackgroundColor(const plat::Color& color) {
    if (!changeSelectedBackgroundColor(color)) return;
    reloadTable();
}

void KivoAutoComplete::setTextColor(std::optional<plat::Color> color) {
    if (!changeTextColor(color)) return;
    applyTextStyle();
}

void KivoAutoComplete::setTextFont(std::optional<plat::Font> font) {
    if (!changeTextFont(std::move(font))) return;
    applyTextStyle();
}

void KivoAutoComplete::setTextAlignment(plat::TextAlignment alignment) {
    if (!changeTextAlignment(alignment)) return;
    applyTextStyle();
}

void KivoAutoComplete::applyTextStyle() {
    // Without a colour the field shows black text; without a font it keeps its own.
    _headerView->setTextColor(textColor().value_or(plat::Color::black()));
    if (textFont()) _headerView->setFont(*textFont());
    _headerView->setTextAlignment(textAlignment());
    _dropdownView->setTextColor(textColor());
    _dropdownView->setTextFont(textFont());
    _dropdownView->setTextAlignment(textAlignment());
    reloadTable();
    refresh();
}

void KivoAutoComplete::setDropDownBackgroundColor(std::optional<plat::Color> color) {
    if (color == dropDownBackgroundColor()) return;
    // The base colours the popup too; here the popup keeps its own background and the table takes it.
    const auto& back = dropDownBackView();
    const std::optional<plat::Color> popup = back ? back->backgroundColor() : std::nullopt;
    KivoDropDown::setDropDownBackgroundColor(color);
    if (back) back->setBackgroundColor(popup);
    _dropdownView->setBackgroundColor(color);
}

// ---- Delegate ----

std::shared_ptr<KivoAutoCompleteDelegate> KivoAutoComplete::autoCompleteDelegate() const {
    return std::dynamic_pointer_cast<KivoAutoCompleteDelegate>(delegate());
}

// ---- Layout and opening ----

void KivoAutoComplete::layoutSubviews() {
    // The rendered delegate may let go of the box.
    auto keep = sharedAs<KivoAutoComplete>();
    KivoComboBox::layoutSubviews();
    if (dropDownMode() != 0) {
        _dropdownView->changeTableViewHeightWithNumberOfRows(static_cast<std::int64_t>(_dropdownView->itemsSource()->size()));
    } else {
        _dropdownView->setFrame({0, 0, dropDownWidth(), dropDownHeight()});
    }
}

void KivoAutoComplete::setIsDropDownOpen(bool open) {
    auto keep = sharedAs<KivoAutoComplete>();
    KivoDropDown::setIsDropDownOpen(open);
    if (isDropDownOpen()) selectCurrentRow();
}
