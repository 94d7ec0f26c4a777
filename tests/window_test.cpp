// The main window and the parameter dialog, driven through real windows and
// messages under Wine. The windows' own timers are stopped in most cases so
// that every step is one the test asked for; the model is then checked, bit
// for bit, against the same number of steps taken directly.
#include "curve_state.h"
#include "param_dialog.h"
#include "resource.h"
#include "shell.h"
#include "window_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST_F(Windows, CreationStartsTimerAndModel)
{
    EXPECT_TRUE(StopTimers()) << "both windows start their timer";
    // The model starts from the chord; a loaded machine may already have
    // delivered a tick or two, so count the steps since.
    CurveStateRecord created = CurveState;
    ResetRecord();
    InitCurves(CurveState.ScreenPts);
    CurveStateRecord chord = CurveState;
    CurveState = created;
    int steps = StepsSince(chord, 20);
    EXPECT_GE(steps, 0) << "the window starts from the chord";
    if (steps == 0) {
        EXPECT_EQ(created.FallTime, 0.0);
    }
    EXPECT_EQ(created.ApproxColor, 0x0000FFu);

    char text[64];
    GetClassNameA(main, text, sizeof text);
    EXPECT_STREQ(text, "Rodadero");
    GetWindowTextA(main, text, sizeof text);
    EXPECT_STREQ(text, "    -----  soft by Velmorant");
    EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & WS_OVERLAPPEDWINDOW, (LONG)WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetWindowLongA(main, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right - r.left, 610);
    EXPECT_EQ(r.bottom - r.top, 440);

    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(Instance(), "Rodadero", &wc));
    EXPECT_EQ(wc.style, (UINT)(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, MainWindowProc);
    EXPECT_NE(wc.hIcon, (HICON)NULL);
    EXPECT_EQ(wc.hCursor, LoadCursorA(NULL, MAKEINTRESOURCEA(32512)));
    LOGBRUSH lb;
    ASSERT_EQ(GetObjectA(wc.hbrBackground, sizeof lb, &lb), (int)sizeof lb);
    EXPECT_EQ(lb.lbStyle, (UINT)BS_SOLID);
    EXPECT_EQ(lb.lbColor, 0xA0C8C8u);
    EXPECT_EQ(GetParent(dialog), main);
}

// What a message does to the model and to the main window's update region.
struct TickCase {
    const char *what;
    int continuous;
    int target; // 0 main window, 1 dialog
    UINT message;
    int steps;
    bool invalidates;
};

TEST_F(Windows, TimersAndPaintsInBothModes)
{
    static const TickCase cases[] = {
        {"timed: main tick", 0, 0, WM_TIMER, 1, true},
        {"timed: dialog tick", 0, 1, WM_TIMER, 1, true},
        {"timed: paint", 0, 0, WM_PAINT, 0, false},
        {"continuous: paint", 1, 0, WM_PAINT, 1, false},
        {"continuous: dialog tick", 1, 1, WM_TIMER, 1, true},
        {"continuous: main tick", 1, 0, WM_TIMER, 0, true},
    };
    ASSERT_TRUE(StopTimers());
    for (const TickCase &c : cases) {
        CurveState.RunContinuous = c.continuous;
        Validate();
        CurveStateRecord before = CurveState;
        if (c.message == WM_PAINT) {
            InvalidateRect(main, NULL, TRUE);
            UpdateWindow(main);
        } else {
            SendMessageA(c.target ? dialog : main, WM_TIMER, 1, 0);
        }
        EXPECT_EQ(StepsSince(before), c.steps) << c.what;
        EXPECT_EQ(Invalid(main), c.invalidates) << c.what;
    }
}

TEST_F(Windows, InvalidationInsidePaintBringsNoFurtherPaint)
{
    ASSERT_TRUE(StopTimers());
    CurveState.RunContinuous = 1;
    CurveStateRecord before = CurveState;
    InvalidateRect(main, NULL, TRUE);
    Pump();
    PumpFor(150);
    EXPECT_EQ(StepsSince(before), 1);
    EXPECT_FALSE(Invalid(main));
}

