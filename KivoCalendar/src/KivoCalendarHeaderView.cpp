// The calendar's header: building, layout of the buttons and the title strip, the titles of the
// current and neighbouring pages, the title slide of a page move, the title tap and the animated
// change of view mode.
//
// Sections: construction · look · layout · titles · slide · title tap and mode change.

#include "KivoCalendar/KivoCalendarHeaderView.h"

#include <algorithm>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarHeaderLoadingEventArgs.h"
#include "KivoCalendar/KivoCalendarViewModeAnimation.h"
#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoRenderEngine.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/runtime/async_semaphore.h"
#include "Platform/ui/gestures.h"
#include "Platform/ui/label.h"
#include "Platform/ui/scroll_view.h"
#include "calendar/BodyZoom.h"
#include "calendar/LocaleLanguage.h"
#include "calendar/PageRing.h"

namespace {

constexpr std::int64_t YearsPerDecade = 10;
constexpr std::int64_t MarkedForLayout = -1;
constexpr double HalfOfModeChange = 0.5;
// The zoom of a change between month and decade: out of almost nothing, in to full size.
constexpr double FarZoomFirst = 0.1;
constexpr double FarZoomSecond = 1.0;

// Japanese and Chinese readers read the month title year first, whatever the month pattern says: the
// language the user reads counts, not the locale the dates are formatted in.
bool readsYearFirst() {
    const std::string language = kivo::detail::firstPreferredLanguage();
    return language == "ja" || language == "zh";
}

}  // namespace

// ---- Construction ----

std::shared_ptr<KivoCalendarHeaderView> KivoCalendarHeaderView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarHeaderView>(new KivoCalendarHeaderView(frame)));
}

KivoCalendarHeaderView::~KivoCalendarHeaderView() = default;

void KivoCalendarHeaderView::initialize() {
    plat::View::initialize();
    _isEnglish = !readsYearFirst();
    _semaphore = std::make_shared<plat::dispatch::AsyncSemaphore>(0);

    // The strip moves only with the pages, never by dragging.
    _headerScrollView = plat::ScrollView::create();
    _headerScrollView->setPagingEnabled(true);
    _headerScrollView->setBounces(true);
    _headerScrollView->setBackgroundColor(plat::Color::clear());
    _headerScrollView->setShowsHorizontalScrollIndicator(false);
    _headerScrollView->setShowsVerticalScrollIndicator(false);
    _headerScrollView->setScrollEnabled(false);
    _headerScrollView->setDelaysContentTouches(false);
    _headerScrollView->setCanCancelContentTouches(true);
    _headerScrollView->setTag(MarkedForLayout);
    addSubview(_headerScrollView);

    for (auto* label : {&_headerCurrent, &_headerNext, &_headerPrev}) {
        *label = plat::Label::create();
        (*label)->setTextAlignment(plat::TextAlignment::Center);
        (*label)->setFont(plat::Font::system(DefaultTitleSize, plat::FontWeight::Semibold));
        (*label)->setBackgroundColor(plat::Color::clear());
        _headerScrollView->addSubview(*label);
    }

    std::weak_ptr<KivoCalendarHeaderView> weak = sharedAs<KivoCalendarHeaderView>();
    _btnPrev = KivoCalendarHeaderButton::create(false);
    _btnNext = KivoCalendarHeaderButton::create(true);
    _btnPrev->addTarget(
        [weak](plat::Control&) {
            if (auto self = weak.lock()) self->_selectPrevView();
        },
        plat::ControlEventTouchUpInside);
    _btnNext->addTarget(
        [weak](plat::Control&) {
            if (auto self = weak.lock()) self->_selectNextView();
        },
        plat::ControlEventTouchUpInside);
    addSubview(_btnPrev);
    addSubview(_btnNext);

    auto tap = plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& recognizer) {
        auto self = weak.lock();
        if (self && recognizer.state() == plat::GestureRecognizerState::Recognized)
            self->_respondToTapGesture(recognizer.locationInView(self.get()));
    });
    tap->setCancelsTouchesInView(false);
    addGestureRecognizer(tap);
}

// ---- Look ----

