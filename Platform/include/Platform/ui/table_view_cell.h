#pragma once
// One row of a table view: a content view with the standard labels of its style, a background, a
// selected background shown while it is selected or highlighted, and a separator line at its
// bottom. Cells carry a reuse identifier so that a table can hand scrolled-off cells back out.

#include <memory>
#include <string>

#include "Platform/PlatformExport.h"
#include "Platform/ui/view.h"

namespace plat {

class Label;

// The platform's codes.
enum class TableViewCellStyle : int { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class TableViewCellSelectionStyle : int { None = 0, Blue = 1, Gray = 2, Default = 3 };

class PLAT_EXPORT TableViewCell : public View {
public:
    static std::shared_ptr<TableViewCell> create(TableViewCellStyle style = TableViewCellStyle::Default,
                                                 std::string reuseIdentifier = {});

    TableViewCellStyle style() const { return _style; }
    const std::string& reuseIdentifier() const { return _reuseIdentifier; }

    // Where the cell's content goes; it fills the cell.
    const std::shared_ptr<View>& contentView() const { return _contentView; }
    const std::shared_ptr<Label>& textLabel() const { return _textLabel; }
    // The second label of the value and subtitle styles; null in the default style.
    const std::shared_ptr<Label>& detailTextLabel() const { return _detailTextLabel; }

    // Behind the content; null: the cell's background colour shows.
    const std::shared_ptr<View>& backgroundView() const { return _backgroundView; }
    void setBackgroundView(std::shared_ptr<View> view);
    // Shown behind the content while selected or highlighted; null: a plain grey one (unless the
    // selection style is None).
    const std::shared_ptr<View>& selectedBackgroundView() const { return _selectedBackgroundView; }
    void setSelectedBackgroundView(std::shared_ptr<View> view);
    TableViewCellSelectionStyle selectionStyle() const { return _selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style);

    bool isSelected() const { return _selected; }
    virtual void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return _highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated = false);

    // The separator runs along the bottom between these left and right insets.
    EdgeInsets separatorInset() const { return _separatorInset; }
    void setSeparatorInset(EdgeInsets inset);
    // The table sets these.
    const std::optional<Color>& separatorColor() const { return _separatorColor; }
    void setSeparatorColor(std::optional<Color> color);
    // Kept for owners; the standard labels sit at the separator's left inset.
    EdgeInsets layoutMargins() const { return _layoutMargins; }
    void setLayoutMargins(EdgeInsets margins) { _layoutMargins = margins; }
    bool preservesSuperviewLayoutMargins() const { return _preservesSuperviewLayoutMargins; }
    void setPreservesSuperviewLayoutMargins(bool preserves) { _preservesSuperviewLayoutMargins = preserves; }

    // Called when a table hands the cell out again; overrides call the base.
    virtual void prepareForReuse();

    void layoutSubviews() override;

    static constexpr EdgeInsets DefaultSeparatorInset{0, 15, 0, 0};
    static constexpr Color DefaultSeparatorColor = Color(0.78, 0.78, 0.8, 1);
    static constexpr Color DefaultSelectedBackgroundColor = Color(0.85, 0.85, 0.85, 1);
    static constexpr Color DetailTextColor = Color(0.56, 0.56, 0.58, 1);
    static constexpr double SeparatorThickness = 0.5;
    static constexpr double TextFontSize = 17;
    static constexpr double SubtitleFontSize = 12;
    static constexpr double LabelSpacing = 2;

protected:
    TableViewCell(TableViewCellStyle style, std::string reuseIdentifier);
    void initialize() override;

private:
    PLAT_NO_EXPORT void updateSelectionBackground();
    PLAT_NO_EXPORT std::shared_ptr<View> activeSelectedBackground() const;

    TableViewCellStyle _style;
    std::string _reuseIdentifier;
    std::shared_ptr<View> _contentView;
    std::shared_ptr<Label> _textLabel, _detailTextLabel;
    std::shared_ptr<View> _backgroundView, _selectedBackgroundView, _defaultSelectedBackground, _separator;
    TableViewCellSelectionStyle _selectionStyle = TableViewCellSelectionStyle::Default;
    bool _selected = false, _highlighted = false;
    EdgeInsets _separatorInset = DefaultSeparatorInset;
    std::optional<Color> _separatorColor = DefaultSeparatorColor;
    EdgeInsets _layoutMargins{0, 15, 0, 15};
    bool _preservesSuperviewLayoutMargins = true;
};

}  // namespace plat
