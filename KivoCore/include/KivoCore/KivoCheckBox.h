#pragma once
// An animated check box button: four stroked shape layers show an empty square or a check mark and
// switch between them through a short chain of layer animations; a press also draws a circle beneath
// the lines, widening for as long as the touch lasts and fading out once it ends. A user toggle sends
// one value-changed control event. The grid draws Boolean cells with it, through its layer.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/graphics/path.h"
#include "Platform/ui/animation.h"
#include "Platform/ui/button.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/shape_layer.h"

class KIVO_CORE_EXPORT KivoCheckBox : public plat::Button,
                                      public plat::AnimationDelegate,
                                      public plat::GestureRecognizerDelegate {
public:
    using ShapeLayerPtr = std::shared_ptr<plat::ShapeLayer>;

    static std::shared_ptr<KivoCheckBox> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoCheckBox> create(const plat::Coder& coder);

    // ---- Properties ----
    bool isChecked() const { return _isChecked; }
    // A change draws the new state at once (ending any animation in progress) and sends no event.
    void setIsChecked(bool checked);
    bool isReadOnly() const { return _isReadOnly; }
    void setIsReadOnly(bool readOnly) { _isReadOnly = readOnly; }
    // True when a user toggle may start.
    bool finishedAnimations() const { return _finishedAnimations; }
    void setFinishedAnimations(bool finished) { _finishedAnimations = finished; }
    bool rippleFromTapLocation() const { return _rippleFromTapLocation; }
    void setRippleFromTapLocation(bool fromTap) { _rippleFromTapLocation = fromTap; }
    // Half the side of the square in points when 1 or more; otherwise it comes from the frame.
    std::int32_t intrinsicSize() const { return _intrinsicSize; }
    void setIntrinsicSize(std::int32_t size);
    std::int32_t checkboxSidesCompletedAnimating() const { return _checkboxSidesCompletedAnimating; }
    void setCheckboxSidesCompletedAnimating(std::int32_t n) { _checkboxSidesCompletedAnimating = n; }
    std::int32_t checkmarkSidesCompletedAnimating() const { return _checkmarkSidesCompletedAnimating; }
    void setCheckmarkSidesCompletedAnimating(std::int32_t n) { _checkmarkSidesCompletedAnimating = n; }
    // The four line layers (plain stores: a layer set here is not added to the view's layer). A line
    // set to none is skipped by every drawing and stage, and its part of a stage counts as completed
    // at once, so a sequence still ends.
    const ShapeLayerPtr& lineLeft() const { return _lineLeft; }
    void setLineLeft(ShapeLayerPtr layer) { _lineLeft = std::move(layer); }
    const ShapeLayerPtr& lineTop() const { return _lineTop; }
    void setLineTop(ShapeLayerPtr layer) { _lineTop = std::move(layer); }
    const ShapeLayerPtr& lineRight() const { return _lineRight; }
    void setLineRight(ShapeLayerPtr layer) { _lineRight = std::move(layer); }
    const ShapeLayerPtr& lineBottom() const { return _lineBottom; }
    void setLineBottom(ShapeLayerPtr layer) { _lineBottom = std::move(layer); }
    // Tap circles that are growing or shown, and those fading out; oldest first.
    std::vector<ShapeLayerPtr>& rippleAnimationQueue() { return _rippleAnimationQueue; }
    void setRippleAnimationQueue(std::vector<ShapeLayerPtr> queue) { _rippleAnimationQueue = std::move(queue); }
    std::vector<ShapeLayerPtr>& deathRowForCircleLayers() { return _deathRowForCircleLayers; }
    void setDeathRowForCircleLayers(std::vector<ShapeLayerPtr> row) { _deathRowForCircleLayers = std::move(row); }
    const plat::Color& checkmarkColor() const { return _checkmarkColor; }
    void setCheckmarkColor(const plat::Color& color) { _checkmarkColor = color; }
    const std::optional<plat::Color>& tapCirclePositiveColor() const { return _tapCirclePositiveColor; }
    void setTapCirclePositiveColor(std::optional<plat::Color> color) { _tapCirclePositiveColor = color; }
    const std::optional<plat::Color>& tapCircleNegativeColor() const { return _tapCircleNegativeColor; }
    void setTapCircleNegativeColor(std::optional<plat::Color> color) { _tapCircleNegativeColor = color; }
    plat::Point centerPoint() const { return _centerPoint; }
    void setCenterPoint(plat::Point p) { _centerPoint = p; }
    plat::Point tapPoint() const { return _tapPoint; }
    void setTapPoint(plat::Point p) { _tapPoint = p; }
    // Half the smaller side of the frame; setting it only asks for a redisplay.
    double radius() const;
    void setRadius(double radius);

    // The tint and the frame rebuild the drawing (the check-mark colour follows the tint).
    void setTintColor(std::optional<plat::Color> color) override;
    void setFrame(const plat::Rect& frame) override;

    // ---- Operations ----
    void construct();
    void initInternals();
    void checkAnimated(bool animated);
    void uncheckAnimated(bool animated);
    void switchStatesAnimated(bool animated);
    void private_switchStatesAnimated(bool animated);

    // Stages.
    void drawCheckBoxAnimated(bool animated);
    void spinCheckboxAnimated(bool animated, double angle1, double angle2, double radiusDenominator, double duration);
    void shrinkAwayCheckboxAnimated(bool animated);
    void drawCheckmarkAnimated(bool animated);
    void shrinkAwayCheckmarkAnimated(bool animated);

    // A segment through the middle of the bounds (moved by `offset`) at `angle`, `radius` to each side.
    plat::Path createCenteredLineWithRadius(double radius, double angle, plat::Point offset);

    // Touch actions (the sender is not used) and the tap circle.
    void paperTouchDown(plat::Object* sender);
    void paperTouchUp(plat::Object* sender);
    void paperTouchUpAndSwitchStates(plat::Object* sender);
    void growTapCircle();
    void fadeTapCircleOut();

    // Callbacks.
    bool gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch& touch) override;
    void animationDidStop(const plat::BasicAnimation& animation, bool finished) override;

