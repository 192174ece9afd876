#include "KivoMaskedTextField/KivoMaskedTextField.h"

#include "KivoMaskedTextField/KivoUITextFieldDelegateImpl.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/text.h"

std::shared_ptr<KivoMaskedTextField> KivoMaskedTextField::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoMaskedTextField>(new KivoMaskedTextField(frame)));
}

KivoMaskedTextField::KivoMaskedTextField(const plat::Rect& frame) : plat::TextField(frame) {}

void KivoMaskedTextField::initialize() {
    plat::TextField::initialize();
    _initInternals();
}

void KivoMaskedTextField::_initInternals() {
    setBorderStyle(plat::TextBorderStyle::RoundedRect);
    _padding = {};
    _maskHandler = std::make_shared<KivoMaskHandler>();
    _delegateImpl = std::make_shared<KivoUITextFieldDelegateImpl>(_maskHandler);
    _textChanged = std::make_shared<KivoEvent>();
    _placeholder.reset();
    _placeHolderFont = plat::Font::system(DefaultPlaceHolderFontSize);
    _placeHolderColor = DefaultPlaceHolderColor;
    setDelegate(_delegateImpl);
}

// ---- Mask ----

void KivoMaskedTextField::setMask(std::optional<std::string> mask) {
    // The field shows one line: a line break would be shown as a space, so a literal line break would
    // no longer match its place and the next rebuild would read the characters after it as typed.
    if (mask) mask = oneLine(*mask);
    if (mask == _maskHandler->mask()) return;
    _maskHandler->setMask(std::move(mask));
    if (!_placeholder || _placeholder->empty()) setTextSilently(_maskHandler->applyMaskTo(text()));
}

void KivoMaskedTextField::setPromptChar(std::string promptChar) {
    if (promptChar == _maskHandler->promptChar()) return;
    const std::string old = _maskHandler->promptChar();
    _maskHandler->setPromptChar(std::move(promptChar));
    setTextSilently(_maskHandler->applyMaskTo(_maskHandler->replacePrompt(text(), old)));
}

// ---- Text and value ----

void KivoMaskedTextField::setText(std::string_view newText) {
    const std::string old = text();
    if (old == newText) return;
    // Laid onto the mask as the field will show it: a CR LF masked as two characters would be shown
    // as one space and move every position after it.
    setTextSilently(_maskHandler->applyMaskTo(oneLine(newText)));
    auto self = sharedAs<KivoMaskedTextField>();
    if (auto d = maskDelegate(); d && d->textChanged(self, old, text())) return;
    _textChanged->raise(self, nullptr);
}

void KivoMaskedTextField::setValue(std::string_view value) { setTextSilently(_maskHandler->applyMaskTo(oneLine(value))); }

// ---- Placeholder ----

void KivoMaskedTextField::setPlaceholder(std::optional<std::string> placeholder) {
    _placeholder = std::move(placeholder);
    if (_maskHandler->placeholder() != _placeholder) _maskHandler->setPlaceholder(_placeholder);
    setTextSilently({});
    setNeedsDisplay();
}

void KivoMaskedTextField::setPlaceHolderFont(const plat::Font& font) {
    _placeHolderFont = font;
    setNeedsDisplay();
}

void KivoMaskedTextField::setPlaceHolderColor(const plat::Color& color) {
    _placeHolderColor = color;
    setNeedsDisplay();
}

// ---- Delegate and events ----

void KivoMaskedTextField::setStrongDelegate(std::shared_ptr<KivoMaskedTextFieldDelegate> delegate) {
    if (delegate == _strongDelegate) return;
    _strongDelegate = std::move(delegate);
    _maskDelegate = _strongDelegate;
}

void KivoMaskedTextField::layoutSubviews() {
    plat::TextField::layoutSubviews();
    if (auto d = maskDelegate()) d->rendered(sharedAs<KivoMaskedTextField>());
}

// ---- Drawing ----

void KivoMaskedTextField::drawRect(plat::Context& context, const plat::Rect& rect) {
    // The base field draws no placeholder of its own: this one has its own font and colour.
    plat::TextField::drawRect(context, rect);
    if (text().empty() && _placeholder && !_placeholder->empty()) {
        const plat::Rect textRect = textRectForBounds(bounds());
        context.save();
        context.clipToRect(textRect);
        drawPlaceholderInRect(textRect);
        context.restore();
    }
}

void KivoMaskedTextField::drawPlaceholderInRect(const plat::Rect& rect) {
    plat::Context* context = plat::currentContext();
    if (!context || !_placeholder) return;
    const double lineHeight = plat::fontMetrics(_placeHolderFont).lineHeight;
    const plat::Rect box{rect.x(), rect.y() + (rect.height() - lineHeight) / 2, rect.width(), rect.height()};
    context->drawText(plat::AttributedString(*_placeholder, _placeHolderFont, _placeHolderColor), box);
}

plat::Font KivoMaskedTextField::getDecriptor(const plat::Dictionary& attributes) { return plat::fontFromAttributes(attributes); }
