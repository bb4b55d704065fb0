// ParaView colour maps (.json): a list holding one map whose RGBPoints run
// x, r, g, b for each entry, all fractions, x from 0 to 1.
#include "palettes/codec.h"

namespace palettes {

namespace {

// Six decimals bring back every entry and keep the positions increasing.
constexpr int kDecimals = 6;

// A JSON string: quotes and backslashes escaped, control characters as
// \uXXXX (or their short forms), the rest valid UTF-8 as it is.
std::string jsonstring(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string s = "\"";
    for (char ch : validutf8(text)) {
        auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                s += "\\\"";
                break;
            case '\\':
                s += "\\\\";
                break;
            case '\n':
                s += "\\n";
                break;
            case '\r':
                s += "\\r";
                break;
            case '\t':
                s += "\\t";
                break;
            default:
                if (c < 0x20) {
                    s += "\\u00";
                    s += hex[c >> 4];
                    s += hex[c & 15];
                } else {
                    s += ch;
                }
        }
    }
    return s + "\"";
}

}  // namespace

std::string writejson(const shell::Palette& palette, std::string_view name,
                      std::string_view description) {
    std::string s;
    s.reserve(256 * 40 + description.size() + 256);
    s += "[\n  {\n    \"Name\": " + jsonstring(oneline(name, "Palette")) + ",\n";
    s += "    \"Description\": " + jsonstring(description) + ",\n";
    s += "    \"ColorSpace\": \"RGB\",\n";
    s += "    \"NanColor\": [1, 0, 0],\n";
    s += "    \"RGBPoints\": [";
    for (int i = 0; i < 256; ++i) {
        s += i == 0 ? "\n      " : ",\n      ";
        appendtrimmed(s, i / 255.0, kDecimals);
        for (int c = 0; c < 3; ++c) {
            s += ", ";
            appendtrimmed(s, fraction(palette[i][c]), kDecimals);
        }
    }
    s += "\n    ]\n  }\n]\n";
    return s;
}

}  // namespace palettes
