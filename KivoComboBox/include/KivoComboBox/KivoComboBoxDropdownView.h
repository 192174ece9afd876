#pragma once
// The combo box's list: a table of the items' display texts, one row per visible item, whose rows
// the application may replace with views of its own; choosing a row selects its item and closes the
// popup. The table is its own data source and delegate.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoInput/KivoInputExport.h"
#include "Platform/graphics/font.h"
#include "Platform/graphics/text.h"
#include "Platform/ui/table_view.h"

class KivoComboBox;

class KIVO_INPUT_EXPORT KivoComboBoxDropdownView : public plat::TableView,
                                                   public plat::TableViewDataSource,
                                                   public plat::TableViewDelegate {
public:
    using DisplayList = std::vector<std::string>;

    static std::shared_ptr<KivoComboBoxDropdownView> create(const std::shared_ptr<KivoComboBox>& comboBox);

    static constexpr const char* SimpleIdentifier = "SimpleIdentifier";
    // The built-in label keeps this far from the row's sides.
    static constexpr double LabelInset = 8;
    // Marks the built-in label among a reused row's subviews.
    static constexpr std::int64_t LabelTag = 0x4b43424c;

    // The display list: one list object for the table's life, refilled in place.
    const std::shared_ptr<DisplayList>& itemsSource() const { return _itemsSource; }
    // Copies `texts` into the display list and reloads the table.
    void setItemsSource(const DisplayList& texts);
    // Replaces `count` texts from `at` with `texts` and reloads the table; its row geometry waits
    // for the next layout, so that items added one by one are not measured once each.
    void replaceItems(std::size_t at, std::size_t count, DisplayList texts);

    // Set by the combo box; without a colour or a font the label keeps its defaults.
    const std::optional<plat::Color>& textColor() const { return _textColor; }
    void setTextColor(std::optional<plat::Color> color) { _textColor = color; }
    const std::optional<plat::Font>& textFont() const { return _textFont; }
    void setTextFont(std::optional<plat::Font> font) { _textFont = std::move(font); }
    plat::TextAlignment textAlignment() const { return _textAlignment; }
    void setTextAlignment(plat::TextAlignment alignment) { _textAlignment = alignment; }

    std::shared_ptr<KivoComboBox> comboBox() const { return _comboBox.lock(); }

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
    KivoComboBoxDropdownView() : plat::TableView({}, plat::TableViewStyle::Plain) {}
    void initialize() override;

private:
    KIVO_INPUT_NO_EXPORT void fillWithLabel(plat::TableViewCell& cell, const std::string& text);
    KIVO_INPUT_NO_EXPORT static void showContent(plat::TableViewCell& cell, const std::shared_ptr<plat::View>& view);

    std::weak_ptr<KivoComboBox> _comboBox;
    std::shared_ptr<DisplayList> _itemsSource = std::make_shared<DisplayList>();
    std::optional<plat::Color> _textColor;
    std::optional<plat::Font> _textFont;
    plat::TextAlignment _textAlignment = plat::TextAlignment::Left;
};
