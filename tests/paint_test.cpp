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
    CurveStateRecord fresh = {};
    fresh.Alpha = ALPHA_START;
    fresh.AlphaPos = ALPHA_POS_START;
    CurveState = fresh;
    CurveState.ApproxColor = RED;
    InitCurves(CurveState.ScreenPts);
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

TEST(Vertices, ChordAndCycloidInPixels)
{
    WindowJustCreated();
    // The chord's screen depths, truncated: 18.3 pixels per node.
    static const int chordY[NODE_COUNT] = {0, 18, 36, 54, 73, 91, 109, 128, 146, 164, 183,
                                           201, 219, 237, 256, 274, 292, 311, 329, 347, 366};
    for (int j = 0; j < NODE_COUNT; ++j) {
        CurveState.ScreenPts[j].x = j < 20 ? 400.0 * CurveState.ShownX[j] : 400.0;
        POINT p = PolylineVertex(CurveState.ScreenPts, j);
        EXPECT_EQ(p.x, 20 * j) << j;
        EXPECT_EQ(p.y, chordY[j]) << j;
    }
    static const struct { int k, x, y; } cycloid[] = {
        {0, 0, 2}, {9, 114, 199}, {19, 628, 400}, {20, 691, 397},
    };
    for (const auto &c : cycloid) {
        POINT p = CycloidVertex(c.k);
        EXPECT_EQ(p.x, c.x) << c.k;
        EXPECT_EQ(p.y, c.y) << c.k;
    }
}

TEST(Vertices, TruncatedTowardZero)
{
    WindowJustCreated();
    static const struct { double shown; int x; } cases[] = {
        {-0.0024, 0}, {-1e-12, 0}, {-0.0, 0}, {0.0024, 0}, {0.0025, 1},
        {-0.0025, -1}, {-0.0026, -1}, {0.05, 20}, {0.15000000000000002, 60},
    };
    for (const auto &c : cases) {
        CurveState.ScreenPts[4].x = 400.0 * c.shown;
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
    static const struct { double fallTime; const char *line; } times[] = {
        {0.0, "Tiempo de caida  0  millonesimos de segundo"},
        {0.58481878426, "Tiempo de caida  584818  millonesimos de segundo"},
        {0.5123456789, "Tiempo de caida  512345  millonesimos de segundo"},
        {0.5423559999999, "Tiempo de caida  542355  millonesimos de segundo"},
    };
    for (const auto &t : times) {
        WindowJustCreated();
        CurveState.FallTime = t.fallTime;
        Canvas canvas;
        PaintPlot(canvas.dc);
        ExpectCaption(canvas, {10, 375, t.line});
        ExpectCaption(canvas, {140, 70, "Altura de caida 0.92 y largo de caida 1.00 , para g=10 "});
        ExpectCaption(canvas, {140, 30, "En rojo la aproximante, en azul la cicloide"});
    }
}

TEST(Captions, FirstStepPrintsItsTime)
{
    WindowJustCreated();
    DescentStep();
    Canvas canvas;
    PaintPlot(canvas.dc);
    ExpectCaption(canvas, {10, 375, "Tiempo de caida  584818  millonesimos de segundo"});
}

TEST(AfterSteps, VerticesFollowTheShownCopy)
{
    WindowJustCreated();
    for (int i = 0; i < 200; ++i)
        DescentStep();
    Canvas canvas;
    PaintPlot(canvas.dc);
    for (int j = 1; j < 20; ++j) {
        int x = static_cast<int>(400.0 * CurveState.ShownX[j]);
        int y = static_cast<int>(18.3 * j + 1e-9);
        EXPECT_EQ(PolylineVertex(CurveState.ScreenPts, j).x, x) << j;
        EXPECT_EQ(Hex(canvas.Pixel(x, y)), Hex(RED)) << "vertex " << j;
        EXPECT_EQ(CurveState.ScreenPts[j].x, 400.0 * CurveState.ShownX[j]) << j;
    }
    EXPECT_EQ(CurveState.ScreenPts[20].x, 400.0);
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
