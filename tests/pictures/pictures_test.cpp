// The pictures as text: the SVG writer, the still picture of a run, the axes
// of the charts, the steps a convergence curve keeps and the pictures'
// texts, escaped and well-formed whatever they hold. Runs natively
// and under Wine; the race is played in a browser by race_test.py, and the
// charts' marks are measured there by charts_test.py.
#include "chart_parts.h"
#include "convergence.h"
#include "curve_race_picture.h"
#include "fates_chart.h"
#include "lab_charts.h"
#include "lab_still.h"
#include "method_charts.h"
#include "picture_words.h"
#include "race.h"
#include "still.h"
#include "svg_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

bool Holds(const std::string &svg, const std::string &part)
{
    return svg.find(part) != std::string::npos;
}

// --- the writer ---------------------------------------------------------------

TEST(SvgWritten, EscapesEveryAttributeValueAndText)
{
    static const struct { const char *text, *escaped; } cases[] = {
        {"plain text", "plain text"},
        {"A & B", "A &amp; B"},
        {"a < b > c", "a &lt; b &gt; c"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        // Values stand between double quotes: the apostrophe is left alone.
        {"it's", "it's"},
        {"&amp;", "&amp;amp;"},
        {"posici\xC3\xB3n \xC3\x97 2", "posici\xC3\xB3n \xC3\x97 2"},
        {"", ""},
    };
    for (const auto &c : cases) {
        SvgElement e = SvgText("text", c.text).Set("id", c.text);
        EXPECT_EQ(SvgWritten(e),
                  std::string("<text id=\"") + c.escaped + "\">" + c.escaped + "</text>\n")
            << c.text;
    }
}

TEST(SvgWritten, EachLayoutAsThePicturesLayThemOut)
{
    SvgElement inner = SvgGroup("g").Set("id", "a");
    inner.Add(SvgText("text", "x"));
    inner.Add(SvgGroup("g", SVG_ONE_LINE).Add(SvgEmpty("line")).Add(SvgText("text", "1")));
    SvgElement mixed = SvgText("text", "0.5 s").Add(SvgEmpty("animate"));
    mixed.layout = SVG_LINES;
    SvgElement shifted = SvgText("text", "y");
    shifted.indent = 2;
    SvgElement root = SvgGroup("svg", SVG_FLAT_LINES).Set("width", "2").Set("height", "1");
    root.Add(SvgEmpty("rect").Set("x", "0"))
        .Add(inner)
        .Add(SvgGroup("g"))
        .Add(mixed)
        .Add(shifted)
        .Add(SvgText("title", ""));
    EXPECT_EQ(SvgWritten(root), "<svg width=\"2\" height=\"1\">\n"
                                "<rect x=\"0\"/>\n"
                                "<g id=\"a\">\n"
                                "  <text>x</text>\n"
                                "  <g><line/><text>1</text></g>\n"
                                "</g>\n"
                                "<g>\n"
                                "</g>\n"
                                "<text>0.5 s\n"
                                "  <animate/>\n"
                                "</text>\n"
                                "  <text>y</text>\n"
                                "<title></title>\n"
                                "</svg>\n");
}

// Whether the text is well-formed XML, as far as the pictures go: the
// declaration, then one element; tags closed in order; attribute values
// quoted; no '<' in text or values, and every '&' one of the five entities.
bool WellFormed(const std::string &xml, std::string *why)
{
    static const char *const entities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
    auto entitiesOk = [&](const std::string &part) {
        for (std::size_t i = part.find('&'); i != std::string::npos; i = part.find('&', i + 1)) {
            bool known = false;
            for (const char *e : entities)
                known = known || part.compare(i, std::string(e).size(), e) == 0;
            if (!known) {
                *why = "bare & in: " + part.substr(i, 20);
                return false;
            }
        }
        return true;
    };
    std::size_t at = xml.find("?>");
    if (xml.compare(0, 5, "<?xml") != 0 || at == std::string::npos) {
        *why = "no declaration";
        return false;
    }
    at += 2;
    std::vector<std::string> open;
    int roots = 0;
    while (at < xml.size()) {
        std::size_t lt = xml.find('<', at);
        std::string text = xml.substr(at, lt == std::string::npos ? std::string::npos : lt - at);
        if (!entitiesOk(text))
            return false;
        if (open.empty() && text.find_first_not_of(" \n") != std::string::npos) {
            *why = "text outside the root: " + text;
            return false;
        }
        if (lt == std::string::npos)
            break;
        std::size_t i = lt + 1;
        bool closing = xml[i] == '/';
        i += closing;
        std::size_t nameEnd = xml.find_first_of(" />", i);
        if (nameEnd == std::string::npos || nameEnd == i) {
            *why = "bad tag at " + std::to_string(lt);
            return false;
        }
        std::string name = xml.substr(i, nameEnd - i);
        i = nameEnd;
        if (closing) {
            if (open.empty() || open.back() != name || xml[i] != '>') {
                *why = "</" + name + "> closes nothing open";
                return false;
            }
            open.pop_back();
            at = i + 1;
            continue;
        }
        // Attributes: name="value" each after one space.
        while (xml[i] == ' ') {
            std::size_t eq = xml.find("=\"", i);
            std::size_t end = eq == std::string::npos ? eq : xml.find('"', eq + 2);
            if (end == std::string::npos ||
                xml.substr(i + 1, eq - i - 1).find_first_of(" <>\"&") != std::string::npos) {
                *why = "bad attribute in <" + name + ">";
                return false;
            }
            std::string value = xml.substr(eq + 2, end - eq - 2);
            if (value.find('<') != std::string::npos || !entitiesOk(value)) {
                *why = "bad value in <" + name + ">: " + value;
                return false;
            }
            i = end + 1;
        }
        bool empty = xml.compare(i, 2, "/>") == 0;
        if (!empty && xml[i] != '>') {
            *why = "<" + name + "> not ended";
            return false;
        }
        if (open.empty())
            ++roots;
        if (!empty)
            open.push_back(name);
        at = i + (empty ? 2 : 1);
    }
    if (!open.empty() || roots != 1) {
        *why = open.empty() ? "not one root" : "<" + open.back() + "> left open";
        return false;
    }
    return true;
}

TEST(WellFormed, TellsTheFaultsItLooksFor)
{
    static const struct { const char *xml; bool ok; } cases[] = {
        {"<?xml version=\"1.0\"?>\n<a x=\"1\"><b/>t &amp; u</a>\n", true},
        {"<?xml version=\"1.0\"?>\n<a>A & B</a>\n", false},
        {"<?xml version=\"1.0\"?>\n<a>A < B</a>\n", false},
        {"<?xml version=\"1.0\"?>\n<a x=\"say \"hi\"\"/>\n", false},
        {"<?xml version=\"1.0\"?>\n<a><b></a></b>\n", false},
        {"<?xml version=\"1.0\"?>\n<a/><a/>\n", false},
    };
    for (const auto &c : cases) {
        std::string why;
        EXPECT_EQ(WellFormed(c.xml, &why), c.ok) << c.xml << why;
    }
}

// A text holding every character that needs an entity.
const char AWKWARD[] = "Fates & \"forms\" <of> descent";
const char AWKWARD_ESCAPED[] = "Fates &amp; &quot;forms&quot; &lt;of&gt; descent";

std::vector<Fate> SomeFates();
LabPictureState LabStateOf(double endX, double endY, long intervals, LabLayout layout);
std::vector<LabRefinementRow> PowerLawTable(const std::vector<long> &intervals);

// The race of a V, down from (0, 0) to (1, 1), up to (3, -1) and down to
// the end (4, 1): the bead stops halfway up, at (2, 0), after 2 sqrt(0.4)
// s (each diagonal of length sqrt(2) at the mean speed sqrt(20) / 2).
std::string CurvePictureOfAV(const CurveRaceText &text)
{
    return CurveRacePicture({{0, 1, 3, 4}, {0, 1, -1, 1}}, 2, text);
}

// The value of attribute `name` of the first element after `from` that
// has it.
std::string AttributeAfter(const std::string &svg, std::size_t from, const std::string &name)
{
    std::size_t at = svg.find(" " + name + "=\"", from);
    if (at == std::string::npos)
        return std::string();
    at += name.size() + 3;
    return svg.substr(at, svg.find('"', at) - at);
}

// The numbers of a list, separated by any of ";, ".
std::vector<double> Numbers(const std::string &list)
{
    std::vector<double> numbers;
    std::size_t from = 0;
    while (from < list.size()) {
        std::size_t end = list.find_first_of(";, ", from);
        numbers.push_back(std::stod(list.substr(from, end == std::string::npos ? end : end - from)));
        from = end == std::string::npos ? list.size() : end + 1;
    }
    return numbers;
}

TEST(Pictures, TitlesAndTextsEscapedAndWellFormed)
{
    FatesChartText fates = FatesChartWords(WordLanguageOf("en"));
    fates.title = AWKWARD;
    fates.settles = AWKWARD;
    fates.marked = AWKWARD;
    ConvergenceText convergence = ConvergenceWords(WordLanguageOf("en"));
    convergence.titleAtPosition = AWKWARD;
    convergence.timeAxis = AWKWARD;
    RaceText race = RaceWords(WordLanguageOf("en"));
    race.title = AWKWARD;
    race.place[0] = AWKWARD;
    CurveRaceText curveRace = CurveRaceWords(WordLanguageOf("en"));
    curveRace.title = AWKWARD;
    curveRace.stops = AWKWARD;
    LabStillText labStill = LabStillWords(WordLanguageOf("en"));
    labStill.title = AWKWARD;
    labStill.split = AWKWARD;
    LabConvergenceText labConvergence = LabConvergenceWords(WordLanguageOf("en"));
    labConvergence.title = AWKWARD;
    labConvergence.summary = AWKWARD;
    LabRefinementText labRefinement = LabRefinementWords(WordLanguageOf("en"));
    labRefinement.title = AWKWARD;
    labRefinement.side[LAB_BELOW] = AWKWARD;
    LabPictureState lab = LabStateOf(1.0, 0.92, 20, LAB_DEPTH);
    std::vector<LabCurvePoint> labPoints = {{0, 0.6, 0.62}, {1, 0.59, 0.61}, {2, 0.58, 0.6}};
    std::vector<RunSample> samples = {{1, 0.5848185, 0.622, 0}, {2, 0.5822105, 0.617, 0}};
    Recorder nothing;
    RunResult run = RecordRun(MethodSetting{METHOD_PROGRAM, 0, 0}, 1, &nothing);
    const struct { const char *name; std::string svg; } pictures[] = {
        {"fates", FatesChart(SomeFates(), 20000, 57.30576853817054, 58, fates)},
        {"convergence", ConvergencePicture(samples, 0.00011600000000000001, 58, convergence)},
        {"race", RacePicture(run, 10, race)},
        {"curve race", CurvePictureOfAV(curveRace)},
        {"lab still", LabStillPicture(lab, labStill)},
        {"lab convergence", LabConvergencePicture(lab.problem, labPoints, 0.5423553, 0.5713942,
                                                  AWKWARD, labConvergence)},
        {"lab refinement", LabRefinementPicture(lab.problem, PowerLawTable({5, 10, 20}),
                                                labRefinement)},
    };
    std::string title = std::string("<title>rodadero-trace: ") + AWKWARD_ESCAPED + "</title>\n";
    for (const auto &p : pictures) {
        EXPECT_TRUE(Holds(p.svg, title)) << p.name;
        EXPECT_FALSE(Holds(p.svg, AWKWARD)) << p.name;
        std::string why;
        EXPECT_TRUE(WellFormed(p.svg, &why)) << p.name << ": " << why;
    }
    EXPECT_TRUE(Holds(pictures[0].svg, std::string(">") + AWKWARD_ESCAPED + "</text>"));
}

// --- the pictures -------------------------------------------------------------

TEST(StillPicture, HoldsTheThreeCurves)
{
    Recorder nothing;
    RunResult run = RecordRun(MethodSetting{METHOD_PROGRAM, 0, 0}, 50, &nothing);
    // The caption's times after those 50 steps, from a plain reference run
    // outside the program: model 0.5640144184747695 s, exact
    // 0.5945611506936096 s.
    std::string svg = StillPicture(run);
    static const char *const parts[] = {
        "<svg xmlns=\"http://www.w3.org/2000/svg\"",
        "<polyline id=\"polyline\" stroke=\"#ff0000\"",
        "<polyline id=\"cycloid\" stroke=\"#0096fa\"",
        "<polyline id=\"brachistochrone\"",
        "stroke-dasharray",
        "id=\"frame\"",
        "id=\"target\"",
        "model time 0.564014 s",
        "exact time 0.594561 s",
        "</svg>\n",
    };
    for (const char *p : parts)
        EXPECT_NE(svg.find(p), std::string::npos) << p;
    // The polyline starts at the origin and ends at (1, 0.92) in pixels.
    std::size_t at = svg.find("<polyline id=\"polyline\"");
    std::size_t points = svg.find("points=\"", at) + 8;
    std::string list = svg.substr(points, svg.find('"', points) - points);
    EXPECT_EQ(list.compare(0, 12, "0.000,0.000 "), 0) << list;
    EXPECT_EQ(list.substr(list.size() - 16), " 400.000,368.000") << list;
    EXPECT_EQ(std::count(list.begin(), list.end(), ' '), 20);
}

// --- charts -----------------------------------------------------------------

TEST(Filled, EachNameByItsValueInTheTextsOwnOrder)
{
    static const struct {
        const char *pattern;
        const char *filled;
    } cases[] = {
        {"position {position}, beta {beta}", "position 80, beta 0.35"},
        {"beta {beta} a la posici\xC3\xB3n {position}", "beta 0.35 a la posici\xC3\xB3n 80"},
        {"{position}{position}", "8080"},
        {"{positions} {posit} {} {", "{positions} {posit} {} {"},  // no such names
        {"no name at all", "no name at all"},
        {"{beta}", "0.35"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Filled(c.pattern, {{"position", "80"}, {"beta", "0.35"}}), c.filled)
            << c.pattern;
}

TEST(LinearTicks, RoundNumbersCoveringTheValues)
{
    static const struct {
        double low, high;
        int count;
        double first, last, step;
        const char *firstLabel;
    } cases[] = {
        // The printed times of the full sweep.
        {542355, 619768, 8, 540000, 620000, 10000, "540000"},
        // Fall times of a run, in seconds.
        {0.5423, 0.6336, 7, 0.54, 0.64, 0.01, "0.54"},
        {0.56, 0.6656, 7, 0.56, 0.68, 0.02, "0.56"},
        // One value alone gets room on both sides.
        {542355, 542355, 8, 541800, 542900, 100, "541800"},
        {-3, 7, 5, -4, 8, 2, "-4"},
    };
    for (const auto &c : cases) {
        ChartAxis axis = {0, 0, 0, 100, false};
        std::vector<AxisTick> ticks = LinearTicks(c.low, c.high, c.count, &axis);
        std::string name = std::to_string(c.low) + ".." + std::to_string(c.high);
        ASSERT_GE(ticks.size(), 2u) << name;
        EXPECT_NEAR(ticks.front().value, c.first, 1e-9 * std::fabs(c.step)) << name;
        EXPECT_NEAR(ticks.back().value, c.last, 1e-9 * std::fabs(c.step)) << name;
        EXPECT_NEAR(ticks[1].value - ticks[0].value, c.step, 1e-9 * c.step) << name;
        EXPECT_EQ(ticks.front().label, c.firstLabel) << name;
        EXPECT_EQ(axis.low, ticks.front().value) << name;
        EXPECT_EQ(axis.high, ticks.back().value) << name;
    }
}

TEST(DecadeTicks, PowersOfTenAroundTheValues)
{
    static const struct {
        double low, high;
        std::vector<std::string> labels;
    } cases[] = {
        {6711, 691301, {"1 000", "10 000", "100 000", "1 000 000"}},
        {1, 3000, {"1", "10", "100", "1 000", "10 000"}},
        {1, 1, {"1", "10"}},
        {0, 1000, {"1", "10", "100", "1 000"}},
        {20000, 20000, {"10 000", "100 000"}},
    };
    for (const auto &c : cases) {
        ChartAxis axis = {0, 0, 0, 300, false};
        std::vector<AxisTick> ticks = DecadeTicks(c.low, c.high, &axis);
        std::vector<std::string> labels;
        for (const AxisTick &t : ticks)
            labels.push_back(t.label);
        EXPECT_EQ(labels, c.labels) << c.low << ".." << c.high;
        EXPECT_TRUE(axis.logarithmic);
        // Each decade gets the same length.
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(AxisPixel(axis, ticks[i].value), 300.0 * i / (ticks.size() - 1), 1e-9);
    }
}

std::vector<Fate> SomeFates()
{
    // A settled position, a swinging one, one that did not repeat.
    return {{20, 0, 39736, 1, 542355, 542355}, {58, 0, 14038, 2, 543340, 543399},
            {90, 0, 0, 0, 600000, 600000}};
}

TEST(FatesChart, TextsFromTheCallersTable)
{
    FatesChartText text = {"Destino de cada posici\xC3\xB3n", "posici\xC3\xB3n",
                           "tiempo impreso", "paso del ciclo", "se asienta", "oscila",
                           "sin repetici\xC3\xB3n en {steps} pasos", "l\xC3\xADmite {position}",
                           "posici\xC3\xB3n {position} & actual"};
    std::string svg = FatesChart(SomeFates(), 20000, 57.30576853817054, 58, text);
    static const char *const parts[] = {
        "Destino de cada posici\xC3\xB3n", "tiempo impreso", "paso del ciclo", "se asienta",
        "oscila", "sin repetici\xC3\xB3n en 20000 pasos", "l\xC3\xADmite 57.31",
        "posici\xC3\xB3n 58 &amp; actual", "id=\"marked-position\"",
    };
    for (const char *p : parts)
        EXPECT_TRUE(Holds(svg, p)) << p;
    EXPECT_FALSE(Holds(svg, "scroll position"));
    for (const char *name : {"{steps}", "{position}"})
        EXPECT_FALSE(Holds(svg, name)) << name;
}

TEST(FatesChart, MarksAndTheirClasses)
{
    std::string svg =
        FatesChart(SomeFates(), 20000, 57.30576853817054, 0,
                   FatesChartWords(WordLanguageOf("en")));
    static const struct { const char *id, *cls; } marks[] = {
        {"fate-20-low", "settles"}, {"fate-20-high", "settles"}, {"cycle-20", "settles"},
        {"fate-58-low", "swings"},  {"fate-58-high", "swings"},  {"cycle-58", "swings"},
        {"fate-90-low", "no-cycle"}, {"fate-90-high", "no-cycle"}, {"cycle-90", "no-cycle"},
    };
    for (const auto &m : marks)
        EXPECT_TRUE(Holds(svg, std::string("id=\"") + m.id + "\" class=\"" + m.cls + "\""))
            << m.id;
    EXPECT_TRUE(Holds(svg, "id=\"stability-limit\""));
    // Nothing marked without a position to mark; no other position drawn.
    EXPECT_FALSE(Holds(svg, "marked-position"));
    EXPECT_FALSE(Holds(svg, "fate-21-"));
}

TEST(ConvergencePicture, OnePointASampleAndTheCallersTexts)
{
    ConvergenceText text = {"paso {alpha}", "posici\xC3\xB3n {position}, factor {alpha}",
                            "por {method}", "paso",
                            "tiempo de ca\xC3\xAD" "da", "impreso", "exacto",
                            "braquist\xC3\xB3" "crona {time} s"};
    std::vector<RunSample> samples = {{1, 0.5848185, 0.622, 0}, {2, 0.5822105, 0.617, 0},
                                      {10, 0.5747265, 0.605, 0}, {11, 0.5742005, 0.604, 0}};
    std::string svg = ConvergencePicture(samples, 0.00011600000000000001, 58, text);
    static const char *const parts[] = {
        "posici\xC3\xB3n 58, factor 0.000116", "tiempo de ca\xC3\xAD" "da", "impreso",
        "exacto", "braquist\xC3\xB3" "crona 0.571394 s",
    };
    for (const char *p : parts)
        EXPECT_TRUE(Holds(svg, p)) << p;
    for (const char *curve : {"id=\"printed-time\"", "id=\"exact-time\""}) {
        std::size_t at = svg.find(curve);
        ASSERT_NE(at, std::string::npos) << curve;
        std::size_t points = svg.find("points=\"", at) + 8;
        std::string list = svg.substr(points, svg.find('"', points) - points);
        EXPECT_EQ(std::count(list.begin(), list.end(), ','), 4) << curve << ": " << list;
    }
    EXPECT_TRUE(Holds(ConvergencePicture(samples, 0.0001, 0, ConvergenceWords(WordLanguageOf("en"))),
                      "step factor 0.0001 (its starting value)"));
}

// --- the race of a given curve ----------------------------------------------

// The V's bead, animated: at the stop mark at the turn time, back at the
// start a turn time later, and never above the start's height.
TEST(CurveRacePicture, TheBeadThatCannotGetPastStopsAndSlidesBack)
{
    const std::string svg = CurvePictureOfAV(CurveRaceWords(WordLanguageOf("en")));
    const double turn = 2.0 * std::sqrt(0.4), slow = 2.0;
    const std::size_t bead = svg.find("id=\"bead-curve\"");
    ASSERT_NE(bead, std::string::npos);
    const std::size_t cx = svg.find("attributeName=\"cx\"", bead);
    const std::size_t cy = svg.find("attributeName=\"cy\"", bead);
    const std::string dur = AttributeAfter(svg, cx, "dur");
    const double duration = std::stod(dur.substr(0, dur.size() - 1));
    const std::vector<double> keys = Numbers(AttributeAfter(svg, cx, "keyTimes"));
    const std::vector<double> xs = Numbers(AttributeAfter(svg, cx, "values"));
    const std::vector<double> ys = Numbers(AttributeAfter(svg, cy, "values"));
    ASSERT_EQ(xs.size(), keys.size());
    ASSERT_EQ(ys.size(), keys.size());
    const std::size_t mark = svg.find("id=\"stop\"");
    ASSERT_NE(mark, std::string::npos);
    const double stopX = std::stod(AttributeAfter(svg, mark, "cx"));
    const double stopY = std::stod(AttributeAfter(svg, mark, "cy"));
    const std::vector<double> start = Numbers(AttributeAfter(svg, svg.find("id=\"track-curve\""), "points"));
    // The frame holds the V from x = 0 to 4 and y = -1 to 1 (and the
    // cycloid, which dips to y = 1.50 here): 150 px a unit.
    EXPECT_NEAR(stopX - start[0], 300.0, 0.002);
    EXPECT_NEAR(stopY, start[1], 0.002);
    int atStop = 0, atStart = 0;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const double t = keys[k] * duration / slow;
        EXPECT_GE(ys[k], start[1] - 0.001) << t;
        // Key times are written to 1e-7 of the round: the bead is within
        // about g t dt of where it is at the moment written.
        if (std::fabs(t - turn) < 1e-5 || std::fabs(t - 3.0 * turn) < 1e-5) {
            ++atStop;
            EXPECT_NEAR(xs[k], stopX, 0.01) << t;
            EXPECT_NEAR(ys[k], stopY, 0.01) << t;
        }
        if (std::fabs(t - 2.0 * turn) < 1e-5) {
            ++atStart;
            EXPECT_NEAR(xs[k], start[0], 0.01) << t;
            EXPECT_NEAR(ys[k], start[1], 0.01) << t;
        }
    }
    // The round is one period at half speed and the hold, 2 s: 3.53 s of
    // the bead's time, one stop and one return.
    EXPECT_EQ(atStop, 1);
    EXPECT_EQ(atStart, 1);
    EXPECT_TRUE(Holds(svg, "At (2, 0), level with the start, the curve's bead stops at 1.2649 s"));
    EXPECT_TRUE(Holds(svg, ">never arrives\n"));
    EXPECT_FALSE(Holds(svg, "id=\"place-curve\""));
}

// Curves far beyond the program's frame, below the end, above the start
// and to the left of it: every point of every track inside the frame.
TEST(CurveRacePicture, TheViewHoldsEveryTrack)
{
    const LabPolyline tracks[] = {
        {{0, 0.5, 40, 20}, {0, 30, -5, 0.5}},
        {{0, -3, -1, 0.001}, {0, 0.2, 0.1, 2}},
        {{0, 0}, {0, 5}},
        {{0, 30}, {0, 0.1}},  // the cycloid dips far below the end
    };
    for (const LabPolyline &track : tracks) {
        std::string svg = CurveRacePicture(track, 1, CurveRaceWords(WordLanguageOf("es")));
        std::string why;
        EXPECT_TRUE(WellFormed(svg, &why)) << why;
        for (const char *id : {"track-curve", "track-cycloid", "track-line"}) {
            std::vector<double> p = Numbers(AttributeAfter(svg, svg.find(id), "points"));
            for (std::size_t k = 0; k + 1 < p.size(); k += 2) {
                EXPECT_TRUE(p[k] >= 0.0 && p[k] <= 600.0) << id << " x " << p[k];
                EXPECT_TRUE(p[k + 1] >= 0.0 && p[k + 1] <= 400.0) << id << " y " << p[k + 1];
            }
        }
    }
}

// --- the laboratory ------------------------------------------------------------

// A state of the laboratory's problem: the chord as it is now, the optimum
// and the cycloid as the analysis gives them (the picture draws what it is
// handed: here they are only inputs).
LabPictureState LabStateOf(double endX, double endY, long intervals, LabLayout layout)
{
    LabPictureState s;
    s.problem.endX = endX;
    s.problem.endY = endY;
    s.problem.intervals = intervals;
    s.problem.layout = layout;
    s.problem.rule = LAB_EXACT;
    s.now = LabChord(s.problem);
    s.optimum = LabOptimum(s.problem);
    s.cycloid = LabCycloidThrough(endX, endY);
    s.timeNow = LabPolylineTime(s.now, LAB_EXACT);
    s.timeOptimum = LabPolylineTime(s.optimum, LAB_EXACT);
    s.steps = 0;
    s.method = "gradient descent";
    return s;
}

// The numbers of a list "x,y x,y ..." or "Mx,y Lx,y ...".
std::vector<double> NumbersOf(const std::string &list)
{
    std::vector<double> numbers;
    const char *at = list.c_str();
    while (*at) {
        if (std::string("-.0123456789").find(*at) == std::string::npos) {
            ++at;
            continue;
        }
        char *end;
        numbers.push_back(std::strtod(at, &end));
        at = end;
    }
    return numbers;
}

// The value of every attribute `name` in the picture, in order.
std::vector<std::string> Attributes(const std::string &svg, const std::string &name)
{
    std::vector<std::string> values;
    const std::string key = " " + name + "=\"";
    for (std::size_t at = svg.find(key); at != std::string::npos; at = svg.find(key, at + 1)) {
        std::size_t from = at + key.size();
        values.push_back(svg.substr(from, svg.find('"', from) - from));
    }
    return values;
}

// The points of the polyline `id`, as x, y pairs.
std::vector<double> TrackOf(const std::string &svg, const std::string &id)
{
    std::size_t at = svg.find("<polyline id=\"" + id + "\"");
    if (at == std::string::npos)
        return {};
    std::size_t points = svg.find("points=\"", at) + 8;
    return NumbersOf(svg.substr(points, svg.find('"', points) - points));
}

TEST(LabStillPicture, ItsViewHoldsEveryPointDrawnWhateverTheEnd)
{
    static const struct {
        const char *name;
        double x, y;
        LabLayout layout;
        bool farAway;  // the polyline now sent far off, above the start and beyond the end
    } cases[] = {
        {"straight drop", 0.0, 1.0, LAB_DEPTH, false},
        {"very flat, the cycloid far below the end", 1.0, 0.01, LAB_WIDTH, false},
        {"tall and thin", 0.01, 5.0, LAB_DEPTH, false},
        {"wide", 1000.0, 0.2, LAB_WIDTH, false},
        {"a polyline gone far", 1.0, 0.92, LAB_WIDTH, true},
    };
    for (const auto &c : cases) {
        LabPictureState s = LabStateOf(c.x, c.y, 16, c.layout);
        if (c.farAway) {
            s.now.y[3] = -2.5;
            s.now.y[9] = 40.0;
            s.now.y[10] = 1.0 / 0.0;  // not finite: left out
        }
        std::string svg = LabStillPicture(s, LabStillWords(WordLanguageOf("en")));
        std::string why;
        EXPECT_TRUE(WellFormed(svg, &why)) << c.name << ": " << why;
        std::vector<double> box = NumbersOf(Attributes(svg, "viewBox").at(0));
        ASSERT_EQ(box.size(), 4u) << c.name;
        std::vector<double> drawn;
        for (const std::string &points : Attributes(svg, "points")) {
            std::vector<double> more = NumbersOf(points);
            ASSERT_EQ(more.size() % 2, 0u) << c.name << ": " << points;
            drawn.insert(drawn.end(), more.begin(), more.end());
        }
        std::vector<double> cx = NumbersOf(Attributes(svg, "cx")[0] + " " + Attributes(svg, "cx")[1]);
        std::vector<double> cy = NumbersOf(Attributes(svg, "cy")[0] + " " + Attributes(svg, "cy")[1]);
        for (int i = 0; i < 2; ++i) {
            drawn.push_back(cx[i]);
            drawn.push_back(cy[i]);
        }
        for (std::size_t i = 0; i < drawn.size(); i += 2) {
            EXPECT_GE(drawn[i], box[0]) << c.name;
            EXPECT_LE(drawn[i], box[0] + box[2]) << c.name;
            EXPECT_GE(drawn[i + 1], box[1]) << c.name;
            EXPECT_LE(drawn[i + 1], box[1] + box[3]) << c.name;
        }
        // One scale across and down: the end is as far across as down in
        // the model's proportion, within the pixels' thousandths.
        EXPECT_NEAR((cx[1] - cx[0]) * c.y, (cy[1] - cy[0]) * c.x, 2e-3 * (c.x + c.y)) << c.name;
        const double scale = c.x > c.y ? (cx[1] - cx[0]) / c.x : (cy[1] - cy[0]) / c.y;
        // The cycloid reaches its lowest point, 2 R below the start, where
        // it dips below the end (R as handed over).
        std::vector<double> cycloid = TrackOf(svg, "cycloid");
        double deepest = cy[0];
        for (std::size_t i = 1; i < cycloid.size(); i += 2)
            deepest = std::max(deepest, cycloid[i]);
        double lowest = s.cycloid.theta > 3.141592653589793 ? 2.0 * s.cycloid.radius : c.y;
        EXPECT_NEAR(deepest - cy[0], lowest * scale, 2e-3) << c.name;
        // The polyline: every node but the one that is not finite.
        if (c.farAway) {
            EXPECT_EQ(TrackOf(svg, "polyline").size(), 2u * 16u) << c.name;
        }
    }
}

// The split as the caption writes it: the times to a ten-millionth of a
// second, the shares worked out from them as written.
TEST(LabStillPicture, TheCaptionsSplitAddsUpDigitForDigit)
{
    static const struct {
        double now, optimum, cycloid;
        long steps;
        const char *times[3];
        const char *split;
    } cases[] = {
        // The program's problem at its optimum under the midpoint rule,
        // which lies below the cycloid: the polyline's share is negative.
        {0.6123456, 0.5423553, 0.5713942, 12,
         {"0.6123456 s", "0.5423553 s", "0.5713942 s"},
         "+0.0409514 s = +0.0699903 s + -0.0290389 s"},
        // The same times past the seventh decimal: written as before.
        {0.61234564, 0.54235526, 0.57139424, 1,
         {"0.6123456 s", "0.5423553 s", "0.5713942 s"},
         "+0.0409514 s = +0.0699903 s + -0.0290389 s"},
        // now - cycloid is 0.02345668 s, written 0.0234567 by itself; from
        // the times as written it is 0.1234567 - 0.1000001 = 0.0234566,
        // which the shares add up to.
        {0.12345674, 0.1111111, 0.10000006, 0,
         {"0.1234567 s", "0.1111111 s", "0.1000001 s"},
         "+0.0234566 s = +0.0123456 s + +0.0111110 s"},
    };
    LabStillText text = LabStillWords(WordLanguageOf("en"));
    text.split = "{total} s = {optimiser} s + {polyline} s";
    for (const auto &c : cases) {
        LabPictureState s = LabStateOf(1.0, 0.92, 20, LAB_DEPTH);
        s.timeNow = c.now;
        s.timeOptimum = c.optimum;
        s.cycloid.time = c.cycloid;
        s.steps = c.steps;
        std::string svg = LabStillPicture(s, text);
        for (const char *t : c.times)
            EXPECT_TRUE(Holds(svg, std::string(": ") + t + "</text>")) << c.now << " " << t;
        EXPECT_TRUE(Holds(svg, std::string("id=\"split\">") + c.split + "</text>")) << c.now;
        const char *named = c.steps == 0 ? "the chord: " : c.steps == 1 ? "after 1 step of" : "after 12 steps of";
        EXPECT_TRUE(Holds(svg, named)) << c.steps;
    }
}

// A refinement table whose gaps follow power laws exactly: under the rule
// 0.3 N^-1.5 below the cycloid, exactly 0.7 N^-1 above it; the condition
// number 2 N^2.
std::vector<LabRefinementRow> PowerLawTable(const std::vector<long> &intervals)
{
    std::vector<LabRefinementRow> rows;
    for (long n : intervals) {
        LabRefinementRow r = {};
        double x = static_cast<double>(n);
        r.intervals = n;
        r.cycloidTime = 0.5713942;
        r.optimumTime = r.cycloidTime - 0.3 / (x * std::sqrt(x));
        r.exactTime = r.cycloidTime + 0.7 / x;
        r.theory.condition = 2.0 * x * x;
        rows.push_back(r);
    }
    return rows;
}

TEST(LabRefinementPicture, TheFittedOrdersOfExactPowerLaws)
{
    static const struct {
        std::vector<long> intervals;
    } cases[] = {
        {{5, 10, 20, 40, 80, 160, 320, 640}},
        {{5, 10, 20, 30}},  // the given N last, not a doubling
        {{5, 10}},          // two rows: the line through them
    };
    LabProblem problem;
    for (const auto &c : cases) {
        std::vector<LabRefinementRow> rows = PowerLawTable(c.intervals);
        std::string svg = LabRefinementPicture(problem, rows, LabRefinementWords(WordLanguageOf("en")));
        std::string why;
        EXPECT_TRUE(WellFormed(svg, &why)) << why;
        EXPECT_TRUE(Holds(svg, "under the rule, below the cycloid: slope -1.50<")) << c.intervals.back();
        EXPECT_TRUE(Holds(svg, "exact time, above the cycloid: slope -1.00<")) << c.intervals.back();
        EXPECT_TRUE(Holds(svg, "at the optimum: slope 2.00<")) << c.intervals.back();
        // One point a row on each series, the gaps drawn as magnitudes.
        for (const char *id : {"rule-gap", "exact-gap", "condition"})
            EXPECT_EQ(TrackOf(svg, id).size(), 2 * c.intervals.size()) << id;
        std::vector<double> x, gap;
        for (const LabRefinementRow &r : rows) {
            x.push_back(static_cast<double>(r.intervals));
            gap.push_back(r.optimumTime - r.cycloidTime);
        }
        EXPECT_NEAR(LabLogSlope(x, gap, LAB_FIT_ROWS), -1.5, 1e-6);
    }
}

TEST(LabConvergencePicture, TheOptimisersShareDownToTheOptimumAndThePolylinesBeside)
{
    const double optimum = 0.5423553, cycloid = 0.5713942;
    // Distances 1e-2, 1e-4, 1e-6, then the optimum itself: the curve ends
    // there, on the axis's floor; the sample after it is not drawn.
    std::vector<LabCurvePoint> points = {{0, optimum + 0.1, 0.7},    {1, optimum + 1e-2, 0.6},
                                         {10, optimum + 1e-4, 0.6},  {100, optimum + 1e-6, 0.6},
                                         {1000, optimum, 0.6},       {2000, optimum + 1e-8, 0.6}};
    LabProblem problem;
    std::string svg = LabConvergencePicture(problem, points, optimum, cycloid, "gradient descent",
                                            LabConvergenceWords(WordLanguageOf("en")));
    std::string why;
    EXPECT_TRUE(WellFormed(svg, &why)) << why;
    std::vector<double> curve = TrackOf(svg, "optimiser-share");
    ASSERT_EQ(curve.size(), 8u);
    // Equal ratios, equal heights: 1e-2, 1e-4, 1e-6 evenly spaced.
    EXPECT_NEAR(curve[3] - curve[1], curve[5] - curve[3], 1e-2);
    // The polyline's share, 0.0290389 s below the cycloid, between the
    // heights of 1e-2 and of 1e-1, in proportion to its logarithm.
    std::size_t at = svg.find("id=\"polyline-share\"");
    ASSERT_NE(at, std::string::npos);
    double level = NumbersOf(svg.substr(svg.find("y1=\"", at) + 4, 12)).at(0);
    double decade = curve[3] - curve[1];  // two decades, pixels downward
    EXPECT_NEAR((curve[1] - level) / (0.5 * decade), 0.46298549, 1e-3);  // log10(2.90389)
    EXPECT_TRUE(Holds(svg, "= 0.0290389 s, below the cycloid<"));
    EXPECT_TRUE(Holds(svg, "<desc>After 2 000 steps: 0.5423553 s under the rule, 0.6000000 s "
                           "exactly; the optimum 0.5423553 s; the cycloid 0.5713942 s.</desc>"));
}

} // namespace

