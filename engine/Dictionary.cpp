// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "FileOpen.h"

namespace vantrel {
namespace {

// A dictionary file. A file cut short while it is read (another program rewriting it)
// would give a result from part of the dictionary as if it were all of it: its end
// before the size it had when it was opened is a read failure.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {
    struct stat info {};
    opened_ = ::fstat(fd, &info) == 0 ? static_cast<long long>(info.st_size) : 0;
  }
  ~FileSource() override { ::close(fd_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  long Read(char* buffer, std::size_t size) override {
    const long got = static_cast<long>(::read(fd_, buffer, size));
    if (got > 0) {
      read_ += got;
    } else if (got == 0 && size > 0 && read_ < opened_) {
      errno = EIO;
      return -1;
    }
    return got;
  }
  long long Size() const override { return opened_; }

 private:
  int fd_;
  long long opened_ = 0;  // the file's size when it was opened
  long long read_ = 0;
};

}  // namespace

std::string BundledDictionaryPath(const std::string& programDir, std::string_view language) {
  const std::string name = language.starts_with("de")   ? "Vantrel Deutsch.txt"
                           : language.starts_with("fr") ? "Vantrel Francais.txt"
                                                        : "Vantrel Dictionary.txt";
  const std::filesystem::path beside =
      (std::filesystem::path(programDir) / "../share/vantrel" / name).lexically_normal();
  if (::access(beside.c_str(), R_OK) == 0) {
    return beside.string();
  }
  return std::string(VANTREL_INSTALLED_SHARE) + "/" + name;
}

std::string ProgramDir() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error || !program.has_parent_path() ? "." : program.parent_path().string();
}

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
  // Only a regular file (or a link to one) is a dictionary: a FIFO or a device would
  // stall the program or be read for ever, and a folder cannot be read.
  const int fd = OpenRegularFile(path, O_RDONLY).fd;
  if (fd < 0) {
    return nullptr;
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return std::make_unique<FileSource>(fd);
}

}  // namespace vantrel
