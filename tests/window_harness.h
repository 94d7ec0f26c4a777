// Shared by the programs that drive the real windows (the window tests and
// the web page's page_reference): pumping the queue, and comparing the
// model with steps taken directly. No test framework: the tests' fixture
// holding the main window and the dialog is in window_fixture.h.
#ifndef RODADERO_TESTS_WINDOW_HARNESS_H
#define RODADERO_TESTS_WINDOW_HARNESS_H

#include "curve_state.h"
#include "param_dialog.h"
#include "resource.h"
#include "shell.h"

#include <cstring>

inline HINSTANCE Instance()
{
    return GetModuleHandleA(NULL);
}

inline void ResetRecord()
{
    CurveState = RecordAtProgramStart();
}

// Handles every message waiting for this thread, paints included.
inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the test
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps for the given time, letting the timers fire.
inline void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    Pump();
}

// The wParam of a waiting quit message, or -1 when there is none.
inline int TakeQuit()
{
    MSG msg;
    if (PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<int>(msg.wParam);
    return -1;
}

inline bool SameCurves(const CurveStateRecord &a, const CurveStateRecord &b)
{
    return std::memcmp(a.NodeX, b.NodeX, sizeof a.NodeX) == 0 &&
           std::memcmp(a.ShownX, b.ShownX, sizeof a.ShownX) == 0 &&
           std::memcmp(&a.FallTime, &b.FallTime, sizeof a.FallTime) == 0;
}

// The record as it would be after n more steps from `from`.
inline CurveStateRecord Stepped(const CurveStateRecord &from, int n)
{
    CurveStateRecord saved = CurveState;
    CurveState = from;
    for (int i = 0; i < n; ++i)
        DescentStep();
    CurveStateRecord result = CurveState;
    CurveState = saved;
    return result;
}

// How many steps lead from `from` to the current record, or -1.
inline int StepsSince(const CurveStateRecord &from, int most = 200)
{
    CurveStateRecord saved = CurveState;
    CurveState = from;
    int found = -1;
    for (int n = 0; n <= most; ++n) {
        if (SameCurves(CurveState, saved)) {
            found = n;
            break;
        }
        DescentStep();
    }
    CurveState = saved;
    return found;
}

inline bool Invalid(HWND w)
{
    return GetUpdateRect(w, NULL, FALSE) != FALSE;
}

#endif
