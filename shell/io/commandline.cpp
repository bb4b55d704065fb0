#include "commandline.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace shell {

const char* programversion() {
    return PALETTETOOLS_VERSION;
}

std::string helptext(const ProgramDesc& d) {
    std::string s = "Usage: " + d.name + " [OPTION]..." + (d.takesfile ? " [FILE]" : "") + "\n";
    if (!d.summary.empty()) s += d.summary + "\n";
    s += "\nOptions:\n";
    // The option column is as wide as the longest option with its value;
    // a description of several lines continues under its first.
    std::vector<std::pair<std::string, std::string>> options = {
        {"-h, --help", "show this help and exit"}, {"    --version", "show the version and exit"}};
    for (const ValueOption& o : d.options)
        options.push_back({"    " + o.name + " " + o.value, o.what});
    options.push_back({"    --scale N",
                       "draw the windows N times as large, for a screen of high\n"
                       "density (N is 1, 2 or 3; by default it follows\n"
                       "PALETTE_TOOLS_SCALE, GDK_SCALE or the desktop's Xft.dpi)"});
    size_t optwidth = 0;
    for (const auto& o : options) optwidth = std::max(optwidth, o.first.size());
    for (const auto& o : options) {
        std::string what = o.second;
        for (size_t nl = what.find('\n'); nl != std::string::npos; nl = what.find('\n', nl + 1))
            what.insert(nl + 1, std::string(optwidth + 4, ' '));
        s += "  " + o.first + std::string(optwidth - o.first.size() + 2, ' ') + what + "\n";
    }
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

// A whole number written as digits only, as a scale is; nullopt for
// anything else (a sign, a fraction, spaces, more digits than a scale has).
std::optional<int> wholenumber(std::string_view s) {
    if (s.empty() || s.size() > 4) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

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
        } else if (options && (a == "--scale" || a.rfind("--scale=", 0) == 0)) {
            if (a == "--scale" && i + 1 >= argc) return fault(d, "--scale needs a number");
            const std::string v = a == "--scale" ? (argv[++i] ? argv[i] : "") : a.substr(8);
            const std::optional<int> n = wholenumber(v);
            if (!n || *n < 1 || *n > kMaxScale)
                return fault(d, "the scale must be 1, 2 or 3, not '" + v + "'");
            c.scale = *n;
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

int choosescale(int option, const char* toolsscale, const char* gdkscale,
                const std::function<double()>& dpi) {
    const auto within = [](long v) { return int(std::clamp<long>(v, 1, kMaxScale)); };
    if (option > 0) return within(option);
    for (const char* v : {toolsscale, gdkscale}) {
        if (!v) continue;
        const std::optional<int> n = wholenumber(v);
        if (n && *n >= 1) return within(*n);
    }
    const double d = dpi ? dpi() : 0;
    if (d > 0 && std::isfinite(d)) return within(std::lround(d / 96));
    return 1;
}

std::optional<double> xftdpi(std::string_view resources) {
    const auto trim = [](std::string_view s) {
        const size_t b = s.find_first_not_of(" \t");
        if (b == std::string_view::npos) return std::string_view();
        return s.substr(b, s.find_last_not_of(" \t\r") + 1 - b);
    };
    std::optional<double> found;
    while (!resources.empty()) {
        const size_t nl = resources.find('\n');
        const std::string_view line = resources.substr(0, nl);
        resources = nl == std::string_view::npos ? std::string_view() : resources.substr(nl + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || trim(line.substr(0, colon)) != "Xft.dpi") continue;
        // The whole value is the number, read whatever the locale's
        // decimal point.
        const std::string_view value = trim(line.substr(colon + 1));
        double v = 0;
        const auto [end, err] = std::from_chars(value.data(), value.data() + value.size(), v);
        // The database keeps the last setting of a resource.
        if (err == std::errc() && end == value.data() + value.size() && v > 0 && std::isfinite(v))
            found = v;
    }
    return found;
}

}  // namespace shell
