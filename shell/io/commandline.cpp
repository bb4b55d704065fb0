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
    // The option column is as wide as the longest option with its value.
    std::vector<std::pair<std::string, std::string>> options = {
        {"-h, --help", "show this help and exit"}, {"    --version", "show the version and exit"}};
    for (const ValueOption& o : d.options)
        options.push_back({"    " + o.name + " " + o.value, o.what});
    size_t optwidth = 0;
    for (const auto& o : options) optwidth = std::max(optwidth, o.first.size());
    for (const auto& o : options)
        s += "  " + o.first + std::string(optwidth - o.first.size() + 2, ' ') + o.second + "\n";
    if (!d.keys.empty()) {
        s += "\nKeys in the window:\n";
        size_t width = 0;
        for (const KeyHelp& k : d.keys) width = std::max(width, k.keys.size());
        for (const KeyHelp& k : d.keys) {
            if (k.keys.empty())
                s += "\n" + k.what + "\n";
            else
                s += "  " + k.keys + std::string(width - k.keys.size() + 2, ' ') + k.what + "\n";
        }
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

// The program's option that argument a names, alone or with "=value".
const ValueOption* findoption(const ProgramDesc& d, const std::string& a) {
    for (const ValueOption& o : d.options)
        if (a == o.name || a.rfind(o.name + "=", 0) == 0) return &o;
    return nullptr;
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
        } else if (const ValueOption* o = options ? findoption(d, a) : nullptr) {
            // The value is after '=' or the next argument.
            const size_t eq = a.find('=');
            std::string value;
            if (eq != std::string::npos)
                value = a.substr(eq + 1);
            else if (i + 1 < argc && argv[i + 1])
                value = argv[++i];
            if (value.empty()) return fault(d, "option '" + o->name + "' needs " + o->value);
            c.options[o->name] = value;
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
