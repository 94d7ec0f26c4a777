// The laboratory's still picture, as SVG text: a state of its problem
// (lab.h) as the caller hands it over. The polyline now ("polyline", red,
// thick), the cycloid through the end ("cycloid", green; through its
// lowest point where it dips below the end), the discrete optimum
// ("optimum", dashed), the start and the end ("start", "end"), the target
// lines through the end, the level of the start and the frame; under them
// a caption with the three times and the split of the distance to the
// cycloid:
//   now - cycloid = (now - optimum) + (optimum - cycloid),
// the optimiser's share and the polyline's, each signed. The times are
// written to a ten-millionth of a second and the shares worked out from
// the times as written, so that the caption adds up digit for digit.
//
// The view keeps the model's proportions (one scale across and down) and
// holds every point drawn, whatever the end and wherever the polyline has
// gone; points that are not finite are left out. A node within a quarter
// of a pixel of the last one drawn is left out too, so that a polyline of
// a million intervals is drawn with a few thousand points.
//
// The texts come from a table the caller hands over, in its language
// (texts/ makes one for each language of the catalogs); "{name}" in a text
// stands for the value of that name.
#ifndef RODADERO_PICTURES_LAB_STILL_H
#define RODADERO_PICTURES_LAB_STILL_H

#include "lab.h"

#include <string>

// The names of the layouts and the time rules, by LabLayout and
// LabTimeRule, as every laboratory picture's table has them.
struct LabProblemWords {
    std::string layout[2];
    std::string rule[2];
};

struct LabStillText {
    LabProblemWords names;
    std::string title;       // {x}, {y}: the end, {intervals}
    std::string subtitle;    // {layout}, {rule}: their names
    std::string nowChord;    // {time}: the polyline before any step
    std::string nowOneStep;  // {steps}, {method}, {time}
    std::string nowSteps;    // {steps}, {method}, {time}
    std::string optimum;     // {intervals}, {time}
    std::string cycloid;     // {time}
    std::string split;       // {total}, {optimiser}, {polyline}: signed seconds
    std::string splitNames;  // what the two shares are
};

// A state of the laboratory: its problem, the polyline now after `steps`
// steps of the method named `method` (in the text's language), the exact
// discrete optimum of the problem and the cycloid through its end; the
// times in seconds under the problem's rule.
struct LabPictureState {
    LabProblem problem;
    LabPolyline now;
    LabPolyline optimum;
    LabCycloid cycloid;
    double timeNow = 0.0;
    double timeOptimum = 0.0;
    long steps = 0;
    std::string method;
};

// Laid out for `width` pixels (chart_parts.h: 0 for the desktop's, 760
// pixels wide).
std::string LabStillPicture(const LabPictureState &state, const LabStillText &text,
                            int width = 0);

#endif
