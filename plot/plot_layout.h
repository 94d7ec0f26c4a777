// Where the main window's picture puts what, with no platform type, for
// every painter of it (the Windows program's GDI painting and the web
// page's canvas): the background and pen colours, the pen width, the
// target lines and the frame, the three captions, and the pixel of every
// vertex of both curves, each coordinate truncated toward zero.
// Coordinates are client-area pixels, origin top left, y downward; colours
// are 24-bit, red in the low byte.
#ifndef RODADERO_PLOT_PLOT_LAYOUT_H
#define RODADERO_PLOT_PLOT_LAYOUT_H

#include "curve_state.h"

#include <cstdint>

struct PixelPoint {
    std::int32_t x, y;
};

struct PlotLine {
    PixelPoint from, to;
};

// A caption's top-left corner and its text; the first one's %i stands for
// the fall time in millionths of a second.
struct PlotCaption {
    std::int32_t x, y;
    const char *format;
};

const std::uint32_t PLOT_BACKGROUND = 0xA0C8C8;
const std::uint32_t CYCLOID_COLOR = 0xFA9600;
const std::uint32_t TARGET_COLOR = 0x00FAFA;
const std::uint32_t FRAME_COLOR = 0x000000;
const int PLOT_PEN_WIDTH = 2;

enum { TARGET_LINE_COUNT = 2, FRAME_LINE_COUNT = 4, CAPTION_COUNT = 3 };

// The target lines meet at the drawn end point (400, 366); the frame's
// sides in the order drawn: left, top, bottom, right.
extern const PlotLine TARGET_LINES[TARGET_LINE_COUNT];
extern const PlotLine FRAME_LINES[FRAME_LINE_COUNT];

// In the order drawn.
extern const PlotCaption PLOT_CAPTIONS[CAPTION_COUNT];

// Before the polyline is drawn: points[j].x = 400 x ShownX[j] for j = 0..19.
void RefreshScreenX(ScreenPoint points[NODE_COUNT]);

// The pixels of polyline vertex j and cycloid vertex k.
PixelPoint PolylineVertex(const ScreenPoint points[NODE_COUNT], int j);
PixelPoint CycloidVertex(int k);

// The number the first caption prints: FallTime in whole millionths.
std::int32_t FallTimeMicroseconds();

#endif
