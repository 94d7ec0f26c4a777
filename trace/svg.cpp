// The pictures that --svg and --race write, and how they reach their files.
//
// Both use the window's scale, 400 pixels to the model unit, and its
// 600 x 400 frame, but draw the polyline at the model's own depths (the end
// point at (400, 368)), so that it meets the brachistochrone through
// (1, 0.92); the window draws the drop as 366 pixels.
#include "trace.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

const double SCALE = 400.0;  // pixels per model unit
const int MARGIN = 20;
const int WIDTH = 740;       // the cycloid runs out to x = 691
const int HEIGHT = 500;
const int BRACHISTOCHRONE_SAMPLES = 200;

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string Point(double x, double y)
{
    return Number(SCALE * x) + "," + Number(SCALE * y);
}

// The opening of a picture: the XML declaration, the svg element of the
// given size, its title and a white background.
std::string SvgStart(int width, int height, const std::string &title)
{
    std::string w = std::to_string(width);
    std::string h = std::to_string(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
           "\" viewBox=\"0 0 " + w + " " + h + "\">\n<title>rodadero-trace: " + title +
           "</title>\n<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";
}

std::string Polyline(const char *id, const char *colour, const char *extra,
                     const std::string &points)
{
    return std::string("  <polyline id=\"") + id + "\" stroke=\"" + colour + "\"" + extra +
           " points=\"" + points + "\"/>\n";
}

// A polyline with inner abscissae x[1..19] at the model's depths, ends
// (0, 0) and (1, 0.92), in pixels.
std::string PolylinePoints(const double x[NODE_COUNT])
{
    std::string points = Point(0.0, 0.0);
    for (int k = 1; k < NODE_COUNT; ++k)
        points += " " + Point(k == NODE_COUNT - 1 ? END_X : x[k], k * DEPTH_STEP);
    return points;
}

// The target lines through the end point and the window's frame.
std::string FrameAndTarget()
{
    std::string endX = Number(SCALE * END_X);
    std::string endY = Number(SCALE * END_DEPTH);
    return "  <path id=\"target\" stroke=\"#d8c800\" d=\"M" + endX + ",0 V" + endY + " M0," +
           endY + " H" + endX + "\"/>\n"
           "  <rect id=\"frame\" stroke=\"black\" x=\"0\" y=\"0\" width=\"600\" height=\"400\"/>\n";
}

// The brachistochrone through the end point as 201 points, in pixels.
std::string BrachistochronePoints(const Brachistochrone &b)
{
    std::string exact;
    for (int n = 0; n <= BRACHISTOCHRONE_SAMPLES; ++n) {
        double theta = b.endTheta * n / BRACHISTOCHRONE_SAMPLES;
        exact += (n ? " " : "") + Point(b.radius * (theta - std::sin(theta)),
                                        b.radius * (1.0 - std::cos(theta)));
    }
    return exact;
}

} // namespace

std::string SvgPicture(const TraceSummary &summary)
{
    Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);

    std::string polyline = PolylinePoints(CurveState.ShownX);

    std::string cycloid;
    for (int k = 0; k < NODE_COUNT; ++k)
        cycloid += (k ? " " : "") + Point(CurveState.CycloidPts[k].x, CurveState.CycloidPts[k].y);

    std::string exact = BrachistochronePoints(b);

    char caption[2][300];
    std::snprintf(caption[0], sizeof caption[0],
                  "Red: the polyline after %ld steps (Alpha %.17g), model time %.6f s, "
                  "exact time %.6f s.",
                  summary.steps, summary.alpha, summary.modelTime, summary.exactTime);
    std::snprintf(caption[1], sizeof caption[1],
                  "Blue: the cycloid as the window samples it. Green, dashed: the "
                  "brachistochrone through (1, 0.92), %.6f s.",
                  b.time);

    std::string svg = SvgStart(WIDTH, HEIGHT, "the polyline after " +
                                                  std::to_string(summary.steps) + " steps");
    svg += "<g transform=\"translate(" + std::to_string(MARGIN) + "," + std::to_string(MARGIN) +
           ")\" fill=\"none\" stroke-width=\"2\" stroke-linejoin=\"round\">\n";
    svg += FrameAndTarget();
    // The three nearly coincide: the dashed curve goes on top, thinner.
    svg += Polyline("cycloid", "#0096fa", "", cycloid);
    svg += Polyline("polyline", "#ff0000", " stroke-width=\"3\"", polyline);
    svg += Polyline("brachistochrone", "#00a050", " stroke-width=\"1.5\" stroke-dasharray=\"6 6\"",
                    exact);
    svg += "</g>\n";
    svg += "<g font-family=\"sans-serif\" font-size=\"13\" fill=\"black\">\n";
    svg += "  <text x=\"" + std::to_string(MARGIN) + "\" y=\"448\">" + caption[0] + "</text>\n";
    svg += "  <text x=\"" + std::to_string(MARGIN) + "\" y=\"470\">" + caption[1] + "</text>\n";
    svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

