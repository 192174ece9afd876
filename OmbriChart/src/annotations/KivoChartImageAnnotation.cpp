// KivoChartImageAnnotation: drawing the picture into its box, and the one load at a time that brings
// it from a URL. Every handler of a load runs on the main run loop, so the load's state needs no lock;
// a generation number tells the current load's callbacks from those of a load that was replaced.

#include "OmbriChart/KivoChartImageAnnotation.h"

#include <utility>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/log.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/incremental_image_source.h"
#include "Platform/runtime/url_loader.h"
#include "annotations/AnnotationSupport.h"

namespace {

bool isImageType(const std::string& mimeType) {
    const auto slash = mimeType.find('/');
    return slash != std::string::npos && mimeType.compare(0, slash, "image") == 0;
}

}  // namespace

KivoChartImageAnnotation::~KivoChartImageAnnotation() {
    if (_task) _task->cancel();
}

// ---- Drawing ----

bool KivoChartImageAnnotation::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!isNeedRender(engine) || !kivo::detail::usableSide(width()) || !kivo::detail::usableSide(height()) ||
        (!_source && !_urlString))
        return false;
    const auto corner = getAbsolutePoint(point(), position(), attachment(), nullptr);
    if (!corner) return false;
    _rect = {corner->x(), corner->y(), width(), height()};
    plat::Path outline;
    outline.addRect(_rect);
    replaceHitPath(outline);

    if (_source) {
        const auto owner = chart();
        const kivo::detail::PlotClipScope clip(*engine, owner ? owner->plotRect() : nullptr, isNeedClipRect());
        engine->drawImage(_source, _rect);
    } else if (!_task && !_loadFailed) {
        startLoad();
    }
    return true;
}

// ---- Accessors ----

void KivoChartImageAnnotation::setSource(std::shared_ptr<const plat::Image> image) {
    if (isOrphaned()) return;
    endLoad();
    _source = std::move(image);
    _sourceFromLoad = false;
}

void KivoChartImageAnnotation::setImageWithURL(const std::string& url) {
    if (isOrphaned()) return;
    endLoad();
    _urlString = url;
    _loadFailed = false;
    if (_sourceFromLoad) {
        _source.reset();
        _sourceFromLoad = false;
    }
}

// ---- The load ----

void KivoChartImageAnnotation::endLoad() {
    ++_generation;  // whatever the replaced load still delivers is dropped
    if (_task) _task->cancel();
    _task.reset();
    _imageSource.reset();
}

void KivoChartImageAnnotation::startLoad() {
    endLoad();
    const std::uint64_t generation = _generation;
    const auto self = std::static_pointer_cast<KivoChartImageAnnotation>(weak_from_this().lock());
    if (!self) return;  // not shared: no handler could reach it
    const std::weak_ptr<KivoChartImageAnnotation> weak = self;

    _imageSource = std::make_shared<plat::IncrementalImageSource>();
    _receivedLength = 0;
    _expectedLength = 0;
    _refusedResponse = false;

    plat::URLRequest request;
    request.url = *_urlString;
    request.maxBytes = MaxImageBytes;
    plat::URLLoader::Handlers handlers;
    handlers.onResponse = [weak, generation](const plat::URLResponse& response) {
        const auto annotation = weak.lock();
        return annotation && annotation->didReceiveResponse(generation, response);
    };
    handlers.onData = [weak, generation](std::span<const std::uint8_t> bytes) {
        if (const auto annotation = weak.lock()) annotation->didReceiveData(generation, bytes);
    };
    handlers.onFinish = [weak, generation](const plat::URLResponse&) {
        if (const auto annotation = weak.lock()) annotation->didFinishLoading(generation);
    };
    handlers.onFail = [weak, generation](const plat::URLError& error) {
        if (const auto annotation = weak.lock()) annotation->didFailWithError(generation, error);
    };
    _task = plat::URLLoader::start(request, std::move(handlers));
}

bool KivoChartImageAnnotation::didReceiveResponse(std::uint64_t generation, const plat::URLResponse& response) {
    if (generation != _generation) return false;
    _expectedLength = response.expectedContentLength;
    if (isImageType(response.mimeType)) return true;
    plat::log("not a image url");
    _refusedResponse = true;
    return false;  // the loader ends the load with a refusal, which is already told
}

void KivoChartImageAnnotation::didReceiveData(std::uint64_t generation, std::span<const std::uint8_t> bytes) {
    if (generation != _generation || !_imageSource) return;
    _receivedLength += static_cast<std::int64_t>(bytes.size());
    _isLoadFinished = _receivedLength == _expectedLength;
    _imageSource->append(bytes, _isLoadFinished);
    using Status = plat::IncrementalImageSource::Status;
    switch (_imageSource->status()) {
    case Status::Failed: failLoad(_imageSource->error()); return;
    case Status::Complete: pictureComplete(_imageSource->completeImage()); return;
    default: break;
    }
    // The rows so far show at the chart's next pass, whatever asks for it.
    if (auto image = _imageSource->image()) {
        _source = std::move(image);
        _sourceFromLoad = true;
    }
}

void KivoChartImageAnnotation::didFinishLoading(std::uint64_t generation) {
    if (generation != _generation) return;
    plat::log("Connection Loading Finished!!!");
    if (!_imageSource) {
        _task.reset();
        return;  // the picture came whole with its announced length
    }
    _imageSource->append({}, true);
    if (auto image = _imageSource->completeImage())
        pictureComplete(std::move(image));
    else
        failLoad(_imageSource->error());
}

void KivoChartImageAnnotation::didFailWithError(std::uint64_t generation, const plat::URLError& error) {
    if (generation != _generation) return;
    if (_refusedResponse && error.code == plat::URLError::Code::Refused) {
        // Told as "not a image url" when the response came.
        _task.reset();
        _imageSource.reset();
        _loadFailed = true;
        return;
    }
    failLoad(error.message);
}

void KivoChartImageAnnotation::failLoad(const std::string& reason) {
    plat::log("Connection " + _urlString.value_or("") + " error, error info: " + reason);
    endLoad();
    _loadFailed = true;
    if (_sourceFromLoad) {
        _source.reset();
        _sourceFromLoad = false;
    }
}

void KivoChartImageAnnotation::pictureComplete(std::shared_ptr<const plat::Image> image) {
    // The load's later callbacks (the finish) have nothing left to do.
    _imageSource.reset();
    _source = std::move(image);
    _sourceFromLoad = true;
    invalidateChart();
}
