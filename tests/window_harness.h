// Shared by the tests that drive the real windows: pumping the queue,
// comparing the model with steps taken directly, and a fixture holding the
// main window and the dialog.
#ifndef RODADERO_TESTS_WINDOW_HARNESS_H
#define RODADERO_TESTS_WINDOW_HARNESS_H

#include "curve_state.h"
#include "param_dialog.h"
#include "resource.h"
#include "shell.h"

#include <gtest/gtest.h>

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

class Windows : public ::testing::Test {
protected:
    HWND main = NULL;
    HWND dialog = NULL;
    HWND scroll = NULL;

    void SetUp() override
    {
        ResetRecord();
        main = CreateMainWindow(Instance());
        ASSERT_NE(main, (HWND)NULL);
        ShowWindow(main, SW_SHOWNOACTIVATE);
        UpdateWindow(main);
        dialog = CreateParamDialog(Instance(), main);
        ASSERT_NE(dialog, (HWND)NULL);
        scroll = GetDlgItem(dialog, IDC_ALPHA_SCROLL);
        Pump();
    }

    void TearDown() override
    {
        if (IsWindow(main))
            DestroyWindow(main); // takes the owned dialog with it
        Pump();
        TakeQuit();
    }

    // Stops both timers so that only the test takes steps; true when both
    // were running.
    bool StopTimers()
    {
        bool mainTimer = KillTimer(main, MAIN_TIMER_ID) != FALSE;
        bool dialogTimer = KillTimer(dialog, DIALOG_TIMER_ID) != FALSE;
        Pump();
        return mainTimer && dialogTimer;
    }

    void Validate()
    {
        ValidateRect(main, NULL);
    }
};

#endif
