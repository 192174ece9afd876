// The edit road of the masked text field: insertions that shift, refusals that keep the text and the
// selection, deletions with shift, refused deletions, literals, pastes and the return to the
// placeholder, over a field that behaves as the masked field's setters do; no edit loses what was typed.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "KivoMaskedTextField/KivoMaskHandler.h"
#include "Platform/foundation/utf16.h"
#include "Platform/testing/log_capture.h"
#include "input_access.h"
#include "mask/MaskEditRoad.h"
#include "mask_test_support.h"

namespace {

using Access = kivo::testing::InputAccess;

using plat::TextRange;

// The masked field's setters: the text setter rebuilds through the mask and reports a change; the
// placeholder setter empties the text.
class FakeField : public kivo::detail::MaskEditable {
public:
    explicit FakeField(std::shared_ptr<KivoMaskHandler> handler) : _handler(std::move(handler)) {}

    std::string text() const override { return _text; }
    void setText(const std::string& text) override {
        if (text == _text) return;
        _text = _handler->applyMaskTo(text);
        ++notified;
    }
    void setSelectedRange(TextRange range) override {
        const auto size = static_cast<std::int64_t>(plat::toUtf16(_text).size());
        range.location = std::clamp<std::int64_t>(range.location, 0, size);
        range.length = std::clamp<std::int64_t>(range.length, 0, size - range.location);
        selection = range;
    }
    bool hasPlaceholder() const override { return placeholder.has_value(); }
    void setPlaceholder(const std::optional<std::string>& value) override {
        placeholder = value;
        _text.clear();
        selection = {};
    }
    void place(const std::string& text) { _text = text; }

