// The laboratory's rows and lines.
#include "lab_csv.h"

#include "csv.h"

const char *const LAB_LAYOUT_NAME[2] = {"depth", "width"};
const char *const LAB_RULE_NAME[2] = {"midpoint", "exact"};

namespace {

// The method and its setting, as the line names them.
std::string SettingWords(const LabSetting &s, double h)
{
    std::string words = METHOD_NAME[s.method];
    if (s.method == METHOD_NEWTON)
        return words;
    words += " (step ratio " + ShortestDouble(s.stepRatio);
    if (MethodHasBeta(s.method))
        words += ", beta " + ShortestDouble(s.beta);
    return words + ", step h " + Printed("%.6g", h) + ")";
}

} // namespace

std::string LabRunHeader(const LabProblem &problem, bool nodes)
{
    std::string h = "step,model_s,exact_s";
    const char *axis = problem.layout == LAB_DEPTH ? ",x" : ",y";
    if (nodes)
        for (long i = 1; i < problem.intervals; ++i)
            h += axis + std::to_string(i);
    return h + "\n";
}

std::string LabRunRow(long step, double time, double exactTime, const double *unknowns,
                      long intervals, bool nodes)
{
    std::string row = std::to_string(step) + "," + FormatDouble(time) + "," + FormatDouble(exactTime);
    if (nodes)
        for (long i = 1; i < intervals; ++i)
            row += "," + FormatDouble(unknowns[i]);
    return row + "\n";
}

std::string LabOptimumRows(const LabPolyline &optimum)
{
    std::string text = "k,x,y\n";
    for (std::size_t k = 0; k < optimum.x.size(); ++k)
        text += std::to_string(k) + "," + ShortestDouble(optimum.x[k]) + "," +
                ShortestDouble(optimum.y[k]) + "\n";
    return text;
}

std::string LabRefinementRows(const std::vector<LabRefinementRow> &rows)
{
    std::string text = "intervals,optimum_s,exact_s,cycloid_s,lambda_max,lambda_min,condition,"
                       "gradient_steps\n";
    for (const LabRefinementRow &r : rows)
        text += std::to_string(r.intervals) + "," + FormatDouble(r.optimumTime) + "," +
                FormatDouble(r.exactTime) + "," + FormatDouble(r.cycloidTime) + "," +
                FormatDouble(r.theory.lambdaMax) + "," + FormatDouble(r.theory.lambdaMin) + "," +
                FormatDouble(r.theory.condition) + "," + std::to_string(r.theory.stepsToMillionth) +
                "\n";
    return text;
}

std::string LabProblemPhrase(const LabProblem &p)
{
    return std::to_string(p.intervals) + (p.intervals == 1 ? " interval" : " intervals") +
           (p.layout == LAB_DEPTH ? " at equal depths" : " at equal widths") + " to (" +
           ShortestDouble(p.endX) + ", " + ShortestDouble(p.endY) + ")";
}

std::string LabRunLine(const LabProblem &problem, const LabSetting &setting, double h,
                       const LabReference &ref, const LabRunResult &run)
{
    std::string line = "rodadero-trace: " + SettingWords(setting, h) + " on " +
                       LabProblemPhrase(problem) + " under the " + LAB_RULE_NAME[problem.rule] +
                       " rule: ";
    if (run.haltedAt)
        line += "step " + std::to_string(run.haltedAt) + " would lift node " +
                std::to_string(run.haltedNode) +
                (problem.layout == LAB_WIDTH ? " above the start (y = " : " to no number (x = ") +
                Printed("%.6g", run.haltedValue) + "), so the run ends at step " +
                std::to_string(run.steps) + "; ";
    line += (run.steps == 0 ? std::string("the chord takes ")
                            : "after " + std::to_string(run.steps) +
                                  (run.steps == 1 ? " step" : " steps") + " the time is ") +
            Printed("%.7f s", run.time) + " (exactly " + Printed("%.7f s", run.exactTime) +
            "); the optimum takes " + Printed("%.7f s", ref.optimumTime) + ", the cycloid " +
            Printed("%.7f s", ref.cycloid.time) + "; the distance to the cycloid " +
            Printed("%+.7f s", run.time - ref.cycloid.time) + " is the optimiser's share " +
            Printed("%+.7f s", run.time - ref.optimumTime) + " and the polyline's " +
            Printed("%+.7f s", ref.optimumTime - ref.cycloid.time);
    return line;
}

std::string LabOptimumLine(const LabProblem &problem, const LabReference &ref)
{
    return "rodadero-trace: the optimum of " + LabProblemPhrase(problem) + " takes " +
           Printed("%.7f s", ref.optimumTime) + " under the " + LAB_RULE_NAME[problem.rule] +
           " rule and " +
           Printed("%.7f s", ref.optimumExact) + " exactly; the cycloid takes " +
           Printed("%.7f s", ref.cycloid.time) + "; at the optimum lambda_max " +
           Printed("%.6g", ref.theory.lambdaMax) + ", lambda_min " +
           Printed("%.6g", ref.theory.lambdaMin) + ", condition " +
           Printed("%.6g", ref.theory.condition);
}

std::string LabRefinementLine(const LabProblem &problem, const std::vector<LabRefinementRow> &rows)
{
    std::string line = "rodadero-trace: the optimum of " + LabProblemPhrase(problem) +
                       " and of fewer, under the " + LAB_RULE_NAME[problem.rule] + " rule: " +
                       std::to_string(rows.size()) + (rows.size() == 1 ? " row" : " rows");
    if (rows.size() < 2)
        return line;
    return line + "; its gap to the cycloid goes as N^" +
           Printed("%.2f", LabGapOrder(rows, false)) + " under the rule and N^" +
           Printed("%.2f", LabGapOrder(rows, true)) + " exactly";
}
