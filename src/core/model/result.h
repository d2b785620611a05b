#pragma once
// Results of core operations. Bad input from files, the radio or the user is
// expected: it comes back as an Error that names what the user should see,
// never as an exception or a message box.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace qtx {

struct Error {
    // What the user sees: a built-in text entry ("FileError"), a language
    // text ID ("2002"), or a fixed text of its own ("SetCommDataByOptionError").
    std::string message;
    // Plain-words cause for logs and the command line; may be empty.
    std::string detail;
};

template <class T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};

} // namespace qtx