void KivoCalendarHeaderView::setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) {
    if (calendar == _kivoCalendar.lock()) return;
    _kivoCalendar = calendar;
    if (!calendar) return;
    setBackgroundColor(calendar->headerBackgroundColor());
    for (const auto& label : {_headerCurrent, _headerNext, _headerPrev}) {
        label->setTextColor(calendar->headerTextColor());
        if (calendar->headerFont()) label->setFont(*calendar->headerFont());
    }
    for (const auto& button : {_btnPrev, _btnNext}) {
        button->setKivoCalendar(calendar);
        button->setHidden(!calendar->showNavigationButtons());
    }
}

void KivoCalendarHeaderView::setHeaderTextColor(const plat::Color& color) {
    if (color == _headerCurrent->textColor()) return;
    for (const auto& label : {_headerCurrent, _headerNext, _headerPrev}) label->setTextColor(color);
    updateButtonTextColor();
}

void KivoCalendarHeaderView::setHeaderFont(const std::optional<plat::Font>& font) {
    if (!font || *font == _headerCurrent->font()) return;
    for (const auto& label : {_headerCurrent, _headerNext, _headerPrev}) label->setFont(*font);
}

void KivoCalendarHeaderView::setHeaderMonthFormat(const std::optional<std::string>& format) {
    if (format) _monthFormat = *format;
}

void KivoCalendarHeaderView::setShowNavigationButtons(bool show) {
    if (_btnPrev->isHidden() == !show) return;
    _btnPrev->setHidden(!show);
    _btnNext->setHidden(!show);
}

void KivoCalendarHeaderView::updateButtonTextColor() {
    _btnPrev->setNeedsDisplay();
    _btnNext->setNeedsDisplay();
}

// ---- Layout ----

bool KivoCalendarHeaderView::isVertical() const {
    auto calendar = kivoCalendar();
    return calendar && calendar->orientation() == KivoCalendarOrientationVertical;
}

double KivoCalendarHeaderView::_getHeaderScrollViewWidth() const {
    const plat::Rect& f = _headerScrollView->frame();
    return isVertical() ? f.height() : f.width();
}

plat::Size KivoCalendarHeaderView::_getHeaderScrollViewOffset() const {
    const plat::Rect& f = _headerScrollView->frame();
    return isVertical() ? plat::Size{0, f.height()} : plat::Size{f.width(), 0};
}

plat::Size KivoCalendarHeaderView::_getHeaderScrollViewContentSize() const {
    const plat::Size size = _headerScrollView->frame().size;
    return isVertical() ? plat::Size{size.width, 3 * size.height} : plat::Size{3 * size.width, size.height};
}

void KivoCalendarHeaderView::layoutSubviews() {
    plat::View::layoutSubviews();
    const double W = frame().width(), H = frame().height();
    const double share = W / WidthShares;
    _btnPrev->setFrame({0, 0, share, H});
    if (frame() != _previousFrame) {
        _previousFrame = frame();
        _headerScrollView->setTag(MarkedForLayout);
        _headerScrollView->setFrame({});
    }
    if (_headerScrollView->tag() == MarkedForLayout) {
        if (_headerScrollView->frame() == plat::Rect{}) {
            _headerScrollView->setFrame({_btnPrev->frame().maxX(), 0, share * TitleShares, H});
            _headerScrollView->setContentInset({});
        }
        const plat::Size step = _getHeaderScrollViewOffset();
        const plat::Rect title{0, 0, _headerScrollView->frame().width(), _headerScrollView->frame().height()};
        _headerCurrent->setFrame(title);
        _headerNext->setFrame(kivo::detail::offsetBy(title, step, 1));
        _headerPrev->setFrame(kivo::detail::offsetBy(title, step, -1));
        _headerScrollView->setContentSize(_getHeaderScrollViewContentSize());
        _headerScrollView->setContentOffset(title.origin);
        _headerScrollView->setTag(0);
    }
    _btnNext->setFrame({_headerScrollView->frame().maxX(), 0, share, H});
}

void KivoCalendarHeaderView::refresh() {
    _headerScrollView->setTag(MarkedForLayout);
    _headerScrollView->setFrame({});
    setNeedsLayout();
    setHeaderDate(_args ? _args->date() : std::nullopt);
}

// ---- Titles ----

const std::string& KivoCalendarHeaderView::title() const { return _headerCurrent->text(); }

std::string KivoCalendarHeaderView::titleFormat(std::int64_t viewMode) const {
    if (viewMode != KivoCalendarViewModeMonth) return YearFormat;
    return _isEnglish ? _monthFormat : EastAsianMonthFormat;
}

