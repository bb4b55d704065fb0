// The Parameters dialog through the real window: typed values and their
// clamps, the enabled controls, Invert, OK, Cancel and Restore, and how the
// dialog meets the MAP files.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "huewright/ui/helpdialog.h"
#include "huewright/ui/namedialog.h"
#include "palettes/map.h"
#include "shell/headless/testing.h"
#include "window_testutil.h"

namespace huewright::testutil {
namespace {

// Column c of the palette.
std::vector<int> column(const Model& m, int c) {
    std::vector<int> v(256);
    for (int i = 0; i < 256; ++i) v[i] = m.palette[i][c];
    return v;
}

// The column a record gives, computed by a model of its own.
std::vector<int> expected(const Parameters& ps, int c, int stretch = 0) {
    Model ref;
    ref.calcsine();
    ref.cndx = c;
    ref.stretchflag[c] = stretch;
    ref.calcchannel(ps);
    return column(ref, c);
}

using shell::testing::readfile;
using Folder = shell::testing::ScratchDir;

TEST(ParamsDialog, ReadsAtMostFourCharactersOfANumber) {
    EXPECT_EQ(readbox("300"), 300);
    EXPECT_EQ(readbox("-5"), -5);
    EXPECT_EQ(readbox("12345"), 1234);
    EXPECT_EQ(readbox(""), 0);
    EXPECT_EQ(readbox("12ab"), 12);
    EXPECT_EQ(readbox("  42"), 42);
    EXPECT_EQ(readbox("   42"), 4);  // the fourth character is the last read
    EXPECT_EQ(readbox("+9"), 9);
    EXPECT_EQ(readbox("-"), 0);
    EXPECT_EQ(readbox("x12"), 0);
    EXPECT_EQ(readbox("-999"), -999);
}

TEST(Dialogs, EveryTemplateHoldsTogether) {
    using shell::testing::templateproblems;
    EXPECT_EQ(templateproblems(paramstemplate()), std::vector<std::string>{});
    EXPECT_EQ(templateproblems(nametemplate()), std::vector<std::string>{});
    // The Help's last text is laid out 6 units wider than the dialog; its
    // lines end well before the dialog's edge, so nothing of it is cut.
    EXPECT_EQ(templateproblems(helptemplate()),
              std::vector<std::string>{"control -1 (#9) lies outside the dialog"});
}

TEST(ParamsDialog, TemplateAsData) {
    const shell::DialogTemplate t = paramstemplate();
    EXPECT_EQ(t.caption, "   Parameter Selection   ");
    EXPECT_EQ(t.pointsize, 8);
    EXPECT_EQ((std::vector<int>{t.x, t.y, t.cx, t.cy}), (std::vector<int>{142, 4, 177, 415}));
    EXPECT_FALSE(t.closebox);
    // Every identified control but the two etched lines appears once.
    for (int id = 220; id <= 241; ++id) {
        const shell::ControlTemplate* c = t.find(id);
        ASSERT_NE(c, nullptr) << id;
        const bool radio =
            id == 220 || id == 221 || id == 227 || id == 228 || id == 236 || id == 237;
        const shell::Control kind = radio              ? shell::Control::radio
                                    : id == id_stretch ? shell::Control::checkbox
                                                       : shell::Control::edit;
        EXPECT_EQ(c->kind, kind) << id;
    }
    const shell::ControlTemplate* ok = t.find(id_ok);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ((std::vector<int>{ok->x, ok->y, ok->cx, ok->cy}),
              (std::vector<int>{24, 395, 50, 14}));
    EXPECT_EQ(t.find(id_cancel)->text, "Cancel");
    EXPECT_EQ(t.find(id_invert)->text, "Invert");
    EXPECT_EQ(t.find(id_restore)->text, "Restore");
    EXPECT_EQ(t.find(205)->text, "   Curve Type   ");
    EXPECT_EQ(t.find(id_stretch)->text, "Stretch curve vertically");
    int labels = 0;
    for (const auto& c : t.controls) labels += c.kind == shell::Control::text;
    EXPECT_EQ(labels, 16);
}

TEST_F(HueWindow, BoxesHoldFourCharactersAndAreRewrittenOnlyByAClamp) {
    Dialog& d = open(0);
    // The dialog opens with the curve type focused; Tab reaches X Shift with
    // its text selected, so typing replaces it.
    EXPECT_EQ(d.focused(), id_sine);
    d.tab();
    d.tab();
    ASSERT_EQ(d.focused(), id_xsh);
    EXPECT_TRUE(d.selected());
    d.keys("00200");
    EXPECT_EQ(d.text(id_xsh), "0020");
    EXPECT_EQ(mw.editor.ptemp.xsh, 20);
    // Leaving the box runs its edit handling again but leaves its text as
    // typed; only a clamp rewrites it.
    long before = mw.editor.applies;
    d.tab();
    EXPECT_EQ(d.text(id_xsh), "0020");
    EXPECT_GT(mw.editor.applies, before);
    ASSERT_EQ(d.focused(), id_amp);
    struct Case {
        std::string typed, shown;
        int value;
    };
    const Case cases[] = {{" 12", " 12", 12},   {"-", "-", 0},  {"", "", 0},
                          {"12ab", "12ab", 12}, {"-5", "0", 0}, {"300", "255", 255},
                          {"1234", "255", 255}, {"", "", 0}};
    for (const Case& c : cases) {
        d.clickbox(id_amp);
        d.type(id_amp, c.typed);
        d.tab();
        EXPECT_EQ(d.text(id_amp), c.shown) << c.typed;
        EXPECT_EQ(mw.editor.ptemp.amp, c.value) << c.typed;
    }
    // A click places the caret: typing adds to the text.
    d.clickbox(id_xsh);
    EXPECT_FALSE(d.selected());
    d.keys("5");
    EXPECT_EQ(d.text(id_xsh), "0020");  // four characters already
    d.type(id_xsh, "20");
    d.keys("5");
    EXPECT_EQ(d.text(id_xsh), "205");
    EXPECT_EQ(mw.editor.ptemp.xsh, 205);
}

TEST_F(HueWindow, EnterPressesTheFocusedButton) {
    Dialog& d = open(0);
    const std::vector<int> opened = column(m, 0);
    d.tab();
    d.tab();
    d.keys("50");
    // Back from X Shift past the two radio groups: Cancel, OK, Restore and
    // Invert, the last buttons of the Tab order.
    for (int k = 0; k < 6; ++k) d.tab(true);
    ASSERT_EQ(d.focused(), id_invert);
    d.enter();
    EXPECT_EQ(d.text(id_xsh), "178");
    EXPECT_EQ(host.modeless(), &d);
    for (int k = 0; k < 3; ++k) d.tab();
    ASSERT_EQ(d.focused(), id_cancel);
    d.enter();
    EXPECT_EQ(host.modeless(), nullptr);
    EXPECT_EQ(m.p[0], startupparameters[0]);
    EXPECT_EQ(column(m, 0), opened);
}

TEST_F(HueWindow, OpeningFillsTheControlsAndAppliesTheChannel) {
    Dialog& d = open(1);
    const Parameters& g = startupparameters[1];
    EXPECT_TRUE(d.checked(id_sine));
    EXPECT_FALSE(d.checked(id_bezier));
    EXPECT_TRUE(d.checked(id_phase1));
    EXPECT_TRUE(d.checked(id_quadratic));
    EXPECT_TRUE(d.checked(id_segments1));
    EXPECT_FALSE(d.checked(id_stretch));
    const int ids[15] = {222, 223, 224, 225, 226, 229, 230, 231, 232, 233, 234, 238, 239, 240, 241};
    const int values[15] = {g.xsh,  g.amp,  g.ysh,  g.aan, g.avt,  g.b0,  g.b255, g.bc1x,
                            g.bc1y, g.bc2x, g.bc2y, g.L0,  g.L255, g.Lmx, g.Lmy};
    for (int k = 0; k < 15; ++k) EXPECT_EQ(field(d, ids[k]), values[k]) << ids[k];
    EXPECT_EQ(mw.editor.ptemp, g);
    EXPECT_EQ(mw.editor.prestore, g);
    // The opening applied the channel once, from its record.
    EXPECT_EQ(mw.editor.applies, 1);
    EXPECT_EQ(shown(90 + 500, 273), kYellow);
}

TEST_F(HueWindow, TypedValuesAreClampedAndWrittenBack) {
    Dialog& d = open(0);
    d.type(id_xsh, "300");
    EXPECT_EQ(d.text(id_xsh), "255");
    EXPECT_EQ(mw.editor.ptemp.xsh, 255);
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));
    EXPECT_EQ(mw.editor.points.point(0, CurveType::sine).cpt.x, 255 + 501);
    d.type(id_xsh, "-5");
    EXPECT_EQ(d.text(id_xsh), "0");
    EXPECT_EQ(mw.editor.ptemp.xsh, 0);

