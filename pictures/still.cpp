// The still picture of a run, drawn from where it ended.
#include "still.h"

#include "svg_parts.h"

#include <cstdio>

namespace {
const int WIDTH = 740;  // the cycloid runs out to x = 691
const int HEIGHT = 500;
}

std::string StillPicture(const RunResult &run)
{
    Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    const CurveStateRecord window = RecordAfterWindowCreation();
    const long steps = run.steps;

    std::string cycloid;
    for (int k = 0; k < NODE_COUNT; ++k)
        cycloid += (k ? " " : "") + SvgPoint(window.CycloidPts[k].x, window.CycloidPts[k].y);

    char caption[2][300];
    std::snprintf(caption[0], sizeof caption[0],
                  "Red: the polyline after %ld steps (Alpha %.17g), model time %.6f s, "
                  "exact time %.6f s.",
                  steps, run.alpha, run.fallTime, ExactPolylineTime(run.shown.data()));
    std::snprintf(caption[1], sizeof caption[1],
                  "Blue: the cycloid as the window samples it. Green, dashed: the "
                  "brachistochrone through (1, 0.92), %.6f s.",
                  b.time);

    std::string margin = std::to_string(PICTURE_MARGIN);
    SvgElement curves = SvgGroup("g")
                            .Set("transform", "translate(" + margin + "," + margin + ")")
                            .Set("fill", "none").Set("stroke-width", "2")
                            .Set("stroke-linejoin", "round");
    curves.Add(SvgFrameAndTarget());
    // The three nearly coincide: the dashed curve goes on top, thinner.
    curves.Add(SvgPolyline("cycloid", CYCLOID_COLOUR, PLAIN_STROKE, cycloid));
    curves.Add(SvgPolyline("polyline", POLYLINE_COLOUR, THICK_STROKE,
                           PolylinePoints(run.shown.data())));
    curves.Add(SvgPolyline("brachistochrone", BRACHISTOCHRONE_GREEN, DASHED_STROKE,
                           BrachistochronePoints(b)));

    SvgElement captions = SvgGroup("g")
                              .Set("font-family", "sans-serif").Set("font-size", "13")
                              .Set("fill", Colour(INK));
    captions.Add(SvgText("text", caption[0]).Set("x", margin).Set("y", "448"));
    captions.Add(SvgText("text", caption[1]).Set("x", margin).Set("y", "470"));

    return SvgDocument(WIDTH, HEIGHT, "the polyline after " + std::to_string(steps) + " steps",
                       {curves, captions});
}
