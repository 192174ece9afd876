#pragma once
// The base view of the chart controls (the Cartesian chart and the pie). It holds the data (items
// source and the one collection view over it), the binding names, chart type, selection and its style,
// legend, tooltip, delegate, the frame's look (border, padding, plot margin, titles, colours, palette)
// and the render engine; it asks its control to bind when the data is replaced and to render once per
// drawing pass, and it offers the drawing helpers the controls share (titles, anchored and rotated text).
//
// Sections: construction · data · selection · parts and delegate · look · rectangles of the last pass ·
// events · drawing · palette · what a control overrides.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChartCore/KivoChartCoreExport.h"
#include "ChartCore/KivoChartEnums.h"
#include "ChartCore/OmbriChartDelegate.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoRenderEngine.h"
#include "KivoCore/KivoView.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class KivoChartTooltip;
class KivoLegend;

class KIVO_CHART_CORE_EXPORT OmbriChartBase : public KivoView {
public:
    // ---- Construction ----
    static std::shared_ptr<OmbriChartBase> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<OmbriChartBase> create(const plat::Coder& coder);
    ~OmbriChartBase() override;

    // ---- Data ----
    // The array last given to setItemsSource (or the source of the view given to setCollectionView);
    // null until then.
    const plat::ArrayPtr& itemsSource() const { return _itemsSource; }
    // Feeds the array to the collection view (which is kept, never replaced) and then calls bindChart,
    // also when the array is the one already shown. null shows no items.
    virtual void setItemsSource(plat::ArrayPtr items);
    // Never null unless the application set null.
    const std::shared_ptr<KivoCollectionView>& collectionView() const { return _collectionView; }
    // Another view takes over the subscriptions of the old one and its source becomes the items
    // source; then bindChart, as for setItemsSource.
    virtual void setCollectionView(std::shared_ptr<KivoCollectionView> view);
    // Property names the items are read by (null: none); the controls interpret them.
    const std::optional<std::string>& binding() const { return _binding; }
    virtual void setBinding(std::optional<std::string> binding) { _binding = std::move(binding); }
    const std::optional<std::string>& bindingX() const { return _bindingX; }
    virtual void setBindingX(std::optional<std::string> binding) { _bindingX = std::move(binding); }
    // The control's type code; any value is stored.
    std::int64_t chartType() const { return _chartType; }
    virtual void setChartType(std::int64_t type) { _chartType = type; }

    // ---- Selection (selection, index and mode are plain stores: the controls decide what they redraw) ----
    // The selected series, compared by identity; null for none.
    const std::shared_ptr<plat::Object>& selection() const { return _selection; }
    virtual void setSelection(std::shared_ptr<plat::Object> selection) { _selection = std::move(selection); }
    // The selected point, -1 for none.
    std::int32_t selectionIndex() const { return _selectionIndex; }
    virtual void setSelectionIndex(std::int32_t index) { _selectionIndex = index; }
    // A KivoChartSelectionMode; any value is stored.
    std::int64_t selectionMode() const { return _selectionMode; }
    virtual void setSelectionMode(std::int64_t mode) { _selectionMode = mode; }
    // The style of a selected element (a change redraws the control). Colour null: the controls
    // choose (a darker colour of the element); dashes empty: solid.
    const std::optional<plat::Color>& selectedBorderColor() const { return _selectedBorderColor; }
    void setSelectedBorderColor(std::optional<plat::Color> color);
    double selectedBorderWidth() const { return _selectedBorderWidth; }
    void setSelectedBorderWidth(double width);
    const std::vector<double>& selectedDashes() const { return _selectedDashes; }
    void setSelectedDashes(std::vector<double> dashes);
    // A legend tap shows or hides its series.
    bool legendToggle() const { return _legendToggle; }
    void setLegendToggle(bool toggle) { _legendToggle = toggle; }
    // Set by a control while it animates a change of series visibility; its drawing pass clears it.
    bool isSeriesVisibilityAnimation() const { return _isSeriesVisibilityAnimation; }
    void setIsSeriesVisibilityAnimation(bool animating) { _isSeriesVisibilityAnimation = animating; }

