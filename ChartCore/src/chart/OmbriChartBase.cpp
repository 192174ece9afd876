// OmbriChartBase: construction, data and subscriptions, parts, look setters, events and the drawing
// pass. Text and title drawing are in OmbriChartBaseText.cpp, the palette in OmbriChartBasePalette.cpp.

#include "ChartCore/OmbriChartBase.h"

#include <limits>

#include "ChartCore/KivoChartTooltip.h"
#include "ChartCore/KivoLegend.h"
#include "Platform/graphics/context.h"
#include "foundation/scoped_flag.h"
#include "support/Assign.h"

using kivo::detail::assign;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Puts the context's state back after the control's pass, also when the pass left saves open (a clip
// it never cleared).
class ContextStateScope {
public:
    explicit ContextStateScope(plat::Context& context) : _context(context), _depth(context.saveDepth()) { _context.save(); }
    ~ContextStateScope() {
        while (_context.saveDepth() > _depth) _context.restore();
    }
    ContextStateScope(const ContextStateScope&) = delete;
    ContextStateScope& operator=(const ContextStateScope&) = delete;

private:
    plat::Context& _context;
    std::size_t _depth;
};

}  // namespace

// ---- Construction ----

std::shared_ptr<OmbriChartBase> OmbriChartBase::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<OmbriChartBase>(new OmbriChartBase(frame)));
}

OmbriChartBase::OmbriChartBase(const plat::Rect& frame) : KivoView(frame) {}

void OmbriChartBase::initialize() {
    KivoView::initialize();
    initInternals();
}

void OmbriChartBase::initInternals() {
    _renderEngine = KivoRenderEngine::create();
    _chartRendering = std::make_shared<KivoEvent>();
    _chartRendered = std::make_shared<KivoEvent>();
    _chartTapped = std::make_shared<KivoEvent>();
    _collectionView = KivoCollectionView::create();
    addCollectionChangedHandler(&OmbriChartBase::onCollectionReset);
    _palette = defaultPalette();
    updateRectChart();
    // A legend and a tooltip from the start: the pie uses these; the chart puts its own in place.
    _legend = KivoLegend::create(sharedAs<OmbriChartBase>());
    setTooltip(KivoChartTooltip::create(sharedAs<OmbriChartBase>(), KivoBaseChartTooltipView::create()));
}

OmbriChartBase::~OmbriChartBase() {
    // The collection view may outlive the control (the application can hold it): nothing of the
    // control stays subscribed to it.
    for (const auto& block : _subscriptions) unsubscribe(block);
}

// ---- Data ----

void OmbriChartBase::setItemsSource(plat::ArrayPtr items) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (!_collectionView) {
        _collectionView = KivoCollectionView::create();
        for (const auto& block : _subscriptions) subscribe(block);
    }
    _itemsSource = items;
    {
        // The reset this announces is followed by the one bindChart below.
        const plat::detail::ScopedFlag replacing(_replacingItems);
        _collectionView->setSourceCollection(std::move(items));
    }
    bindChart();
}

void OmbriChartBase::setCollectionView(std::shared_ptr<KivoCollectionView> view) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (view != _collectionView) {
        for (const auto& block : _subscriptions) unsubscribe(block);
        _collectionView = std::move(view);
        for (const auto& block : _subscriptions) subscribe(block);
    }
    _itemsSource = _collectionView ? _collectionView->sourceCollection() : nullptr;
    bindChart();
}

void OmbriChartBase::addCollectionChangedHandler(CollectionChangedHandler handler) {
    if (!handler) return;
    std::weak_ptr<OmbriChartBase> weak = sharedAs<OmbriChartBase>();
    KivoEventBlock block([weak, handler = std::move(handler)](const std::shared_ptr<KivoEventContainer>& container) {
        auto control = weak.lock();
        auto args = container ? container->args<KivoNotifyCollectionChangedEventArgs>() : nullptr;
        if (control && args) handler(*control, args);
    });
    _subscriptions.push_back(block);
    subscribe(block);
}

void OmbriChartBase::subscribe(const KivoEventBlock& block) {
    if (!_collectionView || !_collectionView->collectionChanged()) return;
    _collectionView->collectionChanged()->addHandler(block, shared_from_this());
}

void OmbriChartBase::unsubscribe(const KivoEventBlock& block) {
    if (!_collectionView || !_collectionView->collectionChanged()) return;
    // During destruction the owner reads as gone, and the block's identity finds the subscription.
    _collectionView->collectionChanged()->removeHandler(block, weak_from_this().lock());
}

void OmbriChartBase::onCollectionReset(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    if (args->action() == KivoNotifyCollectionChangedActionReset && !_replacingItems) bindChart();
}

// ---- Selection style ----

void OmbriChartBase::setSelectedBorderColor(std::optional<plat::Color> color) {
    if (assign(_selectedBorderColor, color)) lookChanged();
}