TEST_F(Windows, QueuedTicksMatchTheModel)
{
    // Twenty ticks of each timer through the queue, in timed mode, then the
    // same from the chord directly.
    ASSERT_TRUE(StopTimers());
    CurveStateRecord chord = CurveState;
    for (int i = 0; i < 20; ++i) {
        PostMessageA(main, WM_TIMER, MAIN_TIMER_ID, 0);
        PostMessageA(dialog, WM_TIMER, DIALOG_TIMER_ID, 0);
    }
    Pump();
    EXPECT_TRUE(SameCurves(CurveState, Stepped(chord, 40)));
}

TEST_F(Windows, CharactersAndWindowMessages)
{
    ASSERT_TRUE(StopTimers());
    static const WPARAM harmless[] = {0, 'a', ' ', 13, 9, 26, 28, 127, 0x1B00, 255};
    for (WPARAM ch : harmless) {
        Validate();
        CurveStateRecord before = CurveState;
        EXPECT_EQ(SendMessageA(main, WM_CHAR, ch, 1), 0);
        EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0) << ch;
        EXPECT_EQ(TakeQuit(), -1) << "character " << ch;
        EXPECT_FALSE(Invalid(main)) << ch;
    }
    static const UINT mouse[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                 WM_RBUTTONUP};
    for (UINT m : mouse) {
        Validate();
        CurveStateRecord before = CurveState;
        EXPECT_EQ(SendMessageA(main, m, 0, MAKELPARAM(100, 100)), 0);
        EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0) << m;
        EXPECT_FALSE(Invalid(main)) << m;
    }

    Validate();
    SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_TRUE(Invalid(main));

    EXPECT_EQ(SendMessageA(main, WM_CHAR, 27, 1), 0);
    EXPECT_EQ(TakeQuit(), 0) << "Escape posts the quit message with 0";
    EXPECT_TRUE(IsWindow(main)) << "Escape does not destroy the window";

    DestroyWindow(main);
    EXPECT_EQ(TakeQuit(), 0) << "destruction posts the quit message with 0";
}

TEST_F(Windows, CloseRequestDestroysTheMainWindow)
{
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(TakeQuit(), 0);
}

// The dialog's controls in template order.
struct ControlCase {
    int id;
    const char *cls;
    const char *text;
    int x, y, cx, cy;
    LONG style;
};

TEST_F(Windows, DialogControls)
{
    static const ControlCase controls[] = {
        {1005, "Button", "CONTINUE<>FEW STEPS", 14, 80, 95, 14,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
        {1006, "ScrollBar", "", 2, 32, 117, 15, WS_CHILD | WS_VISIBLE | SBS_HORZ},
        {-1, "Static", "  alfa de convergencia de gradiente descendente", 18, 8, 91, 19,
         WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | SS_SUNKEN | SS_LEFT},
        {1007, "Button", "reset init values ", 14, 57, 96, 14,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
        {-1, "Static",
         "Aproximacion de la minimizante por metodo de gradiente descendente sobre particion "
         "en 20 intervalos de la altura vertical. ",
         2, 101, 117, 42, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | SS_SUNKEN | SS_LEFT},
        {-1, "Static", "", 50, 171, 20, 20, WS_CHILD | WS_VISIBLE | WS_BORDER | SS_SUNKEN | SS_ICON},
    };
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlCase &c : controls) {
        ASSERT_NE(child, (HWND)NULL) << "control " << c.text;
        char text[256] = "";
        char cls[64] = "";
        GetClassNameA(child, cls, sizeof cls);
        GetWindowTextA(child, text, sizeof text);
        EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), c.id) << c.text;
        EXPECT_STREQ(cls, c.cls) << c.text;
        if (c.style & SS_ICON) {
            EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0) << "the icon control shows icon 105";
        } else {
            EXPECT_STREQ(text, c.text);
        }
        // A border asked for in the template is drawn as a sunken client
        // edge by the platform's dialogs.
        LONG style = GetWindowLongA(child, GWL_STYLE) & ~WS_CLIPSIBLINGS;
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
            style |= WS_BORDER;
        EXPECT_EQ(style, c.style) << c.text;
        // Position and size are converted from dialog units separately.
        RECT place = {c.x, c.y, c.cx, c.cy};
        MapDialogRect(dialog, &place);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT *>(&actual), 2);
        EXPECT_EQ(actual.left, place.left) << c.text;
        EXPECT_EQ(actual.top, place.top) << c.text;
        if (!(c.style & SS_ICON)) { // an icon control takes the icon's size
            EXPECT_EQ(actual.right - actual.left, place.right) << c.text;
            EXPECT_EQ(actual.bottom - actual.top, place.bottom) << c.text;
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, (HWND)NULL) << "no seventh control";

    char caption[64];
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "parametros y reset");
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    int lo = -1, hi = -1;
    GetScrollRange(scroll, SB_CTL, &lo, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 100);
    EXPECT_EQ(GetScrollPos(scroll, SB_CTL), 50);
    // The run-mode button is the first tab stop and so has the focus.
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_RUN_MODE));
}

