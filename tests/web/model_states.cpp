// The model's state after a run of steps, printed by the native build: the
// expected values of the web page's scenario table.
//
// model_states RUN...
// Each RUN is a list of actions separated by commas, applied from the
// state at window creation (the chord, step factor 0.0001): "N" takes N
// descent steps, "alpha=V" sets the step factor to the double V (decimal,
// read exactly), "reset" runs InitCurves. For each RUN one line of JSON:
// the bit patterns of NodeX, ShownX and FallTime, as 16 hex digits each.
#include "curve_state.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    char s[24];
    std::snprintf(s, sizeof s, "\"%016" PRIx64 "\"", b);
    return s;
}

std::string Array(const double *v, int n)
{
    std::string s = "[";
    for (int i = 0; i < n; ++i)
        s += (i ? "," : "") + Bits(v[i]);
    return s + "]";
}

bool Run(const std::string &run)
{
    CurveState = RecordAfterWindowCreation();
    size_t at = 0;
    while (at <= run.size() && !run.empty()) {
        size_t end = run.find(',', at);
        std::string action = run.substr(at, end == std::string::npos ? std::string::npos : end - at);
        char *rest = nullptr;
        if (action == "reset") {
            InitCurves(CurveState.ScreenPts);
        } else if (action.compare(0, 6, "alpha=") == 0) {
            CurveState.Alpha = std::strtod(action.c_str() + 6, &rest);
            if (*rest != '\0')
                return false;
        } else {
            long steps = std::strtol(action.c_str(), &rest, 10);
            if (action.empty() || *rest != '\0' || steps < 0)
                return false;
            for (long i = 0; i < steps; ++i)
                DescentStep();
        }
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    std::printf("{\"nodeX\":%s,\"shownX\":%s,\"fallTime\":%s}\n",
                Array(CurveState.NodeX, NODE_COUNT).c_str(),
                Array(CurveState.ShownX, NODE_COUNT).c_str(), Bits(CurveState.FallTime).c_str());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!Run(argv[i])) {
            std::fprintf(stderr, "model_states: bad run \"%s\"\n", argv[i]);
            return 2;
        }
    }
    return 0;
}
