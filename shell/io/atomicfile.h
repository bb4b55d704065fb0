// Saving a file so that it is either complete or not there at all.
//
// Every save of the programs goes through here. The bytes go to a temporary
// file in the target's own folder (so the final rename never crosses file
// systems), and only when every write, the flush and the close succeeded is
// the temporary file renamed over the target. Any failure removes the
// temporary file: an existing target keeps its old contents, and no partial
// file is left behind.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "shell/io/result.h"

namespace shell {

class AtomicFile {
  public:
    AtomicFile() = default;
    // Discards the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside `path`. Fails with Fault::open when
    // it cannot be created (missing or unwritable folder); nothing is left
    // behind then. When `path` is a symbolic link, or a chain of them, the
    // file it names is the target, whether it exists or not, and the link
    // stays; a chain that loops makes open fail. A target that exists but is
    // no regular file, or is read-only, is refused. The error's reason is
    // the system's word for what went wrong, such as "Permission denied".
    Status open(const std::string& path);

    // Appends bytes. The first failure is remembered: later writes do
    // nothing and return false, and commit() fails.
    bool write(const void* data, size_t size);
    bool write(const std::string& s) { return write(s.data(), s.size()); }

    // Flushes, optionally forces the bytes to the device, closes and renames
    // the temporary file over the target. Fails with Fault::write when this
    // or an earlier write failed, in which case the temporary file is gone
    // and the target is untouched.
    Status commit(bool sync = false);

    // Drops the temporary file; the target is untouched.
    void discard();

    // Where the bytes go until the commit, for tests that look at them.
    const std::string& temppath() const { return temp_; }

  private:
    // Remembers the first failure and the system's reason for it.
    void fail(int err);
    Error error(Fault fault) const;

    std::string path_;    // as the caller named it, for the error
    std::string target_;  // what the rename replaces
    std::string temp_;    // the temporary file while it exists
    FILE* file_ = nullptr;
    bool failed_ = false;
    int errno_ = 0;          // the first failure's
    long long written_ = 0;  // bytes handed to write(), for the test hook
};

// Saves `data` as the whole content of `path`. Fails with Fault::open when
// the file cannot be created, Fault::write when writing, flushing, closing
// or renaming fails; on failure the target is as it was.
Status writefileatomically(const std::string& path, const void* data, size_t size,
                           bool sync = false);
inline Status writefileatomically(const std::string& path, const std::string& data,
                                  bool sync = false) {
    return writefileatomically(path, data.data(), data.size(), sync);
}

// Test hook: while set, every AtomicFile fails its write once it has written
// `bytes` bytes, as a full disk would (the bytes up to the limit do reach the
// temporary file). A negative value switches the hook off.
void setwritefailure(long long bytes);

}  // namespace shell
