// The SVG reader's pass over the XML with expat (svgscan.h): comments, CDATA
// sections, entities and character references, and the encodings a document
// may declare. A document that is not well-formed XML is refused with
// expat's reason and the line.
#include <expat.h>

#include <algorithm>
#include <cstring>

#include "palettes/svgscan.h"

namespace palettes {

namespace {

// expat takes its input in pieces whose size fits an int.
constexpr size_t kPiece = 1 << 20;

// An attribute's value, by its full name ("xlink:href"), or nullptr.
const char* attribute(const XML_Char** attributes, const char* name) {
    for (const XML_Char** a = attributes; a[0] != nullptr; a += 2)
        if (strcmp(a[0], name) == 0) return a[1];
    return nullptr;
}

class Scan {
  public:
    Scan(std::string_view doc, const std::string* wanted, SvgScan& out)
        : wanted_(wanted), out_(out) {
        XML_Parser p = XML_ParserCreate(nullptr);
        if (p == nullptr) {
            out_.outofmemory = true;
            out_.failure = "out of memory";
            return;
        }
        XML_SetUserData(p, this);
        XML_SetElementHandler(p, started, ended);
        XML_SetCharacterDataHandler(p, text);
        parse(p, doc);
        XML_ParserFree(p);
    }

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
                out_.outofmemory = code == XML_ERROR_NO_MEMORY;
                out_.failure = "line " + std::to_string(XML_GetCurrentLineNumber(p)) + ": " +
                               XML_ErrorString(code);
                return;
            }
            doc.remove_prefix(n);
        }
    }

    static void started(void* data, const XML_Char* name, const XML_Char** attributes) {
        auto* s = static_cast<Scan*>(data);
        SvgScan& out = s->out_;
        const std::string_view local = localname(name);
        if (s->indesc_ > 0) {
            ++s->indesc_;
        } else if (local == "desc" && !s->descseen_) {
            s->indesc_ = 1;
            s->descseen_ = true;
        }
        if (s->ingradient_) {
            if (local != "stop") return;
            if (out.gradient.stops.size() == kMaxSvgStops) {
                out.toomany = true;
                out.found = false;
                XML_StopParser(s->parser_, false);
                return;
            }
            out.gradient.stops.push_back(stoptext(attribute(attributes, "offset"),
                                                  attribute(attributes, "stop-color"),
                                                  attribute(attributes, "style")));
            return;
        }
        if (local != "linearGradient" || out.found) return;
        Gradient g;
        if (const char* id = attribute(attributes, "id")) g.id = id;
        if (s->wanted_ && g.id != *s->wanted_) return;
        const char* href = attribute(attributes, "xlink:href");
        if (!href) href = attribute(attributes, "href");
        if (href && href[0] == '#') g.href = href + 1;
        out.gradient = std::move(g);
        out.found = s->ingradient_ = true;
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
        if (s->indesc_ > 0) s->out_.description.append(chars, size_t(length));
    }

    const std::string* wanted_;
    SvgScan& out_;
    XML_Parser parser_ = nullptr;
    bool ingradient_ = false;
    int indesc_ = 0;  // inside the first desc element: how deep, counting it
    bool descseen_ = false;
};

}  // namespace

SvgScan scansvg(std::string_view doc, const std::string* wanted) {
    SvgScan out;
    Scan(doc, wanted, out);
    return out;
}

}  // namespace palettes
