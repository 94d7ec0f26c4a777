#include "plot.h"

#include "trunc_int.h"

namespace {

const int PEN_WIDTH = 2;
const double PIXELS_PER_UNIT = 400.0;

// A line from a to b, drawn on its own.
void Segment(HDC dc, POINT a, POINT b)
{
    MoveToEx(dc, a.x, a.y, NULL);
    LineTo(dc, b.x, b.y);
}

struct FixedLine {
    POINT from, to;
};

// The target lines meet at the drawn end point (400, 366).
const FixedLine TARGET_LINES[] = {
    {{400, 0}, {400, 366}},
    {{0, 366}, {400, 366}},
};

// The frame: left, top, bottom, right.
const FixedLine FRAME_LINES[] = {
    {{0, 0}, {0, 400}},
    {{0, 0}, {600, 0}},
    {{600, 400}, {0, 400}},
    {{600, 400}, {600, 0}},
};

void DrawLines(HDC dc, const FixedLine *lines, int count)
{
    for (int i = 0; i < count; ++i)
        Segment(dc, lines[i].from, lines[i].to);
}

struct Caption {
    int x, y;
    const char *format;
};

// Drawn in this order; the first prints the fall time in millionths.
const Caption CAPTIONS[] = {
    {10, 375, "Tiempo de caida  %i  millonesimos de segundo"},
    {140, 70, "Altura de caida 0.92 y largo de caida 1.00 , para g=10 "},
    {140, 30, "En rojo la aproximante, en azul la cicloide"},
};

} // namespace

POINT PolylineVertex(const ScreenPoint points[NODE_COUNT], int j)
{
    POINT p = {TruncToInt(points[j].x), TruncToInt(points[j].y)};
    return p;
}

POINT CycloidVertex(int k)
{
    const ModelPoint &c = CurveState.CycloidPts[k];
    POINT p = {TruncToInt(PIXELS_PER_UNIT * c.x), TruncToInt(PIXELS_PER_UNIT * c.y)};
    return p;
}

void DrawCurves(HDC dc, ScreenPoint points[NODE_COUNT], COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, PEN_WIDTH, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    for (int j = 0; j < NODE_COUNT - 1; ++j)
        points[j].x = PIXELS_PER_UNIT * CurveState.ShownX[j];
    for (int j = 0; j < NODE_COUNT - 1; ++j)
        Segment(dc, PolylineVertex(points, j), PolylineVertex(points, j + 1));
    SelectObject(dc, previous);
    DeleteObject(pen);

    pen = CreatePen(PS_SOLID, PEN_WIDTH, CYCLOID_COLOR);
    previous = SelectObject(dc, pen);
    for (int k = 0; k < NODE_COUNT - 1; ++k)
        Segment(dc, CycloidVertex(k), CycloidVertex(k + 1));
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void DrawFrame(HDC dc)
{
    HPEN target = CreatePen(PS_SOLID, PEN_WIDTH, TARGET_COLOR);
    HPEN frame = CreatePen(PS_SOLID, PEN_WIDTH, FRAME_COLOR);
    HGDIOBJ previous = SelectObject(dc, target);
    DrawLines(dc, TARGET_LINES, 2);
    SelectObject(dc, frame);
    DrawLines(dc, FRAME_LINES, 4);
    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteObject(frame);
}

void PaintPlot(HDC dc)
{
    DrawCurves(dc, CurveState.ScreenPts, CurveState.ApproxColor);
    DrawFrame(dc);

    char buffer[100];
    int microseconds = TruncToInt(CurveState.FallTime * 1000000.0);
    for (const Caption &c : CAPTIONS) {
        int n = wsprintfA(buffer, c.format, microseconds);
        TextOutA(dc, c.x, c.y, buffer, n);
    }
}
