// The Windows entry point of every program: the command line is read as
// UTF-16 and answered before any window is made. A program built for the
// desktop has no console of its own; --help and --version write to the one
// it was started from, if any.
#include <windows.h>

#include <cstdio>

#include "shell/io/commandline.h"
#include "shell/io/files.h"
#include "shell/io/wide.h"

namespace shell {

namespace {

// Writes all of `s` to a standard handle: the console it was started from
// when the handle is none (a program of the desktop started from a console),
// as text there; or the pipe or file it was given, as bytes.
bool writeall(DWORD which, const std::string& s) {
    if (s.empty()) return true;
    HANDLE h = GetStdHandle(which);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return true;  // nobody to tell: not a failure
        h = GetStdHandle(which);
    }
    DWORD mode = 0, done = 0;
    if (GetConsoleMode(h, &mode)) {
        const std::wstring w = widen(s);
        return WriteConsoleW(h, w.data(), DWORD(w.size()), &done, nullptr) && done == w.size();
    }
    return WriteFile(h, s.data(), DWORD(s.size()), &done, nullptr) && done == s.size();
}

}  // namespace

int runprogram(ProgramDesc d, int argc, char** argv) {
    const std::vector<std::string> args = arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& a : args) pointers.push_back(a.c_str());
    const CommandLine c = parsecommandline(d, int(pointers.size()), pointers.data());
    writeall(STD_ERROR_HANDLE, c.err);
    if (!writeall(STD_OUTPUT_HANDLE, c.out)) {
        // Help that never arrived is not a success.
        writeall(STD_ERROR_HANDLE, d.name + ": cannot write to standard output\n");
        return 1;
    }
    if (!c.start) return c.exitcode;
    d.startfile = c.file;
    d.startoptions = c.options;
    return runprogram(d);
}

}  // namespace shell
