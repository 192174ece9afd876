// The mask engine under an edit script: a mask, a prompt, then edits (replace a range, set the text,
// set the value) as a user or a host makes them. After every edit the text shows each literal of the
// mask at its own place, and the value holds only characters that the script typed.
#include <cctype>
#include <memory>
#include <set>

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "KivoMaskedTextField/KivoMaskedTextField.h"
#include "Platform/foundation/utf16.h"
#include "fuzz_support.h"

namespace {

using fuzz::fail;

// A single-line field shows a line break as a space, whether typed or a literal of the mask.
char16_t shown(char16_t c) { return c == u'\n' || c == u'\r' ? u' ' : c; }

char16_t folded(char16_t c) { return c < 128 ? static_cast<char16_t>(std::tolower(static_cast<int>(c))) : c; }

void checkField(const KivoMaskedTextField& field, const std::set<char16_t>& typed, const std::string& script) {
    const auto& positions = field.maskHandler()->maskArr();
    const std::u16string text = plat::toUtf16(field.text());
    if (positions.empty() || text.empty()) return;
    if (text.size() != positions.size()) fail("the text has one character per mask position", script + " -> " + field.text());
    for (std::size_t i = 0; i < positions.size(); ++i)
        if (positions[i].isLiteral() && text[i] != shown(positions[i].literal()))
            fail("a literal stays at its place", script + " -> " + field.text());
    for (const char16_t c : plat::toUtf16(field.value()))
        if (!typed.count(folded(c))) fail("the value holds only typed characters", script + " -> value " + field.value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    fuzz::Reader in(data, size);
    auto field = KivoMaskedTextField::create({0, 0, 200, 40});
    const std::string mask = in.text('\n', 24);
    field->setPromptChar(in.byte() & 1 ? " " : "_");
    field->setMask(mask);
    std::set<char16_t> typed;
    std::string script = "mask \"" + mask + "\" prompt \"" + field->promptChar() + "\"";
    for (int step = 0; step < 32 && !in.empty(); ++step) {
        const std::uint8_t op = in.byte();
        const auto length = static_cast<std::int64_t>(plat::toUtf16(field->text()).size());
        const std::int64_t location = in.byte() % (length + 2);
        const std::int64_t span = in.byte() % (length + 2);
        const std::string piece = in.text('\x01', 6);
        for (const char16_t c : plat::toUtf16(piece)) typed.insert(folded(shown(c)));
        switch (op % 3) {
            case 0:
                script += "; replace {" + std::to_string(location) + "," + std::to_string(span) + "} \"" + piece + "\"";
                field->replaceRange({location, span}, piece);
                break;
            case 1:
                script += "; text \"" + piece + "\"";
                field->setText(piece);
                break;
            default:
                script += "; value \"" + piece + "\"";
                field->setValue(piece);
                break;
        }
        checkField(*field, typed, script);
    }
    return 0;
}
