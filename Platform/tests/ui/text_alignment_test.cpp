#include <gtest/gtest.h>

#include <string>

#include "Platform/foundation/locale/locale.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/ui/label.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::PinnedLocale;

namespace {

enum class Side { Left, Right };

struct Case {
    const char* locale;
    TextAlignment alignment;
    Side side;
};

// Natural follows the current locale's writing direction; the explicit alignments ignore it.
constexpr Case Cases[] = {
    {"en_US", TextAlignment::Natural, Side::Left},  {"de_DE", TextAlignment::Natural, Side::Left},
    {"ar_EG", TextAlignment::Natural, Side::Right}, {"he_IL", TextAlignment::Natural, Side::Right},
    {"he_IL", TextAlignment::Left, Side::Left},     {"en_US", TextAlignment::Right, Side::Right},
};

const DrawOp& onlyText(const RecordingContext& rec, std::string_view text) {
    const DrawOp* op = rec.findText(text);
    EXPECT_NE(op, nullptr) << text;
    static const DrawOp none;
    return op ? *op : none;
}

}  // namespace

TEST(TextAlignment, NaturalIsLeftInLeftToRightLocalesAndRightOtherwise) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + std::to_string(static_cast<int>(c.alignment)));
        const PinnedLocale pin(c.locale);
        EXPECT_EQ(Locale::current().isRightToLeft(), std::string(c.locale) == "ar_EG" || std::string(c.locale) == "he_IL");
        const TextAlignment expected = c.side == Side::Left ? TextAlignment::Left : TextAlignment::Right;
        EXPECT_EQ(resolvedTextAlignment(c.alignment), expected);

        auto window = Window::create({0, 0, 300, 200});
        auto label = Label::create({10, 10, 200, 30});
        label->setText("Total");
        label->setTextAlignment(c.alignment);
        auto field = TextField::create({10, 60, 200, 30});
        field->setText("Amount");
        field->setTextAlignment(c.alignment);
        // An empty field shows its placeholder on the same side as its text.
        auto empty = TextField::create({10, 110, 200, 30});
        empty->setPlaceholder("Reference");
        empty->setTextAlignment(c.alignment);
        for (auto& v : {std::static_pointer_cast<View>(label), std::static_pointer_cast<View>(field),
                        std::static_pointer_cast<View>(empty)})
            window->addSubview(v);
        RecordingContext rec;
        window->display(rec);

        // The label hands the resolved alignment to the text layout.
        EXPECT_EQ(label->textAlignment(), c.alignment);
        EXPECT_EQ(onlyText(rec, "Total").textOptions.alignment, expected);
        // The field places the text itself: flush with one edge of its text rectangle.
        for (const auto& [view, text] : {std::pair{field, "Amount"}, std::pair{empty, "Reference"}}) {
            const DrawOp& op = onlyText(rec, text);
            const Rect r = view->textRectForBounds(view->bounds()).offsetBy(view->frame().x(), view->frame().y());
            if (c.side == Side::Left)
                EXPECT_NEAR(op.origin.x, r.x(), 0.01) << text;
            else
                EXPECT_NEAR(op.origin.x + op.textSize.width, r.maxX(), 0.01) << text;
        }
    }
}
