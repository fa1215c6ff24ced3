// The ini reader on arbitrary file content: it must not crash, every value it gives
// must follow the reading rules, and a write must change that one key only.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "link/IniFile.h"

namespace {

struct Probe {
  const char* section;
  const char* key;
};

constexpr Probe Probes[] = {
    {"COM settings", "BaudRate"},
    {"COM settings", "Parity"},
    {"Port no.", "COM"},
    {"COM ports", "COM1"},
    {"s", "k"},
    {"", ""},
};

void fail(int line) {
  std::fprintf(stderr, "fuzz_ini: check on line %d failed\n", line);
  std::abort();
}
#define check(condition) ((condition) ? void() : fail(__LINE__))

// The rule, stated on its own: an optional sign and one or more decimal digits.
bool isDecimal(std::string_view value) {
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) value.remove_prefix(1);
  if (value.empty()) return false;
  for (char c : value) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::uint32_t moduloTwoTo32(std::string_view value) {
  bool negative = value.front() == '-';
  if (value.front() == '+' || value.front() == '-') value.remove_prefix(1);
  std::uint64_t n = 0;
  for (char c : value) n = (n * 10 + static_cast<std::uint64_t>(c - '0')) % (std::uint64_t{1} << 32);
  return static_cast<std::uint32_t>(negative ? ((std::uint64_t{1} << 32) - n) % (std::uint64_t{1} << 32) : n);
}

// The lines of a text without their line-break characters, as views into the text.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t newline = text.find('\n', pos);
    if (newline == std::string_view::npos) newline = text.size();
    std::size_t end = newline;
    while (end > pos && text[end - 1] == '\r') --end;  // line-break characters are no content
    lines.push_back(text.substr(pos, end - pos));
    pos = newline + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kolvaro::IniText ini(std::string(reinterpret_cast<const char*>(data), size));
  const std::string& content = ini.text();

  std::int32_t read[std::size(Probes)];
  for (std::size_t i = 0; i < std::size(Probes); ++i) {
    const Probe& probe = Probes[i];
    const std::int32_t a = read[i] = ini.integerValue(probe.section, probe.key, 7);
    // A second fallback only where the first leaves open whether a 7 was read.
    const std::int32_t b = a == 7 ? ini.integerValue(probe.section, probe.key, -7) : a;
    if (a == 7 && b == -7) {
      // the default: the key is missing or its value is no number (a quoted number
      // is none either, and stringValue shows it without its quotes)
      continue;
    }
    check(a == b);
    auto text = ini.stringValue(probe.section, probe.key);
    check(text.has_value());
    // a number was read: the value is decimal and the number is its value modulo 2^32
    check(isDecimal(*text));
    check(static_cast<std::uint32_t>(a) == moduloTwoTo32(*text));
  }

  // A write: the key reads back, the other probes read as before, and every line of the
  // old text except at most the replaced one is still there, in order.
  kolvaro::IniText written = ini;
  const std::int32_t value = static_cast<std::int32_t>(size * 2654435761u);
  written.setInteger("COM settings", "BaudRate", value);
  check(written.integerValue("COM settings", "BaudRate", value ^ 1) == value);
  for (std::size_t i = 0; i < std::size(Probes); ++i) {
    const Probe& probe = Probes[i];
    if (std::string_view(probe.section) == "COM settings" && std::string_view(probe.key) == "BaudRate") continue;
    if (std::string_view(probe.key).empty()) continue;
    check(written.integerValue(probe.section, probe.key, 7) == read[i]);
  }
  auto before = linesOf(content);
  auto after = linesOf(written.text());
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  if (after.size() == before.size()) {
    check(before.size() - prefix - suffix <= 1);  // one line replaced
  } else {
    check(after.size() > before.size() && after.size() - before.size() <= 2);  // a key or a section added
    check(prefix + suffix == before.size());
  }
  return 0;
}
