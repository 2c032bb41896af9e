// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-drawgifs: draws the program's pictures and writes them as GIF files.
//
//   vantrel-drawgifs FOLDER
//
// The pictures live in assets/pictures/; run this after changing a drawing and commit
// what it writes. Exits with 0 on success, 1 when a file cannot be written (the message
// says which), 2 on a wrong command line. Each file is written whole under a temporary
// name and then renamed, so a failure never leaves half a picture behind.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "PixelPictures.h"

namespace {

// Writes the picture under a temporary name in folder and renames it into place.
vantrel::Status WritePicture(const vantrel::pictures::Picture& picture,
                             const std::filesystem::path& folder) {
  using vantrel::Status;
  using vantrel::StatusCode;
  const std::filesystem::path target = folder / picture.fileName;
  const std::filesystem::path temporary = folder / (picture.fileName + ".part");
  if (Status written = vantrel::pictures::WriteGif(picture, temporary.string()); !written.IsOk()) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return written;
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return {StatusCode::kWriteFailed, target.string() + ": " + error.message()};
  }
  // giflib creates its files for the owner alone; pictures are for everyone to read.
  using std::filesystem::perms;
  std::filesystem::permissions(
      target, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read,
      error);
  if (error) {
    return {StatusCode::kWriteFailed, target.string() + ": " + error.message()};
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vantrel-drawgifs FOLDER\n", stderr);
    return 2;
  }
  for (const vantrel::pictures::Picture& picture : vantrel::pictures::DrawAllPictures()) {
    if (const vantrel::Status written = WritePicture(picture, argv[1]); !written.IsOk()) {
      std::fprintf(stderr, "vantrel-drawgifs: %s\n", written.Reason().c_str());
      return 1;
    }
  }
  return 0;
}
