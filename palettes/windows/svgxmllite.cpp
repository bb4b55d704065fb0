// The SVG reader's pass over the XML with Windows's XmlLite (svgscan.h):
// comments, CDATA sections, entities and character references, and a
// document type with its entities (where the system's XmlLite has them;
// wine's has not). The encodings are expat's: UTF-8 and UTF-16, which
// XmlLite reads itself, and ISO-8859-1 and US-ASCII, which are turned into
// UTF-8 here first so that every system reads them. A document that is not
// well-formed XML is refused with the line and the reason, in the words the
// Linux build uses.
#include <objbase.h>
#include <shlwapi.h>
#include <wrl/client.h>
#include <xmllite.h>

#include <algorithm>
#include <cstring>

#include "palettes/svgscan.h"
#include "shell/io/wide.h"

namespace palettes {

namespace {

using Microsoft::WRL::ComPtr;

// As many characters as entities may expand to, as Windows's default: a
// document whose entities hold more is refused.
constexpr LONG_PTR kMaxEntityExpansion = 100000;

// XmlLite is a system library without an import library of its own here,
// so its one entry point is looked up.
using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
CreateReader createreader() {
    static const CreateReader f = [] {
        HMODULE lib = LoadLibraryW(L"xmllite.dll");
        return lib ? reinterpret_cast<CreateReader>(
                         reinterpret_cast<void*>(GetProcAddress(lib, "CreateXmlReader")))
                   : nullptr;
    }();
    return f;
}

// The reason for a failed read, as expat words it on Linux.
std::string reason(HRESULT hr) {
    switch (static_cast<unsigned long>(hr)) {
        case MX_E_INPUTEND:
            return "no element found";
        case WC_E_ELEMENTMATCH:
            return "mismatched tag";
        case WC_E_UNDECLAREDENTITY:
            return "undefined entity";
        case SC_E_MAXENTITYEXPANSION:
            return "limit on input amplification factor (from DTD and entities) breached";
        case MX_E_ENCODING:
        case MX_E_ENCODINGSWITCH:
        case MX_E_ENCODINGSIGNATURE:
        case WC_E_ENCNAME:
            return "unknown encoding";
        case WC_E_SYNTAX:
            return "syntax error";
        case WC_E_UNIQUEATTRIBUTE:
            return "duplicate attribute";
        case static_cast<unsigned long>(E_NOTIMPL):
            return "the system's XML reader cannot read this document's definitions";
        default:
            return "not well-formed (invalid token)";
    }
}

// The encoding a document declares in its XML declaration, lower case;
// empty without one. `at` and `size` give the name's place.
std::string declaredencoding(std::string_view doc, size_t& at, size_t& size) {
    if (doc.compare(0, 5, "<?xml") != 0) return {};
    const size_t end = doc.find("?>");
    const size_t key = doc.substr(0, end).find("encoding");
    if (key == std::string_view::npos) return {};
    size_t q = doc.find_first_of("'\"", key);
    if (q == std::string_view::npos || q > end) return {};
    const size_t close = doc.find(doc[q], q + 1);
    if (close == std::string_view::npos || close > end) return {};
    at = q + 1;
    size = close - at;
    std::string name(doc.substr(at, size));
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return name;
}

// A Latin-1 or ASCII document as UTF-8, declared so; any other as it is.
// The lines stay where they were, so a reported line still fits the file.
std::string inutf8(std::string_view doc) {
    size_t at = 0, size = 0;
    const std::string enc = declaredencoding(doc, at, size);
    if (enc != "iso-8859-1" && enc != "us-ascii") return std::string(doc);
    std::string out(doc.substr(0, at));
    out += "UTF-8";
    for (char ch : doc.substr(at + size)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class Scan {
  public:
    Scan(std::string_view doc, const std::string* wanted, SvgScan& out)
        : wanted_(wanted), out_(out) {
        const std::string text = inutf8(doc);
        ComPtr<IXmlReader> reader;
        ComPtr<IStream> stream(
            SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()), UINT(text.size())));
        const CreateReader create = createreader();
        if (!create) {
            out_.failure = "the system has no XML reader";
            return;
        }
        if (!stream || FAILED(create(__uuidof(IXmlReader), &reader, nullptr))) {
            out_.outofmemory = true;
            out_.failure = "out of memory";
            return;
        }
        reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Parse);
        reader->SetProperty(XmlReaderProperty_MaxEntityExpansion, kMaxEntityExpansion);
        HRESULT hr = reader->SetInput(stream.Get());
        XmlNodeType type;
        while (SUCCEEDED(hr) && !stopped_ && (hr = reader->Read(&type)) == S_OK)
            node(*reader.Get(), type);
        if (FAILED(hr)) {
            UINT line = 0;
            reader->GetLineNumber(&line);
            out_.outofmemory = hr == E_OUTOFMEMORY;
            out_.failure = "line " + std::to_string(std::max(line, 1u)) + ": " + reason(hr);
        }
    }

