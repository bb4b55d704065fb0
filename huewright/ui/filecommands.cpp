#include "huewright/ui/filecommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "huewright/files/tiffread.h"
#include "huewright/model/description.h"
#include "huewright/ui/geometry.h"
#include "palettes/curves.h"
#include "palettes/palettes.h"
#include "shell/window/filedialog.h"

namespace huewright {

namespace {

// The palette types a chooser offers, MAP first.
std::vector<shell::FileFilter> palettetypes(bool writing) {
    std::vector<shell::FileFilter> out;
    for (const palettes::ChooserType& t : palettes::choosertypes(writing))
        out.push_back(shell::FileFilter{t.name, t.patterns});
    return out;
}

}  // namespace

void InitOpenFile(FileRecords& files) {
    files.smapn =
        shell::filerecord(palettetypes(true), "Select a file for saving parameters", "map", true);
    // Opening, the screen images this program saved follow the palettes:
    // they give their curves back.
    std::vector<shell::FileFilter> opened = palettetypes(false);
    opened.push_back(shell::FileFilter{"Screen images (*.tif)", "*.tif"});
    files.omapn = shell::filerecord(opened, "Select a Fractint .MAP File", "map", false);
    files.stiffn = shell::filerecord("TIFF files (*.tif)", "*.tif",
                                     "Select a file for saving your image:", "tif", true);
}

shell::Status savepalette(shell::Window& w, FileRecords& files, const shell::Palette& palette,
                          const std::string& descriptionstring) {
    if (!w.filedialog(files.smapn, true)) return shell::cancelled();
    // Restore the picture under the closed dialog before the save.
    w.presentall();
    // The chooser gave the name an extension of a type it offers, so the
    // extension says the format.
    const palettes::FormatInfo* f = palettes::formatofpath(files.smapn.file);
    const palettes::Format format = f && f->canwrite ? f->format : palettes::Format::map;
    const shell::Status saved =
        palettes::writepalettefile(files.smapn.file, format, palette, descriptionstring);
    if (!saved.ok()) {
        const bool memory = saved.error().fault == shell::Fault::memory;
        w.messagebox(memory ? "Not enough memory to save the palette" : "Error opening save file",
                     "Save file error", shell::Icon::exclamation, true);
        return saved;
    }
    w.messagebox("Image saved as " + files.smapn.filetitle, "Palette Curves", shell::Icon::none,
                 false);
    return saved;
}

namespace {

// The box every failed open shows; its second line says which file failed
// and why.
shell::Status failedopen(shell::Window& w, const shell::Error& e) {
    w.messagebox("Error opening MAP file\n" + e.describe(), "MAP file error",
                 shell::Icon::exclamation, true);
    return e;
}

std::string filenameof(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

bool istiffname(const std::string& path) {
    const std::string name = filenameof(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string ext = name.substr(dot + 1);
    for (char& c : ext) c = char(tolower(static_cast<unsigned char>(c)));
    return ext == "tif" || ext == "tiff";
}

// The first bytes of a file, or nothing when it cannot be read (the
// palette reader then says why).
std::string filehead(const std::string& path, size_t n) {
    std::string head(n, '\0');
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return {};
    head.resize(fread(&head[0], 1, n, f));
    fclose(f);
    return head;
}

shell::Result<std::string> readwhole(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return shell::Error{shell::Fault::open, path,
                            std::string("cannot be read: ") + strerror(errno)};
    std::string bytes;
    char buf[65536];
    size_t n = 0;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
        if (bytes.size() + n > palettes::kMaxFileBytes) {
            fclose(f);
            return shell::Error{shell::Fault::content, path, "too large for a screen image"};
        }
        bytes.append(buf, n);
    }
    const bool failed = ferror(f) != 0;
    const int err = errno;
    fclose(f);
    if (failed)
        return shell::Error{shell::Fault::read, path,
                            std::string("cannot be read: ") + strerror(err)};
    return bytes;
}

// Loads a palette without curves: every channel a loaded one, described by
// where it came from.
void loadplain(const OpenTarget& t, const shell::Palette& palette, const LoadedPalette& l) {
    Model& m = t.model;
    m.palette = palette;
    resetmapparameters(m.p);
    for (int& f : m.okdisplay) f = 0;
    t.loadedfrom = describeloaded(l);
    writedescription(t.descriptionstring, m.p, m.stretchflag, m.okdisplay, t.loadedfrom);
}

// Takes the curves when the channels they describe make exactly the
// colours of `palette` (which the loaded channels keep). False, with the
// reason, when they are damaged or do not match; nothing changes then.
bool takecurves(const OpenTarget& t, const palettes::GradientCurves& curves,
                const shell::Palette& palette, bool check, std::string& why) {
    Model& m = t.model;
    Parameters p[3] = {m.p[0], m.p[1], m.p[2]};
    int stretchflag[3] = {m.stretchflag[0], m.stretchflag[1], m.stretchflag[2]};
    int okdisplay[3];
    shell::Palette made = palette;
    if (!rebuildcurves(curves, p, stretchflag, okdisplay, made, why)) return false;
    if (check && made != palette) {
        why = "they do not make the file's colours";
        return false;
    }
    for (int c = 0; c < 3; ++c) {
        m.p[c] = p[c];
        m.stretchflag[c] = stretchflag[c];
        m.okdisplay[c] = okdisplay[c];
    }
    m.palette = made;
    t.loadedfrom = curves.rest;
    writedescription(t.descriptionstring, m.p, m.stretchflag, m.okdisplay, t.loadedfrom);
    return true;
}

shell::Status openpalettedata(shell::Window& w, const std::string& path, const OpenTarget& t) {
    // Reading into a scratch palette keeps the model whole when the file
    // turns out to be bad part-way.
    shell::Palette loaded;
    const shell::Result<palettes::PaletteInfo> r = palettes::readpalettefile(path, loaded);
    if (!r.ok()) return failedopen(w, r.error());
    const palettes::PaletteInfo& info = r.value();
    LoadedPalette l;
    l.file = filenameof(path);
    l.format = palettes::info(info.format).name;
    l.name = info.name;
    l.colours = info.colours;
    l.dropped = info.dropped;
    l.sampled = info.sampled;
    const palettes::Reading<palettes::GradientCurves> curves =
        palettes::readgradientcurves(info.description);
    if (curves.found == palettes::Found::curves) {
        if (takecurves(t, curves.value, loaded, true, l.curvesnottaken)) return {};
    } else if (curves.found == palettes::Found::damaged) {
        l.curvesnottaken = curves.why;
    } else {
        // The other designer's points and inversion say how the palette
        // was made; its table of column values says nothing more to a
        // reader.
        const palettes::Reading<palettes::SplinePoints> points =
            palettes::readsplinepoints(info.description);
        l.description = points.found == palettes::Found::curves
                            ? "B-spline points and inversion:\n" + points.value.text
                            : info.description;
    }
    loadplain(t, loaded, l);
    return {};
}

// The palette strip of a screen image: one row of the picture, at the
// picture's scale.
std::optional<shell::Palette> readstrip(std::string_view bytes, const TiffImage& im) {
    const int k = im.width / xres;
    if (k < 1 || im.width != xres * k || im.height != yres * k) return std::nullopt;
    const shell::Result<std::vector<uint8_t>> row = tiffrow(bytes, im, kStripTop * k + k / 2);
    if (!row.ok()) return std::nullopt;
    shell::Palette strip;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            strip[i][c] = row.value()[size_t((kCurveLeft + i) * k + k / 2) * 3 + size_t(c)];
    return strip;
}

shell::Status openscreenimage(shell::Window& w, const std::string& path, const OpenTarget& t) {
    const shell::Result<std::string> bytes = readwhole(path);
    if (!bytes.ok()) return failedopen(w, bytes.error());
    const shell::Result<TiffImage> im = readtiff(bytes.value());
    if (!im.ok()) return failedopen(w, shell::Error{im.error().fault, path, im.error().reason});
    const shell::Error notours{shell::Fault::content, path,
                               "Not a screen image of this program: it carries no curves"};
    const palettes::Reading<palettes::GradientCurves> curves =
        palettes::readgradientcurves(im.value().description);
    if (curves.found == palettes::Found::none) return failedopen(w, notours);
    if (curves.found == palettes::Found::curves) {
        bool any = false;
        for (const palettes::CurveRecord& c : curves.value.channel) any = any || !c.loaded;
        if (!any) return failedopen(w, notours);
    }
    LoadedPalette l;
    l.file = filenameof(path);
    l.format = "screen image";
    l.fromstrip = true;
    l.curvesnottaken = curves.why;
    const std::optional<shell::Palette> strip = readstrip(bytes.value(), im.value());
    if (curves.found == palettes::Found::curves) {
        // Without a strip to check them against, curves that describe
        // every channel are all there is; loaded channels would have no
        // colours.
        bool all = true;
        for (const palettes::CurveRecord& c : curves.value.channel) all = all && !c.loaded;
        if (strip || all) {
            if (takecurves(t, curves.value, strip.value_or(shell::Palette{}), bool(strip),
                           l.curvesnottaken))
                return {};
        } else {
            l.curvesnottaken = "its palette strip cannot be read";
        }
    }
    if (!strip)
        return failedopen(w, shell::Error{shell::Fault::content, path,
                                          "Its curves cannot be taken: " + l.curvesnottaken});
    loadplain(t, *strip, l);
    return {};
}

}  // namespace

shell::Status openpalettefile(shell::Window& w, const std::string& path, const OpenTarget& t) {
    if (istiff(filehead(path, 4))) return openscreenimage(w, path, t);
    return openpalettedata(w, path, t);
}

void followopened(FileRecords& files, const std::string& path) {
    if (!istiffname(path)) {
        shell::acceptfile(files.smapn, path);
        return;
    }
    shell::acceptfile(files.stiffn, path);
    shell::acceptfile(files.smapn, path.substr(0, path.rfind('.')) + ".map");
}

shell::Status openpalette(shell::Window& w, FileRecords& files, const OpenTarget& t) {
    if (!w.filedialog(files.omapn, false)) return shell::cancelled();
    w.presentall();
    const shell::Status opened = openpalettefile(w, files.omapn.file, t);
    if (opened.ok()) followopened(files, files.omapn.file);
    return opened;
}

shell::Status openstartfile(shell::Window& w, FileRecords& files, const std::string& path,
                            const OpenTarget& t) {
    const std::string full =
        !path.empty() && path[0] == '/' ? path : shell::startfolder() + "/" + path;
    shell::acceptfile(files.omapn, full);
    const shell::Status opened = openpalettefile(w, full, t);
    if (opened.ok()) followopened(files, full);
    return opened;
}

}  // namespace huewright
