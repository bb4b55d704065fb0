#include <gtest/gtest.h>

#include <string>

#include "huewright/art/helpart.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/helpdialog.h"
#include "save_testwindow.h"

using namespace huewright;
using namespace huewright::savetest;
using shell::headless::Dialog;

namespace {

// What a script saw of the Help dialog while it was open.
struct Seen {
    bool opened = false;
    int pointsize = 0;
    int pictures[3][2] = {};  // width, height of each picture shown
    bool openafterescape = false;
    bool ended = false;
    int result = -1;
    bool released = false;  // no picture left on the controls afterwards
};

// Looks at the dialog, presses Escape, then closes it with `close`.
std::function<void(Dialog&)> lookandclose(Seen& seen, std::function<void(Dialog&)> close) {
    return [&seen, close](Dialog& d) {
        seen.opened = d.templ().find(id_helppicture1) != nullptr;
        seen.pointsize = d.templ().pointsize;
        const int ids[3] = {id_helppicture1, id_helppicture2, id_helppicture3};
        for (int k = 0; k < 3; ++k) {
            if (const shell::Surface* p = d.image(ids[k])) {
                seen.pictures[k][0] = p->width();
                seen.pictures[k][1] = p->height();
            }
        }
        d.escape();
        seen.openafterescape = !d.ended();
        close(d);
        seen.ended = d.ended();
        seen.result = d.result();
        seen.released = !d.image(ids[0]) && !d.image(ids[1]) && !d.image(ids[2]);
    };
}

void expectshown(const Seen& seen) {
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.pointsize, 11);
    EXPECT_EQ(seen.pictures[0][0], 470);
    EXPECT_EQ(seen.pictures[0][1], 150);
    for (int k = 1; k < 3; ++k) {
        EXPECT_EQ(seen.pictures[k][0], 310) << k;
        EXPECT_EQ(seen.pictures[k][1], 150) << k;
    }
    EXPECT_TRUE(seen.openafterescape);
    EXPECT_TRUE(seen.ended);
    EXPECT_EQ(seen.result, 1);
    EXPECT_TRUE(seen.released);
}

TEST(Help, OpensFromF1F2AndTheButtonAndOnlyCloseEndsIt) {
    RecordingHost h;
    Seen f1, f2, button;
    h.modalscripts.push_back(lookandclose(f1, [](Dialog& d) { d.enter(); }));
    h.key(shell::vk_f1);
    expectshown(f1);
    EXPECT_EQ(h.mw().button, 6);

    h.modalscripts.push_back(lookandclose(f2, [](Dialog& d) { d.click(id_helpclose); }));
    h.key(shell::vk_f2);
    expectshown(f2);
    EXPECT_EQ(h.mw().button, 7);

    // The button leaves the marker and the channel where they were.
    h.key('B');
    h.modeless()->click(2);
    const shell::Surface before = h.onscreen;
    h.modalscripts.push_back(lookandclose(button, [](Dialog& d) { d.enter(); }));
    h.click(clicks[btn_help].left + 20, clicks[btn_help].top + 20);
    expectshown(button);
    EXPECT_EQ(h.mw().button, 2);
    EXPECT_EQ(differences(h.onscreen, before), 0);
    EXPECT_EQ(h.modalcaptions.size(), 3u);  // the Parameters dialog is not modal
}

TEST(Help, PicturesLiveOnlyWhileTheDialogIsOpen) {
    HelpDialogProc proc;
    for (int i = 0; i < 50; ++i) {
        Dialog d(helptemplate(), proc);
        d.init();
        ASSERT_EQ(proc.pictures(), 3);
        ASSERT_NE(d.image(id_helppicture1), nullptr);
        d.escape();
        ASSERT_FALSE(d.ended());
        d.enter();
        ASSERT_TRUE(d.ended());
        ASSERT_EQ(proc.pictures(), 0);
        ASSERT_EQ(d.image(id_helppicture1), nullptr);
    }
    // Commands other than Close are not the procedure's.
    Dialog d(helptemplate(), proc);
    d.init();
    EXPECT_EQ(proc.handle(d, shell::DialogMessage{shell::DlgMsg::command, 2, 0, 0}), 0);
    EXPECT_FALSE(d.ended());
}

