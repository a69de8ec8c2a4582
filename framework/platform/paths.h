#pragma once
// Where the program's files live, and small path services. Paths use "/";
// every helper also accepts "\" as a separator in what it is given.

#include "framework/text/string.h"

namespace penwick {

// The program file's full path.
ktString modulePath();
// The program file's path without its extension (with the dot); the path
// itself when the file name has no extension, as on Linux ("penwick").
ktString moduleStem();
// The folder of a special folder id (host::CSIDL_PERSONAL, CSIDL_APPDATA);
// empty when unknown.
ktString specialFolder(int id);
// The program's own data folder: the application data folder followed by
// "/<company>/<product>" of the version record; empty when the host knows
// no application data folder. Computed once per process; with `create`,
// every missing folder of it is made first.
ktString appDataFolder(bool create);
// Forgets the computed application data folder (tests that change the
// host's folders between cases).
void forgetAppDataFolder();
// Creates every folder along the path (each prefix that ends before a
// separator, and the whole path), ignoring failures such as existing
// folders. Always true.
bool makePath(std::string_view path);
// The file or folder exists and can be reached.
bool fileExists(std::string_view path);
// The absolute form of a path ("\" turned into "/", "." and ".." resolved
// by name); empty when the path is empty or the current folder is unknown.
ktString fullPath(std::string_view path);
// The absolute path cut after its last separator (with `withSeparator`) or
// at it.
ktString folderOf(std::string_view path, bool withSeparator);

// A path's root (a drive letter with colon, a "\\server\share" prefix, or
// "/" for an absolute path) and the rest, "/"-separated, with "." segments
// dropped and ".." removing the segment before it.
struct SplitPath {
    ktString root;
    ktString rest;
};
SplitPath splitPath(std::string_view path);

}  // namespace penwick