// --- the pictures laid out for a narrow width ---------------------------------

namespace {

// A <text> element of a picture: its place, its anchor and its words (the
// text before any child).
struct ShownText {
    double x, y;
    std::string anchor, words;
};

std::vector<ShownText> TextsOf(const std::string &svg)
{
    std::vector<ShownText> texts;
    for (std::size_t at = svg.find("<text "); at != std::string::npos;
         at = svg.find("<text ", at + 1)) {
        std::size_t close = svg.find('>', at);
        std::string tag = svg.substr(at, close - at);
        ShownText t;
        t.x = std::stod(AttributeAfter(tag, 0, "x"));
        t.y = std::stod(AttributeAfter(tag, 0, "y"));
        t.anchor = AttributeAfter(tag, 0, "text-anchor");
        t.words = svg.substr(close + 1, svg.find('<', close) - close - 1);
        while (!t.words.empty() && (t.words.back() == '\n' || t.words.back() == ' '))
            t.words.pop_back();
        texts.push_back(t);
    }
    return texts;
}

// Every word of `text` among the words of the picture's texts, in order.
bool WordsInOrder(const std::vector<ShownText> &texts, const std::string &text)
{
    std::string all;
    for (const ShownText &t : texts)
        all += t.words + " ";
    std::size_t from = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = std::min(text.find(' ', i), text.size());
        std::string word = text.substr(i, end - i);
        from = all.find(word, from);
        if (from == std::string::npos)
            return false;
        from += word.size();
        i = end + 1;
    }
    return true;
}

} // namespace

