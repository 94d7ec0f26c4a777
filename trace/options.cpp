// Command-line options of rodadero-trace.
#include "trace.h"

#include <cstring>
#include <string>

namespace {

const char PROGRAM[] = "rodadero-trace: ";

enum NumberStatus { NUMBER_OK, NUMBER_NOT_A_NUMBER, NUMBER_OUT_OF_RANGE };

// A whole number in decimal digits, with an optional sign and nothing else.
// Values far beyond the range are only known to be out of range.
NumberStatus ParseWholeNumber(const std::string &text, long min, long max, long *value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return NUMBER_NOT_A_NUMBER;
    long long magnitude = 0;
    bool huge = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return NUMBER_NOT_A_NUMBER;
        if (!huge) {
            magnitude = magnitude * 10 + (c - '0');
            if (magnitude > 1000000000000LL)
                huge = true;
        }
    }
    if (huge)
        return NUMBER_OUT_OF_RANGE;
    long long v = negative ? -magnitude : magnitude;
    if (v < min || v > max)
        return NUMBER_OUT_OF_RANGE;
    *value = static_cast<long>(v);
    return NUMBER_OK;
}

// The argument as it may be quoted in a one-line message.
std::string Quoted(const std::string &text)
{
    std::string q = "'";
    for (char c : text)
        q += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
    return q + "'";
}

struct NumericOption {
    const char *name;
    long min;
    long max;
};

const NumericOption POSITION_OPTION = {"--position", TRACE_POSITION_MIN, TRACE_POSITION_MAX};
const NumericOption STEPS_OPTION = {"--steps", 0, TRACE_STEPS_MAX};
const NumericOption EVERY_OPTION = {"--every", 1, TRACE_STEPS_MAX};
const NumericOption SLOW_OPTION = {"--slow", TRACE_SLOW_MIN, TRACE_SLOW_MAX};

std::string Accepts(const NumericOption &option)
{
    return "a whole number from " + std::to_string(option.min) + " to " +
           std::to_string(option.max);
}

bool ReadNumber(const NumericOption &option, const std::string &text, long *value,
                std::string *error)
{
    switch (ParseWholeNumber(text, option.min, option.max, value)) {
    case NUMBER_OK:
        return true;
    case NUMBER_NOT_A_NUMBER:
        *error = std::string(PROGRAM) + option.name + " takes " + Accepts(option) + ", not " +
                 Quoted(text);
        return false;
    case NUMBER_OUT_OF_RANGE:
        *error = std::string(PROGRAM) + option.name + " takes " + Accepts(option) + "; " +
                 Quoted(text) + " is out of range";
        return false;
    }
    return false;
}

std::string Missing(const char *name, const std::string &accepts)
{
    return std::string(PROGRAM) + name + " needs a value: " + accepts;
}

} // namespace

TraceOptions DefaultTraceOptions()
{
    TraceOptions o;
    o.help = false;
    o.version = false;
    o.sweep = false;
    o.nodes = false;
    o.hasPosition = false;
    o.position = 0;
    o.hasSteps = false;
    o.steps = TRACE_STEPS_DEFAULT;
    o.hasEvery = false;
    o.every = 1;
    o.svgPath.clear();
    o.racePath.clear();
    o.hasSlow = false;
    o.slow = TRACE_SLOW_DEFAULT;
    return o;
}