    // With amplitude 255 any Y shift becomes 0.
    d.type(id_ysh, "50");
    EXPECT_EQ(d.text(id_ysh), "0");
    // The amplitude and the Y shift together stay within 255.
    d.type(id_amp, "100");
    d.type(id_ysh, "100");
    EXPECT_EQ(d.text(id_ysh), "100");
    d.type(id_amp, "200");
    EXPECT_EQ(d.text(id_amp), "155");
    EXPECT_EQ(mw.editor.ptemp.amp, 155);
    d.type(id_amp, "300");  // 255 first, then 155
    EXPECT_EQ(d.text(id_amp), "155");
    d.type(id_ysh, "300");
    EXPECT_EQ(d.text(id_ysh), "100");
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));

    // Only four characters are read.
    d.type(id_xsh, "12345");
    EXPECT_EQ(d.text(id_xsh), "255");
    // An empty box counts as 0 and stays empty; trailing letters are ignored
    // and stay in the box.
    d.type(id_xsh, "");
    EXPECT_EQ(d.text(id_xsh), "");
    EXPECT_EQ(mw.editor.ptemp.xsh, 0);
    d.type(id_xsh, "12ab");
    EXPECT_EQ(d.text(id_xsh), "12ab");
    EXPECT_EQ(mw.editor.ptemp.xsh, 12);
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));

    // The other boxes clamp to 0 ... 255 the same way.
    d.click(id_line);
    d.type(id_L0, "999");
    EXPECT_EQ(d.text(id_L0), "255");
    d.type(id_L255, "-1");
    EXPECT_EQ(d.text(id_L255), "0");
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));
}