std::string KivoCalendarHeaderView::formatValue(KivoOptionalDate date) const {
    auto calendar = kivoCalendar();
    if (!calendar || !date || !calendar->valueFormatter()) return {};
    return calendar->valueFormatter()
        ->format(plat::Value(*date), titleFormat(calendar->viewMode()), KivoDataTypeDate)
        .value_or("");
}

std::string KivoCalendarHeaderView::_getDecadeViewHeader(KivoOptionalDate date, std::int64_t index) const {
    auto calendar = kivoCalendar();
    if (!calendar || !date) return {};
    auto year = calendar->dateUtil()->getYearFromDate(date);
    if (!year) return {};
    const std::int64_t first = (*year + YearsPerDecade * index) / YearsPerDecade * YearsPerDecade;
    return std::to_string(first) + "-" + std::to_string(first + YearsPerDecade - 1);
}

void KivoCalendarHeaderView::onHeaderLoading(const std::shared_ptr<KivoCalendarHeaderLoadingEventArgs>& args) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->headerLoading()) return;
    auto handlers = calendar->headerLoading()->handlers();
    if (!handlers || handlers->empty()) return;
    calendar->headerLoading()->raise(calendar, args);
}

void KivoCalendarHeaderView::setHeaderDate(KivoOptionalDate date) {
    _headerDate = date;
    auto calendar = kivoCalendar();
    if (!calendar || !_headerDate) return;
    _args = std::make_shared<KivoCalendarHeaderLoadingEventArgs>(_headerDate, calendar->viewMode(), std::nullopt);
    bool answered = false;
    if (auto delegate = calendar->delegate()) {
        std::optional<std::string> own = calendar->viewMode() == KivoCalendarViewModeDecade
                                             ? _getDecadeViewHeader(_args->date(), 0)
                                             : formatValue(_headerDate);
        if (auto answer = delegate->handleHeaderLoading(calendar, own, _args->viewMode(), _args->date())) {
            _args->setHeader(*answer);
            answered = true;
        }
    }
    if (!answered) onHeaderLoading(_args);
    _setHeaderText(_args->date());
    updateButtonTextColor();
}

void KivoCalendarHeaderView::_setHeaderText(KivoOptionalDate date) {
    auto calendar = kivoCalendar();
    if (!calendar) return;
    if (!_args) _args = std::make_shared<KivoCalendarHeaderLoadingEventArgs>(date, calendar->viewMode(), std::nullopt);
    const std::int64_t mode = calendar->viewMode();
    // A text the application gave wins over the built-in one.
    if (!_args->header())
        _args->setHeader(mode == KivoCalendarViewModeDecade ? _getDecadeViewHeader(date, 0) : formatValue(date));
    _headerCurrent->setText(*_args->header());

    const KivoDateUtil& util = *calendar->dateUtil();
    if (mode == KivoCalendarViewModeDecade) {
        _headerNext->setText(_getDecadeViewHeader(date, 1));
        _headerPrev->setText(_getDecadeViewHeader(date, -1));
    } else if (mode == KivoCalendarViewModeYear) {
        // The same formatter as the current title: one language in one header.
        _headerNext->setText(formatValue(util.getDateByAddingYears(1, date)));
        _headerPrev->setText(formatValue(util.getDateByAddingYears(-1, date)));
    } else {
        _headerNext->setText(formatValue(util.getDateByAddingMonths(1, date)));
        _headerPrev->setText(formatValue(util.getDateByAddingMonths(-1, date)));
    }
}

// ---- Slide ----

void KivoCalendarHeaderView::headerAnimationTask(double t, bool next) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->navigateAnimation()) return;
    const auto& animation = *calendar->navigateAnimation();
    const double P = _getHeaderScrollViewWidth();
    const double v = KivoEasingUtil::ease(animation.easing(), t, 0, next ? P : -P, animation.duration());
    plat::Point offset = _headerScrollView->contentOffset();
    if (isVertical())
        offset.y = v;
    else
        offset.x = v;
    _headerScrollView->setContentOffset(offset);
}

void KivoCalendarHeaderView::headerAnimationFinished(bool next) {
    _headerScrollView->setContentOffset({0, 0});
    kivo::detail::turnRing(_headerCurrent, _headerNext, _headerPrev, _getHeaderScrollViewOffset(), next ? 1 : -1);
}

