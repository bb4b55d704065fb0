// The format table, recognising a file's format, and the dispatch from a
// format to its reader and writer.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "palettes/codec.h"
#include "palettes/map.h"
#include "shell/io/atomicfile.h"
#include "shell/io/files.h"
#include "shell/io/paths.h"

namespace palettes {

namespace {

// The PNG signature: every PNG file starts with these eight bytes.
constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
// The sizes of an Adobe colour table: 256 colours, optionally followed by
// the colour count and the transparent index.
constexpr size_t kActSize = 768;
constexpr size_t kActSizeWithCount = 772;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameword(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// An element whose name, without a namespace prefix, is "svg": the bytes are
// an SVG document (or an XML file that holds one).
bool hassvgelement(std::string_view text) {
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        size_t end = at + 1;
        while (end < text.size() &&
               (isalnum(static_cast<unsigned char>(text[end])) || text[end] == ':' ||
                text[end] == '_' || text[end] == '-' || text[end] == '.'))
            ++end;
        std::string_view name = text.substr(at + 1, end - at - 1);
        size_t colon = name.rfind(':');
        if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
        if (name == "svg") return true;
    }
    return false;
}

// A block "name {" that holds a "gradient:" section.
bool hasgradientblock(std::string_view text) {
    LineReader lines(withoutbom(text));
    std::string_view line;
    bool inblock = false;
    while (lines.next(line)) {
        std::string_view t = trim(line);
        if (!t.empty() && t.back() == '{') inblock = true;
        if (inblock && t == "gradient:") return true;
    }
    return false;
}

// The first line is a palette entry: three numbers as the MAP reader takes
// them.
bool startswithentry(std::string_view bytes) {
    std::string_view first = bytes.substr(0, bytes.find_first_of("\r\n"));
    if (trim(first).empty() || first[0] == '\x1a') return false;
    MapParser parser;
    parser.feed(first.data(), first.size());
    parser.feed("\n", 1);
    shell::Palette scratch;
    return parser.finish(scratch);
}

shell::Result<PaletteInfo> readformat(Format format, std::string_view bytes,
                                      shell::Palette& palette) {
    switch (format) {
        case Format::map:
            return readmap(bytes, palette);
        case Format::ggr:
            return readggr(bytes, palette);
        case Format::gpl:
            return readgpl(bytes, palette);
        case Format::ugr:
            return readugr(bytes, palette);
        case Format::act:
            return readact(bytes, palette);
        case Format::svg:
            return readsvg(bytes, palette);
        case Format::png:
            return readpng(bytes, palette);
        case Format::kfp:
        case Format::css:
        case Format::json:
            break;
    }
    return shell::Error{shell::Fault::content, "",
                        std::string(info(format).name) + " files cannot be read"};
}

}  // namespace

// ---------------------------------------------------------------- the table

const std::vector<FormatInfo>& formats() {
    static const std::vector<FormatInfo> table = {
        {Format::map, "map", "Fractint .map files", {"map"}, true, true},
        {Format::ggr, "ggr", "GIMP gradient", {"ggr"}, true, true},
        {Format::gpl, "gpl", "GIMP palette", {"gpl"}, true, true},
        {Format::ugr, "ugr", "Ultra Fractal gradient", {"ugr", "gradient"}, true, true},
        {Format::act, "act", "Adobe colour table", {"act"}, true, true},
        {Format::kfp, "kfp", "Kalles Fraktaler palette", {"kfp"}, false, true},
        {Format::svg, "svg", "SVG gradient", {"svg"}, true, true},
        {Format::css, "css", "CSS gradient", {"css"}, false, true},
        {Format::png, "png", "PNG strip", {"png"}, true, true},
        {Format::json, "json", "ParaView colour map", {"json"}, false, true},
    };
    return table;
}

const FormatInfo& info(Format format) {
    for (const FormatInfo& f : formats())
        if (f.format == format) return f;
    return formats().front();
}

const FormatInfo* findformat(std::string_view word) {
    if (!word.empty() && word[0] == '.') word.remove_prefix(1);
    for (const FormatInfo& f : formats()) {
        if (sameword(word, f.key)) return &f;
        for (const char* e : f.extensions)
            if (sameword(word, e)) return &f;
    }
    return nullptr;
}

const FormatInfo* formatofpath(std::string_view path) {
    std::string_view name = shell::filename(path);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return nullptr;
    return findformat(name.substr(dot + 1));
}

ChooserType choosertype(const FormatInfo& format) {
    ChooserType t;
    for (size_t i = 0; i < format.extensions.size(); ++i)
        t.patterns += std::string(i ? ";" : "") + "*." + format.extensions[i];
    std::string shown = t.patterns;
    for (size_t at = shown.find(';'); at != std::string::npos; at = shown.find(';', at + 2))
        shown.replace(at, 1, "; ");
    t.name = std::string(format.name) + " (" + shown + ")";
    return t;
}

std::vector<ChooserType> choosertypes(bool writing) {
    std::vector<ChooserType> out;
    if (!writing) {
        // Opening, the palette files of every kind come right after MAP.
        ChooserType all{"All palette files (", ""};
        for (const FormatInfo& f : formats()) {
            if (!f.canread) continue;
            const ChooserType t = choosertype(f);
            all.patterns += (all.patterns.empty() ? "" : ";") + t.patterns;
        }
        all.name += "*.map, *.ggr, …)";
        out.push_back(choosertype(info(Format::map)));
        out.push_back(all);
    }
    for (const FormatInfo& f : formats())
        if ((writing ? f.canwrite : f.canread) && (writing || f.format != Format::map))
            out.push_back(choosertype(f));
    return out;
}

std::string namefrompath(std::string_view path) {
    std::string_view name = shell::filename(path);
    size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot != 0) name = name.substr(0, dot);
    return std::string(name);
}