TEST_F(HueWindow, EnabledControlsFollowTypeDegreeAndSegments) {
    Dialog& d = open(0);
    // The controls each choice enables (first … last), and the drag flags.
    struct Step {
        int click;
        std::vector<std::pair<int, int>> on;
        bool drag1, drag2;
    };
    const Step steps[] = {
        {0, {{id_phase1, id_ysh}}, true, false},  // the opening, on a Sine channel
        {id_arc, {{id_aan, id_avt}}, false, false},
        {id_bezier, {{id_quadratic, id_bc1y}, {id_stretch, id_stretch}}, true, false},
        {id_cubic, {{id_quadratic, id_stretch}}, true, true},
        {id_line, {{id_segments1, id_L255}}, false, false},
        {id_segments2, {{id_segments1, id_Lmy}}, false, false},
        // Back to Bezier: the degree chosen before is kept.
        {id_bezier, {{id_quadratic, id_stretch}}, true, true},
        {id_quadratic, {{id_quadratic, id_bc1y}, {id_stretch, id_stretch}}, true, false},
        {id_line, {{id_segments1, id_Lmy}}, false, false},
        {id_segments1, {{id_segments1, id_L255}}, false, false},
    };
    for (const Step& st : steps) {
        if (st.click) d.click(st.click);
        for (int id = id_phase1; id <= id_Lmy; ++id) {
            bool want = false;
            for (auto [first, last] : st.on) want = want || (id >= first && id <= last);
            EXPECT_EQ(d.enabled(id), want) << st.click << " " << id;
        }
        for (int id :
             {id_ok, id_cancel, id_invert, id_restore, id_sine, id_arc, id_bezier, id_line})
            EXPECT_TRUE(d.enabled(id)) << id;
        EXPECT_EQ(mw.editor.enabledrag1, st.drag1) << st.click;
        EXPECT_EQ(mw.editor.enabledrag2, st.drag2) << st.click;
    }
    // The radios of each run are exclusive.
    EXPECT_TRUE(d.checked(id_line));
    EXPECT_FALSE(d.checked(id_bezier));
    EXPECT_FALSE(d.checked(id_segments2));
    EXPECT_TRUE(d.checked(id_quadratic));
    d.escape();

    // A channel that is Bezier already opens as if Bezier had been chosen.
    m.p[1].ct = 2;
    m.p[1].bd = 1;
    Dialog& g = open(1);
    EXPECT_TRUE(g.checked(id_bezier));
    EXPECT_TRUE(g.checked(id_cubic));
    for (int id = id_phase1; id <= id_Lmy; ++id) {
        const bool want = id >= id_quadratic && id <= id_stretch;
        EXPECT_EQ(g.enabled(id), want) << id;
    }
    EXPECT_EQ((std::vector<int>{mw.editor.enabledrag1, mw.editor.enabledrag2}),
              (std::vector<int>{1, 1}));
}

