// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-catalogs: appends the compiled catalogs to a linked executable.
//
//   vantrel-catalogs [--if-missing] <executable> <name>=<catalog file>...
//
// The names are relative to the executable's folder; '/' in them is written as '\'. The
// executable is rewritten through a temporary file beside it, keeping its permissions.

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CatalogArchiveWriter.h"

namespace {

vantrel::Status ReadFile(const std::string& path, std::vector<unsigned char>& bytes) {
  using vantrel::StatusCode;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {StatusCode::kCannotOpen, "cannot read " + path};
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    return {StatusCode::kReadFailed, "cannot read " + path};
  }
  return {};
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vantrel-catalogs: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool ifMissing = false;
  int arg = 1;
  if (arg < argc && std::string(argv[arg]) == "--if-missing") {
    ifMissing = true;
    ++arg;
  }
  if (argc - arg < 1) {
    return Fail("usage: vantrel-catalogs [--if-missing] <executable> <name>=<file>...");
  }
  const std::string executable = argv[arg++];
  std::vector<vantrel::tools::ArchiveFile> files;
  for (; arg < argc; ++arg) {
    const std::string pair = argv[arg];
    const std::size_t equals = pair.find('=');
    if (equals == std::string::npos) {
      return Fail("\"" + pair + "\" is not <name>=<file>");
    }
    vantrel::tools::ArchiveFile file;
    file.name = pair.substr(0, equals);
    for (char& c : file.name) {
      c = c == '/' ? '\\' : c;
    }
    if (const vantrel::Status read = ReadFile(pair.substr(equals + 1), file.bytes); !read.IsOk()) {
      return Fail(read.Reason());
    }
    files.push_back(std::move(file));
  }

  std::vector<unsigned char> image;
  struct stat status {};
  if (const vantrel::Status read = ReadFile(executable, image); !read.IsOk()) {
    return Fail(read.Reason());
  }
  if (::stat(executable.c_str(), &status) != 0) {
    return Fail("cannot read " + executable);
  }
  const vantrel::tools::ArchiveResult result =
      vantrel::tools::AppendCatalogArchive(image, files, ifMissing);
  if (!result.status.IsOk()) {
    return Fail(executable + ": " + result.status.Reason());
  }
  if (!result.changed) {
    return 0;
  }
  const std::string temporary = executable + ".catalogs";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return Fail("cannot write " + temporary);
    }
  }
  if (::chmod(temporary.c_str(), status.st_mode & 07777) != 0 ||
      std::rename(temporary.c_str(), executable.c_str()) != 0) {
    std::remove(temporary.c_str());
    return Fail("cannot replace " + executable);
  }
  return 0;
}