bool ParseTraceOptions(int argc, const char *const argv[], TraceOptions *options,
                       std::string *error)
{
    *options = DefaultTraceOptions();
    // --help and --version answer whatever else stands beside them (--help
    // first, when both do).
    for (int a = 0; a < argc; ++a) {
        if (std::strcmp(argv[a], "--help") == 0 || std::strcmp(argv[a], "-h") == 0)
            options->help = true;
        else if (std::strcmp(argv[a], "--version") == 0)
            options->version = true;
    }
    if (options->help || options->version)
        return true;

    for (int a = 0; a < argc; ++a) {
        std::string arg = argv[a];
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        std::size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }

        if (name == "--sweep" || name == "--nodes") {
            if (inlineValue) {
                *error = std::string(PROGRAM) + name + " takes no value";
                return false;
            }
            (name == "--sweep" ? options->sweep : options->nodes) = true;
            continue;
        }

        const NumericOption *numeric = nullptr;
        if (name == POSITION_OPTION.name)
            numeric = &POSITION_OPTION;
        else if (name == STEPS_OPTION.name)
            numeric = &STEPS_OPTION;
        else if (name == EVERY_OPTION.name)
            numeric = &EVERY_OPTION;
        else if (name == SLOW_OPTION.name)
            numeric = &SLOW_OPTION;
        bool svg = name == "--svg";
        bool race = name == "--race";
        bool path = svg || race;

        if (!numeric && !path) {
            if (arg.size() > 1 && arg[0] == '-')
                *error = std::string(PROGRAM) + "unknown option " + Quoted(name) +
                         "; the options are --position, --steps, --every, --nodes, --sweep, "
                         "--svg, --race, --slow, --help and --version";
            else
                *error = std::string(PROGRAM) + "unexpected argument " + Quoted(arg) +
                         "; every option starts with -- (see --help)";
            return false;
        }

        // The value: after '=', or the next argument unless that is an option.
        if (!inlineValue) {
            if (a + 1 < argc && std::strncmp(argv[a + 1], "--", 2) != 0) {
                value = argv[++a];
            } else {
                *error = Missing(name.c_str(), numeric ? Accepts(*numeric)
                                                       : "the path of the SVG file to write");
                return false;
            }
        }

        if (path) {
            if (value.empty()) {
                *error = Missing(name.c_str(), "the path of the SVG file to write");
                return false;
            }
            (svg ? options->svgPath : options->racePath) = value;
            continue;
        }

        long number = 0;
        if (value.empty()) {
            *error = Missing(numeric->name, Accepts(*numeric));
            return false;
        }
        if (!ReadNumber(*numeric, value, &number, error))
            return false;
        if (numeric == &POSITION_OPTION) {
            options->hasPosition = true;
            options->position = static_cast<int>(number);
        } else if (numeric == &STEPS_OPTION) {
            options->hasSteps = true;
            options->steps = number;
        } else if (numeric == &SLOW_OPTION) {
            options->hasSlow = true;
            options->slow = static_cast<int>(number);
        } else {
            options->hasEvery = true;
            options->every = number;
        }
    }

    if (options->sweep) {
        const char *other = options->hasEvery           ? "--every"
                            : options->nodes            ? "--nodes"
                            : !options->svgPath.empty() ? "--svg"
                                                        : nullptr;
        if (other) {
            *error = std::string(PROGRAM) + "--sweep takes only --position and --steps, not " +
                     other;
            return false;
        }
    }

    // The race draws one run and prints no rows.
    if (!options->racePath.empty()) {
        const char *other = options->sweep              ? "--sweep"
                            : options->hasEvery         ? "--every"
                            : options->nodes            ? "--nodes"
                            : !options->svgPath.empty() ? "--svg"
                                                        : nullptr;
        if (other) {
            *error = std::string(PROGRAM) +
                     "--race draws one run and takes only --position, --steps and --slow, not " +
                     other;
            return false;
        }
    } else if (options->hasSlow) {
        *error = std::string(PROGRAM) + "--slow sets the pace of --race and needs it";
        return false;
    }
    return true;
}

const char *TraceUsage()
{
    return "Usage: rodadero-trace [--position P] [--steps N] [--every K] [--nodes] [--svg FILE]\n"
           "       rodadero-trace --race FILE [--position P] [--steps N] [--slow K]\n"
           "       rodadero-trace --sweep [--position P] [--steps N]\n"
           "\n"
           "Runs Rodadero's curve model without its window: the straight chord from (0, 0)\n"
           "to (1, 0.92), improved step after step by the same descent the program runs.\n"
           "\n"
           "  --position P  the step factor of scroll position P, a whole number from 1 to\n"
           "                100 (Alpha = P x 2.0000000000000003e-6); without it Alpha keeps\n"
           "                its starting value 0.0001\n"
           "  --steps N     descent steps to run, 0 to 100000000 (default 1000)\n"
           "  --every K     print every K-th step and always the last, 1 to 100000000\n"
           "                (default 1)\n"
           "  --nodes       add the abscissae x1..x19 of the shown polyline to each row\n"
           "  --svg FILE    also draw the final polyline, the window's cycloid and the\n"
           "                exact brachistochrone into FILE (an SVG picture)\n"
           "  --race FILE   print no rows; write into FILE an animated SVG picture of three\n"
           "                beads released together at rest from (0, 0), sliding down the\n"
           "                chord, the polyline after the steps and the brachistochrone\n"
           "  --slow K      play the race K times slower than real, a whole number from 1\n"
           "                to 100 (default 10)\n"
           "  --sweep       follow the descent at each scroll position 1..100 (or at P\n"
           "                alone) until it repeats itself, at most N steps each\n"
           "                (default 10000000)\n"
           "  --help        print this text\n"
           "  --version     print the release number\n"
           "\n"
           "Output is CSV on standard output: step,time_us,model_s,exact_s[,x1..x19].\n"
           "time_us is the number the window prints after that step, model_s the model's\n"
           "fall time (reads back bit for bit), exact_s the fall time of the same polyline\n"
           "for a bead starting at rest with g = 10. With --steps 0 the one row is step 0,\n"
           "the chord before any step. A summary line goes to standard error.\n"
           "\n"
           "--sweep prints position,cycle_from,period,low_us,high_us. A step turns the\n"
           "state (the node abscissae and their shown copy, bit for bit) into the next one,\n"
           "so from the chord (step 0) every run ends in an exact cycle: the state after\n"
           "step cycle_from comes back after period steps and then repeats for ever.\n"
           "Period 1 means the curve has stopped; period 2 that it swings between two\n"
           "polylines. low_us and high_us are the lowest and highest printed time over\n"
           "the steps of one period. When no state comes back within N steps,\n"
           "cycle_from and period are empty and low_us = high_us is the time after step N.\n"
           "\n"
           "--race prints nothing on standard output and one line on standard error: the\n"
           "arrival times in real seconds, first to last.\n"
           "\n"
           "Exit code 0, 2 on bad input (nothing is printed then on standard output),\n"
           "1 when an output cannot be written.\n";
}

const char *TraceVersion()
{
    return "rodadero-trace " RODADERO_VERSION "\n";
}
