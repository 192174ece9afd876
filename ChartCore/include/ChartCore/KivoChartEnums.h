#pragma once
// The integer codes that the chart controls share (the Cartesian chart and the pie both read them, so
// they live with the chart base and neither control links the other).

#include <cstdint>

// Where an axis or the legend sits. Any other value places nothing.
enum KivoAxisPosition : std::int64_t {
    KivoAxisPositionNone = 0,
    KivoAxisPositionLeft = 1,
    KivoAxisPositionTop = 2,
    KivoAxisPositionRight = 3,
    KivoAxisPositionBottom = 4,
};

// What a hit test found under a point.
enum KivoChartElement : std::int64_t {
    KivoChartElementPlotArea = 0,
    KivoChartElementAxisX = 1,
    KivoChartElementAxisY = 2,
    KivoChartElementChartArea = 3,
    KivoChartElementLegend = 4,
    KivoChartElementHeader = 5,
    KivoChartElementFooter = 6,
    KivoChartElementAnnotation = 7,
    KivoChartElementNone = 8,  // outside the chart
};

// What a tap selects.
enum KivoChartSelectionMode : std::int64_t {
    KivoChartSelectionModeNone = 0,
    KivoChartSelectionModeSeries = 1,
    KivoChartSelectionModePoint = 2,
};

// How a control reveals its data on first display. The Cartesian chart reads all three; the pie reads
// 1 as a sweep and anything else as growth of the radius.
enum KivoLoadAnimationMode : std::int64_t {
    KivoLoadAnimationModeAll = 0,
    KivoLoadAnimationModePoint = 1,
    KivoLoadAnimationModeSeries = 2,
};

// How the legend lists its items. Auto is a column at the left or right and rows that wrap at the top
// or bottom; Horizontal is one line (no wrapping) wherever the legend sits; Vertical is one column.
enum KivoLegendOrientation : std::int64_t {
    KivoLegendOrientationAuto = 0,
    KivoLegendOrientationHorizontal = 1,
    KivoLegendOrientationVertical = 2,
};
