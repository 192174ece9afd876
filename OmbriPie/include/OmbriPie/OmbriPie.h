#pragma once
// The pie and doughnut chart control. It reads one value and one label per item of its items source
// (by the property names `binding` and `bindingName`), lays out its frame, titles and a legend that
// wraps at the top or bottom, and hands the square left for the pie to its drawing view
// (OmbriPieControl), which draws the slices. Most look settings live in the drawing view and are
// forwarded to it.
//
// Sections: construction · data · forwarded settings · own settings · selection · touch · drawing pass ·
// legend · hit values and tooltip · helpers.
//
// Time: the turn of a selected slice, the data updates and the load animation run on the core's
// animation driver after their start delay; data updates wait their turn on the drawing view's semaphore.
//
// One drawing pass (render): the rendering notices; background and border; header and footer; the
// legend's size and place by its position; the legend; the pie's square handed to the drawing view;
// the rendered notices.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/KivoChartLoadAnimation.h"
#include "ChartCore/OmbriChartBase.h"
#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriPie/KivoOmbriPieExport.h"
#include "OmbriPie/KivoPieHitTestInfo.h"
#include "OmbriPie/OmbriPieControl.h"
#include "OmbriPie/OmbriPieDataLabel.h"
#include "OmbriPie/OmbriPieDataLabelRenderer.h"
#include "Platform/ui/gesture_recognizer.h"

namespace kivo::detail {
struct PieTestAccess;
}

class KivoAnimationDriver;

namespace plat {
class TapGestureRecognizer;
class Timer;
}  // namespace plat

// Layout of the legend items and the default border of a selected slice.
KIVO_PIE_EXPORT extern const double LEGEND_ITEM_WIDTH;                    // 10: the colour swatch
KIVO_PIE_EXPORT extern const double LEGEND_ITEM_HEIGHT;                   // 10
KIVO_PIE_EXPORT extern const double LEGEND_ITEM_MARGIN;                   // 4: before the swatch
KIVO_PIE_EXPORT extern const double LEGEND_TITLE_MARGIN;                  // 10: a top legend's distance from the titles
KIVO_PIE_EXPORT extern const double LEGEND_PIE_MARGIN;                    // 7: between a top legend and the pie
KIVO_PIE_EXPORT extern const std::int64_t DEFAULT_SELECTED_BORDER_WIDTH;  // 3

class KIVO_PIE_EXPORT OmbriPie : public OmbriChartBase, public plat::GestureRecognizerDelegate {
public:
    // ---- Construction ----
    static std::shared_ptr<OmbriPie> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<OmbriPie> create(const plat::Coder& coder);
    ~OmbriPie() override;
    // The designer's look: no load animation, the four demonstration regions by "value" and "name".
    void prepareForInterfaceBuilder();

    // ---- Data ----
    // Binds the new items. Setting a different array again replays the load animation; the same
    // array again only rebinds and redraws.
    void setItemsSource(plat::ArrayPtr items) override;
    // The property of the value. A change rebinds: at once before the first load, else through the
    // update road, as a replacement of every item.
    void setBinding(std::optional<std::string> binding) override;
    // The property of the label (null or empty: the value truncated to a whole number). A change rebinds.
    const std::optional<std::string>& bindingName() const { return _bindingName; }
    void setBindingName(std::optional<std::string> name);
    // One signed value and one label per item, from the last binding.
    const std::vector<double>& values() const { return _pieControl->values(); }
    const std::vector<std::string>& labels() const { return _labels; }
    // Rebuilds values, labels and their sum from the collection view, and redraws. Outside a data
    // update the drawing view's starting values follow, so the next update starts from the screen.
    void bindChart() override;
    // A change of the items: the first added or removed value, or the replaced values, are recorded;
    // after 0.15 s, and once no earlier update animates, they are handed to the drawing view, which
    // animates from the old pie to the new one.
    void update(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);

