// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegFile.h"

#include "Codepage.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

namespace vantrel::regfile {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Only spaces and tabs: the file's other control characters are faults to report, not
// padding to drop (unlike Trim of VantrelGlobal.h, which drops every code up to 32).
std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) {
    s.remove_prefix(1);
  }
  while (!s.empty() && IsBlank(s.back())) {
    s.remove_suffix(1);
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The form under which SameName finds a name equal.
std::string Folded(std::string_view s) {
  std::string folded(s);
  std::transform(folded.begin(), folded.end(), folded.begin(), LowerAscii);
  return folded;
}

// 1 to 8 hex digits and nothing else.
bool ParseHex32(std::string_view s, std::uint32_t& out) {
  if (s.empty() || s.size() > 8) {
    return false;
  }
  std::uint32_t v = 0;
  for (char c : s) {
    int d = HexDigit(c);
    if (d < 0) {
      return false;
    }
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  out = v;
  return true;
}

std::string HexByte(std::uint8_t b) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[b >> 4], kDigits[b & 0xf]};
}

std::string Hex32(std::uint32_t v, bool padded) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string s(8, '0');
  for (int i = 7; i >= 0; --i) {
    s[static_cast<std::size_t>(i)] = kDigits[v & 0xf];
    v >>= 4;
  }
  if (!padded) {
    std::size_t first = s.find_first_not_of('0');
    s.erase(0, first == std::string::npos ? 7 : first);
  }
  return s;
}

// Code points of valid UTF-8; a stray byte, which the writer's callers never hand over,
// becomes U+FFFD rather than being lost without trace.
std::vector<std::uint32_t> DecodeUtf8(std::string_view s) {
  std::vector<std::uint32_t> cps;
  for (std::size_t i = 0; i < s.size();) {
    const Utf8Char ch = DecodeUtf8At(s, i);
    cps.push_back(ch.valid ? ch.code : 0xFFFD);
    i += ch.valid ? ch.length : 1;
  }
  return cps;
}

// A text as the registry holds it: UTF-16LE with its terminating zero.
std::vector<std::uint8_t> TextToUtf16Le(std::string_view text) {
  std::vector<std::uint8_t> bytes;
  auto unit = [&bytes](std::uint32_t u) {
    bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(u >> 8));
  };
  for (std::uint32_t cp : DecodeUtf8(text)) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 | (cp >> 10));
      unit(0xDC00 | (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  unit(0);
  return bytes;
}

bool Utf16LeToText(const std::vector<std::uint8_t>& bytes, std::string& text, std::string& reason) {
  if (bytes.size() % 2 != 0) {
    reason = "a text in hex(1) has an odd number of bytes";
    return false;
  }
  std::vector<std::uint32_t> units;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    units.push_back(bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8));
  }
  // The terminating zero is not part of the text; a text stored without one is whole.
  if (!units.empty() && units.back() == 0) {
    units.pop_back();
  }
  text.clear();
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(text, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      reason = "a text in hex(1) holds a lone surrogate";
      return false;
    } else {
      AppendUtf8(text, u);
    }
  }
  return true;
}

// A quoted name or text from s[pos] == '"'; pos ends after the closing quote.
bool ReadQuoted(std::string_view s, std::size_t& pos, std::string& out, std::string& reason) {
  out.clear();
  for (std::size_t i = pos + 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      pos = i + 1;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
        reason = "unknown escape after a backslash";
        return false;
      }
      out += s[++i];
    } else {
      out += c;
    }
  }
  reason = "missing closing quote";
  return false;
}

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    if (c == '\\' || c == '"') {
      out += '\\';
    }
    out += c;
  }
  out += '"';
}

bool ReadHexBytes(std::string_view data, std::vector<std::uint8_t>& out, std::string& reason) {
  out.clear();
  data = TrimBlanks(data);
  if (data.empty()) {
    return true;
  }
  while (true) {
    const std::size_t comma = data.find(',');
    const std::string_view token = TrimBlanks(data.substr(0, comma));
    const int hi = token.size() == 2 ? HexDigit(token[0]) : -1;
    const int lo = token.size() == 2 ? HexDigit(token[1]) : -1;
    if (hi < 0 || lo < 0) {
      reason = "hex data is not a list of two-digit hex bytes";
      return false;
    }
    out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    if (comma == kNone) {
      return true;
    }
    data.remove_prefix(comma + 1);
  }
}