TEST(DialogTemplate, ClassicSpanishArialNine)
{
    HRSRC res = FindResourceExA(Instance(), MAKEINTRESOURCEA(5) /* RT_DIALOG */, "ColorScrDlg",
                                MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN));
    ASSERT_NE(res, (HRSRC)NULL) << "template in Spanish (Spain, modern sort)";
    EXPECT_EQ(MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), 3082);
    const WORD *t = static_cast<const WORD *>(LockResource(LoadResource(Instance(), res)));
    ASSERT_NE(t, nullptr);
    DLGTEMPLATE head;
    std::memcpy(&head, t, sizeof head);
    EXPECT_NE(t[1], 0xFFFF) << "a classic template, not the extended form";
    EXPECT_EQ(head.style, (DWORD)(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                  DS_SETFONT));
    EXPECT_EQ(head.dwExtendedStyle, 0u);
    EXPECT_EQ(head.cdit, 6);
    EXPECT_EQ(head.x, 316);
    EXPECT_EQ(head.y, 16);
    EXPECT_EQ(head.cx, 123);
    EXPECT_EQ(head.cy, 193);
    // After the fixed part: no menu, default class, caption, then the font.
    const WORD *p = t + 9;
    EXPECT_EQ(*p++, 0) << "menu";
    EXPECT_EQ(*p++, 0) << "class";
    std::string caption;
    while (*p)
        caption += static_cast<char>(*p++);
    ++p;
    EXPECT_EQ(caption, "parametros y reset");
    EXPECT_EQ(*p++, 9) << "point size";
    std::string face;
    while (*p)
        face += static_cast<char>(*p++);
    EXPECT_EQ(face, "Arial");

    HRSRC icon = FindResourceA(Instance(), MAKEINTRESOURCEA(IDI_RODADERO), MAKEINTRESOURCEA(14));
    EXPECT_NE(icon, (HRSRC)NULL) << "icon group 105";
}

// One scroll request at a starting position.
struct ScrollCase {
    int start;
    WORD code;
    WORD thumb;
    int expected; // 0: ignored
};

std::vector<ScrollCase> ScrollCases()
{
    std::vector<ScrollCase> cases;
    static const int starts[] = {1, 50, 100};
    static const WORD thumbs[] = {0, 1, 100, 101, 65535, 37};
    for (int s : starts) {
        cases.push_back({s, SB_LINELEFT, 0, s > 1 ? s - 1 : 1});
        cases.push_back({s, SB_LINERIGHT, 0, s < 100 ? s + 1 : 100});
        for (WORD code : {SB_PAGELEFT, SB_PAGERIGHT, 6, 7, 8})
            cases.push_back({s, code, 0, 0});
        for (WORD t : thumbs) {
            int clamped = t < 1 ? 1 : t > 100 ? 100 : t;
            cases.push_back({s, SB_THUMBPOSITION, t, clamped});
            cases.push_back({s, SB_THUMBTRACK, t, clamped});
        }
    }
    return cases;
}

TEST_F(Windows, ScrollRequests)
{
    ASSERT_TRUE(StopTimers());
    for (const ScrollCase &c : ScrollCases()) {
        CurveState.Alpha = ALPHA_START;
        CurveState.AlphaPos = c.start;
        SetScrollPos(scroll, SB_CTL, c.start, FALSE);
        Validate();
        CurveStateRecord before = CurveState;
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(c.code, c.thumb), (LPARAM)scroll);
        std::string what = "start " + std::to_string(c.start) + " code " + std::to_string(c.code) +
                           " thumb " + std::to_string(c.thumb);
        if (c.expected == 0) {
            EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0) << what;
            EXPECT_EQ(GetScrollPos(scroll, SB_CTL), c.start) << what;
            EXPECT_FALSE(Invalid(main)) << what;
        } else {
            EXPECT_EQ(CurveState.AlphaPos, c.expected) << what;
            EXPECT_EQ(CurveState.Alpha, c.expected * 2.0000000000000003e-6) << what;
            EXPECT_EQ(GetScrollPos(scroll, SB_CTL), c.expected) << what;
            EXPECT_TRUE(Invalid(main)) << what;
            EXPECT_TRUE(SameCurves(before, CurveState)) << what;
        }
    }
}

