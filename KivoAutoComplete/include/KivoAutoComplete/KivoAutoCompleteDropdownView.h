#pragma once
// The auto-complete box's suggestion table: one row of fixed height per suggestion, the part that
// matches the filter string highlighted; its height follows the number of suggestions up to the
// box's `maxItems` rows, so the popup grows and shrinks as the user types. Choosing a row selects
// its item and closes the popup. The table is its own data source and delegate.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoInput/KivoInputExport.h"
#include "Platform/foundation/shared_value.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/font.h"
#include "Platform/graphics/text.h"
#include "Platform/ui/table_view.h"

namespace plat {
class Label;
}

class KivoAutoComplete;

class KIVO_INPUT_EXPORT KivoAutoCompleteDropdownView : public plat::TableView,
                                                       public plat::TableViewDataSource,
                                                       public plat::TableViewDelegate {
public:
    using SuggestionList = std::vector<plat::StringObject>;

    static std::shared_ptr<KivoAutoCompleteDropdownView> create(const std::shared_ptr<KivoAutoComplete>& autoComplete);

    static constexpr const char* CellId = "cellId";
    static constexpr double CellHeight = 44.0;
    // The row's label keeps this far from the row's sides.
    static constexpr double LabelInset = 8;

    // The suggestion list: one list object for the table's life, refilled in place by the box.
    const std::shared_ptr<SuggestionList>& itemsSource() const { return _itemsSource; }
    double cellHeight() const { return _cellHeight; }

    // Set by the box; without a colour or a font the label keeps its defaults.
    const std::optional<plat::Color>& textColor() const { return _textColor; }
    void setTextColor(std::optional<plat::Color> color) { _textColor = color; }
    const std::optional<plat::Font>& textFont() const { return _textFont; }
    void setTextFont(std::optional<plat::Font> font) { _textFont = std::move(font); }
    plat::TextAlignment textAlignment() const { return _textAlignment; }
    void setTextAlignment(plat::TextAlignment alignment) { _textAlignment = alignment; }
    // Plain storage for the application; nothing in the control reads it.
    const plat::ArrayPtr& customizedCells() const { return _customizedCells; }
    void setCustomizedCells(plat::ArrayPtr cells) { _customizedCells = std::move(cells); }

    // The table's height for `rows` suggestions: at most `maxItems` rows of the cell height, 0 when
    // `maxItems` is below 1.
    static double getTableViewHeight(const KivoAutoComplete& autoComplete, std::int64_t rows);
    // Sizes the table (and the box's popup) for `rows` suggestions: the whole screen in full-screen mode.
    void changeTableViewHeightWithNumberOfRows(std::int64_t rows);
    // The index in the box's `itemsSource` of the first item equal to `item`; 0 when there is none.
    int getCorrespondIndexofXamarinView(const plat::Value& item) const;

    std::shared_ptr<KivoAutoComplete> autoComplete() const { return _autoComplete.lock(); }

    // ---- Data source and delegate ----
    using plat::TableView::cellForRowAtIndexPath;
    using plat::TableView::numberOfRowsInSection;
    std::int64_t numberOfRowsInSection(plat::TableView& table, std::int64_t section) override;
    std::shared_ptr<plat::TableViewCell> cellForRowAtIndexPath(plat::TableView& table, const plat::IndexPath& indexPath) override;
    void willDisplayCell(plat::TableView& table, plat::TableViewCell& cell, const plat::IndexPath& indexPath) override;
    // Choosing the row that is already selected closes the list as choosing any other row does.
    std::optional<plat::IndexPath> willSelectRowAtIndexPath(plat::TableView& table, const plat::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(plat::TableView& table, const plat::IndexPath& indexPath) override;

protected:
    KivoAutoCompleteDropdownView() : plat::TableView({}, plat::TableViewStyle::Plain) {}
    void initialize() override;

private:
    // The built-in row: a label with the suggestion's text, styled from the table's properties.
    KIVO_INPUT_NO_EXPORT void styleLabel(plat::Label& label, const plat::Rect& content, double y, const std::string& text) const;
    KIVO_INPUT_NO_EXPORT void fillXamarinRow(const std::shared_ptr<KivoAutoComplete>& box, plat::TableViewCell& cell,
                                             std::int64_t row);

    std::weak_ptr<KivoAutoComplete> _autoComplete;
    std::shared_ptr<SuggestionList> _itemsSource = std::make_shared<SuggestionList>();
    double _cellHeight = CellHeight;
    std::optional<plat::Color> _textColor;
    std::optional<plat::Font> _textFont;
    plat::TextAlignment _textAlignment = plat::TextAlignment::Left;
    plat::ArrayPtr _customizedCells = std::make_shared<plat::Array>();
};
