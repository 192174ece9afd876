#pragma once
// The auto-complete box: a text field that proposes items as the user types. A short while after a
// keystroke, the items narrow down to those whose display text contains the typed text (case and
// accents aside); the survivors are listed below the field, the typed part marked in each row. How
// much was typed and whether anything survived decide whether the list shows, and picking a row
// selects its item. A delegate can replace the built-in narrowing. Selection and its events work as
// in the combo box.
//
// The candidates are the items that passed the last filtering; each suggestion row shows one
// candidate, and a row maps to its candidate and the candidate to its index in `itemsSource`, so the
// selected item and the text always agree.
//
// Sections: creation · items · filtering · selection · text field · look · delegate · operations.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoAutoComplete/KivoAutoCompleteDelegate.h"
#include "KivoAutoComplete/KivoAutoCompleteDropdownView.h"
#include "KivoAutoComplete/KivoAutoCompleteHeaderView.h"
#include "KivoComboBox/KivoComboBox.h"
#include "KivoInput/KivoInputExport.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/shared_value.h"

namespace plat {
class Label;
}

namespace kivo::detail {
class ItemTexts;
}

class KIVO_INPUT_EXPORT KivoAutoComplete : public KivoComboBox {
public:
    // ---- Creation ----
    static std::shared_ptr<KivoAutoComplete> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoAutoComplete> create(const plat::Coder& coder);
    ~KivoAutoComplete() override;

    // Milliseconds: the default waits a tenth of a millisecond.
    static constexpr double DefaultDelay = 0.1;
    static constexpr int DefaultMaxItems = 5;
    static constexpr int DefaultMinLength = 1;
    static constexpr plat::Color DefaultHighlightedColor = plat::Color::blue();

    // ---- Items ----
    // Another array (by identity) becomes the items and, all of them, the candidates; the arrow
    // button shows while there are items (and `maxItems` allows a list).
    void setItemsSource(plat::ArrayPtr items) override;
    // The candidates become the view's source list again, listed anew.
    void setCollectionView(std::shared_ptr<KivoCollectionView> view) override;
    void setDisplayMemberPath(std::optional<std::string> path) override;
    void setSelectedValuePath(std::optional<std::string> path) override;
    // The candidates: what survived the most recent narrowing, or every item while none applies.
    const plat::ArrayPtr& temporaryItemSource() const;
    void setTemporaryItemSource(plat::ArrayPtr items);
    // List the candidates' display texts again.
    void bindAutoComplete();
    void refreshTableViewItemSource() { bindAutoComplete(); }

    // ---- Filtering ----
    // Milliseconds between a keystroke and its filtering pass; negative or NaN: at once; infinite: never.
    double delay() const { return _delay; }
    void setDelay(double milliseconds) { _delay = milliseconds; }
    // The table shows at most this many rows; below 1 the list is emptied at its next rebuild and the
    // arrow button hides.
    int maxItems() const { return _maxItems; }
    void setMaxItems(int maxItems);
    // The filter string must be at least this many UTF-16 units long for the popup to open; a
    // negative value never opens it.
    int minLength() const { return _minLength; }
    void setMinLength(int minLength) { _minLength = minLength; }
    // Filtering passes run only while this is 0.
    std::int64_t operatorType() const { return _operatorType; }
    void setOperatorType(std::int64_t type) { _operatorType = type; }
    // On: the built-in filtering passes do nothing at all (the application filters by other means).
    bool isCustomFiltering() const { return _isCustomFiltering; }
    void setIsCustomFiltering(bool custom) { _isCustomFiltering = custom; }
    // The arguments kept for all filtering passes: each pass consults them (`cancel` on sends it down
    // the delegate's road) and gives the same object to the delegate.
    const std::shared_ptr<KivoAutoCompleteFilteringEventArgs>& filteringArgs() const { return _filteringArgs; }
    void setFilteringArgs(std::shared_ptr<KivoAutoCompleteFilteringEventArgs> args) { _filteringArgs = std::move(args); }
    // The text being filtered for: the field's text after the latest keystroke.
    const std::optional<std::string>& filterString() const { return _filterString; }
    void setFilterString(std::optional<std::string> text) { _filterString = std::move(text); }
    // The language whose case rules the filter and the highlight follow (the process's current
    // locale at creation).
    const plat::Locale& locale() const { return _locale; }
    void setLocale(const plat::Locale& locale);
    // One filtering pass, as a keystroke schedules it: filters, then opens the popup when the filter
    // string is long enough and something matches, and closes it otherwise.
    void performFiltering();

