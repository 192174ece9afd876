#pragma once
// One data series of the Cartesian chart: which members of the items carry its
// values ("binding", comma-separated, the first for Y; "bindingX" for X), optionally items of its own,
// its look, its chart type and axes, and whether the plot and the legend show it. It reads its values
// once and keeps them as plain numbers for the data analysis and the plotters; an edit of its items
// announced by their collection view updates only the items that changed. The value lists it hands
// out are read-only: to change the values, change the items. The chart keeps its series in its `series` collection, in drawing
// order; the series holds the chart weakly (the chart owns its series).
//
// Every value a series reads comes from one list: its own items (the visible list of its own
// collection view) when it has any, else the visible list of the chart's collection view (sorted and
// filtered as the chart shows it). A value that cannot be read as a number is kept as the "NULL"
// placeholder or as it stands, and the chart draws a gap there.
//
// Sections: construction · binding · items · values · look · chart type and axes · visibility ·
// legend item · hit testing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoEvent.h"
#include "OmbriChart/IKivoSeries.h"
#include "OmbriChart/KivoDataArray.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "OmbriChart/OmbriChartEnums.h"
#include "Platform/foundation/object.h"

class KivoAxis;
class KivoChartHitTestInfo;
class OmbriChart;
namespace kivo::detail {
struct SeriesColumns;
class SeriesInternals;
}  // namespace kivo::detail

