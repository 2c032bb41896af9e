// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dictionary file: one entry per line, read again from its first line by every
// search, lookup and affix load. Nothing of it is kept in memory but the line at hand.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "Status.h"
#include "VantrelGlobal.h"

namespace vantrel {

// Where the scan gets its bytes: the file, or memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Bytes read (> 0), 0 at the end, -1 on a read failure.
  virtual long Read(char* buffer, std::size_t size) = 0;
  // The size in bytes when the source was opened; 0 when it is not known.
  virtual long long Size() const { return 0; }
};

// Passes the reads of another source through and counts the bytes read. Once `stop` is
// set, the next read fails, which ends any scan of it: a load that nobody waits for any
// more ends within one read.
class StoppableSource final : public ByteSource {
 public:
  StoppableSource(ByteSource& source, const std::atomic<bool>& stop,
                  std::atomic<long long>& bytesRead)
      : source_(source), stop_(stop), bytesRead_(bytesRead) {}

  long Read(char* buffer, std::size_t size) override {
    if (stop_.load(std::memory_order_relaxed)) {
      return -1;
    }
    const long got = source_.Read(buffer, size);
    if (got > 0) {
      bytesRead_.fetch_add(got, std::memory_order_relaxed);
    }
    return got;
  }

 private:
  ByteSource& source_;
  const std::atomic<bool>& stop_;
  std::atomic<long long>& bytesRead_;
};

// Opens a path for reading; nullptr when it cannot be opened.
using SourceOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;

// Reads a file with POSIX read(2). An empty path is never opened: there is no file to
// read, and reading standard input would stall the program. Only a regular file, or a
// link to one, opens; a FIFO, a device or a folder does not.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path);

// The bundled dictionary of a language ("de", "fr", "de_DE"; any other, or none, gives
// the English one): in share/vantrel/ beside the program's own folder (bin/) when it can
// be read there, so that an unpacked tree works where it lies, or else where it was
// installed.
std::string BundledDictionaryPath(const std::string& programDir, std::string_view language = {});
// The folder of the running program, or "." when it cannot be told.
std::string ProgramDir();

// The dictionary scan. Lines end at CR; an LF right after the CR belongs to the line
// end, any other LF is an ordinary character. Ctrl-Z ends the file. A line is kept as
// at most 255 characters, the rest up to its line end skipped. A line after which the
// file ends is never examined, so a file of N lines has N-1 examined; onLine sees
// each examined line, valid until it returns.
template <class OnLine>
Status ScanDictionary(ByteSource& source, OnLine&& onLine);

// Why a dictionary gives the scan no line to examine.
// kNotText: bytes that no text holds (NUL and other control characters) near its start:
// a picture, an archive or a program chosen by mistake.
enum class Unexaminable { kNo, kEmpty, kSingleLine, kUnixLineEnds, kNotText };

// Passes a source's bytes on unchanged and notes what came before the first Ctrl-Z:
// any byte at all, a CR, an LF. From that and the number of lines the scan examined it
// tells why a dictionary yields nothing.
class ByteCensus final : public ByteSource {
 public:
  explicit ByteCensus(ByteSource& source) : source_(source) {}

  long Read(char* buffer, std::size_t size) override {
    const long got = source_.Read(buffer, size);
    for (long i = 0; i < got && looked_ < kLookedAt; ++i, ++looked_) {
      const auto byte = static_cast<unsigned char>(buffer[i]);
      // Tab, line ends, form feed and the Ctrl-Z that ends a text are at home in a text.
      notText_ = notText_ || (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' &&
                              byte != '\f' && byte != 26);
    }
    if (got > 0 && !ended_) {
      std::size_t n = static_cast<std::size_t>(got);
      if (const void* eof = std::memchr(buffer, 26, n)) {
        n = static_cast<std::size_t>(static_cast<const char*>(eof) - buffer);
        ended_ = true;
      }
      anyByte_ = anyByte_ || n > 0;
      cr_ = cr_ || std::memchr(buffer, '\r', n) != nullptr;
      lf_ = lf_ || std::memchr(buffer, '\n', n) != nullptr;
    }
    return got;
  }

  Unexaminable Why(int examinedLines) const {
    if (notText_) {
      return Unexaminable::kNotText;
    }
    if (examinedLines > 0) {
      return Unexaminable::kNo;
    }
    if (!anyByte_) {
      return Unexaminable::kEmpty;
    }
    return lf_ && !cr_ ? Unexaminable::kUnixLineEnds : Unexaminable::kSingleLine;
  }

