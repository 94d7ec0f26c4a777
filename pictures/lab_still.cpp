// The laboratory's still picture.
#include "lab_still.h"

#include "chart_parts.h"
#include "same_math.h"
#include "svg_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const int WIDTH = 760;
const int HEIGHT = 600;
const ChartPanel FRAME = {30, 66, 730, 446};
const double INSET = 12.0;            // pixels between the frame and what is drawn
const int CYCLOID_SAMPLES = 400;      // in theta, from the start to the end
const double LEAST_GAP = 0.25;        // pixels: a node nearer the last one drawn is left out
const double PI = 3.14159265358979323846;

// The model's box that the picture must hold, and how it is drawn: one
// scale across and down, the box's top-left corner at (left, top).
struct View {
    double minX, maxX, minY, maxY;
    double scale, left, top;
};

void Hold(View *v, double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    v->minX = std::min(v->minX, x);
    v->maxX = std::max(v->maxX, x);
    v->minY = std::min(v->minY, y);
    v->maxY = std::max(v->maxY, y);
}

// The cycloid's points, theta from 0 to its end, with its lowest point
// (theta = pi) among them where it dips below the end; the straight drop
// where the end is right under the start.
void CycloidPoints(const LabCycloid &c, double endY, std::vector<double> *x,
                   std::vector<double> *y)
{
    if (c.theta == 0.0) {
        *x = {0.0, 0.0};
        *y = {0.0, endY};
        return;
    }
    std::vector<double> thetas;
    for (int n = 0; n <= CYCLOID_SAMPLES; ++n)
        thetas.push_back(c.theta * n / CYCLOID_SAMPLES);
    if (c.theta > PI)
        thetas.insert(std::upper_bound(thetas.begin(), thetas.end(), PI), PI);
    for (double theta : thetas) {
        x->push_back(c.radius * (theta - SameSin(theta)));
        y->push_back(c.radius * (1.0 - SameCos(theta)));
    }
}

double PixelX(const View &v, double x)
{
    return v.left + v.scale * (x - v.minX);
}

double PixelY(const View &v, double y)
{
    return v.top + v.scale * (y - v.minY);
}

// The points of a track in pixels, "x,y x,y ...", the finite ones only,
// each at least LEAST_GAP from the last one kept (the last always kept).
std::string TrackPoints(const View &v, const std::vector<double> &x, const std::vector<double> &y)
{
    std::string points;
    double lastX = 0.0, lastY = 0.0;
    std::size_t last = 0;
    for (std::size_t k = 0; k < x.size() && k < y.size(); ++k)
        if (std::isfinite(x[k]) && std::isfinite(y[k]))
            last = k;
    for (std::size_t k = 0; k <= last && k < x.size() && k < y.size(); ++k) {
        if (!std::isfinite(x[k]) || !std::isfinite(y[k]))
            continue;
        double px = PixelX(v, x[k]), py = PixelY(v, y[k]);
        double dx = px - lastX, dy = py - lastY;
        if (!points.empty() && k != last && dx * dx + dy * dy < LEAST_GAP * LEAST_GAP)
            continue;
        points += (points.empty() ? "" : " ") + SvgNumber(px) + "," + SvgNumber(py);
        lastX = px;
        lastY = py;
    }
    return points;
}

// A time in ten-millionths of a second, the way the caption writes it.
bool InUnits(double seconds, long long *units)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e11)
        return false;
    *units = std::llround(seconds * 1e7);
    return true;
}

// Ten-millionths of a second as seconds with seven decimals, signed with
// '+' or '-' when `signed`.
std::string Seconds(long long units, bool withSign)
{
    long long magnitude = units < 0 ? -units : units;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%07lld",
                  units < 0 ? "-" : withSign ? "+" : "", magnitude / 10000000,
                  magnitude % 10000000);
    return text;
}

const char INFINITE[] = "\xE2\x88\x9E";  // the infinity sign

std::string TimeText(double seconds)
{
    long long units;
    return InUnits(seconds, &units) ? Seconds(units, false) : INFINITE;
}

// A: the difference of two times as written, signed.
std::string Difference(double a, double b)
{
    long long ua, ub;
    return InUnits(a, &ua) && InUnits(b, &ub) ? Seconds(ua - ub, true) : INFINITE;
}

