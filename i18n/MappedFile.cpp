#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "FileOpen.h"

namespace vantrel::i18n {

TMappedFile::TMappedFile(TMappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      systemError_(std::move(other.systemError_)) {}

TMappedFile& TMappedFile::operator=(TMappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    systemError_ = std::move(other.systemError_);
  }
  return *this;
}

TMappedFile::~TMappedFile() {
  Close();
}

TMappedFile::Result TMappedFile::Open(const std::string& path) {
  Close();
  // A FIFO in the catalog's place would stall the open until a writer comes.
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (file.fd < 0) {
    systemError_ = std::strerror(file.error);
    return Result::CannotOpen;
  }
  const int fd = file.fd;
  const auto size = static_cast<std::size_t>(file.info.st_size);
  if (size == 0) {
    // An empty file maps to nothing; it is read as no bytes.
    ::close(fd);
    return Result::Ok;
  }
  void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  const int mapError = errno;
  ::close(fd);
  if (mapping == MAP_FAILED) {
    systemError_ = std::strerror(mapError);
    return Result::CannotMap;
  }
  data_ = static_cast<const unsigned char*>(mapping);
  size_ = size;
  return Result::Ok;
}

void TMappedFile::Close() {
  if (data_ != nullptr) {
    ::munmap(const_cast<unsigned char*>(data_), size_);
  }
  data_ = nullptr;
  size_ = 0;
}

}  // namespace vantrel::i18n
