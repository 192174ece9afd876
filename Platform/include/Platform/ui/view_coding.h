#pragma once
// Views made from an archive (an interface file): the registry of the classes a coder can name, and
// the loader that turns an interface file into its root view.
//
// A view's archived keys (see foundation/coder.h for the file format): "class" (required: a name in
// this registry), "frame", "hidden", "alpha", "backgroundColor", "tag", "userInteractionEnabled",
// "clipsToBounds" and "subviews" (an array of views, made in order). The platform registers "View";
// each control library registers its controls when it is loaded.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/coder.h"

namespace plat {

class View;

class PLAT_EXPORT CodedViewRegistry {
public:
    using Factory = std::function<std::shared_ptr<View>(const Coder&)>;

    // A later registration of the same name replaces the earlier one.
    static void registerClass(const std::string& name, Factory factory);
    static bool isRegistered(const std::string& name);
    static std::vector<std::string> registeredNames();
    // A view of the class that the coder's "class" key names, built from the coder; raises
    // CoderException for a missing or unknown class and for whatever the class refuses.
    static std::shared_ptr<View> makeView(const Coder& coder);
};

// Registers T under `name`, made through T::create(const Coder&). Returns true, so that a library can
// register at load time with `[[maybe_unused]] const bool registered = registerCodedView<T>("T");`.
template <class T>
bool registerCodedView(const std::string& name) {
    CodedViewRegistry::registerClass(name, [](const Coder& coder) -> std::shared_ptr<View> { return T::create(coder); });
    return true;
}

// Reads an interface file and returns its root view; raises CoderException for a file that is not
// one. The limits bound the file's size and its nesting (each level of subviews takes two: the
// "subviews" array and the view's dict).
PLAT_EXPORT std::shared_ptr<View> loadInterfaceFile(const std::string& path, const CoderLimits& limits = {});
// The same from a document in memory; `source` names it in error messages.
PLAT_EXPORT std::shared_ptr<View> loadInterface(std::string_view data, const std::string& source, const CoderLimits& limits = {});

}  // namespace plat
