// The atomic save on POSIX systems: a hidden temporary file made with
// mkstemp beside the target, which rename() puts in its place.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "atomicfile.h"
#include "paths.h"

namespace shell {

namespace {

// Linux gives up on a chain of more links than this (MAXSYMLINKS), and so do
// we: a longer chain is taken for a loop.
constexpr int maxlinkhops = 40;

// What the symbolic link at `link` says, or false when it cannot be read.
bool linkcontents(const std::string& link, std::string& contents) {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = readlink(link.c_str(), buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return false;
    contents.assign(buf.data(), static_cast<size_t>(n));
    return true;
}

// A save over a symbolic link must replace the file the link points at, not
// the link itself, or the user's file would silently stay as it was. The
// same holds when that file does not exist yet: the save creates it and the
// link keeps naming it. Every link of a chain is followed; a relative link
// counts from its own folder, as the system reads it. Only the last part of
// the path is followed here: the system resolves the folders on the way,
// "..", and links among them, when the file is made. False for a chain that
// loops (or is longer than the system would follow) or a link that cannot
// be read; the save must then fail rather than replace a link.
bool resolvetarget(const std::string& path, std::string& target) {
    std::string at = path;
    for (int hop = 0; hop <= maxlinkhops; ++hop) {
        struct stat st;
        if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            // Not a link: an existing file, or the name a new file gets. A
            // folder that is missing or not searchable makes creating it fail.
            target = at;
            return true;
        }
        std::string next;
        if (!linkcontents(at, next)) return false;
        if (next[0] != '/') {
            const std::string folder = folderof(at);
            next = (folder == "/" ? folder : folder + "/") + next;
        }
        at = next;
    }
    return false;
}

// A new file gets the permissions an ordinary creation would give it; a
// replaced file keeps its own.
mode_t modefor(const struct stat* existing) {
    if (existing) return existing->st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void syncfolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

Status AtomicFile::open(const std::string& path) {
    discard();
    failed_ = false;
    errno_ = 0;
    written_ = 0;
    path_ = path;
    if (path.empty()) return Error{Fault::open, path, "no file name"};
    if (!resolvetarget(path, target_)) return Error{Fault::open, path, strerror(ELOOP)};

    // Renaming over a directory, a device or a pipe would either fail late or,
    // worse, replace a special file: refuse such targets before writing.
    struct stat st;
    bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return Error{Fault::open, path, S_ISDIR(st.st_mode) ? strerror(EISDIR) : "not a file"};
    // The rename needs only the folder to be writable; a file its owner made
    // read-only must still refuse the save, as opening it for writing would.
    if (exists && access(target_.c_str(), W_OK) != 0)
        return Error{Fault::open, path, strerror(errno)};

    // The temporary name is hidden and short enough to stay within the
    // file-name limit even when the target's own name is near it.
    std::string base = std::string(filename(target_)).substr(0, 200);
    std::string pattern = folderof(target_) + "/." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return Error{Fault::open, path, strerror(errno)};
    temp_ = name.data();
    fchmod(fd, modefor(exists ? &st : nullptr));
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int err = errno;
        close(fd);
        unlink(temp_.c_str());
        temp_.clear();
        return Error{Fault::open, path, strerror(err)};
    }
    return {};
}

Status AtomicFile::commit(bool sync) {
    if (file_ == nullptr) {
        if (!failed_) fail(EBADF);  // never opened, or committed already
        return error(Fault::write);
    }
    // Buffered bytes reach the disk only here, so a full disk often shows up
    // at the flush or the close rather than at a write.
    if (!failed_ && fflush(file_) != 0) fail(errno);
    if (!failed_ && ferror(file_)) fail(EIO);
    if (!failed_ && sync && fsync(fileno(file_)) != 0) fail(errno);
    if (fclose(file_) != 0) fail(errno);
    file_ = nullptr;
    if (!failed_ && rename(temp_.c_str(), target_.c_str()) != 0) fail(errno);
    if (failed_) {
        unlink(temp_.c_str());
        temp_.clear();
        return error(Fault::write);
    }
    temp_.clear();
    if (sync) syncfolder(folderof(target_));
    return {};
}

void AtomicFile::discard() {
    if (file_ != nullptr) {
        fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        unlink(temp_.c_str());
        temp_.clear();
    }
}

}  // namespace shell
