// SVG text pieces shared by the pictures.
#include "svg_parts.h"

#include <cmath>
#include <cstdio>

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

std::string SvgStart(int width, int height, const std::string &title)
{
    std::string w = std::to_string(width);
    std::string h = std::to_string(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
           "\" viewBox=\"0 0 " + w + " " + h + "\">\n<title>rodadero-trace: " + title +
           "</title>\n<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";
}

std::string SvgPolyline(const char *id, const char *colour, const char *extra,
                        const std::string &points)
{
    return std::string("  <polyline id=\"") + id + "\" stroke=\"" + colour + "\"" + extra +
           " points=\"" + points + "\"/>\n";
}

std::string PolylinePoints(const double x[NODE_COUNT])
{
    std::string points = SvgPoint(0.0, 0.0);
    for (int k = 1; k < NODE_COUNT; ++k)
        points += " " + SvgPoint(k == NODE_COUNT - 1 ? END_X : x[k], k * DEPTH_STEP);
    return points;
}

std::string SvgFrameAndTarget()
{
    std::string endX = SvgNumber(PICTURE_SCALE * END_X);
    std::string endY = SvgNumber(PICTURE_SCALE * END_DEPTH);
    return "  <path id=\"target\" stroke=\"#d8c800\" d=\"M" + endX + ",0 V" + endY + " M0," +
           endY + " H" + endX + "\"/>\n"
           "  <rect id=\"frame\" stroke=\"black\" x=\"0\" y=\"0\" width=\"600\" height=\"400\"/>\n";
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