  private:
    static std::string utf8(const WCHAR* s, UINT length) {
        return shell::narrow(std::wstring_view(s, length));
    }

    // The current node's qualified name and value.
    static std::string name(IXmlReader& r) {
        const WCHAR* s = nullptr;
        UINT n = 0;
        r.GetQualifiedName(&s, &n);
        return s ? utf8(s, n) : std::string();
    }
    static std::string value(IXmlReader& r) {
        const WCHAR* s = nullptr;
        UINT n = 0;
        r.GetValue(&s, &n);
        return s ? utf8(s, n) : std::string();
    }

    void node(IXmlReader& r, XmlNodeType type) {
        switch (type) {
            case XmlNodeType_Element: {
                const std::string element = name(r);
                // An empty element reports no end of its own.
                const bool empty = r.IsEmptyElement();
                started(r, element);
                if (empty) ended(element);
                return;
            }
            case XmlNodeType_EndElement:
                ended(name(r));
                return;
            case XmlNodeType_Text:
            case XmlNodeType_CDATA:
            case XmlNodeType_Whitespace:
                if (indesc_ > 0) out_.description += value(r);
                return;
            default:
                return;
        }
    }

    // The element's attributes by qualified name; the reader stays on the
    // element.
    struct Attributes {
        std::vector<std::pair<std::string, std::string>> all;
        const char* get(const char* key) const {
            for (const auto& [k, v] : all)
                if (k == key) return v.c_str();
            return nullptr;
        }
    };
    static Attributes attributes(IXmlReader& r) {
        Attributes a;
        for (HRESULT hr = r.MoveToFirstAttribute(); hr == S_OK; hr = r.MoveToNextAttribute())
            a.all.emplace_back(name(r), value(r));
        r.MoveToElement();
        return a;
    }

    void started(IXmlReader& r, const std::string& element) {
        const std::string_view local = localname(element);
        if (indesc_ > 0) {
            ++indesc_;
        } else if (local == "desc" && !descseen_) {
            indesc_ = 1;
            descseen_ = true;
        }
        if (ingradient_) {
            if (local != "stop") return;
            if (out_.gradient.stops.size() == kMaxSvgStops) {
                out_.toomany = true;
                out_.found = false;
                stopped_ = true;
                return;
            }
            const Attributes a = attributes(r);
            out_.gradient.stops.push_back(
                stoptext(a.get("offset"), a.get("stop-color"), a.get("style")));
            return;
        }
        if (local != "linearGradient" || out_.found) return;
        const Attributes a = attributes(r);
        Gradient g;
        if (const char* id = a.get("id")) g.id = id;
        if (wanted_ && g.id != *wanted_) return;
        const char* href = a.get("xlink:href");
        if (!href) href = a.get("href");
        if (href && href[0] == '#') g.href = href + 1;
        out_.gradient = std::move(g);
        out_.found = ingradient_ = true;
    }

    void ended(const std::string& element) {
        if (indesc_ > 0) --indesc_;
        if (!ingradient_ || localname(element) != "linearGradient") return;
        ingradient_ = false;
        // A later pass looks for this gradient only; the first also wants
        // the whole document read, to know it is well-formed.
        if (wanted_) stopped_ = true;
    }

    const std::string* wanted_;
    SvgScan& out_;
    bool stopped_ = false;
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
