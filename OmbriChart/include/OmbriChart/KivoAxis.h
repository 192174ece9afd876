#pragma once
// One axis of the Cartesian chart: its look, its actual limits (the data range it shows), the zoom
// window (scale and scroll position), the conversion between data values and pixel positions inside
// its rectangle, and its automatic major unit and label values. Dates on a time axis are seconds
// since 1970; a major or minor unit on a time axis counts days.
//
// Sections: construction · placement · look · scale · limits · conversion · zoom and scroll · major
// unit and labels · layout results · drawing · events.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/IKivoAxis.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "OmbriChart/OmbriChartEnums.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class IKivoRenderEngine;
class KivoLabelLoadingEventArgs;
class OmbriChart;
namespace kivo::detail {
class AxisInternals;
class XValueList;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoAxis : public plat::Object, public IKivoAxis {
public:
    // ---- Construction ----
    // An axis at `position` (a KivoAxisPosition, which also fixes its type) for `chart`, held weakly:
    // the chart owns its axes. Through a chart that is gone the axis redraws nothing and its queries
    // of the chart answer their defaults.
    KivoAxis(std::int64_t position, const std::shared_ptr<OmbriChart>& chart);
    // Position 0, no chart.
    KivoAxis() : KivoAxis(KivoAxisPositionNone, nullptr) {}
    static std::shared_ptr<KivoAxis> create(std::int64_t position, const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoAxis>(position, chart);
    }
    static std::shared_ptr<KivoAxis> create() { return std::make_shared<KivoAxis>(); }

    // ---- Placement ----
    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }
    // Redraws the new chart.
    void setChart(const std::shared_ptr<OmbriChart>& chart);
    std::int64_t position() const { return _position; }
    // Takes only a side that fits the axis: an X axis the top or bottom (left or right on a rotated
    // chart), a Y axis the left or right (top or bottom when rotated). Redraws in every case.
    void setPosition(std::int64_t position);
    // KivoAxisType: from the position made with (bottom, top: X; left, right: Y; else X).
    std::int64_t axisType() const { return _axisType; }
    // The name series use to refer to an added axis.
    const std::optional<std::string>& axisName() const { return _axisName; }
    void setAxisName(std::optional<std::string> name) { _axisName = std::move(name); }

    // ---- Look (a changed value redraws the chart) ----
    const std::optional<std::string>& title() const { return _title; }
    void setTitle(std::optional<std::string> title);
    // A numeric format string; "D" by default. null is ignored.
    const std::string& format() const { return _format; }
    void setFormat(std::optional<std::string> format);
    // Degrees, clockwise.
    double labelAngle() const { return _labelAngle; }
    void setLabelAngle(double angle);
    // null: the engine's default font.
    const std::optional<plat::Font>& labelFont() const { return _labelFont; }
    void setLabelFont(std::optional<plat::Font> font);
    const std::optional<plat::Color>& labelTextColor() const { return _labelTextColor; }
    void setLabelTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Font>& titleFont() const { return _titleFont; }
    void setTitleFont(std::optional<plat::Font> font);
    // While none is set: the chart's textColor.
    std::optional<plat::Color> titleTextColor() const;
    void setTitleTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Color>& lineColor() const { return _lineColor; }
    void setLineColor(std::optional<plat::Color> color);
    double lineWidth() const { return _lineWidth; }
    void setLineWidth(double width);
    bool axisLineVisible() const { return _axisLineVisible; }
    void setAxisLineVisible(bool visible);
    bool labelsVisible() const { return _labelsVisible; }
    void setLabelsVisible(bool visible);

    bool majorGridVisible() const { return _majorGridVisible; }
    void setMajorGridVisible(bool visible);
    const std::optional<plat::Color>& majorGridColor() const { return _majorGridColor; }
    void setMajorGridColor(std::optional<plat::Color> color);
    // The clear colour (the default) or null: no bands.
    const std::optional<plat::Color>& majorGridFill() const { return _majorGridFill; }
    void setMajorGridFill(std::optional<plat::Color> color);
    double majorGridWidth() const { return _majorGridWidth; }
    void setMajorGridWidth(double width);
    // Dash lengths of the grid lines; empty: solid. Plain stores.
    const std::vector<double>& majorGridDashes() const { return _majorGridDashes; }
    void setMajorGridDashes(std::vector<double> dashes) { _majorGridDashes = std::move(dashes); }
    const std::vector<double>& minorGridDashes() const { return _minorGridDashes; }
    void setMinorGridDashes(std::vector<double> dashes) { _minorGridDashes = std::move(dashes); }
    const std::optional<plat::Color>& majorTickColor() const { return _majorTickColor; }
    void setMajorTickColor(std::optional<plat::Color> color);
    double majorTickWidth() const { return _majorTickWidth; }
    void setMajorTickWidth(double width);
    double majorTickLength() const { return _majorTickLength; }
    void setMajorTickLength(double length);
    // The share of a tick that reaches into the plot area.
    double majorTickOverlap() const { return _majorTickOverlap; }
    void setMajorTickOverlap(double overlap);

