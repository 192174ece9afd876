#include "op_list.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "Platform/graphics/recording_context.h"

namespace gallery {

namespace {

const char* kindName(plat::DrawOp::Kind kind) {
    switch (kind) {
        case plat::DrawOp::Kind::Fill:
            return "fill";
        case plat::DrawOp::Kind::Stroke:
            return "stroke";
        case plat::DrawOp::Kind::Image:
            return "image";
        case plat::DrawOp::Kind::Text:
            return "text";
        case plat::DrawOp::Kind::BeginGroup:
            return "group-begin";
        case plat::DrawOp::Kind::BeginGroupMask:
            return "group-mask";
        case plat::DrawOp::Kind::EndGroup:
            return "group-end";
    }
    return "?";
}

const char* capName(plat::LineCap cap) {
    switch (cap) {
        case plat::LineCap::Butt:
            return "butt";
        case plat::LineCap::Round:
            return "round";
        case plat::LineCap::Square:
            return "square";
    }
    return "?";
}

const char* joinName(plat::LineJoin join) {
    switch (join) {
        case plat::LineJoin::Miter:
            return "miter";
        case plat::LineJoin::Round:
            return "round";
        case plat::LineJoin::Bevel:
            return "bevel";
    }
    return "?";
}

const char* alignmentName(plat::TextAlignment alignment) {
    switch (alignment) {
        case plat::TextAlignment::Left:
            return "left";
        case plat::TextAlignment::Center:
            return "center";
        case plat::TextAlignment::Right:
            return "right";
        case plat::TextAlignment::Justified:
            return "justified";
        case plat::TextAlignment::Natural:
            return "natural";
    }
    return "?";
}

const char* lineBreakName(plat::LineBreakMode mode) {
    switch (mode) {
        case plat::LineBreakMode::WordWrap:
            return "word";
        case plat::LineBreakMode::CharWrap:
            return "char";
        case plat::LineBreakMode::Clip:
            return "clip";
        case plat::LineBreakMode::TruncateHead:
            return "head";
        case plat::LineBreakMode::TruncateTail:
            return "tail";
        case plat::LineBreakMode::TruncateMiddle:
            return "middle";
    }
    return "?";
}

struct Quoted {
    std::string_view text;
};
struct Lengths {
    const std::vector<double>& values;
};
struct Outline {
    const plat::Path& path;
};

// Writes numbers and strings in the one fixed form, whatever the locale.
class Writer {
public:
    Writer& operator<<(std::string_view s) {
        _out += s;
        return *this;
    }
    Writer& operator<<(const char* s) { return *this << std::string_view(s); }
    Writer& operator<<(double v) { return *this << formatNumber(v); }
    template <typename Int>
    requires std::is_integral_v<Int> Writer& operator<<(Int v) { return *this << std::to_string(v); }
    Writer& operator<<(plat::Point p) { return *this << p.x << "," << p.y; }
    Writer& operator<<(const plat::Rect& r) {
        return *this << "[" << r.origin << " " << r.size.width << "x" << r.size.height << "]";
    }
    Writer& operator<<(const plat::Color& c) { return *this << "rgba(" << c.r << "," << c.g << "," << c.b << "," << c.a << ")"; }
    Writer& operator<<(const plat::AffineTransform& t) {
        return *this << "[" << t.a << " " << t.b << " " << t.c << " " << t.d << " " << t.tx << " " << t.ty << "]";
    }
    Writer& operator<<(const Lengths& l) {
        *this << "[";
        for (std::size_t i = 0; i < l.values.size(); ++i) *this << (i > 0 ? " " : "") << l.values[i];
        return *this << "]";
    }
    Writer& operator<<(const Quoted& q) {
        _out += '"';
        for (char ch : q.text) {
            auto c = static_cast<unsigned char>(ch);
            if (c == '"' || c == '\\') {
                _out += '\\';
                _out += ch;
            } else if (c < 0x20 || c == 0x7f) {
                static constexpr char hex[] = "0123456789abcdef";
                _out += "\\x";
                _out += hex[c >> 4];
                _out += hex[c & 15];
            } else {
                _out += ch;  // UTF-8 bytes as they are
            }
        }
        _out += '"';
        return *this;
    }
    Writer& operator<<(const plat::Font& f) {
        return *this << Quoted{f.family} << " " << f.size << " w" << static_cast<int>(f.weight) << " t" << f.traits;
    }
    Writer& operator<<(const Outline& o) {
        const auto& points = o.path.points();
        std::size_t next = 0;
        auto take = [&](int count) {
            for (int i = 0; i < count && next < points.size(); ++i) *this << " " << points[next++];
        };
        for (auto verb : o.path.verbs()) {
            switch (verb) {
                case plat::Path::Verb::Move:
                    *this << " M";
                    take(1);
                    break;
                case plat::Path::Verb::Line:
                    *this << " L";
                    take(1);
                    break;
                case plat::Path::Verb::Quad:
                    *this << " Q";
                    take(2);
                    break;
                case plat::Path::Verb::Cubic:
                    *this << " C";
                    take(3);
                    break;
                case plat::Path::Verb::Close:
                    *this << " Z";
                    break;
            }
        }
        return *this;
    }
    std::string take() { return std::move(_out); }

private:
    std::string _out;
};

void writeOp(Writer& w, const plat::DrawOp& op) {
    using Kind = plat::DrawOp::Kind;
    w << kindName(op.kind) << " alpha=" << op.alpha << " group=" << op.groupAlpha;
    if (op.inMask) w << " mask";
    if (op.clip) w << " clip=" << *op.clip;
    w << " ctm=" << op.ctm;
    switch (op.kind) {
        case Kind::Fill:
            w << (op.rule == plat::FillRule::EvenOdd ? " evenodd " : " nonzero ") << op.color << " path" << Outline{op.path};
            break;
        case Kind::Stroke:
            w << " " << op.color << " width=" << op.lineWidth << "/" << op.userLineWidth << " cap=" << capName(op.lineCap)
              << " join=" << joinName(op.lineJoin) << " dash=" << Lengths{op.dash} << "/" << Lengths{op.userDash} << " path"
              << Outline{op.path};
            break;
        case Kind::Image:
            // The image by its pixel size only: its address changes from run to run.
            w << " pixels=" << op.imagePixelWidth << "x" << op.imagePixelHeight << " path" << Outline{op.path};
            break;
        case Kind::Text: {
            const auto& attributes = op.text.attributes;
            w << " " << Quoted{op.text.text} << " font=" << attributes.font << " " << attributes.color;
            if (attributes.background) w << " background=" << *attributes.background;
            for (const auto& run : op.text.runs) {
                w << " run=" << run.start << "+" << run.length;
                if (run.font) w << " font=" << *run.font;
                if (run.color) w << " color=" << *run.color;
                if (run.background) w << " background=" << *run.background;
            }
            w << " drawn=" << op.color << " origin=" << op.origin << " size=" << op.textSize.width << "x" << op.textSize.height;
            if (op.layoutRect) w << " in=" << *op.layoutRect;
            const auto& o = op.textOptions;
            w << " align=" << alignmentName(o.alignment) << " break=" << lineBreakName(o.lineBreak) << " lines=" << o.maxLines
              << (o.clipToRect ? " clipped" : "") << " box" << Outline{op.path};
            break;
        }
        case Kind::BeginGroup:
        case Kind::BeginGroupMask:
        case Kind::EndGroup:
            break;
    }
    w << "\n";
}

}  // namespace

std::string formatNumber(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    // Fixed notation of a double needs at most 309 digits before the point.
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, OpListDecimals);
    if (ec != std::errc()) return "?";
    std::string text(buffer, end);
    // A value that rounds to zero from below prints as "-0.000": the same picture as "0.000".
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string serializeOps(const std::vector<plat::DrawOp>& ops) {
    Writer w;
    for (const auto& op : ops) writeOp(w, op);
    return w.take();
}

std::uint64_t fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string hashHex(std::uint64_t hash) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = digits[hash & 15];
    return text;
}

