// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {
namespace {

class FileSource final : public ByteSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {}
  ~FileSource() override { ::close(fd_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  long Read(char* buffer, std::size_t size) override {
    return static_cast<long>(::read(fd_, buffer, size));
  }

 private:
  int fd_;
};

}  // namespace

namespace detail {

bool ScanBuffer::Fill() {
  pos_ = end_ = 0;
  while (!ended_) {
    const long got = source_.Read(data_.get(), kSize);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (got == 0) {
      ended_ = true;
      break;
    }
    end_ = static_cast<std::size_t>(got);
    if (const void* eof = std::memchr(data_.get(), kEnd, end_)) {
      end_ = static_cast<std::size_t>(static_cast<const char*>(eof) - data_.get());
      ended_ = true;
    }
    if (end_ > 0) {
      break;
    }
  }
  std::memset(data_.get() + end_, kEnd, kPad);
  return true;
}

LineReader::Step LineReader::Next(std::string_view& line) {
  // Read one line. It is seen in place in the buffer unless it crosses the buffer's
  // end; then its first 255 characters are gathered in carry_.
  std::size_t carried = 0;
  bool inPlace = false;
  bool ended = false;  // a CR ended the line
  for (;;) {
    if (buf_.pos_ == buf_.end_) {
      if (!buf_.Fill()) {
        return Step::kReadError;
      }
      if (buf_.pos_ == buf_.end_) {
        break;
      }
    }
    const char* start = buf_.data() + buf_.pos_;
    const std::size_t avail = buf_.end_ - buf_.pos_;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', avail));
    const std::size_t n = cr != nullptr ? static_cast<std::size_t>(cr - start) : avail;
    if (cr != nullptr && carried == 0) {
      line = std::string_view(start, n < kShortText ? n : kShortText);
      inPlace = true;
    } else {
      const std::size_t take = std::min(n, kShortText - carried);
      std::memcpy(carry_ + carried, start, take);
      carried += take;
    }
    buf_.pos_ += n;
    if (cr != nullptr) {
      buf_.pos_ += 1;
      ended = true;
      break;
    }
  }
  if (!inPlace) {
    line = std::string_view(carry_, carried);
  }
  // Keeps the line when the buffer has to be refilled under it.
  auto refill = [&]() {
    if (inPlace) {
      std::memcpy(carry_, line.data(), line.size());
      line = std::string_view(carry_, line.size());
      inPlace = false;
    }
    return buf_.Fill();
  };
  if (ended) {
    if (buf_.pos_ == buf_.end_ && !refill()) {
      return Step::kReadError;
    }
    if (buf_.pos_ < buf_.end_ && buf_.data()[buf_.pos_] == '\n') {
      ++buf_.pos_;
    }
  }
  if (buf_.pos_ == buf_.end_ && !refill()) {
    return Step::kReadError;
  }
  if (buf_.pos_ == buf_.end_) {
    return Step::kEnd;  // the last line is never examined
  }
  return Step::kLine;
}

}  // namespace detail

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path) {
  if (path.empty()) {
    return nullptr;
  }
  // Opening a FIFO waits for a writer, so the file is opened without waiting and looked
  // at first. Only a regular file (or a link to one) is a dictionary: a FIFO or a
  // device would stall the program or be read for ever, and a folder cannot be read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  // Reads of a regular file wait for the disk as usual.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return nullptr;
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return std::make_unique<FileSource>(fd);
}

}  // namespace vantrel
