// Helpers for tests that paint on real GDI: a 32-bit DIB section selected
// into a memory context, pixel read-back, and the process's count of live
// GDI objects.
#ifndef RODADERO_TESTS_GDI_CANVAS_H
#define RODADERO_TESTS_GDI_CANVAS_H

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

const COLORREF WINDOW_BACKGROUND = 0xA0C8C8;
const COLORREF RED = 0x0000FF;
const COLORREF BLUE = 0xFA9600;
const COLORREF YELLOW = 0x00FAFA;
const COLORREF BLACK = 0x000000;
const COLORREF WHITE = 0xFFFFFF;

struct Canvas {
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ previous = NULL;
    std::uint32_t *bits = nullptr;
    int width = 0;
    int height = 0;

    Canvas(int w = 800, int h = 500, COLORREF fill = WINDOW_BACKGROUND) : width(w), height(h)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void *p = nullptr;
        dc = CreateCompatibleDC(NULL);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, NULL, 0);
        bits = static_cast<std::uint32_t *>(p);
        previous = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~Canvas()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    void Fill(COLORREF colour)
    {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        GdiFlush();
    }

    // The pixel as a COLORREF (red in the low byte); off the canvas: ~0.
    COLORREF Pixel(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return ~0u;
        GdiFlush();
        std::uint32_t v = bits[y * width + x]; // 0x00RRGGBB in memory order B, G, R
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    std::vector<std::uint32_t> Snapshot() const
    {
        GdiFlush();
        return std::vector<std::uint32_t>(bits, bits + width * height);
    }

    // True when the rectangle's pixels equal those of other at the same place.
    bool SameBlock(const Canvas &other, RECT r) const
    {
        GdiFlush();
        for (int y = r.top; y < r.bottom; ++y)
            if (std::memcmp(bits + y * width + r.left, other.bits + y * other.width + r.left,
                            (r.right - r.left) * sizeof(std::uint32_t)) != 0)
                return false;
        return true;
    }
};

// Live entries of this process's GDI handle table (reached through the
// PEB). Wine's GetGuiResources always answers 0, so this is what counts.
inline int GdiObjectCount()
{
#if defined(_M_X64) || defined(__x86_64__)
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24, "GDI handle entry layout");
    // TEB + 0x60: the PEB; PEB + 0xF8: the handle table.
#if defined(__GNUC__)
    const unsigned char *teb; // GCC 12 warns on its own NtCurrentTeb
    __asm__("movq %%gs:0x30, %0" : "=r"(teb));
#else
    const unsigned char *teb = reinterpret_cast<const unsigned char *>(NtCurrentTeb());
#endif
    const unsigned char *peb = *reinterpret_cast<const unsigned char *const *>(teb + 0x60);
    const Entry *table = *reinterpret_cast<const Entry *const *>(peb + 0xF8);
    if (!table)
        return -1;
    int live = 0;
    for (int i = 0; i < 0x10000; ++i)
        if (table[i].type != 0)
            ++live;
    return live;
#else
    return -1;
#endif
}

#endif
