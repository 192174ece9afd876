#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/graphics/text.h"

using namespace plat;

TEST(Text, MeasuresAt72DpiWithTheSameFaceForEveryFamilyName) {
    // DejaVu Sans 12, unhinted: the width and height do not depend on the family name asked for.
    for (const char* family : {"HelveticaNeue", "Helvetica", Font::systemFamily(), "DejaVu Sans", "No Such Font"}) {
        Size s = measureText("Hello, World", Font(family, 12));
        EXPECT_NEAR(s.width, 72.434, 0.01) << family;
        EXPECT_NEAR(s.height, 13.969, 0.01) << family;
    }
    EXPECT_NE(measureText("Hello", Font("Courier", 12)).width, measureText("Hello", Font("Helvetica", 12)).width);
    EXPECT_GT(measureText("Hello", Font::named("HelveticaNeue-Bold", 12)).width,
              measureText("Hello", Font("HelveticaNeue", 12)).width);
}

TEST(Text, SizesScaleWithThePointSizeAndEmptyOrBadFontsMeasureZero) {
    Size a = measureText("Scale", Font("Helvetica", 10));
    Size b = measureText("Scale", Font("Helvetica", 20));
    EXPECT_NEAR(b.width, 2 * a.width, 0.01);
    EXPECT_EQ(measureText("", Font("Helvetica", 12)), Size{});
    EXPECT_EQ(measureText("x", Font("Helvetica", 0)), Size{});
    EXPECT_EQ(measureText("x", Font("Helvetica", NAN)), Size{});
}

TEST(Text, WrapsAndTruncatesToAWidth) {
    AttributedString s("one two three four five six", Font("Helvetica", 12), Color::black());
    Size line = measureText(s);
    Size wrapped = measureText(s, 60);
    EXPECT_LE(wrapped.width, 60.001);
    EXPECT_GE(wrapped.height, 3 * line.height - 0.01);

    TextOptions tail;
    tail.lineBreak = LineBreakMode::TruncateTail;
    Size truncated = measureText(s, 60, tail);
    EXPECT_LE(truncated.width, 60.001);
    EXPECT_NEAR(truncated.height, line.height, 0.01);

    EXPECT_NEAR(measureText(AttributedString("a\nb", Font("Helvetica", 12), Color::black())).height,
                2 * measureText("a", Font("Helvetica", 12)).height, 0.5);
}

TEST(Text, InvalidUtf8StillLaysOut) {
    EXPECT_GT(measureText(std::string("ab\xff\xfe"
                                      "cd"),
                          Font("Helvetica", 12))
                  .width,
              0);
}

TEST(Text, EachThreadMeasuresTheSame) {
    Size here = measureText("Threads", Font("Helvetica", 15));
    Size there;
    std::thread t([&] { there = measureText("Threads", Font("Helvetica", 15)); });
    t.join();
    EXPECT_EQ(here, there);
}

TEST(Text, DrawingAtTwiceTheScaleGivesTheSameInkInPoints) {
    AttributedString s("Wide text", Font("Helvetica", 12), Color::black());
    auto inkRight = [&](double scale) {
        Image img(static_cast<int>(100 * scale), static_cast<int>(20 * scale), scale);
        CairoContext c(img);
        c.drawText(s, Point{2, 2});
        int right = 0;
        for (int y = 0; y < img.pixelHeight(); ++y)
            for (int x = 0; x < img.pixelWidth(); ++x)
                if ((img.rawPixel(x, y) >> 24) > 0 && x > right) right = x;
        return (right + 1) / scale;
    };
    EXPECT_NEAR(inkRight(1), inkRight(2), 1.0);
    EXPECT_NEAR(inkRight(2), 2 + measureText(s).width, 2.0);
}

TEST(Text, LongUnbrokenTextWrapsToFullLinesWithinTheWidth) {
    // Long stretches with no break between words are laid out in pieces (else wrapping costs their
    // length squared); the lines still fill the width and never pass it.
    const Font font("Helvetica", 12);
    for (const std::string unit : {"a", "e\xcc\x81"}) {  // a letter; a letter and a combining accent
        std::string text;
        for (int i = 0; i < 6000; ++i) text += unit;
        const double width = 300;
        const Size wrapped = measureText(AttributedString(text, font, Color::black()), width);
        const Size one = measureText(unit, font);
        EXPECT_LE(wrapped.width, width + 0.001) << unit;
        EXPECT_GT(wrapped.width, width - one.width) << unit;
        const double lines = wrapped.height / one.height;
        const double perLine = std::floor(width / one.width);
        EXPECT_NEAR(lines, std::ceil(6000 / perLine), 1) << unit;
    }
}

TEST(Text, TextBeyondPangosIntegerRangeMeasuresItsTrueSize) {
    // Pango counts in 1/1024 point in an int: about 2.1 million points. Longer or taller text was
    // measured as 0, or as far too small.
    const Font font("Helvetica", 12);
    constexpr int WordCount = 80 * 1024;
    std::string words;
    for (int i = 0; i < WordCount; ++i) words += "word ";
    const double wordWidth = measureText("word word", font).width - measureText("word", font).width;
    Size wide = measureText(AttributedString(words, font, Color::black()));
    EXPECT_GT(wordWidth * WordCount, 2.2e6) << "the text must reach past the range";
    EXPECT_NEAR(wide.width, wordWidth * WordCount, wide.width * 1e-3);

    // One letter a line, each line 1,000 points high: 2,500 lines are 2.5 million points tall.
    const Font huge("Helvetica", 1000);
    Size tall = measureText(AttributedString(std::string(2500, 'W'), huge, Color::black()), 300);
    const double lineHeight = measureText("W", huge).height;
    EXPECT_NEAR(tall.height, 2500 * lineHeight, 2500 * lineHeight * 1e-6);
}

TEST(Text, AHeightLimitKeepsTheLinesThatFitAndTruncatesTheLastKept) {
    const Font font("Helvetica", 12);
    const AttributedString s("one two three four five six seven eight nine ten", font, Color::black());
    const double line = measureText("one", font).height;
    const Size all = measureText(s, 60);
    ASSERT_GT(all.height, 3 * line);
    TextOptions o;
    for (const auto& [height, lines] : std::vector<std::pair<double, int>>{{2.5 * line, 2}, {line, 1}, {0.2 * line, 1}}) {
        o.maxHeight = height;
        EXPECT_NEAR(measureText(s, 60, o).height, lines * line, 0.5) << height;
    }
    // Drawn in a rectangle, the rectangle's height is the limit.
    TextOptions fit;
    fit.fitHeight = true;
    RecordingContext rec;
    rec.drawText(s, Rect(0, 0, 60, 2.5 * line), fit);
    ASSERT_EQ(rec.texts().size(), 1u);
    EXPECT_NEAR(rec.texts()[0]->textSize.height, 2 * line, 0.5);
    rec.drawText(s, Rect(0, 0, 60, 100), fit);
    EXPECT_NEAR(rec.texts()[1]->textSize.height, all.height, 0.5);
}