    bool minorGridVisible() const { return _minorGridVisible; }
    void setMinorGridVisible(bool visible);
    const std::optional<plat::Color>& minorGridColor() const { return _minorGridColor; }
    void setMinorGridColor(std::optional<plat::Color> color);
    const std::optional<plat::Color>& minorGridFill() const { return _minorGridFill; }
    void setMinorGridFill(std::optional<plat::Color> color);
    double minorGridWidth() const { return _minorGridWidth; }
    void setMinorGridWidth(double width);
    const std::optional<plat::Color>& minorTickColor() const { return _minorTickColor; }
    void setMinorTickColor(std::optional<plat::Color> color);
    double minorTickWidth() const { return _minorTickWidth; }
    void setMinorTickWidth(double width);
    double minorTickLength() const { return _minorTickLength; }
    void setMinorTickLength(double length);
    double minorTickOverlap() const { return _minorTickOverlap; }
    void setMinorTickOverlap(double overlap);

    // ---- Scale ----
    // The distance between major labels; NaN: automatic (see _calcMajorUnit). Days on a time axis.
    double majorUnit() const { return _majorUnit; }
    void setMajorUnit(double unit);
    // NaN: half the major unit.
    double minorUnit() const { return _minorUnit; }
    void setMinorUnit(double unit);
    // A number or a date (null: from the data). Doubles as the zoom window, which the zoom operations
    // write. Setting one below the other swaps the pair. Each set announces a range change and redraws.
    const plat::Value& min() const { return _min; }
    void setMin(plat::Value value);
    const plat::Value& max() const { return _max; }
    void setMax(plat::Value value);
    // null: a linear axis. Announces a range change and redraws, also for the same base.
    const std::optional<double>& logBase() const { return _logBase; }
    void setLogBase(std::optional<double> base);
    const std::optional<double>& getLogBase() const { return _logBase; }
    bool reversed() const { return _reversed; }
    void setReversed(bool reversed) { _reversed = reversed; }
    // The value on the other axis at which this one crosses it; NaN: at the plot edge. Redraws always.
    double origin() const { return _origin; }
    void setOrigin(double origin);
    // The pixel position in the view where the axis crosses the other (its line, ticks and labels
    // move there), written by the drawing pass; 0: at its band.
    double offset() const { return _offset; }
    void setOffset(double offset) { _offset = offset; }

    // ---- Limits ----
    // Called once per drawing pass with the data range the axis must show (a KivoDataType, the
    // smallest and largest value) and, for a category or time axis, the category texts and the values
    // by index. Widens a finance chart's range, applies min and max, a logarithmic base and the zoom.
    void updateActualLimits(std::int64_t dataType, double dataMin, double dataMax, const std::vector<std::string>& labels,
                            plat::ArrayPtr values);
    void updateActualLimits(std::int64_t dataType, double dataMin, double dataMax) {
        updateActualLimits(dataType, dataMin, dataMax, {}, nullptr);
    }
    double actualMin() const override { return _actualMin; }
    double actualMax() const override { return _actualMax; }
    double actualDataMin() const override { return _actualDataMin; }
    double actualDataMax() const override { return _actualDataMax; }
    // Set by every limits update (data type 5); a plain store otherwise.
    bool isTimeAxis() const { return _isTimeAxis; }
    void setIsTimeAxis(bool isTime) { _isTimeAxis = isTime; }
    // The values by index of the last limits update (the chart's are boxed at the first ask).
    const plat::ArrayPtr& dataIndexTimeVals() const;
    void setDataIndexTimeVals(plat::ArrayPtr values);
    // The category texts of the last limits update.
    const std::vector<std::string>& labels() const { return _labels; }

