// SVG pieces shared by the pictures.
#include "svg_parts.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace {
const int BRACHISTOCHRONE_SAMPLES = 200;
}

std::string SvgNumber(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string SvgPoint(double x, double y)
{
    return SvgNumber(PICTURE_SCALE * x) + "," + SvgNumber(PICTURE_SCALE * y);
}

std::string SvgDocument(int width, int height, const std::string &title,
                        std::vector<SvgElement> body)
{
    std::string w = std::to_string(width);
    std::string h = std::to_string(height);
    SvgElement svg = SvgGroup("svg", SVG_FLAT_LINES)
                         .Set("xmlns", "http://www.w3.org/2000/svg").Set("width", w)
                         .Set("height", h).Set("viewBox", "0 0 " + w + " " + h);
    svg.Add(SvgText("title", "rodadero-trace: " + title));
    svg.Add(SvgEmpty("rect").Set("width", w).Set("height", h).Set("fill", Colour(PAPER)));
    svg.Add(std::move(body));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + SvgWritten(svg);
}

SvgElement SvgPolyline(const std::string &id, PictureColour colour, TrackStroke stroke,
                       const std::string &points)
{
    SvgElement line = SvgEmpty("polyline").Set("id", id).Set("stroke", Colour(colour));
    switch (stroke) {
    case PLAIN_STROKE:
        break;
    case THICK_STROKE:
        line.Set("stroke-width", "3");
        break;
    case DASHED_STROKE:
        line.Set("stroke-width", "1.5").Set("stroke-dasharray", "6 6");
        break;
    }
    return line.Set("points", points);
}

std::string PolylinePoints(const double x[NODE_COUNT])
{
    std::string points = SvgPoint(0.0, 0.0);
    for (int k = 1; k < NODE_COUNT; ++k)
        points += " " + SvgPoint(k == NODE_COUNT - 1 ? END_X : x[k], k * DEPTH_STEP);
    return points;
}

std::vector<SvgElement> SvgFrameAndTarget()
{
    std::string endX = SvgNumber(PICTURE_SCALE * END_X);
    std::string endY = SvgNumber(PICTURE_SCALE * END_DEPTH);
    return {SvgEmpty("path")
                .Set("id", "target").Set("stroke", Colour(TARGET_YELLOW))
                .Set("d", "M" + endX + ",0 V" + endY + " M0," + endY + " H" + endX),
            SvgEmpty("rect")
                .Set("id", "frame").Set("stroke", Colour(INK)).Set("x", "0").Set("y", "0")
                .Set("width", "600").Set("height", "400")};
}

std::string BrachistochronePoints(const Brachistochrone &b)
{
    std::string exact;
    for (int n = 0; n <= BRACHISTOCHRONE_SAMPLES; ++n) {
        double theta = b.endTheta * n / BRACHISTOCHRONE_SAMPLES;
        exact += (n ? " " : "") + SvgPoint(b.radius * (theta - std::sin(theta)),
                                           b.radius * (1.0 - std::cos(theta)));
    }
    return exact;
}
