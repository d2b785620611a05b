#pragma once
// Where the program's shared files are (language/, Init/, help/, the
// start-up pictures): beside the executable in the build tree and in a
// portable copy; <prefix>/share/qtx once installed.

#include <string>

namespace qtx {

struct ProgramDir {
    std::string path;
    // An installed program directory is shared by every user and never
    // written to: settings live in the per-user folder.
    bool installed = false;
};

// executableDir: the folder the running program was started from.
ProgramDir LocateProgramDir(const std::string& executableDir);

} // namespace qtx
