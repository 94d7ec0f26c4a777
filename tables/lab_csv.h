// The laboratory's numbers as text: its CSV rows, the same bytes from
// every build, and the lines that sum up a run, an optimum and a
// refinement table (for the command's standard error and the page's
// status line).
#ifndef RODADERO_TABLES_LAB_CSV_H
#define RODADERO_TABLES_LAB_CSV_H

#include "lab_run.h"

#include <string>
#include <vector>

// "depth" and "width"; "midpoint" and "exact": the words of the options.
extern const char *const LAB_LAYOUT_NAME[2];
extern const char *const LAB_RULE_NAME[2];

// A run's rows: step,model_s,exact_s, the time under the rule and the
// exact time; with `nodes`, the unknowns of the inner nodes after them,
// x1..x{N-1} (depth layout) or y1..y{N-1} (width layout).
std::string LabRunHeader(const LabProblem &problem, bool nodes);
std::string LabRunRow(long step, double time, double exactTime, const double *unknowns,
                      long intervals, bool nodes);

// The optimum's nodes: k,x,y, each number the shortest that reads back to
// it bit for bit.
std::string LabOptimumRows(const LabPolyline &optimum);

// intervals,optimum_s,exact_s,cycloid_s,lambda_max,lambda_min,condition,
// gradient_steps.
std::string LabRefinementRows(const std::vector<LabRefinementRow> &rows);

// The problem in words, but for its rule: "20 intervals at equal depths
// to (1, 0.92)".
std::string LabProblemPhrase(const LabProblem &problem);

// The line after a run (no newline): its times at the last step, the
// cycloid's and the optimum's, and the split of the distance; where a step
// halted it, which node that step would have lifted.
std::string LabRunLine(const LabProblem &problem, const LabSetting &setting, double h,
                       const LabReference &reference, const LabRunResult &run);

// The line after --optimum and after --refine (no newline).
std::string LabOptimumLine(const LabProblem &problem, const LabReference &reference);
std::string LabRefinementLine(const LabProblem &problem,
                              const std::vector<LabRefinementRow> &rows);

#endif
