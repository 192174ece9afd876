#pragma once
// A picker: side-by-side components, each a list of rows with titles, one row of each marked as
// chosen. The data source says how many components and rows there are; the delegate gives the titles
// and hears the rows the user picks (by tapping them). A finger dragged up or down a component
// scrolls its list. Programmatic selection tells no one.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Platform/PlatformExport.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/view.h"

namespace plat {

class PickerView;

class PLAT_EXPORT PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    // Negative answers count as 0.
    virtual std::int64_t numberOfComponentsInPickerView(PickerView&) = 0;
    virtual std::int64_t numberOfRowsInComponent(PickerView&, std::int64_t component) = 0;
};

// Optional hooks; the defaults give no titles and do nothing.
class PLAT_EXPORT PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    // Nothing: the row shows no title.
    virtual std::optional<std::string> titleForRow(PickerView&, std::int64_t row, std::int64_t component) {
        return std::nullopt;
    }
    // The user picked a row (it is already the selected one).
    virtual void didSelectRow(PickerView&, std::int64_t row, std::int64_t component) {}
};

class PLAT_EXPORT PickerView : public View {
public:
    // The keys' size by default; an empty frame lays out at that size when shown as an input view.
    static std::shared_ptr<PickerView> create(const Rect& frame = {});

    std::shared_ptr<PickerViewDataSource> dataSource() const { return _dataSource.lock(); }
    void setDataSource(std::weak_ptr<PickerViewDataSource> dataSource);
    std::shared_ptr<PickerViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(std::weak_ptr<PickerViewDelegate> delegate);

    // Asked of the data source every time (0 without one).
    std::int64_t numberOfComponents() const;
    std::int64_t numberOfRowsInComponent(std::int64_t component) const;

    // -1 when no row of the component is selected (the start), or for a component that does not exist.
    std::int64_t selectedRow(std::int64_t component) const;
    // Marks the row and scrolls its list to show it; tells no delegate. A component or row that does
    // not exist is refused (logged) and the selection stays as it was. `animated` is accepted; the
    // list moves at once.
    void selectRow(std::int64_t row, std::int64_t component, bool animated);
    // No row of the component selected, its list back at its first row.
    void deselectRow(std::int64_t component);
    // The rows are asked for again; a selection past a component's last row is dropped.
    void reloadAllComponents();
    void reloadComponent(std::int64_t component);

    // Components narrower than a point are not drawn.
    // Where a row shows now (bounds coordinates), scrolled out of sight or not; empty for a row or
    // component that does not exist.
    Rect rectForRow(std::int64_t row, std::int64_t component) const;

    static constexpr double RowHeight = 32;
    static constexpr double DefaultWidth = 320, DefaultHeight = 216;
    // A touch that moves further than this before it lifts scrolls rather than picks.
    static constexpr double DragThreshold = 8;
    static constexpr double TitleFontSize = 20;
    static constexpr Color SelectedRowColor = Color(0.9, 0.93, 1, 1);
    static constexpr Color SeparatorColor = Color(0.8, 0.8, 0.82, 1);

    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    explicit PickerView(const Rect& frame);

private:
    PLAT_NO_EXPORT double componentWidth() const;
    PLAT_NO_EXPORT std::int64_t componentAt(double x) const;
    PLAT_NO_EXPORT double maximumOffset(std::int64_t component) const;
    PLAT_NO_EXPORT double offsetIn(std::int64_t component) const;
    PLAT_NO_EXPORT std::string titleFor(std::int64_t row, std::int64_t component);

    std::weak_ptr<PickerViewDataSource> _dataSource;
    std::weak_ptr<PickerViewDelegate> _delegate;
    // By component: the selected row, and how far a finger scrolled the list (absent: the selection
    // places it).
    std::map<std::int64_t, std::int64_t> _selected;
    std::map<std::int64_t, double> _offsets;
    // The touch being followed: where it went down, in which component, at which scroll offset.
    struct Press {
        std::weak_ptr<Touch> touch;
        Point start;
        std::int64_t component = -1;
        double startOffset = 0;
        bool dragging = false;
    };
    std::optional<Press> _press;
};

}  // namespace plat
