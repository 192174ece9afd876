#pragma once
// The year cell of the calendar's decade page: the empty base that types whatever stands in such a
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

class KIVO_CALENDAR_EXPORT KivoCalendarYearSlotBase : public plat::View {
protected:
    explicit KivoCalendarYearSlotBase(const plat::Rect& frame) : plat::View(frame) {}
};

// A year cell of a decade page; as the month slot, with the year's names.
class KIVO_CALENDAR_EXPORT KivoCalendarYearSlot : public KivoCalendarYearSlotBase {
public:
    static std::shared_ptr<KivoCalendarYearSlot> create(const plat::Rect& frame = {});
    ~KivoCalendarYearSlot() override;

    const std::shared_ptr<plat::Label>& yearLabel() const;
    const std::optional<std::string>& yearText() const;
    void setYearText(std::optional<std::string> text);
    const std::optional<plat::Color>& yearTextColor() const;
    void setYearTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Font>& yearFont() const;
    void setYearFont(std::optional<plat::Font> font);
    void setBackgroundColor(std::optional<plat::Color> color);
    const plat::EdgeInsets& padding() const;
    void setPadding(const plat::EdgeInsets& padding);
    std::int64_t yearHorizontalAlignment() const;
    void setYearHorizontalAlignment(std::int64_t alignment);
    std::int64_t yearVerticalAlignment() const;
    void setYearVerticalAlignment(std::int64_t alignment);
    void setYearSlotFrame(const plat::Rect& frame);

protected:
    explicit KivoCalendarYearSlot(const plat::Rect& frame);
    void initialize() override;

private:
    KIVO_CALENDAR_NO_EXPORT void _setVerticalAlignment(std::int64_t alignment);

    std::unique_ptr<kivo::detail::SlotLabel> _slot;
};
