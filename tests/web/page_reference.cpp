// The Windows program's side of the web page's comparison test, run under
// Wine: the real main window and dialog measured in client pixels of the
// main window, and states painted by the program's own PaintPlot.
//
// page_reference OUTDIR STEPS...
// writes OUTDIR/layout.json (sizes, rectangles, texts, system colours, the
// paint context's font and the scroll bar's thumb at every position) and, for each STEPS,
// OUTDIR/picture-STEPS.ppm: the client area after STEPS descent steps from
// the chord with the starting step factor, erased with the class
// background and painted, and OUTDIR/picture-STEPS.json: the pixels of the
// vertices that paint drew.
#include "controls.h"
#include "plot.h"
#include "window_harness.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Quoted(const std::string &s)
{
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            q += '\\';
        q += c;
    }
    return q + "\"";
}

// A rectangle as [left, top, width, height], relative to `origin`.
std::string Rect(RECT r, POINT origin)
{
    char s[80];
    std::snprintf(s, sizeof s, "[%ld, %ld, %ld, %ld]", r.left - origin.x, r.top - origin.y,
                  r.right - r.left, r.bottom - r.top);
    return s;
}

std::string Colour(COLORREF c)
{
    char s[16];
    std::snprintf(s, sizeof s, "\"#%02x%02x%02x\"", GetRValue(c), GetGValue(c), GetBValue(c));
    return s;
}

std::string Text(HWND w)
{
    char text[512];
    GetWindowTextA(w, text, sizeof text);
    return text;
}

// The scroll bar's arrows and thumb, in pixels from its own left edge: the
// arrows' width, the thumb's width, and the thumb's left edge at every
// position from 1 to 100.
std::string ScrollInfo(HWND scroll)
{
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    std::string lefts;
    for (int p = ALPHA_POS_MIN; p <= ALPHA_POS_MAX; ++p) {
        SetScrollPos(scroll, SB_CTL, p, TRUE);
        GetScrollBarInfo(scroll, OBJID_CLIENT, &info);
        lefts += (p > ALPHA_POS_MIN ? ", " : "") + std::to_string(info.xyThumbTop);
    }
    SetScrollPos(scroll, SB_CTL, ALPHA_POS_START, TRUE);
    char s[120];
    std::snprintf(s, sizeof s, "{\"arrow\": %d, \"thumb\": %d, \"thumbLeft\": [", info.dxyLineButton,
                  info.xyThumbBottom - info.xyThumbTop);
    return s + lefts + "]}";
}

// The part of the window where a click is the close box, found by asking
// the window about each pixel of its caption bar.
std::string CloseBox(HWND w, POINT origin)
{
    RECT r;
    GetWindowRect(w, &r);
    RECT box = {r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.top + 40; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
    return Rect(box, origin);
}

std::string FontInfo(HDC dc)
{
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    char face[64];
    GetTextFaceA(dc, sizeof face, face);
    char s[200];
    std::snprintf(s, sizeof s,
                  "{\"face\": %s, \"height\": %ld, \"ascent\": %ld, \"averageWidth\": %ld, "
                  "\"weight\": %ld}",
                  Quoted(face).c_str(), tm.tmHeight, tm.tmAscent, tm.tmAveCharWidth, tm.tmWeight);
    return s;
}

// Every printable character's advance in the font selected into dc.
std::string Advances(HDC dc)
{
    std::string s = "[";
    for (int c = 32; c < 127; ++c) {
        SIZE size;
        char ch = static_cast<char>(c);
        GetTextExtentPoint32A(dc, &ch, 1, &size);
        s += (c > 32 ? ", " : "") + std::to_string(size.cx);
    }
    return s + "]";
}

bool WriteLayout(const std::string &path)
{
    ResetRecord();
    HWND main = CreateMainWindow(Instance());
    if (!main)
        return false;
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    HWND dialog = CreateParamDialog(Instance(), main);
    if (!dialog)
        return false;
    KillTimer(main, MAIN_TIMER_ID);
    KillTimer(dialog, DIALOG_TIMER_ID);
    Pump();

    POINT origin = {0, 0};
    ClientToScreen(main, &origin);
    RECT client;
    GetClientRect(main, &client);
    RECT dialogWindow, dialogClient;
    GetWindowRect(dialog, &dialogWindow);
    GetClientRect(dialog, &dialogClient);
    MapWindowPoints(dialog, NULL, reinterpret_cast<POINT *>(&dialogClient), 2);

    std::FILE *f = std::fopen(path.c_str(), "w");
    if (!f)
        return false;
    std::fprintf(f, "{\n  \"caption\": %s,\n", Quoted(Text(main)).c_str());
    std::fprintf(f, "  \"client\": [%ld, %ld],\n", client.right, client.bottom);
    std::fprintf(f,
                 "  \"dialog\": {\"caption\": %s, \"window\": %s, \"client\": %s, "
                 "\"closeBox\": %s},\n",
                 Quoted(Text(dialog)).c_str(), Rect(dialogWindow, origin).c_str(),
                 Rect(dialogClient, origin).c_str(), CloseBox(dialog, origin).c_str());
    std::fprintf(f, "  \"controls\": [\n");
    int n = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++n) {
        RECT r;
        GetWindowRect(c, &r);
        char cls[32];
        GetClassNameA(c, cls, sizeof cls);
        std::fprintf(f, "%s    {\"id\": %d, \"class\": %s, \"text\": %s, \"rect\": %s}",
                     n ? ",\n" : "", static_cast<short>(GetDlgCtrlID(c)), Quoted(cls).c_str(),
                     Quoted(Text(c)).c_str(), Rect(r, origin).c_str());
    }
    std::fprintf(f, "\n  ],\n");
    HWND scroll = GetDlgItem(dialog, IDC_ALPHA_SCROLL);
    std::fprintf(f, "  \"scroll\": %s,\n", ScrollInfo(scroll).c_str());
    static const struct { const char *name; int index; } colours[] = {
        {"face", COLOR_BTNFACE},          {"text", COLOR_BTNTEXT},
        {"light", COLOR_3DLIGHT},         {"highlight", COLOR_3DHILIGHT},
        {"shadow", COLOR_3DSHADOW},       {"darkShadow", COLOR_3DDKSHADOW},
        {"caption", COLOR_ACTIVECAPTION}, {"captionText", COLOR_CAPTIONTEXT},
        {"frame", COLOR_WINDOWFRAME},
        {"scrollbar", COLOR_SCROLLBAR},
    };
    std::fprintf(f, "  \"colours\": {");
    for (size_t i = 0; i < sizeof colours / sizeof colours[0]; ++i)
        std::fprintf(f, "%s\"%s\": %s", i ? ", " : "", colours[i].name,
                     Colour(GetSysColor(colours[i].index)).c_str());
    std::fprintf(f, "},\n");

    HDC dc = GetDC(main);
    std::fprintf(f, "  \"plotFont\": %s,\n", FontInfo(dc).c_str());
    std::fprintf(f, "  \"plotAdvances\": %s\n}\n", Advances(dc).c_str());
    ReleaseDC(main, dc);
    std::fclose(f);
    DestroyWindow(main);
    Pump();
    TakeQuit(); // the main window's, on its destruction
    return true;
}