    // ---- Settings stored in the drawing view (a change redraws it unless said otherwise) ----
    // Degrees; a change turns a shown tooltip with the pie.
    double startAngle() const { return _pieControl->startAngle(); }
    void setStartAngle(double angle);
    double offset() const { return _pieControl->offset(); }
    void setOffset(double offset);
    double innerRadius() const { return _pieControl->innerRadius(); }
    void setInnerRadius(double radius);
    double sliceBorderWidth() const { return _pieControl->sliceBorderWidth(); }
    void setSliceBorderWidth(double width);
    double selectedItemOffset() const { return _pieControl->selectedItemOffset(); }
    void setSelectedItemOffset(double offset);
    bool reversed() const { return _pieControl->reversed(); }
    void setReversed(bool reversed);
    // No redraw.
    bool isAnimated() const { return _pieControl->isAnimated(); }
    void setIsAnimated(bool animated);
    // A different animation replays the load.
    const std::shared_ptr<KivoChartLoadAnimation>& loadAnimation() const { return _pieControl->loadAnimation(); }
    void setLoadAnimation(std::shared_ptr<KivoChartLoadAnimation> animation);
    // Stored always, no redraw.
    const std::shared_ptr<KivoAnimation>& updateAnimation() const { return _pieControl->updateAnimation(); }
    void setUpdateAnimation(std::shared_ptr<KivoAnimation> animation) { _pieControl->setUpdateAnimation(std::move(animation)); }
    // The drawing view's turn (radians).
    double rotation() const { return _pieControl->rotationAngle(); }
    const std::shared_ptr<OmbriPieControl>& pieControl() const { return _pieControl; }

    // ---- Own settings ----
    // A change redraws the pie.
    bool isUpdateAnimated() const { return _isUpdateAnimated; }
    void setIsUpdateAnimated(bool animated);
    // Plain stores.
    const std::shared_ptr<KivoAnimation>& selectAnimation() const { return _selectAnimation; }
    void setSelectAnimation(std::shared_ptr<KivoAnimation> animation) { _selectAnimation = std::move(animation); }
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const { return _valueFormatter; }
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter) { _valueFormatter = std::move(formatter); }
    const std::shared_ptr<OmbriPieDataLabel>& dataLabel() const { return _dataLabel; }
    void setDataLabel(std::shared_ptr<OmbriPieDataLabel> label) { _dataLabel = std::move(label); }
    const std::shared_ptr<OmbriPieDataLabelRenderer>& dataLabelRenderer() const { return _dataLabelRenderer; }
    void setDataLabelRenderer(std::shared_ptr<OmbriPieDataLabelRenderer> renderer) { _dataLabelRenderer = std::move(renderer); }
    // Degrees: the angle of the selected-item position.
    double angle() const { return _angle; }
    void setAngle(double angle) { _angle = angle; }
    // Radians: the turn the drawing view's transform applies, as of the last pass or turn.
    double rotationAngle() const { return _rotationAngle; }
    void setRotationAngle(double angle) { _rotationAngle = angle; }
    bool setWithCode() const { return _setWithCode; }
    void setSetWithCode(bool withCode) { _setWithCode = withCode; }
    // Labels sized by a renderer on the application's side.
    bool isXamarinLabel() const { return _isXamarinLabel; }
    void setIsXamarinLabel(bool xamarin) { _isXamarinLabel = xamarin; }

    // ---- Selection ----
    // The selected slice, -1 for none.
    std::int64_t selectedIndex() const { return _selectedIndex; }
    // Selects a slice from code; the drawing view draws it pushed and outlined in its next pass.
    // Ignored in selection mode 0, for the slice already selected and for an index that is not one
    // of the items (so -1 cannot be set here).
    void setSelectedIndex(std::int64_t index);
    // 0 none, else the KivoAxisPosition the selected slice turns to.
    std::int64_t selectedItemPosition() const { return _selectedItemPosition; }
    // A change turns the selected slice to the new side (nothing while a turn runs).
    void setSelectedItemPosition(std::int64_t position);
    // Mode 0 also clears the selection (the drawing view hears it in the next pass).
    void setSelectionMode(std::int64_t mode) override;

    // ---- Touch ----
    // What lies under a point of the pie: the header, footer or legend, outside the chart, or a slice
    // (found as it stands on screen, however far the pie is turned) with its value and share.
    std::shared_ptr<KivoPieHitTestInfo> hitTest(const std::shared_ptr<KivoPoint>& point);
    // The pie's own tap recogniser: selects slices, turns them and shows their tooltip.
    const std::shared_ptr<plat::TapGestureRecognizer>& tapRecognizer() const { return _tapRecognizer; }
    void respondToTapGesture(plat::GestureRecognizer& recognizer);
    // For a pinch recogniser the application attaches: zooms the whole control, never below 1.
    void respondToPinchGesture(plat::GestureRecognizer& recognizer);
    double scale() const { return _scale; }
    // The turn that brings the selected slice to its side: the tooltip of the slice, and the turn,
    // animated or at once. A turn under one degree is not animated.
    void rotatePieControl(plat::Point point);
    // Arms an animated turn by `angle` radians (the short way round) from where the pie stands; a turn
    // that still runs stops where it is first.
    void prepareForSelectAnimation(double angle);
    // Stops a turn that is armed or running where it stands.
    void stopSelectAnimation();
    // Whether a turn is armed or running.
    bool isAnimating() const { return _animating; }
    // The drawing view's mid angles of the slices, from the values and the start angle.
    void setPieControlAngles();
    // The data point of the selected slice and where its tooltip goes.
    void setTootipPoint();
    // The centre of the slice under `point` (pushed out as a selected slice is drawn); null off the slices.
    std::shared_ptr<KivoPoint> getCorrespondSliceCenterPoint(plat::Point point);
    // `point` when it lies on the data point's slice, else the first point of a 5-point grid over the
    // control that does (`point` when none does).
    plat::Point adjustFinalPoint(const std::shared_ptr<KivoPieDataPoint>& dataPoint, plat::Point point);
    // The tooltip's place at the selected-item position, outside the selected slice's middle.
    plat::Point getCorrespondTooltipPoint();
    // Turn threshold: a turn this small or smaller is not animated.
    static constexpr double MinimumAnimatedTurn = 0.017453292519943295;  // one degree
    static constexpr double UpdateHandOverDelay = 0.15;

    // ---- Drawing pass ----
    void render(const std::shared_ptr<IKivoRenderEngine>& engine) override;
    // The legend box of the last pass; null when none was drawn.
    const std::shared_ptr<KivoRect>& rectLegend() const { return _rectLegend; }
    // The pie's centre and radius in the last pass.
    const std::shared_ptr<KivoPoint>& center() const { return _center; }
    double radius() const { return _radius; }

    // ---- Legend ----
    std::shared_ptr<KivoSize> measureLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine,
                                                const std::optional<std::string>& name);
    void drawLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect, std::int64_t i,
                        const std::optional<std::string>& name);
    std::shared_ptr<KivoSize> getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) override;
    void renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point, bool isVertical,
                      std::vector<std::shared_ptr<KivoRect>>& areas) override;

    // ---- Hit values and tooltip ----
    // The value at `pointIndex` (a double); nil outside the values.
    plat::Value getHitTestInfoValue(std::int32_t dimension, bool formatted, std::int32_t pointIndex,
                                    const std::shared_ptr<plat::Object>& series) override;

    // ---- Helpers ----
    // Whole degrees in [-180, 180): the angle is truncated first, then wrapped (359.9 gives -1) at any
    // size; an angle that is not finite gives 0, no turn.
    static double clampAngle(double degrees);
    // The view-animation curve of an easing; 0 (ease in and out) for none.
    static std::int64_t convertAnimationType(const std::shared_ptr<IKivoEaseAction>& easing);

    // Layout numbers of the pass.
    static constexpr double RadiusInset = 6.0;    // between the plot rectangle and the pie
    static constexpr double PieViewMargin = 3.0;  // around the square in the drawing view's bounds
    static constexpr double LegendTextGap = 8.0;  // between the swatch and the label
    static constexpr double LegendItemExtraWidth = 12.0;
    static constexpr double LegendItemExtraHeight = 8.0;

