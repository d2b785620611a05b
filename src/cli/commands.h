#pragma once
// The commands of qtx-cli. Each one reads what it needs, does its work and
// reports how it ended; nothing on disk changes unless the command gets as
// far as writing its output, which replaces files safely.

#include "command_line.h"
#include "outcome.h"

#include <string>

namespace qtx::cli {

struct Context {
    Invocation invocation;
    std::string programDir;
    bool sharedProgramDir = false; // an installed copy: its settings live only in userConfigDir
    std::string userConfigDir; // where the desktop program keeps its settings when programDir is not writable
    bool stderrIsTerminal = false;
};

Outcome RunCommand(const Context& context);

} // namespace qtx::cli
