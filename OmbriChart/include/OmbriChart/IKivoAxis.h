#pragma once
// What the plotters, the hit testing and the annotations need of an axis: its limits and the
// conversion of a data value into a pixel coordinate.

#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT IKivoAxis {
public:
    virtual ~IKivoAxis() = default;

    // The pixel coordinate of `value` between actualMin and actualMax; 0 when the two are equal.
    virtual double convert(double value) const = 0;
    // The same between actualMin and `max` (0 when they are equal).
    virtual double convert(double value, double max) const = 0;
    // The same between `min` and `max` (0 when they are equal).
    virtual double convert(double value, double max, double min) const = 0;

    // The data range with its padding; NaN before the first limits update.
    virtual double actualDataMin() const = 0;
    virtual double actualDataMax() const = 0;
    // The displayed range; NaN before the first limits update.
    virtual double actualMin() const = 0;
    virtual double actualMax() const = 0;
};
