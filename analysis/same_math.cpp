// Sine and cosine: x = k pi/2 + r with k the whole number nearest to
// x / (pi/2) and |r| <= pi/4 (a little more where k is rounded), r worked
// out as ((x - k P1) - k P2) - k P3, where P1 and P2 hold 33 bits of pi/2
// and of what is left of it, so that k P1 and k P2 are exact for |k| <
// 2^20, and P3 the next 53 bits. Then the Taylor series of sin r and cos r,
// which at |r| = pi/4 leave out less than (pi/4)^23 / 23! ~ 10^-25 of the
// last terms kept, and the quadrant: sin x is sin r, cos r, -sin r or
// -cos r for k = 0, 1, 2, 3 (mod 4), and cos x the one after it.
//
// The logarithm: x = m 2^e (frexp, exact) with sqrt(1/2) <= m < sqrt(2),
// ln m = 2 (s + s^3/3 + s^5/5 + ...) with s = (m - 1) / (m + 1), |s| <=
// 0.1716, whose terms past s^27/27 are below 10^-21 of it; and e ln 2 as
// e L1 + e L2, L1 ln 2 to 42 bits (e L1 exact) and L2 the next 53.
#include "same_math.h"

#include <cmath>

namespace {

const double HALF_PI_1 = 1.5707963267341256;      // 33 bits
const double HALF_PI_2 = 6.077100506303966e-11;   // the next 33
const double HALF_PI_3 = 2.0222662487959506e-21;  // the next 53
const double TWO_OVER_PI = 0.63661977236758138;
const double LN2_1 = 0.6931471805598903;          // 42 bits
const double LN2_2 = 5.497923018708371e-14;       // the next 53

// The series' coefficients, highest term first: (-1)^j / n! for sin's odd
// n = 21, 19, ..., 3 and cos's even n = 22, 20, ..., 2, each the double
// nearest it (the factorials are exact in doubles up to 22!).
struct Series {
    double sin[10], cos[11];
};

Series MakeSeries()
{
    Series c;
    double factorial[23] = {1.0};
    for (int n = 1; n <= 22; ++n)
        factorial[n] = factorial[n - 1] * n;
    for (int i = 0; i < 10; ++i) {
        const int n = 21 - 2 * i;
        c.sin[i] = ((n - 1) / 2) % 2 ? -1.0 / factorial[n] : 1.0 / factorial[n];
    }
    for (int i = 0; i < 11; ++i) {
        const int n = 22 - 2 * i;
        c.cos[i] = (n / 2) % 2 ? -1.0 / factorial[n] : 1.0 / factorial[n];
    }
    return c;
}

const Series &Coefficients()
{
    static const Series series = MakeSeries();
    return series;
}

// sin r and cos r for |r| <= about pi/4, by Horner's rule on r^2.
double SinSeries(double r)
{
    const double z = r * r;
    double sum = 0.0;
    for (double c : Coefficients().sin)
        sum = c + z * sum;
    return r + r * (z * sum);
}

double CosSeries(double r)
{
    const double z = r * r;
    double sum = 0.0;
    for (double c : Coefficients().cos)
        sum = c + z * sum;
    return 1.0 + z * sum;
}

// r and the quadrant k mod 4 of x.
double Reduced(double x, int *quadrant)
{
    const double k = std::nearbyint(x * TWO_OVER_PI);
    *quadrant = static_cast<int>(static_cast<long long>(k) & 3);
    return ((x - k * HALF_PI_1) - k * HALF_PI_2) - k * HALF_PI_3;
}

} // namespace

double SameSin(double x)
{
    int q;
    const double r = Reduced(x, &q);
    switch (q) {
    case 0: return SinSeries(r);
    case 1: return CosSeries(r);
    case 2: return -SinSeries(r);
    default: return -CosSeries(r);
    }
}

double SameCos(double x)
{
    int q;
    const double r = Reduced(x, &q);
    switch (q) {
    case 0: return CosSeries(r);
    case 1: return -SinSeries(r);
    case 2: return -CosSeries(r);
    default: return SinSeries(r);
    }
}

double SameLog(double x)
{
    int e;
    double m = std::frexp(x, &e);  // 1/2 <= m < 1
    if (m < 0.70710678118654757) {
        m *= 2.0;
        e -= 1;
    }
    const double s = (m - 1.0) / (m + 1.0), z = s * s;
    double sum = 0.0;
    for (int n = 27; n >= 3; n -= 2)
        sum = 1.0 / n + z * sum;  // 1/n as the double nearest it
    const double lnm = 2.0 * s + 2.0 * s * (z * sum);
    return e * LN2_1 + (lnm + e * LN2_2);
}