    // ---- Conversion ----
    double convert(double value) const override;
    double convert(double value, double max) const override;
    double convert(double value, double max, double min) const override;
    // convert(value) with the range and place the axis has now, taken once for a loop over many
    // values: the same arithmetic, so the same results, without a call per value.
    struct LinearConversion {
        double min = 0, range = 0;  // range: max − min; both halved when that difference overflows
        double base = 0, length = 0;
        bool fromBase = true;     // the pixel lies fraction × length after base, else before it
        bool degenerate = false;  // max equals min: every value is at 0
        bool halved = false;
        double operator()(double value) const {
            if (degenerate) return 0;
            const double fraction = ((halved ? value / 2 : value) - min) / range;
            return fromBase ? base + fraction * length : base - fraction * length;
        }
    };
    // None for a log axis, or for a subclass that may convert its own way.
    std::optional<LinearConversion> linearConversion() const;
    // The value at a pixel coordinate; 0 when actualMin equals actualMax.
    double convertBack(double pixel) const;
    // A number's value, a date's seconds since 1970; NaN for null and anything else.
    static double objectToDouble(const plat::Value& value);

    // ---- Zoom and scroll ----
    // The displayed share of the data range: 1 shows it all. Clamped to 0…1; NaN is ignored.
    double scale() const { return _scale; }
    void setScale(double scale);
    // Where the window sits in the free span: 0 at the start, 1 at the end. Clamped; NaN is ignored.
    double scrollPosition() const { return _scrollPosition; }
    void setScrollPosition(double position);
    // The width of the window in data units (0: not set). On a time axis the application may give it in
    // major units (days), which the next limits update turns into seconds once. NaN is ignored.
    double displayedRange() const { return _displayedRange; }
    void setDisplayedRange(double range);
    // Where in the window a pinch centres (0…1 of it), written by the pinch gesture.
    double gestureProportion() const { return _gestureProportion; }
    void setGestureProportion(double proportion) { _gestureProportion = proportion; }
    // Each answers whether the value changed; a change hides the chart's tooltip. No event, no redraw.
    bool calibrateDisplayedRange(double range);
    bool calibrateScale(double scale);
    bool calibrateScrollPosition(double position);
    // Scrolls so that `value` sits at the start, centre or end of the window (KivoAxisScrollPosition),
    // and keeps that anchor for later passes.
    void scrollTo(double value, std::int64_t position);
    // The scroll position that puts the kept anchor value where its anchor says, for a zoom of `scale`
    // (only for 0 < scale < 1; `value` is not read: the kept anchor value is).
    void applyScale(double scale, double value, std::int64_t axisScrollPos);
    // The min/max window for a zoom of `scale` scrolled to `position`.
    void applyScale(double scale, double position);
    // The kept anchor value for the current scroll position (the argument is not read).
    void refreshScrollDataValue(double value);
    bool hasMore() const { return _scale < 1 && _scrollPosition < 1; }
    bool hasLess() const { return _scale < 1 && _scrollPosition > 0; }
    // Scroll by half a window towards the end or the start.
    void showMore();
    void showLess();

    // ---- Major unit and labels ----
    // The label text of a value: the chart's value formatter with the axis format, as a date on a time
    // axis. Empty when the formatter gives no text or the chart is gone.
    std::string formatValue(double value) const;

    // ---- Layout results ----
    // The thickness the axis band needs for its ticks, labels and title; measures the largest label
    // (annoSize) and the title. Leaves the engine's font unset.
    double getHeight(const std::shared_ptr<IKivoRenderEngine>& engine);
    // The axis band in screen orientation and the plot area, as the chart's layout gave them. A Y
    // axis is handed its band with the length in `width` and the thickness in `height`.
    void layout(const std::shared_ptr<KivoRect>& rect, const std::shared_ptr<KivoRect>& plotRect);
    const std::shared_ptr<KivoRect>& axrect() const { return _axrect; }
    const std::shared_ptr<KivoRect>& plotrect() const { return _plotrect; }
    // The largest measured label.
    const std::shared_ptr<KivoSize>& annoSize() const { return _annoSize; }
    void setAnnoSize(std::shared_ptr<KivoSize> size) { _annoSize = std::move(size); }
    // The room the chart's layout granted (width: length along the axis, height: thickness).
    const std::shared_ptr<KivoSize>& desiredSize() const { return _desiredSize; }
    void setDesiredSize(std::shared_ptr<KivoSize> size) { _desiredSize = std::move(size); }
    // Plain stores that the drawing pass reads or writes.
    std::int64_t overlappingLabels() const { return _overlappingLabels; }
    void setOverlappingLabels(std::int64_t overlapping) { _overlappingLabels = overlapping; }
    bool above() const { return _above; }
    void setAbove(bool above) { _above = above; }
    bool gridLineIsExsit() const { return _gridLineIsExsit; }
    void setGridLineIsExsit(bool exists) { _gridLineIsExsit = exists; }
    bool isHandleXFAxisLabelLoading() const { return _isHandleXFAxisLabelLoading; }
    void setIsHandleXFAxisLabelLoading(bool handle) { _isHandleXFAxisLabelLoading = handle; }

