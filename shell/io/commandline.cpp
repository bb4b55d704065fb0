#include "commandline.h"

#include <algorithm>

namespace shell {

const char* programversion() {
    return PALETTETOOLS_VERSION;
}

std::string helptext(const ProgramDesc& d) {
    std::string s = "Usage: " + d.name + " [OPTION]..." + (d.takesfile ? " [FILE]" : "") + "\n";
    if (!d.summary.empty()) s += d.summary + "\n";
    s += "\nOptions:\n";
    s += "  -h, --help     show this help and exit\n";
    s += "      --version  show the version and exit\n";
    if (!d.keys.empty()) {
        s += "\nKeys in the window:\n";
        size_t width = 0;
        for (const KeyHelp& k : d.keys) width = std::max(width, k.keys.size());
        for (const KeyHelp& k : d.keys)
            s += "  " + k.keys + std::string(width - k.keys.size() + 2, ' ') + k.what + "\n";
    }
    return s;
}

namespace {

CommandLine fault(const ProgramDesc& d, const std::string& what) {
    CommandLine c;
    c.exitcode = 2;
    c.err = d.name + ": " + what + " (see " + d.name + " --help)\n";
    return c;
}

}  // namespace

CommandLine parsecommandline(const ProgramDesc& d, int argc, const char* const* argv) {
    CommandLine c;
    bool options = true;
    bool havefile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i] ? argv[i] : "";
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--help" || a == "-h")) {
            CommandLine help;
            help.out = helptext(d);
            return help;
        } else if (options && a == "--version") {
            CommandLine version;
            version.out = d.name + " " + programversion() + "\n";
            return version;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return fault(d, "unknown option '" + a + "'");
        } else if (!d.takesfile) {
            return fault(d, "takes no file, but was given '" + a + "'");
        } else if (havefile) {
            return fault(d, "takes one file, but was also given '" + a + "'");
        } else if (a.empty()) {
            return fault(d, "the file name is empty");
        } else {
            c.file = a;
            havefile = true;
        }
    }
    c.start = true;
    return c;
}

}  // namespace shell
