// A curve's CSV: every fault a file can have, named with its line; a curve
// written and read back bit for bit; the race's rows. Runs natively and
// under Wine.
#include "../double_bits.h"
#include "curve_csv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReadCurveCsv, EachFaultInOneLineNamingItsPlace)
{
    static const struct { const char *what, *text, *error; } cases[] = {
        {"empty", "", "the file is empty"},
        {"only blank lines", "\n\r\n  \n", "the file is empty"},
        {"no header", "0,0\n1,1\n", "line 1: expected the header x,y, not '0,0'"},
        {"another header", "a,b\n0,0\n1,1\n", "line 1: expected the header x,y, not 'a,b'"},
        {"three columns", "x,y,z\n0,0,0\n", "line 1: expected the header x,y"},
        {"one number", "x,y\n0,0\n1\n", "line 3: expected a point x,y, not '1'"},
        {"three numbers", "x,y\n0,0\n1,2,3\n", "line 3: expected a point x,y, not '1,2,3'"},
        {"a blank line inside", "x,y\n0,0\n\n1,1\n", "line 3: expected a point x,y, not ''"},
        {"a word", "x,y\n0,0\n1,one\n", "line 3: 'one' is not a number"},
        {"empty field", "x,y\n0,0\n,1\n", "line 3: '' is not a number"},
        {"nan", "x,y\n0,0\nnan,1\n", "line 3: 'nan' is not a number"},
        {"inf", "x,y\n0,0\n1,inf\n", "line 3: 'inf' is not a number"},
        {"hexadecimal", "x,y\n0,0\n0x1p1,1\n", "line 3: '0x1p1' is not a number"},
        {"a lone point", "x,y\n0,0\n.,1\n", "line 3: '.' is not a number"},
        {"exponent without digits", "x,y\n0,0\n1e,1\n", "line 3: '1e' is not a number"},
        {"decimal comma", "x,y\n0,0\n\"1,5\",1\n", "line 3: expected a point x,y"},
        {"overflow", "x,y\n0,0\n1e999,1\n", "line 3: '1e999' is out of range"},
        {"overflow below", "x,y\n0,0\n1,-2e308\n", "line 3: '-2e308' is out of range"},
        {"beyond a million", "x,y\n0,0\n1000000.5,1\n",
         "line 3: '1000000.5' is out of range: a coordinate is at most 1000000 either way"},
        {"no point", "x,y\n", "no point after the header: a curve needs at least two"},
        {"one point", "x,y\n0,0\n", "only one point after the header"},
        {"not from the start", "x,y\n0.5,0\n1,1\n",
         "line 2: the curve starts at (0.5, 0), not at (0, 0)"},
        {"end above", "x,y\n0,0\n1,1\n2,-0.5\n",
         "line 4: the end (2, -0.5) is not below the start: its y must be above 0"},
        {"end level", "x,y\r\n0,0\r\n1,0\r\n", "line 3: the end (1, 0) is not below the start"},
        {"end to the left", "x,y\n0,0\n-1,1\n",
         "line 3: the end (-1, 1) is left of the start: its x must not be below 0"},
        {"control characters shown as ?", "x,y\n0,0\n1\t2\x01,1\n", "line 3: '1?2?' is not"},
        {"long texts cut", "x,y\n0,0\n1,1234567890123456789012345678901234567890x\n",
         "line 3: '1234567890123456789012345678901234567890...' is not a number"},
    };
    for (const auto &c : cases) {
        LabPolyline curve{{7.0}, {8.0}};
        std::string error;
        EXPECT_FALSE(ReadCurveCsv(c.text, &curve, &error)) << c.what;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
        EXPECT_EQ(curve.x.size(), 1u) << c.what << ": the curve was changed";
    }
}

// A million intervals are read; one more is refused at the line past them.
TEST(ReadCurveCsv, AtMostAMillionIntervals)
{
    std::string text = "x,y\n0,0\n";
    for (int k = 1; k <= 1000000; ++k)
        text += "1,1\n";
    LabPolyline curve;
    std::string error;
    EXPECT_TRUE(ReadCurveCsv(text, &curve, &error)) << error;
    EXPECT_EQ(curve.x.size(), 1000001u);
    text += "2,1\n";
    EXPECT_FALSE(ReadCurveCsv(text, &curve, &error));
    EXPECT_EQ(error, "line 1000003: a curve has at most 1000001 points, 1000000 intervals");
}

TEST(ReadCurveCsv, TheFormsOfAGoodFile)
{
    static const struct { const char *what, *text; double endX, endY; } cases[] = {
        {"plain", "x,y\n0,0\n1,0.92\n", 1.0, 0.92},
        {"no final newline", "x,y\n0,0\n1,0.92", 1.0, 0.92},
        {"\\r\\n and spaces", "x, y\r\n 0 , 0\r\n1 ,\t0.92\r\n\r\n", 1.0, 0.92},
        {"byte order mark", "\xEF\xBB\xBFx,y\n0,0\n1,0.92\n", 1.0, 0.92},
        {"exponents and signs", "x,y\n-0,+0.0\n1E-3,2.5e+2\n+.5,.25\n", 0.5, 0.25},
        {"a straight drop", "x,y\n0,0\n0,2\n", 0.0, 2.0},
        {"a tiny number", "x,y\n0,0\n1e-320,1\n", 1e-320, 1.0},
    };
    for (const auto &c : cases) {
        LabPolyline curve;
        std::string error;
        EXPECT_TRUE(ReadCurveCsv(c.text, &curve, &error)) << c.what << ": " << error;
        EXPECT_EQ(curve.x.back(), c.endX) << c.what;
        EXPECT_EQ(curve.y.back(), c.endY) << c.what;
        EXPECT_EQ(curve.x[0], 0.0) << c.what;
    }
}

TEST(CurveCsv, ReadsBackBitForBit)
{
    const LabPolyline curve{{0.0, 0.1, 1.0 / 3.0, 5e-324, 999999.99999999988, 2.0},
                            {-0.0, 0.7, -1e-300, 2.0 / 3.0, -123456.789123, 0.92}};
    std::string text = CurveCsv(curve);
    EXPECT_EQ(text.compare(0, 22, "x,y\n0,-0\n0.10000000000"), 0) << text;
    LabPolyline back;
    std::string error;
    ASSERT_TRUE(ReadCurveCsv(text, &back, &error)) << error;
    ASSERT_EQ(back.x.size(), curve.x.size());
    for (std::size_t k = 0; k < curve.x.size(); ++k) {
        EXPECT_EQ(Bits(back.x[k]), Bits(curve.x[k])) << k;
        EXPECT_EQ(Bits(back.y[k]), Bits(curve.y[k])) << k;
    }
}

TEST(CurveRaceRows, ABeadThatNeverArrivesHasNoTime)
{
    CurveRaceTimes arrives{{true, 0.5, true, 0, 0.0, 0.0, 0.0}, 0.25, 0.75};
    EXPECT_EQ(CurveRaceRows(arrives), "bead,arrival_s\ncurve,0.5\ncycloid,0.25\nline,0.75\n");
    CurveRaceTimes stops{{false, 0.0, true, 3, 2.0, 0.0, 1.5}, 0.1, 0.2};
    EXPECT_EQ(CurveRaceRows(stops),
              "bead,arrival_s\ncurve,\ncycloid,0.10000000000000001\nline,0.20000000000000001\n");
    EXPECT_EQ(CurveFateWords(stops.curve),
              "never arrives: the curve climbs back to the start's height between the points of "
              "lines 5 and 6, where the bead stops at (2, 0) 1.5 s after its release and slides "
              "back, for ever");
}

} // namespace
