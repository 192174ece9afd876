#include "Platform/graphics/image_context.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "graphics/pixel_boxes.h"

namespace plat {

namespace {

// Pixels of images let go of, kept for the next images of the same size: controls that keep what they
// draw as images (a grid, a cell at a time) make and drop many of a few sizes, and fresh memory costs
// its allocation, the system's zeroing of new pages and then its clearing. One store a thread, bounded.
class SparePixels {
public:
    static constexpr std::size_t MaxBytes = 16u << 20;
    static constexpr std::size_t MaxBuffers = 1024;

    SparePixels() { live = this; }
    ~SparePixels() {
        live = nullptr;
        ended = true;
    }
    SparePixels(const SparePixels&) = delete;
    SparePixels& operator=(const SparePixels&) = delete;

    // This thread's store; null once the thread has begun to end.
    static SparePixels* forThread() {
        if (!live && !ended) {
            thread_local SparePixels store;
            (void)store;
        }
        return live;
    }

    // Pixels of exactly `count`, as an earlier image left them; empty when none are kept.
    std::vector<std::uint32_t> take(std::size_t count) {
        const auto it = _bySize.find(count);
        if (it == _bySize.end() || it->second.empty()) return {};
        std::vector<std::uint32_t> pixels = std::move(it->second.back());
        it->second.pop_back();
        _bytes -= count * sizeof(std::uint32_t);
        --_buffers;
        return pixels;
    }

    void give(std::vector<std::uint32_t>&& pixels) {
        const std::size_t bytes = pixels.size() * sizeof(std::uint32_t);
        if (pixels.empty() || _buffers >= MaxBuffers || _bytes + bytes > MaxBytes) return;
        _bySize[pixels.size()].push_back(std::move(pixels));
        _bytes += bytes;
        ++_buffers;
    }

private:
    static thread_local SparePixels* live;
    static thread_local bool ended;
    std::unordered_map<std::size_t, std::vector<std::vector<std::uint32_t>>> _bySize;
    std::size_t _bytes = 0, _buffers = 0;
};

thread_local SparePixels* SparePixels::live = nullptr;
thread_local bool SparePixels::ended = false;

}  // namespace

std::shared_ptr<Image> ImageContext::keptOrNew(int width, int height, double scale, const Color& background, bool& reused) {
    SparePixels* spares = SparePixels::forThread();
    std::vector<std::uint32_t> kept =
        spares ? spares->take(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) : std::vector<std::uint32_t>{};
    reused = !kept.empty();
    Image* made = nullptr;
    if (reused) {
        made = new Image(0, 0, scale);
        made->adoptPixels(Passkey<ImageContext>{}, width, height, std::move(kept));
    } else {
        made = new Image(width, height, scale, background);
    }
    return std::shared_ptr<Image>(made, [](Image* image) {
        if (SparePixels* store = SparePixels::forThread()) store->give(image->takePixels(Passkey<ImageContext>{}));
        delete image;
    });
}

ImageContext::ImageContext(Size size, double scale, bool opaque) : _opaque(opaque) {
    const Color background = opaque ? Color::white() : Color::clear();
    const auto pixels = Image::admittedPixels(Passkey<ImageContext>{}, size, scale);
    if (!pixels) {
        // Drawing still has somewhere harmless to go.
        _image = std::make_shared<Image>(0, 0, scale);
        _refused = true;
        _context = std::make_unique<CairoContext>(*_image);
    } else {
        bool reused = false;
        _image = keptOrNew(pixels->first, pixels->second, scale, background, reused);
        _context = std::make_unique<CairoContext>(*_image);
        _context->deferOpaqueFills(Passkey<ImageContext>{});
        // Kept pixels show an earlier image until cleared: the context clears them, once.
        if (reused) _context->clearTo(background);
    }
    pushContext(*_context);
    _pushed = true;
}

std::shared_ptr<Image> ImageContext::opaqueCopy(Passkey<CairoContext>, const std::uint32_t* from, std::size_t stride, int width,
                                                int height, double scale) {
    bool reused = false;
    auto image = keptOrNew(width, height, scale, Color::clear(), reused);
    detail::copyPixelRows(image->data(), static_cast<std::size_t>(width), from, stride, static_cast<std::size_t>(width),
                          static_cast<std::size_t>(height));
    image->markOpaque(Passkey<ImageContext>{});
    return image;
}

ImageContext::~ImageContext() { finish(); }

std::shared_ptr<Image> ImageContext::snapshot() {
    if (_refused) return nullptr;
    _context->flush();
    return std::make_shared<Image>(*_image);
}

std::shared_ptr<Image> ImageContext::finish() {
    if (_pushed) {
        // Groups left open would keep their content off the image.
        while (_context->transparencyGroupDepth() > 0) _context->endTransparencyGroup();
        _context->flush();
        // Take off our own entry, even if someone pushed above it and has not popped yet.
        removeContext(*_context);
        _pushed = false;
        // Every pixel starts opaque and every drawing goes over what is there: none becomes less opaque.
        if (_opaque && !_refused) _image->markOpaque(Passkey<ImageContext>{});
    }
    return _refused ? nullptr : _image;
}

}  // namespace plat
