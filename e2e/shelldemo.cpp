// A test-only program that exercises what the shell offers beyond what
// curvetoy uses: a modeless dialog with an edit box, a trackbar, a check box
// and a radio group, the save and open file dialogs, a message box and the depth check.
// Every outcome is written into the window title, where tests read it.
#include <fstream>
#include <sstream>

#include "shell/window/program.h"

namespace {

using namespace shell;

DialogTemplate demodialog() {
    DialogTemplate t;
    t.caption = "Demo Dialog";
    t.x = 10;
    t.y = 10;
    t.cx = 160;
    t.cy = 90;
    t.controls = {
        {10, Control::edit, "", 8, 8, 60, 12, true, true},
        {11, Control::trackbar, "", 8, 26, 140, 24, true, true},
        {12, Control::checkbox, "Tick", 8, 54, 60, 10, true, true},
        {13, Control::radio, "A", 80, 54, 30, 10, true, true},
        {14, Control::radio, "B", 115, 54, 30, 10, false, true},
        {1, Control::button, "OK", 40, 70, 40, 14, true, true},
        {2, Control::button, "Cancel", 90, 70, 40, 14, false, true},
    };
    return t;
}

class DemoDialog : public DialogProc {
  public:
    explicit DemoDialog(Window& w) : w_(w) {}
    int handle(DialogView& v, const DialogMessage& m) override {
        switch (m.msg) {
            case DlgMsg::init:
                v.setrange(11, 0, 10);
                v.setpos(11, 0);
                return 1;
            case DlgMsg::command:
                if (m.id == 10 && m.code == en_change) w_.settitle("edit:" + v.text(10));
                if (m.id == 12) w_.settitle(std::string("tick:") + (v.checked(12) ? "1" : "0"));
                if (m.id == 13 || m.id == 14)
                    w_.settitle("radio:" + std::to_string(m.id) + ":" + (v.checked(13) ? "A" : "") +
                                (v.checked(14) ? "B" : ""));
                if (m.id == 1 || m.id == 2) {
                    w_.settitle(m.id == 1 ? "ok" : "cancel");
                    v.end(m.id);
                }
                return 1;
            case DlgMsg::hscroll:
                w_.settitle("track:" + std::to_string(m.code) + ":" + std::to_string(v.pos(11)));
                return 1;
            case DlgMsg::close:
                return 1;
            case DlgMsg::key:
                w_.settitle("key:" + std::string(1, char(m.code)) + ":" + std::to_string(m.mods));
                return 1;
        }
        return 0;
    }

  private:
    Window& w_;
};

class Demo : public Program {
  public:
    int proc(Window& w, const Message& m) override {
        switch (m.msg) {
            case Msg::create:
                w.offscreen.fill(Rgb{0, 0, 96});
                w.presentall();
                save.filters = {{"Text files (*.txt)", "*.txt"}};
                save.title = "Save Demo";
                save.defext = "txt";
                save.overwriteprompt = true;
                open = save;
                open.title = "Open Demo";
                open.overwriteprompt = false;
                open.mustexist = true;
                return 0;
            case Msg::keydown:
                key(w, m.wparam);
                return 0;
            default:
                return 1;
        }
    }

  private:
    void key(Window& w, int vk) {
        if (vk == 'M') {
            dlgproc = std::make_unique<DemoDialog>(w);
            w.createdialog(demodialog(), *dlgproc);
        } else if (vk == 'S') {
            if (w.filedialog(save, true)) {
                std::ofstream(save.file) << "hello";
                w.settitle("saved:" + save.filetitle);
            } else {
                w.settitle("save cancelled");
            }
        } else if (vk == 'O') {
            if (w.filedialog(open, false)) {
                std::ifstream in(open.file);
                std::stringstream ss;
                ss << in.rdbuf();
                w.settitle("opened:" + open.filetitle + ":" + ss.str());
            }
        } else if (vk == 'B') {
            w.messagebox("Hello box", "Caption", Icon::exclamation);
            w.settitle("boxdone");
        } else if (vk == vk_escape) {
            w.post(Message::simple(Msg::destroy));
        }
    }

    FileDialogRecord save, open;
    std::unique_ptr<DemoDialog> dlgproc;
};

}  // namespace

// The command line chooses the scale, as the programs' does, so the demo
// runs at the scale of the tests.
int main(int argc, char** argv) {
    ProgramDesc d;
    d.name = "shelldemo";
    d.title = "Shell Demo";
    d.width = 320;
    d.height = 240;
    d.depthcheck = true;
    d.make = [] { return std::make_unique<Demo>(); };
    return runprogram(d, argc, argv);
}