TEST_F(HueWindow, InvertFlipsEachCurveType) {
    Dialog& d = open(0);  // red: x shift 165
    d.click(id_invert);
    EXPECT_EQ(d.text(id_xsh), "37");
    EXPECT_EQ(mw.editor.points.point(0, CurveType::sine).cpt.x, 37 + 501);
    EXPECT_EQ(shown(37 + 500, 273), kYellow);
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));
    d.click(id_invert);
    EXPECT_EQ(d.text(id_xsh), "165");
    EXPECT_EQ(column(m, 0), expected(startupparameters[0], 0));

    d.click(id_arc);  // anchor 0, vertex 96
    d.click(id_invert);
    EXPECT_EQ(d.text(id_aan), "255");
    EXPECT_EQ(d.text(id_avt), "159");
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));

    d.click(id_bezier);  // (0, y) 128, (255, y) 128, controls (32, 180) and (224, 48)
    d.click(id_cubic);
    d.type(id_b0, "10");
    d.click(id_invert);
    EXPECT_EQ(d.text(id_b0), "245");
    EXPECT_EQ(d.text(id_b255), "127");
    EXPECT_EQ(d.text(id_bc1x), "32");
    EXPECT_EQ(d.text(id_bc1y), "75");
    EXPECT_EQ(d.text(id_bc2x), "224");
    EXPECT_EQ(d.text(id_bc2y), "207");
    EXPECT_EQ(mw.editor.points.point(0, CurveType::bezier, 0).cpt.x, 32 + 501);
    EXPECT_EQ(mw.editor.points.point(0, CurveType::bezier, 1).cpt.y, 401 - 207);
    EXPECT_EQ(shown(532, 401 - 75), kYellow);
    EXPECT_EQ(shown(724, 401 - 207), kMagenta);
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));

    d.click(id_line);  // (0, y) 0, (255, y) 255, middle (128, 190)
    d.click(id_segments2);
    d.click(id_invert);
    EXPECT_EQ(d.text(id_L0), "255");
    EXPECT_EQ(d.text(id_L255), "0");
    EXPECT_EQ(d.text(id_Lmx), "128");
    EXPECT_EQ(d.text(id_Lmy), "65");
    EXPECT_EQ(column(m, 0), expected(mw.editor.ptemp, 0));
    // None of this reached the channel's record.
    EXPECT_EQ(m.p[0], startupparameters[0]);
}

TEST_F(HueWindow, CancelRestoresButKeepsTheStretchFlag) {
    const std::vector<int> green = column(m, 1);
    Dialog& d = open(1);
    d.click(id_bezier);
    d.click(id_stretch);
    EXPECT_EQ(m.stretchflag[1], 1);
    EXPECT_EQ(column(m, 1), expected(mw.editor.ptemp, 1, 1));
    d.type(id_b0, "7");
    d.escape();
    EXPECT_EQ(host.modeless(), nullptr);
    EXPECT_EQ(column(m, 1), green);
    EXPECT_EQ(m.p[1], startupparameters[1]);
    EXPECT_EQ(m.stretchflag[1], 1);
    EXPECT_EQ(mw.editor.editing(), 0);
    EXPECT_EQ(mw.editor.enabledrag1, 0);
    // The window shows the restored curves without dots, and the readout.
    EXPECT_TRUE(samesurface(host.onscreen, host.offscreen));
    Texts t;
    t.add(225, 262, "Phase: 1").add(385, 262, "X Shift: 90");
    t.add(225, 287, "Amplitude: 255").add(385, 287, "Y Shift: 0");
    EXPECT_TRUE(sameinside(host.onscreen, t.s, eraseparams[1]));

    // Opened again, the dialog shows the flag.
    Dialog& again = open(1);
    EXPECT_TRUE(again.checked(id_stretch));
}

