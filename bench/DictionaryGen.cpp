// SPDX-License-Identifier: GPL-3.0-or-later
#include "DictionaryGen.h"

#include <sys/stat.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>

namespace vantrel::bench {

std::string GenerateDictionary(const std::string& path, std::size_t bytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && static_cast<std::size_t>(info.st_size) >= bytes) {
    return path;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    throw std::runtime_error("cannot write " + path);
  }
  static const char kKeys[] = "22233344455566677778889999";
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> length(2, 11);
  std::uniform_int_distribution<int> letter(0, 25);
  std::uniform_int_distribution<int> proper(0, 9);
  std::size_t written = 0;
  std::string line;
  while (written < bytes) {
    const int n = length(random);
    std::string word;
    std::string digits;
    for (int i = 0; i < n; ++i) {
      const int l = letter(random);
      word += static_cast<char>('a' + l);
      digits += kKeys[l];
    }
    line = digits + "," + word + "," + (proper(random) == 0 ? "A" : "B") + "\r\n";
    std::fwrite(line.data(), 1, line.size(), file);
    written += line.size();
  }
  std::fputs("\r\n", file);
  std::fclose(file);
  return path;
}

}  // namespace vantrel::bench
