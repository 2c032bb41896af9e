// SPDX-License-Identifier: GPL-3.0-or-later
// The scan rules of the dictionary file, also for lines that cross the read buffer.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include <cerrno>

#include "Affixes.h"
#include "Dictionary.h"
#include "Fakes.h"
#include "LineFilter.h"

namespace vantrel {
namespace {

using testing::MemorySource;

struct Scanned {
  std::vector<std::string> lines;
  Status result;
};

Scanned Scan(const std::string& data, std::size_t chunk = 1 << 20,
             std::size_t failAt = std::string::npos) {
  MemorySource source(data, chunk, failAt);
  Scanned out;
  out.result = ScanDictionary(source, [&](std::string_view line) { out.lines.emplace_back(line); });
  return out;
}

using Lines = std::vector<std::string>;

TEST(ScanTest, LineEndsAndTheUnexaminedLastLine) {
  struct Row {
    const char* name;
    std::string data;
    Lines expected;
  };
  const Row rows[] = {
      {"empty file", "", {}},
      {"one entry and nothing else", "4357,help,A", {}},
      {"one entry with a line end", "4357,help,A\r\n", {}},
      {"an empty last line keeps every entry", "a\r\nb\r\n\r\n", {"a", "b"}},
      {"CR alone ends a line", "a\rb\rc", {"a", "b"}},
      {"LF alone is an ordinary character", "a\nb\nc\n", {}},
      {"LF inside a CR-ended line", "a\nb\rc\r", {"a\nb"}},
      {"only one LF belongs to the line end", "a\r\n\nb\rc", {"a", "\nb"}},
      {"CR CR gives an empty line", "a\r\rb\r\r", {"a", "", "b"}},
      {"Ctrl-Z ends the file mid-line",
       "a\r\nb\r\nc\x1A"
       "d\r\ne\r\n",
       {"a", "b"}},
      {"Ctrl-Z at a line start",
       "a\r\nb\r\n\x1A"
       "c\r\n\r\n",
       {"a"}},
      {"Ctrl-Z first",
       "\x1A"
       "a\r\nb\r\n",
       {}},
      {"NUL bytes are characters", std::string("a\0b\r\nc\r\n", 8), {std::string("a\0b", 3)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Scanned got = Scan(row.data);
    EXPECT_TRUE(got.result.IsOk());
    EXPECT_EQ(got.lines, row.expected);
  }
}

TEST(ScanTest, LongLinesAreCutTo255AndTheRestSkipped) {
  const std::string longLine(1000, 'x');
  const std::string data = longLine + "\r\n" + std::string(255, 'y') + "z\r\nend\r\n\r\n";
  const Scanned got = Scan(data);
  ASSERT_EQ(got.lines.size(), 3u);
  EXPECT_EQ(got.lines[0], std::string(255, 'x'));
  EXPECT_EQ(got.lines[1], std::string(255, 'y'));
  EXPECT_EQ(got.lines[2], "end");
}

TEST(ScanTest, AnyReadSizeGivesTheSameLines) {
  // Lines of every length around the limit, line ends split across reads, LF after a
  // CR that ends a read, and a Ctrl-Z near the end.
  std::string data;
  for (int len = 0; len < 600; len += 7) {
    data += std::string(static_cast<std::size_t>(len), static_cast<char>('a' + len % 26));
    data += len % 3 == 0 ? "\r" : "\r\n";
    if (len % 5 == 0) {
      data += "\n";
    }
  }
  data +=
      "tail\r\n\x1A"
      "ignored\r\n";
  const Scanned whole = Scan(data);
  ASSERT_GT(whole.lines.size(), 80u);
  for (std::size_t chunk : {1u, 2u, 3u, 7u, 254u, 255u, 256u, 4096u}) {
    SCOPED_TRACE(chunk);
    EXPECT_EQ(Scan(data, chunk).lines, whole.lines);
  }
}

TEST(ScanTest, ALineLongerThanTheReadBufferIsCut) {
  // Far longer than the buffer, so the line's rest is skipped across many refills.
  const std::string data = std::string(300000, 'q') + "\r\nnext\r\nlast";
  const Scanned got = Scan(data);
  EXPECT_EQ(got.lines, (Lines{std::string(255, 'q'), "next"}));
}

TEST(ScanTest, AReadFailureStopsTheScanAfterTheLinesBeforeIt) {
  const std::string data = "a\r\nb\r\nc\r\nd\r\n\r\n";
  const Scanned got = Scan(data, 2, 7);
  EXPECT_EQ(got.result.Code(), StatusCode::kReadFailed);
  EXPECT_EQ(got.lines, (Lines{"a", "b"}));
  EXPECT_EQ(Scan(data, 1 << 20, 0).result.Code(), StatusCode::kReadFailed);
}

// A source whose first read fails with the given errno.
class FailingSource final : public ByteSource {
 public:
  explicit FailingSource(int error) : error_(error) {}
  long Read(char*, std::size_t) override {
    errno = error_;
    return -1;
  }

 private:
  int error_;
};

TEST(ScanTest, AReadFailureSaysWhyWhenTheSystemTold) {
  struct Row {
    int error;
    const char* reason;
  } rows[] = {{EIO, "Input/output error"}, {EISDIR, "Is a directory"}, {0, "the read failed"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reason);
    FailingSource plain(row.error);
    const Status scanned = ScanDictionary(plain, [](std::string_view) {});
    EXPECT_EQ(scanned, Status(StatusCode::kReadFailed, row.reason));
    FailingSource quick(row.error);
    std::size_t examined = 0;
    EXPECT_EQ(ScanFiltered(quick, LineFilter("228"), examined, [](std::string_view) {}),
              Status(StatusCode::kReadFailed, row.reason));
  }
}

TEST(FileSourceTest, OpensFilesButNotFoldersOrNothing) {
  EXPECT_EQ(OpenFileSource(""), nullptr);
  EXPECT_EQ(OpenFileSource("/"), nullptr);
  EXPECT_EQ(OpenFileSource("/no/such/dictionary.txt"), nullptr);
  const std::string path = ::testing::TempDir() + "/scan-test.txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("228,bat,B\r\n4357,help,A\r\n\r\n", file);
  std::fclose(file);
  auto source = OpenFileSource(path);
  ASSERT_NE(source, nullptr);
  Lines lines;
  EXPECT_TRUE(
      ScanDictionary(*source, [&](std::string_view line) { lines.emplace_back(line); }).IsOk());
  EXPECT_EQ(lines, (Lines{"228,bat,B", "4357,help,A"}));
  std::remove(path.c_str());
}

// A dictionary that another program cuts short while it is read gives no result from
// part of it; one that grows is read to its new end.
TEST(FileSourceTest, AFileCutShortWhileItIsReadIsAReadFailure) {
  const std::string path = ::testing::TempDir() + "/scan-cut.txt";
  std::string text;
  for (int i = 0; i < 200000; ++i) {
    text += "4357,help,B\r\n";
  }
  for (const bool cut : {true, false}) {
    SCOPED_TRACE(cut ? "cut" : "grown");
    { std::ofstream(path, std::ios::binary) << text; }
    auto source = OpenFileSource(path);
    ASSERT_NE(source, nullptr);
    int lines = 0;
    bool changed = false;
    const Status scanned = ScanDictionary(*source, [&](std::string_view) {
      if (++lines == 1000 && !changed) {
        changed = true;
        if (cut) {
          ASSERT_EQ(::truncate(path.c_str(), 100000), 0);
        } else {
          std::ofstream(path, std::ios::binary | std::ios::app) << "228,bat,B\r\n228,cat,B\r\n";
        }
      }
    });
    if (cut) {
      EXPECT_EQ(scanned.Code(), StatusCode::kReadFailed);
      EXPECT_LT(lines, 200000);
    } else {
      EXPECT_TRUE(scanned.IsOk());
      EXPECT_EQ(lines, 200001);  // the last line of a dictionary is never examined
    }
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vantrel