TEST_F(HueWindow, RestoreReloadsWithoutClosing) {
    Dialog& d = open(2);
    const std::vector<int> blue = column(m, 2);
    d.click(id_line);
    d.type(id_L0, "200");
    d.click(id_segments2);
    EXPECT_NE(column(m, 2), blue);
    d.click(id_restore);
    EXPECT_EQ(host.modeless(), &d);
    EXPECT_EQ(mw.editor.editing(), 1);
    EXPECT_EQ(mw.editor.ptemp, startupparameters[2]);
    EXPECT_TRUE(d.checked(id_sine));
    EXPECT_FALSE(d.checked(id_line));
    EXPECT_TRUE(d.checked(id_segments1));
    EXPECT_FALSE(d.checked(id_segments2));
    EXPECT_EQ(d.text(id_L0), "128");
    EXPECT_TRUE(d.enabled(id_xsh));
    EXPECT_FALSE(d.enabled(id_L0));
    EXPECT_EQ(column(m, 2), blue);
    EXPECT_EQ(mw.editor.enabledrag1, 1);
    // The dialog goes on working after a restore. Restore keeps the focus,
    // so Enter waits until a box has it.
    d.clickbox(id_xsh);
    d.type(id_xsh, "10");
    d.enter();
    EXPECT_EQ(m.p[2].xsh, 10);
}

TEST_F(HueWindow, OkKeepsTheCurveAndADescriptionThatASavedMapCarries) {
    Folder f;
    Dialog& d = open(0);
    d.click(id_bezier);
    d.click(id_cubic);
    d.click(id_stretch);
    d.type(id_bc2x, "200");
    d.enter();
    EXPECT_EQ(host.modeless(), nullptr);
    EXPECT_EQ(m.p[0].ct, 2);
    EXPECT_EQ(m.p[0].bc2x, 200);
    EXPECT_EQ(mw.editor.editing(), 0);
    EXPECT_EQ((std::vector<int>{mw.editor.enabledrag1, mw.editor.enabledrag2}),
              (std::vector<int>{0, 0}));
    // The dots are gone from the window, the readout shows the new curve.
    EXPECT_TRUE(samesurface(host.onscreen, host.offscreen));
    Texts t;
    t.add(225, 164, "Control 1: (32, 180)").add(385, 164, "(0, y): 128");
    t.add(225, 189, "Control 2: (200, 48)").add(385, 189, "(255, y): 128");
    EXPECT_TRUE(sameinside(host.onscreen, t.s, eraseparams[0]));

    const std::string& desc = mw.descriptionstring;
    EXPECT_NE(desc.find("\nRed: Bezier\n(0, y): 128\n(255, y): 128\ncontrol 1: (32, 180)\n"
                        "control 2: (200, 48)\nstretched\n"),
              std::string::npos)
        << desc;

    host.fileanswers.push_back(f.path("after.map"));
    host.key('P');
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Image saved as after.map");
    EXPECT_EQ(host.boxes[0].caption, "Palette Curves");
    EXPECT_FALSE(host.boxes[0].owned);
    const std::string file = readfile(f.path("after.map"));
    EXPECT_EQ(file, palettes::maptext(m.palette, desc));
    EXPECT_NE(file.find("control 2: (200, 48)"), std::string::npos);
}

