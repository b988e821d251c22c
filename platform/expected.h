// Value-or-reason results: every fallible call in the project returns one of
// these instead of throwing, so that no error escapes to the host.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vdl {

// What kind of failure an Error reports, where a caller must tell them apart.
enum class ErrorKind { other, notFound, alreadyExists, invalidArgument };

// Why an operation failed, in words fit for a log line.
struct Error {
  std::string description;
  ErrorKind kind = ErrorKind::other;
};

// Either a value or the reason there is none.
template <class T, class E = Error>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : v_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
  Expected(E error) : v_(std::in_place_index<1>, std::move(error)) {}  // NOLINT: implicit by design

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const E& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, E> v_;
};

// Success, or the reason for a failure.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)) {}  // NOLINT: implicit by design
  static Status success() { return {}; }

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return *error_; }

 private:
  std::optional<Error> error_;
};

}  // namespace vdl
