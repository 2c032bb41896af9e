// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel-cli as a script sees it: output lines, standard error and exit codes.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CliRun {
  std::string out;
  std::string err;
  int status = -1;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char ch : arg) {
    out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  }
  return out + "'";
}

// ctest runs tests side by side: each process keeps its own files.
std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + "/vantrel-cli-" + std::to_string(::getpid()) + "-" + name;
}

// lang is the LANG the run sees: the messages follow it, so the English ones are only
// English where LANG asks for no other language.
CliRun Cli(const std::vector<std::string>& args, const std::string* input = nullptr,
           const std::string& lang = "C.UTF-8") {
  // A run that hangs is ended, so that it fails instead of stalling the suite.
  std::string command = "LANG=" + Quote(lang) + " timeout -s KILL 20 " + Quote(VANTREL_CLI);
  for (const std::string& arg : args) {
    command += " " + Quote(arg);
  }
  command += " >" + Scratch("out") + " 2>" + Scratch("err");
  if (input != nullptr) {
    std::ofstream(Scratch("in"), std::ios::binary) << *input;
    command += " <" + Scratch("in");
  }
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Slurp(Scratch("out"));
  run.err = Slurp(Scratch("err"));
  std::remove(Scratch("out").c_str());
  std::remove(Scratch("err").c_str());
  std::remove(Scratch("in").c_str());
  return run;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = Scratch("dictionary.txt");
    std::ofstream(path, std::ios::binary)
        << "4357,help,A\r\n228,bat,B\r\n2255,ball,B\r\n464,-ing,B\r\n73,re-,A\r\n"
           "68437,over+,B\r\n3569377,flowers,B\r\n6663,\xC9t\xE9,B\r\n1,1,D\r\n0,0,D\r\n\r\n";
  }
  void TearDown() override { std::remove(path.c_str()); }
  std::string path;
};

