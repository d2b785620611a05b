#pragma once
// Why a serial device cannot be opened, in terms the user can act on: it
// is not there, the user lacks permission (and which group owns it), or
// another program holds it (and which one, when that can be seen).

#include <optional>
#include <string>

namespace qtx {

enum class PortProblem { None, Missing, Permission, Busy, Other };

struct PortAccess {
    PortProblem problem = PortProblem::None;
    std::string device;
    std::string group;  // Permission: the group owning the device, e.g. "dialout"
    std::string holder; // Busy: "name (process id)" of a program holding it, when visible
    std::string words;  // Other: the system's own words
};

// Tries the device the way a transfer opens it and says what is in the way.
PortAccess CheckPortAccess(const std::string& device);

// The same from an errno of a failed open; the owner group and the holder
// are looked up on the device.
PortAccess ClassifyPortError(const std::string& device, int error);

// Plain English for the command line and logs; empty when there is no problem.
std::string PortAccessWords(const PortAccess& access);

} // namespace qtx
