#include "filedialog.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace shell {

const std::string& startfolder() {
    static const std::string dir = [] {
        std::vector<char> buf(PATH_MAX + 1);
        if (getcwd(buf.data(), buf.size()) == nullptr) return std::string(".");
        return std::string(buf.data());
    }();
    return dir;
}

FileDialogRecord filerecord(const std::string& filtername, const std::string& pattern,
                            const std::string& title, const std::string& defext, bool save) {
    FileDialogRecord r;
    r.filtername = filtername;
    r.pattern = pattern;
    r.title = title;
    r.defext = defext;
    r.initialdir = startfolder();
    r.overwriteprompt = save;
    r.mustexist = !save;
    return r;
}

std::string dialogfolder(const FileDialogRecord& rec) {
    if (!rec.file.empty()) {
        auto slash = rec.file.rfind('/');
        if (slash == 0) return "/";
        if (slash != std::string::npos) return rec.file.substr(0, slash);
    }
    if (!rec.initialdir.empty()) return rec.initialdir;
    return startfolder();
}

std::string withdefaultext(const std::string& path, const std::string& defext) {
    if (defext.empty() || path.empty()) return path;
    auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.find('.') != std::string::npos) return path;
    return path + "." + defext;
}

void acceptfile(FileDialogRecord& rec, const std::string& path) {
    std::string full = path;
    if (!full.empty() && full[0] != '/') full = dialogfolder(rec) + "/" + full;
    rec.file = full;
    auto slash = full.rfind('/');
    rec.filetitle = slash == std::string::npos ? full : full.substr(slash + 1);
}

}  // namespace shell
