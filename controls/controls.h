// What the main window and the parameter dialog do to the model, with no
// platform type, so that the Windows program and the web page share one
// version of it:
// - the model as the main window's creation leaves it (StartCurves);
// - for each event (a tick of either timer, a paint, the run-mode button,
//   the reset button, a mouse move over the dialog) whether it takes a
//   descent step in the current run mode and whether the main window must
//   then be repainted (RunWindowEvent);
// - the scroll bar's requests: the position a request leads to, or none
//   (ScrollTarget), and what a new position sets (ApplyScrollPosition).
// The caller does the platform's part: invalidating, painting, moving the
// scroll bar's thumb.
#ifndef RODADERO_CONTROLS_CONTROLS_H
#define RODADERO_CONTROLS_CONTROLS_H

#include <cstdint>

// The period of both windows' timers, the main window's and the dialog's.
const unsigned WINDOW_TIMER_PERIOD_MS = 50;

// Window creation: the polyline's colour, then the chord and the cycloid.
void StartCurves();

enum WindowEvent {
    MAIN_TIMER_TICK,
    DIALOG_TIMER_TICK,
    MAIN_PAINT, // before the painting itself: its invalidation is served by it
    RUN_MODE_TOGGLE,
    CURVE_RESET,
    DIALOG_MOUSE_MOVE, // over the dialog's own surface or its static texts
    WINDOW_EVENT_COUNT
};

// Runs the event on the model: the toggle or the reset it stands for, and
// the descent step it takes in the current run mode. True when the main
// window is to be invalidated afterwards. Whoever counts the steps passes
// `stepped`, which then tells whether this event took one.
bool RunWindowEvent(WindowEvent event, bool *stepped = nullptr);

// A horizontal scroll bar's request codes, with the platform's numbers.
enum ScrollRequest {
    SCROLL_LINE_LEFT = 0,
    SCROLL_LINE_RIGHT = 1,
    SCROLL_PAGE_LEFT = 2,
    SCROLL_PAGE_RIGHT = 3,
    SCROLL_THUMB_POSITION = 4, // the thumb released
    SCROLL_THUMB_TRACK = 5,    // the thumb dragged
};

// The bar's range is that of the scroll positions, ALPHA_POS_MIN to
// ALPHA_POS_MAX.
const int SCROLL_IGNORED = 0;

// The position a request leads to from AlphaPos, kept within the range, or
// SCROLL_IGNORED for page requests and every other code. `thumb` is the
// thumb's position that comes with a thumb request (a 16-bit value on
// Windows; anyone can send one, so it is clamped too).
int ScrollTarget(int request, unsigned thumb);

// A new position p: AlphaPos = p and Alpha = AlphaForPosition(p). The
// main window is to be invalidated afterwards.
void ApplyScrollPosition(int p);

#endif
