#include "graphics/pango_text.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "Platform/foundation/locale/locale.h"
#include "graphics/layout_cache.h"

namespace plat::detail {

namespace {

constexpr const char* FontDir = "/usr/share/fonts/truetype/dejavu";

// Every family name resolves to one of the DejaVu faces the project installs, so text measures the
// same on every machine whatever other fonts it has.
std::string configXml() {
    static const char* serif[] = {"serif", "Times",  "Times New Roman", "Georgia", "Palatino", "Baskerville",
                                  "Didot", "Cochin", "Hoefler Text",    "Charter", "New York"};
    static const char* mono[] = {"monospace", "mono",    "Courier",     "Courier New", "Menlo",
                                 "Monaco",    "SF Mono", "Andale Mono", "Consolas",    "DejaVu Sans Mono"};
    std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
    xml += std::string("<dir>") + FontDir + "</dir>\n";
    // The usual caches: the user's (written when stale) and the system's (read).
    xml += "<cachedir prefix=\"xdg\">fontconfig</cachedir>\n<cachedir>/var/cache/fontconfig</cachedir>\n";
    auto rule = [&](const char* from, const char* to) {
        xml += "<match target=\"pattern\"><test name=\"family\" compare=\"eq\"><string>";
        xml += from;
        xml += "</string></test><edit name=\"family\" mode=\"assign_replace\" binding=\"strong\"><string>";
        xml += to;
        xml += "</string></edit></match>\n";
    };
    for (const char* s : serif) rule(s, "DejaVu Serif");
    for (const char* m : mono) rule(m, "DejaVu Sans Mono");
    xml +=
        "<match target=\"pattern\">"
        "<test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>DejaVu Serif</string></test>"
        "<test qual=\"all\" name=\"family\" compare=\"not_eq\"><string>DejaVu Sans Mono</string></test>"
        "<edit name=\"family\" mode=\"assign_replace\" binding=\"strong\"><string>DejaVu Sans</string></edit>"
        "</match>\n";
    xml += "</fontconfig>\n";
    return xml;
}

FcConfig* sharedConfig() {
    static FcConfig* config = [] {
        FcConfig* c = FcConfigCreate();
        std::string xml = configXml();
        FcConfigParseAndLoadFromMemory(c, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue);
        FcConfigBuildFonts(c);
        return c;
    }();
    return config;
}

struct ThreadPango {
    PangoFontMap* fontMap = nullptr;
    PangoContext* measure = nullptr;
    ~ThreadPango() {
        if (measure) g_object_unref(measure);
        if (fontMap) g_object_unref(fontMap);
    }
};

thread_local ThreadPango threadPango;

}  // namespace

PangoFontMap* threadFontMap() {
    if (!threadPango.fontMap) {
        PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        if (!map) map = pango_cairo_font_map_new();
        if (PANGO_IS_FC_FONT_MAP(map)) pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), sharedConfig());
        threadPango.fontMap = map;
    }
    return threadPango.fontMap;
}

PangoContext* newPangoContext() {
    PangoContext* ctx = pango_font_map_create_context(threadFontMap());
    pango_cairo_context_set_resolution(ctx, 72.0);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(ctx, FALSE);
    return ctx;
}

PangoContext* threadMeasureContext() {
    if (!threadPango.measure) threadPango.measure = newPangoContext();
    return threadPango.measure;
}