TEST(NarrowPictures, EachFitsTheWidthItIsHandedAndKeepsItsWords)
{
    const int en = WordLanguageOf("en");
    FatesChartText fates = FatesChartWords(en);
    ConvergenceText convergence = ConvergenceWords(en);
    MethodChartText methods = MethodChartWords(en);
    LabPictureState lab = LabStateOf(1.0, 0.92, 20, LAB_DEPTH);
    std::vector<LabCurvePoint> labPoints = {{0, 0.6, 0.62}, {1, 0.59, 0.61}, {30000, 0.58, 0.6}};
    std::vector<RunSample> samples = {{1, 0.5848185, 0.622, 0}, {250000, 0.5822105, 0.617, 0}};
    Recorder nothing;
    RunResult run = RecordRun(MethodSetting{METHOD_PROGRAM, 0, 0}, 1, &nothing);
    std::vector<Fate> cells = {{20, 0, 10, 1, 542355, 542355}, {120, 17, 0, 0, 560000, 570000}};
    std::vector<double> betas;
    for (int k = 0; k <= 19; ++k)
        betas.push_back(k / 20.0);
    std::vector<MethodCurve> curves = {
        {MethodSetting{METHOD_PROGRAM, 50, 0}, samples},
        {MethodSetting{METHOD_HEAVY_BALL, 80, 0.35}, samples}};
    for (RunSample &s : curves[0].points)
        s.distance = 1e-3;
    // Each picture at a width, with its title (all of whose words must be
    // shown) and the width the desktop's is drawn at.
    const struct {
        const char *name;
        std::function<std::string(int)> at;
        std::string title;
        int desktop;
    } pictures[] = {
        {"convergence", [&](int w) { return ConvergencePicture(samples, 0.0001, 0, convergence, w); },
         Filled(convergence.titleAtStart, {{"alpha", "0.0001"}}), 800},
        {"fates", [&](int w) { return FatesChart(SomeFates(), 20000, 57.30576853817054, 100, fates, w); },
         fates.title, 800},
        {"race", [&](int w) { return RacePicture(run, 10, RaceWords(en), w); }, "", 640},
        {"curve race", [&](int w) {
             return CurveRacePicture({{0, 1, 3, 4}, {0, 1, -1, 1}}, 2, CurveRaceWords(en), w); },
         "", 640},
        {"map", [&](int w) {
             return MapChart(METHOD_HEAVY_BALL, cells, betas, 100000, StabilityLimit(), methods, w); },
         "", 800},
        {"comparison", [&](int w) { return CompareChart(curves, methods, w); }, methods.compareTitle,
         800},
        {"lab still", [&](int w) { return LabStillPicture(lab, LabStillWords(en), w); }, "", 760},
        {"lab convergence", [&](int w) {
             return LabConvergencePicture(lab.problem, labPoints, 0.5423553, 0.5713942, "Newton",
                                          LabConvergenceWords(en), w); }, "", 800},
        {"lab refinement", [&](int w) {
             return LabRefinementPicture(lab.problem, PowerLawTable({5, 10, 20, 40, 80, 160, 320,
                                                                     640, 1280, 2560, 5120}),
                                         LabRefinementWords(en), w); }, "", 800},
    };
    for (const auto &p : pictures) {
        // The desktop's picture at its own width, or with none asked for.
        EXPECT_EQ(p.at(p.desktop), p.at(0)) << p.name;
        EXPECT_EQ(p.at(p.desktop + 100), p.at(0)) << p.name;
        for (int width : {300, 332, 605}) {
            std::string svg = p.at(width);
            std::string why;
            ASSERT_TRUE(WellFormed(svg, &why)) << p.name << " at " << width << ": " << why;
            std::string w = std::to_string(width);
            EXPECT_EQ(AttributeAfter(svg, 0, "width"), w) << p.name;
            double height = std::stod(AttributeAfter(svg, 0, "height"));
            EXPECT_EQ(AttributeAfter(svg, 0, "viewBox"), "0 0 " + w + " " +
                      AttributeAfter(svg, 0, "height")) << p.name;
            // Every text starts, ends or is centred inside the picture,
            // and none is lower than it.
            std::vector<ShownText> texts = TextsOf(svg);
            ASSERT_FALSE(texts.empty()) << p.name;
            for (const ShownText &t : texts) {
                EXPECT_GE(t.x, 0.0) << p.name << " at " << width << ": " << t.words;
                EXPECT_LE(t.x, width) << p.name << " at " << width << ": " << t.words;
                EXPECT_GT(t.y, 0.0) << p.name << " at " << width << ": " << t.words;
                EXPECT_LE(t.y, height) << p.name << " at " << width << ": " << t.words;
            }
            if (!p.title.empty()) {
                EXPECT_TRUE(WordsInOrder(texts, p.title)) << p.name << " at " << width;
            }
        }
    }
}

