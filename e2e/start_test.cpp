// Start-up without a display: every program says that it could not create
// its window and why, and ends with a status a script can tell from success.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "harness.h"

namespace {

// Runs a command line with standard error captured; returns what it wrote
// and sets its exit status.
std::string stderrof(const std::string& cmd, int& status) {
    FILE* p = popen((cmd + " 2>&1 >/dev/null").c_str(), "r");
    if (!p) return {};
    std::string out;
    char buf[512];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int st = pclose(p);
    status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

// A display name no server answers: neither its lock file nor its socket
// exists.
std::string deaddisplay() {
    for (int n = 700;; ++n) {
        const std::string num = std::to_string(n);
        if (access(("/tmp/.X" + num + "-lock").c_str(), F_OK) != 0 &&
            access(("/tmp/.X11-unix/X" + num).c_str(), F_OK) != 0)
            return ":" + num;
    }
}

TEST(StartDesktop, NoDisplayIsAFailureWithItsReason) {
    const std::string dead = deaddisplay();
    for (const char* name : {"huewright", "knotloom", "curvetoy"}) {
        SCOPED_TRACE(name);
        const std::string program = e2e::programpath(name);
        int status = 0;
        EXPECT_EQ(stderrof("DISPLAY=" + dead + " " + program, status),
                  "Couldn't create main window.\nCannot open display " + dead + ".\n");
        EXPECT_EQ(status, 1);
        EXPECT_EQ(stderrof("env -u DISPLAY " + program, status),
                  "Couldn't create main window.\n"
                  "No display: the DISPLAY variable is not set.\n");
        EXPECT_EQ(status, 1);
    }
}

}  // namespace
