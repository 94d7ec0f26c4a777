#include "param_dialog.h"

#include "controls.h"
#include "curve_state.h"
#include "resource.h"

const char PARAM_DIALOG_TEMPLATE[] = "ColorScrDlg";

namespace {

void InvalidateMain(HWND mainWindow)
{
    InvalidateRect(mainWindow, NULL, TRUE);
}

void Run(WindowEvent event, HWND mainWindow)
{
    if (RunWindowEvent(event))
        InvalidateMain(mainWindow);
}

void OnScroll(HWND dialog, HWND mainWindow, WPARAM wParam)
{
    int p = ScrollTarget(LOWORD(wParam), HIWORD(wParam));
    if (p == SCROLL_IGNORED)
        return;
    ApplyScrollPosition(p);
    SetScrollPos(GetDlgItem(dialog, IDC_ALPHA_SCROLL), SB_CTL, p, TRUE);
    InvalidateMain(mainWindow);
}

void OnCommand(HWND mainWindow, int id)
{
    switch (id) {
    case IDC_RUN_MODE:
        Run(RUN_MODE_TOGGLE, mainWindow);
        break;
    case IDC_RESET:
        Run(CURVE_RESET, mainWindow);
        break;
    }
}

void OnInit(HWND dialog)
{
    SetTimer(dialog, DIALOG_TIMER_ID, WINDOW_TIMER_PERIOD_MS, NULL);
    HWND scroll = GetDlgItem(dialog, IDC_ALPHA_SCROLL);
    SetScrollRange(scroll, SB_CTL, ALPHA_POS_MIN, ALPHA_POS_MAX, FALSE);
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
        Run(DIALOG_TIMER_TICK, mainWindow);
        return FALSE;
    case WM_MOUSEMOVE:
        Run(DIALOG_MOUSE_MOVE, mainWindow);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0); // a modeless dialog is only hidden; its timer runs on
        return TRUE;
    }
    return FALSE;
}
