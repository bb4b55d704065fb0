// The parts of the atomic save that are the same on every system; opening,
// committing and discarding are in atomicfile_posix.cpp and
// atomicfile_win32.cpp.
#include "atomicfile.h"

#include <atomic>
#include <cerrno>
#include <cstring>

namespace shell {

namespace {

// The byte count after which writes fail, or negative when the test hook is
// off. Atomic only so that a test thread may set it; the programs are
// single-threaded.
std::atomic<long long> failafter{-1};

}  // namespace

void setwritefailure(long long bytes) {
    failafter = bytes;
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::fail(int err) {
    if (!failed_) errno_ = err;
    failed_ = true;
}

Error AtomicFile::error(Fault fault) const {
    return Error{fault, path_, strerror(errno_ ? errno_ : EIO)};
}

bool AtomicFile::write(const void* data, size_t size) {
    if (file_ == nullptr || failed_) return false;
    size_t allowed = size;
    long long limit = failafter;
    if (limit >= 0) {
        long long room = limit > written_ ? limit - written_ : 0;
        if (static_cast<unsigned long long>(room) < size) allowed = static_cast<size_t>(room);
    }
    if (allowed > 0 && fwrite(data, 1, allowed, file_) != allowed) fail(errno);
    written_ += static_cast<long long>(allowed);
    if (allowed < size) {
        // Like a real full disk, the bytes before the limit are on the disk.
        fflush(file_);
        fail(ENOSPC);
    }
    return !failed_;
}

Status writefileatomically(const std::string& path, const void* data, size_t size, bool sync) {
    AtomicFile f;
    if (Status opened = f.open(path); !opened.ok()) return opened;
    f.write(data, size);  // a failure here is remembered, and commit reports it
    return f.commit(sync);
}

}  // namespace shell
