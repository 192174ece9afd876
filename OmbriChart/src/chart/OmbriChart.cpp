// OmbriChart: construction, the internal initialiser and the collection-change subscriptions. The
// property setters are in OmbriChartProperties.cpp, the design-time data in OmbriChartDesign.cpp, the
// change handlers with the animations in OmbriChartAnimation.cpp.

#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "OmbriChart/DefaultChartDataLabelRenderer.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "Platform/ui/gestures.h"
#include "interaction/CategoryIndex.h"

std::shared_ptr<OmbriChart> OmbriChart::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<OmbriChart>(new OmbriChart(frame)));
}

OmbriChart::OmbriChart(const plat::Rect& frame) : OmbriChartBase(frame), _state(std::make_unique<kivo::detail::ChartState>()) {}

void OmbriChart::initInternals() {
    OmbriChartBase::initInternals();
    const auto self = sharedAs<OmbriChart>();
    setLegend(KivoLegend::create(self));
    OmbriChartBase::setChartType(OmbriChartTypeColumn);
    OmbriChartBase::setSelection(nullptr);
    setSelectionIndex(-1);

    _series = std::make_shared<KivoObservableArray>();
    _annotations = std::make_shared<KivoObservableArray>();
    _options = OmbriChartOptions::create(self);
    _plotElementLoading = std::make_shared<KivoEvent>();
    _dataLabel = OmbriChartDataLabel::create(self);
    _dataLabelRenderer = DefaultChartDataLabelRenderer::create(self, _dataLabel);
    _lineMarker = KivoChartLineMarker::create(self);
    _dataInfo = KivoDataInfo::create();
    _hitTester = KivoHitTester::create();

    _axisX = KivoAxis::create(KivoAxisPositionBottom, self);
    _axisX->setMajorGridVisible(false);
    _axisY = KivoAxis::create(KivoAxisPositionLeft, self);
    _axesArray = {_axisX, _axisY};

    _loadAnimation = KivoChartLoadAnimation::create();
    _loadAnimation->setChart(self);
    _updateAnimation = std::make_shared<KivoAnimation>();
    _state->activeUpdateAnimation = std::make_shared<KivoAnimation>();
    _valueFormatter = std::make_shared<KivoIOSValueFormatter>();
    _state->updateEventArgs = KivoNotifyCollectionChangedEventArgs::reset();
    setIsSeriesVisibilityAnimation(false);

    setTooltip(KivoChartTooltip::create(self, KivoBaseChartTooltipView::create()));

    subscribeToSeries();
    addCollectionChangedHandler(&OmbriChart::onCollectionViewChanged);
    attachRecognizers();
}

void OmbriChart::replay() { _state->suppressAnimation = false; }

bool OmbriChart::canAnimateChange() const { return !_state->firstRender && _isAnimated; }

void OmbriChart::subscribeToSeries() {
    std::weak_ptr<OmbriChart> weak = sharedAs<OmbriChart>();
    KivoEventBlock block([weak](const std::shared_ptr<KivoEventContainer>& container) {
        const auto chart = weak.lock();
        const auto args = container ? container->args<KivoNotifyCollectionChangedEventArgs>() : nullptr;
        if (chart && args) chart->onSeriesCollectionChanged(args);
    });
    _series->collectionChanged()->addHandler(block, shared_from_this());
}

OmbriChart::~OmbriChart() {
    // A running animation stops with its chart.
    if (_state->driver) _state->driver->stop();
}
