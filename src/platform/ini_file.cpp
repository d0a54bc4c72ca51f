#include "platform/ini_file.hpp"

#include <cstdint>

#include "platform/text_codec.hpp"

namespace orv {
namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The platform reader's white space: tab to carriage return, space, and Ctrl-Z (an old end
// of file mark). Not the ideographic space: Japanese values keep it.
bool IsIniSpace(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsIniSpace(s.front())) s.remove_prefix(1);
  return s;
}
std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsIniSpace(s.back())) s.remove_suffix(1);
  return s;
}
std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string Fold(std::string_view s) {
  std::string folded(s);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

std::string Utf8Lenient(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (auto cp = NextUtf8CodePoint(s, i)) AppendUtf8(out, *cp);
    else out += kReplacement;
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  auto unit = [&bytes](std::size_t k) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k]) |
                                      (static_cast<unsigned char>(bytes[k + 1]) << 8));
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      std::uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) out += kReplacement;
    else AppendUtf8(out, u);
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view s) {
  std::string out;
  auto put = [&out](std::uint32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  for (std::size_t i = 0; i < s.size();) {
    std::uint32_t cp = NextUtf8CodePoint(s, i).value_or(0xFFFD);
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

// At most `units` UTF-16 units of UTF-8 text, never splitting a character.
std::string_view CutToUnits(std::string_view s, std::size_t units) {
  std::size_t used = 0;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t start = i;
    std::uint32_t cp = NextUtf8CodePoint(s, i).value_or(0xFFFD);
    used += cp >= 0x10000 ? 2 : 1;
    if (used > units) return s.substr(0, start);
  }
  return s;
}

std::string Decode(std::string_view content, IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::Utf8Bom: return Utf8Lenient(content);
    case IniEncoding::Utf16LeBom: return Utf16LeToUtf8(content);
    case IniEncoding::Cp932: break;
  }
  return Cp932ToUtf8Lenient(content);
}

std::optional<std::string> Encode(std::string_view text, IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::Utf8Bom: return std::string(text);
    case IniEncoding::Utf16LeBom: return Utf8ToUtf16Le(text);
    case IniEncoding::Cp932: break;
  }
  return Utf8ToCp932(text);
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != npos;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile file;
  std::size_t unit = 1;
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    file.encoding_ = IniEncoding::Utf8Bom;
    file.bom_ = kUtf8Bom;
  } else if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom) {
    file.encoding_ = IniEncoding::Utf16LeBom;
    file.bom_ = kUtf16LeBom;
    unit = 2;
  }
  bytes.remove_prefix(file.bom_.size());

  // Code unit `k` (a byte, or a UTF-16 unit) of the content, for finding line breaks. Code
  // page 932 never uses CR or LF as the second byte of a character, so bytes are safe.
  const std::size_t count = bytes.size() / unit;
  auto at = [&bytes, unit](std::size_t k) -> unsigned {
    if (unit == 1) return static_cast<unsigned char>(bytes[k]);
    return static_cast<unsigned char>(bytes[2 * k]) |
           (static_cast<unsigned>(static_cast<unsigned char>(bytes[2 * k + 1])) << 8);
  };
  auto find = [&](unsigned what, std::size_t from) {
    for (std::size_t k = from; k < count; ++k)
      if (at(k) == what) return k;
    return npos;
  };

  // Lines end at LF; once no LF is left in the file, at CR (old Macintosh files).
  bool lf_left = true;
  for (std::size_t start = 0; start < count;) {
    std::size_t end = lf_left ? find('\n', start) : npos;
    if (end == npos) {
      lf_left = false;
      end = find('\r', start);
    }
    std::size_t next = end == npos ? count : end + 1;
    std::size_t content_end = end == npos ? count : end;
    Line line;
    if (end != npos) {
      if (at(end) == '\n' && end > start && at(end - 1) == '\r') {
        --content_end;
        line.break_text = "\r\n";
      } else {
        line.break_text.assign(1, at(end) == '\n' ? '\n' : '\r');
      }
    }
    line.raw = std::string(bytes.substr(start * unit, (next - start) * unit));
    line.text = Decode(bytes.substr(start * unit, (content_end - start) * unit), file.encoding_);
    file.lines_.push_back(std::move(line));
    start = next;
  }
  // An odd last byte of a UTF-16 file belongs to no character; keep it at the end.
  if (unit == 2 && bytes.size() % 2 == 1) file.tail_ = bytes.back();
  file.Index();
  return file;
}

IniFile IniFile::Load(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes)) return IniFile();
  return Parse(bytes);
}

