#pragma once
// The abstract drawing context: a graphics-state stack (transform, clip, alpha, colours, line
// style, dash) and path, image and text drawing; plus the per-thread stack of current contexts that
// drawing passes and image contexts push. Backends (Cairo, recording) implement the protected hooks.

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/path.h"
#include "Platform/graphics/text.h"

namespace plat {

class Image;

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };

// The platform's path drawing modes, by their codes.
enum class DrawingMode : int { Fill = 0, EvenOddFill = 1, Stroke = 2, FillStroke = 3, EvenOddFillStroke = 4 };

// What a mode paints, for the backends: whether it fills (and by which rule) and whether it strokes.
constexpr bool modeFills(DrawingMode mode) { return mode != DrawingMode::Stroke; }
constexpr bool modeStrokes(DrawingMode mode) {
    return mode == DrawingMode::Stroke || mode == DrawingMode::FillStroke || mode == DrawingMode::EvenOddFillStroke;
}
constexpr FillRule modeFillRule(DrawingMode mode) {
    return mode == DrawingMode::EvenOddFill || mode == DrawingMode::EvenOddFillStroke ? FillRule::EvenOdd : FillRule::NonZero;
}

// One clip in device space; the clip in force is the intersection of a state's clips.
struct PLAT_EXPORT ClipEntry {
    Path devicePath;
    FillRule rule = FillRule::NonZero;
};

// The clips of a graphics state: an immutable list shared between the states that have it, so a
// save copies one pointer however many clips are in force, and a clip added after a save makes a
// new head that shares the rest (copy on write). Iteration goes from the newest clip to the oldest;
// the clip in force, an intersection, does not depend on the order.
class PLAT_EXPORT ClipList {
    struct Node;

public:
    ClipList() = default;
    ClipList(const ClipList&) = default;
    ClipList(ClipList&&) noexcept = default;
    // By value, so that what this list held is let go of by the destructor.
    ClipList& operator=(ClipList other) noexcept {
        _head.swap(other._head);
        return *this;
    }
    ~ClipList();

    std::size_t size() const;
    bool empty() const { return !_head; }
    // The newest clip (the list must not be empty).
    const ClipEntry& back() const;
    void push_back(ClipEntry entry);
    // Whether both lists are the same shared storage.
    bool sharesStorageWith(const ClipList& other) const { return _head == other._head; }

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = ClipEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const ClipEntry*;
        using reference = const ClipEntry&;

        const_iterator() = default;
        reference operator*() const;
        pointer operator->() const { return &**this; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

    private:
        friend class ClipList;
        explicit const_iterator(const Node* node) : _node(node) {}
        const Node* _node = nullptr;
    };
    const_iterator begin() const { return const_iterator(_head.get()); }
    const_iterator end() const { return {}; }

private:
    std::shared_ptr<Node> _head;
};

struct PLAT_EXPORT GraphicsState {
    AffineTransform ctm;  // user space → device space
    double alpha = 1;     // as set (not clamped); colours use it limited to 0…1
    Color fillColor = Color::black();
    Color strokeColor = Color::black();
    double lineWidth = 1;
    LineCap lineCap = LineCap::Butt;
    LineJoin lineJoin = LineJoin::Miter;
    double miterLimit = 10;
    std::vector<double> dash;  // user-space lengths; empty is a solid line
    double dashPhase = 0;
    ClipList clips;
};

// One stamp of a batch: the image and the device pixel of its top-left corner.
struct StampPlacement {
    const Image* image = nullptr;
    int deviceX = 0, deviceY = 0;
};

class PLAT_EXPORT Context {
public:
    virtual ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // State stack. A restore without a matching save is ignored, and so is one that would undo the
    // begin of an open transparency group.
    void save();
    void restore();
    std::size_t saveDepth() const { return _stack.size() - 1; }
    const GraphicsState& state() const { return _stack.back(); }

    // Transform. Any transform is accepted; while the current one is not invertible (a zero
    // scale) or not finite, drawing does nothing and clips clip everything.
    const AffineTransform& ctm() const { return state().ctm; }
    void concatCTM(const AffineTransform& t);
    void translate(double x, double y);
    void scale(double sx, double sy);
    void rotate(double radians);
    bool canDraw() const;