// The client area as PaintPlot leaves it on a background-filled DIB.
bool WritePicture(const std::string &path, int steps, int width, int height)
{
    ResetRecord();
    StartCurves();
    for (int i = 0; i < steps; ++i)
        DescentStep();

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *p = nullptr;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, NULL, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(MAIN_BACKGROUND);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    PaintPlot(dc);
    GdiFlush();

    std::string vertices = "{\"polyline\": [";
    for (int j = 0; j < NODE_COUNT; ++j) {
        PixelPoint v = PolylineVertex(CurveState.ScreenPts, j);
        vertices += (j ? ", [" : "[") + std::to_string(v.x) + ", " + std::to_string(v.y) + "]";
    }
    vertices += "], \"cycloid\": [";
    for (int k = 0; k < NODE_COUNT; ++k) {
        PixelPoint v = CycloidVertex(k);
        vertices += (k ? ", [" : "[") + std::to_string(v.x) + ", " + std::to_string(v.y) + "]";
    }
    vertices += "]}\n";
    std::string jsonPath = path.substr(0, path.size() - 4) + ".json";
    if (std::FILE *j = std::fopen(jsonPath.c_str(), "w")) {
        std::fputs(vertices.c_str(), j);
        std::fclose(j);
    }

    std::FILE *f = std::fopen(path.c_str(), "wb");
    bool ok = f != nullptr;
    if (ok) {
        std::fprintf(f, "P6\n%d %d\n255\n", width, height);
        const unsigned char *bits = static_cast<const unsigned char *>(p);
        std::vector<unsigned char> row(width * 3);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned char *px = bits + (y * width + x) * 4; // B, G, R, unused
                row[x * 3] = px[2];
                row[x * 3 + 1] = px[1];
                row[x * 3 + 2] = px[0];
            }
            std::fwrite(row.data(), 1, row.size(), f);
        }
        ok = std::fclose(f) == 0;
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_reference OUTDIR STEPS...\n");
        return 2;
    }
    std::string out = argv[1];
    if (!RegisterMainClass(Instance()) || !WriteLayout(out + "/layout.json")) {
        std::fprintf(stderr, "page_reference: cannot measure the windows\n");
        return 1;
    }
    // The client area's size, as measured.
    HWND probe = CreateMainWindow(Instance());
    RECT client;
    GetClientRect(probe, &client);
    DestroyWindow(probe);
    Pump();
    TakeQuit();
    for (int i = 2; i < argc; ++i) {
        int steps = std::atoi(argv[i]);
        std::string path = out + "/picture-" + std::to_string(steps) + ".ppm";
        if (!WritePicture(path, steps, client.right, client.bottom)) {
            std::fprintf(stderr, "page_reference: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
