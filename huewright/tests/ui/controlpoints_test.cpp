// Control-point placement, the hit test of a press and the drag mapping.
#include "huewright/ui/controlpoints.h"

#include <gtest/gtest.h>

#include "../model/testutil.h"
#include "huewright/ui/geometry.h"

using namespace huewright;
using namespace huewright::testutil;
using shell::Point;
using shell::Rect;

TEST(ControlPoints, PlacedFromTheRedStartupRecord) {
    ControlPoints m;
    m.setcontrolpoints(0, startupparameters[0]);
    EXPECT_EQ(m.point(0, CurveType::sine).cpt.x, 666);
    EXPECT_EQ(m.point(0, CurveType::sine).cpt.y, 273);
    EXPECT_EQ(m.point(0, CurveType::sine).crect, (Rect{660, 268, 670, 278}));
    EXPECT_EQ(m.point(0, CurveType::bezier, 0).cpt.x, 533);
    EXPECT_EQ(m.point(0, CurveType::bezier, 0).cpt.y, 221);
    EXPECT_EQ(m.point(0, CurveType::bezier, 1).cpt.x, 725);
    EXPECT_EQ(m.point(0, CurveType::bezier, 1).cpt.y, 353);
    EXPECT_EQ(m.point(0, CurveType::bezier, 0).crect, (Rect{527, 216, 537, 226}));

    // A new model has all three channels placed from their start-up records.
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(m.point(c, CurveType::sine).cpt.x, startupparameters[c].xsh + 501);
        EXPECT_EQ(m.point(c, CurveType::bezier, 1).cpt.y, 401 - startupparameters[c].bc2y);
    }
}

TEST(ControlPoints, TypedExtremeControlIsPlaced) {
    ControlPoints m;
    Parameters ps = startupparameters[1];
    ps.bc2x = 0;
    ps.bc2y = 255;
    m.setcontrolpoints(1, ps);
    EXPECT_EQ(m.point(1, CurveType::bezier, 1).cpt.x, 501);
    EXPECT_EQ(m.point(1, CurveType::bezier, 1).cpt.y, 146);
    EXPECT_EQ(m.point(1, CurveType::bezier, 1).crect, (Rect{495, 141, 505, 151}));
    // The other channels are untouched.
    EXPECT_EQ(m.point(0, CurveType::bezier, 1).cpt.x, 725);
}

TEST(ControlPoints, PressGrabsOnlyStrictlyInside) {
    ControlPoints m;
    Parameters t{};
    const int c = 0;
    t = startupparameters[0];  // sine
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{661, 273}, 0), 1);
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{660, 273}, 0), 0);
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{666, 268}, 0), 0);
    // The grabbing area is the 9 x 9 square x 661 ... 669 by y 269 ... 277.
    int hits = 0;
    for (int y = 260; y < 290; ++y)
        for (int x = 650; x < 680; ++x) {
            int h = m.presscontrolpoint(c, t, Point{x, y}, false);
            hits += h;
            EXPECT_EQ(h, x >= 661 && x <= 669 && y >= 269 && y <= 277) << x << "," << y;
        }
    EXPECT_EQ(hits, 81);
    EXPECT_TRUE(strictlyinside(Point{51, 155}, Rect{50, 154, 97, 198}));
    EXPECT_FALSE(strictlyinside(Point{50, 155}, Rect{50, 154, 97, 198}));
}

TEST(ControlPoints, PressOnBezierControls) {
    ControlPoints m;
    Parameters t{};
    const int c = 2;
    t = bezier(1, 0, 255, 100, 100, 100, 100);  // both controls on top of each other
    m.setcontrolpoints(2, t);
    const Point both{601, 301};
    EXPECT_EQ(m.presscontrolpoint(c, t, both, 1), 1);
    EXPECT_EQ(m.cpindex, 1);  // control 2 wins
    EXPECT_EQ(m.presscontrolpoint(c, t, both, 0), 1);
    EXPECT_EQ(m.cpindex, 0);  // quadratic: control 2 is not draggable

    t = bezier(1, 0, 255, 10, 10, 200, 200);
    m.setcontrolpoints(2, t);
    m.cpindex = 0;
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{701, 201}, 1), 1);
    EXPECT_EQ(m.cpindex, 1);
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{511, 391}, 1), 1);
    EXPECT_EQ(m.cpindex, 0);
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{600, 300}, 1), 0);
    // Arc and line channels have nothing to drag.
    t.ct = 1;
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{511, 391}, 1), 0);
    t.ct = 3;
    EXPECT_EQ(m.presscontrolpoint(c, t, Point{511, 391}, 1), 0);
}

TEST(ControlPoints, DragMapping) {
    ControlPoints m;
    Parameters t{};
    t = startupparameters[0];
    m.dragstep(0, t, Point{600, 310});
    EXPECT_EQ(t.xsh, 100);
    EXPECT_EQ(m.point(0, CurveType::sine).cpt.x, 600);
    EXPECT_EQ(m.point(0, CurveType::sine).cpt.y, 273);  // the sine point keeps its height
    EXPECT_EQ(m.point(0, CurveType::sine).crect, (Rect{594, 268, 604, 278}));
    // Inside the display the mapping can leave the range; the dialog clamps.
    m.dragstep(0, t, Point{757, 300});
    EXPECT_EQ(t.xsh, 257);

    t.ct = 2;
    m.cpindex = 0;
    m.dragstep(0, t, Point{600, 300});
    EXPECT_EQ(t.bc1x, 98);
    EXPECT_EQ(t.bc1y, 101);
    EXPECT_EQ(m.point(0, CurveType::bezier, 0).cpt.x, 600);
    EXPECT_EQ(m.point(0, CurveType::bezier, 0).cpt.y, 300);
    EXPECT_EQ(m.point(0, CurveType::bezier, 0).crect, (Rect{594, 295, 604, 305}));
    EXPECT_EQ(t.bc2x, startupparameters[0].bc2x);

    m.cpindex = 1;
    m.dragstep(0, t, Point{500, 145});
    EXPECT_EQ(t.bc2x, -2);
    EXPECT_EQ(t.bc2y, 256);
    EXPECT_EQ(t.bc1x, 98);
    // Placing again from the clamped values puts the point back on the grid.
    t.bc2x = 0;
    t.bc2y = 255;
    m.setcontrolpoints(0, t);
    EXPECT_EQ(m.point(0, CurveType::bezier, 1).cpt.x, 501);
    EXPECT_EQ(m.point(0, CurveType::bezier, 1).cpt.y, 146);
}