TEST_F(Windows, StepFactorValues)
{
    ASSERT_TRUE(StopTimers());
    // Until the first line or thumb request the starting factor stands.
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), (LPARAM)scroll);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), (LPARAM)scroll);
    EXPECT_EQ(CurveState.Alpha, 0.0001);
    static const struct { WORD thumb; double alpha; } cases[] = {
        {50, 0.00010000000000000002},
        {1, 2.0000000000000003e-6},
        {100, 0.00020000000000000004},
    };
    for (const auto &c : cases) {
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, c.thumb), (LPARAM)scroll);
        EXPECT_EQ(CurveState.Alpha, c.alpha) << c.thumb;
    }
    EXPECT_NE(0.00010000000000000002, 0.0001);
}

TEST_F(Windows, RunModeToggleResetAndOtherCommands)
{
    ASSERT_TRUE(StopTimers());
    HWND toggle = GetDlgItem(dialog, IDC_RUN_MODE);
    static const int afterClicks[] = {1, 0, 1, 0};
    for (int expected : afterClicks) {
        Validate();
        SendMessageA(toggle, BM_CLICK, 0, 0);
        EXPECT_EQ(CurveState.RunContinuous, expected);
        EXPECT_TRUE(Invalid(main));
    }

    // Reset after some steps: the chord is back, the printed time stays.
    for (int i = 0; i < 25; ++i)
        SendMessageA(dialog, WM_TIMER, DIALOG_TIMER_ID, 0);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 80), (LPARAM)scroll);
    SendMessageA(toggle, BM_CLICK, 0, 0);
    CurveStateRecord stepped = CurveState;
    Validate();
    SendMessageA(GetDlgItem(dialog, IDC_RESET), BM_CLICK, 0, 0);
    CurveStateRecord chord = {};
    CurveStateRecord saved = CurveState;
    InitCurves(chord.ScreenPts);
    chord = CurveState;
    CurveState = saved;
    EXPECT_EQ(std::memcmp(CurveState.NodeX, chord.NodeX, sizeof chord.NodeX), 0);
    EXPECT_EQ(std::memcmp(CurveState.ShownX, chord.ShownX, sizeof chord.ShownX), 0);
    EXPECT_EQ(CurveState.FallTime, stepped.FallTime);
    EXPECT_NE(CurveState.FallTime, 0.0);
    EXPECT_EQ(CurveState.Alpha, stepped.Alpha);
    EXPECT_EQ(CurveState.AlphaPos, 80);
    EXPECT_EQ(CurveState.RunContinuous, 1);
    EXPECT_TRUE(Invalid(main));

    static const WORD others[] = {0, IDOK, IDCANCEL, 1006, 1004, 1008, 0xFFFF};
    for (WORD id : others) {
        Validate();
        CurveStateRecord before = CurveState;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0) << id;
        EXPECT_FALSE(Invalid(main)) << id;
    }
}

TEST_F(Windows, MouseOverTheDialogRepaintsTheMainWindow)
{
    ASSERT_TRUE(StopTimers());
    Validate();
    SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(Invalid(main));
    // In continuous mode the repaint it brings takes a step.
    CurveState.RunContinuous = 1;
    Validate();
    CurveStateRecord before = CurveState;
    SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    Pump();
    EXPECT_EQ(StepsSince(before), 1);
}

TEST_F(Windows, ClosedDialogIsHiddenAndKeepsStepping)
{
    KillTimer(main, MAIN_TIMER_ID);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(main));
    CurveStateRecord before = CurveState;
    PumpFor(400);
    int steps = StepsSince(before, 100);
    EXPECT_GE(steps, 2) << "the hidden dialog's timer steps the model";
    EXPECT_EQ(TakeQuit(), -1);
}

TEST_F(Windows, TimersRunOnTheirOwn)
{
    // Both timers live: in timed mode each tick of either takes a step.
    CurveStateRecord before = CurveState;
    PumpFor(1000);
    int steps = StepsSince(before, 100);
    EXPECT_GE(steps, 6) << "two 50 ms timers over a second";
    EXPECT_LE(steps, 40);
}

