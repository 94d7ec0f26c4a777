// The exact motion of a bead on a polyline of any shape, and of its rivals
// on the cycloid and the straight line through the same end.
#include "curve_race.h"

#include "same_math.h"

#include <algorithm>
#include <cmath>

namespace {

// The speed at depth y >= 0 of a bead released at rest from depth 0.
double SpeedAt(double y)
{
    return std::sqrt(2.0 * LAB_GRAVITY * y);
}

// The fraction of a segment from depth a > 0 up to depth b <= 0 at which
// the depth is 0: the depth falls linearly along it, a + f (b - a) = 0.
double StopFraction(double a, double b)
{
    return b == 0.0 ? 1.0 : a / (a - b);
}

// The point a fraction f of the way along segment k; its ends exactly.
ModelPoint AlongSegment(const LabPolyline &p, std::size_t k, double f)
{
    if (f <= 0.0)
        return {p.x[k], p.y[k]};
    if (f >= 1.0)
        return {p.x[k + 1], p.y[k + 1]};
    return {p.x[k] + f * (p.x[k + 1] - p.x[k]), p.y[k] + f * (p.y[k + 1] - p.y[k])};
}

// Where the bead is u seconds after its release, going forward: u at most
// its arrival or its turn time. Segment k, entered at depth a with speed va
// at the time nodeTime[k], has the constant acceleration g dy / L, so tau
// seconds in it has gone s = tau (va + g dy tau / (2 L)) along it.
ModelPoint ForwardPositionAt(const LabPolyline &p, const CurveMotion &m, double u)
{
    const std::vector<double> &times = m.nodeTime;
    if (u <= 0.0)
        return {p.x[0], p.y[0]};
    const std::size_t last = times.size() - 1;
    const std::size_t k = static_cast<std::size_t>(
        std::upper_bound(times.begin(), times.end(), u) - times.begin() - 1);
    const bool stopping = k == last && !m.arrival.arrives;
    if (k == last && !stopping)
        return {p.x[last], p.y[last]};
    if (stopping && u >= m.arrival.turnTime)
        return {m.arrival.stopX, m.arrival.stopY};
    const double dx = p.x[k + 1] - p.x[k], dy = p.y[k + 1] - p.y[k];
    const double length = std::sqrt(dx * dx + dy * dy);
    const double tau = u - times[k];
    const double s = tau * (SpeedAt(p.y[k]) + LAB_GRAVITY * dy * tau / (2.0 * length));
    double f = s / length;
    if (stopping)
        f = std::min(f, StopFraction(p.y[k], p.y[k + 1]));
    return AlongSegment(p, k, f);
}

} // namespace

// Segment by segment from the start, each node's time the one before plus
// the segment's 2 L / (va + vb). A segment of zero length takes no time and
// changes nothing. A bead at rest at the start's height (at the start, or
// at a node it came up to) goes on only down a descending segment; a
// segment that climbs above the start's height stops it where the depth is
// 0, 2 d / va after it entered, d the length up to there (the mean speed on
// the way there is va / 2).
CurveMotion CurveMotionOf(const LabPolyline &track)
{
    CurveMotion m;
    m.arrival = {false, 0.0, true, 0, 0.0, 0.0, 0.0};
    m.nodeTime.assign(1, 0.0);
    const std::size_t n = track.x.size();
    double t = 0.0;
    long climbed = -1;  // the last segment of nonzero length the bead went along
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const double dx = track.x[k + 1] - track.x[k], dy = track.y[k + 1] - track.y[k];
        const double length = std::sqrt(dx * dx + dy * dy);
        const double a = track.y[k], b = track.y[k + 1];
        if (length == 0.0) {
            m.nodeTime.push_back(t);
            continue;
        }
        if (a <= 0.0 && !(dy > 0.0)) {
            // At rest at the start's height, and the way on does not go down.
            if (climbed < 0) {
                m.arrival = {false, 0.0, false, 0, track.x[0], track.y[0], 0.0};
            } else {
                m.arrival = {false, 0.0, true, climbed, track.x[k], 0.0, t};
                m.nodeTime.resize(static_cast<std::size_t>(climbed) + 1);
            }
            return m;
        }
        if (b < 0.0) {
            const double f = StopFraction(a, b);
            const ModelPoint stop = AlongSegment(track, k, f);
            m.arrival = {false, 0.0, true, static_cast<long>(k), stop.x, 0.0,
                         t + 2.0 * (f * length) / SpeedAt(a)};
            return m;
        }
        t += 2.0 * length / (SpeedAt(a) + SpeedAt(b));
        m.nodeTime.push_back(t);
        climbed = static_cast<long>(k);
    }
    m.arrival.arrives = true;
    m.arrival.time = t;
    return m;
}

CurveArrival CurveArrivalOf(const LabPolyline &track)
{
    return CurveMotionOf(track).arrival;
}

// On a curve it cannot get past, the bead's motion repeats every 2 T (T
// the turn time), and in each period the second half is the first run
// backwards: at u in [T, 2 T] it is where it was at 2 T - u.
ModelPoint CurvePositionAt(const LabPolyline &track, const CurveMotion &motion, double t)
{
    const CurveArrival &a = motion.arrival;
    if (!a.moves || t <= 0.0)
        return {track.x[0], track.y[0]};
    if (a.arrives)
        return t >= a.time ? ModelPoint{track.x.back(), track.y.back()}
                           : ForwardPositionAt(track, motion, t);
    const double period = 2.0 * a.turnTime;
    double u = std::fmod(t, period);
    if (u > a.turnTime)
        u = period - u;
    return ForwardPositionAt(track, motion, u);
}

ModelPoint CurvePositionAt(const LabPolyline &track, double t)
{
    return CurvePositionAt(track, CurveMotionOf(track), t);
}

ModelPoint CycloidPositionAt(const LabCycloid &cycloid, double endX, double endY, double t)
{
    if (t <= 0.0)
        return {0.0, 0.0};
    if (t >= cycloid.time)
        return {endX, endY};
    if (cycloid.radius == 0.0)
        return {0.0, LAB_GRAVITY * t * t / 2.0};
    const double theta = t * std::sqrt(LAB_GRAVITY / cycloid.radius);
    return {cycloid.radius * (theta - SameSin(theta)), cycloid.radius * (1.0 - SameCos(theta))};
}

double StraightLineTime(double endX, double endY)
{
    const double length = std::sqrt(endX * endX + endY * endY);
    return 2.0 * length / (SpeedAt(0.0) + SpeedAt(endY));
}

ModelPoint StraightLinePositionAt(double endX, double endY, double t)
{
    if (t <= 0.0)
        return {0.0, 0.0};
    if (t >= StraightLineTime(endX, endY))
        return {endX, endY};
    const double length = std::sqrt(endX * endX + endY * endY);
    const double f = LAB_GRAVITY * endY / length * t * t / 2.0 / length;
    return {f * endX, f * endY};
}

CurveRaceTimes CurveRaceTimesOf(const LabPolyline &track)
{
    const double endX = track.x.back(), endY = track.y.back();
    return {CurveArrivalOf(track), LabCycloidThrough(endX, endY).time, StraightLineTime(endX, endY)};
}
