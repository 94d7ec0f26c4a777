// The modeless parameter dialog: step factor, run mode and reset.
#ifndef RODADERO_DIALOG_PARAM_DIALOG_H
#define RODADERO_DIALOG_PARAM_DIALOG_H

#include <windows.h>

extern const char PARAM_DIALOG_TEMPLATE[];
const UINT_PTR DIALOG_TIMER_ID = 1;

// Creates the dialog from its template, owned by the main window.
HWND CreateParamDialog(HINSTANCE instance, HWND owner);

INT_PTR CALLBACK ParamDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
