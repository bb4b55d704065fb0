// The "changed" notice a model's views subscribe to.
#include "shell/window/notice.h"

#include <gtest/gtest.h>

#include <string>

using namespace shell;

namespace {

using Log = std::string;
using TextNotice = Notice<char>;

// Writes its name and each change it hears; `then` runs after that.
struct Listener : TextNotice::Client {
    Listener(char name, Log& log) : name(name), log(log) {}
    void modelchanged(const char& change) override {
        log += name;
        log += change;
        log += ' ';
        if (then) then();
    }
    char name;
    Log& log;
    std::function<void()> then;
};

}  // namespace

TEST(Notice, ClientsHearEachChangeOnceInOrderAndMayLeaveOrJoinWhileListening) {
    Log log;
    TextNotice n;
    Listener a('a', log), b('b', log), c('c', log);
    TextNotice::Hook hook([&](const char& change) { log += std::string("h") + change + " "; });
    n.subscribe(a);
    n.subscribe(hook);
    n.subscribe(b);
    n.subscribe(a);  // once is enough
    n.notify('1');
    EXPECT_EQ(log, "a1 h1 b1 ");

    // a leaves the notice while it hears a change: b, after it, no longer
    // hears that change, and c, which a brings in, hears it at once.
    log.clear();
    a.then = [&] {
        n.unsubscribe(b);
        n.subscribe(c);
    };
    n.notify('2');
    EXPECT_EQ(log, "a2 h2 c2 ");

    // A client that leaves itself mid-announcement, and one that causes a
    // further change: the inner announcement reaches everyone still there.
    log.clear();
    a.then = [&] { n.unsubscribe(a); };
    c.then = [&] {
        c.then = nullptr;
        n.notify('4');
    };
    n.notify('3');
    EXPECT_EQ(log, "a3 h3 c3 h4 c4 ");
    log.clear();
    n.notify('5');
    EXPECT_EQ(log, "h5 c5 ");
}
