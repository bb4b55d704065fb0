#include "shell/io/atomicfile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/headless/testing.h"

using namespace shell;

namespace {

// A fresh folder per test, removed with everything in it afterwards.
class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.ok());
        dir = scratch.dir();
    }
    void TearDown() override { setwritefailure(-1); }

    std::string path(const std::string& name) const { return scratch.path(name); }
    std::set<std::string> entries() const { return scratch.entries(); }
    static std::string read(const std::string& p) { return shell::testing::readfile(p); }
    static void put(const std::string& p, const std::string& s) { shell::testing::writefile(p, s); }

    shell::testing::ScratchDir scratch;
    std::string dir;
};

// Every path below `dir`, folders as "name/", without following links.
std::set<std::string> tree(const std::string& dir, const std::string& prefix = "") {
    std::set<std::string> out;
    DIR* d = opendir((dir + "/" + prefix).c_str());
    if (!d) return out;
    while (dirent* e = readdir(d)) {
        const std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        if (e->d_type == DT_DIR) {
            out.insert(prefix + n + "/");
            for (const std::string& p : tree(dir, prefix + n + "/")) out.insert(p);
        } else {
            out.insert(prefix + n);
        }
    }
    closedir(d);
    return out;
}

// What a save came to: "ok", or the kind of failure and the system's reason.
std::string outcome(const Status& s) {
    if (s.ok()) return "ok";
    return std::string(s.error().fault == Fault::open ? "open: " : "write: ") + s.error().reason;
}

std::string bigtext(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += char('a' + i % 26);
    return s;
}

}  // namespace

