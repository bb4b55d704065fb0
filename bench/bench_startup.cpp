// Start-up to first frame of a real program: the time from starting the
// process to the moment a chosen pixel of its window shows the expected
// colour. Run under an X server, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_startup
//       build/curvetoy/curvetoy 384 281 ff0000
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The newest top-level window, or 0.
Window newest(Display* dpy) {
    Window root = DefaultRootWindow(dpy), r, p, *kids = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(dpy, root, &r, &p, &kids, &n)) {
        for (unsigned i = 0; i < n; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(dpy, kids[i], &a) && a.map_state == IsViewable &&
                a.width > 100)
                found = kids[i];
        }
        if (kids) XFree(kids);
    }
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s PROGRAM X Y RRGGBB [RUNS]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const unsigned long want = std::strtoul(argv[4], nullptr, 16);
    const int runs = argc > 5 ? std::atoi(argv[5]) : 15;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        auto t0 = Clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            execl(argv[1], argv[1], static_cast<char*>(nullptr));
            _exit(127);
        }
        double took = -1;
        while (std::chrono::duration<double>(Clock::now() - t0).count() < 10) {
            Window w = newest(dpy);
            if (w) {
                XImage* img = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
                if (img) {
                    unsigned long px = XGetPixel(img, 0, 0) & 0xffffff;
                    XDestroyImage(img);
                    if (px == want) {
                        took = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                        break;
                    }
                }
            }
            usleep(500);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        XSync(dpy, False);
        usleep(100000);
        if (took >= 0) ms.push_back(took);
    }
    if (ms.empty()) {
        std::printf("the pixel never showed the colour\n");
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("start-up to first frame: median %.1f ms (min %.1f, max %.1f, %zu runs)\n",
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
    return 0;
}
