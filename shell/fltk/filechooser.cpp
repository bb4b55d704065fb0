// A file chooser in the manner of the common open and save dialogs: the
// folder and its parents, a list of sub-folders and files of the chosen type,
// a name field that takes a bare name, a relative or an absolute path, and
// the list of types. What a typed name means is decided in the shell's core
// (filedialog.h), so that the tests' host treats it the same way.
#include "filechooser.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <string>
#include <vector>

#include "frames.h"
#include "messagebox.h"
#include "platform.h"
#include "shell/window/chooserlayout.h"
#include "shell/window/filedialog.h"

namespace shell::fltk {

using namespace shell::chooser;

namespace {

// A list whose rows all have one known height, so that a row's place on the
// screen follows from its index.
class FileList : public Fl_Hold_Browser {
  public:
    FileList(int x, int y, int w, int h, int rowheight)
        : Fl_Hold_Browser(x, y, w, h), rowheight_(rowheight) {}

  protected:
    int item_height(void*) const override { return rowheight_; }

  private:
    int rowheight_;
};

// A name field whose text is selected whenever it gets the focus from the
// keyboard, so a new name replaces the old.
class NameField : public Fl_Input {
  public:
    NameField(int x, int y, int w, int h) : Fl_Input(x, y, w, h) {}
    int handle(int e) override {
        int r = Fl_Input::handle(e);
        if (e == FL_FOCUS) position(size(), 0);
        return r;
    }
};

class Chooser {
  public:
    Chooser(FileDialogRecord& rec, bool save, Fl_Window* owner, int scale,
            const std::function<void()>& afterevent)
        : rec_(rec),
          save_(save),
          owner_(owner),
          n_(scale),
          afterevent_(afterevent),
          folder_(dialogfolder(rec)),
          types_(choosertypes(rec)),
          typeindex_(std::clamp(rec.filterindex, 1, int(choosertypes(rec).size()))) {}

    bool run();

  private:
    void build();
    void relist();
    void confirm(const std::string& typed);
    void go(const std::string& folder);
    void picked();

    static void onlist(Fl_Widget*, void* p) { static_cast<Chooser*>(p)->picked(); }
    static void onok(Fl_Widget*, void* p) {
        auto* c = static_cast<Chooser*>(p);
        c->confirm(c->name_->value());
    }
    static void oncancel(Fl_Widget*, void* p) { static_cast<Chooser*>(p)->win_->hide(); }
    static void ontype(Fl_Widget*, void* p) {
        auto* c = static_cast<Chooser*>(p);
        c->typeindex_ = c->type_->value() + 1;
        c->pattern_.clear();
        c->relist();
    }
    static void onfolder(Fl_Widget*, void* p) {
        auto* c = static_cast<Chooser*>(p);
        const int i = c->folders_->value();
        if (i >= 0 && i < int(c->ancestors_.size())) c->go(c->ancestors_[i]);
    }
    static void onup(Fl_Widget*, void* p) {
        auto* c = static_cast<Chooser*>(p);
        const std::string& f = c->folder_;
        auto slash = f.rfind('/');
        c->go(slash == 0 || slash == std::string::npos ? "/" : f.substr(0, slash));
    }

    // The layout's sizes on a screen of this scale.
    int px(int v) const { return v * n_; }

    FileDialogRecord& rec_;
    bool save_;
    Fl_Window* owner_;
    int n_;
    const std::function<void()>& afterevent_;
    std::string folder_;
    std::vector<FileFilter> types_;
    int typeindex_;
    std::string pattern_;  // a typed wildcard pattern, in place of the type's
    std::vector<std::string> ancestors_;
    FolderListing listing_;
    bool accepted_ = false;

    Fl_Window* win_ = nullptr;
    Fl_Choice* folders_ = nullptr;
    FileList* list_ = nullptr;
    NameField* name_ = nullptr;
    Fl_Choice* type_ = nullptr;
};

// FLTK reads '/', '&', '_' and '\' in a menu item as structure or shortcuts.
std::string menuitem(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '/' || c == '\\' || c == '&' || c == '_') out += '\\';
        out += c;
    }
    return out;
}

