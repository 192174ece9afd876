// OmbriChart: the update state, readable by anyone and changed only by the chart's own update steps
// (a caller that changed it in the middle of an update would desynchronise the update from its frames).

#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"

namespace {

std::vector<std::vector<double>> copyColumns(const std::vector<kivo::detail::ColumnPtr>& columns) {
    std::vector<std::vector<double>> copies;
    copies.reserve(columns.size());
    for (const auto& column : columns) {
        std::vector<double> values;
        if (column) {
            values.reserve(column->size());
            for (std::size_t i = 0; i < column->size(); ++i) values.push_back(column->at(static_cast<std::int64_t>(i)));
        }
        copies.push_back(std::move(values));
    }
    return copies;
}

}  // namespace

const std::shared_ptr<KivoAnimation>& OmbriChart::activeUpdateAnimation() const { return _state->activeUpdateAnimation; }
bool OmbriChart::isUpdateTask1() const { return _state->isUpdateTask1(); }
bool OmbriChart::isUpdateTask2() const { return _state->isUpdateTask2(); }
bool OmbriChart::isSeriesCollectionUpdated() const { return _state->seriesCollectionUpdated; }
bool OmbriChart::isCollectionViewUpdated() const { return _state->collectionViewUpdated; }
const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& OmbriChart::updateEventArgs() const {
    return _state->updateEventArgs;
}
double OmbriChart::prevAxisXMin() const { return _state->prevAxisXMin; }
double OmbriChart::prevAxisXMax() const { return _state->prevAxisXMax; }
double OmbriChart::prevAxisYMin() const { return _state->prevAxisYMin; }
double OmbriChart::prevAxisYMax() const { return _state->prevAxisYMax; }
std::vector<std::vector<double>> OmbriChart::prevXValsArray() const { return copyColumns(_state->prevXValsArray); }
std::vector<std::vector<double>> OmbriChart::prevYValsArray() const { return copyColumns(_state->prevYValsArray); }
std::shared_ptr<const KivoDataInfo::StackDictionary> OmbriChart::stackAbs() const { return _state->stackAbs; }
bool OmbriChart::isChartUpdate() const { return _state->chartUpdate; }
bool OmbriChart::beginPlotElementLoading() const { return _state->beginPlotElementLoading; }
