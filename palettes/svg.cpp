// SVG gradients (.svg): the palette as the colour stops of a linearGradient,
// with a rectangle painted in it so that the file also shows the palette.
//
// Reading takes the document's first linearGradient. It is not a full XML
// parser: it walks the tags (skipping comments, CDATA, processing
// instructions and the doctype), reads attributes in either quote, and
// decodes the five named entities and character references. That is all a
// gradient written by the programs people use needs.
//
// Sections: the tag walker; colours; reading; writing.
#include <algorithm>
#include <charconv>
#include <optional>

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
// The longest entity or character reference, "&#x10FFFF;" with room.
constexpr size_t kMaxReference = 12;
// The offsets written: enough decimals that t = i/255 falls on its stop.
constexpr int kOffsetDecimals = 6;
// The picture the file shows: the palette as a strip.
constexpr int kStripWidth = 256;
constexpr int kStripHeight = 32;

// ---------------------------------------------------------------- tag walker

struct Tag {
    std::string_view name;        // without a namespace prefix
    std::string_view attributes;  // the raw text after the name
    bool closing = false;         // </name>
    bool empty = false;           // <name ... />
    size_t end = 0;               // just after the '>'
};

bool isnamechar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
           c == '_' || c == '-' || c == '.';
}

// The next element tag at or after `at`; false at the end of the document or
// at markup that is never closed.
bool nexttag(std::string_view doc, size_t& at, Tag& tag) {
    for (;;) {
        size_t open = doc.find('<', at);
        if (open == std::string_view::npos) return false;
        std::string_view rest = doc.substr(open);
        // Markup that is not an element ends with its own closing text.
        const std::pair<std::string_view, std::string_view> skipped[] = {
            {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
        bool skip = false;
        for (const auto& [start, stop] : skipped) {
            if (!startswith(rest, start)) continue;
            size_t close = doc.find(stop, open + start.size());
            if (close == std::string_view::npos) return false;
            at = close + stop.size();
            skip = true;
            break;
        }
        if (skip) continue;
        if (startswith(rest, "<!")) {
            // A doctype, with an internal subset in brackets when it has one.
            size_t close = doc.find('>', open);
            size_t bracket = doc.substr(0, close).find('[', open);
            if (bracket != std::string_view::npos) close = doc.find("]>", bracket);
            if (close == std::string_view::npos) return false;
            at = close + 1;
            continue;
        }
        size_t p = open + 1;
        tag = Tag{};
        if (p < doc.size() && doc[p] == '/') {
            tag.closing = true;
            ++p;
        }
        size_t namestart = p;
        while (p < doc.size() && isnamechar(doc[p])) ++p;
        tag.name = doc.substr(namestart, p - namestart);
        size_t colon = tag.name.rfind(':');
        if (colon != std::string_view::npos) tag.name.remove_prefix(colon + 1);
        // The tag ends at the first '>' outside quotes.
        char quote = 0;
        size_t q = p;
        for (; q < doc.size(); ++q) {
            char c = doc[q];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (q >= doc.size()) return false;
        tag.attributes = doc.substr(p, q - p);
        tag.empty = q > p && doc[q - 1] == '/';
        tag.end = q + 1;
        at = tag.end;
        return true;
    }
}

void appendutf8(std::string& s, uint32_t cp) {
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xc0 | cp >> 6);
        s += static_cast<char>(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xe0 | cp >> 12);
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3f));
        s += static_cast<char>(0x80 | (cp & 0x3f));
    } else {
        s += static_cast<char>(0xf0 | cp >> 18);
        s += static_cast<char>(0x80 | (cp >> 12 & 0x3f));
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3f));
        s += static_cast<char>(0x80 | (cp & 0x3f));
    }
}

// Text with its entities and character references decoded; anything that
// is not one is kept as written.
std::string decodeentities(std::string_view s) {
    static const std::pair<std::string_view, char> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    size_t at = 0;
    while (at < s.size()) {
        size_t amp = s.find('&', at);
        if (amp == std::string_view::npos) {
            out.append(s.substr(at));
            break;
        }
        out.append(s.substr(at, amp - at));
        // References are short: looking further for the ';' would make text
        // full of '&' slow to read.
        size_t semi = s.substr(0, amp + kMaxReference).find(';', amp);
        if (semi == std::string_view::npos) {
            out += '&';
            at = amp + 1;
            continue;
        }
        std::string_view ref = s.substr(amp + 1, semi - amp - 1);
        bool done = false;
        for (const auto& [name, c] : named)
            if (ref == name) out += c, done = true;
        if (!done && ref.size() > 1 && ref[0] == '#') {
            bool hex = ref[1] == 'x' || ref[1] == 'X';
            std::string_view digits = ref.substr(hex ? 2 : 1);
            uint32_t cp = 0;
            auto r =
                std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
            if (!digits.empty() && r.ec == std::errc() && r.ptr == digits.data() + digits.size() &&
                cp > 0 && cp <= 0x10ffff && !(cp >= 0xd800 && cp <= 0xdfff)) {
                appendutf8(out, cp);
                done = true;
            }
        }
        if (!done) out.append(s.substr(amp, semi - amp + 1));
        at = semi + 1;
    }
    return out;
}

