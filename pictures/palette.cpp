// The pictures' palette.
#include "palette.h"

#include "curve_state.h"
#include "plot_layout.h"

#include <cstdio>
#include <cstdlib>

std::string HexColour(std::uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF),
                  static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

std::string Colour(PictureColour colour)
{
    switch (colour) {
    case PAPER: return "white";
    case INK: return "black";
    case CHART_TEXT: return "#222222";
    case GRID_GREY: return "#e4e4e4";
    case POLYLINE_COLOUR: return HexColour(POLYLINE_RED);
    case CYCLOID_COLOUR: return HexColour(CYCLOID_COLOR);
    case CHORD_GREY: return "#707070";
    case BRACHISTOCHRONE_GREEN: return "#00a050";
    case TARGET_YELLOW: return "#d8c800";
    case PRINTED_RED: return "#d00000";
    case EXACT_BLUE: return "#1c5fb8";
    case LIMIT_GREEN: return "#2f9e44";
    case SETTLES_BLUE: return "#2b6cb0";
    case SWINGS_ORANGE: return "#e8590c";
    case NO_CYCLE_GREY: return "#666666";
    case MARKED_YELLOW: return "#ffe066";
    case NEWTON_PURPLE: return "#7b3fb0";
    case SPREAD_LOW: return "#cfe3f7";
    case SPREAD_HIGH: return "#8a1c00";
    case OPTIMUM_VIOLET: return "#6a3d9a";
    }
    return "";
}

std::string MixedColour(PictureColour from, PictureColour to, double t)
{
    std::string a = Colour(from), b = Colour(to);
    char text[8];
    unsigned channel[3];
    for (int c = 0; c < 3; ++c) {
        double low = std::strtol(a.substr(1 + 2 * c, 2).c_str(), nullptr, 16);
        double high = std::strtol(b.substr(1 + 2 * c, 2).c_str(), nullptr, 16);
        channel[c] = static_cast<unsigned>(low + (high - low) * t + 0.5);
    }
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channel[0], channel[1], channel[2]);
    return text;
}
