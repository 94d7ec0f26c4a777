// The race of a given curve: arrivals, stops and positions on polylines
// worked by hand (g = 10, so a drop of h from rest takes sqrt(h / 5) and
// ends at the speed sqrt(20 h)), the rivals against closed forms. Runs
// natively and under Wine.
#include "curve_race.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const double PI = 3.141592653589793;

LabPolyline Track(std::vector<double> x, std::vector<double> y)
{
    return {std::move(x), std::move(y)};
}

void ExpectAt(const LabPolyline &track, double t, double x, double y, const std::string &what)
{
    ModelPoint p = CurvePositionAt(track, t);
    EXPECT_NEAR(p.x, x, 1e-14) << what << " at " << t;
    EXPECT_NEAR(p.y, y, 1e-14) << what << " at " << t;
}

// The drop of 1 takes sqrt(0.2) and ends at sqrt(20); the level unit then
// takes 1 / sqrt(20). A V of two diagonals of length sqrt(2), down 1 and up
// 1: each takes 2 sqrt(2) / sqrt(20) = sqrt(0.4) (the mean speed sqrt(20)
// / 2), and a fall straight down the diagonal the same.
TEST(CurveArrival, PolylinesThatArrive)
{
    struct Row {
        std::string what;
        LabPolyline track;
        double time;
    };
    const Row rows[] = {
        {"drop, then level", Track({0, 0, 1}, {0, 1, 1}), std::sqrt(0.2) + 1.0 / std::sqrt(20.0)},
        {"a diagonal", Track({0, 1}, {0, 1}), std::sqrt(0.4)},
        {"down, up to the start's height, down", Track({0, 1, 2, 3}, {0, 1, 0, 1}),
         3.0 * std::sqrt(0.4)},
        {"a node twice at the start", Track({0, 0, 0}, {0, 0, 1}), std::sqrt(0.2)},
        // Down 2, then up 1: the climb from speed sqrt(40) to sqrt(20)
        // over 1 at the deceleration g: (sqrt(40) - sqrt(20)) / 10.
        {"drop 2, climb 1", Track({0, 0, 0}, {0, 2, 1}),
         std::sqrt(0.4) + (std::sqrt(40.0) - std::sqrt(20.0)) / 10.0},
    };
    for (const Row &r : rows) {
        CurveArrival a = CurveArrivalOf(r.track);
        EXPECT_TRUE(a.arrives) << r.what;
        EXPECT_TRUE(a.moves) << r.what;
        EXPECT_NEAR(a.time, r.time, 1e-15) << r.what;
    }
}

// Against the laboratory's own sum of exact segment times, written apart.
TEST(CurveArrival, AgreesWithTheExactPolylineTime)
{
    LabPolyline track = Track({0, 0.1, 0.35, 0.7, 1.0, 1.6}, {0, 0.4, 0.7, 0.85, 0.92, 0.5});
    double exact = LabPolylineTime(track, LAB_EXACT);
    EXPECT_NEAR(CurveArrivalOf(track).time, exact, 1e-14 * exact);
}

TEST(CurveArrival, AtRestOnALevelOrRisingStartItNeverMoves)
{
    const LabPolyline tracks[] = {Track({0, 1, 2}, {0, 0, 1}), Track({0, 1, 2}, {0, -1, 1}),
                                  Track({0, 0, 1, 2}, {0, 0, 0, 1}), Track({0, 0}, {0, -1})};
    for (const LabPolyline &track : tracks) {
        CurveArrival a = CurveArrivalOf(track);
        EXPECT_FALSE(a.arrives);
        EXPECT_FALSE(a.moves);
        EXPECT_EQ(a.turnTime, 0.0);
        EXPECT_EQ(a.stopSegment, 0);
        for (double t : {0.0, 0.5, 10.0}) {
            ModelPoint p = CurvePositionAt(track, t);
            EXPECT_EQ(p.x, 0.0);
            EXPECT_EQ(p.y, 0.0);
        }
    }
}

// Curves that rise above the start: where the bead stops and when, and
// where it is at the stop, sliding back, and back at the start.
TEST(CurveArrival, ACurveAboveTheStartStopsTheBeadAndItSlidesBack)
{
    struct Row {
        std::string what;
        LabPolyline track;
        long stopSegment;
        double stopX, turnTime;
    };
    const Row rows[] = {
        // Up a diagonal from depth 1 to -1: the depth is 0 halfway, at
        // (2, 0), sqrt(2) along it from speed sqrt(20) to 0.
        {"a V", Track({0, 1, 3}, {0, 1, -1}), 1, 2.0, 2.0 * std::sqrt(0.4)},
        // Down 1, across 1, straight up 2: it climbs 1, from speed
        // sqrt(20) at the deceleration g, in sqrt(20) / 10 = sqrt(0.2).
        {"up a wall", Track({0, 0, 1, 1, 2}, {0, 1, 1, -1, 0}), 2, 1.0,
         2.0 * std::sqrt(0.2) + 1.0 / std::sqrt(20.0)},
        // Back at the start's height at a node, the way on level.
        {"up to a level node", Track({0, 1, 2, 3}, {0, 1, 0, 0}), 1, 2.0, 2.0 * std::sqrt(0.4)},
        // Through a node at the start's height, on down, then up past it.
        {"twice up", Track({0, 1, 2, 3, 5}, {0, 1, 0, 1, -1}), 3, 4.0, 4.0 * std::sqrt(0.4)},
    };
    for (const Row &r : rows) {
        CurveArrival a = CurveArrivalOf(r.track);
        EXPECT_FALSE(a.arrives) << r.what;
        EXPECT_TRUE(a.moves) << r.what;
        EXPECT_EQ(a.stopSegment, r.stopSegment) << r.what;
        EXPECT_NEAR(a.stopX, r.stopX, 1e-15) << r.what;
        EXPECT_EQ(a.stopY, 0.0) << r.what;
        EXPECT_NEAR(a.turnTime, r.turnTime, 1e-15) << r.what;
        ExpectAt(r.track, r.turnTime, r.stopX, 0.0, r.what + ", stopped");
        ExpectAt(r.track, 2.0 * r.turnTime, 0.0, 0.0, r.what + ", back at the start");
        ExpectAt(r.track, 4.0 * r.turnTime, 0.0, 0.0, r.what + ", back again");
        ExpectAt(r.track, 3.0 * r.turnTime, r.stopX, 0.0, r.what + ", stopped again");
    }
}

