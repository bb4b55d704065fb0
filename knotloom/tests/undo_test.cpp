// Undo and redo of drags, point counts and the inversion, through the
// window procedure.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/testing.h"
#include "artwork.h"
#include "layout.h"
#include "mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/undotesting.h"

namespace knotloom {
namespace {

using shell::headless::Host;
using shell::testing::put;

// Everything a step decides and the picture follows from, in the parts that
// are in use: the points of each channel up to its count, and what is
// computed from them.
std::string model(Host& h) {
    const MainWindow& w = h.as<MainWindow>();
    const Model& m = w.model;
    std::string s;
    for (int ch = 0; ch < kChannels; ++ch) {
        const int n = m.nd[ch];
        for (int v : {n, m.nk[ch], m.trackpos[ch]}) put(s, v);
        for (int i = 0; i < n; ++i) put(s, m.dp[ch][i]), put(s, m.drect[ch][i]);
        for (int i = 0; i < n + 2; ++i) put(s, m.cp[ch][i]), put(s, m.crect[ch][i]);
        for (int k = 0; k < m.nk[ch]; ++k) put(s, m.knot[ch][k]);
        for (int r = 0; r < n; ++r)
            for (int k = 0; k < n + 2; ++k) put(s, m.M1[ch][r][k]);
    }
    put(s, m.spectrum);
    put(s, m.sampled);
    put(s, m.palette);
    for (int v : {m.invert, m.cindex, w.showcp, w.screen->readoutx}) put(s, v);
    if (m.invert) put(s, m.invspectrum);
    return s;
}

std::pair<size_t, size_t> counts(Host& h) {
    const auto& steps = h.as<MainWindow>().history.steps;
    return {steps.undoable(), steps.redoable()};
}

shell::Point middle(const shell::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
void choose(Host& h, int channel) {
    const shell::Point p = middle(click[box_red + channel]);
    h.click(p.x, p.y);
}
// Data point k of the active channel, pressed where it sits, moved along the
// path and released at its end.
void drag(Host& h, int k, std::initializer_list<shell::Point> path) {
    const Model& m = h.as<MainWindow>().model;
    h.press(int(m.dp[m.cindex][k][0]), int(m.dp[m.cindex][k][1]));
    shell::Point last{};
    for (shell::Point p : path) h.move(last.x = p.x, last.y = p.y);
    h.release(last.x, last.y);
}
// The Points dialog, its trackbar dragged to `users`.
void points(Host& h, int users) {
    h.modalscripts.push_back([users](shell::headless::Dialog& d) {
        d.trackdrag(kTrackId, {users});
        d.enter();
    });
    const shell::Point p = middle(click[box_points]);
    h.click(p.x, p.y);
}
// A click on a pixel of the wheel or the logo: they answer only on their
// pictures.
void clickpicture(Host& h, int box) {
    const shell::Rect r = click[box];
    for (int y = r.top + (r.bottom - r.top) / 3; y < r.bottom; ++y)
        for (int x = r.left + (r.right - r.left) / 3; x < r.right; ++x)
            if (h.onscreen.at(x, y).r > 100) return h.click(x, y);
}
void invert(Host& h) {
    clickpicture(h, box_wheel);
}

// Where the pointer rests between the scripted edits: over the strip, where
// the readout an undo draws is the one drawn there before the edit.
shell::testing::ScriptedEdit resting(shell::testing::ScriptedEdit e) {
    return shell::testing::resting({400, 690}, std::move(e));
}

}  // namespace

TEST(KnotloomUndo, ScriptedEditsUndoneAndRedoneStepByStep) {
    Host h{programdesc()};
    using shell::testing::ScriptedEdit;
    // Every channel is shown once first, so that each snapshot holds the
    // columns of all three (a channel shown later keeps its own columns
    // through an undo, which the next test checks).
    for (int ch : {2, 1, 0}) choose(h, ch);
    // Choosing a channel and hovering are no steps. The channel for the
    // next edit is chosen at the end of the one before it: a redo shows the
    // channel that showed when its step was undone, which is the next edit's.
    const std::vector<ScriptedEdit> edits = {
        resting({"a drag of a user point, then green chosen",
                 {},
                 [](Host& w) {
                     drag(w, 3, {{384, 300}, {384, 250}});
                     choose(w, 1);
                 }}),
        resting({"a drag of the left end point outside the display",
                 {},
                 [](Host& w) {
                     drag(w, 1, {{30, 300}, {20, 250}});
                 }}),
        resting({"five points for green", {}, [](Host& w) { points(w, 5); }}),
        resting({"the inversion, then blue chosen",
                 {},
                 [](Host& w) {
                     invert(w);
                     choose(w, 2);
                 }}),
        resting({"a drag that leaves the window",
                 {},
                 [](Host& w) {
                     drag(w, 5, {{600, 500}, {1100, 500}});
                 }}),
    };
    const ScriptedEdit fresh = resting({"a new drag", [](Host& w) { choose(w, 0); },
                                        [](Host& w) {
                                            drag(w, 6, {{500, 600}});
                                        }});
    EXPECT_EQ(shell::testing::undoredo(h, edits, model, fresh, [&] { return counts(h); }), "");
    // A count left as it was is no step; the control polygon is the view
    // and stays as the user set it.
    points(h, h.as<MainWindow>().model.trackpos[0]);
    clickpicture(h, box_logo);
    ASSERT_EQ(h.as<MainWindow>().showcp, 1);
    shell::testing::undo(h);
    EXPECT_EQ(h.as<MainWindow>().showcp, 1);
    EXPECT_EQ(counts(h), std::make_pair(size_t(2), size_t(2)));
}

TEST(KnotloomUndo, KeepsEveryChannelAndEveryViewShowsTheModelNow) {
    Host h{programdesc()};
    const MainWindow& mw = h.as<MainWindow>();
    const Model& m = mw.model;
    h.key('A');
    auto blue = [&] {
        std::vector<int> v;
        for (const auto& c : m.spectrum) v.push_back(c[2]);
        return v;
    };
    auto follows = [&] { return analysis::testing::showsanalysis(h, shownpalette(m)); };

    // Green dragged, then blue chosen: blue's curve is sampled after the
    // step, with the pointer left on the Blue box.
    choose(h, 1);
    const double y = m.dp[1][4][1];
    drag(h, 4, {{int(m.dp[1][4][0]), 300}});
    choose(h, 2);
    const std::vector<int> columns = blue();
    ASSERT_GT(*std::max_element(columns.begin(), columns.end()), 0);
    const shell::testing::Shot shown = shell::testing::shoot(h, model);

    // The undo takes back green's drag and keeps blue's curve; the pointer
    // is off the display, so no readout shows.
    shell::testing::undo(h);
    EXPECT_EQ(m.dp[1][4][1], y);
    EXPECT_EQ(blue(), columns);
    EXPECT_EQ(mw.screen->readoutx, -1);
    EXPECT_TRUE(follows());
    // The redo gives back exactly what was shown before the undo.
    shell::testing::redo(h);
    EXPECT_EQ(shell::testing::difference(shown, shell::testing::shoot(h, model)), "");
    EXPECT_TRUE(follows());

    // A readout drawn at one column, the pointer resting at another over
    // the display: the undo's readout is for where the pointer is now, with
    // the palette of the model as restored.
    h.move(300, 690);
    h.move(600, 400);
    shell::testing::undo(h);
    EXPECT_EQ(mw.screen->readoutx, 600);
    shell::Palette palette;
    palettecalc(m.spectrum, palette);
    EXPECT_EQ(m.palette, palette);
    EXPECT_TRUE(follows());
    // With the pointer outside the window none shows.
    h.leave();
    shell::testing::redo(h);
    EXPECT_EQ(mw.screen->readoutx, -1);
    EXPECT_TRUE(follows());
}

TEST(KnotloomUndo, RandomSessionMatchesAReplayOfTheSurvivingEdits) {
    enum Kind { kdrag, kpoints, kinvert };
    struct Edit {
        Kind kind;
        int channel, k;
        shell::Point to[2];
    };
    shell::testing::RandomSession<Edit> session;
    session.desc = programdesc();
    session.model = model;
    session.counts = counts;
    session.pick = [](std::mt19937& rng, Host& w) {
        const Model& m = w.as<MainWindow>().model;
        Edit e{Kind(rng() % 3), int(rng() % kChannels), 0, {}};
        // A drag may end anywhere, the banner and the margins included.
        if (e.kind == kdrag) {
            e.k = 1 + int(rng() % unsigned(m.nd[e.channel] - 2));
            for (auto& p : e.to) p = {int(rng() % 1024), int(rng() % 768)};
        }
        if (e.kind == kpoints) e.k = kMinUser + int(rng() % (kMaxUser - kMinUser + 1));
        return e;
    };
    session.apply = [](Host& w, const Edit& e) {
        choose(w, e.channel);
        if (e.kind == kdrag) drag(w, e.k, {e.to[0], e.to[1]});
        if (e.kind == kpoints) points(w, e.k);
        if (e.kind == kinvert) invert(w);
    };
    // Choosing a channel is no edit, but it samples the channel's curve once,
    // and the window keeps those columns through every undo: the replay
    // shows every channel the window has shown, its active one last. The
    // palette follows the columns where the pointer crosses the display, so
    // both windows are hovered at one place.
    session.look = [](std::mt19937& rng, Host& w) { choose(w, int(rng() % kChannels)); };
    session.align = [](Host& replay, Host& w) {
        const Model& m = w.as<MainWindow>().model;
        for (int ch = 0; ch < kChannels; ++ch)
            if (m.sampled[ch] && ch != m.cindex) choose(replay, ch);
        choose(replay, m.cindex);
        for (Host* h : {&replay, &w}) h->move(500, 400);
    };
    EXPECT_EQ(session.run(shell::testing::randomsteps(), shell::testing::randomseed()), "");
}

}  // namespace knotloom