bool NeedsHexForm(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

class Parser {
 public:
  explicit Parser(std::string_view bytes) : bytes_(bytes) {}

  ParseResult Run() {
    ParseResult result;
    if (!Check() || !SplitLines() || !ReadLines()) {
      result.status = std::move(failure_);
      result.line = failureLine_;
      return result;
    }
    result.document = std::move(document_);
    return result;
  }

 private:
  bool Fail(std::size_t line, std::string reason) {
    failureLine_ = line;
    failure_ = Status(StatusCode::kMalformed, std::move(reason));
    return false;
  }

  bool Check() {
    if (bytes_.size() > kMaxFileSize) {
      return Fail(0, "the file is larger than a settings file can be");
    }
    if (bytes_.empty()) {
      return Fail(0, "the file is empty");
    }
    if (bytes_.starts_with("\xFF\xFE") || bytes_.starts_with("\xFE\xFF")) {
      return Fail(0, "the file is UTF-16 text; settings files are UTF-8");
    }
    if (bytes_.starts_with("\xEF\xBB\xBF")) {
      bytes_.remove_prefix(3);
    }
    const std::size_t bad = FirstInvalidUtf8(bytes_);
    if (bad != kNone) {
      return Fail(LineOf(bad), "the file is not valid UTF-8 text");
    }
    return true;
  }

  std::size_t LineOf(std::size_t offset) const {
    return 1 + static_cast<std::size_t>(
                   std::count(bytes_.begin(), bytes_.begin() + static_cast<long>(offset), '\n'));
  }

  bool SplitLines() {
    std::string_view rest = bytes_;
    while (!rest.empty()) {
      const std::size_t lf = rest.find('\n');
      std::string_view line = rest.substr(0, lf);
      rest.remove_prefix(lf == kNone ? rest.size() : lf + 1);
      if (lf != kNone && line.ends_with('\r')) {
        line.remove_suffix(1);
      }
      for (char c : line) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
          return Fail(lines_.size() + 1, "control character 0x" +
                                             HexByte(static_cast<std::uint8_t>(c)) + " in a line");
        }
      }
      lines_.push_back(line);
    }
    return true;
  }

  bool ReadLines() {
    if (lines_.empty() || TrimBlanks(lines_[0]) != kHeader) {
      return Fail(1, "the first line is not \"" + std::string(kHeader) + "\"");
    }
    for (line_ = 1; line_ < lines_.size(); ++line_) {
      const std::string_view line = TrimBlanks(lines_[line_]);
      if (line.empty() || line.front() == ';') {
        continue;
      }
      if (line.front() == '[') {
        if (!ReadKeyLine(line)) {
          return false;
        }
      } else if (!ReadValueLine(line)) {
        return false;
      }
    }
    return true;
  }

  bool ReadKeyLine(std::string_view line) {
    if (line.size() < 2 || line.back() != ']') {
      return Fail(line_ + 1, "a key line must end with ']'");
    }
    const std::string_view path = line.substr(1, line.size() - 2);
    if (TrimBlanks(path).empty()) {
      return Fail(line_ + 1, "a key without a name");
    }
    if (path.front() == '-') {
      return Fail(line_ + 1, "a key deletion has no place in a settings file");
    }
    // Looked up by index: a file of many keys or values must not take quadratic time.
    const auto [it, added] = keyIndex_.try_emplace(Folded(path), document_.keys.size());
    if (added) {
      document_.keys.push_back(Key{std::string(path), {}});
      valueIndex_.emplace_back();
    }
    currentKey_ = it->second;
    return true;
  }

  bool ReadValueLine(std::string_view line) {
    const std::size_t lineNumber = line_ + 1;
    if (!currentKey_) {
      return Fail(lineNumber, "a value stands before the first key");
    }
    Value value;
    std::string reason;
    std::size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else if (line.front() != '"') {
      return Fail(lineNumber, "a value line must start with a quoted name or '@'");
    } else if (!ReadQuoted(line, pos, value.name, reason)) {
      return Fail(lineNumber, reason + " in a value name");
    }
    std::string_view rest = TrimBlanks(line.substr(pos));
    if (!rest.starts_with('=')) {
      return Fail(lineNumber, "'=' expected after the value name");
    }
    rest = TrimBlanks(rest.substr(1));
    if (!ReadData(rest, value, reason)) {
      return Fail(lineNumber, reason);
    }
    std::vector<Value>& values = document_.keys[*currentKey_].values;
    const auto [it, added] =
        valueIndex_[*currentKey_].try_emplace(Folded(value.name), values.size());
    if (added) {
      values.push_back(std::move(value));
    } else {
      // A repeated name replaces the earlier value where it stands, under its spelling.
      value.name = std::move(values[it->second].name);
      values[it->second] = std::move(value);
    }
    return true;
  }

  bool ReadData(std::string_view data, Value& value, std::string& reason) {
    if (data.starts_with('"')) {
      std::size_t pos = 0;
      if (!ReadQuoted(data, pos, value.text, reason)) {
        return false;
      }
      if (pos != data.size()) {
        reason = "text after the closing quote";
        return false;
      }
      value.kind = ValueKind::kText;
      return true;
    }
    if (data.starts_with("dword:")) {
      if (!ParseHex32(data.substr(6), value.dword)) {
        reason = "a dword needs 1 to 8 hex digits";
        return false;
      }
      value.kind = ValueKind::kDword;
      return true;
    }
    if (data.starts_with("hex")) {
      return ReadHexData(data.substr(3), value, reason);
    }
    if (data == "-") {
      reason = "a value deletion has no place in a settings file";
    } else {
      reason = "unknown value data";
    }
    return false;
  }

  bool ReadHexData(std::string_view afterHex, Value& value, std::string& reason) {
    std::uint32_t type = kTypeBinary;
    if (afterHex.starts_with('(')) {
      const std::size_t close = afterHex.find(')');
      if (close == kNone || !ParseHex32(afterHex.substr(1, close - 1), type)) {
        reason = "hex(n) needs a type of 1 to 8 hex digits";
        return false;
      }
      afterHex.remove_prefix(close + 1);
    }
    if (!afterHex.starts_with(':')) {
      reason = "':' expected after hex";
      return false;
    }
    // Long hex data runs on over lines that end with a backslash.
    std::string data(afterHex.substr(1));
    while (TrimBlanks(data).ends_with('\\')) {
      data.erase(data.find_last_of('\\'));
      if (line_ + 1 >= lines_.size()) {
        reason = "hex data continues past the end of the file";
        return false;
      }
      ++line_;
      data += TrimBlanks(lines_[line_]);
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadHexBytes(data, bytes, reason)) {
      return false;
    }
    if (type == kTypeText) {
      value.kind = ValueKind::kText;
      return Utf16LeToText(bytes, value.text, reason);
    }
    if (type == kTypeDword) {
      if (bytes.size() != 4) {
        reason = "a dword in hex(4) needs exactly 4 bytes";
        return false;
      }
      value.kind = ValueKind::kDword;
      value.dword = bytes[0] | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                    (static_cast<std::uint32_t>(bytes[2]) << 16) |
                    (static_cast<std::uint32_t>(bytes[3]) << 24);
      return true;
    }
    value.kind = ValueKind::kOther;
    value.otherType = type;
    value.bytes = std::move(bytes);
    return true;
  }

  std::string_view bytes_;
  std::vector<std::string_view> lines_;
  std::size_t line_ = 0;  // index into lines_ while reading
  std::optional<std::size_t> currentKey_;
  Document document_;
  std::unordered_map<std::string, std::size_t> keyIndex_;
  std::vector<std::unordered_map<std::string, std::size_t>> valueIndex_;  // one per key
  Status failure_;
  std::size_t failureLine_ = 0;
};