protected:
    explicit KivoCheckBox(const plat::Rect& frame) : plat::Button(frame) {}
    void initialize() override;

private:
    // One path (and optionally stroke colour) change of a line, animated or not.
    KIVO_CORE_NO_EXPORT void setLinePath(plat::ShapeLayer& line, plat::Path path, bool animated, double duration, const char* id,
                                         const char* key);
    KIVO_CORE_NO_EXPORT void setLineStrokeColor(plat::ShapeLayer& line, const plat::Color& color, bool animated, double duration,
                                                const char* id, const char* key);
    KIVO_CORE_NO_EXPORT void tag(plat::BasicAnimation& animation, const char* id);
    // A toggle's animation sequence starts: completions of earlier sequences no longer count.
    KIVO_CORE_NO_EXPORT void beginSequence();
    // The drawing jumps to a final state: any sequence in progress is over.
    KIVO_CORE_NO_EXPORT void endSequence();
    // The line layers in the order left, top, right, bottom; null where one was set to none.
    KIVO_CORE_NO_EXPORT std::array<plat::ShapeLayer*, 4> lines() const;
    // The four lines of a diamond of radius L / denominator, in the order of lines().
    KIVO_CORE_NO_EXPORT std::array<plat::Path, 4> diamondPaths(double denominator, double angle1, double angle2);
    // One line's animation in a stage has completed (by the stage's id for that line): counted, and
    // when every line the stage animates has reported, what follows the stage runs.
    KIVO_CORE_NO_EXPORT void lineCompleted(const std::string& id);
    // The lines a stage would animate but that are missing (set to none) have nothing to wait for:
    // they count as completed at once, so the sequence still ends.
    KIVO_CORE_NO_EXPORT void completeMissingLines(const std::array<const char*, 4>& ids);

    double kivoCheckbox_checkboxSideLength = 0;
    bool _isChecked = false;
    bool _isReadOnly = false;
    bool _finishedAnimations = true;
    bool _rippleFromTapLocation = true;
    std::int32_t _intrinsicSize = -1;
    std::int32_t _checkboxSidesCompletedAnimating = 0;
    std::int32_t _checkmarkSidesCompletedAnimating = 0;
    ShapeLayerPtr _lineLeft, _lineTop, _lineRight, _lineBottom;
    std::vector<ShapeLayerPtr> _rippleAnimationQueue;
    std::vector<ShapeLayerPtr> _deathRowForCircleLayers;
    plat::Color _checkmarkColor;
    std::optional<plat::Color> _tapCirclePositiveColor;
    std::optional<plat::Color> _tapCircleNegativeColor;
    plat::Point _centerPoint;
    plat::Point _tapPoint;

    // Stale completions are told apart by these generations.
    std::int64_t _sequence = 0;  // bumped when a sequence starts or the drawing jumps
    std::int64_t _circles = 0;   // bumped when a rebuild throws the tap circles away
    bool _wired = false;
};
