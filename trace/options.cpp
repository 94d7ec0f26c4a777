// Command-line options of rodadero-trace. CLI11 reads them; what is ours is
// the form of a number (decimal digits only, whatever CLI11 would accept),
// the wording of each message and the layout of --help.
#include "options.h"

#include "files.h"
#include "fates.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char PROGRAM[] = "rodadero-trace: ";
const char PATH_TAKES[] = "the path of the SVG file to write";

// The argument as it may be quoted in a one-line message.
std::string Quoted(const std::string &text)
{
    std::string q = "'";
    for (char c : text)
        q += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
    return q + "'";
}

std::string WholeNumberTakes(long min, long max)
{
    return "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
}

// A whole number in decimal digits with an optional sign, from min to max.
// The value is left in plain decimal form, since CLI11's own conversion
// would read "010" as octal. Values far beyond the range are only known to
// be out of range. CLI11 takes the argument after an option as its value
// whatever it is; the next option is no value.
CLI::Validator WholeNumber(long min, long max)
{
    std::string takes = WholeNumberTakes(min, max);
    return CLI::Validator(
        [=](std::string &text) -> std::string {
            if (text.empty() || text.compare(0, 2, "--") == 0)
                return "needs a value: " + takes;
            std::size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
            if (i == text.size() || text.find_first_not_of("0123456789", i) != std::string::npos)
                return "takes " + takes + ", not " + Quoted(text);
            std::size_t first = text.find_first_not_of('0', i);
            std::string digits = first == std::string::npos ? "0" : text.substr(first);
            long long magnitude = digits.size() > 12 ? -1 : std::stoll(digits);
            long long v = text[0] == '-' ? -magnitude : magnitude;
            if (magnitude < 0 || v < min || v > max)
                return "takes " + takes + "; " + Quoted(text) + " is out of range";
            text = std::to_string(v);
            return std::string();
        },
        takes);
}

const char BETA_TAKES[] = "a decimal from 0 to 0.99";

// A decimal in plain digits, with or without a fraction: 0, 0.5, 0.35.
CLI::Validator Decimal()
{
    return CLI::Validator(
        [](std::string &text) -> std::string {
            if (text.empty() || text.compare(0, 2, "--") == 0)
                return std::string("needs a value: ") + BETA_TAKES;
            std::size_t point = text.find('.');
            std::string whole = text.substr(0, point);
            std::string fraction = point == std::string::npos ? "0" : text.substr(point + 1);
            bool digits = !whole.empty() && !fraction.empty() &&
                          whole.find_first_not_of("0123456789") == std::string::npos &&
                          fraction.find_first_not_of("0123456789") == std::string::npos;
            if (!digits)
                return std::string("takes ") + BETA_TAKES + ", not " + Quoted(text);
            if (std::strtod(text.c_str(), nullptr) > TRACE_BETA_MAX)
                return std::string("takes ") + BETA_TAKES + "; " + Quoted(text) +
                       " is out of range";
            return std::string();
        },
        BETA_TAKES);
}

std::string MethodsTakes()
{
    std::string takes = "one of ";
    for (int m = 0; m < METHOD_COUNT; ++m)
        takes += std::string(m == 0 ? "" : m + 1 == METHOD_COUNT ? " and " : ", ") +
                 METHOD_NAME[m];
    return takes;
}

CLI::Validator MethodName()
{
    return CLI::Validator(
        [](std::string &text) -> std::string {
            Method method;
            if (text.empty() || text.compare(0, 2, "--") == 0)
                return "needs a value: " + MethodsTakes();
            if (!MethodOfName(text, &method))
                return "takes " + MethodsTakes() + ", not " + Quoted(text);
            return std::string();
        },
        "NAME");
}

// The method the arguments name last, as CLI11 will read it: the other
// methods take scroll positions beyond the dialog's.
bool OtherMethodNamed(int argc, const char *const argv[])
{
    std::string last;
    for (int a = 0; a < argc; ++a) {
        if (!std::strcmp(argv[a], "--method") && a + 1 < argc)
            last = argv[a + 1];
        else if (!std::strncmp(argv[a], "--method=", 9))
            last = argv[a] + 9;
        else if (!std::strcmp(argv[a], "--compare") || !std::strncmp(argv[a], "--compare=", 10))
            return true;
    }
    Method method;
    return MethodOfName(last, &method) && method != METHOD_PROGRAM;
}

