// OmbriPie: construction, data binding and updates, settings and the helpers. The drawing pass is in
// OmbriPieRender.cpp, the legend in OmbriPieLegend.cpp, touch and the turn in OmbriPieInteraction.cpp.

#include "OmbriPie/OmbriPie.h"

#include <cmath>
#include <utility>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriPie/KivoOmbriPieInternalRegion.h"
#include "PieFrame.h"
#include "PieTimers.h"
#include "Platform/runtime/async_semaphore.h"
#include "Platform/ui/gestures.h"
#include "foundation/saturating_cast.h"

const double LEGEND_ITEM_WIDTH = 10.0;
const double LEGEND_ITEM_HEIGHT = 10.0;
const double LEGEND_ITEM_MARGIN = 4.0;
const double LEGEND_TITLE_MARGIN = 10.0;
const double LEGEND_PIE_MARGIN = 7.0;
const std::int64_t DEFAULT_SELECTED_BORDER_WIDTH = 3;

namespace {

constexpr double LegendBorderWidth = 1.0;
const std::vector<double> SelectedDashes{6, 3};
constexpr double DegreesPerTurn = 360;
constexpr double HalfTurnDegrees = 180;

}  // namespace

// ---- Construction ----

std::shared_ptr<OmbriPie> OmbriPie::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<OmbriPie>(new OmbriPie(frame)));
}

OmbriPie::OmbriPie(const plat::Rect& frame) : OmbriChartBase(frame) {}

OmbriPie::~OmbriPie() {
    kivo::detail::stopPieTimer(_selectStartTimer);
    kivo::detail::stopPieMove(_selectDriver);
}

void OmbriPie::initInternals() {
    OmbriChartBase::initInternals();
    const auto self = sharedAs<OmbriPie>();

    legend()->setBorderWidth(LegendBorderWidth);
    setSelectedDashes(SelectedDashes);
    setSelectionMode(KivoChartSelectionModePoint);
    setSelectedBorderColor(std::nullopt);
    setSelectedBorderWidth(static_cast<double>(DEFAULT_SELECTED_BORDER_WIDTH));

    _dataLabel = OmbriPieDataLabel::create(self);
    _dataLabelRenderer = DefaultOmbriPieDataLabelRenderer::create(self, _dataLabel);
    _pieControl = OmbriPieControl::create(self, bounds());
    setTooltip(KivoChartTooltip::create(self, KivoBaseChartTooltipView::create()));

    _center = KivoPoint::create(0, 0);
    _selectAnimation = std::make_shared<KivoAnimation>();
    auto load = KivoChartLoadAnimation::create();
    setLoadAnimation(load);
    load->setAnimationMode(KivoLoadAnimationModePoint);  // the pie reads 1 as a sweep
    load->setChart(self);
    _valueFormatter = std::make_shared<KivoIOSValueFormatter>();

    attachTapRecognizer();
    addSubview(_pieControl);
    if (const auto& content = tooltip()->content()) bringSubviewToFront(content.get());
    addCollectionChangedHandler(&OmbriPie::onItemsChanged);
}

void OmbriPie::prepareForInterfaceBuilder() {
    setIsAnimated(false);
    setItemsSource(KivoOmbriPieInternalRegion::demo());
    setBinding("value");
    setBindingName("name");
}

// ---- Data ----

void OmbriPie::setItemsSource(plat::ArrayPtr items) {
    const auto alive = keepAlive();  // application code below may drop the pie
    const auto previous = itemsSource();
    const bool different = items != previous;
    OmbriChartBase::setItemsSource(std::move(items));
    ++_count;
    if (_count > 1) {
        if (different) {
            _pieControl->stopLoadAnimation();
            _pieControl->setFirstLoad(true);
        }
        invalidate();
    }
    _pieControl->invalidate();
}

void OmbriPie::setBinding(std::optional<std::string> name) {
    if (name == binding()) return;
    OmbriChartBase::setBinding(std::move(name));
    // Before the first load there is nothing to animate from: the values are read again at once, so
    // a binding set after the items never leaves zeros on screen.
    if (_pieControl->firstLoad()) {
        bindChart();
        return;
    }
    if (const auto& view = collectionView())
        view->onCollectionChanged(std::make_shared<KivoNotifyCollectionChangedEventArgs>(KivoNotifyCollectionChangedActionReplace,
                                                                                         itemsSource(), 0, nullptr, 0));
}

void OmbriPie::setBindingName(std::optional<std::string> name) {
    if (name == _bindingName) return;
    _bindingName = std::move(name);
    bindChart();
}

