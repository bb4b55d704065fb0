// Support shared by the unit and window-level tests: a program that does
// nothing (for tests that only need a Window), and a scratch folder.
#pragma once

#ifdef _WIN32
#include <filesystem>
#include <random>
#include <system_error>
#else
#include <dirent.h>
#include <stdlib.h>
#endif

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

// A fingerprint of a surface's size and pixels (64-bit FNV-1a), for pinning
// a picture that must not change.
inline unsigned long long surfacehash(const Surface& s) {
    unsigned long long h = 14695981039346656037ull;
    auto mix = [&h](unsigned char b) { h = (h ^ b) * 1099511628211ull; };
    for (int v : {s.width(), s.height()})
        for (int i = 0; i < 4; ++i) mix(static_cast<unsigned char>(v >> (8 * i)));
    const unsigned char* p = s.data();
    for (size_t i = 0; i < size_t(s.stride()) * s.height(); ++i) mix(p[i]);
    return h;
}

inline std::string readfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writefile(const std::string& path, const std::string& s) {
    std::ofstream(path, std::ios::binary) << s;
}

#ifdef _WIN32
// A fresh folder in the user's temporary folder, removed with everything in
// it at the end. Windows has neither mkdtemp nor a shell to remove it with;
// the standard library's file system calls do both there.
class ScratchDir {
  public:
    ScratchDir() {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && dir_.empty() && !ec; ++attempt) {
            const fs::path p = base / ("scratch" + std::to_string(seed()));
            if (fs::create_directory(p, ec)) dir_ = p.u8string();
        }
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& dir() const { return dir_; }
    bool ok() const { return !dir_.empty(); }
    // Spelt with '\\' as the system spells names, so that a name a file
    // dialog gives back compares equal.
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }
    std::set<std::string> entries() const {
        std::set<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(dir_, ec))
            out.insert(e.path().filename().u8string());
        return out;
    }

  private:
    std::string dir_;
};
#else
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
#endif

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
