// What the page's script and this module agree on, declared once: the
// structs the script reads from the module's memory, each field's place in
// one table (PAGE_LAYOUT), checked below against the compiler's layout,
// and the macro that exports an entry point. rodadero_contract
// (page_contract.cpp) hands the script that table and the program's
// constants it needs, so that the script counts no offset and writes none
// of the program's numbers itself.
#ifndef RODADERO_WEB_PAGE_CONTRACT_H
#define RODADERO_WEB_PAGE_CONTRACT_H

#include "curve_state.h"
#include "plot_layout.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#define PAGE_EXPORT(name) extern "C" __attribute__((export_name(#name)))

// What a paint draws that depends on the state.
struct PaintedPicture {
    PixelPoint polyline[NODE_COUNT];
    PixelPoint cycloid[NODE_COUNT];
    std::uint32_t polylineColour;
    std::int32_t microseconds; // the number in the first caption
};

// A text handed out: its UTF-8 bytes and their number.
struct PageText {
    const char *bytes;
    std::int32_t size;
};

// `text` handed out: kept, with its PageText, until the next text is.
const PageText *GivePageText(std::string text);

// A sample of the convergence curve.
struct PageSample {
    double exactS;
    std::int32_t step;
    std::int32_t printedUs;
};

// A scroll position's fate, as a worker finds it and the page keeps it.
struct PageFate {
    std::int32_t position, cycleFrom, period, lowUs, highUs;
};

// A cell of a method's map of fates: its position, its momentum as beta x
// 20 (0..19), and its fate.
struct PageCell {
    std::int32_t position, betaTwentieths, cycleFrom, period, lowUs, highUs;
};

// The languages the panel's pictures speak.
enum PageLanguage { PAGE_SPANISH = 0, PAGE_ENGLISH = 1 };

// The scroll bar's requests beyond those the dialog's rules act on
// (ScrollRequest), numbered as on Windows: the bar sends them as Windows
// does, and ScrollTarget ignores them.
enum PageScrollRequest { SCROLL_TO_LEFT = 6, SCROLL_TO_RIGHT = 7, SCROLL_END = 8 };

// The element types, by the names the script reads them with (its typed
// arrays): f64 Float64Array, i32 Int32Array, u32 Uint32Array. An address
// is a u32: pointers are 32 bits in the module.
namespace PageElement {
using f64 = double;
using i32 = std::int32_t;
using u32 = std::uint32_t;
} // namespace PageElement

// The layout table: STRUCT(name, size in bytes), then each field the
// script reads as FIELD(struct, field, element type, count, offset in
// bytes). A pixel point is two i32, x then y; a text's address is a u32.
#define PAGE_LAYOUT(STRUCT, FIELD)                                   \
    STRUCT(CurveStateRecord, 1040)                                   \
    FIELD(CurveStateRecord, NodeX, f64, NODE_COUNT, 0)               \
    FIELD(CurveStateRecord, ShownX, f64, NODE_COUNT, 168)            \
    FIELD(CurveStateRecord, FallTime, f64, 1, 336)                   \
    FIELD(CurveStateRecord, Alpha, f64, 1, 1024)                     \
    FIELD(CurveStateRecord, AlphaPos, i32, 1, 1032)                  \
    FIELD(CurveStateRecord, RunContinuous, i32, 1, 1036)             \
    STRUCT(PaintedPicture, 344)                                      \
    FIELD(PaintedPicture, polyline, i32, 2 * NODE_COUNT, 0)          \
    FIELD(PaintedPicture, cycloid, i32, 2 * NODE_COUNT, 168)         \
    FIELD(PaintedPicture, polylineColour, u32, 1, 336)               \
    FIELD(PaintedPicture, microseconds, i32, 1, 340)                 \
    STRUCT(PlotLine, 16)                                             \
    FIELD(PlotLine, from, i32, 2, 0)                                 \
    FIELD(PlotLine, to, i32, 2, 8)                                   \
    STRUCT(PlotCaption, 12)                                          \
    FIELD(PlotCaption, x, i32, 1, 0)                                 \
    FIELD(PlotCaption, y, i32, 1, 4)                                 \
    FIELD(PlotCaption, format, u32, 1, 8)                            \
    STRUCT(PageText, 8)                                              \
    FIELD(PageText, bytes, u32, 1, 0)                                \
    FIELD(PageText, size, i32, 1, 4)                                 \
    STRUCT(PageSample, 16)                                           \
    FIELD(PageSample, exactS, f64, 1, 0)                             \
    FIELD(PageSample, step, i32, 1, 8)                               \
    FIELD(PageSample, printedUs, i32, 1, 12)                         \
    STRUCT(PageFate, 20)                                             \
    FIELD(PageFate, position, i32, 1, 0)                             \
    FIELD(PageFate, cycleFrom, i32, 1, 4)                            \
    FIELD(PageFate, period, i32, 1, 8)                               \
    FIELD(PageFate, lowUs, i32, 1, 12)                               \
    FIELD(PageFate, highUs, i32, 1, 16)                              \
    STRUCT(PageCell, 24)                                             \
    FIELD(PageCell, position, i32, 1, 0)                             \
    FIELD(PageCell, betaTwentieths, i32, 1, 4)                       \
    FIELD(PageCell, cycleFrom, i32, 1, 8)                            \
    FIELD(PageCell, period, i32, 1, 12)                              \
    FIELD(PageCell, lowUs, i32, 1, 16)                               \
    FIELD(PageCell, highUs, i32, 1, 20)

// The element type a field's memory holds: arrays by their elements,
// pixel points as their coordinates, addresses as 32-bit numbers.
template <typename T> struct PageElementOf {
    using type = T;
};
template <typename T, std::size_t N> struct PageElementOf<T[N]> {
    using type = typename PageElementOf<T>::type;
};
template <> struct PageElementOf<PixelPoint> {
    using type = std::int32_t;
};
template <typename T> struct PageElementOf<T *> {
    using type = std::uint32_t;
};

static_assert(sizeof(void *) == sizeof(std::uint32_t), "the layout is the 32-bit module's");
static_assert(sizeof(PixelPoint) == 2 * sizeof(std::int32_t) && offsetof(PixelPoint, x) == 0 &&
                  offsetof(PixelPoint, y) == sizeof(std::int32_t),
              "a pixel point is x then y, two i32");

// Every struct's size, and every field's offset, element type and count,
// as the table says.
#define PAGE_CHECK_STRUCT(S, size)                                                        \
    static_assert(std::is_standard_layout<S>::value, #S " has a plain layout");          \
    static_assert(sizeof(S) == (size), "the size of " #S);
#define PAGE_CHECK_FIELD(S, f, element, count, offset)                                    \
    static_assert(offsetof(S, f) == (offset), "the offset of " #S "::" #f);              \
    static_assert(std::is_same<PageElementOf<std::remove_cv_t<decltype(S::f)>>::type,    \
                               PageElement::element>::value,                             \
                  "the element type of " #S "::" #f);                                     \
    static_assert(sizeof(S::f) == (count) * sizeof(PageElement::element),                \
                  "the count of " #S "::" #f);
PAGE_LAYOUT(PAGE_CHECK_STRUCT, PAGE_CHECK_FIELD)
#undef PAGE_CHECK_STRUCT
#undef PAGE_CHECK_FIELD

#endif