TEST(Help, TemplateAndTexts) {
    const shell::DialogTemplate t = helptemplate();
    EXPECT_EQ(t.caption, "");
    EXPECT_FALSE(t.closebox);
    EXPECT_EQ(t.pointsize, 11);
    EXPECT_EQ((std::vector<int>{t.x, t.y, t.cx, t.cy}), (std::vector<int>{2, 2, 394, 296}));
    const shell::ControlTemplate* close = t.find(id_helpclose);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text, "Close");
    EXPECT_EQ((std::vector<int>{close->x, close->y, close->cx, close->cy}),
              (std::vector<int>{171, 277, 50, 14}));
    EXPECT_EQ(t.find(2), nullptr);  // no Cancel: Escape does nothing

    // Each picture control covers its whole picture.
    const shell::DialogUnits du = shell::dialogunits(11);
    const struct {
        int id, x, y, w;
    } pictures[3] = {{id_helppicture1, 154, 4, 470},
                     {id_helppicture2, 234, 80, 310},
                     {id_helppicture3, 234, 156, 310}};
    for (const auto& p : pictures) {
        const shell::ControlTemplate* c = t.find(p.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->x, p.x);
        EXPECT_EQ(c->y, p.y);
        EXPECT_GE(du.x(c->cx), p.w);
        EXPECT_GE(du.y(c->cy), 150);
    }

    // The six texts in order, at their places.
    const int places[6][4] = {{8, 4, 140, 80},   {8, 71, 220, 80},  {8, 115, 220, 60},
                              {8, 174, 220, 40}, {8, 212, 220, 30}, {8, 236, 400, 40}};
    int k = 0;
    for (const shell::ControlTemplate& c : t.controls) {
        if (c.kind != shell::Control::text) continue;
        ASSERT_LT(k, 6);
        EXPECT_EQ(c.text, helptexts[k]);
        EXPECT_EQ((std::vector<int>{c.x, c.y, c.cx, c.cy}),
                  (std::vector<int>(places[k], places[k] + 4)));
        ++k;
    }
    EXPECT_EQ(k, 6);
    // The spacing that is easy to lose.
    const std::string t1 = helptexts[0], t2 = helptexts[1];
    EXPECT_EQ(t1.substr(0, 38), std::string(21, ' ') + "Xo Gradient Help\n");
    EXPECT_NE(t1.find("\n   ( palette index ) axis. Drag"), std::string::npos);
    EXPECT_NE(t2.find("If  |vertex - anchor|  is greater"), std::string::npos);
    EXPECT_EQ(t2.back(), '\n');
    EXPECT_NE(std::string(helptexts[2]).find("'Xo Bezier.pdf '"), std::string::npos);
    EXPECT_NE(std::string(helptexts[3]).find("( 0, y )  /  ( 255, y ):"), std::string::npos);
    EXPECT_EQ(std::string(helptexts[4]).substr(0, 17), "Invert:  Inverts ");
    EXPECT_NE(std::string(helptexts[5]).find("this program\n   are appended"), std::string::npos);
}

// How many pixels of a colour lie in the columns [from, to) of a picture.
int count(const shell::Surface& s, shell::Rgb c, int from, int to) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = from; x < to; ++x) n += s.at(x, y) == c ? 1 : 0;
    return n;
}

TEST(Help, PicturesShowTheirSubjectsWhereTheDialogShowsThem) {
    const shell::Surface p1 = makehelpbitmap(1), p2 = makehelpbitmap(2), p3 = makehelpbitmap(3);
    const shell::Rgb red{255, 0, 0}, blue{40, 90, 255}, yellow{255, 255, 0}, green{80, 192, 0},
        magenta{255, 128, 255}, black{0, 0, 0};
    // Everything the pictures explain lies in the part the dialog shows; the
    // rest is the black ground.
    EXPECT_EQ(count(p1, black, helpbitmap1visible, 470), (470 - helpbitmap1visible) * 150);
    EXPECT_EQ(count(p2, black, helpbitmap2visible, 310), (310 - helpbitmap2visible) * 150);
    EXPECT_EQ(count(p3, black, helpbitmap2visible, 310), (310 - helpbitmap2visible) * 150);
    // Each panel has its curves and points in their colours.
    const int third = helpbitmap1visible / 3, half = helpbitmap2visible / 2;
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(count(p1, red, k * third, (k + 1) * third), 100) << k;
    }
    EXPECT_GT(count(p1, blue, 0, third), 100);
    EXPECT_GT(count(p1, yellow, 0, third), 20);
    EXPECT_GT(count(p1, blue, third, 2 * third), 100);
    EXPECT_GT(count(p1, yellow, 2 * third, 3 * third), 20);  // the arrows
    for (int k = 0; k < 2; ++k) {
        EXPECT_GT(count(p2, red, k * half, (k + 1) * half), 100) << k;
        EXPECT_GT(count(p2, blue, k * half, (k + 1) * half), 100) << k;
        EXPECT_GT(count(p2, green, k * half, (k + 1) * half), 50) << k;
        EXPECT_GE(count(p2, yellow, k * half, (k + 1) * half), 4 * 40) << k;  // four points
        EXPECT_GT(count(p3, red, k * half, (k + 1) * half), 100) << k;
        EXPECT_GT(count(p3, blue, k * half, (k + 1) * half), 100) << k;
    }
    EXPECT_GE(count(p3, yellow, 0, half), 2 * 40);
    EXPECT_GE(count(p3, magenta, 0, half), 40);
    // Made afresh each time, the same.
    EXPECT_EQ(differences(p1, makehelpbitmap1()), 0);
}

}  // namespace
