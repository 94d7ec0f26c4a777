// The real windows under abuse: random message storms from other programs,
// and a long run of steps and paints. Nothing may crash, leak or leave the
// model in a state the picture cannot show.
#include "gdi_canvas.h"
#include "plot.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

namespace {

// Every double of the record is finite and every field within its range.
::testing::AssertionResult Sane(const CurveStateRecord &s)
{
    for (int k = 0; k < NODE_COUNT; ++k) {
        const double values[] = {s.NodeX[k], s.ShownX[k], s.CycloidPts[k].x, s.CycloidPts[k].y,
                                 s.ScreenPts[k].x, s.ScreenPts[k].y};
        for (double v : values)
            if (!std::isfinite(v))
                return ::testing::AssertionFailure() << "non-finite value at node " << k;
    }
    if (!std::isfinite(s.FallTime) || !std::isfinite(s.Alpha))
        return ::testing::AssertionFailure() << "non-finite fall time or step factor";
    if (s.AlphaPos < 1 || s.AlphaPos > 100)
        return ::testing::AssertionFailure() << "scroll position " << s.AlphaPos;
    if (s.Alpha != AlphaForPosition(s.AlphaPos) && s.Alpha != ALPHA_START)
        return ::testing::AssertionFailure() << "step factor " << s.Alpha << " at position "
                                             << s.AlphaPos;
    if (s.RunContinuous != 0 && s.RunContinuous != 1)
        return ::testing::AssertionFailure() << "run mode " << s.RunContinuous;
    return ::testing::AssertionSuccess();
}

class Storm : public Windows {
protected:
    std::mt19937 random;

    unsigned Below(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random); }
    WORD AnyWord() { return static_cast<WORD>(Below(65536)); }

    // One message from the list of those whose parameters are plain numbers.
    void SendOne()
    {
        bool post = Below(4) == 0;
        HWND to = main;
        UINT msg = 0;
        WPARAM w = 0;
        LPARAM l = 0;
        switch (Below(12)) {
        case 0:
            msg = WM_TIMER, w = Below(3);
            break;
        case 1:
            to = dialog, msg = WM_TIMER, w = Below(3);
            break;
        case 2:
            InvalidateRect(main, NULL, TRUE);
            if (Below(2))
                UpdateWindow(main);
            return;
        case 3: {
            static const LPARAM sizes[] = {0, MAKELPARAM(65535, 65535), MAKELPARAM(1, 1),
                                           MAKELPARAM(594, 401)};
            msg = WM_SIZE, w = Below(5);
            l = Below(2) ? sizes[Below(4)] : MAKELPARAM(AnyWord(), AnyWord());
            break;
        }
        case 4:
        case 5:
            to = dialog, msg = WM_HSCROLL, w = MAKEWPARAM(Below(9), AnyWord());
            l = Below(2) ? reinterpret_cast<LPARAM>(scroll) : 0;
            break;
        case 6: {
            static const WORD ids[] = {1005, 1007, 1006, 0, 1, 2, 1004, 1008, 0xFFFF};
            WORD id = Below(3) ? ids[Below(2)] : ids[Below(9)];
            if (Below(10) == 0)
                id = AnyWord();
            to = dialog, msg = WM_COMMAND, w = MAKEWPARAM(id, Below(3));
            break;
        }
        case 7:
            msg = WM_CHAR, w = AnyWord();
            if (w == 27)
                w = 28;
            l = Below(2);
            break;
        case 8: {
            static const UINT mouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                         WM_RBUTTONDOWN, WM_RBUTTONUP};
            msg = mouse[Below(5)], w = Below(4), l = MAKELPARAM(AnyWord(), AnyWord());
            break;
        }
        case 9:
            to = dialog, msg = WM_MOUSEMOVE, l = MAKELPARAM(Below(200), Below(300));
            break;
        case 10:
            to = dialog, msg = WM_CHAR, w = Below(2) ? ' ' : AnyWord();
            if (w == 27)
                w = 26;
            break;
        case 11:
            SendMessageA(main, WM_PAINT, 0, 0);
            return;
        }
        if (post)
            PostMessageA(to, msg, w, l);
        else
            SendMessageA(to, msg, w, l);
    }
};

TEST_F(Storm, TenThousandMessagesPerSeed)
{
    static const unsigned seeds[] = {1, 20261207, 4242};
    for (unsigned seed : seeds) {
        random.seed(seed);
        int sent = 0;
        while (sent < 10000) {
            int burst = 1 + Below(20);
            for (int i = 0; i < burst && sent < 10000; ++i, ++sent)
                SendOne();
            Pump();
        }
        Pump();
        std::printf("seed %u: %d messages\n", seed, sent);
        ASSERT_TRUE(IsWindow(main)) << "seed " << seed;
        ASSERT_TRUE(IsWindow(dialog)) << "seed " << seed;
        ASSERT_EQ(TakeQuit(), -1) << "seed " << seed;
        ASSERT_TRUE(Sane(CurveState)) << "seed " << seed;
        DescentStep();
        ASSERT_TRUE(Sane(CurveState)) << "seed " << seed;
        ASSERT_LT(CurveState.FallTime, 1.0) << "seed " << seed;
        ASSERT_GT(CurveState.FallTime, 0.5) << "seed " << seed;
    }
}

// The window's client area as it stands, read back from its device context.
void CaptureClient(HWND window, Canvas &into)
{
    HDC dc = GetDC(window);
    BitBlt(into.dc, 0, 0, into.width, into.height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
}

TEST_F(Windows, LongRunKeepsObjectsAndPicture)
{
    ASSERT_TRUE(KillTimer(main, MAIN_TIMER_ID));
    ASSERT_TRUE(KillTimer(dialog, DIALOG_TIMER_ID));
    SendMessageA(dialog, WM_CLOSE, 0, 0); // hidden: nothing covers the main window
    Pump();
    CurveStateRecord chord = CurveState;

    SendMessageA(dialog, WM_TIMER, DIALOG_TIMER_ID, 0);
    UpdateWindow(main);
    int afterFirst = GdiObjectCount();
    ASSERT_GT(afterFirst, 0);
    const int rounds = 20000;
    for (int i = 1; i < rounds; ++i) {
        SendMessageA(dialog, WM_TIMER, DIALOG_TIMER_ID, 0);
        UpdateWindow(main);
    }
    Pump();
    int atEnd = GdiObjectCount();
    std::printf("GDI objects after the first paint: %d, after %d steps and paints: %d\n",
                afterFirst, rounds, atEnd);
    EXPECT_EQ(atEnd, afterFirst);
    EXPECT_TRUE(SameCurves(CurveState, Stepped(chord, rounds)));

    RECT client;
    GetClientRect(main, &client);
    Canvas shown(client.right, client.bottom, BLACK);
    CaptureClient(main, shown);
    Canvas fresh(client.right, client.bottom);
    PaintPlot(fresh.dc);
    EXPECT_TRUE(shown.Snapshot() == fresh.Snapshot()) << "the window shows a fresh paint of the state";
    EXPECT_NE(shown.Pixel(10, 380), BLACK) << "the capture holds the picture";
}

} // namespace