void OmbriChartBase::setSelectedBorderWidth(double width) {
    if (assign(_selectedBorderWidth, width)) lookChanged();
}

void OmbriChartBase::setSelectedDashes(std::vector<double> dashes) {
    if (assign(_selectedDashes, dashes)) lookChanged();
}

// ---- Parts and delegate ----

void OmbriChartBase::setLegend(std::shared_ptr<KivoLegend> legend) {
    if (assign(_legend, legend)) lookChanged();
}

void OmbriChartBase::setTooltip(std::shared_ptr<KivoChartTooltip> tooltip) {
    if (tooltip == _tooltip) return;
    if (_tooltip && _tooltip->content() && _tooltip->content()->superview().get() == this)
        _tooltip->content()->removeFromSuperview();
    _tooltip = std::move(tooltip);
    if (_tooltip && _tooltip->content()) addSubview(_tooltip->content());
}

void OmbriChartBase::setStrongDelegate(std::shared_ptr<OmbriChartDelegate> delegate) {
    _strongDelegate = std::move(delegate);
    _delegate = _strongDelegate;
}

std::shared_ptr<OmbriChartDelegate> OmbriChartBase::delegateAnswering(OmbriChartDelegate::Method method) const {
    auto d = _delegate.lock();
    return d && d->answers(method) ? d : nullptr;
}

// ---- Look ----

void OmbriChartBase::setBorderColor(const plat::Color& color) {
    if (assign(_borderColor, color)) lookChanged();
}

void OmbriChartBase::setBorderWidth(double width) {
    if (assign(_borderWidth, width)) lookChanged();
}

void OmbriChartBase::setPadding(const plat::EdgeInsets& padding) {
    if (assign(_padding, padding)) lookChanged();
}

void OmbriChartBase::setPlotMargin(const plat::EdgeInsets& margin) {
    if (assign(_plotMargin, margin)) lookChanged();
}

void OmbriChartBase::setPlotAreaBackgroundColor(const plat::Color& color) {
    if (assign(_plotAreaBackgroundColor, color)) lookChanged();
}

void OmbriChartBase::setHeader(std::optional<std::string> header) {
    if (assign(_header, header)) lookChanged();
}

void OmbriChartBase::setFooter(std::optional<std::string> footer) {
    if (assign(_footer, footer)) lookChanged();
}

void OmbriChartBase::setHeaderFont(const plat::Font& font) {
    if (assign(_headerFont, font)) lookChanged();
}

void OmbriChartBase::setFooterFont(const plat::Font& font) {
    if (assign(_footerFont, font)) lookChanged();
}

void OmbriChartBase::setHeaderTextColor(std::optional<plat::Color> color) {
    if (assign(_headerTextColor, color)) lookChanged();
}

void OmbriChartBase::setFooterTextColor(std::optional<plat::Color> color) {
    if (assign(_footerTextColor, color)) lookChanged();
}

// ---- Events ----

void OmbriChartBase::raiseChartRendering() {
    if (_chartRendering) _chartRendering->raise(shared_from_this(), KivoEventArgs::empty());
}

void OmbriChartBase::raiseChartRendered() {
    if (_chartRendered) _chartRendered->raise(shared_from_this(), KivoEventArgs::empty());
}

void OmbriChartBase::raiseChartTapped(const std::shared_ptr<KivoPoint>& point) {
    if (_chartTapped) _chartTapped->raise(shared_from_this(), std::make_shared<KivoPointEventArgs>(point));
}

// ---- Drawing ----

void OmbriChartBase::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!engine) return;
    engine->clear();
    if (_rectChart) engine->setViewportSize(_rectChart->width(), _rectChart->height());
}

void OmbriChartBase::layoutSubviews() {
    KivoView::layoutSubviews();
    updateRectChart();
}

void OmbriChartBase::drawRect(plat::Context& context, const plat::Rect&) {
    const auto alive = keepAlive();  // application code below may drop the chart
    updateRectChart();
    _rectHeader.reset();
    _rectFooter.reset();
    resetEngine();
    const ContextStateScope state(context);
    render(_renderEngine);
}

void OmbriChartBase::updateRectChart() {
    const plat::Rect b = bounds();
    if (_rectChart && _rectChart->left() == b.x() && _rectChart->top() == b.y() && _rectChart->width() == b.width() &&
        _rectChart->height() == b.height())
        return;
    _rectChart = KivoRect::create(b.x(), b.y(), b.width(), b.height());
}

void OmbriChartBase::resetEngine() {
    _renderEngine->setFill(std::nullopt);
    _renderEngine->setStroke(std::nullopt);
    _renderEngine->setStrokeThickness(NaN);
    _renderEngine->setTextFill(std::nullopt);
    _renderEngine->setFont(std::nullopt);
    _renderEngine->setOpacity(NaN);
    _renderEngine->setBorderDashes({});
    _renderEngine->setSelectedDashes({});
}
