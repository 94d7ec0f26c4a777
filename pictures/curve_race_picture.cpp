// The race of a given curve, as an animated SVG (SMIL, no script), made as
// the program's race is (race_parts): each bead's centre moves linearly
// between key moments of its exact motion, every 0.01 s and at each node,
// arrival, stop and return.
//
// The view: the box around the three tracks (the curve's nodes, the line,
// the cycloid down to its lowest point where it dips below the end, and
// the start) scaled alike in x and y to fill the 600 x 400 frame as far as
// it can, centred in it.

#include "curve_race_picture.h"

#include "chart_parts.h"
#include "race_parts.h"
#include "same_math.h"
#include "svg_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

const PictureColour BEAD_COLOUR[CURVE_RACE_BEADS] = {POLYLINE_COLOUR, BRACHISTOCHRONE_GREEN,
                                                     CHORD_GREY};
const TrackStroke BEAD_STROKE[CURVE_RACE_BEADS] = {THICK_STROKE, DASHED_STROKE, PLAIN_STROKE};
// Drawn line, curve, cycloid, as the program's race draws chord, polyline
// and brachistochrone: each bead rings the ones drawn after it.
const int DRAWN[CURVE_RACE_BEADS] = {LINE_BEAD, CURVE_BEAD, CYCLOID_BEAD};
const char *const BEAD_RADIUS[CURVE_RACE_BEADS] = {"6", "4", "8"};
const double FRAME_WIDTH = 600.0, FRAME_HEIGHT = 400.0;
const double MIN_GAP = 1e-4;  // no two fixed moments closer, in real seconds
const int CYCLOID_SAMPLES = 200;
const int PICTURE_WIDTH = 640;

// Model units to the frame's pixels.
struct View {
    double scale, left, top;  // the model point (left, top) at the pixel (0, 0)
};

std::string Px(const View &v, double x, double y)
{
    return SvgNumber(v.scale * (x - v.left)) + "," + SvgNumber(v.scale * (y - v.top));
}

// A number of a caption, four significant digits: "1.5", "0.0625", "2e+06".
std::string Short(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", v);
    return text;
}

struct Race {
    const LabPolyline &track;
    CurveMotion motion;
    LabCycloid cycloid;
    double endX, endY;
    double arrival[CURVE_RACE_BEADS];  // infinite for the curve's, where it never arrives
};

ModelPoint PositionAt(const Race &r, int bead, double t)
{
    switch (bead) {
    case CURVE_BEAD:
        return CurvePositionAt(r.track, r.motion, t);
    case CYCLOID_BEAD:
        return CycloidPositionAt(r.cycloid, r.endX, r.endY, t);
    default:
        return StraightLinePositionAt(r.endX, r.endY, t);
    }
}

// The box of the three tracks, and the view that fits it in the frame.
View ViewOf(const Race &r)
{
    double left = 0.0, right = r.endX, top = 0.0, bottom = r.endY;
    for (std::size_t k = 0; k < r.track.x.size(); ++k) {
        left = std::min(left, r.track.x[k]);
        right = std::max(right, r.track.x[k]);
        top = std::min(top, r.track.y[k]);
        bottom = std::max(bottom, r.track.y[k]);
    }
    // The cycloid's lowest point, 2 R down, is on it where theta passes pi.
    if (r.cycloid.theta > 3.141592653589793)
        bottom = std::max(bottom, 2.0 * r.cycloid.radius);
    const double width = right - left, height = bottom - top;
    double scale = FRAME_HEIGHT / height;
    if (width > 0.0)
        scale = std::min(scale, FRAME_WIDTH / width);
    return {scale, left - (FRAME_WIDTH / scale - width) / 2.0,
            top - (FRAME_HEIGHT / scale - height) / 2.0};
}

std::string TrackPoints(const Race &r, const View &v, int bead)
{
    std::string points;
    if (bead == CURVE_BEAD) {
        // A node within a quarter of a pixel of the last one drawn is left
        // out (the last node never is): a million nodes draw as a few
        // thousand points.
        const std::size_t last = r.track.x.size() - 1;
        double lastX = 0.0, lastY = 0.0;
        for (std::size_t k = 0; k <= last; ++k) {
            const double x = v.scale * (r.track.x[k] - v.left), y = v.scale * (r.track.y[k] - v.top);
            if (k > 0 && k < last && (x - lastX) * (x - lastX) + (y - lastY) * (y - lastY) < 0.0625)
                continue;
            points += (k ? " " : "") + Px(v, r.track.x[k], r.track.y[k]);
            lastX = x;
            lastY = y;
        }
    } else if (bead == LINE_BEAD || r.cycloid.radius == 0.0) {
        points = Px(v, 0.0, 0.0) + " " + Px(v, r.endX, r.endY);
    } else {
        for (int n = 0; n <= CYCLOID_SAMPLES; ++n) {
            double theta = r.cycloid.theta * n / CYCLOID_SAMPLES;
            points += (n ? " " : "") + Px(v, r.cycloid.radius * (theta - SameSin(theta)),
                                          r.cycloid.radius * (1.0 - SameCos(theta)));
        }
    }
    return points;
}

