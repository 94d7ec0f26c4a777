// Bisection to the last bits: on [lo, hi], where `below` holds at lo and
// not at hi, the point where it turns false, halving until the interval
// cannot be split any more.
#ifndef RODADERO_ANALYSIS_BISECT_H
#define RODADERO_ANALYSIS_BISECT_H

template <typename Below>
double Bisect(double lo, double hi, Below below)
{
    for (;;) {
        double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi)
            return mid;
        (below(mid) ? lo : hi) = mid;
    }
}

#endif