void AppendHexBytes(std::string& out, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out += ',';
    }
    out += HexByte(bytes[i]);
  }
}

void AppendValue(std::string& out, const Value& value) {
  if (value.name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, value.name);
  }
  out += '=';
  switch (value.kind) {
    case ValueKind::kText:
      if (NeedsHexForm(value.text)) {
        out += "hex(1):";
        AppendHexBytes(out, TextToUtf16Le(value.text));
      } else {
        AppendQuoted(out, value.text);
      }
      break;
    case ValueKind::kDword:
      out += "dword:" + Hex32(value.dword, true);
      break;
    case ValueKind::kOther:
      out +=
          value.otherType == kTypeBinary ? "hex:" : "hex(" + Hex32(value.otherType, false) + "):";
      AppendHexBytes(out, value.bytes);
      break;
  }
  out += '\n';
}

}  // namespace

Value Value::MakeText(std::string name, std::string text) {
  Value v;
  v.name = std::move(name);
  v.kind = ValueKind::kText;
  v.text = std::move(text);
  return v;
}

Value Value::MakeDword(std::string name, std::uint32_t dword) {
  Value v;
  v.name = std::move(name);
  v.kind = ValueKind::kDword;
  v.dword = dword;
  return v;
}

const Value* Key::Find(std::string_view name) const {
  auto it = std::find_if(values.begin(), values.end(),
                         [name](const Value& v) { return SameName(v.name, name); });
  return it == values.end() ? nullptr : &*it;
}

