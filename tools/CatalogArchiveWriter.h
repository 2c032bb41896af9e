// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The build step that appends the compiled catalogs to a linked executable, and the index
// that lets the program find them (layout in i18n/CatalogArchive.h): each file's bytes,
// then one 256-byte index entry per file and a last entry that ends the chain; the offset
// of the first entry goes into the 8 bytes behind the marker.
//
// An executable that carries an archive already gets it replaced, so the step may run
// again on its own output. Stripping cuts the appended bytes off; the install step then
// finds the marker pointing past the end and appends the catalogs again (--if-missing).

#include <string>
#include <vector>

#include "Status.h"

namespace vantrel::tools {

struct ArchiveFile {
  std::string name;  // relative to the executable's folder, '\' between folders
  std::vector<unsigned char> bytes;
};

struct ArchiveResult {
  // kMalformed, with the reason for the build's output, when the executable has no single
  // marker to hold the archive or a name does not fit an index entry.
  Status status;
  bool changed = false;  // false when nothing had to be done
};

// Appends files and their index to image, the whole executable. With ifMissing, an image
// whose archive already holds every name keeps it as it is.
ArchiveResult AppendCatalogArchive(std::vector<unsigned char>& image,
                                   const std::vector<ArchiveFile>& files, bool ifMissing);

}  // namespace vantrel::tools
