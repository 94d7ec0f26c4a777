// The pictures as text: the still picture of a run. Runs natively and
// under Wine; the race is played in a browser by race_test.py.
#include "descent_run.h"
#include "still.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(StillPicture, HoldsTheThreeCurves)
{
    StartRun(ALPHA_START);
    for (int i = 0; i < 50; ++i)
        DescentStep();
    // The caption's times after those 50 steps, from a plain reference run
    // outside the program: model 0.5640144184747695 s, exact
    // 0.5945611506936096 s.
    std::string svg = StillPicture(50);
    static const char *const parts[] = {
        "<svg xmlns=\"http://www.w3.org/2000/svg\"",
        "<polyline id=\"polyline\" stroke=\"#ff0000\"",
        "<polyline id=\"cycloid\" stroke=\"#0096fa\"",
        "<polyline id=\"brachistochrone\"",
        "stroke-dasharray",
        "id=\"frame\"",
        "id=\"target\"",
        "model time 0.564014 s",
        "exact time 0.594561 s",
        "</svg>\n",
    };
    for (const char *p : parts)
        EXPECT_NE(svg.find(p), std::string::npos) << p;
    // The polyline starts at the origin and ends at (1, 0.92) in pixels.
    std::size_t at = svg.find("<polyline id=\"polyline\"");
    std::size_t points = svg.find("points=\"", at) + 8;
    std::string list = svg.substr(points, svg.find('"', points) - points);
    EXPECT_EQ(list.compare(0, 12, "0.000,0.000 "), 0) << list;
    EXPECT_EQ(list.substr(list.size() - 16), " 400.000,368.000") << list;
    EXPECT_EQ(std::count(list.begin(), list.end(), ' '), 20);
}

} // namespace
