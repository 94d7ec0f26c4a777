// The pieces the pictures are made of: numbers and points at the window's
// scale (400 pixels to the model unit), the opening of an SVG document, a
// polyline element, the window's frame with its target lines, and the
// points of a polyline and of the brachistochrone. The pictures draw the
// polyline at the model's own depths (the end point at (400, 368)), so that
// it meets the brachistochrone through (1, 0.92); the window draws the drop
// as 366 pixels.
#ifndef RODADERO_PICTURES_SVG_PARTS_H
#define RODADERO_PICTURES_SVG_PARTS_H

#include "curve_state.h"
#include "kinematics.h"

#include <string>

const double PICTURE_SCALE = 400.0;  // pixels per model unit
const int PICTURE_MARGIN = 20;

// v with three decimals.
std::string SvgNumber(double v);

// A model point (x, y) in pixels, "x,y".
std::string SvgPoint(double x, double y);

// The XML declaration, the svg element of the given size, its title and a
// white background.
std::string SvgStart(int width, int height, const std::string &title);

std::string SvgPolyline(const char *id, const char *colour, const char *extra,
                        const std::string &points);

// The target lines through the end point and the window's 600 x 400 frame.
std::string SvgFrameAndTarget();

// A polyline with inner abscissae x[1..19] at the model's depths, ends
// (0, 0) and (1, 0.92), in pixels.
std::string PolylinePoints(const double x[NODE_COUNT]);

// The brachistochrone as 201 points, in pixels.
std::string BrachistochronePoints(const Brachistochrone &b);

#endif