// On the wall: sqrt(0.2) / 2 before the stop it was 1 / 4 below it (the
// climb from speed sqrt(20) for tau = sqrt(0.05): sqrt(20) tau - 5 tau^2 =
// 1 - 0.25 = 0.75 up from depth 1), and sqrt(0.2) / 2 after it is there
// again, on the way down; halfway down the first drop (y = 5 t^2 = 0.25)
// at sqrt(0.05), and again a period later.
TEST(CurvePositionAt, ForwardBackwardAndAgain)
{
    LabPolyline wall = Track({0, 0, 1, 1, 2}, {0, 1, 1, -1, 0});
    const double turn = 2.0 * std::sqrt(0.2) + 1.0 / std::sqrt(20.0), half = std::sqrt(0.05);
    ExpectAt(wall, turn - half, 1.0, 0.25, "climbing");
    ExpectAt(wall, turn + half, 1.0, 0.25, "sliding back");
    ExpectAt(wall, half, 0.0, 0.25, "first drop");
    ExpectAt(wall, 2.0 * turn + half, 0.0, 0.25, "first drop, a period later");
    ExpectAt(wall, 2.0 * turn - half, 0.0, 0.25, "the drop climbed back");
    ExpectAt(wall, std::sqrt(0.2) + 0.5 / std::sqrt(20.0), 0.5, 1.0, "across");

    LabPolyline arrives = Track({0, 0, 1}, {0, 1, 1});
    const double arrival = std::sqrt(0.2) + 1.0 / std::sqrt(20.0);
    ExpectAt(arrives, -1.0, 0.0, 0.0, "before the release");
    ExpectAt(arrives, half, 0.0, 0.25, "dropping");
    ExpectAt(arrives, arrival, 1.0, 1.0, "arrived");
    ExpectAt(arrives, 5.0 * arrival, 1.0, 1.0, "long after");
}

// The same motion worked out once and asked many times.
TEST(CurvePositionAt, TheMotionWorkedOutOnceGivesTheSamePoints)
{
    LabPolyline track = Track({0, 0.2, 0.5, 1.1, 1.3, 2.0}, {0, 0.5, 0.6, 0.3, -0.2, 0.4});
    CurveMotion motion = CurveMotionOf(track);
    for (double t = 0.0; t < 3.0; t += 0.0137) {
        ModelPoint a = CurvePositionAt(track, motion, t), b = CurvePositionAt(track, t);
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
        // Never above the start's height.
        EXPECT_GE(a.y, 0.0) << t;
    }
}

// The cycloid: X = 0 is the drop, sqrt(2 Y / g); a half turn of the unit
// circle ends at (pi, 2) after pi sqrt(1 / g), a quarter turn in passes
// (pi / 2 - 1, 1). The line to (3, 4): length 5, acceleration g 4 / 5 = 8,
// so 5 = 8 t^2 / 2.
TEST(CurveRaceTimes, TheRivalsClosedForms)
{
    CurveRaceTimes drop = CurveRaceTimesOf(Track({0, 0}, {0, 0.8}));
    EXPECT_NEAR(drop.curve.time, 0.4, 1e-15);
    EXPECT_NEAR(drop.cycloid, 0.4, 1e-15);
    EXPECT_NEAR(drop.line, 0.4, 1e-15);

    CurveRaceTimes halfTurn = CurveRaceTimesOf(Track({0, PI}, {0, 2}));
    EXPECT_NEAR(halfTurn.cycloid, PI / std::sqrt(10.0), 1e-12);
    LabCycloid c = LabCycloidThrough(PI, 2.0);
    ModelPoint quarter = CycloidPositionAt(c, PI, 2.0, PI / 2.0 / std::sqrt(10.0));
    EXPECT_NEAR(quarter.x, PI / 2.0 - 1.0, 1e-12);
    EXPECT_NEAR(quarter.y, 1.0, 1e-12);

    EXPECT_NEAR(StraightLineTime(3.0, 4.0), std::sqrt(1.25), 1e-15);
    ModelPoint mid = StraightLinePositionAt(3.0, 4.0, 0.5);  // 8 0.25 / 2 = 1 along
    EXPECT_NEAR(mid.x, 0.6, 1e-15);
    EXPECT_NEAR(mid.y, 0.8, 1e-15);
    ModelPoint end = StraightLinePositionAt(3.0, 4.0, 2.0);
    EXPECT_EQ(end.x, 3.0);
    EXPECT_EQ(end.y, 4.0);
    ModelPoint fallen = CycloidPositionAt(LabCycloidThrough(0.0, 0.8), 0.0, 0.8, 0.2);
    EXPECT_EQ(fallen.x, 0.0);
    EXPECT_NEAR(fallen.y, 0.2, 1e-15);

    // A curve of one segment is the line, to the last bit.
    CurveRaceTimes one = CurveRaceTimesOf(Track({0, 3}, {0, 4}));
    EXPECT_EQ(one.curve.time, one.line);
}

} // namespace
