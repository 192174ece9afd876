// The combo box's creation, items and display list, look, delegate and layout. The selection and the
// text are in KivoComboBoxSelection.cpp.

#include "KivoComboBox/KivoComboBox.h"

#include "KivoCore/KivoReflector.h"
#include "Platform/ui/screen.h"
#include "combobox/RowMap.h"

std::shared_ptr<KivoComboBox> KivoComboBox::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoComboBox>(new KivoComboBox(frame)));
}

KivoComboBox::KivoComboBox(const plat::Rect& frame) : KivoDropDown(frame), _rows(std::make_unique<kivo::detail::RowMap>()) {}

KivoComboBox::~KivoComboBox() {
    if (_collectionView && _collectionView->collectionChanged() && _collectionHandler) {
        _collectionView->collectionChanged()->removeHandler(_collectionHandler, nullptr);
    }
}

bool KivoComboBox::isValidIndex(std::uint64_t index, std::size_t count) {
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(index & 0xFFFFFFFFu));
    return low >= 0 && index < count;
}

void KivoComboBox::initialize() {
    KivoDropDown::initialize();
    _initComboBox();
}

void KivoComboBox::_initComboBox() {
    const auto self = sharedAs<KivoComboBox>();
    std::weak_ptr<KivoComboBox> weak = self;
    _selectedIndexChanged = std::make_shared<KivoEvent>();
    _textChanged = std::make_shared<KivoEvent>();
    _dropDownItemLoading = std::make_shared<KivoEvent>();

    _collectionHandler = KivoEventBlock([weak](const std::shared_ptr<KivoEventContainer>& container) {
        if (auto me = weak.lock()) me->_onCollectionViewChanged(container->args<KivoNotifyCollectionChangedEventArgs>());
    });
    listenTo(KivoCollectionView::create());
    buildHeaderAndList();
}

void KivoComboBox::buildHeaderAndList() {
    const auto self = sharedAs<KivoComboBox>();
    _dropdownView = KivoComboBoxDropdownView::create(self);
    setDropDownView(_dropdownView);

    _headerView = KivoComboBoxHeaderView::create(self, _dropdownView->itemsSource());
    _headerView->setText(_text);
    _headerView->setEnabled(_isEditable);
    _headerView->setPlaceholder(_placeholder);
    setHeader(_headerView);
}

// ---- State kept for subclasses ----

namespace {

template <class T>
bool change(T& held, T value) {
    if (held == value) return false;
    held = std::move(value);
    return true;
}

}  // namespace

void KivoComboBox::adoptItems(const plat::ArrayPtr& items) {
    _itemsSource = items ? std::make_shared<plat::Array>(*items) : nullptr;
}

void KivoComboBox::adoptCollectionViewItems() {
    if (_collectionView) _itemsSource = _collectionView->sourceCollection();
}

bool KivoComboBox::changeDisplayMemberPath(std::optional<std::string> path) {
    return change(_displayMemberPath, std::move(path));
}
bool KivoComboBox::changeSelectedValuePath(std::optional<std::string> path) {
    return change(_selectedValuePath, std::move(path));
}
bool KivoComboBox::changePlaceholder(std::string placeholder) { return change(_placeholder, std::move(placeholder)); }
bool KivoComboBox::changeIsEditable(bool editable) { return change(_isEditable, editable); }
bool KivoComboBox::changeSelectedBackgroundColor(const plat::Color& color) { return change(_selectedBackgroundColor, color); }
bool KivoComboBox::changeTextColor(std::optional<plat::Color> color) { return change(_textColor, color); }
bool KivoComboBox::changeTextFont(std::optional<plat::Font> font) { return change(_textFont, std::move(font)); }
bool KivoComboBox::changeTextAlignment(plat::TextAlignment alignment) { return change(_textAlignment, alignment); }

std::vector<std::uint64_t> KivoComboBox::itemIndicesOf(const plat::Array& items, const plat::Array& rows) {
    kivo::detail::RowMap map;
    map.rebuild(items, rows);
    std::vector<std::uint64_t> indices;
    indices.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) indices.push_back(map.indexOfRow(static_cast<std::int64_t>(k)));
    return indices;
}

// ---- Items and display list ----

void KivoComboBox::listenTo(const std::shared_ptr<KivoCollectionView>& view) {
    if (_collectionView && _collectionView->collectionChanged()) {
        _collectionView->collectionChanged()->removeHandler(_collectionHandler, sharedAs<KivoComboBox>());
    }
    _collectionView = view;
    if (_collectionView && _collectionView->collectionChanged()) {
        _collectionView->collectionChanged()->addHandler(_collectionHandler, sharedAs<KivoComboBox>());
    }
}

void KivoComboBox::setCollectionView(std::shared_ptr<KivoCollectionView> view) {
    if (view == _collectionView) return;
    listenTo(view);
}

