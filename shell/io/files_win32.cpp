#include <windows.h>
// After windows.h, which it needs:
#include <shellapi.h>

#include <cstdlib>
#include <vector>

#include "files.h"
#include "wide.h"

namespace shell {

std::vector<std::string> arguments(int argc, char** argv) {
    int n = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) out.push_back(narrow(wide[k]));
    LocalFree(wide);
    return out;
}

FILE* openfile(const std::string& path, const char* mode) {
    return _wfopen(widen(path).c_str(), widen(mode).c_str());
}

FileKind filekind(const std::string& path) {
    const DWORD a = GetFileAttributesW(widen(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return FileKind::none;
    if (a & FILE_ATTRIBUTE_DIRECTORY) return FileKind::folder;
    if (a & FILE_ATTRIBUTE_DEVICE) return FileKind::other;
    return FileKind::file;
}

namespace {

// The volume and index that name a file whatever the path that reached it.
bool fileid(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h =
        CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
}

}  // namespace

bool samefile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION ia, ib;
    return fileid(a, ia) && fileid(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

std::vector<std::string> foldernames(const std::string& folder) {
    std::vector<std::string> out;
    std::wstring pattern = widen(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((pattern + L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") out.push_back(narrow(name));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return out;
}

std::string currentfolder() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return ".";
    std::vector<wchar_t> buf(n);
    const DWORD got = GetCurrentDirectoryW(n, buf.data());
    if (got == 0 || got >= n) return ".";
    return narrow(std::wstring_view(buf.data(), got));
}

std::string homefolder() {
    const wchar_t* home = _wgetenv(L"USERPROFILE");
    return home ? narrow(home) : "";
}

}  // namespace shell
