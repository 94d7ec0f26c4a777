// The web page's entry points into the program compiled to WebAssembly.
// The page's script calls these and nothing else drives the model: its two
// timers, its paints, its buttons and its scroll bar arrive here as the
// Windows program's messages arrive at its window procedures, and the
// window's and dialog's rules (controls.h) decide what they do.
//
// Every handler returns 1 when the main window is to be repainted, which
// the page then does at once, before anything else can happen. A paint's
// own invalidation, made before it draws, is served by that paint.
//
// The page reads the model's record straight from the module's memory, at
// the address and offsets the contract gives (page_contract.h), and draws
// from the picture that rodadero_paint fills in and the fixed parts the
// contract places. Every event is also told to the panel (panel.h), which
// counts the steps the model takes.
#include "controls.h"
#include "curve_state.h"
#include "page_contract.h"
#include "panel.h"
#include "plot_layout.h"

namespace {

PaintedPicture Painted;

int Handled(WindowEvent event)
{
    bool stepped = false;
    bool invalidate = RunWindowEvent(event, &stepped);
    NoteWindowEvent(event, stepped);
    return invalidate ? 1 : 0;
}

} // namespace

// Window creation: the chord, the cycloid and the polyline's colour.
PAGE_EXPORT(rodadero_start) void RodaderoStart()
{
    StartCurves();
}

PAGE_EXPORT(rodadero_main_tick) int RodaderoMainTick()
{
    return Handled(MAIN_TIMER_TICK);
}

PAGE_EXPORT(rodadero_dialog_tick) int RodaderoDialogTick()
{
    return Handled(DIALOG_TIMER_TICK);
}

PAGE_EXPORT(rodadero_run_mode) int RodaderoRunMode()
{
    return Handled(RUN_MODE_TOGGLE);
}

PAGE_EXPORT(rodadero_reset) int RodaderoReset()
{
    return Handled(CURVE_RESET);
}

PAGE_EXPORT(rodadero_dialog_mouse_move) int RodaderoDialogMouseMove()
{
    return Handled(DIALOG_MOUSE_MOVE);
}

// A scroll bar request (its code as on Windows, and the thumb's position
// for a thumb request): the new position, to which the page moves the
// thumb before it repaints, or 0 when the request is ignored.
PAGE_EXPORT(rodadero_scroll) int RodaderoScroll(int request, int thumb)
{
    int p = ScrollTarget(request, thumb < 0 ? 0u : static_cast<unsigned>(thumb));
    if (p != SCROLL_IGNORED)
        ApplyScrollPosition(p);
    return p;
}

// One paint: the step that continuous mode takes here, then the picture's
// vertices and number. Returns the address of the picture.
PAGE_EXPORT(rodadero_paint) const PaintedPicture *RodaderoPaint()
{
    Handled(MAIN_PAINT); // its invalidation is the one this paint serves
    RefreshScreenX(CurveState.ScreenPts);
    for (int j = 0; j < NODE_COUNT; ++j) {
        Painted.polyline[j] = PolylineVertex(CurveState.ScreenPts, j);
        Painted.cycloid[j] = CycloidVertex(j);
    }
    Painted.polylineColour = CurveState.ApproxColor;
    Painted.microseconds = FallTimeMicroseconds();
    return &Painted;
}