// The raw value of an attribute, by its full name ("xlink:href").
std::optional<std::string_view> attribute(std::string_view attrs, std::string_view name) {
    size_t at = 0;
    for (;;) {
        at = attrs.find_first_not_of(" \t\r\n/", at);
        if (at == std::string_view::npos) return std::nullopt;
        size_t end = at;
        while (end < attrs.size() && isnamechar(attrs[end])) ++end;
        if (end == at) return std::nullopt;  // not an attribute: give up
        std::string_view key = attrs.substr(at, end - at);
        at = attrs.find_first_not_of(" \t\r\n", end);
        if (at == std::string_view::npos || attrs[at] != '=') return std::nullopt;
        at = attrs.find_first_not_of(" \t\r\n", at + 1);
        if (at == std::string_view::npos || (attrs[at] != '"' && attrs[at] != '\''))
            return std::nullopt;
        size_t close = attrs.find(attrs[at], at + 1);
        if (close == std::string_view::npos) return std::nullopt;
        if (key == name) return attrs.substr(at + 1, close - at - 1);
        at = close + 1;
    }
}

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
std::string_view stopcolour(std::string_view attrs) {
    std::string_view colour = "black";  // what a stop without one shows
    if (auto a = attribute(attrs, "stop-color")) colour = *a;
    if (auto style = attribute(attrs, "style")) {
        std::string_view rest = *style;
        while (!rest.empty()) {
            size_t semi = std::min(rest.find(';'), rest.size());
            std::string_view decl = rest.substr(0, semi);
            rest.remove_prefix(std::min(semi + 1, rest.size()));
            size_t colon = decl.find(':');
            if (colon != std::string_view::npos && trim(decl.substr(0, colon)) == "stop-color")
                colour = trim(decl.substr(colon + 1));
        }
    }
    return colour;
}

// ---------------------------------------------------------------- reading

struct Gradient {
    std::string id;
    std::string href;                     // the gradient whose stops this one uses, without '#'
    std::vector<std::string_view> stops;  // each stop's attributes
};

// Finds a linearGradient: the first of the document when `id` is empty,
// else the one with that id. Only this gradient's stops are kept, so memory
// stays bounded however many gradients the file holds. False when there is
// none; `toomany` when it has more than kMaxStops stops.
bool findgradient(std::string_view doc, const std::string* id, Gradient& out, bool& toomany) {
    bool inside = false;
    Tag tag;
    for (size_t at = 0; nexttag(doc, at, tag);) {
        if (tag.name == "linearGradient" && tag.closing && inside) return true;
        if (tag.name == "linearGradient" && !tag.closing) {
            Gradient g;
            if (auto a = attribute(tag.attributes, "id")) g.id = decodeentities(*a);
            if (id && g.id != *id) continue;
            auto href = attribute(tag.attributes, "xlink:href");
            if (!href) href = attribute(tag.attributes, "href");
            if (href && startswith(*href, "#")) g.href = decodeentities(href->substr(1));
            out = std::move(g);
            if (tag.empty) return true;
            inside = true;
        } else if (inside && tag.name == "stop" && !tag.closing) {
            if (out.stops.size() == kMaxStops) {
                toomany = true;
                return false;
            }
            out.stops.push_back(tag.attributes);
        }
    }
    // A gradient that is never closed still has the stops read so far.
    return inside;
}

std::string stoperror(size_t k, const std::string& what) {
    return "stop " + std::to_string(k) + " " + what;
}

}  // namespace

shell::Result<PaletteInfo> readsvg(std::string_view bytes, shell::Palette& palette) {
    std::string_view doc = withoutbom(bytes);
    PaletteInfo r;
    Tag tag;
    for (size_t at = 0; nexttag(doc, at, tag);) {
        if (tag.name == "desc" && !tag.closing && !tag.empty) {
            size_t close = std::min(doc.find('<', tag.end), doc.size());
            r.description = decodeentities(trim(doc.substr(tag.end, close - tag.end)));
            break;
        }
    }
    const std::string toomanystops =
        "a gradient has more than " + std::to_string(kMaxStops) + " stops";
    Gradient source;
    bool toomany = false;
    if (!findgradient(doc, nullptr, source, toomany))
        return failure(kWhat, toomany ? toomanystops : "it has no linearGradient element");
    r.name = source.id;
    // Drawing programs often keep the stops in one gradient and point others
    // at it.
    for (int hop = 0; hop < kMaxReferences && source.stops.empty() && !source.href.empty(); ++hop) {
        std::string wanted = source.href;
        if (!findgradient(doc, &wanted, source, toomany)) {
            if (toomany) return failure(kWhat, toomanystops);
            break;
        }
    }
    if (source.stops.empty()) return failure(kWhat, "its first linearGradient has no stops");

    std::vector<Stop> stops;
    double last = 0;
    for (size_t k = 0; k < source.stops.size(); ++k) {
        std::string_view attrs = source.stops[k];
        Stop s{};
        std::string_view offset = trim(attribute(attrs, "offset").value_or("0"));
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
        std::string colour = decodeentities(stopcolour(attrs));
        if (!parsecolour(colour, s.rgb))
            return failure(kWhat, stoperror(k + 1, "has the colour " + quoted(colour) +
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
