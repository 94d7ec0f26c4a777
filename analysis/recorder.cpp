// The steps a run keeps.
#include "recorder.h"

#include "kinematics.h"

#include <algorithm>
#include <cmath>

namespace {

const long EVERY_STEP_UP_TO = 100;
// 100 x 10^(j/50) for j = 0..49, to the nearest whole number: 50 steps a
// decade at equal ratios, 1.047 apart.
const int DECADE_STEPS = 50;
const long DECADE_MANTISSA[DECADE_STEPS] = {
    100, 105, 110, 115, 120, 126, 132, 138, 145, 151, 158, 166, 174, 182, 191, 200, 209,
    219, 229, 240, 251, 263, 275, 288, 302, 316, 331, 347, 363, 380, 398, 417, 437, 457,
    479, 501, 525, 550, 575, 603, 631, 661, 692, 724, 759, 794, 832, 871, 912, 955,
};

// The power of ten at or below m (m at least 100).
long DecadeOf(long m)
{
    long decade = EVERY_STEP_UP_TO;
    while (decade <= m / 10)
        decade *= 10;
    return decade;
}

// A step the rule keeps for itself; the step after it is kept too.
bool IsBase(long m)
{
    if (m <= EVERY_STEP_UP_TO)
        return true;
    long scale = DecadeOf(m) / EVERY_STEP_UP_TO;
    for (long mantissa : DECADE_MANTISSA)
        if (mantissa * scale == m)
            return true;
    return false;
}

// A step as the curve keeps it, its exact time still to be found.
RunSample SampleOf(const Recorder &r, const RunStep &s)
{
    return RunSample{s.step, s.fallTime, 0.0, r.settled ? s.fallTime - r.settledTime : 0.0};
}

// The step kept: its polyline put by for its exact time, and the end of a
// comparison once it reaches the settled polyline's time.
void Keep(Recorder *r, const RunStep &s)
{
    r->samples.push_back(SampleOf(*r, s));
    if (r->exactTimes && r->exactTime) {
        r->samples.back().exactS = r->exactTime(s);
    } else if (r->exactTimes) {
        r->nodes = s.nodes;
        r->unsolved.insert(r->unsolved.end(), s.shown, s.shown + s.nodes);
    }
    r->stopped = r->settled && r->samples.back().distance <= 0.0;
}

// Whether the curve keeps `last` when it is the run's last step.
bool KeepsLast(const Recorder &r, const RunStep &last)
{
    return r.curve && !r.stopped && last.step >= 1 && std::isfinite(last.fallTime) &&
           (r.samples.empty() || r.samples.back().step != last.step);
}

} // namespace

long NextSampledStep(long step)
{
    long n = step < 0 ? 1 : step + 1;
    if (n <= EVERY_STEP_UP_TO || IsBase(n - 1))
        return n;
    long decade = DecadeOf(n);
    long scale = decade / EVERY_STEP_UP_TO;
    for (long mantissa : DECADE_MANTISSA)
        if (mantissa * scale >= n)
            return mantissa * scale;
    return 10 * decade;  // the next decade's first
}

Recorder ConvergenceRecorder()
{
    Recorder r;
    r.curve = true;
    r.exactTimes = true;
    return r;
}

Recorder ComparisonRecorder(double settledTime)
{
    Recorder r;
    r.curve = true;
    r.settled = true;
    r.settledTime = settledTime;
    return r;
}

void RecordStep(Recorder *r, const RunStep &s)
{
    r->steps = s.step;
    if (!RecorderLooksAt(*r, s.step))
        return;
    bool row = r->rowEvery > 0 && s.step % r->rowEvery == 0;
    bool sample = r->curve && s.step == r->nextSampled;
    if (sample)
        r->nextSampled = NextSampledStep(s.step);
    if (!std::isfinite(s.fallTime)) {
        r->stopped = true;
        return;
    }
    if (row) {
        r->row(s);
        r->lastRow = s.step;
    }
    if (sample)
        Keep(r, s);
}

void FinishRecording(Recorder *r, const RunStep &last)
{
    r->steps = last.step;
    if (r->stopped)
        return;
    if (!std::isfinite(last.fallTime)) {
        r->stopped = true;
        return;
    }
    if (r->rowEvery > 0 && r->lastRow != last.step) {
        r->row(last);
        r->lastRow = last.step;
    }
    if (KeepsLast(*r, last))
        Keep(r, last);
}

void SolveExactTimes(Recorder *r)
{
    if (r->unsolved.empty())
        return;
    std::size_t nodes = static_cast<std::size_t>(r->nodes);
    std::size_t count = r->unsolved.size() / nodes;
    std::size_t first = r->samples.size() - count;
    for (std::size_t i = 0; i < count; ++i)
        r->samples[first + i].exactS = ExactPolylineTime(&r->unsolved[i * nodes]);
    r->unsolved.clear();
}

std::vector<RunSample> CurveThrough(Recorder *r, const RunStep &last)
{
    SolveExactTimes(r);
    std::vector<RunSample> curve = r->samples;
    if (KeepsLast(*r, last)) {
        curve.push_back(SampleOf(*r, last));
        if (r->exactTimes)
            curve.back().exactS = r->exactTime ? r->exactTime(last) : ExactPolylineTime(last.shown);
    }
    return curve;
}
