#pragma once
// The auto-complete box's text field: each keystroke becomes the filter string and schedules a
// filtering pass after the box's delay; the field applies the edit itself. It also holds the
// built-in filter.

#include <memory>
#include <string>
#include <vector>

#include "KivoInput/KivoInputExport.h"
#include "Platform/foundation/shared_value.h"
#include "Platform/ui/text_field.h"

class KivoAutoComplete;

class KIVO_INPUT_EXPORT KivoAutoCompleteHeaderView : public plat::TextField, public plat::TextFieldDelegate {
public:
    using SuggestionList = std::vector<plat::StringObject>;

    // `itemSources` is the suggestion list that the box's table owns and refills in place.
    static std::shared_ptr<KivoAutoCompleteHeaderView> create(const std::shared_ptr<KivoAutoComplete>& autoComplete,
                                                              std::shared_ptr<const SuggestionList> itemSources);

    // The built-in filter: the candidates become the items whose display text contains `text`
    // (ignoring case and accents; in Xamarin mode ignoring case only), all items for an empty text;
    // then the suggestion list is rebuilt.
    void autoComplete(const std::shared_ptr<KivoAutoComplete>& autoComplete, const std::string& text);

    // A keystroke: the filter string becomes the field's text after the edit and a filtering pass is
    // scheduled; an edit that changes nothing does nothing. Always lets the field apply the edit.
    bool shouldChangeCharactersInRange(plat::TextField& field, plat::TextRange range, const std::string& replacement) override;
    bool textFieldShouldReturn(plat::TextField& field) override;

    std::shared_ptr<KivoAutoComplete> autoCompleteBox() const { return _autoComplete.lock(); }
    // The suggestion list (the table's).
    const std::shared_ptr<const SuggestionList>& itemsSource() const { return _itemSources; }

protected:
    KivoAutoCompleteHeaderView() : plat::TextField({}) {}
    void initialize() override;

private:
    std::weak_ptr<KivoAutoComplete> _autoComplete;
    std::shared_ptr<const SuggestionList> _itemSources;
};
