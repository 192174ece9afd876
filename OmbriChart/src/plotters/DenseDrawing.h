#pragma once
// The one switch of the plotters' shortcuts for dense series (symbols stamped and thinned, sub-pixel
// bars merged per pixel column). On by default; the benchmarks turn it off to draw the same chart
// element by element and compare the pictures.

class IKivoRenderEngine;
class KivoRenderEngine;

namespace kivo::detail {

bool denseDrawingEnabled();
void setDenseDrawingEnabled(bool enabled);

// The engine as the platform's render engine when the shortcuts may paint through it: they are
// enabled, it has no border dash pattern (a pattern lasts for one element only), and the current
// context's transform neither turns nor skews (device pixels stay rows and columns). Null otherwise.
KivoRenderEngine* shortcutEngine(IKivoRenderEngine& engine);

// Turns the shortcuts off (or on) for the length of a scope and puts back what it found.
class DenseDrawingScope {
public:
    explicit DenseDrawingScope(bool enabled) : _previous(denseDrawingEnabled()) { setDenseDrawingEnabled(enabled); }
    ~DenseDrawingScope() { setDenseDrawingEnabled(_previous); }
    DenseDrawingScope(const DenseDrawingScope&) = delete;
    DenseDrawingScope& operator=(const DenseDrawingScope&) = delete;

private:
    bool _previous;
};

}  // namespace kivo::detail
