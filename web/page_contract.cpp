// The contract the script reads once from each instance of the module: the
// layout table of page_contract.h and the program's constants the page
// uses, as one JSON text made at the first call:
//   structs: {name: {size, fields: {field: {offset, type, count}}}}
//   places:  {name: {struct, address, count}}, the fixed records
//   timerPeriodMs, nodeCount, fateStepLimit, descentLookAhead (the picture's
//         reading's, in steps),
//   scroll: {min, max, start, ignored, codes: {name: code}},
//   raceTracks: [the ids of the race's tracks, in order], curveRaceBeads:
//         [those of the race of a drawn curve's beads],
//   languages: {code: index}, the languages of the pictures' words,
//   methods: {program, gradient, heavy-ball, nesterov, newton}, their codes,
//   map: {first, last, every, betas: [{value, id}, the map's momenta in
//         order, each with what its cells' ids in the map end in],
//         stepLimit}, the map of fates' cells, a momentum named everywhere
//         by its index in betas,
//   pictureSides: {along, above, below, crossing}, descents: {waiting,
//         moving, toSettle, toSwing, settled, swinging, growing}, the picture's
//         reading's codes (PictureReading),
//   plot: {background, cycloid, target, frame, penWidth} (red in the low byte),
//   lab: {layouts: {depth, width}, rules: {midpoint, exact}, their codes;
//         intervalsMin, intervalsMax, endMax, ratioMin, ratioMax, betaMax,
//         stepsMax; start: {x, y, intervals, layout, rule, ratio, beta}},
//         the laboratory's card's ranges and the state it starts in.
#include "page_contract.h"

#include "controls.h"
#include "csv.h"
#include "curve_race_picture.h"
#include "curve_state.h"
#include "fates.h"
#include "lab_csv.h"
#include "lab_run.h"
#include "method_charts.h"
#include "methods.h"
#include "picture_words.h"
#include "plot_layout.h"
#include "race.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>

