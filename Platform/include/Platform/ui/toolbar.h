#pragma once
// A toolbar: a bar across a view (44 points high) with bar button items laid out from left to right.
// Flexible spaces share the width the other items leave; a fixed space keeps its width; Done, Cancel
// and titled items show their titles in the tint colour (Done in bold) and send their action when
// tapped.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/view.h"

namespace plat {

class Toolbar;

// The platform's codes.
enum class BarButtonSystemItem : int { Done = 0, Cancel = 1, FlexibleSpace = 5, FixedSpace = 6 };
enum class BarButtonItemStyle : int { Plain = 0, Done = 2 };

class PLAT_EXPORT BarButtonItem {
public:
    using Action = std::function<void(BarButtonItem& sender)>;

    // The action is sent to a target: it runs while the target lives (an item given no target runs
    // it whenever it is tapped), which keeps an item from holding its owner alive.
    static std::shared_ptr<BarButtonItem> create(BarButtonSystemItem item, std::weak_ptr<void> target = {}, Action action = {});
    static std::shared_ptr<BarButtonItem> create(std::string title, BarButtonItemStyle style = BarButtonItemStyle::Plain,
                                                 std::weak_ptr<void> target = {}, Action action = {});

    std::optional<BarButtonSystemItem> systemItem() const { return _systemItem; }
    bool isSpace() const;
    // The system items' titles are their own ("Done", "Cancel"); spaces have none.
    const std::string& title() const { return _title; }
    void setTitle(std::string title);
    BarButtonItemStyle style() const { return _style; }
    void setStyle(BarButtonItemStyle style);
    // A fixed space's width; for a titled item, 0 (the default) fits the title. Negative and
    // non-finite widths are ignored.
    double width() const { return _width; }
    void setWidth(double width);
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled);
    void setTarget(std::weak_ptr<void> target);
    void setAction(Action action) { _action = std::move(action); }

    // Runs the action as a tap does; false when nothing ran (a space, disabled, no action, the
    // target gone).
    bool sendAction();

    // For toolbars only: the toolbar showing the item redraws when it changes.
    void setOwner(Passkey<Toolbar>, std::weak_ptr<View> owner) { _owner = std::move(owner); }

private:
    BarButtonItem() = default;
    PLAT_NO_EXPORT void changed();

    std::optional<BarButtonSystemItem> _systemItem;
    std::string _title;
    BarButtonItemStyle _style = BarButtonItemStyle::Plain;
    double _width = 0;
    bool _enabled = true;
    bool _hasTarget = false;
    std::weak_ptr<void> _target;
    Action _action;
    std::weak_ptr<View> _owner;
};

class PLAT_EXPORT Toolbar : public View {
public:
    static std::shared_ptr<Toolbar> create(const Rect& frame = {});

    const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return _items; }
    // Null items are left out.
    void setItems(std::vector<std::shared_ptr<BarButtonItem>> items);
    // Where each item sits now (bounds coordinates, the bar's full height), in the order of items().
    std::vector<Rect> itemFrames() const;

    static constexpr double DefaultHeight = 44;
    static constexpr double DefaultWidth = 320;
    // Between the bar's ends and the first and last items.
    static constexpr double EdgeMargin = 8;
    // Either side of a title, inside its item.
    static constexpr double ItemPadding = 8;
    static constexpr double TitleFontSize = 17;
    static constexpr Color BarColor = Color(0.97, 0.97, 0.97, 1);
    static constexpr Color BorderColor = Color(0.7, 0.7, 0.72, 1);
    static constexpr Color DisabledTitleColor = Color(0.6, 0.6, 0.62, 1);
    // Of the tint, while a finger is down on an item.
    static constexpr double PressedAlpha = 0.3;

    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    explicit Toolbar(const Rect& frame);

private:
    PLAT_NO_EXPORT std::int64_t itemAt(Point point) const;
    PLAT_NO_EXPORT void endPress();

    std::vector<std::shared_ptr<BarButtonItem>> _items;
    // The item under the finger that went down on it, while the finger stays on it.
    std::weak_ptr<Touch> _touch;
    std::int64_t _pressed = -1;
    bool _pressedInside = false;
};

}  // namespace plat
