// A small SVG writer. An element is its name, its attributes in the order
// they are written, and its content: a text and child elements. Written
// out, every attribute value and every text is escaped. How the content is
// laid out (on the element's line, or a child a line) is the element's own,
// so that a picture keeps the lines and indentation it has always had.
#ifndef RODADERO_PICTURES_SVG_WRITER_H
#define RODADERO_PICTURES_SVG_WRITER_H

#include <string>
#include <vector>

struct SvgAttribute {
    std::string name;
    std::string value;
};

enum SvgLayout {
    SVG_EMPTY,       // no content, self-closing: <rect .../>
    SVG_ONE_LINE,    // the text, then the children, on the element's line
    SVG_LINES,       // the text on the element's line, then each child on a
                     // line of its own two spaces deeper, then the end tag
                     // on a line of its own
    SVG_FLAT_LINES,  // as SVG_LINES, the children as deep as the element
};

struct SvgElement {
    std::string name;
    SvgLayout layout;
    std::vector<SvgAttribute> attributes;
    std::string text;
    std::vector<SvgElement> children;
    int indent;  // spaces before it beyond those its parent gives its children

    // Adds an attribute after those it has; returns the element.
    SvgElement &Set(const std::string &attribute, const std::string &value);
    // Adds children after those it has; returns the element.
    SvgElement &Add(SvgElement child);
    SvgElement &Add(std::vector<SvgElement> more);
};

// An element with no content: <line .../>.
SvgElement SvgEmpty(const std::string &name);
// An element holding a text, on one line: <text ...>label</text>.
SvgElement SvgText(const std::string &name, const std::string &text);
// An element holding children, laid out as `layout` says.
SvgElement SvgGroup(const std::string &name, SvgLayout layout = SVG_LINES);

// The text with & < > and " as entities: safe inside an element and inside
// an attribute value between double quotes, the only way values are
// written here (so the apostrophe needs no entity).
std::string SvgEscaped(const std::string &text);

// The element on a line of its own, `indent` spaces in, with its content.
std::string SvgWritten(const SvgElement &element, int indent = 0);

#endif
