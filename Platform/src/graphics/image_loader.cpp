#include "Platform/graphics/image_loader.h"

#include <utility>

#include "Platform/graphics/image.h"
#include "Platform/graphics/incremental_image_source.h"

namespace plat {

namespace {

// No image within the pixel budget needs a larger file than its raw pixels at 16 bits a channel,
// plus room for the container around them.
constexpr std::int64_t ContainerAllowance = std::int64_t{1} << 20;
constexpr std::int64_t MaxImageBytes = Image::MaxPixelCount * 8 + ContainerAllowance;

URLRequest limited(URLRequest request) {
    if (request.maxBytes <= 0 || request.maxBytes > MaxImageBytes) request.maxBytes = MaxImageBytes;
    return request;
}

URLError notAnImage(const URLResponse& response) {
    return {URLError::Code::BadContent,
            "not an image: " + (response.mimeType.empty() ? std::string("no MIME type") : response.mimeType)};
}

URLError undecodable(const IncrementalImageSource& source) {
    return {URLError::Code::BadContent, "the image does not decode: " + source.error()};
}

// One asynchronous load, on the main thread.
struct ImageLoad {
    IncrementalImageSource source;
    std::function<void(const ImageLoader::Result&)> completion;
    std::function<void(const std::shared_ptr<Image>&)> progress;
    std::optional<URLError> refusal;
    std::weak_ptr<URLTask> task;
    std::shared_ptr<Image> shown;  // the last image handed to progress

    explicit ImageLoad(double scale) : source(scale) {}

    // Lets both handlers go before the completion runs: either may hold the owner of the task.
    void complete(ImageLoader::Result result) {
        auto done = std::exchange(completion, nullptr);
        progress = nullptr;
        if (done) done(result);
    }
};

}  // namespace

bool ImageLoader::isImageMimeType(const std::string& mimeType) { return mimeType.rfind("image/", 0) == 0; }

ImageLoader::Result ImageLoader::load(const URLRequest& request, double scale) {
    URLResult loaded = URLLoader::load(limited(request));
    if (loaded.error) return {nullptr, loaded.error};
    const URLResponse response = loaded.response.value_or(URLResponse{});
    if (!isImageMimeType(response.mimeType)) return {nullptr, notAnImage(response)};
    IncrementalImageSource source(scale);
    source.append(loaded.data, true);
    if (auto image = source.completeImage()) return {image, std::nullopt};
    return {nullptr, undecodable(source)};
}

std::shared_ptr<URLTask> ImageLoader::start(const URLRequest& request, std::function<void(const Result&)> completion,
                                            std::function<void(const std::shared_ptr<Image>&)> progress, double scale) {
    auto load = std::make_shared<ImageLoad>(scale);
    load->completion = std::move(completion);
    load->progress = std::move(progress);

    URLLoader::Handlers handlers;
    handlers.onResponse = [load](const URLResponse& response) {
        if (isImageMimeType(response.mimeType)) return true;
        load->refusal = notAnImage(response);
        return false;
    };
    handlers.onData = [load](std::span<const std::uint8_t> bytes) {
        load->source.append(bytes);
        if (load->source.status() == IncrementalImageSource::Status::Failed) {
            // Broken or too large: no point in the rest of the bytes.
            if (auto task = load->task.lock()) task->cancel();
            load->complete({nullptr, undecodable(load->source)});
            return;
        }
        if (!load->progress) return;
        auto image = load->source.image();
        if (!image || image == load->shown) return;
        load->shown = image;
        load->progress(image);
    };
    handlers.onFinish = [load](const URLResponse&) {
        load->source.append({}, true);
        if (auto image = load->source.completeImage())
            load->complete({image, std::nullopt});
        else
            load->complete({nullptr, undecodable(load->source)});
    };
    handlers.onFail = [load](const URLError& error) { load->complete({nullptr, load->refusal ? *load->refusal : error}); };

    auto task = URLLoader::start(limited(request), std::move(handlers));
    load->task = task;
    return task;
}

}  // namespace plat
