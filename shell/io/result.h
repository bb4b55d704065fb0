// How every operation on files reports a failure: a Result holds either the
// value the operation made or an Error that says which file failed and why.
// The programs show fixed texts in their message boxes; the Error's fault
// picks the text, and its file and reason give the detail where a box or a
// command line shows one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "paths.h"

namespace shell {

// What kind of failure it was, for callers whose message depends on it.
enum class Fault : uint8_t {
    open,       // the file cannot be opened or created
    read,       // reading it failed part-way
    write,      // a write, the flush, the close or the final rename failed
    memory,     // there was not enough memory for the work
    content,    // the bytes are not what they should be, or cannot be made
    cancelled,  // the user cancelled a dialog: nothing was done or shown
};

struct Error {
    Fault fault = Fault::content;
    std::string file;    // as the caller named it; empty when no file is involved
    std::string reason;  // one line, saying what is wrong without naming the file

    // "name: reason", naming the file without its folder, as the second line
    // of a message box shows it; the reason alone when no file is named.
    std::string describe() const {
        if (file.empty()) return reason;
        return file.substr(namestart(file)) + ": " + reason;
    }
};

// What an operation reports when the user cancelled its dialog.
inline Error cancelled() {
    return Error{Fault::cancelled, "", "cancelled"};
}

// A value, or the error that kept it from being made. value() and error()
// may be asked only for the one that is there.
template <class T>
class Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return value_.has_value(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    const Error& error() const { return error_; }

  private:
    std::optional<T> value_;
    Error error_;
};

// The outcome of an operation that makes no value.
template <>
class Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    bool ok() const { return !failed_; }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool failed_ = false;
};
using Status = Result<void>;

}  // namespace shell
