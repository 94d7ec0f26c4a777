#include "param_dialog.h"

#include "curve_state.h"
#include "resource.h"

const char PARAM_DIALOG_TEMPLATE[] = "ColorScrDlg";

namespace {

const int SCROLL_MIN = 1;
const int SCROLL_MAX = 100;
const UINT DIALOG_TIMER_PERIOD_MS = 50;

void InvalidateMain(HWND mainWindow)
{
    InvalidateRect(mainWindow, NULL, TRUE);
}

int Clamp(int p)
{
    return p < SCROLL_MIN ? SCROLL_MIN : p > SCROLL_MAX ? SCROLL_MAX : p;
}

// New scroll position for a request, or 0 when the request is ignored.
// Thumb positions come from the message and are clamped, since anyone can
// send one.
int ScrollTarget(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:
        return Clamp(CurveState.AlphaPos - 1);
    case SB_LINERIGHT:
        return Clamp(CurveState.AlphaPos + 1);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return Clamp(HIWORD(wParam));
    }
    return 0;
}

void OnScroll(HWND dialog, HWND mainWindow, WPARAM wParam)
{
    int p = ScrollTarget(wParam);
    if (p == 0)
        return;
    CurveState.AlphaPos = p;
    SetScrollPos(GetDlgItem(dialog, IDC_ALPHA_SCROLL), SB_CTL, p, TRUE);
    CurveState.Alpha = p * ALPHA_PER_POSITION;
    InvalidateMain(mainWindow);
}

void OnCommand(HWND mainWindow, int id)
{
    switch (id) {
    case IDC_RUN_MODE:
        CurveState.RunContinuous = !CurveState.RunContinuous;
        InvalidateMain(mainWindow);
        break;
    case IDC_RESET:
        InitCurves(CurveState.ScreenPts);
        InvalidateMain(mainWindow);
        break;
    }
}

void OnInit(HWND dialog)
{
    SetTimer(dialog, DIALOG_TIMER_ID, DIALOG_TIMER_PERIOD_MS, NULL);
    HWND scroll = GetDlgItem(dialog, IDC_ALPHA_SCROLL);
    SetScrollRange(scroll, SB_CTL, SCROLL_MIN, SCROLL_MAX, FALSE);
    SetScrollPos(scroll, SB_CTL, ALPHA_POS_START, FALSE);
}

} // namespace

HWND CreateParamDialog(HINSTANCE instance, HWND owner)
{
    return CreateDialogParamA(instance, PARAM_DIALOG_TEMPLATE, owner, ParamDialogProc, 0);
}

INT_PTR CALLBACK ParamDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    HWND mainWindow = GetParent(dialog);
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(mainWindow, LOWORD(wParam));
        return FALSE;
    case WM_HSCROLL:
        OnScroll(dialog, mainWindow, wParam);
        return FALSE;
    case WM_TIMER:
        DescentStep();
        InvalidateMain(mainWindow);
        return FALSE;
    case WM_MOUSEMOVE:
        InvalidateMain(mainWindow);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0); // a modeless dialog is only hidden; its timer runs on
        return TRUE;
    }
    return FALSE;
}
