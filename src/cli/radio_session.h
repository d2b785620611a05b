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

namespace qtx::cli {

struct LinkSettings {
    QString device;                      // resolved device path
    std::optional<std::string> password; // --password
    int retries = 2;                     // restarts after a give-up
    bool showProgress = false;           // standard error is a terminal and not --quiet
};

// Runs the transfer; the owner has prefilled (read) or built (write) the
// image. On success `result` holds the radio's identification.
Outcome RunTransfer(TransferMode mode, RadioImage& image, const LinkSettings& settings, TransferResult& result);

} // namespace qtx::cli
