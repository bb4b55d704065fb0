// Platform-neutral steps of the file dialogs, shared by both hosts.
#pragma once

#include <string>

#include "window.h"

namespace shell {

// A fresh record that starts in the start folder. A save prompts before
// overwriting; an open needs an existing file.
FileDialogRecord filerecord(const std::string& filtername, const std::string& pattern,
                            const std::string& title, const std::string& defext, bool save);

// The folder the program was started from, read once at start-up.
const std::string& startfolder();

// Where a dialog on this record opens: the folder of the last chosen file, or
// the record's initial folder, or the start folder.
std::string dialogfolder(const FileDialogRecord& rec);

// The record's default extension is added when the chosen name has none.
std::string withdefaultext(const std::string& path, const std::string& defext);

// Stores a chosen path in the record (full path and its last component).
void acceptfile(FileDialogRecord& rec, const std::string& path);

}  // namespace shell