class KIVO_CHART_EXPORT KivoSeries : public plat::Object, public IKivoSeries {
public:
    // ---- Construction ----
    // A name given without a binding is not kept; with a binding and no name, the binding is the name.
    // The series is not added to the chart.
    KivoSeries(const std::shared_ptr<OmbriChart>& chart, std::optional<std::string> binding, std::optional<std::string> name);
    KivoSeries() : KivoSeries(nullptr, std::nullopt, std::nullopt) {}
    ~KivoSeries() override;
    static std::shared_ptr<KivoSeries> create(const std::shared_ptr<OmbriChart>& chart, std::optional<std::string> binding,
                                              std::optional<std::string> name) {
        return std::make_shared<KivoSeries>(chart, std::move(binding), std::move(name));
    }

    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }
    void setChart(const std::shared_ptr<OmbriChart>& chart) { _chart = chart; }
    const std::optional<std::string>& name() const { return _name; }
    void setName(std::optional<std::string> name) { _name = std::move(name); }

    // ---- Binding ----
    // The series' own binding, else the chart's. A new one drops the Y values and redraws.
    std::optional<std::string> binding() const;
    void setBinding(std::optional<std::string> binding);
    // The series' own X binding, else the chart's. A new one also becomes the chart's when the chart
    // has none (null or ""), drops the X values and redraws.
    std::optional<std::string> bindingX() const;
    void setBindingX(std::optional<std::string> binding);
    // The member name at `index` of the binding, split at "," and trimmed of spaces and tabs; null past
    // the last name. An empty part gives "".
    std::optional<std::string> getBinding(std::int64_t index) const;

    // ---- Items ----
    // The series' own items (null: the chart's). Setting them (also the same array again) feeds the
    // series' own collection view, drops both value arrays and redraws.
    const plat::ArrayPtr& itemsSource() const { return _itemsSource; }
    void setItemsSource(plat::ArrayPtr items);
    // The series' own collection view, over its own items. Editing it drops the values and redraws.
    std::shared_ptr<KivoCollectionView> collectionView() const { return _cv; }
    // A plain store that nothing reads: the series reads its own items through collectionView().
    void setCollectionView(std::shared_ptr<KivoCollectionView> view) { _collectionViewStored = std::move(view); }
    // The item at `index` of the list the series reads, or null past its end.
    plat::Value getItem(std::int64_t index) const;
    // The number of items of the list the series reads.
    std::int64_t getLength() const;

    // ---- Values ----
    // Dimension 0: the Y values under the first binding name, numbers where the item holds a number
    // (dates as seconds since 1970), else the "NULL" placeholder or the value as it stands; null without
    // a binding or without items. Dimension 1: the X values under bindingX (strings stay strings, for
    // categories); null without an X binding. Any other dimension: null. Kept until dropped.
    // A subclass may answer values of its own: the chart analyses and draws what it answers (read again
    // whenever it answers another array), with getDataType telling their type.
    KivoValues getValues(std::int32_t dimension) override;
    // The KivoDataType of the last value read for that dimension (1 before any read, 0 for another
    // dimension).
    std::int64_t getDataType(std::int32_t dimension) const override;
    // Drops everything read: the next use reads the items again.
    void clearValues();
    // The values of the member at `index` of the binding (bubble sizes, high, low, open, close), read
    // afresh on every call.
    KivoValues getBindingValues(std::int64_t index) const;
    // The kept arrays (null when dropped).
    const KivoValues& values() const { return _values; }
    const KivoValues& xvalues() const { return _xvalues; }
    // The marker of a value that is missing or not a number.
    static constexpr const char* NullValue = "NULL";

    // ---- Look (a changed value drops the Y values and redraws) ----
    // null: the chart's palette colour for the series' position.
    const std::optional<plat::Color>& color() const override { return _color; }
    void setColor(std::optional<plat::Color> color) override;
    // null: a darker shade of the fill.
    const std::optional<plat::Color>& borderColor() const override { return _borderColor; }
    void setBorderColor(std::optional<plat::Color> color) override;
    double borderWidth() const override { return _borderWidth; }
    void setBorderWidth(double width) override;
    double opacity() const override { return _opacity; }
    void setOpacity(double opacity) override;
    // null: the series colour.
    const std::optional<plat::Color>& symbolColor() const override { return _symbolColor; }
    void setSymbolColor(std::optional<plat::Color> color) override;
    // null: the border colour.
    const std::optional<plat::Color>& symbolBorderColor() const override { return _symbolBorderColor; }
    void setSymbolBorderColor(std::optional<plat::Color> color) override;
    // NaN: the border width.
    double symbolBorderWidth() const override { return _symbolBorderWidth; }
    void setSymbolBorderWidth(double width) override;
    double symbolOpacity() const override { return _symbolOpacity; }
    void setSymbolOpacity(double opacity) override;
    // Plain stores: 0 ellipse, 1 rectangle; the size of this series' symbols.
    std::int64_t symbolMarker() const override { return _symbolMarker; }
    void setSymbolMarker(std::int64_t marker) override { _symbolMarker = marker; }
    double symbolSize() const override { return _symbolSize; }
    void setSymbolSize(double size) override { _symbolSize = size; }
    // Progress of a series-by-series or point-by-point load, kept up to date by the chart.
    double animationTime() const override { return _animationTime; }
    void setAnimationTime(double time) override { _animationTime = time; }
    double animationDuration() const override { return _animationDuration; }
    void setAnimationDuration(double duration) override { _animationDuration = duration; }
    // Stroke width of the line of a line-type legend item whose border width is 0.
    double defaultLegendLineWidthForLineChart() const { return _defaultLegendLineWidthForLineChart; }
    // The legend row and column of the series' item, written when the chart sizes its legend.
    std::int32_t itemRowNum() const override { return _itemRowNum; }
    void setItemRowNum(std::int32_t row) override { _itemRowNum = row; }
    std::int32_t itemColumnNum() const override { return _itemColumnNum; }
    void setItemColumnNum(std::int32_t column) override { _itemColumnNum = column; }

    // ---- Chart type and axes ----
    // An OmbriChartType; 0: the chart's. A change hides the chart's tooltip and redraws.
    std::int64_t chartType() const override { return _chartType; }
    void setChartType(std::int64_t type) override;
    // The series' own axes; null: the chart's. Plain stores.
    const std::shared_ptr<KivoAxis>& axisX() const { return _axisX; }
    void setAxisX(std::shared_ptr<KivoAxis> axis) { _axisX = std::move(axis); }
    const std::shared_ptr<KivoAxis>& axisY() const { return _axisY; }
    void setAxisY(std::shared_ptr<KivoAxis> axis) { _axisY = std::move(axis); }
    // Takes the chart's first axis of that name as axisX (axisY); null, "" or a name no axis has changes
    // nothing. The getters answer the name of the current axis.
    std::optional<std::string> axisXname() const;
    void setAxisXname(const std::optional<std::string>& name);
    std::optional<std::string> axisYname() const;
    void setAxisYname(const std::optional<std::string>& name);

    // ---- Visibility ----
    // A KivoSeriesVisibility: 0 and 1 draw the series, 0 and 2 list it in the legend. A change drops the
    // Y values; on an animated chart showing or hiding the series is announced to the chart's series
    // collection as an add or a remove at its position (the chart animates it), otherwise the chart
    // redraws. The delegate's seriesVisibilityChanged follows.
    std::int64_t visibility() const { return _visibility; }
    void setVisibility(std::int64_t visibility);
    // Drawn: visibility 0 or 1.
    bool isDrawn() const { return isDrawnVisibility(_visibility); }
    static bool isDrawnVisibility(std::int64_t visibility) {
        return visibility == KivoSeriesVisibilityVisible || visibility == KivoSeriesVisibilityPlot;
    }

    // ---- Legend item ----
    // A 10 × 10 symbol 4 in from the left, the name 18 in, vertically centred: 10 + name width + 12
    // wide and max(10, name height) + 8 high.
    std::shared_ptr<KivoSize> measureLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine) override;
    // The symbol of the series' chart type in its colours (paler while the series is not drawn), then
    // the name.
    void drawLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect) override;

    // ---- Hit testing ----
    // What of this series lies at the point (in the chart view's coordinates): always a result; with
    // the nearest hit area of the series when there is one.
    std::shared_ptr<KivoChartHitTestInfo> hitTest(const std::shared_ptr<KivoPoint>& point);
    std::shared_ptr<KivoChartHitTestInfo> hitTest(double x, double y);