// ---- Title tap and mode change ----

void KivoCalendarHeaderView::_selectPrevView() {
    auto calendar = kivoCalendar();
    if (calendar && calendar->isEnabled()) calendar->selectAdjacentView(-1);
}

void KivoCalendarHeaderView::_selectNextView() {
    auto calendar = kivoCalendar();
    if (calendar && calendar->isEnabled()) calendar->selectAdjacentView(1);
}

void KivoCalendarHeaderView::_respondToTapGesture(plat::Point location) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->isEnabled() || !calendar->showHeader()) return;
    if (!_headerScrollView->frame().contains(location)) return;
    // A tap in the middle of a change would start a second one, and a second waiter on the decade road.
    if (isChangingViewMode()) return;
    switch (calendar->viewMode()) {
        case KivoCalendarViewModeMonth:
            changeViewModeAsync(KivoCalendarViewModeYear, _headerDate);
            break;
        case KivoCalendarViewModeYear:
            changeViewModeAsync(KivoCalendarViewModeDecade, _headerDate);
            break;
        case KivoCalendarViewModeDecade: {
            _isSignal = true;
            _waitingForModeChange = true;
            changeViewModeAsync(KivoCalendarViewModeYear, _headerDate);
            // No thread waits: the second change is parked until the first one signals.
            std::weak_ptr<KivoCalendarHeaderView> weak = sharedAs<KivoCalendarHeaderView>();
            _semaphore->acquireAfter(0, [weak] {
                auto self = weak.lock();
                if (!self) return;
                self->_waitingForModeChange = false;
                self->changeViewModeAsync(KivoCalendarViewModeMonth, self->_headerDate);
            });
            break;
        }
        default:
            break;
    }
}

void KivoCalendarHeaderView::applyViewMode(std::int64_t mode, KivoOptionalDate date, plat::Date titleDate) {
    auto calendar = kivoCalendar();
    if (!calendar) return;
    calendar->setViewMode(mode);
    if (date) {
        calendar->setDisplayDate(date);
        calendar->setHighlightDate(*date);
    }
    _setHeaderText(titleDate);
}

void KivoCalendarHeaderView::endViewModeChange() {
    if (_isSignal) _semaphore->signal();
    _isSignal = false;
}

void KivoCalendarHeaderView::changeViewModeAsync(std::int64_t mode, KivoOptionalDate date) {
    auto calendar = kivoCalendar();
    if (!calendar) return;
    if (mode == calendar->viewMode()) {
        if (date) calendar->setDisplayDate(date);
        return;
    }
    const plat::Date titleDate = date.value_or(calendar->displayDate());
    const auto& animation = calendar->viewModeAnimation();
    if (!calendar->isAnimated() || !animation) {
        applyViewMode(mode, date, titleDate);
        endViewModeChange();
        return;
    }

    const double k = animation->scaleFactor();
    const std::int64_t from = calendar->viewMode();
    double first = FarZoomFirst, second = FarZoomSecond;
    if (animation->animationMode() != 0) {
        first = 1;
        second = 1 / k;
    } else if ((from == KivoCalendarViewModeMonth && mode == KivoCalendarViewModeYear) ||
               (from == KivoCalendarViewModeYear && mode == KivoCalendarViewModeDecade)) {
        first = 1 / k;
        second = k;
    } else if ((from == KivoCalendarViewModeDecade && mode == KivoCalendarViewModeYear) ||
               (from == KivoCalendarViewModeYear && mode == KivoCalendarViewModeMonth)) {
        first = k;
        second = 1 / k;
    }

    auto body = calendar->bodyView();
    if (!body) {
        applyViewMode(mode, date, titleDate);
        endViewModeChange();
        return;
    }
    const double half = animation->duration() * HalfOfModeChange;
    ++_runningModeChanges;
    std::weak_ptr<KivoCalendarHeaderView> weak = sharedAs<KivoCalendarHeaderView>();
    kivo::detail::zoomBodyInTwoHalves(
        body, half, animation->startDelay(), first, second, 0,
        [weak, mode, date, titleDate] {
            if (auto self = weak.lock()) self->applyViewMode(mode, date, titleDate);
        },
        [weak] {
            auto self = weak.lock();
            if (!self) return;
            --self->_runningModeChanges;
            self->endViewModeChange();
        });
}