    // ---- Parts and delegate ----
    const std::shared_ptr<KivoLegend>& legend() const { return _legend; }
    void setLegend(std::shared_ptr<KivoLegend> legend);
    const std::shared_ptr<KivoChartTooltip>& tooltip() const { return _tooltip; }
    // The new tooltip's content view becomes a subview of the control; the old one's leaves it.
    void setTooltip(std::shared_ptr<KivoChartTooltip> tooltip);
    const std::shared_ptr<KivoRenderEngine>& renderEngine() const { return _renderEngine; }
    // Held weakly; null once the application let it go.
    std::shared_ptr<OmbriChartDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<OmbriChartDelegate>& delegate) { _delegate = delegate; }
    // Keeps the delegate alive as well, and makes it the delegate.
    const std::shared_ptr<OmbriChartDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<OmbriChartDelegate> delegate);
    // The delegate, when there is one that answers `method`; else null.
    std::shared_ptr<OmbriChartDelegate> delegateAnswering(OmbriChartDelegate::Method method) const;

    // ---- Look (a change redraws the control). The background is the view's backgroundColor. ----
    // The colour of the control's texts (null: each part's own default). A plain store.
    const std::optional<plat::Color>& textColor() const { return _textColor; }
    virtual void setTextColor(std::optional<plat::Color> color) { _textColor = color; }
    const plat::Color& borderColor() const { return _borderColor; }
    void setBorderColor(const plat::Color& color);
    // Widths of 0 or less draw no border line.
    double borderWidth() const { return _borderWidth; }
    void setBorderWidth(double width);
    // Room inside the border.
    const plat::EdgeInsets& padding() const { return _padding; }
    void setPadding(const plat::EdgeInsets& padding);
    // Room around the plot area, inside what axes and legend leave.
    const plat::EdgeInsets& plotMargin() const { return _plotMargin; }
    void setPlotMargin(const plat::EdgeInsets& margin);
    // The clear colour (the default) paints no plot-area background.
    const plat::Color& plotAreaBackgroundColor() const { return _plotAreaBackgroundColor; }
    void setPlotAreaBackgroundColor(const plat::Color& color);
    // Titles above and below the chart; null or empty takes no room.
    const std::optional<std::string>& header() const { return _header; }
    void setHeader(std::optional<std::string> header);
    const std::optional<std::string>& footer() const { return _footer; }
    void setFooter(std::optional<std::string> footer);
    const plat::Font& headerFont() const { return _headerFont; }
    void setHeaderFont(const plat::Font& font);
    const plat::Font& footerFont() const { return _footerFont; }
    void setFooterFont(const plat::Font& font);
    // null: textColor, or black.
    const std::optional<plat::Color>& headerTextColor() const { return _headerTextColor; }
    void setHeaderTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Color>& footerTextColor() const { return _footerTextColor; }
    void setFooterTextColor(std::optional<plat::Color> color);

    // ---- Rectangles of the last drawing pass (view coordinates) ----
    // The whole control (its bounds); null before the first layout or drawing pass.
    const std::shared_ptr<KivoRect>& rectChart() const { return _rectChart; }
    // The title bands drawTitle drew in the last pass; null when there was none.
    const std::shared_ptr<KivoRect>& rectHeader() const { return _rectHeader; }
    const std::shared_ptr<KivoRect>& rectFooter() const { return _rectFooter; }

    // ---- Events (raised with the control as sender) ----
    const std::shared_ptr<KivoEvent>& chartRendering() const { return _chartRendering; }
    const std::shared_ptr<KivoEvent>& chartRendered() const { return _chartRendered; }
    // Arguments: a KivoPointEventArgs with the tap's point.
    const std::shared_ptr<KivoEvent>& chartTapped() const { return _chartTapped; }
    void raiseChartRendering();
    void raiseChartRendered();
    void raiseChartTapped(const std::shared_ptr<KivoPoint>& point);

    // ---- Drawing ----
    // Asks for a drawing pass: however often it is called, the next pass calls render once.
    virtual void invalidate() { setNeedsDisplay(); }
    // The drawing pass of the control. Here, the part every control shares: the engine is cleared and
    // its viewport set to rectChart. A control overrides it and calls this first.
    virtual void render(const std::shared_ptr<IKivoRenderEngine>& engine);
    // Draws a title in a band across the top (or, for a footer, the bottom) of `rect`, in the header
    // or footer font and colour, centred, cut with "…" when too wide; keeps the band as rectHeader or
    // rectFooter and answers the rectangle left below (above) it. A null or empty title draws nothing
    // and answers `rect` unchanged.
    std::shared_ptr<KivoRect> drawTitle(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect,
                                        const std::optional<std::string>& title, bool isFooter);
    // A view point relative to rectChart's corner (the control's coordinates).
    std::shared_ptr<KivoPoint> toControl(double x, double y) const;
    // The title band under a control point: header, footer, or None. Titles lie over everything else, so
    // a hit test asks this first.
    KivoChartElement titleElementAt(const std::shared_ptr<KivoPoint>& point) const;
    // Edges included; false for a null rectangle or point.
    static bool contains(const std::shared_ptr<KivoRect>& rect, const std::shared_ptr<KivoPoint>& point);
    // Draws `text` anchored at `pos`. halign: 0 the text starts at the point (right of it), 1 centred
    // on it, 2 ends at it (left of it); valign: 0 above the point, 1 centred, 2 below. Codes outside
    // 0…2 are clamped into it. `size` is the text's measured size, or null to measure it with the engine.
    static void renderText(const std::shared_ptr<IKivoRenderEngine>& engine, const std::string& text,
                           const std::shared_ptr<KivoPoint>& pos, std::int64_t halign, std::int64_t valign,
                           const std::shared_ptr<KivoSize>& size);
    static void renderText(const std::shared_ptr<IKivoRenderEngine>& engine, const std::string& text,
                           const std::shared_ptr<KivoPoint>& pos, std::int64_t halign, std::int64_t valign);
    // Places the text as renderText does, then turns it by `angle` degrees (clockwise) about `center`
    // (null: about `pos`). `size` is the unturned text's size, or null. A NaN or infinite angle draws it
    // unturned.
    static void renderRotatedText(const std::shared_ptr<IKivoRenderEngine>& engine, const std::string& text,
                                  const std::shared_ptr<KivoPoint>& pos, std::int64_t halign, std::int64_t valign,
                                  const std::shared_ptr<KivoPoint>& center, double angle, const std::shared_ptr<KivoSize>& size);

    // The font that a descriptor's attributes name: "NSFontFamilyAttribute" (or a face name in
    // "NSFontNameAttribute") and "NSFontSizeAttribute"; what is missing keeps the system font's.
    plat::Font getDescriptor(const plat::Dictionary& attributes) const;

    // ---- Palette ----
    // The colours series and slices take by position (empty restores the default ten).
    const std::vector<plat::Color>& palette() const { return _palette; }
    void setPalette(std::vector<plat::Color> palette);
    static std::vector<plat::Color> defaultPalette();
    // The palette colour of a position, repeating (negative positions count from the end).
    plat::Color getColor(std::int64_t index) const;
    // The same with its alpha replaced by `opacity` (limited to 0…1; NaN keeps the colour's).
    plat::Color getColor(std::int64_t index, double opacity) const;
    // A lighter colour of the same hue, with alpha `opacity` (limited to 0…1; NaN keeps the colour's).
    static plat::Color lighten(const plat::Color& color, double opacity);
    // A darker colour of the same hue and alpha, for borders.
    static plat::Color darken(const plat::Color& color);
    plat::Color getColorDark(std::int64_t index) const { return darken(getColor(index)); }

    // ---- What a control overrides ----
    // Rebuilds what the control draws from the collection view; called when the data is replaced or reset.
    virtual void bindChart() {}
    // The legend's items: their size (null: no legend) and their drawing from the top-left `point`,
    // appending one rectangle per drawn item to `areas`.
    virtual std::shared_ptr<KivoSize> getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) {
        return nullptr;
    }
    virtual void renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point,
                              bool isVertical, std::vector<std::shared_ptr<KivoRect>>& areas) {}
    // The value behind a hit point (dimension 0 the value, 1 the category), formatted as text or not.
    virtual plat::Value getHitTestInfoValue(std::int32_t dimension, bool formatted, std::int32_t pointIndex,
                                            const std::shared_ptr<plat::Object>& series) {
        return {};
    }
    virtual bool isAllSeriesHidden() const { return false; }

    // ---- View ----
    void drawRect(plat::Context& context, const plat::Rect& rect) override;
    void layoutSubviews() override;
    // A new text size changes every measured text.
    void respondToSizeChanged() override { invalidate(); }

    // Layout numbers of the titles.
    static constexpr double TitlePadding = 4;
    static constexpr double DefaultHeaderFontSize = 16;
    static constexpr double DefaultFooterFontSize = 12;

