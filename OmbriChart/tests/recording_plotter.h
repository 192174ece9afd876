#pragma once
// A plotter for the tests that records what the chart asks of it, and a chart whose plotter pool
// holds recording plotters, all writing to one shared log in call order.

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "test_chart.h"

using CallLog = std::vector<std::string>;

// One plotSeries call with the settings in force when it came.
struct PlotCall {
    std::string series;
    std::int32_t index, realIndex, count, selectedIndex;
    std::int64_t chartType;
    double time, origin, symbolSize;
    std::int32_t dataInfoCount;
    std::int64_t stacking;
    bool rotated;
    std::string describe() const {
        std::ostringstream out;
        out << series << " " << index << "/" << realIndex << "/" << count << " type " << chartType;
        return out.str();
    }
};

class RecordingPlotter : public KivoBasePlotter {
public:
    RecordingPlotter(const std::shared_ptr<OmbriChart>& chart, std::string name, std::shared_ptr<CallLog> log)
        : KivoBasePlotter(chart), name(std::move(name)), log(std::move(log)) {}

    void clear() override { write("clear"); }
    void setTime(double t) override {
        write("setTime");
        KivoBasePlotter::setTime(t);
    }
    void setStacking(std::int64_t s) override {
        write("setStacking");
        KivoBasePlotter::setStacking(s);
    }
    void setSymbolSize(double s) override {
        write("setSymbolSize");
        KivoBasePlotter::setSymbolSize(s);
    }
    void setDataInfoCount(std::int32_t c) override {
        write("setDataInfoCount");
        KivoBasePlotter::setDataInfoCount(c);
    }
    void setOrigin(double o) override {
        write("setOrigin");
        KivoBasePlotter::setOrigin(o);
    }
    std::shared_ptr<KivoRect> adjustLimits(const std::shared_ptr<KivoDataInfo>& info, std::optional<double> logBase) override {
        logBases.push_back(logBase);
        auto r = KivoBasePlotter::adjustLimits(info, logBase);
        return limits ? limits->clone() : r;
    }
    void plotSeries(const std::shared_ptr<KivoSeries>& series, const std::shared_ptr<IKivoRenderEngine>& engine,
                    const std::shared_ptr<KivoAxis>&, const std::shared_ptr<KivoAxis>&, std::int32_t index,
                    std::int32_t realIndex, std::int32_t count, std::int32_t selectedIndex, std::int64_t chartType,
                    StackDictionary& stackPos, StackDictionary&) override {
        const std::string label = series && series->name() ? *series->name() : "?";
        calls.push_back({label, index, realIndex, count, selectedIndex, chartType, time(), origin(), symbolSize(),
                         dataInfoCount(), stacking(), rotated()});
        stackSizes.push_back(stackPos.size());
        // Like a stacking plotter: adds the series' values at their X, and with `draws` stacks a bar for
        // each (10 wide, 10 points per unit, on a base line at y 200).
        if (series)
            if (const auto ys = series->getValues(0))
                for (std::size_t k = 0; k < ys->size(); ++k) {
                    if (!(*ys)[k].isNumber()) continue;
                    const double x = static_cast<double>(k), v = (*ys)[k].asDouble();
                    const double below = stackPos.valueOr(x, 0);
                    if (draws && engine) engine->drawRect(x * 20, 200 - (below + v) * 10, 10, v * 10);
                    stackPos.add(x, v);
                }
        write("plot " + label + " " + std::to_string(index) + "/" + std::to_string(realIndex) + "/" + std::to_string(count));
    }
    void redoSelection(const std::shared_ptr<IKivoRenderEngine>&) override {
        ++redos;
        write("redo");
    }

    std::string name;
    std::shared_ptr<CallLog> log;
    std::vector<PlotCall> calls;
    std::vector<std::optional<double>> logBases;
    std::vector<std::size_t> stackSizes;
    std::shared_ptr<KivoRect> limits;
    bool draws = false;
    int redos = 0;

private:
    void write(const std::string& what) {
        if (log) log->push_back(name + " " + what);
    }
};

// A chart whose plotters are recording plotters named after their family.
class RecordingChart : public TestChart {
public:
    static std::shared_ptr<RecordingChart> create(const plat::Rect& frame = {0, 0, 400, 300}) {
        return initialized(std::shared_ptr<RecordingChart>(new RecordingChart(frame)));
    }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();

    std::shared_ptr<RecordingPlotter> recorder(PlotterFamily family) {
        switch (family) {
            case PlotterFamily::Bar:
                return std::dynamic_pointer_cast<RecordingPlotter>(barPlotter());
            case PlotterFamily::Line:
                return std::dynamic_pointer_cast<RecordingPlotter>(linePlotter());
            case PlotterFamily::Area:
                return std::dynamic_pointer_cast<RecordingPlotter>(areaPlotter());
            case PlotterFamily::Bubble:
                return std::dynamic_pointer_cast<RecordingPlotter>(bubblePlotter());
            case PlotterFamily::Finance:
                return std::dynamic_pointer_cast<RecordingPlotter>(financePlotter());
        }
        return nullptr;
    }
    std::shared_ptr<RecordingPlotter> bars() { return recorder(PlotterFamily::Bar); }
    std::shared_ptr<RecordingPlotter> lines() { return recorder(PlotterFamily::Line); }
    std::shared_ptr<RecordingPlotter> areas() { return recorder(PlotterFamily::Area); }

    // The plotSeries and redoSelection calls of every plotter in the order they came, as
    // "family plot series index/realIndex/count" and "family redo".
    std::vector<std::string> plotted() const {
        std::vector<std::string> out;
        for (const auto& line : *log)
            if (line.find(" plot ") != std::string::npos || line.find(" redo") != std::string::npos) out.push_back(line);
        return out;
    }

protected:
    explicit RecordingChart(const plat::Rect& frame) : TestChart(frame) {}
    std::shared_ptr<IKivoPlotter> makePlotter(PlotterFamily family) override {
        static const char* const names[] = {"bar", "line", "area", "bubble", "finance"};
        return std::make_shared<RecordingPlotter>(sharedAs<OmbriChart>(), names[static_cast<int>(family)], log);
    }
};
