#pragma once

// The recursive file listing: every entry of a folder tree that matches one or more file
// masks, as full path names. The script command that imports the bitmaps of a folder tree uses
// it.
//
// Names are the file system's bytes, joined with "/". Folder names in a folder list always end
// with "/". An empty folder means the current working directory; other relative folders are
// relative to it and give relative names. The entries of each folder are taken in byte order
// of their names, so the results do not depend on the order the file system keeps.

#include "support/string_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora
{

/// Clears list and fills it with every entry, in folder or in one of the folders below it, that
/// matches one of the ";"-separated masks: the folders in the order ListFolders gives them,
/// within each folder the masks in order, within each mask the entries in name order. An entry
/// that matches two masks is listed twice. Returns the number of names in the list afterwards,
/// or -1 when no list is given. A folder that does not exist gives an empty list.
int ListFilesRecursive(TStringList* list, std::string_view folder, std::string_view masks);

/// Appends folder (with "/" appended) and every folder below it to list, each folder before
/// the folders inside it, the subfolders of a folder in name order. The list is not cleared.
/// Folders whose name begins with "." are not entered; symbolic links to folders are not
/// followed (the start folder may be one); the walk never leaves the file system that the
/// start folder is on, and takes each folder only once, so a walk from "/" neither loops nor
/// enters /proc. A folder that cannot be read is listed but has nothing below it. Nothing is
/// appended when folder does not exist or is no folder. Returns the number of names in the
/// list afterwards, or -1 when no list is given.
int ListFolders(TStringList* list, std::string_view folder);

/// Appends to list, for each of the ";"-separated masks in order, the full name of each entry
/// of folder (not of its subfolders) that matches the mask, in name order. Hidden entries,
/// folders and the entry "." are listed like files when they match; ".." never is, nor are
/// named pipes, sockets and devices (or links to them), which no caller can read as a file. A
/// folder that cannot be read adds nothing. Does nothing when no list is given.
void AddMatchingFiles(TStringList* list, std::string_view folder, std::string_view masks);

/// The masks of a ";"-separated masks text, in order, each with the blanks and control
/// characters around it removed. Empty pieces are kept as empty masks, which match nothing.
std::vector<std::string> SplitMasks(std::string_view masks);

/// True when name matches mask as fnmatch(3) matches it: "*" stands for any run of characters,
/// "?" for any one character (bracket expressions and backslash escapes work as there), letter
/// case counts, and a leading "." is matched like any other character. An empty mask matches
/// nothing.
bool MatchesMask(std::string_view mask, std::string_view name);

} // namespace velmora