TEST_F(AtomicFileTest, CreatesAndReplacesFilesLeavingNoTemporaryFile) {
    EXPECT_TRUE(writefileatomically(path("new.txt"), std::string("first\n")).ok());
    EXPECT_EQ(read(path("new.txt")), "first\n");

    // A new file gets the permissions of an ordinary creation.
    mode_t mask = umask(0);
    umask(mask);
    struct stat st;
    ASSERT_EQ(stat(path("new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

    // A replaced file keeps its own permissions and gets the new bytes only.
    ASSERT_EQ(chmod(path("new.txt").c_str(), 0640), 0);
    EXPECT_TRUE(writefileatomically(path("new.txt"), std::string("2")).ok());
    EXPECT_EQ(read(path("new.txt")), "2");
    ASSERT_EQ(stat(path("new.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Empty content is a valid file too.
    EXPECT_TRUE(writefileatomically(path("empty"), std::string(), true).ok());
    EXPECT_EQ(read(path("empty")), "");
    EXPECT_EQ(entries(), (std::set<std::string>{"new.txt", "empty"}));
}

TEST_F(AtomicFileTest, TargetsThatCannotBeCreatedFailAndLeaveNothing) {
    // A folder that does not exist (permission bits would not stop root).
    EXPECT_EQ(outcome(writefileatomically(path("missing/x.map"), std::string("data"))),
              "open: No such file or directory");
    EXPECT_EQ(outcome(writefileatomically(std::string(), std::string("data"))),
              "open: no file name");
    // An existing folder in place of the file: it must stay a folder.
    ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    EXPECT_EQ(outcome(writefileatomically(path("sub"), std::string("data"))),
              "open: Is a directory");
    struct stat st;
    ASSERT_EQ(stat(path("sub").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(entries(), (std::set<std::string>{"sub"}));
}

TEST_F(AtomicFileTest, InjectedWriteFailureKeepsTheOldFile) {
    put(path("old.map"), "old contents\n");
    setwritefailure(10);
    EXPECT_EQ(outcome(writefileatomically(path("old.map"), bigtext(100))),
              "write: No space left on device");
    EXPECT_EQ(read(path("old.map")), "old contents\n");
    EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));

    // Through the class: the failure is sticky, and the bytes before the
    // limit did reach the temporary file until it was dropped.
    AtomicFile f;
    ASSERT_TRUE(f.open(path("old.map")).ok());
    EXPECT_TRUE(f.write(std::string("0123456789")));
    EXPECT_FALSE(f.write(std::string("x")));
    EXPECT_EQ(read(f.temppath()), "0123456789");
    setwritefailure(-1);
    EXPECT_FALSE(f.write(std::string("y")));
    EXPECT_EQ(outcome(f.commit()), "write: No space left on device");
    EXPECT_EQ(read(path("old.map")), "old contents\n");
    EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));
}

TEST_F(AtomicFileTest, DeviceFullAtFlushOrWriteIsDetected) {
    // The file-size limit makes the kernel refuse writes past it, as a full
    // disk would. Small content stays in the stdio buffer until the flush;
    // large content fails in the middle of the writes. The child process
    // keeps the limit away from the test runner.
    put(path("old.map"), "old contents\n");
    for (size_t size : {size_t(600), size_t(200000)}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit rl {
                100, 100
            };
            setrlimit(RLIMIT_FSIZE, &rl);
            const Status s = writefileatomically(path("old.map"), bigtext(size));
            _exit(outcome(s) == "write: File too large" ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << size;
        EXPECT_EQ(read(path("old.map")), "old contents\n");
        EXPECT_EQ(entries(), (std::set<std::string>{"old.map"}));
    }
}

TEST_F(AtomicFileTest, UncommittedFilesVanishAndLinksAreFollowed) {
    {
        AtomicFile f;
        ASSERT_TRUE(f.open(path("draft")).ok());
        EXPECT_TRUE(f.write(std::string("header")));
    }
    EXPECT_TRUE(entries().empty());

    // Saving through a symbolic link replaces the file it points at.
    put(path("real.map"), "old");
    ASSERT_EQ(symlink("real.map", path("link.map").c_str()), 0);
    EXPECT_TRUE(writefileatomically(path("link.map"), std::string("new")).ok());
    EXPECT_EQ(read(path("real.map")), "new");
    struct stat st;
    ASSERT_EQ(lstat(path("link.map").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(entries(), (std::set<std::string>{"real.map", "link.map"}));
}

TEST_F(AtomicFileTest, LinksToMissingFilesCreateThemAndStay) {
    // Each case starts from an empty folder with a subfolder "sub/", makes
    // the links (name, contents), saves to `save`, and expects the file
    // `made` with the new bytes, or, when `made` is empty, a failure that
    // changes nothing. Either way every link is still there as it was.
    struct Link {
        const char *name, *to;
    };
    struct Case {
        const char* what;
        std::vector<Link> links;
        const char* save;
        const char* made;  // relative to the scratch folder
    };
    const Case cases[] = {
        {"relative", {{"l.map", "new.map"}}, "l.map", "new.map"},
        {"into a folder", {{"l.map", "sub/new.map"}}, "l.map", "sub/new.map"},
        {"from the link's folder", {{"sub/l.map", "../up.map"}}, "sub/l.map", "up.map"},
        {"absolute", {{"l.map", "@/sub/abs.map"}}, "l.map", "sub/abs.map"},  // @: the folder
        {"chain", {{"a", "sub/b"}, {"sub/b", "c"}}, "a", "sub/c"},
        {"loop", {{"a", "b"}, {"b", "a"}}, "a", ""},
        {"self", {{"a", "a"}}, "a", ""},
        {"loop further on", {{"a", "sub/b"}, {"sub/b", "../a"}}, "a", ""},
        {"missing folder", {{"l.map", "nowhere/x.map"}}, "l.map", ""},
        {"link to a folder", {{"l.map", "sub"}}, "l.map", ""},
    };
    for (const Case& c : cases) {
        shell::testing::ScratchDir s;
        ASSERT_EQ(mkdir(s.path("sub").c_str(), 0755), 0);
        const auto expand = [&](std::string t) { return t[0] == '@' ? s.dir() + t.substr(1) : t; };
        std::set<std::string> before{"sub/"};
        for (const Link& l : c.links) {
            ASSERT_EQ(symlink(expand(l.to).c_str(), s.path(l.name).c_str()), 0) << c.what;
            before.insert(l.name);
        }
        const std::string made = c.made;
        const std::string saved = outcome(writefileatomically(s.path(c.save), std::string("new")));
        EXPECT_EQ(saved.substr(0, made.empty() ? 6 : 2), made.empty() ? "open: " : "ok") << c.what;
        std::set<std::string> after = before;
        if (!made.empty()) {
            after.insert(made);
            EXPECT_EQ(read(s.path(made)), "new") << c.what;
        }
        EXPECT_EQ(tree(s.dir()), after) << c.what;
        for (const Link& l : c.links) {
            char to[PATH_MAX] = {};
            EXPECT_GT(readlink(s.path(l.name).c_str(), to, sizeof to - 1), 0) << c.what;
            EXPECT_EQ(to, expand(l.to)) << c.what;
        }
    }

    // A save through a dangling link that fails part-way creates nothing;
    // the next one succeeds.
    ASSERT_EQ(symlink("made.map", path("l.map").c_str()), 0);
    setwritefailure(2);
    EXPECT_EQ(outcome(writefileatomically(path("l.map"), std::string("new"))),
              "write: No space left on device");
    EXPECT_EQ(entries(), std::set<std::string>{"l.map"});
    setwritefailure(-1);
    EXPECT_TRUE(writefileatomically(path("l.map"), std::string("new")).ok());
    EXPECT_EQ(read(path("made.map")), "new");
    EXPECT_EQ(entries(), (std::set<std::string>{"l.map", "made.map"}));
}
