// Painting of the main window's picture from CurveState: the red polyline,
// the blue cycloid, the frame with its two target lines and the captions.
#ifndef RODADERO_RENDER_PLOT_H
#define RODADERO_RENDER_PLOT_H

#include <windows.h>

#include "curve_state.h"

// Pen colours (COLORREF, red in the low byte).
const COLORREF CYCLOID_COLOR = 0xFA9600;
const COLORREF TARGET_COLOR = 0x00FAFA;
const COLORREF FRAME_COLOR = 0x000000;

// Pixel positions of the vertices, each coordinate truncated toward zero.
POINT PolylineVertex(const ScreenPoint points[NODE_COUNT], int j);
POINT CycloidVertex(int k);

// The whole picture, drawn on dc (the paint's device context).
void PaintPlot(HDC dc);

// The polyline in colour, from points (x of 0..19 refreshed from ShownX
// first), then the cycloid.
void DrawCurves(HDC dc, ScreenPoint points[NODE_COUNT], COLORREF colour);

// The two target lines, then the four sides of the 600 x 400 frame.
void DrawFrame(HDC dc);

#endif
