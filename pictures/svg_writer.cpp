// Elements written out as SVG text.
#include "svg_writer.h"

#include <utility>

namespace {

// The element at `column` (on a line of its own when `ownLine`), appended
// to out.
void Write(const SvgElement &e, int column, bool ownLine, std::string *out)
{
    column += e.indent;
    if (ownLine)
        out->append(column, ' ');
    *out += "<" + e.name;
    for (const SvgAttribute &a : e.attributes)
        *out += " " + a.name + "=\"" + SvgEscaped(a.value) + "\"";
    switch (e.layout) {
    case SVG_EMPTY:
        *out += "/>";
        break;
    case SVG_ONE_LINE:
        *out += ">" + SvgEscaped(e.text);
        for (const SvgElement &child : e.children)
            Write(child, 0, false, out);
        *out += "</" + e.name + ">";
        break;
    case SVG_LINES:
    case SVG_FLAT_LINES:
        *out += ">" + SvgEscaped(e.text) + "\n";
        for (const SvgElement &child : e.children)
            Write(child, e.layout == SVG_LINES ? column + 2 : column, true, out);
        out->append(column, ' ');
        *out += "</" + e.name + ">";
        break;
    }
    if (ownLine)
        *out += "\n";
}

SvgElement Element(const std::string &name, SvgLayout layout, const std::string &text)
{
    return SvgElement{name, layout, {}, text, {}, 0};
}

} // namespace

SvgElement &SvgElement::Set(const std::string &attribute, const std::string &value)
{
    attributes.push_back({attribute, value});
    return *this;
}

SvgElement &SvgElement::Add(SvgElement child)
{
    children.push_back(std::move(child));
    return *this;
}

SvgElement &SvgElement::Add(std::vector<SvgElement> more)
{
    for (SvgElement &child : more)
        children.push_back(std::move(child));
    return *this;
}

SvgElement SvgEmpty(const std::string &name)
{
    return Element(name, SVG_EMPTY, "");
}

SvgElement SvgText(const std::string &name, const std::string &text)
{
    return Element(name, SVG_ONE_LINE, text);
}

SvgElement SvgGroup(const std::string &name, SvgLayout layout)
{
    return Element(name, layout, "");
}

std::string SvgEscaped(const std::string &text)
{
    std::string safe;
    for (char c : text) {
        switch (c) {
        case '&':
            safe += "&amp;";
            break;
        case '<':
            safe += "&lt;";
            break;
        case '>':
            safe += "&gt;";
            break;
        case '"':
            safe += "&quot;";
            break;
        default:
            safe += c;
        }
    }
    return safe;
}

std::string SvgWritten(const SvgElement &element, int indent)
{
    std::string out;
    Write(element, indent, true, &out);
    return out;
}
