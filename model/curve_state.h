// The one model record of the program and the two operations on it.
//
// Everything the program computes and shows lives in CurveState: the node
// abscissae that the descent improves, the copy of them that is evaluated and
// drawn, the fall time, the reference cycloid and the polyline in pixels.
// Nothing here uses a windowing type, so the model builds and runs anywhere.
#ifndef RODADERO_MODEL_CURVE_STATE_H
#define RODADERO_MODEL_CURVE_STATE_H

#include "geometry.h"

#include <cstdint>

// A cycloid sample in model units: x first, then y.
struct ModelPoint {
    double x;
    double y;
};

// A polyline vertex in client pixels: y first, then x.
struct ScreenPoint {
    double y;
    double x;
};

struct CurveStateRecord {
    double NodeX[NODE_COUNT];        // node abscissae being improved
    double ShownX[NODE_COUNT];       // the copy that is evaluated and drawn
    double FallTime;                 // seconds, fall time of ShownX
    ModelPoint CycloidPts[NODE_COUNT];
    ScreenPoint ScreenPts[NODE_COUNT];
    std::uint32_t ApproxColor;       // polyline colour, red in the low byte
    double Alpha;                    // descent step factor
    std::int32_t AlphaPos;           // scroll-bar position, 1..100
    std::int32_t RunContinuous;      // 0 timed, 1 continuous
};

extern CurveStateRecord CurveState;

// The step factor and its scroll position at program start.
constexpr double ALPHA_START = 0.0001;
constexpr std::int32_t ALPHA_POS_START = 50;

// The scroll positions the dialog offers, and the step factor it sets at
// position p: p x 2.0000000000000003e-6 (0.0001 x 0.02 as the program
// computes it), so that position 50 gives 0.00010000000000000002, not
// ALPHA_START.
const std::int32_t ALPHA_POS_MIN = 1;
const std::int32_t ALPHA_POS_MAX = 100;
const double ALPHA_PER_POSITION = 2.0000000000000003e-6;

double AlphaForPosition(int position);

// The polyline's colour from window creation on: red (in the low byte).
const std::uint32_t POLYLINE_RED = 0x0000FF;

// The record as the program starts: zero everywhere except the step factor
// and its scroll position. CurveState is constant-initialised with it.
constexpr CurveStateRecord RecordAtProgramStart()
{
    CurveStateRecord r = {};
    r.Alpha = ALPHA_START;
    r.AlphaPos = ALPHA_POS_START;
    return r;
}

// What the main window's creation does to the record: the polyline's
// colour, then InitCurves. The window does it once, to CurveState.
void CreateCurvesOn(CurveStateRecord *record);

// The record as the program holds it right after window creation, before
// any step: RecordAtProgramStart, then CreateCurvesOn.
CurveStateRecord RecordAfterWindowCreation();

// The number the window prints for a fall time: whole millionths of a
// second, truncated toward zero (saturating, and 0 for NaN).
std::int32_t PrintedTime(double fallTime);

// Straight chord, display copy, cycloid and the fixed screen depths.
void InitCurves(ScreenPoint points[NODE_COUNT]);

// One gradient evaluated at ShownX, applied 301 times to NodeX, then the
// fall time of ShownX stored in FallTime.
void DescentStep();

// The same two on a record of the caller's, for work that follows several
// runs at once; InitCurves and DescentStep are these on CurveState.
void InitCurvesOn(CurveStateRecord *record, ScreenPoint points[NODE_COUNT]);
void DescentStepOn(CurveStateRecord *record);

// DescentStepOn without its fall time: NodeX and ShownX as it leaves them,
// FallTime as it was. For work that follows the states and needs the time
// of only a few of them (PolylineFallTime of ShownX gives it, bit for bit).
void DescentMoveOn(CurveStateRecord *record);

// Fall time of the polyline with inner abscissae x[1..19] (x[0] and x[20]
// are ignored: the ends are the constants 0 and 1).
double PolylineFallTime(const double x[NODE_COUNT]);

// Gradient of the fall time at x[1..19]; g[1..19] receives it.
void FallTimeGradient(const double x[NODE_COUNT], double g[NODE_COUNT]);

extern const double SegmentTimeFactor[SEGMENT_COUNT];
extern const double GradientFactor[SEGMENT_COUNT];

#endif
