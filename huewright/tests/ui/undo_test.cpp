// Undo and redo in the main window (a Parameters dialog closed with OK, an
// opened MAP file) and inside the Parameters dialog (drags, boxes left,
// buttons), through the window procedure.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "analysis/testing.h"
#include "huewright/ui/geometry.h"
#include "huewright/ui/mainwindow.h"
#include "palettes/map.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"
#include "shell/headless/undotesting.h"

namespace huewright {
namespace {

using shell::headless::Dialog;
using shell::headless::Host;
using shell::testing::put;
using shell::testing::ScriptedEdit;
using shell::testing::shoot;

// The main window's model and what its picture follows from.
std::string model(Host& h) {
    const MainWindow& w = h.as<MainWindow>();
    const Model& m = w.model;
    std::string s;
    put(s, m.p);
    put(s, m.palette);
    put(s, m.okdisplay);
    put(s, m.stretchflag);
    for (int v : {m.cndx, w.button, w.history.marker, int(w.previewshown), int(w.editor.editing())})
        put(s, v);
    return s + w.descriptionstring;
}

// While the dialog is open: the window as above, the working record and the
// drag state, and every control of the dialog.
std::string dialogmodel(Host& h) {
    std::string s = model(h);
    const ChannelEditor& ed = h.as<MainWindow>().editor;
    put(s, ed.ptemp);
    // Which Bezier control was grabbed last matters only during a drag.
    put(s, ed.points.at);
    for (bool f : {ed.enabledrag1, ed.enabledrag2, ed.okdrag}) put(s, f);
    Dialog* d = h.modeless();
    if (!d) return s + "closed";
    for (const shell::ControlTemplate& c : d->templ().controls) {
        if (c.id < 0) continue;
        s += d->text(c.id);
        for (bool f : {d->checked(c.id), d->enabled(c.id)}) put(s, f);
    }
    return s;
}

std::pair<size_t, size_t> counts(Host& h) {
    const auto& steps = h.as<MainWindow>().history.steps;
    return {steps.undoable(), steps.redoable()};
}
std::pair<size_t, size_t> dialogcounts(Host& h) {
    const auto& steps = h.as<MainWindow>().editor.steps.history;
    return {steps.undoable(), steps.redoable()};
}

Dialog& open(Host& h, int channel) {
    h.key(keypress[channel]);
    if (!h.modeless()) throw std::runtime_error("the Parameters dialog did not open");
    return *h.modeless();
}
// A box typed into digit by digit, each change applied, then left for
// another box (which stays where it is if that box is disabled).
void typeandleave(Dialog& d, int id, const std::string& text, int next) {
    d.clickbox(id);
    for (size_t n = 1; n <= text.size(); ++n) d.type(id, text.substr(0, n));
    d.clickbox(next != id ? next : id_xsh);
}
// The sine point or Bezier control `which` pressed where it sits, moved
// along the path and released at its end.
void drag(Host& h, int which, std::initializer_list<shell::Point> path) {
    const ChannelEditor& ed = h.as<MainWindow>().editor;
    const int c = ed.channel();
    const shell::Point at = ed.ptemp.ct == 0 ? ed.points.point(c, CurveType::sine).cpt
                                             : ed.points.point(c, CurveType::bezier, which).cpt;
    h.press(at.x, at.y);
    shell::Point last = at;
    for (shell::Point p : path) h.move(last.x = p.x, last.y = p.y);
    h.release(last.x, last.y);
}
void wheel(Host& h) {
    const shell::Rect r = clicks[btn_preview];
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (h.onscreen.at(x, y).r > 100) return h.click(x, y);
}

struct Files {
    shell::testing::ScratchDir dir;
    // Three palettes unlike the program's own, as MAP files.
    Files() {
        for (int f = 0; f < 3; ++f) {
            shell::Palette p{};
            for (int i = 0; i < 256; ++i)
                p[i] = {uint8_t(i * (f + 1)), uint8_t(255 - i), uint8_t((i * 7 + 40 * f) % 256)};
            shell::testing::writefile(name(f), palettes::maptext(p, "file " + std::to_string(f)));
        }
    }
    std::string name(int f) const { return dir.path("p" + std::to_string(f) + ".map"); }
    void open(Host& h, int f) const {
        h.fileanswers.push_back(name(f));
        h.key('O');
    }
};

}  // namespace

TEST(HuewrightUndo, WindowEditsUndoneAndRedoneStepByStep) {
    Files files;
    Host h{programdesc()};
    // The pointer rests over the strip between the edits, where the hover
    // readout shows the palette of each snapshot.
    auto resting = [](ScriptedEdit e) { return shell::testing::resting({600, 470}, std::move(e)); };
    const std::vector<ScriptedEdit> edits = {
        resting({"red to an arc",
                 {},
                 [](Host& w) {
                     Dialog& d = open(w, 0);
                     typeandleave(d, id_xsh, "40", id_amp);
                     d.click(id_arc);
                     typeandleave(d, id_aan, "200", id_avt);
                     d.click(id_ok);
                 }}),
        resting({"a MAP file", {}, [&](Host& w) { files.open(w, 1); }}),
        resting({"green to a cubic Bezier, dragged and inverted",
                 {},
                 [](Host& w) {
                     Dialog& d = open(w, 1);
                     d.click(id_bezier);
                     d.click(id_cubic);
                     drag(w, 1, {{640, 300}, {700, 250}});
                     d.click(id_invert);
                     d.click(id_ok);
                 }}),
        // Cancel keeps the stretch flag, so this dialog is a step too; the
        // preview that was up comes back with its undo.
        resting({"blue's stretch flag, cancelled", wheel,
                 [](Host& w) {
                     Dialog& d = open(w, 2);
                     d.click(id_bezier);
                     d.click(id_stretch);
                     d.click(id_cancel);
                 }}),
        // After a load, OK on an unchanged record lights its readout again.
        resting({"red confirmed", {}, [](Host& w) { open(w, 0).click(id_ok); }}),
    };
    const ScriptedEdit fresh = resting({"another file", {}, [&](Host& w) { files.open(w, 2); }});
    EXPECT_EQ(shell::testing::undoredo(h, edits, model, fresh, [&] { return counts(h); }), "");
    // A save, the help and a cancelled dialog are no steps.
    h.fileanswers.push_back(files.dir.path("saved.map"));
    h.key('P');
    h.key(shell::vk_f1);
    open(h, 1).click(id_cancel);
    EXPECT_EQ(counts(h), std::make_pair(size_t(3), size_t(1)));
}

TEST(HuewrightUndo, UndoAfterAnOpenAndASaveAfterAnUndo) {
    Files files;
    shell::testing::ScratchDir out;
    Host h{programdesc()};
    MainWindow& mw = h.as<MainWindow>();
    auto save = [&](const std::string& name) {
        h.fileanswers.push_back(out.path(name));
        h.key('P');
        return shell::testing::readfile(out.path(name));
    };
    Dialog& d = open(h, 2);
    typeandleave(d, id_xsh, "77", id_amp);
    d.click(id_ok);
    const Model before = mw.model;
    const std::string description = mw.descriptionstring;
    const std::string saved = save("before.map");
    files.open(h, 0);
    ASSERT_NE(mw.model.palette, before.palette);
    ASSERT_EQ(mw.model.okdisplay[0], 0);
    // One undo brings back the palette, the records, the readouts and the
    // description, and a save writes them as before the open.
    shell::testing::undo(h);
    EXPECT_EQ(mw.model.palette, before.palette);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(mw.model.p[c], before.p[c]);
        EXPECT_EQ(mw.model.okdisplay[c], 1);
    }
    EXPECT_EQ(mw.descriptionstring, description);
    EXPECT_EQ(save("undone.map"), saved);
    EXPECT_EQ(saved, palettes::maptext(before.palette, description));
    // An open that fails or is cancelled is no step.
    h.fileanswers.push_back(out.path("missing.map"));
    h.key('O');
    h.key('O');
    EXPECT_EQ(counts(h), std::make_pair(size_t(1), size_t(1)));
}

