// The methods' limits and best settings.
#include "method_theory.h"

#include <cmath>
#include <complex>

namespace {

double PositionOfStep(double h)
{
    return h / (300.0 * ALPHA_PER_POSITION);
}

long StepsToMillionth(double rate)
{
    return static_cast<long>(std::ceil(std::log(1e-6) / std::log(rate)));
}

// The larger modulus of the roots of z^2 - b z + c.
double LargerRoot(double b, double c)
{
    std::complex<double> d = std::sqrt(std::complex<double>(b * b - 4.0 * c, 0.0));
    return std::fmax(std::abs((b + d) / 2.0), std::abs((b - d) / 2.0));
}

// The program's step along eigenvalue lambda at step factor a:
// z^2 - (1 - 300 a lambda) z + a lambda (stability.h).
double ProgramRate(double a, const StabilityFigures &f)
{
    return std::fmax(LargerRoot(1.0 - 300.0 * a * f.lambdaMax, a * f.lambdaMax),
                     LargerRoot(1.0 - 300.0 * a * f.lambdaMin, a * f.lambdaMin));
}

} // namespace

MethodTheory TheoryOfMethod(Method method, double beta, const StabilityFigures &f)
{
    MethodTheory t;
    t.method = method;
    t.beta = method == METHOD_GRADIENT ? 0.0 : beta;
    t.lambdaMax = f.lambdaMax;
    t.lambdaMin = f.lambdaMin;
    const double kappa = f.lambdaMax / f.lambdaMin;
    const double rootMax = std::sqrt(f.lambdaMax), rootMin = std::sqrt(f.lambdaMin);
    switch (method) {
    case METHOD_HEAVY_BALL: {
        t.positionLimit = PositionOfStep(2.0 * (1.0 + beta) / f.lambdaMax);
        double sum = rootMax + rootMin;
        t.bestPosition = PositionOfStep(4.0 / (sum * sum));
        t.bestRate = (std::sqrt(kappa) - 1.0) / (std::sqrt(kappa) + 1.0);
        t.bestBeta = t.bestRate * t.bestRate;
        break;
    }
    case METHOD_NESTEROV: {
        t.positionLimit = PositionOfStep(2.0 * (1.0 + beta) / ((1.0 + 2.0 * beta) * f.lambdaMax));
        double root = std::sqrt(3.0 * kappa + 1.0);
        t.bestPosition = PositionOfStep(4.0 / (3.0 * f.lambdaMax + f.lambdaMin));
        t.bestBeta = (root - 2.0) / (root + 2.0);
        t.bestRate = 1.0 - 2.0 / root;
        break;
    }
    default:
        t.positionLimit = PositionOfStep(2.0 / f.lambdaMax);
        t.bestPosition = PositionOfStep(2.0 / (f.lambdaMax + f.lambdaMin));
        t.bestBeta = 0.0;
        t.bestRate = (kappa - 1.0) / (kappa + 1.0);
        break;
    }
    t.stepsToMillionth = StepsToMillionth(t.bestRate);
    return t;
}

MethodSetting BestSetting(Method method, const StabilityFigures &f)
{
    MethodSetting s = {method, 0.0, 0.0};
    switch (method) {
    case METHOD_PROGRAM: {
        double best = 2.0;
        for (int p = ALPHA_POS_MIN; p <= ALPHA_POS_MAX; ++p) {
            double rate = ProgramRate(AlphaForPosition(p), f);
            if (rate < best) {
                best = rate;
                s.position = p;
            }
        }
        break;
    }
    case METHOD_GRADIENT:
    case METHOD_HEAVY_BALL:
    case METHOD_NESTEROV: {
        MethodTheory t = TheoryOfMethod(method, 0.0, f);
        s.position = t.bestPosition;
        s.beta = t.bestBeta;
        break;
    }
    case METHOD_NEWTON:
    case METHOD_COUNT:
        s.position = 0.0;
        break;
    }
    return s;
}

std::vector<MethodSetting> ComparedSettings(const StabilityFigures &f,
                                            std::optional<double> position,
                                            std::optional<double> beta)
{
    std::vector<MethodSetting> settings;
    for (int m = 0; m < METHOD_COUNT; ++m) {
        Method method = static_cast<Method>(m);
        MethodSetting s = BestSetting(method, f);
        if (position && method != METHOD_NEWTON &&
            (method != METHOD_PROGRAM || *position <= ALPHA_POS_MAX))
            s.position = *position;
        if (beta && MethodHasBeta(method))
            s.beta = *beta;
        settings.push_back(s);
    }
    return settings;
}
