#include "MappedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel::i18n {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

TMappedFile::Result TMappedFile::Open(const std::string& path, std::uint64_t offset,
                                      std::uint64_t length) {
  Close();
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    systemError_ = std::strerror(errno);
    return Result::CannotOpen;
  }
  struct stat status {};
  if (::fstat(fd.Get(), &status) != 0) {
    systemError_ = std::strerror(errno);
    return Result::CannotCreateMap;
  }
  if (!S_ISREG(status.st_mode)) {
    systemError_ = std::strerror(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    return Result::CannotOpen;
  }
  fileSize_ = static_cast<std::uint64_t>(status.st_size);
  // A range beyond the end reads as fewer bytes, or none: the caller sees what is there.
  const std::uint64_t wanted = offset > fileSize_ ? 0 : std::min(length, fileSize_ - offset);
  if (wanted > kLargest) {
    systemError_ = std::strerror(EFBIG);
    return Result::CannotMap;
  }
  bytes_.resize(static_cast<std::size_t>(wanted));
  std::size_t done = 0;
  while (done < bytes_.size()) {
    const ssize_t n = ::pread(fd.Get(), bytes_.data() + done, bytes_.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      systemError_ = std::strerror(errno);
      Close();
      return Result::CannotMap;
    }
    if (n == 0) {
      // Shortened since its size was taken: what is there is all there is.
      bytes_.resize(done);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return Result::Ok;
}

void TMappedFile::Close() {
  bytes_.clear();
  bytes_.shrink_to_fit();
  fileSize_ = 0;
}

}  // namespace vantrel::i18n
