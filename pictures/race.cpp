// The race of three beads, as an animated SVG (SMIL, no script).
//
// Each bead is a circle whose centre is animated, cx and cy, linearly between
// key moments of its exact motion. The motion of every track has an
// acceleration of at most g (along a straight segment g x drop / length; on
// the cycloid exactly g, turning), so between key moments h real seconds
// apart the straight line between them strays at most g h^2 / 8 from the
// bead: 0.05 px with h = 0.01 s. The polylines turn at their nodes, and there
// the velocity jumps; every node is a key moment, and so is each arrival.

#include "race.h"

#include "chart_parts.h"
#include "svg_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char *const TRACK_COLOUR[RACE_TRACKS] = {"#707070", "#ff0000", "#00a050"};
// Each bead rings the ones drawn after it when they run together.
const char *const BEAD_RADIUS[RACE_TRACKS] = {"8", "6", "4"};
const double RACE_SAMPLE = 0.01;     // real seconds between key moments
const double RACE_MIN_GAP = 1e-4;    // no sample this close to a node or arrival
const double RACE_HOLD = 2.0;        // seconds on the page at the end, all beads in
const int RACE_WIDTH = 640;
const int RACE_HEIGHT = 525;

// The node abscissae of the chord's track, or of the polyline's: the
// record's ShownX.
void TrackX(const CurveStateRecord &record, int track, double x[NODE_COUNT])
{
    if (track == RACE_CHORD)
        Chord(x);
    else
        std::memcpy(x, record.ShownX, sizeof record.ShownX);
}

// Where a track's bead is t real seconds after the release.
ModelPoint RacePositionAt(const CurveStateRecord &record, int track, const Brachistochrone &b,
                          double t)
{
    if (track == RACE_BRACHISTOCHRONE)
        return BrachistochronePositionAt(b, GRAVITY, t);
    double x[NODE_COUNT];
    TrackX(record, track, x);
    return PolylinePositionAt(x, t);
}

// The moments, in real seconds, at which a bead's position is given: every
// RACE_SAMPLE from the release, each node it passes, and its arrival.
std::vector<double> KeyMoments(const CurveStateRecord &record, int track, double arrival)
{
    std::vector<double> fixed;
    fixed.push_back(0.0);
    if (track != RACE_BRACHISTOCHRONE) {
        double x[NODE_COUNT];
        TrackX(record, track, x);
        double t = 0.0;
        for (int k = 0; k < SEGMENT_COUNT - 1; ++k) {
            t += SegmentOf(x, k).time;
            fixed.push_back(t);
        }
    }
    fixed.push_back(arrival);

    std::vector<double> moments = fixed;
    for (long n = 1; n * RACE_SAMPLE < arrival; ++n) {
        double t = n * RACE_SAMPLE;
        bool clear = true;
        for (double f : fixed)
            clear = clear && std::fabs(t - f) >= RACE_MIN_GAP;
        if (clear)
            moments.push_back(t);
    }
    std::sort(moments.begin(), moments.end());
    return moments;
}

std::string KeyTime(double documentTime, double duration)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.7f", documentTime / duration);
    return text;
}

std::string Seconds(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6fs", v);
    return text;
}

// An animation of one attribute that repeats every `duration` seconds.
std::string Animate(const char *attribute, const char *mode, const std::string &keyTimes,
                    const std::string &values, double duration)
{
    return std::string("    <animate attributeName=\"") + attribute + "\" calcMode=\"" + mode +
           "\" dur=\"" + Seconds(duration) + "\" repeatCount=\"indefinite\" keyTimes=\"" +
           keyTimes + "\" values=\"" + values + "\"/>\n";
}

// The bead of one track: at rest at the origin, then along its track, then
// at the end point until the round is over.
std::string Bead(const CurveStateRecord &record, int track, const RaceTimes &times, int slow,
                 double duration)
{
    double arrival = times.arrival[track];
    std::string keyTimes, xs, ys;
    for (double t : KeyMoments(record, track, arrival)) {
        ModelPoint p = RacePositionAt(record, track, times.brachistochrone, t);
        keyTimes += KeyTime(slow * t, duration) + ";";
        xs += SvgNumber(PICTURE_SCALE * p.x) + ";";
        ys += SvgNumber(PICTURE_SCALE * p.y) + ";";
    }
    ModelPoint end = RacePositionAt(record, track, times.brachistochrone, arrival);
    keyTimes += "1";
    xs += SvgNumber(PICTURE_SCALE * end.x);
    ys += SvgNumber(PICTURE_SCALE * end.y);
    return std::string("  <circle id=\"bead-") + RACE_TRACK_ID[track] + "\" r=\"" +
           BEAD_RADIUS[track] + "\" fill=\"" + TRACK_COLOUR[track] +
           "\" stroke=\"none\" cx=\"0.000\" cy=\"0.000\">\n" +
           Animate("cx", "linear", keyTimes, xs, duration) +
           Animate("cy", "linear", keyTimes, ys, duration) + "  </circle>\n";
}

// 1 for the first to arrive; beads that arrive together share a place.
int PlaceOf(const RaceTimes &times, int track)
{
    int place = 1;
    for (int other = 0; other < RACE_TRACKS; ++other)
        if (times.arrival[other] < times.arrival[track] - 1e-9)
            ++place;
    return place;
}

