// Arbitrary text as a configuration file: reading never crashes and never throws; a
// document that is refused is refused with words; one that is read is written out again
// as a document that reads back to the very same configuration, and that writing is
// stable.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>

#include "config/ConfigurationFile.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const kolvaro::ParsedConfiguration parsed = kolvaro::ParseConfiguration(text);
  if (const auto* problem = std::get_if<kolvaro::FileProblem>(&parsed)) {
    require(!problem->message().empty(), "a refused document is refused with words");
    return 0;
  }
  const auto& configuration = std::get<kolvaro::DeviceConfiguration>(parsed);
  const std::string written = kolvaro::FormatConfiguration(configuration);
  const kolvaro::ParsedConfiguration reread = kolvaro::ParseConfiguration(written);
  const auto* again = std::get_if<kolvaro::DeviceConfiguration>(&reread);
  require(again != nullptr, "what was written reads back");
  require(*again == configuration, "it reads back as the same configuration");
  require(kolvaro::FormatConfiguration(*again) == written, "writing it again gives the same document");
  return 0;
}
