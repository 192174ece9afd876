#pragma once
// Loads an image from a URL: a response that does not say it is an image (its MIME type's part before
// "/" is not "image") is refused, the bytes are decoded as they arrive, and the image is handed over
// only whole: a refused, failed or undecodable load gives an error and never a partial image.

#include <functional>
#include <memory>
#include <optional>

#include "Platform/PlatformExport.h"
#include "Platform/runtime/url_loader.h"

namespace plat {

class Image;

class PLAT_EXPORT ImageLoader {
public:
    // Exactly one of the two is set.
    struct Result {
        std::shared_ptr<Image> image;
        std::optional<URLError> error;
    };

    // Blocks the calling thread until the image is in. `scale` is the image's scale (pixels per point).
    static Result load(const URLRequest& request, double scale = 1);

    // Loads on a background queue. `completion` runs once on the main run loop, unless the task is
    // cancelled first; `progress`, when given, runs there with the image so far each time more of it
    // is decoded (rows not yet in are transparent).
    static std::shared_ptr<URLTask> start(const URLRequest& request, std::function<void(const Result&)> completion,
                                          std::function<void(const std::shared_ptr<Image>&)> progress = {}, double scale = 1);

    // Whether a response's MIME type announces an image.
    static bool isImageMimeType(const std::string& mimeType);
};

}  // namespace plat
