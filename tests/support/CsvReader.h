#pragma once
// A CSV reader for tests (RFC 4180: commas, quoted fields with doubled quotes and line
// breaks, CRLF or LF records), written apart from the code that writes CSV.
#include <string>
#include <vector>

namespace kolvaro::test {

inline std::vector<std::vector<std::string>> readCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().push_back(field);
      field.clear();
    } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (c == '\r') ++i;
      records.back().push_back(field);
      field.clear();
      records.emplace_back();
    } else {
      field += c;
    }
  }
  if (records.back().empty()) records.pop_back();
  return records;
}

}  // namespace kolvaro::test