    // ---- Drawing ----
    // Draws the axis into its band and over the plot area: minor and major grid lines, fill bands,
    // ticks, labels (each announced through labelLoading, or the delegate's label hook, which may
    // change its text) and the line and title. `isOverlap` true draws every label; false leaves out labels
    // that would collide with the one drawn before. An axis with no range, or whose chart draws no
    // series, draws only its line and title; an axis at position 0 draws nothing.
    void render(const std::shared_ptr<IKivoRenderEngine>& engine, bool isOverlap);
    // The title's measured size (null before the first getHeight).
    const std::shared_ptr<KivoSize>& szTitle() const { return _szTitle; }
    // Set once a label handler changed a label's text on a Y axis.
    bool isCustomizedLabel() const { return _isCustomizedLabel; }

    // Room between a tick and its label, and the room a Y axis band adds beside its labels and every
    // band beside its ticks.
    static constexpr double LabelGap = 4.0;
    static constexpr double YLabelPadding = 2.0;
    static constexpr double BandPadding = 2.0;
    // From this many labels on, thinning assumes they collide without measuring.
    static constexpr std::size_t CrowdedLabelCount = 21;

    // ---- Events ----
    const std::shared_ptr<KivoEvent>& labelLoading() const { return _labelLoading; }
    void setLabelLoading(std::shared_ptr<KivoEvent> event) { _labelLoading = std::move(event); }
    // null until the application assigns an event; range changes reach the delegate either way.
    const std::shared_ptr<KivoEvent>& rangeChanged() const { return _rangeChanged; }
    void setRangeChanged(std::shared_ptr<KivoEvent> event) { _rangeChanged = std::move(event); }
    // The chart delegate's axisRangeChanged first, then rangeChanged (the axis as sender, no arguments).
    void raiseRangeChanged();

    static constexpr double SecondsPerDay = 86400;
    static constexpr double DefaultLineWidth = 1.0;
    static constexpr double DefaultGridWidth = 0.25;
    static constexpr double DefaultMajorTickWidth = 1.0;
    static constexpr double DefaultMajorTickLength = 4.0;
    static constexpr double DefaultMinorTickLength = 2.0;
    static constexpr const char* DefaultFormat = "D";

private:
    friend class OmbriChartTestAccess;
    friend class kivo::detail::AxisInternals;

    // The distance between major labels: majorUnit when set (in seconds on a time axis), otherwise a round
    // step (1, 2, 4, 5 or 10 × 10^n) chosen so that the labels fit along the axis. An
    // automatic time axis steps by a day.
    KIVO_CHART_NO_EXPORT double _calcMajorUnit() const;
    KIVO_CHART_NO_EXPORT double _nicePrecision(double range) const;
    KIVO_CHART_NO_EXPORT double _niceNumber(double value, double exponent, bool round) const;
    KIVO_CHART_NO_EXPORT double _niceTickNumber(double value) const;
    // How many labels fit along the axis (10 before anything is measured).
    KIVO_CHART_NO_EXPORT double _getAnnoNumber(bool vertical) const;
    // Append, in ascending order, values and their texts.
    KIVO_CHART_NO_EXPORT void _createLabels(double start, std::size_t count, double delta, std::vector<double>& vals,
                                            std::vector<std::string>& lbls) const;
    KIVO_CHART_NO_EXPORT void _createLogarithmicLabels(std::vector<double>& vals, std::vector<std::string>& lbls) const;
    // From actualMin by majorUnit days (one day when unset) up to actualMax; units of 30 days or more
    // step by calendar months, 365 days or more by calendar years. The first two arguments are not read.
    KIVO_CHART_NO_EXPORT void _createTimeLabels(double start, std::size_t count, std::vector<double>& vals,
                                                std::vector<std::string>& lbls) const;
    // The angle in whole degrees within 0 … 359 (fractions dropped), stored as labelAngle.
    KIVO_CHART_NO_EXPORT double _simplifyAxisLabelAngle(double angle);
    // Whether labels turned by `angle` (0 … 359) would collide, estimated from the room each label has
    // along the axis and the size of the label's first character.
    KIVO_CHART_NO_EXPORT bool _isActualOverlap(double angle, const std::optional<std::string>& label) const;
    // Raises labelLoading with the axis as sender, only when it has handlers.
    KIVO_CHART_NO_EXPORT void _onLabelLoading(const std::shared_ptr<KivoEventArgs>& args);
    // Asks the chart for a drawing pass.
    KIVO_CHART_NO_EXPORT void _invalidate();