// ---------------------------------------------------------------- reading

// Without a telling name, the content is looked at in this order: signatures
// and first lines that cannot be mistaken come first, then MAP's three
// numbers on the first line (before the block structure, since a MAP trailer
// is free text that might hold anything), then the blocks, and the size of a
// colour table last, since a MAP file may also happen to have 768 bytes.
std::optional<Format> detectformat(std::string_view bytes, std::string_view filename) {
    if (const FormatInfo* byname = formatofpath(filename)) return byname->format;
    if (startswith(bytes, kPngSignature)) return Format::png;
    std::string_view first = trim(firstline(bytes));
    if (first == "GIMP Gradient") return Format::ggr;
    if (first == "GIMP Palette") return Format::gpl;
    std::string_view text = trim(withoutbom(bytes));
    if (startswith(text, "<") && hassvgelement(text)) return Format::svg;
    if (startswithentry(bytes)) return Format::map;
    if (hasgradientblock(bytes)) return Format::ugr;
    if (bytes.size() == kActSize || bytes.size() == kActSizeWithCount) return Format::act;
    return std::nullopt;
}

shell::Result<PaletteInfo> decodepalette(Format format, std::string_view bytes,
                                         shell::Palette& palette) {
    shell::Result<PaletteInfo> r = readformat(format, bytes, palette);
    if (!r.ok()) return r;
    r.value().format = format;
    // A name is shown in titles and lists: one line of valid text.
    r.value().name = oneline(validutf8(r.value().name), "");
    return r;
}

shell::Result<PaletteInfo> decodepalette(std::string_view bytes, std::string_view filename,
                                         shell::Palette& palette) {
    std::optional<Format> format = detectformat(bytes, filename);
    shell::Result<PaletteInfo> r =
        format ? decodepalette(*format, bytes, palette)
               : shell::Error{shell::Fault::content, "",
                              "Not a palette file: its content fits none of the formats read here"};
    if (!r.ok()) return shell::Error{r.error().fault, std::string(filename), r.error().reason};
    return r;
}

