// SPDX-License-Identifier: GPL-3.0-or-later
// Peak memory of vantrel-cli searching a 1 MB and a 1 GB generated dictionary: the
// dictionary is never held in memory, so the two peaks must stay close.
// Usage: bench_memory [DIR [HUGE_MIB]]  (DIR holds the generated files, default /tmp;
// the large one has HUGE_MIB MiB, default 1024, less for a quick run)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DictionaryGen.h"

namespace {

long PeakKilobytes(const std::string& dictionary) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    ::execl(VANTREL_CLI, VANTREL_CLI, "search", "--dictionary", dictionary.c_str(), "18003569377",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "vantrel-cli failed on %s\n", dictionary.c_str());
    return -1;
  }
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  const long hugeMib = argc > 2 ? std::max(2L, std::atol(argv[2])) : 1024L;
  const std::string small =
      vantrel::bench::GenerateDictionary(dir + "/vantrel-bench-1mb.txt", 1u << 20);
  const std::string huge = vantrel::bench::GenerateDictionary(
      dir + "/vantrel-bench-huge.txt", static_cast<std::size_t>(hugeMib) << 20);
  const long smallPeak = PeakKilobytes(small);
  const long hugePeak = PeakKilobytes(huge);
  std::printf("peak RSS, 1 MiB dictionary: %ld KiB\n", smallPeak);
  std::printf("peak RSS, %ld MiB dictionary: %ld KiB\n", hugeMib, hugePeak);
  std::printf("difference: %ld KiB (limit 2048 KiB)\n", hugePeak - smallPeak);
  return smallPeak > 0 && hugePeak > 0 && hugePeak - smallPeak <= 2048 ? 0 : 1;
}