// A path, which the next option is not.
CLI::Validator PicturePath()
{
    return CLI::Validator(
        [](std::string &text) -> std::string {
            bool missing = text.empty() || text.compare(0, 2, "--") == 0;
            return missing ? std::string("needs a value: ") + PATH_TAKES : std::string();
        },
        PATH_TAKES);
}

// --help: the usage lines, the description, one entry an option (its name
// and value, its explanation from column 17 on) and the footer.
class UsageFormatter : public CLI::FormatterBase {
public:
    std::string make_help(const CLI::App *app, std::string, CLI::AppFormatMode) const override
    {
        std::string text =
            "Usage: rodadero-trace [--method NAME [--beta B]] [--position P] [--steps N]\n"
            "                      [--every K] [--nodes] [--svg FILE] [--plot FILE]\n"
            "       rodadero-trace --race FILE [--position P] [--steps N] [--slow K]\n"
            "       rodadero-trace --sweep [--position P] [--steps N] [--svg FILE]\n"
            "       rodadero-trace --sweep --method heavy-ball|nesterov [--beta B]\n"
            "                      [--position P] [--steps N] [--svg FILE]\n"
            "       rodadero-trace --compare FILE [--position P] [--beta B] [--steps N]\n"
            "       rodadero-trace --stability [--method heavy-ball|nesterov|gradient\n"
            "                      [--beta B]]\n\n";
        text += app->get_description() + "\n\n";
        for (const CLI::Option *option : app->get_options()) {
            std::string entry = "  --" + option->get_lnames().front();
            // CLI11 adds the validators' descriptions after a colon.
            std::string value = option->get_type_name();
            if (!value.empty())
                entry += " " + value.substr(0, value.find(':'));
            entry.resize(16, ' ');
            std::string explanation = option->get_description();
            for (std::size_t at = 0; (at = explanation.find('\n', at)) != std::string::npos;
                 at += 17)
                explanation.insert(at + 1, 16, ' ');
            text += entry + explanation + "\n";
        }
        return text + "\n" + app->get_footer();
    }
};

struct Declared {
    CLI::App app;
    CLI::Option *position, *steps, *every, *nodes, *svg, *plot, *race, *slow, *sweep, *stability;
    CLI::Option *method, *beta, *compare;
    // What an option that needs a value takes, for the message when it is
    // missing.
    std::vector<std::pair<const CLI::Option *, std::string>> takes;

    // Every option that --stability does not take, in the order a message
    // looks for the one given.
    std::vector<CLI::Option *> StabilityExcludes() const
    {
        return {position, steps, every, nodes, svg, plot, race, slow, sweep};
    }

    // Every option that --compare does not take.
    std::vector<CLI::Option *> CompareExcludes() const
    {
        return {every, nodes, svg, plot, race, slow, sweep, stability, method};
    }
};

CLI::Option *Number(Declared *d, const char *name, const char *value, long min, long max,
                    long *target, const char *explanation)
{
    CLI::Option *o = d->app.add_option(name, *target, explanation)
                         ->type_name(value)
                         ->transform(WholeNumber(min, max));
    d->takes.push_back({o, WholeNumberTakes(min, max)});
    return o;
}

CLI::Option *Path(Declared *d, const char *name, std::string *target, const char *explanation)
{
    CLI::Option *o =
        d->app.add_option(name, *target, explanation)->type_name("FILE")->check(PicturePath());
    d->takes.push_back({o, PATH_TAKES});
    return o;
}

