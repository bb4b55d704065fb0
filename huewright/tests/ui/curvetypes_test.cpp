// The curve-type tables as a whole: what each type's texts, dialog controls
// and drag points name must be fields the type owns, so that a new type that
// forgets one fails here rather than in a drawing; and a record whose type
// number is unknown reads as a line everywhere.
#include "huewright/model/curvetypes.h"

#include <gtest/gtest.h>

#include <string>

#include "huewright/ui/curvetypeviews.h"
#include "huewright/ui/paramsdialog.h"
#include "window_testutil.h"

namespace huewright::testutil {
namespace {

using shell::Control;

// The numbers a printf format converts.
int conversions(const char* format) {
    int n = 0;
    for (const char* p = format; *p; ++p) n += p[0] == '%' && p[1] == 'd';
    return n;
}

bool owns(const CurveDesc& d, Field f) {
    for (const NumberField& n : d.numbers)
        if (n.field == f) return true;
    return f == d.choice.field;
}

bool listed(const Fields& fs, Field f) {
    for (Field g : fs)
        if (g == f) return true;
    return false;
}

// A text names as many fields as it converts, each of them the type's own.
void checktext(const CurveDesc& d, const TextLine& l) {
    EXPECT_EQ(conversions(l.format), (l.a != nullptr) + (l.b != nullptr)) << l.format;
    for (Field f : {l.a, l.b}) EXPECT_TRUE(!f || owns(d, f)) << l.format;
}

TEST(CurveTypes, EachTypesTablesNameOnlyItsOwnFields) {
    for (int i = 0; i < kCurveTypes; ++i) {
        const CurveDesc& d = kCurveTable[i];
        const CurveTypeView& v = kCurveViews[i];
        SCOPED_TRACE(d.name);
        ASSERT_EQ(d.type, v.type);
        for (const TextLine& l : d.description) checktext(d, l);
        for (const ReadoutLine& l : v.readout) checktext(d, l.text);

        // Invert flips only the type's fields, and twice gives the record
        // back.
        Parameters p = startupparameters[1];
        p.ct = curvenumber(d.type);
        for (Field f : d.inverted) EXPECT_TRUE(owns(d, f));
        const Parameters before = p;
        invertrecord(p);
        EXPECT_NE(p, before);
        invertrecord(p);
        EXPECT_EQ(p, before);

        // The boxes show the type's numbers, its radios its choice's values
        // in order. Only the choice switches controls or points on and off,
        // because only a choice makes the dialog and the drag flags look
        // again.
        int values = 0;
        for (const GroupControl& g : v.controls) {
            if (g.kind == Control::edit) {
                EXPECT_TRUE(owns(d, g.field) && g.field != d.choice.field) << g.id;
            }
            if (g.kind == Control::radio) {
                EXPECT_EQ(g.field, d.choice.field);
                EXPECT_EQ(g.value, d.choice.first + values++);
            }
            EXPECT_TRUE(!g.enabled.field || g.enabled.field == d.choice.field) << g.id;
        }
        EXPECT_EQ(values, d.choice.count);

        // A drag writes the point's own fields and shows them in their boxes.
        for (const DragPoint& pt : v.points) {
            EXPECT_TRUE(pt.x != nullptr);
            for (Field f : {pt.x, pt.y}) EXPECT_TRUE(!f || (owns(d, f) && listed(pt.moved, f)));
            EXPECT_TRUE(!pt.when.field || pt.when.field == d.choice.field);
        }
    }
}

TEST_F(HueWindow, AnUnknownCurveNumberReadsAsALineEverywhere) {
    // The program itself only stores 0 ... 3; a record holding another
    // number is synthesised, shown, edited and described as a line.
    m.p[2].ct = 9;
    m.p[2].Ln = 2;
    Dialog& d = open(2);
    for (int id : {id_sine, id_arc, id_bezier}) EXPECT_FALSE(d.checked(id)) << id;
    EXPECT_TRUE(d.checked(id_line));
    EXPECT_TRUE(d.checked(id_segments2));
    EXPECT_TRUE(d.enabled(id_Lmy));
    EXPECT_FALSE(d.enabled(id_xsh));
    EXPECT_FALSE(mw.editor.enabledrag1);
    Parameters line = m.p[2];
    line.ct = curvenumber(CurveType::line);
    Model ref;
    ref.cndx = 2;
    ref.calcchannel(line);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(m.palette[i][2], ref.palette[i][2]) << i;

    d.enter();
    EXPECT_EQ(m.p[2].ct, 9);  // what the record held stays
    Texts t;
    t.add(225, 360, "(0, y): 128)").add(385, 360, "(255, y): 128)");
    t.add(225, 385, "Middle (x, y): (128, 0)");
    EXPECT_TRUE(sameinside(host.onscreen, t.s, eraseparams[2]));
    EXPECT_NE(mw.descriptionstring.find("\nBlue: Line\nNumber of line segments: 2\n"),
              std::string::npos);
}

}  // namespace
}  // namespace huewright::testutil
