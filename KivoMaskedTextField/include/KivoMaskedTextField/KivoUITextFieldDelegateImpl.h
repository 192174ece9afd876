#pragma once
// The text-field delegate that a masked text field installs on itself: it carries out every edit
// through the mask handler (the platform never applies a raw edit) and keeps the caret off literals.

#include <memory>
#include <string>

#include "KivoInput/KivoInputExport.h"
#include "Platform/ui/text_field.h"

class KivoMaskHandler;

class KIVO_INPUT_EXPORT KivoUITextFieldDelegateImpl : public plat::TextFieldDelegate {
public:
    explicit KivoUITextFieldDelegateImpl(std::shared_ptr<KivoMaskHandler> maskHandler);

    // Places the caret on the first input position.
    void textFieldDidBeginEditing(plat::TextField& field) override;
    // Ends editing; always answers true.
    bool textFieldShouldReturn(plat::TextField& field) override;
    // The edit road: rewrites the text through the mask and places the caret; always answers false
    // when a mask is set (the edit is already done or refused), true without one (a plain edit).
    bool shouldChangeCharactersInRange(plat::TextField& field, plat::TextRange range, const std::string& replacement) override;

private:
    // Selects `range` (UTF-16 units from the start of the text); a length of 0 places the caret.
    KIVO_INPUT_NO_EXPORT void _setSelectedTextFor(plat::TextField& field, plat::TextRange range);

    std::shared_ptr<KivoMaskHandler> _maskHandler;
};
