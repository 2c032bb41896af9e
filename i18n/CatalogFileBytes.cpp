// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogFileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FileOpen.h"

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

Status CatalogFileBytes::Open(const std::string& path, std::uint64_t offset, std::uint64_t length) {
  Close();
  // A FIFO in the catalog's place would stall the open until a writer comes.
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (file.fd < 0) {
    // Whatever stands in a catalog's place, it is no catalog that can be opened.
    return {StatusCode::kCannotOpen, file.status.Reason()};
  }
  const Descriptor fd(file.fd);
  fileSize_ = static_cast<std::uint64_t>(file.info.st_size);
  // A range beyond the end reads as fewer bytes, or none: the caller sees what is there.
  const std::uint64_t wanted = offset > fileSize_ ? 0 : std::min(length, fileSize_ - offset);
  if (wanted > kLargest) {
    return Status::FromError(StatusCode::kReadFailed, "", EFBIG);
  }
  bytes_.resize(static_cast<std::size_t>(wanted));
  std::size_t done = 0;
  while (done < bytes_.size()) {
    const ssize_t n = calls_->ReadAt(fd.Get(), bytes_.data() + done, bytes_.size() - done,
                                     static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      const int error = errno;
      Close();
      return Status::FromError(StatusCode::kReadFailed, "", error);
    }
    if (n == 0) {
      // Shortened since its size was taken: what is there is all there is.
      bytes_.resize(done);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return {};
}

void CatalogFileBytes::Close() {
  bytes_.clear();
  bytes_.shrink_to_fit();
  fileSize_ = 0;
}

}  // namespace vantrel::i18n
