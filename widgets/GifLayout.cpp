// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifLayout.h"

namespace vantrel {
namespace {

constexpr unsigned char kExtension = 0x21;
constexpr unsigned char kImage = 0x2C;
constexpr unsigned char kEndMark = 0x3B;
constexpr unsigned char kTimingLabel = 0xF9;
constexpr std::size_t kTimingSize = 4;
constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kScreenSize = 7;
constexpr std::size_t kImageDescriptorSize = 9;

class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}

  bool Has(std::size_t count) const { return data_.size() - at_ >= count; }
  unsigned char Byte(std::size_t offset) const {
    return static_cast<unsigned char>(data_[at_ + offset]);
  }
  int Word(std::size_t offset) const { return Byte(offset) | (Byte(offset + 1) << 8); }
  void Skip(std::size_t count) { at_ += count; }

  // Skips a chain of data sub-blocks, each a length byte and that many bytes, ended by a
  // zero length. False when the data ends first.
  bool SkipSubBlocks() {
    while (Has(1)) {
      const std::size_t length = Byte(0);
      Skip(1);
      if (length == 0) {
        return true;
      }
      if (!Has(length)) {
        return false;
      }
      Skip(length);
    }
    return false;
  }

  // The size of the colour table a packed field announces, 0 when there is none.
  static std::size_t ColourTableSize(unsigned char packed) {
    return (packed & 0x80) != 0 ? 3u * (2u << (packed & 0x07)) : 0u;
  }

 private:
  std::string_view data_;
  std::size_t at_ = 0;
};

Status Malformed(std::string reason) {
  return {StatusCode::kMalformed, std::move(reason)};
}

}  // namespace

GifLayout ScanGifLayout(std::string_view data) {
  GifLayout layout;
  Reader reader(data);
  if (!reader.Has(kHeaderSize) ||
      (data.substr(0, kHeaderSize) != "GIF87a" && data.substr(0, kHeaderSize) != "GIF89a")) {
    layout.status = Malformed("is not a GIF picture");
    return layout;
  }
  reader.Skip(kHeaderSize);
  if (!reader.Has(kScreenSize)) {
    layout.status = Malformed("ends inside its header");
    return layout;
  }
  layout.width = reader.Word(0);
  layout.height = reader.Word(2);
  const std::size_t globalColours = Reader::ColourTableSize(reader.Byte(4));
  reader.Skip(kScreenSize);
  if (!reader.Has(globalColours)) {
    layout.status = Malformed("ends inside its colour table");
    return layout;
  }
  reader.Skip(globalColours);
  if (layout.width == 0 || layout.height == 0) {
    layout.status = Malformed("has no size");
    return layout;
  }

  int pendingDelay = 0;
  while (reader.Has(1)) {
    const unsigned char block = reader.Byte(0);
    reader.Skip(1);
    if (block == kEndMark) {
      if (layout.frames == 0) {
        layout.status = Malformed("holds no frame");
      }
      return layout;
    }
    const std::string nextFrame = std::to_string(layout.frames + 1);
    if (block == kExtension) {
      if (!reader.Has(1)) {
        layout.status = Malformed("ends inside a block before frame " + nextFrame);
        return layout;
      }
      const unsigned char label = reader.Byte(0);
      reader.Skip(1);
      // A timing block: its first sub-block holds flags, the delay and the see-through
      // colour. It applies to the next frame.
      if (label == kTimingLabel && reader.Has(1 + kTimingSize) && reader.Byte(0) >= kTimingSize) {
        pendingDelay = reader.Word(2);
      }
      if (!reader.SkipSubBlocks()) {
        layout.status = Malformed("ends inside a block before frame " + nextFrame);
        return layout;
      }
    } else if (block == kImage) {
      if (!reader.Has(kImageDescriptorSize)) {
        layout.status = Malformed("ends inside frame " + nextFrame);
        return layout;
      }
      const std::size_t localColours = Reader::ColourTableSize(reader.Byte(8));
      reader.Skip(kImageDescriptorSize);
      // The colour table, the code size byte and the pixel data.
      if (!reader.Has(localColours + 1)) {
        layout.status = Malformed("ends inside frame " + nextFrame);
        return layout;
      }
      reader.Skip(localColours + 1);
      if (!reader.SkipSubBlocks()) {
        layout.status = Malformed("ends inside frame " + nextFrame);
        return layout;
      }
      ++layout.frames;
      layout.delays.push_back(pendingDelay);
      pendingDelay = 0;
    } else {
      layout.status = Malformed("is damaged before frame " + nextFrame);
      return layout;
    }
  }
  layout.status =
      Malformed(layout.frames == 0 ? std::string("ends before its first frame")
                                   : "ends after frame " + std::to_string(layout.frames) +
                                         " without its end mark");
  return layout;
}

}  // namespace vantrel
