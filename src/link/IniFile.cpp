#include "link/IniFile.h"

#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kolvaro {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

// One line of the text: [begin, end) without its line break; next = start of the next line.
struct Line {
  std::size_t begin;
  std::size_t end;
  std::size_t next;
};

std::vector<Line> splitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t newline = text.find('\n', pos);
    std::size_t next = newline == std::string::npos ? text.size() : newline + 1;
    std::size_t end = newline == std::string::npos ? text.size() : newline;
    if (end > pos && text[end - 1] == '\r') --end;  // CRLF, or a lone CR ending the file
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view line) {
  std::string_view trimmed = trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view key = trim(trimmed.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return KeyValue{key, trim(trimmed.substr(equals + 1))};
}

// Where a section and a key stand in the text.
struct Place {
  std::optional<std::size_t> header;   // line index of the section's header
  std::optional<std::size_t> keyLine;  // line index of the key in that section
  std::size_t lastContent = 0;         // last non-blank line of the section
  std::string_view value;
};

Place locate(const std::string& text, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line(text.data() + lines[i].begin, lines[i].end - lines[i].begin);
    if (auto name = sectionName(line)) {
      if (place.header) break;  // the section ends where the next one starts
      if (sameName(*name, section)) place.header = place.lastContent = i;
      continue;
    }
    if (!place.header) continue;
    if (!trim(line).empty()) place.lastContent = i;
    if (auto kv = keyValue(line); kv && !place.keyLine && sameName(kv->key, key)) {
      place.keyLine = i;
      place.value = kv->value;
    }
  }
  return place;
}

const char* lineBreakOf(const std::string& text) {
  std::size_t newline = text.find('\n');
  return (newline != std::string::npos && newline > 0 && text[newline - 1] == '\r') ? "\r\n" : "\n";
}

// What ends a last line that has no line feed: a CR there already is half of a CRLF.
std::string finishingBreak(const std::string& text, const std::string& lineBreak) {
  return !text.empty() && text.back() == '\r' ? "\n" : lineBreak;
}

std::optional<std::uint32_t> parseDecimal(std::string_view value) {
  bool negative = false;
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  if (value.empty()) return std::nullopt;
  std::uint32_t number = 0;  // unsigned arithmetic wraps: the number modulo 2^32
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10u + static_cast<std::uint32_t>(c - '0');
  }
  return negative ? 0u - number : number;
}

}  // namespace

std::int32_t IniText::integerValue(std::string_view section, std::string_view key, std::int32_t fallback) const {
  auto lines = splitLines(text_);
  Place place = locate(text_, lines, section, key);
  if (!place.keyLine) return fallback;
  auto number = parseDecimal(place.value);
  return number ? static_cast<std::int32_t>(*number) : fallback;
}

std::optional<std::string> IniText::stringValue(std::string_view section, std::string_view key) const {
  auto lines = splitLines(text_);
  Place place = locate(text_, lines, section, key);
  if (!place.keyLine) return std::nullopt;
  std::string_view value = place.value;
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

void IniText::setString(std::string_view section, std::string_view key, std::string_view value) {
  std::string entry(key);
  entry += '=';
  for (char c : value) {
    if (c != '\r' && c != '\n') entry += c;  // a line break would split the entry
  }
  const std::string lineBreak = lineBreakOf(text_);
  auto lines = splitLines(text_);
  Place place = locate(text_, lines, section, key);
  if (place.keyLine) {
    const Line& line = lines[*place.keyLine];
    text_.replace(line.begin, line.end - line.begin, entry);
  } else if (place.header) {
    // After the section's last line, ended like that line (or like the file, at its end).
    const Line& last = lines[place.lastContent];
    if (last.next == text_.size() && text_.back() != '\n') {
      text_ += finishingBreak(text_, lineBreak) + entry;
    } else {
      text_.insert(last.next, entry + text_.substr(last.end, last.next - last.end));
    }
  } else {
    if (!text_.empty() && text_.back() != '\n') text_ += finishingBreak(text_, lineBreak);
    text_ += "[" + std::string(section) + "]" + lineBreak + entry + lineBreak;
  }
}

void IniText::setInteger(std::string_view section, std::string_view key, std::int64_t value) {
  setString(section, key, std::to_string(value));
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary);
  if (in) text_ = IniText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
  IniText before = text_;
  text_.setInteger(section, key, value);
  if (save()) return true;
  text_ = std::move(before);
  return false;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  IniText before = text_;
  text_.setString(section, key, value);
  if (save()) return true;
  text_ = std::move(before);
  return false;
}

bool IniFile::save() {
  std::error_code error;
  std::filesystem::path directory = std::filesystem::path(path_).parent_path();
  if (!directory.empty()) std::filesystem::create_directories(directory, error);
  return replaceFileAtomically(path_, text_.text());
}

}  // namespace kolvaro
