// Command-line options of rodadero-trace. CLI11 reads the arguments: which
// option each one is, the values each is given (none when another option
// follows it) and which arguments are no option of the command. What is ours
// is decided from what it read: the form of a value, which options go
// together, which fault is named when there are several, the wording of each
// message and the layout of --help.
#include "options.h"

#include "csv.h"
#include "files.h"
#include "fates.h"
#include "lab_csv.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

// The prose of --help: help.txt, which the build makes into this string.
extern const char TRACE_HELP[];

namespace {

std::string N(long v)
{
    return std::to_string(v);
}

// The argument as it may be quoted in a one-line message.
std::string Quoted(const std::string &text)
{
    std::string q = "'";
    for (char c : text)
        q += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
    return q + "'";
}

// What the value of an option may be: the words that say so, the form of
// its text, and the range of a number.
struct Takes {
    std::string words;
    std::string form;  // a regular expression
    double min = -HUGE_VAL, max = HUGE_VAL;
    bool endPoint = false;  // two numbers, X,Y, in the ranges of an end
};

// A whole number in decimal digits, with or without a sign.
Takes WholeNumber(long min, long max)
{
    return {"a whole number from " + N(min) + " to " + N(max), "[+-]?[0-9]+", double(min),
            double(max)};
}

// A decimal in plain digits, with or without a fraction: 0, 0.5, 0.35.
Takes Decimal()
{
    return {"a decimal from " + ShortestDouble(TRACE_BETA_MIN) + " to " +
                ShortestDouble(TRACE_BETA_MAX),
            "[0-9]+(\\.[0-9]+)?", TRACE_BETA_MIN, TRACE_BETA_MAX};
}

// The end point X,Y: two decimals, perhaps with an exponent, X within
// 0..LAB_END_MAX and Y above 0 to it (checked apart, as a pair).
Takes EndPoint()
{
    const std::string number = "[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?";
    return {"X,Y, two numbers with 0 <= X <= " + ShortestDouble(LAB_END_MAX) + " and 0 < Y <= " +
                ShortestDouble(LAB_END_MAX),
            number + "," + number, 0.0, LAB_END_MAX, true};
}

// One of `names`.
Takes OneOf(const char *const names[2])
{
    return {std::string("one of ") + names[0] + " and " + names[1],
            std::string(names[0]) + "|" + names[1]};
}

Takes MethodName()
{
    std::string words = "one of ", form;
    for (int m = 0; m < METHOD_COUNT; ++m) {
        words += std::string(m == 0 ? "" : m + 1 == METHOD_COUNT ? " and " : ", ") + METHOD_NAME[m];
        form += std::string(m == 0 ? "" : "|") + METHOD_NAME[m];
    }
    return {words, form};
}

// What follows the option's name in the message about one value it was
// given; empty when the value is good. A value that begins with -- is
// another option (--svg=--plot as --svg --plot). The digits of a number are
// read in decimal, where CLI11's own conversion would read "010" as octal.
std::string ValueFault(const Takes &takes, const std::string &text)
{
    if (text.empty() || text.compare(0, 2, "--") == 0)
        return "needs a value: " + takes.words;
    if (!std::regex_match(text, std::regex(takes.form)))
        return "takes " + takes.words + ", not " + Quoted(text);
    double v = std::strtod(text.c_str(), nullptr);
    if (takes.endPoint) {
        double y = std::strtod(text.c_str() + text.find(',') + 1, nullptr);
        if (!(v >= 0.0 && v <= LAB_END_MAX && y > 0.0 && y <= LAB_END_MAX))
            return "takes " + takes.words + "; " + Quoted(text) + " is out of range";
        return std::string();
    }
    if (v < takes.min || v > takes.max)
        return "takes " + takes.words + "; " + Quoted(text) + " is out of range";
    return std::string();
}

// text with each name in `values` replaced by its value, once.
std::string Filled(std::string text,
                   const std::vector<std::pair<std::string, std::string>> &values)
{
    for (const auto &v : values)
        text.replace(text.find(v.first), v.first.size(), v.second);
    return text;
}

// --help: the text of help.txt, with an entry an option where it says
// {options}, and the limits it quotes by their names. CLI11 lays out the
// entries: the option's name and value, then its explanation from column 17
// on, or on the next line when the entry fills those columns.
class UsageFormatter : public CLI::Formatter {
public:
    UsageFormatter() { column_width(16); }