// Start-up, its failure paths and the loop, through the seams that stand
// for the platform calls.
struct ShownBox {
    int count;
    std::string text, caption;
    UINT flags;
};
ShownBox shownBox;

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT flags)
{
    EXPECT_EQ(owner, (HWND)NULL);
    ++shownBox.count;
    shownBox.text = text;
    shownBox.caption = caption;
    shownBox.flags = flags;
    return IDOK;
}

HWND WINAPI FailCreateWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                             HINSTANCE, LPVOID)
{
    return NULL;
}

BOOL WINAPI FailGetMessage(LPMSG, HWND, UINT, UINT)
{
    return -1;
}

// Fetches messages for real, and types Escape into the main window once it
// has been up for a moment.
int fetched;
BOOL WINAPI EscapeAfterAWhile(LPMSG msg, HWND w, UINT lo, UINT hi)
{
    if (++fetched == 30)
        PostMessageA(FindWindowA("Rodadero", NULL), WM_CHAR, 27, 1);
    return GetMessageA(msg, w, lo, hi);
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        shownBox = {};
        fetched = 0;
    }
    void TearDown() override
    {
        StartupMessageBox = MessageBoxA;
        StartupCreateWindow = CreateWindowExA;
        StartupGetMessage = GetMessageA;
        HWND w;
        while ((w = FindWindowA("Rodadero", NULL)) != NULL)
            DestroyWindow(w);
        Pump();
        TakeQuit();
    }
};

TEST_F(Startup, FullRunEndsWithEscape)
{
    UnregisterClassA("Rodadero", Instance());
    ResetRecord();
    StartupGetMessage = EscapeAfterAWhile;
    int code = RodaderoMain(Instance(), SW_SHOWNORMAL);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(shownBox.count, 0);
    HWND main = FindWindowA("Rodadero", NULL);
    ASSERT_NE(main, (HWND)NULL);
    EXPECT_TRUE(IsWindowVisible(main));
    HWND dialog = FindWindowA(NULL, "parametros y reset");
    ASSERT_NE(dialog, (HWND)NULL);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(CurveState.ApproxColor, 0x0000FFu);
    EXPECT_GT(CurveState.FallTime, 0.0) << "the timers stepped";
}

TEST_F(Startup, RegistrationFailure)
{
    // The class exists already, so registering it again fails.
    WNDCLASSA wc;
    if (!GetClassInfoA(Instance(), "Rodadero", &wc)) {
        ASSERT_NE(RegisterMainClass(Instance()), 0);
    }
    StartupMessageBox = RecordMessageBox;
    EXPECT_EQ(RodaderoMain(Instance(), SW_SHOWNORMAL), 1);
    EXPECT_EQ(shownBox.count, 1);
    EXPECT_EQ(shownBox.text, "This program requires Windows NT!");
    EXPECT_EQ(shownBox.caption, "Rodadero");
    EXPECT_EQ(shownBox.flags, (UINT)MB_ICONERROR);
    EXPECT_EQ(FindWindowA("Rodadero", NULL), (HWND)NULL) << "no window is shown";
}

TEST_F(Startup, WindowCreationFailure)
{
    UnregisterClassA("Rodadero", Instance());
    StartupMessageBox = RecordMessageBox;
    StartupCreateWindow = FailCreateWindow;
    EXPECT_EQ(RodaderoMain(Instance(), SW_SHOWNORMAL), 1);
    EXPECT_EQ(shownBox.count, 1);
    EXPECT_EQ(shownBox.text, NO_WINDOW_TEXT);
    EXPECT_EQ(shownBox.caption, "Rodadero");
    EXPECT_EQ(shownBox.flags, (UINT)MB_ICONERROR);
    EXPECT_EQ(FindWindowA(NULL, "parametros y reset"), (HWND)NULL) << "no dialog either";
}

TEST_F(Startup, MessageLoopExitCodes)
{
    StartupGetMessage = FailGetMessage;
    EXPECT_EQ(RunMessageLoop(), 1) << "a failed fetch ends the loop as a failure";
    StartupGetMessage = GetMessageA;
    static const int quitCodes[] = {0, 3};
    for (int q : quitCodes) {
        PostQuitMessage(q);
        EXPECT_EQ(RunMessageLoop(), q);
    }
}

} // namespace
