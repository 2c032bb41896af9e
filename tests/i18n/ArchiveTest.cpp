// SPDX-License-Identifier: GPL-3.0-or-later
// The catalog archive: what the build step writes, what the reader makes of hostile
// indexes, and the archive that this test program carries itself.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "Catalogs.h"
#include "I18nTesting.h"

namespace vantrel::i18n {
namespace {

using testing::FakeProgram;
using testing::IndexOffsetOf;
using testing::TempFolder;
using tools::AppendCatalogArchive;
using tools::ArchiveFile;

std::vector<unsigned char> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

const std::vector<ArchiveFile> kTwoCatalogs = {
    {"locale\\de\\LC_MESSAGES\\default.mo", Bytes("german catalog")},
    {"locale\\fr\\LC_MESSAGES\\Default.mo", Bytes("french catalog bytes")}};

void Put64(std::vector<unsigned char>& image, std::uint64_t at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    image[at + static_cast<std::uint64_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
  }
}

TEST(CatalogArchive, WrittenArchiveReadsBackWithNamesInAnyCase) {
  std::vector<unsigned char> image = FakeProgram();
  const std::size_t programSize = image.size();
  ASSERT_TRUE(AppendCatalogArchive(image, kTwoCatalogs, false).status.IsOk());
  const std::uint64_t index = IndexOffsetOf(image);
  // The files, then 256-byte entries: one per file and the one that ends the chain.
  EXPECT_EQ(index, programSize + 14 + 20);
  EXPECT_EQ(image.size(), index + 3 * kArchiveIndexEntrySize);

  const TCatalogArchive archive = TCatalogArchive::Parse(image, index);
  ASSERT_EQ(archive.Count(), 2U);
  for (const char* name :
       {"locale\\de\\LC_MESSAGES\\default.mo", "LOCALE/DE/lc_messages/DEFAULT.MO",
        "locale/fr/LC_MESSAGES/default.mo"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(archive.Find(name), nullptr);
  }
  const TArchivedFileInfo* french = archive.Find("locale/fr/LC_MESSAGES/Default.mo");
  ASSERT_NE(french, nullptr);
  EXPECT_EQ(std::string(image.begin() + static_cast<std::ptrdiff_t>(french->offset),
                        image.begin() + static_cast<std::ptrdiff_t>(french->offset + french->size)),
            "french catalog bytes");
  EXPECT_EQ(archive.Find("locale/es/LC_MESSAGES/default.mo"), nullptr);
  EXPECT_EQ(TCatalogArchive::Parse(image, 0).Count(), 0U);
}

TEST(CatalogArchive, RunningTheStepAgainReplacesTheArchiveAndIfMissingKeepsAWholeOne) {
  std::vector<unsigned char> image = FakeProgram();
  ASSERT_TRUE(AppendCatalogArchive(image, kTwoCatalogs, false).status.IsOk());
  const std::vector<unsigned char> once = image;

  tools::ArchiveResult again = AppendCatalogArchive(image, kTwoCatalogs, true);
  EXPECT_TRUE(again.status.IsOk());
  EXPECT_FALSE(again.changed);
  EXPECT_EQ(image, once);

  again = AppendCatalogArchive(image, kTwoCatalogs, false);
  EXPECT_TRUE(again.changed);
  EXPECT_EQ(image, once);  // the old archive was cut off, not stacked

  // Stripping cuts the appended bytes off and leaves the marker pointing past the end.
  image.resize(FakeProgram().size());
  again = AppendCatalogArchive(image, kTwoCatalogs, true);
  EXPECT_TRUE(again.changed);
  EXPECT_EQ(image, once);
}

TEST(CatalogArchive, AnOldOffsetLandingInsideTheProgramNeverCutsIt) {
  std::vector<unsigned char> image = FakeProgram();
  image.resize(2000, 0x7F);  // a program long enough to hold a forged index
  std::vector<unsigned char> stripped = image;
  ASSERT_TRUE(AppendCatalogArchive(image, kTwoCatalogs, false).status.IsOk());
  // Stripped, and the marker's offset now points at program bytes that happen to look
  // like an index entry.
  const std::uint64_t old = 1000;
  Put64(stripped, 100 + kArchiveMarkerLength, old);
  Put64(stripped, old, old + 256);
  Put64(stripped, old + 8, 1200);
  Put64(stripped, old + 16, 10);
  std::copy_n("locale\\de\\LC_MESSAGES\\default.mo", 32, stripped.begin() + old + 24);
  const std::vector<unsigned char> program = stripped;
  ASSERT_TRUE(AppendCatalogArchive(stripped, kTwoCatalogs, true).status.IsOk());
  ASSERT_GT(stripped.size(), program.size());
  EXPECT_TRUE(std::equal(program.begin() + 200, program.end(), stripped.begin() + 200));
  EXPECT_EQ(TCatalogArchive::Parse(stripped, IndexOffsetOf(stripped)).Count(), 2U);
}

TEST(CatalogArchive, TheStepRefusesExecutablesWithoutOneMarkerAndNamesTooLong) {
  std::vector<unsigned char> none(500, 1);
  EXPECT_FALSE(AppendCatalogArchive(none, kTwoCatalogs, false).status.IsOk());

  std::vector<unsigned char> twice = FakeProgram();
  const std::vector<unsigned char> more = FakeProgram();
  twice.insert(twice.end(), more.begin(), more.end());
  const tools::ArchiveResult result = AppendCatalogArchive(twice, kTwoCatalogs, false);
  EXPECT_EQ(result.status.Code(), StatusCode::kMalformed);
  EXPECT_NE(result.status.Reason().find("more than once"), std::string::npos);

  std::vector<unsigned char> image = FakeProgram();
  EXPECT_FALSE(
      AppendCatalogArchive(image, {{std::string(233, 'n'), Bytes("x")}}, false).status.IsOk());
  EXPECT_TRUE(
      AppendCatalogArchive(image, {{std::string(232, 'n'), Bytes("x")}}, false).status.IsOk());
}

TEST(CatalogArchive, HostileIndexesEndTheReadingWithTheEntriesReadSoFar) {
  std::vector<unsigned char> good = FakeProgram();
  ASSERT_TRUE(AppendCatalogArchive(good, kTwoCatalogs, false).status.IsOk());
  const std::uint64_t first = IndexOffsetOf(good);
  const std::uint64_t second = first + kArchiveIndexEntrySize;
  struct Case {
    const char* name;
    std::uint64_t at;
    std::uint64_t value;
    std::size_t entries;
  };
  for (const Case& hostile : {
           Case{"second entry points to itself", second, second, 1},
           Case{"second entry points back to the first", second, first, 1},
           Case{"first entry points to itself", first, first, 0},
           Case{"next entry past the end", second, good.size() + 1, 1},
           Case{"next entry far past the end", first, ~0ULL, 0},
           Case{"next entry too close for three numbers", first, first + 8, 0},
           Case{"file offset past the end", first + 8, good.size() + 1, 0},
           Case{"file size past the end", second + 16, good.size(), 1},
           Case{"file size wrapping around", first + 16, ~0ULL - 5, 0},
       }) {
    SCOPED_TRACE(hostile.name);
    std::vector<unsigned char> image = good;
    Put64(image, hostile.at, hostile.value);
    EXPECT_EQ(TCatalogArchive::Parse(image, first).Count(), hostile.entries);
  }
  for (std::uint64_t start : {std::uint64_t{1}, std::uint64_t{good.size()},
                              std::uint64_t{good.size() - 7}, ~std::uint64_t{0}}) {
    SCOPED_TRACE(start);
    EXPECT_EQ(TCatalogArchive::Parse(good, start).Count(), 0U);
  }
}

TEST(CatalogArchive, EveryTruncationReadsSafely) {
  std::vector<unsigned char> good = FakeProgram();
  ASSERT_TRUE(AppendCatalogArchive(good, kTwoCatalogs, false).status.IsOk());
  const std::uint64_t first = IndexOffsetOf(good);
  for (std::size_t length = 0; length <= good.size(); ++length) {
    const std::vector<unsigned char> cut(good.begin(),
                                         good.begin() + static_cast<std::ptrdiff_t>(length));
    const std::size_t count = TCatalogArchive::Parse(cut, first).Count();
    // An entry counts once the next one's offset lies inside the file.
    const std::size_t expected = length >= first + 2 * kArchiveIndexEntrySize ? 2U
                                 : length >= first + kArchiveIndexEntrySize   ? 1U
                                                                              : 0U;
    EXPECT_EQ(count, expected) << length;
  }
}

TEST(CatalogArchive, TheFirstFileOfANameStandsAndTheOthersAreReported) {
  std::vector<unsigned char> image = FakeProgram();
  ASSERT_TRUE(AppendCatalogArchive(image,
                                   {{"locale\\de\\LC_MESSAGES\\default.mo", Bytes("first")},
                                    {"locale\\fr\\LC_MESSAGES\\default.mo", Bytes("french")},
                                    {"LOCALE\\DE\\LC_MESSAGES\\Default.mo", Bytes("second")},
                                    {"locale/de/LC_MESSAGES/default.mo", Bytes("third")}},
                                   false)
                  .status.IsOk());
  const TCatalogArchive archive = TCatalogArchive::Parse(image, IndexOffsetOf(image));
  EXPECT_EQ(archive.Count(), 2U);
  const TArchivedFileInfo* german = archive.Find("locale/de/LC_MESSAGES/default.mo");
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(std::string(image.begin() + static_cast<std::ptrdiff_t>(german->offset),
                        image.begin() + static_cast<std::ptrdiff_t>(german->offset + german->size)),
            "first");
  EXPECT_EQ(archive.Duplicates(), (std::vector<std::string>{"LOCALE\\DE\\LC_MESSAGES\\Default.mo",
                                                            "locale/de/LC_MESSAGES/default.mo"}));
}

TEST(CatalogArchive, AnArchiveOnDiskIsReadFromItsIndexAlone) {
  std::vector<unsigned char> image = FakeProgram();
  ASSERT_TRUE(AppendCatalogArchive(image, kTwoCatalogs, false).status.IsOk());
  TempFolder folder;
  const std::string path = (folder.Path() / "program").string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  const TCatalogArchive archive = TCatalogArchive::Load(path, IndexOffsetOf(image));
  ASSERT_EQ(archive.Count(), 2U);
  const TArchivedFileInfo* french = archive.Find("locale/fr/LC_MESSAGES/default.mo");
  ASSERT_NE(french, nullptr);
  CatalogFileBytes bytes;
  ASSERT_TRUE(bytes.Open(path, french->offset, french->size).IsOk());
  EXPECT_EQ(std::string(bytes.Bytes().begin(), bytes.Bytes().end()), "french catalog bytes");
}

TEST(CatalogFileBytes, AFileShortenedAfterReadingKeepsItsBytesAndAPipeNeverBlocks) {
  TempFolder folder;
  const std::string path = (folder.Path() / "catalog.mo").string();
  const std::string text(100000, 'c');
  std::ofstream(path, std::ios::binary) << text;
  CatalogFileBytes file;
  ASSERT_TRUE(file.Open(path).IsOk());
  std::filesystem::resize_file(path, 0);  // another program cuts it
  EXPECT_EQ(std::string(file.Bytes().begin(), file.Bytes().end()), text);

  // A pipe in a catalog's place, which nobody writes into: refused at once.
  const std::string pipe = (folder.Path() / "pipe.mo").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(file.Open(pipe).Code(), StatusCode::kCannotOpen);
  EXPECT_TRUE(file.Bytes().empty());
  // Ranges reaching past the end.
  std::ofstream(path, std::ios::binary) << "short";
  ASSERT_TRUE(file.Open(path, 6, 1).IsOk());
  EXPECT_TRUE(file.Bytes().empty());
  ASSERT_TRUE(file.Open(path, 3, 10).IsOk());
  EXPECT_EQ(std::string(file.Bytes().begin(), file.Bytes().end()), "rt");
  ASSERT_TRUE(file.Open(path, 1, 3).IsOk());
  EXPECT_EQ(std::string(file.Bytes().begin(), file.Bytes().end()), "hor");
}

// The reads of a catalog fail with EIO, as on a failing disk: at once, or after the
// first few bytes came in.
class FailingReads final : public FileCalls {
 public:
  explicit FailingReads(std::size_t goodBytes) : goodBytes_(goodBytes) {}
  ssize_t ReadAt(int fd, void* data, std::size_t size, off_t offset) override {
    if (static_cast<std::size_t>(offset) >= goodBytes_) {
      errno = EIO;
      return -1;
    }
    return FileCalls::ReadAt(fd, data,
                             std::min(size, goodBytes_ - static_cast<std::size_t>(offset)), offset);
  }

 private:
  std::size_t goodBytes_;
};

std::size_t OpenDescriptors() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

TEST(CatalogFileBytes, AReadThatFailsKeepsNoByteAndNoDescriptor) {
  TempFolder folder;
  const std::string path = (folder.Path() / "catalog.mo").string();
  const std::string text(5000, 'c');
  std::ofstream(path, std::ios::binary) << text;
  const struct {
    const char* name;
    std::size_t goodBytes;
  } rows[] = {{"the first read fails", 0}, {"a read fails part-way", 1000}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FailingReads calls(row.goodBytes);
    CatalogFileBytes file(calls);
    const std::size_t before = OpenDescriptors();
    const Status read = file.Open(path);
    ASSERT_EQ(read.Code(), StatusCode::kReadFailed);
    EXPECT_EQ(read.Reason(), std::strerror(EIO));
    EXPECT_TRUE(file.Bytes().empty()) << file.Bytes().size() << " bytes kept";
    EXPECT_EQ(file.FileSize(), 0U);
    // Many failed reads in a row, as a language menu tried again and again would make.
    for (int i = 0; i < 50; ++i) {
      ASSERT_EQ(file.Open(path).Code(), StatusCode::kReadFailed);
    }
    EXPECT_EQ(OpenDescriptors(), before);
  }
  // Nor is the catalog read before kept: a failed read leaves no bytes of any file.
  const std::string shortPath = (folder.Path() / "short.mo").string();
  std::ofstream(shortPath, std::ios::binary) << "short catalog";
  FailingReads calls(1000);
  CatalogFileBytes file(calls);
  ASSERT_TRUE(file.Open(shortPath).IsOk());
  ASSERT_EQ(std::string(file.Bytes().begin(), file.Bytes().end()), "short catalog");
  EXPECT_EQ(file.Open(path).Code(), StatusCode::kReadFailed);
  EXPECT_TRUE(file.Bytes().empty());
  EXPECT_EQ(file.FileSize(), 0U);
}

// ----- the archive of this very program, appended by the build -----

std::string ThisProgram() {
  return std::filesystem::read_symlink("/proc/self/exe").string();
}

TEST(ThisProgram, CarriesBothCatalogsUnderTheirNames) {
  ASSERT_NE(ArchiveIndexOffset(), 0U) << "the build did not append the catalogs";
  const TCatalogArchive archive = TCatalogArchive::Load(ThisProgram(), ArchiveIndexOffset());
  EXPECT_EQ(archive.Count(), 2U);
  EXPECT_NE(archive.Find("locale\\de\\LC_MESSAGES\\default.mo"), nullptr);
  EXPECT_NE(archive.Find("locale\\fr\\LC_MESSAGES\\Default.mo"), nullptr);
}

TEST(ThisProgram, SpeaksGermanAndFrenchFromItsOwnArchive) {
  TranslationSetup setup = TTranslationInstance::ForThisProgram();
  setup.languageSources = {};
  TTranslationInstance instance(setup);
  // No catalog files beside the program: what it speaks comes from the archive.
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(setup.executablePath).parent_path() /
                                       "locale"));
  instance.SelectLanguage("de_DE");
  EXPECT_EQ(instance.TranslateText("Candidate Word"), "Beispielwort");
  EXPECT_TRUE(instance.Domain("default").FromArchive());
  instance.SelectLanguage("fr_FR");
  EXPECT_EQ(instance.TranslateText("Selected Word"), "Mot selectionné");
}

#ifdef VANTREL_PROGRAM
TEST(TheProgram, CarriesTheGermanAndFrenchCatalogs) {
  // The installed copy when the install check names one, else the build's own.
  const char* installed = std::getenv("VANTREL_INSTALLED_PROGRAM");
  const std::vector<unsigned char> image =
      testing::ReadBytes(installed != nullptr ? installed : VANTREL_PROGRAM);
  const TCatalogArchive archive = TCatalogArchive::Parse(image, IndexOffsetOf(image));
  ASSERT_EQ(archive.Count(), 2U);
  struct Row {
    const char* name;
    const char* english;
    const char* translation;
  };
  for (const Row& row : {Row{"locale\\de\\LC_MESSAGES\\default.mo", "Cancel", "Abbrechen"},
                         Row{"locale\\fr\\LC_MESSAGES\\Default.mo", "Cancel", "Annuler"}}) {
    SCOPED_TRACE(row.name);
    const TArchivedFileInfo* info = archive.Find(row.name);
    ASSERT_NE(info, nullptr);
    MoCatalog catalog;
    ASSERT_TRUE(
        MoCatalog::Read(std::span(image).subspan(info->offset, info->size), catalog).IsOk());
    EXPECT_EQ(catalog.Find(row.english).value_or(""), row.translation);
  }
}
#endif

// A program file cut short after the build (a broken download, a full disk while
// copying) has lost catalogs from its end. A language whose catalog is gone says so once,
// naming the file, and then speaks English; one whose catalog is still whole speaks as
// before, and English never asks for a catalog.
TEST(ThisProgram, CutShortItSaysOnceThatItsTranslationsAreDamaged) {
  TempFolder folder;
  const std::uintmax_t size = std::filesystem::file_size(ThisProgram());
  ASSERT_GT(size, ArchiveIndexOffset());
  const std::uintmax_t index = size - ArchiveIndexOffset();
  struct Language {
    const char* code;
    const char* catalog;
    const char* english;
    const char* translation;
  };
  const Language languages[] = {
      {"de_DE", "locale/de/LC_MESSAGES/default.mo", "Candidate Word", "Beispielwort"},
      {"fr_FR", "locale/fr/LC_MESSAGES/default.mo", "Cancel", "Annuler"}};
  for (const std::uintmax_t cut : {std::uintmax_t{0}, std::uintmax_t{520}, index}) {
    SCOPED_TRACE(cut);
    const std::filesystem::path copy = folder.Path() / ("cut" + std::to_string(cut));
    std::filesystem::copy_file(ThisProgram(), copy);
    std::filesystem::resize_file(copy, size - cut);
    const TCatalogArchive left = TCatalogArchive::Load(copy.string(), ArchiveIndexOffset());
    EXPECT_EQ(left.Damaged(), cut > 0);
    if (cut == index) {
      EXPECT_EQ(left.Count(), 0U);
    }
    TTranslationInstance instance({copy.string(), ArchiveIndexOffset(), {}});
    instance.SelectLanguage("en_US");
    EXPECT_EQ(instance.TranslateText("Cancel"), "Cancel");
    for (const Language& language : languages) {
      SCOPED_TRACE(language.code);
      instance.SelectLanguage(language.code);
      if (left.Find(language.catalog) != nullptr) {
        EXPECT_EQ(instance.TranslateText(language.english), language.translation);
        continue;
      }
      try {
        instance.TranslateText(language.english);
        ADD_FAILURE() << "no report of the damaged translations";
      } catch (const CatalogError& error) {
        EXPECT_NE(error.Failure().Reason().find(copy.string()), std::string::npos)
            << error.Failure().Reason();
      }
      EXPECT_EQ(instance.TranslateText(language.english), language.english);
    }
  }
}

TEST(ThisProgram, CopiedAloneToAnotherFolderStillSpeaksGerman) {
  TempFolder folder;
  const std::filesystem::path copy = folder.Path() / "elsewhere" / "alone";
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(ThisProgram(), copy);
  const std::string command = "'" + copy.string() +
                              "' --gtest_filter=ThisProgram.SpeaksGermanAndFrenchFromItsOwnArchive"
                              " > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
}

}  // namespace
}  // namespace vantrel::i18n
