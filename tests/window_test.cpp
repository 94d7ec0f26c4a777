// The main window and the parameter dialog, driven through real windows and
// messages under Wine. The windows' own timers are stopped in most cases so
// that every step is one the test asked for; the model is then checked, bit
// for bit, against the same number of steps taken directly.
#include "curve_state.h"
#include "param_dialog.h"
#include "resource.h"
#include "shell.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST_F(Windows, DialogAsCreated)
{
    // What the dialog's initialisation and creation add to its template.
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    int lo = -1, hi = -1;
    GetScrollRange(scroll, SB_CTL, &lo, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 100);
    EXPECT_EQ(GetScrollPos(scroll, SB_CTL), 50);
    // The run-mode button is the first tab stop and so has the focus.
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_RUN_MODE));
    // The last control shows icon 105 of the program.
    HWND icon = GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDLAST);
    ASSERT_NE(icon, (HWND)NULL);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "the icon control shows icon 105";
}

// Reads a classic dialog template as the resource compiler stored it: words,
// strings of UTF-16 words ended by 0, and items aligned on double words.
struct TemplateReader {
    const BYTE *start;
    const BYTE *at;

    WORD Word()
    {
        WORD w;
        std::memcpy(&w, at, sizeof w);
        at += sizeof w;
        return w;
    }
    DWORD Dword()
    {
        DWORD d;
        std::memcpy(&d, at, sizeof d);
        at += sizeof d;
        return d;
    }
    std::string Text()
    {
        std::string s;
        for (WORD w = Word(); w != 0; w = Word())
            s += w < 128 ? static_cast<char>(w) : '?';
        return s;
    }
    // A field that holds either an ordinal (0xFFFF, then the number, shown
    // as "#number") or a string.
    std::string NameOrOrdinal()
    {
        WORD first;
        std::memcpy(&first, at, sizeof first);
        if (first == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignToDword()
    {
        while ((at - start) % 4 != 0)
            ++at;
    }
};

// The predefined window classes, as a template names them by number.
std::string ClassName(const std::string &field)
{
    if (field == "#128")
        return "button";
    if (field == "#130")
        return "static";
    if (field == "#132")
        return "scrollbar";
    std::string lower;
    for (char ch : field)
        lower += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    return lower;
}

// The template's controls in their order: identifier, class, text (an icon
// control names its icon resource), position and size in dialog units, and
// style.
struct ControlCase {
    int id;
    const char *cls;
    const char *text;
    short x, y, cx, cy;
    DWORD style;
};

TEST(DialogTemplate, HeaderAndControls)
{
    // Language 3082: Spanish (Spain, modern sort).
    HRSRC res = FindResourceExA(Instance(), MAKEINTRESOURCEA(5) /* RT_DIALOG */, "ColorScrDlg", 3082);
    ASSERT_NE(res, (HRSRC)NULL) << "template in Spanish (Spain, modern sort)";
    const BYTE *t = static_cast<const BYTE *>(LockResource(LoadResource(Instance(), res)));
    ASSERT_NE(t, nullptr);
    TemplateReader r = {t, t};
    DWORD style = r.Dword();
    DWORD exStyle = r.Dword();
    EXPECT_NE(style >> 16, 0xFFFFu) << "a classic template, not the extended form";
    EXPECT_EQ(style, (DWORD)(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                             DS_SETFONT));
    EXPECT_EQ(exStyle, 0u);
    WORD count = r.Word();
    EXPECT_EQ(count, 6);
    EXPECT_EQ(static_cast<short>(r.Word()), 316);
    EXPECT_EQ(static_cast<short>(r.Word()), 16);
    EXPECT_EQ(static_cast<short>(r.Word()), 123);
    EXPECT_EQ(static_cast<short>(r.Word()), 193);
    EXPECT_EQ(r.NameOrOrdinal(), "") << "menu";
    EXPECT_EQ(r.NameOrOrdinal(), "") << "class";
    EXPECT_EQ(r.Text(), "parametros y reset");
    EXPECT_EQ(r.Word(), 9) << "point size";
    EXPECT_EQ(r.Text(), "Arial");

    static const ControlCase controls[] = {
        {1005, "button", "CONTINUE<>FEW STEPS", 14, 80, 95, 14,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
        {1006, "scrollbar", "", 2, 32, 117, 15, WS_CHILD | WS_VISIBLE | SBS_HORZ},
        {-1, "static", "  alfa de convergencia de gradiente descendente", 18, 8, 91, 19,
         WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | SS_SUNKEN | SS_LEFT},
        {1007, "button", "reset init values ", 14, 57, 96, 14,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
        {-1, "static",
         "Aproximacion de la minimizante por metodo de gradiente descendente sobre particion "
         "en 20 intervalos de la altura vertical. ",
         2, 101, 117, 42, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | SS_SUNKEN | SS_LEFT},
        {-1, "static", "#105", 50, 171, 20, 20,
         WS_CHILD | WS_VISIBLE | WS_BORDER | SS_SUNKEN | SS_ICON},
    };
    ASSERT_EQ(count, sizeof controls / sizeof controls[0]);
    for (const ControlCase &c : controls) {
        r.AlignToDword();
        DWORD itemStyle = r.Dword();
        DWORD itemExStyle = r.Dword();
        short x = static_cast<short>(r.Word());
        short y = static_cast<short>(r.Word());
        short cx = static_cast<short>(r.Word());
        short cy = static_cast<short>(r.Word());
        short id = static_cast<short>(r.Word());
        std::string cls = ClassName(r.NameOrOrdinal());
        std::string text = r.NameOrOrdinal();
        WORD extra = r.Word();
        r.at += extra;
        EXPECT_EQ(id, c.id) << c.text;
        EXPECT_EQ(cls, c.cls) << c.text;
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(x, c.x) << c.text;
        EXPECT_EQ(y, c.y) << c.text;
        EXPECT_EQ(cx, c.cx) << c.text;
        EXPECT_EQ(cy, c.cy) << c.text;
        EXPECT_EQ(itemStyle, c.style) << c.text;
        EXPECT_EQ(itemExStyle, 0u) << c.text;
    }

    HRSRC icon = FindResourceA(Instance(), MAKEINTRESOURCEA(IDI_RODADERO), MAKEINTRESOURCEA(14));
    EXPECT_NE(icon, (HRSRC)NULL) << "icon group 105";
}

// One scroll request at a starting position, and the position and step
// factor it leaves; position 0: the request is ignored and nothing changes.
struct ScrollCase {
    int start;
    WORD code;
    WORD thumb;
    int position;
    double alpha;
};

// The step factors are position x (0.0001 x 0.02), each product evaluated
// once outside the program; position 50 gives 0.00010000000000000002, not
// quite the starting 0.0001.
std::vector<ScrollCase> ScrollCases()
{
    std::vector<ScrollCase> cases = {
        {1, SB_LINELEFT, 0, 1, 2.0000000000000003e-06},
        {1, SB_LINERIGHT, 0, 2, 4.000000000000001e-06},
        {50, SB_LINELEFT, 0, 49, 9.800000000000001e-05},
        {50, SB_LINERIGHT, 0, 51, 0.00010200000000000001},
        {100, SB_LINELEFT, 0, 99, 0.00019800000000000004},
        {100, SB_LINERIGHT, 0, 100, 0.00020000000000000004},
    };
    // A thumb request sets its own position, kept within 1..100, from any start.
    static const struct { WORD thumb; int position; double alpha; } thumbs[] = {
        {0, 1, 2.0000000000000003e-06},
        {1, 1, 2.0000000000000003e-06},
        {37, 37, 7.400000000000001e-05},
        {50, 50, 0.00010000000000000002},
        {100, 100, 0.00020000000000000004},
        {101, 100, 0.00020000000000000004},
        {65535, 100, 0.00020000000000000004},
    };
    for (int start : {1, 50, 100}) {
        for (WORD code : {SB_THUMBPOSITION, SB_THUMBTRACK})
            for (const auto &t : thumbs)
                cases.push_back({start, code, t.thumb, t.position, t.alpha});
        // Page requests, end of scroll and unknown codes leave everything,
        // the starting step factor included.
        for (WORD code : {SB_PAGELEFT, SB_PAGERIGHT, 6, 7, SB_ENDSCROLL, 9})
            cases.push_back({start, code, 0, 0, 0.0});
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
        if (c.position == 0) {
            EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0) << what;
            EXPECT_EQ(GetScrollPos(scroll, SB_CTL), c.start) << what;
            EXPECT_FALSE(Invalid(main)) << what;
        } else {
            EXPECT_EQ(CurveState.AlphaPos, c.position) << what;
            EXPECT_EQ(CurveState.Alpha, c.alpha) << what;
            EXPECT_EQ(GetScrollPos(scroll, SB_CTL), c.position) << what;
            EXPECT_TRUE(Invalid(main)) << what;
            EXPECT_TRUE(SameCurves(before, CurveState)) << what;
        }
    }
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
    // Both timers live, in timed mode: each tick of either takes one step.
    // The ticks are counted per window over three seconds of pumping, timed
    // as they are pumped. A 50 ms timer expires at most once per 50 ms of
    // that time plus once more where the stretch starts or ends mid-period,
    // and one more tick may already be waiting when counting starts. A busy
    // machine only delivers fewer (expirations missed meanwhile merge into
    // one tick), so the lower bound allows for many lost ticks: two thirds
    // of the rate.
    CurveStateRecord before = CurveState;
    int mainTicks = 0;
    int dialogTicks = 0;
    const DWORD start = GetTickCount();
    DWORD elapsed = 0;
    while ((elapsed = GetTickCount() - start) < 3000) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == main)
                ++mainTicks;
            if (msg.message == WM_TIMER && msg.hwnd == dialog)
                ++dialogTicks;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    elapsed = GetTickCount() - start;
    std::printf("over %lu ms: %d main ticks, %d dialog ticks\n", static_cast<unsigned long>(elapsed),
                mainTicks, dialogTicks);
    EXPECT_EQ(StepsSince(before, 400), mainTicks + dialogTicks) << "one step per tick";
    const int most = static_cast<int>(elapsed / 50) + 2;
    const int least = static_cast<int>(elapsed / 75);
    EXPECT_LE(mainTicks, most) << "main timer, over " << elapsed << " ms";
    EXPECT_GE(mainTicks, least) << "main timer, over " << elapsed << " ms";
    EXPECT_LE(dialogTicks, most) << "dialog timer, over " << elapsed << " ms";
    EXPECT_GE(dialogTicks, least) << "dialog timer, over " << elapsed << " ms";
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