TEST_F(CliTest, SearchPrintsOneLinePerCandidateAndTheStatusOnStandardError) {
  const CliRun run = Cli({"search", "--dictionary", path, "228-4357"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "help\t4357\titalic\nbat\t228\tregular\n");
  EXPECT_EQ(run.err.rfind(" 2 Matches out of 9 words in ", 0), 0u) << run.err;
  EXPECT_EQ(run.err.substr(run.err.size() - 6), " secs\n");
}

TEST_F(CliTest, SearchModesAndSeparators) {
  EXPECT_EQ(Cli({"search", "--dictionary", path, "18003569377"}).out,
            "flowers\t3569377\tregular\n1\t1\tregular\n0\t0\tregular\n");
  // A match never runs across a hyphen.
  EXPECT_EQ(Cli({"search", "--dictionary", path, "1-800-356-9377"}).out,
            "1\t1\tregular\n0\t0\tregular\n");
  EXPECT_EQ(Cli({"search", "--mode", "right", "--dictionary", path, "18003569377"}).out,
            "flowers\t3569377\tregular\n");
  EXPECT_EQ(Cli({"search", "--mode=left", "--dictionary", path, "18003569377"}).out,
            "1\t1\tregular\n");
  EXPECT_EQ(Cli({"search", "--dictionary", path, "684373"}).out, "over\t68437\tregular\n");
}

TEST_F(CliTest, LookupFoldsCaseAndConvertsToUtf8) {
  CliRun run = Cli({"lookup", "--dictionary", path, "HeLP"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "4357\n");
  EXPECT_EQ(run.err.rfind(" 1 Matches out of 9 words in ", 0), 0u) << run.err;
  EXPECT_EQ(Cli({"lookup", "--dictionary", path, "\xC3\x89t\xC3\xA9"}).out, "6663\n");
  EXPECT_EQ(Cli({"lookup", "--dictionary", path, "nothing"}).out, "No Numeric Equivalent\n");
}

TEST_F(CliTest, AffixesReadBulletsFromTheEntryText) {
  const std::string ball = "\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2";
  EXPECT_EQ(Cli({"affixes", "--dictionary", path, ball + "464", "2255", "1"}).out,
            "-ing\t464\tregular\n");
  EXPECT_EQ(Cli({"affixes", "--dictionary", path, "73" + ball, "2255", "3"}).out,
            "re-\t73\titalic\n");
  // Positions outside the number offer nothing rather than failing.
  const CliRun outside = Cli({"affixes", "--dictionary", path, "--", "-73", "2255", "-5"});
  EXPECT_EQ(outside.status, 0);
  EXPECT_EQ(outside.out, "");
}

TEST_F(CliTest, ADictionaryThatCannotBeOpenedFailsWithTheWindowsMessage) {
  for (const std::string& missing : {std::string("/no/such/file.txt"), ::testing::TempDir()}) {
    const CliRun run = Cli({"search", "--dictionary", missing, "228"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Can Not Open " + missing + " in ConvertBtnClick\n");
  }
  EXPECT_EQ(Cli({"lookup", "--dictionary", "/no/such/file.txt", "help"}).status, 1);
  EXPECT_EQ(Cli({"affixes", "--dictionary", "/no/such/file.txt", "1", "1", "1"}).status, 1);
}

TEST_F(CliTest, AFifoOrADeviceIsRefusedInsteadOfWaitedFor) {
  const std::string fifo = Scratch("fifo");
  std::remove(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& device : {fifo, std::string("/dev/zero")}) {
    SCOPED_TRACE(device);
    const CliRun search = Cli({"search", "--dictionary", device, "228"});
    EXPECT_EQ(search.status, 1);
    EXPECT_EQ(search.err, "Can Not Open " + device + " in ConvertBtnClick\n");
    EXPECT_EQ(Cli({"lookup", "--dictionary", device, "help"}).status, 1);
    const CliRun affixes = Cli({"affixes", "--dictionary", device, "1", "1", "1"});
    EXPECT_EQ(affixes.status, 1);
    EXPECT_EQ(affixes.err, "Can Not Open " + device + "\n");
    const CliRun suggest = Cli({"suggest", "--dictionary", device, "228"});
    EXPECT_EQ(suggest.status, 1);
    EXPECT_EQ(suggest.err, "Can Not Open " + device + "\n");
  }
  std::remove(fifo.c_str());
}

TEST_F(CliTest, ADictionaryWithUnixLineEndsSaysWhyItYieldsNothing) {
  std::ofstream(path, std::ios::binary) << "228,bat,B\n4357,help,A\n\n";
  const CliRun run = Cli({"affixes", "--dictionary", path, "228", "228", "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "The dictionary " + path +
                         " yields no words: its lines must end with CR LF, not with LF alone.\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"frobnicate", "1"},
      {"search"},
      {"search", "1", "2"},
      {"search", "--mode", "middle", "1"},
      {"search", "--mode"},
      {"search", "--colour", "1"},
      {"lookup", "--mode", "left", "help"},
      {"affixes", "1", "2"},
      {"affixes", "1", "2", "three"},
  };
  for (const auto& args : wrong) {
    SCOPED_TRACE(args.empty() ? "(none)" : args[0] + " ...");
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: vantrel-cli"), std::string::npos);
  }
  const CliRun help = Cli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--dictionary FILE"), std::string::npos);
}

TEST_F(CliTest, ANumberMayBeginWithAHyphenAfterTheOptionsEnd) {
  const CliRun run = Cli({"search", "--dictionary", path, "--", "-228"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "bat\t228\tregular\n");
}

TEST_F(CliTest, SuggestPrintsThePhraseAndTheVanityText) {
  const CliRun run = Cli({"suggest", "--dictionary", path, "10-3569377"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "10 flowers\t10-FLOWERS\n");
  EXPECT_EQ(run.err, "");
  // Windows-1252 words come out as UTF-8, upper case by the Unicode rules.
  EXPECT_EQ(Cli({"suggest", "--dictionary", path, "6663"}).out,
            "\xC3\x89t\xC3\xA9\t\xC3\x89T\xC3\x89\n");
  // Bullets stay; digits kept with no word are no suggestion and no failure.
  const std::string bullet = "\xE2\x80\xA2";
  EXPECT_EQ(Cli({"suggest", "--dictionary", path, "--", bullet + "-1"}).out, "");
  EXPECT_EQ(Cli({"suggest", "--dictionary", path, "--", bullet + "-1228"}).out,
            "1 bat\t" + bullet + "-1BAT\n");
  const CliRun none = Cli({"suggest", "--dictionary", path, "9"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
}

TEST_F(CliTest, SuggestTakesALimitFromOneTo1000) {
  std::ofstream(path, std::ios::binary) << "2,a,B\r\n2,b,B\r\n2,c,B\r\n\r\n";
  EXPECT_EQ(Cli({"suggest", "--limit", "1", "--dictionary", path, "22"}).out, "2 a\t2A\n");
  EXPECT_EQ(Cli({"suggest", "--limit=2", "--dictionary", path, "22"}).out, "2 a\t2A\n2 b\t2B\n");
  EXPECT_EQ(Cli({"suggest", "--limit", "1000", "--dictionary", path, "22"}).status, 0);
  const std::vector<std::vector<std::string>> wrong = {
      {"suggest", "--limit", "0", "22"},
      {"suggest", "--limit", "1001", "22"},
      {"suggest", "--limit", "-1", "22"},
      {"suggest", "--limit", "2x", "22"},
      {"suggest", "--limit", "", "22"},
      {"suggest", "--limit", "99999999999999999999", "22"},
      {"suggest", "--limit"},
      {"suggest", "--mode", "left", "22"},
      {"search", "--limit", "2", "22"},
      {"suggest"},
      {"suggest", "--json"},
      {"search", "--json", "22"},
      {"lookup", "--json", "bat"},
  };
  for (const auto& args : wrong) {
    SCOPED_TRACE(args.size() > 2 ? args[1] + " " + args[2] : "short");
    const CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: vantrel-cli"), std::string::npos);
  }
}

// The commands without a window of their own name the file and nothing else: no
// handler or step of the program leaks into the message.
TEST_F(CliTest, SuggestAndAffixesFromADictionaryThatCannotBeOpenedNameTheFile) {
  for (const std::string& missing : {std::string("/no/such/file.txt"), ::testing::TempDir()}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"suggest", "--dictionary", missing, "228"},
          std::vector<std::string>{"affixes", "--dictionary", missing, "228", "228", "1"}}) {
      SCOPED_TRACE(args[0] + " " + missing);
      const CliRun run = Cli(args);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, "Can Not Open " + missing + "\n");
    }
  }
}

TEST_F(CliTest, SuggestTakesSeveralNumbersAndTheLinesOfStandardInput) {
  std::ofstream(path, std::ios::binary) << "228,bat,B\r\n4357,help,B\r\n\r\n";
  const CliRun two = Cli({"suggest", "--limit", "1", "--dictionary", path, "228", "4357"});
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(two.out, "228\tbat\tBAT\n4357\thelp\tHELP\n");
  // "-" reads one number a line, CR LF or LF, blank lines skipped, where it stands.
  const std::string input = "228-4357\r\n\n4357\n";
  const CliRun piped = Cli({"suggest", "--limit", "1", "--dictionary", path, "228", "-"}, &input);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, "228\tbat\tBAT\n228-4357\tbat help\tBAT-HELP\n4357\thelp\tHELP\n");
  // "-" alone still says which number each line is for.
  const std::string one = "228\n";
  EXPECT_EQ(Cli({"suggest", "--limit", "1", "--dictionary", path, "-"}, &one).out,
            "228\tbat\tBAT\n");
}

TEST_F(CliTest, SuggestFailsOnAReadFailureAndPrintsNothingForThatNumber) {
  // /proc/self/mem opens, but reading it from its start fails.
  const CliRun run = Cli({"suggest", "--json", "--dictionary", "/proc/self/mem", "228", "4357"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "Error Reading Dictionary /proc/self/mem\nError Reading Dictionary "
            "/proc/self/mem\n");
}

// --json read back by a real JSON parser, on the bundled English dictionary: the answer a
// person picks by hand comes first.
TEST_F(CliTest, SuggestJsonReadsBackAndLeadsWithTheAnswerAPersonPicks) {
  const std::string input =
      "1-888-356-9377\n16175551234\n(617) 555-1234\n7378423\n1-877-724-3367\n";
  const CliRun run = Cli(
      {"suggest", "--json", "--limit", "60", "18883569377", "2284357", "-", "0\"\\\x01"}, &input);
  ASSERT_EQ(run.status, 0) << run.err;
  std::ofstream(Scratch("json"), std::ios::binary) << run.out;
  // For each number: the number, its plan, the first suggestion with every key, and
  // whether the list is in rank order, its kept digits add up, and every vanity text spells.
  const std::string script =
      "import json, sys\n"
      "for line in open(sys.argv[1], encoding='utf-8'):\n"
      "    o = json.loads(line)\n"
      "    p = o['plan']\n"
      "    ss = o['suggestions']\n"
      "    rank = lambda s: tuple(s['keys'][k] for k in\n"
      "                           ('letteredPrefix', 'cost', 'words', 'keptDigits'))\n"
      "    kept = ('prefix', 'leading', 'middle', 'toOrFor', 'trailing')\n"
      "    f = ss[0] if ss else {'vanity': '-', 'keys': {}, 'kept': {}}\n"
      "    print(o['number'], '|', p['kind'], p['code'], p['countryCode'], repr(p['prefix']), "
      "'|',\n"
      "          f['vanity'], [f['keys'].get(k) for k in\n"
      "                        ('letteredPrefix', 'cost', 'words', 'keptDigits')],\n"
      "          [f['kept'].get(k) for k in kept], f.get('leastCommon'), f.get('withName'),\n"
      "          f.get('pairs'), '|',\n"
      "          all(rank(a) <= rank(b) for a, b in zip(ss, ss[1:])),\n"
      "          all(sum(s['kept'][k] for k in kept if k != 'toOrFor') == s['keys']['keptDigits']\n"
      "              and s['kept']['toOrFor'] <= s['kept']['middle'] for s in ss),\n"
      "          all(any(c.isalpha() for c in s['vanity']) for s in ss), len(ss))\n";
  std::ofstream(Scratch("py"), std::ios::binary) << script;
  const std::string command =
      "python3 " + Scratch("py") + " " + Scratch("json") + " >" + Scratch("parsed") + " 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
  // FLOWERS is 46 in the dictionary (20 + 50 - 46), ACT 54 and HELP 53 (20 each), SERVICE
  // 56, BEG 35 (35, after four digits kept at 14 each); PAID 49 and FOR 70 (21 + 20), less
  // 14 for "paid for", a pair.
  EXPECT_EQ(Slurp(Scratch("parsed")),
            "18883569377 | north-american toll-free True '1888' | 1888FLOWERS [0, 24, 1, 4] "
            "[4, 0, 0, 0, 0] 46 False 0 | True True True 60\n"
            "2284357 | north-american none False '' | ACTHELP [0, 40, 2, 0] [0, 0, 0, 0, 0] 53 "
            "False 0 | True True True 60\n"
            "1-888-356-9377 | north-american toll-free True '1-888' | 1-888-FLOWERS [0, 24, 1, 4] "
            "[4, 0, 0, 0, 0] 46 False 0 | True True True 60\n"
            "16175551234 | north-american area True '1617' | 16175551BEG [0, 91, 1, 8] "
            "[4, 4, 0, 0, 0] 35 False 0 | True True True 21\n"
            "(617) 555-1234 | north-american area False '(617)' | (617) 555-1BEG [0, 91, 1, 7] "
            "[3, 4, 0, 0, 0] 35 False 0 | True True True 21\n"
            "7378423 | north-american none False '' | SERVICE [0, 20, 1, 0] [0, 0, 0, 0, 0] 56 "
            "False 0 | True True True 60\n"
            "1-877-724-3367 | north-american toll-free True '1-877' | 1-877-PAIDFOR [0, 27, 2, 4] "
            "[4, 0, 0, 0, 0] 49 False 1 | True True True 60\n"
            "0\"\\\x01 | none none False '' | - [None, None, None, None] "
            "[None, None, None, None, None] None None None | True True True 0\n");
  for (const char* name : {"json", "py", "parsed"}) {
    std::remove(Scratch(name).c_str());
  }
}

// The lines of a text.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The languages LANG may ask for, with what a person reads in each: the catalogs travel
// inside vantrel-cli, so these come from the executable alone.
struct Language {
  const char* lang;
  const char* usage;       // how the usage begins
  const char* cannotOpen;  // before the file's name
  const char* inConvert;   // after it, when a search could not open it
  const char* matches;     // the status line's pieces
  const char* wordsIn;
  const char* secs;
  const char* badMode;  // the usage error of an unknown mode, before the mode
};

const Language kLanguages[] = {
    {"C.UTF-8", "usage: vantrel-cli search", "Can Not Open ", " in ConvertBtnClick",
     " Matches out of ", " words in ", " secs", "the mode is any, left or right, not "},
    {"de_DE.UTF-8", "Aufruf: vantrel-cli search",
     "\xC3\x96"
     "ffnen nicht m\xC3\xB6glich: ",
     " in ConvertBtnClick", " Treffer aus ", " W\xC3\xB6rtern in ", " Sekunden",
     "der Modus ist any, left oder right, nicht "},
    // Austrian German has no catalog of its own and takes the German one.
    {"de_AT.UTF-8", "Aufruf: vantrel-cli search",
     "\xC3\x96"
     "ffnen nicht m\xC3\xB6glich: ",
     " in ConvertBtnClick", " Treffer aus ", " W\xC3\xB6rtern in ", " Sekunden",
     "der Modus ist any, left oder right, nicht "},
    {"fr_FR.UTF-8", "Utilisation : vantrel-cli search", "Impossible d'ouvrir ",
     " dans ConvertBtnClick", " assortiments de ", " mots en ", " secondes",
     "le mode est any, left ou right, et non "},
    // A language without a catalog stays English, and says nothing about it.
    {"es_ES.UTF-8", "usage: vantrel-cli search", "Can Not Open ", " in ConvertBtnClick",
     " Matches out of ", " words in ", " secs", "the mode is any, left or right, not "},
};

TEST_F(CliTest, MessagesFollowLangWhileWhatScriptsReadStaysTheSame) {
  const std::string missing = "/no/such/file.txt";
  const std::string numbers = "228\n4357\n";
  const CliRun english = Cli({"search", "--dictionary", path, "228-4357"});
  const CliRun englishJson =
      Cli({"suggest", "--json", "--dictionary", path, "10-3569377", "-"}, &numbers);
  const CliRun englishLookup = Cli({"lookup", "--dictionary", path, "nothing"});
  ASSERT_EQ(englishLookup.out, "No Numeric Equivalent\n");
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.lang);
    const CliRun search = Cli({"search", "--dictionary", path, "228-4357"}, nullptr, language.lang);
    EXPECT_EQ(search.status, 0);
    EXPECT_EQ(search.out, english.out);
    const std::string status = std::string(" 2") + language.matches + "9" + language.wordsIn;
    EXPECT_EQ(search.err.rfind(status, 0), 0u) << search.err;
    const std::string end = std::string(language.secs) + "\n";
    ASSERT_GE(search.err.size(), end.size());
    EXPECT_EQ(search.err.substr(search.err.size() - end.size()), end);

    const CliRun json = Cli({"suggest", "--json", "--dictionary", path, "10-3569377", "-"},
                            &numbers, language.lang);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, englishJson.out);
    EXPECT_EQ(Cli({"lookup", "--dictionary", path, "nothing"}, nullptr, language.lang).out,
              englishLookup.out);

    const CliRun cannot = Cli({"search", "--dictionary", missing, "228"}, nullptr, language.lang);
    EXPECT_EQ(cannot.status, 1);
    EXPECT_EQ(cannot.err, language.cannotOpen + missing + language.inConvert + "\n");
    EXPECT_EQ(Cli({"suggest", "--dictionary", missing, "228"}, nullptr, language.lang).err,
              language.cannotOpen + missing + "\n");

    const CliRun wrong = Cli({"search", "--mode", "middle", "1"}, nullptr, language.lang);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    const std::vector<std::string> lines = Lines(wrong.err);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string("vantrel-cli: ") + language.badMode + "middle");
    EXPECT_EQ(lines[1].rfind(language.usage, 0), 0u) << lines[1];

    const CliRun help = Cli({"--help"}, nullptr, language.lang);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(language.usage, 0), 0u) << help.out;
  }
}