// Every option, bound to the fields of *o, in the order --help lists them.
// A run of the descent prints rows; the race and the sweep are the other
// two things the command does, each with the options it takes.
std::unique_ptr<Declared> Declare(TraceOptions *o, long *position, long *slow,
                                  std::string *method, std::string *beta, long positionMax)
{
    std::unique_ptr<Declared> d(new Declared);
    CLI::App &app = d->app;
    app.set_help_flag();
    app.allow_extras();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.formatter(std::make_shared<UsageFormatter>());
    app.description(
        "Runs Rodadero's curve model without its window: the straight chord from (0, 0)\n"
        "to (1, 0.92), improved step after step by the same descent the program runs.");

    d->method = d->app.add_option("--method", *method,
                                  "the method that runs from the chord: program (the\n"
                                  "program's own descent, the default), gradient,\n"
                                  "heavy-ball, nesterov or newton, on the same fall time\n"
                                  "and gradient, with the step h = 300 x Alpha(P)")
                    ->type_name("NAME")
                    ->check(MethodName());
    d->takes.push_back({d->method, MethodsTakes()});
    d->beta = d->app.add_option("--beta", *beta,
                                "the momentum of heavy-ball and nesterov, a decimal from 0\n"
                                "to 0.99 (default 0.9)")
                  ->type_name("B")
                  ->check(Decimal());
    d->takes.push_back({d->beta, BETA_TAKES});
    d->position = Number(d.get(), "--position", "P", ALPHA_POS_MIN, positionMax,
                         position,
                         "the step factor of scroll position P, a whole number from 1 to\n"
                         "100 (Alpha = P x 2.0000000000000003e-6); without it Alpha keeps\n"
                         "its starting value 0.0001; 1 to 200 with another --method\n"
                         "(default 50) or --compare");
    d->steps = Number(d.get(), "--steps", "N", 0, TRACE_STEPS_MAX, &o->steps,
                      "descent steps to run, 0 to 100000000 (default 1000)");
    d->every = Number(d.get(), "--every", "K", 1, TRACE_STEPS_MAX, &o->every,
                      "print every K-th step and always the last, 1 to 100000000\n"
                      "(default 1)");
    d->nodes = app.add_flag("--nodes", o->nodes,
                            "add the abscissae x1..x19 of the shown polyline to each row")
                   ->disable_flag_override();
    d->svg = Path(d.get(), "--svg", &o->svgPath,
                  "also draw the final polyline, the window's cycloid and the\n"
                  "exact brachistochrone into FILE (an SVG picture); with --sweep,\n"
                  "the fates chart: each position's printed times, settled or\n"
                  "swinging, beside the limit of --stability, and the step its\n"
                  "cycle begins");
    d->plot = Path(d.get(), "--plot", &o->plotPath,
                   "also draw the run's convergence curve into FILE (an SVG\n"
                   "picture): the printed and the exact time against the step, on\n"
                   "a log scale, and the brachistochrone's time; needs a step");
    d->race = Path(d.get(), "--race", &o->racePath,
                   "print no rows; write into FILE an animated SVG picture of three\n"
                   "beads released together at rest from (0, 0), sliding down the\n"
                   "chord, the polyline after the steps and the brachistochrone");
    d->slow = Number(d.get(), "--slow", "K", TRACE_SLOW_MIN, TRACE_SLOW_MAX, slow,
                     "play the race K times slower than real, a whole number from 1\n"
                     "to 100 (default 10)");
    d->sweep = app.add_flag("--sweep", o->sweep,
                            "follow the descent at each scroll position 1..100 (or at P\n"
                            "alone) until it repeats itself, at most N steps each\n"
                            "(default 10000000)")
                   ->disable_flag_override();
    d->stability = app.add_flag("--stability", o->stability,
                                "print the step factor's limit from the linear theory:\n"
                                "lambda_max,alpha_limit,position_limit; with --method, that\n"
                                "method's limit and fastest setting")
                       ->disable_flag_override();
    d->compare = Path(d.get(), "--compare", &o->comparePath,
                      "run every method from the chord, each at position P and beta B\n"
                      "or else at its fastest by the theory, N steps (default 20000);\n"
                      "print their rows and draw into FILE how far each one's fall time\n"
                      "is from the settled polyline's (an SVG picture)");
    app.set_help_flag("-h,--help", "print this text")->disable_flag_override();
    app.add_flag("--version", o->version, "print the release number")->disable_flag_override();

    // The race draws one run and prints no rows; the sweep prints its own
    // and draws its own chart; the limit of the linear theory needs no run.
    d->race->excludes(d->sweep)->excludes(d->every)->excludes(d->nodes)->excludes(d->svg)
        ->excludes(d->plot);
    d->sweep->excludes(d->every)->excludes(d->nodes)->excludes(d->plot);
    for (CLI::Option *other : d->StabilityExcludes())
        d->stability->excludes(other);
    d->slow->needs(d->race);
    d->race->excludes(d->method)->excludes(d->beta)->excludes(d->compare);
    d->sweep->excludes(d->compare);
    for (CLI::Option *other : d->CompareExcludes())
        if (other != d->race && other != d->sweep)
            d->compare->excludes(other);

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
        "most N steps (default 100000, at most 1000000); the state is x and x_prev, bit\n"
        "for bit. With no cycle within N steps, low_us and high_us span the last 1000.\n"
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
    return d;
}

