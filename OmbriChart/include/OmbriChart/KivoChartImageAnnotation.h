#pragma once
// A picture stretched into the annotation's box: an image the application hands over, or one loaded
// from a URL the first time the annotation is drawn without one, shown while its bytes arrive. One
// load runs at a time; a load that is refused (not an image, too large), fails or does not decode is
// logged and not tried again until setImageWithURL names a URL again.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "OmbriChart/KivoChartAnnotation.h"

namespace plat {
class Image;
class IncrementalImageSource;
class URLTask;
struct URLError;
struct URLResponse;
}  // namespace plat

class KIVO_CHART_EXPORT KivoChartImageAnnotation : public KivoChartAnnotation {
public:
    // The most bytes a picture's body may have.
    static constexpr std::int64_t MaxImageBytes = std::int64_t{32} << 20;

    KivoChartImageAnnotation() = default;
    explicit KivoChartImageAnnotation(const std::shared_ptr<OmbriChart>& chart) : KivoChartAnnotation(chart) {}
    static std::shared_ptr<KivoChartImageAnnotation> create(const std::shared_ptr<OmbriChart>& chart) {
        return std::make_shared<KivoChartImageAnnotation>(chart);
    }
    ~KivoChartImageAnnotation() override;

    // Draws the picture, or starts its load; YES when the box was placed.
    bool render(const std::shared_ptr<IKivoRenderEngine>& engine) override;

    // Plain store, no redraw. A picture the application sets ends a load that runs.
    const std::shared_ptr<const plat::Image>& source() const { return _source; }
    void setSource(std::shared_ptr<const plat::Image> image);
    // Names the URL to load from at the next drawing that finds no picture; no redraw. A picture that
    // an earlier load brought, and a load that runs, are dropped.
    void setImageWithURL(const std::string& url);
    const std::optional<std::string>& urlString() const { return _urlString; }
    bool isLoading() const { return _task != nullptr; }

private:
    KIVO_CHART_NO_EXPORT void startLoad();
    KIVO_CHART_NO_EXPORT void endLoad();
    // The load's handlers, run on the main run loop; `generation` tells the current load's from a
    // replaced one's.
    KIVO_CHART_NO_EXPORT bool didReceiveResponse(std::uint64_t generation, const plat::URLResponse& response);
    KIVO_CHART_NO_EXPORT void didReceiveData(std::uint64_t generation, std::span<const std::uint8_t> bytes);
    KIVO_CHART_NO_EXPORT void didFinishLoading(std::uint64_t generation);
    KIVO_CHART_NO_EXPORT void didFailWithError(std::uint64_t generation, const plat::URLError& error);
    // Logs the failure, drops what the load brought and keeps it from being tried again.
    KIVO_CHART_NO_EXPORT void failLoad(const std::string& reason);
    KIVO_CHART_NO_EXPORT void pictureComplete(std::shared_ptr<const plat::Image> image);

    std::shared_ptr<const plat::Image> _source;
    bool _sourceFromLoad = false;
    std::optional<std::string> _urlString;
    std::shared_ptr<plat::URLTask> _task;
    std::uint64_t _generation = 0;
    std::shared_ptr<plat::IncrementalImageSource> _imageSource;
    std::int64_t _receivedLength = 0;
    std::int64_t _expectedLength = 0;
    bool _isLoadFinished = false;
    bool _refusedResponse = false;
    bool _loadFailed = false;
    plat::Rect _rect;
};
