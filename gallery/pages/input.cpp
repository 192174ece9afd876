// The input controls: masked text fields (a phone number, dates under two locales, a licence plate,
// a custom prompt) part-filled, a full one, and one showing its placeholder; beside each, the raw
// value the application reads and whether the mask is full.

#include <optional>
#include <string>

#include "KivoMaskedTextField/KivoMaskedTextField.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

constexpr plat::Color ReadoutColor{0.35, 0.35, 0.4};
constexpr plat::Color PlaceholderColor{0.6, 0.6, 0.63};
constexpr double Left = 16;
constexpr double Top = 14;
constexpr double RowPitch = 62;
constexpr double CaptionHeight = 14;
constexpr double FieldWidth = 230;
constexpr double FieldHeight = 36;
constexpr double ReadoutGap = 16;
constexpr double ReadoutWidth = 190;

struct MaskedRow {
    const char* caption;
    const char* mask;
    const char* value;  // typed so far (the raw value)
    const char* prompt = "_";
    const char* locale = nullptr;  // the mask's literals from this locale instead of the page's
    const char* placeholder = nullptr;
};

const MaskedRow Rows[] = {
    {"phone number  (000) 000-0000", "(000) 000-0000", "555867"},
    {"date, en_US  00/00/0000", "00/00/0000", "1205"},
    {"date, de_DE  00/00/0000", "00/00/0000", "0512", "_", "de_DE"},
    {"licence plate  >LLL-0000", ">LLL-0000", "kvo12"},
    {"order code, prompt *  >LL-&&&&", ">LL-&&&&", "ab12", "*"},
    {"card number, full  0000 0000 0000 0000", "0000 0000 0000 0000", "4111111111111111"},
    {"postcode with a placeholder  00000", "00000", "", "_", nullptr, "Postcode"},
};

void addMaskedField(plat::Window& window, const MaskedRow& row, double y) {
    gallery::addCaption(window, {Left, y, FieldWidth + ReadoutGap + ReadoutWidth, CaptionHeight}, row.caption);
    auto field = KivoMaskedTextField::create({Left, y + CaptionHeight + 4, FieldWidth, FieldHeight});
    field->setPromptChar(row.prompt);
    if (row.locale) {
        const plat::Locale page = plat::Locale::current();
        plat::Locale::setCurrent(plat::Locale::withIdentifier(row.locale));
        field->setMask(std::string(row.mask));
        plat::Locale::setCurrent(page);
    } else {
        field->setMask(std::string(row.mask));
    }
    if (row.placeholder) {
        field->setPlaceHolderFont(field->font());
        field->setPlaceHolderColor(PlaceholderColor);
        field->setPlaceholder(std::string(row.placeholder));
    } else {
        field->setValue(row.value);
    }
    window.addSubview(field);
    const std::string readout = row.placeholder
                                    ? "empty: the placeholder shows"
                                    : "value \"" + field->value() + "\" · " + (field->maskFull() ? "full" : "not full");
    gallery::addCaption(window, {Left + FieldWidth + ReadoutGap, y + CaptionHeight + 4, ReadoutWidth, FieldHeight}, readout,
                        ReadoutColor);
}

void populate(plat::Window& window) {
    double y = Top;
    for (const MaskedRow& row : Rows) {
        addMaskedField(window, row, y);
        y += RowPitch;
    }
}

const gallery::PageRegistrar registrar({
    .name = "input",
    .description = "Masked text fields part-filled: a phone number, a date with the en_US and the de_DE date "
                   "separator, a licence plate that upper-cases, an order code with its own prompt, a full card "
                   "number and an empty postcode field showing its placeholder; beside each, its raw value.",
    .size = {Left * 2 + FieldWidth + ReadoutGap + ReadoutWidth,
             Top * 2 + RowPitch * 7 - (RowPitch - CaptionHeight - 4 - FieldHeight)},
    .populate = populate,
});

}  // namespace
