// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegFile.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::regfile {
namespace {

const std::string kHead = "Windows Registry Editor Version 5.00\n\n";
const std::string kOwnKey = "[HKEY_CURRENT_USER\\Software\\Vantrel]\n";

std::string OwnFile(const std::string& values) {
  return kHead + kOwnKey + values;
}

const Key& OwnKeyOf(const ParseResult& result) {
  static const Key kEmpty;
  if (!result.IsOk()) {
    ADD_FAILURE() << "not parsed: line " << result.line << ": " << result.status;
    return kEmpty;
  }
  const Key* key = result.document.Find("HKEY_CURRENT_USER\\Software\\Vantrel");
  if (key == nullptr) {
    ADD_FAILURE() << "the key is missing";
    return kEmpty;
  }
  return *key;
}

struct CorruptRow {
  const char* name;
  std::string bytes;
  std::size_t line;     // where the fault is reported
  const char* because;  // part of the reason
};

TEST(RegFileParse, RejectsWhatIsNoSettingsFile) {
  const CorruptRow rows[] = {
      {"empty file", "", 0, "empty"},
      {"UTF-16 export", "\xFF\xFEW\0i\0n\0", 0, "UTF-16"},
      {"invalid UTF-8", OwnFile("\"A\"=\"\xC3\x28\"\n"), 4, "UTF-8"},
      {"overlong UTF-8", OwnFile("\"A\"=\"\xC0\xAF\"\n"), 4, "UTF-8"},
      {"encoded surrogate", OwnFile("\"A\"=\"\xED\xA0\x80\"\n"), 4, "UTF-8"},
      {"NUL byte", OwnFile(std::string("\"A\"=\"x\0y\"\n", 10)), 4, "control character 0x00"},
      {"lone CR", OwnFile("\"A\"=\"x\ry\"\n"), 4, "control character 0x0d"},
      {"no header", kOwnKey + "\"A\"=\"x\"\n", 1, "first line"},
      {"older header", "REGEDIT4\n\n" + kOwnKey, 1, "first line"},
      {"header after a blank line", "\n" + kHead + kOwnKey, 1, "first line"},
      {"value before any key", kHead + "\"A\"=\"x\"\n", 3, "before the first key"},
      {"unquoted name", OwnFile("A=\"x\"\n"), 4, "quoted name"},
      {"name without closing quote", OwnFile("\"A=\"x\"\n"), 4, "'=' expected"},
      {"text without closing quote", OwnFile("\"A\"=\"x\n"), 4, "missing closing quote"},
      {"unknown escape", OwnFile("\"A\"=\"c:\\temp\"\n"), 4, "unknown escape"},
      {"text after the quote", OwnFile("\"A\"=\"x\" y\n"), 4, "after the closing quote"},
      {"no equals sign", OwnFile("\"A\" \"x\"\n"), 4, "'=' expected"},
      {"dword of nine digits", OwnFile("\"A\"=dword:1000000000\n"), 4, "1 to 8 hex"},
      {"dword with a non-hex digit", OwnFile("\"A\"=dword:0000000g\n"), 4, "1 to 8 hex"},
      {"dword without digits", OwnFile("\"A\"=dword:\n"), 4, "1 to 8 hex"},
      {"negative dword", OwnFile("\"A\"=dword:-1\n"), 4, "1 to 8 hex"},
      {"hex byte of one digit", OwnFile("\"A\"=hex:0,01\n"), 4, "two-digit"},
      {"hex with a trailing comma", OwnFile("\"A\"=hex:01,\n"), 4, "two-digit"},
      {"hex type not closed", OwnFile("\"A\"=hex(7:00\n"), 4, "hex(n)"},
      {"hex without a colon", OwnFile("\"A\"=hex 00\n"), 4, "':' expected"},
      {"hex text of odd length", OwnFile("\"A\"=hex(1):41,00,42\n"), 4, "odd number"},
      {"hex text with a lone surrogate", OwnFile("\"A\"=hex(1):00,d8,00,00\n"), 4, "surrogate"},
      {"hex dword of three bytes", OwnFile("\"A\"=hex(4):01,02,03\n"), 4, "exactly 4"},
      {"continuation at the end", OwnFile("\"A\"=hex:01,\\\n"), 4, "past the end"},
      {"value deletion", OwnFile("\"A\"=-\n"), 4, "deletion"},
      {"key deletion", kHead + "[-HKEY_CURRENT_USER\\Software\\Vantrel]\n", 3, "deletion"},
      {"key without closing bracket", kHead + "[HKEY_CURRENT_USER\\Software\\Vantrel\n", 3,
       "end with ']'"},
      {"key without a name", kHead + "[ ]\n", 3, "without a name"},
      {"unknown data type", OwnFile("\"A\"=str:x\n"), 4, "unknown value data"},
      {"keyword in capitals", OwnFile("\"A\"=DWORD:00000001\n"), 4, "unknown value data"},
      {"larger than a settings file", OwnFile("\"A\"=\"" + std::string(kMaxFileSize, 'x') + "\"\n"),
       0, "larger"},
  };
  for (const CorruptRow& row : rows) {
    SCOPED_TRACE(row.name);
    const ParseResult result = Parse(row.bytes);
    EXPECT_EQ(result.status.Code(), StatusCode::kMalformed);
    EXPECT_EQ(result.document, Document{});
    EXPECT_EQ(result.line, row.line);
    EXPECT_NE(result.status.Reason().find(row.because), std::string::npos) << result.status;
  }
}

TEST(RegFileParse, ReadsWhatAnExportMayHold) {
  // BOM, CR LF line ends, comments, blanks, blanks around '=', a default value and a long
  // hex value broken over lines: all part of the format, none of it an error.
  const std::string file =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; written by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\Vantrel]\r\n"
      "  \"Form Top\" = dword:000000BD  \r\n"
      "@=\"default\"\r\n"
      "\"Short\"=dword:7\r\n"
      "\"Title\"=hex(1):56,00,e4,00,\\\r\n"
      "  3d,d8,00,de,00,00\r\n"
      "\"Tab\"=\"a\tb\"\r\n"
      "\"Packed\"=hex(4):ff,ff,ff,ff\r\n"
      "\"Blob\"=hex:de,ad\r\n"
      "\"Times\"=hex(b):01,00,00,00,00,00,00,00\r\n";
  const ParseResult result = Parse(file);
  const Key& key = OwnKeyOf(result);
  ASSERT_EQ(key.values.size(), 8u);

