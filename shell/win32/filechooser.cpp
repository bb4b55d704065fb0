#include "filechooser.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "shell/io/wide.h"
#include "shell/window/filedialog.h"

namespace shell::win32 {

namespace {

// Room for a chosen path: the longest the system's dialogs return.
constexpr size_t kPathRoom = 32768;

// The folder in the system's spelling.
std::wstring systempath(const std::string& path) {
    std::wstring w = widen(path);
    std::replace(w.begin(), w.end(), L'/', L'\\');
    return w;
}

}  // namespace

std::wstring filterstring(const FileDialogRecord& rec) {
    std::wstring out;
    for (const FileFilter& f : choosertypes(rec)) {
        out += widen(f.name);
        out += L'\0';
        out += f.pattern == "*" ? L"*.*" : widen(f.pattern);
        out += L'\0';
    }
    out += L'\0';
    return out;
}

bool choosefile(FileDialogRecord& rec, bool save, HWND owner) {
    const std::wstring filter = filterstring(rec);
    const std::wstring title = widen(rec.title);
    const std::wstring defext = widen(rec.defext);
    const std::wstring folder = systempath(dialogfolder(rec));
    std::vector<wchar_t> file(kPathRoom, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = DWORD(std::clamp(rec.filterindex, 1, int(choosertypes(rec).size())));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = defext.empty() ? nullptr : defext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    if (save && rec.overwriteprompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (rec.mustexist) ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    rec.filterindex = int(ofn.nFilterIndex);
    acceptfile(rec, narrow(file.data()));
    return true;
}

}  // namespace shell::win32
