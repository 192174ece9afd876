#pragma once
// A small chart control for the tests: it counts what the base calls on it and has a legend of fixed
// items, one per entry of `legendItems`, laid out in a row or a column.

#include <memory>
#include <string>
#include <vector>

#include "ChartCore/OmbriChartBase.h"

class TestChart : public OmbriChartBase {
public:
    static std::shared_ptr<TestChart> create(const plat::Rect& frame = {0, 0, 300, 200}) {
        return initialized(std::shared_ptr<TestChart>(new TestChart(frame)));
    }

    void invalidate() override {
        ++invalidates;
        OmbriChartBase::invalidate();
    }
    void render(const std::shared_ptr<IKivoRenderEngine>& engine) override {
        OmbriChartBase::render(engine);
        ++renders;
        lastEngine = engine;
        if (onRender) onRender(engine);
    }
    void bindChart() override { ++binds; }

    std::shared_ptr<KivoSize> getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) override {
        legendVertical = isVertical;
        if (auto e = std::dynamic_pointer_cast<KivoRenderEngine>(engine)) fontSeenByLegend = e->nominalFont();
        if (legendItems.empty()) return nullptr;
        double along = 0, across = 0;
        for (const auto& item : legendItems) {
            along += isVertical ? item.height : item.width;
            across = std::max(across, isVertical ? item.width : item.height);
        }
        return isVertical ? KivoSize::create(across, along) : KivoSize::create(along, across);
    }
    void renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point, bool isVertical,
                      std::vector<std::shared_ptr<KivoRect>>& areas) override {
        legendPoint = point->clone();
        double x = point->x(), y = point->y();
        for (const auto& item : legendItems) {
            areas.push_back(KivoRect::create(x, y, item.width, item.height));
            (isVertical ? y : x) += isVertical ? item.height : item.width;
        }
    }

    // The collection changes this control's own handler saw, by action.
    std::vector<std::int64_t> changesSeen;
    void subscribeOwnHandler() { addCollectionChangedHandler(&TestChart::onChange); }

    struct Item {
        double width, height;
    };
    std::vector<Item> legendItems;
    int invalidates = 0, renders = 0, binds = 0;
    bool legendVertical = false;
    plat::Font fontSeenByLegend;
    std::shared_ptr<KivoPoint> legendPoint;
    std::shared_ptr<IKivoRenderEngine> lastEngine;
    std::function<void(const std::shared_ptr<IKivoRenderEngine>&)> onRender;

protected:
    explicit TestChart(const plat::Rect& frame) : OmbriChartBase(frame) {}

private:
    void onChange(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) { changesSeen.push_back(args->action()); }
};
