// File names as the system spells them. '/' separates folders everywhere;
// on Windows '\' does too, and a drive ("C:") or a server ("\\server")
// starts an absolute path.
#pragma once

#include <string>
#include <string_view>

namespace shell {

#ifdef _WIN32
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif

inline bool isseparator(char c) {
    return c == '/' || (kBackslashSeparates && c == '\\');
}

// Where the last component of a path starts: just after its last separator.
inline size_t namestart(std::string_view path) {
    size_t at = path.size();
    while (at > 0 && !isseparator(path[at - 1])) --at;
    // "C:name" names a file in the drive's current folder.
    if (kBackslashSeparates && at == 0 && path.size() >= 2 && path[1] == ':') at = 2;
    return at;
}

// The last component: "c.map" of "/a/b/c.map".
inline std::string_view filename(std::string_view path) {
    return path.substr(namestart(path));
}

// The folder a path names its file in: "." for a bare name, and the root
// ("/", "C:\") kept whole.
inline std::string folderof(std::string_view path) {
    size_t at = namestart(path);
    if (at == 0) return ".";
    size_t end = at - (isseparator(path[at - 1]) ? 1 : 0);
    // The separator of a root stays: "/" and "C:\" are folders, "" and "C:" are not.
    if (end == 0 || (kBackslashSeparates && end == 2 && path[1] == ':')) end = at;
    return std::string(path.substr(0, end));
}

inline bool isabsolute(std::string_view path) {
    if (!path.empty() && isseparator(path[0])) return true;
    return kBackslashSeparates && path.size() >= 3 && path[1] == ':' && isseparator(path[2]);
}

}  // namespace shell
