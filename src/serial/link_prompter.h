#pragma once
// The questions and messages of a transfer, answered by whoever runs it: the
// desktop program with modal dialogs, the command-line tool with options or
// typed answers, tests with scripts.

#include <optional>
#include <string>

namespace qtx {

class LinkPrompter {
public:
    virtual ~LinkPrompter() = default;
    // Language text "2003" with Retry and Cancel; true for Retry.
    virtual bool askRetry() = 0;
    // The radio's password prompt, prefilled with `current` (shown masked);
    // none when cancelled.
    virtual std::optional<std::string> askPassword(const std::string& current) = 0;
    // A built-in text entry ("ModelWrong", "RadioKilled" ...) with OK.
    virtual void showMessage(const std::string& name) = 0;
};

} // namespace qtx
