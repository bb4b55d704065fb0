#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "huewright/files/metadata.h"

using namespace huewright;

namespace {

std::time_t utc(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return timegm(&t);
}

// The description of the start-up curves: 19 lines.
const char* const startupdescription =
    "Xo Gradient curve parameters\n\n"
    "Red: Sine\nphase: 1\nindex shift: 165\namplitude: 255\nvertical shift: 0\n\n"
    "Green: Sine\nphase: 1\nindex shift: 90\namplitude: 255\nvertical shift: 0\n\n"
    "Blue: Sine\nphase: 1\nindex shift: 0\namplitude: 255\nvertical shift: 0\n";

struct Dataset {
    int record, number;
    std::string data;
};

// Splits an IPTC record into its datasets; stops at the padding byte.
std::vector<Dataset> datasets(const std::vector<uint8_t>& r) {
    std::vector<Dataset> out;
    size_t at = 0;
    while (at + 5 <= r.size() && r[at] == 0x1C) {
        const size_t n = size_t(r[at + 3]) << 8 | r[at + 4];
        out.push_back(
            {r[at + 1], r[at + 2], std::string(r.begin() + at + 5, r.begin() + at + 5 + n)});
        at += 5 + n;
    }
    return out;
}

}  // namespace

TEST(Metadata, CopyrightIsDatedInUtcAndEveryStringKeepsAnOddLength) {
    // 23:30 UTC on 15 June is already 16 June east of Greenwich.
    std::string desc = "Xo\n";
    for (std::time_t when : {utc(2026, 6, 15, 0, 30), utc(2026, 6, 15, 23, 30)}) {
        const Metadata m = writestrings(desc, "Anonymous", when);
        EXPECT_EQ(m.copyrightstring, "\xC2\xA9 6-15-2026 - Anonymous ");
        // "© 6-15-2026 - Anonymous" is 24 bytes (© takes two), so one space
        // is added.
        EXPECT_EQ(m.copyrightstring.size(), 25u);
        EXPECT_EQ(m.titlestring, "Xo Gradient Palettes");
        EXPECT_EQ(m.softwarestring, "CorvaneQuillbrookStudios ");
        EXPECT_EQ(m.artiststring, "Anonymous");
    }
    // No leading zeros, and an odd-length notice is left alone.
    EXPECT_EQ(writestrings(desc, "Alf", utc(2027, 1, 2, 12, 0)).copyrightstring,
              "\xC2\xA9 1-2-2027 - Alf");

    // The description is padded in place, once: the program's copy keeps it.
    EXPECT_EQ(desc, "Xo\n");
    std::string even = "Xo Gradient\n";
    EXPECT_EQ(writestrings(even, "Anonymous", 0).descriptionstring, "Xo Gradient\n ");
    EXPECT_EQ(even, "Xo Gradient\n ");
    writestrings(even, "Anonymous", 0);
    EXPECT_EQ(even, "Xo Gradient\n ");

    // An even-length name would put every later field on an odd offset.
    EXPECT_EQ(writestrings(desc, "Jo", 0).artiststring, "Jo ");

    std::string start = startupdescription;
    const Metadata m = writestrings(start, "Anonymous", utc(2026, 6, 15, 12, 0));
    // The title goes only into the IPTC record and the XMP packet.
    for (const std::string* s :
         {&m.softwarestring, &m.artiststring, &m.copyrightstring, &m.descriptionstring})
        EXPECT_EQ((s->size() + 1) % 2, 0u) << *s;
    EXPECT_EQ(iptcwrite(m).size() % 2, 0u);
    EXPECT_EQ((xmpwrite(m).size() + 1) % 2, 0u);
}

TEST(Metadata, IptcRecordHoldsTheSevenDatasetsInOrder) {
    std::string desc = startupdescription;
    const Metadata m = writestrings(desc, "Anonymous", utc(2026, 6, 15, 12, 0));
    const std::vector<uint8_t> r = iptcwrite(m);
    const std::vector<uint8_t> head = {0x1C, 0x01, 0x5A, 0x00, 0x03, 0x1B, 0x25, 0x47, 0x1C, 0x02,
                                       0x00, 0x00, 0x02, 0x00, 0x00, 0x1C, 0x02, 0x05, 0x00, 0x14};
    ASSERT_GT(r.size(), head.size() + 20);
    EXPECT_EQ(std::vector<uint8_t>(r.begin(), r.begin() + 20), head);
    EXPECT_EQ(std::string(r.begin() + 20, r.begin() + 40), "Xo Gradient Palettes");

    const auto d = datasets(r);
    ASSERT_EQ(d.size(), 7u);
    EXPECT_EQ(d[3].record, 2);
    EXPECT_EQ(d[3].number, 65);
    EXPECT_EQ(d[3].data, m.softwarestring);
    EXPECT_EQ(d[4].number, 80);
    EXPECT_EQ(d[4].data, "Anonymous");
    EXPECT_EQ(d[5].number, 116);
    EXPECT_EQ(d[5].data, m.copyrightstring);
    EXPECT_EQ(d[6].number, 120);
    EXPECT_EQ(d[6].data, m.descriptionstring);

    // The record's parity follows its contents; an odd total gets one zero.
    for (const char* name : {"Al", "Alf"}) {
        std::string dsc = "Xo\n";
        Metadata n = writestrings(dsc, name, 0);
        const std::vector<uint8_t> rec = iptcwrite(n);
        size_t raw = 0;
        for (const Dataset& ds : datasets(rec)) raw += 5 + ds.data.size();
        EXPECT_EQ(rec.size(), raw + raw % 2) << name;
        if (raw % 2) {
            EXPECT_EQ(rec.back(), 0);
        }
    }
}

