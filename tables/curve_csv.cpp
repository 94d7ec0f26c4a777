// A curve as CSV text, read and written, and its race's rows.
#include "curve_csv.h"

#include "csv.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// A text as an error line shows it: between apostrophes, control
// characters as '?', cut short after 40 characters.
std::string Quoted(const std::string &text)
{
    const std::size_t most = 40;
    std::string q = "'";
    for (std::size_t i = 0; i < text.size() && i < most; ++i) {
        char c = text[i];
        q += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
    }
    return q + (text.size() > most ? "...'" : "'");
}

std::string Trimmed(const std::string &text)
{
    std::size_t from = text.find_first_not_of(" \t");
    if (from == std::string::npos)
        return std::string();
    return text.substr(from, text.find_last_not_of(" \t") - from + 1);
}

// The fields of a line between its commas, each trimmed of spaces.
std::vector<std::string> Fields(const std::string &line)
{
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
        std::size_t comma = line.find(',', from);
        fields.push_back(Trimmed(line.substr(from, comma == std::string::npos ? comma : comma - from)));
        if (comma == std::string::npos)
            return fields;
        from = comma + 1;
    }
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether a text is a decimal number: a sign, digits with at most one
// point among them (at least one digit), and an exponent, its own sign
// and digits. strtod takes more (inf, nan, hexadecimal, leading spaces):
// it reads only what passes here.
bool IsDecimal(const std::string &text)
{
    std::size_t i = 0, n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponent = 0;
        while (i < n && IsDigit(text[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == n;
}

// One number of line `line`; false with the error where it is none, or
// beyond a double's range.
bool ReadNumber(const std::string &text, long line, double *value, std::string *error)
{
    if (!IsDecimal(text)) {
        *error = "line " + std::to_string(line) + ": " + Quoted(text) + " is not a number";
        return false;
    }
    *value = std::strtod(text.c_str(), nullptr);
    if (!(std::fabs(*value) <= CURVE_COORDINATE_MAX)) {
        *error = "line " + std::to_string(line) + ": " + Quoted(text) +
                 " is out of range: a coordinate is at most " + ShortestDouble(CURVE_COORDINATE_MAX) +
                 " either way";
        return false;
    }
    return true;
}

// The file's lines: split at "\n", each without a "\r" at its end, the
// empty text after a last "\n" left out, and blank lines at the end too.
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        std::string line = text.substr(from, end == std::string::npos ? end : end - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    while (!lines.empty() && Trimmed(lines.back()).empty())
        lines.pop_back();
    return lines;
}

} // namespace

bool ReadCurveCsv(const std::string &text, LabPolyline *curve, std::string *error)
{
    const std::string mark = "\xEF\xBB\xBF";
    std::vector<std::string> lines =
        Lines(text.compare(0, mark.size(), mark) == 0 ? text.substr(mark.size()) : text);
    if (lines.empty()) {
        *error = "the file is empty: it needs the header x,y and a line x,y for each point";
        return false;
    }
    std::vector<std::string> header = Fields(lines[0]);
    if (header.size() != 2 || header[0] != "x" || header[1] != "y") {
        *error = "line 1: expected the header x,y, not " + Quoted(lines[0]);
        return false;
    }
    LabPolyline read;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const long line = static_cast<long>(i) + 1;
        if (i > static_cast<std::size_t>(LAB_INTERVALS_MAX) + 1) {
            *error = "line " + std::to_string(line) + ": a curve has at most " +
                     std::to_string(LAB_INTERVALS_MAX + 1) + " points, " +
                     std::to_string(LAB_INTERVALS_MAX) + " intervals";
            return false;
        }
        std::vector<std::string> fields = Fields(lines[i]);
        if (fields.size() != 2) {
            *error = "line " + std::to_string(line) + ": expected a point x,y, not " +
                     Quoted(lines[i]);
            return false;
        }
        double x, y;
        if (!ReadNumber(fields[0], line, &x, error) || !ReadNumber(fields[1], line, &y, error))
            return false;
        if (i == 1 && (x != 0.0 || y != 0.0)) {
            *error = "line 2: the curve starts at (" + fields[0] + ", " + fields[1] +
                     "), not at (0, 0)";
            return false;
        }
        read.x.push_back(x);
        read.y.push_back(y);
    }
    const std::size_t points = read.x.size();
    if (points < 2) {
        *error = std::string(points == 0 ? "no point" : "only one point") +
                 " after the header: a curve needs at least two, from (0, 0) to its end";
        return false;
    }
    const std::string last = "line " + std::to_string(lines.size()) + ": the end (" +
                             Fields(lines.back())[0] + ", " + Fields(lines.back())[1] + ")";
    if (!(read.y.back() > 0.0)) {
        *error = last + " is not below the start: its y must be above 0";
        return false;
    }
    if (read.x.back() < 0.0) {
        *error = last + " is left of the start: its x must not be below 0";
        return false;
    }
    *curve = read;
    return true;
}

std::string CurveCsv(const LabPolyline &curve)
{
    std::string text = "x,y\n";
    for (std::size_t k = 0; k < curve.x.size(); ++k)
        text += FormatDouble(curve.x[k]) + "," + FormatDouble(curve.y[k]) + "\n";
    return text;
}

std::string CurveRaceRows(const CurveRaceTimes &times)
{
    return "bead,arrival_s\n"
           "curve," + (times.curve.arrives ? FormatDouble(times.curve.time) : std::string()) +
           "\n"
           "cycloid," + FormatDouble(times.cycloid) + "\n"
           "line," + FormatDouble(times.line) + "\n";
}

std::string CurveFateWords(const CurveArrival &arrival)
{
    if (arrival.arrives)
        return "arrives after " + ShortestDouble(arrival.time) + " s";
    if (!arrival.moves)
        return "never moves: at rest at the start's height, it goes on only down a "
               "descending segment";
    // Point k of the curve is on line k + 2 of its file, under the header.
    return "never arrives: the curve climbs back to the start's height between the points "
           "of lines " + std::to_string(arrival.stopSegment + 2) + " and " +
           std::to_string(arrival.stopSegment + 3) + ", where the bead stops at (" +
           ShortestDouble(arrival.stopX) + ", 0) " + ShortestDouble(arrival.turnTime) +
           " s after its release and slides back, for ever";
}