// The moments at which the curve's bead passes its nodes going forward and,
// where it turns, coming back, ascending and at least MIN_GAP apart (so
// that a curve of very many nodes gives no more of them than its time
// allows; between moments that close a jump in the velocity at a node
// moves the line between them a negligible way), up to `until`: once
// where it arrives, every period where it stops and slides back.
std::vector<double> CurveFixedMoments(const Race &r, double until)
{
    const CurveArrival &a = r.motion.arrival;
    std::vector<double> period;  // moments within one period, or to the arrival
    auto add = [&period](double t) {
        if (period.empty() || t >= period.back() + MIN_GAP)
            period.push_back(t);
    };
    for (double t : r.motion.nodeTime)
        add(t);
    if (a.arrives) {
        if (period.back() != a.time)
            period.back() = a.time;
        return period;
    }
    if (!a.moves || 2.0 * a.turnTime < MIN_GAP)
        return {0.0};
    // The same nodes on the way back, 2 T - t for each t going forward;
    // none within MIN_GAP of 2 T, where the next period's release stands.
    const std::vector<double> forward = r.motion.nodeTime;
    const double turn = a.turnTime, length = 2.0 * turn;
    add(turn);
    for (std::size_t k = forward.size(); k-- > 0;)
        if (length - forward[k] <= length - MIN_GAP)
            add(length - forward[k]);
    std::vector<double> fixed;
    for (long j = 0; length * j < until; ++j)
        for (double t : period)
            if (length * j + t < until)
                fixed.push_back(length * j + t);
    return fixed;
}

// A bead: at rest at the origin, then along its track until `until` (its
// arrival; for the curve's bead that never arrives, the end of the round),
// then where it is then until the round is over.
SvgElement Bead(const Race &r, const View &v, int bead, int slow, double duration)
{
    double until = r.arrival[bead];
    std::vector<double> fixed = {0.0, until};
    if (bead == CURVE_BEAD) {
        const CurveArrival &a = r.motion.arrival;
        until = a.arrives ? a.time : a.moves ? duration / slow : 0.0;
        fixed = CurveFixedMoments(r, until);
    }
    std::string keyTimes, xs, ys;
    for (double t : RaceMoments(fixed, until)) {
        ModelPoint p = PositionAt(r, bead, t);
        keyTimes += RaceKeyTime(slow * t, duration) + ";";
        xs += SvgNumber(v.scale * (p.x - v.left)) + ";";
        ys += SvgNumber(v.scale * (p.y - v.top)) + ";";
    }
    ModelPoint end = PositionAt(r, bead, until);
    keyTimes += "1";
    xs += SvgNumber(v.scale * (end.x - v.left));
    ys += SvgNumber(v.scale * (end.y - v.top));
    return RaceBead(std::string("bead-") + CURVE_RACE_ID[bead], BEAD_RADIUS[bead],
                    BEAD_COLOUR[bead], keyTimes, xs, ys, duration);
}

// The frame, the start's height across it (dashed: no bead gets above it),
// and the target lines from the start's height and abscissa to the end.
std::vector<SvgElement> FrameAndLevels(const Race &r, const View &v)
{
    const std::string startY = SvgNumber(v.scale * (0.0 - v.top));
    const std::string endX = SvgNumber(v.scale * (r.endX - v.left));
    const std::string endY = SvgNumber(v.scale * (r.endY - v.top));
    const std::string startX = SvgNumber(v.scale * (0.0 - v.left));
    return {SvgEmpty("path")
                .Set("id", "start-level").Set("stroke", Colour(CHORD_GREY))
                .Set("stroke-width", "1").Set("stroke-dasharray", "2 6")
                .Set("d", "M0," + startY + " H" + SvgNumber(FRAME_WIDTH)),
            SvgEmpty("path")
                .Set("id", "target").Set("stroke", Colour(TARGET_YELLOW))
                .Set("d", "M" + endX + "," + startY + " V" + endY + " M" + startX + "," + endY +
                              " H" + endX),
            SvgEmpty("rect")
                .Set("id", "frame").Set("stroke", Colour(INK)).Set("x", "0").Set("y", "0")
                .Set("width", SvgNumber(FRAME_WIDTH)).Set("height", SvgNumber(FRAME_HEIGHT))};
}

} // namespace

