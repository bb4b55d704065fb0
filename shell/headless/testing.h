// Support shared by the unit and window-level tests: a program that does
// nothing (for tests that only need a Window), and a scratch folder.
#pragma once

#include <dirent.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "shell/window/dialog.h"
#include "shell/window/program.h"

namespace shell::testing {

struct Idle : Program {
    int proc(Window& w, const Message& m) override {
        if (m.msg == Msg::destroy) w.quit(0);
        return 0;
    }
};

inline ProgramDesc idledesc(int width = 16, int height = 8) {
    ProgramDesc d;
    d.title = "test";
    d.width = width;
    d.height = height;
    d.make = [] { return std::make_unique<Idle>(); };
    return d;
}

// A fingerprint of a surface's size and device pixels (64-bit FNV-1a), for
// pinning a picture that must not change. A surface of scale N has N times
// the rows and columns of pixels, so scales do not share fingerprints.
inline unsigned long long surfacehash(const Surface& s) {
    unsigned long long h = 14695981039346656037ull;
    auto mix = [&h](unsigned char b) { h = (h ^ b) * 1099511628211ull; };
    for (int v : {s.width(), s.height()})
        for (int i = 0; i < 4; ++i) mix(static_cast<unsigned char>(v >> (8 * i)));
    const unsigned char* p = s.data();
    for (size_t i = 0; i < size_t(s.stride()) * s.deviceheight(); ++i) mix(p[i]);
    return h;
}

// The same size, scale and device pixels.
inline bool samesurface(const Surface& a, const Surface& b) {
    return a.width() == b.width() && a.height() == b.height() && a.scale() == b.scale() &&
           std::equal(a.data(), a.data() + size_t(a.stride()) * a.deviceheight(), b.data());
}

inline std::string readfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writefile(const std::string& path, const std::string& s) {
    std::ofstream(path, std::ios::binary) << s;
}

// A fresh folder under /tmp, removed with everything in it at the end.
class ScratchDir {
  public:
    ScratchDir() {
        char name[] = "/tmp/scratchXXXXXX";
        if (mkdtemp(name)) dir_ = name;
    }
    ~ScratchDir() {
        if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& dir() const { return dir_; }
    bool ok() const { return !dir_.empty(); }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    // The names in the folder, without . and ..
    std::set<std::string> entries() const {
        std::set<std::string> out;
        if (DIR* d = opendir(dir_.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") out.insert(n);
            }
            closedir(d);
        }
        return out;
    }

  private:
    std::string dir_;
};

// What is wrong with a dialog template, one line a fault: a control outside
// the dialog, two controls with one id (controls without an id, and etched lines, which may
// share theirs, aside), a radio button that continues a group it does not
// stand beside, and a dialog that does not fit a 1280 x 1024 screen beside a
// main window at its top left.
inline std::vector<std::string> templateproblems(const DialogTemplate& t) {
    std::vector<std::string> out;
    std::set<int> ids;
    const auto& cs = t.controls;
    for (size_t k = 0; k < cs.size(); ++k) {
        const ControlTemplate& c = cs[k];
        const std::string name =
            "control " + std::to_string(c.id) + " (#" + std::to_string(k) + ")";
        const bool inside = c.x >= 0 && c.y >= 0 && c.x + c.cx <= t.cx && c.y + c.cy <= t.cy;
        if (!inside) out.push_back(name + " lies outside the dialog");
        if (c.id >= 0 && c.kind != Control::etchedline && !ids.insert(c.id).second)
            out.push_back(name + " repeats its id");
        if (c.kind == Control::radio && !c.group && (k == 0 || cs[k - 1].kind != Control::radio))
            out.push_back(name + " continues a radio group it does not stand beside");
    }
    const DialogUnits du = dialogunits(t.pointsize);
    if (du.x(t.x) < 0 || du.y(t.y) < 0 || du.x(t.x + t.cx) > 1280 || du.y(t.y + t.cy) > 1024 - 30)
        out.push_back("the dialog does not fit the screen");
    return out;
}

}  // namespace shell::testing
