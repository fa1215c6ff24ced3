#include "support/RecordingPlatform.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kolvaro::test {

std::unique_ptr<SerialLine> ScriptedPorts::open(const std::string& portName, const PortPaths& paths,
                                                LineError& failure) {
  opened.push_back(portName);
  lastPaths = paths;
  auto found = factories_.find(portName);
  std::unique_ptr<SerialLine> line = found == factories_.end() ? nullptr : found->second();
  if (!line) failure = {"open", ENOENT};
  return line;
}

int RecordingPlatform::messageBox(const std::string& text, const char* caption, unsigned flags) {
  ShownBox box{text, caption ? std::optional<std::string>(caption) : std::nullopt, flags};
  boxes.push_back(box);
  if (onBox) onBox(box);
  if (!answers.empty()) {
    int result = answers.front();
    answers.pop_front();
    return result;
  }
  if ((flags & mb::ButtonsMask) == mb::YesNo) {
    return (flags & mb::DefButtonMask) == mb::DefButton2 ? id::No : id::Yes;
  }
  return id::Ok;
}

TempDir::TempDir() {
  // create_directory reports whether it made the directory, so a name another test
  // (or process) took is never shared; Windows has no mkdtemp.
  std::random_device seed;
  std::mt19937_64 names(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate =
        std::filesystem::temp_directory_path() / ("kolvaro-test-" + std::to_string(names()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("no temporary directory could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace kolvaro::test