    std::string make_option_name(const CLI::Option *option, bool) const override
    {
        return option->get_name();
    }

    std::string make_help(const CLI::App *app, std::string, CLI::AppFormatMode) const override
    {
        std::string entries;
        for (const CLI::Option *option : app->get_options())
            entries += make_option(option, false);
        return Filled(TRACE_HELP, {{"{options}\n", entries},
                                   {"{CELL_STEP_LIMIT_DEFAULT}", N(CELL_STEP_LIMIT_DEFAULT)},
                                   {"{CELL_STEP_LIMIT_MAX}", N(CELL_STEP_LIMIT_MAX)},
                                   {"{CELL_LAST_STEPS}", N(CELL_LAST_STEPS)}});
    }
};

// Every option, in the order --help lists them. An option that takes a
// value is given an empty one when none follows it.
struct Declared {
    CLI::App app{"", "rodadero-trace"};
    CLI::Option *method, *beta, *position, *steps, *every, *nodes, *svg, *plot, *race, *slow;
    CLI::Option *sweep, *stability, *compare;
    CLI::Option *lab, *end, *intervals, *layout, *time, *stepRatio, *optimum, *refine, *curve;
    CLI::Option *help, *version;

    CLI::Option *Value(const char *name, const char *value, const std::string &explanation)
    {
        return app.add_option(name, explanation)->type_name(value)->expected(0, 1);
    }
    CLI::Option *Flag(const char *name, const std::string &explanation)
    {
        return app.add_flag(name, explanation);
    }

