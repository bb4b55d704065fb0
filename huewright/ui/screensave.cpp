#include "huewright/ui/screensave.h"

#include "huewright/ui/commands.h"
#include "huewright/ui/namedialog.h"
#include "shell/io/atomicfile.h"

namespace huewright {

namespace {

const char* const kLzwIneffectiveText =
    "LZW compression ineffective for this image.\nPlease save in uncompressed format.";
const char* const kLzwIneffectiveCaption = "TIFF LZW";

// The window title counts the rows in per cent, from "1 %" to "100 %",
// changed only when the number changes and flushed so that it shows while
// the window handles no events.
class Progress {
  public:
    explicit Progress(shell::Window& w) : w_(w) {}
    void row(int j, int rows) {
        const int pct = static_cast<int>(int64_t(j) * 100 / rows) + 1;
        if (pct == shown_) return;
        shown_ = pct;
        w_.settitle(std::to_string(pct) + " %");
        w_.flush();
    }

  private:
    shell::Window& w_;
    int shown_ = 0;
};

shell::Status save(shell::Window& window, const shell::Surface& picture, int compression,
                   const std::string& file, const Metadata& m) {
    shell::AtomicFile out;
    if (shell::Status opened = out.open(file); !opened.ok()) return opened;
    Progress progress(window);
    shell::Result<TiffFile> tiff =
        encodetiff(picture, compression, m, [&](int row, int rows) { progress.row(row, rows); });
    if (!tiff.ok()) return shell::Error{tiff.error().fault, file, tiff.error().reason};
    out.write(tiff.value().bytes.get(), tiff.value().size);
    return out.commit();
}

}  // namespace

shell::Status writetiff(shell::Window& window, const shell::Surface& picture, int compression,
                        const std::string& file, MetadataInputs& meta) {
    const std::string savedtitle = window.title();
    const bool wasbusy = window.busy();
    const Metadata m = writestrings(meta.descriptionstring, meta.username, meta.clock());
    window.setbusy(true);
    const shell::Status result = save(window, picture, compression, file, m);
    // The window comes back before any message, so the box is not met by a
    // percentage in the title and a wait cursor.
    window.settitle(savedtitle);
    window.setbusy(wasbusy);
    if (!result.ok() && result.error().fault == shell::Fault::content)
        window.messagebox(kLzwIneffectiveText, kLzwIneffectiveCaption, shell::Icon::exclamation,
                          false);
    return result;
}

bool askauthor(shell::Window& w, std::string& username, bool& nameflag) {
    if (nameflag) {
        NameDialogProc proc(username, nameflag);
        if (w.dialogbox(nametemplate(), proc) == id_namecancel) return false;
    }
    w.post(shell::Message::command(cmd_savescreen));
    return true;
}

shell::Status writescreen(shell::Window& w, const shell::Surface& picture, FileRecords& files,
                          std::string& descriptionstring, const std::string& username,
                          int compression, const Clock& clock) {
    if (!w.filedialog(files.stiffn, true)) return shell::cancelled();
    // The chooser covered part of the window; the picture is whole again
    // before the file work starts, so that the user sees what is saved.
    w.presentall();
    w.flush();
    MetadataInputs meta{descriptionstring, username, clock};
    const shell::Status result = writetiff(w, picture, compression, files.stiffn.file, meta);
    if (!result.ok())
        w.messagebox(saveerror(result.error()), "Save file error", shell::Icon::exclamation, true);
    else
        w.messagebox("Image saved as " + files.stiffn.filetitle, "Xo Gradient", shell::Icon::none,
                     false);
    return result;
}

}  // namespace huewright