void KivoComboBox::setItemsSource(plat::ArrayPtr items) {
    if (items == _itemsSource) return;
    auto keep = sharedAs<KivoComboBox>();
    adoptItems(items);
    if (_collectionView) {
        _collectionView->setSourceCollection(items ? items : std::make_shared<plat::Array>());
        _collectionView->refresh(false);
        _collectionView->moveCurrentToFirst();
    }
    _analyseDataSource();
    // An index set before the first items selects its item and shows its text now.
    if (_isFirstRender) {
        if (isValid(_selectedIndex)) {
            _selectedItem = (*_itemsSource)[_selectedIndex];
            if (_selectedValuePath && !_selectedValuePath->empty()) {
                _selectedValue = KivoReflector::getValue(_selectedItem, *_selectedValuePath);
            }
        }
        setSelectedIndex(_selectedIndex);
    }
    _isFirstRender = false;
}

void KivoComboBox::_onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    if (_isFirstRender || !_collectionView) return;
    adoptCollectionViewItems();
    if (!followChange(args)) _analyseDataSource();
}

std::string KivoComboBox::displayTextOf(const plat::Value& item) const {
    const plat::Value value = KivoReflector::getValue(item, *_displayMemberPath);
    // An item without a display value shows an empty row; the list goes on after it.
    return value.isNil() ? std::string() : value.description();
}

std::optional<KivoComboBox::ListSplice> KivoComboBox::spliceOf(const KivoNotifyCollectionChangedEventArgs& args) {
    const std::int64_t action = args.action();
    const auto added = args.items() ? args.items()->size() : 0;
    const auto removed = args.oldItems() ? args.oldItems()->size() : 0;
    std::int64_t at = -1;
    if (action == KivoNotifyCollectionChangedActionAdd) {
        at = args.startingIndex();
        if (at >= 0) return ListSplice{static_cast<std::size_t>(at), 0, added};
    } else if (action == KivoNotifyCollectionChangedActionRemove) {
        at = args.oldStartingIndex();
        if (at >= 0) return ListSplice{static_cast<std::size_t>(at), removed, 0};
    } else if (action == KivoNotifyCollectionChangedActionReplace) {
        // The view announces a replacement at the old items' index.
        at = args.startingIndex() >= 0 ? args.startingIndex() : args.oldStartingIndex();
        if (at >= 0) return ListSplice{static_cast<std::size_t>(at), removed, added};
    }
    return std::nullopt;
}

bool KivoComboBox::followChange(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    // An announced add, removal or replacement of visible items edits the display list in place,
    // reading the display texts of the new items only; anything else lists everything again. The
    // new items are read one by one: the view's list of them would be made anew for each change.
    if (!args || !_dropdownView || !_displayMemberPath || _displayMemberPath->empty()) return false;
    const auto splice = spliceOf(*args);
    const KivoCollectionView& view = *_collectionView;
    const auto visible = static_cast<std::size_t>(view.itemCount());
    const std::size_t listed = _dropdownView->itemsSource()->size();
    if (!splice || splice->removed > listed || splice->at > listed - splice->removed ||
        listed - splice->removed + splice->added != visible)
        return false;
    std::vector<std::string> texts;
    texts.reserve(splice->added);
    for (std::size_t i = splice->at; i < splice->at + splice->added; ++i)
        texts.push_back(displayTextOf(view.itemAt(static_cast<std::int32_t>(i))));
    // Rows map to items by index while the view shows its source in order; otherwise row by row.
    static const plat::Array none;
    if (view.showsSourceInOrder() && _itemsSource == view.sourceCollection())
        _rows->setInOrder(visible);
    else
        _rows->rebuild(_itemsSource ? *_itemsSource : none, *view.items());
    _dropdownView->replaceItems(splice->at, splice->removed, std::move(texts));
    if (isDropDownOpen()) selectCurrentRow(plat::TableViewScrollPosition::None);
    return true;
}

void KivoComboBox::setDisplayMemberPath(std::optional<std::string> path) {
    if (!changeDisplayMemberPath(std::move(path))) return;
    if (_itemsSource) _analyseDataSource();
}

void KivoComboBox::_analyseDataSource() {
    if (!_collectionView || !_dropdownView) return;
    const plat::Array& visible = *_collectionView->items();
    static const plat::Array none;
    _rows->rebuild(_itemsSource ? *_itemsSource : none, visible);
    KivoComboBoxDropdownView::DisplayList texts;
    if (_displayMemberPath && !_displayMemberPath->empty()) {
        texts.reserve(visible.size());
        for (const auto& item : visible) texts.push_back(displayTextOf(item));
    }
    _dropdownView->setItemsSource(texts);
    if (isDropDownOpen()) selectCurrentRow(plat::TableViewScrollPosition::None);
}

plat::Value KivoComboBox::itemForRow(std::int64_t row) const {
    const std::uint64_t index = indexForRow(row);
    return index < itemCount() ? (*_itemsSource)[index] : plat::Value();
}