void Chooser::build() {
    // The layout at scale 1, every size the scale times as large.
    const int width = px(kWidth), height = px(kHeight);
    win_ = new Fl_Window(0, 0, width, height);
    win_->copy_label(rec_.title.c_str());
    const int fieldx = px(kMargin + kLabelWidth);
    const int fieldw = width - fieldx - px(2 * kMargin + kButtonWidth);
    const int field = px(kFieldHeight), text = px(kTextSize);
    auto label = [&](int y, const char* t) {
        auto* b = new Fl_Box(px(kMargin), px(y), px(kLabelWidth), field, t);
        b->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        b->labelsize(text);
    };
    label(kFolderY, "Look in:");
    folders_ = new ScaledChoice(fieldx, px(kFolderY), fieldw, field, n_);
    folders_->textsize(text);
    folders_->callback(onfolder, this);
    auto* up =
        new PushButton(width - px(kMargin + kUpWidth), px(kFolderY), px(kUpWidth), field, "Up");
    up->labelsize(text);
    up->callback(onup, this);
    list_ = new FileList(px(kMargin), px(kListY), width - px(2 * kMargin), px(kListHeight),
                         px(kRowHeight));
    list_->textsize(text);
    list_->callback(onlist, this);
    list_->when(FL_WHEN_CHANGED | FL_WHEN_NOT_CHANGED);
    label(kNameY, "File name:");
    name_ = new NameField(fieldx, px(kNameY), fieldw, field);
    name_->textsize(text);
    label(kTypeY, "Files of type:");
    type_ = new ScaledChoice(fieldx, px(kTypeY), fieldw, field, n_);
    type_->textsize(text);
    for (const FileFilter& f : types_) type_->add(menuitem(f.name).c_str());
    type_->value(typeindex_ - 1);
    type_->callback(ontype, this);
    const int buttonx = width - px(kMargin + kButtonWidth);
    auto* ok =
        new Fl_Return_Button(buttonx, px(kNameY), px(kButtonWidth), field, save_ ? "Save" : "Open");
    ok->labelsize(text);
    ok->callback(onok, this);
    auto* cancel = new PushButton(buttonx, px(kTypeY), px(kButtonWidth), field, "Cancel");
    cancel->labelsize(text);
    cancel->shortcut(FL_Escape);
    cancel->callback(oncancel, this);
    win_->end();
    win_->callback(oncancel, this);
    win_->set_modal();
    // The chooser opens over the right part of the window it belongs to, so
    // that the left part, where the programs keep their buttons and the
    // marker of the one just pressed, stays in view; it stays on the screen.
    if (owner_ && owner_->shown())
        win_->position(std::min(owner_->x() + owner_->w() * 2 / 5, Fl::w() - width),
                       owner_->y() + (owner_->h() - height) / 2);
    else
        win_->position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
    // The file chosen last time is offered again, selected, so that typing
    // replaces it.
    name_->value(rec_.filetitle.c_str());
}

void Chooser::relist() {
    ancestors_.clear();
    folders_->clear();
    for (size_t i = 0; i <= folder_.size(); ++i) {
        if (i == folder_.size() || (folder_[i] == '/' && i > 0))
            ancestors_.push_back(folder_.substr(0, i));
    }
    if (ancestors_.empty() || ancestors_.front() != "/") ancestors_.insert(ancestors_.begin(), "/");
    for (const std::string& a : ancestors_) folders_->add(menuitem(a).c_str());
    folders_->value(int(ancestors_.size()) - 1);
    listing_ = listfolder(folder_, pattern_.empty() ? types_[typeindex_ - 1].pattern : pattern_);
    list_->clear();
    for (const std::string& f : listing_.folders) list_->add((f + "/").c_str());
    for (const std::string& f : listing_.files) list_->add(f.c_str());
    list_->topline(1);
}

void Chooser::go(const std::string& folder) {
    folder_ = folder;
    relist();
}

void Chooser::picked() {
    const int line = list_->value();
    if (line < 1) return;
    const int nfolders = int(listing_.folders.size());
    const bool isfolder = line <= nfolders;
    const std::string& name =
        isfolder ? listing_.folders[line - 1] : listing_.files[line - 1 - nfolders];
    const bool activate =
        Fl::event_clicks() > 0 || (Fl::event() == FL_KEYBOARD && Fl::event_key() == FL_Enter);
    if (!isfolder) name_->value(name.c_str());
    if (!activate) return;
    Fl::event_clicks(0);
    if (isfolder)
        go(folder_ == "/" ? "/" + name : folder_ + "/" + name);
    else
        confirm(name);
}

void Chooser::confirm(const std::string& typed) {
    Choice c = resolvechoice(rec_, folder_, typed, typeindex_, save_);
    switch (c.action) {
        case ChoiceAction::accept:
            break;
        case ChoiceAction::navigate:
            name_->value("");
            go(c.path);
            return;
        case ChoiceAction::refilter:
            pattern_ = c.path;
            relist();
            return;
        case ChoiceAction::confirmoverwrite:
            // No keeps the chooser open with the name selected, to change it.
            if (!askyesno(overwritequestion(c.path), rec_.title, win_, n_, afterevent_)) {
                focuswindow(win_);
                name_->take_focus();
                return;
            }
            break;
        case ChoiceAction::notfound:
            showmessagebox(notfoundtext(c.path), rec_.title, Icon::exclamation, win_, n_,
                           afterevent_);
            focuswindow(win_);
            name_->take_focus();
            return;
        case ChoiceAction::none:
            return;
    }
    acceptfile(rec_, c.path);
    rec_.filterindex = typeindex_;
    accepted_ = true;
    win_->hide();
}

bool Chooser::run() {
    build();
    relist();
    win_->show();
    makedialog(win_, owner_, Frame::closable);
    focuswindow(win_);
    name_->take_focus();
    while (win_->shown()) {
        Fl::wait();
        if (afterevent_) afterevent_();
    }
    delete win_;
    return accepted_;
}

}  // namespace

bool choosefile(FileDialogRecord& rec, bool save, Fl_Window* owner, int scale,
                const std::function<void()>& afterevent) {
    Chooser c(rec, save, owner, scale, afterevent);
    return c.run();
}

}  // namespace shell::fltk
