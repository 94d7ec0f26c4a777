// The application shell: start-up, the message loop and the main window.
#ifndef RODADERO_SHELL_SHELL_H
#define RODADERO_SHELL_SHELL_H

#include <windows.h>

#include "plot_layout.h"

extern const char MAIN_CLASS_NAME[];
extern const char MAIN_CAPTION[];
extern const char NEEDS_NT_TEXT[];
extern const char NO_WINDOW_TEXT[];
const COLORREF MAIN_BACKGROUND = PLOT_BACKGROUND;
const UINT_PTR MAIN_TIMER_ID = 1;

// The platform calls whose failure start-up reports. They point at the real
// functions; tests may point them elsewhere to reach the failure paths.
extern int(WINAPI *StartupMessageBox)(HWND, LPCSTR, LPCSTR, UINT);
extern HWND(WINAPI *StartupCreateWindow)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND,
                                       HMENU, HINSTANCE, LPVOID);
extern BOOL(WINAPI *StartupGetMessage)(LPMSG, HWND, UINT, UINT);

// Registers the main window's class; 0 on failure.
ATOM RegisterMainClass(HINSTANCE instance);

// Creates the main window (610 x 440 at (10, 10)); NULL on failure.
HWND CreateMainWindow(HINSTANCE instance);

// Runs the loop until the quit message and returns its wParam; 1 if
// fetching a message fails.
int RunMessageLoop();

// Everything WinMain does: start-up, dialog, loop. Returns the exit code.
int RodaderoMain(HINSTANCE instance, int show);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
