#include "plot_layout.h"

#include "trunc_int.h"

namespace {
const double PIXELS_PER_UNIT = 400.0;
}

const PlotLine TARGET_LINES[TARGET_LINE_COUNT] = {
    {{400, 0}, {400, 366}},
    {{0, 366}, {400, 366}},
};

const PlotLine FRAME_LINES[FRAME_LINE_COUNT] = {
    {{0, 0}, {0, 400}},
    {{0, 0}, {600, 0}},
    {{600, 400}, {0, 400}},
    {{600, 400}, {600, 0}},
};

const PlotCaption PLOT_CAPTIONS[CAPTION_COUNT] = {
    {10, 375, "Tiempo de caida  %i  millonesimos de segundo"},
    {140, 70, "Altura de caida 0.92 y largo de caida 1.00 , para g=10 "},
    {140, 30, "En rojo la aproximante, en azul la cicloide"},
};

void RefreshScreenX(ScreenPoint points[NODE_COUNT])
{
    for (int j = 0; j < NODE_COUNT - 1; ++j)
        points[j].x = PIXELS_PER_UNIT * CurveState.ShownX[j];
}

PixelPoint PolylineVertex(const ScreenPoint points[NODE_COUNT], int j)
{
    PixelPoint p = {TruncToInt(points[j].x), TruncToInt(points[j].y)};
    return p;
}

PixelPoint CycloidVertex(int k)
{
    const ModelPoint &c = CurveState.CycloidPts[k];
    PixelPoint p = {TruncToInt(PIXELS_PER_UNIT * c.x), TruncToInt(PIXELS_PER_UNIT * c.y)};
    return p;
}

std::int32_t FallTimeMicroseconds()
{
    return PrintedTime(CurveState.FallTime);
}
