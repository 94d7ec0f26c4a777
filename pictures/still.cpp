// The still picture of a run, drawn from a record.
#include "still.h"

#include "svg_parts.h"

#include <cstdio>

namespace {
const int WIDTH = 740;  // the cycloid runs out to x = 691
const int HEIGHT = 500;
}

std::string StillPicture(const CurveStateRecord &record, long steps)
{
    Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);

    std::string polyline = PolylinePoints(record.ShownX);

    std::string cycloid;
    for (int k = 0; k < NODE_COUNT; ++k)
        cycloid += (k ? " " : "") + SvgPoint(record.CycloidPts[k].x, record.CycloidPts[k].y);

    std::string exact = BrachistochronePoints(b);

    char caption[2][300];
    std::snprintf(caption[0], sizeof caption[0],
                  "Red: the polyline after %ld steps (Alpha %.17g), model time %.6f s, "
                  "exact time %.6f s.",
                  steps, record.Alpha, record.FallTime, ExactPolylineTime(record.ShownX));
    std::snprintf(caption[1], sizeof caption[1],
                  "Blue: the cycloid as the window samples it. Green, dashed: the "
                  "brachistochrone through (1, 0.92), %.6f s.",
                  b.time);

    std::string margin = std::to_string(PICTURE_MARGIN);
    std::string svg = SvgStart(WIDTH, HEIGHT, "the polyline after " + std::to_string(steps) +
                                                  " steps");
    svg += "<g transform=\"translate(" + margin + "," + margin +
           ")\" fill=\"none\" stroke-width=\"2\" stroke-linejoin=\"round\">\n";
    svg += SvgFrameAndTarget();
    // The three nearly coincide: the dashed curve goes on top, thinner.
    svg += SvgPolyline("cycloid", "#0096fa", "", cycloid);
    svg += SvgPolyline("polyline", "#ff0000", " stroke-width=\"3\"", polyline);
    svg += SvgPolyline("brachistochrone", "#00a050",
                       " stroke-width=\"1.5\" stroke-dasharray=\"6 6\"", exact);
    svg += "</g>\n";
    svg += "<g font-family=\"sans-serif\" font-size=\"13\" fill=\"black\">\n";
    svg += "  <text x=\"" + margin + "\" y=\"448\">" + caption[0] + "</text>\n";
    svg += "  <text x=\"" + margin + "\" y=\"470\">" + caption[1] + "</text>\n";
    svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}