protected:
    explicit OmbriChartBase(const plat::Rect& frame);
    // Runs the base view's set-up, then initInternals.
    void initialize() override;
    // Makes the collection view, render engine, events, a legend (on the right), a tooltip and the
    // defaults. A control's own set-up overrides it and calls this first.
    virtual void initInternals();

    // Subscribes `method` of the control to collectionChanged of the collection view, for the
    // control's life: the subscription holds the control weakly, moves to a view that
    // setCollectionView installs, and is taken off when the control goes.
    template <class Control>
    void addCollectionChangedHandler(void (Control::*method)(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>&)) {
        addCollectionChangedHandler(
            [method](OmbriChartBase& base, const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
                (static_cast<Control&>(base).*method)(args);
            });
    }
    using CollectionChangedHandler =
        std::function<void(OmbriChartBase& control, const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args)>;
    void addCollectionChangedHandler(CollectionChangedHandler handler);

private:
    KIVO_CHART_CORE_NO_EXPORT void subscribe(const KivoEventBlock& block);
    KIVO_CHART_CORE_NO_EXPORT void unsubscribe(const KivoEventBlock& block);
    KIVO_CHART_CORE_NO_EXPORT void onCollectionReset(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    KIVO_CHART_CORE_NO_EXPORT void updateRectChart();
    // Each control pass starts from the engine's default look, so passes do not depend on each other.
    KIVO_CHART_CORE_NO_EXPORT void resetEngine();
    KIVO_CHART_CORE_NO_EXPORT void lookChanged() { invalidate(); }

    plat::ArrayPtr _itemsSource;
    std::shared_ptr<KivoCollectionView> _collectionView;
    std::vector<KivoEventBlock> _subscriptions;
    bool _replacingItems = false;
    std::optional<std::string> _binding;
    std::optional<std::string> _bindingX;
    std::int64_t _chartType = 0;

    std::shared_ptr<plat::Object> _selection;
    std::int32_t _selectionIndex = -1;
    std::int64_t _selectionMode = KivoChartSelectionModeNone;
    std::optional<plat::Color> _selectedBorderColor;
    double _selectedBorderWidth = 2;
    std::vector<double> _selectedDashes;
    bool _legendToggle = false;
    bool _isSeriesVisibilityAnimation = false;

    std::shared_ptr<KivoLegend> _legend;
    std::shared_ptr<KivoChartTooltip> _tooltip;
    std::shared_ptr<KivoRenderEngine> _renderEngine;
    std::weak_ptr<OmbriChartDelegate> _delegate;
    std::shared_ptr<OmbriChartDelegate> _strongDelegate;

    std::optional<plat::Color> _textColor;
    plat::Color _borderColor = plat::Color::gray();
    double _borderWidth = 0;
    plat::EdgeInsets _padding;
    plat::EdgeInsets _plotMargin;
    plat::Color _plotAreaBackgroundColor = plat::Color::clear();
    std::optional<std::string> _header;
    std::optional<std::string> _footer;
    plat::Font _headerFont = plat::Font::boldSystem(DefaultHeaderFontSize);
    plat::Font _footerFont = plat::Font::system(DefaultFooterFontSize);
    std::optional<plat::Color> _headerTextColor;
    std::optional<plat::Color> _footerTextColor;
    std::vector<plat::Color> _palette;

    std::shared_ptr<KivoRect> _rectChart;
    std::shared_ptr<KivoRect> _rectHeader;
    std::shared_ptr<KivoRect> _rectFooter;

    std::shared_ptr<KivoEvent> _chartRendering;
    std::shared_ptr<KivoEvent> _chartRendered;
    std::shared_ptr<KivoEvent> _chartTapped;
};