// The short sample of the polyline (0), the optimum (1) or the cycloid
// (2) that a caption line starts with, from `left` to `right` at `y`.
SvgElement Sample(int track, double left, double right, double y)
{
    SvgElement line = ChartLine(left, y, right, y);
    if (track == 0)
        return line.Set("stroke", Colour(POLYLINE_COLOUR)).Set("stroke-width", "3");
    if (track == 1)
        return line.Set("stroke", Colour(OPTIMUM_VIOLET)).Set("stroke-width", "1.5")
            .Set("stroke-dasharray", "6 6");
    return line.Set("stroke", Colour(BRACHISTOCHRONE_GREEN)).Set("stroke-width", "2");
}

// A caption line after a short sample of the track it names, the sample
// from `left`.
SvgElement CaptionLine(double left, double y, SvgElement sample, const std::string &text)
{
    return SvgGroup("g", SVG_ONE_LINE)
        .Add(sample)
        .Add(TextAt(left + 34, y + 4, text));
}

} // namespace

std::string LabStillPicture(const LabPictureState &s, const LabStillText &text, int pictureWidth)
{
    const LabProblem &p = s.problem;
    std::vector<double> cycloidX, cycloidY;
    CycloidPoints(s.cycloid, p.endY, &cycloidX, &cycloidY);

    std::string title = Filled(text.title, {{"x", ShortestNumber(p.endX)},
                                            {"y", ShortestNumber(p.endY)},
                                            {"intervals", GroupedDigits(p.intervals)}});
    std::string subtitle = Filled(text.subtitle, {{"layout", text.names.layout[p.layout]},
                                                  {"rule", text.names.rule[p.rule]}});
    const std::string &nowPattern =
        s.steps == 0 ? text.nowChord : s.steps == 1 ? text.nowOneStep : text.nowSteps;
    std::string now = Filled(nowPattern, {{"steps", GroupedDigits(s.steps)},
                                          {"method", s.method},
                                          {"time", TimeText(s.timeNow)}});
    std::string optimum = Filled(text.optimum, {{"intervals", GroupedDigits(p.intervals)},
                                                {"time", TimeText(s.timeOptimum)}});
    std::string cycloid = Filled(text.cycloid, {{"time", TimeText(s.cycloid.time)}});
    std::string split = Filled(text.split, {{"total", Difference(s.timeNow, s.cycloid.time)},
                                            {"optimiser", Difference(s.timeNow, s.timeOptimum)},
                                            {"polyline", Difference(s.timeOptimum, s.cycloid.time)}});

    std::vector<SvgElement> body = {
        ChartStyle(TEXT_RULES),
        SvgText("desc", now + " " + optimum + " " + cycloid + " " + split + " " + text.splitNames)};
    // Narrow: the title and the subtitle in lines as wide as the picture,
    // the frame under them as wide as it, and the captions in lines under
    // the frame.
    const bool narrow = IsNarrow(pictureWidth, WIDTH);
    ChartPanel box = FRAME;
    if (!narrow) {
        body.push_back(ChartTitle(title));
        body.push_back(TextAt(30, 52, subtitle));
    } else {
        double y = 0.0;
        for (SvgElement &line : WrappedTitle(title, pictureWidth, &y))
            body.push_back(std::move(line));
        for (const std::string &line : WrappedLines(subtitle, pictureWidth - 2 * NARROW_EDGE, 12.0)) {
            y += 20;
            body.push_back(TextAt(NARROW_EDGE, y, line));
        }
        double across = pictureWidth - 2 * NARROW_EDGE;
        box = {NARROW_EDGE, y + 14, NARROW_EDGE + across, y + 14 + 0.62 * across};
    }

    View v = {0.0, p.endX, 0.0, p.endY, 1.0, 0.0, 0.0};
    for (const LabPolyline *line : {&s.now, &s.optimum})
        for (std::size_t k = 0; k < line->x.size() && k < line->y.size(); ++k)
            Hold(&v, line->x[k], line->y[k]);
    for (std::size_t k = 0; k < cycloidX.size(); ++k)
        Hold(&v, cycloidX[k], cycloidY[k]);
    const double roomX = box.right - box.left - 2 * INSET;
    const double roomY = box.bottom - box.top - 2 * INSET;
    const double width = v.maxX - v.minX, height = v.maxY - v.minY;
    if (width > 0.0 && height > 0.0)
        v.scale = std::min(roomX / width, roomY / height);
    else if (width > 0.0 || height > 0.0)
        v.scale = width > 0.0 ? roomX / width : roomY / height;
    // Across, the drawing is centred in the frame; down, it hangs from the
    // top as the bead does.
    v.left = box.left + INSET + 0.5 * (roomX - v.scale * width);
    v.top = box.top + INSET;

    const std::string x0 = SvgNumber(PixelX(v, 0.0)), y0 = SvgNumber(PixelY(v, 0.0));
    const std::string xEnd = SvgNumber(PixelX(v, p.endX)), yEnd = SvgNumber(PixelY(v, p.endY));


    SvgElement frame = SvgGroup("g").Set("fill", "none").Set("stroke-width", "1");
    frame.Add(SvgEmpty("rect")
                  .Set("id", "frame").Set("stroke", Colour(INK))
                  .Set("x", SvgNumber(box.left)).Set("y", SvgNumber(box.top))
                  .Set("width", SvgNumber(box.right - box.left))
                  .Set("height", SvgNumber(box.bottom - box.top)));
    // The start's level: no bead released at rest there gets above it.
    frame.Add(ChartLine(box.left, PixelY(v, 0.0), box.right, PixelY(v, 0.0),
                        {{"id", "start-level"}})
                  .Set("stroke", Colour(GRID_GREY)));
    frame.Add(SvgEmpty("path")
                  .Set("id", "target").Set("stroke", Colour(TARGET_YELLOW))
                  .Set("d", "M" + xEnd + "," + y0 + " V" + yEnd + " M" + x0 + "," + yEnd +
                                " H" + xEnd));
    body.push_back(frame);

    // The optimum goes on top, dashed and thinner: the polyline settles on it.
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "2")
                       .Set("stroke-linejoin", "round")
                       .Add(SvgPolyline("cycloid", BRACHISTOCHRONE_GREEN, PLAIN_STROKE,
                                        TrackPoints(v, cycloidX, cycloidY)))
                       .Add(SvgPolyline("polyline", POLYLINE_COLOUR, THICK_STROKE,
                                        TrackPoints(v, s.now.x, s.now.y)))
                       .Add(SvgPolyline("optimum", OPTIMUM_VIOLET, DASHED_STROKE,
                                        TrackPoints(v, s.optimum.x, s.optimum.y))));
    body.push_back(SvgGroup("g")
                       .Set("stroke", Colour(INK)).Set("stroke-width", "1.5")
                       .Add(SvgEmpty("circle").Set("id", "start").Set("cx", x0).Set("cy", y0)
                                .Set("r", "4").Set("fill", Colour(INK)))
                       .Add(SvgEmpty("circle").Set("id", "end").Set("cx", xEnd).Set("cy", yEnd)
                                .Set("r", "4").Set("fill", Colour(TARGET_YELLOW))));

    const double sampleLeft = box.left, sampleRight = box.left + 24;
    const std::string *named[] = {&now, &optimum, &cycloid};
    SvgElement captions = SvgGroup("g").Set("class", "caption");
    int pictureHeight = HEIGHT;
    if (!narrow) {
        const double lines[] = {472, 494, 516, 548, 570};
        for (int i = 0; i < 3; ++i)
            captions.Add(CaptionLine(box.left, lines[i],
                                     Sample(i, sampleLeft, sampleRight, lines[i]),
                                     *named[i]));
        captions.Add(TextAt(box.left, lines[3] + 4, split).Set("id", "split"));
        captions.Add(TextAt(box.left, lines[4] + 4, text.splitNames));
    } else {
        double y = box.bottom + 8;
        const double right = pictureWidth - NARROW_EDGE;
        for (int i = 0; i < 3; ++i) {
            std::vector<std::string> lines = WrappedLines(*named[i], right - box.left - 34, 12.0);
            y += 22;
            captions.Add(CaptionLine(box.left, y,
                                     Sample(i, sampleLeft, sampleRight, y),
                                     lines[0]));
            for (std::size_t k = 1; k < lines.size(); ++k) {
                y += 16;
                captions.Add(TextAt(box.left + 34, y + 4, lines[k]));
            }
        }
        y += 10;
        std::vector<std::string> lines = WrappedLines(split, right - box.left, 12.0);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            y += k == 0 ? 22 : 16;
            SvgElement line = TextAt(box.left, y + 4, lines[k]);
            if (k == 0)
                line.Set("id", "split");
            captions.Add(line);
        }
        for (const std::string &line : WrappedLines(text.splitNames, right - box.left, 12.0)) {
            y += 16;
            captions.Add(TextAt(box.left, y + 4, line));
        }
        pictureHeight = static_cast<int>(y + 18);
    }
    body.push_back(captions);

    return SvgDocument(narrow ? pictureWidth : WIDTH, pictureHeight, title, body);
}
