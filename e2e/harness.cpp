#include "harness.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

void sleepms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

// At a scale the screen is as many times larger, as a screen of high
// density is.
Display::Display(int depth) : Display(1280 * scale(), 1024 * scale(), depth) {}

Display::Display(int width, int height, int depth) {
    // A display number no other server holds: neither its lock file nor its
    // socket exists.
    int number = 90 + int(getpid() % 400);
    for (;; ++number) {
        std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        std::string sock = "/tmp/.X11-unix/X" + std::to_string(number);
        if (access(lock.c_str(), F_OK) != 0 && access(sock.c_str(), F_OK) != 0) break;
    }
    name_ = ":" + std::to_string(number);
    pid_ = fork();
    if (pid_ == 0) {
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 1);
        dup2(devnull, 2);
        std::string screen =
            std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
        execlp("Xvfb", "Xvfb", name_.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until the server answers.
    bool up = false;
    for (int i = 0; i < 400 && !up; ++i) {
        if (::Display* dpy = XOpenDisplay(name_.c_str())) {
            // Park the pointer in the far corner, away from every window, so
            // that no program sees it before a test moves it.
            XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, width - 1, height - 1);
            XSync(dpy, False);
            XCloseDisplay(dpy);
            up = true;
        } else {
            sleepms(25);
        }
    }
    if (!up) throw std::runtime_error("Xvfb does not answer on " + name_);
    if (!windowmanager()) return;
    wm_ = fork();
    if (wm_ == 0) {
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 1);
        dup2(devnull, 2);
        setenv("DISPLAY", name_.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The manager names itself on the root window before it has finished
    // starting, and a window mapped in between may never be taken on. It is
    // ready once it manages a window: a probe mapped and waited for.
    ::Display* dpy = XOpenDisplay(name_.c_str());
    if (!dpy) throw std::runtime_error("Xvfb went away on " + name_);
    const Atom wmstate = XInternAtom(dpy, "WM_STATE", False);
    bool managed = false;
    for (int attempt = 0; attempt < 20 && !managed; ++attempt) {
        ::Window probe = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
        XMapWindow(dpy, probe);
        XSync(dpy, False);
        for (int i = 0; i < 40 && !managed; ++i) {
            Atom type;
            int format;
            unsigned long n, left;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(dpy, probe, wmstate, 0, 2, False, AnyPropertyType, &type,
                                   &format, &n, &left, &data) == Success &&
                type != None)
                managed = true;
            if (data) XFree(data);
            if (!managed) sleepms(25);
        }
        XDestroyWindow(dpy, probe);
        XSync(dpy, False);
    }
    XCloseDisplay(dpy);
    if (!managed) throw std::runtime_error("openbox does not manage windows on " + name_);
}

Display::~Display() {
    for (pid_t p : {wm_, pid_}) {
        if (p > 0) {
            kill(p, SIGTERM);
            waitpid(p, nullptr, 0);
        }
    }
}

bool windowmanager() {
    const char* wm = std::getenv("E2E_WM");
    return wm && std::string(wm) == "openbox";
}

int scale() {
    const char* v = std::getenv("E2E_SCALE");
    const int n = v ? std::atoi(v) : 1;
    return n >= 1 && n <= 3 ? n : 1;
}

int device(int v) {
    const int n = scale();
    return v * n + n - 1;
}

std::string devicepoint(int x, int y) {
    return std::to_string(device(x)) + " " + std::to_string(device(y));
}

