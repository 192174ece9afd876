// OmbriChart: the setters that do more than store.

#include "ChartCore/KivoChartTooltip.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"
#include "foundation/scoped_flag.h"

void OmbriChart::hideTooltip() const {
    if (tooltip()) tooltip()->hide();
}

void OmbriChart::setChartType(std::int64_t type) {
    if (type == chartType()) return;
    OmbriChartBase::setChartType(type);
    renewDataInfo();
    replay();
    hideTooltip();
    invalidate();
}

void OmbriChart::setRotated(bool rotated) {
    if (rotated == _rotated) return;
    _rotated = rotated;
    replay();
    hideTooltip();
    invalidate();
}

void OmbriChart::setInterpolateNulls(bool interpolate) {
    if (interpolate == _interpolateNulls) return;
    _interpolateNulls = interpolate;
    invalidate();
}

void OmbriChart::setStacking(std::int64_t stacking) {
    // Turning stacking off also acts when the stored value is 0 already but axes wait to come back
    // (a finance chart stores 0 for any stacking).
    const bool restoring = stacking == KivoPlotterStackingNone && _axesRestoreList;
    if (stacking == _stacking && !restoring) return;
    const auto type = chartType();
    const bool finance = type == OmbriChartTypeCandlestick || type == OmbriChartTypeHighLowOpenClose;
    _stacking = finance ? KivoPlotterStackingNone : stacking;
    if (stacking != KivoPlotterStackingNone) {
        // Stacked series share the primary axes. The axes shown before come back when stacking goes
        // off; a change between stacking modes keeps the list taken first.
        if (!_axesRestoreList) _axesRestoreList = _axesArray;
        _axesArray = {_axisX, _axisY};
        replay();
    } else if (_axesRestoreList) {
        _axesArray = *_axesRestoreList;
        _axesRestoreList.reset();
    }
    hideTooltip();
    invalidate();
}

void OmbriChart::setTextColor(std::optional<plat::Color> color) {
    OmbriChartBase::setTextColor(color);
    if (!textColor()) return;
    for (const auto& axis : _axesArray)
        if (axis) axis->setLabelTextColor(textColor());
    invalidate();
}

void OmbriChart::setAxesArray(AxisList axes) {
    if (axes != _axesArray) _axesArray = std::move(axes);
    invalidate();
}

void OmbriChart::setLoadAnimation(std::shared_ptr<KivoChartLoadAnimation> animation) {
    if (animation == _loadAnimation) return;
    _loadAnimation = std::move(animation);
    replay();
    invalidate();
}

void OmbriChart::setUpdateAnimation(std::shared_ptr<KivoAnimation> animation) {
    if (animation != _updateAnimation) _updateAnimation = std::move(animation);
}

void OmbriChart::setSymbolSize(double size) {
    if (size == _symbolSize) return;  // NaN always counts as a change
    _symbolSize = size;
    invalidate();
}

void OmbriChart::setMaxItemsVisible(std::uint64_t count) {
    if (count == _maxItemsVisible) return;
    _maxItemsVisible = count;
    renewDataInfo();
    invalidate();
}

void OmbriChart::setSelection(std::shared_ptr<plat::Object> selection) {
    if (selection == this->selection()) return;
    OmbriChartBase::setSelection(std::move(selection));
    invalidate();
}

void OmbriChart::setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter) {
    if (formatter != _valueFormatter) _valueFormatter = std::move(formatter);
}

void OmbriChart::setCustomPlotElement(std::shared_ptr<plat::View> view) {
    if (view != _customPlotElement) _customPlotElement = std::move(view);
}

void OmbriChart::setChartOptions(std::shared_ptr<OmbriChartOptions> options) {
    _options = std::move(options);
    invalidate();
}

void OmbriChart::setItemsSource(plat::ArrayPtr items) {
    const auto alive = keepAlive();  // application code below may drop the chart
    {
        // New items replay the load animation rather than an update of the reset they announce.
        const plat::detail::ScopedFlag replacing(_state->replacingData);
        OmbriChartBase::setItemsSource(std::move(items));
    }
    renewDataInfo();
    replay();
    invalidate();
}

void OmbriChart::setCollectionView(std::shared_ptr<KivoCollectionView> view) {
    const auto alive = keepAlive();  // application code below may drop the chart
    {
        const plat::detail::ScopedFlag replacing(_state->replacingData);
        OmbriChartBase::setCollectionView(std::move(view));
    }
    renewDataInfo();
    replay();
    invalidate();
}

KivoEasePtr OmbriChart::getEasing() const {
    if (_state->suppressAnimation || !_isAnimated) return KivoEasing::EaseNone();
    const auto& animation = _state->isUpdateTask1() || _state->isUpdateTask2() ? _state->activeUpdateAnimation : _loadAnimation;
    if (animation && animation->duration() > 0) return animation->easing();
    return KivoEasing::EaseNone();
}