    TextRange selection;
    std::optional<std::string> placeholder;
    int notified = 0;

private:
    std::shared_ptr<KivoMaskHandler> _handler;
    std::string _text;
};

constexpr const char* Phone = "(000) 000-0000";

struct EditRow {
    const char* name;
    const char* mask;
    const char* text;
    TextRange range;
    const char* replacement;
    // Expected.
    const char* result;
    TextRange selection;
    bool notified;
    bool accepted = false;  // whether the field is to apply the raw edit itself
    const char* prompt = "_";
    std::optional<std::string> placeholder = std::nullopt;
};

class MaskEditRoadTest : public PinnedLocaleTest {};

char16_t lowered(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool isSubsequence(const std::u16string& part, const std::u16string& whole) {
    std::size_t i = 0;
    for (char16_t c : whole) {
        if (i < part.size() && part[i] == c) ++i;
    }
    return i == part.size();
}

TEST_F(MaskEditRoadTest, EditsThroughTheMask) {
    plat::testing::LogCapture quiet;  // edits that drop characters say so
    const EditRow rows[] = {
        {"type into an empty field", Phone, "(___) ___-____", {1, 0}, "5", "(5__) ___-____", {2, 0}, true},
        {"type on the leading literal", Phone, "(___) ___-____", {0, 0}, "5", "(5__) ___-____", {2, 0}, true},
        {"type before literals: the caret passes them", Phone, "(55_) ___-____", {3, 0}, "5", "(555) ___-____", {6, 0}, true},
        {"insert shifts the rest while it fits", Phone, "(123) 456-789_", {1, 0}, "9", "(912) 345-6789", {2, 0}, true},
        {"insert into a full field is refused", Phone, "(123) 456-7890", {1, 0}, "9", "(123) 456-7890", {1, 0}, false},
        {"type into an unfilled position: no shift past the end", "LL-00", "a_-12", {1, 0}, "b", "ab-12", {3, 0}, true},
        {"shift across a literal", "00-00", "12-3_", {1, 0}, "9", "19-23", {3, 0}, true},
        {"on a literal: fill the unfilled position after it", "LL-00", "ab-_1", {2, 0}, "3", "ab-31", {4, 0}, true},
        {"a paste fills the unfilled positions it needs", "0000", "__34", {0, 0}, "12", "1234", {2, 0}, true},
        {"a paste longer than the room fills what it can", "0000", "__34", {0, 0}, "123", "1234", {2, 0}, true},
        {"... across a literal, taking up the unfilled positions first",
         "00-00",
         "__-_9",
         {0, 0},
         "12345",
         "12-39",
         {4, 0},
         true},
        {"a misfit is refused; the caret stays", Phone, "(5__) ___-____", {2, 0}, "x", "(5__) ___-____", {2, 0}, false},
        {"a misfit on a literal moves onto the input", Phone, "(___) ___-____", {0, 0}, "x", "(___) ___-____", {1, 0}, false},
        {"a misfit over a selection keeps it", "LL-0000", "zz-9999", {0, 2}, "9", "zz-9999", {0, 2}, false},
        {"a fitting replacement of a selection", "LL-0000", "zz-9999", {0, 2}, "ab", "ab-9999", {3, 0}, true},
        {"a shorter replacement whose rest would not fit is refused",
         "LL-0000",
         "zz-9999",
         {0, 2},
         "a",
         "zz-9999",
         {0, 2},
         false},
        {"paste digits", Phone, "(___) ___-____", {0, 0}, "5551234567", "(555) 123-4567", {14, 0}, true},
        {"paste over everything, formatted", Phone, "(111) 111-1111", {0, 14}, "(555) 123-4567", "(555) 123-4567", {14, 0}, true},
        {"paste with misfits", Phone, "(___) ___-____", {1, 0}, "12ab34", "(123) 4__-____", {7, 0}, true},
        {"delete shifts the rest left", Phone, "(555) 123-4567", {7, 1}, "", "(555) 134-567_", {7, 0}, true},
        {"delete the first digit", Phone, "(555) 123-4567", {1, 1}, "", "(551) 234-567_", {1, 0}, true},
        {"delete a selection", Phone, "(555) 123-4567", {1, 6}, "", "(234) 567-____", {1, 0}, true},
        {"delete a literal: put back, caret after the input before",
         Phone,
         "(555) 123-4567",
         {4, 1},
         "",
         "(555) 123-4567",
         {4, 0},
         false},
        {"delete the hyphen", Phone, "(555) 123-4567", {9, 1}, "", "(555) 123-4567", {9, 0}, false},
        {"a delete whose rest would not fit is refused", "LL-00", "ab-12", {1, 1}, "", "ab-12", {1, 1}, false},
        // Literals stay where the mask has them; only typed characters move.
        {"delete before a literal that fits the positions", "###-###", "1__-___", {0, 1}, "", "___-___", {0, 0}, true},
        {"type before a literal that fits the positions", "&&&-&&&", "ab_-___", {0, 0}, "x", "xab-___", {1, 0}, true},
        {"delete onto an escaped literal digit", "#\\0", "_0", {0, 1}, "", "_0", {0, 0}, false},
        {"a deletion moves typed characters past a literal", "&0-#", "a1-+", {0, 2}, "", "+_-_", {0, 0}, true},
        {"deleting keeps spaces typed at &", "&&&&", "a b_", {0, 1}, "", " b__", {0, 0}, true},
        {"deleting keeps spaces typed at C", "CCC", "x b", {0, 1}, "", " b_", {0, 0}, true},
        // A position holds a whole character: one outside the Basic Multilingual Plane is refused.
        {"a character outside the BMP is refused whole", "&&", "__", {0, 0}, "a\U0001F600", "a_", {1, 0}, true},
        {"... and alone it changes nothing", "&&", "a_", {1, 0}, "\U0001F600", "a_", {1, 0}, false},
        // A space on a position where a space means "left empty" skips it.
        {"a space skips an optional digit", "99-99", "__-__", {0, 0}, " ", "__-__", {1, 0}, false},
        {"a space skips a sign position", "#0#", "___", {0, 0}, " 5", "_5_", {2, 0}, true},
        {"a space skips an optional letter", "?L", "__", {0, 0}, " a", "_a", {2, 0}, true},
        {"a space on a filled optional digit shifts the rest", "999", "12_", {0, 0}, " ", "_12", {1, 0}, true},
        {"a space on a digit position is refused", "00", "__", {0, 0}, " ", "__", {0, 0}, false},
        {"delete past the end of a short text", Phone, "(55", {1, 9}, "", "(___) ___-____", {1, 0}, true},
        {"the last filled position emptied: placeholder", "00-00", "5_-__", {0, 1}, "", "", {0, 0}, true, false, "_", "Code"},
        {"others still filled: no placeholder", "00-00", "1_-3_", {0, 1}, "", "_3-__", {0, 0}, true, false, "_", "Code"},
        {"placeholder by the prompt in use", "00-00", "5*-**", {0, 1}, "", "", {0, 0}, true, false, "*", "Code"},
        {"type into the placeholder's empty text", "00-00", "", {0, 0}, "5", "5_-__", {1, 0}, true, false, "_", "Code"},
        {"type after an empty position under a placeholder",
         "00-00",
         "__-__",
         {1, 0},
         "5",
         "_5-__",
         {3, 0},
         true,
         false,
         "_",
         "Code"},
        {"no mask: the field edits as it stands", "", "abc", {1, 1}, "x", "abc", {1, 1}, false, true},
    };
    for (const EditRow& r : rows) {
        SCOPED_TRACE(r.name);
        auto handler = std::make_shared<KivoMaskHandler>();
        handler->setMask(std::string(r.mask));
        handler->setPromptChar(r.prompt);
        handler->setPlaceholder(r.placeholder);
        FakeField field(handler);
        field.placeholder = r.placeholder;
        field.place(r.text);
        field.selection = r.range;
        EXPECT_EQ(kivo::detail::MaskEditRoad(handler).edit(field, r.range, r.replacement), r.accepted);
        EXPECT_EQ(field.text(), r.result);
        EXPECT_EQ(field.selection, r.selection);
        EXPECT_EQ(field.notified > 0, r.notified);
    }
}

// The typed characters of masked text at input positions [from, to), in order, ASCII letters in
// lower case (moved under a case switch, a letter changes case, not identity).
std::u16string typedIn(const KivoMaskHandler& handler, const std::string& text, std::int64_t from, std::int64_t to) {
    const std::u16string s = plat::toUtf16(text);
    const std::vector<bool> filled = Access::filledPositions(handler, text);
    std::u16string out;
    for (std::int64_t i = std::max<std::int64_t>(from, 0); i < std::min<std::int64_t>(to, std::ssize(filled)); ++i) {
        if (filled[i]) out += lowered(s[i]);
    }
    return out;
}

// Whatever the mask, the prompt, the text, the range and what is typed or deleted, edit after edit:
// literals stay where the mask puts them, each input position shows the prompt or a typed character
// that fits it, and the typed characters after an edit are those before the range, some of what was
// typed (in order), and all of those after the range; or the edit changed nothing.
TEST_F(MaskEditRoadTest, EditsKeepLiteralsInPlaceAndTheValueMadeOfTypedCharacters) {
    plat::testing::LogCapture quiet;
    constexpr unsigned Seed = 20240612;
    std::mt19937 random(Seed);
    const std::u16string maskAlphabet = u"09#LlAa&C?><|\\-( )x\u00e9_0";
    const std::u16string textAlphabet = u"aZq5 -+_x*(\u00e9\U0001F600";
    const std::string prompts[] = {"_", "x", "*", " "};
    // Whole characters: the wide one is drawn as both its halves.
    const auto pick = [&](const std::u16string& alphabet, int length) {
        std::u16string s;
        while (length-- > 0) {
            std::size_t i = random() % alphabet.size();
            if (Access::isSurrogate(alphabet[i]) && alphabet[i] >= 0xDC00) --i;
            s += alphabet[i];
            if (Access::isSurrogate(alphabet[i])) s += alphabet[i + 1];
        }
        return plat::toUtf8(s);
    };
    int edits = 0;
    for (int round = 0; edits < 20000; ++round) {
        auto handler = std::make_shared<KivoMaskHandler>();
        handler->setMask(pick(maskAlphabet, 1 + random() % 9));
        const std::string prompt = prompts[round % 4];
        handler->setPromptChar(prompt);
        const char16_t p = plat::toUtf16(prompt).front();
        FakeField field(handler);
        handler->setIsDelete(false);
        field.place(handler->applyMaskTo(pick(textAlphabet, random() % 10)));
        const auto& positions = handler->maskArr();
        for (int step = 0; step < 20; ++step, ++edits) {
            const std::string before = field.text();
            const auto size = plat::utf16Length(before);
            const std::int64_t location = random() % (size + 1);
            const std::int64_t length = random() % 3 == 0 ? random() % (size - location + 1) : 0;
            const std::string typed = random() % 3 == 0 ? std::string() : pick(textAlphabet, 1 + random() % 4);
            // Read before the edit: the handler knows which positions of the text it last made were typed.
            const std::u16string typedBefore = typedIn(*handler, before, 0, size);
            const std::u16string head = typedIn(*handler, before, 0, location);
            const std::u16string tail = typedIn(*handler, before, location + length, size);
            kivo::detail::MaskEditRoad(handler).edit(field, {location, length}, typed);
            const std::string after = field.text();
            SCOPED_TRACE("seed " + std::to_string(Seed) + " round " + std::to_string(round) + ": mask '" + *handler->mask() +
                         "' prompt '" + prompt + "' text '" + before + "' [" + std::to_string(location) + ", " +
                         std::to_string(length) + ") <- '" + typed + "' gives '" + after + "'");
            const std::u16string a = plat::toUtf16(after);
            ASSERT_EQ(a.size(), positions.size());
            const std::vector<bool> filled = Access::filledPositions(*handler, after);
            for (std::size_t i = 0; i < positions.size(); ++i) {
                if (positions[i].isLiteral()) {
                    ASSERT_EQ(a[i], positions[i].literal()) << "position " << i;
                } else if (filled[i]) {
                    ASSERT_FALSE(Access::isSurrogate(a[i])) << "position " << i;
                    ASSERT_TRUE(Access::isCharValid(*handler, positions[i].wildcard(), a[i])) << "position " << i;
                } else {
                    ASSERT_EQ(a[i], p) << "position " << i;
                }
            }
            const std::u16string typedAfter = typedIn(*handler, after, 0, size);
            if (typedAfter == typedBefore) continue;
            ASSERT_GE(typedAfter.size(), head.size() + tail.size());
            ASSERT_EQ(typedAfter.substr(0, head.size()), head);
            ASSERT_EQ(typedAfter.substr(typedAfter.size() - tail.size()), tail);
            std::u16string typedUnits;
            for (char16_t c : plat::toUtf16(typed)) typedUnits += lowered(c);
            ASSERT_TRUE(isSubsequence(typedAfter.substr(head.size(), typedAfter.size() - head.size() - tail.size()), typedUnits));
        }
    }
}

TEST_F(MaskEditRoadTest, ARefusedEditLeavesMaskFull) {
    auto handler = std::make_shared<KivoMaskHandler>();
    handler->setMask(std::string("LL-0000"));
    FakeField field(handler);
    field.setText("zz9999");
    ASSERT_TRUE(handler->maskFull());
    const kivo::detail::MaskEditRoad road(handler);
    const plat::testing::LogCapture log;  // the second edit drops its letter, and says so
    road.edit(field, {0, 2}, "9");
    road.edit(field, {0, 2}, "a");
    EXPECT_EQ(field.text(), "zz-9999");
    EXPECT_TRUE(handler->maskFull());
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(MaskEditRoadTest, EditingStartsOnTheFirstInputPosition) {
    auto handler = std::make_shared<KivoMaskHandler>();
    handler->setMask(std::string(Phone));
    FakeField field(handler);
    field.place("(___) ___-____");
    kivo::detail::MaskEditRoad(handler).beginEditing(field);
    EXPECT_EQ(field.selection, (TextRange{1, 0}));
}

}  // namespace