TEST(HuewrightUndo, EveryViewShowsTheRestoredPaletteAndThePointerNow) {
    Files files;
    Host h{programdesc()};
    const MainWindow& mw = h.as<MainWindow>();
    // A window that never had the file, with the analysis open and the
    // pointer where given: what an undo of the open must show.
    auto never = [](std::optional<shell::Point> at) {
        Host f{programdesc()};
        f.key('A');
        if (at) f.move(at->x, at->y);
        return shoot(f, model);
    };
    h.key('A');
    h.move(520, 470);
    files.open(h, 0);
    h.move(700, 470);
    const shell::testing::Shot opened = shoot(h, model);

    // The readout is for the column under the pointer and the palette
    // before the open, not the one shown when the file was opened; the
    // analysis window follows.
    shell::testing::undo(h);
    EXPECT_EQ(shell::testing::difference(never(shell::Point{700, 470}), shoot(h, model)), "");
    EXPECT_TRUE(analysis::testing::showsanalysis(h, mw.model.palette));
    shell::testing::redo(h);
    EXPECT_EQ(shell::testing::difference(opened, shoot(h, model)), "");
    EXPECT_TRUE(analysis::testing::showsanalysis(h, mw.model.palette));
    // With the pointer outside the window no readout shows.
    h.leave();
    shell::testing::undo(h);
    EXPECT_EQ(shell::testing::difference(never(std::nullopt), shoot(h, model)), "");
    EXPECT_TRUE(analysis::testing::showsanalysis(h, mw.model.palette));
}

