#include "filedialog.h"

#include <algorithm>

#include "shell/io/files.h"
#include "shell/io/paths.h"

namespace shell {

namespace {

bool isfolder(const std::string& path) {
    return filekind(path) == FileKind::folder;
}

bool exists(const std::string& path) {
    return filekind(path) != FileKind::none;
}

std::string lastcomponent(const std::string& path) {
    return std::string(filename(path));
}

// The separator paths are joined with: '/', or on Windows '\'.
constexpr char kSeparator = kBackslashSeparates ? '\\' : '/';

// `name` in `folder`.
std::string joinpath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && isseparator(folder.back())) return folder + name;
    return folder + kSeparator + name;
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

// Lexically tidies an absolute path: repeated separators, "." and ".."
// components. Its root ("/", or a drive on Windows) stays.
std::string tidy(const std::string& path) {
    std::string root;
    size_t i = 0;
    if (kBackslashSeparates && path.size() >= 2 && path[1] == ':') {
        root = path.substr(0, 2);
        i = 2;
    }
    std::vector<std::string> parts;
    while (i <= path.size()) {
        size_t j = i;
        while (j < path.size() && !isseparator(path[j])) ++j;
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out = root;
    for (const auto& p : parts) out += kSeparator + p;
    return out.size() == root.size() ? root + kSeparator : out;
}

char lowerascii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool lessnocase(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t k = 0; k < n; ++k) {
        const unsigned char x = lowerascii(a[k]), y = lowerascii(b[k]);
        if (x != y) return x < y;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// A bracket expression at p[0] == '[' matching c: "[abc]", "[a-z]", "[!x]"
// (or "[^x]"). `end` is set past it; false when the bracket never closes,
// and it then stands for itself.
bool bracketmatch(const std::string& p, size_t at, char c, size_t& end, bool& matched) {
    size_t k = at + 1;
    const bool negate = k < p.size() && (p[k] == '!' || p[k] == '^');
    if (negate) ++k;
    bool hit = false;
    for (bool first = true; k < p.size() && (first || p[k] != ']'); first = false) {
        char lo = lowerascii(p[k]), hi = lo;
        if (k + 2 < p.size() && p[k + 1] == '-' && p[k + 2] != ']') {
            hi = lowerascii(p[k + 2]);
            k += 2;
        }
        if (lo <= c && c <= hi) hit = true;
        ++k;
    }
    if (k >= p.size()) return false;
    end = k + 1;
    matched = hit != negate;
    return true;
}

// Shell wildcards ('*', '?', brackets) against a whole name, letter case
// aside; a leading dot must be matched by a dot in the pattern.
bool wildcard(const std::string& p, const std::string& name) {
    size_t pi = 0, ni = 0, star = std::string::npos, resume = 0;
    if (!name.empty() && name[0] == '.' && (p.empty() || p[0] != '.')) return false;
    while (ni < name.size()) {
        const char c = lowerascii(name[ni]);
        if (pi < p.size() && p[pi] == '*') {
            star = ++pi;
            resume = ni;
            continue;
        }
        bool step = false;
        size_t next = pi + 1;
        if (pi < p.size()) {
            bool matched = false;
            if (p[pi] == '?')
                step = true;
            else if (p[pi] == '[' && bracketmatch(p, pi, c, next, matched))
                step = matched;
            else
                step = lowerascii(p[pi]) == c;
        }
        if (step) {
            pi = next;
            ++ni;
        } else if (star != std::string::npos) {
            pi = star;
            ni = ++resume;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

}  // namespace

const std::string& startfolder() {
    static const std::string dir = currentfolder();
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
    if (!rec.file.empty() && namestart(rec.file) > 0) return folderof(rec.file);
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
    if (!full.empty() && !isabsolute(full)) full = joinpath(dialogfolder(rec), full);
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
        if (!p.empty() && wildcard(p, name)) return true;
        i = j + 1;
    }
    return false;
}

FolderListing listfolder(const std::string& folder, const std::string& patterns) {
    FolderListing out;
    for (const std::string& name : foldernames(folder)) {
        if (name.empty() || name[0] == '.') continue;
        if (isfolder(joinpath(folder, name)))
            out.folders.push_back(name);
        else if (matchespattern(name, patterns))
            out.files.push_back(name);
    }
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
    if (isabsolute(name)) {
        path = name;
    } else if (name == "~" || (name.size() >= 2 && name[0] == '~' && isseparator(name[1]))) {
        path = homefolder() + name.substr(1);
    } else {
        path = joinpath(folder, name);
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
