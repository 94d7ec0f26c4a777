// The other methods' pictures, as SVG text: the comparison of every method
// from the chord, and the map of a momentum method's exact fates.
//
// The comparison: the distance of each method's fall time to the settled
// polyline's, on a log axis, against the step, on a log axis; each curve a
// <path id="curve-NAME"> through the steps its comparison's run kept
// (recorded_run.h), ending at the first whose distance is 0 or less (drawn
// on the axis's floor).
//
// The map: positions 5..200 across, beta up, one <rect id="cell-P-K"> a
// cell (K = beta x 100), of class "settles" where its lowest and highest
// printed times agree and "swings" where they differ, "no-cycle" added
// where no cycle closed within the limit (outlined); filled by the spread
// of its printed times, on a log scale. The theory's limit is the polyline
// "stability-limit", its best setting the mark "best-setting".
//
// The texts come from a table the caller hands over, in its language
// (texts/ makes one for each language of the catalogs); "{name}" in a
// text stands for the value of that name.
#ifndef RODADERO_PICTURES_METHOD_CHARTS_H
#define RODADERO_PICTURES_METHOD_CHARTS_H

#include "fates.h"
#include "method_theory.h"
#include "recorded_run.h"

#include <string>
#include <vector>

struct MethodChartText {
    std::string method[METHOD_COUNT];  // the methods' names in the legend
    std::string compareTitle;
    std::string stepAxis;
    std::string distanceAxis;
    std::string setting;        // {method}, {position}, {beta}
    std::string positionOnly;   // {method}, {position}
    std::string mapTitle;       // {method}, {steps}: the step limit
    std::string positionAxis;
    std::string betaAxis;
    std::string settles;        // legend entries
    std::string swings;         // {spread}: the largest spread in microseconds
    std::string noCycle;
    std::string limit;
    std::string best;           // {position}, {beta}
};

// What the id of a cell of momentum `beta` ends in: the momentum in
// hundredths ("35" for 0.35).
std::string MapCellBetaId(double beta);

// A method with its setting, as the legend and the titles name it.
std::string SettingText(const MethodSetting &setting, const MethodChartText &text);

// Both charts are laid out for `width` pixels (chart_parts.h: 0 for the
// desktop's).
std::string CompareChart(const std::vector<MethodCurve> &curves, const MethodChartText &text,
                         int width = 0);

// The map of `cells` (any subset of positions by `betas`, each cell's beta
// its index there) of heavy ball or Nesterov, each followed within
// `stepLimit` steps, beside `theory`.
std::string MapChart(Method method, const std::vector<Fate> &cells,
                     const std::vector<double> &betas, long stepLimit,
                     const StabilityFigures &figures, const MethodChartText &text,
                     int width = 0);

#endif