TEST(HuewrightUndo, DialogStepsUndoneAndRedoneOneByOne) {
    Host h{programdesc()};
    MainWindow& mw = h.as<MainWindow>();
    const Model opened = mw.model;
    Dialog& d = open(h, 1);
    const std::vector<ScriptedEdit> edits = {
        {"a box typed in and left", {}, [&](Host&) { typeandleave(d, id_xsh, "120", id_amp); }},
        {"a drag of the sine point",
         {},
         [](Host& w) {
             drag(w, 0, {{650, 273}, {700, 260}});
         }},
        {"the curve type", {}, [&](Host&) { d.click(id_bezier); }},
        {"the degree", {}, [&](Host&) { d.click(id_cubic); }},
        {"the stretch flag", {}, [&](Host&) { d.click(id_stretch); }},
        {"a drag of control 2",
         {},
         [](Host& w) {
             drag(w, 1, {{600, 200}, {610, 190}});
         }},
        {"Invert", {}, [&](Host&) { d.click(id_invert); }},
        {"a box left by a click on the radio button already chosen",
         {},
         [&](Host&) {
             d.clickbox(id_bc1y);
             d.type(id_bc1y, "9");
             d.click(id_cubic);
         }},
        {"Restore", {}, [&](Host&) { d.click(id_restore); }},
    };
    const ScriptedEdit fresh{"a box left by Tab", {}, [&](Host&) {
                                 d.clickbox(id_b255);
                                 d.type(id_b255, "100");
                                 d.tab();
                             }};
    auto key = [&](int vk, int mods) { d.key(vk, mods); };
    EXPECT_EQ(shell::testing::undoredo(
                  h, edits, dialogmodel, fresh, [&] { return dialogcounts(h); }, key),
              "");

    // The window's keys reach the dialog's steps while it is open, and typing
    // not yet left is what goes back first.
    const shell::testing::Shot now = shoot(h, dialogmodel);
    d.clickbox(id_b0);
    d.type(id_b0, "3");
    shell::testing::undo(h);
    EXPECT_EQ(shell::testing::difference(now, shoot(h, dialogmodel)), "");
    EXPECT_EQ(d.text(id_b0), "127");
    shell::testing::undo(h);
    EXPECT_EQ(mw.editor.ptemp.b0, 128);
    EXPECT_EQ(mw.model.stretchflag[1], 1);

    // Cancel restores the opening, stretch flag aside, which it keeps: that
    // makes it a step of the window. Its undo brings the flag back too.
    d.click(id_cancel);
    EXPECT_EQ(mw.model.p[1], opened.p[1]);
    EXPECT_EQ(mw.model.palette, opened.palette);
    EXPECT_EQ(counts(h), std::make_pair(size_t(1), size_t(0)));
    shell::testing::undo(h);
    EXPECT_EQ(mw.model.stretchflag[1], 0);

    // The dialog's steps did not outlive it.
    Dialog& again = open(h, 1);
    EXPECT_EQ(dialogcounts(h), std::make_pair(size_t(0), size_t(0)));
    const shell::testing::Shot opening = shoot(h, dialogmodel);
    again.key('Z', shell::mod_ctrl);
    again.key('Y', shell::mod_ctrl);
    EXPECT_EQ(shell::testing::difference(opening, shoot(h, dialogmodel)), "");

    // After OK the main window holds the whole edit as one step.
    typeandleave(again, id_amp, "99", id_ysh);
    drag(h, 0, {{520, 273}});
    again.click(id_ok);
    EXPECT_EQ(counts(h), std::make_pair(size_t(1), size_t(0)));
    shell::testing::undo(h);
    EXPECT_EQ(mw.model.p[1], opened.p[1]);
    EXPECT_EQ(mw.model.palette, opened.palette);
}

