#include "KivoMaskedTextField/KivoUITextFieldDelegateImpl.h"

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "KivoMaskedTextField/KivoMaskedTextField.h"
#include "mask/MaskEditRoad.h"

namespace {

using plat::TextRange;

// A text field as the edit road sees it: the masked field's own setters (comparison, reporting, its
// placeholder) when it is one, the plain field's otherwise.
class FieldEditable : public kivo::detail::MaskEditable {
public:
    explicit FieldEditable(plat::TextField& field) : _field(field), _masked(dynamic_cast<KivoMaskedTextField*>(&field)) {}

    std::string text() const override { return _field.text(); }
    void setText(const std::string& text) override {
        if (_masked) {
            _masked->setText(text);
        } else {
            _field.setText(text);
        }
    }
    void setSelectedRange(TextRange range) override { _field.setSelectedRange(range); }
    bool hasPlaceholder() const override { return _masked ? _masked->placeholder().has_value() : !_field.placeholder().empty(); }
    void setPlaceholder(const std::optional<std::string>& placeholder) override {
        if (_masked) {
            _masked->setPlaceholder(placeholder);
        } else {
            _field.setPlaceholder(placeholder.value_or(std::string()));
            _field.setText({});
        }
    }

private:
    plat::TextField& _field;
    KivoMaskedTextField* _masked;
};

}  // namespace

KivoUITextFieldDelegateImpl::KivoUITextFieldDelegateImpl(std::shared_ptr<KivoMaskHandler> maskHandler)
    : _maskHandler(std::move(maskHandler)) {}

void KivoUITextFieldDelegateImpl::textFieldDidBeginEditing(plat::TextField& field) {
    FieldEditable editable(field);
    kivo::detail::MaskEditRoad(_maskHandler).beginEditing(editable);
}

bool KivoUITextFieldDelegateImpl::textFieldShouldReturn(plat::TextField& field) {
    if (field.isFirstResponder()) field.resignFirstResponder();
    return true;
}

bool KivoUITextFieldDelegateImpl::shouldChangeCharactersInRange(plat::TextField& field, plat::TextRange range,
                                                                const std::string& replacement) {
    // What the field's reports set off may release it; keep it for the edit.
    const auto keep = field.shared_from_this();
    FieldEditable editable(field);
    return kivo::detail::MaskEditRoad(_maskHandler).edit(editable, range, replacement);
}

void KivoUITextFieldDelegateImpl::_setSelectedTextFor(plat::TextField& field, plat::TextRange range) {
    field.setSelectedRange(range);
}