std::string opListSelfCheckProblem() {
    struct Case {
        double value;
        const char* text;
    };
    static const Case numbers[] = {
        {0.1 + 0.2, "0.300"},    {-0.0004, "0.000"},   {-0.0, "0.000"},       {-1.25, "-1.250"},
        {1e6 / 3, "333333.333"}, {2.9999999, "3.000"}, {std::nan(""), "nan"}, {-std::numeric_limits<double>::infinity(), "-inf"}};
    for (const auto& c : numbers)
        if (formatNumber(c.value) != c.text) return "the number " + std::string(c.text) + " prints as " + formatNumber(c.value);
    // Published FNV-1a values.
    if (hashHex(fnv1a64("")) != "cbf29ce484222325" || hashHex(fnv1a64("foobar")) != "85944171f73967e8")
        return "the FNV-1a hash does not give its published values";

    // Noise far below the precision leaves the text alone; a visible move does not.
    auto fillAt = [](double x) {
        plat::DrawOp op;
        op.color = plat::Color(1, 0, 0);
        op.path.addRect({{x, 2}, {3, 4}});
        return serializeOps({op});
    };
    if (fillAt(1) != fillAt(1 + 1e-9) || fillAt(1) == fillAt(1.01))
        return "the text of an operation does not follow its geometry at the fixed precision";
    return {};
}

}  // namespace gallery
