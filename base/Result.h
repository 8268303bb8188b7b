// The outcome of a core operation that can fail: the value, or the message that says why.
//
//   base::Result<std::string> text = ReadSomething(path);
//   if (!text) return text.error();           // passes the failure on unchanged
//   Use(*text);
//
//   base::Status written = Write(path, bytes);  // Result<void>: nothing on success
//
// The message is meant for the user, in Slovak, and names what failed; `encoding` says how
// its bytes are to be read (core libraries write Windows-1250; the terminal side UTF-8).
// `detail` may carry the system's own English wording for --verbose runs; `title` the
// dialog title an operation chooses (otherwise the window's own). A Result must
// not be dropped: the compiler warns where one is ignored.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace tamzel::base {

enum class Encoding { Cp1250, Utf8 };

struct Error {
    std::string message;
    Encoding encoding = Encoding::Cp1250;
    std::string detail;
    std::string title;  // the dialog's title where the operation chooses one ("Upozornenie")
};

inline Error Fail(std::string message, Encoding encoding = Encoding::Cp1250) {
    return Error{std::move(message), encoding, {}, {}};
}

// A refusal or failure that names the title of the dialog that shows it.
inline Error Fail(std::string title, std::string message, Encoding encoding) {
    return Error{std::move(message), encoding, {}, std::move(title)};
}

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
    Result(Error error) : error_(std::move(error)) {}  // NOLINT: an error is a failure

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    T value_or(T fallback) const { return ok() ? *value_ : std::move(fallback); }

    const Error& error() const { return error_; }
    const std::string& message() const { return error_.message; }

private:
    std::optional<T> value_;
    Error error_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : failed_(true), error_(std::move(error)) {}  // NOLINT

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }
    const std::string& message() const { return error_.message; }

private:
    bool failed_ = false;
    Error error_;
};

using Status = Result<void>;

inline Status Ok() { return {}; }

}  // namespace tamzel::base
