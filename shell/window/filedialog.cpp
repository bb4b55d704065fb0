#include "filedialog.h"

#include <dirent.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace shell {

namespace {

bool isfolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string lastcomponent(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extension of a file name, without its dot; a leading dot (a hidden
// file's) does not start one.
std::string extension(const std::string& name) {
    auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return name.substr(dot + 1);
}

// The extension a type's first pattern adds: "map" for "*.map", nothing for
// "*" or a pattern that is not a plain extension.
std::string patternextension(const std::string& patterns) {
    std::string first = patterns.substr(0, patterns.find(';'));
    if (first.size() < 3 || first.compare(0, 2, "*.") != 0) return {};
    std::string ext = first.substr(2);
    if (ext.find_first_of("*?[") != std::string::npos) return {};
    return ext;
}

// Lexically tidies a path: repeated slashes, "." and ".." components.
std::string tidy(const std::string& path) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (const auto& p : parts) out += "/" + p;
    return out.empty() ? "/" : out;
}

bool lessnocase(const std::string& a, const std::string& b) {
    int c = strcasecmp(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
}

}  // namespace

const std::string& startfolder() {
    static const std::string dir = [] {
        std::vector<char> buf(PATH_MAX + 1);
        if (getcwd(buf.data(), buf.size()) == nullptr) return std::string(".");
        return std::string(buf.data());
    }();
    return dir;
}

FileDialogRecord filerecord(const std::vector<FileFilter>& filters, const std::string& title,
                            const std::string& defext, bool save) {
    FileDialogRecord r;
    r.filters = filters;
    r.title = title;
    r.defext = defext;
    r.initialdir = startfolder();
    r.overwriteprompt = save;
    r.mustexist = !save;
    return r;
}

FileDialogRecord filerecord(const std::string& filtername, const std::string& pattern,
                            const std::string& title, const std::string& defext, bool save) {
    return filerecord(std::vector<FileFilter>{{filtername, pattern}}, title, defext, save);
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
    if (!extension(lastcomponent(path)).empty()) return path;
    return path + "." + defext;
}

void acceptfile(FileDialogRecord& rec, const std::string& path) {
    std::string full = path;
    if (!full.empty() && full[0] != '/') full = dialogfolder(rec) + "/" + full;
    rec.file = full;
    rec.filetitle = lastcomponent(full);
}

const FileFilter& allfiles() {
    static const FileFilter all{"All files (*)", "*"};
    return all;
}

std::vector<FileFilter> choosertypes(const FileDialogRecord& rec) {
    std::vector<FileFilter> types = rec.filters;
    types.push_back(allfiles());
    return types;
}

bool matchespattern(const std::string& name, const std::string& patterns) {
    size_t i = 0;
    while (i <= patterns.size()) {
        size_t j = patterns.find(';', i);
        if (j == std::string::npos) j = patterns.size();
        std::string p = patterns.substr(i, j - i);
        if (!p.empty() && fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0)
            return true;
        i = j + 1;
    }
    return false;
}

FolderListing listfolder(const std::string& folder, const std::string& patterns) {
    FolderListing out;
    DIR* d = opendir(folder.c_str());
    if (!d) return out;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.empty() || name[0] == '.') continue;
        const std::string full = folder == "/" ? "/" + name : folder + "/" + name;
        if (isfolder(full))
            out.folders.push_back(name);
        else if (matchespattern(name, patterns))
            out.files.push_back(name);
    }
    closedir(d);
    std::sort(out.folders.begin(), out.folders.end(), lessnocase);
    std::sort(out.files.begin(), out.files.end(), lessnocase);
    return out;
}

Choice resolvechoice(const FileDialogRecord& rec, const std::string& folder,
                     const std::string& typed, int typeindex, bool save) {
    std::string name = typed;
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (name.empty()) return {};
    if (name.find_first_of("*?") != std::string::npos) return {ChoiceAction::refilter, name};
    std::string path;
    if (name[0] == '/') {
        path = name;
    } else if (name == "~" || name.compare(0, 2, "~/") == 0) {
        const char* home = std::getenv("HOME");
        path = std::string(home ? home : "") + name.substr(1);
    } else {
        path = folder + "/" + name;
    }
    path = tidy(path);
    if (isfolder(path)) return {ChoiceAction::navigate, path};

    const std::vector<FileFilter> types = choosertypes(rec);
    const int index = std::clamp(typeindex, 1, int(types.size()));
    std::string ext = patternextension(types[index - 1].pattern);
    if (ext.empty()) ext = rec.defext;
    const std::string file = lastcomponent(path);

    if (!save) {
        if (exists(path)) return {ChoiceAction::accept, path};
        if (extension(file).empty() && !ext.empty() && exists(path + "." + ext))
            return {ChoiceAction::accept, path + "." + ext};
        if (rec.mustexist) return {ChoiceAction::notfound, name};
        return {ChoiceAction::accept, extension(file).empty() ? withdefaultext(path, ext) : path};
    }
    bool known = false;
    for (const FileFilter& f : rec.filters) known = known || matchespattern(file, f.pattern);
    if (!known && !ext.empty()) path += "." + ext;
    if (rec.overwriteprompt && exists(path)) return {ChoiceAction::confirmoverwrite, path};
    return {ChoiceAction::accept, path};
}

std::string overwritequestion(const std::string& path) {
    return lastcomponent(path) + " already exists.\nDo you want to replace it?";
}

std::string notfoundtext(const std::string& typed) {
    return typed + "\nFile not found.\nCheck the file name and try again.";
}

}  // namespace shell