protected:
    explicit OmbriPie(const plat::Rect& frame);
    void initInternals() override;

private:
    friend struct kivo::detail::PieTestAccess;

    // What lies under a point given by its coordinates (see hitTest).
    KIVO_PIE_NO_EXPORT std::shared_ptr<KivoPieHitTestInfo> _hitTest(double x, double y);
    // What a tooltip the application draws receives: the measured width and height of the text, the
    // name, the index, the value and the share.
    KIVO_PIE_NO_EXPORT plat::ArrayPtr _getCustomizedTooltipData(const std::string& name, double value, double percentage,
                                                                std::int64_t pointIndex);
    // Shows the tooltip bubble with `text` at `position` for `data`.
    KIVO_PIE_NO_EXPORT void _showTooltip(const std::string& text, const plat::Point& position,
                                         std::shared_ptr<plat::Object> data);

    KIVO_PIE_NO_EXPORT void _renderPieControl(const std::shared_ptr<IKivoRenderEngine>& engine,
                                              const std::shared_ptr<KivoRect>& rect);
    // Hands the drawing view what its next pass reads from the pie, and turns a slice selected in code
    // to its side first.
    KIVO_PIE_NO_EXPORT void handOverFrame();
    // Turns the drawing view so that the selected slice's middle faces the selected-item position:
    // animated when the pie animates, else at once, the short way round.
    KIVO_PIE_NO_EXPORT void turnToSelectedPosition();
    KIVO_PIE_NO_EXPORT void onItemsChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    // Hands the recorded changes to the drawing view (or ends the road when there are none) and rebinds.
    KIVO_PIE_NO_EXPORT void handOverUpdate();
    KIVO_PIE_NO_EXPORT void attachTapRecognizer();
    // A new data point of slice `index` (its value, label and share of the sum).
    KIVO_PIE_NO_EXPORT std::shared_ptr<KivoPieDataPoint> dataPointOf(std::int64_t index) const;
    // The share of the sum; 0 for a sum of 0.
    KIVO_PIE_NO_EXPORT double percentageOf(double value) const;
    // Shows the tooltip of a data point at `position`: the application's, or the default text.
    KIVO_PIE_NO_EXPORT void showTooltipAt(const std::shared_ptr<KivoPieDataPoint>& dataPoint, plat::Point position);
    // The applied turn, read from the drawing view's transform.
    KIVO_PIE_NO_EXPORT double appliedRotation() const;
    KIVO_PIE_NO_EXPORT void applyRotation(double angle);
    // The animated turn: its start after the delay, each frame `t` seconds after the start, its end.
    KIVO_PIE_NO_EXPORT void _startSelectAnimation();
    KIVO_PIE_NO_EXPORT void _selectAnimationTimerTask(double t, double duration, bool last);
    KIVO_PIE_NO_EXPORT void showFinalTooltip();
    // Stores a forwarded setting that differs and redraws the drawing view.
    template <class T, class Get, class Set>
    KIVO_PIE_NO_EXPORT void forward(const T& value, Get get, Set set);
    KIVO_PIE_NO_EXPORT bool wrapsLegendRows() const;

    std::shared_ptr<OmbriPieControl> _pieControl;
    std::vector<std::string> _labels;
    std::optional<std::string> _bindingName;
    std::shared_ptr<KivoRect> _rectLegend;
    std::shared_ptr<KivoPoint> _center;
    double _radius = 0;
    std::int64_t _selectedIndex = -1;
    std::int64_t _selectedItemPosition = 0;
    double _angle = 0;
    double _rotationAngle = 0;
    std::shared_ptr<KivoAnimation> _selectAnimation;
    bool _animating = false;
    bool _isTapping = false;
    bool _setWithCode = false;
    double _scale = 1.0;
    double _previousScale = 1.0;
    bool _isUpdateAnimated = false;
    bool _isXamarinLabel = false;
    std::shared_ptr<OmbriPieDataLabel> _dataLabel;
    std::shared_ptr<OmbriPieDataLabelRenderer> _dataLabelRenderer;
    std::shared_ptr<IKivoValueFormatter> _valueFormatter;
    std::int64_t _count = 0;

    // The touch and turn state.
    std::shared_ptr<plat::TapGestureRecognizer> _tapRecognizer;
    double _animationTime = 0;  // seconds since the turn started
    double _selectAnimationStartAngle = 0;
    double _selectAnimationEndAngle = 0;
    double _selectAnimationRotatedAngle = 0;
    plat::Point _selectAnimationSenderPoint;
    std::shared_ptr<KivoPieDataPoint> _selectAnimationDataPoint;
    std::shared_ptr<plat::Timer> _selectStartTimer;
    std::shared_ptr<KivoAnimationDriver> _selectDriver;

    // Changes recorded for the next hand-over.
    std::vector<double> addedValueArr, removedValueArr, changedValueArr;
    std::vector<std::int64_t> addedValueInd, removedValueInd, changedValueInd;

    // Legend layout of the pass: the width the items may take, and where each item goes.
    double _legendWidth = 0;
    double _chartWidth = 0;
    double _nextLineWidth = 0;
    double _caculatedWidth = 0;
    std::int32_t _legendRow = 0;
    std::int32_t _legendColumn = 0;
    std::vector<std::shared_ptr<KivoSize>> _itemsSize;
    std::map<std::int32_t, double> _rowsWidth;
    std::map<std::int64_t, std::int32_t> _rowNumberDic;
    std::map<std::int64_t, std::int32_t> _columnNumberDic;
};