    // Clip: intersects the clip in force with a rectangle or a path (user space).
    void clipToRect(const Rect& r);
    void clipToPath(const Path& path, FillRule rule = FillRule::NonZero);
    // Device-space bounding box of the clip in force; nullopt when nothing clips.
    std::optional<Rect> clipBoundingBox() const;

    // Look. Non-finite values are ignored (the previous value stays).
    void setAlpha(double alpha);
    void setFillColor(const Color& c);
    void setStrokeColor(const Color& c);
    void setLineWidth(double width);
    void setLineCap(LineCap cap) { _stack.back().lineCap = cap; }
    void setLineJoin(LineJoin join) { _stack.back().lineJoin = join; }
    void setMiterLimit(double limit);
    // Lengths alternate drawn and skipped. A pattern with a negative or non-finite length, or one
    // whose lengths are all zero, is drawn solid; an empty pattern is solid.
    void setLineDash(double phase, std::span<const double> lengths);
    void setLineDash(double phase, std::initializer_list<double> lengths) {
        setLineDash(phase, std::span<const double>(lengths.begin(), lengths.size()));
    }

    // Colours with the context alpha applied: what a fill or stroke actually paints.
    Color effectiveFillColor() const;
    Color effectiveStrokeColor() const;
    double effectiveAlpha() const;  // alpha limited to 0…1

    // Drawing.
    void drawPath(const Path& path, DrawingMode mode);
    void fillPath(const Path& path, FillRule rule = FillRule::NonZero);
    void strokePath(const Path& path);
    void fillRect(const Rect& r);
    void strokeRect(const Rect& r);
    void fillEllipse(const Rect& r);
    void strokeEllipse(const Rect& r);
    void strokeLine(Point from, Point to);
    // The image scaled into the rectangle (user space), at the context alpha.
    void drawImage(const Image& image, const Rect& rect);
    // The image painted pixel for pixel in device space, its top-left pixel on the device pixel
    // (deviceX, deviceY), whatever the transform (nothing while it cannot draw), at the context alpha
    // and through the clip: a shape rendered once at the device's resolution, stamped many times.
    void stampImage(const Image& image, int deviceX, int deviceY);
    // Stamps in the order given, as stampImage stamps each (a null or empty image is passed over). A
    // backend that paints device pixels may leave out what later stamps of the batch cover opaquely:
    // the pixels then differ from those stamped one by one by rounding only.
    void stampImages(std::span<const StampPlacement> stamps);
    // Unwrapped text, each paragraph on one line, its text box's top-left corner placed at `origin`.
    void drawText(const AttributedString& text, Point origin);
    // Text laid out in the rectangle: wrapped to its width from its top-left, by the options.
    void drawText(const AttributedString& text, const Rect& rect, const TextOptions& options = {});

    // Transparency groups. What is drawn between a begin and its end is composited in one piece, at
    // `alpha` (limited to 0…1; NaN counts as 1) times the alpha in force at the begin, through the
    // clip in force at the begin: overlapping drawings of a translucent view show no darker overlap.
    // Inside, drawing starts from the begin's state with alpha 1. Groups nest. The end puts the
    // state of the begin back however unbalanced the saves in between were; an end without a begin
    // is ignored.
    void beginTransparencyGroup(double alpha = 1);
    // Turns the innermost group from its content to its mask: what is drawn from here to the end
    // (from the begin's state again) decides by its alpha how much of the content shows, so an empty
    // mask hides everything. Once per group; ignored outside a group or when already masking.
    void beginTransparencyGroupMask();
    void endTransparencyGroup();
    std::size_t transparencyGroupDepth() const { return _groups.size(); }
    // True while the innermost group is drawing its mask.
    bool isDrawingGroupMask() const { return !_groups.empty() && _groups.back().masked; }

    // Reading back. Whether what is drawn under `rect` (user space) lands in device pixels that can be
    // copied out exactly as drawn: the rectangle lies on whole device pixels, `scale` of them a point
    // each way, inside the target and the clip, outside any transparency group. A control that keeps
    // what it draws as images can then draw straight into the target and keep a copy, rather than draw
    // into an image and copy that in. False for backends that keep no pixels.
    bool canCopyPixels(const Rect& rect, double scale);
    // Those pixels as an image of `scale`, known opaque: the caller vouches that what it drew there
    // covers every pixel opaquely. Null where canCopyPixels is false.
    std::shared_ptr<Image> copyOpaquePixels(const Rect& rect, double scale);

protected:
    explicit Context(const AffineTransform& baseTransform = {});

