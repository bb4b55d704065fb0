// Undo and redo of anchor drags, through the window procedure.
#include <gtest/gtest.h>

#include "curvetoy/mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/undotesting.h"

namespace {

using curvetoy::MainWindow;
using shell::headless::Host;
using shell::testing::put;

// Everything a step decides and the picture follows from.
std::string model(Host& h) {
    const curvetoy::Demo& d = h.as<MainWindow>().demo;
    std::string s;
    for (const auto& p : d.dp) put(s, p);
    for (const auto& p : d.cp) put(s, p);
    put(s, d.spectrum);
    put(s, d.okcp);
    return s;
}

std::pair<size_t, size_t> counts(Host& h) {
    const auto& steps = h.as<MainWindow>().history.steps;
    return {steps.undoable(), steps.redoable()};
}

// A drag of anchor i through the given points, released at the last.
void drag(Host& h, int i, std::initializer_list<shell::Point> path) {
    const auto& a = h.as<MainWindow>().demo.dp[i];
    h.press(int(a.x), int(a.y));
    shell::Point last{};
    for (shell::Point p : path) h.move(last.x = p.x, last.y = p.y);
    h.release(last.x, last.y);
}

}  // namespace

TEST(CurvetoyUndo, ScriptedDragsUndoneAndRedoneStepByStep) {
    Host h{curvetoy::programdesc()};
    using shell::testing::ScriptedEdit;
    const std::vector<ScriptedEdit> edits = {
        {"an inner anchor",
         {},
         [](Host& w) {
             drag(w, 3, {{400, 300}, {420, 330}});
         }},
        {"the first anchor",
         {},
         [](Host& w) {
             drag(w, 0, {{5, 200}});
         }},
        // A press that moves nothing is no step; positions outside the
        // window are ignored.
        {"the last anchor", [](Host& w) { drag(w, 5, {}); },
         [](Host& w) {
             drag(w, 8, {{2000, 900}, {1000, 600}});
         }},
        {"an anchor dragged back and forth",
         {},
         [](Host& w) {
             drag(w, 5, {{700, 256}, {600, 400}, {650, 300}});
         }},
    };
    const ScriptedEdit fresh{"a new drag", {}, [](Host& w) { drag(w, 4, {{512, 450}}); }};
    // With the control points shown, which every step leaves as it is.
    h.key('C');
    EXPECT_EQ(shell::testing::undoredo(h, edits, model, fresh, [&] { return counts(h); }), "");
    h.key('C');
    shell::testing::undo(h);
    EXPECT_EQ(h.as<MainWindow>().demo.okcp, 0);
    EXPECT_EQ(counts(h), std::make_pair(size_t(1), size_t(2)));
}

TEST(CurvetoyUndo, RandomSessionMatchesAReplayOfTheSurvivingDrags) {
    struct Drag {
        int anchor;
        shell::Point to[2];
    };
    shell::testing::RandomSession<Drag> session;
    session.desc = curvetoy::programdesc();
    session.model = model;
    session.counts = counts;
    session.pick = [](std::mt19937& rng, Host&) {
        auto point = [&] { return shell::Point{int(rng() % 1024), int(rng() % 768)}; };
        return Drag{int(rng() % curvetoy::nd), {point(), point()}};
    };
    session.apply = [](Host& w, const Drag& d) { drag(w, d.anchor, {d.to[0], d.to[1]}); };
    EXPECT_EQ(session.run(shell::testing::randomsteps(), shell::testing::randomseed()), "");
}

TEST(CurvetoyUndo, AThousandStepsLeadBackToTheStart) {
    Host h{curvetoy::programdesc()};
    const shell::testing::Shot start = shell::testing::shoot(h, model);
    constexpr int n = 1001;
    for (int i = 0; i < n; ++i) drag(h, i % curvetoy::nd, {{100 + i % 800, 200 + i % 400}});
    ASSERT_EQ(counts(h), std::make_pair(size_t(n), size_t(0)));
    for (int i = 0; i < n; ++i) shell::testing::undo(h);
    EXPECT_EQ(shell::testing::difference(start, shell::testing::shoot(h, model)), "");
}
