// Every writer with a matching reader gives back all 256 entries, and the
// reader recognises its format by content alone.
#include <gtest/gtest.h>

#include "palettes/palettes.h"
#include "testpalettes.h"

using namespace palettes;

namespace {

struct Kept {
    Format format;
    bool name;         // the reader gives back the palette's name
    bool description;  // ... and its description
};

// What each readable format keeps besides the colours.
const Kept kKept[] = {
    {Format::map, false, true}, {Format::ggr, true, false},  {Format::gpl, true, true},
    {Format::ugr, true, false}, {Format::act, false, false}, {Format::svg, true, true},
    {Format::png, true, true},
};

// Text without its last line end, which some formats do not keep.
std::string chomp(std::string s) {
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

}  // namespace

TEST(RoundTrip, EveryReadableFormatGivesBackEveryEntryNameAndDescription) {
    const shell::Palette palettes[] = {testdata::startup(), testdata::randompalette()};
    // The name is identifier-safe so that every format keeps it as it is.
    const std::string name = "Sunset_2";
    const std::string description = "Made by hand\nline two\n";
    for (const Kept& k : kKept) {
        const FormatInfo& f = info(k.format);
        ASSERT_TRUE(f.canread && f.canwrite) << f.key;
        for (const shell::Palette& p : palettes) {
            std::string bytes = encodepalette(k.format, p, name, description).value();
            ASSERT_FALSE(bytes.empty()) << f.key;
            // A name that says nothing: the content decides.
            EXPECT_EQ(detectformat(bytes, "palette.dat"), k.format) << f.key;
            shell::Palette back = testdata::marked();
            const auto r = decodepalette(bytes, "palette.dat", back);
            ASSERT_TRUE(r.ok()) << f.key << ": " << r.error().reason;
            EXPECT_EQ(r.value().format, k.format);
            for (int i = 0; i < 256; ++i) ASSERT_EQ(back[i], p[i]) << f.key << " entry " << i;
            if (k.name) {
                EXPECT_EQ(r.value().name, name) << f.key;
            }
            if (k.description) {
                EXPECT_EQ(chomp(r.value().description), chomp(description)) << f.key;
            }
        }
    }
}

TEST(RoundTrip, TextBeyondAsciiAndMarkupSurvivesWhereKept) {
    const shell::Palette p = testdata::randompalette(7);
    // Latin-1, beyond Latin-1, markup characters and a comment end.
    const std::string name = "Coucher de soleil \xc3\xa9t\xc3\xa9 \xe2\x98\x80";
    const std::string description = "a < b & c > d \"quoted\" */ \xe6\x97\xa5\xe6\x9c\xac\n";
    for (Format f : {Format::png, Format::svg, Format::gpl}) {
        shell::Palette back{};
        const auto r = decodepalette(encodepalette(f, p, name, description).value(), "x", back);
        ASSERT_TRUE(r.ok()) << r.error().reason;
        EXPECT_EQ(back, p);
        // SVG names its gradient with an identifier; the others keep it.
        if (f != Format::svg) {
            EXPECT_EQ(r.value().name, name) << info(f).key;
        }
        EXPECT_EQ(chomp(r.value().description), chomp(description)) << info(f).key;
    }
}