PangoFontDescription* newFontDescription(const Font& font) {
    // Face names such as "HelveticaNeue-Bold" carry weight and style in the family.
    Font parsed = Font::named(font.family, font.size);
    int weight = std::max(static_cast<int>(font.weight), static_cast<int>(parsed.weight));
    unsigned traits = font.traits | parsed.traits;
    if ((traits & FontTraitBold) && weight < 700) weight = 700;
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, parsed.family.c_str());
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(desc, (traits & FontTraitItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    if (traits & FontTraitCondensed) pango_font_description_set_stretch(desc, PANGO_STRETCH_CONDENSED);
    pango_font_description_set_absolute_size(desc, layoutFontSize(font) * PANGO_SCALE);
    return desc;
}

double layoutFontSize(const Font& font) {
    constexpr double StandInSize = 12, SmallestSize = 0.01, LargestSize = 10000;
    return std::clamp(font.hasUsableSize() ? font.size : StandInSize, SmallestSize, LargestSize);
}

double largestFontSize(const AttributedString& text) {
    double largest = layoutFontSize(text.attributes.font);
    for (const auto& run : text.runs)
        if (run.font) largest = std::max(largest, layoutFontSize(*run.font));
    return largest;
}

namespace {

guint16 channel(double v) { return static_cast<guint16>(std::lround(std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0) * 65535)); }

void addColour(PangoAttrList* list, const Color& c, double alphaScale, guint start, guint end, bool background) {
    PangoAttribute* colour = background ? pango_attr_background_new(channel(c.r), channel(c.g), channel(c.b))
                                        : pango_attr_foreground_new(channel(c.r), channel(c.g), channel(c.b));
    PangoAttribute* alpha = background ? pango_attr_background_alpha_new(std::max<guint16>(1, channel(c.a * alphaScale)))
                                       : pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(c.a * alphaScale)));
    colour->start_index = alpha->start_index = start;
    colour->end_index = alpha->end_index = end;
    pango_attr_list_insert(list, colour);
    pango_attr_list_insert(list, alpha);
}

// Pango shapes again the rest of an unbroken stretch of text (one with no break between words)
// for every line it breaks off it, so wrapping a long one costs its length squared: 64 KB took
// seconds. Pango's items end where attributes change, so a do-nothing attribute every few bytes
// of such a stretch bounds that work, and wrapping stays linear.
constexpr std::size_t LongWordBytes = 256;      // stretches longer than this are cut into items
constexpr std::size_t LongWordItemBytes = 128;  // of about this many bytes
bool isSpaceByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Whether an item may start at `p`: not inside a character, nor before a mark or a joiner that
// belongs with the character before it.
bool startsCluster(const char* text, const char* p) {
    if ((static_cast<unsigned char>(*p) & 0xc0) == 0x80) return false;
    const gunichar c = g_utf8_get_char(p);
    constexpr gunichar ZeroWidthJoiner = 0x200d;
    const bool joinsBefore = g_unichar_ismark(c) || c == ZeroWidthJoiner || (c >= 0xfe00 && c <= 0xfe0f) ||
                             (c >= 0xe0100 && c <= 0xe01ef) || (c >= 0x1f3fb && c <= 0x1f3ff);
    if (joinsBefore) return false;
    return p == text || g_utf8_get_char(g_utf8_prev_char(p)) != ZeroWidthJoiner;
}

void cutLongWord(PangoAttrList* list, const char* text, std::size_t start, std::size_t end) {
    // Pango checks that a piece fits before it adds a hyphen, so a hyphen at an item's end would
    // stick out past the width: none are added inside such a stretch.
    PangoAttribute* noHyphens = pango_attr_insert_hyphens_new(FALSE);
    noHyphens->start_index = static_cast<guint>(start);
    noHyphens->end_index = static_cast<guint>(end);
    pango_attr_list_insert(list, noHyphens);
    std::size_t from = start;
    while (from < end) {
        std::size_t to = std::min(end, from + LongWordItemBytes);
        // A cut between clusters if one is near; otherwise (a long run of marks) between characters.
        std::size_t cluster = to;
        while (cluster < end && cluster < to + LongWordItemBytes && !startsCluster(text, text + cluster)) ++cluster;
        if (cluster < end && !startsCluster(text, text + cluster))
            while (to < end && (static_cast<unsigned char>(text[to]) & 0xc0) == 0x80) ++to;
        else
            to = cluster;
        PangoAttribute* cut = pango_attr_fallback_new(TRUE);  // the default: changes nothing but the item
        cut->start_index = static_cast<guint>(from);
        cut->end_index = static_cast<guint>(to);
        pango_attr_list_insert(list, cut);
        from = to;
    }
}

void cutLongWords(PangoAttrList* list, const char* text, std::size_t length) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        if (i < length && !isSpaceByte(text[i])) continue;
        if (i - start > LongWordBytes) cutLongWord(list, text, start, i);
        start = i + 1;
    }
}

}  // namespace