    Declared();
};

Declared::Declared()
{
    app.set_help_flag();  // --help is a flag like the others, answered below
    app.allow_extras();
    // An argument that begins with / is a value (a path) in the Windows
    // build too, not an option written /name.
    app.allow_windows_style_options(false);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.formatter(std::make_shared<UsageFormatter>());

    method = Value("--method", "NAME",
                   "the method that runs from the chord: program (the\n"
                   "program's own descent, the default), gradient,\n"
                   "heavy-ball, nesterov or newton, on the same fall time\n"
                   "and gradient, with the step h = 300 x Alpha(P)");
    beta = Value("--beta", "B",
                 "the momentum of heavy-ball and nesterov, a decimal from " +
                     ShortestDouble(TRACE_BETA_MIN) + "\nto " + ShortestDouble(TRACE_BETA_MAX) +
                     " (default " + ShortestDouble(TRACE_BETA_DEFAULT) + ")");
    position = Value("--position", "P",
                     "the step factor of scroll position P, a whole number from " +
                         N(ALPHA_POS_MIN) + " to\n" + N(ALPHA_POS_MAX) +
                         " (Alpha = P x 2.0000000000000003e-6); without it Alpha keeps\n"
                         "its starting value " + ShortestDouble(ALPHA_START) + "; " +
                         N(ALPHA_POS_MIN) + " to " + N(METHOD_POS_MAX) +
                         " with another --method\n(default " + N(ALPHA_POS_START) +
                         ") or --compare");
    steps = Value("--steps", "N",
                  "descent steps to run, " + N(TRACE_STEPS_MIN) + " to " + N(TRACE_STEPS_MAX) +
                      " (default " + N(TRACE_STEPS_DEFAULT) + ")");
    every = Value("--every", "K",
                  "print every K-th step and always the last, " + N(TRACE_EVERY_MIN) + " to " +
                      N(TRACE_STEPS_MAX) + "\n(default " + N(TRACE_EVERY_DEFAULT) + ")");
    nodes = Flag("--nodes", "add the abscissae x1..x19 of the shown polyline to each row");
    svg = Value("--svg", "FILE",
                "also draw the final polyline, the window's cycloid and the\n"
                "exact brachistochrone into FILE (an SVG picture); with --sweep,\n"
                "the fates chart: each position's printed times, settled or\n"
                "swinging, beside the limit of --stability, and the step its\n"
                "cycle begins");
    plot = Value("--plot", "FILE",
                 "also draw the run's convergence curve into FILE (an SVG\n"
                 "picture): the printed and the exact time against the step, on\n"
                 "a log scale, and the brachistochrone's time; needs a step");
    race = Value("--race", "FILE",
                 "print no rows; write into FILE an animated SVG picture of three\n"
                 "beads released together at rest from (0, 0), sliding down the\n"
                 "chord, the polyline after the steps and the brachistochrone");
    slow = Value("--slow", "K",
                 "play the race K times slower than real, a whole number from " +
                     N(TRACE_SLOW_MIN) + "\nto " + N(TRACE_SLOW_MAX) + " (default " +
                     N(TRACE_SLOW_DEFAULT) + ")");
    sweep = Flag("--sweep", "follow the descent at each scroll position " + N(ALPHA_POS_MIN) +
                                ".." + N(ALPHA_POS_MAX) +
                                " (or at P\n"
                                "alone) until it repeats itself, at most N steps each\n(default " +
                                N(FATE_STEP_LIMIT_DEFAULT) + ")");
    stability = Flag("--stability", "print the step factor's limit from the linear theory:\n"
                                    "lambda_max,alpha_limit,position_limit; with --method, that\n"
                                    "method's limit and fastest setting");
    compare = Value("--compare", "FILE",
                    "run every method from the chord, each at position P and beta B\n"
                    "or else at its fastest by the theory, N steps (default " +
                        N(COMPARE_STEPS_DEFAULT) + ");\n"
                        "print their rows and draw into FILE how far each one's fall time\n"
                        "is from the settled polyline's (an SVG picture)");
    lab = Flag("--lab", "run the laboratory's problem instead of the program's: the\n"
                        "end point, the number of intervals, the layout and the time\n"
                        "rule below, with --method gradient (the default), heavy-ball,\n"
                        "nesterov or newton");
    end = Value("--end", "X,Y",
                "the end point, 0 <= X <= " + ShortestDouble(LAB_END_MAX) + " and 0 < Y <= " +
                    ShortestDouble(LAB_END_MAX) + ", y downward\n(default 1,0.92)");
    intervals = Value("--intervals", "N",
                      "the number of intervals, " + N(LAB_INTERVALS_MIN) + " to " +
                          N(LAB_INTERVALS_MAX) + " (default 20)");
    layout = Value("--layout", "NAME",
                   "depth: nodes at equal depths, the inner abscissae free (the\n"
                   "default); width: nodes at equal widths, the inner depths free");
    time = Value("--time", "RULE",
                 "midpoint: each segment at the speed of its mid-depth (the\n"
                 "program's rule, the default); exact: at its exact mean speed");
    stepRatio = Value("--step-ratio", "R",
                      "the step h = R x 2 / lambda_max at the optimum, a decimal from\n" +
                          ShortestDouble(LAB_STEP_RATIO_MIN) + " to " +
                          ShortestDouble(LAB_STEP_RATIO_MAX) + " (default " +
                          ShortestDouble(LAB_STEP_RATIO_DEFAULT) + ")");
    optimum = Flag("--optimum", "print the optimum's nodes k,x,y instead of a run");
    refine = Flag("--refine", "print the refinement table instead of a run: the optimum of\n"
                              "5, 10, 20, ... intervals up to N, and of N");
    curve = Value("--curve", "CSV",
                  "with --race: race the curve of the file (x,y under a header,\n"
                  "from 0,0 to its end) against the cycloid and the straight line");
    help = Flag("-h,--help", "print this text");
    version = Flag("--version", "print the release number");
}

// How often a flag was given with no value, which reads "true" (as does
// --nodes=true).
std::size_t Plain(const CLI::Option *flag)
{
    return std::count(flag->results().begin(), flag->results().end(), "true");
}

// A mode of the command, the line that says what it takes, and the options
// it cannot go with, in the order the line names them: the comparison runs
// every method, the linear theory needs no run, the race draws one run and
// prints no rows, and the sweep prints its own. Where several are given,
// the line of the first speaks.
struct Mode {
    const CLI::Option *option;
    std::string line;
    std::vector<const CLI::Option *> refuses;
};

std::vector<Mode> Modes(const Declared &d)
{
    if (d.lab->count())
        return {{d.lab,
                 "--lab takes the laboratory's options and those of a run",
                 {d.position, d.sweep, d.compare, d.stability, d.curve}},
                {d.optimum,
                 "--optimum needs no run and takes only --end, --intervals, --layout and --time",
                 {d.method, d.beta, d.steps, d.every, d.nodes, d.svg, d.plot, d.race, d.slow,
                  d.stepRatio, d.refine}},
                {d.refine,
                 "--refine needs no run and takes only --end, --intervals, --layout, --time "
                 "and --svg",
                 {d.method, d.beta, d.steps, d.every, d.nodes, d.plot, d.race, d.slow,
                  d.stepRatio, d.optimum}},
                {d.race, "--lab --race draws one run and takes only the laboratory's options, "
                         "--method, --beta, --step-ratio, --steps and --slow",
                 {d.every, d.nodes, d.plot, d.svg}}};
    return {{d.curve,
             "--race --curve races the curve of a file and takes only --slow",
             {d.position, d.steps, d.method, d.beta, d.every, d.nodes, d.svg, d.plot, d.sweep,
              d.compare, d.stability}},
            {d.compare, "--compare runs every method and takes only --position, --beta and --steps",
             {d.every, d.nodes, d.svg, d.plot, d.race, d.slow, d.sweep, d.stability, d.method}},
            {d.stability, "--stability needs no run and takes no other option",
             {d.position, d.steps, d.every, d.nodes, d.svg, d.plot, d.race, d.slow, d.sweep,
              d.compare}},
            {d.race, "--race draws one run and takes only --position, --steps and --slow",
             {d.sweep, d.method, d.beta, d.every, d.nodes, d.plot, d.svg, d.compare, d.stability}},
            {d.sweep, "--sweep takes only --position, --steps and --svg",
             {d.every, d.nodes, d.plot, d.race, d.compare, d.stability}}};
}

// Whether `option` is a mode given with an option it refuses, or an option
// refused by a mode that is given.
bool Apart(const std::vector<Mode> &modes, const CLI::Option *option)
{
    for (const Mode &m : modes)
        for (const CLI::Option *refused : m.refuses)
            if ((m.option == option && refused->count()) ||
                (refused == option && m.option->count()))
                return true;
    return false;
}

// The name of the first of `options` that is given.
std::string FirstGiven(const std::vector<const CLI::Option *> &options)
{
    for (const CLI::Option *o : options)
        if (o->count())
            return o->get_name();
    return std::string();
}

// The line of `option` given without the option it needs: --slow and
// --curve without --race, the laboratory's options without --lab; empty
// where it needs none or has it.
std::string NeedFault(const Declared &d, const CLI::Option *o)
{
    if ((o == d.slow || o == d.curve) && !d.race->count())
        return o == d.slow ? "--slow sets the pace of --race and needs it"
                           : "--curve names the curve --race races and needs it";
    for (const CLI::Option *own : {d.end, d.intervals, d.layout, d.time, d.stepRatio, d.optimum,
                                   d.refine})
        if (o == own && !d.lab->count())
            return o->get_name() + " belongs to the laboratory and needs --lab";
    return std::string();
}

// The options that do not go together, or an option without the one it
// needs. The options are looked at in the order of --help; the first that
// is given without the option it needs, or with one it cannot go with,
// says which of the two it is. The line of the comparison or the theory,
// where either is given, speaks for both; else that of the option's need,
// or of the first mode given that refuses one of the options given.
std::string ClashFault(const Declared &d)
{
    std::vector<Mode> modes = Modes(d);
    std::string need;
    bool apart = false;
    for (const CLI::Option *o : d.app.get_options())
        if (o->count() && need.empty() && !apart) {
            need = NeedFault(d, o);
            apart = Apart(modes, o);
        }
    if (!need.empty() && !d.compare->count() && !d.stability->count())
        return need;
    for (const Mode &m : modes)
        if ((!need.empty() || apart) && m.option->count() && !FirstGiven(m.refuses).empty())
            return m.line + ", not " + FirstGiven(m.refuses);
    return need;
}

// The first fault of what CLI11 read, empty when there is none: a flag
// given a value; a value missing, of another form or out of range, option by
// option in the order of --help; options that do not go together
// (ClashFault); an argument that is no option of the command.
std::string FirstFault(const Declared &d)
{
    for (const CLI::Option *flag :
         {d.nodes, d.sweep, d.stability, d.lab, d.optimum, d.refine, d.help, d.version})
        if (Plain(flag) < flag->count())
            return flag->get_name() + " takes no value";

    // The other methods, and the comparison, take positions beyond the
    // dialog's (a method's name is looked at before the position).
    bool beyond = d.compare->count() ||
                  (d.method->count() && d.method->as<std::string>() != METHOD_NAME[METHOD_PROGRAM]);
    const Takes path = {"the path of the SVG file to write", "[\\s\\S]+"};  // any text
    const std::pair<const CLI::Option *, Takes> values[] = {
        {d.method, MethodName()},
        {d.beta, Decimal()},
        {d.position, WholeNumber(ALPHA_POS_MIN, beyond ? METHOD_POS_MAX : ALPHA_POS_MAX)},
        {d.steps, WholeNumber(TRACE_STEPS_MIN, TRACE_STEPS_MAX)},
        {d.every, WholeNumber(TRACE_EVERY_MIN, TRACE_STEPS_MAX)},
        {d.svg, path},
        {d.plot, path},
        {d.race, path},
        {d.slow, WholeNumber(TRACE_SLOW_MIN, TRACE_SLOW_MAX)},
        {d.compare, path},
        {d.end, EndPoint()},
        {d.intervals, WholeNumber(LAB_INTERVALS_MIN, LAB_INTERVALS_MAX)},
        {d.layout, OneOf(LAB_LAYOUT_NAME)},
        {d.time, OneOf(LAB_RULE_NAME)},
        {d.stepRatio, {"a decimal from " + ShortestDouble(LAB_STEP_RATIO_MIN) + " to " +
                           ShortestDouble(LAB_STEP_RATIO_MAX),
                       "[0-9]+(\\.[0-9]+)?", LAB_STEP_RATIO_MIN, LAB_STEP_RATIO_MAX}},
        {d.curve, {"the path of the CSV file to read", "[\\s\\S]+"}},
    };
    for (const auto &value : values)
        for (const std::string &text : value.first->results()) {
            std::string fault = ValueFault(value.second, text);
            if (!fault.empty())
                return value.first->get_name() + " " + fault;
        }

    std::string clash = ClashFault(d);
    if (!clash.empty())
        return clash;

    std::vector<std::string> extras = d.app.remaining();
    if (extras.empty())
        return std::string();
    const std::string &arg = extras.front();
    if (arg.size() > 1 && arg[0] == '-')
        return "unknown option " +
               Quoted(arg.compare(0, 2, "--") == 0 ? arg.substr(0, arg.find('=')) : arg) +
               "; the options are --method, --beta, --position, --steps, --every, --nodes, "
               "--svg, --plot, --race, --slow, --sweep, --compare, --stability, --lab, --end, "
               "--intervals, --layout, --time, --step-ratio, --optimum, --refine, --curve, "
               "--help and --version";
    return "unexpected argument " + Quoted(arg) + "; every option starts with -- (see --help)";
}

// What the options ask makes sense together, empty when it does: --beta
// only for a method with momentum (or the comparison), the map only of
// those, the theory of the three it has, each cell and each compared run
// within its limit of steps, and a convergence curve with steps to draw on
// a file of its own (two pictures cannot be written through one temporary
// file).
std::string Misfit(const TraceOptions &o)
{
    Method method = o.method.value_or(o.lab ? METHOD_GRADIENT : METHOD_PROGRAM);
    std::string name = METHOD_NAME[method];
    if (o.lab && method == METHOD_PROGRAM)
        return "--lab runs gradient, heavy-ball, nesterov or newton, not program (the program "
               "keeps its own problem)";
    if (o.lab && o.problem.layout == LAB_WIDTH && o.problem.endX == 0.0)
        return "--layout width spaces the nodes over the end's X, which --end gives as 0";
    if (o.beta && o.comparePath.empty() && !MethodHasBeta(method))
        return "--beta is the momentum of --method heavy-ball or nesterov, not of " + name;
    if (o.sweep && o.method && !MethodHasBeta(method))
        return "--sweep --method maps heavy-ball or nesterov, not " + name +
               " (--sweep alone follows the program's descent)";
    if (o.sweep && o.method && o.steps > CELL_STEP_LIMIT_MAX)
        return "--sweep --method follows a cell at most " + N(CELL_STEP_LIMIT_MAX) +
               " steps, not " + N(o.steps);
    if (!o.comparePath.empty() && o.steps > CELL_STEP_LIMIT_MAX)
        return "--compare runs each method at most " + N(CELL_STEP_LIMIT_MAX) + " steps, not " +
               N(o.steps);
    if (o.stability && o.method && !(MethodHasBeta(method) || method == METHOD_GRADIENT))
        return "--stability --method takes heavy-ball, nesterov or gradient, not " + name;
    if (!o.plotPath.empty() && o.steps == 0)
        return "--plot draws the steps from 1 on and needs --steps of 1 or more";
    if (!o.plotPath.empty() && SamePicturePath(o.plotPath, o.svgPath))
        return "--plot and --svg name the same file " + Quoted(o.plotPath) +
               "; give each picture a file of its own";
    return std::string();
}

// The steps when --steps is not given: those of a run (or the race), a
// position's limit in the sweep, a cell's in the map, or each compared
// run's.
long DefaultSteps(const TraceOptions &o)
{
    if (!o.comparePath.empty())
        return COMPARE_STEPS_DEFAULT;
    if (o.sweep)
        return o.method ? CELL_STEP_LIMIT_DEFAULT : FATE_STEP_LIMIT_DEFAULT;
    return TRACE_STEPS_DEFAULT;
}

} // namespace

