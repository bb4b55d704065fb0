// Platform-neutral steps of the file dialogs, shared by both hosts: the
// record's start-up state, what a folder lists under a file type, and what a
// typed name means.
#pragma once

#include <string>
#include <vector>

#include "window.h"

namespace shell {

// A fresh record that starts in the start folder. A save prompts before
// overwriting; an open needs an existing file.
FileDialogRecord filerecord(const std::vector<FileFilter>& filters, const std::string& title,
                            const std::string& defext, bool save);
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

// Every chooser lists the record's types and, after them, this one.
const FileFilter& allfiles();
// The types a chooser on this record offers, in order.
std::vector<FileFilter> choosertypes(const FileDialogRecord& rec);

// True when the file name matches one of the ';'-separated patterns ("*.map"),
// letter case aside: palette collections carry names like BLUES.MAP.
bool matchespattern(const std::string& name, const std::string& patterns);

// The sub-folders and the files of a type in a folder, each sorted by name,
// without hidden entries. An unreadable folder lists nothing.
struct FolderListing {
    std::vector<std::string> folders;
    std::vector<std::string> files;
};
FolderListing listfolder(const std::string& folder, const std::string& patterns);

// What the chooser does with a typed name when the user confirms it.
enum class ChoiceAction {
    none,              // nothing typed
    accept,            // `path` is the chosen file
    navigate,          // `path` is a folder to show
    refilter,          // `path` holds a wildcard pattern to list by
    confirmoverwrite,  // `path` exists: ask before saving over it
    notfound,          // an open dialog: no file `path` (as typed)
};
struct Choice {
    ChoiceAction action = ChoiceAction::none;
    std::string path;
};
// `typed` is what the name field holds: a bare name (relative to `folder`),
// a relative or an absolute path, "~/…", a folder or a wildcard pattern.
// `typeindex` is the 1-based type chosen in the chooser's list
// (choosertypes). A save adds the chosen type's extension, or the record's
// default one for "All files", when the name's extension names none of the
// record's types. An open takes the name as typed when that file exists, and
// adds the extension only when the name has none and the file without it
// does not exist.
Choice resolvechoice(const FileDialogRecord& rec, const std::string& folder,
                     const std::string& typed, int typeindex, bool save);

// The texts the chooser shows for a refused name.
std::string overwritequestion(const std::string& path);
std::string notfoundtext(const std::string& typed);

}  // namespace shell
