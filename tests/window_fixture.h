// The fixture of the tests that drive the real windows: the main window and
// the dialog, made before each test and destroyed after it.
#ifndef RODADERO_TESTS_WINDOW_FIXTURE_H
#define RODADERO_TESTS_WINDOW_FIXTURE_H

#include "window_harness.h"

#include <gtest/gtest.h>

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
