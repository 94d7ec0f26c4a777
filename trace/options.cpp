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

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

const char PROGRAM[] = "rodadero-trace: ";

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

Takes MethodName()
{
    std::string words = "one of ", form;
    for (int m = 0; m < METHOD_COUNT; ++m) {
        words += std::string(m == 0 ? "" : m + 1 == METHOD_COUNT ? " and " : ", ") + METHOD_NAME[m];
        form += std::string(m == 0 ? "" : "|") + METHOD_NAME[m];
    }
    return {words, form};
}

Takes Path()
{
    return {"the path of the SVG file to write", "[\\s\\S]+"};  // any text
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
    if (v < takes.min || v > takes.max)
        return "takes " + takes.words + "; " + Quoted(text) + " is out of range";
    return std::string();
}

const char USAGE[] =
    "Usage: rodadero-trace [--method NAME [--beta B]] [--position P] [--steps N]\n"
    "                      [--every K] [--nodes] [--svg FILE] [--plot FILE]\n"
    "       rodadero-trace --race FILE [--position P] [--steps N] [--slow K]\n"
    "       rodadero-trace --sweep [--position P] [--steps N] [--svg FILE]\n"
    "       rodadero-trace --sweep --method heavy-ball|nesterov [--beta B]\n"
    "                      [--position P] [--steps N] [--svg FILE]\n"
    "       rodadero-trace --compare FILE [--position P] [--beta B] [--steps N]\n"
    "       rodadero-trace --stability [--method heavy-ball|nesterov|gradient\n"
    "                      [--beta B]]\n\n";

// --help: the usage lines, the description, an entry an option and the
// footer. CLI11 lays out the entries: the option's name and value, then its
// explanation from column 17 on, or on the next line when the entry fills
// those columns.
class UsageFormatter : public CLI::Formatter {
public:
    UsageFormatter() { column_width(16); }

    std::string make_option_name(const CLI::Option *option, bool) const override
    {
        return option->get_name();
    }

    std::string make_help(const CLI::App *app, std::string, CLI::AppFormatMode) const override
    {
        std::string text = USAGE + app->get_description() + "\n\n";
        for (const CLI::Option *option : app->get_options())
            text += make_option(option, false);
        return text + "\n" + app->get_footer();
    }
};

// Every option, in the order --help lists them. An option that takes a
// value is given an empty one when none follows it.
struct Declared {
    CLI::App app{"Runs Rodadero's curve model without its window: the straight chord from (0, 0)\n"
                 "to (1, 0.92), improved step after step by the same descent the program runs.",
                 "rodadero-trace"};
    CLI::Option *method, *beta, *position, *steps, *every, *nodes, *svg, *plot, *race, *slow;
    CLI::Option *sweep, *stability, *compare, *help, *version;

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
                                N(SWEEP_STEPS_DEFAULT) + ")");
    stability = Flag("--stability", "print the step factor's limit from the linear theory:\n"
                                    "lambda_max,alpha_limit,position_limit; with --method, that\n"
                                    "method's limit and fastest setting");
    compare = Value("--compare", "FILE",
                    "run every method from the chord, each at position P and beta B\n"
                    "or else at its fastest by the theory, N steps (default " +
                        N(COMPARE_STEPS_DEFAULT) + ");\n"
                        "print their rows and draw into FILE how far each one's fall time\n"
                        "is from the settled polyline's (an SVG picture)");
    help = Flag("-h,--help", "print this text");
    version = Flag("--version", "print the release number");

    app.footer(
        "Output is CSV on standard output: step,time_us,model_s,exact_s[,x1..x19].\n"
        "time_us is the number the window prints after that step, model_s the model's\n"
        "fall time (reads back bit for bit), exact_s the fall time of the same polyline\n"
        "for a bead starting at rest with g = 10. With --steps 0 the one row is step 0,\n"
        "the chord before any step. A summary line goes to standard error.\n"
        "With --plot FILE the rows stay the same; the curve in FILE keeps every step up\n"
        "to 100, then 50 a decade, each with the step after it (so that a swing shows\n"
        "as a band), and the last step.\n"
        "\n"
        "--sweep prints position,cycle_from,period,low_us,high_us. A step turns the\n"
        "state (the node abscissae and their shown copy, bit for bit) into the next one,\n"
        "so from the chord (step 0) every run ends in an exact cycle: the state after\n"
        "step cycle_from comes back after period steps and then repeats for ever.\n"
        "Period 1 means the curve has stopped; period 2 that it swings between two\n"
        "polylines. low_us and high_us are the lowest and highest printed time over\n"
        "the steps of one period. When no state comes back within N steps,\n"
        "cycle_from and period are empty and low_us = high_us is the time after step N.\n"
        "With --svg FILE the same rows go to standard output and FILE gets the chart:\n"
        "settled positions blue, swinging ones orange (their lowest and highest time),\n"
        "those with no repeat within N steps hollow, and the limit of --stability.\n"
        "\n"
        "--stability prints lambda_max,alpha_limit,position_limit: the largest\n"
        "eigenvalue of the gradient's Jacobian at the settled polyline, the step\n"
        "factor 2 / (299 lambda_max) beyond which the descent cannot settle but swings,\n"
        "and that factor as a scroll position (over 2.0000000000000003e-6).\n"
        "\n"
        "--method runs another method from the chord (the program's descent by default):\n"
        "gradient x' = x - h G(x); heavy-ball x' = (x - h G(x)) + B (x - x_prev);\n"
        "nesterov y = x + B (x - x_prev), x' = y - h G(y); newton x' = x - J(x)^-1 G(x);\n"
        "h = 300 x Alpha(P), every operation rounded on its own. The rows are as above.\n"
        "--sweep --method heavy-ball|nesterov prints the map of fates, one row a cell of\n"
        "positions 5, 10, ..., 200 by beta 0, 0.05, ..., 0.95 (or the one of --position or\n"
        "--beta): position,beta,cycle_from,period,low_us,high_us, each cell followed at\n"
        "most N steps (default " + N(CELL_STEP_LIMIT_DEFAULT) + ", at most " +
        N(CELL_STEP_LIMIT_MAX) + "); the state is x and x_prev, bit\n"
        "for bit. With no cycle within N steps, low_us and high_us span the last " +
        N(CELL_LAST_STEPS) + ".\n"
        "--compare prints method,position,beta,step,time_us,model_s,distance_s at the\n"
        "steps the curves keep; distance_s is the fall time less the settled polyline's.\n"
        "--stability --method prints method,beta,lambda_max,lambda_min,position_limit,\n"
        "best_position,best_beta,best_rate (best_beta 0 for gradient).\n"
        "\n"
        "--race prints nothing on standard output and one line on standard error: the\n"
        "arrival times in real seconds, first to last.\n"
        "\n"
        "Exit code 0, 2 on bad input (nothing is printed then on standard output),\n"
        "1 when an output cannot be written.\n");
}

