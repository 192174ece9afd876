#include "Platform/ui/pasteboard.h"

#include <algorithm>

namespace plat {

namespace {

constexpr std::string_view GeneralName = "general";

std::optional<std::string> textOf(const Pasteboard::Item& item) {
    for (auto type : {PasteboardTypeText, PasteboardTypeUTF8PlainText}) {
        auto it = item.find(type);
        if (it != item.end() && it->second.isString()) return it->second.asString();
    }
    return std::nullopt;
}

}  // namespace

Pasteboard& Pasteboard::general() {
    static Pasteboard board{std::string(GeneralName)};
    return board;
}

Pasteboard& Pasteboard::withName(std::string_view name) {
    if (name.empty() || name == GeneralName) return general();
    static std::map<std::string, std::unique_ptr<Pasteboard>, std::less<>> named;
    auto it = named.find(name);
    if (it == named.end()) {
        it = named.emplace(std::string(name), std::unique_ptr<Pasteboard>(new Pasteboard(std::string(name)))).first;
    }
    return *it->second;
}

void Pasteboard::setItems(std::vector<Item> items) {
    _items.clear();
    append(std::move(items));
    changed();
}

void Pasteboard::addItems(std::vector<Item> items) {
    if (append(std::move(items))) changed();
}

bool Pasteboard::append(std::vector<Item> items) {
    bool added = false;
    for (auto& item : items) {
        std::erase_if(item, [](const auto& entry) { return entry.second.isNil(); });
        if (item.empty()) continue;
        _items.push_back(std::move(item));
        added = true;
    }
    return added;
}

std::vector<std::string> Pasteboard::pasteboardTypes() const {
    std::vector<std::string> out;
    if (_items.empty()) return out;
    for (const auto& [type, value] : _items.front()) out.push_back(type);
    return out;
}

bool Pasteboard::containsPasteboardTypes(const std::vector<std::string>& types) const {
    return std::any_of(_items.begin(), _items.end(), [&](const Item& item) {
        return std::any_of(types.begin(), types.end(), [&](const std::string& t) { return item.contains(t); });
    });
}

Value Pasteboard::valueForPasteboardType(std::string_view type) const {
    if (_items.empty()) return {};
    auto it = _items.front().find(type);
    return it == _items.front().end() ? Value{} : it->second;
}

void Pasteboard::setValue(Value value, std::string_view type) {
    Item item;
    item.emplace(std::string(type), std::move(value));
    setItems({std::move(item)});
}

std::optional<std::string> Pasteboard::string() const {
    if (_items.empty()) return std::nullopt;
    return textOf(_items.front());
}

void Pasteboard::setString(std::string text) { setValue(Value(std::move(text)), PasteboardTypeText); }

bool Pasteboard::hasStrings() const {
    return std::any_of(_items.begin(), _items.end(), [](const Item& item) { return textOf(item).has_value(); });
}

}  // namespace plat
