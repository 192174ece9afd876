// KivoSeries: construction, binding names, items, look, chart type and axes, visibility and hit
// testing. Reading the values is in KivoSeriesValues.cpp, the legend item in KivoSeriesLegend.cpp.

#include "OmbriChart/KivoSeries.h"

#include <array>
#include <string_view>

#include "ChartCore/KivoChartTooltip.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/OmbriChart.h"
#include "series/SeriesColumns.h"

namespace {

// The space separators a binding name is trimmed of (besides the ASCII space and the tab), in UTF-8:
// no-break space, ogham space mark, the en quad to hair space run, narrow no-break space, medium
// mathematical space, ideographic space.
constexpr std::array<std::string_view, 16> UnicodeSpaces{
    "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82", "\xE2\x80\x83",
    "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88", "\xE2\x80\x89",
    "\xE2\x80\x8A", "\xE2\x80\xAF", "\xE2\x81\x9F", "\xE3\x80\x80",
};

// The length of the space at the start (or, with `atEnd`, at the end) of `text`; 0 for none.
std::size_t spaceLength(std::string_view text, bool atEnd) {
    if (text.empty()) return 0;
    const char edge = atEnd ? text.back() : text.front();
    if (edge == ' ' || edge == '\t') return 1;
    for (const auto space : UnicodeSpaces)
        if (atEnd ? text.ends_with(space) : text.starts_with(space)) return space.size();
    return 0;
}

std::string trimmed(std::string_view text) {
    while (std::size_t n = spaceLength(text, false)) text.remove_prefix(n);
    while (std::size_t n = spaceLength(text, true)) text.remove_suffix(n);
    return std::string(text);
}

}  // namespace

// ---- Construction ----

KivoSeries::KivoSeries(const std::shared_ptr<OmbriChart>& chart, std::optional<std::string> binding,
                       std::optional<std::string> name)
    : _chart(chart), _columns(std::make_shared<kivo::detail::SeriesColumns>()) {
    if (!binding) return;
    _name = name ? std::move(name) : binding;
    _binding = std::move(binding);
}

KivoSeries::~KivoSeries() = default;

void KivoSeries::_invalidate() const {
    if (const auto chart = _chart.lock()) chart->invalidate();
}

std::int64_t KivoSeries::positionInChart() const {
    const auto chart = _chart.lock();
    if (!chart || !chart->series()) return -1;
    const auto& list = chart->series()->sourceArray();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].asObject().get() == static_cast<const plat::Object*>(this)) return static_cast<std::int64_t>(i);
    return -1;
}

// ---- Binding ----

std::optional<std::string> KivoSeries::binding() const {
    if (_binding) return _binding;
    const auto chart = _chart.lock();
    return chart ? chart->binding() : std::nullopt;
}

void KivoSeries::setBinding(std::optional<std::string> binding) {
    if (binding == _binding) return;
    _binding = std::move(binding);
    dropValues();
    _invalidate();
}

std::optional<std::string> KivoSeries::bindingX() const {
    if (_bindingX) return _bindingX;
    const auto chart = _chart.lock();
    return chart ? chart->bindingX() : std::nullopt;
}

void KivoSeries::setBindingX(std::optional<std::string> binding) {
    if (binding == _bindingX) return;
    _bindingX = std::move(binding);
    if (const auto chart = _chart.lock()) {
        const auto& chartX = chart->bindingX();
        if (!chartX || chartX->empty()) chart->setBindingX(_bindingX);
    }
    dropXValues();
    _invalidate();
}