// How often a flag was given with no value, which reads "true" (as does
// --nodes=true).
std::size_t Plain(const CLI::Option *flag)
{
    return std::count(flag->results().begin(), flag->results().end(), "true");
}

// The options that cannot go together, each pair once: the race draws one
// run and prints no rows, the sweep prints its own, the linear theory needs
// no run and the comparison runs every method.
std::vector<std::pair<const CLI::Option *, const CLI::Option *>> Apart(const Declared &d)
{
    return {{d.race, d.sweep},       {d.race, d.every},       {d.race, d.nodes},
            {d.race, d.svg},         {d.race, d.plot},        {d.race, d.method},
            {d.race, d.beta},        {d.race, d.compare},     {d.sweep, d.every},
            {d.sweep, d.nodes},      {d.sweep, d.plot},       {d.sweep, d.compare},
            {d.stability, d.position}, {d.stability, d.steps}, {d.stability, d.every},
            {d.stability, d.nodes},  {d.stability, d.svg},    {d.stability, d.plot},
            {d.stability, d.race},   {d.stability, d.slow},   {d.stability, d.sweep},
            {d.compare, d.every},    {d.compare, d.nodes},    {d.compare, d.svg},
            {d.compare, d.plot},     {d.compare, d.slow},     {d.compare, d.stability},
            {d.compare, d.method}};
}

// The name of the first of `options` that is given, or `otherwise`.
std::string FirstGiven(std::initializer_list<const CLI::Option *> options,
                       const std::string &otherwise)
{
    for (const CLI::Option *o : options)
        if (o->count())
            return o->get_name();
    return otherwise;
}

