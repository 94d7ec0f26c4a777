// The laboratory's charts, as SVG text: the convergence of a run and the
// refinement table (lab.h), from what the caller hands over.
//
// The convergence chart draws the split of the distance to the cycloid
// rather than the times themselves. On an axis of times the optimiser's
// share (the time less the optimum's) falls under a pixel within a few
// hundred steps, beside a polyline's share that stays put; on a log axis
// of distances it stays in sight all the way down, falling along a line
// whose slope is the method's rate, and the polyline's share (the
// optimum's distance to the cycloid, as large as the optimiser's share
// ever gets near the end) is a level line beside it: where the curve
// crosses that line, the optimiser's share stops being the larger one.
// The curve is "optimiser-share", one point a sample from step 1 on, ending
// at the first sample whose time is not above the optimum's (drawn on the
// axis's floor) or is not finite; the level line is "polyline-share".
//
// The refinement chart: the gap between the optimum of N intervals and the
// cycloid against N, both on log axes, under the rule ("rule-gap") and
// exactly ("exact-gap"), each point a mark; the gaps drawn as their
// magnitudes, the legend saying whether the optimum is above the cycloid
// or below it, and the slope of a least-squares line through the logs of
// the last LAB_FIT_ROWS rows: the order at which the gap closes. Under it,
// the condition number of the Hessian at the optimum against N
// ("condition"), with its slope.
//
// Both charts carry their key figures in their <desc>. The texts come
// from tables the caller hands over, in its language (texts/ makes one for
// each language of the catalogs); "{name}" in a text stands for the value
// of that name.
#ifndef RODADERO_PICTURES_LAB_CHARTS_H
#define RODADERO_PICTURES_LAB_CHARTS_H

#include "lab.h"
#include "lab_still.h"

#include <string>
#include <vector>

// A sample of a run: its step, its time under the problem's rule and the
// same polyline's exact time, seconds.
struct LabCurvePoint {
    long step;
    double time;
    double exactTime;
};

// Which side of the cycloid a gap is on, by the sign of the gaps of a
// series: all above, all below, or some of each.
enum LabGapSide { LAB_ABOVE, LAB_BELOW, LAB_BOTH_SIDES };

struct LabConvergenceText {
    LabProblemWords names;
    std::string title;          // {method}, {intervals}
    std::string stepAxis;
    std::string distanceAxis;
    std::string optimiserShare;  // legend: the curve
    std::string polylineShare;   // legend: the level line; {gap}: its size, {side}
    std::string side[3];         // by LabGapSide: the optimum above or below the cycloid
    std::string summary;        // <desc>: {steps}, {time}, {exact}, {optimum}, {cycloid}
};

struct LabRefinementText {
    LabProblemWords names;
    std::string title;          // {x}, {y}: the end, {layout}, {rule}
    std::string intervalsAxis;
    std::string gapAxis;
    std::string conditionAxis;
    std::string ruleGap;        // legend: {side}, {slope}
    std::string exactGap;       // legend: {side}, {slope}
    std::string condition;      // legend: {slope}
    std::string side[3];        // by LabGapSide
    std::string fit;            // after the legend: {rows}, how many rows the slopes fit
    std::string summary;        // <desc>: {intervals}, {rule}, {exact}, {condition}
};


// `points` of a run of the method named `method` (in the text's language)
// on `problem`, beside the times of its optimum (under its rule) and of the
// cycloid through its end. Both charts are laid out for `width` pixels
// (chart_parts.h: 0 for the desktop's).
std::string LabConvergencePicture(const LabProblem &problem, const std::vector<LabCurvePoint> &points,
                                  double optimumTime, double cycloidTime,
                                  const std::string &method, const LabConvergenceText &text,
                                  int width = 0);

// The refinement table `rows` of `problem` (LabRefinement).
std::string LabRefinementPicture(const LabProblem &problem,
                                 const std::vector<LabRefinementRow> &rows,
                                 const LabRefinementText &text, int width = 0);

#endif