std::string run(const std::string& display, const std::string& cmd, int* status) {
    std::string full = "DISPLAY=" + display + " " + cmd + " 2>/dev/null";
    FILE* p = popen(full.c_str(), "r");
    if (!p) return {};
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int st = pclose(p);
    if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

App::App(const Display& d, const std::string& program, const std::string& cwd,
         const std::vector<std::string>& args)
    : display_(d.name()) {
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(126);
        setenv("DISPLAY", display_.c_str(), 1);
        // The scale is named, so that the desktop's own settings of the
        // machine running the tests do not change it.
        setenv("PALETTE_TOOLS_SCALE", std::to_string(scale()).c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    // A busy machine can take a while to start a program: wait up to 20 s.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (window_.empty() && std::chrono::steady_clock::now() < until) {
        std::string out =
            run(display_, "xdotool search --onlyvisible --pid " + std::to_string(pid_));
        // The top-level window is the last one FLTK maps.
        auto end = out.find_last_not_of("\n ");
        if (end != std::string::npos) {
            auto start = out.find_last_of('\n', end);
            window_ = out.substr(start == std::string::npos ? 0 : start + 1,
                                 end + 1 - (start == std::string::npos ? 0 : start + 1));
        }
        if (window_.empty()) sleepms(50);
    }
    if (window_.empty()) {
        // Say what the server shows instead, to tell a slow start from a hung one.
        int st = 0;
        const bool alive = waitpid(pid_, &st, WNOHANG) == 0;
        std::fprintf(
            stderr, "no window of %s (pid %d, %s); windows: %s; their pids: %s\n", program.c_str(),
            int(pid_), alive ? "running" : "ended",
            run(display_, "xdotool search --name . getwindowname %@ | tr '\\n' '|'").c_str(),
            run(display_, "xdotool search --name . getwindowpid %@ | tr '\\n' '|'").c_str());
    }
    settle(300);
}

App::~App() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void App::settle(int ms) {
    run(display_, "xdotool sleep 0");
    sleepms(ms);
}

void App::move(int x, int y) {
    run(display_, "xdotool mousemove --window " + window_ + " " + devicepoint(x, y));
    settle(60);
}

void App::click(int x, int y) {
    move(x, y);
    run(display_, "xdotool click 1");
    settle();
}

void App::drag(int x0, int y0, int x1, int y1, int steps) {
    move(x0, y0);
    run(display_, "xdotool mousedown 1");
    settle(60);
    for (int i = 1; i <= steps; ++i) move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    run(display_, "xdotool mouseup 1");
    settle();
}

void App::key(const std::string& keysym) {
    // The main window has the keyboard focus. A key sent to one window with
    // --window would deliver its release there too, even when the press
    // opened another window, and the server would then repeat the key.
    run(display_, "xdotool key " + keysym);
    settle();
}

void App::type(const std::string& text) {
    // xdotool types text other than ASCII only in a UTF-8 locale; in the C
    // locale it drops everything from the first such character. That text
    // goes through the clipboard, as a user pastes it, so that the tests do
    // not depend on the caller's locale.
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80 && c != '\'';
    if (ascii) {
        run(display_, "xdotool type --delay 20 '" + text + "'");
    } else {
        paste(text);
    }
    settle();
}

void App::paste(const std::string& text) {
    // xclip keeps serving the clipboard in the background until another
    // program takes it over.
    FILE* p = popen(("DISPLAY=" + display_ + " xclip -selection clipboard -i").c_str(), "w");
    if (!p) return;
    std::fwrite(text.data(), 1, text.size(), p);
    pclose(p);
    run(display_, "xdotool key ctrl+v");
}

void App::fastdrag(int x0, int y0, int x1, int y1, int x2, int y2) {
    const auto to = [&](int x, int y) {
        return " mousemove --window " + window_ + " " + devicepoint(x, y);
    };
    run(display_, "xdotool" + to(x0, y0) + " sleep 0.05 mousedown 1" + to(x1, y1) + to(x2, y2) +
                      " mouseup 1");
    settle(80);
}

void App::clickin(const std::string& window, int x, int y) {
    run(display_, "xdotool mousemove --window " + window + " " + devicepoint(x, y) + " click 1");
    settle();
}

shell::Rect App::placed(const std::string& window) {
    // xdotool's geometry reports a managed window's position differently;
    // xwininfo's absolute corner is the client's.
    int x = 0, y = 0, w = 0, h = 0;
    for (const std::string& l : lines(run(display_, "xwininfo -id " + window))) {
        const auto colon = l.find(':');
        if (colon == std::string::npos) continue;
        const int v = std::atoi(l.c_str() + colon + 1);
        if (l.find("Absolute upper-left X") != std::string::npos) x = v;
        if (l.find("Absolute upper-left Y") != std::string::npos) y = v;
        if (l.find("  Width:") != std::string::npos) w = v;
        if (l.find("  Height:") != std::string::npos) h = v;
    }
    return shell::Rect{x, y, x + w, y + h};
}

shell::Rect App::frame(const std::string& window) {
    // "_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1"
    const std::string out = run(display_, "xprop -id " + window + " _NET_FRAME_EXTENTS");
    int v[4] = {0, 0, 0, 0};
    const auto eq = out.find('=');
    if (eq != std::string::npos)
        std::sscanf(out.c_str() + eq + 1, "%d , %d , %d , %d", &v[0], &v[1], &v[2], &v[3]);
    return shell::Rect{v[0], v[2], v[1], v[3]};
}

shell::Surface App::shot() {
    return shot(window_);
}

shell::Surface App::shot(const std::string& window) {
    return shell::Surface::fromdevice(deviceshot(window), scale());
}

shell::Surface App::deviceshot(const std::string& window) {
    std::string ppm = run(display_, "import -window " + window + " -depth 8 ppm:-");
    // Binary PPM: "P6\n<w> <h>\n255\n" then the pixels.
    int w = 0, h = 0, maxv = 0, used = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &maxv, &used) != 3 || maxv != 255)
        return shell::Surface();
    size_t offset = size_t(used) + 1;
    if (ppm.size() < offset + size_t(w) * h * 3) return shell::Surface();
    shell::Surface s(w, h);
    std::copy(ppm.begin() + offset, ppm.begin() + offset + size_t(w) * h * 3, s.data());
    return s;
}

