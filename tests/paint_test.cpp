// The picture on real GDI: painted into a memory context and read back
// pixel by pixel.
#include "gdi_canvas.h"
#include "plot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The state of the main window right after it is created.
void WindowJustCreated()
{
    CurveState = RecordAfterWindowCreation();
}

std::string Hex(COLORREF c)
{
    char s[16];
    wsprintfA(s, "0x%06X", c);
    return s;
}

struct PixelCase {
    int x, y;
    COLORREF colour;
    const char *what;
};

void ExpectPixels(const Canvas &canvas, const PixelCase *cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const PixelCase &c = cases[i];
        EXPECT_EQ(Hex(canvas.Pixel(c.x, c.y)), Hex(c.colour))
            << c.what << " at (" << c.x << ", " << c.y << ")";
    }
}

// Vertex positions in pixels, each coordinate truncated toward zero; from a
// plain reference of the model and of the cycloid samples run once outside
// the program. Many of them would move by a pixel if rounded instead.
struct Vertex {
    int x, y;
};

// 400 x the cycloid samples; rounding would move x at 4, 5, 6, 11, 14, 17,
// 18 and y at 1, 2, 4, 8, 9, 11, 12, 13, 15, 18, 20.
const Vertex CYCLOID_VERTICES[NODE_COUNT] = {
    {0, 2},      {1, 9},      {3, 21},     {8, 38},     {15, 58},    {26, 82},
    {41, 109},   {61, 138},   {85, 168},   {114, 199},  {148, 231},  {186, 261},
    {230, 290},  {278, 317},  {329, 341},  {385, 361},  {443, 378},  {503, 390},
    {565, 397},  {628, 400},  {691, 397},
};

struct CurvesCase {
    const char *name;
    int steps; // from the chord, with the starting step factor
    Vertex polyline[NODE_COUNT];
};

// The depths 18.3 j truncate to the same y in both states (rounding would
// move y at j = 2, 3, 5, 6, 9, ...). At the chord every x is a whole
// pixel; after 200 steps rounding would move x at j = 2..8, 11, 13..16.
const CurvesCase CURVES_CASES[] = {
    {"chord", 0,
     {{0, 0},     {20, 18},   {40, 36},   {60, 54},   {80, 73},   {100, 91},  {120, 109},
      {140, 128}, {160, 146}, {180, 164}, {200, 183}, {220, 201}, {240, 219}, {260, 237},
      {280, 256}, {300, 274}, {320, 292}, {340, 311}, {360, 329}, {380, 347}, {400, 366}}},
    {"after 200 steps", 200,
     {{0, 0},     {4, 18},    {11, 36},   {22, 54},   {35, 73},   {51, 91},   {70, 109},
      {91, 128},  {114, 146}, {139, 164}, {164, 183}, {188, 201}, {213, 219}, {236, 237},
      {259, 256}, {282, 274}, {305, 292}, {328, 311}, {351, 329}, {375, 347}, {400, 366}}},
};

