// Files by name on every system. Names are UTF-8 everywhere; on Windows they
// reach the system as UTF-16, so that any name the user can type works, not
// only those of the ANSI code page.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace shell {

// The program's arguments, argv[0] first, in UTF-8 (Windows hands a
// program's main its arguments in the ANSI code page, which cannot spell
// every name; they are read from the UTF-16 command line instead).
std::vector<std::string> arguments(int argc, char** argv);

// fopen of a UTF-8 name; `mode` as fopen's ("rb", "wb").
FILE* openfile(const std::string& path, const char* mode);

// What a name is on the file system.
enum class FileKind { none, file, folder, other };
FileKind filekind(const std::string& path);

// True when both names exist and are one file, however they are spelt (a
// link, "./a" and "a", letter case on Windows).
bool samefile(const std::string& a, const std::string& b);

// The names in a folder, without "." and "..", in no particular order;
// nothing when it cannot be read.
std::vector<std::string> foldernames(const std::string& folder);

// The process's working folder, or "." when it cannot be told.
std::string currentfolder();

// The user's home folder ($HOME, or on Windows the user profile), empty when
// unknown.
std::string homefolder();

}  // namespace shell