 private:
  ByteSource& source_;
  bool ended_ = false;
  bool anyByte_ = false;
  bool cr_ = false;
  bool lf_ = false;
  // Whether the start of the file holds a byte that no text holds.
  static constexpr std::size_t kLookedAt = 4096;
  std::size_t looked_ = 0;
  bool notText_ = false;
};

// The one dictionary handle: the path it is bound to and the name the windows show.
class DictionaryFile {
 public:
  explicit DictionaryFile(SourceOpener opener = OpenFileSource) : opener_(std::move(opener)) {}

  void Bind(std::string path) { path_ = std::move(path); }
  const std::string& BoundPath() const { return path_; }

  // Opens the bound path again at its first line; nullptr when that fails (as it does
  // for the empty path bound while no dictionary is in use).
  std::unique_ptr<ByteSource> Reopen() const { return opener_(path_); }
  // Opens `path` without binding it, to learn whether it can become the dictionary.
  std::unique_ptr<ByteSource> Open(const std::string& path) const { return opener_(path); }

  // The dictionary in use: its path, which is also the name the windows show.
  void SetInUse(std::string path) {
    name = path;
    inUse_ = std::move(path);
  }
  // No dictionary in use: the windows show `shown` (the translated "No Dictionary Open"),
  // and no path is kept, so the text is never mistaken for a file name.
  void SetNoneInUse(std::string shown) {
    name = std::move(shown);
    inUse_.clear();
  }
  // The path of the dictionary in use, empty when there is none; this is what the
  // settings keep. The bound path may differ: a dictionary that can no longer be opened
  // stays bound after it stopped being the one in use.
  const std::string& InUse() const { return inUse_; }

  // The name the windows show and messages quote; UTF-8. Set it through SetInUse or
  // SetNoneInUse.
  std::string name;

 private:
  SourceOpener opener_;
  std::string path_;
  std::string inUse_;
};

namespace detail {

// The failure of the read that just failed, with the system's reason when it gave one.
inline Status ReadFailure() {
  const int error = errno;
  return error != 0 ? Status::FromError(StatusCode::kReadFailed, "", error)
                    : Status(StatusCode::kReadFailed, "the read failed");
}

// A buffered reader that treats the first Ctrl-Z as the end of the file. The bytes
// read are followed by kPad Ctrl-Z characters, so a loop that reads ahead in blocks of
// up to kPad characters stops at the end of what was read without counting.
class ScanBuffer {
 public:
  static constexpr std::size_t kSize = 128 * 1024;
  static constexpr std::size_t kPad = 64;
  static constexpr char kEnd = 26;

  explicit ScanBuffer(ByteSource& source) : source_(source), data_(new char[kSize + kPad]) {
    std::memset(data_.get(), kEnd, kPad);
  }

  // Refills the buffer once it is used up. Returns false on a read failure.
  bool Fill();

  const char* data() const { return data_.get(); }
  std::size_t pos_ = 0;
  std::size_t end_ = 0;

 private:
  ByteSource& source_;
  std::unique_ptr<char[]> data_;
  bool ended_ = false;
};

// Reads the lines to examine one at a time, whatever the buffer's end cuts.
class LineReader {
 public:
  enum class Step { kLine, kEnd, kReadError };

  explicit LineReader(ByteSource& source) : buf_(source) {}

  // The next line to examine, valid until the next call; kEnd once the line just read
  // is the last one, which is never examined.
  Step Next(std::string_view& line);

  // The buffer, for a scan that walks the lines inside it itself and leaves to Next
  // only the line that crosses its end.
  ScanBuffer& buffer() { return buf_; }

 private:
  ScanBuffer buf_;
  char carry_[kShortText];
};

}  // namespace detail

template <class OnLine>
Status ScanDictionary(ByteSource& source, OnLine&& onLine) {
  detail::LineReader reader(source);
  std::string_view line;
  for (;;) {
    switch (reader.Next(line)) {
      case detail::LineReader::Step::kLine:
        onLine(line);
        break;
      case detail::LineReader::Step::kEnd:
        return {};
      case detail::LineReader::Step::kReadError:
        return detail::ReadFailure();
    }
  }
}

}  // namespace vantrel
