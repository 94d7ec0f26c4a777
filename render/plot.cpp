#include "plot.h"

namespace {

// A line from a to b, drawn on its own.
void Segment(HDC dc, PixelPoint a, PixelPoint b)
{
    MoveToEx(dc, a.x, a.y, NULL);
    LineTo(dc, b.x, b.y);
}

void DrawLines(HDC dc, const PlotLine *lines, int count)
{
    for (int i = 0; i < count; ++i)
        Segment(dc, lines[i].from, lines[i].to);
}

} // namespace

void DrawCurves(HDC dc, ScreenPoint points[NODE_COUNT], COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, PLOT_PEN_WIDTH, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    RefreshScreenX(points);
    for (int j = 0; j < NODE_COUNT - 1; ++j)
        Segment(dc, PolylineVertex(points, j), PolylineVertex(points, j + 1));
    SelectObject(dc, previous);
    DeleteObject(pen);

    pen = CreatePen(PS_SOLID, PLOT_PEN_WIDTH, CYCLOID_COLOR);
    previous = SelectObject(dc, pen);
    for (int k = 0; k < NODE_COUNT - 1; ++k)
        Segment(dc, CycloidVertex(k), CycloidVertex(k + 1));
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void DrawFrame(HDC dc)
{
    HPEN target = CreatePen(PS_SOLID, PLOT_PEN_WIDTH, TARGET_COLOR);
    HPEN frame = CreatePen(PS_SOLID, PLOT_PEN_WIDTH, FRAME_COLOR);
    HGDIOBJ previous = SelectObject(dc, target);
    DrawLines(dc, TARGET_LINES, TARGET_LINE_COUNT);
    SelectObject(dc, frame);
    DrawLines(dc, FRAME_LINES, FRAME_LINE_COUNT);
    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteObject(frame);
}

void PaintPlot(HDC dc)
{
    DrawCurves(dc, CurveState.ScreenPts, CurveState.ApproxColor);
    DrawFrame(dc);

    char buffer[100];
    int microseconds = FallTimeMicroseconds();
    for (const PlotCaption &c : PLOT_CAPTIONS) {
        int n = wsprintfA(buffer, c.format, microseconds);
        TextOutA(dc, c.x, c.y, buffer, n);
    }
}