    // ---- Selection ----
    void setSelectedIndex(std::uint64_t index) override;
    void setSelectedItem(plat::Value item) override;
    // Selects the items whose value at `selectedValuePath` is `value` (the last one wins); none
    // matches no item.
    void setSelectedValue(plat::Value value) override;
    // A text set here is always another object than the one held, so it is always reported.
    void setText(std::string text) override;
    // The text as an object: setting the very object that is held and shown changes nothing; any
    // other object (an equal text included) is shown, selects the first suggestion with that text
    // (or keeps the index), raises textChanged and then tells the delegate.
    const plat::StringObject& textObject() const { return _textObject; }
    void setTextObject(plat::StringObject text);

    // ---- Text field ----
    void setPlaceholder(std::string placeholder) override;
    void setIsEditable(bool editable) override;
    void selectAll() override;
    // The box's own text field (the box builds no combo-box field, so the combo box's accessor of the
    // same name gives null).
    const std::shared_ptr<KivoAutoCompleteHeaderView>& headerTextField() const { return _headerView; }

    // ---- Look ----
    // The background of the part of each row that matches the filter string.
    const plat::Color& highlightedColor() const { return _highlightedColor; }
    void setHighlightedColor(const plat::Color& color) { _highlightedColor = color; }
    void setSelectedBackgroundColor(const plat::Color& color) override;
    void setTextColor(std::optional<plat::Color> color) override;
    void setTextFont(std::optional<plat::Font> font) override;
    void setTextAlignment(plat::TextAlignment alignment) override;
    // Colours the table; the popup around it keeps its own background.
    void setDropDownBackgroundColor(std::optional<plat::Color> color) override;
    // The suggestion table (the combo box's accessor of the same name gives null: the box builds no
    // combo-box table).
    const std::shared_ptr<KivoAutoCompleteDropdownView>& tableView() const { return _dropdownView; }
    // Plain storage for the application; nothing in the control reads it.
    const plat::ArrayPtr& customViews() const { return _customViews; }
    void setCustomViews(plat::ArrayPtr views) { _customViews = std::move(views); }

    // ---- Delegate ----
    // The delegate when it is an auto-complete delegate.
    std::shared_ptr<KivoAutoCompleteDelegate> autoCompleteDelegate() const;

    // ---- Operations ----
    // The display text of the item at an index of `itemsSource`: "" for an invalid index or an item
    // without a display value.
    std::string getDisplayText(std::uint64_t index) const override;
    // The index in `itemsSource` of the first suggestion equal to `text` (fullMatch) or beginning with
    // it ignoring case; NotFound when none does.
    std::uint64_t indexOf(const std::string& text, bool fullMatch) const override;
    plat::Value itemForRow(std::int64_t row) const override;
    std::uint64_t indexForRow(std::int64_t row) const override;
    std::optional<std::int64_t> rowForIndex(std::uint64_t index) const override;
    // Row styling: the label's font over the first occurrence of `substring` (ignoring case) in its text.
    void normalizeCellText(plat::Label& label, const std::string& substring) const;
    // The highlight over the first occurrence of `filter` in the label's text, ignoring case (accents
    // count, so a row that matched only through an accent shows no highlight).
    void highlightedSubstring(const std::string& filter, plat::Label& label) const;

    void layoutSubviews() override;
    // Also marks the selected row when the popup opens.
    void setIsDropDownOpen(bool open) override;

protected:
    explicit KivoAutoComplete(const plat::Rect& frame);
    void initialize() override;
    void _initAutoComplete();
    // Builds the suggestion table and the box's text field instead of the combo box's.
    void buildHeaderAndList() override;
    void _onCollectionViewChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) override;

