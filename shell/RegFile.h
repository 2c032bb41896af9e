// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file in the registry-export format, as bytes in and bytes out. This half
// knows nothing of Qt, so that the parser can be fuzzed on its own; the settings store
// (SettingsStore.h) reads and writes the file through it.
//
// The file is UTF-8 text (a byte-order mark is skipped). Lines end with LF or CR LF; the
// file is written with LF. It holds the header line, then keys and their values:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Vantrel]
//   "Dictionary"="/usr/share/vantrel/Vantrel Dictionary.txt"
//   "Form Top"=dword:000000bd
//
// What is read:
// - "name"="text" is a text (REG_SZ). In names and texts a backslash and a double quote
//   are written with a backslash before them; no other escape exists.
// - "name"=dword:xxxxxxxx is a 32-bit integer (REG_DWORD), 1 to 8 hex digits.
// - "name"=hex(1):.. is a text given as UTF-16LE bytes, as the registry holds it; the
//   writer uses this form for texts with line breaks or other control characters, which a
//   quoted text cannot hold. "name"=hex(4):.. with four bytes is an integer.
// - "name"=hex:.. and "name"=hex(n):.. of any other type are kept as bytes: the program
//   never reads them, but writes them back. Hex data may run over several lines, each but
//   the last ending with a backslash.
// - @=... is the key's default value (the value with the empty name).
// - Keys other than the program's own are kept and written back, unread.
// - Blank lines and lines starting with ';' are ignored (comments are not written back).
// - Names compare without regard to the case of A to Z, as the registry does; a value
//   named twice in a key, or a key named twice, merges as an import would: the later
//   value replaces the earlier one, in the earlier one's place.
//
// Anything else makes the whole file unreadable (a kMalformed status): invalid UTF-8, a UTF-16
// file, control characters other than tab, a missing or different header, a value
// before the first key, an unterminated quote or unknown escape, bad hex, a dword of more
// than 8 hex digits, a deletion ("name"=- or [-key]), a file larger than kMaxFileSize,
// and an empty file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Status.h"

namespace vantrel::regfile {

inline constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

// A settings file is about a kilobyte; anything this large is not one, and reading it
// whole would only waste memory.
inline constexpr std::size_t kMaxFileSize = 1024 * 1024;

enum class ValueKind { kText, kDword, kOther };

// Registry type numbers that the file names in hex(n).
inline constexpr std::uint32_t kTypeText = 1;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDword = 4;

struct Value {
  std::string name;  // UTF-8; empty for the default value
  ValueKind kind = ValueKind::kText;
  std::string text;                 // Text: UTF-8
  std::uint32_t dword = 0;          // Dword
  std::uint32_t otherType = 0;      // Other: the registry type number
  std::vector<std::uint8_t> bytes;  // Other: the data as stored

  static Value MakeText(std::string name, std::string text);
  static Value MakeDword(std::string name, std::uint32_t dword);

  friend bool operator==(const Value&, const Value&) = default;
};

struct Key {
  std::string path;  // as written between the brackets
  std::vector<Value> values;

  const Value* Find(std::string_view name) const;
  // Replaces the value of the same name where it stands, or appends it.
  void Set(Value value);

  friend bool operator==(const Key&, const Key&) = default;
};

struct Document {
  std::vector<Key> keys;  // in file order, each path once

  const Key* Find(std::string_view path) const;
  Key& FindOrAdd(std::string_view path);

  friend bool operator==(const Document&, const Document&) = default;
};

// The document, or why the bytes are not a settings file and where. The document is
// meaningful only when status is ok; on a failure it is empty.
struct ParseResult {
  Document document;
  Status status;         // kMalformed, with a reason in English for the log and the notice
  std::size_t line = 0;  // 1-based line at fault; 0 when the file as a whole is at fault

  bool IsOk() const { return status.IsOk(); }
};

// A line left out by ParseSkippingBadLines, and why it could not be read.
struct BadLine {
  std::size_t line = 0;  // 1-based
  Status status;
};

ParseResult Parse(std::string_view bytes);

// More bad lines than this, and the file is not taken for a settings file with faults.
inline constexpr std::size_t kMaxSkippedLines = 20;

// As Parse, but a line that cannot be read is left out (with the value it held) as long as
// the file is a settings file at all: its header reads, and few of its lines are bad.
// skipped tells the lines left out, in order; on failure the status is Parse's own.
ParseResult ParseSkippingBadLines(std::string_view bytes, std::vector<BadLine>& skipped);

// The whole file. Names must pass CanWriteName; texts must be valid UTF-8.
std::string Serialize(const Document& document);

// A name cannot be written in hex, so it must fit between quotes on one line.
bool CanWriteName(std::string_view name);

// Comparison of names and key paths: A to Z match a to z; every other byte matches itself.
bool SameName(std::string_view a, std::string_view b);

}  // namespace vantrel::regfile
