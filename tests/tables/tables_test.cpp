// The CSV text: numbers that read back bit for bit, the same digits in
// every build, and the rows of the sweep. Runs natively and under Wine.
#include "../double_bits.h"
#include "csv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

double Read(const std::string &text)
{
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    EXPECT_EQ(*end, '\0') << text;
    return v;
}

TEST(FormatDouble, ReadsBackAndMatchesTheNativeDigits)
{
    static const struct { double v; const char *text; } cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {0.1, "0.10000000000000001"},
        {0.15000000000000002, "0.15000000000000002"},
        {0.58481878425979283, "0.58481878425979283"},
        {1.0, "1"},
        {100000000.0, "100000000"},
        {1e22, "1e+22"},
        {123456789012345678.0, "1.2345678901234568e+17"},
        {2.0000000000000003e-6, "2.0000000000000003e-06"},
        {5e-324, "4.9406564584124654e-324"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {-0.028300000000000002, "-0.028300000000000002"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDouble(c.v), c.text);
        EXPECT_EQ(Bits(Read(FormatDouble(c.v))), Bits(c.v)) << c.text;
    }
}

// A position that repeats, and one that does not within the limit: its
// cycle_from and period empty.
TEST(SweepRowText, EmptyCellsWhereNoCycleClosed)
{
    static const struct { Fate fate; const char *row; } cases[] = {
        {{58, 0, 14038, 2, 543340, 543399}, "58,14038,2,543340,543399\n"},
        {{58, 0, 0, 0, 543399, 543399}, "58,,,543399,543399\n"},
        {{100, 0, 0, 0, 0, 0}, "100,,,0,0\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SweepRowText(c.fate), c.row);
    EXPECT_EQ(SweepHeader(), "position,cycle_from,period,low_us,high_us\n");
}

// The settings as a user types them: the fewest digits that read back.
TEST(ShortestDouble, FewestDigitsThatReadBack)
{
    static const struct { double v; const char *text; } cases[] = {
        {0.0, "0"},          {0.35, "0.35"},       {0.9, "0.9"},
        {0.95, "0.95"},      {50.0, "50"},         {200.0, "200"},
        {0.1 + 0.2, "0.30000000000000004"},        {57.067398261313123, "57.06739826131312"},
        {1.0 / 3.0, "0.3333333333333333"},         {2.0000000000000003e-6, "2.0000000000000003e-06"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ShortestDouble(c.v), c.text);
        EXPECT_EQ(Bits(Read(ShortestDouble(c.v))), Bits(c.v)) << c.text;
    }
}

// A cell that repeats and one that does not within the limit.
TEST(MapRowText, AsTheSweepsRowsWithTheBeta)
{
    Fate settles = {50, 10, 10250, 11, 542355, 542355};
    Fate open = {100, 18, 0, 0, 545447, 577882};
    EXPECT_EQ(MapRowText(settles, 0.5), "50,0.5,10250,11,542355,542355\n");
    EXPECT_EQ(MapRowText(open, 0.9), "100,0.9,,,545447,577882\n");
    EXPECT_EQ(MapHeader(), "position,beta,cycle_from,period,low_us,high_us\n");
}

} // namespace
