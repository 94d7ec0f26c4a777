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
#include "race_parts.h"
#include "svg_parts.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const PictureColour TRACK_COLOUR[RACE_TRACKS] = {CHORD_GREY, POLYLINE_COLOUR,
                                                 BRACHISTOCHRONE_GREEN};
const TrackStroke TRACK_STROKE[RACE_TRACKS] = {PLAIN_STROKE, THICK_STROKE, DASHED_STROKE};
// Each bead rings the ones drawn after it when they run together.
const char *const BEAD_RADIUS[RACE_TRACKS] = {"8", "6", "4"};
const int RACE_WIDTH = 640;
const int RACE_HEIGHT = 525;

// The node abscissae of the chord's track, or of the polyline's: the
// run's.
void TrackX(const double *polyline, int track, double x[NODE_COUNT])
{
    if (track == RACE_CHORD)
        Chord(x);
    else
        std::memcpy(x, polyline, NODE_COUNT * sizeof(double));
}

// Where a track's bead is t real seconds after the release.
ModelPoint RacePositionAt(const double *polyline, int track, const Brachistochrone &b,
                          double t)
{
    if (track == RACE_BRACHISTOCHRONE)
        return BrachistochronePositionAt(b, GRAVITY, t);
    double x[NODE_COUNT];
    TrackX(polyline, track, x);
    return PolylinePositionAt(x, t);
}

// The moments, in real seconds, at which a bead's position is given: every
// 0.01 s from the release, each node it passes, and its arrival.
std::vector<double> KeyMoments(const double *polyline, int track, double arrival)
{
    std::vector<double> fixed;
    fixed.push_back(0.0);
    if (track != RACE_BRACHISTOCHRONE) {
        double x[NODE_COUNT];
        TrackX(polyline, track, x);
        double t = 0.0;
        for (int k = 0; k < SEGMENT_COUNT - 1; ++k) {
            t += SegmentOf(x, k).time;
            fixed.push_back(t);
        }
    }
    fixed.push_back(arrival);
    return RaceMoments(fixed, arrival);
}

// The bead of one track: at rest at the origin, then along its track, then
// at the end point until the round is over.
SvgElement Bead(const double *polyline, int track, const RaceTimes &times, int slow,
                double duration)
{
    double arrival = times.arrival[track];
    std::string keyTimes, xs, ys;
    for (double t : KeyMoments(polyline, track, arrival)) {
        ModelPoint p = RacePositionAt(polyline, track, times.brachistochrone, t);
        keyTimes += RaceKeyTime(slow * t, duration) + ";";
        xs += SvgNumber(PICTURE_SCALE * p.x) + ";";
        ys += SvgNumber(PICTURE_SCALE * p.y) + ";";
    }
    ModelPoint end = RacePositionAt(polyline, track, times.brachistochrone, arrival);
    keyTimes += "1";
    xs += SvgNumber(PICTURE_SCALE * end.x);
    ys += SvgNumber(PICTURE_SCALE * end.y);
    return RaceBead(std::string("bead-") + RACE_TRACK_ID[track], BEAD_RADIUS[track],
                    TRACK_COLOUR[track], keyTimes, xs, ys, duration);
}

} // namespace

const char *const RACE_TRACK_ID[RACE_TRACKS] = {"chord", "polyline", "brachistochrone"};

std::string RaceTrackName(int track, long steps, const RaceText &text)
{
    switch (track) {
    case RACE_CHORD:
        return text.chord;
    case RACE_POLYLINE:
        return Filled(steps == 1 ? text.polylineOneStep : text.polylineSteps,
                      {{"steps", std::to_string(steps)}});
    default:
        return text.brachistochrone;
    }
}

RaceTimes RaceArrivals(const RunResult &run)
{
    RaceTimes times;
    for (int track = RACE_CHORD; track <= RACE_POLYLINE; ++track) {
        double x[NODE_COUNT];
        TrackX(run.shown.data(), track, x);
        times.arrival[track] = ExactPolylineTime(x);
    }
    times.brachistochrone = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    times.arrival[RACE_BRACHISTOCHRONE] = times.brachistochrone.time;
    return times;
}

std::string RacePicture(const RunResult &run, int slow, const RaceText &text, int width)
{
    const double *polyline = run.shown.data();
    const long steps = run.steps;
    RaceTimes times = RaceArrivals(run);
    double last = *std::max_element(times.arrival, times.arrival + RACE_TRACKS);
    double duration = slow * last + RACE_HOLD;

    const std::string margin = std::to_string(PICTURE_MARGIN);
    SvgElement race = RaceGroup();
    race.Add(SvgFrameAndTarget());
    for (int track = 0; track < RACE_TRACKS; ++track) {
        std::string points;
        if (track == RACE_BRACHISTOCHRONE) {
            points = BrachistochronePoints(times.brachistochrone);
        } else {
            double x[NODE_COUNT];
            TrackX(polyline, track, x);
            points = PolylinePoints(x);
        }
        race.Add(SvgPolyline(std::string("track-") + RACE_TRACK_ID[track], TRACK_COLOUR[track],
                             TRACK_STROKE[track], points));
    }
    for (int track = 0; track < RACE_TRACKS; ++track)
        race.Add(Bead(polyline, track, times, slow, duration));

    // One line a track: its name, and from its bead's arrival on, the time
    // and the place.
    SvgElement arrivals = SvgGroup("g")
                              .Set("id", "arrivals").Set("font-family", "sans-serif")
                              .Set("font-size", "13");
    for (int track = 0; track < RACE_TRACKS; ++track)
        arrivals.Add(RaceLegendLine(
            RACE_TRACK_ID[track], RaceTrackName(track, steps, text), TRACK_COLOUR[track],
            std::to_string(445 + 20 * track), RaceArrivalText(times.arrival[track]),
            text.place[RacePlace(times.arrival, RACE_TRACKS, track) - 1],
            RaceKeyTime(slow * times.arrival[track], duration), duration));
    std::string caption =
        slow == 1 ? text.realSpeed : Filled(text.slowed, {{"slow", std::to_string(slow)}});
    arrivals.Add(
        SvgText("text", caption).Set("x", margin).Set("y", "512").Set("fill", Colour(INK)));

    int height = RACE_HEIGHT;
    if (IsNarrow(width, RACE_WIDTH))
        height = NarrowRace(&race, &arrivals, width);
    return SvgDocument(IsNarrow(width, RACE_WIDTH) ? width : RACE_WIDTH, height,
                       Filled(text.title, {{"polyline", RaceTrackName(RACE_POLYLINE, steps, text)}}),
                       {race, arrivals});
}
