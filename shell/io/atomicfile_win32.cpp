// The atomic save on Windows: a temporary file made beside the target, which
// MoveFileEx puts in its place in one step. Names go to the system as UTF-16.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "atomicfile.h"
#include "paths.h"
#include "wide.h"

namespace shell {

namespace {

// How many names a temporary file tries before the folder is taken to
// refuse new files for another reason.
constexpr int kTempAttempts = 100;

// A save over a symbolic link must replace the file the link points at, not
// the link itself. The system follows the link when it opens the name; the
// path of what it opened is the target. A link to a file that does not
// exist yet cannot be followed and is refused.
bool resolvetarget(const std::string& path, std::string& target) {
    const DWORD a = GetFileAttributesW(widen(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        target = path;
        return true;
    }
    HANDLE h = CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::vector<wchar_t> buf(32768);
    const DWORD n = GetFinalPathNameByHandleW(h, buf.data(), DWORD(buf.size()), 0);
    CloseHandle(h);
    if (n == 0 || n >= buf.size()) return false;
    target = narrow(std::wstring_view(buf.data(), n));
    return true;
}

// A name no file in the folder has yet, hidden by its leading dot where the
// user's tools hide such names.
std::string tempname(const std::string& target, unsigned attempt) {
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long v = GetTickCount64() * 2654435761u ^ GetCurrentProcessId() ^ attempt;
    std::string suffix;
    for (int k = 0; k < 6; ++k, v /= 36) suffix += digits[v % 36];
    const std::string folder = folderof(target);
    const std::string base = std::string(filename(target)).substr(0, 200);
    return folder + (isseparator(folder.back()) ? "" : "\\") + "." + base + "." + suffix;
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

    // Replacing a folder or a device would fail late or worse: refuse such
    // targets before writing, and a file made read-only as well, as opening
    // it for writing would.
    const DWORD a = GetFileAttributesW(widen(target_).c_str());
    if (a != INVALID_FILE_ATTRIBUTES) {
        if (a & FILE_ATTRIBUTE_DIRECTORY) return Error{Fault::open, path, strerror(EISDIR)};
        if (a & FILE_ATTRIBUTE_DEVICE) return Error{Fault::open, path, "not a file"};
        if (a & FILE_ATTRIBUTE_READONLY) return Error{Fault::open, path, strerror(EACCES)};
    }

    HANDLE h = INVALID_HANDLE_VALUE;
    std::string name;
    DWORD err = ERROR_FILE_EXISTS;
    for (unsigned attempt = 0; attempt < kTempAttempts && h == INVALID_HANDLE_VALUE; ++attempt) {
        name = tempname(target_, attempt);
        h = CreateFileW(widen(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) err = GetLastError();
        if (h == INVALID_HANDLE_VALUE && err != ERROR_FILE_EXISTS) break;
    }
    if (h == INVALID_HANDLE_VALUE) return Error{Fault::open, path, strerror(errnofrom(err))};
    temp_ = name;
    const int fd = _open_osfhandle(intptr_t(h), _O_WRONLY | _O_BINARY);
    file_ = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
    if (file_ == nullptr) {
        if (fd >= 0)
            _close(fd);
        else
            CloseHandle(h);
        DeleteFileW(widen(temp_).c_str());
        temp_.clear();
        return Error{Fault::open, path, strerror(ENOMEM)};
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
    if (!failed_ && sync && !FlushFileBuffers(HANDLE(_get_osfhandle(_fileno(file_)))))
        fail(errnofrom(GetLastError()));
    if (fclose(file_) != 0) fail(errno);
    file_ = nullptr;
    if (!failed_ && !MoveFileExW(widen(temp_).c_str(), widen(target_).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | (sync ? MOVEFILE_WRITE_THROUGH : 0)))
        fail(errnofrom(GetLastError()));
    if (failed_) {
        DeleteFileW(widen(temp_).c_str());
        temp_.clear();
        return error(Fault::write);
    }
    temp_.clear();
    return {};
}

void AtomicFile::discard() {
    if (file_ != nullptr) {
        fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        DeleteFileW(widen(temp_).c_str());
        temp_.clear();
    }
}

}  // namespace shell
