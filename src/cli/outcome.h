#pragma once
// How a command ends: the exit status scripts test, and the one line that
// names the cause of a failure.

#include <optional>
#include <string>

namespace qtx::cli {

enum ExitStatus : int {
    kExitOk = 0,
    kExitUsage = 1,   // wrong command, option or argument
    kExitFile = 2,    // a file cannot be read or written, or its content is unusable
    kExitLink = 3,    // the port cannot be used or the radio does not answer
    kExitRefused = 4, // the radio refused: model, version, killed, stunned, password
    kExitDifferent = 5, // diff: the two Codeplugs differ
};

struct Failure {
    ExitStatus status = kExitUsage;
    std::string line; // plain words, no line breaks
};

// None when the command succeeded.
using Outcome = std::optional<Failure>;

inline Failure Fail(ExitStatus status, std::string line) { return Failure{status, std::move(line)}; }

} // namespace qtx::cli
