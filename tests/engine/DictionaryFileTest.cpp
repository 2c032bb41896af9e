// SPDX-License-Identifier: GPL-3.0-or-later
// What may be opened as a dictionary, and what the user is told about a dictionary that
// can be opened but yields nothing.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "Fakes.h"
#include "MainModel.h"

namespace vantrel {
namespace {

using testing::Dict;
using testing::RecordingHost;
using testing::Words;

std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + "/dictionary-file-" + std::to_string(::getpid()) + "-" + name;
}

// A hang must fail the test, not stall the suite: the body runs in a child process that
// is ended after ten seconds, and passes by exiting with 0.
#define EXPECT_RETURNS_IN_TIME(body) \
  EXPECT_EXIT(                       \
      {                              \
        ::alarm(10);                 \
        body;                        \
      },                             \
      ::testing::ExitedWithCode(0), "")

// The program and the command line propose the same bundled dictionary: the one of an
// unpacked tree when it can be read there, else the installed one.
TEST(DictionaryFileTest, TheBundledDictionaryIsTheOneBesideTheProgramWhenThereIsOne) {
  const std::string root = std::filesystem::path(Scratch("tree")).lexically_normal().string();
  const std::string bin = root + "/bin";
  const std::string share = root + "/share/vantrel";
  for (const std::string& dir : {root, bin, root + "/share", share}) {
    ::mkdir(dir.c_str(), 0700);
  }
  const std::string installed =
      std::string(VANTREL_INSTALLED_SHARE_FOR_TESTS) + "/Vantrel Dictionary.txt";
  const std::string beside = share + "/Vantrel Dictionary.txt";
  std::remove(beside.c_str());
  EXPECT_EQ(BundledDictionaryPath(bin), installed);
  FILE* out = std::fopen(beside.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fclose(out);
  EXPECT_EQ(BundledDictionaryPath(bin), beside);
  EXPECT_EQ(BundledDictionaryPath(bin + "/"), beside);
  if (::geteuid() != 0) {  // a file that cannot be read is passed over
    ::chmod(beside.c_str(), 0);
    EXPECT_EQ(BundledDictionaryPath(bin), installed);
  }
  std::remove(beside.c_str());
  EXPECT_NE(ProgramDir(), ".");
}

TEST(DictionaryFileTest, OnlyRegularFilesAndLinksToThemOpen) {
  const std::string fifo = Scratch("fifo");
  const std::string file = Scratch("file.txt");
  const std::string link = Scratch("link.txt");
  const std::string deviceLink = Scratch("zero-link");
  std::remove(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  FILE* out = std::fopen(file.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fputs(Dict({"228,bat,B"}).c_str(), out);
  std::fclose(out);
  std::remove(link.c_str());
  std::remove(deviceLink.c_str());
  ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
  ASSERT_EQ(::symlink("/dev/zero", deviceLink.c_str()), 0);

  const struct {
    std::string path;
    bool opens;
  } rows[] = {
      {fifo, false},   {"/dev/zero", false}, {"/dev/null", false}, {deviceLink, false},
      {"/tmp", false}, {file, true},         {link, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    const std::string path = row.path;
    const bool opens = row.opens;
    EXPECT_RETURNS_IN_TIME(std::exit((OpenFileSource(path) != nullptr) == opens ? 0 : 1));
  }
  for (const std::string& made : {fifo, file, link, deviceLink}) {
    std::remove(made.c_str());
  }
}

TEST(DictionaryFileTest, AFifoOrADeviceIsRefusedWithCanNotOpen) {
  const std::string fifo = Scratch("fifo-dictionary");
  std::remove(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    // As the window's start reads it: the affix load, then a search.
    EXPECT_RETURNS_IN_TIME({
      DictionaryFile dictionary;
      dictionary.Bind(path);
      dictionary.name = path;
      RecordingHost host;
      host.nextChoice.reset();
      MainModel model(dictionary, host);
      model.LoadAffixes();
      if (host.dialogs != 1) {
        std::exit(2);  // a dictionary that cannot be opened asks for another
      }
      dictionary.Bind(path);
      dictionary.name = path;
      model.SetEntryText("228");
      model.Search();
      std::exit(host.warnings == Words{"Can Not Open " + path + " in ConvertBtnClick"} ? 0 : 1);
    });
  }
  std::remove(fifo.c_str());
}

class UnexaminableDictionaryTest : public ::testing::Test, protected testing::MemoryDictionary {
 protected:
  // The dictionary in use before each row: one word and one ending of its own, chosen
  // through the Open dialog.
  void SetUp() override {
    files.files["dict.txt"] = Dict({"228,act,B", "464,-ing,B"});
    host.nextChoice = "dict.txt";
    ASSERT_TRUE(model.OpenDictionary());
    model.LoadAffixes();
    ASSERT_EQ(dictionary.InUse(), "dict.txt");
    ASSERT_EQ(model.Affixes().AffixLast, 0);
  }

  Words Open(const std::string& bytes) {
    files.files["words.txt"] = bytes;
    host.nextChoice = "words.txt";
    EXPECT_TRUE(model.OpenDictionary());
    model.LoadAffixes();
    return host.warnings;
  }

  MainModel model{dictionary, host};
};

// A chosen file that yields no word is named with the reason, and the dictionary in use
// before stays in use: its name, the path the settings keep, its affixes and its searches.
TEST_F(UnexaminableDictionaryTest, ADictionaryWithoutAnExaminedLineSaysWhyOnceAndIsRefused) {
  using namespace std::string_literals;
  const std::string empty = "The dictionary words.txt is empty, so no words can be found in it.";
  const std::string single =
      "The dictionary words.txt has a single line. The last line of a dictionary is never "
      "examined, so no words can be found in it.";
  const std::string unix =
      "The dictionary words.txt yields no words: its lines must end with CR LF, not with LF "
      "alone.";
  const std::string notText =
      "The dictionary words.txt is not a text file (it may be a picture or a program), so no "
      "words can be found in it.";
  const struct {
    const char* name;
    std::string bytes;
    std::string warning;  // empty: the dictionary is usable
  } rows[] = {
      {"a PNG picture", "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x10"s, notText},
      {"a GIF picture", "GIF89a\x10\0\x10\0\x80\0\0\xFF\xFF\xFF\r\n\r\n"s, notText},
      {"lines with a NUL byte", "228,bat,B\r\n4357,h\0lp,A\r\n\r\n"s, notText},
      {"tabs and a form feed are text", "228,bat,B\r\n\f4357,help,A\r\n\r\n", ""},
      {"empty", "", empty},
      {"nothing before Ctrl-Z",
       "\x1A"
       "228,bat,B\r\n\r\n",
       empty},
      {"one line without a line end", "228,bat,B", single},
      {"one line with CR LF", "228,bat,B\r\n", single},
      {"Unix line ends", "228,bat,B\n4357,help,A\n2,a,B\n\n", unix},
      {"a single LF", "\n", unix},
      {"two lines, one examined", "228,bat,B\r\n\r\n", ""},
      {"mixed line ends", "228,bat,B\n4357,help,A\r\n\r\n", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    host.nextChoice = "dict.txt";
    ASSERT_TRUE(model.OpenDictionary());
    model.LoadAffixes();
    host.warnings.clear();
    const bool refused = !row.warning.empty();
    EXPECT_EQ(Open(row.bytes), refused ? Words{row.warning} : Words{});

    const std::string inUse = refused ? "dict.txt" : "words.txt";
    EXPECT_EQ(dictionary.InUse(), inUse);
    EXPECT_EQ(dictionary.name, inUse);
    EXPECT_EQ(dictionary.BoundPath(), inUse);
    EXPECT_EQ(model.KeptDictionary(), inUse);
    EXPECT_EQ(model.Affixes().AffixLast, refused ? 0 : -1);
    EXPECT_FALSE(model.ReloadWanted());

    // Searches read the dictionary in use, and nothing more is said.
    host.warnings.clear();
    model.SetEntryText("228");
    model.Search();
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(testing::ColumnWords(model.Candidates(), 1), Words{refused ? "act" : "bat"});
  }
}

// A file without a word chosen while nothing is in use leaves nothing in use; one chosen
// while the table of the dictionary in use was still being read puts that dictionary back
// and asks for its table to be read again.
TEST_F(UnexaminableDictionaryTest, ARefusedDictionaryPutsBackWhatWasInUseWhateverItsState) {
  files.files["empty.txt"] = "";
  struct Case {
    const char* name;
    std::function<void()> before;
    std::string inUse;
    bool reload;
  };
  const Case cases[] = {
      {"no dictionary in use",
       [&] {
         dictionary.SetNoneInUse("No Dictionary Open");
         dictionary.Bind("");
       },
       "", false},
      {"the table still being read",
       [&] {
         ASSERT_NE(model.OpenForAffixes(), nullptr);
         model.SetAffixesLoading(true);
       },
       "dict.txt", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.nextChoice = "dict.txt";
    ASSERT_TRUE(model.OpenDictionary());
    model.LoadAffixes();
    c.before();
    host.warnings.clear();
    host.nextChoice = "empty.txt";
    ASSERT_TRUE(model.OpenDictionary());
    std::unique_ptr<ByteSource> source = model.OpenForAffixes();
    ASSERT_NE(source, nullptr);
    model.TakeAffixes(MainModel::ReadAffixes(*source));
    EXPECT_EQ(host.warnings,
              Words{"The dictionary empty.txt is empty, so no words can be found in it."});
    EXPECT_EQ(dictionary.InUse(), c.inUse);
    EXPECT_EQ(dictionary.name, c.inUse.empty() ? "No Dictionary Open" : c.inUse);
    EXPECT_EQ(model.KeptDictionary(), c.inUse);
    EXPECT_EQ(model.ReloadWanted(), c.reload);
    EXPECT_FALSE(model.ReloadWanted());  // said once
    if (c.reload) {
      model.LoadAffixes();
      EXPECT_EQ(model.Affixes().AffixLast, 0);
    }
  }
}

// The stored dictionary cannot be opened at start and the user cancels the Open dialog:
// none is in use, but the settings keep the stored path, so that the next start tries it
// again. A dictionary chosen later takes its place.
TEST_F(UnexaminableDictionaryTest, AStoredDictionaryThatCannotBeOpenedIsKeptWhenTheUserCancels) {
  dictionary.SetInUse("unmounted/dict.txt");
  dictionary.Bind("unmounted/dict.txt");
  host.nextChoice.reset();
  host.translate = true;
  host.dialogs = 0;
  model.LoadAffixes();
  EXPECT_EQ(host.dialogs, 1);
  EXPECT_EQ(dictionary.name, "[No Dictionary Open]");
  EXPECT_EQ(dictionary.InUse(), "");
  EXPECT_EQ(model.KeptDictionary(), "unmounted/dict.txt");

  // A file without a word chosen then changes nothing of that.
  files.files["empty.txt"] = "";
  host.nextChoice = "empty.txt";
  ASSERT_TRUE(model.OpenDictionary());
  model.LoadAffixes();
  EXPECT_EQ(dictionary.InUse(), "");
  EXPECT_EQ(model.KeptDictionary(), "unmounted/dict.txt");

  host.nextChoice = "dict.txt";
  ASSERT_TRUE(model.OpenDictionary());
  model.LoadAffixes();
  EXPECT_EQ(model.KeptDictionary(), "dict.txt");
}

TEST(ByteCensusTest, PassesTheBytesOnUnchanged) {
  testing::MemorySource source("228,bat,B\r\n4357,help,A\r\n\r\n", 3);
  ByteCensus census(source);
  std::vector<std::string> lines;
  EXPECT_TRUE(
      ScanDictionary(census, [&](std::string_view line) { lines.emplace_back(line); }).IsOk());
  EXPECT_EQ(lines, (Words{"228,bat,B", "4357,help,A"}));
  EXPECT_EQ(census.Why(2), Unexaminable::kNo);
}

}  // namespace
}  // namespace vantrel
