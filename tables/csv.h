// The numbers as CSV text: the rows rodadero-trace prints and the page
// hands out as files, the same bytes from every build. No file and no
// standard stream: the caller puts the text where it wants.
#ifndef RODADERO_TABLES_CSV_H
#define RODADERO_TABLES_CSV_H

#include "curve_state.h"
#include "fates.h"
#include "method_theory.h"
#include "recorded_run.h"
#include "stability.h"

#include <string>
#include <vector>

// %.17g: reads back to the same double. Identical text natively, in the
// Windows build and in WebAssembly.
std::string FormatDouble(double v);

// One number as printf writes it with `format` (a format of one double,
// at most 63 characters written).
std::string Printed(const char *format, double value);

// The shortest decimal that reads back to v (0.35, not
// 0.34999999999999998): for the settings a user types.
std::string ShortestDouble(double v);

// A run's rows: step,time_us,model_s,exact_s, with the abscissae x1..x19
// when `nodes`.
std::string TraceHeader(bool nodes);

// The row of the polyline with inner abscissae x and fall time fallTime
// (the record's FallTime: 0 before the first step, as the window prints
// it) after `step` steps.
std::string PolylineRow(long step, double fallTime, const double x[NODE_COUNT], bool nodes);

// The same row without the abscissae, from the exact fall time of the
// polyline (ExactPolylineTime) found before: the row of a sample kept.
std::string RunRow(long step, double fallTime, double exactS);

// The sweep's rows: position,cycle_from,period,low_us,high_us.
std::string SweepHeader();
std::string SweepRowText(const Fate &row);

// What --stability prints.
std::string StabilityHeader();
std::string StabilityRow(const StabilityFigures &figures);

// The map of a method's fates: position,beta,cycle_from,period,low_us,high_us
// under that header, a row a cell, its momentum the one its index names in
// `betas`.
std::string MapRows(const std::vector<Fate> &cells, const std::vector<double> &betas);

// What --stability --method prints: method,beta,lambda_max,lambda_min,
// position_limit,best_position,best_beta,best_rate.
std::string MethodStabilityHeader();
std::string MethodStabilityRow(const MethodTheory &theory);

// The comparison's rows: method,position,beta,step,time_us,model_s,
// distance_s (the fall time less the settled polyline's) under that
// header, a row a point of each curve in turn.
std::string CompareRows(const std::vector<MethodCurve> &curves);

#endif
