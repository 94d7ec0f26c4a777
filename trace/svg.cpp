// The picture that --svg writes, and how it reaches its file.
//
// The picture uses the window's scale, 400 pixels to the model unit, and its
// 600 x 400 frame, but draws the polyline at the model's own depths (the end
// point at (400, 368)), so that it meets the brachistochrone through
// (1, 0.92); the window draws the drop as 366 pixels.
#include "trace.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

const double SCALE = 400.0;  // pixels per model unit
const int MARGIN = 20;
const int WIDTH = 740;       // the cycloid runs out to x = 691
const int HEIGHT = 500;
const int BRACHISTOCHRONE_SAMPLES = 200;

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::string Point(double x, double y)
{
    return Number(SCALE * x) + "," + Number(SCALE * y);
}

std::string Polyline(const char *id, const char *colour, const char *extra,
                     const std::string &points)
{
    return std::string("  <polyline id=\"") + id + "\" stroke=\"" + colour + "\"" + extra +
           " points=\"" + points + "\"/>\n";
}

} // namespace

std::string SvgPicture(const TraceSummary &summary)
{
    Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);

    std::string polyline = Point(0.0, 0.0);
    for (int k = 1; k < NODE_COUNT; ++k) {
        double x = k == NODE_COUNT - 1 ? END_X : CurveState.ShownX[k];
        polyline += " " + Point(x, k * DEPTH_STEP);
    }

    std::string cycloid;
    for (int k = 0; k < NODE_COUNT; ++k)
        cycloid += (k ? " " : "") + Point(CurveState.CycloidPts[k].x, CurveState.CycloidPts[k].y);

    std::string exact;
    for (int n = 0; n <= BRACHISTOCHRONE_SAMPLES; ++n) {
        double theta = b.endTheta * n / BRACHISTOCHRONE_SAMPLES;
        exact += (n ? " " : "") + Point(b.radius * (theta - std::sin(theta)),
                                        b.radius * (1.0 - std::cos(theta)));
    }

    char caption[2][300];
    std::snprintf(caption[0], sizeof caption[0],
                  "Red: the polyline after %ld steps (Alpha %.17g), model time %.6f s, "
                  "exact time %.6f s.",
                  summary.steps, summary.alpha, summary.modelTime, summary.exactTime);
    std::snprintf(caption[1], sizeof caption[1],
                  "Blue: the cycloid as the window samples it. Green, dashed: the "
                  "brachistochrone through (1, 0.92), %.6f s.",
                  b.time);

    std::string w = std::to_string(WIDTH);
    std::string h = std::to_string(HEIGHT);
    std::string end = Point(END_X, END_DEPTH);
    std::string endX = Number(SCALE * END_X);
    std::string endY = Number(SCALE * END_DEPTH);

    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
           "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    svg += "<title>rodadero-trace: the polyline after " + std::to_string(summary.steps) +
           " steps</title>\n";
    svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";
    svg += "<g transform=\"translate(" + std::to_string(MARGIN) + "," + std::to_string(MARGIN) +
           ")\" fill=\"none\" stroke-width=\"2\" stroke-linejoin=\"round\">\n";
    svg += "  <path id=\"target\" stroke=\"#d8c800\" d=\"M" + endX + ",0 V" + endY + " M0," +
           endY + " H" + endX + "\"/>\n";
    svg += "  <rect id=\"frame\" stroke=\"black\" x=\"0\" y=\"0\" width=\"600\" height=\"400\"/>\n";
    // The three nearly coincide: the dashed curve goes on top, thinner.
    svg += Polyline("cycloid", "#0096fa", "", cycloid);
    svg += Polyline("polyline", "#ff0000", " stroke-width=\"3\"", polyline);
    svg += Polyline("brachistochrone", "#00a050", " stroke-width=\"1.5\" stroke-dasharray=\"6 6\"",
                    exact);
    svg += "</g>\n";
    svg += "<g font-family=\"sans-serif\" font-size=\"13\" fill=\"black\">\n";
    svg += "  <text x=\"" + std::to_string(MARGIN) + "\" y=\"448\">" + caption[0] + "</text>\n";
    svg += "  <text x=\"" + std::to_string(MARGIN) + "\" y=\"470\">" + caption[1] + "</text>\n";
    svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

std::string SvgTempPath(const std::string &path)
{
#ifdef _WIN32
    long id = _getpid();
#else
    long id = static_cast<long>(getpid());
#endif
    return path + ".tmp-" + std::to_string(id);
}

std::FILE *OpenSvgTemp(const std::string &path, std::string *error)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *error = "rodadero-trace: --svg cannot write '" + path + "': it is a folder";
        return nullptr;
    }
    std::string tmp = SvgTempPath(path);
    std::FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        *error = "rodadero-trace: --svg cannot write '" + path + "': " + std::strerror(errno);
        return nullptr;
    }
    return f;
}

bool FinishSvg(std::FILE *tmp, const std::string &path, const std::string &text,
               std::string *error)
{
    std::string tmpPath = SvgTempPath(path);
    bool written = std::fwrite(text.data(), 1, text.size(), tmp) == text.size();
    written = std::fflush(tmp) == 0 && written;
    written = std::fclose(tmp) == 0 && written;
    std::error_code ec;
    if (written)
        std::filesystem::rename(tmpPath, path, ec);
    if (!written || ec) {
        *error = "rodadero-trace: --svg could not write '" + path + "'" +
                 (ec ? ": " + ec.message() : std::string());
        std::remove(tmpPath.c_str());
        return false;
    }
    return true;
}
