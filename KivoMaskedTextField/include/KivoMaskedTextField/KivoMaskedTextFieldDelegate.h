#pragma once
// The optional delegate of a masked text field: told of text changes made through the field's text
// setter (which it may take over from the textChanged event) and of every layout pass.

#include <memory>
#include <string>

#include "KivoInput/KivoInputExport.h"

class KivoMaskedTextField;

class KIVO_INPUT_EXPORT KivoMaskedTextFieldDelegate {
public:
    virtual ~KivoMaskedTextFieldDelegate() = default;

    // After the text changed through the field's text setter (every edit passes through it). Return
    // true to answer it: the field then raises no textChanged event. The default does not answer.
    virtual bool textChanged(const std::shared_ptr<KivoMaskedTextField>& field, const std::string& oldText,
                             const std::string& newText) {
        return false;
    }
    // After every layout pass of the field.
    virtual void rendered(const std::shared_ptr<KivoMaskedTextField>& field) {}
};
