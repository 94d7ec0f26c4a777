#include "shell.h"

#include "param_dialog.h"
#include "resource.h"

const char MAIN_CLASS_NAME[] = "Rodadero";
const char MAIN_CAPTION[] = "    -----  soft by Velmorant";
const char NEEDS_NT_TEXT[] = "This program requires Windows NT!";
const char NO_WINDOW_TEXT[] = "The main window could not be created.";

int(WINAPI *StartupMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;
HWND(WINAPI *StartupCreateWindow)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                                HINSTANCE, LPVOID) = CreateWindowExA;
BOOL(WINAPI *StartupGetMessage)(LPMSG, HWND, UINT, UINT) = GetMessageA;

ATOM RegisterMainClass(HINSTANCE instance)
{
    // The class brush lives as long as the program.
    LOGBRUSH background = {BS_SOLID, MAIN_BACKGROUND, 0};
    HBRUSH brush = CreateBrushIndirect(&background);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_RODADERO));
    HCURSOR cursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); // IDC_ARROW

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = brush;
    wc.lpszMenuName = NULL;
    wc.lpszClassName = MAIN_CLASS_NAME;
    return RegisterClassA(&wc);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    return StartupCreateWindow(0, MAIN_CLASS_NAME, MAIN_CAPTION, WS_OVERLAPPEDWINDOW, 10, 10, 610,
                             440, NULL, NULL, instance, NULL);
}

int RunMessageLoop()
{
    // No dialog keyboard handling: keys reach the focused control as they are.
    MSG msg;
    for (;;) {
        BOOL got = StartupGetMessage(&msg, NULL, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            return 1;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int RodaderoMain(HINSTANCE instance, int show)
{
    if (!RegisterMainClass(instance)) {
        StartupMessageBox(NULL, NEEDS_NT_TEXT, MAIN_CLASS_NAME, MB_ICONERROR);
        return 1;
    }
    HWND window = CreateMainWindow(instance);
    if (!window) {
        StartupMessageBox(NULL, NO_WINDOW_TEXT, MAIN_CLASS_NAME, MB_ICONERROR);
        return 1;
    }
    ShowWindow(window, show);
    UpdateWindow(window); // first paint, fall time 0, before the dialog exists

    CreateParamDialog(instance, window);

    return RunMessageLoop();
}
