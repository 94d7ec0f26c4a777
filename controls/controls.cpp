#include "controls.h"

#include "curve_state.h"

namespace {

// Whether an event takes a step and whether it invalidates the main window,
// in timed mode and in continuous mode.
struct EventRule {
    bool stepTimed, stepContinuous;
    bool invalidateTimed, invalidateContinuous;
};

// In timed mode each timer tick takes a step; in continuous mode the main
// timer only asks for a paint, and every paint takes the step. A paint's
// own invalidation comes before the painting, which serves it, so it brings
// no further paint. The timed main tick also shows its step at once.
const EventRule EVENT_RULES[WINDOW_EVENT_COUNT] = {
    /* MAIN_TIMER_TICK   */ {true, false, true, true},
    /* DIALOG_TIMER_TICK */ {true, true, true, true},
    /* MAIN_PAINT        */ {false, true, false, true},
    /* RUN_MODE_TOGGLE   */ {false, false, true, true},
    /* CURVE_RESET       */ {false, false, true, true},
    /* DIALOG_MOUSE_MOVE */ {false, false, true, true},
};

int Clamp(std::int64_t p)
{
    return p < ALPHA_POS_MIN ? ALPHA_POS_MIN : p > ALPHA_POS_MAX ? ALPHA_POS_MAX : static_cast<int>(p);
}

} // namespace

void StartCurves()
{
    CreateCurvesOn(&CurveState);
}

bool RunWindowEvent(WindowEvent event, bool *stepped)
{
    switch (event) {
    case RUN_MODE_TOGGLE:
        CurveState.RunContinuous = !CurveState.RunContinuous;
        break;
    case CURVE_RESET:
        InitCurves(CurveState.ScreenPts);
        break;
    default:
        break;
    }
    const EventRule &rule = EVENT_RULES[event];
    bool continuous = CurveState.RunContinuous != 0;
    bool step = continuous ? rule.stepContinuous : rule.stepTimed;
    if (step)
        DescentStep();
    if (stepped)
        *stepped = step;
    return continuous ? rule.invalidateContinuous : rule.invalidateTimed;
}

int ScrollTarget(int request, unsigned thumb)
{
    switch (request) {
    case SCROLL_LINE_LEFT:
        return Clamp(static_cast<std::int64_t>(CurveState.AlphaPos) - 1);
    case SCROLL_LINE_RIGHT:
        return Clamp(static_cast<std::int64_t>(CurveState.AlphaPos) + 1);
    case SCROLL_THUMB_POSITION:
    case SCROLL_THUMB_TRACK:
        return Clamp(thumb);
    }
    return SCROLL_IGNORED;
}

void ApplyScrollPosition(int p)
{
    CurveState.AlphaPos = p;
    CurveState.Alpha = AlphaForPosition(p);
}
