#include "atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace shell {

namespace {

// The byte count after which writes fail, or negative when the test hook is
// off. Atomic only so that a test thread may set it; the programs are
// single-threaded.
std::atomic<long long> failafter{-1};

std::string folderof(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameof(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

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

void setwritefailure(long long bytes) {
    failafter = bytes;
}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& path) {
    discard();
    failed_ = false;
    written_ = 0;
    if (path.empty() || !resolvetarget(path, target_)) return false;

    // Renaming over a directory, a device or a pipe would either fail late or,
    // worse, replace a special file: refuse such targets before writing.
    struct stat st;
    bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return false;
    // The rename needs only the folder to be writable; a file its owner made
    // read-only must still refuse the save, as opening it for writing would.
    if (exists && access(target_.c_str(), W_OK) != 0) return false;

    // The temporary name is hidden and short enough to stay within the
    // file-name limit even when the target's own name is near it.
    std::string base = nameof(target_).substr(0, 200);
    std::string pattern = folderof(target_) + "/." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return false;
    temp_ = name.data();
    fchmod(fd, modefor(exists ? &st : nullptr));
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        close(fd);
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    return true;
}

bool AtomicFile::write(const void* data, size_t size) {
    if (file_ == nullptr || failed_) return false;
    size_t allowed = size;
    long long limit = failafter;
    if (limit >= 0) {
        long long room = limit > written_ ? limit - written_ : 0;
        if (static_cast<unsigned long long>(room) < size) allowed = static_cast<size_t>(room);
    }
    if (allowed > 0 && fwrite(data, 1, allowed, file_) != allowed) failed_ = true;
    written_ += static_cast<long long>(allowed);
    if (allowed < size) {
        // Like a real full disk, the bytes before the limit are on the disk.
        fflush(file_);
        errno = ENOSPC;
        failed_ = true;
    }
    return !failed_;
}

bool AtomicFile::seek(long offset) {
    if (file_ == nullptr || failed_) return false;
    if (fseek(file_, offset, SEEK_SET) != 0) failed_ = true;
    return !failed_;
}

long AtomicFile::tell() const {
    return file_ ? ftell(file_) : -1;
}

bool AtomicFile::commit(bool sync) {
    if (file_ == nullptr) return false;
    bool ok = !failed_;
    // Buffered bytes reach the disk only here, so a full disk often shows up
    // at the flush or the close rather than at a write.
    if (ok && fflush(file_) != 0) ok = false;
    if (ok && ferror(file_)) ok = false;
    if (ok && sync && fsync(fileno(file_)) != 0) ok = false;
    if (fclose(file_) != 0) ok = false;
    file_ = nullptr;
    if (ok && rename(temp_.c_str(), target_.c_str()) != 0) ok = false;
    if (!ok) {
        failed_ = true;
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    if (sync) syncfolder(folderof(target_));
    return true;
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

int writefileatomically(const std::string& path, const void* data, size_t size, bool sync) {
    AtomicFile f;
    if (!f.open(path)) return 1;
    if (!f.write(data, size)) return 2;
    if (!f.commit(sync)) return 2;
    return 0;
}

}  // namespace shell