TEST(Metadata, XmpPacketHasItsFixedTextAndEscapesWhatIsInserted) {
    // With nothing inserted the fixed text is 1292 bytes; an even length
    // gets one space so that the packet with its NUL has an even size.
    const std::string empty = xmpwrite(Metadata{});
    EXPECT_EQ(empty.size(), 1293u);
    EXPECT_EQ(empty.back(), ' ');
    EXPECT_EQ(empty.rfind("<?xpacket end=\"w\"?>"), 1292u - 19u);
    EXPECT_EQ(empty.rfind("<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                          "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\" x:xmptk=\"Adobe XMP Core "
                          "5.3-c011 66.145661, 2012/02/06-14:56:27        \">\n",
                          0),
              0u);
    EXPECT_NE(empty.find("         <xmpRights:Marked>True</xmpRights:Marked>      "
                         "</rdf:Description>\n   </rdf:RDF>\n</x:xmpmeta>\n"),
              std::string::npos);

    std::string desc = "a < b & c\n";
    const Metadata m = writestrings(desc, "Tom & \"Jerry\" <x>", 0);
    const std::string x = xmpwrite(m);
    EXPECT_EQ((x.size() + 1) % 2, 0u);
    EXPECT_NE(x.find("<rdf:li>Tom &amp; &quot;Jerry&quot; &lt;x&gt;</rdf:li>"), std::string::npos);
    EXPECT_NE(x.find(">a &lt; b &amp; c\n </rdf:li>"), std::string::npos);
    EXPECT_NE(x.find("<xmp:CreatorTool>CorvaneQuillbrookStudios </xmp:CreatorTool>"),
              std::string::npos);
    // Escaping changes the packet, not the TIFF and IPTC strings.
    EXPECT_EQ(m.artiststring, "Tom & \"Jerry\" <x>");
}

TEST(Metadata, NameFilterKeepsLettersDigitsAndSafeMarks) {
    EXPECT_EQ(filtername("Anonymous"), "Anonymous");
    EXPECT_EQ(filtername("Jo O'Neil <x>"), "Jo O*Neil *x*");
    EXPECT_EQ(filtername(""), " ");
    EXPECT_EQ(filtername("a+b-c.d@e_f&g 7"), "a+b-c.d@e_f&g 7");
    EXPECT_EQ(filtername("Ann"), "Ann");
    EXPECT_EQ(filtername("Anna"), "Anna ");
    EXPECT_EQ(filtername("tab\there\n"), "tab*here*");

    const std::string n31 = "abcdefghijklmnopqrstuvwxyz01234";
    EXPECT_EQ(filtername(n31), n31);
    EXPECT_EQ(filtername(n31 + "56789"), n31);
    EXPECT_EQ(filtername(n31.substr(0, 30)), n31.substr(0, 30) + " ");
}

TEST(Metadata, NameFilterKeepsWholeCharactersOfAnyScript) {
    // Letters of any script stay whole; the padding counts bytes.
    EXPECT_EQ(filtername("Zo\xC3\xAB & Co"), "Zo\xC3\xAB & Co");
    EXPECT_EQ(filtername("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD"), "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD ");
    // A sign that is not a letter becomes one "*", whatever its length.
    EXPECT_EQ(filtername("A\xC2\xA9"
                         "B"),
              "A*B");
    EXPECT_EQ(filtername("x\xE2\x82\xAC"), "x* ");
    // Bytes that are no character at all are replaced one by one.
    EXPECT_EQ(filtername("a\xFF"
                         "b"),
              "a*b");
    EXPECT_EQ(filtername("a\xC3"), "a* ");

    // The limit counts characters, as the name box does: 31 two-byte
    // letters are kept whole, and padded as their 62 bytes are even.
    const std::string a30(30, 'a');
    EXPECT_EQ(filtername(a30 + "\xC3\xA9"), a30 + "\xC3\xA9 ");
    std::string e31;
    for (int i = 0; i < 31; ++i) e31 += "\xC3\xA9";
    EXPECT_EQ(filtername(e31 + "\xC3\xA9"
                               "bc"),
              e31 + " ");
}