// ---------------------------------------------------------------- writing

shell::Result<std::string> encodepalette(Format format, const shell::Palette& palette,
                                         std::string_view name, std::string_view description) {
    switch (format) {
        case Format::map:
            return writemap(palette, description);
        case Format::ggr:
            return writeggr(palette, name);
        case Format::gpl:
            return writegpl(palette, name, description);
        case Format::ugr:
            return writeugr(palette, name);
        case Format::act:
            return writeact(palette);
        case Format::kfp:
            return writekfp(palette);
        case Format::svg:
            return writesvg(palette, name, description);
        case Format::css:
            return writecss(palette, name, description);
        case Format::png:
            return writepng(palette, name, description);
        case Format::json:
            return writejson(palette, name, description);
    }
    return shell::Error{shell::Fault::content, "", "no such format"};
}

// ---------------------------------------------------------------- files

namespace {

// Closes the file however the read ends.
struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};

}  // namespace

shell::Result<PaletteInfo> readpalettefile(const std::string& path, shell::Palette& palette) {
    const auto cannotread = [&](shell::Fault fault, int err) {
        return shell::Error{fault, path, std::string("cannot be read: ") + strerror(err)};
    };
    std::unique_ptr<FILE, FileCloser> f(shell::openfile(path, "rb"));
    if (!f) {
        const int err = errno;
        // Windows refuses to open a folder at all.
        if (shell::filekind(path) == shell::FileKind::folder)
            return shell::Error{shell::Fault::open, path, "a folder, not a file"};
        return cannotread(shell::Fault::open, err);
    }
    // A folder opens but cannot be read; saying what it is helps more than
    // the error a read of it gives.
    struct stat st;
    const bool known = fstat(fileno(f.get()), &st) == 0;
    if (known && S_ISDIR(st.st_mode))
        return shell::Error{shell::Fault::open, path, "a folder, not a file"};

    // The first block decides whether the file is a MAP file: its name, or
    // its first line, says so the same way for the block as for the whole
    // file. A MAP file goes through the streaming parser and only its first
    // kMaxFileBytes are kept, for the trailer; any other file is kept whole.
    std::string kept;
    // The size a file says it has spares the copies of a growing buffer.
    if (known && st.st_size > 0) kept.reserve(std::min<uint64_t>(st.st_size, kMaxFileBytes));
    MapParser parser;
    bool map = false, parsing = false, cut = false;
    char buf[65536];
    for (bool first = true;; first = false) {
        const size_t n = fread(buf, 1, sizeof buf, f.get());
        if (first) map = parsing = detectformat(std::string_view(buf, n), path) == Format::map;
        if (parsing) parsing = parser.feed(buf, n);
        const size_t room = kMaxFileBytes - kept.size();
        if (n > room && !map)
            return shell::Error{
                shell::Fault::content, path,
                "too large: more than " + std::to_string(kMaxFileBytes >> 20) + " MiB"};
        kept.append(buf, std::min(n, room));
        cut = cut || n > room;
        if (n < sizeof buf) {
            if (ferror(f.get())) return cannotread(shell::Fault::read, errno);
            break;
        }
        // Past the kept bytes, a MAP file is read only while the parser
        // still needs lines.
        if (cut && !parsing) break;
    }
    shell::Result<PaletteInfo> r =
        map ? finishmap(parser, std::move(kept), cut, palette) : decodepalette(kept, path, palette);
    if (!r.ok()) return shell::Error{r.error().fault, path, r.error().reason};
    return r;
}

shell::Status writepalettefile(const std::string& path, Format format,
                               const shell::Palette& palette, std::string_view description) {
    shell::Result<std::string> bytes =
        encodepalette(format, palette, namefrompath(path), description);
    if (!bytes.ok()) return shell::Error{bytes.error().fault, path, bytes.error().reason};
    return shell::writefileatomically(path, bytes.value());
}

}  // namespace palettes
