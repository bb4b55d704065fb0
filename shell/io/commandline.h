// The command line every program shares: --help, --version, and at most one
// FILE operand for programs that open files. Reading it needs no display, so
// a desktop without one, a package check or a man page can rely on it.
#pragma once

#include <map>
#include <string>

#include "shell/window/program.h"

namespace shell {

// The version of the programs, as the build's project declares it.
const char* programversion();

struct CommandLine {
    bool start = false;  // run the program; otherwise end at once with `exitcode`
    int exitcode = 0;    // 0 after --help and --version, 2 for a bad command line
    std::string out;     // what goes to standard output (help, version)
    std::string err;     // one line for standard error
    std::string file;    // the FILE operand, empty when none
    std::map<std::string, std::string> options;  // values of the program's options, by name
};

// Reads the arguments after the program name. Options come first as given:
// the first of --help, --version or a fault decides; "--" ends the options.
// An option of the program's takes its value from the next argument or after
// '='; given twice, the last value counts.
CommandLine parsecommandline(const ProgramDesc& d, int argc, const char* const* argv);

// The --help text: usage, options and keys.
std::string helptext(const ProgramDesc& d);

}  // namespace shell