const char *const CURVE_RACE_ID[CURVE_RACE_BEADS] = {"curve", "cycloid", "line"};

std::string CurveRacePicture(const LabPolyline &track, int slow, const CurveRaceText &text,
                             int width)
{
    const double endX = track.x.back(), endY = track.y.back();
    Race r{track, CurveMotionOf(track), LabCycloidThrough(endX, endY), endX, endY, {}};
    const CurveArrival &fate = r.motion.arrival;
    r.arrival[CURVE_BEAD] = fate.arrives ? fate.time : std::numeric_limits<double>::infinity();
    r.arrival[CYCLOID_BEAD] = r.cycloid.time;
    r.arrival[LINE_BEAD] = StraightLineTime(endX, endY);
    // The round: to the last arrival, or to the curve's bead's return to the
    // start, if later; then the hold.
    double last = std::max(r.arrival[CYCLOID_BEAD], r.arrival[LINE_BEAD]);
    if (fate.arrives)
        last = std::max(last, fate.time);
    else if (fate.moves)
        last = std::max(last, 2.0 * fate.turnTime);
    const double duration = slow * last + RACE_HOLD;
    const View v = ViewOf(r);

    const std::string margin = std::to_string(PICTURE_MARGIN);
    SvgElement race = RaceGroup();
    race.Add(FrameAndLevels(r, v));
    for (int bead : DRAWN)
        race.Add(SvgPolyline(std::string("track-") + CURVE_RACE_ID[bead], BEAD_COLOUR[bead],
                             BEAD_STROKE[bead], TrackPoints(r, v, bead)));
    if (!fate.arrives && fate.moves)
        race.Add(SvgEmpty("circle")
                     .Set("id", "stop").Set("stroke", Colour(POLYLINE_COLOUR))
                     .Set("stroke-width", "1.5").Set("r", "7")
                     .Set("cx", SvgNumber(v.scale * (fate.stopX - v.left)))
                     .Set("cy", SvgNumber(v.scale * (fate.stopY - v.top))));
    for (int bead : DRAWN)
        race.Add(Bead(r, v, bead, slow, duration));

    // One line a bead: its name, and from its arrival on, the time and the
    // place; for the curve's bead that never arrives, from its stop on (at
    // once where it never moves), that it never arrives.
    SvgElement arrivals = SvgGroup("g")
                              .Set("id", "arrivals").Set("font-family", "sans-serif")
                              .Set("font-size", "13");
    for (int bead = 0; bead < CURVE_RACE_BEADS; ++bead) {
        const bool in = bead != CURVE_BEAD || fate.arrives;
        const double shown = in ? r.arrival[bead] : fate.turnTime;
        arrivals.Add(RaceLegendLine(
            CURVE_RACE_ID[bead], text.name[bead], BEAD_COLOUR[bead],
            std::to_string(445 + 20 * bead),
            in ? RaceArrivalText(r.arrival[bead]) : text.neverArrives,
            in ? text.place[RacePlace(r.arrival, CURVE_RACE_BEADS, bead) - 1] : std::string(),
            RaceKeyTime(slow * shown, duration), duration));
    }
    std::string caption =
        slow == 1 ? text.realSpeed : Filled(text.slowed, {{"slow", std::to_string(slow)}});
    arrivals.Add(
        SvgText("text", caption).Set("x", margin).Set("y", "512").Set("fill", Colour(INK)));
    int height = 525;
    if (!fate.arrives) {
        std::string why = fate.moves ? Filled(text.stops, {{"x", Short(fate.stopX)},
                                                           {"time", Decimals(fate.turnTime, 4)}})
                                     : text.neverMoves;
        arrivals.Add(SvgText("text", why)
                         .Set("id", "stops").Set("x", margin).Set("y", "532")
                         .Set("fill", Colour(POLYLINE_COLOUR)));
        height = 545;
    }
    if (IsNarrow(width, PICTURE_WIDTH))
        height = NarrowRace(&race, &arrivals, width);
    return SvgDocument(IsNarrow(width, PICTURE_WIDTH) ? width : PICTURE_WIDTH, height,
                       Filled(text.title, {{"x", Short(endX)}, {"y", Short(endY)}}),
                       {race, arrivals});
}
