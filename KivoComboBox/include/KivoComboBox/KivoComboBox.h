#pragma once
// The combo box: a drop-down whose list shows one text per application item, read from the item
// through a key path, and which holds at most one chosen item. The header is a text field that
// completes what the user types from those texts; the popup is a table of them. The choice reads and
// writes as an index, an item, a value taken from the item, or a text; the delegate hears of changes,
// or the events do when it does not answer.
//
// Rows follow the collection view's visible list (sorted, filtered), while indices, items and values
// refer to `itemsSource`: a row maps to its item and the item to its index in `itemsSource`.
//
// Sections: creation · items · selection · text field · look · delegate and events · operations ·
// for subclasses.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoComboBox/KivoComboBoxDelegate.h"
#include "KivoComboBox/KivoComboBoxDropdownView.h"
#include "KivoComboBox/KivoComboBoxHeaderView.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoDropDown/KivoDropDown.h"
#include "KivoInput/KivoInputExport.h"
#include "Platform/graphics/font.h"

namespace kivo::detail {
class RowMap;
}

class KIVO_INPUT_EXPORT KivoComboBox : public KivoDropDown {
public:
    // ---- Creation ----
    static std::shared_ptr<KivoComboBox> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoComboBox> create(const plat::Coder& coder);
    ~KivoComboBox() override;

    static constexpr plat::Color DEFAULT_SELECTION_BACKGROUND_COLOR{0, 122 / 255.0, 1.0, 1.0};
    // Two distinct indices stand for "nothing selected": all bits set, which a new box starts with,
    // and the platform's not-found index, which a failed lookup or a keystroke leaves behind. Being
    // different numbers, moving between them counts as a new selection and is reported.
    static constexpr std::uint64_t NoSelection = UINT64_MAX;
    static constexpr std::uint64_t NotFound = plat::NotFound;
    // Valid: the low 32 bits read as a signed number are not negative and the index is below `count`.
    static bool isValidIndex(std::uint64_t index, std::size_t count);

    // ---- Items ----
    // The application's items. Another array (by identity) is kept as a copy, given itself to the
    // collection view and listed; an index set before the first items then shows its text.
    const plat::ArrayPtr& itemsSource() const { return _itemsSource; }
    virtual void setItemsSource(plat::ArrayPtr items);
    // The view of the items that the list shows: changes made through it reach the list. A view set
    // here is listened to from then on; nothing is listed again until it announces a change.
    const std::shared_ptr<KivoCollectionView>& collectionView() const { return _collectionView; }
    virtual void setCollectionView(std::shared_ptr<KivoCollectionView> view);
    // Key path of the text each item shows; without one the list is empty and type-ahead is off.
    const std::optional<std::string>& displayMemberPath() const { return _displayMemberPath; }
    virtual void setDisplayMemberPath(std::optional<std::string> path);
    // Key path of the value `selectedValue` reads from the selected item.
    const std::optional<std::string>& selectedValuePath() const { return _selectedValuePath; }
    virtual void setSelectedValuePath(std::optional<std::string> path);

    // ---- Selection ----
    std::uint64_t selectedIndex() const { return _selectedIndex; }
    // A valid index selects its item, its value and its text; any other index clears them. Reports
    // textChanged (when the text changes) before selectedIndexChanged.
    virtual void setSelectedIndex(std::uint64_t index);
    const plat::Value& selectedItem() const { return _selectedItem; }
    // Another object is looked up among the items (first equal one) and selected with its text; the
    // index changes without a selectedIndexChanged report. Not found, only the item is kept.
    virtual void setSelectedItem(plat::Value item);
    const plat::Value& selectedValue() const { return _selectedValue; }
    // Another object selects the first item whose value at `selectedValuePath` matches it (strings by
    // content, other values by identity), as setSelectedItem does.
    virtual void setSelectedValue(plat::Value value);
    const std::string& text() const { return _text; }
    // A different text is shown and selects the first item with that display text (or keeps the
    // index when none has it), then textChanged is reported.
    virtual void setText(std::string text);

    // ---- Text field ----
    const std::string& placeholder() const { return _placeholder; }
    virtual void setPlaceholder(std::string placeholder);
    bool isEditable() const { return _isEditable; }
    virtual void setIsEditable(bool editable);
    // On: typing completes to the first display text beginning with what was typed. Off: only a whole
    // display text (any case) selects.
    bool autoComplete() const { return _autoComplete; }
    void setAutoComplete(bool autoComplete) { _autoComplete = autoComplete; }
    const std::shared_ptr<KivoComboBoxHeaderView>& headerTextField() const { return _headerView; }

