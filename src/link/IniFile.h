#pragma once
// A small initialization file (dcb.ini) with the Windows private-profile rules:
// "[Section]" lines and "key=value" lines; section and key names compare without
// regard to ASCII case; blanks (spaces, tabs) around names and values are ignored;
// lines starting with ';' and lines that are neither are kept but mean nothing.
// The first section of a name and the first key of a name in it are the ones that count.
//
// IniText works on the text in memory; IniFile reads it from a path and writes it
// back by replacing the file atomically (temporary file, then rename), so a crash
// never leaves half a file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvaro {

namespace ini {
// One line of an ini text as it was read: where it stands, what kind of line it is and,
// for a header or an entry, where its name and value stand (offsets into the text).
struct Line {
  enum class Kind : std::uint8_t { Blank, Section, Entry, Other };
  std::size_t begin = 0;  // [begin, end): the line without its line break
  std::size_t end = 0;
  std::size_t next = 0;  // where the next line starts
  Kind kind = Kind::Blank;
  std::size_t nameBegin = 0, nameSize = 0;    // a section's or an entry's name
  std::size_t valueBegin = 0, valueSize = 0;  // an entry's value
};
}  // namespace ini

class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string text);

  // The value when the whole (trimmed) value is an optional sign and decimal digits,
  // taken modulo 2^32 (two's complement), so every width a caller masks to sees the
  // low bits of the number written; otherwise, and when the key is missing, fallback.
  std::int32_t integerValue(std::string_view section, std::string_view key, std::int32_t fallback) const;
  // The trimmed value text; one pair of surrounding double quotes is removed.
  // Nothing when the section or key is missing.
  std::optional<std::string> stringValue(std::string_view section, std::string_view key) const;

  // Sets key=value: replaces the key's line in place, or adds the key at the end of
  // its section, or adds the section at the end of the text. Every other line stays
  // byte for byte as it was.
  void setString(std::string_view section, std::string_view key, std::string_view value);
  void setInteger(std::string_view section, std::string_view key, std::int64_t value);

  const std::string& text() const { return text_; }

 private:
  // The text is read into lines once, when it is set: a lookup compares names only.
  void readLines();

  std::string text_;
  std::vector<ini::Line> lines_;
};

class IniFile {
 public:
  // Reads the file now; a missing or unreadable file reads as empty.
  explicit IniFile(std::string path);

  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
    return text_.integerValue(section, key, fallback);
  }
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const {
    return text_.stringValue(section, key);
  }
  // Each write updates the file at once. Creates the file's directory when it is missing.
  // Returns false when the file could not be written; the file is then left as it was.
  bool WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);

  const std::string& path() const { return path_; }

 private:
  bool save();

  std::string path_;
  IniText text_;
};

}  // namespace kolvaro
