// The command line every program shares: --help, --version, --scale, and
// at most one FILE operand for programs that open files. Reading it needs no
// display, so a desktop without one, a package check or a man page can rely
// on it. Also the choice of the scale the windows are drawn at.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

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
    int scale = 0;       // --scale N (1 ... kMaxScale), 0 when not given
    std::map<std::string, std::string> options;  // values of the program's options, by name
};

// The largest scale the programs are drawn at.
constexpr int kMaxScale = 3;

// Reads the arguments after the program name. Options come first as given:
// the first of --help, --version or a fault decides; "--" ends the options.
// An option of the program's takes its value from the next argument or after
// '='; given twice, the last value counts.
CommandLine parsecommandline(const ProgramDesc& d, int argc, const char* const* argv);

// The --help text: usage, options and keys.
std::string helptext(const ProgramDesc& d);

// The scale the windows are drawn at, chosen once at start-up from the first
// of these that says something: the command line's --scale (`option`, 0 for
// none), the variable PALETTE_TOOLS_SCALE (`toolsscale`), the variable
// GDK_SCALE (`gdkscale`; null for an unset variable), and the desktop's dots
// per inch as `dpi` reports them (0 when it says nothing), divided by 96 and
// rounded. A variable that is not a whole number of at least 1 says nothing;
// the result is 1 ... kMaxScale, and 1 when nothing says anything. `dpi` is
// asked only when the others say nothing.
int choosescale(int option, const char* toolsscale, const char* gdkscale,
                const std::function<double()>& dpi);

// The value of Xft.dpi in an X resource database's text ("Xft.dpi:\t192"
// among its lines), as the desktop sets it for its scale; nullopt when it
// has none that is a positive number.
std::optional<double> xftdpi(std::string_view resources);

}  // namespace shell