// Every message a person may meet is in both catalogs: none comes out in English under a
// German or French LANG. Only the line that shows the JSON's shape is the same everywhere.
TEST_F(CliTest, EveryUsageErrorAndTheWholeHelpAreTranslated) {
  const std::vector<std::vector<std::string>> wrong = {
      {"frobnicate", "1"},
      {"search"},
      {"affixes", "1", "2"},
      {"search", "--mode", "middle", "1"},
      {"search", "--mode"},
      {"search", "--colour", "1"},
      {"lookup", "--mode", "left", "help"},
      {"affixes", "1", "2", "three"},
      {"suggest", "--limit", "0", "22"},
      {"search", "--limit", "2", "22"},
      {"search", "--json", "22"},
      {"suggest"},
  };
  const std::vector<std::string> englishHelp = Lines(Cli({"--help"}).out);
  ASSERT_GT(englishHelp.size(), 40u);
  for (const char* lang : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
    SCOPED_TRACE(lang);
    for (const auto& args : wrong) {
      SCOPED_TRACE(args[0] + " " + (args.size() > 1 ? args[1] : ""));
      const CliRun english = Cli(args);
      const CliRun translated = Cli(args, nullptr, lang);
      EXPECT_EQ(translated.status, 2);
      ASSERT_FALSE(Lines(english.err).empty());
      ASSERT_FALSE(Lines(translated.err).empty());
      EXPECT_NE(Lines(translated.err)[0], Lines(english.err)[0]);
      // The usage follows the message, translated too.
      EXPECT_EQ(translated.err.find("usage:"), std::string::npos) << translated.err;
    }
    const std::vector<std::string> help = Lines(Cli({"--help"}, nullptr, lang).out);
    EXPECT_GT(help.size(), 40u);
    for (const std::string& line : help) {
      if (line.empty() || line.find("{\"number\"") != std::string::npos) {
        continue;
      }
      EXPECT_EQ(std::find(englishHelp.begin(), englishHelp.end(), line), englishHelp.end())
          << "left in English: " << line;
    }
  }
}

}  // namespace
