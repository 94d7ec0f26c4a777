// The pictures' colours, each named once, as SVG writes them. Those the
// window draws with too are taken from plot/ and the model; the others
// are the pictures' own, among them a target yellow darker than the
// window's, which would hardly show on white.
#ifndef RODADERO_PICTURES_PALETTE_H
#define RODADERO_PICTURES_PALETTE_H

#include <cstdint>
#include <string>

enum PictureColour {
    PAPER,                  // the background, and the hollow marks' fill
    INK,                    // the frame, the axes and the captions
    CHART_TEXT,             // the charts' texts
    GRID_GREY,
    POLYLINE_COLOUR,        // the window's polyline
    CYCLOID_COLOUR,         // the window's cycloid
    CHORD_GREY,
    BRACHISTOCHRONE_GREEN,  // the curve, in the still picture and the race
    TARGET_YELLOW,
    PRINTED_RED,            // the convergence curve's printed time
    EXACT_BLUE,             // and its exact time
    LIMIT_GREEN,            // the brachistochrone's time, the stability limit
    SETTLES_BLUE,           // the fates
    SWINGS_ORANGE,
    NO_CYCLE_GREY,
    MARKED_YELLOW,          // the marked scroll position
    NEWTON_PURPLE,          // Newton's curve in the comparison
    SPREAD_LOW,             // a map cell whose printed times agree,
    SPREAD_HIGH,            // and one whose times spread the most
    OPTIMUM_VIOLET,         // the laboratory's discrete optimum
};

// A colour of the window (24 bits, red in the low byte) as "#rrggbb".
std::string HexColour(std::uint32_t colour);

std::string Colour(PictureColour colour);

// The colour a fraction t (0..1) of the way from `from` to `to`.
std::string MixedColour(PictureColour from, PictureColour to, double t);

#endif
