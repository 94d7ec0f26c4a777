// What the page's script and this module agree on, declared once: the
// structs the script reads from the module's memory and each field the
// script reads, in one table (PAGE_LAYOUT) whose sizes, offsets and counts
// are the compiler's own (sizeof, offsetof), and the macro that exports an
// entry point. rodadero_contract (page_contract.cpp) hands the script that
// table and the program's constants it needs, so that the script counts no
// offset and writes none of the program's numbers itself.
#ifndef RODADERO_WEB_PAGE_CONTRACT_H
#define RODADERO_WEB_PAGE_CONTRACT_H

#include "curve_state.h"
#include "cycle_search.h"
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

// The main window's picture read for its text alternative
// (picture_reading.cpp): where the polyline lies beside the cycloid as
// drawn, its horizontal offset from it at half the end's depth in pixels
// (to the right: positive), and what the descent is doing (waiting: no
// step has been taken since the program started), with the
// printed times of the cycle it is on or moving toward (low == high for
// one that settles; with no cycle, the look-ahead's last time) and the
// steps to that cycle.
enum PictureSide { SIDE_ALONG, SIDE_ABOVE, SIDE_BELOW, SIDE_CROSSING, PICTURE_SIDE_COUNT };
enum DescentDoing {
    DESCENT_WAITING, DESCENT_MOVING, DESCENT_TO_SETTLE, DESCENT_TO_SWING, DESCENT_SETTLED,
    DESCENT_SWINGING, DESCENT_GROWING, DESCENT_DOING_COUNT
};
// How far ahead the reading looks for the cycle the descent comes to:
// about four minutes of the timed mode's steps.
const long DESCENT_LOOKAHEAD = 10000;
struct PictureReading {
    double midOffsetPx;
    std::int32_t side;     // a PictureSide
    std::int32_t descent;  // a DescentDoing
    std::int32_t period, lowUs, highUs, stepsToCycle;
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

// How many fates of a sweep or a map are known, and of what kind, as the
// chart draws them: for positions, settles a period of 1 and swings a
// longer one; for a map's cells, settles one printed time and swings more.
struct PageCounts {
    std::int32_t known, settles, swings, noCycle;
};

// The laboratory's card (lab_exports.cpp). What it accepts is what
// rodadero-trace --lab accepts: an end within LAB_PAGE_END_MAX either way,
// a step ratio within LAB_PAGE_RATIO_MIN..MAX and a momentum within
// 0..LAB_PAGE_BETA_MAX (the command's ranges); the momentum it starts with
// is the command's default. A live run stops after LAB_PAGE_STEPS_MAX
// steps (about an hour and a half at 20 steps a second): its rows, made
// again from the chord when they are asked for, stay a few megabytes.
const double LAB_PAGE_END_MAX = 1000.0;
const double LAB_PAGE_RATIO_MIN = 0.001;
const double LAB_PAGE_RATIO_MAX = 4.0;
const double LAB_PAGE_BETA_MAX = 0.99;
const double LAB_PAGE_BETA_DEFAULT = 0.9;
const long LAB_PAGE_STEPS_MAX = 100000;

// The laboratory's times now, in seconds: the polyline's under the rule
// and exactly, the optimum's (under the rule and exactly) and the
// cycloid's; the distance's two shares, now - optimum and optimum -
// cycloid; the run's step h, its steps, and where a step halted it (0: no
// step did) with the node that step would have moved out of reach.
struct LabTimes {
    double now, nowExact, optimum, optimumExact, cycloid;
    double optimiserShare, polylineShare, step;
    std::int32_t steps, haltedAt, haltedNode;
};

// A row of the refinement table as a worker hands it over (a
// LabRefinementRow, its theory's fields beside the rest).
struct LabPageRow {
    double optimumTime, exactTime, cycloidTime;
    double lambdaMin, lambdaMax, condition, bestStep, bestRate;
    double stepsToMillionth;  // a whole number, up to about 10^16: past an i32's range
    std::int32_t intervals;
};

// The language of the pictures' words (an index of WORD_LANGUAGES,
// picture_words.h) that the script asks for as `language`: the program's
// own where it names none of them.
int PageWords(int language);

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

// The layout table: STRUCT(name), then each field the script reads as
// FIELD(struct, field, element type). A pixel point is two i32, x then y;
// a text's address is a u32. A fate's momentum is its index in the
// contract's list of the map's betas.
#define PAGE_LAYOUT(STRUCT, FIELD)                                   \
    STRUCT(CurveStateRecord)                                         \
    FIELD(CurveStateRecord, NodeX, f64)                              \
    FIELD(CurveStateRecord, ShownX, f64)                             \
    FIELD(CurveStateRecord, FallTime, f64)                           \
    FIELD(CurveStateRecord, Alpha, f64)                              \
    FIELD(CurveStateRecord, AlphaPos, i32)                           \
    FIELD(CurveStateRecord, RunContinuous, i32)                      \
    STRUCT(PaintedPicture)                                           \
    FIELD(PaintedPicture, polyline, i32)                             \
    FIELD(PaintedPicture, cycloid, i32)                              \
    FIELD(PaintedPicture, polylineColour, u32)                       \
    FIELD(PaintedPicture, microseconds, i32)                         \
    STRUCT(PictureReading)                                           \
    FIELD(PictureReading, midOffsetPx, f64)                          \
    FIELD(PictureReading, side, i32)                                 \
    FIELD(PictureReading, descent, i32)                              \
    FIELD(PictureReading, period, i32)                               \
    FIELD(PictureReading, lowUs, i32)                                \
    FIELD(PictureReading, highUs, i32)                               \
    FIELD(PictureReading, stepsToCycle, i32)                         \
    STRUCT(PlotLine)                                                 \
    FIELD(PlotLine, from, i32)                                       \
    FIELD(PlotLine, to, i32)                                         \
    STRUCT(PlotCaption)                                              \
    FIELD(PlotCaption, x, i32)                                       \
    FIELD(PlotCaption, y, i32)                                       \
    FIELD(PlotCaption, format, u32)                                  \
    STRUCT(PageText)                                                 \
    FIELD(PageText, bytes, u32)                                      \
    FIELD(PageText, size, i32)                                       \
    STRUCT(PageSample)                                               \
    FIELD(PageSample, exactS, f64)                                   \
    FIELD(PageSample, step, i32)                                     \
    FIELD(PageSample, printedUs, i32)                                \
    STRUCT(Fate)                                                     \
    FIELD(Fate, position, i32)                                       \
    FIELD(Fate, beta, i32)                                           \
    FIELD(Fate, cycleFrom, i32)                                      \
    FIELD(Fate, period, i32)                                         \
    FIELD(Fate, lowUs, i32)                                          \
    FIELD(Fate, highUs, i32)                                         \
    STRUCT(PageCounts)                                               \
    FIELD(PageCounts, known, i32)                                    \
    FIELD(PageCounts, settles, i32)                                  \
    FIELD(PageCounts, swings, i32)                                   \
    FIELD(PageCounts, noCycle, i32)                                  \
    STRUCT(LabTimes)                                                 \
    FIELD(LabTimes, now, f64)                                        \
    FIELD(LabTimes, nowExact, f64)                                   \
    FIELD(LabTimes, optimum, f64)                                    \
    FIELD(LabTimes, optimumExact, f64)                               \
    FIELD(LabTimes, cycloid, f64)                                    \
    FIELD(LabTimes, optimiserShare, f64)                             \
    FIELD(LabTimes, polylineShare, f64)                              \
    FIELD(LabTimes, step, f64)                                       \
    FIELD(LabTimes, steps, i32)                                      \
    FIELD(LabTimes, haltedAt, i32)                                   \
    FIELD(LabTimes, haltedNode, i32)                                 \
    STRUCT(LabPageRow)                                               \
    FIELD(LabPageRow, optimumTime, f64)                              \
    FIELD(LabPageRow, exactTime, f64)                                \
    FIELD(LabPageRow, cycloidTime, f64)                              \
    FIELD(LabPageRow, lambdaMin, f64)                                \
    FIELD(LabPageRow, lambdaMax, f64)                                \
    FIELD(LabPageRow, condition, f64)                                \
    FIELD(LabPageRow, bestStep, f64)                                 \
    FIELD(LabPageRow, bestRate, f64)                                 \
    FIELD(LabPageRow, stepsToMillionth, f64)                         \
    FIELD(LabPageRow, intervals, i32)

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

// Every struct plain, and every field made of whole elements of the type
// the table says.
#define PAGE_CHECK_STRUCT(S) static_assert(std::is_standard_layout<S>::value, #S " has a plain layout");
#define PAGE_CHECK_FIELD(S, f, element)                                                   \
    static_assert(std::is_same<PageElementOf<std::remove_cv_t<decltype(S::f)>>::type,    \
                               PageElement::element>::value,                             \
                  "the element type of " #S "::" #f);                                     \
    static_assert(sizeof(S::f) % sizeof(PageElement::element) == 0, "the count of " #S "::" #f);
PAGE_LAYOUT(PAGE_CHECK_STRUCT, PAGE_CHECK_FIELD)
#undef PAGE_CHECK_STRUCT
#undef PAGE_CHECK_FIELD

#endif
