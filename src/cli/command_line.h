#pragma once
// The command line of qtx-cli: one command, its file arguments and options,
// and the help texts.

#include "outcome.h"

#include <optional>
#include <string>
#include <vector>

namespace qtx::cli {

inline constexpr int kDefaultRetries = 2;
inline constexpr int kMaxRetries = 1000;

struct Invocation {
    std::string command;            // empty: the tool's own help
    std::vector<std::string> files; // the positional arguments
    std::optional<std::string> output;
    std::optional<std::string> port;  // the first --port
    std::vector<std::string> ports;   // every --port, in order
    std::optional<std::string> from;  // clone
    std::vector<std::string> to;      // clone
    bool verify = false;
    std::optional<std::string> password;
    std::optional<std::string> programDir;
    int retries = kDefaultRetries;
    bool quiet = false;
    bool merge = false; // import-csv: merge by location instead of replacing all channels
    std::vector<std::string> sections; // report: every --section, checked names
    std::string language = "en";       // report: "en" or "zh"
    bool help = false;
};

// Options may stand before or after the command, as "--name value" or
// "--name=value"; "--" ends the options. An option the command does not
// take, a missing or extra argument and an unknown command are usage
// errors.
struct Parsed {
    Invocation invocation;
    Outcome error; // kExitUsage with the reason
};
Parsed ParseCommandLine(const std::vector<std::string>& args);

// The tool's help, or a command's (empty for an unknown command).
std::string ToolHelp();
std::string CommandHelp(const std::string& command);

} // namespace qtx::cli