    static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

    // Stores a look value and redraws, only when it changed (NaN always counts as a change).
    template <class T, class U>
    KIVO_CHART_NO_EXPORT void setLook(T& field, U&& value) {
        if (field == value) return;
        field = std::forward<U>(value);
        _invalidate();
    }
    KIVO_CHART_NO_EXPORT bool isRotatedChart() const;
    KIVO_CHART_NO_EXPORT void hideTooltip() const;
    // Both padded data limits are numbers.
    KIVO_CHART_NO_EXPORT bool hasDataLimits() const;
    // The padded data range (max - min).
    KIVO_CHART_NO_EXPORT double dataRange() const { return finite(_actualDataMax - _actualDataMin); }
    KIVO_CHART_NO_EXPORT double actualRange() const { return finite(_actualMax - _actualMin); }
    // Range arithmetic stays finite: data spanning nearly all doubles has a range that is not.
    KIVO_CHART_NO_EXPORT static double finite(double v) {
        constexpr double Largest = std::numeric_limits<double>::max();
        return std::isnan(v) ? v : std::clamp(v, -Largest, Largest);
    }
    // The window left free by the displayed range.
    KIVO_CHART_NO_EXPORT double freeSpan() const { return dataRange() - _displayedRange; }
    // The limits update's own steps.
    KIVO_CHART_NO_EXPORT void widenForFinance(std::int64_t dataType, double& dataMin, double& dataMax) const;
    KIVO_CHART_NO_EXPORT void roundToLogBase();
    KIVO_CHART_NO_EXPORT void convertDisplayedRangeFromUnits();
    // The pixel position of a fraction of the axis length, by type and direction.
    KIVO_CHART_NO_EXPORT double fractionToPixel(double fraction) const;
    KIVO_CHART_NO_EXPORT double pixelToFraction(double pixel) const;
    KIVO_CHART_NO_EXPORT void appendTimeLabel(double value, std::vector<double>& vals, std::vector<std::string>& lbls) const;
    // The step between labels one pass builds over `range`: `step` itself, or the nearest nice multiple
    // of it (1, 2 or 5 times a power of ten) that keeps the labels to a few times what fits along the
    // axis. Only those can be drawn apart; the overlap rule picks among them.
    KIVO_CHART_NO_EXPORT double labelStep(double step, double range) const;

    // The pieces of render.
    struct Ticks {
        double inner = 0, outer = 0;
    };
    KIVO_CHART_NO_EXPORT Ticks majorTicks() const;
    KIVO_CHART_NO_EXPORT Ticks minorTicks() const;
    // The band edge that touches the plot area, and +1 or -1 for the direction away from the plot.
    KIVO_CHART_NO_EXPORT double plotEdge() const;
    KIVO_CHART_NO_EXPORT double outward() const;
    KIVO_CHART_NO_EXPORT bool hasOffset() const { return !std::isnan(_origin) && _offset != 0; }
    KIVO_CHART_NO_EXPORT void drawTick(IKivoRenderEngine& engine, double p, double edge, const Ticks& ticks) const;
    KIVO_CHART_NO_EXPORT void drawGridLine(IKivoRenderEngine& engine, double p) const;
    KIVO_CHART_NO_EXPORT void drawMinorTicksAndGrid(IKivoRenderEngine& engine, double minor) const;
    KIVO_CHART_NO_EXPORT void fillBand(IKivoRenderEngine& engine, double p1, double p2, double lead) const;
    KIVO_CHART_NO_EXPORT void fillMinorBands(IKivoRenderEngine& engine, double minor) const;
    KIVO_CHART_NO_EXPORT void fillMajorBands(IKivoRenderEngine& engine, const std::vector<double>& vals) const;
    KIVO_CHART_NO_EXPORT void labelValues(double major, std::vector<double>& vals, std::vector<std::string>& texts) const;
    KIVO_CHART_NO_EXPORT void drawLabels(const std::shared_ptr<IKivoRenderEngine>& engine, const std::vector<double>& vals,
                                         const std::vector<std::string>& texts, bool isOverlap);
    KIVO_CHART_NO_EXPORT void drawLabel(const std::shared_ptr<IKivoRenderEngine>& engine,
                                        const std::shared_ptr<KivoLabelLoadingEventArgs>& args, double p, const std::string& text,
                                        bool isOverlap, double& lastEdge);
    KIVO_CHART_NO_EXPORT void drawLineAndTitle(const std::shared_ptr<IKivoRenderEngine>& engine, bool withOffset);
    KIVO_CHART_NO_EXPORT static void resetEngine(IKivoRenderEngine& engine);

