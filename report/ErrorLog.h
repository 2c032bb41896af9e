// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error log: a text file that grows by one record per reported error and that the
// program never truncates. Each record is written whole under a lock, with the file
// opened for it and closed again, so that a record is complete on disk as soon as the
// report is shown, and records of two threads (or two running programs) never interleave.

#include <ctime>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ErrorTracer.h"
#include "FileCalls.h"
#include "Status.h"

namespace vantrel {

class ErrorLog {
 public:
  // An empty path is a log that cannot be written. The record is written through calls.
  explicit ErrorLog(std::string path, FileCalls& calls = FileCalls::Real())
      : path_(std::move(path)), calls_(calls) {}

  // $XDG_STATE_HOME/Vantrel/VantrelError.Log, with ~/.local/state when XDG_STATE_HOME is
  // unset or not an absolute path; empty when neither can be named.
  static std::string DefaultPath();

  const std::string& Path() const { return path_; }

  // Appends the record at the end of the file, creating the file and its folder when
  // they are missing. A failure drops the record and says why; nothing else is touched:
  // a record that could be written only in part is taken out again, so the file never
  // ends in half a record. The kinds of failure:
  //   kNoPath       no folder for the log could be named ($HOME unset)
  //   kNoFolder     the log's folder is missing and cannot be created
  //   kNotAFile     the log's name is taken by a folder, a link to one, a pipe or a device
  //   kCannotOpen   no right to write, or another reason of the system
  //   kWriteFailed  the disk is full or the write failed part-way; the file is as it was
  Status Append(std::string_view record);

  // Whether a log is there to be sent: a regular file (or a link to one) at the path that
  // holds something. An empty file (made, and then the disk was full) is nothing to send.
  bool Exists() const;

 private:
  std::string path_;
  FileCalls& calls_;
  std::mutex lock_;
};

// The record of one reported error, with CR LF line ends: the line of hyphens with the
// local time, the message, the call stack lines, the register lines and the report page
// lines.
std::string LogRecord(const std::tm& localTime, const ErrorTexts& texts,
                      const std::vector<std::string>& reportLines);

}  // namespace vantrel
