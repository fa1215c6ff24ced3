// kolvaro-cli's command line from arbitrary words (the input split at NUL bytes): the
// parser never crashes, and a command line it accepts means the same when written out
// again in one plain form (--name=value for every option, "--", then the command and
// its arguments).
#include <getopt.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliOptions.h"

namespace {

using kolvaro::cli::Options;

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    __builtin_trap();
  }
}

kolvaro::cli::Parsed parse(std::vector<std::string> words) {
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  kolvaro::cli::Parsed parsed = kolvaro::cli::ParseCommandLine(static_cast<int>(words.size()), argv.data());
  return parsed;
}

std::vector<std::string> plainForm(const Options& o) {
  std::vector<std::string> words{"kolvaro-cli"};
  if (o.port) words.push_back("--port=" + *o.port);
  if (o.local) words.push_back("--local=" + *o.local);
  if (o.configDirectory) words.push_back("--config-dir=" + *o.configDirectory);
  if (o.output) words.push_back("--output=" + *o.output);
  if (o.yes) words.emplace_back("--yes");
  if (o.json) words.emplace_back("--json");
  if (o.help) words.emplace_back("--help");
  if (o.version) words.emplace_back("--version");
  if (o.only) {
    std::string list;
    for (const auto& [set, name] : {std::pair{o.only->address, "address"}, std::pair{o.only->groups, "groups"},
                                    std::pair{o.only->programs, "programs"}, std::pair{o.only->inputs, "inputs"}}) {
      if (set) list += (list.empty() ? "" : ",") + std::string(name);
    }
    words.push_back("--only=" + list);
  }
  words.emplace_back("--");
  if (!o.command.empty()) words.push_back(o.command);
  words.insert(words.end(), o.arguments.begin(), o.arguments.end());
  return words;
}

bool sameStages(const std::optional<kolvaro::cli::Stages>& a, const std::optional<kolvaro::cli::Stages>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return a->address == b->address && a->groups == b->groups && a->programs == b->programs && a->inputs == b->inputs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words{"kolvaro-cli"};
  std::string word;
  for (std::size_t i = 0; i < size && words.size() < 64; ++i) {
    if (data[i] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(data[i]);
    }
  }
  if (!word.empty()) words.push_back(word);

  const kolvaro::cli::Parsed first = parse(words);
  if (!first.error.empty()) return 0;
  const Options& o = first.options;
  require(o.command.empty() ? o.arguments.empty() : true, "arguments only after a command");

  const kolvaro::cli::Parsed again = parse(plainForm(o));
  require(again.error.empty(), "the plain form is accepted");
  const Options& p = again.options;
  require(p.command == o.command && p.arguments == o.arguments, "the same command and arguments");
  require(p.port == o.port && p.local == o.local && p.configDirectory == o.configDirectory && p.output == o.output,
          "the same option values");
  require(p.yes == o.yes && p.json == o.json && p.help == o.help && p.version == o.version, "the same switches");
  require(sameStages(p.only, o.only), "the same stages");
  return 0;
}
