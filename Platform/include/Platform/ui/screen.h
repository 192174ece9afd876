#pragma once
// The device's screen: its bounds in points, its scale (pixels per point) and the frame of the status
// bar. Tests and hosts set them; the defaults are a 320 × 568 point screen at scale 2 with a 20-point
// status bar.

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"

namespace plat {

class PLAT_EXPORT Screen {
public:
    static constexpr Rect DefaultBounds{0, 0, 320, 568};
    static constexpr double DefaultScale = 2;
    static constexpr double DefaultStatusBarHeight = 20;

    static Screen& main();

    Rect bounds() const { return _bounds; }
    // A rectangle with a negative or non-finite size is refused.
    void setBounds(const Rect& bounds);
    double scale() const { return _scale; }
    // Positive finite scales only.
    void setScale(double scale);
    // Across the top of the screen; an empty rectangle when the status bar is hidden.
    Rect statusBarFrame() const { return _statusBar; }
    void setStatusBarFrame(const Rect& frame) { _statusBar = frame; }

    // Back to the defaults (for tests).
    void reset();

private:
    Screen() = default;
    Rect _bounds = DefaultBounds;
    double _scale = DefaultScale;
    Rect _statusBar{0, 0, DefaultBounds.width(), DefaultStatusBarHeight};
};

}  // namespace plat
