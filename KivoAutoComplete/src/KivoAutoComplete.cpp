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
    ++_itemChanges;
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

void KivoAutoComplete::_onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    const auto& view = collectionView();
    if (!view) return;
    auto keep = sharedAs<KivoAutoComplete>();
    const std::uint64_t change = ++_itemChanges;
    const plat::ArrayPtr before = itemsSource();
    adoptCollectionViewItems();
    useAllItemsAsCandidates();
    const std::optional<ListSplice> splice = args ? followChange(*args, before) : std::nullopt;
    if (!splice) _itemTexts->invalidate();
    if (hasItems()) setSelectedIndex(NotFound);
    updateButton();
    // The selection's report may have changed the items again, and listed them in full.
    if (change != _itemChanges) return;
    // Rows that list every item take the change where it happened; any others are listed anew.
    auto& rows = *_dropdownView->itemsSource();
    if (!splice || !_rowsAreAllItems || _maxItems < 1 || splice->at + splice->removed > rows.size() ||
        rows.size() - splice->removed + splice->added != itemCount()) {
        bindAutoComplete();
        return;
    }
    // Rows both lists share are overwritten in place; only the difference moves the later ones.
    const auto offset = [](std::size_t i) { return static_cast<std::ptrdiff_t>(i); };
    const std::size_t at = splice->at, common = std::min(splice->removed, splice->added);
    if (splice->removed > common)
        rows.erase(rows.begin() + offset(at + common), rows.begin() + offset(at + splice->removed));
    else
        rows.insert(rows.begin() + offset(at + common), splice->added - common, plat::StringObject());
    const auto& texts = itemTexts();
    for (std::size_t k = at; k < at + splice->added; ++k) rows[k] = texts.text(k);
    reloadTable();
}

std::optional<KivoComboBox::ListSplice> KivoAutoComplete::followChange(const KivoNotifyCollectionChangedEventArgs& args,
                                                                       const plat::ArrayPtr& before) {
    // Announced indices are visible ones: they are the items' own only while the view shows its
    // source in order. The texts read so far must be those of the same list.
    const auto& view = collectionView();
    if (!view || !view->showsSourceInOrder() || !before || before != itemsSource() || !_itemTexts->isValid()) return std::nullopt;
    const auto splice = spliceOf(args);
    const std::size_t known = _itemTexts->size();
    if (!splice || splice->removed > known || splice->at > known - splice->removed ||
        known - splice->removed + splice->added != itemCount())
        return std::nullopt;
    const auto from = itemsSource()->begin() + static_cast<std::ptrdiff_t>(splice->at);
    _itemTexts->splice(splice->at, splice->removed, plat::Array(from, from + static_cast<std::ptrdiff_t>(splice->added)),
                       displayMemberPath(), plat::TextFolder(_locale, plat::TextFolder::Accents::Ignore));
    return splice;
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
    if (_allCandidates) {
        _temporaryItemSource = std::make_shared<plat::Array>(itemsSource() ? *itemsSource() : plat::Array());
        _allCandidates = false;
    } else if (_pendingCandidates) {
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
    _allCandidates = false;
}

void KivoAutoComplete::useItemsAsCandidates(std::vector<std::uint64_t> indices) {
    _pendingCandidates = std::move(indices);
    _allCandidates = false;
    _temporaryItemSource.reset();
}

void KivoAutoComplete::useAllItemsAsCandidates() {
    _pendingCandidates.reset();
    _allCandidates = true;
    _temporaryItemSource.reset();
}

std::size_t KivoAutoComplete::candidateCount() const {
    if (_allCandidates) return itemCount();
    if (_pendingCandidates) return _pendingCandidates->size();
    return _temporaryItemSource ? _temporaryItemSource->size() : 0;
}

void KivoAutoComplete::bindAutoComplete() { bindRows(_pendingCandidates ? &*_pendingCandidates : nullptr); }

void KivoAutoComplete::bindRows(const std::vector<std::uint64_t>* indices) {
    auto& rows = *_dropdownView->itemsSource();
    rows.clear();
    _rowIndex.clear();
    _rowsAscending = true;
    _rowsAreAllItems = false;
    const bool hasPath = displayMemberPath() && !displayMemberPath()->empty();
    const std::size_t count = candidateCount();
    // Without a path (or with maxItems below 1) nothing is listed; the table still forgets its old rows.
    if (_maxItems >= 1 && hasPath && count > 0) {
        const auto& texts = itemTexts();
        rows.reserve(count);
        if (_allCandidates) {
            for (std::size_t k = 0; k < count; ++k) rows.push_back(texts.text(k));
            _rowsAreAllItems = true;
            reloadTable();
            return;
        }
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
    // The row count sizes the table (and the popup) now; the rows' places wait for the next layout
    // pass, which a long list of rows changed one at a time would otherwise work out each time.
    _dropdownView->changeTableViewHeightWithNumberOfRows(static_cast<std::int64_t>(_dropdownView->itemsSource()->size()));
    // Reloading left no row selected.
    if (rowForIndex(selectedIndex())) selectCurrentRow();
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
    if (_rowsAreAllItems) {
        const bool listed = row >= 0 && static_cast<std::size_t>(row) < _dropdownView->itemsSource()->size();
        return listed ? static_cast<std::uint64_t>(row) : NotFound;
    }
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
    if (_rowsAreAllItems) {
        if (index >= _dropdownView->itemsSource()->size()) return std::nullopt;
        return static_cast<std::int64_t>(index);
    }
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
