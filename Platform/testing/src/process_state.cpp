#include "Platform/testing/process_state.h"

#include <string>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/preferred_languages.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/log.h"
#include "Platform/foundation/process_cache.h"
#include "Platform/graphics/font.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/application.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/screen.h"

namespace plat::testing {

namespace {

// What the process had before the first test could change it.
struct Baseline {
    ContentSizeCategoryChangeHandler textSizeHandler;
    LogSink logSink;

    Baseline() {
        textSizeHandler = setContentSizeCategoryChangeHandler({});
        setContentSizeCategoryChangeHandler(textSizeHandler);
        logSink = setLogSink({});
        setLogSink(logSink);
    }
};

const Baseline& baseline() {
    static const Baseline b;
    return b;
}

}  // namespace

void resetProcessState() {
    const Baseline& b = baseline();
    RunLoop::main().discardPendingWork();
    setLogSink(b.logSink);
    setContentSizeCategoryChangeHandler(b.textSizeHandler);
    setPreferredContentSizeCategory(ContentSizeCategory::Large);
    Locale::setCurrent(Locale::withIdentifier(TestLocale));
    TimeZone::setCurrent(*TimeZone::named(TestTimeZone));
    setPreferredLanguages(std::vector<std::string>{std::string(TestLanguage)});
    Screen::main().reset();
    auto& app = Application::shared();
    while (app.isGeneratingDeviceOrientationNotifications()) app.endGeneratingDeviceOrientationNotifications();
    app.setDeviceOrientation(DeviceOrientation::Portrait);
    Pasteboard::general().setItems({});
    runProcessStateResets();
    // Last: the caches are made again from the defaults above.
    resetProcessCaches();
}

}  // namespace plat::testing
