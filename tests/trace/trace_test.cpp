// rodadero-trace in-process: its CSV against the model's own values, the
// summary line, the options, the command's exit codes and its picture
// files. Runs natively and under Wine.
#include "../double_bits.h"
#include "command.h"
#include "lab.h"
#include "csv.h"
#include "files.h"
#include "options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator && separator == ',')
        parts.push_back("");
    return parts;
}

double Read(const std::string &text)
{
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    EXPECT_EQ(*end, '\0') << text;
    return v;
}

// The arguments as main receives them: the program's name, then args.
std::vector<const char *> Argv(const std::vector<const char *> &args)
{
    std::vector<const char *> argv = {"rodadero-trace"};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

bool Parse(const std::vector<const char *> &args, TraceOptions *options, std::string *error)
{
    std::vector<const char *> argv = Argv(args);
    return ParseTraceOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

// The command's exit code, its output and what it wrote to standard error.
struct Ran {
    int code;
    std::string out, err;
};

Ran RunCommand(const std::vector<std::string> &args)
{
    std::vector<const char *> list;
    for (const std::string &a : args)
        list.push_back(a.c_str());
    std::vector<const char *> argv = Argv(list);
    std::ostringstream out, err;
    Ran r;
    r.code = TraceMain(static_cast<int>(argv.size()), argv.data(), out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// --- one run -------------------------------------------------------------

// The values of a CSV row after a number of steps from the chord at a
// scroll position (0: the starting factor): the printed time, the bits of
// FallTime and the exact time of the same polyline. From a plain reference
// run once outside the program: the model's step in doubles, and the exact
// time from rest summed in 50-digit decimals.
struct RowValues {
    int position;
    long step;
    int printed;
    const char *bits;
    double exact;
};

const RowValues ROWS[] = {
    {0, 0, 0, "0x0000000000000000", 6.33554499903383293e-1},
    {0, 1, 584818, "0x3fe2b6d5e20f6eeb", 6.22017948840040491e-1},
    {0, 2, 582210, "0x3fe2a176f310ad79", 6.16890482875433748e-1},
    {0, 3, 580643, "0x3fe294a2b85abef2", 6.14311662363228465e-1},
    {0, 4, 579412, "0x3fe28a8c12794608", 6.12618568548800570e-1},
    {0, 5, 578369, "0x3fe282002dd49479", 6.11282260765858529e-1},
    {0, 1000, 542984, "0x3fe160204b4ea206", 5.72457493359900722e-1},
    {58, 3, 580007, "0x3fe28f6b4fba3106", 6.13351872075270928e-1},
    {58, 6, 576685, "0x3fe27435cd2d5daf", 6.09156081251772218e-1},
    {58, 9, 574472, "0x3fe262140a54e92f", 6.06416975186304422e-1},
    {58, 10, 573866, "0x3fe25d1d443a993b", 6.05684211471783584e-1},
    {1, 4, 590155, "0x3fe2e28e8e2c8960", 6.32506622840828825e-1},
    {1, 8, 589617, "0x3fe2de24ec4e0991", 6.31508471531286504e-1},
    {1, 10, 589358, "0x3fe2dc06863bcee4", 6.31027670541676381e-1},
    {100, 1, 582296, "0x3fe2a22c2c609e45", 6.15102647144601591e-1},
    {100, 2, 579420, "0x3fe28a9d7f773ae7", 6.13106392414950112e-1},
    {100, 3, 577433, "0x3fe27a5561105285", 6.09718188345421870e-1},
    {100, 4, 575928, "0x3fe26e0203a3a9de", 6.08439081269792981e-1},
    {100, 5, 574701, "0x3fe263f480364386", 6.06412006048680637e-1},
    {100, 6, 573661, "0x3fe25b702731fa7d", 6.05661545627853845e-1},
    {100, 7, 572754, "0x3fe25401b86e2884", 6.04062270352940892e-1},
    {100, 8, 571954, "0x3fe24d72e0068852", 6.03737031092361757e-1},
    {100, 9, 571245, "0x3fe247a4fa5b4718", 6.02199216407848825e-1},
    {100, 10, 570629, "0x3fe24297debeff76", 6.02414927133976143e-1},
    {100, 11, 570128, "0x3fe23e7d3ee2e561", 6.00670822304072088e-1},
    {100, 12, 569794, "0x3fe23bc16cff321b", 6.01926981573792303e-1},
    {100, 13, 569810, "0x3fe23be3c379be24", 5.99799511199911070e-1},
    {100, 14, 570425, "0x3fe240edca52c92d", 6.03751641410477532e-1},
};

// ShownX[1..19] after steps 0 to 4 with the starting factor, from the same
// reference.
const char *const START_NODES[5][19] = {
    {
        "0x3fa999999999999a", "0x3fb999999999999a", "0x3fc3333333333334",
        "0x3fc999999999999a", "0x3fd0000000000000", "0x3fd3333333333334",
        "0x3fd6666666666667", "0x3fd999999999999a", "0x3fdccccccccccccd",
        "0x3fe0000000000000", "0x3fe199999999999a", "0x3fe3333333333334",
        "0x3fe4cccccccccccd", "0x3fe6666666666667", "0x3fe8000000000000",
        "0x3fe999999999999a", "0x3feb333333333334", "0x3feccccccccccccd",
        "0x3fee666666666667",
    },
    {
        "0x3fa28e4ab1359c72", "0x3fb883f9849bfd1e", "0x3fc2e9558b3ac2f4",
        "0x3fc969fe4e43b5ea", "0x3fcfde0e766f8b48", "0x3fd32650612a30d4",
        "0x3fd65c2f9e19ca77", "0x3fd9913f09fd883a", "0x3fdcc5cd7eae0c79",
        "0x3fdffa071e6672f8", "0x3fe197032cd1f16a", "0x3fe330edf2ca0058",
        "0x3fe4cac9645f581d", "0x3fe66499465b5ce3", "0x3fe7fe6040bfba14",
        "0x3fe998203edafa82", "0x3feb31daabbbcac8", "0x3feccb9098ff8445",
        "0x3fee6542d8115af3",
    },
    {
        "0x3f9db9ab39c9cc08", "0x3fb721a263ef23b1", "0x3fc299c026753428",
        "0x3fc938a77fadfeea", "0x3fcfbb61d2c5964e", "0x3fd3193d4b912a2c",
        "0x3fd651dc4727f2f3", "0x3fd988d1d2844322", "0x3fdcbec110f98396",
        "0x3fdff404781b124e", "0x3fe19468f3a3308a", "0x3fe32ea5a3a1f0eb",
        "0x3fe4c8c37457bd1d", "0x3fe662ca02952a10", "0x3fe7fcbea9d3e937",
        "0x3fe996a547e3d1c8", "0x3feb3080b78c782b", "0x3fecca531f23c647",
        "0x3fee642b02465b10",
    },
    {
        "0x3f9a72bee6fbc0b8", "0x3fb5c7b8d0653065", "0x3fc241c7535cc003",
        "0x3fc90576cdd2f4d1", "0x3fcf9808dbf967c2", "0x3fd30c02e1abc770",
        "0x3fd6477456828b8b", "0x3fd98058bf97d32e", "0x3fdcb7ad52b26a93",
        "0x3fdfedfd0f42a037", "0x3fe191cd1cc0a871", "0x3fe32c5c31a70e2d",
        "0x3fe4c6bcb1dd34d0", "0x3fe660fa22c20a44", "0x3fe7fb1c9cbaf422",
        "0x3fe99529f5c93066", "0x3feb2f267bf3e0a2", "0x3fecc9160e07d18d",
        "0x3fee631ea789af17",
    },
    {
        "0x3f98eb025426fd4a", "0x3fb49142cee79f43", "0x3fc1e45bf09c00cf",
        "0x3fc8cfef7082e38c", "0x3fcf73f2a715f834", "0x3fd2fe9f0cb966e1",
        "0x3fd63cf71c36aece", "0x3fd977d38bfba17c", "0x3fdcb09224f5cedb",
        "0x3fdfe7f0d4ba36c2", "0x3fe18f2fa42cb7c8", "0x3fe32a119a9d6189",
        "0x3fe4c4b51b9fec14", "0x3fe65f29a6140e3c", "0x3fe7f97a18f262b9",
        "0x3fe993ae4835d807", "0x3feb2dcc00db8794", "0x3fecc7d9e80db493",
        "0x3fee621ca2e4f255",
    },
};

const RowValues *FindRow(int position, long step)
{
    for (const RowValues &r : ROWS)
        if (r.position == position && r.step == step)
            return &r;
    return nullptr;
}


struct RunCase {
    const char *name;
    std::vector<const char *> args;
    std::vector<long> rows;   // steps printed
    int position;             // 0: the starting factor
    double alpha;
    bool nodes;
};

TEST(RunTrace, RowsAreTheModelsOwnValues)
{
    // The step factors: position x (0.0001 x 0.02), evaluated outside the
    // program.
    static const std::vector<RunCase> cases = {
        {"defaults, five steps", {"--steps", "5"}, {1, 2, 3, 4, 5}, 0, 0.0001, false},
        {"nodes", {"--steps", "3", "--nodes"}, {1, 2, 3}, 0, 0.0001, true},
        {"every 3 and the last", {"--steps", "10", "--every", "3", "--position", "58"},
         {3, 6, 9, 10}, 58, 0.00011600000000000001, false},
        {"every divides the steps", {"--steps=8", "--every=4", "--position=1"}, {4, 8}, 1,
         2.0000000000000003e-06, false},
        {"the last of ten", {"--steps", "10", "--every", "10", "--position", "1"}, {10}, 1,
         2.0000000000000003e-06, false},
        {"one step", {"--steps", "1"}, {1}, 0, 0.0001, false},
        {"a thousand steps", {"--steps", "1000", "--every", "1000"}, {1000}, 0, 0.0001, false},
        {"the last of 13 at position 100", {"--steps", "13", "--every", "13", "--position", "100"},
         {13}, 100, 0.00020000000000000004, false},
        {"every beyond the steps", {"--steps", "4", "--every", "100", "--nodes"}, {4}, 0, 0.0001,
         true},
        {"position 100", {"--position", "100", "--steps", "14"},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, 100, 0.00020000000000000004, false},
        {"no step: the chord", {"--steps", "0", "--nodes"}, {0}, 0, 0.0001, true},
        {"no step, no nodes", {"--steps", "0"}, {0}, 0, 0.0001, false},
    };
    const std::string header = "step,time_us,model_s,exact_s";
    const std::string nodesHeader = header + ",x1,x2,x3,x4,x5,x6,x7,x8,x9,x10,x11,x12,x13,x14,"
                                             "x15,x16,x17,x18,x19";
    for (const auto &c : cases) {
        TraceOptions options;
        std::string error;
        ASSERT_TRUE(Parse(c.args, &options, &error)) << c.name << ": " << error;
        std::ostringstream out;
        RunResult summary = RunRows(options, out, false).result;
        std::vector<std::string> lines = Split(out.str(), '\n');
        ASSERT_EQ(lines.size(), c.rows.size() + 1) << c.name;
        EXPECT_EQ(lines[0], c.nodes ? nodesHeader : header) << c.name;
        const RowValues *last = nullptr;
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            const RowValues *v = FindRow(c.position, c.rows[r]);
            ASSERT_NE(v, nullptr) << c.name << " step " << c.rows[r];
            last = v;
            std::vector<std::string> f = Split(lines[r + 1], ',');
            ASSERT_EQ(f.size(), c.nodes ? 23u : 4u) << c.name << ": " << lines[r + 1];
            EXPECT_EQ(f[0], std::to_string(c.rows[r])) << c.name;
            EXPECT_EQ(f[1], std::to_string(v->printed)) << c.name << " row " << r;
            EXPECT_EQ(HexBits(Read(f[2])), v->bits) << c.name << " row " << r;
            EXPECT_NEAR(Read(f[3]), v->exact, 1e-14) << c.name << " row " << r;
            if (c.nodes) {
                for (int i = 1; i <= 19; ++i)
                    EXPECT_EQ(HexBits(Read(f[3 + i])), START_NODES[c.rows[r]][i - 1])
                        << c.name << " row " << r << " x" << i;
            }
        }
        EXPECT_EQ(summary.steps, c.rows.back()) << c.name;
        EXPECT_EQ(Bits(summary.alpha), Bits(c.alpha)) << c.name;
        EXPECT_EQ(HexBits(summary.fallTime), last->bits) << c.name;
    }
}

TEST(SummaryLine, ComparesWithTheBrachistochrone)
{
    // Ended on the chord, whose exact time is sqrt(2 (1 + 0.92^2) / 9.2) =
    // 0.6335545 s, 10.879% above the brachistochrone's 0.5713944 s; a model
    // time 0.5423559 s is 5.082% below it.
    std::vector<double> chord(NODE_COUNT);
    Chord(chord.data());
    const struct {
        MethodSetting setting;
        long steps;
        std::vector<std::string> parts;
    } cases[] = {
        {{METHOD_PROGRAM, 0, 0}, 3283,
         {"rodadero-trace: after 3283 steps (Alpha 0.0001) the model time is 0.542356 s and the "
          "exact time 0.633554 s; the brachistochrone through (1, 0.92) takes 0.571394 s (model "
          "-5.082%, exact +10.879%)"}},
        {{METHOD_PROGRAM, 0, 0}, 0,
         {"rodadero-trace: no step taken (Alpha 0.0001): the chord takes 0.633554 s exactly, "
          "+10.879% from the brachistochrone through (1, 0.92), 0.571394 s"}},
        {{METHOD_HEAVY_BALL, 100, 0.9}, 0,
         {"rodadero-trace: heavy-ball (position 100, beta 0.9, step h 0.060000000000000012): no "
          "step taken: the chord takes 0.633554 s exactly"}},
        {{METHOD_GRADIENT, 57, 0}, 12,
         {"rodadero-trace: gradient (position 57, step h 0.034200000000000008): after 12 steps "
          "the model time is 0.542356 s"}},
        {{METHOD_NEWTON, 50, 0}, 8, {"rodadero-trace: newton: after 8 steps the model time"}},
    };
    for (const auto &c : cases) {
        RunResult run = {c.setting, 0.0001, c.steps, 0.5423559, chord};
        std::string line = SummaryLine(run);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        for (const std::string &part : c.parts)
            EXPECT_EQ(line.compare(0, part.size(), part), 0) << line;
    }
}

// --- options ---------------------------------------------------------------

struct GoodCase {
    std::vector<const char *> args;
    bool help, sweep, nodes;
    int position;   // 0: none
    long steps;
    long every;     // 0: none
    const char *svg;
    const char *plot = "";
    bool stability = false;
};

TEST(ParseTraceOptions, Accepted)
{
    static const std::vector<GoodCase> cases = {
        {{}, false, false, false, 0, 1000, 0, ""},
        {{"--position", "57"}, false, false, false, 57, 1000, 0, ""},
        {{"--position=1"}, false, false, false, 1, 1000, 0, ""},
        {{"--position", "100"}, false, false, false, 100, 1000, 0, ""},
        {{"--steps", "0"}, false, false, false, 0, 0, 0, ""},
        {{"--steps", "100000000"}, false, false, false, 0, 100000000, 0, ""},
        {{"--steps", "10000", "--every", "1000"}, false, false, false, 0, 10000, 1000, ""},
        {{"--every", "100000000"}, false, false, false, 0, 1000, 100000000, ""},
        {{"--steps", "5", "--steps", "7"}, false, false, false, 0, 7, 0, ""},
        {{"--nodes", "--svg", "out.svg"}, false, false, true, 0, 1000, 0, "out.svg"},
        {{"--svg=a b.svg"}, false, false, false, 0, 1000, 0, "a b.svg"},
        // A path from the root is a value in the Windows build too.
        {{"--svg", "/tmp/p.svg"}, false, false, false, 0, 1000, 0, "/tmp/p.svg"},
        {{"--sweep", "--steps", "6000"}, false, true, false, 0, 6000, 0, ""},
        {{"--sweep"}, false, true, false, 0, 10000000, 0, ""},
        {{"--sweep", "--position", "58"}, false, true, false, 58, 10000000, 0, ""},
        {{"--help"}, true, false, false, 0, 1000, 0, ""},
        {{"--steps", "x", "--help"}, true, false, false, 0, 1000, 0, ""},
        {{"-h"}, true, false, false, 0, 1000, 0, ""},
        {{"--position", "--help"}, true, false, false, 0, 1000, 0, ""},
        // Decimal whatever the leading zeros; a sign is allowed.
        {{"--steps", "010", "--every", "+5"}, false, false, false, 0, 10, 5, ""},
        {{"--position", "007"}, false, false, false, 7, 1000, 0, ""},
        {{"--steps", "-0"}, false, false, false, 0, 0, 0, ""},
        // The fates chart beside the sweep's rows; the convergence curve
        // beside a run's rows and its still picture.
        {{"--sweep", "--svg", "fates.svg"}, false, true, false, 0, 10000000, 0,
         "fates.svg"},
        {{"--sweep", "--position", "58", "--steps", "20000", "--svg", "f.svg"}, false, true,
         false, 58, 20000, 0, "f.svg"},
        {{"--plot", "curve.svg"}, false, false, false, 0, 1000, 0, "", "curve.svg"},
        {{"--plot=c.svg", "--svg", "s.svg", "--every", "10", "--nodes", "--position", "3"}, false,
         false, true, 3, 1000, 10, "s.svg", "c.svg"},
        {{"--steps", "1", "--plot", "c.svg"}, false, false, false, 0, 1, 0, "", "c.svg"},
        {{"--stability"}, false, false, false, 0, 1000, 0, "", "", true},
        {{"--stability", "--help"}, true, false, false, 0, 1000, 0, ""},
    };
    for (const auto &c : cases) {
        TraceOptions o;
        std::string error;
        std::string shown;
        for (const char *a : c.args)
            shown += std::string(a) + " ";
        ASSERT_TRUE(Parse(c.args, &o, &error)) << shown << error;
        EXPECT_EQ(o.answer.compare(0, 21, "Usage: rodadero-trace") == 0, c.help) << shown;
        EXPECT_EQ(o.sweep, c.sweep) << shown;
        EXPECT_EQ(o.nodes, c.nodes) << shown;
        EXPECT_EQ(o.position.has_value(), c.position != 0) << shown;
        EXPECT_EQ(o.position.value_or(0), c.position) << shown;
        EXPECT_EQ(o.steps, c.steps) << shown;
        EXPECT_EQ(o.every, c.every ? c.every : 1) << shown;
        EXPECT_EQ(o.svgPath, c.svg) << shown;
        EXPECT_EQ(o.plotPath, c.plot) << shown;
        EXPECT_EQ(o.stability, c.stability) << shown;
    }
}

// The methods' options: the method and its beta as read, the positions
// past the dialog's only with another method or the comparison.
TEST(ParseTraceOptions, MethodsAccepted)
{
    static const struct {
        std::vector<const char *> args;
        Method method;
        bool hasBeta;
        double beta;
        int position;
        long steps = 1000;  // as read, or the default of what is asked for
    } cases[] = {
        {{}, METHOD_PROGRAM, false, 0.9, 0},
        {{"--method", "program", "--position", "100"}, METHOD_PROGRAM, false, 0.9, 100},
        {{"--method", "gradient", "--position", "200"}, METHOD_GRADIENT, false, 0.9, 200},
        {{"--method=heavy-ball", "--beta", "0.35"}, METHOD_HEAVY_BALL, true, 0.35, 0},
        {{"--method", "nesterov", "--beta=0"}, METHOD_NESTEROV, true, 0.0, 0},
        {{"--method", "nesterov", "--beta", "0.99"}, METHOD_NESTEROV, true, 0.99, 0},
        {{"--method", "nesterov", "--beta", "00.5000"}, METHOD_NESTEROV, true, 0.5, 0},
        {{"--method", "newton", "--method", "heavy-ball", "--position", "150"},
         METHOD_HEAVY_BALL, false, 0.9, 150},
        {{"--compare", "c.svg", "--position", "150", "--beta", "0.5"}, METHOD_PROGRAM, true, 0.5,
         150, 20000},
        {{"--sweep", "--method", "heavy-ball", "--steps", "1000000"}, METHOD_HEAVY_BALL, false,
         0.9, 0, 1000000},
        {{"--sweep", "--method", "nesterov"}, METHOD_NESTEROV, false, 0.9, 0, 100000},
        {{"--compare", "c.svg", "--steps", "0"}, METHOD_PROGRAM, false, 0.9, 0, 0},
        {{"--stability", "--method", "gradient"}, METHOD_GRADIENT, false, 0.9, 0},
        {{"--stability", "--method", "nesterov", "--beta", "0.5"}, METHOD_NESTEROV, true, 0.5, 0},
    };
    for (const auto &c : cases) {
        TraceOptions o;
        std::string error, shown;
        for (const char *a : c.args)
            shown += std::string(a) + " ";
        ASSERT_TRUE(Parse(c.args, &o, &error)) << shown << error;
        EXPECT_EQ(o.method.value_or(METHOD_PROGRAM), c.method) << shown;
        EXPECT_EQ(o.beta.has_value(), c.hasBeta) << shown;
        EXPECT_EQ(o.beta.value_or(0.9), c.beta) << shown;
        EXPECT_EQ(o.position.has_value(), c.position != 0) << shown;
        EXPECT_EQ(o.position.value_or(0), c.position) << shown;
        EXPECT_EQ(o.steps, c.steps) << shown;
    }
}

TEST(TraceMain, Help)
{
    Ran r = RunCommand({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    for (const char *option :
         {"--position", "--steps", "--every", "--nodes", "--svg", "--plot", "--sweep",
          "--stability", "--version"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

// "rodadero-trace X.Y.Z" and a newline; the number itself is checked against
// the package's version where the package is installed.
bool IsVersionLine(const std::string &text)
{
    const std::string name = "rodadero-trace ";
    if (text.compare(0, name.size(), name) != 0 || text.back() != '\n')
        return false;
    int dots = 0;
    bool digit = false;
    for (std::size_t i = name.size(); i + 1 < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && digit) {
            ++dots;
            digit = false;
        } else {
            return false;
        }
    }
    return dots == 2 && digit;
}

TEST(TraceMain, Version)
{
    struct Case {
        std::vector<std::string> args;
        bool help;  // --help wins over --version
    };
    static const std::vector<Case> cases = {
        {{"--version"}, false},
        {{"--steps", "x", "--version"}, false},
        {{"--sweep", "--position", "3", "--version"}, false},
        {{"--version", "--help"}, true},
    };
    for (const auto &c : cases) {
        Ran r = RunCommand(c.args);
        EXPECT_EQ(r.code, 0);
        if (c.help)
            EXPECT_EQ(r.out.compare(0, 21, "Usage: rodadero-trace"), 0) << r.out;
        else
            EXPECT_TRUE(IsVersionLine(r.out)) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST(TraceMain, StabilityPrintsItsHeaderAndOneRow)
{
    // The figures themselves are checked where they are worked out; here,
    // that the three come in the header's order, each in the form that reads
    // back to its double.
    Ran r = RunCommand({"--stability"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    std::vector<std::string> lines = Split(r.out, '\n');
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0], "lambda_max,alpha_limit,position_limit");
    std::vector<std::string> f = Split(lines[1], ',');
    ASSERT_EQ(f.size(), 3u) << lines[1];
    static const struct { double low, high; } ranges[] = {{58, 59}, {1.1e-4, 1.2e-4}, {57, 58}};
    for (int i = 0; i < 3; ++i) {
        double v = Read(f[i]);
        EXPECT_GT(v, ranges[i].low) << f[i];
        EXPECT_LT(v, ranges[i].high) << f[i];
        EXPECT_EQ(FormatDouble(v), f[i]);
        EXPECT_GE(f[i].size(), 15u) << f[i];
    }
}

TEST(TraceMain, RunPrintsCsvAndOneSummaryLine)
{
    Ran r = RunCommand({"--steps", "10000", "--every", "1000"});
    EXPECT_EQ(r.code, 0);
    std::vector<std::string> lines = Split(r.out, '\n');
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "step,time_us,model_s,exact_s");
    EXPECT_EQ(lines[1].compare(0, 12, "1000,542984,"), 0) << lines[1];
    EXPECT_EQ(lines[10].compare(0, 13, "10000,542355,"), 0) << lines[10];
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
    EXPECT_NE(r.err.find("after 10000 steps"), std::string::npos) << r.err;
}

// --- picture ---------------------------------------------------------------

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Leftovers(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().find(".tmp-") != std::string::npos)
            names.push_back(e.path().filename().string());
    return names;
}

class SvgFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = (std::filesystem::temp_directory_path() /
                  (std::string("rodadero-trace-test-") +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                     .string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

TEST_F(SvgFiles, WrittenWholeOrNotAtAll)
{
    std::string path = folder + "/picture.svg";
    {
        Ran r = RunCommand({"--steps", "20", "--svg", path});
        EXPECT_EQ(r.code, 0) << r.err;
    }
    std::string first = ReadFile(path);
    EXPECT_NE(first.find("after 20 steps"), std::string::npos);
    EXPECT_TRUE(Leftovers(folder).empty());

    // A second run replaces it.
    {
        Ran r = RunCommand({"--steps", "30", "--svg", path});
        EXPECT_EQ(r.code, 0) << r.err;
    }
    EXPECT_NE(ReadFile(path).find("after 30 steps"), std::string::npos);
    EXPECT_TRUE(Leftovers(folder).empty());

    // Bad input leaves the old picture alone.
    EXPECT_EQ(RunCommand({"--steps", "-1", "--svg", path}).code, 2);
    EXPECT_NE(ReadFile(path).find("after 30 steps"), std::string::npos);

    // A path in a missing folder: nothing written anywhere.
    std::string missing = folder + "/none/picture.svg";
    {
        Ran r = RunCommand({"--svg", missing});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/none"));
    EXPECT_TRUE(Leftovers(folder).empty());
}

// A test in a folder of its own, the current folder while it runs.
class InFolder : public SvgFiles {
protected:
    void SetUp() override
    {
        SvgFiles::SetUp();
        home = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    void TearDown() override
    {
        std::filesystem::current_path(home);
        SvgFiles::TearDown();
    }
    std::filesystem::path home;
};

// Every kind of bad input and the one line the command has always written
// for it: exit code 2, nothing on standard output, that line on standard
// error, and no file left behind. (cli_test.py checks the same of the
// command as a process, native and .exe, on two of these rows.)
TEST_F(InFolder, BadInputWritesOneLineAndExitsWithTwo)
{
    static const std::string OPTIONS =
        "; the options are --method, --beta, --position, --steps, --every, --nodes, --svg, "
        "--plot, --race, --slow, --sweep, --compare, --stability, --lab, --end, --intervals, "
        "--layout, --time, --step-ratio, --optimum, --refine, --curve, --help and --version";
    static const struct {
        std::vector<std::string> args;
        std::string line;  // after "rodadero-trace: "
    } cases[] = {
        // An argument that is no option of the command.
        {{"--bogus"}, "unknown option '--bogus'" + OPTIONS},
        {{"--bogus=3"}, "unknown option '--bogus'" + OPTIONS},
        {{"-x"}, "unknown option '-x'" + OPTIONS},
        {{"stray"}, "unexpected argument 'stray'; every option starts with -- (see --help)"},
        {{"--steps", "5", "7"},
         "unexpected argument '7'; every option starts with -- (see --help)"},
        // A flag given a value.
        {{"--sweep=yes"}, "--sweep takes no value"},
        {{"--stability=1"}, "--stability takes no value"},
        {{"--stability=yes"}, "--stability takes no value"},
        {{"--nodes=1"}, "--nodes takes no value"},
        {{"--nodes=yes"}, "--nodes takes no value"},
        {{"--version=1"}, "--version takes no value"},
        {{"--help=1"}, "--help takes no value"},
        // An option given no value.
        {{"--position"}, "--position needs a value: a whole number from 1 to 100"},
        {{"--position", "--nodes"}, "--position needs a value: a whole number from 1 to 100"},
        {{"--position="}, "--position needs a value: a whole number from 1 to 100"},
        {{"--position", ""}, "--position needs a value: a whole number from 1 to 100"},
        {{"--steps"}, "--steps needs a value: a whole number from 0 to 100000000"},
        {{"--every"}, "--every needs a value: a whole number from 1 to 100000000"},
        {{"--every", "--steps", "5"}, "--every needs a value: a whole number from 1 to 100000000"},
        {{"--race", "r.svg", "--slow"}, "--slow needs a value: a whole number from 1 to 100"},
        {{"--method"},
         "--method needs a value: one of program, gradient, heavy-ball, nesterov and newton"},
        {{"--method", "nesterov", "--beta"}, "--beta needs a value: a decimal from 0 to 0.99"},
        {{"--svg"}, "--svg needs a value: the path of the SVG file to write"},
        {{"--svg="}, "--svg needs a value: the path of the SVG file to write"},
        {{"--svg", "--steps", "3"}, "--svg needs a value: the path of the SVG file to write"},
        {{"--sweep", "--svg"}, "--svg needs a value: the path of the SVG file to write"},
        {{"--plot"}, "--plot needs a value: the path of the SVG file to write"},
        {{"--plot", "--steps", "3"}, "--plot needs a value: the path of the SVG file to write"},
        {{"--race"}, "--race needs a value: the path of the SVG file to write"},
        {{"--race="}, "--race needs a value: the path of the SVG file to write"},
        {{"--compare"}, "--compare needs a value: the path of the SVG file to write"},
        // A value of another form or out of range; the positions past the dialog's
        // only with another method or the comparison.
        {{"--position", "0"}, "--position takes a whole number from 1 to 100; '0' is out of range"},
        {{"--position", "101"},
         "--position takes a whole number from 1 to 100; '101' is out of range"},
        {{"--position", "-3"},
         "--position takes a whole number from 1 to 100; '-3' is out of range"},
        {{"--position", "5x"}, "--position takes a whole number from 1 to 100, not '5x'"},
        {{"--position", "5.0"}, "--position takes a whole number from 1 to 100, not '5.0'"},
        {{"--position", "fifty"}, "--position takes a whole number from 1 to 100, not 'fifty'"},
        {{"--method", "gradient", "--position", "201"},
         "--position takes a whole number from 1 to 200; '201' is out of range"},
        {{"--position", "12abc"}, "--position takes a whole number from 1 to 100, not '12abc'"},
        {{"--method", "heavy-ball", "--position", "201"},
         "--position takes a whole number from 1 to 200; '201' is out of range"},
        {{"--method", "program", "--position", "150"},
         "--position takes a whole number from 1 to 100; '150' is out of range"},
        {{"--position", "150"},
         "--position takes a whole number from 1 to 100; '150' is out of range"},
        {{"--steps", "-1"},
         "--steps takes a whole number from 0 to 100000000; '-1' is out of range"},
        {{"--steps", "100000001"},
         "--steps takes a whole number from 0 to 100000000; '100000001' is out of range"},
        {{"--steps", "99999999999999999999999"},
         "--steps takes a whole number from 0 to 100000000; '99999999999999999999999' is out of "
         "range"},
        {{"--steps", "1e3"}, "--steps takes a whole number from 0 to 100000000, not '1e3'"},
        {{"--steps", " 5"}, "--steps takes a whole number from 0 to 100000000, not ' 5'"},
        {{"--steps", "0x10"}, "--steps takes a whole number from 0 to 100000000, not '0x10'"},
        {{"--steps", "099999999999"},
         "--steps takes a whole number from 0 to 100000000; '099999999999' is out of range"},
        {{"--steps", "ten"}, "--steps takes a whole number from 0 to 100000000, not 'ten'"},
        {{"--every", "0"}, "--every takes a whole number from 1 to 100000000; '0' is out of range"},
        {{"--every", "abc"}, "--every takes a whole number from 1 to 100000000, not 'abc'"},
        {{"--every", "2.5"}, "--every takes a whole number from 1 to 100000000, not '2.5'"},
        {{"--race", "r.svg", "--slow", "0"},
         "--slow takes a whole number from 1 to 100; '0' is out of range"},
        {{"--race", "r.svg", "--slow", "101"},
         "--slow takes a whole number from 1 to 100; '101' is out of range"},
        {{"--race", "r.svg", "--slow", "2.5"},
         "--slow takes a whole number from 1 to 100, not '2.5'"},
        {{"--method", "adam"},
         "--method takes one of program, gradient, heavy-ball, nesterov and newton, not 'adam'"},
        {{"--method", "heavy-ball", "--beta", "0.995"},
         "--beta takes a decimal from 0 to 0.99; '0.995' is out of range"},
        {{"--method", "heavy-ball", "--beta", "0,5"},
         "--beta takes a decimal from 0 to 0.99, not '0,5'"},
        {{"--method", "nesterov", "--beta", "1"},
         "--beta takes a decimal from 0 to 0.99; '1' is out of range"},
        {{"--method", "nesterov", "--beta", "0.995"},
         "--beta takes a decimal from 0 to 0.99; '0.995' is out of range"},
        {{"--method", "nesterov", "--beta", "-0.1"},
         "--beta takes a decimal from 0 to 0.99, not '-0.1'"},
        {{"--method", "nesterov", "--beta", ".5"},
         "--beta takes a decimal from 0 to 0.99, not '.5'"},
        {{"--method", "nesterov", "--beta", "1e-1"},
         "--beta takes a decimal from 0 to 0.99, not '1e-1'"},
        // An option beside one of the other things the command does that it does not
        // take, and --slow without --race.
        {{"--slow", "2"}, "--slow sets the pace of --race and needs it"},
        // Two clashes at once: the first option given, in the order of
        // --help, says which; the line names the mode's own first.
        {{"--sweep", "--slow", "2"}, "--slow sets the pace of --race and needs it"},
        {{"--race", "r.svg", "--svg", "s.svg", "--sweep"},
         "--race draws one run and takes only --position, --steps and --slow, not --sweep"},
        {{"--compare", "c.svg", "--slow", "2"},
         "--compare runs every method and takes only --position, --beta and --steps, not --slow"},
        {{"--stability", "--sweep", "--slow", "3"},
         "--stability needs no run and takes no other option, not --slow"},
        {{"--slow", "5"}, "--slow sets the pace of --race and needs it"},
        {{"--steps", "10", "--slow", "5", "--svg", "p.svg"},
         "--slow sets the pace of --race and needs it"},
        {{"--race", "r.svg", "--slow", "2", "--sweep"},
         "--race draws one run and takes only --position, --steps and --slow, not --sweep"},
        {{"--race", "r.svg", "--plot", "x.svg"},
         "--race draws one run and takes only --position, --steps and --slow, not --plot"},
        {{"--race", "r.svg", "--method", "nesterov"},
         "--race draws one run and takes only --position, --steps and --slow, not --method"},
        {{"--race", "r.svg", "--sweep"},
         "--race draws one run and takes only --position, --steps and --slow, not --sweep"},
        {{"--sweep", "--race", "r.svg"},
         "--race draws one run and takes only --position, --steps and --slow, not --sweep"},
        {{"--race", "r.svg", "--every", "10"},
         "--race draws one run and takes only --position, --steps and --slow, not --every"},
        {{"--race", "r.svg", "--nodes"},
         "--race draws one run and takes only --position, --steps and --slow, not --nodes"},
        {{"--race", "r.svg", "--svg", "p.svg"},
         "--race draws one run and takes only --position, --steps and --slow, not --svg"},
        {{"--race", "r.svg", "--plot", "c.svg"},
         "--race draws one run and takes only --position, --steps and --slow, not --plot"},
        {{"--race", "r.svg", "--method", "gradient"},
         "--race draws one run and takes only --position, --steps and --slow, not --method"},
        {{"--compare", "c.svg", "--nodes"},
         "--compare runs every method and takes only --position, --beta and --steps, not --nodes"},
        {{"--compare", "c.svg", "--every", "3"},
         "--compare runs every method and takes only --position, --beta and --steps, not --every"},
        {{"--compare", "c.svg", "--method", "gradient"},
         "--compare runs every method and takes only --position, --beta and --steps, not --method"},
        {{"--compare", "c.svg", "--sweep"},
         "--compare runs every method and takes only --position, --beta and --steps, not --sweep"},
        {{"--compare", "c.svg", "--stability"},
         "--compare runs every method and takes only --position, --beta and --steps, not "
         "--stability"},
        {{"--sweep", "--every", "5"},
         "--sweep takes only --position, --steps and --svg, not --every"},
        {{"--sweep", "--nodes"}, "--sweep takes only --position, --steps and --svg, not --nodes"},
        {{"--sweep", "--plot", "x.svg"},
         "--sweep takes only --position, --steps and --svg, not --plot"},
        {{"--sweep", "--every", "3"},
         "--sweep takes only --position, --steps and --svg, not --every"},
        {{"--sweep", "--plot", "c.svg"},
         "--sweep takes only --position, --steps and --svg, not --plot"},
        {{"--stability", "--steps", "5"},
         "--stability needs no run and takes no other option, not --steps"},
        {{"--stability", "--position", "58"},
         "--stability needs no run and takes no other option, not --position"},
        {{"--stability", "--sweep"},
         "--stability needs no run and takes no other option, not --sweep"},
        {{"--sweep", "--stability"},
         "--stability needs no run and takes no other option, not --sweep"},
        {{"--stability", "--svg", "x.svg"},
         "--stability needs no run and takes no other option, not --svg"},
        {{"--stability", "--slow", "3"},
         "--stability needs no run and takes no other option, not --slow"},
        {{"--stability", "--plot", "c.svg"},
         "--stability needs no run and takes no other option, not --plot"},
        // The methods' options together: --beta only for a method with momentum, the
        // map only of those, the theory of three, the limit of steps of a cell.
        {{"--method", "gradient", "--beta", "0.5"},
         "--beta is the momentum of --method heavy-ball or nesterov, not of gradient"},
        {{"--beta", "0.5"},
         "--beta is the momentum of --method heavy-ball or nesterov, not of program"},
        {{"--method", "newton", "--beta", "0.5"},
         "--beta is the momentum of --method heavy-ball or nesterov, not of newton"},
        {{"--compare", "c.svg", "--steps", "1000001"},
         "--compare runs each method at most 1000000 steps, not 1000001"},
        {{"--sweep", "--method", "newton"},
         "--sweep --method maps heavy-ball or nesterov, not newton (--sweep alone follows the "
         "program's descent)"},
        {{"--sweep", "--method", "gradient"},
         "--sweep --method maps heavy-ball or nesterov, not gradient (--sweep alone follows the "
         "program's descent)"},
        {{"--sweep", "--method", "heavy-ball", "--steps", "1000001"},
         "--sweep --method follows a cell at most 1000000 steps, not 1000001"},
        {{"--stability", "--method", "program"},
         "--stability --method takes heavy-ball, nesterov or gradient, not program"},
        {{"--stability", "--method", "newton"},
         "--stability --method takes heavy-ball, nesterov or gradient, not newton"},
        // The laboratory: its end, its intervals, its words, its options without
        // --lab, and what it does not take.
        {{"--lab", "--end"},
         "--end needs a value: X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000"},
        {{"--lab", "--end", "-1,1"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000; '-1,1' is out of "
         "range"},
        {{"--lab", "--end", "1,0"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000; '1,0' is out of "
         "range"},
        {{"--lab", "--end", "1,-0.5"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000; '1,-0.5' is out of "
         "range"},
        {{"--lab", "--end", "1e999,1"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000; '1e999,1' is out "
         "of range"},
        {{"--lab", "--end", "1,x"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000, not '1,x'"},
        {{"--lab", "--end", "1"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000, not '1'"},
        {{"--lab", "--end", "nan,1"},
         "--end takes X,Y, two numbers with 0 <= X <= 1000 and 0 < Y <= 1000, not 'nan,1'"},
        {{"--lab", "--layout", "width", "--end", "0,1"},
         "--layout width spaces the nodes over the end's X, which --end gives as 0"},
        {{"--lab", "--intervals", "0"},
         "--intervals takes a whole number from 1 to 1000000; '0' is out of range"},
        {{"--lab", "--intervals", "1000001"},
         "--intervals takes a whole number from 1 to 1000000; '1000001' is out of range"},
        {{"--lab", "--intervals", "2.5"},
         "--intervals takes a whole number from 1 to 1000000, not '2.5'"},
        {{"--lab", "--layout", "diagonal"},
         "--layout takes one of depth and width, not 'diagonal'"},
        {{"--lab", "--time", "fast"}, "--time takes one of midpoint and exact, not 'fast'"},
        {{"--lab", "--step-ratio", "0"},
         "--step-ratio takes a decimal from 0.001 to 4; '0' is out of range"},
        {{"--lab", "--optimum=1"}, "--optimum takes no value"},
        {{"--lab", "--method", "program"},
         "--lab runs gradient, heavy-ball, nesterov or newton, not program (the program keeps "
         "its own problem)"},
        {{"--lab", "--method", "gradient", "--beta", "0.5"},
         "--beta is the momentum of --method heavy-ball or nesterov, not of gradient"},
        {{"--end", "1,1"}, "--end belongs to the laboratory and needs --lab"},
        {{"--intervals", "10", "--steps", "3"},
         "--intervals belongs to the laboratory and needs --lab"},
        {{"--refine"}, "--refine belongs to the laboratory and needs --lab"},
        {{"--compare", "c.svg", "--time", "exact"},
         "--time belongs to the laboratory and needs --lab"},
        {{"--lab", "--position", "3"},
         "--lab takes the laboratory's options and those of a run, not --position"},
        {{"--lab", "--sweep"}, "--lab takes the laboratory's options and those of a run, not --sweep"},
        {{"--lab", "--optimum", "--steps", "3"},
         "--optimum needs no run and takes only --end, --intervals, --layout and --time, not "
         "--steps"},
        {{"--lab", "--refine", "--optimum"},
         "--optimum needs no run and takes only --end, --intervals, --layout and --time, not "
         "--refine"},
        {{"--lab", "--optimum", "--svg", "o.svg"},
         "--optimum needs no run and takes only --end, --intervals, --layout and --time, not "
         "--svg"},
        {{"--lab", "--race", "r.svg", "--every", "3"},
         "--lab --race draws one run and takes only the laboratory's options, --method, --beta, "
         "--step-ratio, --steps and --slow, not --every"},
        {{"--curve", "c.csv"}, "--curve names the curve --race races and needs it"},
        {{"--race", "r.svg", "--curve", "c.csv", "--steps", "3"},
         "--race --curve races the curve of a file and takes only --slow, not --steps"},
        // A convergence curve with no step, or on the file of --svg.
        {{"--steps", "0", "--plot", "x.svg"},
         "--plot draws the steps from 1 on and needs --steps of 1 or more"},
        {{"--svg", "x.svg", "--plot", "x.svg"},
         "--plot and --svg name the same file 'x.svg'; give each picture a file of its own"},
        {{"--svg", "x.svg", "--plot", "./x.svg"},
         "--plot and --svg name the same file './x.svg'; give each picture a file of its own"},
        {{"--steps", "0", "--plot", "c.svg"},
         "--plot draws the steps from 1 on and needs --steps of 1 or more"},
        {{"--svg", "p.svg", "--plot", "p.svg"},
         "--plot and --svg name the same file 'p.svg'; give each picture a file of its own"},
        // A picture that cannot be written; the one that could is not left behind
        // either.
        {{"--svg", "no-such-folder/picture.svg"},
         "--svg cannot write 'no-such-folder/picture.svg': No such file or directory"},
        {{"--svg", "."}, "--svg cannot write '.': it is a folder"},
        {{"--sweep", "--svg", "."}, "--svg cannot write '.': it is a folder"},
        {{"--svg", "no-such-folder/p.svg"},
         "--svg cannot write 'no-such-folder/p.svg': No such file or directory"},
        {{"--sweep", "--svg", "no-such-folder/f.svg"},
         "--svg cannot write 'no-such-folder/f.svg': No such file or directory"},
        {{"--plot", "."}, "--plot cannot write '.': it is a folder"},
        {{"--plot", "no-such-folder/curve.svg"},
         "--plot cannot write 'no-such-folder/curve.svg': No such file or directory"},
        {{"--svg", "x.svg", "--plot", "no-such-folder/c.svg"},
         "--plot cannot write 'no-such-folder/c.svg': No such file or directory"},
        {{"--plot", "no-such-folder/c.svg"},
         "--plot cannot write 'no-such-folder/c.svg': No such file or directory"},
        {{"--svg", "p.svg", "--plot", "no-such-folder/c.svg"},
         "--plot cannot write 'no-such-folder/c.svg': No such file or directory"},
        {{"--race", "."}, "--race cannot write '.': it is a folder"},
        {{"--race", "no-such-folder/r.svg"},
         "--race cannot write 'no-such-folder/r.svg': No such file or directory"},
        {{"--compare", "no-such-folder/c.svg"},
         "--compare cannot write 'no-such-folder/c.svg': No such file or directory"},
        // A curve to race that cannot be read (what is no curve: ACurveThatIsNoCurve).
        {{"--race", "r.svg", "--curve", "none.csv"},
         "--curve cannot read 'none.csv': No such file or directory"},
        {{"--race", "r.svg", "--curve", "."}, "--curve cannot read '.': it is a folder"},
    };
    for (const auto &c : cases) {
        std::string shown;
        for (const std::string &a : c.args)
            shown += "[" + a + "] ";
        Ran r = RunCommand(c.args);
        EXPECT_EQ(r.code, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(r.err, "rodadero-trace: " + c.line + "\n") << shown;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// A curve raced from its file: its rows, and the picture; a file that is no
// curve is bad input, which leaves no picture behind and says which line.
TEST_F(InFolder, ACurveOfAFileRacedOrRefused)
{
    std::ofstream("ell.csv") << "x,y\n0,0\n0,1\n1,1\n";
    std::ofstream("off.csv") << "x,y\n1,0\n2,1\n";
    Ran good = RunCommand({"--race", "r.svg", "--curve", "ell.csv", "--slow", "3"});
    EXPECT_EQ(good.code, 0) << good.err;
    // Down the drop of 1 in sqrt(0.2) s, then along the level at sqrt(20):
    // 1 / sqrt(20) s more. The straight line of sqrt(2) with the drop 1:
    // sqrt(2 x 2 / 10) s. The cycloid through (1, 1): theta = 2.4120111439,
    // R = 0.5729170375, theta sqrt(R / 10) (solved apart, with mpmath).
    std::istringstream rows(good.out);
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line, "bead,arrival_s");
    const struct {
        std::string bead;
        double arrival;
    } expected[] = {{"curve", 0.670820393249937}, {"cycloid", 0.577331400209638}, {"line", 0.632455532033676}};
    for (const auto &e : expected) {
        std::getline(rows, line);
        EXPECT_EQ(line.substr(0, line.find(',')), e.bead);
        EXPECT_NEAR(std::stod(line.substr(line.find(',') + 1)), e.arrival, 1e-9) << e.bead;
    }
    EXPECT_TRUE(std::filesystem::exists("r.svg"));
    EXPECT_NE(good.err.find("slowed 3 times: its bead arrives after 0.67082"), std::string::npos)
        << good.err;

    Ran bad = RunCommand({"--race", "s.svg", "--curve", "off.csv"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err,
              "rodadero-trace: --curve 'off.csv', line 2: the curve starts at (1, 0), not at (0, 0)\n");
    EXPECT_FALSE(std::filesystem::exists("s.svg"));
}

// The laboratory's three outputs through the command: a run's rows every K
// steps and its split, which adds up; the optimum's nodes, reading back bit
// for bit; the refinement table's rows.
TEST(TraceMain, TheLaboratorysRunOptimumAndTable)
{
    Ran run = RunCommand({"--lab", "--steps", "30", "--every", "10"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 4);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "step,model_s,exact_s");
    // The program settles at 542355 us: the optimum of its own problem.
    EXPECT_NE(run.err.find("the optimum takes 0.5423553 s, the cycloid 0.5713942 s"), std::string::npos)
        << run.err;
    auto after = [&](const std::string &words) {
        return std::stod(run.err.substr(run.err.find(words) + words.size()));
    };
    const double total = after("the distance to the cycloid "), optimiser = after("optimiser's share "),
                 polyline = after("the polyline's ");
    EXPECT_NEAR(total, optimiser + polyline, 1.5e-7);
    EXPECT_NEAR(polyline, 0.5423553 - 0.5713942, 1.5e-7);

    Ran optimum = RunCommand({"--lab", "--optimum", "--intervals", "4", "--layout", "width", "--end",
                              "2,1", "--time", "exact"});
    ASSERT_EQ(optimum.code, 0) << optimum.err;
    LabProblem p;
    p.endX = 2.0;
    p.endY = 1.0;
    p.intervals = 4;
    p.layout = LAB_WIDTH;
    p.rule = LAB_EXACT;
    const LabPolyline best = LabOptimum(p);
    std::istringstream nodes(optimum.out);
    std::string line;
    std::getline(nodes, line);
    EXPECT_EQ(line, "k,x,y");
    for (int k = 0; k <= 4; ++k) {
        ASSERT_TRUE(std::getline(nodes, line));
        double x, y;
        int index;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d,%lf,%lf", &index, &x, &y), 3) << line;
        EXPECT_EQ(index, k);
        EXPECT_EQ(x, 0.5 * k);  // equal widths of 2 / 4
        EXPECT_EQ(y, best.y[static_cast<std::size_t>(k)]) << line;
    }
    EXPECT_FALSE(std::getline(nodes, line));

    Ran table = RunCommand({"--lab", "--refine", "--intervals", "30"});
    ASSERT_EQ(table.code, 0) << table.err;
    std::istringstream rows(table.out);
    std::vector<std::string> lines;
    while (std::getline(rows, line))
        lines.push_back(line.substr(0, line.find(',')));
    EXPECT_EQ(lines, (std::vector<std::string>{"intervals", "5", "10", "20", "30"}));
}

TEST_F(SvgFiles, PicturesBesideTheSameRows)
{
    // Each picture is written whole beside the rows, which stay as they are
    // without it: the sweep's CSV and the run's CSV and summary line.
    std::string chart = folder + "/fates.svg", still = folder + "/still.svg",
                curve = folder + "/curve.svg";
    const struct {
        std::vector<std::string> plain, pictures;
        std::vector<std::pair<std::string, std::string>> files;  // path, text it holds
    } cases[] = {
        {{"--sweep", "--position", "58", "--steps", "14040"},
         {"--sweep", "--position", "58", "--steps", "14040", "--svg", chart},
         {{chart, "id=\"fate-58-high\""}}},
        {{"--position", "57", "--steps", "120", "--every", "40"},
         {"--position", "57", "--steps", "120", "--every", "40", "--plot", curve, "--svg", still},
         {{curve, "id=\"printed-time\""}, {still, "after 120 steps"}}},
    };
    for (const auto &c : cases) {
        Ran plain = RunCommand(c.plain);
        Ran drawn = RunCommand(c.pictures);
        EXPECT_EQ(plain.code, 0) << plain.err;
        EXPECT_EQ(drawn.code, 0) << drawn.err;
        EXPECT_EQ(drawn.out, plain.out);
        EXPECT_EQ(drawn.err, plain.err);
        for (const auto &file : c.files) {
            std::string text = ReadFile(file.first);
            EXPECT_NE(text.find(file.second), std::string::npos) << file.first;
            EXPECT_EQ(text.substr(text.size() - 7), "</svg>\n") << file.first;
        }
        EXPECT_TRUE(Leftovers(folder).empty());
    }
    // The sweep's chart: position 58 swings between 543340 and 543399 from
    // step 14038 on, and the limit of the linear theory is drawn.
    std::string text = ReadFile(chart);
    EXPECT_NE(text.find("id=\"fate-58-low\" class=\"swings\""), std::string::npos);
    EXPECT_NE(text.find("id=\"stability-limit\""), std::string::npos);
}

TEST_F(SvgFiles, AnUnwritablePictureLeavesNoOtherBehind)
{
    std::string still = folder + "/still.svg";
    Ran r = RunCommand({"--svg", still, "--plot", folder + "/none/curve.svg"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::filesystem::exists(still));
    EXPECT_TRUE(Leftovers(folder).empty());
}

TEST_F(SvgFiles, FailedRenameRemovesTheTemporaryFile)
{
    // The target turns into a folder while the run is going on.
    std::string path = folder + "/late.svg";
    std::ostringstream err;
    std::vector<PictureFile> pictures = {{"--plot", ""}, {"--svg", path}};
    ASSERT_TRUE(OpenPictureFiles(&pictures, err)) << err.str();
    std::filesystem::create_directories(path + "/inside");
    EXPECT_FALSE(Finish(pictures, "--svg", "<svg/>\n", err));
    EXPECT_EQ(err.str().compare(0, 37, "rodadero-trace: --svg could not write"), 0) << err.str();
    EXPECT_NE(err.str().find("late.svg"), std::string::npos) << err.str();
    EXPECT_TRUE(Leftovers(folder).empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

} // namespace
