#include "huewright/ui/filecommands.h"

#include "huewright/model/description.h"
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
    files.omapn =
        shell::filerecord(palettetypes(false), "Select a Fractint .MAP File", "map", false);
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

shell::Status openpalette(shell::Window& w, FileRecords& files, shell::Palette& palette,
                          Parameters (&p)[3], int (&okdisplay)[3]) {
    if (!w.filedialog(files.omapn, false)) return shell::cancelled();
    w.presentall();
    return openpalettefile(w, files.omapn.file, palette, p, okdisplay);
}

shell::Status openpalettefile(shell::Window& w, const std::string& path, shell::Palette& palette,
                              Parameters (&p)[3], int (&okdisplay)[3]) {
    // Reading into a scratch palette keeps the model whole when the file
    // turns out to be bad part-way.
    shell::Palette loaded;
    const shell::Result<palettes::PaletteInfo> r = palettes::readpalettefile(path, loaded);
    if (!r.ok()) {
        // Whatever the format, the box is the one the program always showed;
        // its second line says which file failed and why.
        w.messagebox("Error opening MAP file\n" + r.error().describe(), "MAP file error",
                     shell::Icon::exclamation, true);
        return r.error();
    }
    palette = loaded;
    resetmapparameters(p);
    for (int& f : okdisplay) f = 0;
    return {};
}

}  // namespace huewright