    // A text draw as the backend receives it (user space; the state holds transform and alpha).
    struct TextDraw {
        const AttributedString* text = nullptr;
        Point origin;
        std::optional<Rect> rect;  // set for drawing in a rectangle
        TextOptions options;
    };

    // Called only when canDraw() and the geometry is not empty.
    virtual void onDrawPath(const Path& userPath, DrawingMode mode) = 0;
    virtual void onDrawImage(const Image& image, const Rect& userRect) = 0;
    // A stamp (the image is not empty). By default the image is drawn into its device rectangle with
    // the transform undone; a backend that can paint device pixels directly does so.
    virtual void onStampImage(const Image& image, int deviceX, int deviceY);
    // A batch of stamps; by default each non-empty one through onStampImage.
    virtual void onStampImages(std::span<const StampPlacement> stamps);
    virtual void onDrawText(const TextDraw& draw) = 0;
    // The state's clip list just grew by `clip` (already in state().clips, as its newest entry).
    virtual void onClip(const ClipEntry& clip) = 0;
    // After a restore: the clips in force may have shrunk from `previousClipCount`.
    virtual void onRestore(std::size_t previousClipCount) { (void)previousClipCount; }
    // A group begins, to be composited at `alpha` (the state is already the group's); its mask
    // begins (the state is the begin's again); the innermost group ends, to be composited at `alpha`,
    // through its mask when `masked` (called before the state of the begin is put back).
    virtual void onBeginTransparencyGroup(double alpha) = 0;
    virtual void onBeginTransparencyGroupMask() = 0;
    virtual void onEndTransparencyGroup(double alpha, bool masked) = 0;
    // Reading back (see canCopyPixels); by default there is nothing to read.
    virtual bool onCanCopyPixels(const Rect& rect, double scale) {
        (void)rect;
        (void)scale;
        return false;
    }
    virtual std::shared_ptr<Image> onCopyOpaquePixels(const Rect& rect, double scale) {
        (void)rect;
        (void)scale;
        return nullptr;
    }

private:
    struct Group {
        std::size_t depth = 0;  // stack size with the group's own entry on top
        double alpha = 1;       // composite alpha, the begin's alpha included
        bool masked = false;
        GraphicsState begin;  // the group's entry as it was at the begin
    };
    // Pops the state stack down to `size` entries.
    PLAT_NO_EXPORT void popTo(std::size_t size);

    std::vector<GraphicsState> _stack;
    std::vector<Group> _groups;
};

// A transparency group for the length of a scope.
class PLAT_EXPORT TransparencyGroupScope {
public:
    explicit TransparencyGroupScope(Context& context, double alpha = 1) : _context(context) {
        _context.beginTransparencyGroup(alpha);
    }
    ~TransparencyGroupScope() { _context.endTransparencyGroup(); }
    TransparencyGroupScope(const TransparencyGroupScope&) = delete;
    TransparencyGroupScope& operator=(const TransparencyGroupScope&) = delete;

private:
    Context& _context;
};

// The current context of this thread: the top of the stack that drawing passes and image contexts
// push, or null outside of them. Contexts are pushed by pointer; the pusher keeps them alive.
PLAT_EXPORT Context* currentContext();
PLAT_EXPORT void pushContext(Context& context);
// Pops the top context (nothing when the stack is empty).
PLAT_EXPORT void popContext();
// Takes the topmost entry of `context` off the stack wherever it is (a context going away).
PLAT_EXPORT void removeContext(Context& context);

// Pushes a context for the length of a scope.
class PLAT_EXPORT CurrentContextScope {
public:
    explicit CurrentContextScope(Context& context) { pushContext(context); }
    ~CurrentContextScope() { popContext(); }
    CurrentContextScope(const CurrentContextScope&) = delete;
    CurrentContextScope& operator=(const CurrentContextScope&) = delete;
};

}  // namespace plat
