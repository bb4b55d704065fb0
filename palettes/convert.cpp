// palette-convert: converts a palette or gradient file between the formats
// of the palettes library.
//
//   palette-convert [--to FORMAT] IN OUT
//   palette-convert --curves IN
//
// The input's format is the one IN's extension names, or recognised from its
// content when the extension names none; the output's is OUT's extension's
// unless --to names it. The palette takes its name from OUT's file name; the
// description is the input's own where it has one, else a line naming the
// source. Exit status: 0 done, 1 the input could not be read or the output
// not written, 2 a wrong command line (OUT the same file as IN included).
// Every failure prints one line on stderr and leaves OUT as it was.
// --curves prints the curves a palette file says it was made with, and
// exits 1 when it says none.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "palettes/curves.h"
#include "palettes/palettes.h"
#include "shell/io/textformat.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: palette-convert [--to FORMAT] IN OUT\n"
    "       palette-convert --curves IN\n"
    "       palette-convert --list | --help | --version\n"
    "\n"
    "Converts the palette or gradient in IN into OUT. The format of IN is\n"
    "the one its extension names, or recognised from its content when the\n"
    "extension names none; the format of OUT is its extension's, or\n"
    "--to FORMAT's (a key that --list shows). The palette is named after\n"
    "OUT's file name. OUT may not be IN, under any name.\n"
    "\n"
    "  --to FORMAT  write this format whatever OUT's extension\n"
    "  --curves     print the gradient designer's curve records or the B-spline\n"
    "               designer's points that IN was made with; exit 1 when it has none\n"
    "  --list       list the formats and whether they can be read and written\n"
    "  --help       show this text\n"
    "  --version    show the version\n";

int fail(int status, const std::string& message) {
    fprintf(stderr, "palette-convert: %s\n", message.c_str());
    return status;
}

void listformats() {
    printf("%-6s %-5s %-5s %-16s %s\n", "KEY", "READ", "WRITE", "EXTENSIONS", "NAME");
    for (const palettes::FormatInfo& f : palettes::formats()) {
        std::string extensions;
        for (const char* e : f.extensions)
            extensions += std::string(extensions.empty() ? "" : " ") + "." + e;
        printf("%-6s %-5s %-5s %-16s %s\n", f.key, f.canread ? "yes" : "no",
               f.canwrite ? "yes" : "no", extensions.c_str(), f.name);
    }
}

// Prints the curves the file was made with, as either designer saved them.
int printcurves(const std::string& in) {
    shell::Palette palette{};
    const shell::Result<palettes::PaletteInfo> read = palettes::readpalettefile(in, palette);
    if (!read.ok()) return fail(kExitFailure, in + ": " + read.error().reason);
    const std::string& description = read.value().description;
    const char* const channels[3] = {"red", "green", "blue"};
    const auto curves = palettes::readgradientcurves(description);
    if (curves.found == palettes::Found::curves) {
        printf("gradient curves\n");
        for (int c = 0; c < 3; ++c)
            printf("%s: %s\n", channels[c],
                   palettes::curvesummary(curves.value.channel[c]).c_str());
        return 0;
    }
    if (curves.found == palettes::Found::damaged)
        return fail(kExitFailure, in + ": damaged gradient curves: " + curves.why);
    const auto points = palettes::readsplinepoints(description);
    if (points.found == palettes::Found::curves) {
        printf("spline points, inversion %s\n", points.value.inverted ? "on" : "off");
        for (int c = 0; c < 3; ++c) {
            std::string line = std::string(channels[c]) + ":";
            for (const palettes::SplinePoint& p : points.value.points[c]) {
                line += " (";
                shell::appendfixed(line, p.x, 1);
                line += ", ";
                shell::appendfixed(line, p.y, 1);
                line += ")";
            }
            printf("%s\n", line.c_str());
        }
        return 0;
    }
    if (points.found == palettes::Found::damaged)
        return fail(kExitFailure, in + ": damaged spline points: " + points.why);
    return fail(kExitFailure, in + ": no curves or points in it");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> operands;
    const palettes::FormatInfo* to = nullptr;
    bool optionsdone = false, curves = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsdone || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsdone = true;
        } else if (arg == "--help" || arg == "-h") {
            fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            printf("palette-convert %s\n", PALETTE_CONVERT_VERSION);
            return 0;
        } else if (arg == "--curves") {
            curves = true;
        } else if (arg == "--list") {
            listformats();
            return 0;
        } else if (arg == "--to" || arg.rfind("--to=", 0) == 0) {
            std::string word;
            if (arg == "--to") {
                if (i + 1 >= argc) return fail(kExitUsage, "--to needs a format (see --list)");
                word = argv[++i];
            } else {
                word = arg.substr(5);
            }
            to = palettes::findformat(word);
            if (to == nullptr)
                return fail(kExitUsage, "unknown format \"" + word + "\" (see --list)");
            if (!to->canwrite)
                return fail(kExitUsage, std::string(to->name) + " files cannot be written");
        } else {
            return fail(kExitUsage, "unknown option \"" + arg + "\" (see --help)");
        }
    }
    if (curves) {
        if (operands.size() != 1 || to != nullptr)
            return fail(kExitUsage, "--curves takes IN alone (see --help)");
        return printcurves(operands[0]);
    }
    if (operands.size() != 2) return fail(kExitUsage, "expected IN and OUT (see --help)");
    const std::string& in = operands[0];
    const std::string& out = operands[1];

    if (to == nullptr) {
        to = palettes::formatofpath(out);
        if (to == nullptr)
            return fail(kExitUsage, "cannot tell the format from \"" + out + "\": use --to");
        if (!to->canwrite)
            return fail(kExitUsage, std::string(to->name) + " files cannot be written");
    }

    // Writing over the input would replace the source with its own
    // resampling. Names cannot tell (links, "./a" and "a"); the file system's
    // identity of the files can.
    struct stat instat, outstat;
    if (stat(in.c_str(), &instat) == 0 && stat(out.c_str(), &outstat) == 0 &&
        instat.st_dev == outstat.st_dev && instat.st_ino == outstat.st_ino)
        return fail(kExitUsage,
                    "will not write over the input: " + out + " is the same file as " + in);

    shell::Palette palette{};
    const shell::Result<palettes::PaletteInfo> read = palettes::readpalettefile(in, palette);
    if (!read.ok()) return fail(kExitFailure, in + ": " + read.error().reason);

    std::string description = read.value().description;
    if (description.empty())
        description = "Converted from " + in.substr(in.rfind('/') + 1) + " (" +
                      palettes::info(read.value().format).name + ")\n";
    if (read.value().dropped > 0) {
        // Say what was left out, now and in the file itself.
        const std::string lost =
            std::to_string(256 + read.value().dropped) + " colours; the first 256 are kept";
        fprintf(stderr, "palette-convert: %s: %s\n", in.c_str(), lost.c_str());
        if (description.back() != '\n') description += '\n';
        description += lost + "\n";
    }
    const shell::Status saved = palettes::writepalettefile(out, to->format, palette, description);
    if (!saved.ok()) {
        if (saved.error().fault == shell::Fault::memory)
            return fail(kExitFailure, "cannot encode " + out + ": out of memory");
        return fail(kExitFailure, "cannot write " + out + ": " + saved.error().reason);
    }
    return 0;
}