std::optional<std::string> KivoSeries::getBinding(std::int64_t index) const {
    const auto names = binding();
    if (!names || index < 0) return std::nullopt;
    std::string_view rest = *names;
    for (std::int64_t k = 0;; ++k) {
        const std::size_t comma = rest.find(',');
        if (k == index) return trimmed(rest.substr(0, comma));
        if (comma == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(comma + 1);
    }
}

// ---- Items ----

void KivoSeries::setItemsSource(plat::ArrayPtr items) {
    subscribeToOwnItems();
    _itemsSource = items;
    _cv->setSourceCollection(std::move(items));
    clearValues();
    _invalidate();
}

void KivoSeries::subscribeToOwnItems() {
    if (_ownItemsHandler || !_cv->collectionChanged()) return;
    // Items the application edits through the series' own collection view are read again.
    std::weak_ptr<KivoSeries> weak = std::static_pointer_cast<KivoSeries>(weak_from_this().lock());
    _ownItemsHandler = KivoEventBlock([weak](const std::shared_ptr<KivoEventContainer>& container) {
        const auto series = weak.lock();
        if (!series) return;
        const auto args = container ? container->args<KivoNotifyCollectionChangedEventArgs>() : nullptr;
        if (args)
            kivo::detail::SeriesInternals::itemsChanged(*series, *args, false);
        else
            series->clearValues();
        series->_invalidate();
    });
    if (const auto self = weak.lock()) _cv->collectionChanged()->addHandler(_ownItemsHandler, self);
}

std::shared_ptr<KivoCollectionView> KivoSeries::readView() const {
    if (hasOwnItems()) return _cv;
    const auto chart = _chart.lock();
    return chart ? chart->collectionView() : nullptr;
}

plat::ArrayPtr KivoSeries::readList() const {
    const auto view = readView();
    return view ? view->items() : nullptr;
}

// One item and the count are read through the view by position: the view's whole list is made only
// for a caller that asks for it.
plat::Value KivoSeries::getItem(std::int64_t index) const {
    const auto view = readView();
    if (!view || index < 0 || index >= view->itemCount()) return {};
    return view->itemAt(static_cast<std::int32_t>(index));
}

std::int64_t KivoSeries::getLength() const {
    const auto view = readView();
    return view ? view->itemCount() : 0;
}

// ---- Look ----

void KivoSeries::setColor(std::optional<plat::Color> color) { setLook(_color, color); }
void KivoSeries::setBorderColor(std::optional<plat::Color> color) { setLook(_borderColor, color); }
void KivoSeries::setBorderWidth(double width) { setLook(_borderWidth, width); }
void KivoSeries::setOpacity(double opacity) { setLook(_opacity, opacity); }
void KivoSeries::setSymbolColor(std::optional<plat::Color> color) { setLook(_symbolColor, color); }
void KivoSeries::setSymbolBorderColor(std::optional<plat::Color> color) { setLook(_symbolBorderColor, color); }
void KivoSeries::setSymbolBorderWidth(double width) { setLook(_symbolBorderWidth, width); }
void KivoSeries::setSymbolOpacity(double opacity) { setLook(_symbolOpacity, opacity); }

// ---- Chart type and axes ----

void KivoSeries::setChartType(std::int64_t type) {
    if (type == _chartType) return;
    _chartType = type;
    const auto chart = _chart.lock();
    if (chart && chart->tooltip()) chart->tooltip()->hide();
    _invalidate();
}

std::optional<std::string> KivoSeries::axisXname() const { return _axisX ? _axisX->axisName() : std::nullopt; }
std::optional<std::string> KivoSeries::axisYname() const { return _axisY ? _axisY->axisName() : std::nullopt; }

void KivoSeries::setAxisXname(const std::optional<std::string>& name) {
    const auto chart = _chart.lock();
    if (!chart || !name || name->empty()) return;
    if (auto axis = chart->findAxis(*name)) _axisX = std::move(axis);
}

void KivoSeries::setAxisYname(const std::optional<std::string>& name) {
    const auto chart = _chart.lock();
    if (!chart || !name || name->empty()) return;
    if (auto axis = chart->findAxis(*name)) _axisY = std::move(axis);
}

// ---- Visibility ----

void KivoSeries::setVisibility(std::int64_t visibility) {
    if (visibility == _visibility) return;
    // The delegate, or a handler of the series list, may let go of the last reference to the series.
    const auto alive = keepAlive();
    const bool wasDrawn = isDrawn();
    _visibility = visibility;
    dropValues();
    const auto chart = _chart.lock();
    if (!chart) return;
    const std::int64_t position = positionInChart();
    if (chart->isAnimated() && wasDrawn != isDrawn() && position >= 0) {
        // The chart animates the series in or out as if it had been added or removed there.
        auto one = std::make_shared<plat::Array>(plat::Array{plat::Value(weak_from_this().lock())});
        chart->setIsSeriesVisibilityAnimation(true);
        chart->series()->onCollectionChanged(isDrawn()
                                                 ? std::make_shared<KivoNotifyCollectionChangedEventArgs>(
                                                       KivoNotifyCollectionChangedActionAdd, one, position, nullptr, -1)
                                                 : std::make_shared<KivoNotifyCollectionChangedEventArgs>(
                                                       KivoNotifyCollectionChangedActionRemove, nullptr, -1, one, position));
    } else {
        // Also a change between the two drawn (or the two undrawn) states: the legend lists differently.
        _invalidate();
    }
    if (auto delegate = chart->delegateAnswering(OmbriChartDelegate::SeriesVisibilityChanged))
        delegate->seriesVisibilityChanged(chart, weak_from_this().lock());
}

// ---- Hit testing ----

std::shared_ptr<KivoChartHitTestInfo> KivoSeries::hitTest(const std::shared_ptr<KivoPoint>& point) {
    return point ? hitTest(point->x(), point->y()) : hitTest(0, 0);
}

std::shared_ptr<KivoChartHitTestInfo> KivoSeries::hitTest(double x, double y) {
    const auto chart = _chart.lock();
    if (!chart) return KivoChartHitTestInfo::create(nullptr, x, y);
    const std::int64_t position = positionInChart();
    return chart->hitTestSeries(KivoPoint::create(x, y), static_cast<std::int32_t>(position));
}