    // ---- Look ----
    const plat::Color& selectedBackgroundColor() const { return _selectedBackgroundColor; }
    virtual void setSelectedBackgroundColor(const plat::Color& color);
    // None: the rows' and the field's defaults.
    const std::optional<plat::Color>& textColor() const { return _textColor; }
    virtual void setTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Font>& textFont() const { return _textFont; }
    virtual void setTextFont(std::optional<plat::Font> font);
    plat::TextAlignment textAlignment() const { return _textAlignment; }
    virtual void setTextAlignment(plat::TextAlignment alignment);
    // Also colours the list.
    void setDropDownBackgroundColor(std::optional<plat::Color> color) override;
    const std::shared_ptr<KivoComboBoxDropdownView>& tableView() const { return _dropdownView; }

    // ---- Delegate and events ----
    // Owns its delegate (leaving the window lets go of the ownership; the delegate stays, weakly,
    // while the application keeps it). The drop-down's notifications reach this delegate too.
    std::shared_ptr<KivoDropDownDelegate> delegate() const override;
    void setDelegate(const std::shared_ptr<KivoDropDownDelegate>& delegate) override;
    // The delegate when it is a combo-box delegate.
    std::shared_ptr<KivoComboBoxDelegate> comboBoxDelegate() const;
    // Raised with no arguments when the delegate does not answer the matching method.
    const std::shared_ptr<KivoEvent>& selectedIndexChanged() const { return _selectedIndexChanged; }
    void setSelectedIndexChanged(std::shared_ptr<KivoEvent> event) { _selectedIndexChanged = std::move(event); }
    const std::shared_ptr<KivoEvent>& textChanged() const { return _textChanged; }
    void setTextChanged(std::shared_ptr<KivoEvent> event) { _textChanged = std::move(event); }
    // Raised for each row when the delegate does not answer dropDownItemLoading.
    const std::shared_ptr<KivoEvent>& dropDownItemLoading() const { return _dropDownItemLoading; }
    void setDropDownItemLoading(std::shared_ptr<KivoEvent> event) { _dropDownItemLoading = std::move(event); }

    // ---- Operations ----
    // The display text of an index of `itemsSource`: its row's text, or "" for an invalid index or an
    // item without a row.
    virtual std::string getDisplayText(std::uint64_t index) const;
    // The index in `itemsSource` of the first row whose text equals `text` (fullMatch) or begins with
    // it ignoring case (a non-empty beginning); NotFound when none does.
    virtual std::uint64_t indexOf(const std::string& text, bool fullMatch) const;
    // Selects all of the field's text.
    virtual void selectAll();
    // The font an attribute dictionary describes (plat::fontFromAttributes).
    static plat::Font getDescriptor(const plat::Dictionary& attributes);
    // Rows of the list: the item a row shows, its index in `itemsSource`, and the row of an index.
    virtual plat::Value itemForRow(std::int64_t row) const;
    virtual std::uint64_t indexForRow(std::int64_t row) const;
    virtual std::optional<std::int64_t> rowForIndex(std::uint64_t index) const;

    void layoutSubviews() override;
    // Also marks the selected row when the popup opens.
    void setIsDropDownOpen(bool open) override;

protected:
    explicit KivoComboBox(const plat::Rect& frame);
    void initialize() override;
    void _initComboBox();
    // Makes the text field and the table that the box shows and hands them to the drop-down as its
    // header and popup content. A subclass that shows views of its own overrides this to make those
    // instead, and the box's field and table are then never made (`headerTextField` and `tableView`
    // stay null).
    virtual void buildHeaderAndList();
    void dropOwningDelegateReferences() override;
    // Follows a change that the collection view announced.
    virtual void _onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

    void reportSelectedIndexChanged();
    void reportTextChanged();

