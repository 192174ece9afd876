#include "KivoCore/KivoEaseActions.h"

#include <cmath>
#include <numbers>

// The expressions are kept exactly as the curves are defined (including the exact comparisons at the
// ends), so that eased positions match to the last bit wherever the curves are used.
namespace {
constexpr double Pi = std::numbers::pi;

// The bounce curves build on one another: plain functions, so a bounce costs no shared-instance
// lookup or virtual call per eased value.
double bounceOut(double t, double b, double c, double d) {
    const double k = 7.5625;
    double u = t / d;
    if (u < 1 / 2.75) return b + c * k * u * u;
    if (u < 2 / 2.75) {
        u -= 1.5 / 2.75;
        return b + c * (k * u * u + 0.75);
    }
    if (u < 2.5 / 2.75) {
        u -= 2.25 / 2.75;
        return b + c * (k * u * u + 0.9375);
    }
    u -= 2.625 / 2.75;
    return b + c * (k * u * u + 0.984375);
}

double bounceIn(double t, double b, double c, double d) { return b + c - bounceOut(d - t, 0, c, d); }

}  // namespace

double KivoBackIn::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b + c * u * u * (2.70158 * u - 1.70158);
}
double KivoBackOut::ease(double t, double b, double c, double d) const {
    double w = t / d - 1;
    return b + c * (w * w * (2.70158 * w + 1.70158) + 1);
}
double KivoBackInOut::ease(double t, double b, double c, double d) const {
    double v = t / (d / 2);
    if (v < 1) return b + (c / 2) * v * v * (3.5949095 * v - 2.5949095);
    double w = v - 2;
    return b + (c / 2) * (w * w * (3.5949095 * w + 2.5949095) + 2);
}

double KivoBounceOut::ease(double t, double b, double c, double d) const { return bounceOut(t, b, c, d); }
double KivoBounceIn::ease(double t, double b, double c, double d) const { return bounceIn(t, b, c, d); }
double KivoBounceInOut::ease(double t, double b, double c, double d) const {
    if (t < d / 2) return b + bounceIn(2 * t, 0, c, d) / 2;
    return b + c / 2 + bounceOut(2 * t - d, 0, c, d) / 2;
}

double KivoCircIn::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b - c * (std::sqrt(1 - u * u) - 1);
}
double KivoCircOut::ease(double t, double b, double c, double d) const {
    double w = t / d - 1;
    return b + c * std::sqrt(1 - w * w);
}
double KivoCircInOut::ease(double t, double b, double c, double d) const {
    double v = t / (d / 2);
    if (v < 1) return b - (c / 2) * (std::sqrt(1 - v * v) - 1);
    double w = v - 2;
    return b + (c / 2) * (std::sqrt(1 - w * w) + 1);
}

double KivoCubicIn::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b + c * u * u * u;
}
double KivoCubicOut::ease(double t, double b, double c, double d) const {
    double w = t / d - 1;
    return b + c * (w * w * w + 1);
}
double KivoCubicInOut::ease(double t, double b, double c, double d) const {
    double v = t / (d / 2);
    if (v < 1) return b + (c / 2) * v * v * v;
    double w = v - 2;
    return b + (c / 2) * (w * w * w + 2);
}

double KivoElasticIn::ease(double t, double b, double c, double d) const {
    if (t == 0) return b;
    double u = t / d;
    if (u == 1) return b + c;
    double p = 0.3 * d, s = p / 4;
    return b - c * std::pow(2, 10 * (u - 1)) * std::sin(((u - 1) * d - s) * 2 * Pi / p);
}
double KivoElasticOut::ease(double t, double b, double c, double d) const {
    if (t == 0) return b;
    double u = t / d;
    if (u == 1) return b + c;
    double p = 0.3 * d, s = p / 4;
    return b + c + c * std::pow(2, -10 * u) * std::sin((u * d - s) * 2 * Pi / p);
}
double KivoElasticInOut::ease(double t, double b, double c, double d) const {
    if (t == 0) return b;
    double v = t / (d / 2);
    if (v == 2) return b + c;
    double p = 0.3 * 1.5 * d, s = p / 4, w = v - 1;
    if (v < 1) return b - (c / 2) * std::pow(2, 10 * w) * std::sin((w * d - s) * 2 * Pi / p);
    return b + c + (c / 2) * std::pow(2, -10 * w) * std::sin((w * d - s) * 2 * Pi / p);
}

double KivoExpoIn::ease(double t, double b, double c, double d) const {
    return t == 0 ? b : b + c * std::pow(2, 10 * (t / d - 1));
}
double KivoExpoOut::ease(double t, double b, double c, double d) const {
    return t == d ? b + c : b + c * (1 - std::pow(2, -10 * t / d));
}
double KivoExpoInOut::ease(double t, double b, double c, double d) const {
    if (t == 0) return b;
    if (t == d) return b + c;
    double v = t / (d / 2);
    if (v < 1) return b + (c / 2) * std::pow(2, 10 * (v - 1));
    return b + (c / 2) * (2 - std::pow(2, -10 * (v - 1)));
}

double KivoLinearIn::ease(double t, double b, double c, double d) const { return b + c * t / d; }
double KivoLinearOut::ease(double t, double b, double c, double d) const { return b + c * t / d; }
double KivoLinearInOut::ease(double t, double b, double c, double d) const { return b + c * t / d; }

double KivoQuadIn::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b + c * u * u;
}
double KivoQuadOut::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b - c * u * (u - 2);
}
double KivoQuadInOut::ease(double t, double b, double c, double d) const {
    double v = t / (d / 2);
    if (v < 1) return b + (c / 2) * v * v;
    double w = v - 1;
    return b - (c / 2) * (w * (w - 2) - 1);
}

double KivoQuartIn::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b + c * u * u * u * u;
}
double KivoQuartOut::ease(double t, double b, double c, double d) const {
    double w = t / d - 1;
    return b - c * (w * w * w * w - 1);
}
double KivoQuartInOut::ease(double t, double b, double c, double d) const {
    double v = t / (d / 2);
    if (v < 1) return b + (c / 2) * v * v * v * v;
    double w = v - 2;
    return b - (c / 2) * (w * w * w * w - 2);
}

double KivoQuintIn::ease(double t, double b, double c, double d) const {
    double u = t / d;
    return b + c * u * u * u * u * u;
}
double KivoQuintOut::ease(double t, double b, double c, double d) const {
    double w = t / d - 1;
    return b + c * (w * w * w * w * w + 1);
}
double KivoQuintInOut::ease(double t, double b, double c, double d) const {
    double v = t / (d / 2);
    if (v < 1) return b + (c / 2) * v * v * v * v * v;
    double w = v - 2;
    return b + (c / 2) * (w * w * w * w * w + 2);
}

double KivoSineIn::ease(double t, double b, double c, double d) const { return b + c - c * std::cos(t / d * (Pi / 2)); }
double KivoSineOut::ease(double t, double b, double c, double d) const { return b + c * std::sin(t / d * (Pi / 2)); }
double KivoSineInOut::ease(double t, double b, double c, double d) const { return b - (c / 2) * (std::cos(Pi * t / d) - 1); }