TEST_F(HueWindow, LoadedColoursComeBackAfterCancel) {
    Folder f;
    {
        std::ofstream out(f.path("grey.map"), std::ios::binary);
        for (int i = 0; i < 256; ++i) out << i << ' ' << i << ' ' << (255 - i) << "\r\n";
    }
    host.fileanswers.push_back(f.path("grey.map"));
    host.key('O');
    ASSERT_TRUE(host.boxes.empty());
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(m.palette[i][0], i);
        ASSERT_EQ(m.palette[i][2], 255 - i);
    }
    // The strip shows the file, the readouts are dark.
    EXPECT_EQ(shown(501 + 10, 470), (Rgb{10, 10, 245}));
    for (const Rect& r : eraseparams) EXPECT_TRUE(sameinside(host.onscreen, Surface(800, 640), r));
    EXPECT_EQ((std::vector<int>{m.okdisplay[0], m.okdisplay[1], m.okdisplay[2]}),
              (std::vector<int>{0, 0, 0}));

    // Opening green replaces its loaded colours with its curve: a line from
    // 255 down to 0 after the load.
    Dialog& d = open(1);
    EXPECT_TRUE(d.checked(id_line));
    EXPECT_EQ(column(m, 1), expected(m.p[1], 1));
    EXPECT_NE(m.palette[10][1], 10);
    d.escape();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(m.palette[i][1], i) << i;
    EXPECT_EQ(shown(501 + 10, 470), (Rgb{10, 10, 245}));
    // Cancel leaves the readout dark; OK brings it back.
    EXPECT_TRUE(sameinside(host.onscreen, Surface(800, 640), eraseparams[1]));
    open(1).enter();
    EXPECT_EQ(m.okdisplay[1], 1);
    Texts t;
    t.add(225, 262, "(0, y): 255)").add(385, 262, "(255, y): 0)");
    EXPECT_TRUE(sameinside(host.onscreen, t.s, eraseparams[1]));
    EXPECT_TRUE(sameinside(host.onscreen, Surface(800, 640), eraseparams[0]));
}

TEST_F(HueWindow, FailedMapOpenChangesNothing) {
    Folder f;
    {
        std::ofstream out(f.path("bad.map"), std::ios::binary);
        out << "1 2 3\n4 5\n";
    }
    const Surface before = host.onscreen;
    const shell::Palette palette = m.palette;
    host.fileanswers.push_back(f.path("bad.map"));
    host.key('O');
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "Error opening MAP file\nbad.map: Not a MAP palette: line 2: "
              "expected three numbers");
    EXPECT_EQ(host.boxes[0].caption, "MAP file error");
    EXPECT_EQ(host.boxes[0].icon, shell::Icon::exclamation);
    EXPECT_TRUE(host.boxes[0].owned);
    EXPECT_EQ(m.palette, palette);
    EXPECT_EQ(m.p[0], startupparameters[0]);
    EXPECT_EQ(m.okdisplay[0], 1);
    // Only the marker moved, to Open MAP.
    Surface want = before;
    for (int k = 0; k < kMarkable; ++k)
        want.fillrect(
            Rect{clicks[k].left + 1, clicks[k].top + 1, clicks[k].left + 47, clicks[k].top + 44},
            kBlack);
    want.blit(clicks[5].left + 1, clicks[5].top + 1, 46, 43, mw.screen->cursor, 0, 0);
    EXPECT_TRUE(samesurface(host.onscreen, want));

    // A file that cannot be read at all says the same.
    host.fileanswers.push_back(std::string("/proc/self/mem"));
    host.key('O');
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text.rfind("Error opening MAP file\nmem: cannot be read: ", 0), 0u);
    EXPECT_EQ(m.palette, palette);
}

TEST_F(HueWindow, SaveErrorsAreReportedAndCancelledSavesSilent) {
    host.key('P');  // no answer: cancelled
    EXPECT_TRUE(host.boxes.empty());
    host.fileanswers.push_back(std::string("/nonexistent-folder/x.map"));
    host.key('P');
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Error opening save file");
    EXPECT_EQ(host.boxes[0].caption, "Save file error");
    EXPECT_TRUE(host.boxes[0].owned);
    // The command is ignored while the dialog is open.
    open(0);
    host.fileanswers.push_back(std::string("/tmp/never.map"));
    host.command(cmd_savepalette);
    EXPECT_EQ(host.fileanswers.size(), 1u);
    // So is a second cmd_parameters.
    host.command(cmd_parameters);
    EXPECT_EQ(mw.editor.channel(), 0);
}

}  // namespace
}  // namespace huewright::testutil
