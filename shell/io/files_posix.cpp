#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "files.h"

namespace shell {

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

FILE* openfile(const std::string& path, const char* mode) {
    return fopen(path.c_str(), mode);
}

FileKind filekind(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FileKind::none;
    if (S_ISREG(st.st_mode)) return FileKind::file;
    if (S_ISDIR(st.st_mode)) return FileKind::folder;
    return FileKind::other;
}

bool samefile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::vector<std::string> foldernames(const std::string& folder) {
    std::vector<std::string> out;
    DIR* d = opendir(folder.c_str());
    if (!d) return out;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") out.push_back(name);
    }
    closedir(d);
    return out;
}

std::string currentfolder() {
    std::vector<char> buf(PATH_MAX + 1);
    if (getcwd(buf.data(), buf.size()) == nullptr) return ".";
    return buf.data();
}

std::string homefolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace shell
