#pragma once
// A drawing context that records what is drawn, in DEVICE space (geometry after the transform,
// colours with the context alpha applied, the clip in force), for tests to query. Transparency
// groups are recorded as operations of their own around what they hold.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/graphics/context.h"

namespace plat {

struct PLAT_EXPORT DrawOp {
    // BeginGroup, BeginGroupMask and EndGroup mark a transparency group: its content, then (after
    // BeginGroupMask) its mask, composited once at the group's `alpha`.
    enum class Kind { Fill, Stroke, Image, Text, BeginGroup, BeginGroupMask, EndGroup };
    Kind kind = Kind::Fill;

    // Fill and stroke: the path in device space. Image: the destination rectangle as a device path.
    // Text: the device-space outline of the text box (or of the layout rectangle).
    Path path;
    FillRule rule = FillRule::NonZero;
    Color color;               // alpha applied (fill, stroke, text)
    AffineTransform ctm;       // user → device when drawn
    std::optional<Rect> clip;  // device bounding box of the clip in force
    double alpha = 1;          // the context alpha in force (0…1); a group's composite alpha
    // The product of the composite alphas of the groups the operation is drawn in (its own group's
    // excluded for the group markers), and whether it draws a group's mask rather than paint.
    double groupAlpha = 1;
    bool inMask = false;

    // Strokes: the style, widths and dashes scaled to device space as well as in user space.
    double lineWidth = 0, userLineWidth = 0;
    LineCap lineCap = LineCap::Butt;
    LineJoin lineJoin = LineJoin::Miter;
    std::vector<double> dash, userDash;  // empty: solid

    // Images.
    const Image* image = nullptr;
    int imagePixelWidth = 0, imagePixelHeight = 0;

    // Text.
    AttributedString text;
    Point origin;                    // device position of the text box's top-left corner
    std::optional<Rect> layoutRect;  // user-space rectangle when drawn in one
    TextOptions textOptions;
    Size textSize;  // user-space size of the laid-out text

    Rect bounds() const { return path.bounds(); }
    // How opaque the operation reaches the surface: its colour's alpha (an image's: the context
    // alpha) times the alphas of the groups around it.
    double visibleAlpha() const { return (kind == Kind::Image ? alpha : color.a) * groupAlpha; }
    bool isDashed() const { return !dash.empty(); }
    // Rotation of the user x axis in device space, in degrees, clockwise on screen.
    double rotationDegrees() const;
};

class PLAT_EXPORT RecordingContext : public Context {
public:
    // `baseTransform` maps points to device pixels (a scale for a @2x surface, for instance).
    explicit RecordingContext(const AffineTransform& baseTransform = {});

    const std::vector<DrawOp>& ops() const { return _ops; }
    void clear() { _ops.clear(); }

    // Pointers into ops(): valid until the next drawing call or clear(). These and the find
    // functions leave out what draws a group's mask (ops() has it).
    std::vector<const DrawOp*> fills() const { return ofKind(DrawOp::Kind::Fill); }
    std::vector<const DrawOp*> strokes() const { return ofKind(DrawOp::Kind::Stroke); }
    std::vector<const DrawOp*> images() const { return ofKind(DrawOp::Kind::Image); }
    std::vector<const DrawOp*> texts() const { return ofKind(DrawOp::Kind::Text); }
    std::vector<const DrawOp*> ofKind(DrawOp::Kind kind) const;

    // First operation of the kind in (nearly) that colour, or null.
    const DrawOp* findFill(const Color& c, double tolerance = 1e-6) const;
    const DrawOp* findStroke(const Color& c, double tolerance = 1e-6) const;
    // First text operation whose string equals `text`, or null.
    const DrawOp* findText(std::string_view text) const;
    // Strings of all text operations, in drawing order.
    std::vector<std::string> strings() const;

protected:
    void onDrawPath(const Path& userPath, DrawingMode mode) override;
    void onDrawImage(const Image& image, const Rect& userRect) override;
    void onStampImage(const Image& image, int deviceX, int deviceY) override;
    void onDrawText(const TextDraw& draw) override;
    void onClip(const ClipEntry&) override {}
    void onBeginTransparencyGroup(double alpha) override;
    void onBeginTransparencyGroupMask() override;
    void onEndTransparencyGroup(double alpha, bool masked) override;

private:
    PLAT_NO_EXPORT DrawOp base(DrawOp::Kind kind) const;
    PLAT_NO_EXPORT const DrawOp* find(DrawOp::Kind kind, const Color& c, double tolerance) const;

    struct OpenGroup {
        double alpha;
        bool masked;
    };
    std::vector<DrawOp> _ops;
    std::vector<OpenGroup> _groups;
};

}  // namespace plat
