#include "huewright/files/metadata.h"

#include <cstdio>

#include "shell/io/textclass.h"
#include "shell/io/textformat.h"
#include "shell/window/dialoglogic.h"

namespace huewright {

std::time_t systemclock() {
    return std::time(nullptr);
}

void padodd(std::string& s) {
    if (s.size() % 2 == 0) s += ' ';
}

Metadata writestrings(std::string& descriptionstring, const std::string& username,
                      std::time_t now) {
    Metadata m;
    m.titlestring = titletext;
    m.softwarestring = softwaretext;
    m.artiststring = username;
    // Names come through the Name Entry dialog at an odd length already; a
    // name from anywhere else must not shift every later field to an odd
    // offset.
    padodd(m.artiststring);

    std::tm utc{};
    gmtime_r(&now, &utc);
    char date[64];
    std::snprintf(date, sizeof date, "\xC2\xA9 %d-%d-%d - ", utc.tm_mon + 1, utc.tm_mday,
                  utc.tm_year + 1900);
    m.copyrightstring = std::string(date) + username;
    padodd(m.copyrightstring);

    padodd(descriptionstring);
    m.descriptionstring = descriptionstring;
    return m;
}

// ---------------------------------------------------------------------------
// IPTC-IIM

namespace {

constexpr uint8_t iptc_marker = 0x1C;
constexpr size_t iptc_maxdata = 0xFFFF;  // the length field is 16 bits

void dataset(std::vector<uint8_t>& out, uint8_t record, uint8_t number, const std::string& data) {
    // A standard dataset cannot say more than 65535 bytes; a longer text is
    // cut rather than letting the length wrap round and garble the record.
    const size_t n = data.size() < iptc_maxdata ? data.size() : iptc_maxdata;
    out.push_back(iptc_marker);
    out.push_back(record);
    out.push_back(number);
    out.push_back(static_cast<uint8_t>(n >> 8));
    out.push_back(static_cast<uint8_t>(n & 0xFF));
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace

std::vector<uint8_t> iptcwrite(const Metadata& m) {
    std::vector<uint8_t> out;
    // Record 1, dataset 90: the escape sequence ESC % G declares UTF-8.
    dataset(out, 1, 90, std::string("\x1B\x25\x47", 3));
    // Record 2, dataset 0: record version 0.
    dataset(out, 2, 0, std::string("\0\0", 2));
    dataset(out, 2, 5, m.titlestring);          // object name
    dataset(out, 2, 65, m.softwarestring);      // originating program
    dataset(out, 2, 80, m.artiststring);        // by-line
    dataset(out, 2, 116, m.copyrightstring);    // copyright notice
    dataset(out, 2, 120, m.descriptionstring);  // caption
    if (out.size() % 2 != 0) out.push_back(0);
    return out;
}

// ---------------------------------------------------------------------------
// XMP

namespace {

// One language alternative (title, description, rights) of the dc schema.
void alternative(std::string& x, const char* element, const std::string& text) {
    x += std::string("         <dc:") + element + ">\n";
    x += "            <rdf:Alt>\n";
    x += "               <rdf:li xml:lang=\"x-default\">" + shell::xmlescape(text) + "</rdf:li>\n";
    x += "            </rdf:Alt>\n";
    x += std::string("         </dc:") + element + ">\n";
}

}  // namespace

std::string xmpwrite(const Metadata& m) {
    std::string x;
    x.reserve(2048);
    x += "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n";
    x += "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\" x:xmptk=\"Adobe XMP Core 5.3-c011 66.145661, "
         "2012/02/06-14:56:27        \">\n";
    x += "   <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n";

    x += "      <rdf:Description rdf:about=\"\"\n";
    x += "            xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n";
    x += "         <xmp:CreatorTool>" + shell::xmlescape(m.softwarestring) + "</xmp:CreatorTool>\n";
    x += "      </rdf:Description>\n";

    x += "      <rdf:Description rdf:about=\"\"\n";
    x += "            xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n";
    alternative(x, "title", m.titlestring);
    x += "         <dc:creator>\n";
    x += "            <rdf:Seq>\n";
    x += "               <rdf:li>" + shell::xmlescape(m.artiststring) + "</rdf:li>\n";
    x += "            </rdf:Seq>\n";
    x += "         </dc:creator>\n";
    alternative(x, "description", m.descriptionstring);
    alternative(x, "rights", m.copyrightstring);
    x += "      </rdf:Description>\n";

    x += "      <rdf:Description rdf:about=\"\"\n";
    x += "            xmlns:xmpRights=\"http://ns.adobe.com/xap/1.0/rights/\">\n";
    x += "         <xmpRights:Marked>True</xmpRights:Marked>      </rdf:Description>\n";
    x += "   </rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
    padodd(x);
    return x;
}

// ---------------------------------------------------------------------------
// The name filter

namespace {

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at s[i] and its code point, or 0
// when the bytes there are not one (a stray byte, an overlong form, a
// surrogate, or a value beyond U+10FFFF).
size_t utf8char(const std::string& s, size_t i, char32_t& cp) {
    const size_t left = s.size() - i;
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = b(0);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        if (left < 2 || !continuation(b(1))) return 0;
        cp = (char32_t(c & 0x1F) << 6) | (b(1) & 0x3F);
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !continuation(b(1)) || !continuation(b(2))) return 0;
        if (c == 0xE0 && b(1) < 0xA0) return 0;   // overlong
        if (c == 0xED && b(1) >= 0xA0) return 0;  // surrogate
        cp = (char32_t(c & 0x0F) << 12) | (char32_t(b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !continuation(b(1)) || !continuation(b(2)) || !continuation(b(3))) return 0;
        if (c == 0xF0 && b(1) < 0x90) return 0;   // overlong
        if (c == 0xF4 && b(1) >= 0x90) return 0;  // beyond U+10FFFF
        cp = (char32_t(c & 0x07) << 18) | (char32_t(b(1) & 0x3F) << 12) |
             (char32_t(b(2) & 0x3F) << 6) | (b(3) & 0x3F);
        return 4;
    }
    return 0;
}

bool allowedmark(char32_t cp) {
    return cp == ' ' || cp == '&' || cp == '+' || cp == '-' || cp == '.' || cp == '@' || cp == '_';
}

}  // namespace

std::string filtername(const std::string& typed) {
    // The name box holds at most this many characters; the name keeps what
    // the box holds, counted the same way, so nothing shown is dropped.
    const std::string shown = shell::limittext(typed, usernamemax);
    std::string out;
    size_t used = 0;  // bytes of `shown` taken so far
    while (used < shown.size()) {
        char32_t cp = 0;
        size_t n = utf8char(shown, used, cp);
        const bool valid = n > 0;
        if (!valid) n = 1;  // a stray byte is replaced on its own
        if (valid && (shell::isletterordigit(cp) || allowedmark(cp)))
            out.append(shown, used, n);
        else
            out += '*';
        used += n;
    }
    padodd(out);
    return out;
}

}  // namespace huewright