// --- the race ----------------------------------------------------------------
//
// Each bead is a circle whose centre is animated, cx and cy, linearly between
// key moments of its exact motion. The motion of every track has an
// acceleration of at most g (along a straight segment g x drop / length; on
// the cycloid exactly g, turning), so between key moments h real seconds
// apart the straight line between them strays at most g h^2 / 8 from the
// bead: 0.05 px with h = 0.01 s. The polylines turn at their nodes, and there
// the velocity jumps; every node is a key moment, and so is each arrival.

namespace {

// The three tracks of the race, in the order they are drawn.
enum { RACE_CHORD, RACE_POLYLINE, RACE_BRACHISTOCHRONE, RACE_TRACKS };

const char *const TRACK_ID[RACE_TRACKS] = {"chord", "polyline", "brachistochrone"};
const char *const TRACK_COLOUR[RACE_TRACKS] = {"#707070", "#ff0000", "#00a050"};
// Each bead rings the ones drawn after it when they run together.
const char *const BEAD_RADIUS[RACE_TRACKS] = {"8", "6", "4"};
const double RACE_SAMPLE = 0.01;     // real seconds between key moments
const double RACE_MIN_GAP = 1e-4;    // no sample this close to a node or arrival
const double RACE_HOLD = 2.0;        // seconds on the page at the end, all beads in
const int RACE_WIDTH = 640;
const int RACE_HEIGHT = 525;

// The starting polyline: the chord, node k at (k / 20, k x 0.046).
void ChordX(double x[NODE_COUNT])
{
    for (int k = 0; k < NODE_COUNT; ++k)
        x[k] = k * (END_X / SEGMENT_COUNT);
}

// The node abscissae of the chord's or the polyline's track.
void TrackX(int track, double x[NODE_COUNT])
{
    if (track == RACE_CHORD)
        ChordX(x);
    else
        std::memcpy(x, CurveState.ShownX, sizeof CurveState.ShownX);
}

// Arrival time of each track's bead, real seconds, and the brachistochrone
// they were worked out with.
struct RaceTimes {
    double arrival[RACE_TRACKS];
    Brachistochrone brachistochrone;
};

RaceTimes RaceArrivals()
{
    RaceTimes times;
    for (int track = RACE_CHORD; track <= RACE_POLYLINE; ++track) {
        double x[NODE_COUNT];
        TrackX(track, x);
        times.arrival[track] = ExactPolylineTime(x);
    }
    times.brachistochrone = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    times.arrival[RACE_BRACHISTOCHRONE] = times.brachistochrone.time;
    return times;
}

// Where a track's bead is t real seconds after the release.
ModelPoint RacePositionAt(int track, const Brachistochrone &b, double t)
{
    if (track == RACE_BRACHISTOCHRONE)
        return BrachistochronePositionAt(b, GRAVITY, t);
    double x[NODE_COUNT];
    TrackX(track, x);
    return PolylinePositionAt(x, t);
}

// The moments, in real seconds, at which a bead's position is given: every
// RACE_SAMPLE from the release, each node it passes, and its arrival.
std::vector<double> KeyMoments(int track, double arrival)
{
    std::vector<double> fixed;
    fixed.push_back(0.0);
    if (track != RACE_BRACHISTOCHRONE) {
        double x[NODE_COUNT];
        TrackX(track, x);
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
std::string Bead(int track, const RaceTimes &times, int slow, double duration)
{
    double arrival = times.arrival[track];
    std::string keyTimes, xs, ys;
    for (double t : KeyMoments(track, arrival)) {
        ModelPoint p = RacePositionAt(track, times.brachistochrone, t);
        keyTimes += KeyTime(slow * t, duration) + ";";
        xs += Number(SCALE * p.x) + ";";
        ys += Number(SCALE * p.y) + ";";
    }
    ModelPoint end = RacePositionAt(track, times.brachistochrone, arrival);
    keyTimes += "1";
    xs += Number(SCALE * end.x);
    ys += Number(SCALE * end.y);
    return std::string("  <circle id=\"bead-") + TRACK_ID[track] + "\" r=\"" +
           BEAD_RADIUS[track] + "\" fill=\"" + TRACK_COLOUR[track] +
           "\" stroke=\"none\" cx=\"0.000\" cy=\"0.000\">\n" +
           Animate("cx", "linear", keyTimes, xs, duration) +
           Animate("cy", "linear", keyTimes, ys, duration) + "  </circle>\n";
}

const char *Place(int place)
{
    switch (place) {
    case 1:
        return "1st";
    case 2:
        return "2nd";
    default:
        return "3rd";
    }
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

std::string TrackName(int track, long steps)
{
    switch (track) {
    case RACE_CHORD:
        return "chord";
    case RACE_POLYLINE:
        return "polyline after " + std::to_string(steps) + (steps == 1 ? " step" : " steps");
    default:
        return "brachistochrone";
    }
}

std::string ArrivalText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f s", seconds);
    return text;
}

} // namespace

std::string RacePicture(long steps, int slow)
{
    RaceTimes times = RaceArrivals();
    double last = *std::max_element(times.arrival, times.arrival + RACE_TRACKS);
    double duration = slow * last + RACE_HOLD;

    std::string trackPoints[RACE_TRACKS];
    for (int track = RACE_CHORD; track <= RACE_POLYLINE; ++track) {
        double x[NODE_COUNT];
        TrackX(track, x);
        trackPoints[track] = PolylinePoints(x);
    }

    std::string svg = SvgStart(RACE_WIDTH, RACE_HEIGHT,
                               "the chord, the " + TrackName(RACE_POLYLINE, steps) +
                                   " and the brachistochrone race");
    svg += "<g id=\"race\" transform=\"translate(" + std::to_string(MARGIN) + "," +
           std::to_string(MARGIN) +
           ")\" fill=\"none\" stroke-width=\"2\" stroke-linejoin=\"round\">\n";
    svg += FrameAndTarget();
    svg += Polyline("track-chord", TRACK_COLOUR[RACE_CHORD], "", trackPoints[RACE_CHORD]);
    svg += Polyline("track-polyline", TRACK_COLOUR[RACE_POLYLINE], " stroke-width=\"3\"",
                    trackPoints[RACE_POLYLINE]);
    svg += Polyline("track-brachistochrone", TRACK_COLOUR[RACE_BRACHISTOCHRONE],
                    " stroke-width=\"1.5\" stroke-dasharray=\"6 6\"",
                    BrachistochronePoints(times.brachistochrone));
    for (int track = 0; track < RACE_TRACKS; ++track)
        svg += Bead(track, times, slow, duration);
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
        svg += "  <text id=\"name-" + std::string(TRACK_ID[track]) + "\" x=\"" +
               std::to_string(MARGIN) + "\" y=\"" + y + "\" fill=\"" + colour + "\">" +
               TrackName(track, steps) + "</text>\n";
        svg += "  <text id=\"arrival-" + std::string(TRACK_ID[track]) + "\" x=\"260\" y=\"" + y +
               "\" fill=\"" + colour + "\">" + ArrivalText(times.arrival[track]) + "\n" + shown +
               "  </text>\n";
        svg += "  <text id=\"place-" + std::string(TRACK_ID[track]) + "\" x=\"330\" y=\"" + y +
               "\" fill=\"" + colour + "\">" + Place(PlaceOf(times, track)) + "\n" + shown +
               "  </text>\n";
    }
    char caption[200];
    if (slow == 1)
        std::snprintf(caption, sizeof caption,
                      "Released together at rest from (0, 0), g = 10; shown at real speed.");
    else
        std::snprintf(caption, sizeof caption,
                      "Released together at rest from (0, 0), g = 10; shown %d times slower, "
                      "times in real seconds.",
                      slow);
    svg += "  <text x=\"" + std::to_string(MARGIN) + "\" y=\"512\" fill=\"black\">" + caption +
           "</text>\n";
    svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

std::string RaceSummaryLine(long steps, int slow)
{
    RaceTimes times = RaceArrivals();
    int order[RACE_TRACKS] = {RACE_CHORD, RACE_POLYLINE, RACE_BRACHISTOCHRONE};
    std::stable_sort(order, order + RACE_TRACKS, [&times](int a, int b) {
        return times.arrival[a] < times.arrival[b];
    });
    char text[400];
    std::snprintf(text, sizeof text,
                  "rodadero-trace: the race with the %s (Alpha %.17g), slowed %d times: "
                  "%s %.4f s, %s %.4f s, %s %.4f s",
                  TrackName(RACE_POLYLINE, steps).c_str(), CurveState.Alpha, slow,
                  TRACK_ID[order[0]], times.arrival[order[0]],
                  TRACK_ID[order[1]], times.arrival[order[1]], TRACK_ID[order[2]],
                  times.arrival[order[2]]);
    return text;
}

std::string SvgTempPath(const std::string &path)
{
#ifdef _WIN32
    long id = _getpid();
#else
    long id = static_cast<long>(getpid());
#endif
    return path + ".tmp-" + std::to_string(id);
}

std::FILE *OpenSvgTemp(const std::string &path, std::string *error, const char *option)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *error = std::string("rodadero-trace: ") + option + " cannot write '" + path +
                 "': it is a folder";
        return nullptr;
    }
    std::string tmp = SvgTempPath(path);
    std::FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        *error = std::string("rodadero-trace: ") + option + " cannot write '" + path + "': " +
                 std::strerror(errno);
        return nullptr;
    }
    return f;
}

bool FinishSvg(std::FILE *tmp, const std::string &path, const std::string &text,
               std::string *error, const char *option)
{
    std::string tmpPath = SvgTempPath(path);
    bool written = std::fwrite(text.data(), 1, text.size(), tmp) == text.size();
    written = std::fflush(tmp) == 0 && written;
    written = std::fclose(tmp) == 0 && written;
    std::error_code ec;
    if (written)
        std::filesystem::rename(tmpPath, path, ec);
    if (!written || ec) {
        *error = std::string("rodadero-trace: ") + option + " could not write '" + path + "'" +
                 (ec ? ": " + ec.message() : std::string());
        std::remove(tmpPath.c_str());
        return false;
    }
    return true;
}
