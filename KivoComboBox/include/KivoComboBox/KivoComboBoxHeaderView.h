#pragma once
// The combo box's text field. While the user types, it fills in the rest of the first list text that
// starts with the typed characters (case aside) and leaves the filled-in part selected, so that the
// next keystroke replaces it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoInput/KivoInputExport.h"
#include "Platform/foundation/value.h"
#include "Platform/ui/text_field.h"

class KivoComboBox;

class KIVO_INPUT_EXPORT KivoComboBoxHeaderView : public plat::TextField, public plat::TextFieldDelegate {
public:
    using DisplayList = std::vector<std::string>;

    // `itemSources` is the display list that the combo box's table owns and refills in place.
    static std::shared_ptr<KivoComboBoxHeaderView> create(const std::shared_ptr<KivoComboBox>& comboBox,
                                                          std::shared_ptr<const DisplayList> itemSources);

    // Type-ahead: the field's edits go through the combo box, which sets the text itself.
    bool shouldChangeCharactersInRange(plat::TextField& field, plat::TextRange range, const std::string& replacement) override;
    bool textFieldShouldReturn(plat::TextField& field) override;

    std::shared_ptr<KivoComboBox> comboBox() const { return _comboBox.lock(); }
    // Plain storage for the application; nothing in the control reads it.
    const plat::ArrayPtr& itemsSource() const { return _itemsSource; }
    void setItemsSource(plat::ArrayPtr items) { _itemsSource = std::move(items); }

protected:
    KivoComboBoxHeaderView() : plat::TextField({}) {}
    void initialize() override;

private:
    // The first display text that `text` matches ignoring case: as a non-empty beginning when
    // `autoComplete` is on, as the whole text otherwise; nullopt when none does.
    KIVO_INPUT_NO_EXPORT std::optional<std::string> _getMatchedItemFromSources(const std::string& text, bool autoComplete) const;
    // Selects `range` (UTF-16 units) of the field's text.
    KIVO_INPUT_NO_EXPORT void _setSelectedTextFor(plat::TextRange range) { setSelectedRange(range); }

    std::weak_ptr<KivoComboBox> _comboBox;
    std::shared_ptr<const DisplayList> _itemSources;
    plat::ArrayPtr _itemsSource;
};
