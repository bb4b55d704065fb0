// The Explore window's files: the location (S saves, O opens) and the
// picture as PNG (P), with the location and the palette's description in
// its text chunks.
#include "explore/explorewindow.h"
#include "palettes/png.h"
#include "shell/io/atomicfile.h"

namespace explore {

namespace {

constexpr const char* kCaption = "Explore";

// tEXt holds Latin-1 only; text with other bytes (UTF-8) goes into iTXt.
bool plainascii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

void failed(shell::Window& w, const std::string& what, const shell::Error& e) {
    w.messagebox(what + "\n" + e.describe(), kCaption, shell::Icon::exclamation);
}

}  // namespace

void ExploreWindow::saveloc(shell::Window& w) {
    if (!w.filedialog(saverecord_, true)) return;
    const shell::Status r = explore::saveloc(saverecord_.file, LocFile{loc_, colours_});
    if (!r.ok()) {
        failed(w, "The location was not saved.", r.error());
        return;
    }
    say(w, "saved " + saverecord_.filetitle);
}

void ExploreWindow::openloc(shell::Window& w) {
    if (!w.filedialog(openrecord_, false)) return;
    const shell::Result<LocFile> r = loadloc(openrecord_.file);
    if (!r.ok()) {
        failed(w, "The location was not opened.", r.error());
        return;
    }
    open(w, palette_, r.value());
}

void ExploreWindow::savepicture(shell::Window& w) {
    if (!w.filedialog(pngrecord_, true)) return;
    // The picture is saved complete: a render under way is waited for.
    w.setbusy(true);
    finish(w);
    w.setbusy(false);
    const shell::SideWindow* s = side(w);
    if (!s) return;
    palettes::PngImage image;
    image.width = picturewidth(w);
    image.height = pictureheight(w);
    image.stride = size_t(s->offscreen.stride());
    image.data = s->offscreen.data();
    const std::string description = describe_ ? describe_() : std::string();
    std::vector<palettes::PngText> texts = {{"Location", formatloc(LocFile{loc_, colours_})}};
    if (!description.empty())
        texts.push_back(palettes::PngText{"Description", description, !plainascii(description)});
    const shell::Result<std::string> png = palettes::encodepng(image, texts);
    if (!png.ok()) {
        failed(w, "The picture was not saved.", png.error());
        return;
    }
    const shell::Status r = shell::writefileatomically(pngrecord_.file, png.value());
    if (!r.ok()) {
        failed(w, "The picture was not saved.", r.error());
        return;
    }
    say(w, "saved " + pngrecord_.filetitle);
}

}  // namespace explore