  EXPECT_EQ(key.values[0], Value::MakeDword("Form Top", 0xbd));
  EXPECT_EQ(key.values[1], Value::MakeText("", "default"));
  EXPECT_EQ(key.values[2], Value::MakeDword("Short", 7));
  // U+00E4 and U+1F600 from UTF-16LE with its terminating zero.
  EXPECT_EQ(key.values[3], Value::MakeText("Title", "V\xC3\xA4\xF0\x9F\x98\x80"));
  EXPECT_EQ(key.values[4], Value::MakeText("Tab", "a\tb"));
  EXPECT_EQ(key.values[5], Value::MakeDword("Packed", 0xffffffffu));
  EXPECT_EQ(key.values[6].kind, ValueKind::kOther);
  EXPECT_EQ(key.values[6].otherType, kTypeBinary);
  EXPECT_EQ(key.values[6].bytes, (std::vector<std::uint8_t>{0xde, 0xad}));
  EXPECT_EQ(key.values[7].otherType, 0xbu);
  EXPECT_EQ(key.values[7].bytes.size(), 8u);
}

TEST(RegFileParse, MergesRepeatsAsAnImportWould) {
  const std::string file = kHead +
                           "[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
                           "\"Form Top\"=dword:00000001\n"
                           "\"Language\"=\"de_DE\"\n"
                           "[HKEY_CURRENT_USER\\Software\\Other]\n"
                           "\"Keep\"=\"me\"\n"
                           "[hkey_current_user\\software\\VANTREL]\n"
                           "\"FORM TOP\"=dword:00000002\n"
                           "\"Dictionary\"=\"d.txt\"\n";
  const ParseResult result = Parse(file);
  ASSERT_TRUE(result.IsOk()) << result.status;
  ASSERT_EQ(result.document.keys.size(), 2u);
  const Key& key = OwnKeyOf(result);
  // The later value wins, in the earlier one's place and under its spelling.
  ASSERT_EQ(key.values.size(), 3u);
  EXPECT_EQ(key.values[0], Value::MakeDword("Form Top", 2));
  EXPECT_EQ(key.values[1].name, "Language");
  EXPECT_EQ(key.values[2].name, "Dictionary");
  EXPECT_EQ(result.document.keys[1].path, "HKEY_CURRENT_USER\\Software\\Other");
}

TEST(RegFileSerialize, WritesTheExportFormat) {
  Document document;
  Key& key = document.FindOrAdd("HKEY_CURRENT_USER\\Software\\Vantrel");
  key.Set(Value::MakeText("Dictionary", "C:\\Vantrel\\\"Big\" Dictionary.txt"));
  key.Set(Value::MakeDword("Form Top", 189));
  key.Set(Value::MakeDword("Form Left", static_cast<std::uint32_t>(-8)));
  key.Set(Value::MakeText("Note", "two\nlines"));
  key.Set(Value::MakeText("", "x"));
  EXPECT_EQ(Serialize(document),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
            "\"Dictionary\"=\"C:\\\\Vantrel\\\\\\\"Big\\\" Dictionary.txt\"\n"
            "\"Form Top\"=dword:000000bd\n"
            "\"Form Left\"=dword:fffffff8\n"
            "\"Note\"=hex(1):74,00,77,00,6f,00,0a,00,6c,00,69,00,6e,00,65,00,73,00,00,00\n"
            "@=\"x\"\n");
}

TEST(RegFileSerialize, WhatIsWrittenReadsBackTheSame) {
  const struct {
    const char* name;
    Value value;
  } rows[] = {
      {"quotes and backslashes", Value::MakeText("Q", "\\\"\\\\\"\"\\")},
      {"non-ASCII", Value::MakeText("Gr\xC3\xB6\xC3\x9F"
                                    "e",
                                    "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80")},
      {"empty text", Value::MakeText("Empty", "")},
      {"blanks around the text", Value::MakeText("B", "  x\t ")},
      {"line break", Value::MakeText("L", "a\r\nb")},
      {"NUL inside", Value::MakeText("N", std::string("a\0b", 3))},
      {"NUL at the end", Value::MakeText("Z", std::string("a\0", 2))},
      {"only a NUL", Value::MakeText("Z", std::string(1, '\0'))},
      {"semicolon and bracket", Value::MakeText("[;x]", ";[y]")},
      {"zero", Value::MakeDword("D", 0)},
      {"largest dword", Value::MakeDword("D", 0xffffffffu)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Document document;
    document.FindOrAdd("HKEY_CURRENT_USER\\Software\\Vantrel").Set(row.value);
    const ParseResult again = Parse(Serialize(document));
    ASSERT_TRUE(again.IsOk()) << again.status;
    EXPECT_EQ(again.document, document);
  }
}

}  // namespace
}  // namespace vantrel::regfile
