#include "curve_state.h"

// Zero everywhere except the step factor and its scroll position.
CurveStateRecord CurveState = {
    {0.0}, {0.0}, 0.0, {{0.0, 0.0}}, {{0.0, 0.0}}, 0u, ALPHA_START, ALPHA_POS_START, 0,
};