private:
    friend class OmbriChartTestAccess;
    friend class kivo::detail::SeriesInternals;

    // Reading a list of items: each item's member `binding` (the item itself when null); dates become
    // their seconds, null becomes the placeholder, everything else stays as it is.
    KIVO_CHART_NO_EXPORT static std::shared_ptr<KivoDataArray> _bindValues(const plat::ArrayPtr& items,
                                                                           const std::optional<std::string>& binding);
    // Reading the chart's collection view: the same, and for dimension 0 strings in the current
    // locale's decimal style become numbers (anything else that is not a number, the placeholder).
    KIVO_CHART_NO_EXPORT static std::shared_ptr<KivoDataArray> _bindCollectionView(
        const std::shared_ptr<KivoCollectionView>& view, const std::optional<std::string>& binding, std::int32_t dimension);
    // A number as it is; a string in the current locale's decimal style as its number; else null.
    KIVO_CHART_NO_EXPORT static plat::Value _getNumberFromValue(const plat::Value& value);
    // Asks the chart for a drawing pass.
    KIVO_CHART_NO_EXPORT void _invalidate() const;

    // The view the series reads: its own when it has items, else the chart's.
    KIVO_CHART_NO_EXPORT std::shared_ptr<KivoCollectionView> readView() const;
    // That view's visible list.
    KIVO_CHART_NO_EXPORT plat::ArrayPtr readList() const;
    KIVO_CHART_NO_EXPORT bool hasOwnItems() const { return _cv && !_cv->isEmpty(); }
    KIVO_CHART_NO_EXPORT std::int64_t positionInChart() const;
    KIVO_CHART_NO_EXPORT void subscribeToOwnItems();
    // Drop what was read of Y (X), and tell the chart's analysis that the values changed.
    KIVO_CHART_NO_EXPORT void dropValues();
    KIVO_CHART_NO_EXPORT void dropXValues();
    // Stores a look value; a change drops the Y values and redraws (NaN always counts as a change).
    template <class T>
    KIVO_CHART_NO_EXPORT void setLook(T& field, const T& value) {
        if (field == value) return;
        field = value;
        dropValues();
        _invalidate();
    }

    std::weak_ptr<OmbriChart> _chart;
    std::optional<std::string> _binding;
    std::optional<std::string> _bindingX;
    std::shared_ptr<KivoCollectionView> _cv = KivoCollectionView::create();
    KivoEventBlock _ownItemsHandler;
    std::int64_t _visibility = KivoSeriesVisibilityVisible;
    KivoValues _values;
    std::int64_t _valueDataType = 1;
    KivoValues _xvalues;
    std::int64_t _xvalueDataType = 1;
    double _defaultLegendLineWidthForLineChart = 2.0;
    std::int32_t _itemRowNum = 0;
    std::int32_t _itemColumnNum = 0;
    std::shared_ptr<KivoAxis> _axisX;
    std::shared_ptr<KivoAxis> _axisY;
    std::int64_t _chartType = OmbriChartTypeDefault;
    std::optional<std::string> _name;
    plat::ArrayPtr _itemsSource;
    std::shared_ptr<KivoCollectionView> _collectionViewStored;
    std::optional<plat::Color> _color;
    std::optional<plat::Color> _borderColor;
    double _borderWidth = 0;
    double _opacity = 1.0;
    std::optional<plat::Color> _symbolColor;
    std::optional<plat::Color> _symbolBorderColor;
    double _symbolBorderWidth = 0;
    double _symbolOpacity = 1.0;
    std::int64_t _symbolMarker = 0;
    double _symbolSize = 0;
    double _animationTime = 0;
    double _animationDuration = 0;
    // The numbers read from the items, kept between passes, and the change counter of the values.
    std::shared_ptr<kivo::detail::SeriesColumns> _columns;
};