std::uint64_t KivoComboBox::indexForRow(std::int64_t row) const { return _rows->indexOfRow(row); }

std::optional<std::int64_t> KivoComboBox::rowForIndex(std::uint64_t index) const {
    if (!isValid(index)) return std::nullopt;
    auto row = _rows->rowOfIndex(index);
    if (!row || !_dropdownView || *row >= static_cast<std::int64_t>(_dropdownView->itemsSource()->size())) return std::nullopt;
    return row;
}

// ---- Text field ----

void KivoComboBox::setPlaceholder(std::string placeholder) {
    if (!changePlaceholder(std::move(placeholder)) || !_headerView) return;
    _headerView->setPlaceholder(_placeholder);
}

void KivoComboBox::setIsEditable(bool editable) {
    if (!changeIsEditable(editable) || !_headerView) return;
    _headerView->setEnabled(editable);
}

void KivoComboBox::selectAll() {
    if (_headerView) _headerView->selectAll();
}

plat::Font KivoComboBox::getDescriptor(const plat::Dictionary& attributes) { return plat::fontFromAttributes(attributes); }

// ---- Look ----

void KivoComboBox::reloadTable() {
    if (!_dropdownView) return;
    _dropdownView->reloadData();
    if (isDropDownOpen()) selectCurrentRow(plat::TableViewScrollPosition::None);
}

void KivoComboBox::setSelectedBackgroundColor(const plat::Color& color) {
    if (!changeSelectedBackgroundColor(color)) return;
    reloadTable();
    if (!_isFirstOpenDropDownView && isValid(_selectedIndex)) selectCurrentRow(plat::TableViewScrollPosition::Top);
}

void KivoComboBox::setTextColor(std::optional<plat::Color> color) {
    if (!changeTextColor(color)) return;
    if (_headerView) _headerView->setTextColor(color.value_or(plat::Color::black()));
    if (_dropdownView) _dropdownView->setTextColor(color);
    reloadTable();
    refresh();
}

void KivoComboBox::setTextFont(std::optional<plat::Font> font) {
    if (!changeTextFont(font)) return;
    if (font && _headerView) _headerView->setFont(*font);
    if (_dropdownView) _dropdownView->setTextFont(font);
    reloadTable();
    refresh();
}

void KivoComboBox::setTextAlignment(plat::TextAlignment alignment) {
    if (!changeTextAlignment(alignment)) return;
    if (_headerView) _headerView->setTextAlignment(alignment);
    if (_dropdownView) _dropdownView->setTextAlignment(alignment);
    reloadTable();
    refresh();
}

void KivoComboBox::setDropDownBackgroundColor(std::optional<plat::Color> color) {
    if (color == dropDownBackgroundColor()) return;
    KivoDropDown::setDropDownBackgroundColor(color);
    if (_dropdownView) _dropdownView->setBackgroundColor(color);
}

// ---- Delegate ----

std::shared_ptr<KivoDropDownDelegate> KivoComboBox::delegate() const {
    return _ownedDelegate ? _ownedDelegate : _delegate.lock();
}

void KivoComboBox::setDelegate(const std::shared_ptr<KivoDropDownDelegate>& delegate) {
    _ownedDelegate = delegate;
    _delegate = delegate;
}

std::shared_ptr<KivoComboBoxDelegate> KivoComboBox::comboBoxDelegate() const {
    return std::dynamic_pointer_cast<KivoComboBoxDelegate>(delegate());
}

void KivoComboBox::dropOwningDelegateReferences() {
    KivoDropDown::dropOwningDelegateReferences();
    _ownedDelegate.reset();
}

// ---- Layout and opening ----

void KivoComboBox::layoutSubviews() {
    // The rendered delegate may let go of the box.
    auto keep = sharedAs<KivoComboBox>();
    KivoDropDown::layoutSubviews();
    if (!_dropdownView) return;
    if (dropDownMode() != 0) {
        const plat::Rect screen = plat::Screen::main().bounds();
        _dropdownView->setFrame({0, 0, screen.width(), screen.height()});
    } else {
        _dropdownView->setFrame({0, 0, dropDownWidth(), dropDownHeight()});
    }
}

void KivoComboBox::setIsDropDownOpen(bool open) {
    auto keep = sharedAs<KivoComboBox>();
    KivoDropDown::setIsDropDownOpen(open);
    if (isDropDownOpen() && isValid(_selectedIndex)) {
        selectCurrentRow(plat::TableViewScrollPosition::Top);
        _isFirstOpenDropDownView = false;
    }
}

void KivoComboBox::selectCurrentRow(plat::TableViewScrollPosition position) {
    if (!_dropdownView) return;
    const auto row = rowForIndex(_selectedIndex);
    if (!row) {
        _dropdownView->selectRowAtIndexPath(std::nullopt, false, plat::TableViewScrollPosition::None);
        return;
    }
    _dropdownView->selectRowAtIndexPath(plat::IndexPath{0, *row}, false, position);
}