PangoLayout* newLayout(PangoContext* pctx, const AttributedString& text, double width, const TextOptions& options,
                       double alphaScale) {
    PangoLayout* layout = pango_layout_new(pctx);
    // Pango needs valid UTF-8: replace broken sequences rather than dropping the whole text.
    gchar* valid = g_utf8_make_valid(text.text.data(), static_cast<gssize>(text.text.size()));
    pango_layout_set_text(layout, valid, -1);
    std::size_t length = std::strlen(valid);
    const bool wraps = std::isfinite(width) && width > 0 &&
                       (options.lineBreak == LineBreakMode::WordWrap || options.lineBreak == LineBreakMode::CharWrap);

    PangoFontDescription* base = newFontDescription(text.attributes.font);
    pango_layout_set_font_description(layout, base);
    pango_font_description_free(base);

    PangoAttrList* attrs = pango_attr_list_new();
    addColour(attrs, text.attributes.color, alphaScale, 0, PANGO_ATTR_INDEX_TO_TEXT_END, false);
    if (text.attributes.background)
        addColour(attrs, *text.attributes.background, alphaScale, 0, PANGO_ATTR_INDEX_TO_TEXT_END, true);
    for (const auto& run : text.runs) {
        if (run.start >= length || run.length == 0) continue;
        auto start = static_cast<guint>(run.start);
        auto end = static_cast<guint>(std::min(length, run.start + run.length));
        if (run.font) {
            PangoFontDescription* d = newFontDescription(*run.font);
            PangoAttribute* a = pango_attr_font_desc_new(d);
            pango_font_description_free(d);
            a->start_index = start;
            a->end_index = end;
            pango_attr_list_insert(attrs, a);
        }
        if (run.color) addColour(attrs, *run.color, alphaScale, start, end, false);
        if (run.background) addColour(attrs, *run.background, alphaScale, start, end, true);
    }
    if (wraps) cutLongWords(attrs, valid, length);
    g_free(valid);
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);

    switch (resolvedTextAlignment(options.alignment)) {
        case TextAlignment::Natural:  // resolved above
        case TextAlignment::Left:
            pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
            break;
        case TextAlignment::Center:
            pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
            break;
        case TextAlignment::Right:
            pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
            break;
        case TextAlignment::Justified:
            pango_layout_set_justify(layout, TRUE);
            break;
    }

    if (std::isfinite(width) && width > 0) {
        pango_layout_set_width(layout, static_cast<int>(std::min(width, 1e6) * PANGO_SCALE));
        int lines = options.maxLines;
        switch (options.lineBreak) {
            case LineBreakMode::WordWrap:
                pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
                break;
            case LineBreakMode::CharWrap:
                pango_layout_set_wrap(layout, PANGO_WRAP_CHAR);
                break;
            case LineBreakMode::Clip:
                // One line a paragraph, cut at the width by the drawing clip.
                pango_layout_set_width(layout, -1);
                break;
            case LineBreakMode::TruncateHead:
            case LineBreakMode::TruncateTail:
            case LineBreakMode::TruncateMiddle: {
                PangoEllipsizeMode mode = options.lineBreak == LineBreakMode::TruncateHead   ? PANGO_ELLIPSIZE_START
                                          : options.lineBreak == LineBreakMode::TruncateTail ? PANGO_ELLIPSIZE_END
                                                                                             : PANGO_ELLIPSIZE_MIDDLE;
                pango_layout_set_ellipsize(layout, mode);
                if (lines <= 0) lines = 1;
                break;
            }
        }
        if (lines > 0) {
            // A line limit shows as an ellipsis at the end of the last line kept.
            if (pango_layout_get_ellipsize(layout) == PANGO_ELLIPSIZE_NONE)
                pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            pango_layout_set_height(layout, -lines);
        } else if (options.maxHeight >= 0 && options.maxHeight < 1e6 && pango_layout_get_width(layout) > 0) {
            // A height limit keeps the lines that fit it (Pango always keeps the first) and ends the
            // last one kept with an ellipsis.
            if (pango_layout_get_ellipsize(layout) == PANGO_ELLIPSIZE_NONE)
                pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            pango_layout_set_height(layout, std::max(1, static_cast<int>(options.maxHeight * PANGO_SCALE)));
        }
    } else if (options.alignment != TextAlignment::Left) {
        // Alignment needs a width to align within; without one every line starts at the left.
        pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    }
    return layout;
}