void Key::Set(Value value) {
  auto it = std::find_if(values.begin(), values.end(),
                         [&value](const Value& v) { return SameName(v.name, value.name); });
  if (it == values.end()) {
    values.push_back(std::move(value));
    return;
  }
  // The registry keeps the spelling under which a value was first created.
  value.name = std::move(it->name);
  *it = std::move(value);
}

const Key* Document::Find(std::string_view path) const {
  auto it = std::find_if(keys.begin(), keys.end(),
                         [path](const Key& k) { return SameName(k.path, path); });
  return it == keys.end() ? nullptr : &*it;
}

Key& Document::FindOrAdd(std::string_view path) {
  auto it = std::find_if(keys.begin(), keys.end(),
                         [path](const Key& k) { return SameName(k.path, path); });
  if (it != keys.end()) {
    return *it;
  }
  keys.push_back(Key{std::string(path), {}});
  return keys.back();
}

ParseResult Parse(std::string_view bytes) {
  return Parser(bytes).Run();
}

ParseResult ParseSkippingBadLines(std::string_view bytes, std::vector<BadLine>& skipped) {
  skipped.clear();
  ParseResult first = Parse(bytes);
  if (first.IsOk() || first.line <= 1) {
    return first;
  }
  // Every line in its place, so that a line keeps its number when another is blanked.
  std::string text(bytes);
  for (ParseResult result = first;;) {
    if (result.IsOk()) {
      return result;
    }
    const std::size_t bad = result.line;
    if (bad <= 1 || skipped.size() >= kMaxSkippedLines ||
        (!skipped.empty() && skipped.back().line == bad)) {
      // The header, a file of more faults than settings, or a line that blanking does not
      // mend (inside a value that runs over several lines): not a settings file to mend.
      skipped.clear();
      return first;
    }
    skipped.push_back({result.line, std::move(result.status)});
    std::size_t start = 0;
    for (std::size_t line = 1; line < bad; ++line) {
      start = text.find('\n', start) + 1;
    }
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    if (end > start && text[end - 1] == '\r') {
      --end;
    }
    text.erase(start, end - start);
    result = Parse(text);
  }
}

std::string Serialize(const Document& document) {
  std::string out(kHeader);
  out += '\n';
  for (const Key& key : document.keys) {
    out += "\n[" + key.path + "]\n";
    for (const Value& value : key.values) {
      AppendValue(out, value);
    }
  }
  return out;
}

bool CanWriteName(std::string_view name) {
  return IsValidUtf8(name) && !NeedsHexForm(name);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

}  // namespace vantrel::regfile
