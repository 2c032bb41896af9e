// SPDX-License-Identifier: GPL-3.0-or-later
// WriteGif: a Picture as a GIF89a file, through giflib; every frame whole, with its delay,
// and the NETSCAPE2.0 loop block when the picture repeats.
#include <gif_lib.h>

#include <algorithm>
#include <memory>

#include "PixelPictures.h"

namespace vantrel::pictures {
namespace {

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};

struct MapFree {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

Status WriteGif(const Picture& picture, const std::string& path) {
  const int colours = static_cast<int>(picture.palette.size());
  std::vector<GifColorType> entries;
  for (const Rgb& rgb : picture.palette) {
    entries.push_back({rgb.r, rgb.g, rgb.b});
  }
  const std::unique_ptr<ColorMapObject, MapFree> map(GifMakeMapObject(colours, entries.data()));
  if (!map) {
    return {StatusCode::kMalformed,
            path + ": the palette must hold a power of two colours up to 256"};
  }
  for (const PictureFrame& frame : picture.frames) {
    if (frame.pixels.size() != static_cast<std::size_t>(picture.width * picture.height)) {
      return {StatusCode::kMalformed, path + ": a frame does not match the picture's size"};
    }
    for (const std::uint8_t index : frame.pixels) {
      if (index >= colours) {
        return {StatusCode::kMalformed, path + ": a pixel uses a colour outside the palette"};
      }
    }
  }

  int error = 0;
  auto failure = [&path](const char* what, int code) {
    const char* reason = GifErrorString(code);
    return Status(StatusCode::kWriteFailed,
                  path + ": " + what + (reason != nullptr ? reason : "unknown"));
  };
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(path.c_str(), false, &error));
  if (!gif) {
    return failure("cannot be written: ", error);
  }
  // Each of giflib's steps runs only while the ones before it went well; the first that
  // fails is the one told.
  Status failed;
  auto step = [&](int result, const char* what) {
    if (result != GIF_OK) {
      failed = failure((std::string(what) + " failed: ").c_str(), gif->Error);
    }
    return result == GIF_OK;
  };
  EGifSetGifVersion(gif.get(), true);
  bool ok = step(EGifPutScreenDesc(gif.get(), picture.width, picture.height, 8, 0, map.get()),
                 "the screen descriptor");
  if (ok && picture.loops) {
    // The loop block belongs before the first frame.
    static const char kNetscape[] = "NETSCAPE2.0";
    const GifByteType loops[3] = {1, static_cast<GifByteType>(*picture.loops & 0xff),
                                  static_cast<GifByteType>((*picture.loops >> 8) & 0xff)};
    ok = step(EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE), "the loop block") &&
         step(EGifPutExtensionBlock(gif.get(), 11, kNetscape), "the loop block") &&
         step(EGifPutExtensionBlock(gif.get(), 3, loops), "the loop block") &&
         step(EGifPutExtensionTrailer(gif.get()), "the loop block");
  }
  for (auto frame = picture.frames.begin(); ok && frame != picture.frames.end(); ++frame) {
    GraphicsControlBlock control{};
    // Each frame is whole: clear the last one away, so its pixels never show through the
    // see-through parts of the next.
    control.DisposalMode = DISPOSE_BACKGROUND;
    control.UserInputFlag = false;
    control.DelayTime = frame->delay;
    control.TransparentColor = picture.transparent ? 0 : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    ok = step(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                               extension),
              "a frame's timing block") &&
         step(EGifPutImageDesc(gif.get(), 0, 0, picture.width, picture.height, false, nullptr),
              "a frame's descriptor");
    std::vector<GifPixelType> row(static_cast<std::size_t>(picture.width));
    for (int y = 0; ok && y < picture.height; ++y) {
      std::copy_n(frame->pixels.begin() + static_cast<std::ptrdiff_t>(y * picture.width),
                  picture.width, row.begin());
      ok = step(EGifPutLine(gif.get(), row.data(), picture.width), "a frame's pixels");
    }
  }
  if (!ok) {
    return failed;
  }
  GifFileType* raw = gif.release();
  if (EGifCloseFile(raw, &error) != GIF_OK) {
    return failure("cannot be finished: ", error);
  }
  return {};
}

}  // namespace vantrel::pictures