// The one line for an error CLI11 found.
std::string ErrorLine(const Declared &d, const CLI::ParseError &e)
{
    // CLI11's messages begin with the option's name and a colon; a flag
    // given a value is named without its dashes.
    std::string what = e.what();
    std::string name = what.compare(0, 2, "--") == 0 ? what.substr(0, what.find(':'))
                                                     : "--" + what.substr(0, what.find(' '));
    if (e.get_name() == "ValidationError")
        return PROGRAM + name + " " + what.substr(name.size() + 2);
    if (e.get_name() == "ArgumentMismatch") {
        for (const auto &t : d.takes)
            if (t.first->check_name(name))
                return PROGRAM + name + " needs a value: " + t.second;
        return PROGRAM + name + " takes no value";
    }
    bool conflict = e.get_name() == "ExcludesError" || e.get_name() == "RequiresError";
    if (conflict && d.compare->count()) {
        const CLI::Option *other = nullptr;
        for (const CLI::Option *o : d.CompareExcludes())
            other = other ? other : o->count() ? o : nullptr;
        return PROGRAM + std::string("--compare runs every method and takes only --position, "
                                     "--beta and --steps, not ") +
               (other ? other->get_name() : std::string("this one"));
    }
    if (conflict && d.stability->count()) {
        const CLI::Option *other = nullptr;
        for (const CLI::Option *o : d.StabilityExcludes())
            other = other ? other : o->count() ? o : nullptr;
        return PROGRAM + std::string("--stability needs no run and takes no other option, not ") +
               (other ? other->get_name() : std::string("this one"));
    }
    if (e.get_name() == "ExcludesError") {
        const CLI::Option *other = d.race->count() && d.sweep->count() ? d.sweep
                                   : d.race->count() && d.method->count() ? d.method
                                   : d.race->count() && d.beta->count()   ? d.beta
                                   : d.every->count()                  ? d.every
                                   : d.nodes->count()                  ? d.nodes
                                   : d.plot->count()                   ? d.plot
                                                                       : d.svg;
        if (d.race->count())
            return PROGRAM + std::string("--race draws one run and takes only --position, "
                                         "--steps and --slow, not ") +
                   other->get_name();
        return PROGRAM + std::string("--sweep takes only --position, --steps and --svg, not ") +
               other->get_name();
    }
    if (e.get_name() == "RequiresError")
        return PROGRAM + std::string("--slow sets the pace of --race and needs it");
    return PROGRAM + what;
}

// What the methods' options ask makes sense together: --beta only for a
// method with momentum (or the comparison), the map only of those, the
// theory of the three it has, and the map's own limit of steps.
bool MethodsFit(const TraceOptions &o, std::string *error)
{
    const std::string method = METHOD_NAME[o.method];
    if (o.hasBeta && o.comparePath.empty() && !MethodHasBeta(o.method)) {
        *error = PROGRAM + std::string("--beta is the momentum of --method heavy-ball or "
                                       "nesterov, not of ") + method;
        return false;
    }
    if (o.sweep && o.hasMethod && !MethodHasBeta(o.method)) {
        *error = PROGRAM + std::string("--sweep --method maps heavy-ball or nesterov, not ") +
                 method + " (--sweep alone follows the program's descent)";
        return false;
    }
    if (o.sweep && o.hasMethod && o.steps > CELL_STEP_LIMIT_MAX) {
        *error = PROGRAM + std::string("--sweep --method follows a cell at most 1000000 steps, "
                                       "not ") + std::to_string(o.steps);
        return false;
    }
    if (!o.comparePath.empty() && o.hasSteps && o.steps > CELL_STEP_LIMIT_MAX) {
        *error = PROGRAM + std::string("--compare runs each method at most 1000000 steps, not ") +
                 std::to_string(o.steps);
        return false;
    }
    if (o.stability && o.hasMethod &&
        !(MethodHasBeta(o.method) || o.method == METHOD_GRADIENT)) {
        *error = PROGRAM + std::string("--stability --method takes heavy-ball, nesterov or "
                                       "gradient, not ") + method;
        return false;
    }
    return true;
}

