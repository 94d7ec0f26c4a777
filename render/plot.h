// Painting of the main window's picture from CurveState: the red polyline,
// the blue cycloid, the frame with its two target lines and the captions,
// with GDI, at the places that plot_layout.h gives.
#ifndef RODADERO_RENDER_PLOT_H
#define RODADERO_RENDER_PLOT_H

#include <windows.h>

#include "curve_state.h"
#include "plot_layout.h"

// The whole picture, drawn on dc (the paint's device context).
void PaintPlot(HDC dc);

// The polyline in colour, from points (x of 0..19 refreshed from ShownX
// first), then the cycloid.
void DrawCurves(HDC dc, ScreenPoint points[NODE_COUNT], COLORREF colour);

// The two target lines, then the four sides of the 600 x 400 frame.
void DrawFrame(HDC dc);

#endif
