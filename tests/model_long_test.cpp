// Long descents at every scroll position: whatever the step factor, the
// values stay finite and the printed time stays a time. Built with the
// address and undefined-behaviour sanitizers, so that any out-of-bounds
// access or undefined conversion on the way stops the run.
#include "curve_state.h"
#include "trunc_int.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const int STEPS_PER_POSITION = 100000;

// Positions first..last; the four quarters run as separate tests so that
// they can run side by side.
class LongDescent : public ::testing::TestWithParam<int> {};

TEST_P(LongDescent, ScrollPositionsStayFinite)
{
    const int first = GetParam();
    for (int position = first; position < first + 25; ++position) {
        CurveState = RecordAfterWindowCreation();
        CurveState.Alpha = AlphaForPosition(position);
        CurveState.AlphaPos = position;
        for (int step = 1; step <= STEPS_PER_POSITION; ++step) {
            DescentStep();
            if (step % 1000 != 0 && step != 1)
                continue;
            for (int i = 1; i < 20; ++i) {
                ASSERT_TRUE(std::isfinite(CurveState.NodeX[i]))
                    << "position " << position << " step " << step << " node " << i;
                ASSERT_TRUE(std::isfinite(CurveState.ShownX[i]))
                    << "position " << position << " step " << step << " node " << i;
            }
            ASSERT_TRUE(std::isfinite(CurveState.FallTime)) << position << " " << step;
            int printed = PrintedTime(CurveState.FallTime);
            ASSERT_GT(printed, 500000) << "position " << position << " step " << step;
            ASSERT_LT(printed, 1000000) << "position " << position << " step " << step;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Quarters, LongDescent, ::testing::Values(1, 26, 51, 76));

} // namespace
