#pragma once
// A text field held to a mask: the mask handler redoes each edit, positions nobody filled yet show the
// prompt character, the caret skips literal positions, and `value` gives what the user typed alone,
// free of literals and prompts. A text change goes to the mask delegate, or to the textChanged event
// when the delegate does not answer.
//
// Sections: mask · text and value · placeholder · look · delegate and events · internals.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "KivoCore/KivoEvent.h"
#include "KivoInput/KivoInputExport.h"
#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "KivoMaskedTextField/KivoMaskedTextFieldDelegate.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/text_field.h"

class KivoUITextFieldDelegateImpl;

// Inner spacing (top, left, bottom, right); stored for the application, nothing lays out by it.
struct KIVO_INPUT_EXPORT KivoEdgeInsets {
    double top = 0, left = 0, bottom = 0, right = 0;
    friend bool operator==(const KivoEdgeInsets&, const KivoEdgeInsets&) = default;
};

class KIVO_INPUT_EXPORT KivoMaskedTextField : public plat::TextField {
public:
    static std::shared_ptr<KivoMaskedTextField> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoMaskedTextField> create(const plat::Coder& coder);

    // ---- Mask ----
    // None at start. A different mask is parsed at once; while no placeholder is set the current text
    // is rebuilt under it (no textChanged).
    const std::optional<std::string>& mask() const { return _maskHandler->mask(); }
    void setMask(std::optional<std::string> mask);
    // "_" at start; its first character fills unfilled positions. A different prompt re-shows the
    // unfilled positions with it (no textChanged).
    const std::string& promptChar() const { return _maskHandler->promptChar(); }
    void setPromptChar(std::string promptChar);
    // Whether the last rebuild filled every input position.
    bool maskFull() const { return _maskHandler->maskFull(); }

    // ---- Text and value ----
    // A text other than the current one is rebuilt through the mask and reported (delegate first,
    // else textChanged). Hides the base setter, which sets text without masking.
    void setText(std::string_view text);
    // The raw value: the filled input characters. Setting it rebuilds the text from it without
    // comparing and without textChanged.
    std::string value() const { return _maskHandler->getRawValue(text()); }
    void setValue(std::string_view value);

    // ---- Placeholder ----
    // None at start. Setting it empties the text (no textChanged); the field shows it, in its own
    // font and colour, while the text is empty, and returns to it when an edit leaves no input
    // position filled.
    const std::optional<std::string>& placeholder() const { return _placeholder; }
    void setPlaceholder(std::optional<std::string> placeholder);
    const plat::Font& placeHolderFont() const { return _placeHolderFont; }
    void setPlaceHolderFont(const plat::Font& font);
    const plat::Color& placeHolderColor() const { return _placeHolderColor; }
    void setPlaceHolderColor(const plat::Color& color);
    static constexpr double DefaultPlaceHolderFontSize = 20;
    static constexpr plat::Color DefaultPlaceHolderColor{0.9f, 0.9f, 0.91f, 1.0};

    // ---- Look ----
    const KivoEdgeInsets& padding() const { return _padding; }
    void setPadding(const KivoEdgeInsets& padding) { _padding = padding; }

    // ---- Delegate and events ----
    // Held weakly.
    std::shared_ptr<KivoMaskedTextFieldDelegate> maskDelegate() const { return _maskDelegate.lock(); }
    void setMaskDelegate(const std::shared_ptr<KivoMaskedTextFieldDelegate>& delegate) { _maskDelegate = delegate; }
    // Retains the delegate and makes it the mask delegate.
    const std::shared_ptr<KivoMaskedTextFieldDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<KivoMaskedTextFieldDelegate> delegate);
    // Raised, with no arguments, when the text setter changed the text and the delegate did not
    // answer textChanged.
    const std::shared_ptr<KivoEvent>& textChanged() const { return _textChanged; }

    void layoutSubviews() override;
    void drawRect(plat::Context& context, const plat::Rect& rect) override;
    // Draws the placeholder in its font and colour, centred vertically in `rect`, into the current
    // drawing context.
    void drawPlaceholderInRect(const plat::Rect& rect);
    // The font an attribute dictionary describes (plat::fontFromAttributes).
    static plat::Font getDecriptor(const plat::Dictionary& attributes);

    // ---- Internals ----
    // The field's mask handler, which every edit goes through.
    const std::shared_ptr<KivoMaskHandler>& maskHandler() const { return _maskHandler; }

protected:
    explicit KivoMaskedTextField(const plat::Rect& frame);
    void initialize() override;
    void _initInternals();

private:
    KIVO_INPUT_NO_EXPORT void setTextSilently(const std::string& text) { plat::TextField::setText(text); }

    std::shared_ptr<KivoMaskHandler> _maskHandler;
    std::shared_ptr<KivoUITextFieldDelegateImpl> _delegateImpl;
    std::shared_ptr<KivoEvent> _textChanged;
    std::optional<std::string> _placeholder;
    plat::Font _placeHolderFont = plat::Font::system(DefaultPlaceHolderFontSize);
    plat::Color _placeHolderColor = DefaultPlaceHolderColor;
    KivoEdgeInsets _padding;
    std::weak_ptr<KivoMaskedTextFieldDelegate> _maskDelegate;
    std::shared_ptr<KivoMaskedTextFieldDelegate> _strongDelegate;
};
