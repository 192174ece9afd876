#pragma once
// The drawing context that paints into an image's pixels with Cairo (text through Pango). It keeps
// Cairo out of its error states, so a bad dash, a zero scale or an unmatched restore never stops
// later drawing. Use it on the thread that created it.

#include <array>
#include <memory>
#include <optional>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/passkey.h"
#include "Platform/graphics/context.h"

namespace plat {

class Image;
class ImageContext;
namespace detail {
struct PixelBoxes;
class GlyphRuns;
}  // namespace detail

class PLAT_EXPORT CairoContext : public Context {
public:
    // Draws into `target`, which must outlive the context; user space is in points (the image's
    // scale is the base transform).
    explicit CairoContext(Image& target);
    // Transparency groups still open are ended, so their content reaches the target.
    ~CairoContext() override;

    Image& target();
    // Every pixel of the target becomes `colour` before anything else is drawn on it. The pixels are
    // written when something is first drawn (or they are read through this context), unless that
    // first drawing is an opaque fill over all of them: then they are written once, not twice.
    void clearTo(const Color& colour);
    // Makes every pixel drawn so far visible in the target's buffer (drawing calls already do), except
    // what is drawn in transparency groups not yet ended.
    void flush();
    // For an owner that reads the target only through flush() (or after the context is gone): an
    // opaque fill of a whole-pixel box may then stay unwritten until something else is drawn, and is
    // never written when another opaque fill covers it first.
    void deferOpaqueFills(Passkey<ImageContext>);

protected:
    void onDrawPath(const Path& userPath, DrawingMode mode) override;
    void onDrawImage(const Image& image, const Rect& userRect) override;
    void onStampImage(const Image& image, int deviceX, int deviceY) override;
    void onStampImages(std::span<const StampPlacement> stamps) override;
    void onDrawText(const TextDraw& draw) override;
    void onClip(const ClipEntry& clip) override;
    void onRestore(std::size_t previousClipCount) override;
    void onBeginTransparencyGroup(double alpha) override;
    void onBeginTransparencyGroupMask() override;
    void onEndTransparencyGroup(double alpha, bool masked) override;
    bool onCanCopyPixels(const Rect& rect, double scale) override;
    std::shared_ptr<Image> onCopyOpaquePixels(const Rect& rect, double scale) override;

private:
    // Composites a stamp straight into the target's pixels when the clip allows it; answers false
    // for Cairo to paint it.
    PLAT_NO_EXPORT bool stampIntoTarget(const Image& image, int deviceX, int deviceY);
    // The whole-pixel rectangle (left, top, right, bottom) that the clip makes, when stamps may be
    // painted straight into the target's pixels; null otherwise.
    PLAT_NO_EXPORT const std::array<int, 4>* stampClip();
    // Reads the clips in force into the fields stampClip() and the path memo answer from, when they
    // changed since the last reading.
    PLAT_NO_EXPORT void readClips();
    // Whether glyphs of `ink` (left, top, right, bottom in points from `origin`) lie inside the
    // whole-pixel rectangles that clip, and inside `rect` when it is given, far enough not to be cut.
    PLAT_NO_EXPORT bool inkInsideClips(const std::array<double, 4>& ink, Point origin, const Rect* rect);
    // Composites unclipped glyph runs straight into the target's pixels as Cairo would (their layout's
    // corner at device-rounded (x, y)); answers false, having drawn nothing, for Cairo to draw them.
    PLAT_NO_EXPORT bool compositeGlyphs(const detail::GlyphRuns& runs, double x, double y);
    // Copies an opaque image's rows into the target where its pixels land on device pixels one to one
    // and the clip allows it; answers false for Cairo to paint it.
    PLAT_NO_EXPORT bool copyOntoDevicePixels(const Image& image, const Rect& userRect);
    // The device pixels (left, top, right, bottom) under a rectangle that can be copied out as drawn.
    PLAT_NO_EXPORT std::optional<std::array<int, 4>> copyablePixels(const Rect& userRect, double scale);

    // Paints whole-pixel boxes of a solid colour straight into the target when the clip allows it;
    // answers false (and nothing is painted) for Cairo to draw the shape.
    PLAT_NO_EXPORT bool paintPixelBoxes(const std::optional<detail::PixelBoxes>& boxes, const Color& colour);

    struct Impl;
    std::unique_ptr<Impl> _impl;
};

}  // namespace plat