    std::weak_ptr<OmbriChart> _chart;
    // Holds the axis and its chart for as long as it lives: the application code a member calls (the
    // delegate, an event's handlers) may let go of the last reference to either.
    struct Alive {
        std::shared_ptr<const plat::Object> axis;
        std::shared_ptr<OmbriChart> chart;
    };
    KIVO_CHART_NO_EXPORT Alive keepAlive() const { return {weak_from_this().lock(), _chart.lock()}; }
    std::int64_t _position;
    std::int64_t _axisType = KivoAxisTypeX;
    std::optional<std::string> _axisName;

    std::optional<std::string> _title;
    std::string _format = DefaultFormat;
    double _labelAngle = 0;
    std::optional<plat::Font> _labelFont;
    std::optional<plat::Color> _labelTextColor = plat::Color::black();
    std::optional<plat::Font> _titleFont;
    std::optional<plat::Color> _titleTextColor;
    std::optional<plat::Color> _lineColor;
    double _lineWidth = DefaultLineWidth;
    bool _axisLineVisible = true;
    bool _labelsVisible = true;
    bool _majorGridVisible = true;
    std::optional<plat::Color> _majorGridColor;
    std::optional<plat::Color> _majorGridFill = plat::Color::clear();
    double _majorGridWidth = DefaultGridWidth;
    std::vector<double> _majorGridDashes;
    std::vector<double> _minorGridDashes;
    std::optional<plat::Color> _majorTickColor;
    double _majorTickWidth = DefaultMajorTickWidth;
    double _majorTickLength = DefaultMajorTickLength;
    double _majorTickOverlap = 0;
    bool _minorGridVisible = false;
    std::optional<plat::Color> _minorGridColor;
    std::optional<plat::Color> _minorGridFill;
    double _minorGridWidth = DefaultGridWidth;
    std::optional<plat::Color> _minorTickColor;
    double _minorTickWidth = 0;
    double _minorTickLength = DefaultMinorTickLength;
    double _minorTickOverlap = 0;

    double _majorUnit = NaN;
    double _minorUnit = NaN;
    plat::Value _min;
    plat::Value _max;
    std::optional<double> _logBase;
    bool _reversed = false;
    double _origin = NaN;
    double _offset = 0;

    double _actualMin = NaN, _actualMax = NaN;
    double _actualDataMin = NaN, _actualDataMax = NaN;
    bool _isTimeAxis = false;
    plat::ArrayPtr _dataIndexTimeVals;
    // The chart's X values when the chart gave them, in place of a boxed list.
    std::shared_ptr<const kivo::detail::XValueList> _indexValues;
    std::vector<std::string> _labels;

    double _displayedRange = 0;
    // The application gave displayedRange itself: on a time axis it may be in major units still.
    bool _displayedRangeFromApplication = false;
    double _scale = 1.0;
    double _scrollPosition = 0;
    double _gestureProportion = 0;
    // A data value the scroll position is anchored to (0: none) and where in the window it sits.
    double _scrollDataValue = 0;
    std::int64_t _axisScrollPos = KivoAxisScrollPositionStart;

    std::shared_ptr<KivoRect> _axrect;
    std::shared_ptr<KivoRect> _plotrect;
    std::shared_ptr<KivoSize> _annoSize;
    std::shared_ptr<KivoSize> _szTitle;
    std::shared_ptr<IKivoRenderEngine> _engine;
    double _labelsCount = 0;
    bool _isActualOverLap = false;
    bool _isCustomizedLabel = false;
    std::shared_ptr<KivoSize> _desiredSize;
    std::int64_t _overlappingLabels = 0;
    bool _above = true;
    bool _gridLineIsExsit = false;
    bool _isHandleXFAxisLabelLoading = false;

    std::shared_ptr<KivoEvent> _labelLoading = std::make_shared<KivoEvent>();
    std::shared_ptr<KivoEvent> _rangeChanged;
};
