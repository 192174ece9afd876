#include "Platform/ui/view_coding.h"

#include <map>
#include <mutex>

#include "Platform/ui/view.h"

namespace plat {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, CodedViewRegistry::Factory, std::less<>> factories{
        {"View", [](const Coder& coder) -> std::shared_ptr<View> { return View::create(coder); }}};
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void CodedViewRegistry::registerClass(const std::string& name, Factory factory) {
    if (name.empty() || !factory) return;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.factories[name] = std::move(factory);
}

bool CodedViewRegistry::isRegistered(const std::string& name) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return r.factories.count(name) != 0;
}

std::vector<std::string> CodedViewRegistry::registeredNames() {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    std::vector<std::string> names;
    for (const auto& entry : r.factories) names.push_back(entry.first);
    return names;
}

std::shared_ptr<View> CodedViewRegistry::makeView(const Coder& coder) {
    const auto name = coder.decodeStringForKey("class");
    if (!name) coder.fail("class", "a view needs the name of its class");
    Factory factory;
    {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        const auto it = r.factories.find(*name);
        if (it != r.factories.end()) factory = it->second;
    }
    if (!factory) coder.fail("class", "no view class is registered as \"" + *name + "\"");
    auto view = factory(coder);
    if (!view) coder.fail("class", "the class \"" + *name + "\" made no view");
    return view;
}

// ---- View's own keys ----

std::shared_ptr<View> View::create(const Coder& coder) {
    return initializedFromCoder(std::shared_ptr<View>(new View(decodedFrame(coder))), coder);
}

Rect View::decodedFrame(const Coder& coder) { return coder.decodeRectForKey("frame"); }

void View::decodeViewKeys(const Coder& coder) {
    if (coder.containsValueForKey("hidden")) setHidden(coder.decodeBoolForKey("hidden"));
    if (coder.containsValueForKey("alpha")) {
        const double alpha = coder.decodeDoubleForKey("alpha");
        if (alpha < 0 || alpha > 1) coder.fail("alpha", "expected a number in 0...1");
        setAlpha(alpha);
    }
    if (coder.containsValueForKey("backgroundColor")) setBackgroundColor(coder.decodeColorForKey("backgroundColor"));
    if (coder.containsValueForKey("tag")) setTag(coder.decodeIntegerForKey("tag"));
    if (coder.containsValueForKey("userInteractionEnabled"))
        setUserInteractionEnabled(coder.decodeBoolForKey("userInteractionEnabled"));
    if (coder.containsValueForKey("clipsToBounds")) setClipsToBounds(coder.decodeBoolForKey("clipsToBounds"));
    for (const Coder& child : coder.decodeObjectsForKey("subviews")) addSubview(CodedViewRegistry::makeView(child));
}

// ---- The loader ----

std::shared_ptr<View> loadInterface(std::string_view data, const std::string& source, const CoderLimits& limits) {
    return CodedViewRegistry::makeView(Coder::fromData(data, source, limits));
}

std::shared_ptr<View> loadInterfaceFile(const std::string& path, const CoderLimits& limits) {
    return CodedViewRegistry::makeView(Coder::fromFile(path, limits));
}

}  // namespace plat