TEST(WrappedLines, WholeWordsInLinesNoWiderThanTheWidth)
{
    // At 12 px a character is counted 6.6 pixels wide: "aaaa bbbb" is 59.4.
    static const struct {
        const char *text;
        double width, size;
        std::vector<std::string> lines;
    } cases[] = {
        {"aaaa bbbb", 60, 12, {"aaaa bbbb"}},
        {"aaaa bbbb", 59, 12, {"aaaa", "bbbb"}},
        {"aaaa bbbb cc", 40, 12, {"aaaa", "bbbb", "cc"}},
        {"aaaa bbbb", 60, 24, {"aaaa", "bbbb"}},        // twice as wide at 24 px
        {"aaaaaaaaaaaa b", 30, 12, {"aaaaaaaaaaaa", "b"}},  // a word wider than the width
        {"", 100, 12, {""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WrappedLines(c.text, c.width, c.size), c.lines) << c.text << " in " << c.width;
}

TEST(SpacedLabels, EveryKthLabelTheFewestLeftOut)
{
    // Ticks 0..10 on an axis from pixel 0 to 100: 10 pixels apart.
    ChartAxis axis = {0, 10, 0, 100, false};
    std::vector<AxisTick> ticks;
    for (int v = 0; v <= 10; ++v)
        ticks.push_back({static_cast<double>(v), std::to_string(v)});
    const struct {
        bool across;
        double gap;
        const char *kept;  // the labels left, joined by spaces
    } cases[] = {
        // Across, one-digit labels 6.6 wide, "10" 13.2: from 9 to 10 the
        // halves of the two take 9.9 of the 10 pixels.
        {true, 0, "0 1 2 3 4 5 6 7 8 9 10"},
        // A gap of 3: 9.9 + 3 > 10; every second: 20 >= 9.9 + 3.
        {true, 3, "0 2 4 6 8 10"},
        // Every third: 30 >= 6.6 + 20 (and 9 stands alone at the end).
        {true, 20, "0 3 6 9"},
        // Up, a line is 14 pixels: every second at a gap of 2.
        {false, 2, "0 2 4 6 8 10"},
        // No two fit: the first alone.
        {false, 200, "0"},
    };
    for (const auto &c : cases) {
        std::string kept;
        for (const AxisTick &t : SpacedLabels(ticks, axis, c.across, c.gap))
            if (!t.label.empty())
                kept += (kept.empty() ? "" : " ") + t.label;
        EXPECT_EQ(kept, c.kept) << c.across << " " << c.gap;
    }
}
