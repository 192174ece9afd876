#pragma once
// The edit road of the masked text field: every edit the user makes (typing, pasting, deleting) is
// rewritten through the mask handler, the caret is placed off literals, and nothing already typed is
// lost: an edit that would lose it is refused, or what was typed is cut to what fits. It talks to the field only through
// MaskEditable, so the road is the same for the masked field and for any text field that installs the mask's delegate.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Platform/foundation/utf16.h"

class KivoMaskHandler;

namespace kivo::detail {

class MaskContent;

// What the road needs of the field it edits.
class MaskEditable {
public:
    virtual ~MaskEditable() = default;
    virtual std::string text() const = 0;
    // The field's own text setter (which rebuilds, compares and reports the change).
    virtual void setText(const std::string& text) = 0;
    // Clamped to the text by the field; a length of 0 places the caret.
    virtual void setSelectedRange(plat::TextRange range) = 0;
    // Whether a placeholder is set (an empty one counts).
    virtual bool hasPlaceholder() const = 0;
    // Sets the placeholder again; the field empties its text and shows it.
    virtual void setPlaceholder(const std::optional<std::string>& placeholder) = 0;
};

class MaskEditRoad {
public:
    explicit MaskEditRoad(std::shared_ptr<KivoMaskHandler> maskHandler) : _maskHandler(std::move(maskHandler)) {}

    // Editing starts: the caret goes onto the first input position.
    void beginEditing(MaskEditable& field) const;
    // Replaces `range` (clamped to the text) with `replacement` through the mask, or refuses it.
    // Answers true only without a mask: the field then applies the edit as it stands.
    bool edit(MaskEditable& field, plat::TextRange range, const std::string& replacement) const;

private:
    bool insert(MaskEditable& field, MaskContent& content, plat::TextRange range, const std::string& replacement) const;
    bool remove(MaskEditable& field, MaskContent& content, plat::TextRange range) const;
    // Sets the field's text to the content's.
    void show(MaskEditable& field, const MaskContent& content) const;

    std::shared_ptr<KivoMaskHandler> _maskHandler;
};

}  // namespace kivo::detail