namespace {

// A row of the layout table: a struct (field null, number its size) or one
// of its fields (number its offset).
struct LayoutRow {
    const char *structName;
    const char *field;
    const char *element;
    long long count;
    long long number;
};

#define PAGE_STRUCT_ROW(S) {#S, nullptr, nullptr, 0, sizeof(S)},
// A field's count is of its elements: a pixel point counts as two.
#define PAGE_FIELD_ROW(S, f, element)                                                    \
    {#S, #f, #element, sizeof(S::f) / (sizeof(PageElement::element)), offsetof(S, f)},
const LayoutRow LAYOUT[] = {PAGE_LAYOUT(PAGE_STRUCT_ROW, PAGE_FIELD_ROW)};
#undef PAGE_STRUCT_ROW
#undef PAGE_FIELD_ROW

// A named number of the contract.
struct Constant {
    const char *name;
    long long value;
};

// The scroll bar's request codes, by the names the script sends them by.
const Constant SCROLL_CODES[] = {
    {"LINE_LEFT", SCROLL_LINE_LEFT},
    {"LINE_RIGHT", SCROLL_LINE_RIGHT},
    {"PAGE_LEFT", SCROLL_PAGE_LEFT},
    {"PAGE_RIGHT", SCROLL_PAGE_RIGHT},
    {"THUMB_POSITION", SCROLL_THUMB_POSITION},
    {"THUMB_TRACK", SCROLL_THUMB_TRACK},
    {"LEFT", SCROLL_TO_LEFT},
    {"RIGHT", SCROLL_TO_RIGHT},
    {"END", SCROLL_END},
};

// A fixed record the script reads: its struct, address and count.
struct Place {
    const char *name;
    const char *structName;
    const void *address;
    long long count;
};

// A JSON text written as it goes: each member or element after a comma
// unless it is the first of its object or list, and each object or list
// closed by End, innermost first. No name or text here needs an escape.
struct Json {
    std::string text;
    std::string closers; // of the objects and lists open, innermost last
    bool first = true;

    // A member's name, or in a list (null name) only the comma.
    void Name(const char *name)
    {
        if (!first)
            text += ',';
        first = false;
        if (name) {
            text += '"';
            text += name;
            text += "\":";
        }
    }
    void Begin(const char *name, char opener)
    {
        Name(name);
        text += opener;
        closers += opener == '{' ? '}' : ']';
        first = true;
    }
    void End()
    {
        text += closers.back();
        closers.pop_back();
        first = false;
    }
    void Number(const char *name, long long value)
    {
        Name(name);
        text += std::to_string(value);
    }
    void Decimal(const char *name, double value)
    {
        Name(name);
        text += ShortestDouble(value);
    }
    void Text(const char *name, const char *value)
    {
        Name(name);
        text += '"';
        text += value;
        text += '"';
    }
    void Numbers(const char *name, const Constant *from, const Constant *to)
    {
        Begin(name, '{');
        for (const Constant *c = from; c != to; ++c)
            Number(c->name, c->value);
        End();
    }
};

// structs: each struct of the layout table with its fields.
void LayoutTo(Json *j)
{
    j->Begin("structs", '{');
    const std::size_t rows = std::size(LAYOUT);
    for (std::size_t i = 0; i < rows;) {
        const LayoutRow &s = LAYOUT[i++];
        j->Begin(s.structName, '{');
        j->Number("size", s.number);
        j->Begin("fields", '{');
        for (; i < rows && LAYOUT[i].field; ++i) {
            j->Begin(LAYOUT[i].field, '{');
            j->Number("offset", LAYOUT[i].number);
            j->Text("type", LAYOUT[i].element);
            j->Number("count", LAYOUT[i].count);
            j->End();
        }
        j->End();
        j->End();
    }
    j->End();
}

// lab: the laboratory's card.
void LabTo(Json *j)
{
    const LabProblem start;
    j->Begin("lab", '{');
    j->Begin("layouts", '{');
    for (int l = 0; l < 2; ++l)
        j->Number(LAB_LAYOUT_NAME[l], l);
    j->End();
    j->Begin("rules", '{');
    for (int r = 0; r < 2; ++r)
        j->Number(LAB_RULE_NAME[r], r);
    j->End();
    j->Number("intervalsMin", LAB_INTERVALS_MIN);
    j->Number("intervalsMax", LAB_INTERVALS_MAX);
    j->Decimal("endMax", LAB_PAGE_END_MAX);
    j->Decimal("ratioMin", LAB_PAGE_RATIO_MIN);
    j->Decimal("ratioMax", LAB_PAGE_RATIO_MAX);
    j->Decimal("betaMax", LAB_PAGE_BETA_MAX);
    j->Number("stepsMax", LAB_PAGE_STEPS_MAX);
    j->Begin("start", '{');
    j->Decimal("x", start.endX);
    j->Decimal("y", start.endY);
    j->Number("intervals", start.intervals);
    j->Number("layout", start.layout);
    j->Number("rule", start.rule);
    j->Decimal("ratio", LAB_STEP_RATIO_DEFAULT);
    j->Decimal("beta", LAB_PAGE_BETA_DEFAULT);
    j->End();
    j->End();
}

std::string MakeContract()
{
    Json j;
    j.Begin(nullptr, '{');
    LayoutTo(&j);

    const Place places[] = {
        {"record", "CurveStateRecord", &CurveState, 1},
        {"targetLines", "PlotLine", TARGET_LINES, TARGET_LINE_COUNT},
        {"frameLines", "PlotLine", FRAME_LINES, FRAME_LINE_COUNT},
        {"captions", "PlotCaption", PLOT_CAPTIONS, CAPTION_COUNT},
    };
    j.Begin("places", '{');
    for (const Place &p : places) {
        j.Begin(p.name, '{');
        j.Text("struct", p.structName);
        j.Number("address", static_cast<long long>(reinterpret_cast<std::uintptr_t>(p.address)));
        j.Number("count", p.count);
        j.End();
    }
    j.End();

    const Constant numbers[] = {
        {"timerPeriodMs", WINDOW_TIMER_PERIOD_MS},
        {"nodeCount", NODE_COUNT},
        {"fateStepLimit", FATE_STEP_LIMIT_DEFAULT},
        {"descentLookAhead", DESCENT_LOOKAHEAD},
    };
    for (const Constant &c : numbers)
        j.Number(c.name, c.value);

    // What the picture's reading says, by code: pictureSides[side] and
    // descents[descent] name them.
    const Constant sides[] = {
        {"along", SIDE_ALONG}, {"above", SIDE_ABOVE}, {"below", SIDE_BELOW},
        {"crossing", SIDE_CROSSING},
    };
    static_assert(std::size(sides) == PICTURE_SIDE_COUNT, "every side named");
    j.Numbers("pictureSides", std::begin(sides), std::end(sides));
    const Constant descents[] = {
        {"waiting", DESCENT_WAITING}, {"moving", DESCENT_MOVING}, {"toSettle", DESCENT_TO_SETTLE}, {"toSwing", DESCENT_TO_SWING},
        {"settled", DESCENT_SETTLED}, {"swinging", DESCENT_SWINGING}, {"growing", DESCENT_GROWING},
    };
    static_assert(std::size(descents) == DESCENT_DOING_COUNT, "every descent named");
    j.Numbers("descents", std::begin(descents), std::end(descents));

    const Constant scroll[] = {
        {"min", ALPHA_POS_MIN},
        {"max", ALPHA_POS_MAX},
        {"start", ALPHA_POS_START},
        {"ignored", SCROLL_IGNORED},
    };
    j.Begin("scroll", '{');
    for (const Constant &c : scroll)
        j.Number(c.name, c.value);
    j.Numbers("codes", std::begin(SCROLL_CODES), std::end(SCROLL_CODES));
    j.End();

    j.Begin("raceTracks", '[');
    for (const char *track : RACE_TRACK_ID)
        j.Text(nullptr, track);
    j.End();
    j.Begin("curveRaceBeads", '[');
    for (const char *bead : CURVE_RACE_ID)
        j.Text(nullptr, bead);
    j.End();

    j.Begin("languages", '{');
    for (int l = 0; l < WORD_LANGUAGE_COUNT; ++l)
        j.Number(WORD_LANGUAGES[l].code, l);
    j.End();

    Constant methods[METHOD_COUNT];
    for (int m = 0; m < METHOD_COUNT; ++m)
        methods[m] = {METHOD_NAME[m], m};
    j.Numbers("methods", std::begin(methods), std::end(methods));

    j.Begin("map", '{');
    j.Number("first", MAP_POSITION_EVERY);
    j.Number("last", METHOD_POS_MAX);
    j.Number("every", MAP_POSITION_EVERY);
    j.Begin("betas", '[');
    for (double beta : MapBetas()) {
        j.Begin(nullptr, '{');
        j.Decimal("value", beta);
        j.Text("id", MapCellBetaId(beta).c_str());
        j.End();
    }
    j.End();
    j.Number("stepLimit", CELL_STEP_LIMIT_DEFAULT);
    j.End();

    const Constant plot[] = {
        {"background", PLOT_BACKGROUND},
        {"cycloid", CYCLOID_COLOR},
        {"target", TARGET_COLOR},
        {"frame", FRAME_COLOR},
        {"penWidth", PLOT_PEN_WIDTH},
    };
    j.Numbers("plot", std::begin(plot), std::end(plot));
    LabTo(&j);
    j.End();
    return j.text;
}

std::string Contract;
std::string Given;
PageText GivenText;

} // namespace

int PageWords(int language)
{
    return language >= 0 && language < WORD_LANGUAGE_COUNT ? language : 0;
}

const PageText *GivePageText(std::string text)
{
    Given = std::move(text);
    GivenText.bytes = Given.data();
    GivenText.size = static_cast<std::int32_t>(Given.size());
    return &GivenText;
}

// The contract as a text ended by a zero byte, made once.
PAGE_EXPORT(rodadero_contract) const char *RodaderoContract()
{
    if (Contract.empty())
        Contract = MakeContract();
    return Contract.c_str();
}
