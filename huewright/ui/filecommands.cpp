#include "huewright/ui/filecommands.h"

#include "huewright/model/description.h"
#include "palettes/map.h"
#include "shell/atomicfile.h"
#include "shell/filedialog.h"

namespace huewright {

void InitOpenFile(FileRecords& files) {
    const char* map = "Fractint .map files (*.map)";
    files.smapn =
        shell::filerecord(map, "*.map", "Select a file for saving parameters", "map", true);
    files.omapn = shell::filerecord(map, "*.map", "Select a Fractint .MAP File", "map", false);
    files.stiffn = shell::filerecord("TIFF files (*.tif)", "*.tif",
                                     "Select a file for saving your image:", "tif", true);
}

int SaveMapFile(shell::Window& w, FileRecords& files, const shell::Palette& palette,
                const std::string& descriptionstring) {
    if (!w.filedialog(files.smapn, true)) return map_cancelled;
    // Restore the picture under the closed dialog before the save.
    w.presentall();
    const std::string text = palettes::maptext(palette, descriptionstring);
    if (shell::writefileatomically(files.smapn.file, text) != 0) {
        w.messagebox("Error opening save file", "Save file error", shell::Icon::exclamation, true);
        return map_error;
    }
    w.messagebox("Image saved as " + files.smapn.filetitle, "Palette Curves", shell::Icon::none,
                 false);
    return map_ok;
}

int OpenMapFile(shell::Window& w, FileRecords& files, shell::Palette& palette, Parameters (&p)[3],
                int (&okdisplay)[3]) {
    if (!w.filedialog(files.omapn, false)) return map_cancelled;
    w.presentall();
    // Reading into a scratch palette keeps the model whole when the file
    // turns out to be bad part-way.
    shell::Palette loaded;
    if (palettes::readmapfile(files.omapn.file, loaded) != 0) {
        w.messagebox("Error opening MAP file", "MAP file error", shell::Icon::exclamation, true);
        return map_error;
    }
    palette = loaded;
    resetmapparameters(p);
    for (int& f : okdisplay) f = 0;
    return map_ok;
}

}  // namespace huewright
