#pragma once
// The integer codes of the Cartesian chart and its model. Codes outside the named values are stored
// as given wherever a property takes them; each reader says what an unknown code does.

#include <cstdint>

#include "ChartCore/KivoChartEnums.h"

// The chart's and a series' chart type. On a series, 0 means "the chart's type".
enum OmbriChartType : std::int64_t {
    OmbriChartTypeDefault = 0,
    OmbriChartTypeColumn = 1,
    OmbriChartTypeBar = 2,  // drawn rotated
    OmbriChartTypeScatter = 3,
    OmbriChartTypeLine = 4,
    OmbriChartTypeLineSymbols = 5,
    OmbriChartTypeArea = 6,
    OmbriChartTypeBubble = 7,
    OmbriChartTypeCandlestick = 8,
    OmbriChartTypeHighLowOpenClose = 9,
    OmbriChartTypeSpline = 10,
    OmbriChartTypeSplineSymbols = 11,
    OmbriChartTypeSplineArea = 12,
};

enum KivoPlotterStacking : std::int64_t {
    KivoPlotterStackingNone = 0,
    KivoPlotterStackingStacked = 1,
    KivoPlotterStackingStacked100 = 2,  // each value as its share of the absolute sum at its X
};

// Whether a series is plotted (Visible, Plot) and whether it has a legend entry (Visible, Legend).
enum KivoSeriesVisibility : std::int64_t {
    KivoSeriesVisibilityVisible = 0,
    KivoSeriesVisibilityPlot = 1,
    KivoSeriesVisibilityLegend = 2,
    KivoSeriesVisibilityHidden = 3,
};

// Which axes a pinch zooms.
enum KivoZoomMode : std::int64_t {
    KivoZoomModeX = 0,
    KivoZoomModeY = 1,
    KivoZoomModeXY = 2,
    KivoZoomModeNone = 3,
};

// An axis' orientation, fixed by the position it was made with: bottom and top make an X axis, left
// and right a Y axis.
enum KivoAxisType : std::int64_t {
    KivoAxisTypeX = 0,
    KivoAxisTypeY = 1,
};

// Which part of the visible range a scrolled-to value ends up in.
enum KivoAxisScrollPosition : std::int64_t {
    KivoAxisScrollPositionStart = 0,
    KivoAxisScrollPositionCenter = 1,
    KivoAxisScrollPositionEnd = 2,
};

// Where a data label sits against its element's rectangle. Unknown codes place it above.
enum KivoDataLabelPosition : std::int64_t {
    KivoDataLabelPositionNone = 0,
    KivoDataLabelPositionLeft = 1,
    KivoDataLabelPositionRight = 2,
    KivoDataLabelPositionAbove = 3,
    KivoDataLabelPositionBelow = 4,
    KivoDataLabelPositionCenter = 5,
};

// How a plotter draws one plot element: by its default renderer, through the chart's
// plotElementLoading event (handlers may restyle it or draw it themselves), or through the chart
// delegate's hook of a host binding layer.
enum KivoPlotElementEventPath : std::int32_t {
    KivoPlotElementEventPathDefault = 0,
    KivoPlotElementEventPathEvent = 1,
    KivoPlotElementEventPathDelegate = 2,
};
