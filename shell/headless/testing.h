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

#include <algorithm>
#include <cmath>
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

// Why `big`, a picture drawn at n times the size of `one` (its device
// pixels: n = big's device width / one's width), is not `one` drawn sharper:
// the first logical pixel whose n x n block, averaged, is more than
// `tolerance` off in a channel from the pixel of `one`, although some pixel
// of the block has a colour that is neither one that a pixel of `one` within
// `reach` logical pixels has nor lies on the way from one such colour to
// another, as the smoothed edge of text or of a line does, or beyond it: a
// stroke of text covers in full device pixels that its thinner form at scale
// 1 covered only in part (each within `tolerance`).
// Filled areas, curves and pictures thus match on average, and lines and
// text, which fall differently on a finer grid, still use only the colours
// around them. A few such pixels, where three colours meet (a line's edge
// over another's), are let through: up to one in a thousand. Empty when all
// is well.
inline std::string scaledmismatch(const Surface& one, const Surface& big, int tolerance = 12,
                                  int reach = 3) {
    if (one.width() <= 0 || one.scale() != 1 || big.devicewidth() % one.width() != 0)
        return "not a multiple of the size";
    const int n = big.devicewidth() / one.width();
    if (n < 1 || big.deviceheight() != one.height() * n) return "not the same shape";
    const auto close_to = [tolerance](const uint8_t* a, Rgb b) {
        return std::abs(a[0] - b.r) <= tolerance && std::abs(a[1] - b.g) <= tolerance &&
               std::abs(a[2] - b.b) <= tolerance;
    };
    size_t bad = 0;
    std::string first;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            int sum[3] = {0, 0, 0};
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i)
                    for (int c = 0; c < 3; ++c) sum[c] += big.row(y * n + j)[3 * (x * n + i) + c];
            const uint8_t mean[3] = {uint8_t(sum[0] / (n * n)), uint8_t(sum[1] / (n * n)),
                                     uint8_t(sum[2] / (n * n))};
            if (close_to(mean, one.at(x, y))) continue;
            std::vector<Rgb> around;
            for (int v = std::max(0, y - reach); v <= std::min(one.height() - 1, y + reach); ++v)
                for (int u = std::max(0, x - reach); u <= std::min(one.width() - 1, x + reach); ++u)
                    around.push_back(one.at(u, v));
            // Whether p is within tolerance of the point nearest it on the way
            // from a to b and on.
            const auto mixof = [&close_to](const uint8_t* p, Rgb a, Rgb b) {
                const double d[3] = {double(b.r - a.r), double(b.g - a.g), double(b.b - a.b)};
                const double q[3] = {double(p[0] - a.r), double(p[1] - a.g), double(p[2] - a.b)};
                const double len = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
                const double t =
                    len > 0 ? std::max(0.0, (q[0] * d[0] + q[1] * d[1] + q[2] * d[2]) / len) : 0.0;
                const auto at = [t](uint8_t from, uint8_t to) {
                    return uint8_t(std::clamp(std::lround(from + (to - from) * t), 0l, 255l));
                };
                return close_to(p, Rgb{at(a.r, b.r), at(a.g, b.g), at(a.b, b.b)});
            };
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const uint8_t* p = big.row(y * n + j) + 3 * (x * n + i);
                    bool seen = false;
                    for (size_t a = 0; a < around.size() && !seen; ++a)
                        for (size_t b = a; b < around.size() && !seen; ++b)
                            seen = mixof(p, around[a], around[b]);
                    if (!seen && bad++ == 0)
                        first = "at " + std::to_string(x) + "," + std::to_string(y) + " device " +
                                std::to_string(x * n + i) + "," + std::to_string(y * n + j) +
                                " colour " + std::to_string(p[0]) + " " + std::to_string(p[1]) +
                                " " + std::to_string(p[2]);
                }
        }
    if (bad <= size_t(one.width()) * one.height() / 1000) return {};
    return std::to_string(bad) + " device pixels, the first " + first;
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