// The options that do not go together, or --slow without --race. The
// options are looked at in the order of --help; the first that is given
// without the option it needs, or with one it cannot go with, says which
// of the two it is. The line then speaks for the comparison or the theory
// where either is given, else for the race or the sweep; each names the
// first given, in an order of its own, of the options it does not take.
std::string ClashFault(const Declared &d)
{
    bool needs = false, apart = false;
    for (const CLI::Option *o : d.app.get_options()) {
        if (!o->count() || needs || apart)
            continue;
        needs = o == d.slow && !d.race->count();
        for (const auto &pair : Apart(d))
            apart = apart || (pair.first == o && pair.second->count()) ||
                    (pair.second == o && pair.first->count());
    }
    if ((needs || apart) && d.compare->count())
        return "--compare runs every method and takes only --position, --beta and --steps, "
               "not " + FirstGiven({d.every, d.nodes, d.svg, d.plot, d.race, d.slow, d.sweep,
                                   d.stability, d.method}, "this one");
    if ((needs || apart) && d.stability->count())
        return "--stability needs no run and takes no other option, not " +
               FirstGiven({d.position, d.steps, d.every, d.nodes, d.svg, d.plot, d.race,
                           d.slow, d.sweep}, "this one");
    if (needs)
        return "--slow sets the pace of --race and needs it";
    if (!apart)
        return std::string();
    if (d.race->count())
        return "--race draws one run and takes only --position, --steps and --slow, not " +
               FirstGiven({d.sweep, d.method, d.beta, d.every, d.nodes, d.plot}, "--svg");
    return "--sweep takes only --position, --steps and --svg, not " +
           FirstGiven({d.every, d.nodes, d.plot}, "--svg");
}

// The first fault of what CLI11 read, empty when there is none: a flag
// given a value; a value missing, of another form or out of range, option by
// option in the order of --help; options that do not go together
// (ClashFault); an argument that is no option of the command.
std::string FirstFault(const Declared &d)
{
    for (const CLI::Option *flag : {d.nodes, d.sweep, d.stability, d.help, d.version})
        if (Plain(flag) < flag->count())
            return flag->get_name() + " takes no value";

    // The other methods, and the comparison, take positions beyond the
    // dialog's.
    Method method;
    bool beyond = d.compare->count() || (d.method->count() &&
                                         MethodOfName(d.method->as<std::string>(), &method) &&
                                         method != METHOD_PROGRAM);
    const std::pair<const CLI::Option *, Takes> values[] = {
        {d.method, MethodName()},
        {d.beta, Decimal()},
        {d.position, WholeNumber(ALPHA_POS_MIN, beyond ? METHOD_POS_MAX : ALPHA_POS_MAX)},
        {d.steps, WholeNumber(TRACE_STEPS_MIN, TRACE_STEPS_MAX)},
        {d.every, WholeNumber(TRACE_EVERY_MIN, TRACE_STEPS_MAX)},
        {d.svg, Path()},
        {d.plot, Path()},
        {d.race, Path()},
        {d.slow, WholeNumber(TRACE_SLOW_MIN, TRACE_SLOW_MAX)},
        {d.compare, Path()},
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
               "--svg, --plot, --race, --slow, --sweep, --compare, --stability, --help and "
               "--version";
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
    Method method = o.method.value_or(METHOD_PROGRAM);
    std::string name = METHOD_NAME[method];
    long steps = o.steps.value_or(0);
    if (o.beta && o.comparePath.empty() && !MethodHasBeta(method))
        return "--beta is the momentum of --method heavy-ball or nesterov, not of " + name;
    if (o.sweep && o.method && !MethodHasBeta(method))
        return "--sweep --method maps heavy-ball or nesterov, not " + name +
               " (--sweep alone follows the program's descent)";
    if (o.sweep && o.method && steps > CELL_STEP_LIMIT_MAX)
        return "--sweep --method follows a cell at most " + N(CELL_STEP_LIMIT_MAX) +
               " steps, not " + N(steps);
    if (!o.comparePath.empty() && steps > CELL_STEP_LIMIT_MAX)
        return "--compare runs each method at most " + N(CELL_STEP_LIMIT_MAX) + " steps, not " +
               N(steps);
    if (o.stability && o.method && !(MethodHasBeta(method) || method == METHOD_GRADIENT))
        return "--stability --method takes heavy-ball, nesterov or gradient, not " + name;
    if (!o.plotPath.empty() && o.steps == 0)
        return "--plot draws the steps from 1 on and needs --steps of 1 or more";
    if (!o.plotPath.empty() && SamePicturePath(o.plotPath, o.svgPath))
        return "--plot and --svg name the same file " + Quoted(o.plotPath) +
               "; give each picture a file of its own";
    return std::string();
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
    o.help = Plain(d.help);
    o.version = !o.help && Plain(d.version);
    if (o.help || o.version)
        return true;
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
        if (d.steps->count())
            o.steps = std::stol(text(d.steps));
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
        fault = Misfit(o);
    }
    *error = fault.empty() ? fault : PROGRAM + fault;
    return fault.empty();
}

std::string TraceUsage()
{
    return Declared().app.help();
}

const char *TraceVersion()
{
    return "rodadero-trace " RODADERO_VERSION "\n";
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
