// The XML side of the SVG reader (svg.cpp): one pass over a document that
// finds a linearGradient and takes its stops and the document's first desc.
// expat does it on Linux (svgexpat.cpp), the system's XmlLite on Windows
// (windows/svgxmllite.cpp); both take names without a namespace prefix and
// look no namespace up, so "svg:stop" is a stop and an undeclared "xlink:"
// prefix is no error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace palettes {

// More stops than any gradient has; the stops of larger files are refused so
// that memory stays bounded.
constexpr size_t kMaxSvgStops = 65536;

// A stop as its attributes give it, references and entities decoded.
struct StopText {
    std::string offset;  // "0" when the stop has none
    std::string colour;
};

struct Gradient {
    std::string id;
    std::string href;             // the gradient whose stops this one uses, without '#'
    std::vector<StopText> stops;  // each stop's offset and colour
};

// A stop's text from its attributes (null where it has none): a colour in
// its style rules over the stop-color attribute.
StopText stoptext(const char* offset, const char* stopcolour, const char* style);

// An element's name without its namespace prefix.
inline std::string_view localname(std::string_view name) {
    size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// What one pass found.
struct SvgScan {
    std::string failure;       // empty when the parse went well, else "line N: why"
    bool outofmemory = false;  // ... and the failure is the parser's lack of memory
    bool found = false;        // the gradient looked for
    bool toomany = false;      // ... has more than kMaxSvgStops stops
    Gradient gradient;
    std::string description;  // the text of the first desc element
};

// Finds the first linearGradient, or with `wanted` the one of that id, and
// keeps only that gradient's stops, so memory stays bounded however many
// gradients the file holds. Without `wanted` the whole document is read, to
// know it is well-formed; with it the pass stops at the gradient's end.
SvgScan scansvg(std::string_view doc, const std::string* wanted);

}  // namespace palettes