std::string ArrivalText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f s", seconds);
    return text;
}

} // namespace

const char *const RACE_TRACK_ID[RACE_TRACKS] = {"chord", "polyline", "brachistochrone"};

const RaceText &RaceEnglish()
{
    static const RaceText text = {
        "the chord, the {} and the brachistochrone race",
        "chord",
        "polyline after {} step",
        "polyline after {} steps",
        "brachistochrone",
        {"1st", "2nd", "3rd"},
        "Released together at rest from (0, 0), g = 10; shown at real speed.",
        "Released together at rest from (0, 0), g = 10; shown {} times slower, times in real "
        "seconds.",
    };
    return text;
}

std::string RaceTrackName(int track, long steps, const RaceText &text)
{
    switch (track) {
    case RACE_CHORD:
        return text.chord;
    case RACE_POLYLINE:
        return Filled(steps == 1 ? text.polylineOneStep : text.polylineSteps,
                      {std::to_string(steps)});
    default:
        return text.brachistochrone;
    }
}

RaceTimes RaceArrivals(const CurveStateRecord &record)
{
    RaceTimes times;
    for (int track = RACE_CHORD; track <= RACE_POLYLINE; ++track) {
        double x[NODE_COUNT];
        TrackX(record, track, x);
        times.arrival[track] = ExactPolylineTime(x);
    }
    times.brachistochrone = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    times.arrival[RACE_BRACHISTOCHRONE] = times.brachistochrone.time;
    return times;
}

std::string RacePicture(const CurveStateRecord &record, long steps, int slow,
                        const RaceText &text)
{
    RaceTimes times = RaceArrivals(record);
    double last = *std::max_element(times.arrival, times.arrival + RACE_TRACKS);
    double duration = slow * last + RACE_HOLD;

    std::string trackPoints[RACE_TRACKS];
    for (int track = RACE_CHORD; track <= RACE_POLYLINE; ++track) {
        double x[NODE_COUNT];
        TrackX(record, track, x);
        trackPoints[track] = PolylinePoints(x);
    }

    std::string svg = SvgStart(RACE_WIDTH, RACE_HEIGHT,
                               SvgEscaped(Filled(text.title,
                                                 {RaceTrackName(RACE_POLYLINE, steps, text)})));
    svg += "<g id=\"race\" transform=\"translate(" + std::to_string(PICTURE_MARGIN) + "," +
           std::to_string(PICTURE_MARGIN) +
           ")\" fill=\"none\" stroke-width=\"2\" stroke-linejoin=\"round\">\n";
    svg += SvgFrameAndTarget();
    svg += SvgPolyline("track-chord", TRACK_COLOUR[RACE_CHORD], "", trackPoints[RACE_CHORD]);
    svg += SvgPolyline("track-polyline", TRACK_COLOUR[RACE_POLYLINE], " stroke-width=\"3\"",
                    trackPoints[RACE_POLYLINE]);
    svg += SvgPolyline("track-brachistochrone", TRACK_COLOUR[RACE_BRACHISTOCHRONE],
                    " stroke-width=\"1.5\" stroke-dasharray=\"6 6\"",
                    BrachistochronePoints(times.brachistochrone));
    for (int track = 0; track < RACE_TRACKS; ++track)
        svg += Bead(record, track, times, slow, duration);
    svg += "</g>\n";

    // One line a track: its name, and from its bead's arrival on, the time
    // and the place.
    svg += "<g id=\"arrivals\" font-family=\"sans-serif\" font-size=\"13\">\n";
    for (int track = 0; track < RACE_TRACKS; ++track) {
        std::string y = std::to_string(445 + 20 * track);
        std::string colour = TRACK_COLOUR[track];
        std::string shown = Animate("visibility", "discrete",
                                    "0;" + KeyTime(slow * times.arrival[track], duration),
                                    "hidden;visible", duration);
        svg += "  <text id=\"name-" + std::string(RACE_TRACK_ID[track]) + "\" x=\"" +
               std::to_string(PICTURE_MARGIN) + "\" y=\"" + y + "\" fill=\"" + colour + "\">" +
               SvgEscaped(RaceTrackName(track, steps, text)) + "</text>\n";
        svg += "  <text id=\"arrival-" + std::string(RACE_TRACK_ID[track]) + "\" x=\"260\" y=\"" + y +
               "\" fill=\"" + colour + "\">" + ArrivalText(times.arrival[track]) + "\n" + shown +
               "  </text>\n";
        svg += "  <text id=\"place-" + std::string(RACE_TRACK_ID[track]) + "\" x=\"330\" y=\"" + y +
               "\" fill=\"" + colour + "\">" + SvgEscaped(text.place[PlaceOf(times, track) - 1]) +
               "\n" + shown + "  </text>\n";
    }
    std::string caption =
        slow == 1 ? text.realSpeed : Filled(text.slowed, {std::to_string(slow)});
    svg += "  <text x=\"" + std::to_string(PICTURE_MARGIN) + "\" y=\"512\" fill=\"black\">" +
           SvgEscaped(caption) + "</text>\n";
    svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