void OmbriPie::bindChart() {
    const auto alive = keepAlive();  // application getters below may drop the pie
    std::vector<double> values;
    _labels.clear();
    if (const auto& content = tooltip() ? tooltip()->content() : nullptr) content->setIsVisible(false);

    if (const auto view = collectionView()) {
        setSelectionIndex(view->currentPosition());
        const plat::ArrayPtr items = view->items();
        const bool labelled = _bindingName && !_bindingName->empty();
        for (std::size_t i = 0; items && i < items->size(); ++i) {
            const plat::Value item = (*items)[i];
            double v = 0;
            if (binding()) {
                const plat::Value read = KivoReflector::getValue(item, *binding());
                if (KivoReflector::getDataType(read) == KivoDataTypeNumber) v = read.asDouble();
            }
            if (!std::isfinite(v)) v = 0;
            values.push_back(v);

            if (labelled && !item.isNil()) {
                const plat::Value label = KivoReflector::getValue(item, *_bindingName);
                _labels.push_back(label.isNil() ? std::string() : label.description());
            } else {
                _labels.push_back(std::to_string(plat::detail::saturatingCast<std::int32_t>(v)));
            }
        }
    }
    _pieControl->setSum(kivo::detail::absoluteSum(values));
    // Whatever rebound the values, the next update must start from what is on screen.
    if (!_pieControl->isUpdating()) {
        _pieControl->setPreValues(values);
        _pieControl->setPreLabels(_labels);
    }
    _pieControl->setValues(std::move(values));
    invalidate();
}

void OmbriPie::onItemsChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    const auto action = args->action();
    if ((action == KivoNotifyCollectionChangedActionAdd && args->items()) ||
        (action == KivoNotifyCollectionChangedActionRemove && args->oldItems()) ||
        action == KivoNotifyCollectionChangedActionReplace)
        update(args);
}

void OmbriPie::update(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    if (!args) return;
    // Only finite numbers can be eased; anything else shows at once through the rebinding.
    const auto number = [this](const plat::Value& item) -> std::optional<double> {
        if (!binding()) return std::nullopt;
        const plat::Value v = KivoReflector::getValue(item, *binding());
        if (KivoReflector::getDataType(v) != KivoDataTypeNumber || !std::isfinite(v.asDouble())) return std::nullopt;
        return v.asDouble();
    };
    const auto action = args->action();
    if (action == KivoNotifyCollectionChangedActionAdd && args->items()) {
        if (!args->items()->empty())
            if (const auto v = number((*args->items())[0])) {
                addedValueArr.push_back(*v);
                addedValueInd.push_back(args->startingIndex());
            }
    } else if (action == KivoNotifyCollectionChangedActionRemove && args->oldItems()) {
        if (!args->oldItems()->empty())
            if (const auto v = number((*args->oldItems())[0])) {
                removedValueArr.push_back(*v);
                removedValueInd.push_back(args->oldStartingIndex());
            }
    } else if (action == KivoNotifyCollectionChangedActionReplace && binding() && args->items()) {
        for (std::size_t k = 0; k < args->items()->size(); ++k)
            if (const auto v = number((*args->items())[k])) {
                changedValueArr.push_back(*v);
                changedValueInd.push_back(args->oldStartingIndex() + static_cast<std::int64_t>(k));
            }
    }
    std::weak_ptr<OmbriPie> weak = sharedAs<OmbriPie>();
    _pieControl->semaphore()->acquireAfter(UpdateHandOverDelay, [weak]() {
        if (const auto pie = weak.lock()) pie->handOverUpdate();
    });
}

void OmbriPie::handOverUpdate() {
    const auto alive = keepAlive();  // application getters in the rebinding may drop the pie
    // A drawing view that has had no pass yet shows no old pie to animate from, and the pass that would
    // start the animation may never come (a pie not in a window): what changed before the first pass
    // is simply the data that pass shows.
    if (_pieControl->count() == 0)
        for (auto* recorded : {&addedValueArr, &removedValueArr, &changedValueArr}) recorded->clear();
    if (addedValueArr.empty() && removedValueArr.empty() && changedValueArr.empty()) {
        // Nothing to animate; what changed is still shown.
        for (auto* indices : {&addedValueInd, &removedValueInd, &changedValueInd}) indices->clear();
        _pieControl->semaphore()->signal();
        bindChart();
        _pieControl->invalidate();
        return;
    }
    _pieControl->handOverUpdate({std::exchange(addedValueArr, {}), std::exchange(removedValueArr, {}),
                                 std::exchange(changedValueArr, {}), std::exchange(addedValueInd, {}),
                                 std::exchange(removedValueInd, {}), std::exchange(changedValueInd, {})});
    bindChart();
    _pieControl->invalidate();
}