void IniFile::Index() {
  sections_.clear();
  // Lines before the first header belong to a nameless section.
  Section* current = &sections_[""];
  current->header = npos;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view line = Trim(lines_[i].text);
    if (line.empty()) continue;
    if (line.front() == ';') {
      if (current) current->last_line = i;
      continue;
    }
    if (line.front() == '[') {
      std::size_t close = line.rfind(']');
      if (close != npos && close > 0) {
        auto [it, added] = sections_.try_emplace(Fold(Trim(line.substr(1, close - 1))));
        // A later section of the same name is never searched.
        current = added ? &it->second : nullptr;
        if (current) current->header = current->last_line = i;
        continue;
      }
      // Without "]" it is not a header but an ordinary line.
    }
    if (!current) continue;
    current->last_line = i;
    std::size_t eq = line.find('=');
    KeyEntry entry{i, std::nullopt};
    std::string_view name = line;
    if (eq != npos) {
      name = TrimRight(line.substr(0, eq));
      entry.value = std::string(TrimLeft(line.substr(eq + 1)));
    }
    current->keys.try_emplace(Fold(name), std::move(entry));
  }
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  auto s = sections_.find(Fold(Trim(section)));
  if (s == sections_.end()) return std::nullopt;
  auto k = s->second.keys.find(Fold(Trim(key)));
  if (k == s->second.keys.end() || !k->second.value) return std::nullopt;
  std::string_view value = *k->second.value;
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(CutToUnits(value, kMaxValueUnits));
}

std::string IniFile::Get(std::string_view section, std::string_view key,
                         std::string_view default_value) const {
  auto value = Find(section, key);
  return value ? std::move(*value) : std::string(default_value);
}

std::string IniFile::LineBreak(std::size_t at) const {
  // Once no LF follows, CR alone ends lines: a new line with an LF after such lines would
  // join them into one, so new lines among them end in CR too.
  std::size_t after_last_lf = 0;
  bool cr_lines = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].break_text.ends_with('\n')) {
      after_last_lf = i + 1;
      cr_lines = false;
    } else if (lines_[i].break_text == "\r") {
      cr_lines = true;
    }
  }
  if (cr_lines && at >= after_last_lf) return "\r";
  for (const Line& line : lines_)
    if (line.break_text.ends_with('\n')) return line.break_text;
  return "\r\n";
}

void IniFile::InsertLine(std::size_t at, std::string text) {
  const std::string line_break = LineBreak(at);
  // The line before must end in a break, or the new line would join it.
  if (at > 0 && lines_[at - 1].break_text.empty()) {
    lines_[at - 1].break_text = line_break;
    lines_[at - 1].raw += Encode(line_break, encoding_).value_or("");
  }
  Line line;
  line.text = std::move(text);
  line.break_text = line_break;
  line.changed = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (section.empty() || key.empty() || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
      HasLineBreakOrNul(value) || key.find('=') != npos || Trim(key).empty() ||
      Trim(section).empty())
    return false;
  std::string_view trimmed_key = Trim(key);
  if (trimmed_key.front() == ';' || trimmed_key.front() == '[') return false;

  const std::string key_line = std::string(key) + "=" + std::string(value);
  std::string header_line(1, '[');
  header_line.append(section).push_back(']');
  if (encoding_ == IniEncoding::Cp932 &&
      (!Utf8ToCp932(key_line) || !Utf8ToCp932(header_line))) {
    encoding_ = IniEncoding::Utf8Bom;
    bom_ = kUtf8Bom;
    for (Line& line : lines_) line.changed = true;
  }

  auto s = sections_.find(Fold(Trim(section)));
  if (s != sections_.end() && s->second.header != npos) {
    auto k = s->second.keys.find(Fold(trimmed_key));
    if (k != s->second.keys.end()) {
      lines_[k->second.line].text = key_line;
      lines_[k->second.line].changed = true;
    } else {
      InsertLine(s->second.last_line + 1, key_line);
    }
  } else {
    InsertLine(lines_.size(), header_line);
    InsertLine(lines_.size(), key_line);
  }
  Index();
  return true;
}

std::string IniFile::Serialize() const {
  std::string out = bom_;
  for (const Line& line : lines_) {
    if (line.changed) out += Encode(line.text + line.break_text, encoding_).value_or(line.raw);
    else out += line.raw;
  }
  return out + tail_;
}

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view default_value) {
  return IniFile::Load(path).Get(section, key, default_value);
}

SystemError WriteIniStrings(const std::string& path, std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
  std::string bytes;
  if (SystemError error = ReadWholeFile(path, bytes); error && FileExists(path)) return error;
  IniFile file = IniFile::Parse(bytes);
  for (const auto& [key, value] : values)
    if (!file.Set(section, key, value)) return {87, "The text cannot be stored in an INI file"};
  return ReplaceFileContents(path, file.Serialize());
}

SystemError WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view value) {
  return WriteIniStrings(path, section, {{std::string(key), std::string(value)}});
}

}  // namespace orv