void App::wmclose() {
    wmclose(window_);
}

void App::wmclose(const std::string& window) {
    ::Display* dpy = XOpenDisplay(display_.c_str());
    if (!dpy) return;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = std::stoul(window);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, ev.xclient.window, False, NoEventMask, &ev);
    XFlush(dpy);
    XCloseDisplay(dpy);
    settle();
}

void App::closebywm(const std::string& window) {
    ::Display* dpy = XOpenDisplay(display_.c_str());
    if (!dpy) return;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = std::stoul(window);
    ev.xclient.message_type = XInternAtom(dpy, "_NET_CLOSE_WINDOW", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = 2;  // a request from the user's own tools
    XSendEvent(dpy, DefaultRootWindow(dpy), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(dpy);
    XCloseDisplay(dpy);
    settle();
}

void App::savepng(const std::string& path) {
    run(display_, "import -window " + window_ + " " + path);
}

int App::wait(double seconds) {
    if (exited_) return status_;
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        int st;
        if (waitpid(pid_, &st, WNOHANG) == pid_) {
            exited_ = true;
            status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
            return status_;
        }
        sleepms(20);
    }
    return -1;
}

std::string App::waitwindow(const std::string& title, double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        std::string out = run(display_, "xdotool search --onlyvisible --name '" + title + "'");
        auto nl = out.find('\n');
        if (nl != std::string::npos && nl > 0) return out.substr(0, nl);
        sleepms(50);
    }
    return {};
}

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        size_t j = s.find('\n', i);
        if (j == std::string::npos) j = s.size();
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j + 1;
    }
    return out;
}

std::vector<std::string> App::others() {
    std::vector<std::string> out;
    for (const std::string& w :
         lines(run(display_, "xdotool search --onlyvisible --pid " + std::to_string(pid_))))
        if (w != window_) out.push_back(w);
    return out;
}

std::string App::waitothers(size_t count, double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        const auto w = others();
        if (w.size() == count) return count ? w.back() : std::string();
        sleepms(20);
    }
    return "timeout";
}

std::string tempdir() {
    char tmpl[] = "/tmp/e2eXXXXXX";
    const char* d = mkdtemp(tmpl);
    return d ? d : "/tmp";
}

std::string programpath(const std::string& name) {
    return std::string(BUILD_ROOT) + "/" + name + "/" + name;
}

}  // namespace e2e