// The line for the first argument that is no option of the command.
std::string ExtraLine(const std::string &arg)
{
    if (arg.size() > 1 && arg[0] == '-')
        return PROGRAM + std::string("unknown option ") +
               Quoted(arg.compare(0, 2, "--") == 0 ? arg.substr(0, arg.find('=')) : arg) +
               "; the options are --method, --beta, --position, --steps, --every, --nodes, "
               "--svg, --plot, --race, --slow, --sweep, --compare, --stability, --help and "
               "--version";
    return PROGRAM + std::string("unexpected argument ") + Quoted(arg) +
           "; every option starts with -- (see --help)";
}

} // namespace

TraceOptions DefaultTraceOptions()
{
    TraceOptions o;
    o.help = false;
    o.version = false;
    o.sweep = false;
    o.stability = false;
    o.nodes = false;
    o.hasPosition = false;
    o.position = 0;
    o.hasSteps = false;
    o.steps = TRACE_STEPS_DEFAULT;
    o.hasEvery = false;
    o.every = 1;
    o.svgPath.clear();
    o.plotPath.clear();
    o.racePath.clear();
    o.slow = TRACE_SLOW_DEFAULT;
    o.method = METHOD_PROGRAM;
    o.hasMethod = false;
    o.hasBeta = false;
    o.beta = TRACE_BETA_DEFAULT;
    o.comparePath.clear();
    return o;
}

bool ParseTraceOptions(int argc, const char *const argv[], TraceOptions *options,
                       std::string *error)
{
    *options = DefaultTraceOptions();
    // --help and --version answer even what would be bad input beside them.
    for (int a = 0; a < argc; ++a) {
        options->help = options->help || !std::strcmp(argv[a], "--help") ||
                        !std::strcmp(argv[a], "-h");
        options->version = options->version || !std::strcmp(argv[a], "--version");
    }
    if (options->help || options->version)
        return true;

    long position = 0, slow = TRACE_SLOW_DEFAULT;
    std::string method, beta;
    std::unique_ptr<Declared> d =
        Declare(options, &position, &slow, &method, &beta,
                OtherMethodNamed(argc, argv) ? METHOD_POS_MAX : ALPHA_POS_MAX);
    // CLI11 takes the arguments last first.
    std::vector<std::string> args(argv, argv + argc);
    std::reverse(args.begin(), args.end());
    try {
        d->app.parse(args);
    } catch (const CLI::CallForHelp &) {
        options->help = true;  // --help=true
        return true;
    } catch (const CLI::ParseError &e) {
        *error = ErrorLine(*d, e);
        return false;
    }
    if (!d->app.remaining().empty()) {
        *error = ExtraLine(d->app.remaining().front());
        return false;
    }
    if (options->version)  // --version=true
        return true;
    options->hasPosition = d->position->count() > 0;
    options->position = static_cast<int>(position);
    options->hasSteps = d->steps->count() > 0;
    options->hasEvery = d->every->count() > 0;
    options->slow = static_cast<int>(slow);
    options->hasMethod = d->method->count() > 0;
    if (options->hasMethod)
        MethodOfName(method, &options->method);
    options->hasBeta = d->beta->count() > 0;
    if (options->hasBeta)
        options->beta = std::strtod(beta.c_str(), nullptr);
    if (!MethodsFit(*options, error))
        return false;
    // A convergence curve has a step axis from step 1 on; two pictures
    // cannot be written through one temporary file.
    if (!options->plotPath.empty() && options->steps == 0) {
        *error = PROGRAM + std::string("--plot draws the steps from 1 on and needs --steps "
                                       "of 1 or more");
        return false;
    }
    if (!options->plotPath.empty() && SamePicturePath(options->plotPath, options->svgPath)) {
        *error = PROGRAM + std::string("--plot and --svg name the same file ") +
                 Quoted(options->plotPath) + "; give each picture a file of its own";
        return false;
    }
    return true;
}

std::string TraceUsage()
{
    TraceOptions o = DefaultTraceOptions();
    long position = 0, slow = 0;
    std::string method, beta;
    return Declare(&o, &position, &slow, &method, &beta, ALPHA_POS_MAX)->app.help();
}

const char *TraceVersion()
{
    return "rodadero-trace " RODADERO_VERSION "\n";
}

MethodSetting RunSetting(const TraceOptions &options)
{
    MethodSetting s;
    s.method = options.method;
    s.position = options.hasPosition                 ? options.position
                 : options.method == METHOD_PROGRAM ? 0 // its starting factor
                                                    : ALPHA_POS_START;
    s.beta = MethodHasBeta(options.method) ? options.beta : 0.0;
    return s;
}