bool ParseTraceOptions(int argc, const char *const argv[], TraceOptions *options,
                       std::string *error)
{
    // With no check, requirement or help flag of its own, CLI11 refuses
    // nothing here: every fault is found below.
    Declared d;
    d.app.parse(argc, argv);
    TraceOptions &o = *options = TraceOptions();
    if (Plain(d.help) || Plain(d.version)) {
        o.answer = Plain(d.help) ? d.app.help() : "rodadero-trace " RODADERO_VERSION "\n";
        return true;
    }
    std::string fault = FirstFault(d);
    if (fault.empty()) {
        // Each option's last value; a number's digits in decimal.
        auto text = [](const CLI::Option *option) { return option->as<std::string>(); };
        Method method;
        if (d.method->count() && MethodOfName(text(d.method), &method))
            o.method = method;
        if (d.beta->count())
            o.beta = std::strtod(text(d.beta).c_str(), nullptr);
        if (d.position->count())
            o.position = std::stoi(text(d.position));
        if (d.every->count())
            o.every = std::stol(text(d.every));
        if (d.slow->count())
            o.slow = std::stoi(text(d.slow));
        o.nodes = d.nodes->count();
        o.sweep = d.sweep->count();
        o.stability = d.stability->count();
        o.svgPath = text(d.svg);
        o.plotPath = text(d.plot);
        o.racePath = text(d.race);
        o.comparePath = text(d.compare);
        o.lab = d.lab->count();
        o.optimum = d.optimum->count();
        o.refine = d.refine->count();
        o.curvePath = text(d.curve);
        if (d.end->count()) {
            std::string end = text(d.end);
            o.problem.endX = std::strtod(end.c_str(), nullptr);
            o.problem.endY = std::strtod(end.c_str() + end.find(',') + 1, nullptr);
        }
        if (d.intervals->count())
            o.problem.intervals = std::stol(text(d.intervals));
        if (d.layout->count())
            o.problem.layout = text(d.layout) == LAB_LAYOUT_NAME[LAB_WIDTH] ? LAB_WIDTH : LAB_DEPTH;
        if (d.time->count())
            o.problem.rule = text(d.time) == LAB_RULE_NAME[LAB_EXACT] ? LAB_EXACT : LAB_MIDPOINT;
        if (d.stepRatio->count())
            o.stepRatio = std::strtod(text(d.stepRatio).c_str(), nullptr);
        o.steps = d.steps->count() ? std::stol(text(d.steps)) : DefaultSteps(o);
        fault = Misfit(o);
    }
    *error = fault.empty() ? fault : "rodadero-trace: " + fault;
    return fault.empty();
}

MethodSetting RunSetting(const TraceOptions &options)
{
    Method method = options.method.value_or(METHOD_PROGRAM);
    // Without --position the program runs at its starting factor (position
    // 0), another method at position 50.
    int position = options.position.value_or(method == METHOD_PROGRAM ? 0 : ALPHA_POS_START);
    return {method, static_cast<double>(position),
            MethodHasBeta(method) ? options.beta.value_or(TRACE_BETA_DEFAULT) : 0.0};
}

LabSetting LabRunSetting(const TraceOptions &options)
{
    Method method = options.method.value_or(METHOD_GRADIENT);
    return {method, options.stepRatio,
            MethodHasBeta(method) ? options.beta.value_or(TRACE_BETA_DEFAULT) : 0.0};
}
