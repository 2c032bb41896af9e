// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How every layer says that something failed: what kind of failure, for the program to
// act on, and a reason in words, for the user and the error log. A success carries
// neither. Plain C++, so that the engine, the tools and the fuzz build share it.

#include <cerrno>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel {

// The kinds are few on purpose: one for each thing a caller does differently, or tells
// the user differently. Everything else goes into the reason.
enum class StatusCode {
  kOk,
  kNoPath,       // no file could even be named (the folder it belongs in is unknown)
  kNoFolder,     // the folder a file belongs in is missing and cannot be made
  kNotAFile,     // the name is taken by a folder, a pipe, a device or a link to one
  kNotFound,     // nothing of that name, where its absence is an answer in its own right
                 // (a settings file not yet written, a value never stored)
  kCannotOpen,   // missing where it must be, no right to it, or another refusal of the system
  kReadFailed,   // the system failed a read
  kWriteFailed,  // the system failed a write or wrote only part of it, or the write was
                 // refused because what it would leave could not be read back
  kMalformed,    // the bytes or the value are not in the form they must have
};

class Status {
 public:
  // Success.
  Status() = default;
  Status(StatusCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}

  // A failure of the system call that set error: its text, after what was being done
  // when what is not empty ("write /x/y: No space left on device").
  static Status FromError(StatusCode code, std::string_view what, int error) {
    std::string reason(what);
    if (!reason.empty()) {
      reason += ": ";
    }
    reason += std::strerror(error);
    return {code, std::move(reason)};
  }

  bool IsOk() const { return code_ == StatusCode::kOk; }
  StatusCode Code() const { return code_; }
  // Empty on success.
  const std::string& Reason() const { return reason_; }

  bool operator==(const Status&) const = default;

 private:
  StatusCode code_ = StatusCode::kOk;
  std::string reason_;
};

// What a reader or parser gives back: the value, or why there is none. The value is
// meaningful only when status is ok; on a failure it is left empty (or 0).
template <typename T>
struct Result {
  T value{};
  Status status;

  bool IsOk() const { return status.IsOk(); }
};

// A failure that must leave where it happened by a way that has no return value: out of a
// Qt event handler, a signal or a constructor, up to the error report, which catches it
// there. what() is the reason, so that the report and the log show it as it is.
class StatusError : public std::runtime_error {
 public:
  explicit StatusError(Status failure)
      : std::runtime_error(failure.Reason()), failure_(std::move(failure)) {}
  // The same failure with a message of its own for what(), where the report is to show
  // more than the reason.
  StatusError(Status failure, const std::string& message)
      : std::runtime_error(message), failure_(std::move(failure)) {}

  const Status& Failure() const { return failure_; }

 private:
  Status failure_;
};

// The code's name ("kNotAFile"), for logs and test output.
constexpr std::string_view CodeName(StatusCode code) {
  switch (code) {
    case StatusCode::kOk:
      return "kOk";
    case StatusCode::kNoPath:
      return "kNoPath";
    case StatusCode::kNoFolder:
      return "kNoFolder";
    case StatusCode::kNotAFile:
      return "kNotAFile";
    case StatusCode::kNotFound:
      return "kNotFound";
    case StatusCode::kCannotOpen:
      return "kCannotOpen";
    case StatusCode::kReadFailed:
      return "kReadFailed";
    case StatusCode::kWriteFailed:
      return "kWriteFailed";
    case StatusCode::kMalformed:
      return "kMalformed";
  }
  return "?";
}

inline std::ostream& operator<<(std::ostream& out, StatusCode code) {
  return out << CodeName(code);
}

inline std::ostream& operator<<(std::ostream& out, const Status& status) {
  out << status.Code();
  return status.IsOk() ? out : out << " (" << status.Reason() << ")";
}

}  // namespace vantrel