std::vector<double> widthsBeforeOffsets(std::string_view text, const Font& font) {
    std::vector<double> before(text.size() + 1, 0.0);
    if (text.empty() || !font.hasUsableSize()) return before;
    PangoLayout* layout = newLayout(threadMeasureContext(), AttributedString(std::string(text), font, Color::black()),
                                    std::numeric_limits<double>::infinity(), {});
    // Broken UTF-8 was mended, which moves bytes: then no offset of the laid-out text is one of ours.
    if (std::strlen(pango_layout_get_text(layout)) == text.size()) {
        // Each glyph's advance goes to the byte where its cluster starts.
        std::vector<std::int64_t> advance(text.size(), 0);
        for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
            for (GSList* r = static_cast<PangoLayoutLine*>(l->data)->runs; r; r = r->next) {
                const auto* run = static_cast<PangoGlyphItem*>(r->data);
                const PangoGlyphString* glyphs = run->glyphs;
                for (int i = 0; i < glyphs->num_glyphs; ++i) {
                    const auto at = static_cast<std::size_t>(run->item->offset + glyphs->log_clusters[i]);
                    if (at < advance.size()) advance[at] += glyphs->glyphs[i].geometry.width;
                }
            }
        }
        std::int64_t sum = 0;
        for (std::size_t b = 0; b < text.size(); ++b) {
            before[b] = static_cast<double>(sum) / PANGO_SCALE;
            sum += advance[b];
        }
        before[text.size()] = static_cast<double>(sum) / PANGO_SCALE;
    }
    g_object_unref(layout);
    return before;
}

Size layoutSize(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    // Pango counts in ints of 1/1024 point: a line longer than about 2.1 million points, or a
    // layout as tall, wraps around (300 KB of words measured 0 wide). Lines are measured again in
    // pieces, their glyphs summed in 64 bits; where Pango's own answer may have wrapped, theirs holds.
    constexpr std::int64_t SafeUnits = std::numeric_limits<int>::max() / 2;
    std::int64_t widest = 0, height = 0;
    for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
        auto* line = static_cast<PangoLayoutLine*>(l->data);
        std::int64_t width = 0;
        for (GSList* r = line->runs; r; r = r->next) {
            const PangoGlyphString* glyphs = static_cast<PangoGlyphItem*>(r->data)->glyphs;
            for (int i = 0; i < glyphs->num_glyphs; ++i) width += glyphs->glyphs[i].geometry.width;
        }
        int lineHeight = 0;
        pango_layout_line_get_height(line, &lineHeight);
        widest = std::max(widest, width);
        height += lineHeight;
    }
    if (widest < SafeUnits && height < SafeUnits)
        return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
    return {static_cast<double>(widest) / PANGO_SCALE, static_cast<double>(height) / PANGO_SCALE};
}

}  // namespace plat::detail

namespace plat {

TextAlignment resolvedTextAlignment(TextAlignment alignment) {
    if (alignment != TextAlignment::Natural) return alignment;
    return Locale::current().isRightToLeft() ? TextAlignment::Right : TextAlignment::Left;
}

Size measureText(const AttributedString& text, double maxWidth, const TextOptions& options) {
    if (text.text.empty() || !text.attributes.font.hasUsableSize()) return {};
    return detail::LayoutCache::forThread().size(detail::threadMeasureContext(), text, maxWidth, options);
}

Size measureText(std::string_view text, const Font& font) {
    return measureText(AttributedString(std::string(text), font, Color::black()));
}

FontMetrics fontMetrics(const Font& font) {
    if (!font.hasUsableSize()) return {};
    // Asked for every cell and label a control draws, while Pango shapes a sample text each time it
    // is asked: the few fonts in use are remembered (a new one past the bound starts the list again).
    constexpr std::size_t RememberedFonts = 64;
    thread_local std::vector<std::pair<Font, FontMetrics>> remembered;
    for (const auto& [known, metrics] : remembered)
        if (known == font) return metrics;
    if (remembered.size() >= RememberedFonts) remembered.clear();
    PangoFontDescription* desc = detail::newFontDescription(font);
    PangoFontMetrics* m = pango_context_get_metrics(detail::threadMeasureContext(), desc, nullptr);
    pango_font_description_free(desc);
    FontMetrics out;
    out.ascent = static_cast<double>(pango_font_metrics_get_ascent(m)) / PANGO_SCALE;
    out.descent = static_cast<double>(pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    out.lineHeight = static_cast<double>(pango_font_metrics_get_height(m)) / PANGO_SCALE;
    if (out.lineHeight <= 0) out.lineHeight = out.ascent + out.descent;
    pango_font_metrics_unref(m);
    remembered.emplace_back(font, out);
    return out;
}

}  // namespace plat
