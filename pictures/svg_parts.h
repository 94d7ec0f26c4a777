// The pieces the pictures are made of: numbers and points at the window's
// scale (400 pixels to the model unit), the SVG document, the tracks'
// polylines, the window's frame with its target lines, and the points of a
// polyline and of the brachistochrone. The pictures draw the polyline at
// the model's own depths (the end point at (400, 368)), so that it meets
// the brachistochrone through (1, 0.92); the window draws the drop as 366
// pixels.
#ifndef RODADERO_PICTURES_SVG_PARTS_H
#define RODADERO_PICTURES_SVG_PARTS_H

#include "curve_state.h"
#include "kinematics.h"
#include "palette.h"
#include "svg_writer.h"

#include <string>
#include <vector>

const double PICTURE_SCALE = 400.0;  // pixels per model unit
const int PICTURE_MARGIN = 20;

// v with three decimals.
std::string SvgNumber(double v);

// A model point (x, y) in pixels, "x,y".
std::string SvgPoint(double x, double y);

// The whole document: the XML declaration, the svg element of the given
// size, its title ("rodadero-trace: " and `title`), a white background,
// then `body`.
std::string SvgDocument(int width, int height, const std::string &title,
                        std::vector<SvgElement> body);

// How a track is stroked: plainly, thicker (the polyline), or thinner and
// dashed (the brachistochrone, drawn over the others).
enum TrackStroke { PLAIN_STROKE, THICK_STROKE, DASHED_STROKE };

SvgElement SvgPolyline(const std::string &id, PictureColour colour, TrackStroke stroke,
                       const std::string &points);

// The target lines through the end point and the window's 600 x 400 frame.
std::vector<SvgElement> SvgFrameAndTarget();

// A polyline with inner abscissae x[1..19] at the model's depths, ends
// (0, 0) and (1, 0.92), in pixels.
std::string PolylinePoints(const double x[NODE_COUNT]);

// The brachistochrone as 201 points, in pixels.
std::string BrachistochronePoints(const Brachistochrone &b);

#endif
