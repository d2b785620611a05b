#pragma once
// One transfer with the radio for the command line: the prompts of the link
// answered from the options (password, retries) or, for the password, at a
// hidden prompt on a terminal; the percentage on standard error; and the
// end sorted into link failures and refusals by the radio.

#include "outcome.h"

#include "image/radio_image.h"
#include "link/transfer_engine.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace qtx::cli {

struct LinkSettings {
    QString device;                      // resolved device path
    std::optional<std::string> password; // --password
    int retries = 2;                     // restarts after a give-up
    bool showProgress = false;           // standard error is a terminal and not --quiet
    bool verify = false;                 // read a write back and compare (--verify)
    bool promptForPassword = true;       // ask on a terminal when --password is missing
};

// Runs the transfer; the owner has prefilled (read) or built (write) the
// image. On success `result` holds the radio's identification.
Outcome RunTransfer(TransferMode mode, RadioImage& image, const LinkSettings& settings, TransferResult& result);

struct FleetTarget {
    std::string name; // as the user gave it
    QString device;   // resolved device path
};

struct FleetRow {
    std::string name;
    Outcome outcome; // none: written (and verified, when asked)
    double seconds = 0.0;
    int retries = 0; // frames sent again after the radio did not answer in time
    bool verified = false;
};

// Writes `image` into every target at once, one port and transfer each,
// all driven from one event loop; one row per target, in their order. A
// radio that asks for a password gets --password or is refused: there is no
// typed answer when several radios run.
std::vector<FleetRow> RunFleetWrite(const RadioImage& image, const std::vector<FleetTarget>& targets,
                                    const LinkSettings& settings);

// The final table: port, seconds, retries and result, one line each.
std::string FleetTable(const std::vector<FleetRow>& rows);

} // namespace qtx::cli
