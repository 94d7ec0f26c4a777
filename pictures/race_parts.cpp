// The pieces of the races, as SVG.
#include "race_parts.h"

#include "chart_parts.h"

#include "svg_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double RACE_SAMPLE = 0.01;   // real seconds between key moments
const double RACE_MIN_GAP = 1e-4;  // no sample this close to a fixed moment

std::string Seconds(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6fs", v);
    return text;
}

} // namespace

SvgElement RaceGroup()
{
    const std::string margin = std::to_string(PICTURE_MARGIN);
    return SvgGroup("g")
        .Set("id", "race")
        .Set("transform", "translate(" + margin + "," + margin + ")")
        .Set("fill", "none").Set("stroke-width", "2")
        .Set("stroke-linejoin", "round");
}

std::vector<double> RaceMoments(const std::vector<double> &fixed, double until)
{
    std::vector<double> samples;
    std::size_t next = 0;  // the first fixed moment after the sample
    for (long n = 1; n * RACE_SAMPLE < until; ++n) {
        double t = n * RACE_SAMPLE;
        while (next < fixed.size() && fixed[next] <= t)
            ++next;
        bool clear = (next == 0 || t - fixed[next - 1] >= RACE_MIN_GAP) &&
                     (next == fixed.size() || fixed[next] - t >= RACE_MIN_GAP);
        if (clear)
            samples.push_back(t);
    }
    std::vector<double> moments(fixed.size() + samples.size());
    std::merge(fixed.begin(), fixed.end(), samples.begin(), samples.end(), moments.begin());
    return moments;
}

std::string RaceKeyTime(double documentTime, double duration)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.7f", documentTime / duration);
    return text;
}

SvgElement RaceAnimate(const char *attribute, const char *mode, const std::string &keyTimes,
                       const std::string &values, double duration)
{
    return SvgEmpty("animate")
        .Set("attributeName", attribute).Set("calcMode", mode).Set("dur", Seconds(duration))
        .Set("repeatCount", "indefinite").Set("keyTimes", keyTimes).Set("values", values);
}

SvgElement RaceBead(const std::string &id, const char *radius, PictureColour colour,
                    const std::string &keyTimes, const std::string &xs, const std::string &ys,
                    double duration)
{
    return SvgGroup("circle")
        .Set("id", id).Set("r", radius).Set("fill", Colour(colour)).Set("stroke", "none")
        .Set("cx", "0.000").Set("cy", "0.000")
        .Add(RaceAnimate("cx", "linear", keyTimes, xs, duration))
        .Add(RaceAnimate("cy", "linear", keyTimes, ys, duration));
}

int RacePlace(const double *arrival, int beads, int bead)
{
    int place = 1;
    for (int other = 0; other < beads; ++other)
        if (arrival[other] < arrival[bead] - 1e-9)
            ++place;
    return place;
}

std::string RaceArrivalText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f s", seconds);
    return text;
}

std::vector<SvgElement> RaceLegendLine(const std::string &id, const std::string &name,
                                       PictureColour colour, const std::string &y,
                                       const std::string &arrival, const std::string &place,
                                       const std::string &shownAt, double duration)
{
    const std::string margin = std::to_string(PICTURE_MARGIN);
    const std::string fill = Colour(colour);
    SvgElement shown = RaceAnimate("visibility", "discrete", "0;" + shownAt, "hidden;visible",
                                   duration);
    std::vector<SvgElement> line;
    line.push_back(SvgText("text", name)
                       .Set("id", "name-" + id).Set("x", margin).Set("y", y).Set("fill", fill));
    SvgElement time = SvgText("text", arrival)
                          .Set("id", "arrival-" + id).Set("x", "260").Set("y", y)
                          .Set("fill", fill)
                          .Add(shown);
    // The text, then its animation on a line of its own.
    time.layout = SVG_LINES;
    line.push_back(time);
    if (!place.empty()) {
        SvgElement ranked = SvgText("text", place)
                                .Set("id", "place-" + id).Set("x", "330").Set("y", y)
                                .Set("fill", fill)
                                .Add(shown);
        ranked.layout = SVG_LINES;
        line.push_back(ranked);
    }
    return line;
}

namespace {

// The element with its attribute `name` set to `value`, in its place.
void Reset(SvgElement *e, const std::string &name, const std::string &value)
{
    for (SvgAttribute &a : e->attributes)
        if (a.name == name)
            a.value = value;
}

std::string AttributeOf(const SvgElement &e, const std::string &name)
{
    for (const SvgAttribute &a : e.attributes)
        if (a.name == name)
            return a.value;
    return "";
}

} // namespace

int NarrowRace(SvgElement *race, SvgElement *arrivals, int width)
{
    const double frameWidth = 600.0, frameHeight = 400.0;
    const double scale = (width - 2 * NARROW_EDGE) / frameWidth;
    Reset(race, "transform", "translate(" + SvgNumber(NARROW_EDGE) + "," + SvgNumber(NARROW_EDGE) +
                                 ") scale(" + SvgNumber(scale) + ")");
    double y = NARROW_EDGE + scale * frameHeight + 8;
    std::vector<SvgElement> lines;
    for (SvgElement &line : arrivals->children) {
        std::string id = AttributeOf(line, "id");
        if (id.rfind("arrival-", 0) == 0 || id.rfind("place-", 0) == 0) {
            Reset(&line, "x", SvgNumber(id[0] == 'a' ? NARROW_EDGE : NARROW_EDGE + 90));
            Reset(&line, "y", SvgNumber(y + 17));
            lines.push_back(line);
            continue;
        }
        // A name or a caption, its text in lines at 13 pixels.
        y += id.rfind("name-", 0) == 0 ? 26 : 36;
        std::vector<std::string> words = WrappedLines(line.text, width - 2 * NARROW_EDGE, 13.0);
        for (std::size_t i = 0; i < words.size(); ++i) {
            SvgElement part = line;
            part.text = words[i];
            if (i > 0) {
                y += 17;
                Reset(&part, "id", id + "-" + std::to_string(i));
            }
            Reset(&part, "x", SvgNumber(NARROW_EDGE));
            Reset(&part, "y", SvgNumber(y));
            lines.push_back(part);
        }
    }
    arrivals->children = lines;
    return static_cast<int>(y + 14);
}
