// probe RVA
// Looks at a running rodadero.exe from outside, for the end-to-end test:
// finds its windows, reads its model record from the process's memory (at
// the given offset of CurveState in the image) and prints what it found as
// key=value lines, with the screen positions a person would click.
#include "curve_state.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The close box: the last button at the right end of the caption.
void PrintCloseBox(const char *name, HWND w)
{
    TITLEBARINFO tb = {};
    tb.cbSize = sizeof tb;
    if (!GetTitleBarInfo(w, &tb))
        return;
    int size = GetSystemMetrics(SM_CXSIZE);
    std::printf("%s=%ld,%ld\n", name, tb.rcTitleBar.right - size / 2 - 1,
                (tb.rcTitleBar.top + tb.rcTitleBar.bottom) / 2);
}

void PrintCentre(const char *name, HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    std::printf("%s=%ld,%ld\n", name, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: probe RVA-OF-CURVESTATE\n");
        return 2;
    }
    unsigned long long rva = std::strtoull(argv[1], nullptr, 0);
    HWND main = FindWindowA("Rodadero", NULL);
    if (!main) {
        std::printf("running=0\n");
        return 1;
    }
    std::printf("running=1\n");
    std::printf("main_hwnd=%p\n", static_cast<void *>(main));
    RECT r;
    GetWindowRect(main, &r);
    std::printf("window=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    POINT origin = {0, 0};
    ClientToScreen(main, &origin);
    std::printf("client=%ld,%ld\n", origin.x, origin.y);
    PrintCloseBox("close", main);
    std::printf("main_visible=%d\n", IsWindowVisible(main) ? 1 : 0);
    std::printf("main_enabled=%d\n", IsWindowEnabled(main) ? 1 : 0);

    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HWND dialog = FindWindowA(NULL, "parametros y reset");
    DWORD dialogPid = 0;
    if (dialog)
        GetWindowThreadProcessId(dialog, &dialogPid);
    if (dialog && dialogPid == pid) {
        std::printf("dialog_hwnd=%p\n", static_cast<void *>(dialog));
        std::printf("dialog_visible=%d\n", IsWindowVisible(dialog) ? 1 : 0);
        std::printf("dialog_owner_ok=%d\n", GetWindow(dialog, GW_OWNER) == main ? 1 : 0);
        PrintCentre("reset", GetDlgItem(dialog, IDC_RESET));
        PrintCentre("toggle", GetDlgItem(dialog, IDC_RUN_MODE));
        PrintCloseBox("dialog_close", dialog);
        GetWindowRect(dialog, &r);
        std::printf("dialog=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else {
        std::printf("dialog_visible=0\n");
    }

    HANDLE process = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, pid);
    // The window's instance handle is the load address of the program.
    ULONG_PTR base = static_cast<ULONG_PTR>(GetWindowLongPtrA(main, GWLP_HINSTANCE));
    CurveStateRecord state;
    SIZE_T got = 0;
    if (!process || !ReadProcessMemory(process, reinterpret_cast<LPCVOID>(base + rva), &state,
                                       sizeof state, &got) || got != sizeof state) {
        std::printf("state=unreadable\n");
        return 1;
    }
    CloseHandle(process);
    std::printf("run_continuous=%d\n", state.RunContinuous);
    std::printf("alpha_pos=%d\n", state.AlphaPos);
    std::printf("alpha=%.17g\n", state.Alpha);
    std::printf("fall_time=%.17g\n", state.FallTime);
    std::printf("approx_color=%u\n", state.ApproxColor);
    for (int k = 1; k < 20; ++k)
        std::printf("shown_x%d=%.17g\n", k, state.ShownX[k]);
    return 0;
}
