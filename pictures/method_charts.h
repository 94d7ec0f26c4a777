// The other methods' pictures, as SVG text: the comparison of every method
// from the chord, and the map of a momentum method's exact fates.
//
// The comparison: the distance of each method's fall time to the settled
// polyline's, on a log axis, against the step, on a log axis; each curve a
// <path id="curve-NAME"> through the steps NextSampledStep keeps, ending at
// the first step whose distance is 0 (drawn on the axis's floor).
//
// The map: positions 5..200 across, beta up, one <rect id="cell-P-K"> a
// cell (K = beta x 100), of class "settles" where its lowest and highest
// printed times agree and "swings" where they differ, "no-cycle" added
// where no cycle closed within the limit (outlined); filled by the spread
// of its printed times, on a log scale. The theory's limit is the polyline
// "stability-limit", its best setting the mark "best-setting".
//
// The texts come from a table, so that a caller speaking another language
// passes its own; "{}" in a text stands for a number.
#ifndef RODADERO_PICTURES_METHOD_CHARTS_H
#define RODADERO_PICTURES_METHOD_CHARTS_H

#include "method_fates.h"
#include "method_theory.h"

#include <string>
#include <vector>

struct MethodChartText {
    std::string method[METHOD_COUNT];  // the methods' names in the legend
    std::string compareTitle;
    std::string stepAxis;
    std::string distanceAxis;
    std::string setting;        // {}: position, {}: beta
    std::string positionOnly;   // {}: position
    std::string mapTitle;       // {}: the method, {}: the step limit
    std::string positionAxis;
    std::string betaAxis;
    std::string settles;        // legend entries
    std::string swings;         // {}: the largest spread in microseconds
    std::string noCycle;
    std::string limit;
    std::string best;           // {}: position, {}: beta
};

// The texts in English.
const MethodChartText &MethodChartEnglish();

// A method with its setting, as the legend and the titles name it.
std::string SettingText(const MethodSetting &setting, const MethodChartText &text);

// One point of a method's curve: the fall time after `step` steps.
struct ComparePoint {
    long step;
    double fallTime;
    double distance;  // fallTime less the settled polyline's
};

struct MethodCurve {
    MethodSetting setting;
    std::vector<ComparePoint> points;
};

// Each setting run `steps` steps from the chord, kept at the steps
// NextSampledStep picks and the last, up to the first whose distance to
// `settledTime` is 0 or less, and before the first whose fall time is not
// finite.
std::vector<MethodCurve> CompareCurves(const std::vector<MethodSetting> &settings, long steps,
                                       double settledTime);

std::string CompareChart(const std::vector<MethodCurve> &curves, const MethodChartText &text);

// The map of `cells` (any subset of positions by betas) of heavy ball or
// Nesterov, each followed within `stepLimit` steps, beside `theory`.
std::string MapChart(Method method, const std::vector<CellFate> &cells, long stepLimit,
                     const StabilityFigures &figures, const MethodChartText &text);

#endif
