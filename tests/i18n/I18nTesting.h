// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers of the translation suites: catalogs compiled by msgfmt from .po text, fake
// executables that carry an archive, and files in a throwaway folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "CatalogArchive.h"
#include "CatalogArchiveWriter.h"

namespace vantrel::i18n::testing {

inline std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

// A .po file of the given (msgid, msgstr) pairs (already escaped for .po), header included.
inline std::string PoText(const std::vector<std::pair<std::string, std::string>>& messages,
                          const std::string& charset = "UTF-8") {
  std::string po =
      "msgid \"\"\nmsgstr \"\"\n\"MIME-Version: 1.0\\n\"\n\"Content-Type: text/plain; charset=" +
      charset + "\\n\"\n\"Content-Transfer-Encoding: 8bit\\n\"\n";
  for (const auto& [id, str] : messages) {
    po += "\nmsgid \"" + id + "\"\nmsgstr \"" + str + "\"\n";
  }
  return po;
}

// Compiles po with msgfmt; bigEndian asks for the other byte order.
inline std::vector<unsigned char> Msgfmt(const std::filesystem::path& folder, const std::string& po,
                                         bool bigEndian = false) {
  const std::filesystem::path source = folder / "catalog.po";
  const std::filesystem::path compiled = folder / "catalog.mo";
  WriteText(source, po);
  const std::string command = std::string(VANTREL_MSGFMT) + (bigEndian ? " --endianness=big" : "") +
                              " -o '" + compiled.string() + "' '" + source.string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return ReadBytes(compiled);
}

// The bytes of an executable: some program bytes around the marker and its 8 zero bytes.
inline std::vector<unsigned char> FakeProgram() {
  std::vector<unsigned char> image(300, 0x7F);
  const std::string marker = ArchiveMarkerText();
  image.insert(image.begin() + 100, marker.begin(), marker.end());
  image.insert(image.begin() + 100 + static_cast<std::ptrdiff_t>(marker.size()), 8, 0);
  return image;
}

// The index offset that the build wrote behind the marker of image.
inline std::uint64_t IndexOffsetOf(const std::vector<unsigned char>& image) {
  const std::string marker = ArchiveMarkerText();
  const auto found = std::search(image.begin(), image.end(), marker.begin(), marker.end());
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) {
    value = (value << 8) | found[static_cast<std::ptrdiff_t>(marker.size()) + i];
  }
  return value;
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-i18n-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vantrel::i18n::testing
