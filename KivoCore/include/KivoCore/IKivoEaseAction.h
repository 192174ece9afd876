#pragma once
// An easing curve in the usual four-argument form: ease(t, b, c, d) is where a value travelling from b
// to b + c in a span d stands once t of that span has passed.

#include <cstdint>
#include <memory>

#include "KivoCore/KivoCoreExport.h"

class KIVO_CORE_EXPORT IKivoEaseAction {
public:
    virtual ~IKivoEaseAction() = default;
    virtual double ease(double t, double b, double c, double d) const = 0;
    // The view-animation curve of the same kind: 0 ease in and out, 1 ease in, 2 ease out, 3 linear.
    virtual std::int64_t viewAnimationCurve() const = 0;
};

using KivoEasePtr = std::shared_ptr<IKivoEaseAction>;
