// The desktop entry point of every program: the command line is read before
// anything needs a display.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform.h"
#include "shell/io/commandline.h"

namespace shell {

namespace {

// Writes all of `s`; false when the stream fails (a closed pipe, a full disk).
bool writeall(std::FILE* f, const std::string& s) {
    if (s.empty()) return true;
    return std::fwrite(s.data(), 1, s.size(), f) == s.size() && std::fflush(f) == 0;
}

}  // namespace

int runprogram(ProgramDesc d, int argc, char** argv) {
    const CommandLine c = parsecommandline(d, argc, argv);
    writeall(stderr, c.err);
    if (!writeall(stdout, c.out)) {
        // Help that never arrived is not a success.
        std::fprintf(stderr, "%s: cannot write to standard output: %s\n", d.name.c_str(),
                     std::strerror(errno));
        return 1;
    }
    if (!c.start) return c.exitcode;
    d.startfile = c.file;
    // The display is asked for its resolution only when neither the command
    // line nor the environment names a scale.
    d.scale = choosescale(c.scale, std::getenv("PALETTE_TOOLS_SCALE"), std::getenv("GDK_SCALE"),
                          [] { return xftdpi(fltk::displayresources()).value_or(0); });
    d.startoptions = c.options;
    return runprogram(d);
}

}  // namespace shell
