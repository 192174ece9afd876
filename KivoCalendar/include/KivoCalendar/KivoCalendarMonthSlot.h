#pragma once
// The month cell of the calendar's year page: the empty base that types whatever stands in such a
// cell, and the label slot the page fills it with.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

namespace kivo::detail {
class SlotLabel;
}

namespace plat {
class Label;
}

class KIVO_CALENDAR_EXPORT KivoCalendarMonthSlotBase : public plat::View {
protected:
    explicit KivoCalendarMonthSlotBase(const plat::Rect& frame) : plat::View(frame) {}
};

// A month cell of the year page. Its view background stays unpainted: the background colour goes
// to the label, so the padding shows what lies beneath the slot.
class KIVO_CALENDAR_EXPORT KivoCalendarMonthSlot : public KivoCalendarMonthSlotBase {
public:
    static std::shared_ptr<KivoCalendarMonthSlot> create(const plat::Rect& frame = {});
    ~KivoCalendarMonthSlot() override;

    const std::shared_ptr<plat::Label>& monthLabel() const;
    // Setting the text the slot already shows changes nothing.
    const std::optional<std::string>& monthText() const;
    void setMonthText(std::optional<std::string> text);
    // None leaves the label's own.
    const std::optional<plat::Color>& monthTextColor() const;
    void setMonthTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Font>& monthFont() const;
    void setMonthFont(std::optional<plat::Font> font);
    // Colours the label, not the slot.
    void setBackgroundColor(std::optional<plat::Color> color);
    // How far the label sits inside the slot; changing it shrinks the label's present frame by it.
    const plat::EdgeInsets& padding() const;
    void setPadding(const plat::EdgeInsets& padding);
    std::int64_t monthHorizontalAlignment() const;
    void setMonthHorizontalAlignment(std::int64_t alignment);
    std::int64_t monthVerticalAlignment() const;
    void setMonthVerticalAlignment(std::int64_t alignment);
    // The slot's frame, the label inset from it by the padding, the vertical alignment applied anew.
    void setMonthSlotFrame(const plat::Rect& frame);

protected:
    explicit KivoCalendarMonthSlot(const plat::Rect& frame);
    void initialize() override;

private:
    KIVO_CALENDAR_NO_EXPORT void _setVerticalAlignment(std::int64_t alignment);

    std::unique_ptr<kivo::detail::SlotLabel> _slot;
};
