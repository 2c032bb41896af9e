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
#include <exception>
#include <filesystem>
#include <string>

#include "PixelPictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vantrel-drawgifs FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  try {
    for (const vantrel::pictures::Picture& picture : vantrel::pictures::DrawAllPictures()) {
      const std::filesystem::path target = folder / picture.fileName;
      const std::filesystem::path temporary = folder / (picture.fileName + ".part");
      vantrel::pictures::WriteGif(picture, temporary.string());
      std::filesystem::rename(temporary, target);
      // giflib creates its files for the owner alone; pictures are for everyone to read.
      using std::filesystem::perms;
      std::filesystem::permissions(
          target, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vantrel-drawgifs: %s\n", error.what());
    return 1;
  }
  return 0;
}
