// SVG gradients (.svg): the palette as the colour stops of a linearGradient,
// with a rectangle painted in it so that the file also shows the palette.
//
// Reading takes the document's first linearGradient. expat parses the XML:
// comments, CDATA sections, entities and character references, and the
// encodings a document may declare. Names are taken without a namespace
// prefix, and namespaces are not looked up, so "svg:stop" is a stop and an
// undeclared "xlink:" prefix is no error. A document that is not well-formed
// XML is refused with expat's reason and the line.
//
// Sections: the parse; colours; reading; writing.
#include <expat.h>

#include <algorithm>
#include <cstring>

#include "palettes/codec.h"
#include "shell/io/textformat.h"

namespace palettes {

namespace {

const char* const kWhat = "Not an SVG gradient";
// More stops than any gradient has; the stops of larger files are refused so
// that memory stays bounded.
constexpr size_t kMaxStops = 65536;
// How many references from one gradient to another are followed for stops.
constexpr int kMaxReferences = 8;
// The offsets written: enough decimals that t = i/255 falls on its stop.
constexpr int kOffsetDecimals = 6;
// The picture the file shows: the palette as a strip.
constexpr int kStripWidth = 256;
constexpr int kStripHeight = 32;
// expat takes its input in pieces whose size fits an int.
constexpr size_t kPiece = 1 << 20;

// ---------------------------------------------------------------- the parse

// An element's name without its namespace prefix.
std::string_view localname(const XML_Char* name) {
    std::string_view n(name);
    size_t colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

// An attribute's value, by its full name ("xlink:href"), or nullptr.
const char* attribute(const XML_Char** attributes, const char* name) {
    for (const XML_Char** a = attributes; a[0] != nullptr; a += 2)
        if (strcmp(a[0], name) == 0) return a[1];
    return nullptr;
}

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

StopText stoptext(const XML_Char** attributes);

// One pass of expat over the document. It finds a linearGradient (the first
// one, or the one with the wanted id) and keeps only that gradient's stops,
// so memory stays bounded however many gradients the file holds; the first
// pass also takes the text of the first desc element.
class Scan {
  public:
    Scan(std::string_view doc, const std::string* wanted) : wanted_(wanted) {
        XML_Parser p = XML_ParserCreate(nullptr);
        if (p == nullptr) {
            outofmemory = true;
            failure_ = "out of memory";
            return;
        }
        XML_SetUserData(p, this);
        XML_SetElementHandler(p, started, ended);
        XML_SetCharacterDataHandler(p, text);
        parse(p, doc);
        XML_ParserFree(p);
    }

    const std::string& failure() const { return failure_; }  // empty when the parse went well
    bool outofmemory = false;  // ... and the failure is expat's lack of memory
    bool found = false;        // the gradient looked for
    bool toomany = false;      // ... has more than kMaxStops stops
    Gradient gradient;
    std::string description;

  private:
    void parse(XML_Parser p, std::string_view doc) {
        parser_ = p;
        bool last = false;
        while (!last) {
            const size_t n = std::min(doc.size(), kPiece);
            last = n == doc.size();
            if (XML_Parse(p, doc.data(), int(n), last) != XML_STATUS_OK) {
                // Stopping on purpose is no failure of the document.
                const XML_Error code = XML_GetErrorCode(p);
                if (code == XML_ERROR_ABORTED) return;
                outofmemory = code == XML_ERROR_NO_MEMORY;
                failure_ = "line " + std::to_string(XML_GetCurrentLineNumber(p)) + ": " +
                           XML_ErrorString(code);
                return;
            }
            doc.remove_prefix(n);
        }
    }

    static void started(void* data, const XML_Char* name, const XML_Char** attributes) {
        auto* s = static_cast<Scan*>(data);
        const std::string_view local = localname(name);
        if (s->indesc_ > 0) {
            ++s->indesc_;
        } else if (local == "desc" && !s->descseen_) {
            s->indesc_ = 1;
            s->descseen_ = true;
        }
        if (s->ingradient_) {
            if (local != "stop") return;
            if (s->gradient.stops.size() == kMaxStops) {
                s->toomany = true;
                s->found = false;
                XML_StopParser(s->parser_, false);
                return;
            }
            s->gradient.stops.push_back(stoptext(attributes));
            return;
        }
        if (local != "linearGradient" || s->found) return;
        Gradient g;
        if (const char* id = attribute(attributes, "id")) g.id = id;
        if (s->wanted_ && g.id != *s->wanted_) return;
        const char* href = attribute(attributes, "xlink:href");
        if (!href) href = attribute(attributes, "href");
        if (href && href[0] == '#') g.href = href + 1;
        s->gradient = std::move(g);
        s->found = s->ingradient_ = true;
    }

    static void ended(void* data, const XML_Char* name) {
        auto* s = static_cast<Scan*>(data);
        if (s->indesc_ > 0) --s->indesc_;
        if (!s->ingradient_ || localname(name) != "linearGradient") return;
        s->ingradient_ = false;
        // A later pass looks for this gradient only; the first also wants
        // the whole document read, to know it is well-formed.
        if (s->wanted_) XML_StopParser(s->parser_, false);
    }

    static void text(void* data, const XML_Char* chars, int length) {
        auto* s = static_cast<Scan*>(data);
        if (s->indesc_ > 0) s->description.append(chars, size_t(length));
    }

    const std::string* wanted_;
    XML_Parser parser_ = nullptr;
    std::string failure_;
    bool ingradient_ = false;
    int indesc_ = 0;  // inside the first desc element: how deep, counting it
    bool descseen_ = false;
};

// ---------------------------------------------------------------- colours

struct NamedColour {
    std::string_view name;
    uint8_t rgb[3];
};

// The basic colour keywords of CSS, and orange.
const NamedColour kNames[] = {
    {"black", {0, 0, 0}},       {"silver", {192, 192, 192}}, {"gray", {128, 128, 128}},
    {"grey", {128, 128, 128}},  {"white", {255, 255, 255}},  {"maroon", {128, 0, 0}},
    {"red", {255, 0, 0}},       {"purple", {128, 0, 128}},   {"fuchsia", {255, 0, 255}},
    {"magenta", {255, 0, 255}}, {"green", {0, 128, 0}},      {"lime", {0, 255, 0}},
    {"olive", {128, 128, 0}},   {"yellow", {255, 255, 0}},   {"navy", {0, 0, 128}},
    {"blue", {0, 0, 255}},      {"teal", {0, 128, 128}},     {"aqua", {0, 255, 255}},
    {"cyan", {0, 255, 255}},    {"orange", {255, 165, 0}},
};

int hexdigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// #rgb, #rrggbb, rgb(r, g, b) with numbers 0-255 or percentages, or a
// name; channels as fractions.
bool parsecolour(std::string_view text, double (&rgb)[3]) {
    std::string t(trim(text));
    for (char& c : t)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (t.size() == 4 || t.size() == 7) {
        if (t[0] == '#') {
            size_t width = t.size() == 4 ? 1 : 2;
            for (int c = 0; c < 3; ++c) {
                int v = 0;
                for (size_t k = 0; k < width; ++k) {
                    int d = hexdigit(t[1 + c * width + k]);
                    if (d < 0) return false;
                    v = v * 16 + d;
                }
                // #abc is #aabbcc.
                rgb[c] = (width == 1 ? v * 17 : v) / 255.0;
            }
            return true;
        }
    }
    if (startswith(t, "rgb(") && t.back() == ')') {
        std::string_view inside = std::string_view(t).substr(4, t.size() - 5);
        int c = 0;
        size_t at = 0;
        while (c < 3) {
            at = inside.find_first_not_of(" ,", at);
            if (at == std::string_view::npos) return false;
            size_t end = std::min(inside.find_first_of(" ,", at), inside.size());
            std::string_view token = inside.substr(at, end - at);
            bool percent = !token.empty() && token.back() == '%';
            if (percent) token.remove_suffix(1);
            double v = 0;
            if (!parsedouble(token, v)) return false;
            rgb[c++] = std::clamp(percent ? v / 100 : v / 255, 0.0, 1.0);
            at = end;
        }
        return inside.find_first_not_of(" ,", at) == std::string_view::npos;
    }
    for (const NamedColour& n : kNames)
        if (t == n.name) {
            for (int c = 0; c < 3; ++c) rgb[c] = n.rgb[c] / 255.0;
            return true;
        }
    return false;
}

// A stop's colour may stand in its style, which then rules over the
// attribute ("stop-color:#ff0000;stop-opacity:1").
StopText stoptext(const XML_Char** attributes) {
    StopText stop{"0", "black"};  // what a stop without them has
    if (const char* offset = attribute(attributes, "offset")) stop.offset = offset;
    if (const char* colour = attribute(attributes, "stop-color")) stop.colour = colour;
    if (const char* style = attribute(attributes, "style")) {
        std::string_view rest = style;
        while (!rest.empty()) {
            size_t semi = std::min(rest.find(';'), rest.size());
            std::string_view decl = rest.substr(0, semi);
            rest.remove_prefix(std::min(semi + 1, rest.size()));
            size_t colon = decl.find(':');
            if (colon != std::string_view::npos && trim(decl.substr(0, colon)) == "stop-color")
                stop.colour = std::string(trim(decl.substr(colon + 1)));
        }
    }
    return stop;
}

// ---------------------------------------------------------------- reading

std::string stoperror(size_t k, const std::string& what) {
    return "stop " + std::to_string(k) + " " + what;
}

}  // namespace

shell::Result<PaletteInfo> readsvg(std::string_view bytes, shell::Palette& palette) {
    const std::string toomanystops =
        "a gradient has more than " + std::to_string(kMaxStops) + " stops";
    Scan first(bytes, nullptr);
    if (!first.failure().empty())
        return failure(kWhat, first.failure(),
                       first.outofmemory ? shell::Fault::memory : shell::Fault::content);
    if (first.toomany) return failure(kWhat, toomanystops);
    if (!first.found) return failure(kWhat, "it has no linearGradient element");
    PaletteInfo r;
    r.sampled = true;
    r.description = std::string(trim(first.description));
    r.name = first.gradient.id;
    // Drawing programs often keep the stops in one gradient and point others
    // at it.
    Gradient source = std::move(first.gradient);
    for (int hop = 0; hop < kMaxReferences && source.stops.empty() && !source.href.empty(); ++hop) {
        Scan next(bytes, &source.href);
        if (next.toomany) return failure(kWhat, toomanystops);
        if (!next.failure().empty() || !next.found) break;
        source = std::move(next.gradient);
    }
    if (source.stops.empty()) return failure(kWhat, "its first linearGradient has no stops");

    std::vector<Stop> stops;
    double last = 0;
    for (size_t k = 0; k < source.stops.size(); ++k) {
        const StopText& text = source.stops[k];
        Stop s{};
        std::string_view offset = trim(text.offset);
        bool percent = !offset.empty() && offset.back() == '%';
        if (percent) offset.remove_suffix(1);
        if (startswith(offset, "+")) offset.remove_prefix(1);
        if (!parsedouble(offset, s.offset))
            return failure(kWhat, stoperror(k + 1, "has the offset " + quoted(offset) +
                                                       ", a number or percentage expected"));
        if (percent) s.offset /= 100;
        // Offsets outside [0, 1] are clamped, and one below the offset
        // before it takes that offset, as SVG renderers do.
        s.offset = std::max(last, std::clamp(s.offset, 0.0, 1.0));
        last = s.offset;
        if (!parsecolour(text.colour, s.rgb))
            return failure(kWhat, stoperror(k + 1, "has the colour " + quoted(text.colour) +
                                                       ", which is not understood"));
        stops.push_back(s);
    }
    palette = samplestops(stops);
    return r;
}

// ---------------------------------------------------------------- writing

std::string writesvg(const shell::Palette& palette, std::string_view name,
                     std::string_view description) {
    // GIMP names the gradient after its id; an id must be an XML name.
    std::string id = identifier(name);
    std::string s;
    s.reserve(256 * 48 + description.size() + 512);
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    appendint(s, kStripWidth);
    s += "\" height=\"";
    appendint(s, kStripHeight);
    s += "\">\n<title>" + shell::xmlescape(oneline(validutf8(name), "Palette")) + "</title>\n";
    // XML allows no control characters but tab and line ends in text.
    std::string desc(trim(multiline(description)));
    if (!desc.empty()) s += "<desc>" + shell::xmlescape(desc) + "</desc>\n";
    s += "<defs>\n<linearGradient id=\"" + id + "\">\n";
    for (int i = 0; i < 256; ++i) {
        s += "<stop offset=\"";
        appendtrimmed(s, i / 255.0, kOffsetDecimals);
        s += "\" stop-color=\"";
        appendhexcolour(s, palette[i]);
        s += "\"/>\n";
    }
    s += "</linearGradient>\n</defs>\n<rect width=\"";
    appendint(s, kStripWidth);
    s += "\" height=\"";
    appendint(s, kStripHeight);
    s += "\" fill=\"url(#" + id + ")\"/>\n</svg>\n";
    return s;
}

}  // namespace palettes