    // ---- For subclasses ----
    // A subclass that drives the selection its own way keeps the box's state through these rather
    // than through its storage. None of them reports, lists or redraws anything.
    std::size_t itemCount() const { return _itemsSource ? _itemsSource->size() : 0; }
    bool isValid(std::uint64_t index) const { return isValidIndex(index, itemCount()); }
    // The items become the box's own copy of the application's array (none stays none), so that the
    // application changing its array behind the box's back cannot shift the box's indices.
    void adoptItems(const plat::ArrayPtr& items);
    // The items become the collection view's source list: after the view announced a change, the
    // announced indices refer to that list.
    void adoptCollectionViewItems();
    // Each stores the value when it differs from the one held and answers whether it did.
    bool changeDisplayMemberPath(std::optional<std::string> path);
    bool changeSelectedValuePath(std::optional<std::string> path);
    bool changePlaceholder(std::string placeholder);
    bool changeIsEditable(bool editable);
    bool changeSelectedBackgroundColor(const plat::Color& color);
    bool changeTextColor(std::optional<plat::Color> color);
    bool changeTextFont(std::optional<plat::Font> font);
    bool changeTextAlignment(plat::TextAlignment alignment);
    // Each records one part of the selection and leaves the others as they are: the subclass brings
    // them into step in its own order.
    void recordSelectedIndex(std::uint64_t index) { _selectedIndex = index; }
    void recordSelectedItem(plat::Value item) { _selectedItem = std::move(item); }
    void recordSelectedValue(plat::Value value) { _selectedValue = std::move(value); }
    void recordText(std::string text) { _text = std::move(text); }
    // The index in `itemsSource` (through indexForRow) of the first of `rowCount` row texts that
    // equals `text` (fullMatch) or begins with it ignoring case (a non-empty beginning); NotFound
    // when none does.
    std::uint64_t indexOfRowText(std::size_t rowCount, const std::function<const std::string&(std::size_t)>& rowText,
                                 const std::string& text, bool fullMatch) const;
    // Where an announced add, removal or replacement changed the visible list: `removed` entries
    // from `at` gave way to `added` ones. None for any other change, or an index before the list.
    struct ListSplice {
        std::size_t at, removed, added;
    };
    static std::optional<ListSplice> spliceOf(const KivoNotifyCollectionChangedEventArgs& args);
    // For each entry of `rows`, the index of the same object in `items`, an object listed several
    // times taking its places in turn; NotFound for an entry that is no item.
    static std::vector<std::uint64_t> itemIndicesOf(const plat::Array& items, const plat::Array& rows);

private:
    plat::ArrayPtr _itemsSource;
    std::optional<std::string> _displayMemberPath;
    std::optional<std::string> _selectedValuePath;
    std::uint64_t _selectedIndex = NoSelection;
    plat::Value _selectedItem;
    plat::Value _selectedValue;
    std::string _text;
    std::string _placeholder;
    bool _isEditable = true;
    plat::Color _selectedBackgroundColor = DEFAULT_SELECTION_BACKGROUND_COLOR;
    std::optional<plat::Color> _textColor;
    std::optional<plat::Font> _textFont;
    plat::TextAlignment _textAlignment = plat::TextAlignment::Left;

    // Lists the collection view's visible items again.
    KIVO_INPUT_NO_EXPORT void _analyseDataSource();
    // Selects the row of the selected index in the table, scrolled to the top (none: no row selected).
    KIVO_INPUT_NO_EXPORT void selectCurrentRow(plat::TableViewScrollPosition position);
    KIVO_INPUT_NO_EXPORT void reloadTable();
    KIVO_INPUT_NO_EXPORT void listenTo(const std::shared_ptr<KivoCollectionView>& view);
    KIVO_INPUT_NO_EXPORT std::string displayTextOf(const plat::Value& item) const;
    // Follows an announced change of the visible items in the list; false when it lists them anew.
    KIVO_INPUT_NO_EXPORT bool followChange(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

    std::shared_ptr<KivoCollectionView> _collectionView;
    bool _autoComplete = true;

    std::shared_ptr<KivoDropDownDelegate> _ownedDelegate;
    std::weak_ptr<KivoDropDownDelegate> _delegate;
    std::shared_ptr<KivoEvent> _selectedIndexChanged;
    std::shared_ptr<KivoEvent> _textChanged;
    std::shared_ptr<KivoEvent> _dropDownItemLoading;

    std::shared_ptr<KivoComboBoxHeaderView> _headerView;
    std::shared_ptr<KivoComboBoxDropdownView> _dropdownView;
    std::unique_ptr<kivo::detail::RowMap> _rows;
    KivoEventBlock _collectionHandler;
    bool _isFirstRender = true;
    bool _isFirstOpenDropDownView = true;
};
