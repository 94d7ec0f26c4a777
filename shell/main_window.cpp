#include "shell.h"

#include "controls.h"
#include "curve_state.h"
#include "plot.h"

namespace {

const WPARAM ESCAPE_CHAR = 27;

void InvalidateAll(HWND window)
{
    InvalidateRect(window, NULL, TRUE);
}

// In continuous mode every paint takes a step. The invalidation comes before
// BeginPaint, which validates it again, so it brings no further paint.
void OnPaint(HWND window)
{
    if (RunWindowEvent(MAIN_PAINT))
        InvalidateAll(window);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintPlot(dc);
    EndPaint(window, &ps);
}

// Timed mode steps here and shows the result; continuous mode leaves the
// step to the paint it asks for.
void OnTimer(HWND window)
{
    if (RunWindowEvent(MAIN_TIMER_TICK))
        InvalidateAll(window);
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(window, MAIN_TIMER_ID, WINDOW_TIMER_PERIOD_MS, NULL);
        StartCurves();
        return 0;
    case WM_SIZE:
        InvalidateAll(window);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_CHAR:
        if (wParam == ESCAPE_CHAR)
            PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