private:
    friend class KivoAutoCompleteHeaderView;

    KIVO_INPUT_NO_EXPORT bool hasItems() const { return itemCount() > 0; }
    // Whether the popup should be open: the filter string is long enough and something is suggested.
    KIVO_INPUT_NO_EXPORT bool shouldOpen() const;
    // The display texts of the items, read again when stale.
    KIVO_INPUT_NO_EXPORT const kivo::detail::ItemTexts& itemTexts() const;
    KIVO_INPUT_NO_EXPORT plat::StringObject displayTextObject(std::uint64_t index) const;
    // The built-in filter (the header's autoComplete).
    KIVO_INPUT_NO_EXPORT void applyFilter(const std::string& text);
    // The candidates become these items of `itemsSource` (made into a list when first read).
    KIVO_INPUT_NO_EXPORT void useItemsAsCandidates(std::vector<std::uint64_t> indices);
    // The candidates become every item, in order (made into a list when first read).
    KIVO_INPUT_NO_EXPORT void useAllItemsAsCandidates();
    KIVO_INPUT_NO_EXPORT std::size_t candidateCount() const;
    // Lists the candidates; `indices` gives their item indices when they are known.
    KIVO_INPUT_NO_EXPORT void bindRows(const std::vector<std::uint64_t>* indices);
    // Follows a change that the collection view announced, with `before` the items it was made to:
    // only the new items' display texts are read. Nothing when the change cannot be followed so (the
    // view shows its items filtered or sorted, or the texts were not read yet), and nothing was done.
    KIVO_INPUT_NO_EXPORT std::optional<ListSplice> followChange(const KivoNotifyCollectionChangedEventArgs& args,
                                                                const plat::ArrayPtr& before);
    // The arrow shows while there are items and a list may show.
    KIVO_INPUT_NO_EXPORT void updateButton();
    KIVO_INPUT_NO_EXPORT void reloadTable();
    KIVO_INPUT_NO_EXPORT void selectCurrentRow();
    // Gives the text colour, font and alignment to the field and the table's rows.
    KIVO_INPUT_NO_EXPORT void applyTextStyle();
    // A keystroke changed the field's text, which no longer shows the held text object.
    KIVO_INPUT_NO_EXPORT void fieldWasEdited() { _fieldShowsText = false; }
    KIVO_INPUT_NO_EXPORT void reportText();

    double _delay = DefaultDelay;
    int _maxItems = DefaultMaxItems;
    int _minLength = DefaultMinLength;
    std::int64_t _operatorType = 0;
    bool _isCustomFiltering = false;
    std::shared_ptr<KivoAutoCompleteFilteringEventArgs> _filteringArgs;
    std::optional<std::string> _filterString;
    mutable plat::ArrayPtr _temporaryItemSource;
    // While set, the candidates are these items of `itemsSource`, and `_temporaryItemSource` is made
    // from them when first read: a keystroke does not copy thousands of items nobody reads.
    mutable std::optional<std::vector<std::uint64_t>> _pendingCandidates;
    // While set, the candidates are all the items, in order, in the same way.
    mutable bool _allCandidates = false;
    // Counts the changes of the items, so that a change handled in full while another was being
    // followed (from a report in between) is not followed over again.
    std::uint64_t _itemChanges = 0;
    plat::Color _highlightedColor = DefaultHighlightedColor;
    plat::ArrayPtr _customViews;
    plat::Locale _locale = plat::Locale::current();
    plat::StringObject _textObject = std::string();
    bool _fieldShowsText = true;

    std::shared_ptr<KivoAutoCompleteHeaderView> _headerView;
    std::shared_ptr<KivoAutoCompleteDropdownView> _dropdownView;
    // The item index of each suggestion row (NotFound for a candidate that is no item), and whether
    // they ascend (the built-in filter keeps item order), which makes the way back a binary search.
    std::vector<std::uint64_t> _rowIndex;
    bool _rowsAscending = true;
    // The rows are every item's text in item order: a row is its item's index (`_rowIndex` is empty).
    bool _rowsAreAllItems = false;
    mutable std::unique_ptr<kivo::detail::ItemTexts> _itemTexts;
};
