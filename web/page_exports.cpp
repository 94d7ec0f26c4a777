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
// The page reads the model's record straight from the module's memory,
// through the addresses that the *_address functions give, and draws from
// the picture that rodadero_paint fills in. Every event is also told to the
// panel (panel.h), which counts the steps the model takes.
#include "controls.h"
#include "curve_state.h"
#include "panel.h"
#include "plot_layout.h"

#include <cstdint>

#define PAGE_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

// What a paint draws that depends on the state.
struct PaintedPicture {
    PixelPoint polyline[NODE_COUNT];
    PixelPoint cycloid[NODE_COUNT];
    std::uint32_t polylineColour;
    std::int32_t microseconds; // the number in the first caption
};

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

// The model's record.
PAGE_EXPORT(rodadero_node_x_address) const double *RodaderoNodeX()
{
    return CurveState.NodeX;
}
PAGE_EXPORT(rodadero_shown_x_address) const double *RodaderoShownX()
{
    return CurveState.ShownX;
}
PAGE_EXPORT(rodadero_fall_time_address) const double *RodaderoFallTime()
{
    return &CurveState.FallTime;
}
PAGE_EXPORT(rodadero_alpha_address) const double *RodaderoAlpha()
{
    return &CurveState.Alpha;
}
PAGE_EXPORT(rodadero_alpha_pos_address) const std::int32_t *RodaderoAlphaPos()
{
    return &CurveState.AlphaPos;
}
PAGE_EXPORT(rodadero_run_continuous_address) const std::int32_t *RodaderoRunContinuous()
{
    return &CurveState.RunContinuous;
}
PAGE_EXPORT(rodadero_node_count) int RodaderoNodeCount()
{
    return NODE_COUNT;
}

// The picture's fixed parts: lines as {from x, from y, to x, to y}, captions
// as {x, y, address of the text}.
PAGE_EXPORT(rodadero_target_lines_address) const PlotLine *RodaderoTargetLines()
{
    return TARGET_LINES;
}
PAGE_EXPORT(rodadero_target_line_count) int RodaderoTargetLineCount()
{
    return TARGET_LINE_COUNT;
}
PAGE_EXPORT(rodadero_frame_lines_address) const PlotLine *RodaderoFrameLines()
{
    return FRAME_LINES;
}
PAGE_EXPORT(rodadero_frame_line_count) int RodaderoFrameLineCount()
{
    return FRAME_LINE_COUNT;
}
PAGE_EXPORT(rodadero_captions_address) const PlotCaption *RodaderoCaptions()
{
    return PLOT_CAPTIONS;
}
PAGE_EXPORT(rodadero_caption_count) int RodaderoCaptionCount()
{
    return CAPTION_COUNT;
}

// Colours (red in the low byte) and the pen's width.
PAGE_EXPORT(rodadero_background_colour) std::uint32_t RodaderoBackgroundColour()
{
    return PLOT_BACKGROUND;
}
PAGE_EXPORT(rodadero_cycloid_colour) std::uint32_t RodaderoCycloidColour()
{
    return CYCLOID_COLOR;
}
PAGE_EXPORT(rodadero_target_colour) std::uint32_t RodaderoTargetColour()
{
    return TARGET_COLOR;
}
PAGE_EXPORT(rodadero_frame_colour) std::uint32_t RodaderoFrameColour()
{
    return FRAME_COLOR;
}
PAGE_EXPORT(rodadero_pen_width) int RodaderoPenWidth()
{
    return PLOT_PEN_WIDTH;
}

// The scroll bar's range.
PAGE_EXPORT(rodadero_scroll_min) int RodaderoScrollMin()
{
    return ALPHA_POS_MIN;
}
PAGE_EXPORT(rodadero_scroll_max) int RodaderoScrollMax()
{
    return ALPHA_POS_MAX;
}
PAGE_EXPORT(rodadero_scroll_start) int RodaderoScrollStart()
{
    return ALPHA_POS_START;
}
