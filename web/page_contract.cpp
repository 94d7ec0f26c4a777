// The contract the script reads once from each instance of the module: the
// layout table of page_contract.h and the program's constants the page
// uses, as one JSON text made at the first call:
//   structs: {name: {size, fields: {field: {offset, type, count}}}}
//   places:  {name: {struct, address, count}}, the fixed records
//   timerPeriodMs, nodeCount, fateStepLimit,
//   scroll: {min, max, start, ignored, codes: {name: code}},
//   raceTracks: [the ids of the race's tracks, in order],
//   languages: {es, en}, the panel's pictures' languages,
//   methods: {program, gradient, heavy-ball, nesterov, newton}, their codes,
//   map: {first, last, every, betas, stepLimit}, the map of fates' cells,
//   plot: {background, cycloid, target, frame, penWidth} (red in the low byte).
#include "page_contract.h"

#include "controls.h"
#include "curve_state.h"
#include "fates.h"
#include "method_fates.h"
#include "methods.h"
#include "plot_layout.h"
#include "race.h"

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

#define PAGE_STRUCT_ROW(S, size) {#S, nullptr, nullptr, 0, (size)},
#define PAGE_FIELD_ROW(S, f, element, count, offset) {#S, #f, #element, (count), (offset)},
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

// The JSON text written as it goes; no name or text here needs an escape.
struct Json {
    std::string text;

    // A member's name, after a comma unless it is the first of its object.
    void Name(const char *name)
    {
        if (text.back() != '{')
            text += ',';
        text += '"';
        text += name;
        text += "\":";
    }
    void Number(const char *name, long long value)
    {
        Name(name);
        text += std::to_string(value);
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
        Name(name);
        text += '{';
        for (const Constant *c = from; c != to; ++c)
            Number(c->name, c->value);
        text += '}';
    }
};

std::string MakeContract()
{
    Json j{"{"};
    j.Name("structs");
    j.text += '{';
    const char *open = nullptr; // the struct whose fields are being listed
    for (const LayoutRow &row : LAYOUT) {
        if (!row.field) {
            if (open)
                j.text += "}}";
            open = row.structName;
            j.Name(open);
            j.text += '{';
            j.Number("size", row.number);
            j.Name("fields");
            j.text += '{';
            continue;
        }
        j.Name(row.field);
        j.text += '{';
        j.Number("offset", row.number);
        j.Text("type", row.element);
        j.Number("count", row.count);
        j.text += '}';
    }
    j.text += "}}}";

    const Place places[] = {
        {"record", "CurveStateRecord", &CurveState, 1},
        {"targetLines", "PlotLine", TARGET_LINES, TARGET_LINE_COUNT},
        {"frameLines", "PlotLine", FRAME_LINES, FRAME_LINE_COUNT},
        {"captions", "PlotCaption", PLOT_CAPTIONS, CAPTION_COUNT},
    };
    j.Name("places");
    j.text += '{';
    for (const Place &p : places) {
        j.Name(p.name);
        j.text += '{';
        j.Text("struct", p.structName);
        j.Number("address", static_cast<long long>(reinterpret_cast<std::uintptr_t>(p.address)));
        j.Number("count", p.count);
        j.text += '}';
    }
    j.text += '}';

    const Constant numbers[] = {
        {"timerPeriodMs", WINDOW_TIMER_PERIOD_MS},
        {"nodeCount", NODE_COUNT},
        {"fateStepLimit", FATE_STEP_LIMIT_DEFAULT},
    };
    for (const Constant &c : numbers)
        j.Number(c.name, c.value);

    const Constant scroll[] = {
        {"min", ALPHA_POS_MIN},
        {"max", ALPHA_POS_MAX},
        {"start", ALPHA_POS_START},
        {"ignored", SCROLL_IGNORED},
    };
    j.Name("scroll");
    j.text += '{';
    for (const Constant &c : scroll)
        j.Number(c.name, c.value);
    j.Numbers("codes", std::begin(SCROLL_CODES), std::end(SCROLL_CODES));
    j.text += '}';

    j.Name("raceTracks");
    j.text += '[';
    for (int t = 0; t < RACE_TRACKS; ++t)
        j.text += std::string(t ? ",\"" : "\"") + RACE_TRACK_ID[t] + '"';
    j.text += ']';

    const Constant languages[] = {{"es", PAGE_SPANISH}, {"en", PAGE_ENGLISH}};
    j.Numbers("languages", std::begin(languages), std::end(languages));

    Constant methods[METHOD_COUNT];
    for (int m = 0; m < METHOD_COUNT; ++m)
        methods[m] = {METHOD_NAME[m], m};
    j.Numbers("methods", std::begin(methods), std::end(methods));
    const Constant map[] = {
        {"first", MAP_POSITION_EVERY},
        {"last", METHOD_POS_MAX},
        {"every", MAP_POSITION_EVERY},
        {"betas", MAP_BETAS},
        {"stepLimit", CELL_STEP_LIMIT_DEFAULT},
    };
    j.Numbers("map", std::begin(map), std::end(map));

    const Constant plot[] = {
        {"background", PLOT_BACKGROUND},
        {"cycloid", CYCLOID_COLOR},
        {"target", TARGET_COLOR},
        {"frame", FRAME_COLOR},
        {"penWidth", PLOT_PEN_WIDTH},
    };
    j.Numbers("plot", std::begin(plot), std::end(plot));
    j.text += '}';
    return j.text;
}

std::string Contract;
std::string Given;
PageText GivenText;

} // namespace

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
