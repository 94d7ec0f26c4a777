// A curve given as CSV, and its race's rows. The file is the header "x,y"
// and then one point a line, "x,y", from (0, 0) to the end; the page's
// draw mode writes it and the command's --curve reads it. No file and no
// standard stream: the caller hands over the text and takes the rows.
#ifndef RODADERO_TABLES_CURVE_CSV_H
#define RODADERO_TABLES_CURVE_CSV_H

#include "curve_race.h"
#include "lab.h"

#include <string>

const double CURVE_COORDINATE_MAX = 1e6;

// Reads the points of a curve. Lines end in "\n" or "\r\n", the last one's
// end may be left out, blank lines at the end are passed over, and a UTF-8
// byte order mark before the header too. The header is x,y (spaces around
// a name allowed); a point is two decimal numbers ("0.25", "-3", "1e-3",
// "2.5E+2", spaces around each allowed; no "inf", "nan" or hexadecimal),
// each at most CURVE_COORDINATE_MAX either way. The curve has at least two
// points and at most LAB_INTERVALS_MAX + 1, starts at (0, 0), and its end
// (X, Y), the last point, has Y > 0 and X >= 0.
// On a fault: false, `curve` left as it was, and one line in `error` (no
// newline) that names the line of the file where there is one.
bool ReadCurveCsv(const std::string &text, LabPolyline *curve, std::string *error);

// The curve as that CSV, every number %.17g (FormatDouble): it reads back
// bit for bit.
std::string CurveCsv(const LabPolyline &curve);

// The race's rows: bead,arrival_s, then curve, cycloid and line in that
// order, each arrival %.17g; empty for a bead that never arrives.
std::string CurveRaceRows(const CurveRaceTimes &times);

// What becomes of the curve's bead, in words (no newline), for a summary
// line: "arrives after T s"; where it never arrives, where it stops (the
// file's lines of the two points of the segment it stops on) and when,
// or that it never moves.
std::string CurveFateWords(const CurveArrival &arrival);

#endif