// The 20 segments through the given vertices, each drawn on its own with a
// solid 2-pixel pen.
void DrawThrough(HDC dc, const Vertex *v, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    for (int j = 0; j < NODE_COUNT - 1; ++j) {
        MoveToEx(dc, v[j].x, v[j].y, NULL);
        LineTo(dc, v[j + 1].x, v[j + 1].y);
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}

TEST(Vertices, BothCurvesAtTruncatedPixels)
{
    for (const CurvesCase &c : CURVES_CASES) {
        WindowJustCreated();
        for (int i = 0; i < c.steps; ++i)
            DescentStep();
        Canvas drawn;
        DrawCurves(drawn.dc, CurveState.ScreenPts, RED);
        for (int j = 0; j < NODE_COUNT; ++j) {
            PixelPoint p = PolylineVertex(CurveState.ScreenPts, j);
            EXPECT_EQ(p.x, c.polyline[j].x) << c.name << ", polyline vertex " << j;
            EXPECT_EQ(p.y, c.polyline[j].y) << c.name << ", polyline vertex " << j;
            PixelPoint q = CycloidVertex(j);
            EXPECT_EQ(q.x, CYCLOID_VERTICES[j].x) << c.name << ", cycloid vertex " << j;
            EXPECT_EQ(q.y, CYCLOID_VERTICES[j].y) << c.name << ", cycloid vertex " << j;
        }
        EXPECT_EQ(CurveState.ScreenPts[20].x, 400.0) << c.name;
        // The picture is the one drawn through those pixels.
        Canvas expected;
        DrawThrough(expected.dc, c.polyline, RED);
        DrawThrough(expected.dc, CYCLOID_VERTICES, BLUE);
        EXPECT_TRUE(drawn.Snapshot() == expected.Snapshot()) << c.name;
    }
}

TEST(Vertices, TruncatedTowardZero)
{
    static const struct { double shown; int x; } cases[] = {
        {-0.0024, 0}, {-1e-12, 0}, {-0.0, 0}, {0.0024, 0}, {0.0025, 1},
        {-0.0025, -1}, {-0.0026, -1}, {0.05, 20}, {0.15000000000000002, 60},
    };
    for (const auto &c : cases) {
        WindowJustCreated();
        CurveState.ShownX[4] = c.shown;
        Canvas canvas;
        DrawCurves(canvas.dc, CurveState.ScreenPts, RED);
        EXPECT_EQ(PolylineVertex(CurveState.ScreenPts, 4).x, c.x) << c.shown;
    }
    // Values no conversion could hold still give a defined position.
    static const struct { double v; int x; } wild[] = {
        {1e300, 2147483647}, {-1e300, -2147483647 - 1}, {0.0 / 0.0 * 0.0, 0},
    };
    for (const auto &w : wild) {
        CurveState.ScreenPts[4].x = w.v;
        EXPECT_EQ(PolylineVertex(CurveState.ScreenPts, 4).x, w.x) << w.v;
    }
}

TEST(FirstPicture, CurvesFrameAndTargetLines)
{
    WindowJustCreated();
    Canvas canvas;
    PaintPlot(canvas.dc);
    static const PixelCase cases[] = {
        // The chord's vertices (the first under the frame's corner, the last
        // under the crossing of the target lines).
        {20, 18, RED, "chord vertex 1"},
        {40, 36, RED, "chord vertex 2"},
        {60, 54, RED, "chord vertex 3"},
        {80, 73, RED, "chord vertex 4"},
        {100, 91, RED, "chord vertex 5"},
        {200, 183, RED, "chord vertex 10"},
        {300, 274, RED, "chord vertex 15"},
        {380, 347, RED, "chord vertex 19"},
        {0, 0, BLACK, "frame corner over chord vertex 0"},
        {400, 366, YELLOW, "target crossing over the last chord vertex"},
        // The cycloid's vertices that nothing later covers.
        {114, 199, BLUE, "cycloid vertex 9"},
        {628, 400, BLUE, "cycloid vertex 19, right of the frame"},
        {691, 397, BLUE, "cycloid vertex 20"},
        {0, 2, BLACK, "frame side over cycloid vertex 0"},
        // The frame, on all four sides, and the target lines.
        {300, 0, BLACK, "top side"},
        {0, 200, BLACK, "left side"},
        {300, 400, BLACK, "bottom side"},
        {600, 200, BLACK, "right side"},
        {600, 0, BLACK, "top right corner"},
        {400, 100, YELLOW, "vertical target line"},
        {200, 366, YELLOW, "horizontal target line"},
        // Untouched background inside and outside the frame.
        {500, 200, WINDOW_BACKGROUND, "inside the frame"},
        {700, 100, WINDOW_BACKGROUND, "right of the frame"},
        {300, 450, WINDOW_BACKGROUND, "below the frame"},
    };
    ExpectPixels(canvas, cases, sizeof cases / sizeof cases[0]);

    // Where the cycloid crosses the frame's right side the frame is on top.
    int blueOnRightSide = 0;
    for (int y = 0; y <= 400; ++y)
        if (canvas.Pixel(600, y) == BLUE)
            ++blueOnRightSide;
    EXPECT_EQ(blueOnRightSide, 0);
    // The target lines lie over both curves (the captions' white cells
    // cover the vertical one higher up, the frame its top end).
    for (int y = 100; y <= 366; ++y)
        ASSERT_EQ(Hex(canvas.Pixel(400, y)), Hex(YELLOW)) << "vertical target line at y=" << y;
    for (int x = 2; x <= 400; ++x)
        ASSERT_EQ(Hex(canvas.Pixel(x, 366)), Hex(YELLOW)) << "horizontal target line at x=" << x;
}

// A caption's pixels equal the same text drawn on a blank canvas.
struct CaptionCase {
    int x, y;
    const char *text;
};

void ExpectCaption(const Canvas &painted, const CaptionCase &c)
{
    Canvas blank;
    int n = lstrlenA(c.text);
    TextOutA(blank.dc, c.x, c.y, c.text, n);
    SIZE extent;
    GetTextExtentPoint32A(blank.dc, c.text, n, &extent);
    ASSERT_GT(extent.cx, 0);
    RECT block = {c.x, c.y, c.x + extent.cx, c.y + extent.cy};
    EXPECT_TRUE(painted.SameBlock(blank, block)) << "caption \"" << c.text << "\"";
    // One more cell to the right is not white text background.
    EXPECT_NE(Hex(painted.Pixel(c.x + extent.cx + 1, c.y + extent.cy / 2)), Hex(WHITE))
        << "caption \"" << c.text << "\" runs on";
}

TEST(Captions, TextsAndTheFallTime)
{
    // The fall time the steps leave (none: before any step), or one set by
    // hand to show that it is truncated.
    static const struct { int steps; double fallTime; const char *line; } times[] = {
        {0, -1.0, "Tiempo de caida  0  millonesimos de segundo"},
        {1, -1.0, "Tiempo de caida  584818  millonesimos de segundo"},
        {0, 0.5123456789, "Tiempo de caida  512345  millonesimos de segundo"},
        {0, 0.5423559999999, "Tiempo de caida  542355  millonesimos de segundo"},
    };
    for (const auto &t : times) {
        WindowJustCreated();
        for (int i = 0; i < t.steps; ++i)
            DescentStep();
        if (t.fallTime >= 0.0)
            CurveState.FallTime = t.fallTime;
        Canvas canvas;
        PaintPlot(canvas.dc);
        ExpectCaption(canvas, {10, 375, t.line});
        ExpectCaption(canvas, {140, 70, "Altura de caida 0.92 y largo de caida 1.00 , para g=10 "});
        ExpectCaption(canvas, {140, 30, "En rojo la aproximante, en azul la cicloide"});
    }
}

TEST(AfterSteps, PicturesThatMustNotDiffer)
{
    // Each variant must paint exactly the picture of the base state.
    struct Variant {
        const char *what;
        int node;
        double shown;
    };
    static const Variant variants[] = {
        {"node 1 just left of the start", 1, -0.0024},
        {"node 1 a hair left of the start", 1, -1e-12},
        {"node 1 just right of the start", 1, 0.0024},
        {"last node anywhere", 20, 0.3},
        {"last node far away", 20, -50.0},
        {"last node not a number", 20, 0.0 / 0.0 * 0.0},
    };
    for (const Variant &v : variants) {
        WindowJustCreated();
        CurveState.ShownX[1] = 0.0;
        Canvas base;
        PaintPlot(base.dc);
        CurveState.ShownX[v.node] = v.shown;
        Canvas variant;
        PaintPlot(variant.dc);
        EXPECT_TRUE(base.Snapshot() == variant.Snapshot()) << v.what;
    }
    // A node one pixel further left does change the picture.
    WindowJustCreated();
    CurveState.ShownX[1] = 0.0;
    Canvas base;
    PaintPlot(base.dc);
    CurveState.ShownX[1] = -0.01;
    Canvas moved;
    PaintPlot(moved.dc);
    EXPECT_FALSE(base.Snapshot() == moved.Snapshot());
}

TEST(Repaint, TwoPaintsWithoutAStepAreIdentical)
{
    WindowJustCreated();
    for (int i = 0; i < 37; ++i)
        DescentStep();
    Canvas first, second;
    PaintPlot(first.dc);
    PaintPlot(second.dc);
    EXPECT_TRUE(first.Snapshot() == second.Snapshot());
    // Painting over an earlier picture of the same state changes nothing.
    PaintPlot(second.dc);
    EXPECT_TRUE(first.Snapshot() == second.Snapshot());
}

TEST(Objects, PenIsRestoredAndNothingLeaks)
{
    WindowJustCreated();
    for (int i = 0; i < 5; ++i)
        DescentStep();
    Canvas canvas;
    HGDIOBJ penBefore = GetCurrentObject(canvas.dc, OBJ_PEN);
    PaintPlot(canvas.dc);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), penBefore);
    std::vector<std::uint32_t> firstPicture = canvas.Snapshot();
    int afterFirst = GdiObjectCount();
    ASSERT_GT(afterFirst, 0);

    // The count sees a single leaked pen.
    HPEN leak = CreatePen(PS_SOLID, 2, RED);
    EXPECT_EQ(GdiObjectCount(), afterFirst + 1);
    DeleteObject(leak);
    EXPECT_EQ(GdiObjectCount(), afterFirst);

    for (int i = 1; i < 10000; ++i)
        PaintPlot(canvas.dc);
    int afterMany = GdiObjectCount();
    std::printf("GDI objects after the first paint: %d, after 10000 paints: %d\n",
                afterFirst, afterMany);
    EXPECT_EQ(afterMany, afterFirst);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), penBefore);
    EXPECT_TRUE(canvas.Snapshot() == firstPicture);
}

} // namespace
