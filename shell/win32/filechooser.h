// The system's open and save dialogs for a file dialog record.
#pragma once

#include <windows.h>

#include "shell/window/window.h"

namespace shell::win32 {

// Runs the open (save false) or save dialog for `rec`, owned by `owner`:
// the record's types (and "All files" after them), title, default
// extension, start folder and overwrite prompt. False when cancelled.
bool choosefile(FileDialogRecord& rec, bool save, HWND owner);

// The filter string of the dialog: each type's name and patterns, each
// ended by a zero, and a zero after the last. "*" is written "*.*", which
// Windows's dialogs take for every file.
std::wstring filterstring(const FileDialogRecord& rec);

}  // namespace shell::win32
