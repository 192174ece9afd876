#pragma once
// The pasteboard: items copied by one program and pasted by another, each a set of representations
// keyed by type ("public.text" for plain text). The general pasteboard is the system-wide one; named
// pasteboards are private to whoever knows the name. Main thread only.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/value.h"

namespace plat {

// Plain text.
inline constexpr std::string_view PasteboardTypeText = "public.text";
// UTF-8 plain text, which readers of plain text also accept.
inline constexpr std::string_view PasteboardTypeUTF8PlainText = "public.utf8-plain-text";

class PLAT_EXPORT Pasteboard {
public:
    // Representations of one item by type.
    using Item = std::map<std::string, Value, std::less<>>;

    static Pasteboard& general();
    // The pasteboard of that name, made on first use (an empty name is the general pasteboard).
    static Pasteboard& withName(std::string_view name);

    const std::string& name() const { return _name; }
    // Counts every change of the contents.
    std::int64_t changeCount() const { return _changeCount; }

    const std::vector<Item>& items() const { return _items; }
    // Replaces the contents; items without representations are dropped.
    void setItems(std::vector<Item> items);
    void addItems(std::vector<Item> items);
    std::size_t numberOfItems() const { return _items.size(); }
    // Every type of the first item, in type order.
    std::vector<std::string> pasteboardTypes() const;
    bool containsPasteboardTypes(const std::vector<std::string>& types) const;
    // The first item's representation of that type (nil when it has none).
    Value valueForPasteboardType(std::string_view type) const;
    // Replaces the contents with one item of one representation.
    void setValue(Value value, std::string_view type);

    // The first item's text: its "public.text" or UTF-8 plain-text string; nullopt when it has none.
    std::optional<std::string> string() const;
    // Replaces the contents with one text item ("public.text").
    void setString(std::string text);
    bool hasStrings() const;

private:
    explicit Pasteboard(std::string name) : _name(std::move(name)) {}
    // Adds the items that have representations; true when one was added.
    PLAT_NO_EXPORT bool append(std::vector<Item> items);
    void changed() { ++_changeCount; }

    std::string _name;
    std::vector<Item> _items;
    std::int64_t _changeCount = 0;
};

}  // namespace plat