TEST(HuewrightUndo, RandomSessionMatchesAReplayOfTheSurvivingEdits) {
    // An edit is a MAP file opened, or a Parameters session on a channel: a
    // list of random actions in the dialog (its own undo and redo among
    // them), a last box that leaves the channel's record changed, and OK.
    enum Act { atype, aradio, astretch, ainvert, arestore, adrag, aundo, aredo, kacts };
    struct Action {
        int act, a, b;
        shell::Point to[2];
    };
    struct Edit {
        int file;  // >= 0: open this file
        int channel;
        std::vector<Action> actions;
        int last;
    };
    static const int boxes[] = {id_xsh,  id_amp,  id_ysh,  id_aan,  id_avt,
                                id_b0,   id_b255, id_bc1x, id_bc1y, id_bc2x,
                                id_bc2y, id_L0,   id_L255, id_Lmx,  id_Lmy};
    static const int radios[] = {id_sine,   id_arc,       id_bezier, id_line,      id_phase1,
                                 id_phase2, id_quadratic, id_cubic,  id_segments1, id_segments2};
    Files files;
    shell::testing::RandomSession<Edit> session;
    session.desc = programdesc();
    session.model = model;
    session.counts = counts;
    session.pick = [](std::mt19937& rng, Host&) {
        Edit e{-1, int(rng() % 3), {}, int(rng())};
        if (rng() % 4 == 0) {
            e.file = int(rng() % 3);
            return e;
        }
        for (int n = int(rng() % 6); n > 0; --n) {
            Action a{int(rng() % kacts), int(rng()), int(rng() % 300), {}};
            for (auto& p : a.to) p = {500 + int(rng() % 270), 140 + int(rng() % 270)};
            e.actions.push_back(a);
        }
        return e;
    };
    session.apply = [&files](Host& w, const Edit& e) {
        if (e.file >= 0) return files.open(w, e.file);
        Dialog& d = open(w, e.channel);
        const ChannelEditor& ed = w.as<MainWindow>().editor;
        for (const Action& a : e.actions) {
            switch (a.act) {
                case atype:
                    typeandleave(d, boxes[unsigned(a.a) % 15], std::to_string(a.b), id_amp);
                    break;
                case aradio:
                    d.click(radios[unsigned(a.a) % 10]);
                    break;
                case astretch:
                    d.click(id_stretch);
                    break;
                case ainvert:
                    d.click(id_invert);
                    break;
                case arestore:
                    d.click(id_restore);
                    break;
                case adrag:
                    drag(w, a.a & 1, {a.to[0], a.to[1]});
                    break;
                case aundo:
                    d.key('Z', shell::mod_ctrl);
                    break;
                default:
                    d.key('Y', shell::mod_ctrl);
                    break;
            }
        }
        // A box of the curve in effect, given a number other than the
        // channel's own, so that the dialog is a step.
        static const Field first[4] = {&Parameters::xsh, &Parameters::aan, &Parameters::b0,
                                       &Parameters::L0};
        static const int box[4] = {id_xsh, id_aan, id_b0, id_L0};
        const int ct = std::min(3, std::max(0, ed.ptemp.ct));
        const int old = w.as<MainWindow>().model.p[e.channel].*first[ct];
        typeandleave(d, box[ct], std::to_string((old + 1 + unsigned(e.last) % 255) % 256), id_amp);
        d.click(id_ok);
    };
    // The hover readout shows what is under the pointer: both windows are
    // hovered at one place.
    session.align = [](Host& replay, Host& w) {
        for (Host* h : {&replay, &w}) h->move(600, 470);
    };
    EXPECT_EQ(session.run(shell::testing::randomsteps(), shell::testing::randomseed()), "");
}

}  // namespace huewright
