// CSS gradients (.css): a rule whose background is the palette as a linear
// gradient, stop i at i/255 of the width, under a comment with the palette's
// name and description.
#include "palettes/codec.h"

namespace palettes {

namespace {

// Percentages with four decimals: every stop at its own place.
constexpr int kPercentDecimals = 4;

// A comment line that cannot end the comment early: "*/" in the text becomes
// "* /".
std::string commentline(std::string_view text) {
    std::string s = plaintext(text);
    for (size_t at = s.find("*/"); at != std::string::npos; at = s.find("*/", at + 3))
        s.replace(at, 2, "* /");
    return s;
}

}  // namespace

std::string writecss(const shell::Palette& palette, std::string_view name,
                     std::string_view description) {
    std::string s;
    s.reserve(256 * 20 + description.size() + 128);
    s += "/* " + commentline(oneline(name, "Palette")) + "\n";
    for (std::string_view line : textlines(description)) {
        s += " *";
        if (!line.empty()) s += " " + commentline(line);
        s += '\n';
    }
    s += " */\n.";
    s += identifier(name);
    s += " {\n  background-image: linear-gradient(to right";
    for (int i = 0; i < 256; ++i) {
        s += i % 4 == 0 ? ",\n    " : ", ";
        appendhexcolour(s, palette[i]);
        s += ' ';
        appendtrimmed(s, i * 100.0 / 255, kPercentDecimals);
        s += '%';
    }
    s += ");\n}\n";
    return s;
}

}  // namespace palettes
