#pragma once
// Error values of the record database. Every operation reports failure through these values;
// nothing in the component throws or aborts on bad input or bad files.

#include <string>
#include <utility>
#include <variant>

namespace qinglan::edb {

enum class ErrorCode {
    Ok = 0,
    Missing,         // the file does not exist (or the path is not a regular file)
    NotADatabase,    // the file is not a record database (foreign content, plain SQLite, empty)
    WrongPassword,   // an encrypted file that the password does not open (or unreadable noise)
    Corrupt,         // opened with the right password but truncated or damaged
    NoRecord,        // the current record does not exist (empty database, index out of range)
    InvalidArgument, // bad field number, record index, ...
    Busy,            // another connection holds a lock longer than the busy timeout
    ReadOnly,        // the file or its folder cannot be written
    AlreadyExists,   // create() on a path that exists
    Io,              // any other failure of the file system or the engine
};

// A short English name of the code, e.g. "wrong password".
const char* errorCodeName(ErrorCode code);

class Status {
public:
    Status() = default;
    Status(ErrorCode code, std::string message) : code_(code), message_(std::move(message)) {}

    bool ok() const { return code_ == ErrorCode::Ok; }
    ErrorCode code() const { return code_; }
    // One line, suitable for a terminal or a notice; empty when ok().
    const std::string& message() const { return message_; }

private:
    ErrorCode code_ = ErrorCode::Ok;
    std::string message_;
};

// A value or the Status that explains why there is none.
template <class T> class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Status error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T& value() & { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    Status status() const { return ok() ? Status{} : std::get<Status>(state_); }
    ErrorCode code() const { return ok() ? ErrorCode::Ok : std::get<Status>(state_).code(); }

private:
    std::variant<T, Status> state_;
};

} // namespace qinglan::edb
