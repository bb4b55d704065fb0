#include "huewright/ui/screensave.h"

#include "huewright/ui/namedialog.h"
#include "huewright/files/tiff.h"

namespace huewright {

namespace {

constexpr int kCommandWrite = 130;  // the second step, posted by the first

}  // namespace

int askauthor(shell::Window& w, int parameterflag, std::string& username, int& nameflag) {
    // The keys and buttons that post this command are dead while the
    // Parameters dialog is open; a command that arrives anyway is ignored
    // rather than asking for a name the save could not use.
    if (parameterflag) return 0;
    if (nameflag) {
        NameDialogProc proc(username, nameflag);
        if (w.dialogbox(nametemplate(), proc) == id_namecancel) return 0;
    }
    w.post(shell::Message::command(kCommandWrite));
    return 1;
}

int writescreen(shell::Window& w, int parameterflag, MapFiles& files, const std::string& username,
                int compression, const Clock& clock) {
    if (parameterflag) return screensave_cancelled;
    if (!w.filedialog(files.stiffn, true)) return screensave_cancelled;
    // The chooser covered part of the window; the picture is whole again
    // before the file work starts, so that the user sees what is saved.
    w.presentall();
    w.flush();
    MetadataInputs meta{files.descriptionstring, username, clock};
    const int result = writetiff(w, w.g_vhdc, compression, files.stiffn.file, meta);
    if (result != save_ok)
        w.messagebox(saveerror(result), "Save file error", shell::Icon::exclamation, true);
    else
        w.messagebox("Image saved as " + files.stiffn.filetitle, "Xo Gradient", shell::Icon::none,
                     false);
    return result;
}

}  // namespace huewright