// ---- Settings stored in the drawing view ----

template <class T, class Get, class Set>
void OmbriPie::forward(const T& value, Get get, Set set) {
    if (((*_pieControl).*get)() == value) return;
    ((*_pieControl).*set)(value);
    _pieControl->invalidate();
}

void OmbriPie::setStartAngle(double angle) {
    const double old = _pieControl->startAngle();
    if (angle == old) return;
    _pieControl->setStartAngle(angle);
    // A bubble on screen follows its slice around the centre.
    const auto& content = tooltip() ? tooltip()->content() : nullptr;
    if (content && content->isVisible()) {
        const double d = (angle - old) * M_PI / HalfTurnDegrees;
        const plat::Point c = _pieControl->center();
        const plat::Point p = content->senderPoint();
        const plat::Point turned{c.x + (p.x - c.x) * std::cos(d) - (p.y - c.y) * std::sin(d),
                                 c.y + (p.y - c.y) * std::cos(d) + (p.x - c.x) * std::sin(d)};
        _showTooltip(content->text().value_or(std::string()), turned, content->chartData());
    }
    _pieControl->invalidate();
}

void OmbriPie::setOffset(double offset) { forward(offset, &OmbriPieControl::offset, &OmbriPieControl::setOffset); }

void OmbriPie::setInnerRadius(double radius) { forward(radius, &OmbriPieControl::innerRadius, &OmbriPieControl::setInnerRadius); }

void OmbriPie::setSliceBorderWidth(double width) {
    forward(width, &OmbriPieControl::sliceBorderWidth, &OmbriPieControl::setSliceBorderWidth);
}

void OmbriPie::setSelectedItemOffset(double offset) {
    forward(offset, &OmbriPieControl::selectedItemOffset, &OmbriPieControl::setSelectedItemOffset);
}

void OmbriPie::setReversed(bool reversed) { forward(reversed, &OmbriPieControl::reversed, &OmbriPieControl::setReversed); }

void OmbriPie::setIsAnimated(bool animated) {
    if (_pieControl->isAnimated() != animated) _pieControl->setIsAnimated(animated);
}

void OmbriPie::setLoadAnimation(std::shared_ptr<KivoChartLoadAnimation> animation) {
    if (animation == _pieControl->loadAnimation()) return;
    _pieControl->stopLoadAnimation();
    _pieControl->setLoadAnimation(std::move(animation));
    _pieControl->setFirstLoad(true);
    _pieControl->invalidate();
}

// ---- Own settings ----

void OmbriPie::setIsUpdateAnimated(bool animated) {
    if (animated == _isUpdateAnimated) return;
    _isUpdateAnimated = animated;
    invalidate();
}

void OmbriPie::setSelectionMode(std::int64_t mode) {
    OmbriChartBase::setSelectionMode(mode);
    if (mode == KivoChartSelectionModeNone) _selectedIndex = -1;
}

// ---- Hit values and tooltip ----

plat::Value OmbriPie::getHitTestInfoValue(std::int32_t, bool, std::int32_t pointIndex, const std::shared_ptr<plat::Object>&) {
    const auto& values = _pieControl->values();
    if (pointIndex < 0 || static_cast<std::size_t>(pointIndex) >= values.size()) return {};
    return plat::Value(values[static_cast<std::size_t>(pointIndex)]);
}

void OmbriPie::_showTooltip(const std::string& text, const plat::Point& position, std::shared_ptr<plat::Object> data) {
    const auto& content = tooltip() ? tooltip()->content() : nullptr;
    if (!content) return;
    content->setSenderPoint(position);
    content->setText(text);
    content->setChartData(std::move(data));
    content->setIsVisible(true);
    bringSubviewToFront(content.get());
    content->invalidate();
}

// ---- Helpers ----

double OmbriPie::clampAngle(double degrees) {
    // No turn for an angle that is not a number of degrees.
    if (!std::isfinite(degrees)) return 0;
    // Truncated, then wrapped in doubles: the remainder of a whole number by 360 is exact at any size,
    // where a 32-bit integer would saturate and wrap the wrong angle.
    const double t = std::trunc(degrees);
    const double k = std::fmod(std::fmod(t, DegreesPerTurn) + HalfTurnDegrees, DegreesPerTurn);
    const double result = k - HalfTurnDegrees;
    // 0 rather than -0 for a small negative angle.
    return (k < 0 ? result + DegreesPerTurn : result) + 0.0;
}

std::int64_t OmbriPie::convertAnimationType(const std::shared_ptr<IKivoEaseAction>& easing) {
    return easing ? easing->viewAnimationCurve() : 0;
}
